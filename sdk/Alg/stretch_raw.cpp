// Raw mapping for detector counts (data kind 0): a fixed shift chosen by where the frame's counts end.
#include "stretch_context.h"

namespace sarvik {

void stretch_raw(StretchContext *c) {
    const StretchStats &st = c->stats;
    const uint32_t *hist = hist_at(c);
    uint8_t *lut = lut_at(c);
    const int64_t n = c->pixels;
    const int64_t t = n > 102399 ? n >> 10 : 100;
    // The high mark stays 0 when the counts above zero never pass N - t (most samples negative).
    int highMark = 0;
    int64_t running = 0;
    for (int v = 0; v <= st.max; ++v) {
        running += hist[v];
        if (running > n - t) {
            highMark = v;
            break;
        }
    }
    const int shift = highMark > 16383 ? 7 : 6;
    // Counts are never negative; a negative sample renders black.
    for (int v = st.min; v < 0; ++v) lut[v] = 0;
    for (int v = st.min < 0 ? 0 : st.min; v <= st.max; ++v) {
        const int e = v >> shift;
        lut[v] = static_cast<uint8_t>(e >= 256 ? 255 : e);
    }
}

}  // namespace sarvik
