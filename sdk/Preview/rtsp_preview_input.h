// RtspPreviewInput: one running RTSP preview (kind 4) — the codec library's demuxer and decoder, a ring of
// 8 decoded pictures, the last picture for snapshots and the worker thread. Needs no login.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"
#include "../Common/sdk_log.h"

struct RtspDemuxDecHandle;

namespace sarvik {

enum RtspPreviewFlag : uint32_t {
    kRtspRunning = 1u << 0,
    kRtspPaused = 1u << 1,
    kRtspWriting = 1u << 4,
};

constexpr int kRtspRingSlots = 8;
// Where a frame's second output (8-bit grey, width x height bytes) starts in its extra block.
constexpr size_t kRtspSecondOutputOffset = SARVIK_FRAME_EXTRA_SIZE;

struct RtspPreviewInput {
    int index;  // the preview handle
    // The workers log until the input is freed, which may be after Sarvik_FreeSDK.
    SdkLogHold logHold;
    std::atomic<uint32_t> flags;
    PreviewParam param;
    uint16_t width, height;
    bool secondOutput;

    RtspDemuxDecHandle *demux;
    // 8 slots: image = BGRA picture (4N bytes); extra = width and height as u16 at 4 and 6, and the second
    // output from 16384 when asked for.
    _DataFrame slots[kRtspRingSlots];
    uint8_t *blocks[kRtspRingSlots];
    int next;
    _DataFrame *newest;
    _DataFrame *last;    // the last picture delivered, for snapshots; null before the first
    uint32_t *snapshot;  // the last snapshot's copy of it

    // The demuxer takes one thread at a time: the worker's reads and the caller's recording calls take
    // turns under it.
    pthread_mutex_t demuxMutex;
    // Guards the publication of the last picture, so a snapshot never waits for a read of the source.
    pthread_mutex_t lastMutex;
    // Wakes the pause after a failed read early when the preview stops.
    pthread_mutex_t waitMutex;
    pthread_cond_t waitCond;
    bool mutexesReady;

    pthread_t worker;
    bool workerStarted;
};

// Opens the source (-13 when it cannot be opened), writes the picture size into the caller's record and
// allocates the ring (-12). Nothing is kept on failure.
int rtsp_preview_build(RtspParam *source, const PreviewParam &param, int index, RtspPreviewInput **out);
// Sets the running flag and starts the worker: 0 or -14 (the input is left stopped).
int rtsp_preview_start(RtspPreviewInput *in);
// Clears the running flag, joins the worker (a read in progress ends within the source's time-out), ends
// a running recording, then frees everything. Null is ignored.
void rtsp_preview_stop_and_free(RtspPreviewInput *in);

// Type 3: starts recording the source (-1 when one runs, else the codec library's result). Type 1: copies
// the last picture and, for a non-empty path, writes it there (JPEG for ".jpg"/".jpeg", PNG otherwise);
// -7 before the first picture, -200/-197 when the file cannot be written. Other types -195.
int rtsp_preview_begin_save(RtspPreviewInput *in, const char *path, int type);
// Type 3 only (-195 otherwise): -7 when no recording runs, else the codec library's result of finishing it.
int rtsp_preview_end_save(RtspPreviewInput *in, int type);

}  // namespace sarvik
