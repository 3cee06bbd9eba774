// The destripe filter object: configuration rules, uniform frames, stripe removal, the row step, sequence
// mode, frames with fewer processed rows than the window, and the whole filter against its direct formulas.
#include <gtest/gtest.h>

#include "filters_test_util.h"
#include "frame_filters.h"

using namespace filtertest;
using namespace sarvik;

namespace {

struct Destripe {
    DestripeFilter *f = destripe_create();
    ~Destripe() { destripe_free(&f); }
};

// Zero-sum, symmetric within its period: with a width that is a multiple of the period, the mirrored
// borders continue it, so every window of the row step sees mean 0 and the estimate is the pattern itself.
const std::vector<int> kPattern5 = {10, -10, 0, -10, 10};  // for W0 = 5
const std::vector<int> kPattern3 = {10, -20, 10};          // for W0 = 33 (a multiple of 3)

}  // namespace

// ---- Configuration ------------------------------------------------------------------------------------

TEST(DestripeConfig, InvalidConfigurationsAreRefusedAndKeepThePreviousOne) {
    Destripe d;
    const _DestripInfo good = destrip_config(1, 80, 60, 5, 10, 5, 10, 4, 1);
    ASSERT_EQ(destripe_configure(d.f, &good), 0);
    auto refused = [&](_DestripInfo c) {
        EXPECT_EQ(destripe_configure(d.f, &c), SARVIK_ERR_INVALID_ARG);
        _DestripInfo now;
        destripe_get_config(d.f, &now);
        EXPECT_EQ(std::memcmp(&now, &good, sizeof now), 0);
    };
    _DestripInfo c = good;
    c.width = 64;
    refused(c);
    c = good, c.width = 79, refused(c);
    c = good, c.height = 59, refused(c);
    c = good, c.s0_radius = 0, refused(c);
    c = good, c.s0_radius = 17, refused(c);
    c = good, c.s0_regular = 0, refused(c);
    c = good, c.s1_radius = 0, refused(c);
    c = good, c.s1_radius = 17, refused(c);
    c = good, c.s1_regular = 0, refused(c);
    c = good, c.sub_y = 0, refused(c);
    c = good, c.sub_y = 17, refused(c);
    c = good, c.sub_t = 0, refused(c);
    c = good, c.sub_t = 17, refused(c);
    EXPECT_EQ(destripe_configure(d.f, nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(destripe_configure(nullptr, &good), SARVIK_ERR_INVALID_ARG);
    // The limits themselves are valid, and any type is.
    for (_DestripInfo ok : {destrip_config(7, 80, 60, 16, 65535, 16, 65535, 16, 16),
                            destrip_config(3, 81, 61, 1, 1, 1, 1, 1, 1)})
        EXPECT_EQ(destripe_configure(d.f, &ok), 0);
}

TEST(DestripeConfig, RowStepIsThePowerOfTwoBelowSubY) {
    Destripe d;
    const int expected[17] = {0, 1, 2, 2, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 16};
    for (int subY = 1; subY <= 16; ++subY) {
        const _DestripInfo c = destrip_config(1, 80, 60, 2, 10, 2, 10, subY, 1);
        ASSERT_EQ(destripe_configure(d.f, &c), 0);
        EXPECT_EQ(destripe_row_step(d.f), expected[subY]) << "sub_y " << subY;
    }
}

// With sub_y 5 the filter estimates from rows 0, 4, 8, ... and each estimate row serves four frame rows.
TEST(DestripeConfig, SubY5EstimatesFromEveryFourthRow) {
    Destripe d;
    const int w = 80, h = 64;
    const _DestripInfo c = destrip_config(1, w, h, 2, 1000, 2, 10, 5, 1);
    ASSERT_EQ(destripe_configure(d.f, &c), 0);
    Frame f = flat(w, h, 3000);
    for (int y = 0; y < h; y += 4) add_columns(f, w, kPattern5, y, y + 1);  // stripes on rows 0, 4, 8, ...
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 0), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int want = y % 4 == 0 ? 3000 : 3000 - kPattern5[x % 5];
            ASSERT_EQ(f[size_t(y) * w + x], want) << "row " << y << " column " << x;
        }
}

TEST(DestripeConfig, FrameOfAnotherSizeIsRefusedUntouched) {
    Destripe d;
    const _DestripInfo c = destrip_config(1, 80, 60, 2, 10, 2, 10, 1, 1);
    ASSERT_EQ(destripe_configure(d.f, &c), 0);
    Frame f = random_frame(80, 60, -100, 100, 1);
    const Frame before = f;
    EXPECT_EQ(destripe_apply(d.f, f.data(), 80, 61, 0), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(destripe_apply(d.f, f.data(), 81, 60, 1), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(destripe_apply(d.f, nullptr, 80, 60, 0), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(f, before);
}

TEST(DestripeConfig, TypeZeroAndUnconfiguredLeaveSamplesAlone) {
    Destripe d;
    Frame f = random_frame(80, 60, -30000, 30000, 2);
    const Frame before = f;
    // Unconfigured: no frame size matches.
    EXPECT_EQ(destripe_apply(d.f, f.data(), 80, 60, 0), SARVIK_ERR_INVALID_ARG);
    const _DestripInfo off = destrip_config(0, 80, 60, 5, 10, 5, 10, 4, 1);
    ASSERT_EQ(destripe_configure(d.f, &off), 0);
    EXPECT_EQ(destripe_apply(d.f, f.data(), 80, 60, 1), 0);
    EXPECT_EQ(f, before);
    destripe_free(&d.f);
    EXPECT_EQ(d.f, nullptr);
    destripe_free(&d.f);  // null is ignored
    destripe_free(nullptr);
}

// ---- Frames -------------------------------------------------------------------------------------------

TEST(DestripeFrames, UniformFramesPassUnchanged) {
    Destripe d;
    for (int type : {1, 2, 3})
        for (int16_t v : {int16_t(-32768), int16_t(-1), int16_t(0), int16_t(2500), int16_t(32767)}) {
            const _DestripInfo c = destrip_config(type, 96, 72, 5, 10, 7, 3, 2, 1);
            ASSERT_EQ(destripe_configure(d.f, &c), 0);
            Frame f = flat(96, 72, v);
            ASSERT_EQ(destripe_apply(d.f, f.data(), 96, 72, 0), 0);
            EXPECT_EQ(f, flat(96, 72, v)) << "type " << type << " value " << v;
        }
}

TEST(DestripeFrames, ConstantColumnOffsetsAreRemoved) {
    Destripe d;
    for (int type : {1, 2, 3})
        for (int subY : {1, 2, 4}) {
            const int w = 80, h = 60;
            const _DestripInfo c = destrip_config(type, w, h, 2, 1000, 5, 10, subY, 1);
            ASSERT_EQ(destripe_configure(d.f, &c), 0);
            Frame f = flat(w, h, 2000);
            add_columns(f, w, kPattern5);
            ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 0), 0);
            EXPECT_EQ(f, flat(w, h, 2000)) << "type " << type << " sub_y " << subY;
        }
}

// ---- Sequence mode ------------------------------------------------------------------------------------

TEST(DestripeSequence, EstimateRefreshedEverySubTFrames) {
    Destripe d;
    const int w = 80, h = 60;
    const _DestripInfo c = destrip_config(1, w, h, 2, 1000, 2, 10, 1, 3);
    ASSERT_EQ(destripe_configure(d.f, &c), 0);
    const std::vector<int> p = kPattern5, q = {-10, 10, 0, 10, -10};
    auto frame = [&](const std::vector<int> &pattern) {
        Frame f = flat(w, h, 1000);
        add_columns(f, w, pattern);
        return f;
    };
    Frame f = frame(p);  // counter 0: estimates p
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
    EXPECT_EQ(f, flat(w, h, 1000));
    EXPECT_EQ(destripe_sequence_counter(d.f), 1);
    for (int i = 0; i < 2; ++i) {  // counters 1 and 2: the estimate of p is subtracted from q
        f = frame(q);
        ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
        EXPECT_EQ(f[3], 1000 + q[3] - p[3]);
    }
    EXPECT_EQ(destripe_sequence_counter(d.f), 0);
    f = frame(q);  // counter 0 again: q estimated
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
    EXPECT_EQ(f, flat(w, h, 1000));
    // A single frame is always estimated afresh and leaves the counter alone.
    f = frame(p);
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 0), 0);
    EXPECT_EQ(f, flat(w, h, 1000));
    EXPECT_EQ(destripe_sequence_counter(d.f), 1);
}

TEST(DestripeSequence, SameConfigurationTwiceKeepsTheCounter) {
    Destripe d;
    const int w = 80, h = 60;
    const _DestripInfo c = destrip_config(1, w, h, 2, 1000, 2, 10, 1, 2);
    ASSERT_EQ(destripe_configure(d.f, &c), 0);
    Frame f = flat(w, h, 500);
    add_columns(f, w, kPattern5);
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
    ASSERT_EQ(destripe_sequence_counter(d.f), 1);

    ASSERT_EQ(destripe_configure(d.f, &c), 0);
    EXPECT_EQ(destripe_sequence_counter(d.f), 1);
    f = flat(w, h, 500);  // no stripes now: the kept estimate is still subtracted
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
    EXPECT_EQ(f[0], 500 - kPattern5[0]);

    // A different configuration restarts the counter and forgets the estimate.
    _DestripInfo other = c;
    other.s1_regular = 11;
    ASSERT_EQ(destripe_configure(d.f, &other), 0);
    EXPECT_EQ(destripe_sequence_counter(d.f), 0);
    f = flat(w, h, 500);
    ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 1), 0);
    EXPECT_EQ(f, flat(w, h, 500));
}

// ---- Few processed rows -------------------------------------------------------------------------------

// sub_y 16 on 60 rows leaves 3 processed rows against a 33-row window (and 33-column windows): the
// reflections repeat and stay inside; the samples are exactly sized so any read beyond them is caught.
TEST(DestripeSmall, ThreeProcessedRowsAgainstA33RowWindow) {
    Destripe d;
    const int w = 81, h = 60;
    for (int type : {1, 3}) {
        const _DestripInfo c = destrip_config(type, w, h, 16, 1000, 16, 10, 16, 1);
        ASSERT_EQ(destripe_configure(d.f, &c), 0);
        ASSERT_EQ(destripe_row_step(d.f), 16);
        Frame f = flat(w, h, 4000);
        add_columns(f, w, kPattern3);
        ASSERT_EQ(destripe_apply(d.f, f.data(), w, h, 0), 0);
        // Rows 0-47 take the three estimate rows; rows 48-59 lie beyond R x S and stay as they were.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(f[size_t(y) * w + x], y < 48 ? 4000 : 4000 + kPattern3[x % 3])
                    << type << " " << y << " " << x;

        Frame noisy = random_frame(w, h, -32768, 32767, 11 + type);
        const Frame want = destripe_direct(noisy, w, h, c);
        ASSERT_EQ(destripe_apply(d.f, noisy.data(), w, h, 0), 0);
        EXPECT_EQ(noisy, want) << "type " << type;
    }
}

// ---- Against the direct formulas ----------------------------------------------------------------------

TEST(DestripeDirect, MatchesTheFormulasBitForBit) {
    Destripe d;
    struct Case {
        int type, w, h, s0r, s0g, s1r, s1g, subY;
        int lo, hi;
    };
    const Case cases[] = {
        {1, 80, 60, 5, 10, 5, 10, 4, 2000, 2100},  // camera-like
        {3, 80, 60, 5, 10, 5, 10, 4, 2000, 2100},
        {2, 97, 63, 1, 1, 2, 1, 1, -32768, 32767},  // full range, smallest regularisation
        {3, 97, 63, 1, 1, 2, 1, 3, -32768, 32767},
        {3, 90, 70, 16, 65535, 16, 65535, 8, -32768, 32767},  // largest regularisation
        {1, 90, 70, 16, 3, 1, 2, 16, -500, 500},
        {3, 128, 96, 7, 2, 9, 1, 2, -3000, 3000},
    };
    uint32_t seed = 100;
    for (const Case &k : cases) {
        const _DestripInfo c = destrip_config(k.type, k.w, k.h, k.s0r, k.s0g, k.s1r, k.s1g, k.subY, 1);
        ASSERT_EQ(destripe_configure(d.f, &c), 0);
        Frame f = random_frame(k.w, k.h, k.lo, k.hi, seed++);
        add_columns(f, k.w, {7, -3, 0, 12, -9, 4, 1});
        const Frame want = destripe_direct(f, k.w, k.h, c);
        ASSERT_EQ(destripe_apply(d.f, f.data(), k.w, k.h, 0), 0);
        EXPECT_EQ(f, want) << "type " << k.type << " " << k.w << "x" << k.h << " s0 " << k.s0r << "/" << k.s0g
                           << " s1 " << k.s1r << "/" << k.s1g << " sub_y " << k.subY;
    }
}
