#pragma once
// Range settings of one chart: per axis a kept (0), fixed (1) or automatic (2) range, and the number of
// samples each series keeps.
#include <QObject>

class TCConfig : public QObject {
    Q_OBJECT
    Q_PROPERTY(int xmode READ xmode WRITE setXmode NOTIFY xmodeChanged)
    Q_PROPERTY(double xmin READ xmin WRITE setXmin NOTIFY xminChanged)
    Q_PROPERTY(double xmax READ xmax WRITE setXmax NOTIFY xmaxChanged)
    Q_PROPERTY(int ymode READ ymode WRITE setYmode NOTIFY ymodeChanged)
    Q_PROPERTY(double ymin READ ymin WRITE setYmin NOTIFY yminChanged)
    Q_PROPERTY(double ymax READ ymax WRITE setYmax NOTIFY ymaxChanged)
    Q_PROPERTY(int fifoSize READ fifoSize WRITE setFifoSize NOTIFY fifoSizeChanged)

public:
    enum AxisMode { Mode_Keep = 0, Mode_Fixed = 1, Mode_Auto = 2 };
    Q_ENUM(AxisMode)

    explicit TCConfig(QObject *parent = nullptr);

    int xmode() const { return m_xmode; }
    double xmin() const { return m_xmin; }
    double xmax() const { return m_xmax; }
    int ymode() const { return m_ymode; }
    double ymin() const { return m_ymin; }
    double ymax() const { return m_ymax; }
    int fifoSize() const { return m_fifoSize; }

    void setXmode(int v);
    void setXmin(double v);
    void setXmax(double v);
    void setYmode(int v);
    void setYmin(double v);
    void setYmax(double v);
    void setFifoSize(int v);

signals:
    void xmodeChanged();
    void xminChanged();
    void xmaxChanged();
    void ymodeChanged();
    void yminChanged();
    void ymaxChanged();
    void fifoSizeChanged();

private:
    int m_xmode = Mode_Fixed;
    double m_xmin = 0;
    double m_xmax = 100;
    int m_ymode = Mode_Fixed;
    double m_ymin = 0;
    double m_ymax = 100;
    int m_fifoSize = 0;
};
