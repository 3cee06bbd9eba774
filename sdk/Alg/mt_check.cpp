// mtCheck: every enabled object of a context's template measured on one frame, with alarm states.
#include "mt_engine.h"

using namespace sarvik::mt;

namespace sarvik {
namespace mt {

uint32_t alarm_state(const MtObject &o, float maxT, float minT, float avgT) {
    const float t1 = o.threshold[0], t2 = o.threshold[1], t3 = o.threshold[2];
    const bool point = o.shape == SARVIK_MT_SHAPE_POINT;
    switch (o.alarmMode) {
        case SARVIK_MT_ALARM_LEVELS: {
            const float x = point ? avgT : maxT;
            return x < t1 ? 0u : x < t2 ? 1u : x < t3 ? 2u : 3u;
        }
        case SARVIK_MT_ALARM_BELOW:
            return (point ? avgT : minT) < t1 ? 1u : 0u;
        case SARVIK_MT_ALARM_INSIDE:
            return (point ? (t1 < avgT && avgT < t2) : (maxT < t2 && minT > t1)) ? 1u : 0u;
        case SARVIK_MT_ALARM_OUTSIDE:
            return (point ? (t1 < avgT && avgT < t2) : (maxT < t2 && minT > t1)) ? 0u : 1u;
        case SARVIK_MT_ALARM_BAND:
            return (point ? (t1 < avgT && avgT < t2) : (t1 < maxT && maxT < t2)) ? 1u : 0u;
        default:
            return 0u;
    }
}

}  // namespace mt
}  // namespace sarvik

namespace {

void finish(const MtContext *c, const Frame &f, const Stats &s, const MtObject &o, MtResult *out) {
    const RawResult r = stats_raw(s, f);
    const float maxT = c->table[r.maxRaw + kTableBias];
    const float minT = c->table[r.minRaw + kTableBias];
    const float avgT = c->table[r.avgRaw + kTableBias];
    write_result(s, f, maxT, minT, avgT, out);
    out->alarm = alarm_state(o, maxT, minT, avgT);
}

// A slope of 0 describes no scale: the table keeps the last one it was built for.
void refresh_table(MtContext *c, const _DataFrameHeader &h) {
    if (h.slope == 0 || (h.slope == c->tableSlope && h.offset == c->tableOffset)) return;
    build_table(c->table, h.slope, h.offset);
    c->tableSlope = h.slope;
    c->tableOffset = h.offset;
}

}  // namespace

// Lines, rectangles and ellipses are measured as their own shapes, exactly as mtGetResult measures them,
// so both calls agree on every object; only a polygon goes through its prebuilt mask instead of the
// even-odd test, which covers the same pixels.
extern "C" SARVIK_API int mtCheck(MtContext *context, const _DataFrameHeader *header, const int16_t *samples,
                                  MtResult *results) {
    if (!context || !header || !samples || !results) return SARVIK_ERR_INVALID_ARG;
    if (header->width != context->width || header->height != context->height) return -1;
    refresh_table(context, *header);

    const Frame f{samples, context->width, context->height};
    const MtTemplate &t = context->tpl;
    Stats s;
    stats_begin(s, f, 0);
    span_stats(samples, (t.areaEnable & 0xFFu) ? context->masks : nullptr, 0, context->pixels, s);
    finish(context, f, s, t.frameObject, &results[0]);

    for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i) {
        if (!(t.objectEnable >> i & 1u)) continue;
        const MtObject &o = t.objects[i];
        const uint8_t *mask = o.shape == SARVIK_MT_SHAPE_POLYGON
                                  ? context->masks + static_cast<size_t>(1 + i) * context->pixels
                                  : nullptr;
        if (measure_object(f, o, mask, s)) finish(context, f, s, o, &results[1 + i]);
    }
    return 0;
}
