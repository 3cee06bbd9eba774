#include "CDeviceConfigSystem.h"

#include <cstring>

#include "AddressHelpers.h"
#include "SarvikSDK.h"

using namespace cfgconv;

// ---- CCameraBasicInfo --------------------------------------------------------------------------------

CCameraBasicInfo::CCameraBasicInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CCameraBasicInfo::recordSize() const {
    return sizeof(_CameraBasicInfo);
}

int CCameraBasicInfo::bin2cls(const void *record, int size) {
    _CameraBasicInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_cameraId(textFrom(r.cameraId, sizeof r.cameraId));
    set_cameraName(textFrom(r.cameraName, sizeof r.cameraName));
    set_cameraType(textFrom(r.cameraType, sizeof r.cameraType));
    set_fpaId(textFrom(r.fpaId, sizeof r.fpaId));
    set_hardwareId(textFrom(r.hardwareId, sizeof r.hardwareId));
    set_softwareId(textFrom(r.softwareId, sizeof r.softwareId));
    set_dataWidth(r.dataWidth);
    set_dataHeight(r.dataHeight);
    set_dataFps(r.dataFps);
    set_dataWHF(QString::asprintf("%dx%d@%dHz", r.dataWidth, r.dataHeight, r.dataFps));
    set_dataRatio(r.dataRatio);
    set_sendRatio(r.sendRatio);
    set_dataTransform(r.dataTransform);
    set_desmearLevel(r.desmearLevel);
    return 0;
}

int CCameraBasicInfo::cls2bin(void *record, int size) const {
    _CameraBasicInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    textTo(cameraId(), r.cameraId, sizeof r.cameraId);
    textTo(cameraName(), r.cameraName, sizeof r.cameraName);
    textTo(cameraType(), r.cameraType, sizeof r.cameraType);
    textTo(fpaId(), r.fpaId, sizeof r.fpaId);
    textTo(hardwareId(), r.hardwareId, sizeof r.hardwareId);
    textTo(softwareId(), r.softwareId, sizeof r.softwareId);
    r.dataWidth = clampTo<uint16_t>(dataWidth());
    r.dataHeight = clampTo<uint16_t>(dataHeight());
    r.dataFps = clampTo<uint16_t>(dataFps());
    r.dataRatio = clampTo<uint16_t>(dataRatio());
    r.sendRatio = clampTo<uint16_t>(sendRatio());
    r.dataTransform = clampTo<uint8_t>(dataTransform());
    r.desmearLevel = clampTo<uint8_t>(desmearLevel());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CCameraBasicInfo::reset() {
    _CameraBasicInfo r{};
    bin2cls(&r, sizeof r);
}

// ---- CFixInfo ----------------------------------------------------------------------------------------

CFixInfo::CFixInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CFixInfo::recordSize() const {
    return sizeof(_FixInfo);
}

int CFixInfo::bin2cls(const void *record, int size) {
    _FixInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_atmosphericTemperature(r.atmosphericTemperature);
    set_relativeHumidity(r.relativeHumidity);
    set_visibility(r.visibility);
    set_rainfallIntensity(r.rainfallIntensity);
    set_snowfallIntensity(r.snowfallIntensity);
    set_targetDistance(r.targetDistance);
    set_globalEmissivity(r.globalEmissivity);
    set_infraredWindowTrans(r.infraredWindowTrans);
    set_tempOffset(r.tempOffset);
    set_enableAtmFix(r.enableAtmFix != 0);
    set_infraredWindowTempOffset(r.infraredWindowTempOffset);
    return 0;
}

int CFixInfo::cls2bin(void *record, int size) const {
    _FixInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.atmosphericTemperature = atmosphericTemperature();
    r.relativeHumidity = relativeHumidity();
    r.visibility = visibility();
    r.rainfallIntensity = rainfallIntensity();
    r.snowfallIntensity = snowfallIntensity();
    r.targetDistance = targetDistance();
    r.globalEmissivity = globalEmissivity();
    r.infraredWindowTrans = infraredWindowTrans();
    r.tempOffset = tempOffset();
    r.enableAtmFix = enableAtmFix() ? 1 : 0;
    r.infraredWindowTempOffset = infraredWindowTempOffset();
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CFixInfo::reset() {
    _FixInfo r{};
    r.atmosphericTemperature = 20;
    r.relativeHumidity = 50;
    r.visibility = 20;
    r.targetDistance = 1000;
    r.globalEmissivity = 0.97f;
    r.infraredWindowTrans = 1;
    bin2cls(&r, sizeof r);
}

// ---- CCameraNetworkInfo ------------------------------------------------------------------------------

CCameraNetworkInfo::CCameraNetworkInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CCameraNetworkInfo::recordSize() const {
    return sizeof(_CameraNetworkInfo);
}

int CCameraNetworkInfo::bin2cls(const void *record, int size) {
    _CameraNetworkInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_useStaticIp(r.useStaticIp != 0);
    set_staticIp(ip_uint2qstring(r.staticIp));
    set_subnetMask(ip_uint2qstring(r.subnetMask));
    set_gateway(ip_uint2qstring(r.gateway));
    set_dns(ip_uint2qstring(r.dns));
    set_dns2(ip_uint2qstring(r.dns2));
    set_macAddr(mac_ba2qstring(r.macAddr));
    set_mtu(r.mtu);
    return 0;
}

int CCameraNetworkInfo::cls2bin(void *record, int size) const {
    _CameraNetworkInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.useStaticIp = useStaticIp() ? 1 : 0;
    r.staticIp = ip_qstring2uint(staticIp());
    r.subnetMask = ip_qstring2uint(subnetMask());
    r.gateway = ip_qstring2uint(gateway());
    r.dns = ip_qstring2uint(dns());
    r.dns2 = ip_qstring2uint(dns2());
    // A text too short to hold six pairs leaves the MAC as it was.
    mac_qstring2ba(macAddr(), r.macAddr);
    r.mtu = clampTo<uint16_t>(mtu());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CCameraNetworkInfo::reset() {
    _CameraNetworkInfo r{};
    r.staticIp = ip_string2uint("192.168.1.201");
    r.subnetMask = ip_string2uint("255.255.255.0");
    r.gateway = ip_string2uint("192.168.1.1");
    r.dns = ip_string2uint("8.8.8.8");
    r.dns2 = ip_string2uint("1.1.1.1");
    bin2cls(&r, sizeof r);
}

// ---- CCameraTimeInfo ---------------------------------------------------------------------------------

CCameraTimeInfo::CCameraTimeInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CCameraTimeInfo::recordSize() const {
    return sizeof(_CameraTimeInfo);
}

int CCameraTimeInfo::bin2cls(const void *record, int size) {
    _CameraTimeInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_ntpServer(textFrom(r.ntpServer, sizeof r.ntpServer));
    set_ntpServer2(textFrom(r.ntpServer2, sizeof r.ntpServer2));
    set_timeZone(textFrom(r.timeZone, sizeof r.timeZone));
    return 0;
}

int CCameraTimeInfo::cls2bin(void *record, int size) const {
    _CameraTimeInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    textTo(ntpServer(), r.ntpServer, sizeof r.ntpServer);
    textTo(ntpServer2(), r.ntpServer2, sizeof r.ntpServer2);
    textTo(timeZone(), r.timeZone, sizeof r.timeZone);
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CCameraTimeInfo::reset() {
    _CameraTimeInfo r{};
    textTo(QStringLiteral("0.pool.ntp.org"), r.ntpServer, sizeof r.ntpServer);
    textTo(QStringLiteral("1.pool.ntp.org"), r.ntpServer2, sizeof r.ntpServer2);
    textTo(QStringLiteral("Asia/Shanghai"), r.timeZone, sizeof r.timeZone);
    bin2cls(&r, sizeof r);
}
