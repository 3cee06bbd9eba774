// --scene-loop: frames rendered once and sent in turn, numbered in header bytes 56 to 59, raw and
// delta-run encoded; a camera without it leaves those bytes zero.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "stream_client.h"
#include "vcam_process.h"

using namespace streamtest;
using testsupport::VcamProcess;

namespace {

uint32_t frame_number(const _DataFrameHeader &h) {
    uint32_t n = 0;
    std::memcpy(&n, h.reserved_56, sizeof n);
    return n;
}

struct LoopCase {
    const char *ip;
    const char *encoding;
};

class VcamSceneLoop : public ::testing::TestWithParam<LoopCase> {};

}  // namespace

TEST_P(VcamSceneLoop, FramesAreNumberedFreshlyStampedAndRepeatTheLoop) {
    constexpr int kLoop = 3, kFrames = 7;
    const LoopCase &c = GetParam();
    VcamProcess cam(c.ip, {"--size", "80x60", "--fps", "50", "--scene-loop", std::to_string(kLoop),
                           "--stream-encoding", c.encoding});
    ASSERT_TRUE(cam.ready());
    {
        // The receiver clears the encoded length once it has decoded: the wire is read here.
        const int fd = tcp_connect(c.ip, kStreamPort);
        ASSERT_GE(fd, 0);
        _DataFrameHeader h{};
        ASSERT_TRUE(recv_all(fd, &h, sizeof h));
        close(fd);
        EXPECT_EQ(h.encodedLength != 0, std::strcmp(c.encoding, "delta") == 0);
        EXPECT_EQ(frame_number(h), 0u);
    }
    StreamClient client(SARVIK_TRANSPORT_TCP, 80, 60);
    ASSERT_EQ(client.open(c.ip), 0);
    std::vector<std::vector<int16_t>> frames;
    int64_t lastStamp = 0;
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(client.receive(), 0) << "frame " << i;
        const _DataFrameHeader &h = client.header();
        EXPECT_EQ(frame_number(h), static_cast<uint32_t>(i));
        EXPECT_GT(h.timestamp, lastStamp);
        lastStamp = h.timestamp;
        frames.emplace_back(client.samples(), client.samples() + 80 * 60);
    }
    EXPECT_NE(frames[0], frames[1]) << "the loop's frames differ by their noise";
    for (int i = kLoop; i < kFrames; ++i) EXPECT_EQ(frames[i], frames[i - kLoop]) << "frame " << i;
    EXPECT_NEAR(client.max_temp(), 37.0, 0.1) << "the warm disc is in the loop";
    EXPECT_NEAR(client.mean_temp(0, 8, 0, 8), 20.0 + 5.0 * 3.5 / 79, 0.02) << "and so is the gradient";
}

INSTANTIATE_TEST_SUITE_P(Encodings, VcamSceneLoop,
                         ::testing::Values(LoopCase{"127.0.6.50", "raw"}, LoopCase{"127.0.6.51", "delta"}),
                         [](const ::testing::TestParamInfo<LoopCase> &info) {
                             return std::string(info.param.encoding);
                         });

TEST(VcamSceneLoopOff, NumberBytesStayZero) {
    const std::string ip = "127.0.6.52";
    VcamProcess cam(ip, {"--size", "80x60", "--fps", "50"});
    ASSERT_TRUE(cam.ready());
    StreamClient client(SARVIK_TRANSPORT_TCP, 80, 60);
    ASSERT_EQ(client.open(ip), 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(client.receive(), 0);
        EXPECT_EQ(frame_number(client.header()), 0u) << "frame " << i;
    }
}
