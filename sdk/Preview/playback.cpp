// Playback of stream files, snapshot files and single-frame bitmap files: one object per caller, one thread,
// no lock. The object owns one buffer (image area, temperature tail, four frame slots) that grows only when
// a larger frame arrives, so replaying costs one seek and one read per stream frame and no allocation.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "../Alg/frame_filters.h"
#include "../Alg/stretch_context.h"
#include "../Common/sdk_global.h"
#include "SarvikSDK.h"
#include "frame_file_format.h"

namespace sarvik {
namespace {

constexpr uint32_t kSingleLoaded = 1u << 0;
constexpr uint32_t kStreamOpen = 1u << 1;
constexpr uint32_t kDestripPending = 1u << 16;
constexpr uint32_t kDenoisePending = 1u << 17;
constexpr int kPlaybackSlots = 4;
constexpr size_t kAlign = 64;

inline size_t round_up(size_t v) {
    return (v + kAlign - 1) & ~(kAlign - 1);
}

struct Slot {
    uint8_t *head;  // header and samples back to back: one read fills both
    uint32_t *image;
    uint8_t *extra;
};

int64_t fd_read_at(void *ctx, int64_t offset, void *buf, size_t length) {
    const int fd = *static_cast<int *>(ctx);
    for (;;) {
        const ssize_t r = ::pread(fd, buf, length, offset);
        if (r < 0 && errno == EINTR) continue;
        return r;
    }
}

}  // namespace
}  // namespace sarvik

using namespace sarvik;

struct PlaybackObject {
    uint32_t state;
    _strech_control defaults;
    StretchContext *stretch;
    int palette;
    uint32_t colors[256];  // the selected palette, copied so rendering never depends on the SDK's table
    DestripeFilter *destripe;
    DenoiseFilter *denoise;
    _DestripInfo destripConfig;
    _DenoiseInfo denoiseConfig;

    FrameFileLayout layout;    // geometry, bitmap header and information record of the loaded file
    FrameFileInfo streamInfo;  // stream copy of the record, frame count at offset 120
    int fd;
    int64_t frameCount;
    int slotIndex;

    uint8_t *buffer;
    int64_t capacity;  // N the buffer was sized for
    uint8_t *imageArea;
    uint8_t *tail;
    Slot slots[kPlaybackSlots];
};

namespace {

bool loaded(const PlaybackObject *p) {
    return (p->state & (kSingleLoaded | kStreamOpen)) != 0;
}

void close_file(PlaybackObject *p) {
    if (p->fd >= 0) ::close(p->fd);
    p->fd = -1;
    p->state &= ~(kSingleLoaded | kStreamOpen);
    p->frameCount = 0;
}

// Image area, tail and four slots for N samples; kept when it is already large enough.
int size_buffer(PlaybackObject *p, int64_t n) {
    if (n < SARVIK_PLAYBACK_MIN_PIXELS || n > SARVIK_PLAYBACK_MAX_PIXELS) return SARVIK_ERR_REFUSED;
    if (p->buffer && n <= p->capacity) return 0;
    const size_t image = round_up(SARVIK_PLAYBACK_MAX_IMAGE);
    const size_t tail = round_up(static_cast<size_t>(temp_tail_size(n)));
    const size_t headAndSamples = round_up(static_cast<size_t>(stream_frame_size(n)));
    const size_t bgra = round_up(static_cast<size_t>(4 * n));
    const size_t slot = headAndSamples + bgra + SARVIK_FRAME_EXTRA_SIZE;
    const size_t total = image + tail + kPlaybackSlots * slot;
    auto *block = static_cast<uint8_t *>(std::aligned_alloc(kAlign, total));
    if (!block) return SARVIK_ERR_NO_MEMORY;
    std::memset(block, 0, total);
    std::free(p->buffer);
    p->buffer = block;
    p->capacity = n;
    p->imageArea = block;
    p->tail = block + image;
    uint8_t *s = p->tail + tail;
    for (auto &sl : p->slots) {
        sl.head = s;
        sl.image = reinterpret_cast<uint32_t *>(s + headAndSamples);
        sl.extra = s + headAndSamples + bgra;
        s += slot;
    }
    return 0;
}

TempTailHead *tail_head(PlaybackObject *p) {
    return reinterpret_cast<TempTailHead *>(p->tail);
}

// The closing width, height and mark of the tail, and its length word and marker.
void tail_frame(PlaybackObject *p) {
    const int64_t n = p->layout.pixels;
    TempTailHead *head = tail_head(p);
    head->length = static_cast<int32_t>(temp_tail_size(n) - 12);
    std::memcpy(head->magic, kTailMagic, 4);
    TempTailEnd end;
    temp_tail_end_fill(&end, p->layout.width, p->layout.height);
    std::memcpy(p->tail + kTailHeadSize + 2 * n, &end, sizeof end);
}

int open_bitmap_or_stream(PlaybackObject *p, const char *path, bool stream) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return SARVIK_ERR_FILE_OPEN;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return SARVIK_ERR_FILE_READ;
    }
    int fdv = fd;
    FrameFileSource src{st.st_size, &fdv, fd_read_at};
    int rc = stream ? frame_file_parse_stream(src, &p->layout) : frame_file_parse_bitmap(src, &p->layout);
    if (!rc) rc = size_buffer(p, p->layout.pixels);
    const int64_t n = p->layout.pixels;
    if (!rc) rc = frame_file_read_exact(src, 0, p->imageArea, static_cast<size_t>(bmp_cover_size(n)));
    if (rc) {
        ::close(fd);
        return rc;
    }
    if (stream) {
        p->fd = fd;
        p->frameCount = p->layout.frameCount;
        p->streamInfo = p->layout.info;
        p->streamInfo.frameCount = static_cast<int32_t>(p->frameCount);
        p->slotIndex = kPlaybackSlots - 1;
        p->state |= kStreamOpen;
        return 0;
    }
    TempTailHead *head = tail_head(p);
    rc = frame_file_read_exact(src, stream_frame_offset(n, 0), &head->header,
                               static_cast<size_t>(stream_frame_size(n)));
    ::close(fd);
    if (!rc) rc = frame_file_check_header(&head->header, p->layout);
    if (rc) return rc;
    head->info = p->layout.info;
    std::memset(head->block, 0, sizeof head->block);
    tail_frame(p);
    p->layout.imageLength = bmp_cover_size(n);
    p->frameCount = 1;
    p->state |= kSingleLoaded;
    return 0;
}

int open_snapshot(PlaybackObject *p, const char *path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return SARVIK_ERR_FILE_OPEN;
    struct stat st;
    int rc = ::fstat(fd, &st) == 0 ? 0 : SARVIK_ERR_FILE_READ;
    int fdv = fd;
    FrameFileSource src{st.st_size, &fdv, fd_read_at};
    if (!rc) rc = frame_file_parse_snapshot(src, &p->layout);
    if (!rc) rc = size_buffer(p, p->layout.pixels);
    const int64_t image = p->layout.imageLength;
    if (!rc && image > 0) rc = frame_file_read_exact(src, 0, p->imageArea, static_cast<size_t>(image));
    if (!rc)
        rc =
            frame_file_read_exact(src, image, p->tail, static_cast<size_t>(temp_tail_size(p->layout.pixels)));
    ::close(fd);
    // The frame is rendered with the header's geometry: it must be the tail's.
    if (!rc) rc = frame_file_check_header(&tail_head(p)->header, p->layout);
    if (rc) return rc;
    p->frameCount = 1;
    p->state |= kSingleLoaded;
    return 0;
}

void set_smoothing(PlaybackObject *p, bool on) {
    _strech_control ctl{};
    ctl.flags = SARVIK_STRECH_SMOOTHING;
    ctl.smoothing = on ? 1 : 0;
    stretch_apply_control(p->stretch, &ctl, true);
}

int apply_pending(PlaybackObject *p) {
    int rc = 0;
    if (!loaded(p)) return rc;
    if (p->state & kDestripPending) {
        p->destripConfig.width = static_cast<uint16_t>(p->layout.width);
        p->destripConfig.height = static_cast<uint16_t>(p->layout.height);
        rc = destripe_configure(p->destripe, &p->destripConfig);
        p->state &= ~kDestripPending;
    }
    if (p->state & kDenoisePending) {
        p->denoiseConfig.width = static_cast<uint16_t>(p->layout.width);
        p->denoiseConfig.height = static_cast<uint16_t>(p->layout.height);
        const int r = denoise_configure(p->denoise, &p->denoiseConfig);
        if (!rc) rc = r;
        p->state &= ~kDenoisePending;
    }
    return rc;
}

// set: the caller's bytes become the pending configuration, applied with the file's size by the next read.
int exchange_config(PlaybackObject *p, void *config, int set, void *own, size_t size, uint32_t pendingBit) {
    if (!config) return SARVIK_ERR_INVALID_ARG;
    if (!set) {
        std::memcpy(config, own, size);
        return 0;
    }
    if (!loaded(p)) return SARVIK_ERR_STATE;
    std::memcpy(own, config, size);
    p->state |= pendingBit;
    return 0;
}

bool select_palette(PlaybackObject *p, int index) {
    const auto *table = reinterpret_cast<const PaletteEntry *>(sdk().paletteTable);
    if (!table || index < 0 || index >= sdk().paletteCount) return false;
    p->palette = index;
    std::memcpy(p->colors, table[index].colors, sizeof p->colors);
    return true;
}

}  // namespace

extern "C" {

SARVIK_API void *SarvikPlayback_Create(void) {
    if (!sdk_initialised()) return nullptr;
    auto *p = new (std::nothrow) PlaybackObject();
    if (!p) return nullptr;
    p->fd = -1;
    if (!select_palette(p, SARVIK_PALETTE_IRONBOW)) {
        delete p;
        return nullptr;
    }
    p->stretch = strCreate();
    p->destripe = destripe_create();
    p->denoise = denoise_create();
    if (!p->stretch || !p->destripe || !p->denoise) {
        void *v = p;
        SarvikPlayback_Free(&v);
        return nullptr;
    }
    _strech_control &d = p->defaults;
    d.flags = SARVIK_STRECH_ALL | SARVIK_STRECH_SMOOTHING | SARVIK_STRECH_DDE;
    d.strechType = SARVIK_STRECH_ADAPTIVE;
    d.reserved_5[0] = 50;
    d.reserved_5[1] = 50;
    d.smoothing = 0;
    d.gain = 2.0f;
    d.man_temp0 = 200;
    d.man_temp1 = 400;
    stretch_apply_control(p->stretch, &d, true);
    {
        std::lock_guard<std::mutex> lock(p->stretch->mutex);
        p->stretch->ctl.reserved_5[0] = 50;
        p->stretch->ctl.reserved_5[1] = 50;
    }
    p->destripConfig.type = SARVIK_DESTRIP_OFF;
    p->destripConfig.s0_radius = 5;
    p->destripConfig.s0_regular = 10;
    p->destripConfig.s1_radius = 5;
    p->destripConfig.s1_regular = 10;
    p->destripConfig.sub_y = 4;
    p->destripConfig.sub_t = 1;
    p->denoiseConfig.type = SARVIK_DENOISE_OFF;
    p->denoiseConfig.gf_radius = 5;
    p->denoiseConfig.gf_regular = 5;
    return p;
}

SARVIK_API void SarvikPlayback_Free(void **object) {
    if (!object || !*object) return;
    auto *p = static_cast<PlaybackObject *>(*object);
    close_file(p);
    strFree(p->stretch);
    destripe_free(&p->destripe);
    denoise_free(&p->denoise);
    std::free(p->buffer);
    delete p;
    *object = nullptr;
}

SARVIK_API int SarvikPlayback_OpenFile(void *object, const char *path, int type) {
    if (!object || !path) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    if (type != SARVIK_PLAYBACK_BITMAP && type != SARVIK_PLAYBACK_SNAPSHOT &&
        type != SARVIK_PLAYBACK_STREAM && type != SARVIK_PLAYBACK_SNAPSHOT_ALT)
        return SARVIK_ERR_REFUSED;
    close_file(p);
    const int rc = type == SARVIK_PLAYBACK_BITMAP   ? open_bitmap_or_stream(p, path, false)
                   : type == SARVIK_PLAYBACK_STREAM ? open_bitmap_or_stream(p, path, true)
                                                    : open_snapshot(p, path);
    if (rc) {
        close_file(p);
        return rc;
    }
    set_smoothing(p, type == SARVIK_PLAYBACK_STREAM);
    return 0;
}

SARVIK_API int SarvikPlayback_CloseFile(void *object) {
    if (!object) return SARVIK_ERR_INVALID_ARG;
    close_file(static_cast<PlaybackObject *>(object));
    return 0;
}

SARVIK_API int SarvikPlayback_ReadCover(void *object, FrameCover *cover) {
    if (!object || !cover) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    if (!loaded(p)) return SARVIK_ERR_STATE;
    std::memset(cover, 0, sizeof *cover);
    cover->image = p->imageArea;
    cover->imageLength = static_cast<int32_t>(p->layout.imageLength);
    if (p->state & kStreamOpen) {
        cover->info = &p->streamInfo;
        return 0;
    }
    TempTailHead *head = tail_head(p);
    cover->info = &head->info;
    cover->block = head->block;
    cover->header = &head->header;
    cover->data = reinterpret_cast<int16_t *>(p->tail + kTailHeadSize);
    return 0;
}

SARVIK_API int SarvikPlayback_ReadFrame(void *object, int index, _DataFrame *frame) {
    if (!object || !frame) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    const int pending = apply_pending(p);
    if (!loaded(p)) return SARVIK_ERR_STATE;
    (void)pending;  // a refused configuration leaves the previous one in force; the frame is still handed out
    const int64_t n = p->layout.pixels;
    const size_t frameBytes = static_cast<size_t>(stream_frame_size(n));
    Slot *slot;
    if (p->state & kSingleLoaded) {
        slot = &p->slots[0];
        std::memcpy(slot->head, &tail_head(p)->header, frameBytes);
    } else {
        if (index < 0 || index >= p->frameCount) return SARVIK_ERR_INVALID_ARG;
        p->slotIndex = (p->slotIndex + 1) % kPlaybackSlots;
        slot = &p->slots[p->slotIndex];
        int fdv = p->fd;
        // The file may have been cut since it was opened: a short read is a read failure, not garbage.
        const FrameFileSource src{INT64_MAX, &fdv, fd_read_at};
        int rc = frame_file_read_exact(src, stream_frame_offset(n, index), slot->head, frameBytes);
        if (!rc) rc = frame_file_check_header(reinterpret_cast<_DataFrameHeader *>(slot->head), p->layout);
        if (rc) return rc;
    }
    auto *header = reinterpret_cast<_DataFrameHeader *>(slot->head);
    auto *data = reinterpret_cast<int16_t *>(slot->head + kFrameHeadSize);
    destripe_apply(p->destripe, data, p->layout.width, p->layout.height, (p->state & kStreamOpen) ? 1 : 0);
    denoise_apply(p->denoise, data, p->layout.width, p->layout.height);
    strTemp2Bgra(p->stretch, data, header, slot->image, p->colors);
    frame->header = header;
    frame->data = data;
    frame->scratch = nullptr;
    frame->image = slot->image;
    frame->extra = slot->extra;
    frame->previous = nullptr;
    return 0;
}

SARVIK_API int SarvikPlayback_GetImage(void *object, _strech_control *ctl, int *palette) {
    if (!object) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    if (ctl) strGetCtl(p->stretch, ctl);
    if (palette) *palette = p->palette;
    return 0;
}

SARVIK_API int SarvikPlayback_SetImage(void *object, const _strech_control *ctl, const int *palette) {
    if (!object) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    if (ctl) stretch_apply_control(p->stretch, ctl, true);
    if (palette) select_palette(p, *palette);
    return 0;
}

SARVIK_API int SarvikPlayback_SaveFile(void *object, const FrameCover *cover, const char *path) {
    if (!object || !path) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    if (!(p->state & kSingleLoaded)) return SARVIK_ERR_STATE;
    if (!cover || cover->image != p->imageArea || cover->imageLength < 0 ||
        cover->imageLength > SARVIK_PLAYBACK_MAX_IMAGE)
        return SARVIK_ERR_REFUSED;
    FILE *f = std::fopen(path, "wb");
    if (!f) return SARVIK_ERR_FILE_OPEN;
    int rc = frame_file_write(f, p->imageArea, static_cast<size_t>(cover->imageLength));
    if (!rc) rc = frame_file_write(f, p->tail, static_cast<size_t>(temp_tail_size(p->layout.pixels)));
    if (std::fclose(f) != 0 && !rc) rc = SARVIK_ERR_FILE_WRITE;
    return rc;
}

SARVIK_API int SarvikPlayback_ConfigDestrip(void *object, void *config, int set) {
    if (!object) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    return exchange_config(p, config, set, &p->destripConfig, sizeof p->destripConfig, kDestripPending);
}

SARVIK_API int SarvikPlayback_ConfigDenoise(void *object, void *config, int set) {
    if (!object) return SARVIK_ERR_INVALID_ARG;
    auto *p = static_cast<PlaybackObject *>(object);
    return exchange_config(p, config, set, &p->denoiseConfig, sizeof p->denoiseConfig, kDenoisePending);
}

}  // extern "C"
