// The application configuration: the record stored as "AppConfig.bin" and its QObject view.
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// The file is exactly this record: 1044 bytes, little-endian, no padding.
struct AppConfigBin {
    uint32_t magic;
    int32_t language;             // 0 Chinese (zh_CN), 1 English (en_US)
    char saveDir[1024];           // UTF-8, zero-terminated
    int32_t transType;            // 0 TCP, 1 UDP
    int32_t chartFifoSize;        // samples kept per chart series
    int32_t chartUpdateInterval;  // seconds between chart samples
};
#pragma pack(pop)
static_assert(sizeof(AppConfigBin) == 1044, "AppConfig.bin is 1044 bytes");
static_assert(offsetof(AppConfigBin, saveDir) == 8, "saveDir at 8");
static_assert(offsetof(AppConfigBin, transType) == 1032, "transType at 1032");
static_assert(offsetof(AppConfigBin, chartUpdateInterval) == 1040, "chartUpdateInterval at 1040");

class CAppConfig : public QObject {
    Q_OBJECT
    Q_PROPERTY(int language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString saveDir READ saveDir WRITE setSaveDir NOTIFY saveDirChanged)
    Q_PROPERTY(int transType READ transType WRITE setTransType NOTIFY transTypeChanged)
    Q_PROPERTY(int chartFifoSize READ chartFifoSize WRITE setChartFifoSize NOTIFY chartFifoSizeChanged)
    Q_PROPERTY(int chartUpdateInterval READ chartUpdateInterval WRITE setChartUpdateInterval NOTIFY
                   chartUpdateIntervalChanged)
    // The accepted ranges, so that the settings dialog and save share one rule.
    Q_PROPERTY(int chartFifoSizeMin READ chartFifoSizeMin CONSTANT)
    Q_PROPERTY(int chartFifoSizeMax READ chartFifoSizeMax CONSTANT)
    Q_PROPERTY(int chartUpdateIntervalMin READ chartUpdateIntervalMin CONSTANT)
    Q_PROPERTY(int chartUpdateIntervalMax READ chartUpdateIntervalMax CONSTANT)

public:
    static constexpr uint32_t kMagic = 0x0134D818u;  // 20240408
    // Beyond 10 000 samples the chart's x counter would move forward on wrapping instead of back.
    static constexpr int kChartFifoSizeMin = 10;
    static constexpr int kChartFifoSizeMax = 10000;
    static constexpr int kChartUpdateIntervalMin = 1;
    static constexpr int kChartUpdateIntervalMax = 3600;

    explicit CAppConfig(QObject *parent = nullptr);

    // The record as it would be written.
    const AppConfigBin &bin() const { return m_bin; }

    // Applies a record: every property that differs emits its signal; a save directory of more than 1023
    // UTF-8 bytes is ignored. The object that drives the globals also updates the chart globals.
    void bin2cls(const AppConfigBin &record);
    void cls2bin(AppConfigBin &record) const;

    // Only the configuration manager's own object writes chart_fifoSize / chart_updateInterval: a copy
    // edited by a dialog must not change the running chart until it is saved.
    void setDrivesGlobals(bool on) { m_drivesGlobals = on; }

    // True when every field lies in its accepted range.
    Q_INVOKABLE bool isValid() const;
    static bool isValidRecord(const AppConfigBin &record);

    Q_INVOKABLE void cls2cls(CAppConfig *other);

    int language() const { return m_bin.language; }
    void setLanguage(int language);
    QString saveDir() const { return m_saveDir; }
    void setSaveDir(const QString &dir);
    int transType() const { return m_bin.transType; }
    void setTransType(int type);
    int chartFifoSize() const { return m_bin.chartFifoSize; }
    void setChartFifoSize(int size);
    int chartUpdateInterval() const { return m_bin.chartUpdateInterval; }
    void setChartUpdateInterval(int seconds);

    int chartFifoSizeMin() const { return kChartFifoSizeMin; }
    int chartFifoSizeMax() const { return kChartFifoSizeMax; }
    int chartUpdateIntervalMin() const { return kChartUpdateIntervalMin; }
    int chartUpdateIntervalMax() const { return kChartUpdateIntervalMax; }

signals:
    void languageChanged();
    void saveDirChanged();
    void transTypeChanged();
    void chartFifoSizeChanged();
    void chartUpdateIntervalChanged();

private:
    // Takes the text when it differs and fits 1023 UTF-8 bytes; true when taken.
    bool applySaveDir(const QString &dir);
    void updateGlobals() const;

    AppConfigBin m_bin;
    QString m_saveDir;
    bool m_drivesGlobals = false;
};
