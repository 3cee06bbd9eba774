// Raw ".vis" recordings of the visible camera: a 1024-byte file header, then one record per frame (a 128-byte
// frame header and width x height bytes of 8-bit monochrome pixels as the camera delivered them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr uint32_t kVisPixelMono8 = 0x01080001;

#pragma pack(push, 1)
struct VisFileHeader {
    uint16_t width;
    uint16_t height;
    uint32_t pixelFormat;
    uint8_t reserved[1016];
};
struct VisFrameHeader {
    uint16_t width;
    uint16_t height;
    uint32_t pixelFormat;
    int64_t timestamp;  // 100-ns ticks since 1970-01-01 UTC
    uint8_t reserved[112];
};
#pragma pack(pop)
static_assert(sizeof(VisFileHeader) == 1024, "the file header is 1024 bytes");
static_assert(sizeof(VisFrameHeader) == 128, "a frame header is 128 bytes");
static_assert(offsetof(VisFrameHeader, timestamp) == 8, "the time stamp follows width, height and format");

// Results of the reader: the codes the replay reports.
enum {
    VIS_OK = 0,
    VIS_E_NOMEM = -5,
    VIS_E_SEEK = -193,    // the frame's position cannot be reached
    VIS_E_FORMAT = -194,  // no whole frame, a size of zero, not 8-bit monochrome, or a record of another size
    VIS_E_READ = -198,    // the header or the record is cut short
    VIS_E_OPEN = -200,    // the file cannot be opened
};

// Where a reader gets its bytes: a file or, for tests and fuzzing, memory.
struct VisSource {
    int64_t size;
    void *ctx;
    // Reads up to length bytes at offset; returns the count read, or -1 when the offset cannot be reached.
    int64_t (*read)(void *ctx, int64_t offset, void *buf, size_t length);
};

struct VisFileInfo {
    uint16_t width;
    uint16_t height;
    uint32_t pixelFormat;
    int64_t recordSize;  // width x height + 128
    int64_t frameCount;  // whole records in the file
};

// Reads and checks the file header; frameCount = (size - 1024) / (width x height + 128), at least 1.
int vis_parse_header(const VisSource &src, VisFileInfo *info);

// Reads frame index into header and gray (width x height bytes). Checks the record's own size against the
// file's. The output is untouched on failure.
int vis_read_frame(const VisSource &src, const VisFileInfo &info, int64_t index, VisFrameHeader *header,
                   uint8_t *gray);

// A file-backed source; the FILE stays the caller's.
VisSource vis_file_source(FILE *f);
