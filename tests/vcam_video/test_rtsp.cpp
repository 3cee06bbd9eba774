// The virtual camera's RTSP server, opened and decoded with the codec layer's RTSP source.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vcam_process.h"
#include "video_client.h"

using namespace videotest;
using testsupport::VcamProcess;

namespace {

constexpr const char *kRtspPort = "8554";

struct RtspSource {
    RtspSourceParam source{};
    RtspDemuxDecConfig cfg{};
    RtspDemuxDecHandle *handle = nullptr;
    int status = SFF_E_STATE;

    explicit RtspSource(const std::string &url) {
        std::snprintf(source.url, sizeof source.url, "%s", url.c_str());
        cfg.timeoutMs = 5000;
        status = RtspDemuxDec_Open(&source, &cfg, &handle);
    }
    ~RtspSource() { RtspDemuxDec_Close(&handle); }

    // Reads pictures pictures; the lowest PSNR against the reference, or -1 when one failed.
    double read(int pictures, const Picture &reference) {
        Picture p;
        p.width = source.width;
        p.height = source.height;
        p.bgra.resize(static_cast<size_t>(p.width) * p.height);
        double lowest = 99.0;
        for (int i = 0; i < pictures; ++i) {
            if (RtspDemuxDec_ReadFrame(handle, p.bgra.data(), nullptr) != 0) return -1;
            lowest = std::min(lowest, psnr_db(p, reference));
        }
        return lowest;
    }
};

const std::vector<std::string> kArgs = {"--size",  "320x240",     "--second-size", "256x192",
                                        "--still", "--rtsp-port", kRtspPort};

// The path plays the camera's still picture of that kind at the video size.
void expect_plays(const std::string &ip, const std::string &kind) {
    const Picture ref = reference_picture(kind, kArgs, 256, 192);
    ASSERT_FALSE(ref.bgra.empty());
    VcamProcess cam(ip, kArgs);
    ASSERT_TRUE(cam.ready());
    RtspSource src("rtsp://" + ip + ":" + kRtspPort + "/" + kind);
    ASSERT_EQ(src.status, 0) << Ffmpeg_ErrorText(src.status);
    EXPECT_EQ(src.source.width, 256);
    EXPECT_EQ(src.source.height, 192);
    EXPECT_GE(src.read(10, ref), 30.0) << kind;
}

}  // namespace

TEST(VcamRtsp, VideoPathPlaysTheThermalPictureAtTheVideoSize) {
    expect_plays("127.0.8.31", "video");
}

TEST(VcamRtsp, MixedPathPlaysTheMixedPicture) {
    expect_plays("127.0.8.32", "mixed");
}

TEST(VcamRtsp, TwoClientsAtOnceEachGetTheirOwnStream) {
    const Picture ref = reference_picture("video", kArgs, 256, 192);
    VcamProcess cam("127.0.8.33", kArgs);
    ASSERT_TRUE(cam.ready());
    const std::string url = std::string("rtsp://127.0.8.33:") + kRtspPort + "/video";
    RtspSource a(url);
    ASSERT_EQ(a.status, 0);
    EXPECT_GE(a.read(5, ref), 30.0);
    RtspSource b(url);
    ASSERT_EQ(b.status, 0);
    EXPECT_GE(b.read(5, ref), 30.0);
    EXPECT_GE(a.read(5, ref), 30.0);
}

TEST(VcamRtsp, UnknownPathIsRefused) {
    VcamProcess cam("127.0.8.34", kArgs);
    ASSERT_TRUE(cam.ready());
    RtspSource src(std::string("rtsp://127.0.8.34:") + kRtspPort + "/thermal");
    EXPECT_LT(src.status, 0);
    EXPECT_EQ(src.handle, nullptr);
}

TEST(VcamRtsp, OffUnlessAsked) {
    VcamProcess cam("127.0.8.35", {"--size", "320x240"});
    ASSERT_TRUE(cam.ready());
    RtspSource src(std::string("rtsp://127.0.8.35:") + kRtspPort + "/video");
    EXPECT_LT(src.status, 0);
}
