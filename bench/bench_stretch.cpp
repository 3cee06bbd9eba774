// Rendering one temperature frame to BGRA: the adaptive stretch, the adaptive stretch with detail enhancement
// level 4, and the linear stretch, at the three detector sizes. Baselines measured in the same run: copying
// the frame's input and output bytes ("_memcpy") and, when OpenCV is present, the nearest OpenCV pipeline
// ("_opencv": 16-bit to 8-bit normalisation, histogram equalisation, colour map, BGR to BGRA), on one thread.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "SarvikSDK.h"
#include "stretch_context.h"

#ifdef SARVIK_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kSlope = 100;

// A plausible scene at slope 100: a 20-30 deg C background gradient, a 36.5 deg C disc, a 90 deg C hot spot,
// a cold bar and noise of +-0.3 deg C.
std::vector<int16_t> scene(int w, int h) {
    std::vector<int16_t> out(static_cast<size_t>(w) * h);
    uint32_t lcg = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double t = 20.0 + 10.0 * (x + y) / (w + h);
            const double dx1 = x - w * 0.3, dy1 = y - h * 0.4;
            if (dx1 * dx1 + dy1 * dy1 < (w * w) / 64.0) t = 36.5;
            const double dx2 = x - w * 0.7, dy2 = y - h * 0.6;
            t += 60.0 * std::exp(-(dx2 * dx2 + dy2 * dy2) / (w * 2.0));
            if (x > w / 8 && x < w / 6) t = 12.0;
            lcg = lcg * 1664525u + 1013904223u;
            t += ((lcg >> 16) % 61 - 30) / 100.0;
            out[static_cast<size_t>(y) * w + x] = static_cast<int16_t>(std::lround(t * kSlope));
        }
    return out;
}

_DataFrameHeader header(int w, int h) {
    _DataFrameHeader hd;
    std::memset(&hd, 0, sizeof hd);
    hd.width = static_cast<uint16_t>(w);
    hd.height = static_cast<uint16_t>(h);
    hd.slope = kSlope;
    hd.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
    return hd;
}

std::vector<uint32_t> ironbow() {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    std::vector<uint32_t> out(256);
    std::memcpy(out.data(), reinterpret_cast<PaletteTable *>(table)->entries[SARVIK_PALETTE_IRONBOW].colors,
                1024);
    Sarvik_FreePaletteData(&table);
    return out;
}

void render(benchmark::State &state, int strechType, int ddeLevel) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto data = scene(w, h);
    const _DataFrameHeader hd = header(w, h);
    const auto palette = ironbow();
    std::vector<uint32_t> image(data.size());
    StretchContext *ctx = strCreate();
    _strech_control ctl;
    std::memset(&ctl, 0, sizeof ctl);
    ctl.flags = SARVIK_STRECH_TYPE | SARVIK_STRECH_DDE;
    ctl.strechType = static_cast<uint8_t>(strechType);
    ctl.ddeLevel = static_cast<uint8_t>(ddeLevel);
    sarvik::stretch_apply_control(ctx, &ctl, true);
    strTemp2Bgra(ctx, data.data(), &hd, image.data(), palette.data());  // builds the detail work area
    for (auto _ : state) {
        strTemp2Bgra(ctx, data.data(), &hd, image.data(), palette.data());
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
    strFree(ctx);
}

// The memory floor: reading the samples and writing the pixels.
void copy_floor(benchmark::State &state) {
    const size_t n = static_cast<size_t>(state.range(0)) * state.range(1);
    std::vector<int16_t> in(n, 1), inCopy(n);
    std::vector<uint32_t> out(n, 2), outCopy(n);
    for (auto _ : state) {
        std::memcpy(inCopy.data(), in.data(), n * sizeof(int16_t));
        std::memcpy(outCopy.data(), out.data(), n * sizeof(uint32_t));
        benchmark::DoNotOptimize(inCopy.data());
        benchmark::DoNotOptimize(outCopy.data());
        benchmark::ClobberMemory();
    }
}

void stretch_adaptive_bgra(benchmark::State &state) {
    render(state, SARVIK_STRECH_ADAPTIVE, 0);
}
void stretch_dde4_bgra(benchmark::State &state) {
    render(state, SARVIK_STRECH_ADAPTIVE, 4);
}
void stretch_linear_bgra(benchmark::State &state) {
    render(state, SARVIK_STRECH_LINEAR, 0);
}
void stretch_adaptive_bgra_memcpy(benchmark::State &state) {
    copy_floor(state);
}
void stretch_dde4_bgra_memcpy(benchmark::State &state) {
    copy_floor(state);
}
void stretch_linear_bgra_memcpy(benchmark::State &state) {
    copy_floor(state);
}

#define SIZES ->Args({384, 288})->Args({640, 512})->Args({1280, 1024})->Unit(benchmark::kMicrosecond)
BENCHMARK(stretch_adaptive_bgra) SIZES;
BENCHMARK(stretch_adaptive_bgra_memcpy) SIZES;
BENCHMARK(stretch_dde4_bgra) SIZES;
BENCHMARK(stretch_dde4_bgra_memcpy) SIZES;
BENCHMARK(stretch_linear_bgra) SIZES;
BENCHMARK(stretch_linear_bgra_memcpy) SIZES;

#ifdef SARVIK_BENCH_OPENCV
// 16-bit to 8-bit over the frame's own range, then (adaptive) histogram equalisation, a colour map and BGRA.
void opencv_pipeline(benchmark::State &state, bool equalise) {
    cv::setNumThreads(1);
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    auto data = scene(w, h);
    cv::Mat in(h, w, CV_16SC1, data.data()), gray, equalised, bgr, bgra;
    for (auto _ : state) {
        cv::normalize(in, gray, 0, 255, cv::NORM_MINMAX, CV_8U);
        if (equalise) {
            cv::equalizeHist(gray, equalised);
        } else {
            equalised = gray;
        }
        cv::applyColorMap(equalised, bgr, cv::COLORMAP_INFERNO);
        cv::cvtColor(bgr, bgra, cv::COLOR_BGR2BGRA);
        benchmark::DoNotOptimize(bgra.data);
        benchmark::ClobberMemory();
    }
}
void stretch_adaptive_bgra_opencv(benchmark::State &state) {
    opencv_pipeline(state, true);
}
void stretch_linear_bgra_opencv(benchmark::State &state) {
    opencv_pipeline(state, false);
}
BENCHMARK(stretch_adaptive_bgra_opencv) SIZES;
BENCHMARK(stretch_linear_bgra_opencv) SIZES;
#endif

}  // namespace

BENCHMARK_MAIN();
