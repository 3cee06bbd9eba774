#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {
// Before main and before any logger takes the process's UTC offset.
const bool s_zone_fixed = [] {
    setenv("TZ", "UTC-3", 1);
    tzset();
    return true;
}();
}  // namespace

TempDir::TempDir() {
    char templ[] = "/tmp/zq_test.XXXXXX";
    const char *dir = mkdtemp(templ);
    path_ = dir ? dir : "";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

time_t g_test_now = 0;

time_t test_clock() {
    return g_test_now;
}

time_t local_time(int year, int month, int day, int hour, int minute, int second) {
    struct tm tm = {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return mktime(&tm);
}

std::string daily_name(const std::string &base, time_t t, int days_back) {
    struct tm lt;
    localtime_r(&t, &lt);
    lt.tm_mday -= days_back;
    lt.tm_hour = 12;
    lt.tm_isdst = -1;
    mktime(&lt);
    char name[64];
    snprintf(name, sizeof name, "_%04d-%02d-%02d.log", lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday);
    return base + name;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
}

bool file_exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
