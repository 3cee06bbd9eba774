// Settings of a stretch context: defaults, the flag rules of a control record, and what they reset.
#include <gtest/gtest.h>

#include <cstring>

#include "stretch_context.h"
#include "stretch_test_util.h"

using namespace stretchtest;

namespace {

_strech_control current(StretchContext *c) {
    _strech_control out;
    std::memset(&out, 0xAB, sizeof out);
    EXPECT_EQ(strGetCtl(c, &out), 0);
    return out;
}

}  // namespace

TEST(StretchControl, NewContextHasTheDefaults) {
    Context c = make_context();
    ASSERT_TRUE(c);
    const _strech_control ctl = current(c.get());
    EXPECT_EQ(ctl.flags, 0);
    EXPECT_EQ(ctl.strechType, 1);
    EXPECT_NE(ctl.smoothing, 0);
    EXPECT_EQ(ctl.gain, 2.0f);
    EXPECT_EQ(ctl.man_temp0, 200);
    EXPECT_EQ(ctl.man_temp1, 400);
    EXPECT_EQ(ctl.man_enable, 0);
    EXPECT_EQ(ctl.temp2gray, 0);
    EXPECT_EQ(ctl.ddeLevel, 0);
    EXPECT_EQ(ctl.ct_type, 0);
}

TEST(StretchControl, FlagWord2009SetsEveryFieldButSmoothingAndDde) {
    Context c = make_context();
    _strech_control in = control(SARVIK_STRECH_ALL);
    in.strechType = 2;
    in.smoothing = 0;
    in.gain = 4.5f;
    in.man_temp0 = -100;
    in.man_temp1 = 1500;
    in.man_enable = 1;
    in.temp2gray = 30;
    in.ddeLevel = 3;
    in.ct_type = 3;
    in.ct_temp0 = 250;
    in.ct_temp1 = 350;
    in.ct_color0 = 0xFF00FF00u;
    in.ct_color1 = 0xFF0000FFu;
    ASSERT_EQ(strSetCtl(c.get(), &in), 0);
    const _strech_control out = current(c.get());
    EXPECT_EQ(out.flags, 0);
    EXPECT_EQ(out.strechType, 2);
    EXPECT_NE(out.smoothing, 0) << "smoothing has its own bit, 0x20, which 2009 leaves out";
    EXPECT_EQ(out.gain, 4.5f);
    EXPECT_EQ(out.man_temp0, -100);
    EXPECT_EQ(out.man_temp1, 1500);
    EXPECT_EQ(out.man_enable, 1);
    EXPECT_EQ(out.temp2gray, 30);
    EXPECT_EQ(out.ddeLevel, 0) << "strSetCtl never takes the detail level";
    EXPECT_EQ(out.ct_type, 3);
    EXPECT_EQ(out.ct_temp0, 250);
    EXPECT_EQ(out.ct_temp1, 350);
    EXPECT_EQ(out.ct_color0, 0xFF00FF00u);
    EXPECT_EQ(out.ct_color1, 0xFF0000FFu);
}

TEST(StretchControl, FieldsWithoutTheirFlagStayUnchanged) {
    Context c = make_context();
    _strech_control in = control(SARVIK_STRECH_MAN_TEMP1);
    in.strechType = 2;
    in.gain = 5.0f;
    in.man_temp0 = 11;
    in.man_temp1 = 22;
    in.man_enable = 1;
    in.ct_type = 1;
    ASSERT_EQ(strSetCtl(c.get(), &in), 0);
    const _strech_control out = current(c.get());
    EXPECT_EQ(out.man_temp1, 22);
    EXPECT_EQ(out.man_temp0, 200);
    EXPECT_EQ(out.strechType, 1);
    EXPECT_EQ(out.gain, 2.0f);
    EXPECT_EQ(out.man_enable, 0);
    EXPECT_EQ(out.ct_type, 0);
}

TEST(StretchControl, GainOutsideItsRangeIsIgnored) {
    Context c = make_context();
    _strech_control in = control(SARVIK_STRECH_GAIN);
    for (float bad : {12.0f, 10.03f, 0.07f, 0.0f, -1.0f}) {
        in.gain = bad;
        strSetCtl(c.get(), &in);
        EXPECT_EQ(current(c.get()).gain, 2.0f) << bad;
    }
    for (float good : {0.08f, 10.02f, 7.0f}) {
        in.gain = good;
        strSetCtl(c.get(), &in);
        EXPECT_EQ(current(c.get()).gain, good);
    }
}

TEST(StretchControl, Temp2grayOnlyZeroOrTenToFifty) {
    Context c = make_context();
    _strech_control in = control(SARVIK_STRECH_TEMP2GRAY);
    for (int bad : {5, 9, 51, 255}) {
        in.temp2gray = static_cast<uint8_t>(bad);
        strSetCtl(c.get(), &in);
        EXPECT_EQ(current(c.get()).temp2gray, 0) << bad;
    }
    for (int good : {10, 50, 0}) {
        in.temp2gray = static_cast<uint8_t>(good);
        strSetCtl(c.get(), &in);
        EXPECT_EQ(current(c.get()).temp2gray, good);
        EXPECT_EQ(c->grayPerTen, good ? good : 20) << "G follows temp2gray at once";
    }
}

TEST(StretchControl, DdeBitHonouredOnlyOnTheSetImagePath) {
    Context c = make_context();
    _strech_control in = control(SARVIK_STRECH_DDE);
    in.ddeLevel = 4;
    strSetCtl(c.get(), &in);
    EXPECT_EQ(current(c.get()).ddeLevel, 0);
    set_image(c.get(), in);
    EXPECT_EQ(current(c.get()).ddeLevel, 4);
    in.ddeLevel = 9;
    set_image(c.get(), in);
    EXPECT_EQ(current(c.get()).ddeLevel, 4) << "levels above 8 are ignored";
    in.ddeLevel = 8;
    set_image(c.get(), in);
    EXPECT_EQ(current(c.get()).ddeLevel, 8);
    // Without the bit the set-image path leaves the level alone too.
    _strech_control other = control(SARVIK_STRECH_GAIN);
    other.gain = 3.0f;
    set_image(c.get(), other);
    EXPECT_EQ(current(c.get()).ddeLevel, 8);
}

TEST(StretchControl, GainAndSmoothingChangesRestartTheSmoothing) {
    Context c = make_context();
    auto primed = [&] {
        c->prevPlateau = 40;
        c->prevLow = 30;
        c->prevHigh = 140;
    };
    primed();
    _strech_control same = control(SARVIK_STRECH_GAIN);
    same.gain = 2.0f;
    strSetCtl(c.get(), &same);
    EXPECT_EQ(c->prevPlateau, 40) << "the same gain is no change";

    _strech_control gain = control(SARVIK_STRECH_GAIN);
    gain.gain = 3.0f;
    strSetCtl(c.get(), &gain);
    EXPECT_EQ(c->prevPlateau, 0);
    EXPECT_EQ(c->prevLow, 0);
    EXPECT_EQ(c->prevHigh, 0);

    primed();
    _strech_control smooth = control(SARVIK_STRECH_SMOOTHING);
    smooth.smoothing = 0;
    strSetCtl(c.get(), &smooth);
    EXPECT_EQ(current(c.get()).smoothing, 0);
    EXPECT_EQ(c->prevPlateau, 0);
    EXPECT_EQ(c->prevHigh, 0);
}

TEST(StretchControl, NullArgumentsAreRefused) {
    Context c = make_context();
    _strech_control ctl = control(0);
    EXPECT_EQ(strSetCtl(nullptr, &ctl), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strSetCtl(c.get(), nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strGetCtl(nullptr, &ctl), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strGetCtl(c.get(), nullptr), SARVIK_ERR_INVALID_ARG);
    strFree(nullptr);
}

TEST(StretchControl, GainTableEntries) {
    Context c = make_context();
    EXPECT_EQ(sarvik::gain_at(c.get(), -5), 1.0);
    EXPECT_EQ(sarvik::gain_at(c.get(), -128), 1.0);
    EXPECT_EQ(sarvik::gain_at(c.get(), 0), 1.0);
    EXPECT_EQ(sarvik::gain_at(c.get(), 50), 10.0);
    EXPECT_EQ(sarvik::gain_at(c.get(), 100), 100.0);
    EXPECT_NEAR(sarvik::gain_at(c.get(), 127), 346.7368, 1e-3);
    EXPECT_NEAR(sarvik::gain_at(c.get(), 25), 3.162278, 1e-6);
}
