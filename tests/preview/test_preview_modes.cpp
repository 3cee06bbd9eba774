// Two-thread mode (high-resolution models and the configuration switch) and the UDP transport.
#include <algorithm>
#include <cmath>

#include "preview_fixture.h"

using namespace previewtest;

TEST_F(PreviewTest, R1280HModelRunsTwoThreadsWithDestripedTemperatures) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.30", {"--size", "1280x1024", "--fps", "10", "--software-id", "R1280H-V2"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    _DataFrameResult r;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, &r, 40));
    EXPECT_EQ(hd.width, 1280);
    EXPECT_EQ(hd.height, 1024);
    EXPECT_EQ(hd.dataKind, SARVIK_DATA_KIND_TEMPERATURE);
    // Destriped: each narrow strip of the clear rows sits on the gradient.
    const int rows = clear_rows(1024);
    double worst = 0;
    for (int x0 = 0; x0 + 4 <= 1280; x0 += 4)
        worst =
            std::max(worst, std::abs(mean_temp(s, hd, x0, x0 + 4, 0, rows) - gradient_at(x0 + 1.5, 1280)));
    EXPECT_LT(worst, 0.15);
    expect_result_matches(s, hd, r);
    ASSERT_TRUE(rec_.wait_frames(25, 60));
    EXPECT_EQ(rec_.overwritten(), 0);
}

TEST_F(PreviewTest, TwoThreadModeAppliesTheTransform) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.31", {"--size", "384x288", "--fps", "25", "--software-id", "R1280H-V2"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreviewTempTransform(user_, &p, 1);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, nullptr, 40));
    EXPECT_EQ(hd.width, 288);
    EXPECT_EQ(hd.height, 384);
    const int c = clear_rows(288);
    EXPECT_NEAR(mean_temp(s, hd, 288 - c, 288, 0, 16), gradient_at(7.5, 384), 0.1);
    EXPECT_NEAR(mean_temp(s, hd, 288 - c, 288, 384 - 16, 384), gradient_at(384 - 8.5, 384), 0.1);
}

TEST_F(PreviewTest, UdpPreviewDeliversTheScene) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.32", {"--size", "384x288", "--fps", "25"}));
    PreviewParam p = param(SARVIK_TRANSPORT_UDP);
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    _DataFrameResult r;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, &r));
    EXPECT_EQ(hd.width, 384);
    EXPECT_EQ(hd.height, 288);
    EXPECT_NEAR(mean_temp(s, hd, 0, 16, 0, clear_rows(288)), gradient_at(7.5, 384), 0.05);
    expect_result_matches(s, hd, r);
    EXPECT_TRUE(rec_.wait_frames(20));
}

TEST_F(PreviewTest, UdpPreviewRecoversFromADrop) {
    ASSERT_NO_FATAL_FAILURE(start_camera(
        "127.0.7.33",
        {"--size", "80x60", "--fps", "25", "--fault-stream-drop", "10", "--fault-stream-away", "1"}));
    PreviewParam p = param(SARVIK_TRANSPORT_UDP);
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    ASSERT_TRUE(rec_.wait_for(
        [](const std::vector<Event> &e) {
            bool restored = false;
            for (const Event &x : e) {
                if (x.status == SARVIK_STATUS_CONNECTION_RESTORED) restored = true;
                if (restored && x.status == 0) return true;
            }
            return false;
        },
        40));
}

TEST_F(PreviewTest, TwoThreadModeReportsADropInOrder) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.34", {"--size", "384x288", "--fps", "25", "--software-id", "R1280H-V2",
                                    "--fault-stream-drop", "10", "--fault-stream-away", "1"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    ASSERT_TRUE(rec_.wait_for(
        [](const std::vector<Event> &e) {
            bool restored = false;
            for (const Event &x : e) {
                if (x.status == SARVIK_STATUS_CONNECTION_RESTORED) restored = true;
                if (restored && x.status == 0) return true;
            }
            return false;
        },
        40));
    // The ten frames sent before the drop all come before the -17, and exactly one -17 precedes the -18.
    const auto e = rec_.events();
    int frames = 0, lost = 0;
    size_t i = 0;
    for (; i < e.size() && e[i].status != SARVIK_STATUS_CONNECTION_RESTORED; ++i) {
        if (e[i].status == 0) {
            EXPECT_EQ(lost, 0) << "no frame between -17 and -18";
            ++frames;
        }
        lost += e[i].status == SARVIK_STATUS_CONNECTION_LOST;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(lost, 1);
}
