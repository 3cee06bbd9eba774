// What the callback receives: the known scene's temperatures and the whole-frame result, turned frames,
// pause, and the image settings.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <thread>

#include "preview_fixture.h"

using namespace previewtest;

namespace {

std::set<uint32_t> palette_colours(int index) {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    std::set<uint32_t> out;
    if (table && index < count) {
        const auto *t = reinterpret_cast<const PaletteTable *>(table);
        out.insert(t->entries[index].colors, t->entries[index].colors + 256);
    }
    Sarvik_FreePaletteData(&table);
    return out;
}

int pixels_outside(const std::vector<uint32_t> &image, const std::set<uint32_t> &colours) {
    int n = 0;
    for (uint32_t px : image) n += colours.count(px) == 0;
    return n;
}

}  // namespace

TEST_F(PreviewTest, FramesCarryTheKnownSceneAndTheirWholeFrameResult) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.10", {"--size", "384x288", "--fps", "50"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    std::vector<uint32_t> img;
    _DataFrameHeader hd;
    _DataFrameResult r;
    ASSERT_TRUE(rec_.capture(&s, &img, &hd, &r));
    ASSERT_EQ(hd.width, 384);
    ASSERT_EQ(hd.height, 288);
    ASSERT_EQ(hd.encodedLength, 0);
    const int rows = clear_rows(hd.height);
    for (int x0 : {0, 184, 368})
        EXPECT_NEAR(mean_temp(s, hd, x0, x0 + 16, 0, rows), gradient_at(x0 + 7.5, 384), 0.05)
            << "column " << x0;
    // The scene's extremes: the warm disc (37 °C) and the cold left edge (20 °C).
    float lo = 1e9f, hi = -1e9f;
    int loX = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (temp_of(hd, s[i]) < lo) loX = static_cast<int>(i % 384);
        lo = std::min(lo, temp_of(hd, s[i]));
        hi = std::max(hi, temp_of(hd, s[i]));
    }
    EXPECT_NEAR(hi, 37.0, 0.1);
    EXPECT_NEAR(lo, 20.0, 0.1);
    EXPECT_LT(loX, 384 / 10);
    expect_result_matches(s, hd, r);
    // Rendered with IronBow.
    EXPECT_EQ(pixels_outside(img, palette_colours(SARVIK_PALETTE_IRONBOW)), 0);
    // The ring keeps every handed-out frame intact for the next 15.
    ASSERT_TRUE(rec_.wait_frames(40));
    EXPECT_EQ(rec_.overwritten(), 0);
}

TEST_F(PreviewTest, DeltaRunStreamsArriveDecoded) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.11", {"--size", "384x288", "--fps", "50", "--stream-encoding", "delta"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    _DataFrameResult r;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, &r));
    EXPECT_EQ(hd.encodedLength, 0);
    EXPECT_NEAR(mean_temp(s, hd, 0, 16, 0, clear_rows(288)), gradient_at(7.5, 384), 0.05);
    float hi = -1e9f;
    for (int16_t v : s) hi = std::max(hi, temp_of(hd, v));
    EXPECT_NEAR(hi, 37.0, 0.1);
    expect_result_matches(s, hd, r);
}

TEST_F(PreviewTest, TurnedFramesSwapTheirSizeAndCarryTheTurnedScene) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.12", {"--size", "384x288", "--fps", "50"}));
    for (int t : {1, 3}) {
        PreviewParam p = param();
        const int h = Sarvik_StartPreviewTempTransform(user_, &p, t);
        ASSERT_GE(h, 0);
        std::vector<int16_t> s;
        _DataFrameHeader hd;
        ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, nullptr));
        EXPECT_EQ(hd.width, 288);
        EXPECT_EQ(hd.height, 384);
        // The camera's clear top rows become the right (type 1) or left (type 3) columns; its left (cold)
        // edge becomes the top (type 1) or bottom (type 3) rows.
        const int c = clear_rows(288);
        const int x0 = t == 1 ? 288 - c : 0;
        const double top = mean_temp(s, hd, x0, x0 + c, 0, 16);
        const double bottom = mean_temp(s, hd, x0, x0 + c, 384 - 16, 384);
        EXPECT_NEAR(t == 1 ? top : bottom, gradient_at(7.5, 384), 0.05) << "transform " << t;
        EXPECT_NEAR(t == 1 ? bottom : top, gradient_at(384 - 8.5, 384), 0.05) << "transform " << t;
        EXPECT_EQ(Sarvik_StopPreview(h), 0);
        rec_.forget_frames();
    }
    // Mirrors keep the size; left-right puts the cold edge on the right.
    PreviewParam p = param();
    const int h = Sarvik_StartPreviewTempTransform(user_, &p, 4);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    std::vector<int16_t> s;
    _DataFrameHeader hd;
    ASSERT_TRUE(rec_.capture(&s, nullptr, &hd, nullptr));
    EXPECT_EQ(hd.width, 384);
    EXPECT_EQ(hd.height, 288);
    EXPECT_NEAR(mean_temp(s, hd, 368, 384, 0, clear_rows(288)), gradient_at(7.5, 384), 0.05);
}

TEST_F(PreviewTest, PauseStopsCallbacksUntilResumed) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.13", {"--size", "80x60", "--fps", "50"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    ASSERT_TRUE(rec_.wait_frames(3));
    ASSERT_EQ(Sarvik_PausePreview(h, 1), 0);
    // A frame already past the check may still land; after that, nothing for many frame periods.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int paused = rec_.frames();
    EXPECT_FALSE(rec_.wait_frames(paused + 1, 1));
    ASSERT_EQ(Sarvik_PausePreview(h, 0), 0);
    EXPECT_TRUE(rec_.wait_frames(paused + 5));
    // Only 1 pauses.
    ASSERT_EQ(Sarvik_PausePreview(h, 2), 0);
    EXPECT_TRUE(rec_.wait_frames(paused + 10));
}

TEST_F(PreviewTest, SetImageSelectsPalettesInsideTheTableOnly) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.7.14", {"--size", "384x288", "--fps", "50"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    const auto whiteHot = palette_colours(SARVIK_PALETTE_WHITEHOT);
    const auto ironBow = palette_colours(SARVIK_PALETTE_IRONBOW);
    std::vector<uint32_t> img;
    ASSERT_TRUE(rec_.capture(nullptr, &img, nullptr, nullptr));
    ASSERT_GT(pixels_outside(img, whiteHot), 0) << "the scene must tell the palettes apart";
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, SARVIK_PALETTE_WHITEHOT), 0);
    // A frame rendered before the change may still be on its way.
    ASSERT_TRUE(rec_.capture(nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(rec_.capture(nullptr, &img, nullptr, nullptr));
    EXPECT_EQ(pixels_outside(img, whiteHot), 0);
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, SARVIK_PALETTE_COUNT), 0);
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, -1), 0);
    ASSERT_TRUE(rec_.capture(nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(rec_.capture(nullptr, &img, nullptr, nullptr));
    EXPECT_EQ(pixels_outside(img, whiteHot), 0) << "index 12 and -1 are ignored";
    EXPECT_GT(pixels_outside(img, ironBow), 0);
}

TEST_F(PreviewTest, SetImageHonoursTheDetailLevel) {
    // Data kind 2 (the R1280H model) goes through the adaptive stretch, where the detail level applies.
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.7.15", {"--size", "384x288", "--fps", "25", "--software-id", "R1280H-T1"}));
    PreviewParam p = param();
    const int h = Sarvik_StartPreview(user_, &p);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    ASSERT_NE(table, nullptr);
    const uint32_t *white =
        reinterpret_cast<const PaletteTable *>(table)->entries[SARVIK_PALETTE_WHITEHOT].colors;
    StretchContext *ref = strCreate();
    ASSERT_NE(ref, nullptr);
    // Smoothing off makes each image depend on its own frame only, so a fresh context renders the same.
    _strech_control ctl;
    std::memset(&ctl, 0, sizeof ctl);
    ctl.flags = SARVIK_STRECH_SMOOTHING | SARVIK_STRECH_DDE;
    ctl.smoothing = 0;
    ASSERT_EQ(strSetCtl(ref, &ctl), 0);
    std::vector<int16_t> s;
    std::vector<uint32_t> img, mine(384 * 288);
    _DataFrameHeader hd;
    for (int level : {6, 0}) {
        ctl.ddeLevel = static_cast<uint8_t>(level);
        ASSERT_EQ(Sarvik_PreviewSetImage(h, &ctl, SARVIK_PALETTE_WHITEHOT), 0);
        // Two frames pass so the settings are in force for the captured one.
        ASSERT_TRUE(rec_.capture(nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(rec_.capture(nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(rec_.capture(&s, &img, &hd, nullptr));
        ASSERT_EQ(hd.dataKind, SARVIK_DATA_KIND_TEMPERATURE);
        ASSERT_EQ(strTemp2Bgra(ref, s.data(), &hd, mine.data(), white), 0);
        if (level)
            EXPECT_NE(img, mine) << "detail level 6 changes the image";
        else
            EXPECT_EQ(img, mine) << "level 0 renders like a context without detail enhancement";
    }
    strFree(ref);
    Sarvik_FreePaletteData(&table);
}
