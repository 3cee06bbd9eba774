// The file formats byte by byte: what the writers produce and what the parsers accept, over memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "frame_file_format.h"
#include "playback_test_util.h"
#include "temp_dir.h"

using namespace pbtest;
using sarvik::FrameFileLayout;
using sarvik::FrameFileSource;

namespace {

int64_t mem_read(void *ctx, int64_t offset, void *buf, size_t length) {
    const auto *s = static_cast<const std::string *>(ctx);
    if (offset >= static_cast<int64_t>(s->size())) return 0;
    const size_t n = std::min(length, s->size() - static_cast<size_t>(offset));
    std::memcpy(buf, s->data() + offset, n);
    return static_cast<int64_t>(n);
}

FrameFileSource source(const std::string &bytes) {
    return FrameFileSource{static_cast<int64_t>(bytes.size()), const_cast<std::string *>(&bytes), mem_read};
}

}  // namespace

TEST(FrameFileFormat, StreamOfTenFramesAt384x288HasTheDocumentedSizeAndBitmapHeader) {
    testsupport::TempDir dir;
    const std::string path = dir.file("ten.stream");
    write_stream(path, 384, 288, 10);
    const std::string b = read_all(path);
    ASSERT_EQ(b.size(), 2656704u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    const uint32_t n = 384 * 288;
    EXPECT_EQ(at<uint32_t>(b, 2), 4 * n + 64);
    EXPECT_EQ(at<uint16_t>(b, 6), 0);
    EXPECT_EQ(at<uint16_t>(b, 8), 0);
    EXPECT_EQ(at<uint32_t>(b, 10), 64u);
    EXPECT_EQ(at<uint32_t>(b, 14), 40u);
    EXPECT_EQ(at<int32_t>(b, 18), 384);
    EXPECT_EQ(at<int32_t>(b, 22), -288);
    EXPECT_EQ(at<uint16_t>(b, 26), 1);
    EXPECT_EQ(at<uint16_t>(b, 28), 32);
    EXPECT_EQ(at<uint32_t>(b, 30), 0u);
    EXPECT_EQ(at<uint32_t>(b, 34), 4 * n);
    EXPECT_EQ(b.substr(38, 26), std::string(26, '\0'));
    EXPECT_EQ(b.substr(4 * n + 64, 1024), std::string(1024, '\0'));
    const size_t info = 4 * n + 1088;
    EXPECT_EQ(b.substr(info, 9), "R384-TEST");
    EXPECT_EQ(at<uint16_t>(b, info + 40), 384);
    EXPECT_EQ(at<uint16_t>(b, info + 42), 288);
    EXPECT_EQ(at<int32_t>(b, info + 120), 0);
    EXPECT_EQ(static_cast<uint8_t>(b[info + 124]), 5);
    EXPECT_EQ(at<int16_t>(b, info + 126), 1);
    // Frame 3: header then raw samples.
    const size_t f3 = 4 * n + 1216 + 3 * (2 * n + 128);
    EXPECT_EQ(at<uint16_t>(b, f3), 384);
    EXPECT_EQ(at<int64_t>(b, f3 + 32), 1003);
    EXPECT_EQ(at<int16_t>(b, f3 + 128 + 2 * (5 * 384 + 7)), sample_at(3, 7, 5));

    FrameFileLayout l;
    ASSERT_EQ(sarvik::frame_file_parse_stream(source(b), &l), 0);
    EXPECT_EQ(l.width, 384);
    EXPECT_EQ(l.height, 288);
    EXPECT_EQ(l.frameCount, 10);
    EXPECT_EQ(l.imageLength, 4 * 384 * 288 + 64);
}

TEST(FrameFileFormat, CoverIsWrittenAtSixtyFourAndTheFileEndIsKept) {
    testsupport::TempDir dir;
    const std::string path = dir.file("c.stream");
    write_stream(path, 80, 60, 2);
    std::vector<uint32_t> cover(80 * 60);
    for (size_t i = 0; i < cover.size(); ++i) cover[i] = 0xff000000u | static_cast<uint32_t>(i);
    FILE *f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fseek(f, 0, SEEK_END), 0);
    ASSERT_EQ(sarvik::stream_write_cover(f, cover.data(), 80 * 60), 0);
    const _DataFrameHeader hd = make_header(80, 60, 2);
    const auto s = make_samples(80, 60, 2);
    ASSERT_EQ(sarvik::stream_append_frame(f, &hd, s.data()), 0);
    ASSERT_EQ(std::fclose(f), 0);
    const std::string b = read_all(path);
    EXPECT_EQ(b.size(), static_cast<size_t>(sarvik::stream_frame_offset(4800, 3)));
    EXPECT_EQ(std::memcmp(b.data() + 64, cover.data(), 4 * 4800), 0);
    EXPECT_EQ(at<int64_t>(b, sarvik::stream_frame_offset(4800, 2) + 32), 1002);
}

TEST(FrameFileFormat, SnapshotEndsWithTheTemperatureTail) {
    testsupport::TempDir dir;
    const std::string path = dir.file("s.jpg");
    const std::string jpeg = "\xff\xd8 not really a jpeg \xff\xd9";
    write_snapshot(path, 80, 60, jpeg);
    const std::string b = read_all(path);
    const size_t n = 4800;
    ASSERT_EQ(b.size(), jpeg.size() + 2 * n + 16684);
    const size_t tail = jpeg.size();
    EXPECT_EQ(b.substr(0, tail), jpeg);
    EXPECT_EQ(at<int32_t>(b, tail), static_cast<int32_t>(2 * n + 16672));
    EXPECT_EQ(b.substr(tail + 4, 4), "teMp");
    EXPECT_EQ(at<uint16_t>(b, tail + 8 + 40), 80);
    EXPECT_EQ(b.substr(tail + 136, 16384), std::string(16384, '\0'));
    EXPECT_EQ(at<uint16_t>(b, tail + 16520), 80);
    EXPECT_EQ(at<int16_t>(b, tail + 16648 + 2 * 81), sample_at(0, 1, 1));
    EXPECT_EQ(at<uint16_t>(b, b.size() - 36), 80);
    EXPECT_EQ(at<uint16_t>(b, b.size() - 34), 60);
    EXPECT_EQ(at<uint32_t>(b, b.size() - 32), 20160901u);
    EXPECT_EQ(b.substr(b.size() - 28), std::string(28, '\0'));

    FrameFileLayout l;
    ASSERT_EQ(sarvik::frame_file_parse_snapshot(source(b), &l), 0);
    EXPECT_EQ(l.imageLength, static_cast<int64_t>(jpeg.size()));
    EXPECT_EQ(l.width, 80);
    EXPECT_EQ(l.height, 60);
}

TEST(FrameFileFormat, ParsersRefuseInconsistentAndShortInput) {
    testsupport::TempDir dir;
    write_stream(dir.file("a"), 80, 60, 1);
    const std::string good = read_all(dir.file("a"));
    FrameFileLayout l;
    // Bottom-up bitmap: height positive.
    std::string b = good;
    const int32_t up = 60;
    std::memcpy(&b[22], &up, 4);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(b), &l), SARVIK_ERR_BAD_FORMAT);
    // Record disagrees with the bitmap.
    b = good;
    b[4 * 4800 + 1088 + 40] = 81;
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(b), &l), SARVIK_ERR_BAD_FORMAT);
    // No whole frame.
    b = good.substr(0, good.size() - 1);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(b), &l), SARVIK_ERR_BAD_FORMAT);
    // Cut inside the record.
    b = good.substr(0, 4 * 4800 + 1100);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(b), &l), SARVIK_ERR_FILE_READ);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(std::string()), &l), SARVIK_ERR_FILE_READ);
    // A width past the bitmap's record position: nothing is read there.
    b = good;
    const int32_t wide = 0x7fffffff;
    std::memcpy(&b[18], &wide, 4);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(b), &l), SARVIK_ERR_BAD_FORMAT);

    write_snapshot(dir.file("s"), 80, 60, "");
    const std::string snap = read_all(dir.file("s"));
    ASSERT_EQ(sarvik::frame_file_parse_snapshot(source(snap), &l), 0);
    EXPECT_EQ(l.imageLength, 0);
    // Longer width at the end than the file holds: negative image length.
    b = snap;
    b[b.size() - 35] = 0x7f;
    EXPECT_EQ(sarvik::frame_file_parse_snapshot(source(b), &l), SARVIK_ERR_BAD_FORMAT);
    b = snap;
    b[b.size() - 36] = 0;
    b[b.size() - 35] = 0;
    EXPECT_EQ(sarvik::frame_file_parse_snapshot(source(b), &l), SARVIK_ERR_BAD_FORMAT);
    b = snap.substr(1);
    EXPECT_NE(sarvik::frame_file_parse_snapshot(source(b), &l), 0);
    EXPECT_EQ(sarvik::frame_file_parse_snapshot(source(snap.substr(0, 20)), &l), SARVIK_ERR_FILE_READ);
}

TEST(FrameFileFormat, FrameSizeLimitsAreFourThousandEightHundredToSixMillionSamples) {
    testsupport::TempDir dir;
    FrameFileLayout l;
    write_stream(dir.file("a"), 80, 60, 1);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(read_all(dir.file("a"))), &l), 0);
    write_stream(dir.file("b"), 80, 40, 1);
    EXPECT_EQ(sarvik::frame_file_parse_stream(source(read_all(dir.file("b"))), &l), SARVIK_ERR_REFUSED);
    write_snapshot(dir.file("c"), 80, 59, "x");
    EXPECT_EQ(sarvik::frame_file_parse_snapshot(source(read_all(dir.file("c"))), &l), SARVIK_ERR_REFUSED);
}
