// VideoPreviewInput: one running video preview (kind 3, H.264 over TCP from the camera's video port) or
// mixed preview (kind 5, `MixPreview`, from its mixed port) — its socket, decoder, ring of decoded
// pictures, recording mutex and worker thread.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"
#include "../Common/sdk_log.h"
#include "preview_table.h"

struct H264DecHandle;

namespace sarvik {

// Bits of VideoPreviewInput::flags; the same bits as the temperature input's where they mean the same.
enum VideoPreviewFlag : uint32_t {
    kVideoRunning = 1u << 0,
    kVideoPaused = 1u << 1,
    kVideoReconnecting = 1u << 2,
    kVideoWriting = 1u << 4,
};

constexpr int kVideoRingSlots = 16;

// 16 slots: image = decoded BGRA picture (4V bytes), extra = received frame (header + compressed bytes,
// up to 3V + 17408 bytes); header, data and scratch stay null.
struct VideoFrameRing {
    _DataFrame slots[kVideoRingSlots];
    uint8_t *blocks[kVideoRingSlots];
    size_t extraBytes;
    int next;
    _DataFrame *newest;
};

struct VideoPreviewInput {
    int index;  // the preview handle
    // The workers log until the input is freed, which may be after Sarvik_FreeSDK.
    SdkLogHold logHold;
    int kind;   // SARVIK_PREVIEW_VIDEO or SARVIK_PREVIEW_MIXED
    std::atomic<uint32_t> flags;
    uint32_t address;
    uint16_t port;
    PreviewParam param;
    uint16_t videoWidth, videoHeight;    // the camera's video size from the login session: ring and decoder
    uint16_t streamWidth, streamHeight;  // from the first start record; a reconnection must match them

    VideoFrameRing ring;
    H264DecHandle *decoder;

    // The worker's socket, -1 while none; stop shuts it down under sockMutex to end a blocked receive.
    int sock;
    pthread_mutex_t sockMutex;
    // Orders begin-save and end-save (caller's thread) against decoding and muxing (worker): the decoder
    // handle takes one thread at a time.
    pthread_mutex_t mutex;
    // Wakes the reconnection waits early when the preview stops.
    pthread_mutex_t waitMutex;
    pthread_cond_t waitCond;
    bool mutexesReady;

    pthread_t worker;
    bool workerStarted;
    bool muxErrorLogged;  // a failing recording (disk full) is logged once per recording, under mutex
};

// Builds the input for a slot copy (address, port, basic info, param filled; kind 3 or 5): ring (-12);
// connection, start record, decoder (-13). Nothing is kept on failure.
int video_preview_build(const PreviewSlot &slot, int index, VideoPreviewInput **out);
// Sets the running flag and starts the worker: 0 or -14 (the input is left stopped).
int video_preview_start(VideoPreviewInput *in);
// Clears the running flag, wakes and joins the worker, ends a running recording so its file is complete,
// then frees everything. Null is ignored.
void video_preview_stop_and_free(VideoPreviewInput *in);

// Recording: type 3 only (-2 otherwise), -7 while reconnecting, -8 no path; else the codec library's
// result of starting the file (a running one is ended first).
int video_preview_begin_save(VideoPreviewInput *in, const char *path, int type);
// Ends a running recording whatever the type: 0, also when none runs, or the codec library's failure to
// finish the file.
int video_preview_end_save(VideoPreviewInput *in, int type);

// The worker thread.
void *video_preview_worker(void *arg);

}  // namespace sarvik
