#include "CConfigManager.h"

#include <QtQml>

#include <cstdio>
#include <cstring>

#include "AppStatic.h"
#include "zq_base.h"

namespace {

// The visible camera's built-in account, assembled at run time rather than kept as one text in the program.
void builtInAccount(char *user, size_t userSize, char *password, size_t passwordSize) {
    static const char u[] = {'a', 'd', 'm', 'i', 'n'};
    std::snprintf(user, userSize, "%.*s", static_cast<int>(sizeof(u)), u);
    char p[8];
    for (int i = 0; i < 6; ++i) p[i] = static_cast<char>('1' + i);
    p[6] = 0;
    std::snprintf(password, passwordSize, "%s", p);
}

}  // namespace

CConfigManager::CConfigManager(QObject *parent) : QObject(parent), m_config(new CAppConfig(this)) {
    m_filePath = AppStatic::path_config_qs + QStringLiteral("/QelmConfig.bin");
}

void CConfigManager::init() {
    qmlRegisterType<CAppConfig>("Sarvik", 1, 0, "CAppConfig");
    qmlRegisterType<CConfigManager>("Sarvik", 1, 0, "CConfigManager");
    load();
}

QelmConfigBin CConfigManager::defaults() {
    QelmConfigBin bin;
    std::memset(&bin, 0, sizeof(bin));
    bin.magic = CAppConfig::kMagic;
    const int n = std::snprintf(bin.saveDir, sizeof(bin.saveDir), "%s/%s-Data", AppStatic::path_exe_local,
                                AppStatic::app_name.toUtf8().constData());
    if (n < 0 || n >= static_cast<int>(sizeof(bin.saveDir))) std::memset(bin.saveDir, 0, sizeof(bin.saveDir));
    // Prefilled addresses only: the tool connects when the user starts a camera.
    std::snprintf(bin.ir_ip, sizeof(bin.ir_ip), "%s", "192.168.1.100");
    std::snprintf(bin.vis_ip, sizeof(bin.vis_ip), "%s", "192.168.1.101");
    builtInAccount(bin.vis_username, sizeof(bin.vis_username), bin.vis_password, sizeof(bin.vis_password));
    return bin;
}

void CConfigManager::load() {
    QelmConfigBin bin;
    const QelmConfigBin def = defaults();
    if (fileutil_read(m_filePath.toUtf8().constData(), &bin, sizeof(bin)) != 0 || bin.magic != CAppConfig::kMagic) {
        bin = def;
    } else {
        if (bin.language != 0 && bin.language != 1) bin.language = def.language;
        bin.vis_ip[sizeof(bin.vis_ip) - 1] = 0;
        if (bin.vis_ip[0] && !CAppConfig::isIPv4(QString::fromUtf8(bin.vis_ip)))
            std::memcpy(bin.vis_ip, def.vis_ip, sizeof(bin.vis_ip));
    }
    m_config->bin2cls(bin);
    AppStatic::initSaveDir(m_config->saveDir());
}

int CConfigManager::save(CAppConfig *config) {
    if (!config) return -8;
    if (std::memcmp(&config->bin(), &m_config->bin(), sizeof(QelmConfigBin)) == 0) return 0;
    if (!config->isValid()) return -8;
    m_config->bin2cls(config->bin());
    QelmConfigBin out;
    m_config->cls2bin(out);
    const int ret = AppStatic::writeFileReplacing(m_filePath, &out, sizeof(out));
    AppStatic::initSaveDir(m_config->saveDir());
    return ret;
}
