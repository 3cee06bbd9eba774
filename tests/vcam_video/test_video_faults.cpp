// The video faults of the virtual camera on both video ports: a dropped connection, another size after a
// reconnect, frame headers announcing too many or too few bytes; and their command-line checks.
#include <gtest/gtest.h>

#include <cstdint>

#include "vcam_process.h"
#include "video_client.h"

using namespace videotest;
using testsupport::VcamProcess;

namespace {

const uint16_t kPorts[] = {kVideoPort, kMixedPort};

std::vector<std::string> with(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--size", "320x240", "--still"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

// Reads frames 1 .. n-1 normally and returns the header of frame n.
std::string header_of_frame(const std::string &ip, uint16_t port, int n, H264FrameHeader *header,
                            VideoClient &c) {
    if (!c.open(ip, port)) return "no start record";
    FrameDecoder dec(c.start(), c.start().width, c.start().height);
    const std::string err = expect_frames(c, dec, n - 1, nullptr, 0);
    if (!err.empty()) return err;
    return c.read_header(header) == 1 ? "" : "no header for the faulty frame";
}

// On both ports: frames 1 .. frame-1 arrive whole, frame's header announces a size in [minSize, maxSize],
// the connection closes behind it, and the next connection streams again.
void expect_broken_header(const std::string &ip, int frame, int32_t minSize, int32_t maxSize) {
    for (uint16_t port : kPorts) {
        VideoClient c;
        H264FrameHeader h{};
        ASSERT_EQ(header_of_frame(ip, port, frame, &h, c), "") << port;
        EXPECT_GE(h.size, minSize) << port;
        EXPECT_LE(h.size, maxSize) << port;
        EXPECT_EQ(h.width, 320);
        EXPECT_EQ(h.height, 240);
        EXPECT_EQ(c.read_header(&h), 0) << "closed behind the broken header on port " << port;

        VideoClient again;
        ASSERT_TRUE(again.open(ip, port));
        FrameDecoder dec(again.start(), 320, 240);
        EXPECT_EQ(expect_frames(again, dec, 2 * frame, nullptr, 0), "")
            << "reconnected stream on port " << port;
    }
}

}  // namespace

TEST(VcamVideoFaultDrop, ClosesTheFirstConnectionAfterNFramesThenStreamsAgain) {
    VcamProcess cam("127.0.8.11", with({"--fault-video-drop", "5"}));
    ASSERT_TRUE(cam.ready());
    for (uint16_t port : kPorts) {
        VideoClient c;
        ASSERT_TRUE(c.open("127.0.8.11", port)) << port;
        FrameDecoder dec(c.start(), 320, 240);
        EXPECT_EQ(expect_frames(c, dec, 5, nullptr, 0), "") << port;
        H264FrameHeader h{};
        EXPECT_EQ(c.read_header(&h), 0) << "port " << port << " closed after frame 5";

        VideoClient again;
        ASSERT_TRUE(again.open("127.0.8.11", port)) << port;
        FrameDecoder dec2(again.start(), 320, 240);
        EXPECT_EQ(expect_frames(again, dec2, 12, nullptr, 0), "") << "reconnected stream on port " << port;
    }
}

TEST(VcamVideoFaultResize, LaterConnectionsAnnounceAndStreamTheOtherSize) {
    const std::vector<std::string> args = with({"--fault-video-resize", "160x128"});
    VcamProcess cam("127.0.8.12", args);
    ASSERT_TRUE(cam.ready());
    const std::vector<std::string> resized = {"--size", "320x240", "--second-size", "160x128", "--still"};
    const Picture video = reference_picture("video", resized, 160, 128);
    const Picture mixed = reference_picture("mixed", resized, 160, 128);
    ASSERT_FALSE(video.bgra.empty());
    ASSERT_FALSE(mixed.bgra.empty());
    for (uint16_t port : kPorts) {
        VideoClient c;
        ASSERT_TRUE(c.open("127.0.8.12", port));
        EXPECT_EQ(c.start().width, 320) << "first connection of port " << port;
        EXPECT_EQ(c.start().height, 240);
        for (int round = 0; round < 2; ++round) {
            VideoClient later;
            ASSERT_TRUE(later.open("127.0.8.12", port));
            EXPECT_EQ(later.start().width, 160) << "connection " << round + 2 << " of port " << port;
            EXPECT_EQ(later.start().height, 128);
            FrameDecoder dec(later.start(), 160, 128);
            EXPECT_EQ(expect_frames(later, dec, 5, port == kMixedPort ? &mixed : &video, 30.0), "") << port;
        }
    }
}

TEST(VcamVideoFaultHeader, OversizedHeaderAtFrameNThenTheConnectionCloses) {
    VcamProcess cam("127.0.8.13", with({"--fault-video-oversize", "4"}));
    ASSERT_TRUE(cam.ready());
    expect_broken_header("127.0.8.13", 4, 3 * 320 * 240 + 17408 + 1, INT32_MAX);
}

TEST(VcamVideoFaultHeader, UndersizedHeaderAtFrameNThenTheConnectionCloses) {
    VcamProcess cam("127.0.8.14", with({"--fault-video-undersize", "2"}));
    ASSERT_TRUE(cam.ready());
    expect_broken_header("127.0.8.14", 2, 800, 800);
}

TEST(VcamVideoOptions, AreDocumentedAndCheckedOnTheCommandLine) {
    const std::string vcam = testsupport::bin_dir() + "/sarvik-vcam";
    std::string help;
    ASSERT_EQ(testsupport::run_program({vcam, "--help"}, &help), 0);
    for (const char *opt : {"--still", "--dump-video", "--dump-mixed", "--rtsp-port", "--fault-video-drop",
                            "--fault-video-resize", "--fault-video-oversize", "--fault-video-undersize"})
        EXPECT_NE(help.find(opt), std::string::npos) << opt;
    for (std::vector<std::string> bad : {std::vector<std::string>{"--fault-video-resize", "8x8"},
                                         {"--fault-video-resize", "wide"},
                                         {"--fault-video-oversize", "0"},
                                         {"--fault-video-undersize", "-3"},
                                         {"--fault-video-drop", "x"},
                                         {"--rtsp-port", "0"}}) {
        std::vector<std::string> argv = {vcam, "--ip", "127.0.8.15"};
        argv.insert(argv.end(), bad.begin(), bad.end());
        EXPECT_EQ(testsupport::run_program(argv, nullptr, 10), 2) << bad[0] << " " << bad[1];
    }
}

TEST(VcamVideoOptions, DumpsAreTheVideoSizeAndUnwritableOnesFail) {
    const Picture video =
        reference_picture("video", {"--size", "322x242", "--second-size", "201x151"}, 200, 150);
    EXPECT_EQ(video.bgra.size(), 200u * 150u) << "odd sides are cropped to even, as the stream does";
    const std::string vcam = testsupport::bin_dir() + "/sarvik-vcam";
    EXPECT_EQ(testsupport::run_program(
                  {vcam, "--ip", "127.0.8.15", "--dump-video", "/nonexistent/dir/x.bgra"}, nullptr, 10),
              1);
    EXPECT_EQ(testsupport::run_program({vcam, "--ip", "127.0.8.15", "--second-size", "9000x9000",
                                        "--dump-video", "/tmp/never.bgra"},
                                       nullptr, 10),
              1)
        << "a size the video outputs refuse";
}
