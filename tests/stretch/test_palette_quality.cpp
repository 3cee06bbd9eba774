// The twelve palettes look like their names: smooth everywhere, monotonic in lightness where the name says
// hot is brighter (or darker), with the colours thermographers expect at the ends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SarvikSDK.h"

namespace {

struct Rgb {
    int r, g, b;
};

class Palettes : public ::testing::Test {
protected:
    void SetUp() override {
        int count = 0;
        table = reinterpret_cast<PaletteTable *>(Sarvik_AllocPaletteData(&count));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(count, SARVIK_PALETTE_COUNT);
    }
    void TearDown() override {
        char *p = reinterpret_cast<char *>(table);
        Sarvik_FreePaletteData(&p);
    }
    Rgb at(int palette, int i) const {
        const uint32_t c = table->entries[palette].colors[i];
        return Rgb{int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF)};
    }
    PaletteTable *table = nullptr;
};

// CIE L* (0 black .. 100 white) of an sRGB colour.
double lightness(Rgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const double y = 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
    return y > 216.0 / 24389.0 ? 116.0 * std::cbrt(y) - 16.0 : y * 24389.0 / 27.0;
}

bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

}  // namespace

TEST_F(Palettes, EverySmoothStepByStep) {
    for (int p = 0; p < SARVIK_PALETTE_COUNT; ++p)
        for (int i = 1; i < 256; ++i) {
            const Rgb a = at(p, i - 1), b = at(p, i);
            const int step = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            ASSERT_LE(step, 16) << table->entries[p].name << " at " << i;
        }
}

TEST_F(Palettes, LightnessMonotonicWhereTheNameImpliesIt) {
    const int brighter[] = {SARVIK_PALETTE_WHITEHOT, SARVIK_PALETTE_IRONBOW, SARVIK_PALETTE_IRONBOW2,
                            SARVIK_PALETTE_HOTMETAL, SARVIK_PALETTE_GLOWBOW, SARVIK_PALETTE_AUTUMN};
    for (int p : brighter)
        for (int i = 1; i < 256; ++i)
            ASSERT_GE(lightness(at(p, i)), lightness(at(p, i - 1))) << table->entries[p].name << " at " << i;
    for (int i = 1; i < 256; ++i)
        ASSERT_LE(lightness(at(SARVIK_PALETTE_BLACKHOT, i)), lightness(at(SARVIK_PALETTE_BLACKHOT, i - 1)))
            << i;
}

TEST_F(Palettes, EndsAndLandmarks) {
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    EXPECT_TRUE(at(SARVIK_PALETTE_WHITEHOT, 0) == black && at(SARVIK_PALETTE_WHITEHOT, 255) == white);
    EXPECT_TRUE(at(SARVIK_PALETTE_BLACKHOT, 0) == white && at(SARVIK_PALETTE_BLACKHOT, 255) == black);
    for (int p : {SARVIK_PALETTE_IRONBOW, SARVIK_PALETTE_HOTMETAL, SARVIK_PALETTE_GLOWBOW}) {
        EXPECT_TRUE(at(p, 0) == black) << table->entries[p].name;
        EXPECT_TRUE(at(p, 255) == white) << table->entries[p].name;
    }
    for (int i = 0; i < 256; ++i) {
        const Rgb w = at(SARVIK_PALETTE_WHITEHOT, i);
        ASSERT_TRUE(w.r == w.g && w.g == w.b) << "WhiteHot is gray at " << i;
    }
    // IronBow: deep blue, then purple, then red and orange, then yellow on its way to white.
    auto dominant_blue = [](Rgb c) { return c.b > c.r && c.b > c.g; };
    auto purple = [](Rgb c) { return c.r > c.g + 40 && c.b > c.g + 40; };
    auto orange = [](Rgb c) { return c.r > c.g && c.g > c.b + 40; };
    auto yellow = [](Rgb c) { return c.r > 200 && c.g > 180 && c.b < c.g - 60; };
    int firstBlue = -1, firstPurple = -1, firstOrange = -1, firstYellow = -1;
    for (int i = 0; i < 256; ++i) {
        const Rgb c = at(SARVIK_PALETTE_IRONBOW, i);
        if (firstBlue < 0 && dominant_blue(c) && c.b > 40) firstBlue = i;
        if (firstPurple < 0 && purple(c)) firstPurple = i;
        if (firstOrange < 0 && orange(c)) firstOrange = i;
        if (firstYellow < 0 && yellow(c)) firstYellow = i;
    }
    EXPECT_GE(firstBlue, 0);
    EXPECT_LT(firstBlue, firstPurple);
    EXPECT_LT(firstPurple, firstOrange);
    EXPECT_LT(firstOrange, firstYellow);
    // Jet: dark blue to dark red through cyan and yellow.
    const Rgb jet0 = at(SARVIK_PALETTE_JET, 0), jet255 = at(SARVIK_PALETTE_JET, 255);
    EXPECT_TRUE(jet0.r == 0 && jet0.g == 0 && jet0.b > 100);
    EXPECT_TRUE(jet255.r > 100 && jet255.g == 0 && jet255.b == 0);
    // Autumn red to yellow, Winter blue to green.
    EXPECT_TRUE(at(SARVIK_PALETTE_AUTUMN, 0) == (Rgb{255, 0, 0}));
    EXPECT_TRUE(at(SARVIK_PALETTE_AUTUMN, 255) == (Rgb{255, 255, 0}));
    EXPECT_TRUE(at(SARVIK_PALETTE_WINTER, 0) == (Rgb{0, 0, 255}));
    EXPECT_EQ(at(SARVIK_PALETTE_WINTER, 255).g, 255);
    // RedSaturation is gray until its hottest levels turn red.
    const Rgb mid = at(SARVIK_PALETTE_REDSATURATION, 128), top = at(SARVIK_PALETTE_REDSATURATION, 255);
    EXPECT_TRUE(mid.r == mid.g && mid.g == mid.b);
    EXPECT_TRUE(top.r == 255 && top.g == 0 && top.b == 0);
}
