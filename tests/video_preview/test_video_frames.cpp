// Video and mixed previews deliver the camera's frames decoded, from the port of their kind.
#include "video_fixture.h"

namespace videotest {
namespace {

TEST_F(VideoPreviewTest, DecodedPicturesMatchTheEncodedFrames) {
    camera(1, SARVIK_PORT_VIDEO, [](int) { return plan(20); });
    events_.keep_pictures(5, kWidth, kHeight);
    PreviewParam p = preview_param(SARVIK_PREVIEW_VIDEO, &events_);
    p.reserved_32 = 0x1234;
    p.reserved_34 = 0x5678;
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    EXPECT_EQ(p.reserved_32, 0x1234);
    EXPECT_EQ(p.reserved_34, 0x5678);
    ASSERT_TRUE(events_.wait_frames(20));
    const auto pictures = events_.pictures();
    const auto headers = events_.headers();
    ASSERT_EQ(pictures.size(), 5u);
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_GT(psnr(pictures[i], clip_->pictures[i]), 30.0) << "frame " << i;
        // The received frame stays in the slot's extra block: its header, then the compressed bytes.
        EXPECT_EQ(headers[i].size, static_cast<int32_t>(1024 + clip_->units[i].size()));
        EXPECT_EQ(headers[i].width, kWidth);
        EXPECT_EQ(headers[i].height, kHeight);
    }
    // Each picture is the one encoded at its place: a neighbour's differs where the square moved.
    EXPECT_LT(psnr(pictures[4], clip_->pictures[0]), psnr(pictures[4], clip_->pictures[4]));
}

TEST_F(VideoPreviewTest, MixedPreviewReadsTheMixedPort) {
    camera(2, SARVIK_PORT_MIXED, [](int) { return plan(10); });
    events_.keep_pictures(3, kWidth, kHeight);
    // Nothing serves the video port of this camera: a video start fails and keeps no slot.
    EXPECT_EQ(start(SARVIK_PREVIEW_VIDEO), SARVIK_ERR_PREVIEW_INPUT);
    const int h = start(SARVIK_PREVIEW_MIXED);
    ASSERT_EQ(h, 0) << "the failed start freed its slot";
    ASSERT_TRUE(events_.wait_frames(10));
    const auto pictures = events_.pictures();
    ASSERT_EQ(pictures.size(), 3u);
    for (size_t i = 0; i < pictures.size(); ++i) EXPECT_GT(psnr(pictures[i], clip_->pictures[i]), 30.0);
    EXPECT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
}

TEST_F(VideoPreviewTest, KindsWithoutAStartOfTheirOwnAreRefused) {
    camera(3, SARVIK_PORT_VIDEO, [](int) { return plan(5); });
    // RTSP previews start through their own call only.
    EXPECT_EQ(start(SARVIK_PREVIEW_RTSP), SARVIK_ERR_FAIL);
    EXPECT_EQ(start(7), SARVIK_ERR_FAIL);
    EXPECT_EQ(start(SARVIK_PREVIEW_VIDEO), 0);
}

TEST_F(VideoPreviewTest, PausingStopsCallbacksWhileTheRecordingGoesOn) {
    // First connection: 30 frames sent while paused, then it drops; the second one streams on.
    camera(4, SARVIK_PORT_VIDEO, [](int i) { return i == 0 ? plan(30, true, true) : plan(10, true); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("paused.mp4");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    ASSERT_EQ(Sarvik_PausePreview(h, 1), 0);
    peer_->release(30);
    // Frames are handled in order, so the drop's -17 comes after all 30.
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_LOST));
    EXPECT_EQ(events_.frames(), 0);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    VideoFileInfo info;
    ASSERT_TRUE(probe_video_file(path, &info));
    EXPECT_EQ(info.packets, 30);
    ASSERT_EQ(Sarvik_PausePreview(h, 0), 0);
    peer_->release(10);
    EXPECT_TRUE(events_.wait_frames(10));
}

}  // namespace
}  // namespace videotest
