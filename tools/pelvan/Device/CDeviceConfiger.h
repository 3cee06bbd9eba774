// The camera configuration of the desktop tool: logs in to one camera at a time, reads and writes its
// records page by page through the mirror objects, moves files and sends control commands. Every SDK call
// here is synchronous and runs on the GUI thread.
#pragma once

#include <QObject>
#include <QString>

#include <array>

#include "CDeviceConfigAdvance.h"
#include "CDeviceConfigInterface.h"
#include "CDeviceConfigSystem.h"
#include "SarvikSDK.h"

class CDeviceNode;

class CDeviceConfiger : public QObject {
    Q_OBJECT
    Q_PROPERTY(CCameraBasicInfo *basicInfo READ basicInfo CONSTANT)
    Q_PROPERTY(CFixInfo *fixInfo READ fixInfo CONSTANT)
    Q_PROPERTY(CCameraNetworkInfo *networkInfo READ networkInfo CONSTANT)
    Q_PROPERTY(CCameraTimeInfo *timeInfo READ timeInfo CONSTANT)
    Q_PROPERTY(CTvoutInfo *tvoutInfo READ tvoutInfo CONSTANT)
    Q_PROPERTY(CCameraOSDInfo *osdInfo READ osdInfo CONSTANT)
    Q_PROPERTY(CSerialPortInfo *serialPortInfo READ serialPortInfo CONSTANT)
    Q_PROPERTY(CGpioInfo *gpioInfo READ gpioInfo CONSTANT)
    Q_PROPERTY(CFFCInfo *ffcInfo READ ffcInfo CONSTANT)
    Q_PROPERTY(CDestripInfo *destripInfo READ destripInfo CONSTANT)
    Q_PROPERTY(CDenoiseInfo *denoiseInfo READ denoiseInfo CONSTANT)
    Q_PROPERTY(CCameraPluginInfo *pluginInfo READ pluginInfo CONSTANT)
    Q_PROPERTY(CGB28181Info *gb28181Info READ gb28181Info CONSTANT)
    // Whether the SDK can broadcast address changes (its answer socket is open); fixed at construction.
    Q_PROPERTY(bool configIpEnable READ configIpEnable CONSTANT)
    // Whether a camera is open, and its address.
    Q_PROPERTY(bool isOpen READ isOpen NOTIFY isOpenChanged)
    Q_PROPERTY(QString deviceIp READ deviceIp NOTIFY isOpenChanged)

public:
    enum DeviceFileType {
        DeviceFileType_bin = 0,
        DeviceFileType_cali = 1,
        DeviceFileType_com = 2,
        DeviceFileType_log = 3,
        DeviceFileType_cali2 = 4,
        DeviceFileType_cali3 = 5,
        DeviceFileType_bad = 6,
        DeviceFileType_c2m = 7,
        DeviceFileType_c2m2 = 8,
        DeviceFileType_cust = 9,
        DeviceFileType_cust2 = 10,
        DeviceFileType_gaowen = 11
    };
    Q_ENUM(DeviceFileType)

    enum DeviceGpioOutputFlag {
        DeviceGpioOutputFlag_light = 1,
        DeviceGpioOutputFlag_ledy = 2,
        DeviceGpioOutputFlag_ledb = 4,
        DeviceGpioOutputFlag_alarm = 8,
        DeviceGpioOutputFlag_buzz = 16
    };
    Q_ENUM(DeviceGpioOutputFlag)

    // Configuration types of getConfig / setConfig.
    static constexpr int kFirstType = 1;
    static constexpr int kLastType = 13;

    explicit CDeviceConfiger(QObject *parent = nullptr);
    ~CDeviceConfiger() override;

    // The configurator itself (not creatable from QML) and the thirteen record mirrors.
    static void registerTypes();
    static void registerRecordTypes();

    CCameraBasicInfo *basicInfo() const { return m_basicInfo; }
    CFixInfo *fixInfo() const { return m_fixInfo; }
    CCameraNetworkInfo *networkInfo() const { return m_networkInfo; }
    CCameraTimeInfo *timeInfo() const { return m_timeInfo; }
    CTvoutInfo *tvoutInfo() const { return m_tvoutInfo; }
    CCameraOSDInfo *osdInfo() const { return m_osdInfo; }
    CSerialPortInfo *serialPortInfo() const { return m_serialPortInfo; }
    CGpioInfo *gpioInfo() const { return m_gpioInfo; }
    CFFCInfo *ffcInfo() const { return m_ffcInfo; }
    CDestripInfo *destripInfo() const { return m_destripInfo; }
    CDenoiseInfo *denoiseInfo() const { return m_denoiseInfo; }
    CCameraPluginInfo *pluginInfo() const { return m_pluginInfo; }
    CGB28181Info *gb28181Info() const { return m_gb28181Info; }
    bool configIpEnable() const { return m_configIpEnable; }
    bool isOpen() const { return m_userId >= 0; }
    QString deviceIp() const;
    int userId() const { return m_userId; }
    // The mirror of a configuration type, null outside 1-13.
    CDeviceConfigBase *configObject(int configType) const;

    // Logs in to node's camera: -7 while one is open, -8 without a node, else the login's status.
    Q_INVOKABLE int startWork(CDeviceNode *node);
    Q_INVOKABLE int stopWork();
    Q_INVOKABLE int getConfig(int configType);
    Q_INVOKABLE int setConfig(int configType);
    Q_INVOKABLE int getConfigAll();
    Q_INVOKABLE int uploadFile(int fileType, const QString &fn);
    Q_INVOKABLE int downloadFile(int fileType, const QString &fn);
    Q_INVOKABLE QString ft2suffix(int ft) const;
    Q_INVOKABLE int configIp(CCameraNetworkInfo *networkInfo, const QString &cameraId);
    Q_INVOKABLE int control_setGpioOutput(int gpioFlag, int gpioValue);
    Q_INVOKABLE int control_setTime(int mode);
    Q_INVOKABLE QString control_getTime();
    Q_INVOKABLE int control_setShutter(int value);
    Q_INVOKABLE int control_restoreFactory();
    Q_INVOKABLE int control_restartDevice();
    Q_INVOKABLE double calcTrans(double t1, double t2, double envTemp) const;

    // The firmware name rule of uploadFile(0, ...), on the path in the local 8-bit encoding: 0 or -8.
    static int checkFirmwareName(const QByteArray &path, const QString &softwareId);

signals:
    void isOpenChanged();

private:
    // One record buffer per configuration type, each holding the last read.
    struct Records {
        _CameraBasicInfo basic;
        _FixInfo fix;
        _CameraNetworkInfo network;
        _CameraTimeInfo time;
        _TvoutInfo tvout;
        _CameraOSDInfo osd;
        _SerialPortInfo serial;
        _GpioInfo gpio;
        _FFCInfo ffc;
        _DestripInfo destrip;
        _DenoiseInfo denoise;
        _CameraPluginInfo plugin;
        GB28181Block gb28181;
    };

    // The buffer of a type and its size.
    void *recordBuffer(int configType, int *size);
    // Reads type configType from the camera into buf (the type's record size); the SDK's status.
    int readRecord(int configType, void *buf);
    int writeRecord(int configType, const void *buf);
    int sendControl(uint16_t code, int param);
    int sendControlX(_CtlX *x);

    int m_userId = -1;
    _LoginInfo m_login{};
    Records m_records{};
    std::array<bool, kLastType + 1> m_loaded{};
    bool m_configIpEnable = false;

    CCameraBasicInfo *m_basicInfo;
    CFixInfo *m_fixInfo;
    CCameraNetworkInfo *m_networkInfo;
    CCameraTimeInfo *m_timeInfo;
    CTvoutInfo *m_tvoutInfo;
    CCameraOSDInfo *m_osdInfo;
    CSerialPortInfo *m_serialPortInfo;
    CGpioInfo *m_gpioInfo;
    CFFCInfo *m_ffcInfo;
    CDestripInfo *m_destripInfo;
    CDenoiseInfo *m_denoiseInfo;
    CCameraPluginInfo *m_pluginInfo;
    CGB28181Info *m_gb28181Info;
};
