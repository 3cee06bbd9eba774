#include "CDeviceConfiger.h"

#include <QDateTime>
#include <QUrl>
#include <QtDebug>
#include <QtQml>

#include <algorithm>
#include <cstring>

#include "CDeviceNode.h"

namespace {

constexpr int kGb28181Size = static_cast<int>(sizeof(GB28181Block));

// QML file dialogs hand out URLs; the SDK wants a local path.
QByteArray localPath(const QString &fn) {
    const QString path = fn.startsWith(QLatin1String("file:")) ? QUrl(fn).toLocalFile() : fn;
    return path.toLocal8Bit();
}

}  // namespace

CDeviceConfiger::CDeviceConfiger(QObject *parent)
    : QObject(parent),
      m_basicInfo(new CCameraBasicInfo(this)),
      m_fixInfo(new CFixInfo(this)),
      m_networkInfo(new CCameraNetworkInfo(this)),
      m_timeInfo(new CCameraTimeInfo(this)),
      m_tvoutInfo(new CTvoutInfo(this)),
      m_osdInfo(new CCameraOSDInfo(this)),
      m_serialPortInfo(new CSerialPortInfo(this)),
      m_gpioInfo(new CGpioInfo(this)),
      m_ffcInfo(new CFFCInfo(this)),
      m_destripInfo(new CDestripInfo(this)),
      m_denoiseInfo(new CDenoiseInfo(this)),
      m_pluginInfo(new CCameraPluginInfo(this)),
      m_gb28181Info(new CGB28181Info(this)) {
    // A null request only asks whether the answer socket is open: nothing goes on the network.
    m_configIpEnable = Sarvik_DiscoverConfigIP(nullptr) == 0;
}

CDeviceConfiger::~CDeviceConfiger() {
    stopWork();
}

void CDeviceConfiger::registerTypes() {
    qmlRegisterUncreatableType<CDeviceConfiger>(
        "Sarvik", 1, 0, "CDeviceConfiger", QStringLiteral("the configurator belongs to the device manager"));
}

void CDeviceConfiger::registerRecordTypes() {
    const char *uri = "Sarvik";
    // Creatable: a page may keep a record of its own, as the batch page's network form does.
    qmlRegisterType<CCameraBasicInfo>(uri, 1, 0, "CCameraBasicInfo");
    qmlRegisterType<CFixInfo>(uri, 1, 0, "CFixInfo");
    qmlRegisterType<CCameraNetworkInfo>(uri, 1, 0, "CCameraNetworkInfo");
    qmlRegisterType<CCameraTimeInfo>(uri, 1, 0, "CCameraTimeInfo");
    qmlRegisterType<CTvoutInfo>(uri, 1, 0, "CTvoutInfo");
    qmlRegisterType<CCameraOSDInfo>(uri, 1, 0, "CCameraOSDInfo");
    qmlRegisterType<CSerialPortInfo>(uri, 1, 0, "CSerialPortInfo");
    qmlRegisterType<CGpioInfo>(uri, 1, 0, "CGpioInfo");
    qmlRegisterType<CFFCInfo>(uri, 1, 0, "CFFCInfo");
    qmlRegisterType<CDestripInfo>(uri, 1, 0, "CDestripInfo");
    qmlRegisterType<CDenoiseInfo>(uri, 1, 0, "CDenoiseInfo");
    qmlRegisterType<CCameraPluginInfo>(uri, 1, 0, "CCameraPluginInfo");
    qmlRegisterType<CGB28181Info>(uri, 1, 0, "CGB28181Info");
}

QString CDeviceConfiger::deviceIp() const {
    return isOpen() ? cfgconv::textFrom(m_login.ip, sizeof m_login.ip) : QString();
}

CDeviceConfigBase *CDeviceConfiger::configObject(int configType) const {
    const std::array<CDeviceConfigBase *, kLastType + 1> objects = {
        nullptr,          m_basicInfo, m_fixInfo, m_networkInfo, m_timeInfo,    m_tvoutInfo,  m_osdInfo,
        m_serialPortInfo, m_gpioInfo,  m_ffcInfo, m_destripInfo, m_denoiseInfo, m_pluginInfo, m_gb28181Info};
    return configType >= kFirstType && configType <= kLastType ? objects[configType] : nullptr;
}

void *CDeviceConfiger::recordBuffer(int configType, int *size) {
    CDeviceConfigBase *obj = configObject(configType);
    if (size) *size = obj ? obj->recordSize() : 0;
    if (!obj) return nullptr;
    const std::array<void *, kLastType + 1> buffers = {
        nullptr,           &m_records.basic,  &m_records.fix,     &m_records.network,
        &m_records.time,   &m_records.tvout,  &m_records.osd,     &m_records.serial,
        &m_records.gpio,   &m_records.ffc,    &m_records.destrip, &m_records.denoise,
        &m_records.plugin, &m_records.gb28181};
    return buffers[configType];
}

int CDeviceConfiger::readRecord(int configType, void *buf) {
    const int id = m_userId;
    switch (configType) {
        case 1:
            return Sarvik_GetCameraBasicInfo(id, static_cast<_CameraBasicInfo *>(buf));
        case 2:
            return Sarvik_GetFixInfo(id, static_cast<_FixInfo *>(buf));
        case 3:
            return Sarvik_GetCameraNetworkInfo(id, static_cast<_CameraNetworkInfo *>(buf));
        case 4:
            return Sarvik_GetCameraTimeInfo(id, static_cast<_CameraTimeInfo *>(buf));
        case 5:
            return Sarvik_GetTvoutInfo(id, static_cast<_TvoutInfo *>(buf));
        case 6:
            return Sarvik_GetCameraOSDInfo(id, static_cast<_CameraOSDInfo *>(buf));
        case 7:
            return Sarvik_GetSerialPortInfo(id, static_cast<_SerialPortInfo *>(buf));
        case 8:
            return Sarvik_GetGpioInfo(id, static_cast<_GpioInfo *>(buf));
        case 9:
            return Sarvik_GetFFCInfo(id, static_cast<_FFCInfo *>(buf));
        case 10:
            return Sarvik_GetInfo(id, SARVIK_INFO_DESTRIP, buf, sizeof(_DestripInfo));
        case 11:
            return Sarvik_GetInfo(id, SARVIK_INFO_DENOISE, buf, sizeof(_DenoiseInfo));
        case 12:
            return Sarvik_GetCameraPluginInfo(id, static_cast<_CameraPluginInfo *>(buf));
        case 13: {
            int size = kGb28181Size;
            const int ret = Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, buf, &size);
            // A shorter block would leave the rest of the record stale: not a block we can show.
            if (ret == 0 && size != kGb28181Size) return SARVIK_ERR_RECV;
            return ret;
        }
        default:
            return SARVIK_ERR_INVALID_ARG;
    }
}

int CDeviceConfiger::writeRecord(int configType, const void *buf) {
    const int id = m_userId;
    switch (configType) {
        case 1:
            return Sarvik_SetCameraBasicInfo(id, static_cast<const _CameraBasicInfo *>(buf));
        case 2:
            return Sarvik_SetFixInfo(id, static_cast<const _FixInfo *>(buf));
        case 3:
            return Sarvik_SetCameraNetworkInfo(id, static_cast<const _CameraNetworkInfo *>(buf));
        case 4:
            return Sarvik_SetCameraTimeInfo(id, static_cast<const _CameraTimeInfo *>(buf));
        case 5:
            return Sarvik_SetTvoutInfo(id, static_cast<const _TvoutInfo *>(buf));
        case 6:
            return Sarvik_SetCameraOSDInfo(id, static_cast<const _CameraOSDInfo *>(buf));
        case 7:
            return Sarvik_SetSerialPortInfo(id, static_cast<const _SerialPortInfo *>(buf));
        case 8:
            return Sarvik_SetGpioInfo(id, static_cast<const _GpioInfo *>(buf));
        case 9:
            return Sarvik_SetFFCInfo(id, static_cast<const _FFCInfo *>(buf));
        case 10:
            return Sarvik_SetInfo(id, SARVIK_INFO_DESTRIP, buf, sizeof(_DestripInfo));
        case 11:
            return Sarvik_SetInfo(id, SARVIK_INFO_DENOISE, buf, sizeof(_DenoiseInfo));
        case 12:
            return Sarvik_SetCameraPluginInfo(id, static_cast<const _CameraPluginInfo *>(buf));
        case 13:
            return Sarvik_UploadMem(id, SARVIK_MEM_GB28181, buf, kGb28181Size);
        default:
            return SARVIK_ERR_INVALID_ARG;
    }
}

int CDeviceConfiger::startWork(CDeviceNode *node) {
    if (isOpen()) return SARVIK_ERR_STATE;
    if (!node) return SARVIK_ERR_INVALID_ARG;
    std::memset(&m_login, 0, sizeof m_login);
    const QByteArray ip = node->deviceIp().toUtf8();
    std::strncpy(m_login.ip, ip.constData(), sizeof m_login.ip - 1);
    _CameraBasicInfo basic{};
    const int ret = Sarvik_Login(&m_login, &basic);
    qInfo("device config: login %s, ret %d", m_login.ip, ret);
    if (ret < 0) return ret;
    m_userId = ret;
    m_loaded.fill(false);
    for (int t = kFirstType; t <= kLastType; ++t) configObject(t)->set_edit_isvalid(false);
    m_records.basic = basic;
    m_basicInfo->bin2cls(&m_records.basic, sizeof m_records.basic);
    m_loaded[1] = true;
    m_basicInfo->set_edit_isvalid(true);
    emit isOpenChanged();
    return 0;
}

int CDeviceConfiger::stopWork() {
    if (!isOpen()) return 0;
    Sarvik_Logout(m_userId);
    m_userId = -1;
    emit isOpenChanged();
    return 0;
}

int CDeviceConfiger::getConfig(int configType) {
    if (configType < kFirstType || configType > kLastType) return SARVIK_ERR_INVALID_ARG;
    if (!isOpen()) return SARVIK_ERR_STATE;
    if (m_loaded[configType]) return 0;
    int size = 0;
    void *buf = recordBuffer(configType, &size);
    // Read into a copy: a failed transfer may leave part of a block behind, and the buffer keeps the last
    // good read for the next write.
    QByteArray fresh(static_cast<const char *>(buf), size);
    const int ret = readRecord(configType, fresh.data());
    CDeviceConfigBase *obj = configObject(configType);
    if (ret == 0) {
        std::memcpy(buf, fresh.constData(), static_cast<size_t>(size));
        obj->bin2cls(buf, size);
        m_loaded[configType] = true;
    }
    obj->set_edit_isvalid(ret == 0);
    if (ret != 0) qWarning("device config: read type %d, ret %d", configType, ret);
    return ret;
}

int CDeviceConfiger::setConfig(int configType) {
    if (configType < kFirstType || configType > kLastType) return SARVIK_ERR_INVALID_ARG;
    if (!isOpen()) return SARVIK_ERR_STATE;
    int size = 0;
    void *buf = recordBuffer(configType, &size);
    if (!m_loaded[configType]) {
        // The reserved bytes go back as this camera holds them, never as another camera (or nobody) had them.
        QByteArray fresh(size, '\0');
        const int ret = readRecord(configType, fresh.data());
        if (ret != 0) {
            qWarning("device config: read before write, type %d, ret %d", configType, ret);
            return ret;
        }
        std::memcpy(buf, fresh.constData(), static_cast<size_t>(size));
    }
    configObject(configType)->cls2bin(buf, size);
    const int ret = writeRecord(configType, buf);
    // Only the type and the status: records 12 and 13 carry passwords.
    qInfo("device config: write type %d, ret %d", configType, ret);
    return ret;
}

int CDeviceConfiger::getConfigAll() {
    if (!isOpen()) return SARVIK_ERR_STATE;
    for (int t = kFirstType; t <= kLastType; ++t) getConfig(t);
    return 0;
}

int CDeviceConfiger::checkFirmwareName(const QByteArray &path, const QString &softwareId) {
    const int n = path.size();
    // The separator is looked for from 9 characters before the end; a shorter path has no place to start.
    if (n < 9) return SARVIK_ERR_INVALID_ARG;
    int i = n - 9;
    while (i >= 0 && path[i] != '/' && path[i] != '\\') --i;
    if (i < 0) return SARVIK_ERR_INVALID_ARG;
    const QByteArray name = path.mid(i + 1);
    if (name.size() <= 5) return SARVIK_ERR_INVALID_ARG;
    if (name.startsWith("IRAPP")) return 0;
    // An identifier shorter than five characters would make every name its prefix.
    const QByteArray sw = softwareId.toLocal8Bit();
    if (sw.size() >= 5 && name.startsWith(sw.left(5))) return 0;
    return SARVIK_ERR_INVALID_ARG;
}

int CDeviceConfiger::uploadFile(int fileType, const QString &fn) {
    if (!isOpen()) return SARVIK_ERR_STATE;
    const QByteArray path = localPath(fn);
    if (fileType == DeviceFileType_cust || fileType == DeviceFileType_cust2) return SARVIK_ERR_REFUSED;
    if (fileType == DeviceFileType_bin) {
        const QString sw = cfgconv::textFrom(m_records.basic.softwareId, sizeof m_records.basic.softwareId);
        if (checkFirmwareName(path, sw) != 0) {
            qWarning("device config: firmware name refused: %s", path.constData());
            return SARVIK_ERR_INVALID_ARG;
        }
    }
    if (fileType == DeviceFileType_bad) {
        BadPixelIdentity identity{};
        std::memcpy(identity.cameraId, m_records.basic.cameraId, sizeof identity.cameraId);
        identity.width = m_records.basic.dataWidth;
        identity.height = m_records.basic.dataHeight;
        const int check = caliVerifyBad(path.constData(), &identity);
        if (check < 0) {
            qWarning("device config: bad-pixel list %s refused, %d", path.constData(), check);
            return check;
        }
    }
    const int ret = Sarvik_UploadFile(m_userId, path.constData(), fileType);
    qInfo("device config: upload type %d %s, ret %d", fileType, path.constData(), ret);
    return ret;
}

int CDeviceConfiger::downloadFile(int fileType, const QString &fn) {
    if (!isOpen()) return SARVIK_ERR_STATE;
    const QByteArray path = localPath(fn);
    const int ret = Sarvik_DownloadFile(m_userId, path.constData(), fileType);
    qInfo("device config: download type %d %s, ret %d", fileType, path.constData(), ret);
    return ret;
}

QString CDeviceConfiger::ft2suffix(int ft) const {
    static const char *const suffixes[] = {".bin", ".cali", ".com",  ".log", ".cali2", ".cali3",
                                           ".bad", ".c2m",  ".c2m2", "",     "",       ".gaowen"};
    if (ft < 0 || ft >= static_cast<int>(sizeof suffixes / sizeof suffixes[0])) return QString();
    return QString::fromLatin1(suffixes[ft]);
}

int CDeviceConfiger::configIp(CCameraNetworkInfo *networkInfo, const QString &cameraId) {
    if (!networkInfo) return SARVIK_ERR_INVALID_ARG;
    const QByteArray id = cameraId.toUtf8();
    // A broadcast naming nobody would only wait for an answer that cannot come.
    if (id.isEmpty()) return SARVIK_ERR_INVALID_ARG;
    _DiscoverConfigIPInfo request{};
    std::memcpy(request.cameraId, id.constData(), std::min<size_t>(id.size(), sizeof request.cameraId));
    networkInfo->cls2bin(&request.network, sizeof request.network);
    const int ret = Sarvik_DiscoverConfigIP(&request);
    qInfo("device config: address change for %s, ret %d", id.constData(), ret);
    return ret;
}

int CDeviceConfiger::sendControl(uint16_t code, int param) {
    if (!isOpen()) return SARVIK_ERR_STATE;
    _Ctl ctl{};
    ctl.command = code;
    ctl.param[0] = static_cast<uint8_t>(param);
    const int ret = Sarvik_SendControl(m_userId, &ctl);
    qInfo("device config: control %d, ret %d", code, ret);
    return ret;
}

int CDeviceConfiger::sendControlX(_CtlX *x) {
    if (!isOpen()) return SARVIK_ERR_STATE;
    const int command = x->command;
    const int ret = Sarvik_SendControlX(m_userId, x);
    qInfo("device config: extended control %d, ret %d", command, ret);
    return ret;
}

int CDeviceConfiger::control_setGpioOutput(int gpioFlag, int gpioValue) {
    _CtlX x{};
    x.command = SARVIK_CTLX_SET_GPIO;
    x.data[0] = gpioFlag;
    x.data[1] = gpioValue;
    return sendControlX(&x);
}

int CDeviceConfiger::control_setTime(int mode) {
    _CtlX x{};
    if (mode == 0) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        x.command = SARVIK_CTLX_SET_TIME;
        x.data[0] = now.date().year();
        x.data[1] = now.date().month();
        x.data[2] = now.date().day();
        x.data[3] = now.time().hour();
        x.data[4] = now.time().minute();
        x.data[5] = now.time().second();
    } else {
        x.command = SARVIK_CTLX_SYNC_NTP;
    }
    return sendControlX(&x);
}

QString CDeviceConfiger::control_getTime() {
    _CtlX x{};
    x.command = SARVIK_CTLX_GET_TIME;
    if (sendControlX(&x) != 0) return QString();
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", x.data[0], x.data[1], x.data[2], x.data[3],
                             x.data[4], x.data[5]);
}

int CDeviceConfiger::control_setShutter(int value) {
    return sendControl(SARVIK_CTL_SHUTTER, value);
}

int CDeviceConfiger::control_restoreFactory() {
    return sendControl(SARVIK_CTL_FACTORY_RESET, 0);
}

int CDeviceConfiger::control_restartDevice() {
    return sendControl(SARVIK_CTL_RESTART, 0);
}

double CDeviceConfiger::calcTrans(double t1, double t2, double envTemp) const {
    return FixTrans_CalcTrans(t1, t2, envTemp);
}
