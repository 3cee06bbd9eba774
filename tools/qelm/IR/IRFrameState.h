// The status figures of the thermal side: rate, internal temperatures, the global item's extremes and the
// noise figures. GUI thread only.
#pragma once

#include <QObject>

class IRFrameState : public QObject {
    Q_OBJECT
    Q_PROPERTY(float fps READ fps WRITE set_fps NOTIFY fpsChanged)
    Q_PROPERTY(float fpaTemp READ fpaTemp WRITE set_fpaTemp NOTIFY fpaTempChanged)
    Q_PROPERTY(float shellTemp READ shellTemp WRITE set_shellTemp NOTIFY shellTempChanged)
    Q_PROPERTY(float shellTempHW READ shellTempHW WRITE set_shellTempHW NOTIFY shellTempHWChanged)
    Q_PROPERTY(float maxTemp READ maxTemp WRITE set_maxTemp NOTIFY maxTempChanged)
    Q_PROPERTY(float avgTemp READ avgTemp WRITE set_avgTemp NOTIFY avgTempChanged)
    Q_PROPERTY(float minTemp READ minTemp WRITE set_minTemp NOTIFY minTempChanged)
    Q_PROPERTY(int gpioInput READ gpioInput WRITE set_gpioInput NOTIFY gpioInputChanged)
    Q_PROPERTY(float netd READ netd WRITE set_netd NOTIFY netdChanged)
    Q_PROPERTY(float sstd READ sstd WRITE set_sstd NOTIFY sstdChanged)

public:
    explicit IRFrameState(QObject *parent = nullptr);

    float fps() const { return m_fps; }
    float fpaTemp() const { return m_fpaTemp; }
    float shellTemp() const { return m_shellTemp; }
    float shellTempHW() const { return m_shellTempHW; }
    float maxTemp() const { return m_maxTemp; }
    float avgTemp() const { return m_avgTemp; }
    float minTemp() const { return m_minTemp; }
    int gpioInput() const { return m_gpioInput; }
    float netd() const { return m_netd; }
    float sstd() const { return m_sstd; }

    // Each setter emits its signal only when the value changes.
    void set_fps(float v);
    void set_fpaTemp(float v);
    void set_shellTemp(float v);
    void set_shellTempHW(float v);
    void set_maxTemp(float v);
    void set_avgTemp(float v);
    void set_minTemp(float v);
    void set_gpioInput(int v);
    void set_netd(float v);
    void set_sstd(float v);

    // Every figure back to 0 (with the signals of those that change).
    Q_INVOKABLE void reset();

signals:
    void fpsChanged();
    void fpaTempChanged();
    void shellTempChanged();
    void shellTempHWChanged();
    void maxTempChanged();
    void avgTempChanged();
    void minTempChanged();
    void gpioInputChanged();
    void netdChanged();
    void sstdChanged();

private:
    float m_fps = 0, m_fpaTemp = 0, m_shellTemp = 0, m_shellTempHW = 0;
    float m_maxTemp = 0, m_avgTemp = 0, m_minTemp = 0;
    int m_gpioInput = 0;
    float m_netd = 0, m_sstd = 0;
};
