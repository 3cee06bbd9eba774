// The destripe filter object: configuration and its checks, the work block, sequence mode and the per-frame
// order of the guided-filter steps.
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame_filters.h"
#include "guided_filter.h"

namespace sarvik {

struct DestripeFilter {
    _DestripInfo cfg;  // in force; all zero while unconfigured
    int rowStep;       // S
    int rows;          // R = height >> log2(S)
    int counter;       // sequence counter, 0 .. sub_t - 1
    DestripeRowParams row;
    int colRadius;
    uint64_t colEps;  // eps1

    void *block;
    int blockW, blockH;  // the frame size and kind the block is carved for
    bool blockTable;
    uint64_t tableEps;  // eps the table holds; 0 = not built
    uint16_t *table;    // null for type 3, which divides instead
    int32_t *colMirror;
    int32_t *rowMirror;
    DestripeRowWork rowWork;
    DestripeColumnWork colWork;
    int32_t *colSum;
    int32_t *residual;  // R x w each
    int16_t *smooth;
    int32_t *estimate;
};

namespace {

bool valid(const _DestripInfo &c) {
    return c.width >= 80 && c.height >= 60 && c.s0_radius >= 1 && c.s0_radius <= kGfMaxRadius &&
           c.s0_regular >= 1 && c.s1_radius >= 1 && c.s1_radius <= kGfMaxRadius && c.s1_regular >= 1 &&
           c.sub_y >= 1 && c.sub_y <= 16 && c.sub_t >= 1 && c.sub_t <= 16;
}

// One block, 64-bit arrays first so every array is aligned to its element size. Planes are sized for the
// whole frame (R <= h) so that the block depends on the frame size and the type only.
struct Layout {
    size_t w, h;
    bool table;
    size_t bytes() const {
        const size_t pad = 2 * kGfPad;
        return 8 * (4 * w + w * h) + 4 * ((w + pad) + (h + pad) + 3 * (w + pad) + w + 3 * w * h) + 2 * w * h +
               (table ? 2 * kDestripeTableSize : 0);
    }
    void carve(DestripeFilter *f) const {
        char *p = static_cast<char *>(f->block);
        auto take = [&p](size_t bytes) {
            char *q = p;
            p += bytes;
            return q;
        };
        const size_t pad = 2 * kGfPad;
        f->colWork.sumR = reinterpret_cast<int64_t *>(take(8 * w));
        f->colWork.sumS = reinterpret_cast<int64_t *>(take(8 * w));
        f->colWork.sumRS = reinterpret_cast<int64_t *>(take(8 * w));
        f->colWork.sumSS = reinterpret_cast<int64_t *>(take(8 * w));
        f->colWork.planeB = reinterpret_cast<int64_t *>(take(8 * w * h));
        f->colMirror = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
        f->rowMirror = reinterpret_cast<int32_t *>(take(4 * (h + pad)));
        f->rowWork.x = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
        f->rowWork.a = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
        f->rowWork.b = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
        f->colSum = reinterpret_cast<int32_t *>(take(4 * w));
        f->residual = reinterpret_cast<int32_t *>(take(4 * w * h));
        f->estimate = reinterpret_cast<int32_t *>(take(4 * w * h));
        f->colWork.planeA = reinterpret_cast<int32_t *>(take(4 * w * h));
        f->smooth = reinterpret_cast<int16_t *>(take(2 * w * h));
        f->table = table ? reinterpret_cast<uint16_t *>(take(2 * kDestripeTableSize)) : nullptr;
    }
};

void drop_block(DestripeFilter *f) {
    std::free(f->block);
    f->block = nullptr;
    f->blockW = f->blockH = 0;
    f->tableEps = 0;
    f->table = nullptr;
}

}  // namespace

DestripeFilter *destripe_create() {
    auto *f = static_cast<DestripeFilter *>(std::calloc(1, sizeof(DestripeFilter)));
    if (f) f->rowStep = 1;
    return f;
}

void destripe_free(DestripeFilter **filter) {
    if (!filter || !*filter) return;
    drop_block(*filter);
    std::free(*filter);
    *filter = nullptr;
}

int destripe_configure(DestripeFilter *f, const _DestripInfo *config) {
    if (!f || !config || !valid(*config)) return SARVIK_ERR_INVALID_ARG;
    const _DestripInfo c = *config;
    if (std::memcmp(&c, &f->cfg, sizeof c) == 0) return SARVIK_OK;

    int shift = 0;
    while ((2 << shift) <= c.sub_y) ++shift;
    const int r0 = c.s0_radius, w0 = 2 * r0 + 1, r1 = c.s1_radius, w1 = 2 * r1 + 1;
    const uint64_t eps0 = uint64_t{c.s0_regular} * c.s0_regular * w0 * w0;
    const bool guided = c.type == SARVIK_DESTRIP_GUIDED;

    if (c.type != SARVIK_DESTRIP_OFF) {
        const Layout layout{c.width, c.height, !guided};
        if (!f->block || f->blockW != c.width || f->blockH != c.height || f->blockTable != !guided) {
            drop_block(f);
            f->block = std::malloc(layout.bytes());
            if (!f->block) {
                std::memset(&f->cfg, 0, sizeof f->cfg);
                f->rowStep = 1;
                f->rows = 0;
                f->counter = 0;
                return SARVIK_ERR_NO_MEMORY;
            }
            f->blockW = c.width;
            f->blockH = c.height;
            f->blockTable = !guided;
            layout.carve(f);
        }
        const int rows = c.height >> shift;
        mirror_table_build(f->colMirror, c.width);
        mirror_table_build(f->rowMirror, rows);
        if (!guided && f->tableEps != eps0) {
            coef_table_build(f->table, kDestripeTableSize, eps0);
            f->tableEps = eps0;
        }
        // Nothing of an earlier configuration's estimate may leak into the first frames of this one.
        std::memset(f->estimate, 0, sizeof(int32_t) * rows * c.width);
        f->row.radius = r0;
        f->row.guided = guided;
        f->row.eps = eps0;
        f->row.table = f->table;
        f->row.colMirror = f->colMirror;
        fixed_divisor_init(&f->row.smoothDiv, uint64_t(w0) * w0 * 1024);
        f->colRadius = r1;
        f->colEps = uint64_t{c.s1_regular} * c.s1_regular * w1 * w1;
    }
    f->cfg = c;
    f->rowStep = 1 << shift;
    f->rows = c.height >> shift;
    f->counter = 0;
    return SARVIK_OK;
}

namespace {

void estimate_stripes(DestripeFilter *f, const int16_t *samples) {
    const int w = f->cfg.width;
    const bool guided = f->row.guided;
    for (int y = 0; y < f->rows; ++y) {
        const size_t at = static_cast<size_t>(y) * w;
        destripe_row(samples + at * f->rowStep, w, f->row, f->rowWork, f->residual + at,
                     guided ? f->smooth + at : nullptr);
    }
    if (guided)
        destripe_column_guided(f->residual, f->smooth, w, f->rows, f->colRadius, f->colEps, f->rowMirror,
                               f->colWork, f->estimate);
    else
        destripe_column_box(f->residual, w, f->rows, f->colRadius, f->rowMirror, f->colSum, f->estimate);
}

}  // namespace

int destripe_apply(DestripeFilter *f, int16_t *samples, int width, int height, int sequence) {
    if (!f || !samples) return SARVIK_ERR_INVALID_ARG;
    if (width != f->cfg.width || height != f->cfg.height) return SARVIK_ERR_INVALID_ARG;
    if (f->cfg.type == SARVIK_DESTRIP_OFF) return SARVIK_OK;
    bool refresh = true;
    if (sequence && f->cfg.sub_t > 1) {
        refresh = f->counter == 0;
        f->counter = (f->counter + 1) % f->cfg.sub_t;
    }
    if (refresh) estimate_stripes(f, samples);
    destripe_correct(samples, width, f->estimate, f->rows, f->rowStep);
    return SARVIK_OK;
}

void destripe_get_config(const DestripeFilter *f, _DestripInfo *config) {
    if (f && config) *config = f->cfg;
}

int destripe_row_step(const DestripeFilter *f) {
    return f ? f->rowStep : 1;
}

int destripe_sequence_counter(const DestripeFilter *f) {
    return f ? f->counter : 0;
}

}  // namespace sarvik
