#include "zq_logger.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// VERBOSE has no label of its own; "VERB " keeps the columns of a log aligned.
const char *const kLevelLabels[] = {"VERB ", "DEBUG", "INFO ", "WARN ", "ERROR", "FATAL"};
const char *const kLevelColors[] = {"", "\033[37m", "\033[32m", "\033[33m", "\033[31m", "\033[41;37m"};
const char kColorReset[] = "\033[0m";
const size_t kColorResetLen = sizeof(kColorReset) - 1;
const int kPurgeDaysWithoutFile = 30;
const int kMaxPurgeDays = 36600;
const long kSecondsPerDay = 86400;

const char *level_label(int level) {
    return level >= 0 && level <= LOG_LEVEL_FATAL ? kLevelLabels[level] : "";
}

const char *level_color(int level) {
    return level >= 0 && level <= LOG_LEVEL_FATAL ? kLevelColors[level] : "";
}

// Offset of local time from UTC, taken once per process: day boundaries stay stable while running.
long utc_offset_s() {
    static const long offset = [] {
        time_t now = time(nullptr);
        struct tm lt;
        return localtime_r(&now, &lt) ? static_cast<long>(lt.tm_gmtoff) : 0L;
    }();
    return offset;
}

int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t local_day_number(time_t t) {
    return floor_div(static_cast<int64_t>(t) + utc_offset_s(), kSecondsPerDay);
}

// Civil calendar <-> day count since 1970-01-01, so "k days before" is pure date arithmetic.
int64_t days_from_civil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = floor_div(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int *y, int *m, int *d) {
    z += 719468;
    const int64_t era = floor_div(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

// Daily file name for the local date `days_back` days before `now`; false if it does not fit.
bool daily_file_name(const logger_t *lg, time_t now, int days_back, char *out, size_t size) {
    struct tm lt;
    if (!localtime_r(&now, &lt)) return false;
    int y, m, d;
    civil_from_days(days_from_civil(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) - days_back, &y, &m, &d);
    int n = snprintf(out, size, "%s_%04d-%02d-%02d.log", lg->filepath, y, m, d);
    return n > 0 && static_cast<size_t>(n) < size;
}

time_t logger_now(const logger_t *lg) {
    return lg->clock_now ? lg->clock_now() : time(nullptr);
}

void purge_old_files(logger_t *lg, time_t now, int64_t n) {
    if (lg->remain_days < 0) return;
    char path[ZQ_LOG_CUR_FILE_SIZE];
    if (n < lg->remain_days) {
        if (daily_file_name(lg, now, lg->remain_days, path, sizeof path)) unlink(path);
        return;
    }
    // Today's file is never deleted, even with remain_days 0: it is the one about to be written.
    for (int64_t k = lg->remain_days > 0 ? lg->remain_days : 1; k <= n; ++k) {
        if (daily_file_name(lg, now, static_cast<int>(k), path, sizeof path)) unlink(path);
    }
}

void close_file(logger_t *lg) {
    if (lg->fp) fclose(lg->fp);
    lg->fp = nullptr;
}

// Picks the file for the next line: opens the daily file, changes it at local midnight, purges old
// files and empties the file in place once it outgrows max_filesize. Called with the mutex held.
FILE *logfile_shift(logger_t *lg) {
    const time_t now = logger_now(lg);
    bool need_open = true;
    int64_t n = kPurgeDaysWithoutFile;
    if (lg->fp && lg->last_logfile_ts) {
        const int64_t days = local_day_number(now) - local_day_number(lg->last_logfile_ts);
        if (days <= 0) {
            need_open = false;
        } else {
            close_file(lg);
            // A clock that jumps decades (a device booting without real-time clock) must not keep us
            // deleting for minutes.
            n = days < kMaxPurgeDays ? days : kMaxPurgeDays;
        }
    }
    if (need_open) {
        close_file(lg);
        purge_old_files(lg, now, n);
        char path[ZQ_LOG_CUR_FILE_SIZE];
        if (!daily_file_name(lg, now, 0, path, sizeof path)) return nullptr;
        lg->fp = fopen(path, "ae");
        if (!lg->fp) return nullptr;
        memcpy(lg->cur_logfile, path, sizeof path);
        lg->last_logfile_ts = now;
        lg->can_write_cnt = -1;
    }

    if (--lg->can_write_cnt >= 0) return lg->fp;
    fflush(lg->fp);
    struct stat st;
    const uint64_t size = fstat(fileno(lg->fp), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    if (size <= lg->max_filesize) {
        const uint64_t lines = (lg->max_filesize - size) / lg->bufsize;
        lg->can_write_cnt = lines > INT32_MAX ? INT32_MAX : static_cast<int32_t>(lines);
        return lg->fp;
    }
    close_file(lg);
    // Emptied in place and reopened for appending; no numbered backups are kept.
    int fd = open(lg->cur_logfile, O_WRONLY | O_APPEND | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        lg->fp = fdopen(fd, "a");
        if (!lg->fp) close(fd);
    }
    lg->can_write_cnt = -1;
    return lg->fp;
}

// Bounded writer over the line buffer; everything past `limit` is cut.
struct LineWriter {
    char *buf;
    size_t limit;
    size_t len;

    void put(const char *s, size_t n) {
        if (n > limit - len) n = limit - len;
        memcpy(buf + len, s, n);
        len += n;
    }
    void put(const char *s) { put(s, strlen(s)); }
    void put_char(char c) {
        if (len < limit) buf[len++] = c;
    }
    void put_num(long v, int width) {
        char tmp[24];
        int n = snprintf(tmp, sizeof tmp, "%0*ld", width, v);
        if (n > 0) put(tmp, static_cast<size_t>(n));
    }
    void put_message(const char *fmt, va_list ap) {
        if (!fmt) return;
        va_list copy;
        va_copy(copy, ap);
        const size_t room = limit - len;
        int n = vsnprintf(buf + len, room + 1, fmt, copy);
        va_end(copy);
        if (n > 0) len += static_cast<size_t>(n) < room ? static_cast<size_t>(n) : room;
    }
};

void write_directive(LineWriter &w, char c, const struct tm &lt, long usec, int level, const char *fmt,
                     va_list ap) {
    switch (c) {
        case 'y':
            w.put_num(lt.tm_year + 1900, 4);
            break;
        case 'm':
            w.put_num(lt.tm_mon + 1, 2);
            break;
        case 'd':
            w.put_num(lt.tm_mday, 2);
            break;
        case 'H':
            w.put_num(lt.tm_hour, 2);
            break;
        case 'M':
            w.put_num(lt.tm_min, 2);
            break;
        case 'S':
            w.put_num(lt.tm_sec, 2);
            break;
        case 'z':
            w.put_num(usec / 1000, 3);
            break;
        case 'Z':
            w.put_num(usec, 6);
            break;
        case 'L':
            w.put(level_label(level));
            break;
        case 'l':
            w.put(level_label(level), level_label(level)[0] ? 1 : 0);
            break;
        case 's':
            w.put_message(fmt, ap);
            break;
        case '%':
            w.put_char('%');
            break;
        default:
            break;  // unknown directive: both characters vanish
    }
}

void emit_line(logger_t *lg, int level, size_t len) {
    if (lg->handler) {
        lg->handler(level, lg->buf, static_cast<int>(len));
        return;
    }
    if (FILE *fp = logfile_shift(lg)) {
        fwrite(lg->buf, 1, len, fp);
        if (lg->enable_fsync) fflush(fp);
    }
    if (lg->enable_console) fwrite(lg->buf, 1, len, stdout);
}

void copy_bounded(char *dst, size_t size, const char *src) {
    size_t n = src ? strnlen(src, size - 1) : 0;
    if (n) memcpy(dst, src, n);
    dst[n] = '\0';
}

std::atomic<logger_t *> s_logger{nullptr};
std::mutex s_default_mutex;
bool s_atexit_pending = false;

void destroy_default_at_exit() {
    s_atexit_pending = false;
    logger_destroy_default();
}

}  // namespace

logger_t *logger_create(void) {
    utc_offset_s();
    logger_t *lg = static_cast<logger_t *>(calloc(1, sizeof(logger_t)));
    if (!lg) return nullptr;
    lg->buf = static_cast<char *>(malloc(ZQ_LOG_DEFAULT_BUFSIZE));
    if (!lg->buf) {
        free(lg);
        return nullptr;
    }
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&lg->mutex, &attr);
    pthread_mutexattr_destroy(&attr);

    lg->bufsize = ZQ_LOG_DEFAULT_BUFSIZE;
    lg->level = LOG_LEVEL_DEBUG;
    copy_bounded(lg->format, sizeof lg->format, ZQ_LOG_DEFAULT_FORMAT);
    lg->max_filesize = ZQ_LOG_DEFAULT_MAX_FILESIZE;
    lg->remain_days = ZQ_LOG_DEFAULT_REMAIN_DAYS;
    lg->enable_fsync = 1;
    lg->can_write_cnt = -1;
    logger_set_file(lg, "zq.log");
    return lg;
}

void logger_destroy(logger_t *logger) {
    if (!logger) return;
    close_file(logger);
    free(logger->buf);
    pthread_mutex_destroy(&logger->mutex);
    free(logger);
}

logger_t *logger_create_default(void) {
    logger_t *lg = s_logger.load(std::memory_order_acquire);
    if (lg) return lg;
    std::lock_guard<std::mutex> guard(s_default_mutex);
    lg = s_logger.load(std::memory_order_relaxed);
    if (lg) return lg;
    lg = logger_create();
    s_logger.store(lg, std::memory_order_release);
    // Registered once; again only if a logger is made after the exit handler already ran.
    if (lg && !s_atexit_pending && atexit(destroy_default_at_exit) == 0) s_atexit_pending = true;
    return lg;
}

void logger_destroy_default(void) {
    std::lock_guard<std::mutex> guard(s_default_mutex);
    logger_t *lg = s_logger.exchange(nullptr, std::memory_order_acq_rel);
    if (!lg) return;
    logger_fsync(lg);
    logger_destroy(lg);
}

void logger_set_handler(logger_t *logger, logger_handler handler) {
    if (logger) logger->handler = handler;
}

void logger_set_level(logger_t *logger, int level) {
    if (logger) logger->level = level;
}

void logger_set_level_by_str(logger_t *logger, const char *name) {
    static const char *const kNames[] = {"VERBOSE", "DEBUG", "INFO", "WARN", "ERROR", "FATAL", "SILENT"};
    if (!logger) return;
    logger->level = LOG_LEVEL_DEBUG;
    for (int i = 0; name && i <= LOG_LEVEL_SILENT; ++i) {
        if (strcmp(name, kNames[i]) == 0) logger->level = i;
    }
}

void logger_set_format(logger_t *logger, const char *format) {
    if (!logger) return;
    pthread_mutex_lock(&logger->mutex);
    copy_bounded(logger->format, sizeof logger->format, format);
    pthread_mutex_unlock(&logger->mutex);
}

void logger_set_file(logger_t *logger, const char *path) {
    if (!logger || !path) return;
    pthread_mutex_lock(&logger->mutex);
    copy_bounded(logger->filepath, sizeof logger->filepath, path);
    char *dot = strrchr(logger->filepath, '.');
    if (dot && strcmp(dot, ".log") == 0) *dot = '\0';
    // The next line opens the file at the new place rather than staying in the old one until midnight.
    close_file(logger);
    logger->cur_logfile[0] = '\0';
    logger->last_logfile_ts = 0;
    logger->can_write_cnt = -1;
    pthread_mutex_unlock(&logger->mutex);
}

void logger_set_max_filesize(logger_t *logger, uint64_t bytes) {
    if (!logger) return;
    logger->max_filesize = bytes;
    logger->can_write_cnt = -1;
}

void logger_set_max_filesize_by_str(logger_t *logger, const char *text) {
    if (!logger || !text) return;
    char *end = nullptr;
    errno = 0;
    long long num = strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || num <= 0) return;
    uint64_t unit = 1024ull * 1024;
    if (*end == 'K') unit = 1024ull;
    if (*end == 'G') unit = 1024ull * 1024 * 1024;
    if (static_cast<uint64_t>(num) > UINT64_MAX / unit) return;
    logger_set_max_filesize(logger, static_cast<uint64_t>(num) * unit);
}

void logger_set_remain_days(logger_t *logger, int days) {
    if (logger) logger->remain_days = days;
}

void logger_set_max_bufsize(logger_t *logger, uint32_t size) {
    if (!logger || size == 0) return;
    pthread_mutex_lock(&logger->mutex);
    if (char *p = static_cast<char *>(realloc(logger->buf, size))) {
        logger->buf = p;
        logger->bufsize = size;
        logger->can_write_cnt = -1;  // the line count was based on the old line size
    }
    pthread_mutex_unlock(&logger->mutex);
}

void logger_enable_color(logger_t *logger, int on) {
    if (logger) logger->enable_color = on;
}

void logger_enable_console(logger_t *logger, int on) {
    if (logger) logger->enable_console = on;
}

void logger_enable_fsync(logger_t *logger, int on) {
    if (logger) logger->enable_fsync = on;
}

void logger_fsync(logger_t *logger) {
    if (!logger) return;
    pthread_mutex_lock(&logger->mutex);
    if (logger->fp) fflush(logger->fp);
    pthread_mutex_unlock(&logger->mutex);
}

const char *logger_get_cur_file(logger_t *logger) {
    return logger ? logger->cur_logfile : "";
}

void logger_set_clock_for_test(logger_t *logger, time_t (*now)(void)) {
    if (logger) logger->clock_now = now;
}

int logger_vprint(logger_t *logger, int level, const char *fmt, va_list ap) {
    if (!logger || level < logger->level) return ZQ_LOG_FILTERED;

    struct timeval tv;
    if (logger->clock_now) {
        tv.tv_sec = logger->clock_now();
        tv.tv_usec = 0;
    } else {
        gettimeofday(&tv, nullptr);
    }
    struct tm lt;
    if (!localtime_r(&tv.tv_sec, &lt)) memset(&lt, 0, sizeof lt);
    const long usec = static_cast<long>(tv.tv_usec);

    pthread_mutex_lock(&logger->mutex);
    // Room for the terminator, and for the colour reset so a cut line never leaves the terminal coloured.
    size_t limit = logger->bufsize - 1;
    const bool color = logger->enable_color && limit >= kColorResetLen;
    if (color) limit -= kColorResetLen;
    LineWriter w{logger->buf, limit, 0};
    if (color) w.put(level_color(level));

    if (logger->format[0]) {
        for (const char *p = logger->format; *p; ++p) {
            if (*p != '%') {
                w.put_char(*p);
                continue;
            }
            if (!*++p) break;  // a lone '%' at the end has nothing to expand
            write_directive(w, *p, lt, usec, level, fmt, ap);
        }
    } else {
        char head[64];
        int n = snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d.%03ld %s ", lt.tm_year + 1900,
                         lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec, usec / 1000,
                         level_label(level));
        if (n > 0)
            w.put(head, static_cast<size_t>(n) < sizeof head ? static_cast<size_t>(n) : sizeof head - 1);
        w.put_message(fmt, ap);
    }
    if (color) {
        memcpy(w.buf + w.len, kColorReset, kColorResetLen);
        w.len += kColorResetLen;
    }
    w.buf[w.len] = '\0';

    emit_line(logger, level, w.len);
    pthread_mutex_unlock(&logger->mutex);
    return static_cast<int>(w.len);
}

int logger_print(logger_t *logger, int level, const char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    int n = logger_vprint(logger, level, fmt, ap);
    va_end(ap);
    return n;
}

void stdout_logger(int /*level*/, const char *line, int length) {
    fprintf(stdout, "%.*s", length, line);
}

void stderr_logger(int /*level*/, const char *line, int length) {
    fprintf(stderr, "%.*s", length, line);
}

void file_logger(int /*level*/, const char *line, int length) {
    logger_t *lg = logger_create_default();
    if (!lg || length <= 0) return;
    pthread_mutex_lock(&lg->mutex);
    if (FILE *fp = logfile_shift(lg)) {
        fwrite(line, 1, static_cast<size_t>(length), fp);
        if (lg->enable_fsync) fflush(fp);
    }
    pthread_mutex_unlock(&lg->mutex);
}
