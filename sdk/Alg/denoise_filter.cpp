// The denoise filter object: configuration and its checks, the work block and the reduced-resolution
// geometry.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "frame_filters.h"
#include "guided_filter.h"

namespace sarvik {

struct DenoiseFilter {
    _DenoiseInfo cfg;  // in force; all zero while unconfigured
    DenoiseParams params;

    void *block;
    int blockW, blockH;  // working size the block is carved for
    uint64_t tableEps;   // A x eps x A the table holds; 0 = not built
    uint16_t *table;
    int32_t *colMirror;
    int32_t *rowMirror;
    DenoiseWork work;
};

namespace {

bool valid(const _DenoiseInfo &c) {
    // Types above 3 name no resolution; refused like any other field out of range.
    return c.type <= SARVIK_DENOISE_QUARTER && c.width >= 32 && c.height >= 32 && c.gf_radius >= 1 &&
           c.gf_radius <= kGfMaxRadius && c.gf_regular >= 1 && c.gf_regular <= 40;
}

// One block for a working image of w x h, 64-bit arrays first.
size_t block_bytes(size_t w, size_t h) {
    const size_t pad = 2 * kGfPad;
    return 8 * (w + (w + pad) + 2 * w) + 4 * (w + (w + pad) + (w + pad) + (h + pad) + w * h) + 2 * w * h +
           2 * kDenoiseTableSize;
}

void carve(DenoiseFilter *f, size_t w, size_t h) {
    char *p = static_cast<char *>(f->block);
    auto take = [&p](size_t bytes) {
        char *q = p;
        p += bytes;
        return q;
    };
    const size_t pad = 2 * kGfPad;
    f->work.colS2 = reinterpret_cast<int64_t *>(take(8 * w));
    f->work.pad2 = reinterpret_cast<int64_t *>(take(8 * (w + pad)));
    f->work.sumA = reinterpret_cast<int64_t *>(take(8 * w));
    f->work.sumB = reinterpret_cast<int64_t *>(take(8 * w));
    f->work.colS1 = reinterpret_cast<int32_t *>(take(4 * w));
    f->work.pad1 = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
    f->colMirror = reinterpret_cast<int32_t *>(take(4 * (w + pad)));
    f->rowMirror = reinterpret_cast<int32_t *>(take(4 * (h + pad)));
    f->work.planeB = reinterpret_cast<int32_t *>(take(4 * w * h));
    f->work.planeA = reinterpret_cast<uint16_t *>(take(2 * w * h));
    f->table = reinterpret_cast<uint16_t *>(take(2 * kDenoiseTableSize));
}

void drop_block(DenoiseFilter *f) {
    std::free(f->block);
    f->block = nullptr;
    f->blockW = f->blockH = 0;
    f->tableEps = 0;
}

}  // namespace

DenoiseFilter *denoise_create() {
    return static_cast<DenoiseFilter *>(std::calloc(1, sizeof(DenoiseFilter)));
}

void denoise_free(DenoiseFilter **filter) {
    if (!filter || !*filter) return;
    drop_block(*filter);
    std::free(*filter);
    *filter = nullptr;
}

int denoise_configure(DenoiseFilter *f, const _DenoiseInfo *config) {
    if (!f || !config || !valid(*config)) return SARVIK_ERR_INVALID_ARG;
    const _DenoiseInfo c = *config;
    if (std::memcmp(&c, &f->cfg, sizeof c) == 0) return SARVIK_OK;
    if (c.type == SARVIK_DENOISE_OFF) {
        f->cfg = c;
        return SARVIK_OK;
    }

    DenoiseParams &p = f->params;
    const int factor = 1 << (c.type - 1);
    const int sw = c.width / factor, sh = c.height / factor;
    if (!f->block || f->blockW != sw || f->blockH != sh) {
        drop_block(f);
        f->block = std::malloc(block_bytes(sw, sh));
        if (!f->block) {
            std::memset(&f->cfg, 0, sizeof f->cfg);
            return SARVIK_ERR_NO_MEMORY;
        }
        f->blockW = sw;
        f->blockH = sh;
        carve(f, sw, sh);
    }
    p.width = c.width;
    p.height = c.height;
    p.factor = factor;
    p.smallW = sw;
    p.smallH = sh;
    p.radius = std::max(1, c.gf_radius / factor);
    p.area = (2 * p.radius + 1) * (2 * p.radius + 1);
    const uint64_t area = static_cast<uint64_t>(p.area);
    const uint64_t eps = area * c.gf_regular * c.gf_regular * area;
    if (f->tableEps != eps) {
        coef_table_build(f->table, kDenoiseTableSize, eps);
        f->tableEps = eps;
    }
    mirror_table_build(f->colMirror, sw);
    mirror_table_build(f->rowMirror, sh);
    p.table = f->table;
    p.colMirror = f->colMirror;
    p.rowMirror = f->rowMirror;
    fixed_divisor_init(&p.outDiv, area * area);
    f->cfg = c;
    return SARVIK_OK;
}

int denoise_apply(DenoiseFilter *f, int16_t *samples, int width, int height) {
    if (!f || !samples) return SARVIK_ERR_INVALID_ARG;
    if (width != f->cfg.width || height != f->cfg.height || f->cfg.type == SARVIK_DENOISE_OFF)
        return SARVIK_ERR_STATE;
    denoise_coefficients(samples, f->params, f->work);
    denoise_output(samples, f->params, f->work);
    return SARVIK_OK;
}

void denoise_get_config(const DenoiseFilter *f, _DenoiseInfo *config) {
    if (f && config) *config = f->cfg;
}

}  // namespace sarvik
