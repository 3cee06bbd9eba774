#include "TempPaletteScale.h"

#include <QPainter>
#include <cstring>

#include "SarvikSDK.h"
#include "XPainterStatic.h"

TempPaletteScale::TempPaletteScale(QQuickItem *parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void TempPaletteScale::set_paletteData(TempPaletteData *data) {
    if (data == m_data) return;
    if (m_data) disconnect(m_data, nullptr, this, nullptr);
    m_data = data;
    if (m_data) {
        auto repaint = [this] { update(); };
        connect(m_data, &TempPaletteData::paletteTypeChanged, this, repaint);
        connect(m_data, &TempPaletteData::paletteMinChanged, this, repaint);
        connect(m_data, &TempPaletteData::paletteMaxChanged, this, repaint);
    }
    emit paletteDataChanged();
    update();
}

void TempPaletteScale::set_textColor(const QColor &c) {
    if (c == m_textColor) return;
    m_textColor = c;
    emit textColorChanged();
    update();
}

QVector<QRgb> TempPaletteScale::paletteColors(int paletteType) {
    // The table is the SDK's; one copy serves every scale for the life of the process.
    static const QVector<QVector<QRgb>> table = [] {
        QVector<QVector<QRgb>> out;
        int count = 0;
        char *raw = Sarvik_AllocPaletteData(&count);
        if (!raw) return out;
        const PaletteTable *t = reinterpret_cast<const PaletteTable *>(raw);
        for (int i = 0; i < count && i < SARVIK_PALETTE_COUNT; ++i) {
            QVector<QRgb> colors(256);
            for (int k = 0; k < 256; ++k) colors[k] = 0xFF000000u | (t->entries[i].colors[k] & 0xFFFFFFu);
            out.append(colors);
        }
        Sarvik_FreePaletteData(&raw);
        return out;
    }();
    if (paletteType < 0 || paletteType >= table.size()) return {};
    return table[paletteType];
}

void TempPaletteScale::paintScale(QPainter *painter, const QRectF &area) const {
    const int type = m_data ? m_data->paletteType() : SARVIK_PALETTE_IRONBOW;
    const QVector<QRgb> colors = paletteColors(type);
    const QFontMetrics &fm = XPainterStatic::fontMetrics();
    const double textH = fm.height() + 4;
    const QRectF bar(area.left(), area.top() + textH, area.width(), area.height() - 2 * textH);
    if (!colors.isEmpty() && bar.height() > 1) {
        QImage strip(1, 256, QImage::Format_RGB32);
        for (int k = 0; k < 256; ++k) strip.setPixel(0, 255 - k, colors[k]);
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(bar, strip);
        painter->restore();
    }
    painter->setPen(QPen(m_textColor, 1));
    painter->drawRect(bar.adjusted(0, 0, -1, -1));
    painter->setFont(XPainterStatic::font());
    const float max = m_data ? m_data->paletteMax() : 0.0f;
    const float min = m_data ? m_data->paletteMin() : 0.0f;
    painter->drawText(QRectF(area.left(), area.top(), area.width(), textH), Qt::AlignCenter,
                      QString::asprintf("%.1f", static_cast<double>(max)));
    painter->drawText(QRectF(area.left(), area.bottom() - textH, area.width(), textH), Qt::AlignCenter,
                      QString::asprintf("%.1f", static_cast<double>(min)));
}

void TempPaletteScale::paint(QPainter *painter) {
    paintScale(painter, QRectF(0, 0, width(), height()));
}
