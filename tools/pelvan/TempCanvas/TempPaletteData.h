#pragma once

#include <QObject>

// The temperature range the current palette spans: the manual window when it is on, else the whole
// frame's minimum and maximum.
class TempPaletteData : public QObject {
    Q_OBJECT
    Q_PROPERTY(int paletteType READ paletteType WRITE set_paletteType NOTIFY paletteTypeChanged)
    Q_PROPERTY(bool manEnable READ manEnable NOTIFY paletteMinChanged)
    Q_PROPERTY(float manMin READ manMin NOTIFY paletteMinChanged)
    Q_PROPERTY(float manMax READ manMax NOTIFY paletteMaxChanged)
    Q_PROPERTY(float gblMin READ gblMin NOTIFY paletteMinChanged)
    Q_PROPERTY(float gblMax READ gblMax NOTIFY paletteMaxChanged)
    Q_PROPERTY(float paletteMin READ paletteMin NOTIFY paletteMinChanged)
    Q_PROPERTY(float paletteMax READ paletteMax NOTIFY paletteMaxChanged)

public:
    explicit TempPaletteData(QObject *parent = nullptr) : QObject(parent) {}

    int paletteType() const { return m_paletteType; }
    bool manEnable() const { return m_manEnable; }
    float manMin() const { return m_manMin; }
    float manMax() const { return m_manMax; }
    float gblMin() const { return m_gblMin; }
    float gblMax() const { return m_gblMax; }
    float paletteMin() const { return m_manEnable ? m_manMin : m_gblMin; }
    float paletteMax() const { return m_manEnable ? m_manMax : m_gblMax; }

    void set_paletteType(int t);
    Q_INVOKABLE void updateMan(bool enable, float min, float max);
    void updateGbl(float min, float max);

signals:
    void paletteTypeChanged();
    void paletteMinChanged();
    void paletteMaxChanged();

private:
    int m_paletteType = 5;
    bool m_manEnable = false;
    float m_manMin = 0.0f;
    float m_manMax = 0.0f;
    float m_gblMin = 0.0f;
    float m_gblMax = 0.0f;
};
