// The worker loops of a temperature preview: the receive step with its reconnection, rendering, delivery
// and the recording hook. Nothing here allocates per frame.
#include <ctime>
#include <cstring>

#include "../Alg/frame_filters.h"
#include "../Common/sdk_log.h"
#include "../Common/sdk_sync.h"
#include "temp_preview_input.h"

namespace sarvik {

namespace {

bool running(const TempPreviewInput *in) {
    return (in->flags.load() & kPreviewRunning) != 0;
}
bool paused(const TempPreviewInput *in) {
    return (in->flags.load() & kPreviewPaused) != 0;
}

void call_back(TempPreviewInput *in, int status, _DataFrame *frame) {
    preview_call_back(in->index, in->param, status, frame);
}

// In two-thread mode the connection statuses travel through the handoff behind the frames received before
// them, so the callback keeps one thread and sees events in order.
_DataFrame g_lostMarker;
_DataFrame g_restoredMarker;

void report_status(TempPreviewInput *in, int status) {
    if (in->thread2)
        frame_handoff_push(&in->handoff,
                           status == SARVIK_STATUS_CONNECTION_LOST ? &g_lostMarker : &g_restoredMarker);
    else
        call_back(in, status, nullptr);
}

// The display hook has nothing to draw on on this platform.
void display_hook(TempPreviewInput *in, _DataFrame *frame) {
    (void)in;
    (void)frame;
}

// Waits up to one second, or less when the preview stops meanwhile.
void wait_one_second(TempPreviewInput *in) {
    wait_ms_while(&in->waitMutex, &in->waitCond, 1000, [in] { return running(in); });
}

// One receive attempt into the ring's next slot: true when it holds a new frame. While the connection is
// broken, one call is one reopen attempt a second.
bool receive_step(TempPreviewInput *in, _DataFrame *frame) {
    if (in->flags.load() & kPreviewReconnecting) {
        wait_one_second(in);
        if (!running(in)) return false;
        if (in->ops->open(in->recver, in->address, in->port) == 0) {
            in->flags &= ~kPreviewReconnecting;
            report_status(in, SARVIK_STATUS_CONNECTION_RESTORED);
        }
        return false;
    }
    const int r = in->ops->receive(in->recver, frame);
    if (r == 0) return true;
    // A stop interrupts the receive: that is no lost connection.
    if (!running(in)) return false;
    // A receiver that closed itself (-7) is as broken as one whose receive failed.
    if (r == SARVIK_ERR_RECV || r == kFrNotOpen) {
        in->ops->close(in->recver);
        in->flags |= kPreviewReconnecting;
        SDK_LOG("preview %d, %s connection lost, %d", in->index, in->cameraId, r);
        report_status(in, SARVIK_STATUS_CONNECTION_LOST);
    }
    return false;
}

void render(TempPreviewInput *in, _DataFrame *frame) {
    if (!in->interProcess) return;
    MtResult r;
    if (mtGetResult_GMO(frame->header, frame->data, &r) == 0) {
        _DataFrameResult out;
        out.maxTemp = r.maxTemp;
        out.minTemp = r.minTemp;
        out.avgTemp = r.avgTemp;
        out.maxX = r.maxX;
        out.maxY = r.maxY;
        out.minX = r.minX;
        out.minY = r.minY;
        std::memcpy(frame->extra + SARVIK_FRAME_RESULT_OFFSET, &out, sizeof out);
    }
    int p = in->palette.load();
    if (p < 0 || p >= in->paletteCount) p = SARVIK_PALETTE_IRONBOW;
    strTemp2Bgra(in->stretch, frame->data, frame->header, frame->image, in->palettes.entries[p].colors);
}

void append_files(TempPreviewInput *in, _DataFrame *frame) {
    if (!(in->flags.load() & (kPreviewWritingStream | kPreviewWritingVideo))) return;
    pthread_mutex_lock(&in->fileMutex);
    temp_preview_append_files(in, frame);
    pthread_mutex_unlock(&in->fileMutex);
}

void deliver(TempPreviewInput *in, _DataFrame *frame) {
    if (in->param.display) display_hook(in, frame);
    call_back(in, 0, frame);
}

// Filters run on the camera's own geometry, so before any transform.
void filter(TempPreviewInput *in, _DataFrame *frame) {
    if (frame->header->dataKind != SARVIK_DATA_KIND_TEMPERATURE) return;
    if (in->destripe) destripe_apply(in->destripe, frame->data, in->dataWidth, in->dataHeight, 1);
    if (in->denoise) denoise_apply(in->denoise, frame->data, in->dataWidth, in->dataHeight);
}

void close_receiver(TempPreviewInput *in) {
    in->ops->close(in->recver);
}

}  // namespace

void *temp_preview_loop_plain(void *arg) {
    auto *in = static_cast<TempPreviewInput *>(arg);
    while (running(in)) {
        _DataFrame *frame = frame_ring_take(&in->ring);
        if (!receive_step(in, frame)) continue;
        render(in, frame);
        if (!paused(in)) {
            frame_ring_commit(&in->ring);
            deliver(in, frame);
        }
        append_files(in, frame);
    }
    close_receiver(in);
    return nullptr;
}

void *temp_preview_loop_transform(void *arg) {
    auto *in = static_cast<TempPreviewInput *>(arg);
    while (running(in)) {
        _DataFrame *frame = frame_ring_take(&in->ring);
        if (!receive_step(in, frame)) continue;
        temp_preview_transform(frame, in->transform);
        render(in, frame);
        append_files(in, frame);
        if (!paused(in)) {
            // Committed before the callback, so the frame it sees is the ring's newest.
            frame_ring_commit(&in->ring);
            deliver(in, frame);
        }
    }
    close_receiver(in);
    return nullptr;
}

void *temp_preview_loop_receive(void *arg) {
    auto *in = static_cast<TempPreviewInput *>(arg);
    while (running(in)) {
        _DataFrame *frame = frame_ring_take(&in->ring);
        if (!receive_step(in, frame)) continue;
        filter(in, frame);
        temp_preview_transform(frame, in->transform);
        frame_ring_commit(&in->ring);
        if (!frame_handoff_push(&in->handoff, frame)) break;
    }
    close_receiver(in);
    return nullptr;
}

void *temp_preview_loop_process(void *arg) {
    auto *in = static_cast<TempPreviewInput *>(arg);
    for (;;) {
        _DataFrame *frame = frame_handoff_pop(&in->handoff);
        if (!frame) break;
        if (frame == &g_lostMarker || frame == &g_restoredMarker) {
            call_back(
                in,
                frame == &g_lostMarker ? SARVIK_STATUS_CONNECTION_LOST : SARVIK_STATUS_CONNECTION_RESTORED,
                nullptr);
            continue;
        }
        render(in, frame);
        if (!paused(in)) deliver(in, frame);
        append_files(in, frame);
    }
    return nullptr;
}

}  // namespace sarvik
