// Detail enhancement as a row pipeline: the 7 x 7 box sums of the guided filter are running column sums
// updated by one row in and one row out, so only eight rows of coefficients are ever held and a frame costs a
// fixed amount of arithmetic per pixel whatever its content. The integer widths are listed in dde_rows.h.
#include "dde.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "dde_row_kernels.h"

namespace sarvik {

namespace {

#define DDE_ROW_TARGET
#include "dde_rows.h"
#undef DDE_ROW_TARGET

const DdeRowKernels kReferenceRows = {
    "scalar",           rows_column_x,     rows_column_coeff, rows_hsum<int32_t>,
    rows_hsum<int64_t>, rows_coefficients, rows_detail,
};

constexpr int kRing = 8;  // coefficient rows y - 4 .. y + 3
constexpr int kPad = 2 * kDdeRadius;

// Half-sample mirror: -1 reads 0, -2 reads 1; n reads n - 1, n + 1 reads n - 2.
inline int mirror(int i, int n) {
    return i < 0 ? -i - 1 : i >= n ? 2 * n - i - 1 : i;
}

// Row buffers of one frame width, carved from one block.
struct Rows {
    int64_t *colS2, *padS2, *rowS2;
    int32_t *colS1, *padS1, *rowS1;
    int32_t *ring[kRing][4];  // a1, b1, a2, b2 of a row
    int32_t *col[4];          // column sums G1, H1, G2, H2
    int32_t *pad;             // width + 6
    int32_t *row[4];          // box sums G1, H1, G2, H2 of the current row
};

size_t rows_bytes(int w) {
    const size_t wp = static_cast<size_t>(w) + kPad;
    return sizeof(Rows) + 8 * (2 * w + wp) + 4 * (2 * w + wp) +
           4 * static_cast<size_t>(w) * (kRing * 4 + 4 + 4) + 4 * wp;
}

void rows_carve(Rows *r, int w) {
    auto *p = reinterpret_cast<char *>(r + 1);
    const size_t wp = static_cast<size_t>(w) + kPad;
    auto take64 = [&p](size_t n) {
        auto *q = reinterpret_cast<int64_t *>(p);
        p += 8 * n;
        return q;
    };
    auto take32 = [&p](size_t n) {
        auto *q = reinterpret_cast<int32_t *>(p);
        p += 4 * n;
        return q;
    };
    // 64-bit rows first keep every row aligned to its element size.
    r->colS2 = take64(w);
    r->padS2 = take64(wp);
    r->rowS2 = take64(w);
    r->colS1 = take32(w);
    r->padS1 = take32(wp);
    r->rowS1 = take32(w);
    for (auto &slot : r->ring)
        for (auto &a : slot) a = take32(w);
    for (auto &c : r->col) c = take32(w);
    r->pad = take32(wp);
    for (auto &c : r->row) c = take32(w);
}

}  // namespace

const DdeRowKernels &dde_row_kernels_scalar() {
    return kReferenceRows;
}

DdeParams dde_params(int slope, int level) {
    if (slope == 10) return DdeParams{900, 56, level << 11};
    if (slope == 100) return DdeParams{40000, 2500, level << 10};
    return DdeParams{1600, 100, level << 11};
}

void dde_table_build(int eps, uint16_t *table) {
    const uint64_t e = static_cast<uint64_t>(kDdeArea) * static_cast<uint64_t>(eps) * kDdeArea;
    table[0] = 0;
    for (uint64_t i = 1; i < static_cast<uint64_t>(kDdeTableSize); ++i)
        table[i] = static_cast<uint16_t>((i << 20) / (e + 1024 * i));
}

int dde_centre(int low, int high) {
    return (low < -kDdeCentreLimit || high > kDdeCentreLimit) ? (low + high) / 2 : 0;
}

DdeState *dde_state_create(int width, int height) {
    if (width < kDdeMinSize || height < kDdeMinSize) return nullptr;
    auto *s = new (std::nothrow) DdeState{};
    if (!s) return nullptr;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    s->width = width;
    s->height = height;
    s->table1 = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t) * kDdeTableSize));
    s->table2 = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t) * kDdeTableSize));
    s->detail = static_cast<int16_t *>(std::malloc(sizeof(int16_t) * n));
    s->rows = std::malloc(rows_bytes(width));
    if (!s->table1 || !s->table2 || !s->detail || !s->rows) {
        dde_state_free(s);
        return nullptr;
    }
    rows_carve(static_cast<Rows *>(s->rows), width);
    return s;
}

void dde_state_free(DdeState *s) {
    if (!s) return;
    std::free(s->table1);
    std::free(s->table2);
    std::free(s->detail);
    std::free(s->rows);
    delete s;
}

void dde_state_tables(DdeState *s, int eps1, int eps2) {
    if (s->eps1 == eps1 && s->eps2 == eps2) return;
    dde_table_build(eps1, s->table1);
    dde_table_build(eps2, s->table2);
    s->eps1 = eps1;
    s->eps2 = eps2;
}

void dde_detail(DdeState *s, const int16_t *data, int centre, int strength) {
    const DdeRowKernels &k = dde_row_kernels();
    const int w = s->width, h = s->height;
    Rows &R = *static_cast<Rows *>(s->rows);
    auto row = [&](int y) { return data + static_cast<size_t>(mirror(y, h)) * w; };
    auto coeff = [&](int y) { return R.ring[mirror(y, h) % kRing]; };

    // Stage 1, one row ahead of the other: S1 and S2 of row r, then its coefficients into the ring.
    int produced = 0;
    auto produce = [&]() {
        const int r = produced++;
        if (r == 0) {
            std::memset(R.colS1, 0, sizeof(int32_t) * w);
            std::memset(R.colS2, 0, sizeof(int64_t) * w);
            for (int d = -kDdeRadius; d <= kDdeRadius; ++d)
                k.column_x(R.colS1, R.colS2, row(d), nullptr, centre, w);
        } else {
            k.column_x(R.colS1, R.colS2, row(r + kDdeRadius), row(r - kDdeRadius - 1), centre, w);
        }
        k.hsum32(R.colS1, R.padS1, R.rowS1, w);
        k.hsum64(R.colS2, R.padS2, R.rowS2, w);
        int32_t *const *out = R.ring[r % kRing];
        k.coefficients(R.rowS1, R.rowS2, s->table1, s->table2, out[0], out[1], out[2], out[3], w);
    };

    // Stage 2: box sums of the coefficients around row y, then its detail.
    const int32_t perArea = strength / kDdeArea;
    for (int y = 0; y < h; ++y) {
        if (y == 0) {
            for (int r = 0; r <= kDdeRadius; ++r) produce();
            for (auto *c : R.col) std::memset(c, 0, sizeof(int32_t) * w);
            for (int d = -kDdeRadius; d <= kDdeRadius; ++d)
                k.column_coeff(R.col[0], R.col[1], R.col[2], R.col[3], coeff(d), nullptr, w);
        } else {
            if (y + kDdeRadius < h) produce();
            k.column_coeff(R.col[0], R.col[1], R.col[2], R.col[3], coeff(y + kDdeRadius),
                           coeff(y - kDdeRadius - 1), w);
        }
        for (int i = 0; i < 4; ++i) k.hsum32(R.col[i], R.pad, R.row[i], w);
        k.detail(R.row[0], R.row[1], R.row[2], R.row[3], data + static_cast<size_t>(y) * w, centre, perArea,
                 s->detail + static_cast<size_t>(y) * w, w);
    }
}

}  // namespace sarvik
