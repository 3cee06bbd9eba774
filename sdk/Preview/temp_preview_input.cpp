#include "temp_preview_input.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "../Alg/frame_filters.h"
#include "SarvikFfmpeg.h"
#include "../Common/sdk_global.h"
#include "../Common/sdk_log.h"
#include "data_frame.h"

namespace sarvik {

int frame_ring_alloc(FrameRing *ring, int count, uint16_t width, uint16_t height) {
    std::memset(ring, 0, sizeof *ring);
    if (count < 1 || count > kRingSlotsThread2) return SARVIK_ERR_INVALID_ARG;
    for (int i = 0; i < count; ++i) {
        const int r = data_frame_alloc(&ring->slots[i], width, height);
        if (r != 0) {
            frame_ring_free(ring);
            return r;
        }
    }
    ring->count = count;
    return 0;
}

void frame_ring_free(FrameRing *ring) {
    for (auto &slot : ring->slots)
        if (slot.header) data_frame_free(&slot);
    ring->count = 0;
    ring->next = 0;
    ring->newest = nullptr;
}

void frame_ring_commit(FrameRing *ring) {
    data_frame_ring_commit(ring->slots, ring->count, &ring->next, &ring->newest);
}

namespace {

void free_input(TempPreviewInput *in) {
    if (in->handoffReady) frame_handoff_destroy(&in->handoff);
    // Open recordings are finished under the file mutex, so that goes before the mutexes do.
    temp_recording_close_all(in);
    if (in->flags.load() & kPreviewMutexReady) {
        in->flags &= ~kPreviewMutexReady;
        pthread_mutex_destroy(&in->fileMutex);
        pthread_cond_destroy(&in->waitCond);
        pthread_mutex_destroy(&in->waitMutex);
    }
    if (in->encoder) H264Enc_Close(&in->encoder);
    destripe_free(&in->destripe);
    denoise_free(&in->denoise);
    strFree(in->stretch);
    if (in->ops && in->recver) in->ops->free(&in->recver);
    frame_ring_free(&in->ring);
    delete in;
}

}  // namespace

int temp_preview_build(const PreviewSlot &slot, int index, TempPreviewInput **out) {
    *out = nullptr;
    auto *in = new (std::nothrow) TempPreviewInput();
    if (!in) return SARVIK_ERR_PREVIEW_RING;
    in->index = index;
    in->flags = 0;
    in->palette = SARVIK_PALETTE_IRONBOW;
    in->transform = slot.transform;
    in->thread2 = slot.thread2;
    in->interProcess = slot.interProcess;
    in->dataWidth = slot.basicInfo.dataWidth;
    in->dataHeight = slot.basicInfo.dataHeight;
    const bool swap =
        slot.transform == SARVIK_TRANSFORM_ROTATE_90 || slot.transform == SARVIK_TRANSFORM_ROTATE_270;
    in->outputWidth = swap ? in->dataHeight : in->dataWidth;
    in->outputHeight = swap ? in->dataWidth : in->dataHeight;
    in->address = slot.address;
    in->port = slot.port;
    in->param = slot.param;
    std::memcpy(in->cameraId, slot.basicInfo.cameraId, sizeof slot.basicInfo.cameraId);
    in->cameraId[32] = '\0';
    temp_recording_prepare(in, slot);

    if (frame_ring_alloc(&in->ring, slot.thread2 ? kRingSlotsThread2 : kRingSlots, in->dataWidth,
                         in->dataHeight) != 0) {
        delete in;
        return SARVIK_ERR_PREVIEW_RING;
    }

    in->ops = frame_recver_ops(slot.param.transType);
    in->recver = in->ops->create(in->dataWidth, in->dataHeight);
    if (!in->recver) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    const int opened = in->ops->open(in->recver, in->address, in->port);
    if (opened != 0) {
        SDK_LOG("preview %d, open %s port %u error %d", index, in->cameraId, in->port, opened);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    in->stretch = strCreate();
    if (!in->stretch) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }

    pthread_mutex_lock(&sdk().sessionMutex);
    const bool havePalettes = sdk().paletteTable != nullptr && sdk().paletteCount > 0;
    if (havePalettes) {
        in->paletteCount =
            sdk().paletteCount < SARVIK_PALETTE_COUNT ? sdk().paletteCount : SARVIK_PALETTE_COUNT;
        std::memcpy(&in->palettes, sdk().paletteTable, sizeof(PaletteEntry) * in->paletteCount);
    }
    pthread_mutex_unlock(&sdk().sessionMutex);
    if (!havePalettes || in->paletteCount <= SARVIK_PALETTE_IRONBOW) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }

    if (pthread_mutex_init(&in->fileMutex, nullptr) != 0) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    if (pthread_mutex_init(&in->waitMutex, nullptr) != 0) {
        pthread_mutex_destroy(&in->fileMutex);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    if (pthread_cond_init(&in->waitCond, nullptr) != 0) {
        pthread_mutex_destroy(&in->waitMutex);
        pthread_mutex_destroy(&in->fileMutex);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    in->flags |= kPreviewMutexReady;

    in->encoder = H264Enc_Open();
    if (!in->encoder) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    H264EncConfig enc;
    std::memset(&enc, 0, sizeof enc);
    enc.deviceType = sdk().config.encoder;
    enc.width = in->outputWidth;
    enc.height = in->outputHeight;
    enc.frameRate = slot.basicInfo.dataFps;
    enc.rateDivisor = static_cast<int32_t>(slot.basicInfo.dataRatio) * slot.basicInfo.sendRatio;
    const int encResult = H264Enc_SetConfig(in->encoder, &enc);
    if (encResult < 0) SDK_LOG("H264Enc_SetConfig, error %d", encResult);

    if (slot.destrip.type != 0) {
        _DestripInfo cfg = slot.destrip;
        cfg.width = in->dataWidth;
        cfg.height = in->dataHeight;
        in->destripe = destripe_create();
        if (!in->destripe || destripe_configure(in->destripe, &cfg) != 0) {
            free_input(in);
            return SARVIK_ERR_PREVIEW_INPUT;
        }
        SDK_LOG(
            "!enableDestrip %s, type %d, s0_radius %d, s0_regular %d, s1_radius %d, s1_regular %d, sub_y %d, "
            "sub_t %d",
            in->cameraId, cfg.type, cfg.s0_radius, cfg.s0_regular, cfg.s1_radius, cfg.s1_regular, cfg.sub_y,
            cfg.sub_t);
    }
    if (slot.denoise.type != 0) {
        _DenoiseInfo cfg = slot.denoise;
        cfg.width = in->dataWidth;
        cfg.height = in->dataHeight;
        in->denoise = denoise_create();
        if (!in->denoise || denoise_configure(in->denoise, &cfg) != 0) {
            free_input(in);
            return SARVIK_ERR_PREVIEW_INPUT;
        }
        SDK_LOG("!enableDenoise %s, type %d, gf_radius %d, gf_regular %d", in->cameraId, cfg.type,
                cfg.gf_radius, cfg.gf_regular);
    }
    if (in->thread2) {
        if (frame_handoff_init(&in->handoff) != 0) {
            free_input(in);
            return SARVIK_ERR_PREVIEW_INPUT;
        }
        in->handoffReady = true;
    }
    *out = in;
    return 0;
}

int temp_preview_start_threads(TempPreviewInput *in) {
    in->flags |= kPreviewRunning;
    if (in->thread2) {
        SDK_LOG("!enableThread2 %s", in->cameraId);
        in->processStarted = pthread_create(&in->processThread, nullptr, temp_preview_loop_process, in) == 0;
        if (in->processStarted)
            in->recvStarted = pthread_create(&in->recvThread, nullptr, temp_preview_loop_receive, in) == 0;
    } else {
        in->recvStarted =
            pthread_create(&in->recvThread, nullptr,
                           in->transform == 0 ? temp_preview_loop_plain : temp_preview_loop_transform,
                           in) == 0;
    }
    if (in->recvStarted) return 0;
    in->flags &= ~kPreviewRunning;
    if (in->processStarted) {
        frame_handoff_close(&in->handoff);
        pthread_join(in->processThread, nullptr);
        in->processStarted = false;
    }
    return SARVIK_ERR_PREVIEW_THREAD;
}

void temp_preview_stop_and_free(TempPreviewInput *in) {
    if (!in) return;
    in->flags &= ~kPreviewRunning;
    if (in->flags.load() & kPreviewMutexReady) {
        pthread_mutex_lock(&in->waitMutex);
        pthread_cond_broadcast(&in->waitCond);
        pthread_mutex_unlock(&in->waitMutex);
    }
    // A receive blocked on a silent camera returns now instead of at its time-out.
    if (in->ops && in->recver) in->ops->interrupt(in->recver);
    // Closing the handoff first frees a receive thread waiting on a full queue, and ends the process thread.
    if (in->handoffReady) frame_handoff_close(&in->handoff);
    if (in->recvStarted) pthread_join(in->recvThread, nullptr);
    if (in->processStarted) pthread_join(in->processThread, nullptr);
    in->recvStarted = in->processStarted = false;
    free_input(in);
}

void temp_preview_transform(_DataFrame *frame, int transform) {
    if (transform <= 0 || transform > 5) return;
    _DataFrameHeader *h = frame->header;
    const int w = h->width, hh = h->height;
    const int16_t *src = frame->data;
    int16_t *dst = frame->scratch;
    const size_t n = static_cast<size_t>(w) * hh;
    switch (transform) {
        case SARVIK_TRANSFORM_ROTATE_90:  // (x, y) -> (hh-1-y, x), output rows of hh samples
            for (int y = 0; y < hh; ++y)
                for (int x = 0; x < w; ++x)
                    dst[static_cast<size_t>(x) * hh + (hh - 1 - y)] = src[static_cast<size_t>(y) * w + x];
            break;
        case SARVIK_TRANSFORM_ROTATE_180:
            for (size_t i = 0; i < n; ++i) dst[i] = src[n - 1 - i];
            break;
        case SARVIK_TRANSFORM_ROTATE_270:  // (x, y) -> (y, w-1-x)
            for (int y = 0; y < hh; ++y)
                for (int x = 0; x < w; ++x)
                    dst[static_cast<size_t>(w - 1 - x) * hh + y] = src[static_cast<size_t>(y) * w + x];
            break;
        case SARVIK_TRANSFORM_MIRROR_X:
            for (int y = 0; y < hh; ++y)
                for (int x = 0; x < w; ++x)
                    dst[static_cast<size_t>(y) * w + x] = src[static_cast<size_t>(y) * w + (w - 1 - x)];
            break;
        case SARVIK_TRANSFORM_MIRROR_Y:
            for (int y = 0; y < hh; ++y)
                std::memcpy(dst + static_cast<size_t>(y) * w, src + static_cast<size_t>(hh - 1 - y) * w,
                            sizeof(int16_t) * w);
            break;
        default:
            return;
    }
    std::memcpy(frame->data, dst, sizeof(int16_t) * n);
    if (transform == SARVIK_TRANSFORM_ROTATE_90 || transform == SARVIK_TRANSFORM_ROTATE_270) {
        h->width = static_cast<uint16_t>(hh);
        h->height = static_cast<uint16_t>(w);
    }
}

}  // namespace sarvik
