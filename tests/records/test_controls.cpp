// Control commands with an effect one can see: the camera's clock, lens, GPIO outputs, shutter,
// flat-field correction, serial port, restart and factory reset.
#include <chrono>
#include <ctime>
#include <thread>

#include "records_fixture.h"

using namespace recordstest;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;

namespace {

using Controls = CameraTest;

_CtlX ctlx(int command, std::initializer_list<int32_t> words = {}) {
    _CtlX x;
    std::memset(&x, 0, sizeof x);
    x.command = command;
    int i = 0;
    for (int32_t w : words) x.data[i++] = w;
    return x;
}

_Ctl ctl(int command, uint8_t param = 0) {
    _Ctl c;
    std::memset(&c, 0, sizeof c);
    c.command = static_cast<uint16_t>(command);
    c.param[0] = param;
    return c;
}

int current_utc_year() {
    std::time_t t = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return utc.tm_year + 1900;
}

uint8_t gpio_levels(int id) {
    _GpioInfo g;
    EXPECT_EQ(Sarvik_GetGpioInfo(id, &g), 0);
    return g.reserved_4[0];
}

// Polls a record read until it fails (the camera went away) and then until it works again.
struct Outage {
    bool wentAway = false;
    bool cameBack = false;
};

Outage watch_restart(int id) {
    Outage o;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    _FixInfo fix;
    while (std::chrono::steady_clock::now() < deadline) {
        const int ret = Sarvik_GetFixInfo(id, &fix);
        if (ret != 0) o.wentAway = true;
        if (ret == 0 && o.wentAway) {
            o.cameBack = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return o;
}

}  // namespace

TEST_F(Controls, ClockSetReadAndNtpSync) {
    start_camera(30);
    _CtlX set = ctlx(SARVIK_CTLX_SET_TIME, {2031, 6, 15, 8, 30, 0});
    const _CtlX sent = set;
    ASSERT_EQ(Sarvik_SendControlX(id_, &set), 0);
    EXPECT_EQ(0, std::memcmp(&set, &sent, sizeof set)) << "the camera echoes a clock set";
    EXPECT_TRUE(wait_event("ctlx clock-set 2031-06-15 08:30:00"));

    _CtlX get = ctlx(SARVIK_CTLX_GET_TIME);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.command, SARVIK_CTLX_GET_TIME);
    EXPECT_EQ(get.data[0], 2031);
    EXPECT_EQ(get.data[1], 6);
    EXPECT_EQ(get.data[2], 15);
    EXPECT_EQ(get.data[3], 8);
    EXPECT_EQ(get.data[4], 30);
    EXPECT_LE(get.data[5], 3);

    // NTP servers configured: the clock comes back to the real time.
    _CtlX ntp = ctlx(SARVIK_CTLX_SYNC_NTP);
    ASSERT_EQ(Sarvik_SendControlX(id_, &ntp), 0);
    EXPECT_EQ(ntp.command, SARVIK_CTLX_SYNC_NTP);
    get = ctlx(SARVIK_CTLX_GET_TIME);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], current_utc_year());

    // Without servers there is nothing to synchronise from.
    _CameraTimeInfo time;
    ASSERT_EQ(Sarvik_GetCameraTimeInfo(id_, &time), 0);
    std::memset(time.ntpServer, 0, sizeof time.ntpServer);
    std::memset(time.ntpServer2, 0, sizeof time.ntpServer2);
    ASSERT_EQ(Sarvik_SetCameraTimeInfo(id_, &time), 0);
    set = ctlx(SARVIK_CTLX_SET_TIME, {2001, 2, 3, 4, 5, 6});
    ASSERT_EQ(Sarvik_SendControlX(id_, &set), 0);
    ntp = ctlx(SARVIK_CTLX_SYNC_NTP);
    ASSERT_EQ(Sarvik_SendControlX(id_, &ntp), 0);
    get = ctlx(SARVIK_CTLX_GET_TIME);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], 2001);
}

TEST_F(Controls, InvalidClockIsEchoedButNotTaken) {
    start_camera(31);
    _CtlX set = ctlx(SARVIK_CTLX_SET_TIME, {2031, 13, 40, 25, 61, 61});
    ASSERT_EQ(Sarvik_SendControlX(id_, &set), 0);
    _CtlX get = ctlx(SARVIK_CTLX_GET_TIME);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], current_utc_year()) << "login set the clock to the PC's time; it stays";
}

TEST_F(Controls, LensGearOnAMotorisedLens) {
    start_camera(32, {"--software-id", "R640-GS-V2.1.0"});
    _CtlX get = ctlx(SARVIK_CTLX_GET_GEAR);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], 1) << "factory gear";

    _CtlX select = ctlx(SARVIK_CTLX_SET_GEAR, {3});
    ASSERT_EQ(Sarvik_SendControlX(id_, &select), 0);
    EXPECT_EQ(select.command, SARVIK_CTLX_SET_GEAR);
    EXPECT_EQ(select.data[0], 3);
    get = ctlx(SARVIK_CTLX_GET_GEAR);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], 3);
    EXPECT_TRUE(wait_event("ctlx gear 3"));

    // A gear the lens does not have: the answer names the gear the lens stays in.
    select = ctlx(SARVIK_CTLX_SET_GEAR, {9});
    ASSERT_EQ(Sarvik_SendControlX(id_, &select), 0);
    EXPECT_EQ(select.data[0], 3);
}

TEST_F(Controls, LensGearOnAGwCameraToo) {
    start_camera(33, {"--software-id", "T384-GW-1.0"});
    _CtlX select = ctlx(SARVIK_CTLX_SET_GEAR, {0});
    ASSERT_EQ(Sarvik_SendControlX(id_, &select), 0);
    _CtlX get = ctlx(SARVIK_CTLX_GET_GEAR);
    ASSERT_EQ(Sarvik_SendControlX(id_, &get), 0);
    EXPECT_EQ(get.data[0], 0);
}

TEST_F(Controls, FixedLensCameraDoesNotAnswerLensCommands) {
    start_camera(34, {"--software-id", "R640-V1.0.0"});
    _CtlX get = ctlx(SARVIK_CTLX_GET_GEAR);
    const _CtlX sent = get;
    EXPECT_EQ(Sarvik_SendControlX(id_, &get), -97);
    EXPECT_EQ(0, std::memcmp(&get, &sent, sizeof get)) << "no answer: the record is untouched";
    _CtlX select = ctlx(SARVIK_CTLX_SET_GEAR, {2});
    EXPECT_EQ(Sarvik_SendControlX(id_, &select), -97);
}

TEST_F(Controls, GpioOutputLevelsShowInTheGpioRecord) {
    start_camera(35);
    EXPECT_EQ(gpio_levels(id_), 0);
    _CtlX x = ctlx(SARVIK_CTLX_SET_GPIO, {SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_ALARM,
                                          SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_ALARM});
    ASSERT_EQ(Sarvik_SendControlX(id_, &x), 0);
    EXPECT_EQ(x.data[0], SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_ALARM) << "echo";
    EXPECT_EQ(gpio_levels(id_), SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_ALARM);

    // Only the bits under the mask change.
    x = ctlx(SARVIK_CTLX_SET_GPIO, {SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_BUZZ, SARVIK_GPIO_OUT_BUZZ});
    ASSERT_EQ(Sarvik_SendControlX(id_, &x), 0);
    EXPECT_EQ(gpio_levels(id_), SARVIK_GPIO_OUT_ALARM | SARVIK_GPIO_OUT_BUZZ);
    EXPECT_TRUE(wait_event("ctlx gpio 0x18"));

    // Writing the GPIO record sets line modes, not levels.
    _GpioInfo g;
    ASSERT_EQ(Sarvik_GetGpioInfo(id_, &g), 0);
    g.output0 = 2;
    g.reserved_4[0] = 0;
    ASSERT_EQ(Sarvik_SetGpioInfo(id_, &g), 0);
    ASSERT_EQ(Sarvik_GetGpioInfo(id_, &g), 0);
    EXPECT_EQ(g.output0, 2);
    EXPECT_EQ(g.reserved_4[0], SARVIK_GPIO_OUT_ALARM | SARVIK_GPIO_OUT_BUZZ);
}

TEST_F(Controls, ShutterAndFlatFieldCorrection) {
    start_camera(36);
    _Ctl c = ctl(SARVIK_CTL_SHUTTER, SARVIK_SHUTTER_CLOSE);
    EXPECT_EQ(Sarvik_SendControl(id_, &c), 0);
    EXPECT_TRUE(wait_event("control shutter close"));
    c = ctl(SARVIK_CTL_SHUTTER, SARVIK_SHUTTER_OPEN);
    EXPECT_EQ(Sarvik_SendControl(id_, &c), 0);
    EXPECT_TRUE(wait_event("control shutter open"));
    c = ctl(SARVIK_CTL_FFC);
    EXPECT_EQ(Sarvik_SendControl(id_, &c), 0);
    EXPECT_EQ(Sarvik_SendControl(id_, &c), 0);
    EXPECT_TRUE(wait_event("control ffc 2"));
}

TEST_F(Controls, SerialPortDataReachesTheCamera) {
    start_camera(37);
    _SerialPortData d;
    for (size_t i = 0; i < sizeof d.data; ++i) d.data[i] = static_cast<uint8_t>(0xA0 + i);
    EXPECT_EQ(Sarvik_WriteSerialPortData(id_, &d), 0);
    EXPECT_TRUE(wait_event("serial a0a1a2a3a4a5a6a7a8a9aaabacadaeafb0b1b2b3b4b5b6b7b8b9babbbcbdbebf"));
    const std::vector<uint16_t> types = requests();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.back(), SARVIK_MSG_WRITE_SERIAL_PORT_DATA);
}

TEST_F(Controls, RestartTakesTheCameraAwayAndKeepsItsSettings) {
    start_camera(38, {"--restart-ms", "600"});
    _FixInfo fix;
    ASSERT_EQ(Sarvik_GetFixInfo(id_, &fix), 0);
    fix.targetDistance = 77.0f;
    ASSERT_EQ(Sarvik_SetFixInfo(id_, &fix), 0);
    _CtlX gpio = ctlx(SARVIK_CTLX_SET_GPIO, {SARVIK_GPIO_OUT_LEDY, SARVIK_GPIO_OUT_LEDY});
    ASSERT_EQ(Sarvik_SendControlX(id_, &gpio), 0);

    _Ctl c = ctl(SARVIK_CTL_RESTART);
    ASSERT_EQ(Sarvik_SendControl(id_, &c), 0);
    const Outage o = watch_restart(id_);
    EXPECT_TRUE(o.wentAway);
    ASSERT_TRUE(o.cameBack);
    EXPECT_TRUE(wait_event("control restart 1"));

    ASSERT_EQ(Sarvik_GetFixInfo(id_, &fix), 0);
    EXPECT_EQ(fix.targetDistance, 77.0f) << "settings survive a restart";
    EXPECT_EQ(gpio_levels(id_), 0) << "outputs are off after power-on";
}

TEST_F(Controls, FactoryResetRestoresTheDefaults) {
    start_camera(39, {"--restart-ms", "300", "--software-id", "R384-GS-1"});
    std::vector<uint8_t> factory[3] = {std::vector<uint8_t>(72), std::vector<uint8_t>(216),
                                       std::vector<uint8_t>(512)};
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_FIX, factory[0].data(), 72), 0);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BASIC, factory[1].data(), 216), 0);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BLOCK_2, factory[2].data(), 512), 0);

    _FixInfo fix = record_of<_FixInfo>(factory[0]);
    fix.globalEmissivity = 0.5f;
    ASSERT_EQ(Sarvik_SetFixInfo(id_, &fix), 0);
    _CameraBasicInfo basic = record_of<_CameraBasicInfo>(factory[1]);
    std::snprintf(basic.cameraName, sizeof basic.cameraName, "renamed");
    ASSERT_EQ(Sarvik_SetCameraBasicInfo(id_, &basic), 0);
    std::vector<uint8_t> block(512, 0x42);
    ASSERT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_CAMERA_BLOCK_2, block.data(), 512), 0);
    _CtlX gear = ctlx(SARVIK_CTLX_SET_GEAR, {3});
    ASSERT_EQ(Sarvik_SendControlX(id_, &gear), 0);

    _Ctl c = ctl(SARVIK_CTL_FACTORY_RESET);
    ASSERT_EQ(Sarvik_SendControl(id_, &c), 0);
    const Outage o = watch_restart(id_);
    ASSERT_TRUE(o.cameBack);
    EXPECT_TRUE(wait_event("control factory-reset"));

    std::vector<uint8_t> now(512);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_FIX, now.data(), 72), 0);
    EXPECT_EQ(std::vector<uint8_t>(now.begin(), now.begin() + 72), factory[0]);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BASIC, now.data(), 216), 0);
    EXPECT_EQ(std::vector<uint8_t>(now.begin(), now.begin() + 216), factory[1]);
    ASSERT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_BLOCK_2, now.data(), 512), 0);
    EXPECT_EQ(now, factory[2]);
    gear = ctlx(SARVIK_CTLX_GET_GEAR);
    ASSERT_EQ(Sarvik_SendControlX(id_, &gear), 0);
    EXPECT_EQ(gear.data[0], 1);
}

TEST(ControlX, AnswerForAnotherCommandGivesMinus1AndTheAnswer) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    ScriptedPeer peer(host(40), SARVIK_PORT_COMMAND,
                      scripted_camera([](uint16_t type, const std::vector<uint8_t> &) {
                          PeerReply r;
                          if (type != SARVIK_MSG_CONTROL_X) return r;
                          _CtlX answer = ctlx(5, {11, 22, 33});
                          r.bytes = message(SARVIK_MSG_ANSWER(type), &answer, sizeof answer);
                          return r;
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login(host(40));
    ASSERT_GE(id, 0);
    _CtlX x = ctlx(SARVIK_CTLX_GET_GEAR);
    EXPECT_EQ(Sarvik_SendControlX(id, &x), -1);
    EXPECT_EQ(x.command, 5) << "the record holds the answer all the same";
    EXPECT_EQ(x.data[0], 11);
    EXPECT_EQ(x.data[2], 33);
    Sarvik_Logout(id);
    Sarvik_FreeSDK();
}

TEST(ControlX, OneWayCallsDoNotWaitForTheCamera) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    // A camera that reads requests and never says a word.
    ScriptedPeer peer(host(41), SARVIK_PORT_COMMAND,
                      scripted_camera([](uint16_t, const std::vector<uint8_t> &) {
                          PeerReply r;
                          r.silent = true;
                          return r;
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login(host(41));
    ASSERT_GE(id, 0);
    const auto start = std::chrono::steady_clock::now();
    _Ctl c = ctl(SARVIK_CTL_FFC);
    EXPECT_EQ(Sarvik_SendControl(id, &c), 0);
    _SerialPortData d{};
    EXPECT_EQ(Sarvik_WriteSerialPortData(id, &d), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));

    // The control message itself: type 6, length 14, the record behind the header.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    std::vector<std::vector<uint8_t>> reqs;
    while (std::chrono::steady_clock::now() < deadline) {
        reqs = peer.requests();
        if (reqs.size() >= 4) break;  // basic info, fix info, time set, control...
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool found = false;
    for (const auto &r : reqs) {
        if (record_of<uint16_t>(r, 0) != SARVIK_MSG_CONTROL) continue;
        found = true;
        EXPECT_EQ(r.size(), 14u);
        EXPECT_EQ(record_of<uint16_t>(r, 2), 14);
        EXPECT_EQ(record_of<uint16_t>(r, 4), SARVIK_CTL_FFC);
    }
    EXPECT_TRUE(found);
    Sarvik_Logout(id);
    Sarvik_FreeSDK();
}
