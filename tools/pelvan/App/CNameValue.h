// One option of an enumeration shown by the views: a name (fixed text or translated text) and its value.
#pragma once

#include <QObject>
#include <QString>

class CNameValue : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)

public:
    explicit CNameValue(QObject *parent = nullptr) : QObject(parent) {}
    CNameValue(const QString &name, int value, QObject *parent = nullptr)
        : QObject(parent), m_name(name), m_value(value) {}

    QString name() const { return m_name; }
    void setName(const QString &name);
    int value() const { return m_value; }
    void setValue(int value);

signals:
    void nameChanged();
    void valueChanged();

private:
    QString m_name;
    int m_value = 0;
};
