#include "CDeviceConfigAdvance.h"

#include <cstring>

#include "SarvikSDK.h"

using namespace cfgconv;

// ---- CFFCInfo ----------------------------------------------------------------------------------------

CFFCInfo::CFFCInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CFFCInfo::recordSize() const {
    return sizeof(_FFCInfo);
}

int CFFCInfo::bin2cls(const void *record, int size) {
    _FFCInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_frames_skipped_after_close(r.frames_skipped_after_close);
    set_frames_accumlated_when_closed(r.frames_accumlated_when_closed);
    set_frames_skipped_after_open(r.frames_skipped_after_open);
    set_nst_enable(r.nst_enable != 0);
    set_time_interval(r.time_interval);
    set_temp_interval(r.temp_interval);
    set_af_rebound(r.af_rebound);
    set_fpa_shutter(r.fpa_shutter);
    set_time_interval_sec(r.time_interval_sec);
    return 0;
}

int CFFCInfo::cls2bin(void *record, int size) const {
    _FFCInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.frames_skipped_after_close = clampTo<uint8_t>(frames_skipped_after_close());
    r.frames_accumlated_when_closed = clampTo<uint8_t>(frames_accumlated_when_closed());
    r.frames_skipped_after_open = clampTo<uint8_t>(frames_skipped_after_open());
    r.nst_enable = nst_enable() ? 1 : 0;
    r.time_interval = clampTo<uint16_t>(time_interval());
    r.temp_interval = clampTo<uint16_t>(temp_interval());
    r.af_rebound = clampTo<uint8_t>(af_rebound());
    r.fpa_shutter = clampTo<uint8_t>(fpa_shutter());
    r.time_interval_sec = clampTo<uint16_t>(time_interval_sec());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CFFCInfo::reset() {
    _FFCInfo r{};
    bin2cls(&r, sizeof r);
}

// ---- CDestripInfo ------------------------------------------------------------------------------------

CDestripInfo::CDestripInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CDestripInfo::recordSize() const {
    return sizeof(_DestripInfo);
}

int CDestripInfo::bin2cls(const void *record, int size) {
    _DestripInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_type(r.type);
    set_s0_radius(r.s0_radius);
    set_s0_regular(r.s0_regular);
    set_s1_radius(r.s1_radius);
    set_s1_regular(r.s1_regular);
    set_sub_y(r.sub_y);
    set_sub_t(r.sub_t);
    return 0;
}

int CDestripInfo::cls2bin(void *record, int size) const {
    _DestripInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.type = clampTo<uint16_t>(type());
    r.s0_radius = clampTo<uint16_t>(s0_radius());
    r.s0_regular = clampTo<uint16_t>(s0_regular());
    r.s1_radius = clampTo<uint16_t>(s1_radius());
    r.s1_regular = clampTo<uint16_t>(s1_regular());
    r.sub_y = clampTo<uint8_t>(sub_y());
    r.sub_t = clampTo<uint8_t>(sub_t());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CDestripInfo::reset() {
    _DestripInfo r{};
    bin2cls(&r, sizeof r);
}

// ---- CDenoiseInfo ------------------------------------------------------------------------------------

CDenoiseInfo::CDenoiseInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CDenoiseInfo::recordSize() const {
    return sizeof(_DenoiseInfo);
}

int CDenoiseInfo::bin2cls(const void *record, int size) {
    _DenoiseInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_type(r.type);
    set_gf_radius(r.gf_radius);
    set_gf_regular(r.gf_regular);
    return 0;
}

int CDenoiseInfo::cls2bin(void *record, int size) const {
    _DenoiseInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.type = clampTo<uint16_t>(type());
    r.gf_radius = clampTo<uint16_t>(gf_radius());
    r.gf_regular = clampTo<uint16_t>(gf_regular());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CDenoiseInfo::reset() {
    _DenoiseInfo r{};
    bin2cls(&r, sizeof r);
}

// ---- CCameraPluginInfo -------------------------------------------------------------------------------

CCameraPluginInfo::CCameraPluginInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CCameraPluginInfo::recordSize() const {
    return sizeof(_CameraPluginInfo);
}

int CCameraPluginInfo::bin2cls(const void *record, int size) {
    _CameraPluginInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_version(r.version);
    set_onvif_version(r.onvif_version);
    set_gb28181_version(r.gb28181_version);
    set_modbus_version(r.modbus_version);
    set_username(textFrom(r.username, sizeof r.username));
    set_password(textFrom(r.password, sizeof r.password));
    set_onvif_enable(r.onvif_enable != 0);
    set_gb28181_enable(r.gb28181_enable != 0);
    set_h5_enable(r.h5_enable != 0);
    set_modbus_enable(r.modbus_enable);
    set_svdatavm_enable(r.svdatavm_enable);
    return 0;
}

int CCameraPluginInfo::cls2bin(void *record, int size) const {
    _CameraPluginInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.version = version();
    r.onvif_version = onvif_version();
    r.gb28181_version = gb28181_version();
    r.modbus_version = modbus_version();
    textTo(username(), r.username, sizeof r.username);
    textTo(password(), r.password, sizeof r.password);
    r.onvif_enable = onvif_enable() ? 1 : 0;
    r.gb28181_enable = gb28181_enable() ? 1 : 0;
    r.h5_enable = h5_enable() ? 1 : 0;
    r.modbus_enable = clampTo<uint8_t>(modbus_enable());
    r.svdatavm_enable = clampTo<uint8_t>(svdatavm_enable());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CCameraPluginInfo::reset() {
    _CameraPluginInfo r{};
    textTo(QStringLiteral("admin"), r.username, sizeof r.username);
    textTo(QStringLiteral("admin"), r.password, sizeof r.password);
    bin2cls(&r, sizeof r);
}

// ---- CGB28181Info ------------------------------------------------------------------------------------

CGB28181Info::CGB28181Info(QObject *parent) : CDeviceConfigBase(parent) {}

int CGB28181Info::recordSize() const {
    return sizeof(GB28181Block);
}

int CGB28181Info::bin2cls(const void *record, int size) {
    GB28181Block r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_headVersion(r.headVersion);
    set_headEnable(r.headEnable != 0);
    set_serverId(textFrom(r.serverId, sizeof r.serverId));
    set_serverIp(textFrom(r.serverIp, sizeof r.serverIp));
    set_serverPort(r.serverPort);
    set_deviceId(textFrom(r.deviceId, sizeof r.deviceId));
    set_devicePort(r.devicePort);
    set_devicePortRtp(r.devicePortRtp);
    set_streamId(textFrom(r.streamId, sizeof r.streamId));
    set_username(textFrom(r.username, sizeof r.username));
    set_password(textFrom(r.password, sizeof r.password));
    set_keepAliveInterval(r.keepAliveInterval);
    return 0;
}

int CGB28181Info::cls2bin(void *record, int size) const {
    GB28181Block r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.headVersion = headVersion();
    r.headEnable = headEnable() ? 1 : 0;
    textTo(serverId(), r.serverId, sizeof r.serverId);
    textTo(serverIp(), r.serverIp, sizeof r.serverIp);
    r.serverPort = serverPort();
    textTo(deviceId(), r.deviceId, sizeof r.deviceId);
    r.devicePort = devicePort();
    r.devicePortRtp = devicePortRtp();
    textTo(streamId(), r.streamId, sizeof r.streamId);
    textTo(username(), r.username, sizeof r.username);
    textTo(password(), r.password, sizeof r.password);
    r.keepAliveInterval = keepAliveInterval();
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CGB28181Info::reset() {
    GB28181Block r{};
    r.headVersion = 20230222;
    textTo(QStringLiteral("34020000002000000001"), r.serverId, sizeof r.serverId);
    textTo(QStringLiteral("192.168.1.100"), r.serverIp, sizeof r.serverIp);
    r.serverPort = 15060;
    textTo(QStringLiteral("34020000001320000001"), r.deviceId, sizeof r.deviceId);
    r.devicePort = 5060;
    r.devicePortRtp = 5070;
    textTo(QStringLiteral("34020000001320000002"), r.streamId, sizeof r.streamId);
    textTo(QStringLiteral("34020000001320000001"), r.username, sizeof r.username);
    textTo(QStringLiteral("12345678"), r.password, sizeof r.password);
    r.keepAliveInterval = 60;
    bin2cls(&r, sizeof r);
}
