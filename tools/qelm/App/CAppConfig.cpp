#include "CAppConfig.h"

#include <QStringList>

#include <cstring>

CAppConfig::CAppConfig(QObject *parent) : QObject(parent) {
    std::memset(&m_bin, 0, sizeof(m_bin));
    m_bin.magic = kMagic;
}

QString CAppConfig::text(const char *field, size_t size) {
    return QString::fromUtf8(field, static_cast<int>(qstrnlen(field, static_cast<uint>(size))));
}

bool CAppConfig::setText(char *field, size_t size, const QString &value) {
    const QByteArray utf8 = value.toUtf8();
    // A cut text would name another directory or another camera: keep the previous one instead.
    if (static_cast<size_t>(utf8.size()) > size - 1) return false;
    if (text(field, size) == value) return false;
    std::memset(field, 0, size);
    std::memcpy(field, utf8.constData(), static_cast<size_t>(utf8.size()));
    return true;
}

void CAppConfig::bin2cls(const QelmConfigBin &record) {
    QelmConfigBin r = record;
    r.saveDir[sizeof(r.saveDir) - 1] = 0;
    r.ir_ip[sizeof(r.ir_ip) - 1] = 0;
    r.vis_ip[sizeof(r.vis_ip) - 1] = 0;
    r.vis_username[sizeof(r.vis_username) - 1] = 0;
    r.vis_password[sizeof(r.vis_password) - 1] = 0;
    m_bin.magic = kMagic;
    setLanguage(r.language);
    setSaveDir(QString::fromUtf8(r.saveDir));
    set_ir_ip(QString::fromUtf8(r.ir_ip));
    set_vis_ip(QString::fromUtf8(r.vis_ip));
    set_vis_username(QString::fromUtf8(r.vis_username));
    set_vis_password(QString::fromUtf8(r.vis_password));
}

void CAppConfig::cls2bin(QelmConfigBin &record) const {
    record = m_bin;
    record.magic = kMagic;
}

void CAppConfig::cls2cls(CAppConfig *other) {
    if (other && other != this) bin2cls(other->bin());
}

bool CAppConfig::isIPv4(const QString &text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) return false;
    for (const QString &p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || p.isEmpty() || p.size() > 3 || v < 0 || v > 255) return false;
    }
    return true;
}

bool CAppConfig::isValid() const {
    if (m_bin.language != 0 && m_bin.language != 1) return false;
    const QString vis = vis_ip();
    return vis.isEmpty() || isIPv4(vis);
}

void CAppConfig::setLanguage(int language) {
    if (m_bin.language == language) return;
    m_bin.language = language;
    emit languageChanged();
}

void CAppConfig::setSaveDir(const QString &dir) {
    if (setText(m_bin.saveDir, sizeof(m_bin.saveDir), dir)) emit saveDirChanged();
}

void CAppConfig::set_ir_ip(const QString &ip) {
    if (setText(m_bin.ir_ip, sizeof(m_bin.ir_ip), ip.trimmed())) emit ir_ipChanged();
}

void CAppConfig::set_vis_ip(const QString &ip) {
    if (setText(m_bin.vis_ip, sizeof(m_bin.vis_ip), ip.trimmed())) emit vis_ipChanged();
}

void CAppConfig::set_vis_username(const QString &name) {
    if (setText(m_bin.vis_username, sizeof(m_bin.vis_username), name)) emit vis_usernameChanged();
}

void CAppConfig::set_vis_password(const QString &password) {
    if (setText(m_bin.vis_password, sizeof(m_bin.vis_password), password)) emit vis_passwordChanged();
}
