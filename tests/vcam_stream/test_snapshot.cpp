// The virtual camera's snapshot replies (header, temperature tail, JPEG) and its documented options.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "stream_client.h"
#include "vcam_process.h"

using namespace streamtest;
using testsupport::VcamProcess;

namespace {

// Whole reply: 32-byte header, then total - 32 bytes; empty when the camera did not deliver it.
std::vector<uint8_t> fetch_snapshot(const std::string &ip, SnapshotHeader *top) {
    const int fd = tcp_connect(ip, kSnapshotPort);
    if (fd < 0) return {};
    std::vector<uint8_t> rest;
    if (recv_all(fd, top, sizeof *top) && top->totalLength >= 32 && top->totalLength < (64 << 20)) {
        rest.resize(static_cast<size_t>(top->totalLength) - sizeof *top);
        if (!recv_all(fd, rest.data(), rest.size())) rest.clear();
    }
    close(fd);
    return rest;
}

}  // namespace

TEST(VcamSnapshot, ReplyCarriesTailAndJpegOfTheCurrentFrame) {
    const std::string ip = "127.0.6.30";
    VcamProcess cam(ip, {"--size", "384x288", "--camera-id", "SNAP0042"});
    ASSERT_TRUE(cam.ready());
    SnapshotHeader top{};
    const std::vector<uint8_t> rest = fetch_snapshot(ip, &top);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(top.width, 384);
    EXPECT_EQ(top.height, 288);

    const size_t n = 384 * 288;
    const size_t tail = 2 * n + SARVIK_TEMP_TAIL_FIXED;
    ASSERT_GT(rest.size(), tail + 4);
    TempTailHead head;
    std::memcpy(&head, rest.data(), sizeof head);
    EXPECT_EQ(head.length, static_cast<int32_t>(tail - 12));
    EXPECT_EQ(std::string(head.magic, 4), "teMp");
    EXPECT_STREQ(head.info.cameraId, "SNAP0042");
    EXPECT_EQ(head.info.width, 384);
    EXPECT_EQ(head.info.height, 288);
    // The record counts from 1601: now, give or take a little.
    const int64_t now1601 = unix_ticks_now() + 116444736000000000LL;
    EXPECT_LT(std::llabs(head.info.timestamp - now1601), 50000000LL);
    EXPECT_EQ(head.header.width, 384);
    EXPECT_EQ(head.header.slope, 100);
    EXPECT_EQ(head.header.encodedLength, 0);

    std::vector<int16_t> samples(n);
    std::memcpy(samples.data(), rest.data() + sizeof head, 2 * n);
    const float left = samples[0] / 100.0f, right = samples[383] / 100.0f;
    EXPECT_NEAR(left, 20.0, 0.1);
    EXPECT_NEAR(right, 25.0, 0.1);

    TempTailEnd end;
    std::memcpy(&end, rest.data() + sizeof head + 2 * n, sizeof end);
    EXPECT_EQ(end.width, 384);
    EXPECT_EQ(end.height, 288);
    EXPECT_EQ(end.mark, static_cast<uint32_t>(SARVIK_TEMP_TAIL_MARK));

    const uint8_t *jpeg = rest.data() + tail;
    const size_t jpegLen = rest.size() - tail;
    ASSERT_GT(jpegLen, 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpegLen - 2], 0xFF);
    EXPECT_EQ(jpeg[jpegLen - 1], 0xD9);
}

TEST(VcamSnapshot, EveryConnectionGetsAFreshReply) {
    const std::string ip = "127.0.6.31";
    VcamProcess cam(ip, {"--size", "640x512"});
    ASSERT_TRUE(cam.ready());
    int64_t last = 0;
    for (int i = 0; i < 3; ++i) {
        SnapshotHeader top{};
        const std::vector<uint8_t> rest = fetch_snapshot(ip, &top);
        ASSERT_FALSE(rest.empty()) << "snapshot " << i;
        EXPECT_EQ(top.width, 640);
        EXPECT_EQ(static_cast<size_t>(top.totalLength), rest.size() + 32);
        TempTailHead head;
        std::memcpy(&head, rest.data(), sizeof head);
        EXPECT_GT(head.header.timestamp, last);
        last = head.header.timestamp;
    }
}

TEST(VcamStreamOptions, HelpListsTheStreamOptions) {
    std::string out;
    ASSERT_EQ(testsupport::run_program({testsupport::bin_dir() + "/sarvik-vcam", "--help"}, &out), 0);
    for (const char *opt : {"--stream-port", "--snapshot-port", "--stream-encoding", "--slope", "--seed",
                            "--fault-stream-drop", "--fault-stream-away", "--fault-stream-stall",
                            "--fault-stream-malformed", "--fault-stream-slow", "R1280H"})
        EXPECT_NE(out.find(opt), std::string::npos) << opt;
}

TEST(VcamStreamOptions, UnknownEncodingIsRefused) {
    std::string out;
    EXPECT_NE(testsupport::run_program({testsupport::bin_dir() + "/sarvik-vcam", "--ip", "127.0.6.32",
                                        "--stream-encoding", "zip", "--lifetime", "2"},
                                       &out, 10),
              0);
}
