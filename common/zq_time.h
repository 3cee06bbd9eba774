// Time stamps of the zq utility library: 100-ns ticks since 1601-01-01 UTC, as the SDK's records carry.
#pragma once

#include <stdint.h>

// Ticks between 1601-01-01 and 1970-01-01 (UTC).
#define ZQ_WIN64_EPOCH_DIFF INT64_C(116444736000000000)
#define ZQ_WIN64_TICKS_PER_SECOND INT64_C(10000000)

// Local calendar date and time.
struct zq_datetime_t {
    int32_t year;
    int32_t month;  // 1-12
    int32_t day;    // 1-31
    int32_t hour;
    int32_t minute;
    int32_t second;
    int32_t millisecond;
};
static_assert(sizeof(zq_datetime_t) == 28, "seven 32-bit fields");

// Current real time in ticks since 1601-01-01 UTC.
int64_t xtime_getwin64(void);
// Breaks ticks since 1601-01-01 UTC into local date and time; 0, or -1 (record untouched) on failure.
int datetime_fromwin64(zq_datetime_t *record, int64_t ticks);
