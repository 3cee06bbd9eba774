// The virtual camera's own video and mixed ports, where it serves them: its still picture arrives decoded.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "temp_dir.h"
#include "vcam_process.h"
#include "video_test_support.h"

namespace videotest {
namespace {

bool vcam_serves_video() {
    std::string help;
    testsupport::run_program({testsupport::bin_dir() + "/sarvik-vcam", "--help"}, &help, 20);
    return help.find("--still") != std::string::npos && help.find("--dump-video") != std::string::npos;
}

class VcamVideoTest : public ::testing::TestWithParam<int> {};

TEST_P(VcamVideoTest, TheStillPictureArrivesDecoded) {
    if (!vcam_serves_video()) GTEST_SKIP() << "this sarvik-vcam serves no compressed video";
    const bool mixed = GetParam() == SARVIK_PREVIEW_MIXED;
    const std::string ip = host(mixed ? 51 : 50);
    testsupport::TempDir dir;
    const std::string dump = dir.file("still.bgra");
    std::string out;
    ASSERT_EQ(
        testsupport::run_program({testsupport::bin_dir() + "/sarvik-vcam", "--ip", ip, "--still",
                                  "--second-size", "160x120", mixed ? "--dump-mixed" : "--dump-video", dump},
                                 &out),
        0)
        << out;
    const std::string raw = testsupport::read_file(dump);
    ASSERT_EQ(raw.size(), 160u * 120 * 4);
    std::vector<uint32_t> expected(160 * 120);
    std::memcpy(expected.data(), raw.data(), raw.size());

    testsupport::VcamProcess cam(ip, {"--still", "--second-size", "160x120"});
    ASSERT_TRUE(cam.ready());
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    _LoginInfo l;
    std::memset(&l, 0, sizeof l);
    std::snprintf(l.ip, sizeof l.ip, "%s", ip.c_str());
    _CameraBasicInfo info;
    const int user = Sarvik_Login(&l, &info);
    ASSERT_GE(user, 0);
    Events events;
    events.keep_pictures(12, 160, 120);
    PreviewParam p = preview_param(static_cast<uint8_t>(GetParam()), &events);
    const int h = Sarvik_StartPreview(user, &p);
    EXPECT_GE(h, 0);
    if (h >= 0) {
        EXPECT_TRUE(events.wait_frames(12));
        Sarvik_StopPreview(h);
        const auto pictures = events.pictures();
        ASSERT_FALSE(pictures.empty());
        EXPECT_GT(psnr(pictures.back(), expected), 30.0);
    }
    Sarvik_Logout(user);
    Sarvik_FreeSDK();
}

INSTANTIATE_TEST_SUITE_P(Ports, VcamVideoTest, ::testing::Values(SARVIK_PREVIEW_VIDEO, SARVIK_PREVIEW_MIXED));

}  // namespace
}  // namespace videotest
