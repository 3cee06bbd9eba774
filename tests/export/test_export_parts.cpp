// The parts of sarvik export that need no file: the --frames grammar and the time written into CSV and TIFF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "export_range.h"
#include "export_writers.h"

namespace {

struct RangeCase {
    const char *text;
    int64_t count;
    bool parses;
    bool resolves;
    int64_t first, end;
};

TEST(ExportFrameRange, SelectsHalfOpenRangesAndRefusesTheRest) {
    const RangeCase cases[] = {
        {"", 10, true, true, 0, 10},        {"2:5", 10, true, true, 2, 5},
        {"3:", 10, true, true, 3, 10},      {":4", 10, true, true, 0, 4},
        {"7", 10, true, true, 7, 8},        {"0", 1, true, true, 0, 1},
        {"-3:", 10, true, true, 7, 10},     {":-1", 10, true, true, 0, 9},
        {"-1", 10, true, true, 9, 10},      {"5:100", 10, true, true, 5, 10},
        {"5:5", 10, true, false, 0, 0},     {"6:2", 10, true, false, 0, 0},
        {"10", 10, true, false, 0, 0},      {"-11:", 10, true, false, 0, 0},
        {"a:b", 10, false, false, 0, 0},    {"1:2:3", 10, false, false, 0, 0},
        {"1.5", 10, false, false, 0, 0},    {" 1:2", 10, false, false, 0, 0},
        {"+1", 10, false, false, 0, 0},     {"99999999999999999999", 10, false, false, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        cli::FrameRange r;
        std::string why;
        ASSERT_EQ(cli::parseFrameRange(c.text, &r, &why), c.parses) << why;
        if (!c.parses) {
            EXPECT_FALSE(why.empty());
            continue;
        }
        int64_t a = -1, b = -1;
        ASSERT_EQ(r.resolve(c.count, &a, &b, &why), c.resolves) << why;
        if (c.resolves) {
            EXPECT_EQ(a, c.first);
            EXPECT_EQ(b, c.end);
        }
    }
}

struct TimeCase {
    const char *tz;
    int64_t ticks1970;  // 100-ns ticks since 1970 UTC, as frame headers carry them
    const char *text;
};

TEST(ExportFrameTime, StampsReadAsLocalIsoTime) {
    const TimeCase cases[] = {
        {"UTC", 0, "1970-01-01T00:00:00.000+00:00"},
        // 2026-12-08 11:24:24.123 UTC.
        {"UTC", 17967290641230000LL, "2026-12-08T11:24:24.123+00:00"},
        {"Asia/Kolkata", 17967290641230000LL, "2026-12-08T16:54:24.123+05:30"},
        {"America/New_York", 17967290641230000LL, "2026-12-08T06:24:24.123-05:00"},
        // Summer time in New York; sub-millisecond ticks are cut, not rounded.
        {"America/New_York", 17830012009999999LL, "2026-07-02T10:06:40.999-04:00"},
        // Before 1970: the milliseconds stay positive.
        {"UTC", -5000000LL, "1969-12-31T23:59:59.500+00:00"},
    };
    const char *saved = std::getenv("TZ");
    const std::string old = saved ? saved : "";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tz);
        setenv("TZ", c.tz, 1);
        tzset();
        EXPECT_EQ(cli::isoLocalTime(c.ticks1970), c.text);
    }
    if (saved)
        setenv("TZ", old.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
