// Measurement templates on one frame: the whole-frame result the preview computes for every frame, and a
// 16-object template with two exclusion areas. Each has a baseline copying the same input bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench_baselines.h"
#include "SarvikSDK.h"

namespace {

struct Scene {
    _DataFrameHeader header;
    std::vector<int16_t> px;
    Scene(int w, int h) : px(static_cast<size_t>(w) * static_cast<size_t>(h)) {
        std::memset(&header, 0, sizeof header);
        header.width = static_cast<uint16_t>(w);
        header.height = static_cast<uint16_t>(h);
        header.slope = 100;
        header.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
        std::mt19937 rng(5);
        // A warm gradient with noise, as a camera would see a room.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px[static_cast<size_t>(y) * w + x] =
                    static_cast<int16_t>(2500 + x + y / 2 + static_cast<int>(rng() % 64));
    }
};

MtPoint pt(int x, int y) {
    return MtPoint{static_cast<uint16_t>(x), static_cast<uint16_t>(y)};
}

MtObject shape(uint8_t s, std::initializer_list<MtPoint> points, uint8_t count) {
    MtObject o;
    std::memset(&o, 0, sizeof o);
    o.shape = s;
    o.count = count;
    o.percent = 100;
    o.alarmMode = SARVIK_MT_ALARM_LEVELS;
    o.threshold[0] = 30.0f;
    o.threshold[1] = 40.0f;
    o.threshold[2] = 50.0f;
    int i = 0;
    for (const MtPoint &p : points) o.points[i++] = p;
    return o;
}

// Sixteen objects sized with the frame: four points, two lines, three rectangles, three ellipses, two
// polylines, two polygons; two exclusion areas.
MtTemplate sixteen_objects(int w, int h) {
    MtTemplate t;
    std::memset(&t, 0, sizeof t);
    t.version = SARVIK_MT_VERSION;
    t.width = static_cast<uint16_t>(w);
    t.height = static_cast<uint16_t>(h);
    const int gx = w / 8, gy = h / 8;
    int n = 0;
    for (int i = 0; i < 4; ++i)
        t.objects[n++] = shape(SARVIK_MT_SHAPE_POINT, {pt(gx * (2 * i + 1), gy), pt(3, 0)}, 0);
    t.objects[n++] = shape(SARVIK_MT_SHAPE_LINE, {pt(0, 0), pt(w - 1, h - 1)}, 2);
    t.objects[n++] = shape(SARVIK_MT_SHAPE_LINE, {pt(w - 1, 0), pt(0, h / 2)}, 2);
    for (int i = 0; i < 3; ++i)
        t.objects[n++] =
            shape(SARVIK_MT_SHAPE_RECT, {pt(gx * (2 * i + 1), gy * 2), pt(gx * (2 * i + 2), gy * 3)}, 2);
    for (int i = 0; i < 3; ++i)
        t.objects[n++] =
            shape(SARVIK_MT_SHAPE_ELLIPSE, {pt(gx * (2 * i + 1), gy * 4), pt(gx * (2 * i + 2), gy * 5)}, 2);
    for (int i = 0; i < 2; ++i)
        t.objects[n++] =
            shape(SARVIK_MT_SHAPE_POLYLINE,
                  {pt(gx * (4 * i), gy * 6), pt(gx * (4 * i + 1), gy * 7), pt(gx * (4 * i + 3), gy * 6)}, 3);
    for (int i = 0; i < 2; ++i)
        t.objects[n++] =
            shape(SARVIK_MT_SHAPE_POLYGON,
                  {pt(gx * (4 * i + 1), gy * 6), pt(gx * (4 * i + 3), gy * 6), pt(gx * (4 * i + 3), gy * 7),
                   pt(gx * (4 * i + 2), gy * 7 + gy / 2), pt(gx * (4 * i + 1), gy * 7)},
                  5);
    t.objectEnable = 0xFFFF;
    const MtPoint a0[4] = {pt(0, 0), pt(gx, 0), pt(gx, gy), pt(0, gy)};
    const MtPoint a1[4] = {pt(w - gx, h - gy), pt(w - 1, h - gy), pt(w - 1, h - 1), pt(w - gx / 2, h - 1)};
    std::memcpy(t.areas[0].corners, a0, sizeof a0);
    std::memcpy(t.areas[1].corners, a1, sizeof a1);
    t.areaEnable = 3;
    return t;
}

void mtGetResult_GMO(benchmark::State &state) {
    Scene s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MtResult r;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mtGetResult_GMO(&s.header, s.px.data(), &r));
        benchmark::ClobberMemory();
    }
}

void mtCheck_16(benchmark::State &state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Scene s(w, h);
    MtContext *ctx = mtCreate(w, h);
    const MtTemplate t = sixteen_objects(w, h);
    if (!ctx || mtReload(ctx, &t) != 0) {
        state.SkipWithError("template refused");
        mtFree(&ctx);
        return;
    }
    MtResult r[17];
    for (auto _ : state) {
        benchmark::DoNotOptimize(mtCheck(ctx, &s.header, s.px.data(), r));
        benchmark::ClobberMemory();
    }
    mtFree(&ctx);
}


void mtGetResult_GMO_memcpy(benchmark::State &state) {
    bench_copy_samples(state);
}
void mtCheck_16_memcpy(benchmark::State &state) {
    bench_copy_samples(state);
}

#define MT_SIZES ->Args({384, 288})->Args({640, 512})->Args({1280, 1024})
BENCHMARK(mtGetResult_GMO) MT_SIZES;
BENCHMARK(mtGetResult_GMO_memcpy) MT_SIZES;
BENCHMARK(mtCheck_16) MT_SIZES;
BENCHMARK(mtCheck_16_memcpy) MT_SIZES;

}  // namespace

BENCHMARK_MAIN();
