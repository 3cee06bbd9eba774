#include "CConfigManager.h"

#include <QDir>
#include <QFile>
#include <QtQml>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "AppStatic.h"
#include "zq_base.h"
#include "zq_logger.h"


CConfigManager::CConfigManager(QObject *parent) : QObject(parent), m_config(new CAppConfig(this)) {
    m_config->setDrivesGlobals(true);
    m_filePath = AppStatic::path_config_qs + QStringLiteral("/AppConfig.bin");
}

void CConfigManager::init() {
    qmlRegisterType<CAppConfig>("Sarvik", 1, 0, "CAppConfig");
    qmlRegisterType<CConfigManager>("Sarvik", 1, 0, "CConfigManager");
    load();
}

AppConfigBin CConfigManager::defaults() {
    AppConfigBin bin;
    std::memset(&bin, 0, sizeof(bin));
    bin.magic = CAppConfig::kMagic;
    bin.language = 0;
    const int n = std::snprintf(bin.saveDir, sizeof(bin.saveDir), "%s/%s-Data", AppStatic::path_exe_local,
                                AppStatic::app_name.toUtf8().constData());
    // Never a cut-off directory: none at all, then the snapshot names fail visibly.
    if (n < 0 || n >= static_cast<int>(sizeof(bin.saveDir))) std::memset(bin.saveDir, 0, sizeof(bin.saveDir));
    bin.transType = 0;
    bin.chartFifoSize = 500;
    bin.chartUpdateInterval = 1;
    return bin;
}

void CConfigManager::load() {
    AppConfigBin bin;
    const AppConfigBin def = defaults();
    if (fileutil_read(m_filePath.toUtf8().constData(), &bin, sizeof(bin)) != 0 ||
        bin.magic != CAppConfig::kMagic) {
        bin = def;
    } else {
        // A damaged field would reach the chart or the preview request: take its default instead.
        if (bin.language != 0 && bin.language != 1) bin.language = def.language;
        if (bin.transType != 0 && bin.transType != 1) bin.transType = def.transType;
        if (bin.chartFifoSize < CAppConfig::kChartFifoSizeMin ||
            bin.chartFifoSize > CAppConfig::kChartFifoSizeMax)
            bin.chartFifoSize = def.chartFifoSize;
        if (bin.chartUpdateInterval < CAppConfig::kChartUpdateIntervalMin ||
            bin.chartUpdateInterval > CAppConfig::kChartUpdateIntervalMax)
            bin.chartUpdateInterval = def.chartUpdateInterval;
    }
    if (std::memcmp(&bin, &m_config->bin(), sizeof(bin)) == 0) return;
    apply(bin);
}

void CConfigManager::apply(const AppConfigBin &record) {
    m_config->bin2cls(record);
    initSaveDir(m_config->saveDir());
}

int CConfigManager::save(CAppConfig *config) {
    if (!config) return -8;
    if (std::memcmp(&config->bin(), &m_config->bin(), sizeof(AppConfigBin)) == 0) return 0;
    if (!config->isValid()) return -8;

    m_config->bin2cls(config->bin());
    AppConfigBin out;
    m_config->cls2bin(out);

    const int ret = AppStatic::writeFileReplacing(m_filePath, &out, sizeof(out));
    initSaveDir(m_config->saveDir());
    return ret;
}

void CConfigManager::initSaveDir(const QString &dir) {
    AppStatic::initSaveDir(dir);
}
