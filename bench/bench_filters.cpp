// The destripe and denoise filters and NETD on camera-sized frames, each against the memory floor of copying
// the bytes it reads and writes.
//
// The filters run in place on the same frame again and again (their cost does not depend on how striped or
// noisy the frame still is); the destripe estimates on every frame (single-frame mode). Settings are the
// playback's defaults: destripe s0 5/10, s1 5/10, sub_y 4; denoise gf_radius 5, gf_regular 5. NETD keeps a
// ring of 10 frames and recomputes on every call ("netd_execute") or reuses its figures ("netd_reuse").
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "SarvikSDK.h"
#include "frame_filters.h"

namespace {

constexpr int kNetdFrames = 10;

// A camera-like scene: a ramp, a warm disc, a few counts of noise and a fixed column pattern.
std::vector<int16_t> scene(int w, int h) {
    std::vector<int16_t> s(static_cast<size_t>(w) * h);
    uint32_t noise = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245u + 12345u;
            int v = 2500 + x + y / 2 + static_cast<int>((noise >> 16) % 9) - 4 + (x * 7919 % 13) - 6;
            const int dx = x - w / 2, dy = y - h / 2;
            if (dx * dx + dy * dy < (h / 4) * (h / 4)) v += 3000;
            s[static_cast<size_t>(y) * w + x] = static_cast<int16_t>(v);
        }
    return s;
}

void set_bytes(benchmark::State &state, size_t frameBytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(frameBytes));
}

void destripe(benchmark::State &state, int type) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<int16_t> frame = scene(w, h);
    _DestripInfo c;
    std::memset(&c, 0, sizeof c);
    c.type = static_cast<uint16_t>(type);
    c.width = static_cast<uint16_t>(w);
    c.height = static_cast<uint16_t>(h);
    c.s0_radius = 5;
    c.s0_regular = 10;
    c.s1_radius = 5;
    c.s1_regular = 10;
    c.sub_y = 4;
    c.sub_t = 1;
    sarvik::DestripeFilter *f = sarvik::destripe_create();
    if (!f || sarvik::destripe_configure(f, &c) != 0) state.SkipWithError("destripe configuration failed");
    for (auto _ : state) {
        benchmark::DoNotOptimize(sarvik::destripe_apply(f, frame.data(), w, h, 0));
        benchmark::ClobberMemory();
    }
    sarvik::destripe_free(&f);
    set_bytes(state, 2 * frame.size());
}

void denoise(benchmark::State &state, int type) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<int16_t> frame = scene(w, h);
    _DenoiseInfo c;
    std::memset(&c, 0, sizeof c);
    c.type = static_cast<uint16_t>(type);
    c.width = static_cast<uint16_t>(w);
    c.height = static_cast<uint16_t>(h);
    c.gf_radius = 5;
    c.gf_regular = 5;
    sarvik::DenoiseFilter *f = sarvik::denoise_create();
    if (!f || sarvik::denoise_configure(f, &c) != 0) state.SkipWithError("denoise configuration failed");
    for (auto _ : state) {
        benchmark::DoNotOptimize(sarvik::denoise_apply(f, frame.data(), w, h));
        benchmark::ClobberMemory();
    }
    sarvik::denoise_free(&f);
    set_bytes(state, 2 * frame.size());
}

// Floor of an in-place frame filter: the frame's bytes read once and written once.
void frame_memcpy(benchmark::State &state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<int16_t> in = scene(w, h);
    std::vector<int16_t> out(in.size());
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), 2 * in.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    set_bytes(state, 2 * in.size());
}

void netd(benchmark::State &state, bool compute) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<int16_t> frame = scene(w, h);
    void *handle = NETD_Create();
    NetdConfig c;
    std::memset(&c, 0, sizeof c);
    c.width = static_cast<uint16_t>(w);
    c.height = static_cast<uint16_t>(h);
    c.frameCount = kNetdFrames;
    c.calcInterval = 1000;
    if (!handle || NETD_SetConfig(handle, &c) != 0) state.SkipWithError("NETD configuration failed");
    _DataFrameHeader header;
    std::memset(&header, 0, sizeof header);
    header.width = c.width;
    header.height = c.height;
    header.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
    header.slope = 100;
    float out[2];
    // A step of 1.5 s recomputes on every call; 1 tick never does.
    const int64_t step = compute ? 15000000 : 1;
    for (auto _ : state) {
        header.timestamp += step;
        benchmark::DoNotOptimize(NETD_Execute(handle, &header, frame.data(), out));
        benchmark::ClobberMemory();
    }
    NETD_Free(&handle);
    set_bytes(state, 2 * frame.size());
}

// Floor of a computing call: the new frame copied into the ring, and the whole ring read (copied out).
void netd_execute_memcpy(benchmark::State &state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::vector<int16_t> frame = scene(w, h);
    std::vector<int16_t> ring(frame.size() * kNetdFrames), copy(ring.size());
    for (auto _ : state) {
        std::memcpy(ring.data(), frame.data(), 2 * frame.size());
        std::memcpy(copy.data(), ring.data(), 2 * ring.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    set_bytes(state, 2 * frame.size());
}

void destripe_type1(benchmark::State &s) {
    destripe(s, 1);
}
void destripe_type3(benchmark::State &s) {
    destripe(s, SARVIK_DESTRIP_GUIDED);
}
void denoise_type1(benchmark::State &s) {
    denoise(s, SARVIK_DENOISE_FULL);
}
void denoise_type2(benchmark::State &s) {
    denoise(s, SARVIK_DENOISE_HALF);
}
void denoise_type3(benchmark::State &s) {
    denoise(s, SARVIK_DENOISE_QUARTER);
}
void netd_execute(benchmark::State &s) {
    netd(s, true);
}
void netd_reuse(benchmark::State &s) {
    netd(s, false);
}
void destripe_type1_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}
void destripe_type3_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}
void denoise_type1_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}
void denoise_type2_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}
void denoise_type3_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}
void netd_reuse_memcpy(benchmark::State &s) {
    frame_memcpy(s);
}

#define FRAME_SIZES Args({384, 288})->Args({640, 512})->Args({1280, 1024})->Unit(benchmark::kMicrosecond)
BENCHMARK(destripe_type1)->FRAME_SIZES;
BENCHMARK(destripe_type1_memcpy)->FRAME_SIZES;
BENCHMARK(destripe_type3)->FRAME_SIZES;
BENCHMARK(destripe_type3_memcpy)->FRAME_SIZES;
BENCHMARK(denoise_type1)->FRAME_SIZES;
BENCHMARK(denoise_type1_memcpy)->FRAME_SIZES;
BENCHMARK(denoise_type2)->FRAME_SIZES;
BENCHMARK(denoise_type2_memcpy)->FRAME_SIZES;
BENCHMARK(denoise_type3)->FRAME_SIZES;
BENCHMARK(denoise_type3_memcpy)->FRAME_SIZES;
BENCHMARK(netd_execute)->FRAME_SIZES;
BENCHMARK(netd_execute_memcpy)->FRAME_SIZES;
BENCHMARK(netd_reuse)->FRAME_SIZES;
BENCHMARK(netd_reuse_memcpy)->FRAME_SIZES;

}  // namespace

BENCHMARK_MAIN();
