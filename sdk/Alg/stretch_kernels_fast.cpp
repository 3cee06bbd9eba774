// Faster renderer kernels for processors with AVX2. The histogram takes the frame's range and sum in vector
// registers while it counts, and spreads the increments over four histograms so that runs of equal samples do
// not wait on each other; the lookups read four samples per load. Results are those of the scalar kernels.
#include <immintrin.h>

#include <cstring>

#include "stretch_kernels.h"

namespace sarvik {

namespace {

#define FAST __attribute__((target("avx2")))

inline int16_t lane(uint64_t q, int i) {
    return static_cast<int16_t>(q >> (16 * i));
}

FAST void count_fast(const int16_t *data, size_t n, uint32_t *hist, uint32_t *const spare[3], int *lo,
                     int *hi, int64_t *sum) {
    uint32_t *const h1 = spare[0], *const h2 = spare[1], *const h3 = spare[2];
    __m256i vmin = _mm256_set1_epi16(data[0]), vmax = vmin, vsum = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi16(1);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + i));
        vmin = _mm256_min_epi16(vmin, v);
        vmax = _mm256_max_epi16(vmax, v);
        // Pairs summed to 32 bits, then widened: no lane can overflow whatever the frame size.
        const __m256i pairs = _mm256_madd_epi16(v, ones);
        vsum = _mm256_add_epi64(vsum, _mm256_cvtepi32_epi64(_mm256_castsi256_si128(pairs)));
        vsum = _mm256_add_epi64(vsum, _mm256_cvtepi32_epi64(_mm256_extracti128_si256(pairs, 1)));
        for (int k = 0; k < 16; k += 4) {
            uint64_t q;
            std::memcpy(&q, data + i + k, 8);
            ++hist[lane(q, 0)];
            ++h1[lane(q, 1)];
            ++h2[lane(q, 2)];
            ++h3[lane(q, 3)];
        }
    }
    alignas(32) int16_t mins[16], maxs[16];
    _mm256_store_si256(reinterpret_cast<__m256i *>(mins), vmin);
    _mm256_store_si256(reinterpret_cast<__m256i *>(maxs), vmax);
    int mn = mins[0], mx = maxs[0];
    for (int k = 1; k < 16; ++k) {
        mn = mins[k] < mn ? mins[k] : mn;
        mx = maxs[k] > mx ? maxs[k] : mx;
    }
    alignas(32) int64_t sums[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(sums), vsum);
    int64_t total = sums[0] + sums[1] + sums[2] + sums[3];
    for (; i < n; ++i) {
        const int v = data[i];
        ++hist[v];
        mn = v < mn ? v : mn;
        mx = v > mx ? v : mx;
        total += v;
    }
    for (int v = mn; v <= mx; ++v) {
        hist[v] += h1[v] + h2[v] + h3[v];
        h1[v] = h2[v] = h3[v] = 0;
    }
    *lo = mn;
    *hi = mx;
    *sum = total;
}

FAST int64_t clipped_sum_fast(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling) {
    // Counts fit 32 bits, so a ceiling above them clips nothing and may be lowered to the largest count.
    const uint32_t lo = static_cast<uint32_t>(floor);
    const uint32_t hi = ceiling > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(ceiling);
    const __m256i vlo = _mm256_set1_epi32(static_cast<int>(lo)),
                  vhi = _mm256_set1_epi32(static_cast<int>(hi));
    const __m256i zero = _mm256_setzero_si256();
    __m256i acc = zero;
    int v = from;
    for (; v + 8 <= to + 1; v += 8) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hist + v));
        __m256i k = _mm256_min_epu32(_mm256_max_epu32(c, vlo), vhi);
        k = _mm256_andnot_si256(_mm256_cmpeq_epi32(c, zero), k);
        acc = _mm256_add_epi64(
            acc, _mm256_add_epi64(_mm256_unpacklo_epi32(k, zero), _mm256_unpackhi_epi32(k, zero)));
    }
    alignas(32) int64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes), acc);
    int64_t sum = lanes[0] + lanes[1] + lanes[2] + lanes[3];
    for (; v <= to; ++v) {
        const int64_t c = hist[v];
        if (c) sum += c > ceiling ? ceiling : c < floor ? floor : c;
    }
    return sum;
}

// Lane indices of the set bits of every 8-bit mask, in order: the left-packing permutations.
struct PackTable {
    uint8_t lanes[256][8];
    constexpr PackTable() : lanes() {
        for (int m = 0; m < 256; ++m) {
            int n = 0;
            for (int b = 0; b < 8; ++b)
                if (m & (1 << b)) lanes[m][n++] = static_cast<uint8_t>(b);
        }
    }
};
constexpr PackTable kPack;

// The non-zero counts are packed eight at a time into scratch; then every inner one is compared with both
// neighbours eight at a time.
FAST void peaks_fast(const uint32_t *hist, int from, int to, uint32_t *scratch, int64_t *sum,
                     int64_t *number) {
    const __m256i zero = _mm256_setzero_si256();
    size_t n = 0;
    int v = from;
    // n + 8 never passes 65536: n <= v - from and v + 8 <= to + 1.
    for (; v + 8 <= to + 1; v += 8) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hist + v));
        const int mask = ~_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(c, zero))) & 0xFF;
        uint64_t lanes;
        std::memcpy(&lanes, kPack.lanes[mask], 8);
        const __m256i order = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(lanes)));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(scratch + n), _mm256_permutevar8x32_epi32(c, order));
        n += static_cast<size_t>(__builtin_popcount(static_cast<unsigned>(mask)));
    }
    for (; v <= to; ++v) {
        scratch[n] = hist[v];
        n += hist[v] != 0;
    }
    __m256i acc = zero;
    int64_t k = 0;
    size_t i = 1;
    for (; i + 8 + 1 <= n; i += 8) {
        const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(scratch + i - 1));
        const __m256i middle = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(scratch + i));
        const __m256i after = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(scratch + i + 1));
        const __m256i peak = _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_max_epu32(middle, before), middle),
                                              _mm256_cmpeq_epi32(_mm256_max_epu32(middle, after), middle));
        const __m256i kept = _mm256_and_si256(middle, peak);
        acc = _mm256_add_epi64(
            acc, _mm256_add_epi64(_mm256_unpacklo_epi32(kept, zero), _mm256_unpackhi_epi32(kept, zero)));
        k += __builtin_popcount(static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(peak))));
    }
    alignas(32) int64_t lanes4[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes4), acc);
    int64_t total = lanes4[0] + lanes4[1] + lanes4[2] + lanes4[3];
    for (; i + 1 < n; ++i) {
        if (scratch[i] >= scratch[i - 1] && scratch[i] >= scratch[i + 1]) {
            total += scratch[i];
            ++k;
        }
    }
    *sum = total;
    *number = k;
}

// Division-free integer fallback for totals too large for the double path (no real frame comes near).
void fill_levels_integer(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling, int base,
                         int k, int64_t total, uint8_t *lut) {
    int64_t acc = 0;
    for (int v = from; v <= to; ++v) {
        const int64_t c = hist[v];
        acc += c == 0 ? 0 : c > ceiling ? ceiling : c < floor ? floor : c;
        lut[v] = static_cast<uint8_t>(base + k * acc / total);
    }
}

// Four values at a time: clipped counts, their running sum across the lanes, then the quotient in doubles.
// The division is exact after flooring: |k| x C < 2^53 is represented exactly, and a quotient that is not an
// integer lies at least 1 / total below the next one, far more than the rounding error while total < 2^40.
FAST void fill_levels_fast(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling, int base,
                           int k, int64_t total, uint8_t *lut) {
    if (total >= (int64_t{1} << 40)) {
        fill_levels_integer(hist, from, to, floor, ceiling, base, k, total, lut);
        return;
    }
    const uint32_t lo = static_cast<uint32_t>(floor);
    const uint32_t hi = ceiling > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(ceiling);
    const __m128i vlo = _mm_set1_epi32(static_cast<int>(lo)), vhi = _mm_set1_epi32(static_cast<int>(hi));
    const __m256d kd = _mm256_set1_pd(k < 0 ? -k : k), td = _mm256_set1_pd(static_cast<double>(total));
    const __m256i magicBits = _mm256_set1_epi64x(0x4330000000000000);  // 2^52: exact for 0 <= x < 2^52
    const __m256d magic = _mm256_set1_pd(4503599627370496.0);
    const __m128i vbase = _mm_set1_epi32(base);
    const __m256i zero = _mm256_setzero_si256();
    __m256i carry = zero;
    int v = from;
    for (; v + 4 <= to + 1; v += 4) {
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hist + v));
        c = _mm_andnot_si128(_mm_cmpeq_epi32(c, _mm_setzero_si128()),
                             _mm_min_epu32(_mm_max_epu32(c, vlo), vhi));
        const __m256i c64 = _mm256_cvtepu32_epi64(c);
        __m256i local = _mm256_add_epi64(
            c64, _mm256_blend_epi32(_mm256_permute4x64_epi64(c64, _MM_SHUFFLE(2, 1, 0, 0)), zero, 0x03));
        local = _mm256_add_epi64(
            local, _mm256_blend_epi32(_mm256_permute4x64_epi64(local, _MM_SHUFFLE(1, 0, 0, 0)), zero, 0x0F));
        const __m256i sum = _mm256_add_epi64(local, carry);
        // The block's own total is broadcast off the carried chain, which then costs one addition per block.
        carry = _mm256_add_epi64(carry, _mm256_permute4x64_epi64(local, _MM_SHUFFLE(3, 3, 3, 3)));
        const __m256d acc = _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(sum, magicBits)), magic);
        const __m256d q = _mm256_floor_pd(_mm256_div_pd(_mm256_mul_pd(acc, kd), td));
        const __m128i qi = _mm256_cvttpd_epi32(q);
        const __m128i levels = k < 0 ? _mm_sub_epi32(vbase, qi) : _mm_add_epi32(vbase, qi);
        const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(levels, levels), _mm_setzero_si128());
        const uint32_t four = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
        std::memcpy(lut + v, &four, 4);
    }
    int64_t acc = _mm256_extract_epi64(carry, 0);
    for (; v <= to; ++v) {
        const int64_t c = hist[v];
        acc += c == 0 ? 0 : c > ceiling ? ceiling : c < floor ? floor : c;
        lut[v] = static_cast<uint8_t>(base + k * acc / total);
    }
}

FAST void map_gray_fast(const int16_t *data, size_t n, const uint8_t *gray, uint8_t *out) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t q;
        std::memcpy(&q, data + i, 8);
        const uint32_t w = uint32_t{gray[lane(q, 0)]} | uint32_t{gray[lane(q, 1)]} << 8 |
                           uint32_t{gray[lane(q, 2)]} << 16 | uint32_t{gray[lane(q, 3)]} << 24;
        std::memcpy(out + i, &w, 4);
    }
    for (; i < n; ++i) out[i] = gray[data[i]];
}

// Eight colours are gathered into one register and stored at once: fewer stores than pixels.
FAST inline __m128i colours4(uint64_t q, const uint32_t *colour) {
    __m128i v = _mm_cvtsi32_si128(static_cast<int>(colour[lane(q, 0)]));
    v = _mm_insert_epi32(v, static_cast<int>(colour[lane(q, 1)]), 1);
    v = _mm_insert_epi32(v, static_cast<int>(colour[lane(q, 2)]), 2);
    return _mm_insert_epi32(v, static_cast<int>(colour[lane(q, 3)]), 3);
}

FAST void map_bgra_fast(const int16_t *data, size_t n, const uint32_t *colour, uint32_t *out) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t q0, q1;
        std::memcpy(&q0, data + i, 8);
        std::memcpy(&q1, data + i + 4, 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + i),
                            _mm256_set_m128i(colours4(q1, colour), colours4(q0, colour)));
    }
    for (; i < n; ++i) out[i] = colour[data[i]];
}

FAST void map_planes_fast(const int16_t *data, size_t n, const uint32_t *colour, uint8_t *p0, uint8_t *p1,
                          uint8_t *p2) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t q;
        std::memcpy(&q, data + i, 8);
        const uint32_t c0 = colour[lane(q, 0)], c1 = colour[lane(q, 1)], c2 = colour[lane(q, 2)],
                       c3 = colour[lane(q, 3)];
        // Byte k of the four colours, gathered into one 32-bit word per plane.
        const __m128i v = _mm_setr_epi32(static_cast<int>(c0), static_cast<int>(c1), static_cast<int>(c2),
                                         static_cast<int>(c3));
        const __m128i planes =
            _mm_shuffle_epi8(v, _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
        const uint32_t b0 = static_cast<uint32_t>(_mm_cvtsi128_si32(planes));
        const uint32_t b1 = static_cast<uint32_t>(_mm_extract_epi32(planes, 1));
        const uint32_t b2 = static_cast<uint32_t>(_mm_extract_epi32(planes, 2));
        std::memcpy(p0 + i, &b0, 4);
        std::memcpy(p1 + i, &b1, 4);
        std::memcpy(p2 + i, &b2, 4);
    }
    for (; i < n; ++i) {
        const uint32_t c = colour[data[i]];
        p0[i] = static_cast<uint8_t>(c);
        p1[i] = static_cast<uint8_t>(c >> 8);
        p2[i] = static_cast<uint8_t>(c >> 16);
    }
}

// level = clamp(detail + gray, 0, 255) for 16 pixels at once; the gray levels are looked up one by one.
FAST inline __m256i levels16(const int16_t *data, const int16_t *detail, const uint8_t *gray) {
    alignas(32) int16_t g[16];
    for (int k = 0; k < 16; k += 4) {
        uint64_t q;
        std::memcpy(&q, data + k, 8);
        g[k] = gray[lane(q, 0)];
        g[k + 1] = gray[lane(q, 1)];
        g[k + 2] = gray[lane(q, 2)];
        g[k + 3] = gray[lane(q, 3)];
    }
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(detail));
    const __m256i sum = _mm256_adds_epi16(d, _mm256_load_si256(reinterpret_cast<const __m256i *>(g)));
    return _mm256_min_epi16(_mm256_max_epi16(sum, _mm256_setzero_si256()), _mm256_set1_epi16(255));
}

FAST void dde_gray_fast(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray,
                        uint8_t *out) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i lv = levels16(data + i, detail + i, gray);
        const __m128i packed = _mm_packus_epi16(_mm256_castsi256_si128(lv), _mm256_extracti128_si256(lv, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), packed);
    }
    for (; i < n; ++i) {
        const int v = detail[i] + gray[data[i]];
        out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

FAST void dde_bgra_fast(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray,
                        const uint32_t *slot, const uint32_t *palettes, uint32_t *out) {
    size_t i = 0;
    alignas(32) uint16_t lv[16];
    for (; i + 16 <= n; i += 16) {
        _mm256_store_si256(reinterpret_cast<__m256i *>(lv), levels16(data + i, detail + i, gray));
        for (int k = 0; k < 16; ++k) out[i + k] = palettes[slot[data[i + k]] + lv[k]];
    }
    for (; i < n; ++i) {
        const int v = detail[i] + gray[data[i]];
        out[i] = palettes[slot[data[i]] + static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v)];
    }
}

#undef FAST

const StretchKernels kFast = {
    "avx2",        count_fast,    peaks_fast,      clipped_sum_fast, fill_levels_fast,
    map_gray_fast, map_bgra_fast, map_planes_fast, dde_gray_fast,    dde_bgra_fast,
};

}  // namespace

const StretchKernels *stretch_kernels_fast() {
    return __builtin_cpu_supports("avx2") ? &kFast : nullptr;
}

}  // namespace sarvik
