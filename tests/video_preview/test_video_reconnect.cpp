// A broken video stream never ends the preview: -17, reconnection tries once a second, -18, frames again.
#include <algorithm>
#include <chrono>
#include <thread>

#include "video_fixture.h"

namespace videotest {
namespace {

// Index of the first event with the status, or -1.
int first_index(const std::vector<int> &s, int status) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == status) return static_cast<int>(i);
    return -1;
}

TEST_F(VideoPreviewTest, ADroppedStreamIsReportedAndResumed) {
    camera(20, SARVIK_PORT_VIDEO, [](int i) { return i == 0 ? plan(8, false, true) : plan(10); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_RESTORED));
    ASSERT_TRUE(events_.wait_frames(18));
    const auto s = events_.statuses();
    const int lost = first_index(s, SARVIK_STATUS_CONNECTION_LOST);
    const int restored = first_index(s, SARVIK_STATUS_CONNECTION_RESTORED);
    ASSERT_GE(lost, 0);
    EXPECT_EQ(lost, 8) << "after the 8 frames of the first connection";
    EXPECT_GT(restored, lost);
    EXPECT_EQ(std::count(s.begin(), s.end(), SARVIK_STATUS_CONNECTION_LOST), 1);
    EXPECT_EQ(std::count(s.begin() + restored, s.end(), 0), 10);
    EXPECT_EQ(peer_->connections(), 2);
}

TEST_F(VideoPreviewTest, AStreamOfAnotherSizeIsRefusedAndTheTriesGoOn) {
    camera(21, SARVIK_PORT_VIDEO, [](int i) {
        ConnectionPlan p = plan(i == 0 ? 6 : 10, false, i == 0);
        if (i == 1 || i == 2) {
            p.startWidth = 176;
            p.startHeight = 144;
        }
        return p;
    });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_LOST));
    // Recording is refused while the preview reconnects (at least two refused tries, a second each).
    EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("r.mp4").c_str(), SARVIK_SAVE_VIDEO), SARVIK_ERR_STATE);
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_RESTORED));
    ASSERT_TRUE(events_.wait_frames(16));
    EXPECT_EQ(peer_->connections(), 4) << "restored only by the stream of the remembered size";
    EXPECT_GE(peer_->closed_by_client(), 2) << "the other sizes were closed by the preview";
    const auto s = events_.statuses();
    EXPECT_EQ(std::count(s.begin(), s.end(), SARVIK_STATUS_CONNECTION_RESTORED), 1);
}

TEST_F(VideoPreviewTest, AFrameHeaderOf800BytesIsRejected) {
    camera(22, SARVIK_PORT_VIDEO, [](int i) {
        ConnectionPlan p = plan(10);
        if (i == 0) p.invalidHeaderAt = 5;
        return p;
    });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_RESTORED));
    ASSERT_TRUE(events_.wait_frames(15));
    const auto s = events_.statuses();
    EXPECT_EQ(first_index(s, SARVIK_STATUS_CONNECTION_LOST), 5);
    EXPECT_GE(peer_->closed_by_client(), 1);
    ASSERT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
    Sarvik_Logout(user_);
    user_ = -1;
    Sarvik_FreeSDK();  // flushes the log
    EXPECT_NE(sdk_log_text().find("invalid H264FrameHeader, Size 800, Width 160, Height 120\n\n"),
              std::string::npos);
}

TEST_F(VideoPreviewTest, StopDuringReconnectionReturnsPromptly) {
    // After the drop every connection announces another size: the preview stays in its reconnection tries.
    camera(23, SARVIK_PORT_VIDEO, [](int i) {
        ConnectionPlan p = plan(5, false, i == 0);
        if (i > 0) p.startWidth = 320;
        return p;
    });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(events_.wait_status(SARVIK_STATUS_CONNECTION_LOST));
    for (int i = 0; i < 100 && peer_->connections() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_GE(peer_->connections(), 2);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Sarvik_StopPreview(h), 0);
    const auto took = std::chrono::steady_clock::now() - t0;
    previews_.clear();
    EXPECT_LT(took, std::chrono::seconds(3));
    const size_t after = events_.statuses().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_EQ(events_.statuses().size(), after) << "no callback once stop returned";
    EXPECT_EQ(first_index(events_.statuses(), SARVIK_STATUS_CONNECTION_RESTORED), -1);
}

TEST_F(VideoPreviewTest, StopWhileTheCameraIsSilentReturnsPromptly) {
    camera(24, SARVIK_PORT_VIDEO, [](int) { return plan(3, true); });
    const int h = start(SARVIK_PREVIEW_VIDEO);
    ASSERT_GE(h, 0);
    peer_->release(1);
    ASSERT_TRUE(events_.wait_frames(1));
    // The worker now waits for a frame that does not come; stop must not wait for the receive time-out
    // and must not report a lost connection.
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Sarvik_StopPreview(h), 0);
    const auto took = std::chrono::steady_clock::now() - t0;
    previews_.clear();
    EXPECT_LT(took, std::chrono::seconds(3));
    EXPECT_EQ(first_index(events_.statuses(), SARVIK_STATUS_CONNECTION_LOST), -1);
}

}  // namespace
}  // namespace videotest
