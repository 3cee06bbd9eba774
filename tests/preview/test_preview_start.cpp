// Starting and stopping previews: the checks made before a slot is taken, the table's 256 slots, and what
// a start gives back.
#include <cstring>

#include "preview_fixture.h"

using namespace previewtest;

TEST(PreviewCalls, RefuseBeforeInitAndOutsideTheTable) {
    PreviewParam p;
    std::memset(&p, 0, sizeof p);
    p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    p.callback = [](int, _DataFrame *, void *) {};
    EXPECT_EQ(Sarvik_StartPreview(0, &p), SARVIK_ERR_NOT_INIT);
    EXPECT_EQ(Sarvik_StopPreview(0), SARVIK_ERR_NOT_INIT);
    EXPECT_EQ(Sarvik_PausePreview(0, 1), SARVIK_ERR_NOT_INIT);
    EXPECT_EQ(Sarvik_PreviewSetImage(0, nullptr, 1), SARVIK_ERR_NOT_INIT);
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    EXPECT_EQ(Sarvik_StartPreview(256, &p), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_StartPreview(-1, &p), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_StartPreview(3, &p), SARVIK_ERR_BAD_ID) << "user not logged in";
    EXPECT_EQ(Sarvik_StopPreview(256), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_PausePreview(-1, 1), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_PreviewSetImage(256, nullptr, 1), SARVIK_ERR_BAD_ID);
    // Slots not in use: stop and pause succeed, set-image does not.
    EXPECT_EQ(Sarvik_StopPreview(7), 0);
    EXPECT_EQ(Sarvik_PausePreview(7, 1), 0);
    EXPECT_EQ(Sarvik_PreviewSetImage(7, nullptr, 1), SARVIK_ERR_BAD_ID);
    Sarvik_FreeSDK();
}

TEST_F(PreviewTest, StartsRefuseBadRequestsWithoutTakingASlot) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.1", {"--size", "80x60"}));
    PreviewParam p = param();
    p.callback = nullptr;
    EXPECT_EQ(Sarvik_StartPreview(user_, &p), SARVIK_ERR_INVALID_ARG) << "no callback";
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, 1), SARVIK_ERR_INVALID_ARG) << "no callback";
    RtspParam rtsp;
    std::memset(&rtsp, 0, sizeof rtsp);
    EXPECT_EQ(Sarvik_StartPreviewRtsp(&rtsp, &p), SARVIK_ERR_INVALID_ARG) << "no callback";
    p = param();
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, 6), SARVIK_ERR_REFUSED);
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, -1), SARVIK_ERR_REFUSED);
    p.previewKind = SARVIK_PREVIEW_VIDEO;
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, 1), SARVIK_ERR_REFUSED);
    p = param();
    int dummy = 0;
    p.display = &dummy;
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, 1), SARVIK_ERR_REFUSED);
    // None of them kept a slot: the next start gets the first one, and hands back the reserved words.
    p = param();
    p.reserved_32 = 0x1234;
    p.reserved_34 = 0xBEEF;
    const int h = Sarvik_StartPreviewTempTransform(user_, &p, 2);
    ASSERT_EQ(h, 0);
    previews_.push_back(h);
    EXPECT_EQ(p.reserved_32, 0x1234);
    EXPECT_EQ(p.reserved_34, 0xBEEF);
    EXPECT_TRUE(rec_.wait_frames(2));
}

TEST_F(PreviewTest, StartFailsWhenTheCameraDoesNotStreamAndFreesTheSlot) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.2", {"--size", "80x60", "--stream-port", "55599"}));
    PreviewParam p = param();
    // Sessions stream from 55503, where nothing listens here.
    EXPECT_EQ(Sarvik_StartPreview(user_, &p), SARVIK_ERR_PREVIEW_INPUT);
    EXPECT_EQ(Sarvik_StartPreviewTempTransform(user_, &p, 1), SARVIK_ERR_PREVIEW_INPUT);
    // The failed starts kept nothing: slot 0 is not in use.
    EXPECT_EQ(Sarvik_PreviewSetImage(0, nullptr, 1), SARVIK_ERR_BAD_ID);
}

TEST_F(PreviewTest, The257thPreviewFindsNoSlot) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.3", {"--size", "80x60", "--fps", "5"}));
    rec_.track_ownership(false);
    for (int i = 0; i < 256; ++i) {
        PreviewParam p = param();
        const int h = Sarvik_StartPreview(user_, &p);
        ASSERT_EQ(h, i);
        previews_.push_back(h);
    }
    PreviewParam p = param();
    EXPECT_EQ(Sarvik_StartPreview(user_, &p), SARVIK_ERR_NO_SLOT);
    // A stopped slot is free again, and is the one the next start takes.
    EXPECT_EQ(Sarvik_StopPreview(100), 0);
    EXPECT_EQ(Sarvik_StopPreview(100), 0);
    p = param();
    EXPECT_EQ(Sarvik_StartPreview(user_, &p), 100);
    EXPECT_TRUE(rec_.wait_frames(256));
}

TEST_F(PreviewTest, StopEndsEveryCallback) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.4", {"--size", "80x60", "--fps", "50"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(rec_.wait_frames(5));
    ASSERT_EQ(Sarvik_StopPreview(h), 0);
    const int after = static_cast<int>(rec_.events().size());
    // Stop joined the worker: nothing arrives any more, and the slot is free for set-image's check.
    EXPECT_FALSE(rec_.wait_for(
        [after](const std::vector<Event> &e) { return static_cast<int>(e.size()) > after; }, 1));
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, 1), SARVIK_ERR_BAD_ID);
}
