// The rules of the fix-distance and close-range lens blocks, and the radiance scale row by row.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "correction_tables.h"

using namespace sarvik;

namespace {

// Two distances, three pairs each, as the editor writes them (same blackbody temperatures everywhere).
FixDistBlock fix_dist() {
    FixDistBlock b;
    std::memset(&b, 0, sizeof b);
    b.distCount = 2;
    b.bbCount = 3;
    b.distances[0] = 5;
    b.distances[1] = 10;
    for (int d = 0; d < 5; ++d)
        for (int i = 0; i < 10; ++i) b.pairs[d][i] = {30.0f + 10.0f * i, 29.0f + 9.5f * i - d};
    return b;
}

CloseRangeLensBlock close_lens(uint8_t mode) {
    CloseRangeLensBlock b;
    std::memset(&b, 0, sizeof b);
    b.stamp = SARVIK_CLOSE_LENS_STAMP;
    b.cali_mode = mode;
    b.len1_env_count = 3;
    b.len1_bb_count = 4;
    b.len2_bb_count = 5;
    for (int s = 0; s < 4; ++s) b.len1_shell_array[s] = 10.0f + 15.0f * s;
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < 16; ++i) {
            b.len1_bb_array[s][i].bb = 20.0f + 5.0f * i;
            b.len1_bb_array[s][i].mea = 21.0f + 4.0f * i + s;
        }
    for (int i = 0; i < 16; ++i) {
        b.len2_bb_array[i].bb = 20.0f + 5.0f * i;
        b.len2_bb_array[i].mea = 19.0f + 5.5f * i;
    }
    return b;
}

}  // namespace

TEST(FixDistBlockRules, EditorBlockIsValid) {
    FixDistBlock b = fix_dist();
    EXPECT_TRUE(fix_dist_block_valid(b));
    EXPECT_TRUE(fix_dist_block_valid(&b, sizeof b));
    EXPECT_FALSE(fix_dist_block_valid(&b, sizeof b - 1));
    EXPECT_FALSE(fix_dist_block_valid(nullptr, sizeof b));
}

TEST(FixDistBlockRules, Counts) {
    FixDistBlock b = fix_dist();
    b.bbCount = 1;
    EXPECT_FALSE(fix_dist_block_valid(b));
    b.bbCount = 10;
    EXPECT_TRUE(fix_dist_block_valid(b));
    b.bbCount = 11;
    EXPECT_FALSE(fix_dist_block_valid(b));
    b = fix_dist();
    b.distCount = 0;
    EXPECT_TRUE(fix_dist_block_valid(b));
    b.distCount = 6;
    EXPECT_FALSE(fix_dist_block_valid(b));
    b.distCount = -1;
    EXPECT_FALSE(fix_dist_block_valid(b));
}

TEST(FixDistBlockRules, DistancesAscendOverTheCountOnly) {
    FixDistBlock b = fix_dist();
    b.distances[1] = 5;  // equal is not ascending
    EXPECT_FALSE(fix_dist_block_valid(b));
    b.distCount = 1;  // a single distance needs no order
    EXPECT_TRUE(fix_dist_block_valid(b));
    b = fix_dist();
    b.distances[2] = 1;  // beyond the count
    EXPECT_TRUE(fix_dist_block_valid(b));
}

TEST(FixDistBlockRules, PairsAscendInBothColumns) {
    FixDistBlock b = fix_dist();
    b.pairs[1][2].mea = b.pairs[1][1].mea;
    EXPECT_FALSE(fix_dist_block_valid(b));
    b = fix_dist();
    b.pairs[0][1].bb = b.pairs[0][0].bb - 1.0f;
    EXPECT_FALSE(fix_dist_block_valid(b));
    b = fix_dist();
    b.pairs[0][3].bb = 0.0f;      // past bbCount
    b.pairs[2][0].mea = 1000.0f;  // past distCount
    EXPECT_TRUE(fix_dist_block_valid(b));
    b.pairs[1][1].mea = NAN;
    EXPECT_FALSE(fix_dist_block_valid(b));
}

TEST(CloseLensBlockRules, EditorBlockAndItsModes) {
    const CloseRangeLensBlock b2 = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    EXPECT_TRUE(close_lens_block_valid(b2));
    EXPECT_EQ(close_lens_effective_mode(b2), SARVIK_CLOSE_LENS_TABLE1);
    EXPECT_EQ(close_lens_effective_mode(close_lens(SARVIK_CLOSE_LENS_TABLE2)), SARVIK_CLOSE_LENS_TABLE2);
    EXPECT_EQ(close_lens_effective_mode(close_lens(SARVIK_CLOSE_LENS_NONE)), SARVIK_CLOSE_LENS_NONE);
    EXPECT_EQ(close_lens_effective_mode(close_lens(0)), SARVIK_CLOSE_LENS_NONE);
    EXPECT_EQ(close_lens_effective_mode(close_lens(4)), SARVIK_CLOSE_LENS_NONE);
}

TEST(CloseLensBlockRules, EmptyTablesMeanNoCorrection) {
    CloseRangeLensBlock b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_env_count = 0;
    EXPECT_TRUE(close_lens_block_valid(b));
    EXPECT_EQ(close_lens_effective_mode(b), SARVIK_CLOSE_LENS_NONE);
    b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_bb_count = 0;
    EXPECT_EQ(close_lens_effective_mode(b), SARVIK_CLOSE_LENS_NONE);
    b = close_lens(SARVIK_CLOSE_LENS_TABLE2);
    b.len2_bb_count = 0;
    EXPECT_EQ(close_lens_effective_mode(b), SARVIK_CLOSE_LENS_NONE);
}

TEST(CloseLensBlockRules, AnyBadTableInvalidatesTheWholeBlock) {
    // A group's measured values out of order spoil mode 3 too, although mode 3 never reads the group.
    CloseRangeLensBlock b = close_lens(SARVIK_CLOSE_LENS_TABLE2);
    b.len1_bb_array[2][3].mea = b.len1_bb_array[2][2].mea;
    EXPECT_FALSE(close_lens_block_valid(b));
    EXPECT_EQ(close_lens_effective_mode(b), SARVIK_CLOSE_LENS_NONE);
    // And a bad second table spoils mode 2.
    b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len2_bb_array[4].bb = 0.0f;
    EXPECT_FALSE(close_lens_block_valid(b));
    EXPECT_EQ(close_lens_effective_mode(b), SARVIK_CLOSE_LENS_NONE);
    // Shells must ascend over the count.
    b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_shell_array[2] = b.len1_shell_array[1];
    EXPECT_FALSE(close_lens_block_valid(b));
}

TEST(CloseLensBlockRules, OnlyCountedEntriesMatter) {
    CloseRangeLensBlock b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_bb_array[3][0].mea = 999.0f;  // group past len1_env_count
    b.len1_bb_array[0][4].bb = -999.0f;  // entry past len1_bb_count
    b.len2_bb_array[5].mea = -999.0f;    // entry past len2_bb_count
    b.len1_shell_array[3] = -5.0f;       // shell past the count
    EXPECT_TRUE(close_lens_block_valid(b));
}

TEST(CloseLensBlockRules, CountLimits) {
    CloseRangeLensBlock b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_env_count = 5;
    EXPECT_FALSE(close_lens_block_valid(b));
    b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    b.len1_bb_count = 16;
    b.len2_bb_count = 16;
    b.len1_env_count = 4;
    EXPECT_TRUE(close_lens_block_valid(b));
    b.len1_bb_count = 17;
    EXPECT_FALSE(close_lens_block_valid(b));
    b.len1_bb_count = 16;
    b.len2_bb_count = 17;
    EXPECT_FALSE(close_lens_block_valid(b));
}

TEST(CloseLensBlockRules, BytesOfTheExactSize) {
    const CloseRangeLensBlock b = close_lens(SARVIK_CLOSE_LENS_TABLE1);
    std::vector<uint8_t> bytes(sizeof b + 1);
    std::memcpy(bytes.data(), &b, sizeof b);
    EXPECT_TRUE(close_lens_block_valid(bytes.data(), 1088));
    EXPECT_FALSE(close_lens_block_valid(bytes.data(), 1087));
    EXPECT_FALSE(close_lens_block_valid(bytes.data(), 1089));
}

TEST(RadianceScale, RowsAndBetween) {
    EXPECT_EQ(radiance_at(-50000), 1000);
    EXPECT_EQ(radiance_at(-50000 + 8192), 1235);
    EXPECT_EQ(radiance_at(-50000 + 8192 * 273), 738236);
    EXPECT_EQ(radiance_at(-50000 + 8192 * 274), 741532);  // the top row, reached on rows 273-274
    EXPECT_EQ(radiance_at(0), 3022);
    EXPECT_EQ(radiance_at(-60000), 714);
    EXPECT_EQ(radiance_at(3000000), 1065576);
    // The ends of int32 stay in range.
    EXPECT_GT(radiance_at(INT32_MAX), 741532);
    EXPECT_LT(radiance_at(INT32_MIN), 0);
}
