// H264Enc_: encoding BGRA pictures and writing them into video files.
#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace codectest;

namespace {

constexpr int kW = 640, kH = 512;

class EncoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        enc = H264Enc_Open();
        ASSERT_NE(enc, nullptr);
    }
    void TearDown() override { H264Enc_Close(&enc); }

    // Encodes and muxes scene pictures first .. first + count - 1.
    void encodeAndMux(int width, int height, int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            const Picture pic = makeScene(width, height, i);
            uint8_t *data = nullptr;
            int len = 0;
            ASSERT_EQ(H264Enc_EncFrame(enc, pic.data(), &data, &len), SFF_OK) << "picture " << i;
            ASSERT_EQ(H264Enc_MuxFrame(enc, data, len), SFF_OK) << "picture " << i;
        }
    }

    LibrarySession lib;
    LogCapture log;
    TempDir dir;
    H264EncHandle *enc = nullptr;
};

TEST_F(EncoderTest, EveryPictureGivesOneAccessUnitAndKeyFramesCarryParameterSets) {
    const H264EncConfig cfg = encoderConfig(kW, kH, 25);
    const std::vector<Packet> packets = encodeScene(cfg, 60);
    ASSERT_EQ(packets.size(), 60u);  // no picture held back: no B-frames, no look-ahead
    const std::vector<int> first = nalTypes(packets[0]);
    EXPECT_NE(std::find(first.begin(), first.end(), 7), first.end()) << "SPS";
    EXPECT_NE(std::find(first.begin(), first.end(), 8), first.end()) << "PPS";
    EXPECT_NE(std::find(first.begin(), first.end(), 5), first.end()) << "IDR";
    // Two seconds at 25 Hz between key frames: picture 50 is the next IDR, 1..49 are not.
    for (size_t i = 1; i < packets.size(); ++i) {
        const std::vector<int> t = nalTypes(packets[i]);
        const bool idr = std::find(t.begin(), t.end(), 5) != t.end();
        EXPECT_EQ(idr, i == 50) << "packet " << i;
    }
}

TEST_F(EncoderTest, MuxedFileHoldsEveryFrameAtTheDividedRateAndLooksLikeTheSource) {
    // 50 Hz camera delivering every second frame: the file runs at 25 frames per second.
    const H264EncConfig cfg = encoderConfig(kW, kH, 50, 2);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    const std::string path = dir.file("rec.mp4");
    ASSERT_EQ(H264Enc_MuxBegin(enc, path.c_str()), SFF_OK);
    encodeAndMux(kW, kH, 60);
    ASSERT_EQ(H264Enc_MuxEnd(enc), SFF_OK);

    const FileSummary sum = readVideoFile(path, true);
    ASSERT_TRUE(sum.opened);
    EXPECT_NE(sum.format.find("mp4"), std::string::npos) << sum.format;
    EXPECT_EQ(sum.codec, "h264");
    EXPECT_EQ(sum.width, kW);
    EXPECT_EQ(sum.height, kH);
    EXPECT_EQ(sum.frames, 60);
    EXPECT_EQ(sum.decodeErrors, 0);
    EXPECT_TRUE(sum.keyFirst);
    EXPECT_TRUE(sum.dtsRising);
    EXPECT_EQ(sum.rateNum * 1, 25 * sum.rateDen) << sum.rateNum << "/" << sum.rateDen;
    EXPECT_NEAR(sum.durationS, 2.4, 0.05);
    expectProbedFrames(path, 60);

    ASSERT_EQ(sum.pictures.size(), 60u);
    double worst = 99;
    for (int i = 0; i < 60; ++i) {
        const Picture src = makeScene(kW, kH, i);
        worst = std::min(worst, lumaPsnr(src.data(), sum.pictures[i].data(), kW, kH));
    }
    EXPECT_GT(worst, 30.0);
}

TEST_F(EncoderTest, ContainerFollowsTheExtensionWithMp4ForUnknownOnes) {
    const H264EncConfig cfg = encoderConfig(320, 256, 25);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    const struct {
        const char *name;
        const char *format;
    } cases[] = {{"a.mkv", "matroska"}, {"b.ts", "mpegts"}, {"c.rec", "mp4"}, {"d", "mp4"}};
    for (const auto &c : cases) {
        const std::string path = dir.file(c.name);
        ASSERT_EQ(H264Enc_MuxBegin(enc, path.c_str()), SFF_OK) << c.name;
        encodeAndMux(320, 256, 20);
        ASSERT_EQ(H264Enc_MuxEnd(enc), SFF_OK) << c.name;
        const FileSummary sum = readVideoFile(path);
        EXPECT_NE(sum.format.find(c.format), std::string::npos) << c.name << " read as " << sum.format;
        EXPECT_EQ(sum.frames, 20) << c.name;
        EXPECT_EQ(sum.decodeErrors, 0) << c.name;
    }
}

TEST_F(EncoderTest, RecordingBegunMidStreamStartsWithAKeyFrame) {
    const H264EncConfig cfg = encoderConfig(kW, kH, 25);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    for (int i = 0; i < 7; ++i) {
        const Picture pic = makeScene(kW, kH, i);
        uint8_t *data = nullptr;
        int len = 0;
        ASSERT_EQ(H264Enc_EncFrame(enc, pic.data(), &data, &len), SFF_OK);
    }
    const std::string path = dir.file("late.mp4");
    ASSERT_EQ(H264Enc_MuxBegin(enc, path.c_str()), SFF_OK);
    encodeAndMux(kW, kH, 20, 7);
    ASSERT_EQ(H264Enc_MuxEnd(enc), SFF_OK);
    const FileSummary sum = readVideoFile(path);
    EXPECT_EQ(sum.frames, 20);
    EXPECT_TRUE(sum.keyFirst);
    EXPECT_EQ(sum.decodeErrors, 0);
}

TEST_F(EncoderTest, OddPictureSizeIsCroppedToEvenSides) {
    const int w = 641, h = 513;
    const H264EncConfig cfg = encoderConfig(w, h, 25);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    const std::string path = dir.file("odd.mp4");
    ASSERT_EQ(H264Enc_MuxBegin(enc, path.c_str()), SFF_OK);
    encodeAndMux(w, h, 10);
    ASSERT_EQ(H264Enc_MuxEnd(enc), SFF_OK);
    const FileSummary sum = readVideoFile(path, true);
    ASSERT_EQ(sum.frames, 10);
    ASSERT_EQ(sum.width, 640);
    ASSERT_EQ(sum.height, 512);
    const Picture src = makeScene(w, h, 9);
    Picture cropped(640 * 512);
    for (int y = 0; y < 512; ++y) std::copy_n(src.begin() + y * w, 640, cropped.begin() + y * 640);
    EXPECT_GT(lumaPsnr(cropped.data(), sum.pictures[9].data(), 640, 512), 30.0);
}

TEST_F(EncoderTest, CallsOutOfOrderOrWithBadArgumentsFail) {
    uint8_t *data = reinterpret_cast<uint8_t *>(1);
    int len = 1;
    const Picture pic = makeScene(kW, kH, 0);
    EXPECT_EQ(H264Enc_EncFrame(enc, pic.data(), &data, &len), SFF_E_STATE);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(H264Enc_MuxBegin(enc, dir.file("x.mp4").c_str()), SFF_E_STATE);

    H264EncConfig cfg = encoderConfig(1, kH);
    EXPECT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_E_ARG);
    cfg = encoderConfig(kW, 9000);
    EXPECT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_E_ARG);
    EXPECT_TRUE(log.contains("H264Enc_SetConfig", "invalid picture size"));
    EXPECT_EQ(H264Enc_SetConfig(enc, nullptr), SFF_E_ARG);
    EXPECT_EQ(H264Enc_SetConfig(nullptr, &cfg), SFF_E_ARG);

    cfg = encoderConfig(kW, kH);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    EXPECT_EQ(H264Enc_EncFrame(enc, nullptr, &data, &len), SFF_E_ARG);
    const uint8_t junk[100] = {0, 0, 0, 1, 0x65};
    EXPECT_EQ(H264Enc_MuxFrame(enc, junk, sizeof junk), SFF_E_STATE);
    EXPECT_EQ(H264Enc_MuxEnd(enc), SFF_E_STATE);
    EXPECT_EQ(H264Enc_MuxBegin(enc, dir.file("missing/dir/x.mp4").c_str()), SFF_E_IO);
    EXPECT_TRUE(log.contains("H264Enc_MuxBegin", "avio_open"));

    // A file that never received a key frame is not left behind.
    const std::string empty = dir.file("empty.mp4");
    ASSERT_EQ(H264Enc_MuxBegin(enc, empty.c_str()), SFF_OK);
    EXPECT_TRUE(fileExists(empty));
    EXPECT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_E_STATE);  // not while a file is open
    EXPECT_EQ(H264Enc_MuxEnd(enc), SFF_E_NODATA);
    EXPECT_FALSE(fileExists(empty));

    H264Enc_Close(&enc);
    EXPECT_EQ(enc, nullptr);
    EXPECT_EQ(H264Enc_Close(&enc), SFF_OK);
}

TEST_F(EncoderTest, ClosingWithARunningMuxFinishesTheFile) {
    const H264EncConfig cfg = encoderConfig(320, 256, 25);
    ASSERT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    const std::string path = dir.file("closed.mp4");
    ASSERT_EQ(H264Enc_MuxBegin(enc, path.c_str()), SFF_OK);
    encodeAndMux(320, 256, 12);
    H264Enc_Close(&enc);
    const FileSummary sum = readVideoFile(path);
    EXPECT_EQ(sum.frames, 12);
    EXPECT_EQ(sum.decodeErrors, 0);
}

}  // namespace
