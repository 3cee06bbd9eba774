// A virtual camera with a state file keeps what was written across a restart of the program.
#include <dirent.h>

#include "records_fixture.h"

using namespace recordstest;
using testsupport::TempDir;
using testsupport::VcamProcess;

namespace {

class Persistence : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Sarvik_InitSDK(), 0); }
    void TearDown() override { Sarvik_FreeSDK(); }
    TempDir dir_;
};

std::vector<std::string> files_in(const std::string &path) {
    std::vector<std::string> names;
    if (DIR *d = opendir(path.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// The camera clock, read without logging in (a login would set it to the PC's time).
_CtlX read_clock(const std::string &ip) {
    _CtlX x;
    std::memset(&x, 0, sizeof x);
    x.command = SARVIK_CTLX_GET_TIME;
    return record_of<_CtlX>(raw_exchange(ip, message(SARVIK_MSG_CONTROL_X, &x, sizeof x)), 4);
}

void set_clock_raw(const std::string &ip, std::initializer_list<int32_t> words) {
    _CtlX x;
    std::memset(&x, 0, sizeof x);
    x.command = SARVIK_CTLX_SET_TIME;
    int i = 0;
    for (int32_t w : words) x.data[i++] = w;
    ASSERT_EQ(raw_exchange(ip, message(SARVIK_MSG_CONTROL_X, &x, sizeof x)).size(), 72u);
}

}  // namespace

TEST_F(Persistence, WritesSurviveARestart) {
    const std::string ip = host(50);
    const std::string state = dir_.file("cam.state");
    const std::vector<std::string> args = {"--state",   state,         "--software-id",
                                           "R640-GS-2", "--camera-id", "KEEP-1"};

    std::vector<uint8_t> block(512);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
    _FixInfo fix;
    _CameraBasicInfo basic;
    _CameraPluginInfo plugin;
    {
        VcamProcess cam(ip, args);
        ASSERT_TRUE(cam.ready());
        const int id = login(ip);
        ASSERT_GE(id, 0);
        ASSERT_EQ(Sarvik_GetFixInfo(id, &fix), 0);
        fix.globalEmissivity = 0.61f;
        fix.reserved_44[0] ^= 0xFF;  // whatever the caller writes into reserved bytes is kept too
        ASSERT_EQ(Sarvik_SetFixInfo(id, &fix), 0);
        ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic), 0);
        std::snprintf(basic.cameraName, sizeof basic.cameraName, "north gate");
        ASSERT_EQ(Sarvik_SetCameraBasicInfo(id, &basic), 0);
        ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic), 0);
        ASSERT_EQ(Sarvik_SetInfo(id, SARVIK_INFO_CAMERA_BLOCK_1, block.data(), 512), 0);
        ASSERT_EQ(Sarvik_GetCameraPluginInfo(id, &plugin), 0);
        std::snprintf(plugin.password, sizeof plugin.password, "changed");
        ASSERT_EQ(Sarvik_SetCameraPluginInfo(id, &plugin), 0);
        _CtlX gear;
        std::memset(&gear, 0, sizeof gear);
        gear.command = SARVIK_CTLX_SET_GEAR;
        gear.data[0] = 2;
        ASSERT_EQ(Sarvik_SendControlX(id, &gear), 0);
        Sarvik_Logout(id);
        set_clock_raw(ip, {2040, 1, 2, 3, 4, 5});
    }
    EXPECT_EQ(files_in(dir_.path()), std::vector<std::string>{"cam.state"})
        << "no temporary file left behind";

    VcamProcess cam(ip, args);
    ASSERT_TRUE(cam.ready());
    const _CtlX clock = read_clock(ip);
    EXPECT_EQ(clock.data[0], 2040) << "the clock runs on from where it was set";
    EXPECT_EQ(clock.data[1], 1);
    EXPECT_EQ(clock.data[2], 2);

    const int id = login(ip);
    ASSERT_GE(id, 0);
    _FixInfo fix2;
    ASSERT_EQ(Sarvik_GetFixInfo(id, &fix2), 0);
    EXPECT_EQ(0, std::memcmp(&fix, &fix2, sizeof fix));
    _CameraBasicInfo basic2;
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic2), 0);
    EXPECT_EQ(0, std::memcmp(&basic, &basic2, sizeof basic));
    std::vector<uint8_t> block2(512);
    ASSERT_EQ(Sarvik_GetInfo(id, SARVIK_INFO_CAMERA_BLOCK_1, block2.data(), 512), 0);
    EXPECT_EQ(block, block2);
    _CameraPluginInfo plugin2;
    ASSERT_EQ(Sarvik_GetCameraPluginInfo(id, &plugin2), 0);
    EXPECT_STREQ(plugin2.password, "changed");
    _CtlX gear;
    std::memset(&gear, 0, sizeof gear);
    gear.command = SARVIK_CTLX_GET_GEAR;
    ASSERT_EQ(Sarvik_SendControlX(id, &gear), 0);
    EXPECT_EQ(gear.data[0], 2);
    Sarvik_Logout(id);
}

TEST_F(Persistence, CommandLineIdentityWinsOverTheFile) {
    const std::string ip = host(51);
    const std::string state = dir_.file("cam.state");
    {
        VcamProcess cam(ip, {"--state", state, "--camera-id", "FIRST"});
        ASSERT_TRUE(cam.ready());
        const int id = login(ip);
        ASSERT_GE(id, 0);
        _CameraBasicInfo basic;
        ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic), 0);
        std::snprintf(basic.cameraName, sizeof basic.cameraName, "kept name");
        ASSERT_EQ(Sarvik_SetCameraBasicInfo(id, &basic), 0);
        Sarvik_Logout(id);
    }
    VcamProcess cam(ip, {"--state", state, "--camera-id", "SECOND", "--size", "384x288"});
    ASSERT_TRUE(cam.ready());
    const int id = login(ip);
    ASSERT_GE(id, 0);
    _CameraBasicInfo basic;
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic), 0);
    EXPECT_STREQ(basic.cameraId, "SECOND");
    EXPECT_EQ(basic.dataWidth, 384);
    EXPECT_STREQ(basic.cameraName, "kept name");
    Sarvik_Logout(id);
}

TEST_F(Persistence, DamagedOrMissingFileMeansFactorySettings) {
    const std::string ip = host(52);
    std::vector<uint8_t> factory(72);
    {
        VcamProcess cam(ip);
        ASSERT_TRUE(cam.ready());
        const int id = login(ip);
        ASSERT_GE(id, 0);
        ASSERT_EQ(Sarvik_GetInfo(id, SARVIK_INFO_FIX, factory.data(), 72), 0);
        Sarvik_Logout(id);
    }
    for (const std::string &content :
         {std::string("not a state file\n"),
          std::string("sarvik-vcam-state 1\nrecord 23 zz\nrecord 23 0102\ngear x\n")}) {
        const std::string state = dir_.file("bad.state");
        testsupport::write_file(state, content);
        VcamProcess cam(ip, {"--state", state});
        ASSERT_TRUE(cam.ready()) << "a damaged state file does not stop the camera";
        const int id = login(ip);
        ASSERT_GE(id, 0);
        std::vector<uint8_t> fix(72);
        ASSERT_EQ(Sarvik_GetInfo(id, SARVIK_INFO_FIX, fix.data(), 72), 0);
        EXPECT_EQ(fix, factory);
        Sarvik_Logout(id);
    }
    VcamProcess cam(ip, {"--state", dir_.file("missing/none.state")});
    ASSERT_TRUE(cam.ready()) << "a state file that cannot be written does not stop the camera";
}
