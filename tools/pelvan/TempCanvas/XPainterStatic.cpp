#include "XPainterStatic.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <memory>

namespace {

const QRgb kColors[XPainterStatic::C_COUNT] = {0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFFFF0000,
                                               0xFF00FF00, 0xFF0000FF, 0xFF00FFFF, 0xFFFF00FF,
                                               0xFF808000, 0xFFA0A0A0, 0x80000000};

const unsigned kMeaColors[XPainterStatic::kMeaColorCount] = {
    0xFF0000, 0x008000, 0x0000FF, 0x800000, 0x00FF00, 0x000080, 0x804040, 0x408040,
    0x404080, 0x004000, 0x000040, 0x400040, 0x800080, 0x8000FF, 0x400080, 0xFF00FF};

const char *const kPreferredFamily = "Microsoft YaHei";
// Installed stand-ins on Linux, best first; the desktop's general font is the last resort.
const char *const kFallbackFamilies[] = {"Noto Sans CJK SC",   "Noto Sans SC", "WenQuanYi Micro Hei",
                                         "Source Han Sans SC", "Noto Sans",    "DejaVu Sans",
                                         "Liberation Sans"};

struct Resources {
    QPen pens[XPainterStatic::C_COUNT];
    QBrush brushes[XPainterStatic::C_COUNT];
    QFont font;
    std::unique_ptr<QFontMetrics> metrics;
};

Resources *g_res = nullptr;

QString pickFamily() {
    const QStringList families = QFontDatabase().families();
    if (families.contains(QLatin1String(kPreferredFamily))) return QLatin1String(kPreferredFamily);
    for (const char *f : kFallbackFamilies)
        if (families.contains(QLatin1String(f))) return QLatin1String(f);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

void XPainterStatic::init() {
    if (g_res) return;
    g_res = new Resources;
    for (int i = 0; i < C_COUNT; ++i) {
        QColor c = QColor::fromRgba(kColors[i]);
        g_res->brushes[i] = QBrush(c, Qt::SolidPattern);
        g_res->pens[i] = QPen(g_res->brushes[i], 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    }
    g_res->font = QFont(pickFamily());
    g_res->font.setPointSize(12);
    g_res->metrics = std::make_unique<QFontMetrics>(g_res->font);
}

void XPainterStatic::free() {
    delete g_res;
    g_res = nullptr;
}

bool XPainterStatic::isReady() {
    return g_res != nullptr;
}

QColor XPainterStatic::color(int index) {
    return QColor::fromRgba(kColors[index >= 0 && index < C_COUNT ? index : C_TRANSPARENT]);
}

const QPen &XPainterStatic::pen(int index) {
    init();
    return g_res->pens[index >= 0 && index < C_COUNT ? index : C_TRANSPARENT];
}

const QBrush &XPainterStatic::brush(int index) {
    init();
    return g_res->brushes[index >= 0 && index < C_COUNT ? index : C_TRANSPARENT];
}

const QFont &XPainterStatic::font() {
    init();
    return g_res->font;
}

const QFontMetrics &XPainterStatic::fontMetrics() {
    init();
    return *g_res->metrics;
}

unsigned XPainterStatic::meaColor(int index) {
    return kMeaColors[((index % kMeaColorCount) + kMeaColorCount) % kMeaColorCount];
}

QString XPainterStatic::fontFamily() {
    return font().family();
}
