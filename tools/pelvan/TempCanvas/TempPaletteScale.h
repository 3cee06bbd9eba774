#pragma once

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>

#include "TempPaletteData.h"

// A vertical colour bar of the current palette, hottest at the top, with the range it spans.
class TempPaletteScale : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(TempPaletteData *paletteData READ paletteData WRITE set_paletteData NOTIFY paletteDataChanged)
    Q_PROPERTY(QColor textColor READ textColor WRITE set_textColor NOTIFY textColorChanged)

public:
    explicit TempPaletteScale(QQuickItem *parent = nullptr);

    TempPaletteData *paletteData() const { return m_data; }
    void set_paletteData(TempPaletteData *data);
    QColor textColor() const { return m_textColor; }
    void set_textColor(const QColor &c);

    // 256 colours of one palette, coldest first, as 0xFFRRGGBB; empty when the type is not in the table.
    static QVector<QRgb> paletteColors(int paletteType);
    // Renders into any painter (the item, tests, screenshots).
    void paintScale(QPainter *painter, const QRectF &area) const;
    void paint(QPainter *painter) override;

signals:
    void paletteDataChanged();
    void textColorChanged();

private:
    QPointer<TempPaletteData> m_data;
    QColor m_textColor = Qt::white;
};
