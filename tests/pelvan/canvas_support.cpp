#include "canvas_support.h"

#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

#include "TempCanvasManager.h"

namespace {
constexpr int kSlope = 100;
constexpr int kOffset = 0;
}  // namespace

SyntheticFrame::SyntheticFrame(int w, int h, bool scene)
    : temp(static_cast<size_t>(w) * h), image(static_cast<size_t>(w) * h) {
    header.width = static_cast<uint16_t>(w);
    header.height = static_cast<uint16_t>(h);
    header.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
    header.slope = kSlope;
    header.offset = kOffset;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double t = 22.0 + 6.0 * y / h + 2.0 * x / w;
            if (scene) {
                const double dx1 = x - 0.30 * w, dy1 = y - 0.40 * h;
                const double r1 = std::sqrt(dx1 * dx1 + dy1 * dy1) / (0.12 * h);
                if (r1 < 1.0) t += 38.0 * (1.0 - r1 * r1);
                const double dx2 = x - 0.70 * w, dy2 = y - 0.62 * h;
                t += 16.0 * std::exp(-(dx2 * dx2 + dy2 * dy2) / (2.0 * (0.08 * w) * (0.08 * w)));
                if (x > 0.50 * w && x < 0.62 * w && y > 0.15 * h && y < 0.32 * h) t = 9.0;
            }
            setTemp(x, y, t);
        }
    data.header = &header;
    data.temp = temp.data();
    data.image = image.data();
    render();
}

void SyntheticFrame::setTemp(int x, int y, double celsius) {
    temp[static_cast<size_t>(y) * header.width + x] =
        static_cast<int16_t>(std::lround((celsius - kOffset) * kSlope));
}

double SyntheticFrame::tempAt(int x, int y) const {
    return static_cast<double>(temp[static_cast<size_t>(y) * header.width + x]) / kSlope + kOffset;
}

void SyntheticFrame::render(int palette) {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    StretchContext *ctx = strCreate();
    if (table && ctx && palette < count) {
        const auto *t = reinterpret_cast<const PaletteTable *>(table);
        strTemp2Bgra(ctx, temp.data(), &header, image.data(), t->entries[palette].colors);
    }
    strFree(ctx);
    Sarvik_FreePaletteData(&table);
}

void resetCanvasWorld() {
    TempCanvasManager::init();
    TempCanvasManager *mgr = TempCanvasManager::instance();
    mgr->set_tool(0);
    mgr->set_hideAll(false);
}

std::unique_ptr<TempCanvas> makeCanvas(double canvasW, double canvasH, int w, int h) {
    auto c = std::make_unique<TempCanvas>();
    c->setSize(QSizeF(canvasW, canvasH));
    c->beginUpdate(w, h);
    return c;
}

XMea makeMea(int type, std::initializer_list<QPoint> framePts) {
    XMea m{};
    TempCanvasManager::instance()->mea_init(m);
    m.type = static_cast<uint8_t>(type);
    m.flags = MEA_FLAG_TRACK_HIGH;
    m.fixEmi = 0.97f;
    m.fixReflectTemp = 25.0f;
    for (const QPoint &p : framePts) {
        m.points[m.count].x = static_cast<uint16_t>(p.x());
        m.points[m.count].y = static_cast<uint16_t>(p.y());
        ++m.count;
    }
    return m;
}

void press(TempCanvas *c, QPointF p, Qt::MouseButton b) {
    QMouseEvent ev(QEvent::MouseButtonPress, p, p, p, b, b, Qt::NoModifier);
    c->mousePressEvent(&ev);
}

void release(TempCanvas *c, QPointF p, Qt::MouseButton b) {
    QMouseEvent ev(QEvent::MouseButtonRelease, p, p, p, b, Qt::NoButton, Qt::NoModifier);
    c->mouseReleaseEvent(&ev);
}

void drag(TempCanvas *c, QPointF p) {
    QMouseEvent ev(QEvent::MouseMove, p, p, p, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    c->mouseMoveEvent(&ev);
}

void hover(TempCanvas *c, QPointF p) {
    QHoverEvent ev(QEvent::HoverMove, p, p);
    c->hoverMoveEvent(&ev);
}

void wheel(TempCanvas *c, QPointF p, int delta) {
    QWheelEvent ev(p, p, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    c->wheelEvent(&ev);
}

void key(TempCanvas *c, int qtKey) {
    QKeyEvent ev(QEvent::KeyPress, qtKey, Qt::NoModifier);
    c->keyPressEvent(&ev);
}

QImage paintCanvas(TempCanvas *c) {
    QImage img(static_cast<int>(c->width()), static_cast<int>(c->height()), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    c->paint(&p);
    p.end();
    return img;
}

bool near(QRgb a, QRgb b, int tol) {
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol &&
           std::abs(qBlue(a) - qBlue(b)) <= tol;
}
