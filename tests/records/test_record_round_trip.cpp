// Every record of the info-type table read, changed, written and read back, byte for byte: the camera's
// read-only fields stay, reserved bytes come back as the camera had them, everything else as written.
#include <functional>

#include "records_fixture.h"

using namespace recordstest;

namespace {

struct Span {
    size_t offset, length;
};

struct InfoCase {
    int info;
    size_t size;
    std::vector<Span> reserved;  // carried back unchanged by a read-modify-write
    std::vector<Span> readOnly;  // kept by the camera whatever is written
};

// Opaque records (detector registers, output settings, blocks) have no reserved bytes of their own: every
// byte is the caller's.
const std::vector<InfoCase> kCases = {
    {SARVIK_INFO_CAMERA_BASIC, 216, {{187, 3}, {191, 21}}, {{0, 32}, {64, 112}, {176, 6}, {212, 4}}},
    {SARVIK_INFO_CAMERA_NETWORK, 52, {{1, 3}, {16, 4}, {36, 16}}, {{20, 6}}},
    {SARVIK_INFO_FIX, 72, {{37, 3}, {44, 28}}, {}},
    {SARVIK_INFO_FFC, 16, {{10, 2}, {14, 2}}, {}},
    {SARVIK_INFO_TVOUT, 40, {{2, 3}, {26, 1}}, {}},
    {SARVIK_INFO_CAMERA_OUTPUT, 48, {}, {}},
    {SARVIK_INFO_CAMERA_TIME, 128, {{96, 32}}, {}},
    {SARVIK_INFO_CAMERA_OSD, 272, {{144, 128}}, {}},
    {SARVIK_INFO_GPIO, 16, {{6, 10}}, {{4, 2}}},  // bytes 4 and 5: the camera's live output and input levels
    {SARVIK_INFO_SERIAL_PORT, 16, {{6, 10}}, {}},
    {SARVIK_INFO_CAMERA_PLUGIN, 64, {{53, 11}}, {{0, 16}}},
    {SARVIK_INFO_DESTRIP, 32, {{16, 16}}, {}},
    {SARVIK_INFO_DENOISE, 64, {{10, 54}}, {}},
    {SARVIK_INFO_FPA_0, 12, {}, {}},
    {SARVIK_INFO_FPA_1, 12, {}, {}},
    {SARVIK_INFO_FPA_2, 12, {}, {}},
    {SARVIK_INFO_FPA_AK_0, 88, {}, {}},
    {SARVIK_INFO_FPA_AK_1, 88, {}, {}},
    {SARVIK_INFO_FPA_AK_2, 88, {}, {}},
    {SARVIK_INFO_FPA_GD_0, 88, {}, {}},
    {SARVIK_INFO_FPA_GD_1, 88, {}, {}},
    {SARVIK_INFO_FPA_GD_2, 88, {}, {}},
    {SARVIK_INFO_FPA_FAMILY4_0, 88, {}, {}},
    {SARVIK_INFO_FPA_FAMILY4_1, 88, {}, {}},
    {SARVIK_INFO_FPA_FAMILY4_2, 88, {}, {}},
    {SARVIK_INFO_CAMERA_EXT, 132, {}, {}},
    {SARVIK_INFO_FPA_HK160, 128, {}, {}},
    {SARVIK_INFO_CAMERA_BLOCK_0, 512, {}, {}},
    {SARVIK_INFO_CAMERA_BLOCK_1, 512, {}, {}},
    {SARVIK_INFO_CAMERA_BLOCK_2, 512, {}, {}},
};

template <typename T>
std::vector<uint8_t> edit(const std::vector<uint8_t> &bytes, const std::function<void(T &)> &change) {
    T r = record_of<T>(bytes);
    change(r);
    return bytes_of(r);
}

void text(char *dst, size_t cap, const char *s) {
    std::memset(dst, 0, cap);
    std::snprintf(dst, cap, "%s", s);
}

// What a configuration page would change: every named field, read-only ones included (the camera must
// keep those), never a reserved byte.
std::vector<uint8_t> change_fields(int info, const std::vector<uint8_t> &b) {
    switch (info) {
        case SARVIK_INFO_CAMERA_BASIC:
            return edit<_CameraBasicInfo>(b, [](_CameraBasicInfo &r) {
                text(r.cameraName, sizeof r.cameraName, "roof east");
                text(r.cameraId, sizeof r.cameraId, "HIJACKED");
                text(r.softwareId, sizeof r.softwareId, "X-GS-9");
                r.dataWidth = 1;
                r.dataFps = 99;
                r.dataRatio = 2;
                r.sendRatio = 3;
                r.dataTransform = 1;
                r.desmearLevel = 4;
                r.videoWidth = 7;
            });
        case SARVIK_INFO_CAMERA_NETWORK:
            return edit<_CameraNetworkInfo>(b, [](_CameraNetworkInfo &r) {
                r.useStaticIp = !r.useStaticIp;
                r.staticIp = 0xC0A80164;  // 192.168.1.100: a record value, nothing is sent there
                r.subnetMask = 0xFFFF0000;
                r.gateway = 0xC0A80101;
                r.macAddr[5] ^= 0xFF;
                r.mtu = 1400;
                r.dns = 0xC0A80102;
                r.dns2 = 0xC0A80103;
            });
        case SARVIK_INFO_FIX:
            return edit<_FixInfo>(b, [](_FixInfo &r) {
                r.atmosphericTemperature = -5.5f;
                r.relativeHumidity = 81.0f;
                r.visibility = 2.5f;
                r.rainfallIntensity = 3.0f;
                r.snowfallIntensity = 1.5f;
                r.targetDistance = 42.0f;
                r.globalEmissivity = 0.87f;
                r.infraredWindowTrans = 0.92f;
                r.tempOffset = -0.7f;
                r.enableAtmFix = 1;
                r.infraredWindowTempOffset = 1.25f;
            });
        case SARVIK_INFO_FFC:
            return edit<_FFCInfo>(b, [](_FFCInfo &r) {
                r.frames_skipped_after_close = 9;
                r.frames_accumlated_when_closed = 8;
                r.frames_skipped_after_open = 7;
                r.nst_enable = !r.nst_enable;
                r.time_interval = 1234;
                r.temp_interval = 321;
                r.af_rebound = 5;
                r.fpa_shutter = 0;
                r.time_interval_sec = 600;
            });
        case SARVIK_INFO_TVOUT:
            return edit<_TvoutInfo>(b, [](_TvoutInfo &r) {
                r.enableTvout = 0;
                r.paletteType = 9;
                r.zoom = 4;
                r.xuiDisplayFlags = 0x1234;
                r.gain = 3.5f;
                r.h264_bitrate = 1500000;
                r.h264_gopSize = 50;
                r.strechType = 2;
                r.ddeLevel = 6;
                // The record carries tenths of deg C; the configuration page turns -12.34 deg C into -123
                // (x10, truncated toward zero) before the record reaches the library.
                r.man_temp0 = -123;
                r.man_temp1 = 1505;
                r.man_enable = 1;
                r.temp2gray = 1;
                r.ct_type = 2;
                r.ct_temp0 = -401;
                r.ct_temp1 = 999;
                r.ct_color0 = 0xFF112233u;
                r.ct_color1 = 0xFF445566u;
            });
        case SARVIK_INFO_CAMERA_TIME:
            return edit<_CameraTimeInfo>(b, [](_CameraTimeInfo &r) {
                text(r.ntpServer, sizeof r.ntpServer, "ntp-a.example.test");
                text(r.ntpServer2, sizeof r.ntpServer2, "");
                text(r.timeZone, sizeof r.timeZone, "Europe/Berlin");
            });
        case SARVIK_INFO_CAMERA_OSD:
            return edit<_CameraOSDInfo>(b, [](_CameraOSDInfo &r) {
                r.loc_enable = 0;
                r.loc_x = 100;
                r.loc_y = 200;
                r.time_enable = 0;
                r.time_x = 300;
                r.time_y = 5;
                std::string longest(127, 'L');  // the longest text the field holds
                text(r.loc_name, sizeof r.loc_name, longest.c_str());
                r.color = 0xFF00FF00u;
            });
        case SARVIK_INFO_GPIO:
            return edit<_GpioInfo>(b, [](_GpioInfo &r) {
                r.input0 = 2;
                r.input1 = 3;
                r.output0 = 4;
                r.output1 = 5;
                r.reserved_4[0] = 0x1F;  // the live levels are not the writer's
                r.reserved_4[1] = 0x03;
            });
        case SARVIK_INFO_SERIAL_PORT:
            return edit<_SerialPortInfo>(b, [](_SerialPortInfo &r) {
                r.usage = 2;
                r.portAddr = 17;
                r.baudRate = 6;
                r.dataBits = 7;
                r.stopBits = 2;
                r.parity = 1;
            });
        case SARVIK_INFO_CAMERA_PLUGIN:
            return edit<_CameraPluginInfo>(b, [](_CameraPluginInfo &r) {
                r.version = 1;
                r.onvif_version = 2;
                r.gb28181_version = 3;
                r.modbus_version = 4;
                text(r.username, sizeof r.username, "operator");
                text(r.password, sizeof r.password, "fifteen-chars!!");
                r.onvif_enable = !r.onvif_enable;
                r.gb28181_enable = !r.gb28181_enable;
                r.modbus_enable = !r.modbus_enable;
                r.svdatavm_enable = !r.svdatavm_enable;
                r.h5_enable = !r.h5_enable;
            });
        case SARVIK_INFO_DESTRIP:
            return edit<_DestripInfo>(b, [](_DestripInfo &r) {
                r.type = SARVIK_DESTRIP_GUIDED;
                r.width = 320;
                r.height = 240;
                r.s0_radius = 3;
                r.s0_regular = 7;
                r.s1_radius = 12;
                r.s1_regular = 30;
                r.sub_y = 2;
                r.sub_t = 16;
            });
        case SARVIK_INFO_DENOISE:
            return edit<_DenoiseInfo>(b, [](_DenoiseInfo &r) {
                r.type = SARVIK_DENOISE_HALF;
                r.width = 320;
                r.height = 240;
                r.gf_radius = 5;
                r.gf_regular = 40;
            });
        default: {
            std::vector<uint8_t> out = b;  // opaque: every byte is a field
            for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(out[i] ^ (0x5A + i));
            return out;
        }
    }
}

// The record as the camera must hold it after a write of `written` over `before`.
std::vector<uint8_t> expected_after(const InfoCase &c, const std::vector<uint8_t> &before,
                                    const std::vector<uint8_t> &written) {
    std::vector<uint8_t> out = written;
    for (const Span &s : c.readOnly)
        std::copy(before.begin() + s.offset, before.begin() + s.offset + s.length, out.begin() + s.offset);
    return out;
}

std::vector<uint8_t> slice(const std::vector<uint8_t> &b, Span s) {
    return std::vector<uint8_t>(b.begin() + s.offset, b.begin() + s.offset + s.length);
}

bool all_zero(const std::vector<uint8_t> &b) {
    for (uint8_t x : b)
        if (x) return false;
    return true;
}

std::vector<uint8_t> get_info(int id, int info, size_t size) {
    std::vector<uint8_t> b(size, 0xEE);
    EXPECT_EQ(Sarvik_GetInfo(id, info, b.data(), static_cast<int>(b.size())), 0) << "info type " << info;
    return b;
}

// A dedicated get/set pair over byte vectors.
struct Dedicated {
    int info;
    std::function<int(int, std::vector<uint8_t> &)> get;
    std::function<int(int, const std::vector<uint8_t> &)> set;
};

template <typename T>
Dedicated pair(int info, int (*get)(int, T *), int (*set)(int, const T *)) {
    return {info,
            [get](int id, std::vector<uint8_t> &b) {
                T r;
                std::memset(&r, 0xEE, sizeof r);
                const int ret = get(id, &r);
                b = bytes_of(r);
                return ret;
            },
            [set](int id, const std::vector<uint8_t> &b) {
                const T r = record_of<T>(b);
                return set(id, &r);
            }};
}

template <typename T>
Dedicated variant_pair(int info, int variant, int (*get)(int, T *, int), int (*set)(int, const T *, int)) {
    return {info,
            [get, variant](int id, std::vector<uint8_t> &b) {
                T r;
                std::memset(&r, 0xEE, sizeof r);
                const int ret = get(id, &r, variant);
                b = bytes_of(r);
                return ret;
            },
            [set, variant](int id, const std::vector<uint8_t> &b) {
                const T r = record_of<T>(b);
                return set(id, &r, variant);
            }};
}

const InfoCase &case_of(int info) {
    for (const InfoCase &c : kCases)
        if (c.info == info) return c;
    throw std::runtime_error("no case");
}

using RecordRoundTrip = CameraTest;

}  // namespace

TEST_F(RecordRoundTrip, GenericPairCoversEveryInfoType) {
    start_camera(1);
    for (const InfoCase &c : kCases) {
        SCOPED_TRACE("info type " + std::to_string(c.info));
        const std::vector<uint8_t> before = get_info(id_, c.info, c.size);
        for (const Span &s : c.reserved)
            EXPECT_FALSE(all_zero(slice(before, s))) << "the camera keeps bytes of its own in reserved areas";

        const std::vector<uint8_t> written = change_fields(c.info, before);
        ASSERT_NE(written, before);
        ASSERT_EQ(Sarvik_SetInfo(id_, c.info, written.data(), static_cast<int>(written.size())), 0);

        const std::vector<uint8_t> after = get_info(id_, c.info, c.size);
        EXPECT_EQ(after, expected_after(c, before, written));
        for (const Span &s : c.reserved) EXPECT_EQ(slice(after, s), slice(before, s));
    }
}

TEST_F(RecordRoundTrip, DedicatedPairsMatchTheGenericPair) {
    start_camera(2);
    const std::vector<Dedicated> pairs = {
        pair<_CameraBasicInfo>(SARVIK_INFO_CAMERA_BASIC, Sarvik_GetCameraBasicInfo,
                               Sarvik_SetCameraBasicInfo),
        pair<_CameraNetworkInfo>(SARVIK_INFO_CAMERA_NETWORK, Sarvik_GetCameraNetworkInfo,
                                 Sarvik_SetCameraNetworkInfo),
        pair<_FixInfo>(SARVIK_INFO_FIX, Sarvik_GetFixInfo, Sarvik_SetFixInfo),
        pair<_FFCInfo>(SARVIK_INFO_FFC, Sarvik_GetFFCInfo, Sarvik_SetFFCInfo),
        pair<_TvoutInfo>(SARVIK_INFO_TVOUT, Sarvik_GetTvoutInfo, Sarvik_SetTvoutInfo),
        pair<_CameraOutputInfo>(SARVIK_INFO_CAMERA_OUTPUT, Sarvik_GetCameraOutputInfo,
                                Sarvik_SetCameraOutputInfo),
        pair<_CameraTimeInfo>(SARVIK_INFO_CAMERA_TIME, Sarvik_GetCameraTimeInfo, Sarvik_SetCameraTimeInfo),
        pair<_CameraOSDInfo>(SARVIK_INFO_CAMERA_OSD, Sarvik_GetCameraOSDInfo, Sarvik_SetCameraOSDInfo),
        pair<_GpioInfo>(SARVIK_INFO_GPIO, Sarvik_GetGpioInfo, Sarvik_SetGpioInfo),
        pair<_SerialPortInfo>(SARVIK_INFO_SERIAL_PORT, Sarvik_GetSerialPortInfo, Sarvik_SetSerialPortInfo),
        pair<_CameraPluginInfo>(SARVIK_INFO_CAMERA_PLUGIN, Sarvik_GetCameraPluginInfo,
                                Sarvik_SetCameraPluginInfo),
        pair<_FPAInfoHK160>(SARVIK_INFO_FPA_HK160, Sarvik_GetFPAInfoHK160, Sarvik_SetFPAInfoHK160),
        variant_pair<_FPAInfo>(SARVIK_INFO_FPA_0, 0, Sarvik_GetFPAInfo, Sarvik_SetFPAInfo),
        variant_pair<_FPAInfo>(SARVIK_INFO_FPA_1, 1, Sarvik_GetFPAInfo, Sarvik_SetFPAInfo),
        variant_pair<_FPAInfo>(SARVIK_INFO_FPA_2, 2, Sarvik_GetFPAInfo, Sarvik_SetFPAInfo),
        variant_pair<_FPAInfoAK>(SARVIK_INFO_FPA_AK_0, 0, Sarvik_GetFPAInfoAK, Sarvik_SetFPAInfoAK),
        variant_pair<_FPAInfoAK>(SARVIK_INFO_FPA_AK_1, 1, Sarvik_GetFPAInfoAK, Sarvik_SetFPAInfoAK),
        variant_pair<_FPAInfoAK>(SARVIK_INFO_FPA_AK_2, 2, Sarvik_GetFPAInfoAK, Sarvik_SetFPAInfoAK),
        variant_pair<_FPAInfoGD>(SARVIK_INFO_FPA_GD_0, 0, Sarvik_GetFPAInfoGD, Sarvik_SetFPAInfoGD),
        variant_pair<_FPAInfoGD>(SARVIK_INFO_FPA_GD_1, 1, Sarvik_GetFPAInfoGD, Sarvik_SetFPAInfoGD),
        variant_pair<_FPAInfoGD>(SARVIK_INFO_FPA_GD_2, 2, Sarvik_GetFPAInfoGD, Sarvik_SetFPAInfoGD),
    };
    for (const Dedicated &p : pairs) {
        SCOPED_TRACE("info type " + std::to_string(p.info));
        const InfoCase &c = case_of(p.info);
        std::vector<uint8_t> before;
        ASSERT_EQ(p.get(id_, before), 0);
        EXPECT_EQ(before, get_info(id_, p.info, c.size)) << "both pairs read the same record";

        const std::vector<uint8_t> written = change_fields(p.info, before);
        ASSERT_EQ(p.set(id_, written), 0);

        std::vector<uint8_t> after;
        ASSERT_EQ(p.get(id_, after), 0);
        EXPECT_EQ(after, expected_after(c, before, written));
        EXPECT_EQ(get_info(id_, p.info, c.size), after);
    }
}

TEST_F(RecordRoundTrip, VariantsAreSeparateRecords) {
    start_camera(3);
    for (int family :
         {SARVIK_INFO_FPA_0, SARVIK_INFO_FPA_AK_0, SARVIK_INFO_FPA_GD_0, SARVIK_INFO_FPA_FAMILY4_0}) {
        SCOPED_TRACE("family " + std::to_string(family));
        const size_t size = case_of(family).size;
        std::vector<std::vector<uint8_t>> before;
        for (int v = 0; v < 3; ++v) before.push_back(get_info(id_, family + v, size));
        EXPECT_NE(before[0], before[1]);

        const std::vector<uint8_t> written = change_fields(family + 1, before[1]);
        ASSERT_EQ(Sarvik_SetInfo(id_, family + 1, written.data(), static_cast<int>(size)), 0);
        EXPECT_EQ(get_info(id_, family + 0, size), before[0]);
        EXPECT_EQ(get_info(id_, family + 1, size), written);
        EXPECT_EQ(get_info(id_, family + 2, size), before[2]);
    }
}

TEST_F(RecordRoundTrip, LargerBufferTakesTheRecordAtItsStart) {
    start_camera(4);
    std::vector<uint8_t> big(600, 0xEE);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_FIX, big.data(), static_cast<int>(big.size())), 0);
    const std::vector<uint8_t> fix(big.begin(), big.begin() + 72);
    EXPECT_EQ(fix, get_info(id_, SARVIK_INFO_FIX, 72));
    for (size_t i = 72; i < big.size(); ++i)
        ASSERT_EQ(big[i], 0xEE) << "byte " << i << " is not the record's";

    // A write takes the record's bytes only.
    std::vector<uint8_t> changed = change_fields(SARVIK_INFO_FIX, fix);
    std::copy(changed.begin(), changed.end(), big.begin());
    ASSERT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_FIX, big.data(), static_cast<int>(big.size())), 0);
    EXPECT_EQ(get_info(id_, SARVIK_INFO_FIX, 72), changed);
}

TEST_F(RecordRoundTrip, FactorySettingsFollowTheCameraSize) {
    start_camera(5, {"--size", "384x288", "--camera-id", "SMALL-1"});
    _CameraBasicInfo basic;
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id_, &basic), 0);
    EXPECT_STREQ(basic.cameraType, "R384");
    EXPECT_STREQ(basic.fpaId, "FPA-384-17UM");
    _DestripInfo destrip;
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_DESTRIP, &destrip, sizeof destrip), 0);
    EXPECT_EQ(destrip.width, 384);
    EXPECT_EQ(destrip.height, 288);
    _CameraOSDInfo osd;
    ASSERT_EQ(Sarvik_GetCameraOSDInfo(id_, &osd), 0);
    EXPECT_LT(osd.time_y, 288);
    _CameraNetworkInfo net;
    ASSERT_EQ(Sarvik_GetCameraNetworkInfo(id_, &net), 0);
    EXPECT_EQ(net.staticIp, 0x7F000105u) << "the camera's own address";
    EXPECT_EQ(net.macAddr[0] & 0x03, 0x02) << "a locally administered unicast MAC";
    _FPAInfoAK small;
    ASSERT_EQ(Sarvik_GetFPAInfoAK(id_, &small, 0), 0);
    stop_camera();

    start_camera(6, {"--size", "640x512", "--camera-id", "LARGE-1"});
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id_, &basic), 0);
    EXPECT_STREQ(basic.cameraType, "R640");
    EXPECT_STREQ(basic.fpaId, "FPA-640-12UM");
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_DENOISE, &destrip, sizeof destrip), -8) << "buffer too small";
    _DenoiseInfo denoise;
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_DENOISE, &denoise, sizeof denoise), 0);
    EXPECT_EQ(denoise.width, 640);
    EXPECT_EQ(denoise.height, 512);
    _FPAInfoAK large;
    ASSERT_EQ(Sarvik_GetFPAInfoAK(id_, &large, 0), 0);
    EXPECT_NE(bytes_of(small), bytes_of(large)) << "each camera has its own detector registers";
}
