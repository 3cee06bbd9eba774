// Internals of the measurement-template engine: the context behind the MtContext handle, region statistics,
// shape measurement, temperature conversion and alarm states. The exported mt* functions are thin wrappers
// over these; everything here lives in a C++ namespace so that none of it leaves the library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

// One template with its precomputed masks and temperature table. Allocated by mtCreate, released by mtFree.
struct MtContext {
    int width;
    int height;
    size_t pixels;
    uint16_t tableSlope;  // the scale the table was last built for
    int16_t tableOffset;
    MtTemplate tpl;  // the loaded template (width and height always the context's)
    // 17 masks of `pixels` bytes: [0] exclusion mask (1 = measured), [1 + i] inside of polygon object i.
    // Only the parts mtCheck reads are kept current: mask 0 while an area is enabled, mask 1 + i over the
    // bounding box of an enabled polygon.
    uint8_t *masks;
    float table[65536];  // temperature of every signed raw value, indexed by raw + 32768
};

namespace sarvik {
namespace mt {

constexpr int kMaskCount = 1 + SARVIK_MT_MAX_OBJECTS;
constexpr int kTableBias = 32768;

// The samples of one frame, row by row.
struct Frame {
    const int16_t *px;
    int width;
    int height;
};

// Running statistics of one region. Maximum and minimum start at a reference pixel and move only to
// strictly greater or smaller values, so the first occurrence in scan order wins.
struct Stats {
    int32_t maxRaw;
    int32_t minRaw;
    size_t maxIndex;
    size_t minIndex;
    int32_t refRaw;
    int64_t sum;
    int64_t count;
};

inline void stats_begin(Stats &s, const Frame &f, size_t ref) {
    s.refRaw = s.maxRaw = s.minRaw = f.px[ref];
    s.maxIndex = s.minIndex = ref;
    s.sum = 0;
    s.count = 0;
}

inline void stats_add(Stats &s, const int16_t *px, size_t i) {
    const int32_t v = px[i];
    if (v > s.maxRaw) {
        s.maxRaw = v;
        s.maxIndex = i;
    } else if (v < s.minRaw) {
        s.minRaw = v;
        s.minIndex = i;
    }
    s.sum += v;
    ++s.count;
}

// Adds the samples at indices begin..end-1 of a frame (only those whose mask byte is 1 when a mask is
// given; the mask is indexed like the samples) to s, which was begun on its reference pixel. The reference
// version visits pixel by pixel; the SSE2 version gives bit-identical results. span_stats picks the SSE2
// one unless SARVIK_FORCE_SCALAR is set to anything but "0" when the library first measures.
void span_stats(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s);
void span_stats_scalar(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s);
void span_stats_sse2(const int16_t *px, const uint8_t *mask, size_t begin, size_t end, Stats &s);
bool fast_kernels_selected();

// The raw values that become temperatures: maximum and minimum replaced by the truncated mean of their
// 3 x 3 neighbourhood unless they lie on the frame border; the average is sum / count (integer division),
// or the reference value for an empty region.
struct RawResult {
    int32_t maxRaw;
    int32_t minRaw;
    int32_t avgRaw;
};
RawResult stats_raw(const Stats &s, const Frame &f);

// Temperature of a raw value: raw / slope + offset in 32-bit floats, the one formula of the whole system.
inline float temperature(int32_t raw, uint16_t slope, int16_t offset) {
    return static_cast<float>(raw) / static_cast<float>(slope) + static_cast<float>(offset);
}
// The context-free functions have no earlier scale to fall back on: a slope of 0 converts as 1.
inline uint16_t usable_slope(uint16_t slope) {
    return slope ? slope : 1;
}
void build_table(float *table, uint16_t slope, int16_t offset);

// Positions (index mod width, index div width) and temperatures; the alarm state is left alone.
void write_result(const Stats &s, const Frame &f, float maxT, float minT, float avgT, MtResult *out);

// Alarm state of an object against its thresholds (v the average for points, else M maximum, m minimum).
uint32_t alarm_state(const MtObject &o, float maxT, float minT, float avgT);

// Measures the region of one object. polygonMask, when given, is the full-frame inside mask of a polygon
// and replaces the even-odd test. False when there is nothing to write: a line with an end outside the
// frame, a box that is empty once cut to the frame, a polyline or polygon with too few points or a point
// outside.
bool measure_object(const Frame &f, const MtObject &o, const uint8_t *polygonMask, Stats &s);

// mtGetResult's check: percentage 50-100, polylines 2-32 and polygons 3-32 points, and the first count
// points (never more than 32) inside the frame.
bool object_valid_for_frame(const MtObject &o, int width, int height);
// mtReload's check of an enabled object.
bool template_object_valid(const MtObject &o, int width, int height);

// Bounding box of the first count points (count >= 1).
struct Box {
    int x0, y0, x1, y1;
};
Box points_box(const MtPoint *p, int count);

}  // namespace mt
}  // namespace sarvik
