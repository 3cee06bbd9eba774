// A preview outlives a broken connection: one -17, -18 once the camera is back, frames again without a new
// start; and a stop while it waits for the camera returns at once.
#include <future>
#include <thread>

#include "preview_fixture.h"

using namespace previewtest;

namespace {

// Index of the first event with the status at or after from, or -1.
int find(const std::vector<Event> &e, int status, size_t from = 0) {
    for (size_t i = from; i < e.size(); ++i)
        if (e[i].status == status) return static_cast<int>(i);
    return -1;
}

void expect_one_loss_then_restore(Recorder &rec) {
    // Wait for a frame after the first restore.
    ASSERT_TRUE(rec.wait_for(
        [](const std::vector<Event> &e) {
            const int r = find(e, SARVIK_STATUS_CONNECTION_RESTORED);
            return r >= 0 && find(e, 0, r) >= 0;
        },
        40));
    const auto e = rec.events();
    const int lost = find(e, SARVIK_STATUS_CONNECTION_LOST);
    const int restored = find(e, SARVIK_STATUS_CONNECTION_RESTORED);
    ASSERT_GE(lost, 1) << "frames came before the drop";
    EXPECT_EQ(find(e, 0), 0);
    EXPECT_LT(lost, restored);
    for (int i = lost + 1; i < restored; ++i) EXPECT_NE(e[i].status, 0) << "no frame while disconnected";
    for (int i = lost + 1; i < restored; ++i)
        EXPECT_NE(e[i].status, SARVIK_STATUS_CONNECTION_LOST) << "exactly one -17 per break";
    EXPECT_GE(find(e, 0, restored), restored + 1);
}

}  // namespace

TEST_F(PreviewTest, DroppedStreamReportsLossOnceThenRestoreAndFramesResume) {
    ASSERT_NO_FATAL_FAILURE(start_camera(
        "127.0.7.20",
        {"--size", "80x60", "--fps", "50", "--fault-stream-drop", "20", "--fault-stream-away", "3"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    expect_one_loss_then_restore(rec_);
}

TEST_F(PreviewTest, TurnedPreviewSurvivesADrop) {
    ASSERT_NO_FATAL_FAILURE(start_camera(
        "127.0.7.21",
        {"--size", "80x60", "--fps", "50", "--fault-stream-drop", "10", "--fault-stream-away", "1"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreviewTempTransform(user_, &p, 1);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    expect_one_loss_then_restore(rec_);
    EXPECT_EQ(rec_.events().back().status == 0 ? rec_.events().back().header.width : 60, 60);
}

TEST_F(PreviewTest, StopWhileTheCameraIsAwayReturnsPromptly) {
    ASSERT_NO_FATAL_FAILURE(start_camera(
        "127.0.7.22",
        {"--size", "80x60", "--fps", "50", "--fault-stream-drop", "5", "--fault-stream-away", "60"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(rec_.wait_for(
        [](const std::vector<Event> &e) { return find(e, SARVIK_STATUS_CONNECTION_LOST) >= 0; }));
    // Let it sit in its reconnection wait for a moment.
    EXPECT_FALSE(rec_.wait_for(
        [](const std::vector<Event> &e) { return find(e, SARVIK_STATUS_CONNECTION_RESTORED) >= 0; }, 2));
    auto stopped = std::async(std::launch::async, [h] { return Sarvik_StopPreview(h); });
    // Far less than the camera's 60 s away: the reconnection wait gives way to the stop.
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(stopped.get(), 0);
    const size_t n = rec_.events().size();
    EXPECT_FALSE(rec_.wait_for([n](const std::vector<Event> &e) { return e.size() > n; }, 1));
}

TEST_F(PreviewTest, StalledStreamCountsAsALostConnection) {
    // The camera holds the connection open but sends nothing after 10 frames: the receive time-out breaks it.
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.23", {"--size", "80x60", "--fps", "50", "--fault-stream-stall", "10"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    expect_one_loss_then_restore(rec_);
}

TEST_F(PreviewTest, MalformedFramesAreDroppedWithoutBreakingThePreview) {
    ASSERT_NO_FATAL_FAILURE(start_camera(
        "127.0.7.24",
        {"--size", "384x288", "--fps", "50", "--stream-encoding", "delta", "--fault-stream-malformed", "4"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    ASSERT_TRUE(rec_.wait_frames(20, 40));
    for (const Event &e : rec_.events()) {
        EXPECT_EQ(e.status, 0) << "a bad frame is no broken connection";
        EXPECT_EQ(e.header.width, 384);
        EXPECT_NEAR(e.result.avgTemp, 23.0, 1.0) << "only whole frames are delivered";
    }
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    _DataFrameResult r;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, &r));
    expect_result_matches(s, hd, r);
}

TEST_F(PreviewTest, StopWhileTheCameraIsSilentReturnsPromptly) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.40", {"--size", "80x60", "--fps", "50", "--fault-stream-stall", "5"}));
    // The longest receive time-out there is: a stop that waited for it would take 8 s.
    Sarvik_SetTimeout(2000, 2000, 8000);
    for (uint8_t transport : {SARVIK_TRANSPORT_TCP, SARVIK_TRANSPORT_UDP}) {
        SCOPED_TRACE(transport == SARVIK_TRANSPORT_TCP ? "TCP" : "UDP");
        const int before = rec_.frames();
        PreviewParam p = param(transport);
        const int h = Sarvik_StartPreview(user_, &p);
        ASSERT_GE(h, 0);
        ASSERT_TRUE(rec_.wait_frames(before + 5));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the receive now waits on silence
        auto stopped = std::async(std::launch::async, [h] { return Sarvik_StopPreview(h); });
        ASSERT_EQ(stopped.wait_for(std::chrono::seconds(4)), std::future_status::ready);
        EXPECT_EQ(stopped.get(), 0);
        rec_.forget_frames();
    }
    for (const Event &e : rec_.events()) EXPECT_EQ(e.status, 0) << "a stop is no lost connection";
}
