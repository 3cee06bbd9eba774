// The configuration file as a customer uses it: a SarvikSDK.json beside the program.
#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "temp_dir.h"
#include "vcam_process.h"

using namespace testsupport;

namespace {

// Copies the probe program into dir so that dir is its executable directory.
std::string install_probe(const TempDir &dir) {
    std::string probe = dir.file("sdk_probe");
    std::string cmd = "cp '" + bin_dir() + "/sdk_probe' '" + probe + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return probe;
}

std::string today() {
    std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday);
    return buf;
}

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::vector<std::string> files_in(const std::string &dir) {
    std::vector<std::string> out;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') out.push_back(e->d_name);
        closedir(d);
    }
    return out;
}

}  // namespace

TEST(ConfigFile, RelativeLogPathWritesDailyFilesBesideTheProgram) {
    TempDir dir;
    std::string probe = install_probe(dir);
    write_file(dir.file("SarvikSDK.json"), R"({"log":"logs/sdk.log","encoder":"qsv","previewEnableThread2":1})");
    std::string out;
    ASSERT_EQ(run_program({probe}, &out), 0) << out;
    std::string log = read_file(dir.file("logs/sdk_" + today() + ".log"));
    EXPECT_NE(log.find("encoder: 5, decoder: 0, syncTime: 1, previewEnableInterProcess: 1, previewEnableThread2: 1\n\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Sarvik_InitSDK,"), std::string::npos) << "lines start with function,line,file";
}

TEST(ConfigFile, WithoutALogPathNothingIsWritten) {
    TempDir dir;
    std::string probe = install_probe(dir);
    std::string out;
    ASSERT_EQ(run_program({probe}, &out), 0) << out;
    EXPECT_EQ(files_in(dir.path()), std::vector<std::string>{"sdk_probe"});
}

TEST(ConfigFile, WrongTypeIgnoresTheWholeFile) {
    TempDir dir;
    std::string probe = install_probe(dir);
    write_file(dir.file("SarvikSDK.json"), R"({"log":"sdk.log","syncTime":"yes"})");
    std::string out;
    ASSERT_EQ(run_program({probe}, &out), 0) << out;
    EXPECT_EQ(files_in(dir.path()).size(), 2u) << "no log file: the log key was discarded with the rest";
}

TEST(ConfigFile, SyncTimeZeroSendsOnlyTheTwoRecordRequests) {
    TempDir dir;
    std::string probe = install_probe(dir);
    write_file(dir.file("SarvikSDK.json"), R"({"syncTime":0})");
    VcamProcess cam("127.0.0.60", {"--request-log", dir.file("requests.txt")});
    ASSERT_TRUE(cam.ready());
    std::string out;
    ASSERT_EQ(run_program({probe, "127.0.0.60", "2"}, &out), 0) << out;
    EXPECT_NE(out.find("login 0\nlogin 1\n"), std::string::npos) << out;
    // The camera serves connections in order, so the second login's answers prove the first is complete.
    auto reqs = lines_of(read_file(dir.file("requests.txt")));
    ASSERT_GE(reqs.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(reqs.begin(), reqs.begin() + 4),
              (std::vector<std::string>{"7 4", "23 4", "7 4", "23 4"}));
}

TEST(ConfigFile, SyncTimeByDefaultSetsTheClockAfterTheRecords) {
    TempDir dir;
    std::string probe = install_probe(dir);
    VcamProcess cam("127.0.0.61", {"--request-log", dir.file("requests.txt")});
    ASSERT_TRUE(cam.ready());
    std::string out;
    ASSERT_EQ(run_program({probe, "127.0.0.61", "2"}, &out), 0) << out;
    auto reqs = lines_of(read_file(dir.file("requests.txt")));
    ASSERT_GE(reqs.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(reqs.begin(), reqs.begin() + 5),
              (std::vector<std::string>{"7 4", "23 4", "56 72", "7 4", "23 4"}));
}
