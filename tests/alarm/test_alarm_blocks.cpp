// Building alarm blocks, storing them as files, and the names of alarm types: no SDK start-up needed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <string>

#include "alarm_test_util.h"
#include "temp_dir.h"

using namespace alarmtest;
using testsupport::read_file;
using testsupport::TempDir;

namespace {

bool exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// 2024-05-01 12:34:56 local time, in ticks since 1601.
int64_t local_ticks_2024() {
    std::tm lt{};
    lt.tm_year = 124;
    lt.tm_mon = 4;
    lt.tm_mday = 1;
    lt.tm_hour = 12;
    lt.tm_min = 34;
    lt.tm_sec = 56;
    lt.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&lt)) * 10000000 + INT64_C(116444736000000000);
}

Bytes with_time(Bytes b, int64_t ticks) {
    std::memcpy(b.data() + offsetof(AlarmDataHeader, eventTime), &ticks, sizeof ticks);
    return b;
}

}  // namespace

TEST(AlarmDataCreate, EmptyPartsAreLeftOutAndTheRestPacked) {
    AlarmDataHeader h = header(1, "cam7");
    h.eventTime = 1234567;
    const char a[] = "0123456789", b[] = "abcde";
    const void *parts[4] = {"never read", a, nullptr, b};
    int lengths[4] = {0, 10, -3, 5};
    unsigned char kinds[4] = {SARVIK_ALARM_PART_TXT, SARVIK_ALARM_PART_JPG, SARVIK_ALARM_PART_MP4,
                              SARVIK_ALARM_PART_ALG};
    AlarmDataHeader *block = AlarmData_Create(&h, parts, lengths, kinds);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->totalSize, 527u);
    EXPECT_EQ(block->partLength[0], 10);
    EXPECT_EQ(block->partLength[1], 5);
    EXPECT_EQ(block->partLength[2], 0);
    EXPECT_EQ(block->partLength[3], 0);
    EXPECT_EQ(block->partKind[0], SARVIK_ALARM_PART_JPG);
    EXPECT_EQ(block->partKind[1], SARVIK_ALARM_PART_ALG);
    EXPECT_EQ(block->partKind[2], 0);
    EXPECT_EQ(block->partKind[3], 0);
    const char *payload = reinterpret_cast<const char *>(block) + 512;
    EXPECT_EQ(std::string(payload, 15), "0123456789abcde");
    EXPECT_EQ(block->alarmType, 1u);
    EXPECT_STREQ(block->sender, "cam7");
    EXPECT_EQ(block->eventTime, 1234567);
    EXPECT_EQ(0, std::memcmp(block->userHeader, h.userHeader, sizeof h.userHeader))
        << "application bytes kept";
    // The caller learns which parts were left out.
    EXPECT_EQ(lengths[0], 0);
    EXPECT_EQ(lengths[2], 0);
    EXPECT_EQ(kinds[0], 0);
    EXPECT_EQ(kinds[2], 0);
    EXPECT_EQ(lengths[1], 10);
    EXPECT_EQ(kinds[3], SARVIK_ALARM_PART_ALG);
    AlarmData_Free(&block);
    EXPECT_EQ(block, nullptr);
}

TEST(AlarmDataCreate, RefusesWhatCannotMakeAValidBlock) {
    AlarmDataHeader h = header(0, "x");
    static const char byte = 'b';
    const void *parts[4] = {&byte, &byte, &byte, &byte};
    int lengths[4] = {INT_MAX, INT_MAX, 1, 1};
    unsigned char kinds[4] = {1, 1, 1, 1};
    EXPECT_EQ(AlarmData_Create(&h, parts, lengths, kinds), nullptr) << "over 16 MiB";
    EXPECT_EQ(lengths[0], INT_MAX) << "arrays untouched on failure";
    int one[4] = {1, 0, 0, 0};
    const void *missing[4] = {nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(AlarmData_Create(&h, missing, one, kinds), nullptr) << "a part with bytes but no pointer";
    EXPECT_EQ(AlarmData_Create(nullptr, parts, one, kinds), nullptr);
    int none[4] = {0, 0, 0, 0};
    AlarmDataHeader *bare = AlarmData_Create(&h, nullptr, none, kinds);
    ASSERT_NE(bare, nullptr) << "a block without parts is a header alone";
    EXPECT_EQ(bare->totalSize, 512u);
    AlarmData_Free(&bare);
}

TEST(AlarmDataSave, NamesFollowTypeSenderAndLocalEventTime) {
    TempDir dir;
    Bytes b = with_time(make_block(1, "cam7", {{SARVIK_ALARM_PART_JPG, "JPEG"}}), local_ticks_2024());
    char name[128];
    ASSERT_EQ(AlarmData_Save(as_block(b), dir.path().c_str(), 1, name, sizeof name), 1);
    const std::string base = dir.path() + "/SmokeFirePerson_cam7_20240501_123456";
    EXPECT_EQ(std::string(name), base);
    EXPECT_EQ(read_file(base + ".jpg"), "JPEG");

    Bytes other = with_time(make_block(7, "cam8", {}), local_ticks_2024());
    ASSERT_EQ(AlarmData_Save(as_block(other), dir.path().c_str(), 0, name, sizeof name), 1);
    EXPECT_EQ(std::string(name), dir.path() + "/unknown_cam8_20240501_123456");
    EXPECT_EQ(read_file(std::string(name) + ".alarm"), std::string(other.begin(), other.end()));
    EXPECT_EQ(AlarmData_Save(as_block(other), dir.path().c_str(), 1, name, sizeof name), 0)
        << "no parts, no files";
}

TEST(AlarmDataSave, NoPartIsLostOrOverwritten) {
    TempDir dir;
    char name[256];
    // Two parts of one kind would otherwise share a file name.
    Bytes twins = with_time(make_block(0, "twins",
                                       {{SARVIK_ALARM_PART_JPG, "first"},
                                        {SARVIK_ALARM_PART_TXT, "t"},
                                        {SARVIK_ALARM_PART_JPG, "second"}}),
                            local_ticks_2024());
    ASSERT_EQ(AlarmData_Save(as_block(twins), dir.path().c_str(), 1, name, sizeof name), 3);
    EXPECT_EQ(read_file(std::string(name) + ".jpg"), "first");
    EXPECT_EQ(read_file(std::string(name) + ".txt"), "t");
    EXPECT_EQ(read_file(std::string(name) + "_3.jpg"), "second");

    // A hand-made block with an empty entry between two parts: the part after it is stored too.
    Bytes gap = make_block(0, "gap", {{SARVIK_ALARM_PART_TXT, "abc"}, {SARVIK_ALARM_PART_ALG, "defg"}});
    AlarmDataHeader *g = reinterpret_cast<AlarmDataHeader *>(gap.data());
    g->partLength[2] = g->partLength[1];
    g->partKind[2] = g->partKind[1];
    g->partLength[1] = 0;
    g->partKind[1] = 0;
    ASSERT_EQ(AlarmData_Save(g, dir.path().c_str(), 1, name, sizeof name), 2);
    EXPECT_EQ(read_file(std::string(name) + ".txt"), "abc");
    EXPECT_EQ(read_file(std::string(name) + ".alg"), "defg");
}

TEST(AlarmDataSave, SenderCannotLeaveTheDirectory) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.file("in").c_str(), 0755), 0);
    Bytes b = with_time(make_block(1, "../../escape", {{SARVIK_ALARM_PART_TXT, "t"}}), local_ticks_2024());
    char name[256];
    ASSERT_EQ(AlarmData_Save(as_block(b), dir.file("in").c_str(), 1, name, sizeof name), 1);
    EXPECT_EQ(std::string(name), dir.file("in") + "/SmokeFirePerson_.._.._escape_20240501_123456");
    EXPECT_TRUE(exists(std::string(name) + ".txt"));

    // A sender filling its whole field without a terminator is cut at the field's end.
    Bytes full = with_time(make_block(0, "", {}), local_ticks_2024());
    std::memset(full.data() + offsetof(AlarmDataHeader, sender), 's', sizeof(AlarmDataHeader::sender));
    ASSERT_EQ(AlarmData_Save(as_block(full), dir.path().c_str(), 0, name, sizeof name), 1);
    EXPECT_EQ(std::string(name), dir.path() + "/None_" + std::string(72, 's') + "_20240501_123456");
}

TEST(AlarmDataSave, RefusalsAndFailures) {
    TempDir dir;
    Bytes b = make_block(1, "cam7", {{SARVIK_ALARM_PART_TXT, "t"}});
    char name[128];
    EXPECT_EQ(AlarmData_Save(as_block(b), dir.path().c_str(), 1, name, 127), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(AlarmData_Save(as_block(b), dir.path().c_str(), 1, nullptr, 128), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(AlarmData_Save(as_block(b), "", 1, name, sizeof name), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(AlarmData_Save(nullptr, dir.path().c_str(), 1, name, sizeof name), SARVIK_ERR_MALFORMED);
    Bytes bad = b;
    reinterpret_cast<AlarmDataHeader *>(bad.data())->totalSize += 1;
    EXPECT_EQ(AlarmData_Save(as_block(bad), dir.path().c_str(), 1, name, 8), SARVIK_ERR_MALFORMED)
        << "the block is judged first";
    // Nothing written is an error, not "0 files".
    const std::string missing = dir.file("no/such/dir");
    EXPECT_EQ(AlarmData_Save(as_block(b), missing.c_str(), 1, name, sizeof name), SARVIK_ERR_FILE_OPEN);
    EXPECT_EQ(AlarmData_Save(as_block(b), missing.c_str(), 0, name, sizeof name), SARVIK_ERR_FILE_OPEN);

    // A name that does not fit is cut to the buffer and still terminated.
    const std::string longDir = dir.path() + "/" + std::string(150, 'd');
    ASSERT_EQ(mkdir(longDir.c_str(), 0755), 0);
    std::memset(name, 'x', sizeof name);
    ASSERT_EQ(AlarmData_Save(as_block(b), longDir.c_str(), 0, name, sizeof name), 1);
    EXPECT_EQ(std::strlen(name), sizeof name - 1);
}

TEST(AlarmDataType, NamesOfAlarmTypes) {
    EXPECT_STREQ(AlarmDataType_num2str(0), "None");
    EXPECT_STREQ(AlarmDataType_num2str(1), "SmokeFirePerson");
    EXPECT_STREQ(AlarmDataType_num2str(2), "unknown");
    EXPECT_STREQ(AlarmDataType_num2str(0xFFFFFFFFu), "unknown");
}
