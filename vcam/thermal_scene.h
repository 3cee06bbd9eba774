// The synthetic thermal scene the camera streams: every temperature in it is known, so a client's
// measurements can be checked against it.
//
// Background: a horizontal gradient from 20 °C (left column) to 25 °C (right column). A warm disc of 37 °C
// (radius height / 10) moves on an ellipse around the centre, one turn in 20 s. Models with a slope of 10 or
// less (the high-temperature range) also see a 450 °C square in the upper right. Temporal noise of ±40 mK
// from a seeded generator; data-kind-2 models add fixed column stripes of up to ±60 mK. A closed shutter
// shows a uniform plate at the shell temperature. FPA and shell temperatures drift slowly; GPIO input 0
// toggles every 5 s.
#pragma once

#include <cstdint>
#include <vector>

#include "SarvikSDK.h"

namespace vcam {

struct SceneConfig {
    uint16_t width = 640;
    uint16_t height = 512;
    uint16_t slope = 100;
    int16_t offset = 0;
    uint8_t dataKind = 0;
    uint32_t seed = 1;
};

constexpr float kBackgroundLeftC = 20.0f;
constexpr float kBackgroundRightC = 25.0f;
constexpr float kWarmObjectC = 37.0f;
constexpr float kHotObjectC = 450.0f;
constexpr int kNoiseMk = 40;
constexpr int kStripeMk = 60;
constexpr uint16_t kHotSlopeMax = 10;

// Position of the warm disc at a time since the camera started.
struct DiscPosition {
    int cx;
    int cy;
    int radius;
};

class ThermalScene {
public:
    // Buffers for one frame are allocated here; render allocates nothing.
    explicit ThermalScene(const SceneConfig &cfg);

    // Fills header (encoded length 0) and width x height samples for the frame shown sinceStartMs after the
    // camera started, stamped with the wall-clock time.
    void render(int64_t sinceStartMs, bool shutterClosed, _DataFrameHeader *header, int16_t *samples);

    DiscPosition disc_at(int64_t sinceStartMs) const;
    bool has_hot_object() const { return cfg_.slope <= kHotSlopeMax; }
    // Hot square: columns [x0, x0 + side), rows [y0, y0 + side).
    void hot_square(int *x0, int *y0, int *side) const;
    const SceneConfig &config() const { return cfg_; }

private:
    uint32_t next_random();

    SceneConfig cfg_;
    std::vector<float> backgroundCounts_;  // one row: the gradient in sample units
    std::vector<int16_t> stripeCounts_;   // per column, zero unless data kind 2
    uint32_t rng_;
};

// Wall-clock time as 100-ns ticks since 1970-01-01 UTC.
int64_t unix_ticks_now();

}  // namespace vcam
