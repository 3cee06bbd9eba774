// Recording a video preview: the received stream goes into a video file; only type 3 is a recording.
#include "video_fixture.h"

namespace videotest {
namespace {

TEST_F(VideoPreviewTest, RecordingHoldsEveryFrameReceived) {
    camera(10, SARVIK_PORT_VIDEO, [](int) { return plan(40, true); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("clip.mp4");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    peer_->release(40);
    ASSERT_TRUE(events_.wait_frames(40));
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    VideoFileInfo info;
    ASSERT_TRUE(probe_video_file(path, &info));
    EXPECT_EQ(info.packets, 40);
    EXPECT_EQ(info.width, kWidth);
    EXPECT_EQ(info.height, kHeight);
}

TEST_F(VideoPreviewTest, SaveTypesAndImageSettings) {
    camera(11, SARVIK_PORT_VIDEO, [](int) { return plan(10, true); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("typed.mp4");
    EXPECT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM), SARVIK_ERR_REFUSED);
    EXPECT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_SNAPSHOT), SARVIK_ERR_REFUSED);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0) << "nothing was recording";
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, 1), SARVIK_ERR_BAD_ID);
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    peer_->release(10);
    ASSERT_TRUE(events_.wait_frames(10));
    // Any type ends the recording of a video preview.
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    VideoFileInfo info;
    ASSERT_TRUE(probe_video_file(path, &info));
    EXPECT_EQ(info.packets, 10);
}

TEST_F(VideoPreviewTest, StoppingFinishesARunningRecording) {
    camera(12, SARVIK_PORT_MIXED, [](int) { return plan(20, true); });
    const int h = start(SARVIK_PREVIEW_MIXED);
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("stopped.mp4");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    peer_->release(20);
    ASSERT_TRUE(events_.wait_frames(20));
    ASSERT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
    VideoFileInfo info;
    ASSERT_TRUE(probe_video_file(path, &info)) << "the file was left unfinished";
    EXPECT_EQ(info.packets, 20);
}

TEST_F(VideoPreviewTest, SaveCallsOnAFreeSlotAreRefused) {
    camera(13, SARVIK_PORT_VIDEO, [](int) { return plan(5); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    ASSERT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
    EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("x.mp4").c_str(), SARVIK_SAVE_VIDEO), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_PausePreview(h, 1), 0);
    EXPECT_EQ(Sarvik_StopPreview(h), 0);
}

}  // namespace
}  // namespace videotest
