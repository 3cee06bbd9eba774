#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "zq_logger.h"

namespace {

class LoggerFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        lg.reset(logger_create());
        ASSERT_NE(lg, nullptr);
        base = dir.file("app");
        logger_set_file(lg.get(), (base + ".log").c_str());
        logger_set_format(lg.get(), "%s");
        logger_set_clock_for_test(lg.get(), test_clock);
    }
    size_t files_in_dir() const {
        size_t n = 0;
        for (const auto &e : std::filesystem::directory_iterator(dir.path())) n += e.is_regular_file();
        return n;
    }
    TempDir dir;
    std::string base;
    LoggerPtr lg;
};

TEST_F(LoggerFile, DailyFileIsNamedByTheLocalDate) {
    // 00:30 local is still the previous day in UTC.
    g_test_now = local_time(2024, 5, 1, 0, 30, 0);
    logger_set_file(lg.get(), dir.file("app.txt").c_str());
    logger_print(lg.get(), LOG_LEVEL_INFO, "first\n");
    const std::string expected = dir.file("app.txt_2024-05-01.log");
    EXPECT_EQ(logger_get_cur_file(lg.get()), expected);
    EXPECT_EQ(read_file(expected), "first\n");
}

TEST_F(LoggerFile, CrossingLocalMidnightOpensANewFile) {
    g_test_now = local_time(2024, 5, 1, 23, 59, 59);
    logger_print(lg.get(), LOG_LEVEL_INFO, "late\n");
    g_test_now += 2;
    logger_print(lg.get(), LOG_LEVEL_INFO, "early\n");
    EXPECT_EQ(read_file(base + "_2024-05-01.log"), "late\n");
    EXPECT_EQ(read_file(base + "_2024-05-02.log"), "early\n");
    EXPECT_EQ(logger_get_cur_file(lg.get()), base + "_2024-05-02.log");
}

TEST_F(LoggerFile, FirstFilePurgesThirtyDaysButKeepsTheRecentOnes) {
    g_test_now = local_time(2024, 3, 10, 12, 0, 0);  // the range crosses February 29
    for (int k = 0; k <= 32; ++k) write_file(daily_name(base, g_test_now, k), "old\n");
    logger_print(lg.get(), LOG_LEVEL_INFO, "new\n");
    for (int k = 0; k <= 32; ++k) {
        const bool kept = k < 7 || k > 30;
        EXPECT_EQ(file_exists(daily_name(base, g_test_now, k)), kept) << k << " days back";
    }
    EXPECT_EQ(read_file(daily_name(base, g_test_now, 0)), "old\nnew\n");
}

TEST_F(LoggerFile, NewDayDeletesTheFileRemainDaysOld) {
    g_test_now = local_time(2024, 5, 1, 12, 0, 0);
    logger_print(lg.get(), LOG_LEVEL_INFO, "a\n");
    g_test_now += 86400;
    for (int k = 5; k <= 9; ++k) write_file(daily_name(base, g_test_now, k), "old\n");
    logger_print(lg.get(), LOG_LEVEL_INFO, "b\n");
    for (int k = 5; k <= 9; ++k) EXPECT_EQ(file_exists(daily_name(base, g_test_now, k)), k != 7) << k;
}

TEST_F(LoggerFile, RemainDaysZeroNeverDeletesTodaysFile) {
    g_test_now = local_time(2024, 5, 1, 12, 0, 0);
    logger_set_remain_days(lg.get(), 0);
    write_file(daily_name(base, g_test_now, 0), "earlier\n");
    write_file(daily_name(base, g_test_now, 1), "yesterday\n");
    logger_print(lg.get(), LOG_LEVEL_INFO, "now\n");
    EXPECT_EQ(read_file(daily_name(base, g_test_now, 0)), "earlier\nnow\n");
    EXPECT_FALSE(file_exists(daily_name(base, g_test_now, 1)));
}

TEST_F(LoggerFile, OversizedFileIsEmptiedInPlace) {
    g_test_now = local_time(2024, 5, 1, 12, 0, 0);
    logger_set_max_filesize(lg.get(), 1000);
    const std::string path = daily_name(base, g_test_now);
    const std::string line = std::string(99, 'x') + "\n";
    for (int i = 0; i < 35; ++i) {
        logger_print(lg.get(), LOG_LEVEL_INFO, "%s", line.c_str());
        ASSERT_LE(std::filesystem::file_size(path), 1100u) << "line " << i;
    }
    EXPECT_LT(std::filesystem::file_size(path), 35u * 100);
    EXPECT_EQ(files_in_dir(), 1u);
    const std::string content = read_file(path);
    EXPECT_EQ(content.substr(content.size() - 100), line);
}

TEST_F(LoggerFile, NewPathTakesEffectWithTheNextLine) {
    g_test_now = local_time(2024, 5, 1, 12, 0, 0);
    logger_print(lg.get(), LOG_LEVEL_INFO, "one\n");
    logger_set_file(lg.get(), dir.file("other.log").c_str());
    logger_print(lg.get(), LOG_LEVEL_INFO, "two\n");
    EXPECT_EQ(read_file(base + "_2024-05-01.log"), "one\n");
    EXPECT_EQ(read_file(dir.file("other_2024-05-01.log")), "two\n");
}

TEST_F(LoggerFile, ConcurrentLinesNeverInterleave) {
    logger_set_clock_for_test(lg.get(), nullptr);
    logger_enable_fsync(lg.get(), 0);
    const int kThreads = 4, kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kLines; ++i)
                logger_print(lg.get(), LOG_LEVEL_INFO, "thread %d line %04d %s\n", t, i, "payload-payload");
        });
    }
    for (auto &th : threads) th.join();
    logger_fsync(lg.get());
    std::istringstream in(read_file(logger_get_cur_file(lg.get())));
    const std::regex shape("thread [0-3] line [0-9]{4} payload-payload");
    int count = 0;
    for (std::string l; std::getline(in, l); ++count) ASSERT_TRUE(std::regex_match(l, shape)) << l;
    EXPECT_EQ(count, kThreads * kLines);
}

TEST_F(LoggerFile, DefaultLoggerIsASingletonRecreatedAfterDestroy) {
    logger_t *def = logger_create_default();
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(logger_create_default(), def);
    logger_set_level(def, LOG_LEVEL_ERROR);
    logger_destroy_default();
    logger_t *fresh = logger_create_default();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->level, LOG_LEVEL_DEBUG);
    logger_destroy_default();
}

TEST_F(LoggerFile, FileHandlerWritesToTheDefaultLoggersFile) {
    g_test_now = local_time(2024, 5, 1, 12, 0, 0);
    logger_t *def = logger_create_default();
    logger_set_file(def, dir.file("def.log").c_str());
    logger_set_format(def, "%s");
    logger_set_clock_for_test(def, test_clock);
    // As the default logger's own handler it must not wait for the lock it already holds.
    logger_set_handler(def, file_logger);
    logger_print(def, LOG_LEVEL_INFO, "own\n");
    logger_set_handler(lg.get(), file_logger);
    logger_print(lg.get(), LOG_LEVEL_INFO, "other\n");
    EXPECT_EQ(read_file(dir.file("def_2024-05-01.log")), "own\nother\n");
    EXPECT_FALSE(file_exists(base + "_2024-05-01.log"));
    logger_destroy_default();
}

}  // namespace
