// Draws the twelve palettes of the SDK's table, in table order, each as a strip from coldest (left) to
// hottest (right) with its name, and saves the picture as a PNG.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "SarvikSDK.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    // Text needs a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    int count = 0;
    char *raw = Sarvik_AllocPaletteData(&count);
    if (!raw) {
        std::fprintf(stderr, "no palette table\n");
        return 1;
    }
    const auto *table = reinterpret_cast<const PaletteTable *>(raw);

    const int labelWidth = 150, stripWidth = 512, stripHeight = 32, gap = 8, margin = 12;
    QImage image(margin * 2 + labelWidth + stripWidth, margin * 2 + count * (stripHeight + gap) - gap,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int p = 0; p < count; ++p) {
        const int top = margin + p * (stripHeight + gap);
        painter.drawText(QRect(margin, top, labelWidth - 8, stripHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         QString("%1 %2").arg(p).arg(QString::fromLatin1(table->entries[p].name)));
        for (int x = 0; x < stripWidth; ++x) {
            // Bytes blue, green, red, alpha are 0xAARRGGBB read little-endian, which QRgb is too.
            const uint32_t colour = table->entries[p].colors[x * 256 / stripWidth];
            painter.fillRect(margin + labelWidth + x, top, 1, stripHeight,
                             QColor::fromRgb(colour | 0xFF000000u));
        }
    }
    painter.end();
    Sarvik_FreePaletteData(&raw);
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
