#include "CAppConfig.h"

#include <cstring>

#include "AppStatic.h"

CAppConfig::CAppConfig(QObject *parent) : QObject(parent) {
    std::memset(&m_bin, 0, sizeof(m_bin));
    m_bin.magic = kMagic;
}

void CAppConfig::bin2cls(const AppConfigBin &record) {
    m_bin.magic = kMagic;
    setLanguage(record.language);

    char dir[sizeof(record.saveDir)];
    std::memcpy(dir, record.saveDir, sizeof(dir));
    dir[sizeof(dir) - 1] = 0;
    if (applySaveDir(QString::fromUtf8(dir))) emit saveDirChanged();

    setTransType(record.transType);
    setChartFifoSize(record.chartFifoSize);
    setChartUpdateInterval(record.chartUpdateInterval);
    if (m_drivesGlobals) updateGlobals();
}

void CAppConfig::cls2bin(AppConfigBin &record) const {
    std::memset(&record, 0, sizeof(record));
    record.magic = kMagic;
    record.language = m_bin.language;
    const QByteArray dir = m_saveDir.toUtf8().left(static_cast<int>(sizeof(record.saveDir)) - 1);
    std::memcpy(record.saveDir, dir.constData(), static_cast<size_t>(dir.size()));
    record.transType = m_bin.transType;
    record.chartFifoSize = m_bin.chartFifoSize;
    record.chartUpdateInterval = m_bin.chartUpdateInterval;
}

bool CAppConfig::isValidRecord(const AppConfigBin &r) {
    return (r.language == 0 || r.language == 1) && (r.transType == 0 || r.transType == 1) &&
           r.chartFifoSize >= kChartFifoSizeMin && r.chartFifoSize <= kChartFifoSizeMax &&
           r.chartUpdateInterval >= kChartUpdateIntervalMin &&
           r.chartUpdateInterval <= kChartUpdateIntervalMax;
}

bool CAppConfig::isValid() const {
    return isValidRecord(m_bin);
}

void CAppConfig::cls2cls(CAppConfig *other) {
    if (!other || other == this) return;
    bin2cls(other->bin());
}

void CAppConfig::setLanguage(int language) {
    if (m_bin.language == language) return;
    m_bin.language = language;
    emit languageChanged();
}

void CAppConfig::setSaveDir(const QString &dir) {
    if (applySaveDir(dir)) emit saveDirChanged();
}

bool CAppConfig::applySaveDir(const QString &dir) {
    if (dir == m_saveDir) return false;
    const QByteArray utf8 = dir.toUtf8();
    if (utf8.size() > static_cast<int>(sizeof(m_bin.saveDir)) - 1) return false;
    std::memset(m_bin.saveDir, 0, sizeof(m_bin.saveDir));
    std::memcpy(m_bin.saveDir, utf8.constData(), static_cast<size_t>(utf8.size()));
    m_saveDir = dir;
    return true;
}

void CAppConfig::setTransType(int type) {
    if (m_bin.transType == type) return;
    m_bin.transType = type;
    emit transTypeChanged();
}

void CAppConfig::setChartFifoSize(int size) {
    if (m_bin.chartFifoSize == size) return;
    m_bin.chartFifoSize = size;
    emit chartFifoSizeChanged();
}

void CAppConfig::setChartUpdateInterval(int seconds) {
    if (m_bin.chartUpdateInterval == seconds) return;
    m_bin.chartUpdateInterval = seconds;
    emit chartUpdateIntervalChanged();
}

void CAppConfig::updateGlobals() const {
    // 64-bit before multiplying: 215 seconds already overflow 32 bits in 100 ns units.
    AppStatic::chart_updateInterval = static_cast<int64_t>(m_bin.chartUpdateInterval) * 10000000;
    AppStatic::chart_fifoSize = m_bin.chartFifoSize;
}
