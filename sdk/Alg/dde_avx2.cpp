// The detail-enhancement row kernels compiled for AVX2: the same source as the reference, vectorised by the
// compiler with 256-bit registers.
#include <cstdint>

#include "dde_row_kernels.h"
#include "stretch_kernels.h"

namespace sarvik {

namespace {

#define DDE_ROW_TARGET __attribute__((target("avx2")))
#include "dde_rows.h"
#undef DDE_ROW_TARGET

const DdeRowKernels kAvx2Rows = {
    "avx2",      rows_column_x, rows_column_coeff, rows_hsum<int32_t>, rows_hsum<int64_t>, rows_coefficients,
    rows_detail,
};

}  // namespace

const DdeRowKernels *dde_row_kernels_avx2() {
    return __builtin_cpu_supports("avx2") ? &kAvx2Rows : nullptr;
}

const DdeRowKernels &dde_row_kernels() {
    static const DdeRowKernels *chosen = [] {
        const DdeRowKernels *fast = kernels_forced_scalar() ? nullptr : dde_row_kernels_avx2();
        return fast ? fast : &dde_row_kernels_scalar();
    }();
    return *chosen;
}

}  // namespace sarvik
