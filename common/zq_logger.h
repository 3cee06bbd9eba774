// Logger of the zq utility library: one heap record per logger, free functions over it.
//
// Each executable module (the SDK library, each tool) carries its own copy of this code and so its own
// default logger. Setters are meant for start-up; logger_print and logger_fsync may be called from any
// thread and never interleave within a line.
#pragma once

#include <pthread.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <time.h>

enum {
    LOG_LEVEL_VERBOSE = 0,
    LOG_LEVEL_DEBUG = 1,
    LOG_LEVEL_INFO = 2,
    LOG_LEVEL_WARN = 3,
    LOG_LEVEL_ERROR = 4,
    LOG_LEVEL_FATAL = 5,
    LOG_LEVEL_SILENT = 6,
};

enum {
    ZQ_LOG_DEFAULT_BUFSIZE = 16384,
    ZQ_LOG_DEFAULT_REMAIN_DAYS = 7,
    ZQ_LOG_FORMAT_SIZE = 64,
    ZQ_LOG_FILEPATH_SIZE = 256,
    // Room for the file base path plus "_YYYY-MM-DD.log", so a long base never yields a cut-off name.
    ZQ_LOG_CUR_FILE_SIZE = ZQ_LOG_FILEPATH_SIZE + 16,
    // Returned by logger_print for a line below the threshold.
    ZQ_LOG_FILTERED = -10,
};

#define ZQ_LOG_DEFAULT_FORMAT "%y-%m-%d %H:%M:%S.%z %L %s"
#define ZQ_LOG_DEFAULT_MAX_FILESIZE (16ull * 1024 * 1024)

// Receives every formatted line (not NUL-counted in length; line[length] is NUL) instead of file/console.
typedef void (*logger_handler)(int level, const char *line, int length);

struct logger_t {
    logger_handler handler;
    uint32_t bufsize;  // a line is at most bufsize - 1 bytes
    char *buf;
    int32_t level;
    int32_t enable_color;
    int32_t enable_console;
    char format[ZQ_LOG_FORMAT_SIZE];
    char filepath[ZQ_LOG_FILEPATH_SIZE];  // base path without ".log"
    uint64_t max_filesize;
    int32_t remain_days;
    int32_t enable_fsync;
    char cur_logfile[ZQ_LOG_CUR_FILE_SIZE];
    time_t last_logfile_ts;  // 0 = no file opened yet
    int32_t can_write_cnt;
    pthread_mutex_t mutex;  // recursive, so file_logger may run as this logger's own handler
    FILE *fp;
    time_t (*clock_now)(void);  // null = wall clock; tests inject their own
};

// New logger with the defaults; null when out of memory. Free with logger_destroy.
logger_t *logger_create(void);
// Closes the file and frees everything; null is ignored.
void logger_destroy(logger_t *logger);

// The module's logger, created on first use and destroyed at exit. Not for the first call from two
// threads at once: create it during single-threaded start-up.
logger_t *logger_create_default(void);
// Flushes and destroys the module's logger; a later logger_create_default makes a fresh one.
void logger_destroy_default(void);

void logger_set_handler(logger_t *logger, logger_handler handler);
void logger_set_level(logger_t *logger, int level);
// Exact, case-sensitive names "VERBOSE" .. "SILENT"; anything else (null too) selects DEBUG.
void logger_set_level_by_str(logger_t *logger, const char *name);
// At most 63 characters are kept; null gives an empty format (the fixed default layout).
void logger_set_format(logger_t *logger, const char *format);
// At most 255 characters; a trailing ".log" is cut off. A file already open is closed, so the next line
// goes to the new place.
void logger_set_file(logger_t *logger, const char *path);
void logger_set_max_filesize(logger_t *logger, uint64_t bytes);
// "10" = 10 MiB, "512K"/"512KB" = 512 KiB, "2G" = 2 GiB, unknown letter = MiB; zero, negative, unparsable
// or overflowing text leaves the limit unchanged.
void logger_set_max_filesize_by_str(logger_t *logger, const char *text);
void logger_set_remain_days(logger_t *logger, int days);
// Resizes the line buffer; keeps the old one if the new one cannot be had. 0 is ignored.
void logger_set_max_bufsize(logger_t *logger, uint32_t size);
void logger_enable_color(logger_t *logger, int on);
void logger_enable_console(logger_t *logger, int on);
void logger_enable_fsync(logger_t *logger, int on);
// Flushes the open file.
void logger_fsync(logger_t *logger);
// Path of the file now open; empty before the first file line. Owned by the logger.
const char *logger_get_cur_file(logger_t *logger);

// Formats and emits one line; returns its length, or ZQ_LOG_FILTERED (-10) when level is below the
// threshold (or logger is null). No newline is added.
int logger_print(logger_t *logger, int level, const char *fmt, ...) __attribute__((format(printf, 3, 4)));
int logger_vprint(logger_t *logger, int level, const char *fmt, va_list ap)
    __attribute__((format(printf, 3, 0)));

// Handlers: write the line to standard output / standard error, or to the default logger's file.
void stdout_logger(int level, const char *line, int length);
void stderr_logger(int level, const char *line, int length);
void file_logger(int level, const char *line, int length);

// Test hook: replaces the wall clock (seconds) used for time stamps and daily files; null restores it.
void logger_set_clock_for_test(logger_t *logger, time_t (*now)(void));

// The shape of every diagnostic line of the SDK: function, source line, source file, then the text.
#define ZQ_LOGD(fmt, ...)                                                                                \
    logger_print(logger_create_default(), LOG_LEVEL_DEBUG, "%s,%d,%s:\n" fmt "\n\n", __func__, __LINE__, \
                 __FILE__, ##__VA_ARGS__)
