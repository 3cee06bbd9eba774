// The frame histogram and its statistics, shared by the adaptive and linear stretches and the raw mapping.
// The histogram is zero between frames; each frame touches, and afterwards clears, only its own value range.
#include <cstring>

#include "stretch_context.h"
#include "stretch_kernels.h"

namespace sarvik {

void stretch_count(StretchContext *c, const int16_t *data) {
    StretchStats &st = c->stats;
    uint32_t *const spare[3] = {spare_at(c, 0), spare_at(c, 1), spare_at(c, 2)};
    stretch_kernels().count(data, static_cast<size_t>(c->pixels), hist_at(c), spare, &st.min, &st.max,
                            &st.sum);
}

// Each percentile is found from its own end of the histogram, so only the tails are walked: the low one is
// the first value whose running count reaches T; the high one the first whose running count reaches N - T,
// that is the lowest value with at most T samples above it.
void stretch_statistics(StretchContext *c) {
    StretchStats &st = c->stats;
    const uint32_t *hist = hist_at(c);
    const int64_t n = c->pixels, t = c->tail;
    // A percentile never reached (a frame smaller than its tails) falls on the maximum.
    int64_t running = 0;
    st.low = st.max;
    for (int v = st.min; v <= st.max; ++v) {
        running += hist[v];
        if (running >= t) {
            st.low = v;
            break;
        }
    }
    if (n - t <= 0) {
        st.high = st.min;
    } else {
        int64_t above = 0;
        st.high = st.max;
        while (st.high > st.min && above + hist[st.high] <= t) above += hist[st.high--];
    }
    st.mean = static_cast<int>(st.sum / n);
}

void stretch_clear_histogram(StretchContext *c) {
    const int lo = c->stats.min, hi = c->stats.max;
    std::memset(hist_at(c) + lo, 0, sizeof(uint32_t) * static_cast<size_t>(hi - lo + 1));
}

}  // namespace sarvik
