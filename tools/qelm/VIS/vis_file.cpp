#include "vis_file.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

namespace {

int64_t file_read(void *ctx, int64_t offset, void *buf, size_t length) {
    FILE *f = static_cast<FILE *>(ctx);
    if (offset < 0 || fseeko(f, offset, SEEK_SET) != 0) return -1;
    return static_cast<int64_t>(fread(buf, 1, length, f));
}

bool read_exact(const VisSource &src, int64_t offset, void *buf, size_t length, int *error) {
    const int64_t n = src.read(src.ctx, offset, buf, length);
    if (n < 0) {
        *error = VIS_E_SEEK;
        return false;
    }
    if (static_cast<size_t>(n) != length) {
        *error = VIS_E_READ;
        return false;
    }
    return true;
}

}  // namespace

VisSource vis_file_source(FILE *f) {
    VisSource s{-1, f, file_read};
    struct stat st;
    if (f && fstat(fileno(f), &st) == 0) s.size = st.st_size;
    return s;
}

int vis_parse_header(const VisSource &src, VisFileInfo *info) {
    VisFileHeader h;
    if (src.size < static_cast<int64_t>(sizeof h)) return VIS_E_READ;
    int error = VIS_OK;
    if (!read_exact(src, 0, &h, sizeof h, &error)) return error == VIS_E_SEEK ? VIS_E_READ : error;
    if (h.width == 0 || h.height == 0 || h.pixelFormat != kVisPixelMono8) return VIS_E_FORMAT;
    const int64_t record =
        static_cast<int64_t>(h.width) * h.height + static_cast<int64_t>(sizeof(VisFrameHeader));
    const int64_t count = (src.size - static_cast<int64_t>(sizeof h)) / record;
    if (count < 1) return VIS_E_FORMAT;
    info->width = h.width;
    info->height = h.height;
    info->pixelFormat = h.pixelFormat;
    info->recordSize = record;
    info->frameCount = count;
    return VIS_OK;
}

int vis_read_frame(const VisSource &src, const VisFileInfo &info, int64_t index, VisFrameHeader *header,
                   uint8_t *gray) {
    if (index < 0 || index >= info.frameCount) return VIS_E_SEEK;
    const int64_t at = static_cast<int64_t>(sizeof(VisFileHeader)) + index * info.recordSize;
    VisFrameHeader h;
    int error = VIS_OK;
    if (!read_exact(src, at, &h, sizeof h, &error)) return error;
    if (h.width != info.width || h.height != info.height || h.pixelFormat != info.pixelFormat)
        return VIS_E_FORMAT;
    const size_t pixels = static_cast<size_t>(info.width) * info.height;
    std::vector<uint8_t> data;
    try {
        data.resize(pixels);
    } catch (...) {
        return VIS_E_NOMEM;
    }
    if (!read_exact(src, at + static_cast<int64_t>(sizeof h), data.data(), pixels, &error)) return error;
    *header = h;
    std::memcpy(gray, data.data(), pixels);
    return VIS_OK;
}
