// The video example against a virtual camera: both previews run, and each leaves a playable MP4 and a PNG
// of a decoded picture at the camera's video size.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>

#include "temp_dir.h"
#include "vcam_process.h"

namespace {

using testsupport::TempDir;
using testsupport::VcamProcess;

TEST(VideoDemo, RecordsAndPicturesBothCompressedStreams) {
    // A second size makes the video size differ from the temperature size.
    VcamProcess cam("127.0.10.43", {"--size", "384x288", "--second-size", "320x240", "--fps", "25"});
    ASSERT_TRUE(cam.ready());
    TempDir dir;
    std::string out;
    ASSERT_EQ(testsupport::run_program(
                  {testsupport::bin_dir() + "/sarvik-video-demo", "127.0.10.43", dir.path(), "1"}, &out, 90),
              0)
        << out;
    for (const char *name : {"video", "mixed"}) {
        EXPECT_NE(out.find(std::string(name) + " preview: 320x240 H.264"), std::string::npos) << out;
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, dir.file(std::string(name) + ".png").c_str()), 0)
            << name;
        EXPECT_EQ(image.width, 320u);
        EXPECT_EQ(image.height, 240u);
        png_image_free(&image);
        std::string probe;
        ASSERT_EQ(testsupport::run_program({"/usr/bin/ffprobe", "-v", "error", "-show_entries",
                                            "stream=codec_name,width,height", "-of",
                                            "default=noprint_wrappers=1", dir.file(std::string(name) + ".mp4")},
                                           &probe),
                  0)
            << name << ": " << probe;
        EXPECT_NE(probe.find("codec_name=h264"), std::string::npos) << probe;
        EXPECT_NE(probe.find("width=320"), std::string::npos) << probe;
    }
}

TEST(VideoDemo, FailsWithoutACamera) {
    TempDir dir;
    std::string out;
    EXPECT_NE(testsupport::run_program(
                  {testsupport::bin_dir() + "/sarvik-video-demo", "127.0.10.44", dir.path(), "1"}, &out, 90),
              0);
}

}  // namespace
