// Snapshot and recording names: "<saveDir>/YYYYMMDD_hhmmss<suffix>", never the name of an existing file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "AppStatic.h"

namespace {

std::tm localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

void touch(const std::string &path) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(GetFn, NamesFollowDirectoryTimeAndSuffix) {
    const struct {
        const char *dir;
        const char *suffix;
        std::tm time;
        const char *expected;
    } cases[] = {
        {"/d", ".jpg", localTime(2024, 4, 8, 9, 5, 7), "/d/20240408_090507.jpg"},
        {"/d", ".stream", localTime(2024, 12, 31, 23, 59, 59), "/d/20241231_235959.stream"},
        {"/data/中文", ".jpg", localTime(2001, 1, 2, 3, 4, 5), "/data/中文/20010102_030405.jpg"},
        {"", "", localTime(2030, 6, 1, 0, 0, 0), "/20300601_000000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_STREQ(AppStatic::getfn_at(c.dir, c.suffix, c.time), c.expected);
        // The name lives in the shared scratch buffer.
        EXPECT_EQ(AppStatic::getfn_at(c.dir, c.suffix, c.time), AppStatic::tmp_buffer);
    }
}

TEST(GetFn, ATakenNameGetsTheNextFreeNumber) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string d = dir.path().toStdString();
    const std::tm t = localTime(2024, 4, 8, 9, 5, 7);
    const std::string base = d + "/20240408_090507";

    // Each row takes the name given, as a snapshot does, before the next call in the same second.
    const char *const expected[] = {".jpg", "_1.jpg", "_2.jpg", "_3.jpg"};
    for (const char *tail : expected) {
        const std::string name = AppStatic::getfn_at(d.c_str(), ".jpg", t);
        EXPECT_EQ(name, base + tail);
        touch(name);
    }
    // Another suffix is a name of its own.
    EXPECT_EQ(std::string(AppStatic::getfn_at(d.c_str(), ".stream", t)), base + ".stream");
    // A gap is filled first.
    QFile::remove(QString::fromStdString(base + "_1.jpg"));
    EXPECT_EQ(std::string(AppStatic::getfn_at(d.c_str(), ".jpg", t)), base + "_1.jpg");
}

TEST(GetFn, ANameThatDoesNotFitIsEmptyRatherThanCut) {
    const std::tm t = localTime(2024, 4, 8, 9, 5, 7);
    const struct {
        size_t dirLength;
        bool fits;
    } cases[] = {
        {1024 - 1 - 20, true},  // "/" + 15 characters + ".jpg" = 20: exactly 1023 bytes in all
        {1024 - 20, false},
        {1023, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dirLength);
        const std::string d = "/" + std::string(c.dirLength - 1, 'x');
        const std::string name = AppStatic::getfn_at(d.c_str(), ".jpg", t);
        if (c.fits)
            EXPECT_EQ(name, d + "/20240408_090507.jpg");
        else
            EXPECT_EQ(name, "");
    }
}
