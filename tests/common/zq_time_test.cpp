#include <gtest/gtest.h>

#include <ctime>

#include "test_support.h"
#include "zq_time.h"

namespace {

// The tests run in UTC+3.
void expect_datetime(int64_t ticks, int y, int mo, int d, int h, int mi, int s, int ms) {
    zq_datetime_t dt;
    ASSERT_EQ(datetime_fromwin64(&dt, ticks), 0);
    EXPECT_EQ(dt.year, y);
    EXPECT_EQ(dt.month, mo);
    EXPECT_EQ(dt.day, d);
    EXPECT_EQ(dt.hour, h);
    EXPECT_EQ(dt.minute, mi);
    EXPECT_EQ(dt.second, s);
    EXPECT_EQ(dt.millisecond, ms);
}

TEST(Win64Time, UnixEpochIsTheKnownTickCount) {
    EXPECT_EQ(ZQ_WIN64_EPOCH_DIFF, 116444736000000000);
    expect_datetime(116444736000000000, 1970, 1, 1, 3, 0, 0, 0);
}

TEST(Win64Time, LeapDayInstantInLocalTime) {
    // 2024-02-29 22:15:30.1234567 UTC is already 1 March locally.
    const int64_t ticks = INT64_C(1709244930) * 10000000 + 1234567 + ZQ_WIN64_EPOCH_DIFF;
    expect_datetime(ticks, 2024, 3, 1, 1, 15, 30, 123);
}

TEST(Win64Time, InstantBeforeUnixEpoch) {
    expect_datetime(ZQ_WIN64_EPOCH_DIFF - 5000000, 1970, 1, 1, 2, 59, 59, 500);
}

TEST(Win64Time, NowAgreesWithTheSystemClock) {
    // time() reads a coarse clock that may still show the previous second: compare with the same clock.
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    const int64_t before = static_cast<int64_t>(ts.tv_sec);
    const int64_t ticks = xtime_getwin64();
    clock_gettime(CLOCK_REALTIME, &ts);
    const int64_t after = static_cast<int64_t>(ts.tv_sec);
    const int64_t secs = (ticks - ZQ_WIN64_EPOCH_DIFF) / 10000000;
    EXPECT_GE(secs, before);
    EXPECT_LE(secs, after);
}

}  // namespace
