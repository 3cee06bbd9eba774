// Faster renderer kernels for processors with AVX2. The histogram takes the frame's range in vector registers
// while it counts, and alternates between two histograms so that runs of equal samples do not wait on each
// other's increments; the lookups read four samples per load. Results are those of the scalar kernels.
#include <immintrin.h>

#include <cstring>

#include "stretch_kernels.h"

namespace sarvik {

namespace {

#define FAST __attribute__((target("avx2")))

inline int16_t lane(uint64_t q, int i) { return static_cast<int16_t>(q >> (16 * i)); }

FAST void count_fast(const int16_t *data, size_t n, uint32_t *hist, uint32_t *spare, int *lo, int *hi,
                     int64_t *sum) {
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
            ++spare[lane(q, 1)];
            ++hist[lane(q, 2)];
            ++spare[lane(q, 3)];
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
        hist[v] += spare[v];
        spare[v] = 0;
    }
    *lo = mn;
    *hi = mx;
    *sum = total;
}

FAST int64_t clipped_sum_fast(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling) {
    // Counts fit 32 bits, so a ceiling above them clips nothing and may be lowered to the largest count.
    const uint32_t lo = static_cast<uint32_t>(floor);
    const uint32_t hi = ceiling > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(ceiling);
    const __m256i vlo = _mm256_set1_epi32(static_cast<int>(lo)), vhi = _mm256_set1_epi32(static_cast<int>(hi));
    const __m256i zero = _mm256_setzero_si256();
    __m256i acc = zero;
    int v = from;
    for (; v + 8 <= to + 1; v += 8) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hist + v));
        __m256i k = _mm256_min_epu32(_mm256_max_epu32(c, vlo), vhi);
        k = _mm256_andnot_si256(_mm256_cmpeq_epi32(c, zero), k);
        acc = _mm256_add_epi64(acc, _mm256_add_epi64(_mm256_unpacklo_epi32(k, zero), _mm256_unpackhi_epi32(k, zero)));
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

FAST void map_bgra_fast(const int16_t *data, size_t n, const uint32_t *colour, uint32_t *out) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t q;
        std::memcpy(&q, data + i, 8);
        out[i] = colour[lane(q, 0)];
        out[i + 1] = colour[lane(q, 1)];
        out[i + 2] = colour[lane(q, 2)];
        out[i + 3] = colour[lane(q, 3)];
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

FAST void dde_gray_fast(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray, uint8_t *out) {
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
    "avx2", count_fast, clipped_sum_fast, map_gray_fast, map_bgra_fast, map_planes_fast, dde_gray_fast, dde_bgra_fast,
};

}  // namespace

const StretchKernels *stretch_kernels_fast() { return __builtin_cpu_supports("avx2") ? &kFast : nullptr; }

}  // namespace sarvik
