#include "rtsp_preview_input.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "../Common/sdk_global.h"
#include "../Common/sdk_log.h"
#include "../Common/sdk_sync.h"
#include "SarvikFfmpeg.h"
#include "data_frame.h"
#include "picture_file.h"
#include "preview_table.h"

namespace sarvik {

static_assert(sizeof(RtspParam) == sizeof(RtspSourceParam),
              "the caller's record goes to the library as it is");

namespace {

// After a failed read the worker rests this long, so a dead source does not keep a core busy.
constexpr int kFailedReadPauseMs = 250;

bool running(const RtspPreviewInput *in) {
    return (in->flags.load() & kRtspRunning) != 0;
}

void call_back(RtspPreviewInput *in, int status, _DataFrame *frame) {
    preview_call_back(in->index, in->param, status, frame);
}

// The display hook has nothing to draw on on this platform.
void display_hook(RtspPreviewInput *in, _DataFrame *frame) {
    (void)in;
    (void)frame;
}

void wait_ms(RtspPreviewInput *in, int ms) {
    wait_ms_while(&in->waitMutex, &in->waitCond, ms, [in] { return running(in); });
}

int ring_alloc(RtspPreviewInput *in) {
    const size_t pixels = static_cast<size_t>(in->width) * in->height;
    const size_t extraBytes = kRtspSecondOutputOffset + (in->secondOutput ? pixels : 0);
    for (int i = 0; i < kRtspRingSlots; ++i) {
        auto *block = static_cast<uint8_t *>(std::calloc(1, 4 * pixels + extraBytes));
        if (!block) return SARVIK_ERR_PREVIEW_RING;
        in->blocks[i] = block;
        in->slots[i].image = reinterpret_cast<uint32_t *>(block);
        in->slots[i].extra = block + 4 * pixels;
    }
    in->snapshot = static_cast<uint32_t *>(std::calloc(pixels, sizeof(uint32_t)));
    return in->snapshot ? 0 : SARVIK_ERR_PREVIEW_RING;
}

void free_input(RtspPreviewInput *in) {
    if (in->demux) RtspDemuxDec_Close(&in->demux);
    if (in->mutexesReady) {
        pthread_cond_destroy(&in->waitCond);
        pthread_mutex_destroy(&in->waitMutex);
        pthread_mutex_destroy(&in->lastMutex);
        pthread_mutex_destroy(&in->demuxMutex);
    }
    for (uint8_t *block : in->blocks) std::free(block);
    std::free(in->snapshot);
    delete in;
}

bool init_mutexes(RtspPreviewInput *in) {
    if (pthread_mutex_init(&in->demuxMutex, nullptr) != 0) return false;
    if (pthread_mutex_init(&in->lastMutex, nullptr) != 0) {
        pthread_mutex_destroy(&in->demuxMutex);
        return false;
    }
    if (pthread_mutex_init(&in->waitMutex, nullptr) != 0) {
        pthread_mutex_destroy(&in->lastMutex);
        pthread_mutex_destroy(&in->demuxMutex);
        return false;
    }
    if (pthread_cond_init(&in->waitCond, nullptr) != 0) {
        pthread_mutex_destroy(&in->waitMutex);
        pthread_mutex_destroy(&in->lastMutex);
        pthread_mutex_destroy(&in->demuxMutex);
        return false;
    }
    in->mutexesReady = true;
    return true;
}

void *worker(void *arg) {
    auto *in = static_cast<RtspPreviewInput *>(arg);
    while (running(in)) {
        _DataFrame *slot = &in->slots[in->next];
        uint16_t size[2] = {in->width, in->height};
        std::memcpy(slot->extra + 4, size, sizeof size);
        void *second = in->secondOutput ? slot->extra + kRtspSecondOutputOffset : nullptr;
        pthread_mutex_lock(&in->demuxMutex);
        const int r = RtspDemuxDec_ReadFrame(in->demux, slot->image, second);
        pthread_mutex_unlock(&in->demuxMutex);
        if (!running(in)) break;
        if (r != 0) {
            call_back(in, r, nullptr);
            wait_ms(in, kFailedReadPauseMs);
            continue;
        }
        if (in->flags.load() & kRtspPaused) continue;
        if (in->param.display) display_hook(in, slot);
        call_back(in, 0, slot);
        // The next read writes into another slot, so a snapshot can copy this one while the read runs.
        pthread_mutex_lock(&in->lastMutex);
        data_frame_ring_commit(in->slots, kRtspRingSlots, &in->next, &in->newest);
        in->last = slot;
        pthread_mutex_unlock(&in->lastMutex);
    }
    return nullptr;
}

int snapshot(RtspPreviewInput *in, const char *path) {
    pthread_mutex_lock(&in->lastMutex);
    const bool have = in->last != nullptr;
    if (have)
        std::memcpy(in->snapshot, in->last->image,
                    sizeof(uint32_t) * in->width * static_cast<size_t>(in->height));
    pthread_mutex_unlock(&in->lastMutex);
    if (!have) return SARVIK_ERR_STATE;
    if (!path || !*path) return 0;
    const int r = picture_file_write(path, in->snapshot, in->width, in->height);
    if (r != 0) SDK_LOG("preview %d, snapshot file error %d", in->index, r);
    return r;
}

}  // namespace

int rtsp_preview_build(RtspParam *source, const PreviewParam &param, int index, RtspPreviewInput **out) {
    *out = nullptr;
    auto *in = new (std::nothrow) RtspPreviewInput();
    if (!in) return SARVIK_ERR_PREVIEW_RING;
    in->index = index;
    in->flags = 0;
    in->param = param;
    in->secondOutput = source->secondOutput != 0;
    if (!init_mutexes(in)) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    RtspDemuxDecConfig cfg;
    std::memset(&cfg, 0, sizeof cfg);
    cfg.mode = source->mode;
    cfg.deviceType = sdk().config.decoder;
    // Every network wait of the library is bounded like the SDK's own receives, which bounds a stop too.
    cfg.timeoutMs = sdk().recvTimeoutMs.load();
    const int opened = RtspDemuxDec_Open(reinterpret_cast<RtspSourceParam *>(source), &cfg, &in->demux);
    if (opened != 0 || source->width == 0 || source->height == 0) {
        SDK_LOG("preview %d, RtspDemuxDec_Open error %d", index, opened);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    in->width = source->width;
    in->height = source->height;
    if (ring_alloc(in) != 0) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_RING;
    }
    *out = in;
    return 0;
}

int rtsp_preview_start(RtspPreviewInput *in) {
    in->flags |= kRtspRunning;
    in->workerStarted = pthread_create(&in->worker, nullptr, worker, in) == 0;
    if (in->workerStarted) return 0;
    in->flags &= ~kRtspRunning;
    return SARVIK_ERR_PREVIEW_THREAD;
}

void rtsp_preview_stop_and_free(RtspPreviewInput *in) {
    if (!in) return;
    in->flags &= ~kRtspRunning;
    if (in->mutexesReady) {
        pthread_mutex_lock(&in->waitMutex);
        pthread_cond_broadcast(&in->waitCond);
        pthread_mutex_unlock(&in->waitMutex);
    }
    if (in->workerStarted) pthread_join(in->worker, nullptr);
    in->workerStarted = false;
    if (in->flags.load() & kRtspWriting) rtsp_preview_end_save(in, SARVIK_SAVE_VIDEO);
    free_input(in);
}

int rtsp_preview_begin_save(RtspPreviewInput *in, const char *path, int type) {
    if (type == SARVIK_SAVE_SNAPSHOT) return snapshot(in, path);
    if (type != SARVIK_SAVE_VIDEO) return SARVIK_ERR_BAD_SAVE_TYPE;
    if (!path || !*path) return SARVIK_ERR_INVALID_ARG;
    pthread_mutex_lock(&in->demuxMutex);
    int r = SARVIK_ERR_FAIL;
    if (!(in->flags.load() & kRtspWriting)) {
        r = RtspDemuxDec_BeginSave(in->demux, path);
        if (r == 0)
            in->flags |= kRtspWriting;
        else
            SDK_LOG("preview %d, RtspDemuxDec_BeginSave error %d", in->index, r);
    }
    pthread_mutex_unlock(&in->demuxMutex);
    return r;
}

int rtsp_preview_end_save(RtspPreviewInput *in, int type) {
    if (type != SARVIK_SAVE_VIDEO) return SARVIK_ERR_BAD_SAVE_TYPE;
    pthread_mutex_lock(&in->demuxMutex);
    int r = SARVIK_ERR_STATE;
    if (in->flags.load() & kRtspWriting) {
        in->flags &= ~kRtspWriting;
        r = RtspDemuxDec_EndSave(in->demux);
        if (r != 0) SDK_LOG("preview %d, RtspDemuxDec_EndSave error %d", in->index, r);
    }
    pthread_mutex_unlock(&in->demuxMutex);
    return r;
}

}  // namespace sarvik
