// One live frame on the GUI thread: the canvas measures 30 user items of mixed shapes (the largest boxes and
// polygons a quarter of the frame each) plus the whole frame, then paints the 640 x 512 image and every item
// into a 1280 x 1024 canvas. Baseline measured in the same run ("_drawimage"): a plain QPainter::drawImage of
// the same frame into the same canvas.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "TempCanvas.h"
#include "TempCanvasManager.h"

namespace {

constexpr int kW = 640, kH = 512, kCanvasW = 1280, kCanvasH = 1024, kSlope = 100;

struct Frame {
    Frame() : temp(static_cast<size_t>(kW) * kH), image(static_cast<size_t>(kW) * kH) {
        std::memset(&header, 0, sizeof header);
        header.width = kW;
        header.height = kH;
        header.slope = kSlope;
        header.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
        uint32_t lcg = 7;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                double t = 20.0 + 10.0 * (x + y) / (kW + kH);
                const double dx = x - kW * 0.6, dy = y - kH * 0.4;
                t += 50.0 * std::exp(-(dx * dx + dy * dy) / (2.0 * 60 * 60));
                lcg = lcg * 1664525u + 1013904223u;
                t += ((lcg >> 16) % 61 - 30) / 100.0;
                temp[static_cast<size_t>(y) * kW + x] = static_cast<int16_t>(std::lround(t * kSlope));
            }
        int count = 0;
        char *table = Sarvik_AllocPaletteData(&count);
        StretchContext *ctx = strCreate();
        strTemp2Bgra(ctx, temp.data(), &header, image.data(),
                     reinterpret_cast<PaletteTable *>(table)->entries[SARVIK_PALETTE_IRONBOW].colors);
        strFree(ctx);
        Sarvik_FreePaletteData(&table);
        data.header = &header;
        data.temp = temp.data();
        data.image = image.data();
    }
    _DataFrameHeader header;
    std::vector<int16_t> temp;
    std::vector<uint32_t> image;
    TempData data;
};

XMea mea(int type, std::initializer_list<std::pair<int, int>> pts) {
    XMea m{};
    TempCanvasManager::instance()->mea_init(m);
    m.type = static_cast<uint8_t>(type);
    m.flags = MEA_FLAG_TRACK_HIGH | MEA_FLAG_TRACK_LOW;
    for (const auto &p : pts) {
        m.points[m.count].x = static_cast<uint16_t>(p.first);
        m.points[m.count].y = static_cast<uint16_t>(p.second);
        ++m.count;
    }
    return m;
}

// 30 items: 6 points, 6 polylines, 6 ellipses and circles, 6 rectangles and squares, 6 polygons; one box of
// each kind and two polygons span a quarter of the frame.
void addItems(TempCanvas *c) {
    for (int i = 0; i < 6; ++i) {
        XMea m = mea(1 + i % 3, {{40 + 90 * i, 30}});
        c->item_create(m);
    }
    for (int i = 0; i < 6; ++i) {
        XMea m = mea(MEA_POLYLINE, {{20 + 100 * i, 60},
                                    {60 + 100 * i, 120},
                                    {30 + 100 * i, 180},
                                    {90 + 100 * i, 200},
                                    {50 + 100 * i, 260},
                                    {80 + 100 * i, 300},
                                    {20 + 100 * i, 340},
                                    {70 + 100 * i, 400}});
        c->item_create(m);
    }
    const int quarter[][4] = {{0, 0, 320, 256},   {320, 256, 639, 511}, {320, 0, 639, 256},
                              {0, 256, 320, 511}, {100, 100, 420, 356}, {200, 150, 520, 406}};
    for (int i = 0; i < 6; ++i) {
        const int *q = quarter[i];
        const int small = i < 3 ? 0 : 200;  // the later boxes are smaller
        XMea e = mea(i % 2 ? MEA_CIRCLE : MEA_ELLIPSE, {{q[0], q[1]}, {q[2] - small, q[3] - small}});
        c->item_create(e);
        XMea r = mea(i % 2 ? MEA_SQUARE : MEA_RECT, {{q[0], q[1]}, {q[2] - small, q[3] - small}});
        c->item_create(r);
    }
    for (int i = 0; i < 6; ++i) {
        const int s = i < 2 ? 0 : 180;
        XMea m = mea(MEA_POLYGON, {{10 + 40 * i, 10 + 30 * i},
                                   {450 - s + 20 * i, 20 + 30 * i},
                                   {630 - s, 300 - s / 2},
                                   {300 - s / 2, 500 - s},
                                   {5 + 40 * i, 420 - s}});
        c->item_create(m);
    }
}

void BM_canvas_frame(benchmark::State &state) {
    Frame frame;
    TempCanvas canvas;
    canvas.setSize(QSizeF(kCanvasW, kCanvasH));
    canvas.beginUpdate(kW, kH);
    addItems(&canvas);
    if (canvas.itemList().size() != 31) state.SkipWithError("items refused");
    QImage target(kCanvasW, kCanvasH, QImage::Format_RGB32);
    for (auto _ : state) {
        canvas.updateData(&frame.data);
        QPainter p(&target);
        canvas.paint(&p);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    canvas.item_deleteAll();
    canvas.endUpdate();
}
BENCHMARK(BM_canvas_frame)->Unit(benchmark::kMillisecond);

void BM_canvas_frame_drawimage(benchmark::State &state) {
    Frame frame;
    QImage image(kW, kH, QImage::Format_RGB32);
    QImage target(kCanvasW, kCanvasH, QImage::Format_RGB32);
    for (auto _ : state) {
        std::memcpy(image.bits(), frame.image.data(), frame.image.size() * 4);
        QPainter p(&target);
        p.drawImage(QRectF(0, 0, kCanvasW, kCanvasH), image, QRectF(0, 0, kW, kH));
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_canvas_frame_drawimage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TempCanvasManager::init();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
