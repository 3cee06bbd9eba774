// The row kernels of the detail enhancement as a table of plain functions. The scalar table is the reference;
// the AVX2 build of the same code is chosen once, at first use, when the processor has AVX2, unless the
// environment variable SARVIK_FORCE_SCALAR is set (any non-empty value but "0"). Both give the same bits.
#pragma once

#include <cstdint>

namespace sarvik {

struct DdeRowKernels {
    const char *name;
    void (*column_x)(int32_t *s1, int64_t *s2, const int16_t *in, const int16_t *out, int centre, int w);
    void (*column_coeff)(int32_t *g1, int32_t *h1, int32_t *g2, int32_t *h2, const int32_t *const in[4],
                         const int32_t *const out[4], int w);
    void (*hsum32)(const int32_t *col, int32_t *pad, int32_t *out, int w);
    void (*hsum64)(const int64_t *col, int64_t *pad, int64_t *out, int w);
    void (*coefficients)(const int32_t *s1, const int64_t *s2, const uint16_t *t1, const uint16_t *t2,
                         int32_t *a1, int32_t *b1, int32_t *a2, int32_t *b2, int w);
    void (*detail)(const int32_t *g1, const int32_t *h1, const int32_t *g2, const int32_t *h2,
                   const int16_t *row, int centre, int32_t perArea, int16_t *out, int w);
};

const DdeRowKernels &dde_row_kernels_scalar();
// The AVX2 build, or null when the processor lacks AVX2.
const DdeRowKernels *dde_row_kernels_avx2();
// The table in use.
const DdeRowKernels &dde_row_kernels();

}  // namespace sarvik
