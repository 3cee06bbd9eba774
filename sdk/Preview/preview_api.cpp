// The exported preview calls: start (temperature, video, mixed, RTSP), transform start, stop, pause and set-image
// over the preview table.
#include <malloc.h>
#include <pthread.h>

#include <atomic>
#include <cstring>

#include "../Alg/stretch_context.h"
#include "../Common/sdk_global.h"
#include "../Common/sdk_log.h"
#include "preview_table.h"
#include "rtsp_preview_input.h"
#include "temp_preview_input.h"
#include "video_preview_input.h"

namespace sarvik {

namespace {

constexpr uint16_t kDefaultTemperaturePort = SARVIK_PORT_TEMPERATURE;

bool begins_with(const char *text, size_t size, const char *prefix) {
    const size_t n = std::strlen(prefix);
    return n <= size && std::strncmp(text, prefix, n) == 0;
}

// Reads the filter configurations the camera model calls for and switches two-thread mode on with them.
// Talks to the camera: never under the SDK mutex.
void apply_camera_rules(int user, PreviewSlot *slot) {
    const char *sw = slot->basicInfo.softwareId;
    const size_t swSize = sizeof slot->basicInfo.softwareId;
    if (begins_with(sw, swSize, "R1280H")) {
        if (Sarvik_GetInfo(user, SARVIK_INFO_DESTRIP, &slot->destrip, sizeof slot->destrip) != 0)
            std::memset(&slot->destrip, 0, sizeof slot->destrip);
        slot->thread2 = 1;
    } else if (begins_with(sw, swSize, "R384H") || begins_with(sw, swSize, "R640H")) {
        if (Sarvik_GetInfo(user, SARVIK_INFO_DENOISE, &slot->denoise, sizeof slot->denoise) == 0) {
            if (slot->denoise.type != 0) slot->thread2 = 1;
        } else {
            std::memset(&slot->denoise, 0, sizeof slot->denoise);
        }
    }
}

int start_temperature(int user, int index, PreviewSlot *work) {
    apply_camera_rules(user, work);
    TempPreviewInput *in = nullptr;
    int r = temp_preview_build(*work, index, &in);
    if (r == 0) {
        r = temp_preview_start_threads(in);
        if (r != 0) temp_preview_stop_and_free(in);
    }
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[index];
    if (r != 0) {
        preview_slot_release_locked(index);
        return r;
    }
    slot.destrip = work->destrip;
    slot.denoise = work->denoise;
    slot.thread2 = work->thread2;
    slot.input = in;
    return 0;
}

int start_video(int index, PreviewSlot *work) {
    VideoPreviewInput *in = nullptr;
    int r = video_preview_build(*work, index, &in);
    if (r == 0) {
        r = video_preview_start(in);
        if (r != 0) video_preview_stop_and_free(in);
    }
    SdkLock lock;
    if (r != 0) {
        preview_slot_release_locked(index);
        return r;
    }
    preview_slots()[index].video = in;
    return 0;
}

int start_preview(int user, PreviewParam *param, int transform) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (user < 0 || user >= kSessionCount) return SARVIK_ERR_BAD_ID;
    // A preview without a callback would receive and render for nobody.
    if (!param || !param->callback) return SARVIK_ERR_INVALID_ARG;
    PreviewSlot work;
    int index;
    {
        SdkLock lock;
        const SessionEntry &s = sdk().sessions[user];
        if (!(s.flags & kSessionInUse)) return SARVIK_ERR_BAD_ID;
        index = preview_slot_take_locked();
        if (index < 0) return index;
        PreviewSlot &slot = preview_slots()[index];
        slot.address = s.address;
        switch (param->previewKind) {
            case SARVIK_PREVIEW_VIDEO:
                slot.port =
                    s.previewPortType3 ? s.previewPortType3 : static_cast<uint16_t>(SARVIK_PORT_VIDEO);
                break;
            case SARVIK_PREVIEW_MIXED:
                slot.port =
                    s.previewPortType5 ? s.previewPortType5 : static_cast<uint16_t>(SARVIK_PORT_MIXED);
                break;
            default:
                slot.port = s.previewPort ? s.previewPort : kDefaultTemperaturePort;
                break;
        }
        slot.basicInfo = s.basicInfo;
        slot.fixInfo = s.fixInfo;
        slot.param = *param;
        slot.transform = transform;
        slot.interProcess = sdk().config.previewEnableInterProcess;
        slot.thread2 = sdk().config.previewEnableThread2;
        work = slot;
    }
    int r;
    switch (param->previewKind) {
        case SARVIK_PREVIEW_TEMPERATURE:
            r = start_temperature(user, index, &work);
            break;
        case SARVIK_PREVIEW_VIDEO:
        case SARVIK_PREVIEW_MIXED:
            r = start_video(index, &work);
            break;
        default: {
            SdkLock lock;
            preview_slot_release_locked(index);
            return SARVIK_ERR_FAIL;
        }
    }
    if (r != 0) return r;
    SdkLock lock;
    const PreviewSlot &slot = preview_slots()[index];
    param->reserved_32 = slot.param.reserved_32;
    param->reserved_34 = slot.param.reserved_34;
    return index;
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_StartPreview(int userId, PreviewParam *param) {
    return start_preview(userId, param, SARVIK_TRANSFORM_NONE);
}

extern "C" SARVIK_API int Sarvik_StartPreviewTempTransform(int userId, PreviewParam *param, int transform) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (userId < 0 || userId >= kSessionCount) return SARVIK_ERR_BAD_ID;
    if (!param) return SARVIK_ERR_INVALID_ARG;
    if (transform < 0 || transform > 5 || param->previewKind != SARVIK_PREVIEW_TEMPERATURE || param->display)
        return SARVIK_ERR_REFUSED;
    return start_preview(userId, param, transform);
}

extern "C" SARVIK_API int Sarvik_StartPreviewRtsp(const void *rtsp, PreviewParam *param) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (!rtsp || !param || !param->callback) return SARVIK_ERR_INVALID_ARG;
    // The start reports the picture size back into the caller's record.
    auto *source = static_cast<RtspParam *>(const_cast<void *>(rtsp));
    int index;
    PreviewParam copy;
    {
        SdkLock lock;
        index = preview_slot_take_locked();
        if (index < 0) return index;
        PreviewSlot &slot = preview_slots()[index];
        slot.param = *param;
        slot.param.previewKind = SARVIK_PREVIEW_RTSP;
        copy = slot.param;
    }
    RtspPreviewInput *in = nullptr;
    int r = rtsp_preview_build(source, copy, index, &in);
    if (r == 0) {
        r = rtsp_preview_start(in);
        if (r != 0) rtsp_preview_stop_and_free(in);
    }
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[index];
    if (r != 0) {
        preview_slot_release_locked(index);
        return r;
    }
    slot.rtsp = in;
    param->previewKind = SARVIK_PREVIEW_RTSP;
    param->reserved_32 = slot.param.reserved_32;
    param->reserved_34 = slot.param.reserved_34;
    return index;
}

extern "C" SARVIK_API int Sarvik_StopPreview(int preview) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (preview < 0 || preview >= kPreviewCount) return SARVIK_ERR_BAD_ID;
    // A stop joins the preview's threads: its own callback would wait for itself and then free the frame
    // it is still running on.
    const int caller = preview_callback_current();
    if (caller == preview) {
        SDK_LOG("preview %d, stop refused inside its own callback", preview);
        return SARVIK_ERR_STATE;
    }
    TempPreviewInput *in;
    VideoPreviewInput *video;
    RtspPreviewInput *rtsp;
    {
        SdkLock lock;
        PreviewSlot &slot = preview_slots()[preview];
        if (!slot.inUse || (!slot.input && !slot.video && !slot.rtsp)) return 0;
        if (caller >= 0 && preview_stopping_from_callback_locked(preview)) {
            SDK_LOG("preview %d, stop refused inside the callback of preview %d: its callback waits on a stop",
                    preview, caller);
            return SARVIK_ERR_STATE;
        }
        // Detached under the lock: pause, set-image and save no longer reach it, a second stop finds nothing.
        in = slot.input;
        video = slot.video;
        rtsp = slot.rtsp;
        slot.input = nullptr;
        slot.video = nullptr;
        slot.rtsp = nullptr;
        if (caller >= 0) preview_stopping_from_callback_locked(caller) = true;
    }
    temp_preview_stop_and_free(in);
    video_preview_stop_and_free(video);
    rtsp_preview_stop_and_free(rtsp);
    // A preview frees megabytes of frame blocks that the heap would otherwise keep for good once its
    // thresholds have grown: hand them back to the system.
    malloc_trim(0);
    SdkLock lock;
    if (caller >= 0) preview_stopping_from_callback_locked(caller) = false;
    preview_slot_release_locked(preview);
    return 0;
}

extern "C" SARVIK_API int Sarvik_PausePreview(int preview, int pause) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (preview < 0 || preview >= kPreviewCount) return SARVIK_ERR_BAD_ID;
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[preview];
    if (!slot.inUse) return 0;
    std::atomic<uint32_t> *flags = slot.input   ? &slot.input->flags
                                   : slot.video ? &slot.video->flags
                                   : slot.rtsp  ? &slot.rtsp->flags
                                                : nullptr;
    static_assert(uint32_t{kPreviewPaused} == uint32_t{kVideoPaused} &&
                      uint32_t{kPreviewPaused} == uint32_t{kRtspPaused},
                  "one paused bit for every kind");
    if (!flags) return 0;
    if (pause == 1)
        *flags |= kPreviewPaused;
    else
        *flags &= ~kPreviewPaused;
    return 0;
}

extern "C" SARVIK_API int Sarvik_PreviewSetImage(int preview, _strech_control *ctl, int palette) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (preview < 0 || preview >= kPreviewCount) return SARVIK_ERR_BAD_ID;
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[preview];
    if (!slot.inUse || !slot.input || slot.param.previewKind != SARVIK_PREVIEW_TEMPERATURE)
        return SARVIK_ERR_BAD_ID;
    TempPreviewInput *in = slot.input;
    if (ctl) stretch_apply_control(in->stretch, ctl, true);
    if (palette >= 0 && palette < in->paletteCount) in->palette = palette;
    return 0;
}
