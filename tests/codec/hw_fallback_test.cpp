// Hardware device numbers on a machine without the devices: software takes over, said once.
#include "codec_test_support.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/hwcontext.h>
}

using namespace codectest;

namespace {

bool deviceOpens(AVHWDeviceType type) {
    AVBufferRef *device = nullptr;
    const bool ok = av_hwdevice_ctx_create(&device, type, nullptr, nullptr, 0) >= 0;
    av_buffer_unref(&device);
    return ok;
}

size_t countLines(const LogCapture &log, const std::string &text) {
    size_t n = 0;
    for (const std::string &line : log.lines()) n += line.find(text) != std::string::npos;
    return n;
}

class HardwareFallback : public ::testing::Test {
protected:
    LibrarySession lib;
    LogCapture log;
};

TEST_F(HardwareFallback, CudaEncoderFallsBackToSoftwareAndStillEncodes) {
    if (deviceOpens(AV_HWDEVICE_TYPE_CUDA)) GTEST_SKIP() << "a CUDA device is present; nothing falls back";
    const std::vector<Packet> packets = encodeScene(encoderConfig(320, 256, 25, 1, SFF_DEVICE_CUDA), 10);
    EXPECT_EQ(packets.size(), 10u);
    EXPECT_EQ(countLines(log, "hardware device \"cuda\" unavailable"), 1u);
    EXPECT_TRUE(log.contains("H264Enc_SetConfig", "falling back to software"));

    // The software packets are real H.264.
    H264DecHandle *dec = H264Dec_Open();
    H264DecConfig cfg{};
    cfg.width = 320;
    cfg.height = 256;
    ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK);
    Picture out(320 * 256);
    ASSERT_EQ(H264Dec_DecFrame(dec, packets[0].data(), static_cast<int>(packets[0].size()), out.data()),
              SFF_OK);
    const Picture src = makeScene(320, 256, 0);
    EXPECT_GT(lumaPsnr(src.data(), out.data(), 320, 256), 30.0);
    H264Dec_Close(&dec);
}

TEST_F(HardwareFallback, DecoderDevicesFallBackToSoftwareAndStillDecode) {
    const std::vector<Packet> packets = encodeScene(encoderConfig(320, 256), 3);
    ASSERT_EQ(packets.size(), 3u);
    const struct {
        int device;
        const char *line;
    } cases[] = {{SFF_DEVICE_D3D11VA, "hardware device \"d3d11va\" unavailable"},  // absent on Linux
                 {3, "unknown device type 3, using software"}};
    for (const auto &c : cases) {
        H264DecHandle *dec = H264Dec_Open();
        H264DecConfig cfg{};
        cfg.deviceType = static_cast<uint32_t>(c.device);
        cfg.width = 320;
        cfg.height = 256;
        ASSERT_EQ(H264Dec_SetConfig(dec, &cfg), SFF_OK) << c.device;
        EXPECT_EQ(countLines(log, c.line), 1u) << c.device;
        Picture out(320 * 256);
        for (const Packet &p : packets)
            EXPECT_EQ(H264Dec_DecFrame(dec, p.data(), static_cast<int>(p.size()), out.data()), SFF_OK)
                << c.device;
        H264Dec_Close(&dec);
    }
}

}  // namespace
