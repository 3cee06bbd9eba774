// Painting the temperature chart: 4 series of 10 000 samples into 1280 x 400, the worst the device can ask
// for (the sample counter wraps at 10 000). The baseline copies the same point and pixel bytes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "TempChart.h"

namespace {

constexpr int kW = 1280;
constexpr int kH = 400;
constexpr int kSeries = 4;
constexpr int kSamples = 10000;

struct Scene {
    TempChart chart;
    std::vector<std::unique_ptr<TCSeriesBase>> series;
    QImage image{kW, kH, QImage::Format_RGB32};
    Scene() {
        chart.setSize(QSizeF(kW, kH));
        const QColor colours[kSeries] = {QColor(0xFF0000), QColor(0x00FF00), QColor(0x00FFFF),
                                         QColor(0xFFFF00)};
        for (int k = 0; k < kSeries; ++k) {
            series.push_back(std::make_unique<TCSeriesBase>());
            series.back()->setSeriesColor(colours[k]);
            for (int i = 0; i < kSamples; ++i)
                series.back()->append(i, 30 + 4 * k + 2 * std::sin(i / (90.0 + 13 * k)) + 0.1 * (i % 7));
            chart.series_create(series.back().get());
        }
        chart.setMode(2, 2);
    }
};

void BM_ChartPaint(benchmark::State &state) {
    Scene scene;
    for (auto _ : state) {
        QPainter p(&scene.image);
        scene.chart.paint(&p);
        p.end();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_ChartPaint)->Unit(benchmark::kMillisecond);

void BM_ChartPaint_memcpy(benchmark::State &state) {
    const size_t pointBytes = static_cast<size_t>(kSeries) * kSamples * sizeof(TCPoint);
    const size_t pixelBytes = static_cast<size_t>(kW) * kH * 4;
    std::vector<char> in(pointBytes + pixelBytes, 1), out(pointBytes + pixelBytes);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ChartPaint_memcpy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
