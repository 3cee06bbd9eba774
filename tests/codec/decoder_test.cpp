// H264Dec_: decoding received access units into BGRA and recording them.
#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace codectest;

namespace {

constexpr int kW = 640, kH = 512;

H264DecConfig decoderConfig(int width, int height, const Packet &config = {}, int rate = 0, int divisor = 0,
                            int device = 0) {
    H264DecConfig cfg{};
    cfg.deviceType = static_cast<uint32_t>(device);
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.paramA = static_cast<uint16_t>(rate);
    cfg.paramB = static_cast<uint16_t>(divisor);
    cfg.configLength = static_cast<int32_t>(config.size());
    if (!config.empty()) std::memcpy(cfg.config, config.data(), std::min(config.size(), sizeof cfg.config));
    return cfg;
}

// avcC record for one SPS and one PPS given as bare NAL units.
Packet avccOf(const Packet &sps, const Packet &pps) {
    Packet out = {1, sps[1], sps[2], sps[3], 0xff, 0xe1};
    out.push_back(static_cast<uint8_t>(sps.size() >> 8));
    out.push_back(static_cast<uint8_t>(sps.size()));
    out.insert(out.end(), sps.begin(), sps.end());
    out.push_back(1);
    out.push_back(static_cast<uint8_t>(pps.size() >> 8));
    out.push_back(static_cast<uint8_t>(pps.size()));
    out.insert(out.end(), pps.begin(), pps.end());
    return out;
}

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dec = H264Dec_Open();
        ASSERT_NE(dec, nullptr);
    }
    void TearDown() override { H264Dec_Close(&dec); }

    int decode(const Packet &au, Picture &out) {
        return H264Dec_DecFrame(dec, au.data(), static_cast<int>(au.size()), out.data());
    }
    int mux(const Packet &au) { return H264Dec_MuxFrame(dec, au.data(), static_cast<int>(au.size())); }
    // Luma PSNR of a decoded picture against scene picture `index`.
    static double quality(const Picture &out, int index, int width = kW, int height = kH) {
        const Picture src = makeScene(width, height, index);
        return lumaPsnr(src.data(), out.data(), width, height);
    }

    // 70 pictures at 640 x 512, 25 Hz: IDR at 0 and 50. Encoded once for the whole suite.
    static const std::vector<Packet> &stream() {
        static const std::vector<Packet> packets = encodeScene(encoderConfig(kW, kH, 25), 70);
        return packets;
    }

    LibrarySession lib;
    LogCapture log;
    TempDir dir;
    H264DecHandle *dec = nullptr;
};

TEST_F(DecoderTest, EncoderPacketsDecodeToPicturesThatMatchTheSource) {
    const H264DecConfig cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    Picture out(kW * kH);
    for (int i = 0; i < 30; ++i) {
        const Packet &p = stream()[i];
        ASSERT_EQ(decode(p, out), SFF_OK) << i;
        EXPECT_GT(quality(out, i), 30.0) << "picture " << i;
    }
}

TEST_F(DecoderTest, ConfigurationBytesSupplyTheParameterSetsInEitherForm) {
    const Packet &idr = stream()[0];
    const Packet params = onlyNals(idr, {7, 8});
    ASSERT_LE(params.size(), 64u);
    const Packet bare = withoutNals(idr, {6, 7, 8});  // slices only
    Picture out(kW * kH);

    // Without parameter sets the slices cannot be decoded.
    H264DecConfig cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    EXPECT_NE(decode(bare, out), SFF_OK);

    cfg = decoderConfig(kW, kH, params);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    ASSERT_EQ(decode(bare, out), SFF_OK);
    EXPECT_GT(quality(out, 0), 30.0);

    // Parameter sets in a packet of their own, as some cameras send them.
    cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    EXPECT_EQ(decode(params, out), SFF_NO_OUTPUT);
    std::fill(out.begin(), out.end(), 0u);
    ASSERT_EQ(decode(bare, out), SFF_OK);
    EXPECT_GT(quality(out, 0), 30.0);

    const Packet sps = onlyNals(idr, {7}), pps = onlyNals(idr, {8});
    const Packet avcc = avccOf(Packet(sps.begin() + 4, sps.end()), Packet(pps.begin() + 4, pps.end()));
    ASSERT_LE(avcc.size(), 64u);
    cfg = decoderConfig(kW, kH, avcc);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    std::fill(out.begin(), out.end(), 0u);
    ASSERT_EQ(decode(bare, out), SFF_OK);
    EXPECT_GT(quality(out, 0), 30.0);
}

TEST_F(DecoderTest, PicturesAreScaledToTheConfiguredSize) {
    // A 640 x 512 stream into a 320 x 256 output and back up: the buffers are exactly the
    // configured size, so any overrun shows under the address sanitizer.
    Picture small(320 * 256);
    H264DecConfig cfg = decoderConfig(320, 256);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    ASSERT_EQ(decode(stream()[0], small), SFF_OK);
    const Picture src = makeScene(kW, kH, 0);
    EXPECT_NEAR(meanLuma(small.data(), 320, 256), meanLuma(src.data(), kW, kH), 3.0);

    const std::vector<Packet> little = encodeScene(encoderConfig(160, 128, 25), 1);
    ASSERT_EQ(little.size(), 1u);
    Picture big(kW * kH);
    cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    ASSERT_EQ(decode(little[0], big), SFF_OK);
    const Picture littleSrc = makeScene(160, 128, 0);
    EXPECT_NEAR(meanLuma(big.data(), kW, kH), meanLuma(littleSrc.data(), 160, 128), 3.0);
}

TEST_F(DecoderTest, NothingIsShownBeforeTheFirstKeyFrame) {
    H264DecConfig cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    Picture out(kW * kH, 0x12345678u);
    // Joined mid-stream, parameter sets unknown: the slices cannot be read at all.
    for (int i = 40; i < 45; ++i) {
        const Packet &p = stream()[i];
        EXPECT_EQ(decode(p, out), SFF_E_DATA) << i;
    }
    // Parameter sets known from the configuration: the pictures just wait for their key frame.
    cfg = decoderConfig(kW, kH, onlyNals(stream()[0], {7, 8}));
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    for (int i = 45; i < 50; ++i) {
        const Packet &p = stream()[i];
        EXPECT_EQ(decode(p, out), SFF_NO_OUTPUT) << i;
    }
    EXPECT_EQ(out[0], 0x12345678u);
    // Parameter sets alone are not a picture, and not an error.
    const Packet params = onlyNals(stream()[50], {7, 8});
    EXPECT_EQ(decode(params, out), SFF_NO_OUTPUT);
    EXPECT_EQ(decode(stream()[50], out), SFF_OK);
    EXPECT_GT(quality(out, 50), 30.0);
}

TEST_F(DecoderTest, GarbageAndTruncatedInputReturnErrorsAndDecodingRecovers) {
    const H264DecConfig cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    Picture out(kW * kH);
    std::mt19937 rng(1234);
    Packet garbage(5000);
    for (auto &b : garbage) b = static_cast<uint8_t>(rng() & 0xff);
    EXPECT_EQ(decode(garbage, out), SFF_E_DATA);
    EXPECT_TRUE(log.contains("H264Dec_DecFrame"));

    // Well framed, garbage inside: an SEI and an IDR slice.
    for (uint8_t header : {uint8_t{0x06}, uint8_t{0x65}}) {
        Packet framed = {0, 0, 0, 1, header};
        framed.insert(framed.end(), garbage.begin(), garbage.end());
        EXPECT_EQ(decode(framed, out), SFF_E_DATA) << "NAL header " << int(header);
    }

    const Packet &idr = stream()[0];
    // Cut inside the parameter sets: no picture either way.
    EXPECT_NE(H264Dec_DecFrame(dec, idr.data(), 20, out.data()), SFF_OK);
    // Cut inside the picture: the damage is reported.
    for (size_t cut : {idr.size() / 3, idr.size() / 2, idr.size() - 5}) {
        const Packet head(idr.begin(), idr.begin() + cut);
        EXPECT_EQ(H264Dec_DecFrame(dec, head.data(), static_cast<int>(cut), out.data()), SFF_E_DATA)
            << "cut at " << cut;
    }
    EXPECT_EQ(H264Dec_DecFrame(dec, nullptr, 10, out.data()), SFF_E_ARG);
    EXPECT_EQ(H264Dec_DecFrame(dec, idr.data(), 0, out.data()), SFF_E_ARG);
    EXPECT_EQ(H264Dec_DecFrame(dec, idr.data(), static_cast<int>(idr.size()), nullptr), SFF_E_ARG);

    ASSERT_EQ(decode(stream()[50], out), SFF_OK);
    EXPECT_GT(quality(out, 50), 30.0);
}

TEST_F(DecoderTest, DamagedPacketsNeverCrashTheDecoder) {
    const H264DecConfig cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    Picture out(kW * kH);
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        Packet p = stream()[round % 20];
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int f = 0; f < flips; ++f) p[rng() % p.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        const int len = static_cast<int>(rng() % 4 == 0 ? rng() % p.size() + 1 : p.size());
        // Only the given length may be read: copy it to a buffer of exactly that size.
        const Packet exact(p.begin(), p.begin() + len);
        const int ret = H264Dec_DecFrame(dec, exact.data(), len, out.data());
        EXPECT_TRUE(ret == SFF_OK || ret == SFF_NO_OUTPUT || ret == SFF_E_DATA || ret == SFF_E_CODEC) << ret;
    }
}

TEST_F(DecoderTest, RecordingReceivedPacketsSkipsToTheFirstKeyFrame) {
    const H264DecConfig cfg = decoderConfig(kW, kH, {}, 25);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    const std::string path = dir.file("received.mp4");
    ASSERT_EQ(H264Dec_MuxBegin(dec, path.c_str()), SFF_OK);
    for (int i = 10; i < 70; ++i) {
        const Packet &p = stream()[i];
        EXPECT_EQ(mux(p), i < 50 ? SFF_NO_OUTPUT : SFF_OK) << i;
    }
    ASSERT_EQ(H264Dec_MuxEnd(dec), SFF_OK);
    const FileSummary sum = readVideoFile(path, true);
    EXPECT_EQ(sum.frames, 20);
    EXPECT_EQ(sum.decodeErrors, 0);
    EXPECT_TRUE(sum.keyFirst);
    EXPECT_EQ(sum.width, kW);
    EXPECT_EQ(sum.height, kH);
    EXPECT_NEAR(sum.durationS, 0.8, 0.05);
    expectProbedFrames(path, 20);
    ASSERT_EQ(sum.pictures.size(), 20u);
    EXPECT_GT(quality(sum.pictures[0], 50), 30.0);
}

TEST_F(DecoderTest, RecordingUsesParameterSetsFromTheConfigurationAndTheStreamRate) {
    // The camera announced SPS/PPS once in its start record; the frames carry slices only.
    const Packet params = onlyNals(stream()[0], {7, 8});
    // 30 Hz with every second frame sent: 15 frames per second.
    const H264DecConfig cfg = decoderConfig(kW, kH, params, 30, 2);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    const std::string path = dir.file("slices.mkv");
    ASSERT_EQ(H264Dec_MuxBegin(dec, path.c_str()), SFF_OK);
    for (int i = 0; i < 60; ++i) {
        const Packet bare = withoutNals(stream()[i], {7, 8});
        ASSERT_EQ(mux(bare), SFF_OK) << i;
    }
    ASSERT_EQ(H264Dec_MuxEnd(dec), SFF_OK);
    const FileSummary sum = readVideoFile(path);
    EXPECT_NE(sum.format.find("matroska"), std::string::npos);
    EXPECT_EQ(sum.frames, 60);
    EXPECT_EQ(sum.decodeErrors, 0);
    EXPECT_NEAR(sum.durationS, 4.0, 0.1);
    expectProbedFrames(path, 60);
}

TEST_F(DecoderTest, CallsOutOfOrderOrWithBadArgumentsFail) {
    Picture out(kW * kH);
    const Packet &idr = stream()[0];
    EXPECT_EQ(decode(idr, out), SFF_E_STATE);
    EXPECT_EQ(H264Dec_MuxBegin(dec, dir.file("x.mp4").c_str()), SFF_E_STATE);
    EXPECT_EQ(mux(idr), SFF_E_STATE);
    EXPECT_EQ(H264Dec_MuxEnd(dec), SFF_E_STATE);

    H264DecConfig cfg = decoderConfig(kW, kH);
    cfg.configLength = 65;
    EXPECT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_E_ARG);
    cfg = decoderConfig(0, kH);
    EXPECT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_E_ARG);
    EXPECT_TRUE(log.contains("H264Dec_SetConfig", "invalid configuration"));
    EXPECT_EQ(H264Dec_SetConfig(dec, nullptr), SFF_E_ARG);

    cfg = decoderConfig(kW, kH);
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    const std::string path = dir.file("open.mp4");
    ASSERT_EQ(H264Dec_MuxBegin(dec, path.c_str()), SFF_OK);
    EXPECT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_E_STATE);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(mux(stream()[i]), SFF_OK);
    // Closing the handle finishes the file.
    H264Dec_Close(&dec);
    EXPECT_EQ(dec, nullptr);
    EXPECT_EQ(readVideoFile(path).frames, 5);
}

}  // namespace
