// The context-free measurements: one object (mtGetResult) and the whole frame (mtGetResult_GMO), both
// converting with the frame's own scale; and the temperature table that contexts convert with.
#include "mt_engine.h"

using namespace sarvik::mt;

namespace sarvik {
namespace mt {

void build_table(float *table, uint16_t slope, int16_t offset) {
    for (int32_t raw = -kTableBias; raw < kTableBias; ++raw)
        table[raw + kTableBias] = temperature(raw, slope, offset);
}

}  // namespace mt
}  // namespace sarvik

namespace {

void convert(const _DataFrameHeader &h, const Frame &f, const Stats &s, float *maxT, float *minT,
             float *avgT) {
    const RawResult r = stats_raw(s, f);
    const uint16_t slope = usable_slope(h.slope);
    *maxT = temperature(r.maxRaw, slope, h.offset);
    *minT = temperature(r.minRaw, slope, h.offset);
    *avgT = temperature(r.avgRaw, slope, h.offset);
}

}  // namespace

extern "C" SARVIK_API int mtGetResult(const _DataFrameHeader *header, const int16_t *samples,
                                      const MtObject *object, MtResult *result) {
    if (!header || !samples || !object || !result) return SARVIK_ERR_INVALID_ARG;
    if (!object_valid_for_frame(*object, header->width, header->height)) return -1;
    if (object->shape > SARVIK_MT_SHAPE_POLYGON) return -2;
    const Frame f{samples, header->width, header->height};
    Stats s;
    if (!measure_object(f, *object, nullptr, s)) return 0;
    float maxT, minT, avgT;
    convert(*header, f, s, &maxT, &minT, &avgT);
    write_result(s, f, maxT, minT, avgT, result);
    result->alarm = alarm_state(*object, maxT, minT, avgT);
    return 0;
}

extern "C" SARVIK_API int mtGetResult_GMO(const _DataFrameHeader *header, const int16_t *samples,
                                          MtResult *result) {
    if (!header || !samples || !result) return SARVIK_ERR_INVALID_ARG;
    if (header->width == 0 || header->height == 0) return -1;
    const Frame f{samples, header->width, header->height};
    Stats s;
    stats_begin(s, f, 0);
    span_stats(samples, nullptr, 0, static_cast<size_t>(f.width) * static_cast<size_t>(f.height), s);
    float maxT, minT, avgT;
    convert(*header, f, s, &maxT, &minT, &avgT);
    write_result(s, f, maxT, minT, avgT, result);
    return 0;
}
