// The video (55506) and mixed (55507) ports of the virtual camera: the start record, the frame framing, and
// decoded pictures against the camera's own reference pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "vcam_process.h"
#include "video_client.h"

using namespace videotest;
using testsupport::VcamProcess;

namespace {

class CodecEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(Ffmpeg_Init(), 0); }
    void TearDown() override { Ffmpeg_Free(); }
};
const ::testing::Environment *const kCodec = ::testing::AddGlobalTestEnvironment(new CodecEnvironment);

constexpr double kMinPsnrDb = 30.0;
const std::vector<std::string> kStill = {"--size", "320x240", "--still"};

// NAL unit types present behind start codes in the configuration bytes.
bool has_nal(const H264FrameStart &s, int type) {
    for (int i = 0; i + 4 < s.configLength; ++i)
        if (s.config[i] == 0 && s.config[i + 1] == 0 && s.config[i + 2] == 1 &&
            (s.config[i + 3] & 0x1F) == type)
            return true;
    return false;
}

}  // namespace

TEST(VcamVideoStart, CarriesTheVideoSizeAndTheParameterSets) {
    VcamProcess cam("127.0.8.1", kStill);
    ASSERT_TRUE(cam.ready());
    for (uint16_t port : {kVideoPort, kMixedPort}) {
        VideoClient c;
        ASSERT_TRUE(c.open("127.0.8.1", port)) << port;
        const H264FrameStart &s = c.start();
        EXPECT_EQ(s.width, 320);
        EXPECT_EQ(s.height, 240);
        EXPECT_GT(s.configLength, 8);
        EXPECT_LE(s.configLength, 64);
        EXPECT_TRUE(has_nal(s, 7)) << "SPS in the configuration of port " << port;
        EXPECT_TRUE(has_nal(s, 8)) << "PPS in the configuration of port " << port;
        EXPECT_EQ(s.paramA, 25) << "frame rate for a client's recordings";
    }
}

TEST(VcamVideoFrames, DecodeToTheThermalReferencePicture) {
    const Picture ref = reference_picture("video", kStill, 320, 240);
    ASSERT_EQ(ref.bgra.size(), 320u * 240u);
    VcamProcess cam("127.0.8.2", kStill);
    ASSERT_TRUE(cam.ready());
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.2", kVideoPort));
    FrameDecoder dec(c.start(), 320, 240);
    ASSERT_EQ(dec.config_status(), 0);
    double lowest = 0;
    EXPECT_EQ(expect_frames(c, dec, 30, &ref, kMinPsnrDb, &lowest), "");
    RecordProperty("lowest_psnr_db", std::to_string(lowest));
}

TEST(VcamVideoFrames, MixedPortDecodesToTheMixedPictureNotTheThermalOne) {
    const Picture thermal = reference_picture("video", kStill, 320, 240);
    const Picture mixed = reference_picture("mixed", kStill, 320, 240);
    ASSERT_FALSE(thermal.bgra.empty());
    ASSERT_FALSE(mixed.bgra.empty());
    // The two outputs must be told apart at all for the check below to mean anything.
    ASSERT_LT(psnr_db(thermal, mixed), 20.0);
    VcamProcess cam("127.0.8.3", kStill);
    ASSERT_TRUE(cam.ready());
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.3", kMixedPort));
    FrameDecoder dec(c.start(), 320, 240);
    EXPECT_EQ(expect_frames(c, dec, 30, &mixed, kMinPsnrDb), "");
    EXPECT_LT(psnr_db(dec.picture(), thermal), 20.0);
}

TEST(VcamVideoFrames, FollowTheSecondSizeOfTheBasicInfo) {
    const std::vector<std::string> args = {"--size", "320x240", "--second-size", "256x192", "--still"};
    const Picture ref = reference_picture("video", args, 256, 192);
    ASSERT_FALSE(ref.bgra.empty());
    VcamProcess cam("127.0.8.4", args);
    ASSERT_TRUE(cam.ready());
    _CameraBasicInfo info{};
    ASSERT_TRUE(fetch_basic_info("127.0.8.4", &info));
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.4", kVideoPort));
    EXPECT_EQ(c.start().width, info.videoWidth);
    EXPECT_EQ(c.start().height, info.videoHeight);
    FrameDecoder dec(c.start(), 256, 192);
    EXPECT_EQ(expect_frames(c, dec, 10, &ref, kMinPsnrDb), "");
}

TEST(VcamVideoFrames, WithoutASecondSizeTheTemperatureSizeIsTheVideoSize) {
    VcamProcess cam("127.0.8.5", {"--size", "384x288"});
    ASSERT_TRUE(cam.ready());
    _CameraBasicInfo info{};
    ASSERT_TRUE(fetch_basic_info("127.0.8.5", &info));
    EXPECT_EQ(info.videoWidth, 0) << "the basic info leaves the second plane to the client's login";
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.5", kMixedPort));
    EXPECT_EQ(c.start().width, 384);
    EXPECT_EQ(c.start().height, 288);
    FrameDecoder dec(c.start(), 384, 288);
    EXPECT_EQ(expect_frames(c, dec, 5, nullptr, 0), "");
}

TEST(VcamVideoClients, ALaterClientDecodesFromItsFirstFrame) {
    const Picture ref = reference_picture("video", kStill, 320, 240);
    VcamProcess cam("127.0.8.6", kStill);
    ASSERT_TRUE(cam.ready());
    VideoClient first;
    ASSERT_TRUE(first.open("127.0.8.6", kVideoPort));
    FrameDecoder firstDec(first.start(), 320, 240);
    ASSERT_EQ(expect_frames(first, firstDec, 20, &ref, kMinPsnrDb), "");
    // Joins a stream well past its first key frame, while the first client still reads.
    VideoClient later;
    ASSERT_TRUE(later.open("127.0.8.6", kVideoPort));
    FrameDecoder laterDec(later.start(), 320, 240);
    EXPECT_EQ(expect_frames(later, laterDec, 5, &ref, kMinPsnrDb), "");
    EXPECT_EQ(expect_frames(first, firstDec, 5, &ref, kMinPsnrDb), "");
}

TEST(VcamVideoScene, MovesUnlessStill) {
    VcamProcess cam("127.0.8.7", {"--size", "320x240", "--fps", "10"});
    ASSERT_TRUE(cam.ready());
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.7", kVideoPort));
    FrameDecoder dec(c.start(), 320, 240);
    ASSERT_EQ(expect_frames(c, dec, 1, nullptr, 0), "");
    const Picture early = dec.picture();
    // Two seconds on, the warm disc has turned a tenth of its circle.
    ASSERT_EQ(expect_frames(c, dec, 20, nullptr, 0), "");
    EXPECT_LT(psnr_db(early, dec.picture()), 30.0);
}

TEST(VcamVideoFrames, HeadersCarryTheirSendTime) {
    VcamProcess cam("127.0.8.40", kStill);
    ASSERT_TRUE(cam.ready());
    VideoClient c;
    ASSERT_TRUE(c.open("127.0.8.40", kVideoPort));
    int64_t previous = 0;
    for (int i = 0; i < 5; ++i) {
        H264FrameHeader h;
        std::vector<uint8_t> data;
        ASSERT_TRUE(c.read_frame(&h, &data));
        int64_t sentAt;
        std::memcpy(&sentAt, h.reserved_8, sizeof sentAt);
        const int64_t now = static_cast<int64_t>(std::time(nullptr)) * 10000000;
        EXPECT_NEAR(static_cast<double>(sentAt), static_cast<double>(now), 3e7) << "100-ns ticks since 1970";
        EXPECT_GT(sentAt, previous);
        previous = sentAt;
    }
}
