#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"
#include "zq_logger.h"

namespace {

std::vector<std::string> g_lines;
std::vector<int> g_levels;
bool g_terminated = true;

void capture(int level, const char *line, int length) {
    g_lines.emplace_back(line, static_cast<size_t>(length));
    g_levels.push_back(level);
    g_terminated = g_terminated && line[length] == '\0';
}

class LoggerLine : public ::testing::Test {
protected:
    void SetUp() override {
        g_lines.clear();
        g_levels.clear();
        g_terminated = true;
        lg.reset(logger_create());
        ASSERT_NE(lg, nullptr);
        logger_set_handler(lg.get(), capture);
        g_test_now = local_time(2024, 5, 1, 12, 34, 56);
        logger_set_clock_for_test(lg.get(), test_clock);
    }
    // The one line the handler saw for a print.
    std::string line_of(int level, const char *format, const char *message) {
        logger_set_format(lg.get(), format);
        g_lines.clear();
        int n = logger_print(lg.get(), level, "%s", message);
        EXPECT_EQ(g_lines.size(), 1u);
        if (g_lines.size() != 1) return "";
        EXPECT_EQ(n, static_cast<int>(g_lines[0].size()));
        return g_lines[0];
    }
    LoggerPtr lg;
};

TEST(LoggerLevel, NamesAreExactAndCaseSensitive) {
    LoggerPtr lg(logger_create());
    const struct {
        const char *name;
        int level;
    } cases[] = {{"VERBOSE", LOG_LEVEL_VERBOSE}, {"DEBUG", LOG_LEVEL_DEBUG}, {"INFO", LOG_LEVEL_INFO},
                 {"WARN", LOG_LEVEL_WARN},       {"ERROR", LOG_LEVEL_ERROR}, {"FATAL", LOG_LEVEL_FATAL},
                 {"SILENT", LOG_LEVEL_SILENT},   {"warn", LOG_LEVEL_DEBUG},  {"WARNING", LOG_LEVEL_DEBUG},
                 {"", LOG_LEVEL_DEBUG},          {nullptr, LOG_LEVEL_DEBUG}};
    for (const auto &c : cases) {
        logger_set_level(lg.get(), LOG_LEVEL_FATAL);
        logger_set_level_by_str(lg.get(), c.name);
        EXPECT_EQ(lg->level, c.level) << (c.name ? c.name : "(null)");
    }
}

TEST(LoggerSettings, FileBaseDropsOnlyALogSuffix) {
    LoggerPtr lg(logger_create());
    logger_set_file(lg.get(), "app.log");
    EXPECT_STREQ(lg->filepath, "app");
    logger_set_file(lg.get(), "app.txt");
    EXPECT_STREQ(lg->filepath, "app.txt");
    logger_set_file(lg.get(), "logs.log/app");
    EXPECT_STREQ(lg->filepath, "logs.log/app");
    logger_set_file(lg.get(), "app.logx");
    EXPECT_STREQ(lg->filepath, "app.logx");
    logger_set_file(lg.get(), std::string(300, 'p').c_str());
    EXPECT_EQ(strlen(lg->filepath), 255u);
}

TEST(LoggerSettings, MaxFilesizeFromText) {
    LoggerPtr lg(logger_create());
    const uint64_t MiB = 1024 * 1024;
    const struct {
        const char *text;
        uint64_t bytes;  // expected limit after the call, starting from 1 byte
    } cases[] = {{"0", 1},         {"-5", 1},       {"abc", 1},       {"99999999999999G", 1},
                 {"10", 10 * MiB}, {"10KB", 10240}, {"512K", 524288}, {"2G", 2048 * MiB},
                 {"3MB", 3 * MiB}, {"7X", 7 * MiB}};
    for (const auto &c : cases) {
        logger_set_max_filesize(lg.get(), 1);
        logger_set_max_filesize_by_str(lg.get(), c.text);
        EXPECT_EQ(lg->max_filesize, c.bytes) << c.text;
    }
}

TEST_F(LoggerLine, InfoWithColourAndDefaultFormat) {
    logger_enable_color(lg.get(), 1);
    EXPECT_EQ(line_of(LOG_LEVEL_INFO, ZQ_LOG_DEFAULT_FORMAT, "hello"),
              "\033[32m2024-05-01 12:34:56.000 INFO  hello\033[0m");
}

TEST_F(LoggerLine, EmptyFormatUsesTheFixedLayout) {
    EXPECT_EQ(line_of(LOG_LEVEL_WARN, "", "hi"), "2024-05-01 12:34:56.000 WARN  hi");
}

TEST_F(LoggerLine, Directives) {
    EXPECT_EQ(line_of(LOG_LEVEL_DEBUG, "%q%s", "message"), "message");  // unknown directive vanishes
    EXPECT_EQ(line_of(LOG_LEVEL_WARN, "100%% %l|%L|", "x"), "100% W|WARN |");
    EXPECT_EQ(line_of(LOG_LEVEL_FATAL, "%l%d/%m/%y %H-%M-%S", "x"), "F01/05/2024 12-34-56");
    EXPECT_EQ(line_of(LOG_LEVEL_DEBUG, "%s%", "m"), "m");  // a trailing '%' is not read past
}

TEST_F(LoggerLine, MessageTwiceInOneFormat) {
    logger_set_format(lg.get(), "%s|%s");
    logger_print(lg.get(), LOG_LEVEL_DEBUG, "n=%d %s", 42, "z");
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_EQ(g_lines[0], "n=42 z|n=42 z");
}

TEST_F(LoggerLine, MicrosecondsAgreeWithMilliseconds) {
    logger_set_clock_for_test(lg.get(), nullptr);
    const std::string line = line_of(LOG_LEVEL_DEBUG, "%z %Z", "");
    ASSERT_TRUE(std::regex_match(line, std::regex("[0-9]{3} [0-9]{6}"))) << line;
    EXPECT_EQ(line.substr(0, 3), line.substr(4, 3));
}

TEST_F(LoggerLine, FilteredLevelsReturnMinus10AndReachNoHandler) {
    logger_set_level(lg.get(), LOG_LEVEL_WARN);
    EXPECT_EQ(logger_print(lg.get(), LOG_LEVEL_INFO, "dropped"), -10);
    EXPECT_TRUE(g_lines.empty());
    EXPECT_GT(logger_print(lg.get(), LOG_LEVEL_ERROR, "kept"), 0);
    ASSERT_EQ(g_levels.size(), 1u);
    EXPECT_EQ(g_levels[0], LOG_LEVEL_ERROR);
    EXPECT_TRUE(g_terminated);
}

TEST_F(LoggerLine, LongLineIsCutToTheBufferKeepingTheColourReset) {
    logger_set_max_bufsize(lg.get(), 32);
    const std::string big(100, 'e');
    EXPECT_EQ(line_of(LOG_LEVEL_DEBUG, "%s", big.c_str()), std::string(31, 'e'));
    logger_enable_color(lg.get(), 1);
    EXPECT_EQ(line_of(LOG_LEVEL_ERROR, "%s", big.c_str()), "\033[31m" + std::string(22, 'e') + "\033[0m");
    EXPECT_TRUE(g_terminated);
}

TEST_F(LoggerLine, SdkDiagnosticShape) {
    logger_set_format(lg.get(), "%s");
    logger_t *def = logger_create_default();
    logger_set_handler(def, capture);
    const int line = __LINE__ + 1;
    ZQ_LOGD("value %d", 7);
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_NE(g_lines[0].find("TestBody," + std::to_string(line) + "," + __FILE__ + ":\nvalue 7\n\n"),
              std::string::npos)
        << g_lines[0];
    EXPECT_EQ(g_levels[0], LOG_LEVEL_DEBUG);
    logger_destroy_default();
}

}  // namespace
