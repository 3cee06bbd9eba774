#include "zq_time.h"

#include <time.h>

int64_t xtime_getwin64(void) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * ZQ_WIN64_TICKS_PER_SECOND + ts.tv_nsec / 100 +
           ZQ_WIN64_EPOCH_DIFF;
}

int datetime_fromwin64(zq_datetime_t *record, int64_t ticks) {
    if (!record || ticks < INT64_MIN + ZQ_WIN64_EPOCH_DIFF) return -1;
    // Floor division, so instants before 1970 keep a positive sub-second part.
    const int64_t unix_ticks = ticks - ZQ_WIN64_EPOCH_DIFF;
    int64_t secs = unix_ticks / ZQ_WIN64_TICKS_PER_SECOND;
    int64_t rem = unix_ticks % ZQ_WIN64_TICKS_PER_SECOND;
    if (rem < 0) {
        rem += ZQ_WIN64_TICKS_PER_SECOND;
        --secs;
    }
    const time_t t = static_cast<time_t>(secs);
    struct tm lt;
    if (!localtime_r(&t, &lt)) return -1;
    record->year = lt.tm_year + 1900;
    record->month = lt.tm_mon + 1;
    record->day = lt.tm_mday;
    record->hour = lt.tm_hour;
    record->minute = lt.tm_min;
    record->second = lt.tm_sec;
    record->millisecond = static_cast<int32_t>(rem / 10000);
    return 0;
}
