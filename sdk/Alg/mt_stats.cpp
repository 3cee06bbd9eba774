// Region statistics of the measurement engine: the span kernels (reference and SSE2) that every row of a
// region goes through, the 3 x 3 smoothing of the extremes, and the positions of a result.
#include <emmintrin.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "mt_engine.h"

namespace sarvik {
namespace mt {

void span_stats_scalar(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s) {
    // A local copy keeps the running values in registers.
    Stats local = s;
    if (mask) {
        for (size_t i = begin; i < end; ++i)
            if (mask[i] == 1) stats_add(local, px, i);
    } else {
        for (size_t i = begin; i < end; ++i) stats_add(local, px, i);
    }
    s = local;
}

namespace {

// Blocks of 1024 samples: the 32-bit sum lanes take at most 128 x 65536 per block, and the position of an
// extreme is searched again only inside the first block that reached it, which is still in the cache.
constexpr size_t kBlock = 1024;

int64_t lane_sum(__m128i acc) {
    alignas(16) int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i *>(lanes), acc);
    return static_cast<int64_t>(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
}

int16_t lane_max(__m128i v) {
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    v = _mm_max_epi16(v, _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<int16_t>(_mm_cvtsi128_si32(v));
}

int16_t lane_min(__m128i v) {
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    v = _mm_min_epi16(v, _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<int16_t>(_mm_cvtsi128_si32(v));
}

// Mask bytes 1 widened to 16-bit lanes of all ones; any other byte gives 0.
inline __m128i included_lanes(const uint8_t *mask) {
    const __m128i m = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(mask));
    return _mm_cmpeq_epi16(_mm_unpacklo_epi8(m, _mm_setzero_si128()), _mm_set1_epi16(1));
}

// First index in begin..end-1 with px[i] == v (and mask[i] == 1 when a mask is given); one exists.
size_t first_equal(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, int16_t v) {
    const __m128i target = _mm_set1_epi16(v);
    size_t i = begin;
    for (; i + 8 <= end; i += 8) {
        __m128i eq = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(px + i)), target);
        if (mask) eq = _mm_and_si128(eq, included_lanes(mask + i));
        const int bits = _mm_movemask_epi8(eq);
        if (bits) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits))) / 2;
    }
    for (; i < end; ++i)
        if (px[i] == v && (!mask || mask[i] == 1)) return i;
    return end;
}

// Excluded lanes enter the extremes as the neutral values and the sum as 0. A block's extreme that beats
// the running one becomes it, and that block is remembered; equal values in later blocks never replace it,
// so the search inside the remembered block finds the first occurrence, as the pixel-by-pixel scan does.
void span_stats_vector(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s) {
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i lowest = _mm_set1_epi16(SHRT_MIN), highest = _mm_set1_epi16(SHRT_MAX);
    int32_t hiAll = s.maxRaw, loAll = s.minRaw;
    size_t hiBlock = end, loBlock = end;
    int64_t sum = 0, count = 0;
    for (size_t b = begin; b < end; b += kBlock) {
        const size_t e = end - b > kBlock ? b + kBlock : end;
        __m128i vmax = lowest, vmin = highest, acc = _mm_setzero_si128(), cnt = _mm_setzero_si128();
        size_t i = b;
        if (!mask) {
            for (; i + 8 <= e; i += 8) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(px + i));
                vmax = _mm_max_epi16(vmax, v);
                vmin = _mm_min_epi16(vmin, v);
                acc = _mm_add_epi32(acc, _mm_madd_epi16(v, ones));
            }
            count += static_cast<int64_t>(i - b);
        } else {
            for (; i + 8 <= e; i += 8) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(px + i));
                const __m128i in = included_lanes(mask + i);
                const __m128i kept = _mm_and_si128(in, v);
                vmax = _mm_max_epi16(vmax, _mm_or_si128(kept, _mm_andnot_si128(in, lowest)));
                vmin = _mm_min_epi16(vmin, _mm_or_si128(kept, _mm_andnot_si128(in, highest)));
                acc = _mm_add_epi32(acc, _mm_madd_epi16(kept, ones));
                cnt = _mm_sub_epi32(cnt, _mm_madd_epi16(in, ones));
            }
            count += lane_sum(cnt);
        }
        int32_t hi = lane_max(vmax), lo = lane_min(vmin);
        sum += lane_sum(acc);
        for (; i < e; ++i) {
            if (mask && mask[i] != 1) continue;
            const int32_t v = px[i];
            if (v > hi) hi = v;
            if (v < lo) lo = v;
            sum += v;
            ++count;
        }
        // Neutral values never beat a running extreme, so a block without measured samples changes nothing.
        if (hi > hiAll) {
            hiAll = hi;
            hiBlock = b;
        }
        if (lo < loAll) {
            loAll = lo;
            loBlock = b;
        }
    }
    if (hiBlock != end) {
        s.maxRaw = hiAll;
        s.maxIndex = first_equal(px, mask, hiBlock, end - hiBlock > kBlock ? hiBlock + kBlock : end,
                                 static_cast<int16_t>(hiAll));
    }
    if (loBlock != end) {
        s.minRaw = loAll;
        s.minIndex = first_equal(px, mask, loBlock, end - loBlock > kBlock ? loBlock + kBlock : end,
                                 static_cast<int16_t>(loAll));
    }
    s.sum += sum;
    s.count += count;
}

using SpanKernel = void (*)(const int16_t *, const uint8_t *, size_t, size_t, Stats &);

bool scalar_forced() {
    const char *v = std::getenv("SARVIK_FORCE_SCALAR");
    return v && *v && std::strcmp(v, "0") != 0;
}

// Chosen once, the first time anything is measured.
SpanKernel span_kernel() {
    static const SpanKernel kernel = scalar_forced() ? span_stats_scalar : span_stats_vector;
    return kernel;
}

}  // namespace

void span_stats_sse2(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s) {
    span_stats_vector(px, mask, begin, end, s);
}

void span_stats(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s) {
    span_kernel()(px, mask, begin, end, s);
}

bool fast_kernels_selected() {
    return span_kernel() == span_stats_vector;
}

namespace {

int32_t smoothed(const Frame &f, size_t index) {
    const int w = f.width, h = f.height;
    const int x = static_cast<int>(index % static_cast<size_t>(w));
    const int y = static_cast<int>(index / static_cast<size_t>(w));
    if (x < 1 || x > w - 2 || y < 1 || y > h - 2) return f.px[index];
    int32_t sum = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        const int16_t *row = f.px + static_cast<size_t>(y + dy) * static_cast<size_t>(w);
        sum += row[x - 1] + row[x] + row[x + 1];
    }
    return sum / 9;
}

}  // namespace

RawResult stats_raw(const Stats &s, const Frame &f) {
    RawResult r;
    r.maxRaw = smoothed(f, s.maxIndex);
    r.minRaw = smoothed(f, s.minIndex);
    r.avgRaw = s.count ? static_cast<int32_t>(s.sum / s.count) : s.refRaw;
    return r;
}

void write_result(const Stats &s, const Frame &f, float maxT, float minT, float avgT, MtResult *out) {
    const size_t w = static_cast<size_t>(f.width);
    out->maxX = static_cast<uint16_t>(s.maxIndex % w);
    out->maxY = static_cast<uint16_t>(s.maxIndex / w);
    out->minX = static_cast<uint16_t>(s.minIndex % w);
    out->minY = static_cast<uint16_t>(s.minIndex / w);
    out->maxTemp = maxT;
    out->minTemp = minT;
    out->avgTemp = avgT;
}

}  // namespace mt
}  // namespace sarvik
