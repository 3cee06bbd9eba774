// The canvas measuring one frame: the global item and 30 user items of mixed shapes, the largest boxes and
// polygons a quarter of the frame each, as the GUI thread does for every frame. Each kernel has a baseline
// copying the same input bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench_baselines.h"
#include "AlgMea.h"

namespace {

struct Scene {
    _DataFrameHeader header;
    std::vector<int16_t> px;
    Scene(int w, int h) : px(static_cast<size_t>(w) * static_cast<size_t>(h)) {
        std::memset(&header, 0, sizeof header);
        header.width = static_cast<uint16_t>(w);
        header.height = static_cast<uint16_t>(h);
        header.slope = 100;
        header.offset = -20;
        std::mt19937 rng(7);
        // A warm gradient with noise, as a camera would see a room.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px[static_cast<size_t>(y) * w + x] =
                    static_cast<int16_t>(4500 + x + y / 2 + static_cast<int>(rng() % 64));
    }
};

XMea item(uint8_t type, std::initializer_list<XMeaPoint> points) {
    XMea m;
    std::memset(&m, 0, sizeof m);
    m.type = type;
    m.flags = MEA_FLAG_TRACK_HIGH;
    m.fixEnable = 1;
    m.fixEmi = 0.97f;
    m.fixReflectTemp = 25.0f;
    for (const XMeaPoint &p : points) m.points[m.count++] = p;
    return m;
}

XMeaPoint pt(int x, int y) {
    return XMeaPoint{static_cast<uint16_t>(x), static_cast<uint16_t>(y)};
}

// Six points, four polylines across the frame, then four each of ellipses, circles, rectangles, squares and
// concave polygons growing to a quarter of the frame.
std::vector<XMea> thirtyItems(int w, int h) {
    std::vector<XMea> items;
    const int qw = w / 2, qh = h / 2;
    for (int i = 0; i < 6; ++i)
        items.push_back(item(static_cast<uint8_t>(1 + i % 3), {pt(w / 7 * (i + 1), h / 3)}));
    for (int i = 0; i < 4; ++i)
        items.push_back(item(MEA_POLYLINE, {pt(0, h / 5 * i), pt(w / 3, h / 5 * (i + 1)),
                                            pt(w - 1, h / 5 * i), pt(w / 2, h - 1)}));
    const uint8_t boxes[] = {MEA_ELLIPSE, MEA_CIRCLE, MEA_RECT, MEA_SQUARE};
    for (uint8_t type : boxes)
        for (int i = 0; i < 4; ++i) {
            const int bw = qw * (i + 1) / 4, bh = qh * (i + 1) / 4;
            const int x0 = w / 8 * i, y0 = h / 8 * (i % 4);
            items.push_back(item(type, {pt(x0, y0), pt(x0 + bw - 1, y0 + bh - 1)}));
        }
    for (int i = 0; i < 4; ++i) {
        const int bw = qw * (i + 1) / 4, bh = qh * (i + 1) / 4;
        const int x0 = w / 9 * i, y0 = h / 9 * i;
        // A concave hexagon: a box with a notch cut into its top edge.
        items.push_back(item(MEA_POLYGON, {pt(x0, y0), pt(x0 + bw / 3, y0), pt(x0 + bw / 2, y0 + bh / 2),
                                           pt(x0 + bw * 2 / 3, y0), pt(x0 + bw - 1, y0),
                                           pt(x0 + bw - 1, y0 + bh - 1), pt(x0, y0 + bh - 1)}));
    }
    return items;
}

void AlgMea_global(benchmark::State &state) {
    Scene s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    XResult r;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Alg_GetResult(nullptr, &s.header, s.px.data(), &r));
        benchmark::ClobberMemory();
    }
}

void AlgMea_30items(benchmark::State &state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Scene s(w, h);
    const std::vector<XMea> items = thirtyItems(w, h);
    for (const XMea &m : items)
        if (Alg_CheckMea(&m, s.header.width, s.header.height) != 0) {
            state.SkipWithError("item refused");
            return;
        }
    XResult r[31];
    for (auto _ : state) {
        Alg_GetResult(nullptr, &s.header, s.px.data(), &r[0]);
        for (size_t i = 0; i < items.size(); ++i) Alg_GetResult(&items[i], &s.header, s.px.data(), &r[i + 1]);
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    state.counters["items"] = static_cast<double>(items.size());
}


void AlgMea_global_memcpy(benchmark::State &state) {
    bench_copy_samples(state);
}
void AlgMea_30items_memcpy(benchmark::State &state) {
    bench_copy_samples(state);
}

#define ALG_SIZES ->Args({384, 288})->Args({640, 512})->Args({1280, 1024})
BENCHMARK(AlgMea_global) ALG_SIZES;
BENCHMARK(AlgMea_global_memcpy) ALG_SIZES;
BENCHMARK(AlgMea_30items) ALG_SIZES;
BENCHMARK(AlgMea_30items_memcpy) ALG_SIZES;

}  // namespace

BENCHMARK_MAIN();
