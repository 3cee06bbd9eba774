// The reader of ".vis" recordings the replay uses: header and frame records, and every way a file can be
// wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "vis_file.h"

namespace {

struct Mem {
    std::vector<uint8_t> bytes;
    VisSource source() { return {static_cast<int64_t>(bytes.size()), this, read}; }
    static int64_t read(void *ctx, int64_t offset, void *buf, size_t length) {
        const Mem *m = static_cast<const Mem *>(ctx);
        if (offset < 0 || offset > static_cast<int64_t>(m->bytes.size())) return -1;
        const size_t n = std::min(length, m->bytes.size() - static_cast<size_t>(offset));
        std::memcpy(buf, m->bytes.data() + offset, n);
        return static_cast<int64_t>(n);
    }
};

// A file of frames w x h whose frame i has pixels i + x and time stamp 1000 + i.
Mem make_file(uint16_t w, uint16_t h, int frames, uint32_t format = kVisPixelMono8) {
    Mem m;
    VisFileHeader fh{};
    fh.width = w;
    fh.height = h;
    fh.pixelFormat = format;
    m.bytes.resize(sizeof fh);
    std::memcpy(m.bytes.data(), &fh, sizeof fh);
    for (int i = 0; i < frames; ++i) {
        VisFrameHeader rh{};
        rh.width = w;
        rh.height = h;
        rh.pixelFormat = format;
        rh.timestamp = 1000 + i;
        const size_t at = m.bytes.size();
        m.bytes.resize(at + sizeof rh + static_cast<size_t>(w) * h);
        std::memcpy(m.bytes.data() + at, &rh, sizeof rh);
        for (size_t p = 0; p < static_cast<size_t>(w) * h; ++p)
            m.bytes[at + sizeof rh + p] = static_cast<uint8_t>(i + p % w);
    }
    return m;
}

}  // namespace

TEST(VisFile, ReadsEveryFrameWithItsTimeAndPixels) {
    Mem m = make_file(32, 4, 5);
    m.bytes.resize(m.bytes.size() + 100);  // a record cut short at the end does not count
    VisFileInfo info{};
    ASSERT_EQ(vis_parse_header(m.source(), &info), VIS_OK);
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 4);
    EXPECT_EQ(info.recordSize, 32 * 4 + 128);
    EXPECT_EQ(info.frameCount, 5);
    std::vector<uint8_t> gray(32 * 4);
    for (int i = 0; i < 5; ++i) {
        VisFrameHeader h{};
        ASSERT_EQ(vis_read_frame(m.source(), info, i, &h, gray.data()), VIS_OK);
        EXPECT_EQ(h.timestamp, 1000 + i);
        EXPECT_EQ(gray[0], i);
        EXPECT_EQ(gray[31], i + 31);
    }
}

TEST(VisFile, RefusesFilesItCannotShow) {
    struct Case {
        const char *name;
        Mem file;
        int want;
    };
    Mem shortHeader = make_file(8, 8, 1);
    shortHeader.bytes.resize(1000);
    Mem noFrame = make_file(8, 8, 1);
    noFrame.bytes.resize(1024 + 8 * 8 + 127);
    const Case cases[] = {
        {"header cut short", shortHeader, VIS_E_READ},
        {"zero width", make_file(0, 8, 2), VIS_E_FORMAT},
        {"zero height", make_file(8, 0, 2), VIS_E_FORMAT},
        {"colour frames", make_file(8, 8, 2, 0x02180014), VIS_E_FORMAT},
        {"less than one record", noFrame, VIS_E_FORMAT},
        {"empty", Mem{}, VIS_E_READ},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Mem m = c.file;
        VisFileInfo info{};
        EXPECT_EQ(vis_parse_header(m.source(), &info), c.want);
    }
}

TEST(VisFile, FrameReadsFailWithoutTouchingTheOutput) {
    Mem m = make_file(16, 2, 3);
    VisFileInfo info{};
    ASSERT_EQ(vis_parse_header(m.source(), &info), VIS_OK);
    // The second record claims another size.
    VisFrameHeader other{};
    other.width = 17;
    other.height = 2;
    other.pixelFormat = kVisPixelMono8;
    std::memcpy(m.bytes.data() + 1024 + info.recordSize, &other, sizeof other);
    struct Case {
        const char *name;
        int64_t index;
        int want;
    };
    const Case cases[] = {
        {"before the first", -1, VIS_E_SEEK},
        {"past the last", 3, VIS_E_SEEK},
        {"record of another size", 1, VIS_E_FORMAT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> gray(32, 0xEE);
        VisFrameHeader h{};
        h.timestamp = -5;
        EXPECT_EQ(vis_read_frame(m.source(), info, c.index, &h, gray.data()), c.want);
        EXPECT_EQ(gray[0], 0xEE);
        EXPECT_EQ(h.timestamp, -5);
    }
    // The file shrinks after it was opened: the last record reads short.
    m.bytes.resize(m.bytes.size() - 10);
    std::vector<uint8_t> gray(32);
    VisFrameHeader h{};
    EXPECT_EQ(vis_read_frame(m.source(), info, 2, &h, gray.data()), VIS_E_READ);
}
