#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>

// Drawing resources shared by every painter, built once at start-up.
class XPainterStatic {
public:
    enum ColorIndex {
        C_TRANSPARENT = 0,
        C_WHITE,
        C_BLACK,
        C_RED,
        C_GREEN,
        C_BLUE,
        C_CYAN,
        C_MAGENTA,
        C_OLIVE,
        C_GREY,
        C_HALFBLACK,
        C_COUNT
    };
    static constexpr int kMeaColorCount = 16;

    static void init();
    static void free();
    static bool isReady();

    static QColor color(int index);
    static const QPen &pen(int index);
    static const QBrush &brush(int index);
    static const QFont &font();
    static const QFontMetrics &fontMetrics();
    // The 16 default item colours, 0xRRGGBB.
    static unsigned meaColor(int index);
    // Family actually used for labels: the preferred one when installed, else an installed sans face.
    static QString fontFamily();
};
