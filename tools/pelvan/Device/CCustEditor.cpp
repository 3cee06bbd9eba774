#include "CCustEditor.h"

#include <QQmlEngine>

#include <cstring>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "zq_base.h"

int EditorSession::login(const QString &ip) {
    logout();
    _LoginInfo info{};
    const QByteArray text = ip.toUtf8();
    std::strncpy(info.ip, text.constData(), sizeof info.ip - 1);
    _CameraBasicInfo basic{};
    const int status = Sarvik_Login(&info, &basic);
    if (status < 0) return status;
    m_ip = ip;
    m_userId = status;
    m_basicInfo = basic;
    return status;
}

void EditorSession::logout() {
    if (m_userId >= 0) Sarvik_Logout(m_userId);
    m_userId = -1;
}

QString EditorSession::cameraId() const {
    const char *id = m_basicInfo.cameraId;
    return QString::fromUtf8(id, int(strnlen(id, 31)));
}

QString editorLocalPath(const QString &prefix, const QString &deviceId) {
    if (!AppStatic::app || !AppStatic::app->configManager() || !AppStatic::app->configManager()->config())
        return QString();
    const QString dir = AppStatic::app->configManager()->config()->saveDir();
    if (dir.isEmpty()) return QString();
    QString name = deviceId;
    for (QChar &c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20) c = QLatin1Char('_');
    return dir + QLatin1Char('/') + prefix + name;
}

int EditorSession::fetch(int type, void *image, int size) {
    if (!active()) return -7;
    QByteArray scratch(size, '\0');
    int got = size;
    const int status = Sarvik_DownloadMem(m_userId, type, scratch.data(), &got);
    if (status < 0) return status;
    if (got != size) return -97;
    std::memcpy(image, scratch.constData(), size_t(size));
    return status;
}

int EditorSession::store(int type, const void *image, int size) {
    if (!active()) return -7;
    return Sarvik_UploadMem(m_userId, type, image, size);
}

int EditorSession::readLocal(const QString &path, void *image, int size) {
    if (!active()) return -7;
    QByteArray scratch(size, '\0');
    const int status = fileutil_read(path.toUtf8().constData(), scratch.data(), size_t(size));
    if (status < 0) return status;
    std::memcpy(image, scratch.constData(), size_t(size));
    return status;
}

int EditorSession::writeLocal(const QString &path, const void *image, int size) {
    if (!active()) return -7;
    return fileutil_write(path.toUtf8().constData(), image, size_t(size));
}

CCustEditor::CCustEditor(QObject *parent)
    : QObject(parent), m_cust(new CCustFile(this)), m_cust2(new CCustFile(this)) {}

CCustEditor::~CCustEditor() = default;

void CCustEditor::registerTypes() {
    const char *uri = "Sarvik";
    qmlRegisterType<CCustEditor>(uri, 1, 0, "CCustEditor");
    qmlRegisterType<CCustFile>(uri, 1, 0, "CCustFile");
    qmlRegisterType<CCustPoint>(uri, 1, 0, "CCustPoint");
}

CCustFile *CCustEditor::fileFor(int type) const {
    if (type == 3) return m_cust;
    if (type == 4) return m_cust2;
    return nullptr;
}

int CCustEditor::init(const QString &ip) {
    const int status = m_session.login(ip);
    if (status < 0) return status;
    editorSet(this, m_deviceId, m_session.cameraId(), &CCustEditor::deviceIdChanged);
    const char *sw = m_session.basicInfo().softwareId;
    const QByteArray software(sw, int(strnlen(sw, 31)));
    const bool two = software.contains("GS") || software.contains("GW") || software.contains("WJ");
    editorSet(this, m_tempRangeSingle, !two, &CCustEditor::tempRangeSingleChanged);
    // A failed fetch shows as editEnable false on that range; the session stays usable.
    downloadMem(3);
    if (!m_tempRangeSingle) downloadMem(4);
    return 0;
}

void CCustEditor::free() {
    m_session.logout();
}

int CCustEditor::downloadMem(int type) {
    if (!m_session.active()) return -7;
    CCustFile *file = fileFor(type);
    if (!file) return -8;
    const int status = m_session.fetch(type, file->image(), CCustFile::BLOCK_SIZE);
    if (status < 0) {
        file->setEditEnable(false);
        return status;
    }
    file->bin2cls();
    // A fetched range is what the view may edit and write back.
    file->setEditEnable(true);
    return 0;
}

int CCustEditor::uploadMem(int type) {
    if (!m_session.active()) return -7;
    CCustFile *file = fileFor(type);
    if (!file) return -8;
    file->cls2bin();
    return m_session.store(type, file->image(), CCustFile::BLOCK_SIZE);
}
