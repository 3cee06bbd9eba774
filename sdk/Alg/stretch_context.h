// The stretch context: the image settings of one view and the per-frame state that turns a temperature frame
// into gray levels. Every table is indexed by the signed sample value through a pointer to its middle.
#pragma once

#include <cstdint>
#include <mutex>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int kSampleValues = 65536;
constexpr int kSampleMin = -32768;
constexpr int kSampleMax = 32767;
constexpr int kGrayMid = 85;  // the adaptive stretch maps the mean here
constexpr int kDdeMaxLevel = 8;

// Frame statistics of the histogram walk.
struct StretchStats {
    int min;      // first value with a non-zero count
    int max;      // last value with a non-zero count
    int low;      // value where the running count first reaches T
    int high;     // value where it first reaches N - T
    int mean;     // sum of value x count over N, truncated
    int64_t sum;  // sum of all samples, which is the sum of value x count
};

// Which palette colours a pixel of the BGRA and YUV outputs.
enum PaletteSlot { kSlotView = 0, kSlotMark0 = 1, kSlotMark1 = 2, kSlotCount = 3 };

struct DdeState;

}  // namespace sarvik

// Declared opaque in the public header; one block from strCreate to strFree.
struct StretchContext {
    // Control changes may come from another thread than the renderer: both sides take this lock, so a
    // change lands between two frames, never inside one.
    std::mutex mutex;
    _strech_control ctl;  // current settings, flags word 0

    // Frame geometry of the last frame and what derives from it.
    int width;
    int height;
    int slope;       // as the header carries it
    int64_t pixels;  // N
    int64_t tail;    // T = N / 30000, at least 2
    int grayPerTen;  // G, gray levels per ten raw steps
    float plateauFactor;

    // Smoothing state of the adaptive stretch; 0 means "none yet".
    int64_t prevPlateau;
    int prevLow;
    int prevHigh;

    sarvik::StretchStats stats;
    uint32_t hist[sarvik::kSampleValues];      // all zero between frames
    uint32_t spare[3][sarvik::kSampleValues];  // more histograms for interleaved counting, always zero
    uint32_t work[2][sarvik::kSampleValues];   // per-value work: palette slot and colour of each value
    uint8_t lut[sarvik::kSampleValues];        // gray level of each value
    // Row 0 receives the view palette of the frame being rendered; rows 1 and 2 are the marking palettes.
    uint32_t palettes[sarvik::kSlotCount][256];
    double gainTable[256];  // index i + 128 for i in -128..127

    sarvik::DdeState *dde;  // built by the first frame that needs it
};

namespace sarvik {

// Sample-indexed views of the context's tables.
inline uint32_t *hist_at(StretchContext *c) {
    return c->hist - kSampleMin;
}
inline uint32_t *spare_at(StretchContext *c, int i) {
    return c->spare[i] - kSampleMin;
}
inline uint8_t *lut_at(StretchContext *c) {
    return c->lut - kSampleMin;
}
inline uint32_t *work_at(StretchContext *c, int i) {
    return c->work[i] - kSampleMin;
}

inline int clamp_sample(int64_t v) {
    return v < kSampleMin ? kSampleMin : v > kSampleMax ? kSampleMax : static_cast<int>(v);
}

// A temperature in tenths of a degree as a raw sample, (tenths - offset x 10) x slope / 10, clamped to the
// sample range so that it can index the tables.
inline int tenths_to_raw(int tenths, int offset, int slope) {
    return clamp_sample((static_cast<int64_t>(tenths) - static_cast<int64_t>(offset) * 10) * slope / 10);
}

// Slope used where the slope scales a temperature: a frame without one counts as slope 20.
inline int effective_slope(int slope) {
    return slope ? slope : 20;
}

// G: temp2gray when set, else 4 for slope 100 and 20 for any other slope.
inline int gray_per_ten(int temp2gray, int slope) {
    return temp2gray ? temp2gray : slope == 100 ? 4 : 20;
}

// Applies the fields of ctl whose flag bits are set. strSetCtl passes honourDde = false; the set-image paths
// of the preview and of playback pass true so that ddeLevel (bit 0x40) is taken too. Takes the context lock.
int stretch_apply_control(StretchContext *ctx, const _strech_control *ctl, bool honourDde);

// Gain table entry for an index in -128..127.
inline double gain_at(const StretchContext *c, int index) {
    return c->gainTable[index + 128];
}

// Per-frame steps (context lock held by the caller).
void stretch_update_geometry(StretchContext *c, const _DataFrameHeader *h);
// Counts every sample into the histogram and finds the minimum, maximum and sum.
void stretch_count(StretchContext *c, const int16_t *data);
// Percentiles and mean.
void stretch_statistics(StretchContext *c);
// Zeroes the histogram over the range the last count touched.
void stretch_clear_histogram(StretchContext *c);

// Gray tables over stats.min..stats.max (the adaptive stretch changes the histogram on the way).
void stretch_adaptive(StretchContext *c, const _DataFrameHeader *h);
void stretch_linear(StretchContext *c, const _DataFrameHeader *h);
// Raw mapping for data kind 0 (detector counts).
void stretch_raw(StretchContext *c);

}  // namespace sarvik
