#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "test_support.h"
#include "zq_base.h"

namespace {

TEST(FileUtil, ReadallocOfEmptyFileIsShortWithNoBuffer) {
    TempDir dir;
    write_file(dir.file("empty"), "");
    char *data = reinterpret_cast<char *>(1);
    int64_t size = 99;
    EXPECT_EQ(fileutil_readalloc(dir.file("empty").c_str(), &data, &size), -198);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0);
}

TEST(FileUtil, MissingFileCannotBeOpened) {
    TempDir dir;
    char *data = nullptr;
    int64_t size = 99;
    char buf[4];
    EXPECT_EQ(fileutil_readalloc(dir.file("none").c_str(), &data, &size), -200);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(fileutil_read(dir.file("none").c_str(), buf, sizeof buf), -200);
    EXPECT_EQ(fileutil_write(dir.file("no/such/dir").c_str(), "x", 1), -200);
}

TEST(FileUtil, WriteThenReadBack) {
    TempDir dir;
    const std::string path = dir.file("blob.bin");
    std::string blob(10000, '\0');
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<char>(i * 7 + 3);
    ASSERT_EQ(fileutil_write(path.c_str(), blob.data(), blob.size()), 0);

    char *data = nullptr;
    int64_t size = 0;
    ASSERT_EQ(fileutil_readalloc(path.c_str(), &data, &size), 0);
    ASSERT_EQ(size, 10000);
    EXPECT_EQ(memcmp(data, blob.data(), blob.size()), 0);
    free(data);

    char head[100];
    EXPECT_EQ(fileutil_read(path.c_str(), head, sizeof head), 0);
    EXPECT_EQ(memcmp(head, blob.data(), sizeof head), 0);
    std::string more(10001, '\0');
    EXPECT_EQ(fileutil_read(path.c_str(), &more[0], more.size()), -198);

    // Rewriting truncates.
    ASSERT_EQ(fileutil_write(path.c_str(), "abc", 3), 0);
    EXPECT_EQ(read_file(path), "abc");
}

TEST(FileUtil, FullDiskIsAShortWrite) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "/dev/full is not available";
    // Small enough to sit in the stdio buffer: the failure only shows when the file is closed.
    EXPECT_EQ(fileutil_write("/dev/full", "abc", 3), -197);
}

TEST(ExePath, DirectoryHoldsTheRunningProgram) {
    char exe[4096], dir[4096];
    const int n = zq_get_exepath(exe, sizeof exe);
    ASSERT_GT(n, 0);
    EXPECT_EQ(static_cast<size_t>(n), strlen(exe));
    const int d = zq_get_exedir(dir, sizeof dir);
    ASSERT_GT(d, 0);
    EXPECT_EQ(static_cast<size_t>(d), strlen(dir));
    EXPECT_EQ(std::string(exe).substr(0, d + 1), std::string(dir) + "/");
    EXPECT_EQ(std::string(exe).find('/', d + 1), std::string::npos);
    EXPECT_TRUE(file_exists(exe));
}

TEST(ExePath, TooSmallBufferGivesNothing) {
    char small[4] = "xyz";
    EXPECT_EQ(zq_get_exepath(small, sizeof small), 0);
    EXPECT_EQ(zq_get_exedir(small, sizeof small), 0);
    EXPECT_STREQ(small, "");
}

TEST(NextPow2, SmallestPowerNotBelow) {
    const struct {
        int64_t n, p;
    } cases[] = {{-5, 1},
                 {0, 1},
                 {1, 1},
                 {2, 2},
                 {3, 4},
                 {1000, 1024},
                 {1024, 1024},
                 {(INT64_C(1) << 40) + 1, INT64_C(1) << 41},
                 {(INT64_C(1) << 62) + 1, -1}};
    for (const auto &c : cases) EXPECT_EQ(next_pow2(c.n), c.p) << c.n;
}

}  // namespace
