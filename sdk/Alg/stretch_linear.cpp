// Linear stretch: the manual window, or the frame's percentiles, spread over the 256 gray levels.
#include "stretch_context.h"

namespace sarvik {

void stretch_linear(StretchContext *c, const _DataFrameHeader *h) {
    const StretchStats &st = c->stats;
    uint8_t *lut = lut_at(c);
    int lower = st.low, upper = st.high;
    if (c->ctl.man_enable) {
        const int s = effective_slope(h->slope);
        lower = tenths_to_raw(c->ctl.man_temp0, h->offset, s);
        upper = tenths_to_raw(c->ctl.man_temp1, h->offset, s);
    }
    const int span = upper - lower < 1 ? 1 : upper - lower;
    for (int v = st.min; v <= st.max; ++v) {
        if (v < lower)
            lut[v] = 0;
        else if (v <= upper)
            lut[v] = static_cast<uint8_t>((v - lower) * 255 / span);
        else
            lut[v] = 255;
    }
}

}  // namespace sarvik
