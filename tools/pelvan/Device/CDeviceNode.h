// One entry of the device list: a camera found by discovery or typed in by address.
#pragma once

#include <QObject>
#include <QString>

#include "SarvikSDK.h"

class CDeviceNode : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool edit_select READ edit_select WRITE set_edit_select NOTIFY edit_selectChanged)
    Q_PROPERTY(QString edit_info READ edit_info WRITE set_edit_info NOTIFY edit_infoChanged)
    Q_PROPERTY(QString deviceId READ deviceId WRITE set_deviceId NOTIFY deviceIdChanged)
    Q_PROPERTY(QString deviceIp READ deviceIp WRITE set_deviceIp NOTIFY deviceIpChanged)
    Q_PROPERTY(QString softwareId READ softwareId WRITE set_softwareId NOTIFY softwareIdChanged)
    Q_PROPERTY(QString fpaId READ fpaId WRITE set_fpaId NOTIFY fpaIdChanged)

public:
    explicit CDeviceNode(QObject *parent = nullptr);

    // Takes address, identifier, software and detector ids from a discovery answer; clears edit_select.
    void init(const _DiscoverCameraResp2 &answer);

    bool edit_select() const { return m_edit_select; }
    QString edit_info() const { return m_edit_info; }
    QString deviceId() const { return m_deviceId; }
    QString deviceIp() const { return m_deviceIp; }
    QString softwareId() const { return m_softwareId; }
    QString fpaId() const { return m_fpaId; }

    void set_edit_select(bool v);
    void set_edit_info(const QString &v);
    void set_deviceId(const QString &v);
    void set_deviceIp(const QString &v);
    void set_softwareId(const QString &v);
    void set_fpaId(const QString &v);

signals:
    void edit_selectChanged();
    void edit_infoChanged();
    void deviceIdChanged();
    void deviceIpChanged();
    void softwareIdChanged();
    void fpaIdChanged();

private:
    bool m_edit_select = false;
    QString m_edit_info;
    QString m_deviceId;
    QString m_deviceIp;
    QString m_softwareId;
    QString m_fpaId;
};
