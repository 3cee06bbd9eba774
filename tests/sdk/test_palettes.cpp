// The palette table handed out by the SDK.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SarvikSDK.h"

namespace {

const uint8_t *colour(const char *table, int palette, int index) {
    return reinterpret_cast<const uint8_t *>(table) + palette * 1056 + 32 + index * 4;
}

// Rec. 601 luma of a BGRA colour.
double luma(const uint8_t *c) { return 0.114 * c[0] + 0.587 * c[1] + 0.299 * c[2]; }

}  // namespace

TEST(PaletteTable, TwelveNamedEntriesWithOpaqueColours) {
    int count = -1;
    char *table = Sarvik_AllocPaletteData(&count);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(count, 12);
    const char *names[] = {"Autumn", "BlackHot", "GlowBow", "HighContrast", "HotMetal", "IronBow",
                           "Jet",    "RainBow",  "RedSaturation", "WhiteHot", "Winter", "IronBow2"};
    for (int p = 0; p < 12; ++p) {
        const char *name = table + p * 1056;
        EXPECT_STREQ(name, names[p]);
        for (size_t i = std::strlen(name); i < 32; ++i) EXPECT_EQ(name[i], 0) << names[p];
        for (int i = 0; i < 256; ++i) EXPECT_EQ(colour(table, p, i)[3], 255) << names[p] << " " << i;
    }
    Sarvik_FreePaletteData(&table);
    EXPECT_EQ(table, nullptr);
    Sarvik_FreePaletteData(&table);  // freeing twice is harmless
}

TEST(PaletteTable, GrayAndIronRampsGetBrighterTowardsHot) {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    ASSERT_NE(table, nullptr);
    const int whiteHot = 9, blackHot = 1, ironBow = 5, hotMetal = 4, glowBow = 2;
    EXPECT_EQ(colour(table, whiteHot, 0)[2], 0);
    EXPECT_EQ(colour(table, whiteHot, 255)[2], 255);
    for (int i = 1; i < 256; ++i) {
        EXPECT_GE(luma(colour(table, whiteHot, i)), luma(colour(table, whiteHot, i - 1)));
        EXPECT_LE(luma(colour(table, blackHot, i)), luma(colour(table, blackHot, i - 1)));
        for (int p : {ironBow, hotMetal, glowBow})
            EXPECT_GE(luma(colour(table, p, i)) + 1.0, luma(colour(table, p, i - 1))) << p << " at " << i;
    }
    // IronBow runs from black to white through purple and red.
    EXPECT_LT(luma(colour(table, ironBow, 0)), 5);
    EXPECT_GT(luma(colour(table, ironBow, 255)), 250);
    const uint8_t *mid = colour(table, ironBow, 115);
    EXPECT_GT(mid[2], mid[1]) << "red dominates the middle of the iron ramp";
    Sarvik_FreePaletteData(&table);
}

TEST(PaletteTable, EveryCopyIsIdentical) {
    int count = 0;
    char *a = Sarvik_AllocPaletteData(&count);
    char *b = Sarvik_AllocPaletteData(&count);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(0, std::memcmp(a, b, 12672));
    Sarvik_FreePaletteData(&a);
    Sarvik_FreePaletteData(&b);
}
