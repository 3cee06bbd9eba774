// The dual-light tool's configuration: the record stored as "QelmConfig.bin" in its own configuration
// directory, and its QObject view. The desktop tool's record has another layout and another marker, so
// neither tool takes the other's file.
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct QelmConfigBin {
    uint32_t magic;
    int32_t language;        // 0 Chinese (zh_CN), 1 English (en_US)
    char saveDir[1024];      // UTF-8, zero-terminated
    char ir_ip[128];         // thermal camera address, zero-terminated
    char vis_ip[16];         // visible camera IPv4 address, zero-terminated
    char vis_username[64];   // zero-terminated
    char vis_password[64];   // zero-terminated
};
#pragma pack(pop)
static_assert(sizeof(QelmConfigBin) == 1304, "QelmConfig.bin is 1304 bytes");
static_assert(offsetof(QelmConfigBin, ir_ip) == 1032, "ir_ip at 1032");
static_assert(offsetof(QelmConfigBin, vis_ip) == 1160, "vis_ip at 1160");

class CAppConfig : public QObject {
    Q_OBJECT
    Q_PROPERTY(int language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString saveDir READ saveDir WRITE setSaveDir NOTIFY saveDirChanged)
    Q_PROPERTY(QString ir_ip READ ir_ip WRITE set_ir_ip NOTIFY ir_ipChanged)
    Q_PROPERTY(QString vis_ip READ vis_ip WRITE set_vis_ip NOTIFY vis_ipChanged)
    Q_PROPERTY(QString vis_username READ vis_username WRITE set_vis_username NOTIFY vis_usernameChanged)
    Q_PROPERTY(QString vis_password READ vis_password WRITE set_vis_password NOTIFY vis_passwordChanged)

public:
    static constexpr uint32_t kMagic = 0x4D4C4551u;  // "QELM" in the file

    explicit CAppConfig(QObject *parent = nullptr);

    const QelmConfigBin &bin() const { return m_bin; }
    // Applies a record: every property that differs emits its signal; a text longer than its field (less
    // the terminator) is ignored and the previous one stays.
    void bin2cls(const QelmConfigBin &record);
    void cls2bin(QelmConfigBin &record) const;
    Q_INVOKABLE void cls2cls(CAppConfig *other);

    // True when the language is 0 or 1 and the visible address is empty or dotted IPv4.
    Q_INVOKABLE bool isValid() const;
    // Dotted IPv4 with four fields of 0..255.
    Q_INVOKABLE static bool isIPv4(const QString &text);

    int language() const { return m_bin.language; }
    void setLanguage(int language);
    QString saveDir() const { return text(m_bin.saveDir, sizeof(m_bin.saveDir)); }
    void setSaveDir(const QString &dir);
    QString ir_ip() const { return text(m_bin.ir_ip, sizeof(m_bin.ir_ip)); }
    void set_ir_ip(const QString &ip);
    QString vis_ip() const { return text(m_bin.vis_ip, sizeof(m_bin.vis_ip)); }
    void set_vis_ip(const QString &ip);
    QString vis_username() const { return text(m_bin.vis_username, sizeof(m_bin.vis_username)); }
    void set_vis_username(const QString &name);
    QString vis_password() const { return text(m_bin.vis_password, sizeof(m_bin.vis_password)); }
    void set_vis_password(const QString &password);

signals:
    void languageChanged();
    void saveDirChanged();
    void ir_ipChanged();
    void vis_ipChanged();
    void vis_usernameChanged();
    void vis_passwordChanged();

private:
    static QString text(const char *field, size_t size);
    // Takes the text into a field when it differs and fits; true when taken.
    static bool setText(char *field, size_t size, const QString &value);

    QelmConfigBin m_bin;
};
