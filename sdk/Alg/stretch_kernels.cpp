// Scalar reference kernels of the renderer and the one-time choice of the table in use.
#include "stretch_kernels.h"

#include <cstdlib>
#include <cstring>

namespace sarvik {

namespace {

void count_scalar(const int16_t *data, size_t n, uint32_t *hist, uint32_t *const *, int *lo, int *hi,
                  int64_t *sum) {
    int mn = data[0], mx = data[0];
    int64_t total = 0;
    for (size_t i = 0; i < n; ++i) {
        const int v = data[i];
        ++hist[v];
        mn = v < mn ? v : mn;
        mx = v > mx ? v : mx;
        total += v;
    }
    *lo = mn;
    *hi = mx;
    *sum = total;
}

// The three latest non-zero counts slide along without branches: zero and non-zero counts alternate
// unpredictably in a sparse histogram.
void peaks_scalar(const uint32_t *hist, int from, int to, uint32_t *, int64_t *sum, int64_t *number) {
    int64_t total = 0, k = 0;
    uint32_t before = 0, middle = 0;
    int seen = 0;
    for (int v = from; v <= to; ++v) {
        const uint32_t count = hist[v];
        const bool present = count != 0;
        // Bitwise, not short-circuit: no branch.
        const bool peak = present & (seen >= 2) & (middle >= before) & (middle >= count);
        total += middle & -static_cast<int64_t>(peak);
        k += peak;
        before = present ? middle : before;
        middle = present ? count : middle;
        seen += present;
    }
    *sum = total;
    *number = k;
}

int64_t clipped_sum_scalar(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling) {
    int64_t sum = 0;
    for (int v = from; v <= to; ++v) {
        const int64_t c = hist[v];
        if (c) sum += c > ceiling ? ceiling : c < floor ? floor : c;
    }
    return sum;
}

// The quotient only grows, by at most |k| over the whole walk, so it is carried along with its remainder
// instead of dividing at every value.
void fill_levels_scalar(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling, int base,
                        int k, int64_t total, uint8_t *lut) {
    const int64_t step = k < 0 ? -k : k;
    int64_t quotient = 0, rest = 0;
    for (int v = from; v <= to; ++v) {
        const int64_t c = hist[v];
        rest += step * (c == 0 ? 0 : c > ceiling ? ceiling : c < floor ? floor : c);
        while (rest >= total) {
            rest -= total;
            ++quotient;
        }
        lut[v] = static_cast<uint8_t>(base + (k < 0 ? -quotient : quotient));
    }
}

void map_gray_scalar(const int16_t *data, size_t n, const uint8_t *gray, uint8_t *out) {
    for (size_t i = 0; i < n; ++i) out[i] = gray[data[i]];
}

void map_bgra_scalar(const int16_t *data, size_t n, const uint32_t *colour, uint32_t *out) {
    for (size_t i = 0; i < n; ++i) out[i] = colour[data[i]];
}

void map_planes_scalar(const int16_t *data, size_t n, const uint32_t *colour, uint8_t *p0, uint8_t *p1,
                       uint8_t *p2) {
    for (size_t i = 0; i < n; ++i) {
        const uint32_t c = colour[data[i]];
        p0[i] = static_cast<uint8_t>(c);
        p1[i] = static_cast<uint8_t>(c >> 8);
        p2[i] = static_cast<uint8_t>(c >> 16);
    }
}

inline int level_of(int detail, int gray) {
    const int v = detail + gray;
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

void dde_gray_scalar(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray,
                     uint8_t *out) {
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(level_of(detail[i], gray[data[i]]));
}

void dde_bgra_scalar(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray,
                     const uint32_t *slot, const uint32_t *palettes, uint32_t *out) {
    for (size_t i = 0; i < n; ++i) {
        const int v = data[i];
        out[i] = palettes[slot[v] + static_cast<uint32_t>(level_of(detail[i], gray[v]))];
    }
}

const StretchKernels kScalar = {
    "scalar",        count_scalar,    peaks_scalar,      clipped_sum_scalar, fill_levels_scalar,
    map_gray_scalar, map_bgra_scalar, map_planes_scalar, dde_gray_scalar,    dde_bgra_scalar,
};

}  // namespace

bool kernels_forced_scalar() {
    static const bool forced = [] {
        const char *v = std::getenv("SARVIK_FORCE_SCALAR");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return forced;
}

const StretchKernels &stretch_kernels_scalar() {
    return kScalar;
}

const StretchKernels &stretch_kernels() {
    static const StretchKernels *chosen = [] {
        const StretchKernels *fast = kernels_forced_scalar() ? nullptr : stretch_kernels_fast();
        return fast ? fast : &kScalar;
    }();
    return *chosen;
}

}  // namespace sarvik
