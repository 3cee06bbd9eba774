#include "camera_defaults.h"

#include <arpa/inet.h>

#include <cstring>
#include <string>

#include "SarvikSDK.h"

namespace vcam {

namespace {

// The detector class of the camera (see small_core) and a seed that varies the firmware's own bytes
// between classes and cameras.
struct CoreClass {
    bool small;
    uint32_t seed;
};

uint32_t hash_text(const std::string &s) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

// Firmware leaves its own bytes in reserved areas and register dumps look like noise; a fixed generator
// per record gives that look, and makes a client that zeroes reserved bytes visible in tests.
void fill_pattern(void *dst, size_t n, uint32_t seed) {
    auto *p = static_cast<uint8_t *>(dst);
    uint32_t x = seed ? seed : 0x9e3779b9u;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p[i] = static_cast<uint8_t>(x >> 24);
    }
}

void put_text(char *dst, size_t cap, const std::string &s) {
    std::memset(dst, 0, cap);
    std::memcpy(dst, s.data(), s.size() < cap - 1 ? s.size() : cap - 1);
}

template <typename T>
std::vector<uint8_t> bytes_of(const T &rec) {
    const auto *p = reinterpret_cast<const uint8_t *>(&rec);
    return std::vector<uint8_t>(p, p + sizeof rec);
}

template <typename T>
T patterned(uint32_t seed) {
    T r;
    fill_pattern(&r, sizeof r, seed);
    return r;
}

_CameraBasicInfo basic_info(const Options &o, const CoreClass &c) {
    auto b = patterned<_CameraBasicInfo>(c.seed ^ 7);
    put_text(b.cameraId, sizeof b.cameraId, o.cameraId);
    put_text(b.cameraName, sizeof b.cameraName, o.cameraName);
    put_text(b.cameraType, sizeof b.cameraType, o.model);
    put_text(b.fpaId, sizeof b.fpaId, o.fpaId);
    put_text(b.hardwareId, sizeof b.hardwareId, o.hardwareId);
    put_text(b.softwareId, sizeof b.softwareId, o.softwareId);
    b.dataWidth = o.width;
    b.dataHeight = o.height;
    b.dataFps = o.fps;
    b.dataRatio = 1;
    b.sendRatio = 1;
    b.dataTransform = 0;
    b.desmearLevel = 0;
    b.videoWidth = o.secondWidth;
    b.videoHeight = o.secondHeight;
    return b;
}

_CameraNetworkInfo network_info(const Options &o, const CoreClass &c) {
    auto n = patterned<_CameraNetworkInfo>(c.seed ^ 11);
    in_addr a{};
    inet_pton(AF_INET, o.ip.c_str(), &a);
    const uint32_t ip = ntohl(a.s_addr);
    n.useStaticIp = 1;
    n.staticIp = ip;
    n.subnetMask = 0xFFFFFF00u;
    n.gateway = (ip & 0xFFFFFF00u) | 1u;
    // A locally administered unicast address derived from the camera id: stable across runs.
    const uint32_t h = hash_text(o.cameraId);
    const uint8_t mac[6] = {0x02,
                            0x5a,
                            static_cast<uint8_t>(h >> 24),
                            static_cast<uint8_t>(h >> 16),
                            static_cast<uint8_t>(h >> 8),
                            static_cast<uint8_t>(h)};
    std::memcpy(n.macAddr, mac, sizeof mac);
    n.mtu = 1500;
    n.dns = n.gateway;
    n.dns2 = 0;
    return n;
}

_FixInfo fix_info(const CoreClass &c) {
    auto f = patterned<_FixInfo>(c.seed ^ 23);
    f.atmosphericTemperature = 25.0f;
    f.relativeHumidity = 50.0f;
    f.visibility = 10.0f;
    f.rainfallIntensity = 0.0f;
    f.snowfallIntensity = 0.0f;
    f.targetDistance = 5.0f;
    f.globalEmissivity = 0.95f;
    f.infraredWindowTrans = 1.0f;
    f.tempOffset = 0.0f;
    f.enableAtmFix = 0;
    f.infraredWindowTempOffset = 0.0f;
    return f;
}

_FFCInfo ffc_info(const CoreClass &c) {
    auto f = patterned<_FFCInfo>(c.seed ^ 15);
    f.frames_skipped_after_close = 2;
    f.frames_accumlated_when_closed = 4;
    f.frames_skipped_after_open = c.small ? 3 : 2;
    f.nst_enable = 1;
    f.time_interval = 3000;
    f.temp_interval = 500;
    f.af_rebound = 0;
    f.fpa_shutter = 1;
    f.time_interval_sec = 300;
    return f;
}

_TvoutInfo tvout_info(const CoreClass &c) {
    auto t = patterned<_TvoutInfo>(c.seed ^ 31);
    t.enableTvout = 1;
    t.paletteType = 5;
    t.zoom = 1;
    t.xuiDisplayFlags = 0x0007;
    t.gain = 2.0f;
    t.h264_bitrate = c.small ? 2000000 : 4000000;
    t.h264_gopSize = 25;
    t.strechType = 1;
    t.ddeLevel = 2;
    t.man_temp0 = 200;
    t.man_temp1 = 400;
    t.man_enable = 0;
    t.temp2gray = 0;
    t.ct_type = 0;
    t.ct_temp0 = 300;
    t.ct_temp1 = 600;
    t.ct_color0 = 0xFF0000FFu;
    t.ct_color1 = 0xFFFF0000u;
    return t;
}

_CameraTimeInfo time_info(const CoreClass &c) {
    auto t = patterned<_CameraTimeInfo>(c.seed ^ 52);
    put_text(t.ntpServer, sizeof t.ntpServer, "0.pool.ntp.org");
    put_text(t.ntpServer2, sizeof t.ntpServer2, "1.pool.ntp.org");
    put_text(t.timeZone, sizeof t.timeZone, "Asia/Shanghai");
    return t;
}

_CameraOSDInfo osd_info(const Options &o, const CoreClass &c) {
    auto d = patterned<_CameraOSDInfo>(c.seed ^ 66);
    d.loc_enable = 1;
    d.loc_x = 16;
    d.loc_y = 16;
    d.time_enable = 1;
    d.time_x = 16;
    d.time_y = static_cast<uint16_t>(o.height > 40 ? o.height - 32 : 0);
    put_text(d.loc_name, sizeof d.loc_name, o.cameraName);
    d.color = 0xFFFFFFFFu;
    return d;
}

_GpioInfo gpio_info(const CoreClass &c) {
    auto g = patterned<_GpioInfo>(c.seed ^ 42);
    g.input0 = 0;
    g.input1 = 0;
    g.output0 = 1;
    g.output1 = 1;
    g.reserved_4[0] = 0;  // output levels, reported live
    g.reserved_4[1] = 0;  // input levels
    return g;
}

_SerialPortInfo serial_info(const CoreClass &c) {
    auto s = patterned<_SerialPortInfo>(c.seed ^ 37);
    s.usage = 1;
    s.portAddr = 1;
    s.baudRate = 3;
    s.dataBits = 8;
    s.stopBits = 1;
    s.parity = 0;
    return s;
}

_CameraPluginInfo plugin_info(const CoreClass &c) {
    auto p = patterned<_CameraPluginInfo>(c.seed ^ 48);
    p.version = 0x00020103;
    p.onvif_version = 0x00020600;
    p.gb28181_version = 0x00020016;
    p.modbus_version = 0x00010001;
    put_text(p.username, sizeof p.username, "admin");
    put_text(p.password, sizeof p.password, "admin123");
    p.onvif_enable = 1;
    p.gb28181_enable = 0;
    p.modbus_enable = 0;
    p.svdatavm_enable = 1;
    p.h5_enable = 1;
    return p;
}

_DestripInfo destrip_info(const Options &o, const CoreClass &c) {
    auto d = patterned<_DestripInfo>(c.seed ^ 124);
    d.type = 0;
    d.width = o.width;
    d.height = o.height;
    d.s0_radius = 4;
    d.s0_regular = 10;
    d.s1_radius = 8;
    d.s1_regular = 20;
    d.sub_y = 4;
    d.sub_t = 8;
    return d;
}

_DenoiseInfo denoise_info(const Options &o, const CoreClass &c) {
    auto d = patterned<_DenoiseInfo>(c.seed ^ 128);
    d.type = 0;
    d.width = o.width;
    d.height = o.height;
    d.gf_radius = 2;
    d.gf_regular = 10;
    return d;
}

std::vector<uint8_t> opaque(size_t n, uint32_t seed) {
    std::vector<uint8_t> v(n);
    fill_pattern(v.data(), n, seed);
    return v;
}

// Output settings: picture size and rate up front as firmware lays them out, the rest its own.
std::vector<uint8_t> output_info(const Options &o, const CoreClass &c) {
    auto v = opaque(sizeof(_CameraOutputInfo), c.seed ^ 70);
    const uint16_t words[3] = {o.width, o.height, o.fps};
    std::memcpy(v.data(), words, sizeof words);
    return v;
}

}  // namespace

std::vector<RecordSlot> factory_records(const Options &opt) {
    const bool small = small_core(opt);
    const CoreClass c{small, hash_text(opt.cameraId) ^ (small ? 0x384u : 0x640u)};
    std::vector<RecordSlot> r;
    r.push_back(
        {SARVIK_MSG_GET_CAMERA_BASIC_INFO, SARVIK_MSG_SET_CAMERA_BASIC_INFO, bytes_of(basic_info(opt, c))});
    r.push_back({SARVIK_MSG_GET_CAMERA_NETWORK_INFO, SARVIK_MSG_SET_CAMERA_NETWORK_INFO,
                 bytes_of(network_info(opt, c))});
    r.push_back({SARVIK_MSG_GET_FIX_INFO, SARVIK_MSG_SET_FIX_INFO, bytes_of(fix_info(c))});
    r.push_back({SARVIK_MSG_GET_FFC_INFO, SARVIK_MSG_SET_FFC_INFO, bytes_of(ffc_info(c))});
    r.push_back({SARVIK_MSG_GET_TVOUT_INFO, SARVIK_MSG_SET_TVOUT_INFO, bytes_of(tvout_info(c))});
    r.push_back({SARVIK_MSG_GET_CAMERA_OUTPUT_INFO, SARVIK_MSG_SET_CAMERA_OUTPUT_INFO, output_info(opt, c)});
    r.push_back({SARVIK_MSG_GET_CAMERA_TIME_INFO, SARVIK_MSG_SET_CAMERA_TIME_INFO, bytes_of(time_info(c))});
    r.push_back({SARVIK_MSG_GET_CAMERA_OSD_INFO, SARVIK_MSG_SET_CAMERA_OSD_INFO, bytes_of(osd_info(opt, c))});
    r.push_back({SARVIK_MSG_GET_GPIO_INFO, SARVIK_MSG_SET_GPIO_INFO, bytes_of(gpio_info(c))});
    r.push_back({SARVIK_MSG_GET_SERIAL_PORT_INFO, SARVIK_MSG_SET_SERIAL_PORT_INFO, bytes_of(serial_info(c))});
    r.push_back({SARVIK_MSG_CAMERA_PLUGIN_INFO, SARVIK_MSG_CAMERA_PLUGIN_INFO, bytes_of(plugin_info(c))});
    r.push_back({SARVIK_MSG_GET_DESTRIP_INFO, SARVIK_MSG_SET_DESTRIP_INFO, bytes_of(destrip_info(opt, c))});
    r.push_back({SARVIK_MSG_GET_DENOISE_INFO, SARVIK_MSG_SET_DENOISE_INFO, bytes_of(denoise_info(opt, c))});

    // Detector register families and the opaque blocks: get type, set type, size.
    struct Opaque {
        uint16_t get, set, size;
    };
    const Opaque blocks[] = {
        {SARVIK_MSG_GET_FPA_INFO_0, SARVIK_MSG_SET_FPA_INFO_0, sizeof(_FPAInfo)},
        {SARVIK_MSG_GET_FPA_INFO_1, SARVIK_MSG_SET_FPA_INFO_1, sizeof(_FPAInfo)},
        {SARVIK_MSG_GET_FPA_INFO_2, SARVIK_MSG_SET_FPA_INFO_2, sizeof(_FPAInfo)},
        {SARVIK_MSG_GET_FPA_INFO_AK_0, SARVIK_MSG_SET_FPA_INFO_AK_0, sizeof(_FPAInfoAK)},
        {SARVIK_MSG_GET_FPA_INFO_AK_1, SARVIK_MSG_SET_FPA_INFO_AK_1, sizeof(_FPAInfoAK)},
        {SARVIK_MSG_GET_FPA_INFO_AK_2, SARVIK_MSG_SET_FPA_INFO_AK_2, sizeof(_FPAInfoAK)},
        {SARVIK_MSG_GET_FPA_INFO_GD_0, SARVIK_MSG_SET_FPA_INFO_GD_0, sizeof(_FPAInfoGD)},
        {SARVIK_MSG_GET_FPA_INFO_GD_1, SARVIK_MSG_SET_FPA_INFO_GD_1, sizeof(_FPAInfoGD)},
        {SARVIK_MSG_GET_FPA_INFO_GD_2, SARVIK_MSG_SET_FPA_INFO_GD_2, sizeof(_FPAInfoGD)},
        {SARVIK_MSG_GET_FPA_INFO_FAMILY4_0, SARVIK_MSG_SET_FPA_INFO_FAMILY4_0, sizeof(_FPAInfoFamily4)},
        {SARVIK_MSG_GET_FPA_INFO_FAMILY4_1, SARVIK_MSG_SET_FPA_INFO_FAMILY4_1, sizeof(_FPAInfoFamily4)},
        {SARVIK_MSG_GET_FPA_INFO_FAMILY4_2, SARVIK_MSG_SET_FPA_INFO_FAMILY4_2, sizeof(_FPAInfoFamily4)},
        {SARVIK_MSG_GET_CAMERA_EXT_INFO, SARVIK_MSG_SET_CAMERA_EXT_INFO, sizeof(_CameraExtInfo)},
        {SARVIK_MSG_GET_FPA_INFO_HK160, SARVIK_MSG_SET_FPA_INFO_HK160, sizeof(_FPAInfoHK160)},
        {SARVIK_MSG_GET_CAMERA_BLOCK_0, SARVIK_MSG_SET_CAMERA_BLOCK_0, sizeof(_CameraBlockInfo)},
        {SARVIK_MSG_GET_CAMERA_BLOCK_1, SARVIK_MSG_SET_CAMERA_BLOCK_1, sizeof(_CameraBlockInfo)},
        {SARVIK_MSG_GET_CAMERA_BLOCK_2, SARVIK_MSG_SET_CAMERA_BLOCK_2, sizeof(_CameraBlockInfo)},
    };
    for (const Opaque &b : blocks)
        r.push_back({b.get, b.set, opaque(b.size, c.seed ^ (b.get * 2654435761u))});
    return r;
}

}  // namespace vcam
