#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>

#include "AlgMea.h"

class TempCanvas;

// One measurement object on one canvas: the record, its last result and its on-screen points.
class TempCanvasItemBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(int meaType READ meaType NOTIFY meaTypeChanged)
    Q_PROPERTY(QString meaName READ meaName WRITE set_meaName NOTIFY meaNameChanged)
    Q_PROPERTY(QColor meaColor READ meaColor WRITE set_meaColor NOTIFY meaColorChanged)
    Q_PROPERTY(int textPos READ textPos WRITE set_textPos NOTIFY textPosChanged)
    Q_PROPERTY(bool meaFlags_trackHigh READ meaFlags_trackHigh WRITE set_meaFlags_trackHigh NOTIFY
                   meaFlags_trackHighChanged)
    Q_PROPERTY(bool meaFlags_trackLow READ meaFlags_trackLow WRITE set_meaFlags_trackLow NOTIFY
                   meaFlags_trackLowChanged)
    Q_PROPERTY(bool fixEnable READ fixEnable NOTIFY fixEnableChanged)
    Q_PROPERTY(float fixEmi READ fixEmi NOTIFY fixEmiChanged)
    Q_PROPERTY(float fixReflectTemp READ fixReflectTemp NOTIFY fixReflectTempChanged)
    // The last figures, for panels that show them; they change with every frame.
    Q_PROPERTY(float maxTemp READ maxTemp NOTIFY meaTempDataChanged)
    Q_PROPERTY(float avgTemp READ avgTemp NOTIFY meaTempDataChanged)
    Q_PROPERTY(float minTemp READ minTemp NOTIFY meaTempDataChanged)

public:
    static constexpr int kHandleSize = 8;

    explicit TempCanvasItemBase(QObject *parent = nullptr);
    ~TempCanvasItemBase() override;

    virtual void init(TempCanvas *canvas, XMea &mea);
    virtual void canvas2data() {}
    virtual void data2canvas() {}
    virtual void drawMea() {}
    virtual int testHandle(QPoint &) { return -1; }
    virtual void changeHandle(int, QPoint &) {}
    virtual int addPoint(QPoint &) { return 0; }
    virtual void addPointEnd() {}

    void updateMea();

    int meaType() const { return m_mea.type; }
    QString meaName() const { return m_name; }
    QColor meaColor() const { return m_color; }
    int textPos() const { return m_mea.textPos; }
    bool meaFlags_trackHigh() const { return (m_mea.flags & MEA_FLAG_TRACK_HIGH) != 0; }
    bool meaFlags_trackLow() const { return (m_mea.flags & MEA_FLAG_TRACK_LOW) != 0; }
    bool fixEnable() const { return m_mea.fixEnable != 0; }
    float fixEmi() const { return m_mea.fixEmi; }
    float fixReflectTemp() const { return m_mea.fixReflectTemp; }
    float maxTemp() const { return m_result.maxTemp; }
    float avgTemp() const { return m_result.avgTemp; }
    float minTemp() const { return m_result.minTemp; }

    void set_meaName(const QString &name);
    void set_meaColor(const QColor &color);
    void set_textPos(int pos);
    void set_meaFlags_trackHigh(bool b);
    void set_meaFlags_trackLow(bool b);
    Q_INVOKABLE void set_fix(bool enable, float emi, float reflectTemp);

    const XMea &mea() const { return m_mea; }
    const XResult &result() const { return m_result; }
    TempCanvas *canvas() const { return m_canvas; }
    int activeHandle() const { return m_handle; }
    void setActiveHandle(int h) { m_handle = h; }
    bool needUpdate() const { return m_needUpdate; }
    int pointCount() const { return m_pointCount; }
    QPoint point(int i) const { return m_points[i]; }
    void emitTempDataChanged() { emit meaTempDataChanged(); }

signals:
    void meaTypeChanged();
    void meaNameChanged();
    void meaColorChanged();
    void textPosChanged();
    void meaFlags_trackHighChanged();
    void meaFlags_trackLowChanged();
    void fixEnableChanged();
    void fixEmiChanged();
    void fixReflectTempChanged();
    void meaTempDataChanged();

protected:
    // Stores a hit-test result as the active handle; a change is shown at once.
    int storeHandle(int h);
    bool storeFlag(uint8_t bit, bool b);
    // Canvas point clamped into the drawn image, then as a frame pixel.
    QPoint clampToActive(const QPoint &p) const;
    XMeaPoint toFrame(const QPoint &p) const;
    QPoint toCanvas(const XMeaPoint &p) const;
    bool nearHandle(const QPoint &p, const QPoint &h) const;

    XMea m_mea{};
    XResult m_result{};
    QString m_name;
    QColor m_color;
    TempCanvas *m_canvas = nullptr;
    QPoint m_points[MEA_POINT_MAX];
    int m_pointCount = 0;
    int m_handle = -1;
    bool m_needUpdate = false;
};

// The whole frame: never deleted, draws only its maximum and minimum markers.
class TempCanvasItemGlobal : public TempCanvasItemBase {
    Q_OBJECT
public:
    using TempCanvasItemBase::TempCanvasItemBase;
    void drawMea() override;
};

// Point 1x1, point 3x3 and point with cross (types 1, 2, 3).
class TempCanvasItemPoint : public TempCanvasItemBase {
    Q_OBJECT
public:
    using TempCanvasItemBase::TempCanvasItemBase;
    void canvas2data() override;
    void data2canvas() override;
    void drawMea() override;
    int testHandle(QPoint &p) override;
    void changeHandle(int k, QPoint &p) override;
};

// Polyline (type 5) and the shared code of the polygon.
class TempCanvasItemPolyline : public TempCanvasItemBase {
    Q_OBJECT
public:
    using TempCanvasItemBase::TempCanvasItemBase;
    void canvas2data() override;
    void data2canvas() override;
    void drawMea() override;
    int testHandle(QPoint &p) override;
    void changeHandle(int k, QPoint &p) override;
    int addPoint(QPoint &p) override;
    void addPointEnd() override;

protected:
    int testPointHandles(const QPoint &p) const;
    bool nearSegment(const QPoint &p) const;
};

// Polygon (type 11), even-odd rule.
class TempCanvasItemPolygon : public TempCanvasItemPolyline {
    Q_OBJECT
public:
    using TempCanvasItemPolyline::TempCanvasItemPolyline;
    void drawMea() override;
    int testHandle(QPoint &p) override;
    void addPointEnd() override;
    bool inside(const QPoint &p) const;
};

// Ellipse and rectangle boxes (6, 9) and their square forms (7, 10).
class TempCanvasItemRect : public TempCanvasItemBase {
    Q_OBJECT
public:
    using TempCanvasItemBase::TempCanvasItemBase;
    void canvas2data() override;
    void data2canvas() override;
    void drawMea() override;
    int testHandle(QPoint &p) override;
    void changeHandle(int k, QPoint &p) override;
    int addPoint(QPoint &p) override;
    void addPointEnd() override;

    bool isSquare() const { return m_mea.type == MEA_CIRCLE || m_mea.type == MEA_SQUARE; }
    int left() const { return m_left; }
    int top() const { return m_top; }
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }

private:
    void updateCorners();
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
};

// The cursor readout: a 1x1 point that follows the pointer, shown only while it is visible.
class TempCanvasItemMouse : public TempCanvasItemPoint {
    Q_OBJECT
public:
    using TempCanvasItemPoint::TempCanvasItemPoint;
    bool isVisible() const { return m_visible; }
    void setVisible(bool b) { m_visible = b; }
    QPoint anchor() const { return m_anchor; }
    void setAnchor(const QPoint &p) { m_anchor = p; }
    // Puts the point on the frame pixel under a canvas position.
    void moveTo(const QPoint &canvasPos);
    void drawMea() override;

private:
    bool m_visible = false;
    QPoint m_anchor;
};
