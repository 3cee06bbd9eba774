// Argument checks that stop a call before anything reaches the camera, and the statuses callers rely on.
#include <algorithm>
#include <functional>

#include "records_fixture.h"

using namespace recordstest;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;

namespace {

using RecordChecks = CameraTest;

size_t count_of(const std::vector<uint16_t> &types, uint16_t type) {
    return static_cast<size_t>(std::count(types.begin(), types.end(), type));
}

// Every call of the records and controls interface, with harmless arguments, by user id.
struct Call {
    const char *name;
    std::function<int(int)> run;
};

std::vector<Call> every_call() {
    static _CameraBasicInfo basic;
    static _CameraNetworkInfo net;
    static _FixInfo fix;
    static _FFCInfo ffc;
    static _TvoutInfo tvout;
    static _CameraOutputInfo output;
    static _CameraTimeInfo time;
    static _CameraOSDInfo osd;
    static _GpioInfo gpio;
    static _SerialPortInfo serial;
    static _CameraPluginInfo plugin;
    static _FPAInfo fpa;
    static _FPAInfoAK ak;
    static _FPAInfoGD gd;
    static _FPAInfoHK160 hk;
    static _CameraBlockInfo block;
    static _Ctl ctl;
    static _CtlX ctlx;
    static _SerialPortData data;
    return {
        {"GetCameraBasicInfo", [](int id) { return Sarvik_GetCameraBasicInfo(id, &basic); }},
        {"SetCameraBasicInfo", [](int id) { return Sarvik_SetCameraBasicInfo(id, &basic); }},
        {"GetCameraNetworkInfo", [](int id) { return Sarvik_GetCameraNetworkInfo(id, &net); }},
        {"SetCameraNetworkInfo", [](int id) { return Sarvik_SetCameraNetworkInfo(id, &net); }},
        {"GetFixInfo", [](int id) { return Sarvik_GetFixInfo(id, &fix); }},
        {"SetFixInfo", [](int id) { return Sarvik_SetFixInfo(id, &fix); }},
        {"GetFFCInfo", [](int id) { return Sarvik_GetFFCInfo(id, &ffc); }},
        {"SetFFCInfo", [](int id) { return Sarvik_SetFFCInfo(id, &ffc); }},
        {"GetTvoutInfo", [](int id) { return Sarvik_GetTvoutInfo(id, &tvout); }},
        {"SetTvoutInfo", [](int id) { return Sarvik_SetTvoutInfo(id, &tvout); }},
        {"GetCameraOutputInfo", [](int id) { return Sarvik_GetCameraOutputInfo(id, &output); }},
        {"SetCameraOutputInfo", [](int id) { return Sarvik_SetCameraOutputInfo(id, &output); }},
        {"GetCameraTimeInfo", [](int id) { return Sarvik_GetCameraTimeInfo(id, &time); }},
        {"SetCameraTimeInfo", [](int id) { return Sarvik_SetCameraTimeInfo(id, &time); }},
        {"GetCameraOSDInfo", [](int id) { return Sarvik_GetCameraOSDInfo(id, &osd); }},
        {"SetCameraOSDInfo", [](int id) { return Sarvik_SetCameraOSDInfo(id, &osd); }},
        {"GetGpioInfo", [](int id) { return Sarvik_GetGpioInfo(id, &gpio); }},
        {"SetGpioInfo", [](int id) { return Sarvik_SetGpioInfo(id, &gpio); }},
        {"GetSerialPortInfo", [](int id) { return Sarvik_GetSerialPortInfo(id, &serial); }},
        {"SetSerialPortInfo", [](int id) { return Sarvik_SetSerialPortInfo(id, &serial); }},
        {"GetCameraPluginInfo", [](int id) { return Sarvik_GetCameraPluginInfo(id, &plugin); }},
        {"SetCameraPluginInfo", [](int id) { return Sarvik_SetCameraPluginInfo(id, &plugin); }},
        {"GetFPAInfo", [](int id) { return Sarvik_GetFPAInfo(id, &fpa, 0); }},
        {"SetFPAInfo", [](int id) { return Sarvik_SetFPAInfo(id, &fpa, 1); }},
        {"GetFPAInfoAK", [](int id) { return Sarvik_GetFPAInfoAK(id, &ak, 2); }},
        {"SetFPAInfoAK", [](int id) { return Sarvik_SetFPAInfoAK(id, &ak, 0); }},
        {"GetFPAInfoGD", [](int id) { return Sarvik_GetFPAInfoGD(id, &gd, 1); }},
        {"SetFPAInfoGD", [](int id) { return Sarvik_SetFPAInfoGD(id, &gd, 2); }},
        {"GetFPAInfoHK160", [](int id) { return Sarvik_GetFPAInfoHK160(id, &hk); }},
        {"SetFPAInfoHK160", [](int id) { return Sarvik_SetFPAInfoHK160(id, &hk); }},
        {"GetInfo",
         [](int id) { return Sarvik_GetInfo(id, SARVIK_INFO_CAMERA_BLOCK_1, &block, sizeof block); }},
        {"SetInfo",
         [](int id) { return Sarvik_SetInfo(id, SARVIK_INFO_CAMERA_BLOCK_1, &block, sizeof block); }},
        {"SendControl", [](int id) { return Sarvik_SendControl(id, &ctl); }},
        {"SendControlX", [](int id) { return Sarvik_SendControlX(id, &ctlx); }},
        {"WriteSerialPortData", [](int id) { return Sarvik_WriteSerialPortData(id, &data); }},
    };
}

}  // namespace

TEST(RecordCallsBeforeInit, EveryCallReturnsMinus4) {
    Sarvik_FreeSDK();
    for (const Call &c : every_call()) EXPECT_EQ(c.run(0), -4) << c.name;
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    Sarvik_FreeSDK();
    for (const Call &c : every_call()) EXPECT_EQ(c.run(0), -4) << c.name << " after release";
}

TEST_F(RecordChecks, BadUserIdsReturnMinus10AndSendNothing) {
    start_camera(10);
    const size_t seen = requests().size();
    for (const Call &c : every_call()) {
        EXPECT_EQ(c.run(-1), -10) << c.name;
        EXPECT_EQ(c.run(256), -10) << c.name;
        EXPECT_EQ(c.run(id_ + 1), -10) << c.name << " with an id never logged in";
    }
    const int old = id_;
    stop_camera();
    for (const Call &c : every_call()) EXPECT_EQ(c.run(old), -10) << c.name << " after logout";
    EXPECT_EQ(requests().size(), seen);
}

TEST_F(RecordChecks, ShortBufferAndUnknownTypesReturnMinus8BeforeSending) {
    start_camera(11);
    const size_t seen = requests().size();

    // The destripe settings are 32 bytes: a 16-byte buffer is refused and left alone.
    uint8_t small[16];
    std::memset(small, 0xEE, sizeof small);
    EXPECT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_DESTRIP, small, sizeof small), -8);
    EXPECT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_DESTRIP, small, sizeof small), -8);
    for (uint8_t b : small) EXPECT_EQ(b, 0xEE);

    // One byte short of each record, for every type of the table.
    const std::pair<int, int> sizes[] = {
        {0, 216},  {1, 52},    {2, 72},    {3, 16},     {4, 40},     {5, 48},    {6, 128},  {7, 272},
        {8, 16},   {9, 16},    {10, 64},   {11, 32},    {12, 64},    {100, 12},  {101, 12}, {102, 12},
        {103, 88}, {104, 88},  {105, 88},  {106, 88},   {107, 88},   {108, 88},  {109, 88}, {110, 88},
        {111, 88}, {112, 132}, {113, 128}, {1000, 512}, {1001, 512}, {1002, 512}};
    std::vector<uint8_t> buf(600, 0);
    for (const auto &s : sizes) {
        EXPECT_EQ(Sarvik_GetInfo(id_, s.first, buf.data(), s.second - 1), -8) << "info type " << s.first;
        EXPECT_EQ(Sarvik_SetInfo(id_, s.first, buf.data(), s.second - 1), -8) << "info type " << s.first;
    }
    EXPECT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_FIX, buf.data(), -1), -8);
    EXPECT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_FIX, nullptr, 72), -8);
    EXPECT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_FIX, nullptr, 72), -8);

    for (int unknown : {-1, 13, 99, 114, 200, 999, 1003, 1004, 65536}) {
        EXPECT_EQ(Sarvik_GetInfo(id_, unknown, buf.data(), static_cast<int>(buf.size())), -8) << unknown;
        EXPECT_EQ(Sarvik_SetInfo(id_, unknown, buf.data(), static_cast<int>(buf.size())), -8) << unknown;
    }

    // A call that does reach the camera, so everything sent before it is in the camera's log.
    _FixInfo fix;
    ASSERT_EQ(Sarvik_GetFixInfo(id_, &fix), 0);
    const std::vector<uint16_t> after = requests();
    ASSERT_EQ(after.size(), seen + 1);
    EXPECT_EQ(after.back(), SARVIK_MSG_GET_FIX_INFO);
    EXPECT_EQ(count_of(after, SARVIK_MSG_GET_DESTRIP_INFO), 0u);
}

TEST_F(RecordChecks, NullRecordsReturnMinus8) {
    start_camera(12);
    EXPECT_EQ(Sarvik_GetCameraBasicInfo(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_SetFixInfo(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_GetCameraPluginInfo(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_SetCameraPluginInfo(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_GetFPAInfoGD(id_, nullptr, 0), -8);
    EXPECT_EQ(Sarvik_SendControl(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_SendControlX(id_, nullptr), -8);
    EXPECT_EQ(Sarvik_WriteSerialPortData(id_, nullptr), -8);
}

TEST_F(RecordChecks, VariantOutsideZeroToTwoReturnsMinus2BeforeSending) {
    start_camera(13);
    const size_t seen = requests().size();
    _FPAInfo fpa;
    _FPAInfoAK ak;
    _FPAInfoGD gd;
    std::memset(&fpa, 0xEE, sizeof fpa);
    for (int v : {-1, 3, 4, 100, -2147483647 - 1}) {
        EXPECT_EQ(Sarvik_GetFPAInfo(id_, &fpa, v), -2) << v;
        EXPECT_EQ(Sarvik_SetFPAInfo(id_, &fpa, v), -2) << v;
        EXPECT_EQ(Sarvik_GetFPAInfoAK(id_, &ak, v), -2) << v;
        EXPECT_EQ(Sarvik_SetFPAInfoAK(id_, &ak, v), -2) << v;
        EXPECT_EQ(Sarvik_GetFPAInfoGD(id_, &gd, v), -2) << v;
        EXPECT_EQ(Sarvik_SetFPAInfoGD(id_, &gd, v), -2) << v;
    }
    for (uint8_t b : fpa.data) EXPECT_EQ(b, 0xEE);
    EXPECT_EQ(requests().size(), seen);
    for (int v = 0; v < 3; ++v) EXPECT_EQ(Sarvik_GetFPAInfo(id_, &fpa, v), 0) << v;
}

TEST_F(RecordChecks, SendRatioZeroShowsAsOneOnlyInTheDedicatedCall) {
    start_camera(14);
    _CameraBasicInfo basic;
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BASIC, &basic, sizeof basic), 0);
    basic.sendRatio = 0;
    ASSERT_EQ(Sarvik_SetCameraBasicInfo(id_, &basic), 0);

    _CameraBasicInfo raw, shown;
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BASIC, &raw, sizeof raw), 0);
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id_, &shown), 0);
    EXPECT_EQ(raw.sendRatio, 0) << "the generic call returns the camera's value";
    EXPECT_EQ(shown.sendRatio, 1) << "the dedicated call reports 0 as 1";
    raw.sendRatio = 1;
    EXPECT_EQ(0, std::memcmp(&raw, &shown, sizeof raw)) << "and changes nothing else";

    basic.sendRatio = 4;
    ASSERT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_CAMERA_BASIC, &basic, sizeof basic), 0);
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id_, &shown), 0);
    EXPECT_EQ(shown.sendRatio, 4);
}

TEST(RecordFailures, FailedReadsLeaveTheRecordAlone) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    // A camera whose record answers come one byte short.
    ScriptedPeer peer(
        host(15), SARVIK_PORT_COMMAND, scripted_camera([](uint16_t type, const std::vector<uint8_t> &) {
            PeerReply r;
            const int len = type == SARVIK_MSG_GET_FFC_INFO ? 20 : type == SARVIK_MSG_GET_TVOUT_INFO ? 44 : 0;
            if (len) r.bytes = testsupport::make_message(SARVIK_MSG_ANSWER(type), len - 4 - 1);
            if (len) r.bytes[2] = static_cast<uint8_t>(len);  // claims the full length
            return r;
        }));
    ASSERT_TRUE(peer.listening());
    const int id = login(host(15));
    ASSERT_GE(id, 0);
    _FFCInfo ffc;
    std::memset(&ffc, 0xEE, sizeof ffc);
    EXPECT_EQ(Sarvik_GetFFCInfo(id, &ffc), -97);
    _TvoutInfo tv;
    std::memset(&tv, 0xEE, sizeof tv);
    EXPECT_EQ(Sarvik_GetInfo(id, SARVIK_INFO_TVOUT, &tv, sizeof tv), -97);
    for (size_t i = 0; i < sizeof ffc; ++i) ASSERT_EQ(reinterpret_cast<uint8_t *>(&ffc)[i], 0xEE);
    for (size_t i = 0; i < sizeof tv; ++i) ASSERT_EQ(reinterpret_cast<uint8_t *>(&tv)[i], 0xEE);
    // A set the camera never acknowledges.
    EXPECT_EQ(Sarvik_SetFFCInfo(id, &ffc), -97);
    Sarvik_Logout(id);
    Sarvik_FreeSDK();
}

TEST(RecordFailures, UnreachableCameraReturnsTheChannelStatus) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    int id = -1;
    {
        ScriptedPeer peer(
            host(16), SARVIK_PORT_COMMAND,
            scripted_camera([](uint16_t, const std::vector<uint8_t> &) { return PeerReply{}; }));
        ASSERT_TRUE(peer.listening());
        id = login(host(16));
        ASSERT_GE(id, 0);
    }
    // The camera is gone: nothing listens on its command port any more.
    _GpioInfo gpio;
    EXPECT_EQ(Sarvik_GetGpioInfo(id, &gpio), -99);
    _Ctl ctl{};
    EXPECT_EQ(Sarvik_SendControl(id, &ctl), -99);
    Sarvik_Logout(id);
    Sarvik_FreeSDK();
}
