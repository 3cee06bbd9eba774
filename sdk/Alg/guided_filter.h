// The integer guided filters behind the destripe and denoise filters, as plain functions over rows and
// planes, and what they share: mirrored borders, the 2^20-scaled coefficient tables and exact division by a
// divisor fixed at configuration.
//
// Integer widths. Samples are signed 16-bit; a window is at most 33 samples (33 x 33 = 1089 for the denoise).
// Destripe, row step (W0 <= 33):
//   Sx <= 33 x 2^15, 32-bit; Sx2 <= 33 x 2^30 and W0 Sx2 - Sx^2, 64-bit (up to 1.2e12);
//   a in 0..1023; b = Sx (1024 - a), 32-bit (|b| <= 33 x 2^15 x 1024 < 2^31);
//   Sa <= 33 x 1024, 32-bit; Sb, W0 x x x Sa and their sum, 64-bit (up to 7.3e10).
//   smooth is a convex combination of samples, so it fits 16 bits; residual = x - smooth, 32-bit.
// Destripe, guided column step (W1 <= 33; r residual, s smooth):
//   Sr, Ss (32 bits would do), Srs, Ss2, W1 Srs - Sr Ss and W1 Ss2 - Ss^2, 64-bit; the covariance term x 1024
//   stays below 2.4e15. By Cauchy-Schwarz and eps1 >= W1^2, |A| <= 1024 x 65535 / 2 fits 32 bits; B = Sr x
//   1024 - A x Ss, SA, SB and SA x s x W1, 64-bit (below 1.3e15).
// Denoise (A = window area <= 1089):
//   SI <= 1089 x 2^15, 32-bit; SI2, A SI2 - SI^2 and SI x a, 64-bit; b = SI - (SI a >> 10), 32-bit;
//   Sa <= 1089 x 1024, 32-bit; Sb and A x I x Sa, 64-bit (below 4e13).
// Right shifts of negative values are arithmetic (floor), as GCC defines them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sarvik {

constexpr int kGfMaxRadius = 16;      // largest window radius of either filter
constexpr int kGfPad = kGfMaxRadius;  // mirror tables cover -16 .. n + 15
constexpr size_t kDestripeTableSize = size_t{1} << 24;
constexpr size_t kDenoiseTableSize = size_t{1} << 20;

// Half-sample mirror, repeated as often as needed: -1 reads 0, -2 reads 1, n reads n - 1, n + 1 reads n - 2,
// and an index beyond a whole reflection reflects again, so a window wider than the image stays inside it.
inline int mirror_index(int i, int n) {
    const int period = 2 * n;
    int m = i % period;
    if (m < 0) m += period;
    return m < n ? m : period - 1 - m;
}

// table[j] = mirror_index(j - kGfPad, n) for j in 0 .. n + 2 kGfPad - 1; n >= 1.
void mirror_table_build(int32_t *table, int n);

// table[i] = i x 2^20 / (eps + 1024 i), truncated, for i in 0 .. entries - 1 (so entry 0 is 0); eps >= 1.
void coef_table_build(uint16_t *table, size_t entries, uint64_t eps);

// Exact division by a divisor fixed at configuration: one 128-bit multiply and a constant shift instead of a
// divide per pixel. Exact while |n| x divisor < 2^62, which every use here keeps with room: at most about
// 2^57 for the smooth division (|n| < 2^37, divisor < 2^21), 2^58.4 for the denoise output (dividend shifted
// to 0 .. 2^18 A^2, divisor A^2 < 2^20.2) and 2^61.3 for the guided column estimate (|n| < 2^51.1,
// divisor <= 1089).
struct FixedDivisor {
    uint64_t divisor;
    uint64_t magic;  // ceil(2^62 / divisor)
};
void fixed_divisor_init(FixedDivisor *fd, uint64_t divisor);

inline uint64_t fixed_div_u(const FixedDivisor &fd, uint64_t n) {
    return static_cast<uint64_t>((static_cast<unsigned __int128>(n) * fd.magic) >> 62);
}
// Toward zero, as C's "/". Without a branch: residuals change sign from pixel to pixel.
inline int64_t fixed_div_trunc(const FixedDivisor &fd, int64_t n) {
    const int64_t sign = n >> 63;  // 0 or -1
    const int64_t q = static_cast<int64_t>(fixed_div_u(fd, static_cast<uint64_t>((n ^ sign) - sign)));
    return (q ^ sign) - sign;
}

// ---- Destripe -----------------------------------------------------------------------------------------

// Constants of the destripe's row step.
struct DestripeRowParams {
    int radius;                // s0_radius
    bool guided;               // type 3: a by division, else by table
    uint64_t eps;              // eps0 = s0_regular^2 x W0^2
    const uint16_t *table;     // kDestripeTableSize entries (not used when guided)
    const int32_t *colMirror;  // mirror table over the width (mirror_table_build)
    FixedDivisor smoothDiv;    // W0^2 x 1024
};

// Row work area: three rows of width + 2 kGfPad.
struct DestripeRowWork {
    int32_t *x;
    int32_t *a;
    int32_t *b;
};

// Guided filter along one row of width w: smooth = (W0 x x Sa + Sb) / (W0^2 x 1024), residual = x - smooth.
// smooth may be null (only the guided column step needs it).
void destripe_row(const int16_t *row, int w, const DestripeRowParams &p, DestripeRowWork &work,
                  int32_t *residual, int16_t *smooth);

// Box column estimate: estimate = (sum of the residual over the W1 processed rows centred on the row) / W1,
// toward zero. residual and estimate are rows x w planes; colSum has w entries (|sum| <= 33 x 65535);
// rowMirror covers rows.
void destripe_column_box(const int32_t *residual, int w, int rows, int radius, const int32_t *rowMirror,
                         int32_t *colSum, int32_t *estimate);

// Work area of the guided column estimate: four column-sum rows of w and the rows x w planes of A and B.
struct DestripeColumnWork {
    int64_t *sumR;
    int64_t *sumS;
    int64_t *sumRS;
    int64_t *sumSS;
    int32_t *planeA;
    int64_t *planeB;
};

// Guided column estimate (type 3) from the residual and smooth planes (rows x w).
void destripe_column_guided(const int32_t *residual, const int16_t *smooth, int w, int rows, int radius,
                            uint64_t eps, const int32_t *rowMirror, DestripeColumnWork &work,
                            int32_t *estimate);

// Subtracts estimate row y from frame rows y S .. y S + S - 1 for y < rows (rows beyond rows x S stay),
// saturating at the 16-bit range. Estimates lie within +-65535, as both column steps leave them.
void destripe_correct(int16_t *samples, int w, const int32_t *estimate, int rows, int step);

// ---- Denoise ------------------------------------------------------------------------------------------

// Geometry and constants of the denoise: the working image is every f-th sample of every f-th row.
struct DenoiseParams {
    int width, height;         // frame
    int factor;                // f: 1, 2 or 4
    int smallW, smallH;        // width / f, height / f
    int radius;                // on the working image
    int area;                  // A = (2 radius + 1)^2
    const uint16_t *table;     // kDenoiseTableSize entries
    const int32_t *colMirror;  // over smallW
    const int32_t *rowMirror;  // over smallH
    FixedDivisor outDiv;       // A^2
};

// Row work area of the denoise: column sums of w = smallW entries and padded rows of w + 2 kGfPad.
struct DenoiseWork {
    int32_t *colS1;  // also the column sums of a
    int64_t *colS2;  // also the column sums of b
    int32_t *pad1;
    int64_t *pad2;
    int64_t *sumA;     // w entries of the current block row: A x (box sum of a)
    int64_t *sumB;     // box sum of b, shifted for the output's division
    uint16_t *planeA;  // smallW x smallH
    int32_t *planeB;
};

// Coefficients a and b of every working pixel into work.planeA and work.planeB.
void denoise_coefficients(const int16_t *samples, const DenoiseParams &p, DenoiseWork &work);

// Output: every frame sample takes I' = ((A x I x Sa >> 10) + Sb) / A^2 (floor) with the box sums of its
// block (clamped to the last block for the rows and columns a partial block would hold), saturated to 16
// bits.
void denoise_output(int16_t *samples, const DenoiseParams &p, DenoiseWork &work);

}  // namespace sarvik
