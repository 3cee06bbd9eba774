// One option with a description and an icon (the measurement tools): type code, translated name and
// description, icon resource URL.
#pragma once

#include <QObject>
#include <QString>

class CTypeNameDescIcon : public QObject {
    Q_OBJECT
    Q_PROPERTY(int type READ type WRITE setType NOTIFY typeChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString desc READ desc WRITE setDesc NOTIFY descChanged)
    Q_PROPERTY(QString icon READ icon WRITE setIcon NOTIFY iconChanged)

public:
    explicit CTypeNameDescIcon(QObject *parent = nullptr) : QObject(parent) {}
    CTypeNameDescIcon(int type, const QString &name, const QString &desc, const QString &icon,
                      QObject *parent = nullptr)
        : QObject(parent), m_type(type), m_name(name), m_desc(desc), m_icon(icon) {}

    int type() const { return m_type; }
    void setType(int type);
    QString name() const { return m_name; }
    void setName(const QString &name);
    QString desc() const { return m_desc; }
    void setDesc(const QString &desc);
    QString icon() const { return m_icon; }
    void setIcon(const QString &icon);

signals:
    void typeChanged();
    void nameChanged();
    void descChanged();
    void iconChanged();

private:
    int m_type = 0;
    QString m_name;
    QString m_desc;
    QString m_icon;
};
