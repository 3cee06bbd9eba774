// Row kernels of the detail enhancement. This file is included inside an anonymous namespace by dde.cpp
// (plain build, the reference) and by dde_avx2.cpp (the same code compiled for AVX2), with DDE_ROW_TARGET
// set to the target attribute of each; internal linkage keeps the two builds apart.
//
// Integer widths (x = sample - centre lies within +-65535, a within 0..1024, level at most 8):
//   S1 32-bit (|S1| <= 3211215); S2 64-bit (up to 2.1e11); 49 S2 - S1^2 64-bit (up to 1.03e13);
//   b = S1 - (S1 a >> 10), 32-bit with |b| <= |S1|; G 32-bit (<= 50176); H 32-bit (|H| <= 157349535);
//   products beyond 32 bits ((49 x) G, 6987 (t + H), (strength / 49) G (x - base)) are split at a power of
//   two into two 32-bit products whose floors recombine exactly: floor((2^k p + q) / 2^(k+j)) =
//   floor((p + floor(q / 2^k)) / 2^j). Right shifts of negative values are arithmetic (floor), as GCC
//   defines them.
#ifndef DDE_ROW_TARGET
#error "define DDE_ROW_TARGET before including dde_rows.h"
#endif

// Column sums move down one row: row `in` enters, row `out` leaves (out null: only enter).
DDE_ROW_TARGET void rows_column_x(int32_t *__restrict s1, int64_t *__restrict s2,
                                  const int16_t *__restrict in, const int16_t *__restrict out, int centre,
                                  int w) {
    if (!out) {
        for (int c = 0; c < w; ++c) {
            const int32_t x = in[c] - centre;
            s1[c] += x;
            s2[c] += static_cast<int64_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(x));
        }
        return;
    }
    for (int c = 0; c < w; ++c) {
        const int32_t xi = in[c] - centre, xo = out[c] - centre;
        s1[c] += xi - xo;
        // x^2 <= 65535^2 fits 32 bits unsigned (the unsigned product of a negative x is its square too).
        const uint32_t ui = static_cast<uint32_t>(xi), uo = static_cast<uint32_t>(xo);
        s2[c] += static_cast<int64_t>(ui * ui) - static_cast<int64_t>(uo * uo);
    }
}

DDE_ROW_TARGET void rows_column_coeff(int32_t *__restrict g1, int32_t *__restrict h1, int32_t *__restrict g2,
                                      int32_t *__restrict h2, const int32_t *const in[4],
                                      const int32_t *const out[4], int w) {
    if (!out) {
        for (int c = 0; c < w; ++c) {
            g1[c] += in[0][c];
            h1[c] += in[1][c];
            g2[c] += in[2][c];
            h2[c] += in[3][c];
        }
        return;
    }
    for (int c = 0; c < w; ++c) {
        g1[c] += in[0][c] - out[0][c];
        h1[c] += in[1][c] - out[1][c];
        g2[c] += in[2][c] - out[2][c];
        h2[c] += in[3][c] - out[3][c];
    }
}

// Horizontal 7-sum with mirrored borders: pad holds column -3..w+2, out[c] = pad[c] + ... + pad[c + 6].
template <typename T>
DDE_ROW_TARGET void rows_hsum(const T *__restrict col, T *__restrict pad, T *__restrict out, int w) {
    pad[0] = col[2];
    pad[1] = col[1];
    pad[2] = col[0];
    for (int c = 0; c < w; ++c) pad[c + 3] = col[c];
    pad[w + 3] = col[w - 1];
    pad[w + 4] = col[w - 2];
    pad[w + 5] = col[w - 3];
    for (int c = 0; c < w; ++c)
        out[c] = pad[c] + pad[c + 1] + pad[c + 2] + pad[c + 3] + pad[c + 4] + pad[c + 5] + pad[c + 6];
}

// floor(v x a / 1024) for |v| < 2^22 and 0 <= a <= 1024, in 32 bits.
DDE_ROW_TARGET inline int32_t rows_mul_shift10(int32_t v, int32_t a) {
    return (v >> 10) * a + (((v & 1023) * a) >> 10);
}

// Guided-filter coefficients of one row from its box sums S1 and S2.
DDE_ROW_TARGET void rows_coefficients(const int32_t *__restrict s1, const int64_t *__restrict s2,
                                      const uint16_t *__restrict t1, const uint16_t *__restrict t2,
                                      int32_t *__restrict a1, int32_t *__restrict b1, int32_t *__restrict a2,
                                      int32_t *__restrict b2, int w) {
    for (int c = 0; c < w; ++c) {
        const int64_t v = s1[c];
        // Never negative: 49 sum x^2 >= (sum x)^2 over 49 values.
        const int64_t spread = (49 * s2[c] - v * v) >> 10;
        const int32_t index = spread > 1048575 ? 1048575 : static_cast<int32_t>(spread);
        const int32_t k1 = t1[index], k2 = t2[index];
        a1[c] = k1;
        b1[c] = s1[c] - rows_mul_shift10(s1[c], k1);
        a2[c] = k2;
        b2[c] = s1[c] - rows_mul_shift10(s1[c], k2);
    }
}

// Base and detail of one row from the box sums of the coefficients.
DDE_ROW_TARGET void rows_detail(const int32_t *__restrict g1, const int32_t *__restrict h1,
                                const int32_t *__restrict g2, const int32_t *__restrict h2,
                                const int16_t *__restrict row, int centre, int32_t perArea,
                                int16_t *__restrict out, int w) {
    for (int c = 0; c < w; ++c) {
        const bool second = g1[c] < 15052;
        const int32_t g = second ? g2[c] : g1[c];
        const int32_t h = second ? h2[c] : h1[c];
        const int32_t x = row[c] - centre;
        const int32_t p = 49 * x;
        // t = (49 x G) >> 10
        const int32_t t = (p >> 10) * g + (((p & 1023) * g) >> 10);
        // base = 6987 (t + H) >> 24
        const int32_t u = t + h;
        const int32_t base = (6987 * (u >> 12) + ((6987 * (u & 4095)) >> 12)) >> 12;
        // detail = (strength / 49) G (x - base) >> 20
        const int32_t m = perArea * g;
        const int32_t e = x - base;
        const int32_t d = ((m >> 12) * e + (((m & 4095) * e) >> 12)) >> 8;
        // Saturated rather than wrapped: the gray level clamps to 0..255 anyway.
        out[c] = static_cast<int16_t>(d < -32768 ? -32768 : d > 32767 ? 32767 : d);
    }
}
