#include "thermal_scene.h"

#include <chrono>
#include <cmath>

namespace vcam {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int64_t kDiscTurnMs = 20000;
constexpr int64_t kDriftPeriodMs = 600000;
constexpr int64_t kGpioTogglingMs = 5000;
constexpr int32_t kFpaBaseMc = 35000;
constexpr int32_t kShellBaseMc = 30000;

int16_t to_sample(float tempC, const SceneConfig &c) {
    const float v = std::round((tempC - static_cast<float>(c.offset)) * static_cast<float>(c.slope));
    if (v > 32767.0f) return 32767;
    if (v < -32768.0f) return -32768;
    return static_cast<int16_t>(v);
}

}  // namespace

int64_t unix_ticks_now() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
}

ThermalScene::ThermalScene(const SceneConfig &cfg)
    : cfg_(cfg), backgroundCounts_(cfg.width), stripeCounts_(cfg.width, 0), rng_(cfg.seed ? cfg.seed : 1u) {
    if (cfg_.slope == 0) cfg_.slope = 1;
    for (int x = 0; x < cfg_.width; ++x) {
        const float f = cfg_.width > 1 ? static_cast<float>(x) / static_cast<float>(cfg_.width - 1) : 0.0f;
        const float t = kBackgroundLeftC + (kBackgroundRightC - kBackgroundLeftC) * f;
        backgroundCounts_[x] = (t - static_cast<float>(cfg_.offset)) * static_cast<float>(cfg_.slope);
    }
    // Stripes belong to the detector, not to the moment: drawn once, fixed for the camera's life.
    if (cfg_.dataKind == SARVIK_DATA_KIND_TEMPERATURE) {
        for (int x = 0; x < cfg_.width; ++x) {
            const int mk = static_cast<int>(next_random() % (2 * kStripeMk + 1)) - kStripeMk;
            stripeCounts_[x] = static_cast<int16_t>(std::lround(mk * 0.001 * cfg_.slope));
        }
    }
}

uint32_t ThermalScene::next_random() {
    uint32_t x = rng_;  // xorshift32: cheap, deterministic per seed
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng_ = x;
    return x;
}

DiscPosition ThermalScene::disc_at(int64_t sinceStartMs) const {
    const double a = 2.0 * kPi * static_cast<double>(sinceStartMs % kDiscTurnMs) / kDiscTurnMs;
    DiscPosition d;
    d.radius = cfg_.height / 10 > 1 ? cfg_.height / 10 : 1;
    d.cx = cfg_.width / 2 + static_cast<int>(std::lround(std::cos(a) * cfg_.width / 4.0));
    d.cy = cfg_.height / 2 + static_cast<int>(std::lround(std::sin(a) * cfg_.height / 5.0));
    return d;
}

void ThermalScene::hot_square(int *x0, int *y0, int *side) const {
    *side = cfg_.height / 12 > 1 ? cfg_.height / 12 : 1;
    *x0 = cfg_.width - cfg_.width / 8 - *side;
    *y0 = cfg_.height / 8;
}

void ThermalScene::render(int64_t sinceStartMs, bool shutterClosed, _DataFrameHeader *header, int16_t *samples) {
    const double drift = std::sin(2.0 * kPi * static_cast<double>(sinceStartMs % kDriftPeriodMs) / kDriftPeriodMs);
    const int32_t fpaMc = kFpaBaseMc + static_cast<int32_t>(std::lround(800.0 * drift));
    const int32_t shellMc = kShellBaseMc + static_cast<int32_t>(std::lround(400.0 * drift));

    *header = _DataFrameHeader{};
    header->width = cfg_.width;
    header->height = cfg_.height;
    header->encodedLength = 0;
    header->dataKind = cfg_.dataKind;
    header->slope = cfg_.slope;
    header->offset = cfg_.offset;
    header->fpaTemp = fpaMc;
    header->shellTemp = shellMc;
    header->gpioInput = static_cast<uint8_t>((sinceStartMs / kGpioTogglingMs) & 1);
    header->timestamp = unix_ticks_now();
    header->shellTempHW = shellMc + 150;
    header->netd = static_cast<float>(kNoiseMk) / 1.7320508f;  // standard deviation of the uniform noise
    header->sstd = 0.0f;

    const int w = cfg_.width;
    const int h = cfg_.height;
    const float noiseScale = 0.001f * static_cast<float>(cfg_.slope);
    if (shutterClosed) {
        const int16_t plate = to_sample(static_cast<float>(shellMc) / 1000.0f, cfg_);
        for (int i = 0; i < w * h; ++i) samples[i] = plate;
        return;
    }
    const DiscPosition d = disc_at(sinceStartMs);
    const float warm = (kWarmObjectC - static_cast<float>(cfg_.offset)) * static_cast<float>(cfg_.slope);
    int hx = 0, hy = 0, hs = 0;
    hot_square(&hx, &hy, &hs);
    const bool hot = has_hot_object();
    const int16_t hotSample = to_sample(kHotObjectC, cfg_);
    const int r2 = d.radius * d.radius;
    for (int y = 0; y < h; ++y) {
        int16_t *row = samples + static_cast<size_t>(y) * w;
        const int dy = y - d.cy;
        for (int x = 0; x < w; ++x) {
            const int dx = x - d.cx;
            const float base = dx * dx + dy * dy <= r2 ? warm : backgroundCounts_[x];
            const int mk = static_cast<int>(next_random() % (2 * kNoiseMk + 1)) - kNoiseMk;
            float v = std::round(base + static_cast<float>(mk) * noiseScale) + static_cast<float>(stripeCounts_[x]);
            if (v > 32767.0f) v = 32767.0f;
            if (v < -32768.0f) v = -32768.0f;
            row[x] = static_cast<int16_t>(v);
        }
        if (hot && y >= hy && y < hy + hs)
            for (int x = hx; x < hx + hs && x < w; ++x) row[x] = hotSample;
    }
}

}  // namespace vcam
