// What the gallery page needs from its program: the font families to try the controls in, and a way to
// switch the application font (plain Text items take the application font when they are created, so the
// page reloads itself after a switch).
#pragma once

#include <QObject>
#include <QStringList>

class GalleryHost : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList fontFamilies READ fontFamilies CONSTANT)
    Q_PROPERTY(QString fontFamily READ fontFamily NOTIFY fontFamilyChanged)

public:
    explicit GalleryHost(QObject *parent = nullptr);

    QStringList fontFamilies() const { return m_families; }
    QString fontFamily() const { return m_family; }

    // Makes `family` the application font; unknown families are refused (returns false).
    Q_INVOKABLE bool setFontFamily(const QString &family);

signals:
    void fontFamilyChanged();

private:
    QStringList m_families;
    QString m_family;
};
