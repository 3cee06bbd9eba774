// Shared helpers of the zq tests. Every test process runs in the fixed zone UTC+3 (see
// test_support.cpp), so local and UTC dates differ around midnight.
#pragma once

#include <ctime>
#include <memory>
#include <string>

#include "zq_logger.h"

// A fresh directory under /tmp, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct LoggerDeleter {
    void operator()(logger_t *lg) const { logger_destroy(lg); }
};
using LoggerPtr = std::unique_ptr<logger_t, LoggerDeleter>;

// The clock injected into loggers under test.
extern time_t g_test_now;
time_t test_clock();

// Seconds since 1970 for a local date and time.
time_t local_time(int year, int month, int day, int hour, int minute, int second);
// "<base>_YYYY-MM-DD.log" for the local date `days_back` days before t.
std::string daily_name(const std::string &base, time_t t, int days_back = 0);
std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &content);
bool file_exists(const std::string &path);
