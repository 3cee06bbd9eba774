// Mirrors of the system and network records: basic information, temperature correction, network and
// clock sources.
#pragma once

#include "CDeviceConfigBase.h"

class CCameraBasicInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY_RO(QString, cameraId)
    SARVIK_CFG_PROPERTY_RO(QString, cameraType)
    SARVIK_CFG_PROPERTY_RO(QString, fpaId)
    SARVIK_CFG_PROPERTY_RO(QString, hardwareId)
    SARVIK_CFG_PROPERTY_RO(QString, softwareId)
    SARVIK_CFG_PROPERTY(QString, cameraName)
    SARVIK_CFG_PROPERTY_RO(int, dataWidth)
    SARVIK_CFG_PROPERTY_RO(int, dataHeight)
    SARVIK_CFG_PROPERTY_RO(int, dataFps)
    SARVIK_CFG_PROPERTY_RO(QString, dataWHF)
    SARVIK_CFG_PROPERTY(int, dataRatio)
    SARVIK_CFG_PROPERTY(int, sendRatio)
    SARVIK_CFG_PROPERTY(int, dataTransform)
    SARVIK_CFG_PROPERTY(int, desmearLevel)

public:
    explicit CCameraBasicInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CFixInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(float, atmosphericTemperature)
    SARVIK_CFG_PROPERTY(float, relativeHumidity)
    SARVIK_CFG_PROPERTY(float, visibility)
    SARVIK_CFG_PROPERTY(float, rainfallIntensity)
    SARVIK_CFG_PROPERTY(float, snowfallIntensity)
    SARVIK_CFG_PROPERTY(float, targetDistance)
    SARVIK_CFG_PROPERTY(float, globalEmissivity)
    SARVIK_CFG_PROPERTY(float, infraredWindowTrans)
    SARVIK_CFG_PROPERTY(float, tempOffset)
    SARVIK_CFG_PROPERTY(float, infraredWindowTempOffset)
    SARVIK_CFG_PROPERTY(bool, enableAtmFix)

public:
    explicit CFixInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CCameraNetworkInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(bool, useStaticIp)
    SARVIK_CFG_PROPERTY(QString, staticIp)
    SARVIK_CFG_PROPERTY(QString, subnetMask)
    SARVIK_CFG_PROPERTY(QString, gateway)
    SARVIK_CFG_PROPERTY(QString, dns)
    SARVIK_CFG_PROPERTY(QString, dns2)
    SARVIK_CFG_PROPERTY(QString, macAddr)
    SARVIK_CFG_PROPERTY(int, mtu)

public:
    explicit CCameraNetworkInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CCameraTimeInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(QString, ntpServer)
    SARVIK_CFG_PROPERTY(QString, ntpServer2)
    SARVIK_CFG_PROPERTY(QString, timeZone)

public:
    explicit CCameraTimeInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};
