// The live preview example against a virtual camera: its three output files are complete and consistent
// with the camera, and it fails cleanly without one.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "temp_dir.h"
#include "vcam_process.h"

namespace {

using testsupport::TempDir;
using testsupport::VcamProcess;

constexpr int kW = 384, kH = 288;
constexpr size_t kN = static_cast<size_t>(kW) * kH;

int run_demo(const std::string &ip, const std::string &dir, std::string *out) {
    return testsupport::run_program({testsupport::bin_dir() + "/sarvik-preview-demo", ip, dir, "1"}, out, 90);
}

// Checks the three files the demo wrote into dir against a 384 x 288 camera named VCAM-EXAMPLE and the
// demo's printed output.
void expect_outputs(const TempDir &dir, const std::string &out) {
    // Stream file: the prefix and whole frames of this camera, at least one of them.
    const std::string stream = testsupport::read_file(dir.file("recording.stream"));
    const size_t prefix = 4 * kN + 1216, frameBytes = 2 * kN + 128;
    ASSERT_GT(stream.size(), prefix);
    EXPECT_EQ((stream.size() - prefix) % frameBytes, 0u);
    const size_t frames = (stream.size() - prefix) / frameBytes;
    EXPECT_GE(frames, 1u);
    FrameFileInfo info;
    std::memcpy(&info, stream.data() + 4 * kN + 1088, sizeof info);
    EXPECT_STREQ(info.cameraId, "VCAM-EXAMPLE");
    EXPECT_EQ(info.width, kW);
    EXPECT_EQ(info.height, kH);
    // The frame count the demo printed is the one the file holds.
    EXPECT_NE(out.find("384x288, " + std::to_string(frames) + " frames"), std::string::npos) << out;

    // Snapshot: an image followed by the temperature tail of this camera's size.
    const std::string snap = testsupport::read_file(dir.file("snapshot.jpg"));
    const size_t tail = 2 * kN + 16684;
    ASSERT_GT(snap.size(), tail);
    EXPECT_EQ(snap.compare(snap.size() - tail + 4, 4, "teMp"), 0);
    TempTailEnd end;
    std::memcpy(&end, snap.data() + snap.size() - sizeof end, sizeof end);
    EXPECT_EQ(end.width, kW);
    EXPECT_EQ(end.height, kH);
    EXPECT_EQ(end.mark, static_cast<uint32_t>(SARVIK_TEMP_TAIL_MARK));

    // Picture: a PNG of the camera's size showing a rendered scene, not a blank.
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, dir.file("preview.png").c_str()), 0);
    EXPECT_EQ(image.width, static_cast<png_uint_32>(kW));
    EXPECT_EQ(image.height, static_cast<png_uint_32>(kH));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    auto pixel = [&](int x, int y) {
        const uint8_t *p = &rgb[(static_cast<size_t>(y) * kW + x) * 3];
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    };
    std::set<uint32_t> colours;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) colours.insert(pixel(x, y));
    EXPECT_GT(colours.size(), 2u);
    // The scene warms from left to right: the two edges of a row differ.
    EXPECT_NE(pixel(1, 5), pixel(kW - 2, 5));
}

TEST(PreviewDemo, WritesStreamSnapshotAndPictureOfTheCamera) {
    VcamProcess cam("127.0.10.40", {"--size", "384x288", "--fps", "25", "--camera-id", "VCAM-EXAMPLE"});
    ASSERT_TRUE(cam.ready());
    TempDir dir;
    std::string out;
    ASSERT_EQ(run_demo("127.0.10.40", dir.path(), &out), 0) << out;
    expect_outputs(dir, out);
}

// An unpaced camera sends as fast as the preview reads: the recording still holds whole frames only and
// the counts the demo prints agree with its files.
TEST(PreviewDemo, KeepsUpWithAnUnpacedCamera) {
    VcamProcess cam("127.0.10.42", {"--size", "384x288", "--fps", "0", "--camera-id", "VCAM-EXAMPLE"});
    ASSERT_TRUE(cam.ready());
    TempDir dir;
    std::string out;
    ASSERT_EQ(run_demo("127.0.10.42", dir.path(), &out), 0) << out;
    expect_outputs(dir, out);
}

TEST(PreviewDemo, FailsWithoutACameraAndWritesNothing) {
    TempDir dir;
    std::string out;
    EXPECT_EQ(run_demo("127.0.10.41", dir.path(), &out), 1) << out;
    EXPECT_TRUE(testsupport::read_file(dir.file("recording.stream")).empty());
    EXPECT_TRUE(testsupport::read_file(dir.file("preview.png")).empty());
}

}  // namespace
