// Mirrors of the advanced and plug-in records: flat-field correction, destripe and denoise filters,
// protocol plug-ins and the GB/T 28181 block.
#pragma once

#include "CDeviceConfigBase.h"

class CFFCInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(int, frames_skipped_after_close)
    SARVIK_CFG_PROPERTY(int, frames_accumlated_when_closed)
    SARVIK_CFG_PROPERTY(int, frames_skipped_after_open)
    SARVIK_CFG_PROPERTY(int, time_interval)
    SARVIK_CFG_PROPERTY(int, temp_interval)
    SARVIK_CFG_PROPERTY(int, af_rebound)
    SARVIK_CFG_PROPERTY(int, fpa_shutter)
    SARVIK_CFG_PROPERTY(int, time_interval_sec)
    SARVIK_CFG_PROPERTY(bool, nst_enable)

public:
    explicit CFFCInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CDestripInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(int, type)
    SARVIK_CFG_PROPERTY(int, s0_radius)
    SARVIK_CFG_PROPERTY(int, s0_regular)
    SARVIK_CFG_PROPERTY(int, s1_radius)
    SARVIK_CFG_PROPERTY(int, s1_regular)
    SARVIK_CFG_PROPERTY(int, sub_y)
    SARVIK_CFG_PROPERTY(int, sub_t)

public:
    explicit CDestripInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CDenoiseInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(int, type)
    SARVIK_CFG_PROPERTY(int, gf_radius)
    SARVIK_CFG_PROPERTY(int, gf_regular)

public:
    explicit CDenoiseInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CCameraPluginInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY_RO(int, version)
    SARVIK_CFG_PROPERTY_RO(int, onvif_version)
    SARVIK_CFG_PROPERTY_RO(int, gb28181_version)
    SARVIK_CFG_PROPERTY_RO(int, modbus_version)
    SARVIK_CFG_PROPERTY(QString, username)
    SARVIK_CFG_PROPERTY(QString, password)
    SARVIK_CFG_PROPERTY(bool, onvif_enable)
    SARVIK_CFG_PROPERTY(bool, gb28181_enable)
    SARVIK_CFG_PROPERTY(bool, h5_enable)
    SARVIK_CFG_PROPERTY(int, modbus_enable)
    SARVIK_CFG_PROPERTY(int, svdatavm_enable)

public:
    explicit CCameraPluginInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CGB28181Info : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY_RO(int, headVersion)
    SARVIK_CFG_PROPERTY(bool, headEnable)
    SARVIK_CFG_PROPERTY(QString, serverId)
    SARVIK_CFG_PROPERTY(QString, serverIp)
    SARVIK_CFG_PROPERTY(QString, deviceId)
    SARVIK_CFG_PROPERTY(QString, streamId)
    SARVIK_CFG_PROPERTY(QString, username)
    SARVIK_CFG_PROPERTY(QString, password)
    SARVIK_CFG_PROPERTY(int, serverPort)
    SARVIK_CFG_PROPERTY(int, devicePort)
    SARVIK_CFG_PROPERTY(int, devicePortRtp)
    SARVIK_CFG_PROPERTY(int, keepAliveInterval)

public:
    explicit CGB28181Info(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};
