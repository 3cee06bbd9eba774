// Editor of a local bad-pixel list (".bad"): the camera identifier and size in a 44-byte header, then up
// to 4096 distinct points.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>

class CComPoint : public QObject {
    Q_OBJECT
    Q_PROPERTY(int x READ x WRITE setX NOTIFY xChanged)
    Q_PROPERTY(int y READ y WRITE setY NOTIFY yChanged)

public:
    explicit CComPoint(QObject *parent = nullptr) : QObject(parent) {}
    CComPoint(int x, int y, QObject *parent = nullptr) : QObject(parent), m_x(x), m_y(y) {}

    int x() const { return m_x; }
    void setX(int x);
    int y() const { return m_y; }
    void setY(int y);

signals:
    void xChanged();
    void yChanged();

private:
    int m_x = 0;
    int m_y = 0;
};

class CComEditor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString deviceId READ deviceId WRITE setDeviceId NOTIFY deviceIdChanged)
    Q_PROPERTY(int deviceWidth READ deviceWidth WRITE setDeviceWidth NOTIFY deviceWidthChanged)
    Q_PROPERTY(int deviceHeight READ deviceHeight WRITE setDeviceHeight NOTIFY deviceHeightChanged)
    Q_PROPERTY(QQmlListProperty<CComPoint> pointList READ pointListProperty NOTIFY pointListChanged)

public:
    enum { HEADER_SIZE = 44, ID_SIZE = 32, POINT_MAX = 4096, FILE_MAX = HEADER_SIZE + 4 * POINT_MAX };

    explicit CComEditor(QObject *parent = nullptr);
    ~CComEditor() override;

    static void registerTypes();

    QString deviceId() const { return m_deviceId; }
    void setDeviceId(const QString &id);
    int deviceWidth() const { return m_deviceWidth; }
    void setDeviceWidth(int w);
    int deviceHeight() const { return m_deviceHeight; }
    void setDeviceHeight(int h);
    QQmlListProperty<CComPoint> pointListProperty();
    const QList<CComPoint *> &pointList() const { return m_points; }

    Q_INVOKABLE int load(const QString &path);
    Q_INVOKABLE int save(const QString &path);
    Q_INVOKABLE int point_create(CComPoint *point);
    Q_INVOKABLE int point_delete(CComPoint *point);
    Q_INVOKABLE void point_clear();

signals:
    void deviceIdChanged();
    void deviceWidthChanged();
    void deviceHeightChanged();
    void pointListChanged();

private:
    QString m_deviceId;
    int m_deviceWidth = 0;
    int m_deviceHeight = 0;
    QList<CComPoint *> m_points;
};
