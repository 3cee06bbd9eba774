// Frame files come from disk and from other tools: the stream/bitmap and snapshot parsers must refuse or
// describe any bytes, and what they accept must lie inside the file. The same bytes are then opened by a
// playback object as each file type and every frame it reports is read and rendered.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "SarvikSDK.h"
#include "frame_file_format.h"

namespace {

int64_t mem_read(void *ctx, int64_t offset, void *buf, size_t length) {
    const auto *in = static_cast<const std::pair<const uint8_t *, size_t> *>(ctx);
    if (offset < 0 || static_cast<size_t>(offset) >= in->second) return 0;
    const size_t n =
        length < in->second - static_cast<size_t>(offset) ? length : in->second - static_cast<size_t>(offset);
    std::memcpy(buf, in->first + offset, n);
    return static_cast<int64_t>(n);
}

void *playback() {
    static void *pb = [] {
        if (Sarvik_InitSDK() != 0) std::abort();
        return SarvikPlayback_Create();
    }();
    return pb;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::pair<const uint8_t *, size_t> in{data, size};
    const sarvik::FrameFileSource src{static_cast<int64_t>(size), &in, mem_read};
    sarvik::FrameFileLayout l;
    if (sarvik::frame_file_parse_stream(src, &l) == 0) {
        if (sarvik::stream_frame_offset(l.pixels, l.frameCount) > static_cast<int64_t>(size)) std::abort();
        if (l.pixels < SARVIK_PLAYBACK_MIN_PIXELS || l.pixels > SARVIK_PLAYBACK_MAX_PIXELS) std::abort();
    }
    if (sarvik::frame_file_parse_snapshot(src, &l) == 0) {
        if (l.imageLength < 0 || l.imageLength > SARVIK_PLAYBACK_MAX_IMAGE) std::abort();
        if (l.imageLength + sarvik::temp_tail_size(l.pixels) != static_cast<int64_t>(size)) std::abort();
    }

    void *pb = playback();
    if (!pb) return 0;
    const int fd = memfd_create("frame_file", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (size && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        return 0;
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    for (int type : {SARVIK_PLAYBACK_BITMAP, SARVIK_PLAYBACK_SNAPSHOT, SARVIK_PLAYBACK_STREAM}) {
        if (SarvikPlayback_OpenFile(pb, path, type) != 0) continue;
        FrameCover cover;
        if (SarvikPlayback_ReadCover(pb, &cover) != 0) std::abort();
        const int count = type == SARVIK_PLAYBACK_STREAM ? cover.info->frameCount : 1;
        _DataFrame frame;
        for (int i = 0; i < count && i < 4; ++i) SarvikPlayback_ReadFrame(pb, i, &frame);
        SarvikPlayback_CloseFile(pb);
    }
    close(fd);
    return 0;
}
