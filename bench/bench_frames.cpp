// Delta-run decoding of whole frames, against the memory floor of writing the same decoded bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "delta_run.h"
#include "delta_run_encode.h"

namespace {

// A camera-like scene: a ramp, a warm body with a sharp edge, and a few counts of noise. Runs break at
// the row ends and at the body's edges.
std::vector<int16_t> scene(int w, int h) {
    std::vector<int16_t> s(static_cast<size_t>(w) * h);
    uint32_t noise = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245u + 12345u;
            int v = 2500 + x + y / 2 + static_cast<int>((noise >> 16) % 9) - 4;
            const int dx = x - w / 2, dy = y - h / 2;
            if (dx * dx + dy * dy < (h / 4) * (h / 4)) v += 3000;
            s[static_cast<size_t>(y) * w + x] = static_cast<int16_t>(v);
        }
    return s;
}

void delta_run_decode(benchmark::State &state, size_t maxRun) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<int16_t> samples = scene(w, h);
    const std::vector<uint8_t> payload = frametest::delta_run_encode(samples, maxRun);
    std::vector<int16_t> out(samples.size());
    for (auto _ : state) {
        size_t decoded = 0;
        const int ret = sarvik::delta_run_decode(payload.data(), payload.size(), out.data(), out.size(), &decoded);
        benchmark::DoNotOptimize(ret);
        benchmark::ClobberMemory();
    }
    if (out != samples) state.SkipWithError("decoded frame differs");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(2 * samples.size()));
    state.counters["payload_bytes"] = static_cast<double>(payload.size());
}

// Baseline: copying the payload's bytes in and the decoded frame's bytes out.
void delta_run_decode_memcpy_impl(benchmark::State &state, size_t maxRun) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<int16_t> samples = scene(w, h);
    const std::vector<uint8_t> payload = frametest::delta_run_encode(samples, maxRun);
    std::vector<uint8_t> in(payload.size());
    std::vector<int16_t> out(samples.size());
    for (auto _ : state) {
        std::memcpy(in.data(), payload.data(), payload.size());
        std::memcpy(out.data(), samples.data(), 2 * samples.size());
        benchmark::DoNotOptimize(in.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(2 * samples.size()));
}

// Long runs: as the encoder makes them from a real scene.
void delta_run_decode(benchmark::State &state) { delta_run_decode(state, SIZE_MAX); }
void delta_run_decode_memcpy(benchmark::State &state) { delta_run_decode_memcpy_impl(state, SIZE_MAX); }
// Short runs of 8 samples: a run header every 8 samples, near the densest payload B <= A allows.
void delta_run_decode_short_runs(benchmark::State &state) { delta_run_decode(state, 8); }
void delta_run_decode_short_runs_memcpy(benchmark::State &state) { delta_run_decode_memcpy_impl(state, 8); }

#define FRAME_SIZES Args({384, 288})->Args({640, 512})->Args({1280, 1024})->Unit(benchmark::kMicrosecond)
BENCHMARK(delta_run_decode)->FRAME_SIZES;
BENCHMARK(delta_run_decode_memcpy)->FRAME_SIZES;
BENCHMARK(delta_run_decode_short_runs)->FRAME_SIZES;
BENCHMARK(delta_run_decode_short_runs_memcpy)->FRAME_SIZES;

}  // namespace

BENCHMARK_MAIN();
