#include "frame_file_format.h"

#include <cstring>

namespace sarvik {

namespace {

const uint8_t kZeros[SARVIK_TEMP_TAIL_BLOCK] = {};

int check_pixels(int64_t n) {
    return n < SARVIK_PLAYBACK_MIN_PIXELS || n > SARVIK_PLAYBACK_MAX_PIXELS ? SARVIK_ERR_REFUSED : 0;
}

int write_zeros(FILE *f, int64_t length) {
    while (length > 0) {
        const size_t step =
            length > static_cast<int64_t>(sizeof kZeros) ? sizeof kZeros : static_cast<size_t>(length);
        if (frame_file_write(f, kZeros, step) != 0) return SARVIK_ERR_FILE_WRITE;
        length -= static_cast<int64_t>(step);
    }
    return 0;
}

}  // namespace

int frame_file_read_exact(const FrameFileSource &src, int64_t offset, void *buf, size_t length) {
    if (offset < 0 || offset > src.size || static_cast<int64_t>(length) > src.size - offset)
        return SARVIK_ERR_FILE_READ;
    auto *p = static_cast<uint8_t *>(buf);
    size_t done = 0;
    while (done < length) {
        const int64_t r = src.readAt(src.ctx, offset + static_cast<int64_t>(done), p + done, length - done);
        if (r <= 0) return SARVIK_ERR_FILE_READ;
        done += static_cast<size_t>(r);
    }
    return 0;
}

namespace {

// A stream without a whole frame is not a stream file (-194); a single-frame bitmap file whose frame is
// cut short is a file that reads short (-198).
int parse_prefix(const FrameFileSource &src, FrameFileLayout *out, int noWholeFrame) {
    std::memset(out, 0, sizeof *out);
    int rc = frame_file_read_exact(src, 0, &out->bmp, sizeof out->bmp);
    if (rc) return rc;
    const int64_t w = out->bmp.width;
    const int64_t h = -static_cast<int64_t>(out->bmp.height);
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535) return SARVIK_ERR_BAD_FORMAT;
    const int64_t n = w * h;
    rc = frame_file_read_exact(src, stream_info_offset(n), &out->info, sizeof out->info);
    if (rc) return rc;
    if (out->info.width != w || out->info.height != h) return SARVIK_ERR_BAD_FORMAT;
    rc = check_pixels(n);
    if (rc) return rc;
    const int64_t count = (src.size - stream_prefix_size(n)) / stream_frame_size(n);
    if (src.size < stream_prefix_size(n) || count < 1) return noWholeFrame;
    out->width = static_cast<int>(w);
    out->height = static_cast<int>(h);
    out->pixels = n;
    out->frameCount = count;
    out->imageLength = bmp_cover_size(n);
    return 0;
}

}  // namespace

int frame_file_parse_stream(const FrameFileSource &src, FrameFileLayout *out) {
    return parse_prefix(src, out, SARVIK_ERR_BAD_FORMAT);
}

int frame_file_parse_bitmap(const FrameFileSource &src, FrameFileLayout *out) {
    return parse_prefix(src, out, SARVIK_ERR_FILE_READ);
}

int frame_file_parse_snapshot(const FrameFileSource &src, FrameFileLayout *out) {
    std::memset(out, 0, sizeof *out);
    uint8_t end[32];
    int rc = frame_file_read_exact(src, src.size - kTailEndSize, end, sizeof end);
    if (rc) return rc;
    uint16_t w16, h16;
    std::memcpy(&w16, end, 2);
    std::memcpy(&h16, end + 2, 2);
    if (w16 == 0 || h16 == 0) return SARVIK_ERR_BAD_FORMAT;
    const int64_t n = static_cast<int64_t>(w16) * h16;
    const int64_t image = src.size - temp_tail_size(n);
    if (image < 0) return SARVIK_ERR_BAD_FORMAT;
    rc = frame_file_read_exact(src, image + 8, &out->info, sizeof out->info);
    if (rc) return rc;
    if (out->info.width != w16 || out->info.height != h16) return SARVIK_ERR_BAD_FORMAT;
    rc = check_pixels(n);
    if (rc) return rc;
    // The image area holds no more than this; a longer image part would not fit.
    if (image > SARVIK_PLAYBACK_MAX_IMAGE) return SARVIK_ERR_BAD_FORMAT;
    out->width = w16;
    out->height = h16;
    out->pixels = n;
    out->frameCount = 1;
    out->imageLength = image;
    return 0;
}

int frame_file_check_header(const _DataFrameHeader *h, const FrameFileLayout &layout) {
    return h->width == layout.width && h->height == layout.height ? 0 : SARVIK_ERR_BAD_FORMAT;
}

int frame_file_write(FILE *f, const void *data, size_t length) {
    if (length == 0) return 0;
    return std::fwrite(data, 1, length, f) == length ? 0 : SARVIK_ERR_FILE_WRITE;
}

void bmp_header_fill(FrameFileBmpHeader *bmp, int width, int height) {
    std::memset(bmp, 0, sizeof *bmp);
    const uint32_t n = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
    bmp->magic[0] = 'B';
    bmp->magic[1] = 'M';
    bmp->fileSize = 4 * n + 64;
    bmp->pixelOffset = 64;
    bmp->infoSize = 40;
    bmp->width = width;
    bmp->height = -height;
    bmp->planes = 1;
    bmp->bitsPerPixel = 32;
    bmp->compression = 0;
    bmp->imageSize = 4 * n;
}

int stream_write_prefix(FILE *f, const FrameFileInfo *info, const uint32_t *cover) {
    const int64_t n = static_cast<int64_t>(info->width) * info->height;
    FrameFileBmpHeader bmp;
    bmp_header_fill(&bmp, info->width, info->height);
    int rc = frame_file_write(f, &bmp, sizeof bmp);
    if (!rc) rc = cover ? frame_file_write(f, cover, static_cast<size_t>(4 * n)) : write_zeros(f, 4 * n);
    if (!rc) rc = write_zeros(f, SARVIK_STREAM_ZERO_GAP);
    if (!rc) rc = frame_file_write(f, info, sizeof *info);
    return rc;
}

int stream_write_cover(FILE *f, const uint32_t *cover, int64_t pixels) {
    if (std::fseek(f, kBmpHeaderSize, SEEK_SET) != 0) return SARVIK_ERR_FILE_WRITE;
    int rc = frame_file_write(f, cover, static_cast<size_t>(4 * pixels));
    if (std::fseek(f, 0, SEEK_END) != 0 && !rc) rc = SARVIK_ERR_FILE_WRITE;
    return rc;
}

int stream_append_frame(FILE *f, const _DataFrameHeader *header, const int16_t *samples) {
    const size_t n = static_cast<size_t>(header->width) * header->height;
    int rc = frame_file_write(f, header, sizeof *header);
    if (!rc) rc = frame_file_write(f, samples, 2 * n);
    return rc;
}

void temp_tail_head_fill(TempTailHead *head, const FrameFileInfo *info, const _DataFrameHeader *header,
                         int64_t pixels) {
    head->length = static_cast<int32_t>(temp_tail_size(pixels) - 12);
    std::memcpy(head->magic, kTailMagic, 4);
    head->info = *info;
    std::memset(head->block, 0, sizeof head->block);
    head->header = *header;
}

void temp_tail_end_fill(TempTailEnd *end, int width, int height) {
    std::memset(end, 0, sizeof *end);
    end->width = static_cast<uint16_t>(width);
    end->height = static_cast<uint16_t>(height);
    end->mark = SARVIK_TEMP_TAIL_MARK;
}

int temp_tail_write(FILE *f, const FrameFileInfo *info, const _DataFrameHeader *header,
                    const int16_t *samples) {
    const int64_t n = static_cast<int64_t>(info->width) * info->height;
    const int32_t length = static_cast<int32_t>(temp_tail_size(n) - 12);
    TempTailEnd end;
    temp_tail_end_fill(&end, info->width, info->height);
    int rc = frame_file_write(f, &length, 4);
    if (!rc) rc = frame_file_write(f, kTailMagic, 4);
    if (!rc) rc = frame_file_write(f, info, sizeof *info);
    if (!rc) rc = write_zeros(f, SARVIK_TEMP_TAIL_BLOCK);
    if (!rc) rc = frame_file_write(f, header, sizeof *header);
    if (!rc) rc = frame_file_write(f, samples, static_cast<size_t>(2 * n));
    if (!rc) rc = frame_file_write(f, &end, sizeof end);
    return rc;
}

}  // namespace sarvik
