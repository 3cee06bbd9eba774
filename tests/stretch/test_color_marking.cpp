// Colour-temperature marking: the palettes built from a colour and which samples take them.
#include <gtest/gtest.h>

#include <vector>

#include "color_marking.h"
#include "stretch_test_util.h"

using namespace stretchtest;

namespace {

uint32_t bgra(int r, int g, int b) {
    return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

struct Rendered {
    std::vector<uint8_t> gray;
    std::vector<uint32_t> image;
};

// Renders the frame twice with identical settings: once to gray, once to BGRA.
Rendered render(const _strech_control &ctl, const std::vector<int16_t> &data, const _DataFrameHeader &h,
                const std::vector<uint32_t> &palette) {
    Context a = make_context(), b = make_context();
    strSetCtl(a.get(), &ctl);
    strSetCtl(b.get(), &ctl);
    Rendered out{std::vector<uint8_t>(data.size()), std::vector<uint32_t>(data.size())};
    EXPECT_EQ(strTemp2Gray(a.get(), data.data(), &h, out.gray.data()), 0);
    EXPECT_EQ(strTemp2Bgra(b.get(), data.data(), &h, out.image.data(), palette.data()), 0);
    return out;
}

_strech_control marking(int type, int t0, int t1, uint32_t c0, uint32_t c1) {
    _strech_control ctl = control(SARVIK_STRECH_MARK);
    ctl.ct_type = static_cast<uint8_t>(type);
    ctl.ct_temp0 = static_cast<int16_t>(t0);
    ctl.ct_temp1 = static_cast<int16_t>(t1);
    ctl.ct_color0 = c0;
    ctl.ct_color1 = c1;
    return ctl;
}

// Samples 250..349 in a 10 x 10 frame.
std::vector<int16_t> ramp() {
    std::vector<int16_t> v(100);
    for (int i = 0; i < 100; ++i) v[i] = static_cast<int16_t>(250 + i);
    return v;
}

}  // namespace

TEST(MarkingPalette, PureColoursAreBrightnessRampsOfTheirHue) {
    uint32_t p[256];
    sarvik::marking_palette_build(0xFFFF0000u, p);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(p[i], bgra(i, 0, 0)) << i;
    sarvik::marking_palette_build(0x0000FF00u, p);  // alpha of the colour plays no part
    for (int i = 0; i < 256; ++i) ASSERT_EQ(p[i], bgra(0, i, 0)) << i;
}

TEST(MarkingPalette, MixedColourKeepsHueAndSaturation) {
    // 0xFF8040: h = 20.1 deg, s = 0.749. Entry 255 is the colour itself, entry 0 black, and entry 128
    // (v = 0.502) is (128, 64.25, 32.1). Floating point may put a channel one below its exact truncation.
    uint32_t p[256];
    sarvik::marking_palette_build(0xFFFF8040u, p);
    auto near = [](uint32_t c, int r, int g, int b) {
        EXPECT_EQ(c >> 24, 0xFFu);
        EXPECT_NEAR(int((c >> 16) & 0xFF), r, 1);
        EXPECT_NEAR(int((c >> 8) & 0xFF), g, 1);
        EXPECT_NEAR(int(c & 0xFF), b, 1);
    };
    EXPECT_EQ(p[0], bgra(0, 0, 0));
    near(p[255], 255, 128, 64);
    near(p[128], 128, 64, 32);
    for (int i = 1; i < 256; ++i) {
        const uint32_t a = p[i - 1], b = p[i];
        ASSERT_LE((a >> 16) & 0xFF, (b >> 16) & 0xFF) << i;
        ASSERT_LE((a >> 8) & 0xFF, (b >> 8) & 0xFF) << i;
        ASSERT_LE(a & 0xFF, b & 0xFF) << i;
    }
}

TEST(MarkingPalette, GreyIsAPlainGrayRamp) {
    uint32_t p[256];
    sarvik::marking_palette_build(0xFF808080u, p);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(p[i], bgra(i, i, i)) << i;
}

TEST(Marking, AboveAtSlope10TakesMarkingPalette0) {
    // ct_temp0 300 (30.0 deg C) at slope 10, offset 0: R0 = 10 x 300 / 10 - 0 = 300.
    const auto pal = ironbow();
    const auto data = ramp();
    const auto r = render(marking(1, 300, 0, 0xFFFF0000u, 0), data, header(10, 10, 10), pal);
    for (size_t i = 0; i < data.size(); ++i) {
        const uint32_t expect = data[i] > 300 ? bgra(r.gray[i], 0, 0) : pal[r.gray[i]];
        ASSERT_EQ(r.image[i], expect) << data[i];
    }
}

TEST(Marking, BelowBetweenAndOutside) {
    const auto pal = ironbow();
    const auto data = ramp();
    // Offset 2 deg C: R0 = 10 x 300 / 10 - 10 x 2 = 280, R1 = 320 - 20 = 300.
    const _DataFrameHeader h = header(10, 10, 10, 2);
    const uint32_t green = 0xFF00FF00u, blue = 0xFF0000FFu;
    auto check = [&](int type, auto expect) {
        const auto r = render(marking(type, 300, 320, green, blue), data, h, pal);
        for (size_t i = 0; i < data.size(); ++i) {
            const int g = r.gray[i];
            const int which = expect(data[i]);
            const uint32_t colour = which == 1 ? bgra(0, g, 0) : which == 2 ? bgra(0, 0, g) : pal[g];
            ASSERT_EQ(r.image[i], colour) << "type " << type << " sample " << data[i];
        }
    };
    check(2, [](int s) { return s < 280 ? 1 : 0; });
    check(3, [](int s) { return s > 280 && s < 300 ? 1 : 0; });
    check(4, [](int s) { return s < 280 ? 1 : s > 300 ? 2 : 0; });
    check(0, [](int) { return 0; });
    check(7, [](int) { return 0; });
}

TEST(Marking, ThresholdsAreClampedToTheSampleRange) {
    sarvik::MarkingRule r = sarvik::marking_rule(marking(4, 30000, -30000, 0, 0), header(4, 4, 100, -50));
    EXPECT_EQ(r.r0, 32767);
    EXPECT_EQ(r.r1, -32768);
    // Slope 0 converts as slope 20, like the stretch: 10.0 deg C is 200.
    r = sarvik::marking_rule(marking(1, 100, 0, 0, 0), header(4, 4, 0));
    EXPECT_EQ(r.r0, 200);
}
