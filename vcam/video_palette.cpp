#include "video_palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vcam {

namespace {

// Control points of the ramp: black through deep blue, purple, red and orange to yellow and white.
struct Stop {
    int level;
    uint8_t r, g, b;
};
constexpr Stop kStops[] = {{0, 0, 0, 16},      {40, 40, 0, 110},    {90, 130, 0, 150},   {140, 200, 30, 70},
                           {190, 245, 110, 0}, {230, 255, 200, 30}, {255, 255, 255, 235}};

std::array<uint32_t, 256> build_ramp() {
    std::array<uint32_t, 256> ramp{};
    for (size_t i = 0; i + 1 < std::size(kStops); ++i) {
        const Stop &a = kStops[i];
        const Stop &b = kStops[i + 1];
        for (int l = a.level; l <= b.level; ++l) {
            const float f = static_cast<float>(l - a.level) / static_cast<float>(b.level - a.level);
            auto mix = [f](uint8_t x, uint8_t y) {
                return static_cast<uint32_t>(std::lround(x + (static_cast<float>(y) - x) * f));
            };
            ramp[l] = 0xFF000000u | mix(a.r, b.r) << 16 | mix(a.g, b.g) << 8 | mix(a.b, b.b);
        }
    }
    return ramp;
}

const std::array<uint32_t, 256> &ramp() {
    static const std::array<uint32_t, 256> r = build_ramp();
    return r;
}

}  // namespace

uint32_t iron_colour(int level) {
    return ramp()[std::clamp(level, 0, 255)];
}

void render_iron(const int16_t *samples, int srcW, int srcH, uint16_t slope, int16_t offset, uint32_t *bgra,
                 int dstW, int dstH) {
    const std::array<uint32_t, 256> &r = ramp();
    // Level = (sample / slope + offset - low) * 255 / (high - low), in sample units.
    const float s = slope ? static_cast<float>(slope) : 1.0f;
    const float lowSample = (kVideoWindowLowC - static_cast<float>(offset)) * s;
    const float levelsPerSample = 255.0f / ((kVideoWindowHighC - kVideoWindowLowC) * s);
    for (int y = 0; y < dstH; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * srcH / dstH);
        const int16_t *row = samples + static_cast<size_t>(sy) * srcW;
        uint32_t *out = bgra + static_cast<size_t>(y) * dstW;
        for (int x = 0; x < dstW; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * srcW / dstW);
            const float level = (static_cast<float>(row[sx]) - lowSample) * levelsPerSample;
            out[x] = r[static_cast<size_t>(std::clamp(static_cast<int>(std::lround(level)), 0, 255))];
        }
    }
}

}  // namespace vcam
