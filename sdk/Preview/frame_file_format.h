// The three temperature file formats: layout constants, the parsers playback uses to find a file's geometry
// before reading anything large, and the writers the recorder and playback share.
// Parsers read through a FrameFileSource so that the same code serves files (pread) and memory (tests, fuzz).
// Nothing here allocates or logs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int64_t kBmpHeaderSize = sizeof(FrameFileBmpHeader);  // 64
constexpr int64_t kInfoSize = sizeof(FrameFileInfo);            // 128
constexpr int64_t kFrameHeadSize = sizeof(_DataFrameHeader);    // 128
constexpr int64_t kTailHeadSize = sizeof(TempTailHead);         // 16648
constexpr int64_t kTailEndSize = sizeof(TempTailEnd);           // 36
constexpr char kTailMagic[4] = {'t', 'e', 'M', 'p'};

// 4N + 64: bitmap header and cover.
inline int64_t bmp_cover_size(int64_t n) {
    return 4 * n + kBmpHeaderSize;
}
// 4N + 1088: where the information record of a stream or bitmap file starts.
inline int64_t stream_info_offset(int64_t n) {
    return 4 * n + kBmpHeaderSize + SARVIK_STREAM_ZERO_GAP;
}
// 4N + 1216: the stream prefix, and where frame 0 starts.
inline int64_t stream_prefix_size(int64_t n) {
    return stream_info_offset(n) + kInfoSize;
}
// 2N + 128: one recorded frame.
inline int64_t stream_frame_size(int64_t n) {
    return 2 * n + kFrameHeadSize;
}
inline int64_t stream_frame_offset(int64_t n, int64_t index) {
    return stream_prefix_size(n) + index * stream_frame_size(n);
}
// 2N + 16684: a temperature tail.
inline int64_t temp_tail_size(int64_t n) {
    return 2 * n + SARVIK_TEMP_TAIL_FIXED;
}

// Random access to a file's bytes. readAt returns the bytes read (fewer at the end), negative on error.
struct FrameFileSource {
    int64_t size;
    void *ctx;
    int64_t (*readAt)(void *ctx, int64_t offset, void *buf, size_t length);
};

// Reads exactly length bytes at offset: 0, or -198 (SARVIK_ERR_FILE_READ) for a short or failed read,
// including any range outside the file.
int frame_file_read_exact(const FrameFileSource &src, int64_t offset, void *buf, size_t length);

// Geometry of a file found by a parser; every range it names lies inside the file.
struct FrameFileLayout {
    int width;
    int height;
    int64_t pixels;          // N
    int64_t frameCount;      // whole frames of a stream or bitmap file; 1 for a snapshot
    int64_t imageLength;     // snapshot: bytes before the tail; stream/bitmap: 4N + 64
    FrameFileBmpHeader bmp;  // stream/bitmap files only
    FrameFileInfo info;      // as stored in the file
};

// Stream and single-frame bitmap files: bitmap header, information record and frame count.
// Returns 0; -198 short read; -194 (SARVIK_ERR_BAD_FORMAT) dimensions not positive or inconsistent, or not
// one whole frame; -2 N outside 4800..6000000.
int frame_file_parse_stream(const FrameFileSource &src, FrameFileLayout *out);
// Single-frame bitmap files: as above, but a frame cut short is a short read (-198).
int frame_file_parse_bitmap(const FrameFileSource &src, FrameFileLayout *out);

// Snapshot files: the tail found from the end of the file. Returns 0; -198 short read; -194 dimensions not
// positive or inconsistent, a negative image length or one longer than 24001024 bytes; -2 N outside the
// limits.
int frame_file_parse_snapshot(const FrameFileSource &src, FrameFileLayout *out);

// Checks that a frame header read from a file matches the file's geometry: 0 or -194.
int frame_file_check_header(const _DataFrameHeader *h, const FrameFileLayout &layout);

// Writers. Each returns 0 or -197 (SARVIK_ERR_FILE_WRITE) on a short write.
void bmp_header_fill(FrameFileBmpHeader *bmp, int width, int height);
// The stream prefix (4N + 1216 bytes) from the current position: bitmap header, cover (zero when cover is
// null), 1024 zero bytes and the information record, whose width and height give the geometry.
int stream_write_prefix(FILE *f, const FrameFileInfo *info, const uint32_t *cover);
// The cover of the first frame, at offset 64; the position is restored to the end of the file.
int stream_write_cover(FILE *f, const uint32_t *cover, int64_t pixels);
// One frame (header and its width x height raw samples) at the current position.
int stream_append_frame(FILE *f, const _DataFrameHeader *header, const int16_t *samples);
// Fills the fixed parts of a tail's head: length word, "teMp", information record, zero block, header.
void temp_tail_head_fill(TempTailHead *head, const FrameFileInfo *info, const _DataFrameHeader *header,
                         int64_t pixels);
void temp_tail_end_fill(TempTailEnd *end, int width, int height);
// A whole temperature tail (2N + 16684 bytes) from the current position; the geometry is the information
// record's, the header and N samples are written as given.
int temp_tail_write(FILE *f, const FrameFileInfo *info, const _DataFrameHeader *header,
                    const int16_t *samples);
// Writes length bytes: 0 or -197.
int frame_file_write(FILE *f, const void *data, size_t length);

}  // namespace sarvik
