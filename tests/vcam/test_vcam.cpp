// The virtual camera as a peer: spoken to over raw sockets, without the SDK.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "scripted_peer.h"
#include "vcam_process.h"

using namespace testsupport;

namespace {

// Sends one request and reads until the camera closes (bounded by a 3 s receive time-out).
std::vector<uint8_t> camera_exchange(const char *ip, const std::vector<uint8_t> &req) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(55502);
    inet_pton(AF_INET, ip, &a.sin_addr);
    std::vector<uint8_t> out;
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        send(fd, req.data(), req.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(req.size())) {
        uint8_t buf[1024];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0) out.insert(out.end(), buf, buf + n);
    }
    close(fd);
    return out;
}

uint16_t u16(const std::vector<uint8_t> &m, size_t off) {
    uint16_t v = 0;
    std::memcpy(&v, m.data() + off, 2);
    return v;
}

_CameraBasicInfo fetch_basic(const char *ip) {
    auto ans = camera_exchange(ip, make_message(7, 0));
    _CameraBasicInfo b{};
    EXPECT_EQ(ans.size(), 220u);
    if (ans.size() == 220) std::memcpy(&b, ans.data() + 4, sizeof b);
    return b;
}

}  // namespace

TEST(VcamOptions, HelpAndBadArguments) {
    std::string out;
    EXPECT_EQ(run_program({bin_dir() + "/sarvik-vcam", "--help"}, &out), 0);
    EXPECT_NE(out.find("--ip"), std::string::npos);
    EXPECT_EQ(run_program({bin_dir() + "/sarvik-vcam"}, nullptr), 2) << "an address is required";
    EXPECT_EQ(run_program({bin_dir() + "/sarvik-vcam", "--ip", "127.0.0.70", "--size", "big"}, nullptr), 2);
    EXPECT_EQ(run_program({bin_dir() + "/sarvik-vcam", "--ip", "not-an-ip"}, nullptr), 2);
}

TEST(VcamLifetime, StopsByItself) {
    std::string out;
    EXPECT_EQ(run_program({bin_dir() + "/sarvik-vcam", "--ip", "127.0.0.71", "--lifetime", "1"}, &out, 10), 0);
    EXPECT_NE(out.find("stopped"), std::string::npos) << out;
}

TEST(VcamRecords, BasicInfoCarriesTheCommandLine) {
    VcamProcess cam("127.0.0.72", {"--camera-id", "ID-72", "--software-id", "X-GW-9", "--size", "1280x1024",
                                   "--fps", "9", "--second-size", "1920x1080"});
    ASSERT_TRUE(cam.ready());
    auto ans = camera_exchange("127.0.0.72", make_message(7, 0));
    ASSERT_EQ(ans.size(), 220u);
    EXPECT_EQ(u16(ans, 0), 8);
    EXPECT_EQ(u16(ans, 2), 220);
    _CameraBasicInfo b = fetch_basic("127.0.0.72");
    EXPECT_STREQ(b.cameraId, "ID-72");
    EXPECT_STREQ(b.softwareId, "X-GW-9");
    EXPECT_EQ(b.dataWidth, 1280);
    EXPECT_EQ(b.dataHeight, 1024);
    EXPECT_EQ(b.dataFps, 9);
    EXPECT_EQ(b.videoWidth, 1920);
    EXPECT_EQ(b.videoHeight, 1080);
    EXPECT_EQ(b.sendRatio, 1);
}

TEST(VcamRecords, SetBasicInfoChangesOnlyWritableFields) {
    VcamProcess cam("127.0.0.73", {"--camera-id", "ID-73"});
    ASSERT_TRUE(cam.ready());
    _CameraBasicInfo b = fetch_basic("127.0.0.73");
    std::snprintf(b.cameraName, sizeof b.cameraName, "roof east");
    std::snprintf(b.cameraId, sizeof b.cameraId, "HIJACKED");
    b.dataWidth = 1;
    b.sendRatio = 3;
    auto req = make_message(9, sizeof b);
    std::memcpy(req.data() + 4, &b, sizeof b);
    auto ans = camera_exchange("127.0.0.73", req);
    ASSERT_EQ(ans.size(), 4u);
    EXPECT_EQ(u16(ans, 0), 10);
    _CameraBasicInfo after = fetch_basic("127.0.0.73");
    EXPECT_STREQ(after.cameraName, "roof east");
    EXPECT_STREQ(after.cameraId, "ID-73");
    EXPECT_EQ(after.dataWidth, 640);
    EXPECT_EQ(after.sendRatio, 3);
}

TEST(VcamRecords, WrongLengthSetAndUnknownRequestsGetNoAnswer) {
    VcamProcess cam("127.0.0.74");
    ASSERT_TRUE(cam.ready());
    EXPECT_TRUE(camera_exchange("127.0.0.74", make_message(25, 10)).empty());
    EXPECT_TRUE(camera_exchange("127.0.0.74", make_message(3, 0)).empty());
    EXPECT_EQ(camera_exchange("127.0.0.74", make_message(23, 0)).size(), 76u) << "still serving";
}

TEST(VcamControl, ClockCanBeSetAndReadBack) {
    VcamProcess cam("127.0.0.75");
    ASSERT_TRUE(cam.ready());
    auto set = make_message(56, 68);
    const int32_t words[7] = {1, 2031, 6, 15, 8, 30, 0};
    std::memcpy(set.data() + 4, words, sizeof words);
    auto ans = camera_exchange("127.0.0.75", set);
    ASSERT_EQ(ans.size(), 72u);
    EXPECT_EQ(u16(ans, 0), 57);

    auto get = make_message(56, 68);
    ans = camera_exchange("127.0.0.75", get);
    ASSERT_EQ(ans.size(), 72u);
    int32_t got[7];
    std::memcpy(got, ans.data() + 4, sizeof got);
    EXPECT_EQ(got[0], 0);
    EXPECT_EQ(got[1], 2031);
    EXPECT_EQ(got[2], 6);
    EXPECT_EQ(got[3], 15);
    EXPECT_EQ(got[4], 8);
    EXPECT_GE(got[5], 30);
    EXPECT_LE(got[5], 32);
}
