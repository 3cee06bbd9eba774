// FixTrans_CalcTrans: window transmission on the radiance scale, exact where the table fixes it.
// Radiances used below (interpolated at whole thousandths, truncated): R(0) = 3022, R(25) = 4620,
// R(184) = 24853, R(200) = 27794, R(-50) = 1000, R(-60) = 714, R(3000) = 1065576.
#include <gtest/gtest.h>

#include <cmath>

#include "SarvikSDK.h"

TEST(FixTrans, SameReadingIsFullTransmission) {
    EXPECT_EQ(FixTrans_CalcTrans(200, 200, 25), 1.0);
    EXPECT_EQ(FixTrans_CalcTrans(200, 25, 25), 0.0);
}

TEST(FixTrans, ToolDefaults) {
    // (R(184) - R(25)) / (R(200) - R(25))
    EXPECT_EQ(FixTrans_CalcTrans(200, 184, 25), 20233.0 / 23174.0);
}

TEST(FixTrans, BottomRowAndBelow) {
    // -50 C is row 0 exactly; -60 C extrapolates on rows 0 and 1, truncating toward zero (714, not 713).
    EXPECT_EQ(FixTrans_CalcTrans(0, -50, 25), (1000.0 - 4620.0) / (3022.0 - 4620.0));
    EXPECT_EQ(FixTrans_CalcTrans(0, -60, 25), (714.0 - 4620.0) / (3022.0 - 4620.0));
}

TEST(FixTrans, AboveTheTableExtrapolatesWithoutOverflow) {
    // 3000 C: 738236 + 3296 * 813584 / 8192; the product does not fit 32 bits.
    EXPECT_EQ(FixTrans_CalcTrans(3000, 200, 25), (27794.0 - 4620.0) / (1065576.0 - 4620.0));
    // Far beyond any camera: still a finite, positive ratio below 1.
    const double t = FixTrans_CalcTrans(1e12, 200, 25);
    EXPECT_TRUE(std::isfinite(t));
    EXPECT_GT(t, 0.0);
    EXPECT_LT(t, 1e-3);
}

TEST(FixTrans, NoFiniteQuotient) {
    EXPECT_TRUE(std::isinf(FixTrans_CalcTrans(25, 200, 25)));
    EXPECT_GT(FixTrans_CalcTrans(25, 200, 25), 0.0);
    EXPECT_TRUE(std::isnan(FixTrans_CalcTrans(25, 25, 25)));
    EXPECT_TRUE(std::isnan(FixTrans_CalcTrans(NAN, 25, 25)));
}
