// The linear stretch (percentiles or manual window) and the raw mapping of detector counts.
#include <gtest/gtest.h>

#include <vector>

#include "stretch_test_util.h"

using namespace stretchtest;

namespace {

std::vector<uint8_t> render_gray(StretchContext *c, const std::vector<int16_t> &data,
                                 const _DataFrameHeader &h) {
    std::vector<uint8_t> gray(data.size(), 0xEE);
    EXPECT_EQ(strTemp2Gray(c, data.data(), &h, gray.data()), 0);
    return gray;
}

Context linear(int manEnable, int temp0, int temp1) {
    Context c = make_context();
    _strech_control ctl = control(SARVIK_STRECH_TYPE | SARVIK_STRECH_MAN_ENABLE | SARVIK_STRECH_MAN_TEMP0 |
                                  SARVIK_STRECH_MAN_TEMP1);
    ctl.strechType = SARVIK_STRECH_LINEAR;
    ctl.man_enable = static_cast<uint8_t>(manEnable);
    ctl.man_temp0 = static_cast<int16_t>(temp0);
    ctl.man_temp1 = static_cast<int16_t>(temp1);
    strSetCtl(c.get(), &ctl);
    return c;
}

// Pads a short list of samples to a 4 x 2 frame by repeating the last one.
std::vector<int16_t> eight(std::vector<int16_t> v) {
    v.resize(8, v.back());
    return v;
}

}  // namespace

TEST(LinearStretch, ManualWindowInRawUnits) {
    // Slope 10, offset 5 deg C: 10.0 .. 30.0 deg C are raw (100 - 50) x 10 / 10 = 50 .. 250, span 200.
    Context c = linear(1, 100, 300);
    const auto data = eight({40, 50, 150, 249, 250, 260, -3000, 3000});
    const auto gray = render_gray(c.get(), data, header(4, 2, 10, 5));
    EXPECT_EQ(gray, (std::vector<uint8_t>{0, 0, 127, 253, 255, 255, 0, 255}));
}

TEST(LinearStretch, ManualWindowBelowZeroWithNegativeOffset) {
    // Offset -10 deg C: -20.0 .. 0.0 deg C are raw -100 .. 100.
    Context c = linear(1, -200, 0);
    const auto data = eight({-150, -100, 0, 100, 99});
    EXPECT_EQ(render_gray(c.get(), data, header(4, 2, 10, -10)),
              (std::vector<uint8_t>{0, 0, 127, 255, 253, 253, 253, 253}));
}

TEST(LinearStretch, PercentilesWithoutTheWindow) {
    // 2, 5, 3, 6, 4 samples of 0..40: T = 2, low 0, high 40.
    Context c = linear(0, 100, 300);
    std::vector<int16_t> data;
    for (auto [v, n] : std::vector<std::pair<int, int>>{{0, 2}, {10, 5}, {20, 3}, {30, 6}, {40, 4}})
        data.insert(data.end(), n, static_cast<int16_t>(v));
    const auto gray = render_gray(c.get(), data, header(5, 4, 10));
    const uint8_t expect[] = {0,   0,   63,  63,  63,  63,  63,  127, 127, 127,
                              191, 191, 191, 191, 191, 191, 255, 255, 255, 255};
    EXPECT_EQ(gray, std::vector<uint8_t>(std::begin(expect), std::end(expect)));
}

TEST(LinearStretch, SlopeZeroCountsAsTwentyAndInvertedWindowThresholds) {
    // Slope 0 -> 20: 10.0 .. 20.0 deg C are 200 .. 400.
    Context c = linear(1, 100, 200);
    EXPECT_EQ(render_gray(c.get(), eight({199, 200, 300, 400, 401}), header(4, 2, 0)),
              (std::vector<uint8_t>{0, 0, 127, 255, 255, 255, 255, 255}));
    // A window whose ends are swapped splits the frame at its lower end.
    Context swapped = linear(1, 300, 100);
    EXPECT_EQ(render_gray(swapped.get(), eight({100, 299, 300, 301}), header(4, 2, 10)),
              (std::vector<uint8_t>{0, 0, 255, 255, 255, 255, 255, 255}));
}

TEST(LinearStretch, WindowBeyondTheSampleRangeIsClamped) {
    // 3000.0 deg C at slope 100 is far above 32767: the upper end clamps to the largest sample value.
    Context c = linear(1, 0, 30000);
    EXPECT_EQ(render_gray(c.get(), eight({-10, 0, 16383, 32767}), header(4, 2, 100)),
              (std::vector<uint8_t>{0, 0, 127, 255, 255, 255, 255, 255}));
}

TEST(RawMapping, ShiftBySevenWhenTheCountsReachHigh) {
    // 400 samples: t = 100; the cumulative count first exceeds 300 at 20000 > 16383 -> v >> 7.
    Context c = make_context();
    std::vector<int16_t> data(300, 1000);
    data.insert(data.end(), 99, 20000);
    data.push_back(32767);
    const auto gray = render_gray(c.get(), data, header(20, 20, 10, 0, SARVIK_DATA_KIND_RAW));
    EXPECT_EQ(gray[0], 1000 >> 7);
    EXPECT_EQ(gray[300], 20000 >> 7);
    EXPECT_EQ(gray[399], 255);
}

TEST(RawMapping, ShiftBySixOtherwiseSaturatingAt255) {
    // 301 samples at 1000 already exceed N - t: the high mark is 1000 -> v >> 6; 16384 >> 6 = 256 -> 255.
    Context c = linear(1, 0, 100);  // the stretch settings play no part for detector counts
    std::vector<int16_t> data(301, 1000);
    data.insert(data.end(), 50, -5);
    data.insert(data.end(), 48, 16384);
    data.push_back(16383);
    const auto gray = render_gray(c.get(), data, header(20, 20, 10, 0, SARVIK_DATA_KIND_RAW));
    EXPECT_EQ(gray[0], 15);
    EXPECT_EQ(gray[301], 0) << "negative counts render black";
    EXPECT_EQ(gray[351], 255);
    EXPECT_EQ(gray[399], 255);
}

TEST(RawMapping, LargeFramesUseNOver1024) {
    // 400 x 300 = 120000 samples: t = 117, N - t = 119883. With 119883 samples at 100 the mark is 30000
    // (v >> 7); with one more at 100 it is 100 (v >> 6).
    Context c = make_context();
    const _DataFrameHeader h = header(400, 300, 10, 0, SARVIK_DATA_KIND_RAW);
    std::vector<int16_t> data(120000, 30000);
    std::fill(data.begin(), data.begin() + 119883, 100);
    EXPECT_EQ(render_gray(c.get(), data, h)[0], 100 >> 7);
    data[119883] = 100;
    EXPECT_EQ(render_gray(c.get(), data, h)[0], 100 >> 6);
}
