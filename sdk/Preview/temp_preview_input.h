// TempPreviewInput: one running temperature preview — its ring of frame slots, receiver, stretch context,
// palette, filters, file mutex and worker threads.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "SarvikSDK.h"
#include "../Common/sdk_log.h"
#include "frame_handoff.h"
#include "frame_recver.h"
#include "preview_table.h"

struct StretchContext;
struct H264EncHandle;

namespace sarvik {

struct DestripeFilter;
struct DenoiseFilter;

enum TempPreviewFlag : uint32_t {
    kPreviewRunning = 1u << 0,
    kPreviewPaused = 1u << 1,
    kPreviewReconnecting = 1u << 2,
    kPreviewWritingStream = 1u << 3,
    kPreviewWritingVideo = 1u << 4,
    kPreviewMutexReady = 1u << 16,
};

// A frame handed to the callback stays intact for 15 further frames. In two-thread mode the ring is twice
// the handoff, so a pointer still queued (16) or being processed (1) is never the slot being written.
constexpr int kRingSlots = 16;
constexpr int kRingSlotsThread2 = 2 * kHandoffCapacity;
static_assert(kRingSlotsThread2 >= kHandoffCapacity + 2 && kRingSlotsThread2 >= kRingSlots,
              "queued frames, the one in process and the one being written must never share a slot");

struct FrameRing {
    _DataFrame slots[kRingSlotsThread2];
    int count;  // slots in use: kRingSlots or kRingSlotsThread2
    int next;   // slot the next frame is written into
    _DataFrame *newest;
};

// 0, -8 for a zero size, -5 out of memory (nothing kept).
int frame_ring_alloc(FrameRing *ring, int count, uint16_t width, uint16_t height);
void frame_ring_free(FrameRing *ring);
// The slot to write next; it becomes the newest only when committed (an uncommitted slot is reused).
inline _DataFrame *frame_ring_take(FrameRing *ring) {
    return &ring->slots[ring->next];
}
void frame_ring_commit(FrameRing *ring);

struct TempPreviewInput {
    int index;  // the preview handle
    // The workers log until the input is freed, which may be after Sarvik_FreeSDK.
    SdkLogHold logHold;
    std::atomic<uint32_t> flags;
    std::atomic<int> palette;  // index into the palette copy
    int transform;
    int thread2;
    int interProcess;
    uint16_t dataWidth, dataHeight;      // as the camera sends
    uint16_t outputWidth, outputHeight;  // after the transform
    uint32_t address;
    uint16_t port;
    PreviewParam param;
    char cameraId[33];

    FrameRing ring;
    const FrameRecverOps *ops;
    void *recver;
    StretchContext *stretch;
    // The palette table as it was at start: the SDK's own table may be released while previews run.
    PaletteTable palettes;
    int paletteCount;
    DestripeFilter *destripe;
    DenoiseFilter *denoise;
    // Video recording encodes the rendered frames with it; opened and configured at start.
    H264EncHandle *encoder;

    pthread_mutex_t fileMutex;  // orders begin-save and end-save against the per-frame appends
    // Recording state, guarded by fileMutex (temp_recording.cpp).
    FrameFileInfo fileInfo;  // information record written into every stream file's prefix
    FILE *streamFile;        // unbuffered: a failed write leaves nothing behind to be flushed later
    int64_t streamFrames;    // whole frames in the stream file
    bool streamErrorLogged;  // a failing append is logged once per recording
    bool videoErrorLogged;
    // Wakes the one-second reconnection wait early when the preview stops.
    pthread_mutex_t waitMutex;
    pthread_cond_t waitCond;

    pthread_t recvThread;
    pthread_t processThread;
    bool recvStarted;
    bool processStarted;
    FrameHandoff handoff;
    bool handoffReady;
};

// Builds the input for a slot copy (address, port, basic info, filters' configurations, param, transform,
// flags already filled): ring (-12), receiver opened to the camera, stretch context, palette, filters
// (-13). Nothing is kept on failure.
int temp_preview_build(const PreviewSlot &slot, int index, TempPreviewInput **out);
// Sets the running flag and starts the worker threads: 0 or -14 (the input is left stopped).
int temp_preview_start_threads(TempPreviewInput *in);
// Clears the running flag, joins every thread, then frees everything. Null is ignored.
void temp_preview_stop_and_free(TempPreviewInput *in);

// Receive-thread entries (temp_preview_loop.cpp).
void *temp_preview_loop_plain(void *arg);      // single thread, transform 0
void *temp_preview_loop_transform(void *arg);  // single thread, transforms 1..5
void *temp_preview_loop_receive(void *arg);    // two-thread mode, receive side
void *temp_preview_loop_process(void *arg);    // two-thread mode, process side

// Turns the frame's samples and header in place through its scratch buffer (types 1..5; 0 does nothing).
void temp_preview_transform(_DataFrame *frame, int transform);

// Recording (temp_recording.cpp). Begin and end run on the caller's thread under the SDK mutex and take
// the file mutex themselves.
// Stream file: 0, -7 reconnecting, -200 cannot create, -197 short write of the prefix (file closed).
int temp_recording_begin_stream(TempPreviewInput *in, const char *path);
// Video file through the preview's encoder: the mux's result (0 started), -7 reconnecting.
int temp_recording_begin_video(TempPreviewInput *in, const char *path);
void temp_recording_end_stream(TempPreviewInput *in);
void temp_recording_end_video(TempPreviewInput *in);
// Fills the information record of the preview's stream files from the slot (at build).
void temp_recording_prepare(TempPreviewInput *in, const PreviewSlot &slot);
// Closes whatever is still open (at free).
void temp_recording_close_all(TempPreviewInput *in);

// Recording hook: called after rendering for every frame while a stream or video file is open (flag bits 3
// or 4), with the file mutex held. Stream files and video files append the frame here.
void temp_preview_append_files(TempPreviewInput *in, const _DataFrame *frame);

}  // namespace sarvik
