// The live figures of the previewed camera shown in the status line: frame rate, internal temperatures,
// GPIO input, whole-frame maximum/average/minimum and, with diagnostics on, the noise figures.
#pragma once

#include <QObject>

#include "SarvikSDK.h"

class TempDataState : public QObject {
    Q_OBJECT
    Q_PROPERTY(float fps READ fps NOTIFY fpsChanged)
    Q_PROPERTY(float fpaTemp READ fpaTemp NOTIFY fpaTempChanged)
    Q_PROPERTY(float shellTemp READ shellTemp NOTIFY shellTempChanged)
    Q_PROPERTY(float shellTempHW READ shellTempHW NOTIFY shellTempHWChanged)
    Q_PROPERTY(int gpioInput READ gpioInput NOTIFY gpioInputChanged)
    Q_PROPERTY(float maxTemp READ maxTemp NOTIFY maxTempChanged)
    Q_PROPERTY(float avgTemp READ avgTemp NOTIFY avgTempChanged)
    Q_PROPERTY(float minTemp READ minTemp NOTIFY minTempChanged)
    Q_PROPERTY(float netd READ netd NOTIFY netdChanged)
    Q_PROPERTY(float sstd READ sstd NOTIFY sstdChanged)

public:
    explicit TempDataState(QObject *parent = nullptr);

    float fps() const { return m_fps; }
    float fpaTemp() const { return m_fpaTemp; }
    float shellTemp() const { return m_shellTemp; }
    float shellTempHW() const { return m_shellTempHW; }
    int gpioInput() const { return m_gpioInput; }
    float maxTemp() const { return m_maxTemp; }
    float avgTemp() const { return m_avgTemp; }
    float minTemp() const { return m_minTemp; }
    float netd() const { return m_netd; }
    float sstd() const { return m_sstd; }

    // Every figure to 0.
    Q_INVOKABLE void reset();
    // FPA, shell and hardware-shell temperatures (header millidegrees / 1000) and the GPIO input byte.
    void setData(const _DataFrameHeader &header);

    // Each setter emits its change signal only when the value changes.
    void set_fps(float v);
    void set_fpaTemp(float v);
    void set_shellTemp(float v);
    void set_shellTempHW(float v);
    void set_gpioInput(int v);
    void set_maxTemp(float v);
    void set_avgTemp(float v);
    void set_minTemp(float v);
    void set_netd(float v);
    void set_sstd(float v);

signals:
    void fpsChanged();
    void fpaTempChanged();
    void shellTempChanged();
    void shellTempHWChanged();
    void gpioInputChanged();
    void maxTempChanged();
    void avgTempChanged();
    void minTempChanged();
    void netdChanged();
    void sstdChanged();

private:
    float m_fps = 0;
    float m_fpaTemp = 0;
    float m_shellTemp = 0;
    float m_shellTempHW = 0;
    int m_gpioInput = 0;
    float m_maxTemp = 0;
    float m_avgTemp = 0;
    float m_minTemp = 0;
    float m_netd = 0;
    float m_sstd = 0;
};
