// Login and logout through the public interface, against virtual cameras and scripted peers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "scripted_peer.h"
#include "vcam_process.h"

using testsupport::make_message;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;
using testsupport::VcamProcess;

namespace {

_LoginInfo login_to(const char *ip) {
    _LoginInfo l;
    std::memset(&l, 0, sizeof l);
    std::snprintf(l.ip, sizeof l.ip, "%s", ip);
    return l;
}

class Login : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Sarvik_InitSDK(), 0); }
    void TearDown() override { Sarvik_FreeSDK(); }
};

}  // namespace

TEST_F(Login, ReturnsTheCamerasBasicInfo) {
    VcamProcess cam("127.0.0.40", {"--camera-id", "CAM-40", "--model", "R384", "--software-id", "R384-GS-1.2",
                                   "--size", "384x288", "--fps", "30", "--second-size", "1920x1080"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.40");
    _CameraBasicInfo info;
    std::memset(&info, 0xee, sizeof info);
    int id = Sarvik_Login(&l, &info);
    ASSERT_EQ(id, 0);
    EXPECT_STREQ(info.cameraId, "CAM-40");
    EXPECT_STREQ(info.cameraType, "R384");
    EXPECT_STREQ(info.softwareId, "R384-GS-1.2");
    EXPECT_EQ(info.dataWidth, 384);
    EXPECT_EQ(info.dataHeight, 288);
    EXPECT_EQ(info.dataFps, 30);
    EXPECT_EQ(info.videoWidth, 1920) << "a reported second plane is kept";
    EXPECT_EQ(info.videoHeight, 1080);
    EXPECT_EQ(Sarvik_Logout(id), 0);
}

TEST_F(Login, MissingSecondResolutionBecomesTheDataResolution) {
    VcamProcess cam("127.0.0.41", {"--size", "640x512"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.41");
    _CameraBasicInfo info{};
    int id = Sarvik_Login(&l, &info);
    ASSERT_GE(id, 0);
    EXPECT_EQ(info.videoWidth, 640);
    EXPECT_EQ(info.videoHeight, 512);
    Sarvik_Logout(id);
}

TEST_F(Login, AddressTextMustBeACameraAddress) {
    _CameraBasicInfo info{};
    for (const char *bad : {"", "camera", "127.0.0", "256.1.1.1", "255.255.255.255", "127.0.0.1 "}) {
        _LoginInfo l = login_to(bad);
        EXPECT_EQ(Sarvik_Login(&l, &info), -8) << "'" << bad << "'";
    }
    _LoginInfo unterminated;
    std::memset(&unterminated, '1', sizeof unterminated);
    EXPECT_EQ(Sarvik_Login(&unterminated, &info), -8);
}

TEST_F(Login, NoCameraAtTheAddressIsAConnectFailure) {
    _LoginInfo l = login_to("127.0.0.42");
    _CameraBasicInfo info{};
    EXPECT_EQ(Sarvik_Login(&l, &info), -99);
}

TEST_F(Login, CameraAnsweringWithTheWrongTypeFails) {
    VcamProcess cam("127.0.0.43", {"--fault-wrong-type"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.43");
    _CameraBasicInfo info{};
    EXPECT_EQ(Sarvik_Login(&l, &info), -97);
}

TEST_F(Login, CameraAnsweringInPiecesLogsIn) {
    VcamProcess cam("127.0.0.44", {"--fault-split", "--camera-id", "SPLIT"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.44");
    _CameraBasicInfo info{};
    int id = Sarvik_Login(&l, &info);
    ASSERT_GE(id, 0);
    EXPECT_STREQ(info.cameraId, "SPLIT");
    Sarvik_Logout(id);
}

TEST_F(Login, ShortAnswerFails) {
    VcamProcess cam("127.0.0.45", {"--fault-short"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.45");
    _CameraBasicInfo info{};
    EXPECT_EQ(Sarvik_Login(&l, &info), -97);
}

TEST_F(Login, FailedFixFetchStillSetsTheTimeAndFailsLogin) {
    ScriptedPeer peer("127.0.0.46", 55502, [](const std::vector<uint8_t> &req) {
        PeerReply r;
        uint16_t type;
        std::memcpy(&type, req.data(), 2);
        if (type == 7) r.bytes = make_message(8, 216);
        if (type == 23) r.bytes = make_message(25, 72);  // wrong type
        return r;
    });
    ASSERT_TRUE(peer.listening());
    _LoginInfo l = login_to("127.0.0.46");
    _CameraBasicInfo info{};
    EXPECT_EQ(Sarvik_Login(&l, &info), -97);

    // The time set is one-way; give the peer a moment to read it.
    for (int i = 0; i < 100 && peer.requests().size() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto reqs = peer.requests();
    ASSERT_EQ(reqs.size(), 3u);
    ASSERT_EQ(reqs[2].size(), 72u);
    uint16_t type, len;
    std::memcpy(&type, reqs[2].data(), 2);
    std::memcpy(&len, reqs[2].data() + 2, 2);
    EXPECT_EQ(type, 56);
    EXPECT_EQ(len, 72);
    int32_t words[17];
    std::memcpy(words, reqs[2].data() + 4, sizeof words);
    EXPECT_EQ(words[0], 1) << "time-set command";
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    EXPECT_EQ(words[1], utc.tm_year + 1900);
    EXPECT_GE(words[2], 1);
    EXPECT_LE(words[2], 12);
    for (int i = 7; i < 17; ++i) EXPECT_EQ(words[i], 0);
}

TEST_F(Login, BasicInfoFailureSendsNothingMore) {
    ScriptedPeer peer("127.0.0.47", 55502, [](const std::vector<uint8_t> &) {
        PeerReply r;
        r.bytes = make_message(8, 100);  // short
        return r;
    });
    ASSERT_TRUE(peer.listening());
    _LoginInfo l = login_to("127.0.0.47");
    _CameraBasicInfo info{};
    EXPECT_EQ(Sarvik_Login(&l, &info), -97);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(peer.requests().size(), 1u);
}

TEST_F(Login, SessionTableHolds256AndReusesTheLowestFreeId) {
    VcamProcess cam("127.0.0.48", {"--size", "160x120"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l = login_to("127.0.0.48");
    _CameraBasicInfo info{};
    for (int i = 0; i < 256; ++i) ASSERT_EQ(Sarvik_Login(&l, &info), i);
    EXPECT_EQ(Sarvik_Login(&l, &info), -6);
    EXPECT_EQ(Sarvik_Logout(100), 0);
    EXPECT_EQ(Sarvik_Logout(7), 0);
    EXPECT_EQ(Sarvik_Login(&l, &info), 7);
    EXPECT_EQ(Sarvik_Login(&l, &info), 100);
    EXPECT_EQ(Sarvik_Login(&l, &info), -6);

    // A second init keeps every session.
    EXPECT_EQ(Sarvik_InitSDK(), 0);
    EXPECT_EQ(Sarvik_Login(&l, &info), -6);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(Sarvik_Logout(i), 0);
    EXPECT_EQ(Sarvik_Login(&l, &info), 0);
    EXPECT_EQ(Sarvik_Logout(0), 0);
}
