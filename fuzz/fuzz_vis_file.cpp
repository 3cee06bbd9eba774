// Raw visible-camera recordings come from disk: the replay's reader must refuse or describe any bytes, and
// every frame it reports must lie inside the file.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vis_file.h"

namespace {

struct Mem {
    const uint8_t *data;
    size_t size;
};

int64_t mem_read(void *ctx, int64_t offset, void *buf, size_t length) {
    const Mem *m = static_cast<const Mem *>(ctx);
    if (offset < 0 || static_cast<uint64_t>(offset) > m->size) return -1;
    const size_t n =
        length < m->size - static_cast<size_t>(offset) ? length : m->size - static_cast<size_t>(offset);
    std::memcpy(buf, m->data + offset, n);
    return static_cast<int64_t>(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Mem m{data, size};
    const VisSource src{static_cast<int64_t>(size), &m, mem_read};
    VisFileInfo info{};
    if (vis_parse_header(src, &info) != VIS_OK) return 0;
    if (info.width == 0 || info.height == 0 || info.frameCount < 1) std::abort();
    if (info.recordSize != static_cast<int64_t>(info.width) * info.height + 128) std::abort();
    if (1024 + info.frameCount * info.recordSize > static_cast<int64_t>(size)) std::abort();
    std::vector<uint8_t> gray(static_cast<size_t>(info.width) * info.height);
    for (int64_t i : {int64_t{0}, int64_t{1}, info.frameCount / 2, info.frameCount - 1, info.frameCount}) {
        VisFrameHeader h{};
        const int r = vis_read_frame(src, info, i, &h, gray.data());
        if (r == VIS_OK && (i >= info.frameCount || h.width != info.width || h.height != info.height))
            std::abort();
    }
    return 0;
}
