// Adaptive plateau stretch: a histogram equalisation whose counts are clipped to a plateau, split at the mean
// so that the mean maps to gray 85, with the gray span around it set by the gray levels per ten raw steps.
// Sums run in 64 bits: a clipped count may be raised to T, so their totals can exceed the pixel count.
#include <cstring>

#include "stretch_context.h"
#include "stretch_kernels.h"

namespace sarvik {

namespace {

inline int64_t clamp_gray(int64_t v) {
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

// The plateau: gain x 0.25 times the mean local peak of the non-zero counts, first and last excluded.
int64_t plateau(StretchContext *c, const uint32_t *hist) {
    int64_t peaks = 0, k = 0;
    stretch_kernels().peaks(hist, c->stats.min, c->stats.max, c->work[0], &peaks, &k);
    if (k == 0) return c->pixels >> 8;
    const float l = static_cast<float>(peaks) * (c->ctl.gain * c->plateauFactor) / static_cast<float>(k);
    const int64_t truncated = static_cast<int64_t>(l);
    return truncated < 1 ? 1 : truncated;
}

}  // namespace

void stretch_adaptive(StretchContext *c, const _DataFrameHeader *h) {
    const StretchStats &st = c->stats;
    uint32_t *hist = hist_at(c);
    uint8_t *lut = lut_at(c);
    const int64_t t = c->tail;
    const int s = effective_slope(h->slope);
    const bool smoothing = c->ctl.smoothing != 0;

    if (!(st.min < st.mean && st.mean < st.max)) {
        std::memset(lut + st.min, kGrayMid, static_cast<size_t>(st.max - st.min + 1));
        return;
    }
    int m = st.mean + s / 2;
    if (m >= st.max) m = st.max - 1;

    if (c->ctl.man_enable) {
        const int lo = tenths_to_raw(c->ctl.man_temp0, h->offset, s);
        const int hi = tenths_to_raw(c->ctl.man_temp1, h->offset, s);
        for (int v = st.min; v <= st.max && v <= lo; ++v) hist[v] = 0;
        for (int v = hi < st.min ? st.min : hi; v <= st.max; ++v) hist[v] = 0;
    }

    int64_t l = plateau(c, hist);
    if (smoothing) {
        if (c->prevPlateau) l = (l + 7 * c->prevPlateau) >> 3;
        c->prevPlateau = l;
    }
    if (l < t) l = t;

    // The upper plateau follows how much of the clipped mass lies at or below M.
    const StretchKernels &k = stretch_kernels();
    const int64_t atMean = k.clipped_sum(hist, st.min, m, t, l);
    const int64_t above = k.clipped_sum(hist, m + 1, st.max, t, l);
    const int64_t total = atMean + above == 0 ? 1 : atMean + above;
    int64_t index = atMean * 255 / total - 127;
    // Reaches 128 when the manual window has cleared every count above the mean.
    index = index < -128 ? -128 : index > 127 ? 127 : index;
    int64_t u = static_cast<int64_t>(static_cast<double>(l) / gain_at(c, static_cast<int>(index)));
    if (u < t) u = t;

    // Gray span around 85 from the percentiles, G levels per ten raw steps.
    const int64_t g = c->grayPerTen;
    int64_t low = clamp_gray(kGrayMid - g * (m - st.low) / 10);
    int64_t high = clamp_gray((st.high - m) * g / 10 + kGrayMid);
    if (smoothing) {
        if (c->prevHigh) {
            low = (low + 7 * c->prevLow) >> 3;
            high = (high + 7 * c->prevHigh) >> 3;
        }
        c->prevLow = static_cast<int>(low);
        c->prevHigh = static_cast<int>(high);
    }

    // Minimum..M from the low level up to 85; the clipped total up to M is the one found above.
    if (atMean == 0)
        std::memset(lut + st.min, kGrayMid, static_cast<size_t>(m - st.min + 1));
    else
        k.fill_levels(hist, st.min, m, t, l, static_cast<int>(low), static_cast<int>(kGrayMid - low), atMean,
                      lut);

    // M + 1..maximum from 85 up to the high level, clipped to the upper plateau.
    const int64_t upperTotal = k.clipped_sum(hist, m + 1, st.max, t, u);
    if (upperTotal == 0)
        std::memset(lut + m + 1, kGrayMid, static_cast<size_t>(st.max - m));
    else
        k.fill_levels(hist, m + 1, st.max, t, u, kGrayMid, static_cast<int>(high - kGrayMid), upperTotal,
                      lut);
}

}  // namespace sarvik
