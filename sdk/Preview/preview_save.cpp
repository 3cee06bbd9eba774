// Sarvik_BeginSave and Sarvik_EndSave: recordings on a running preview, dispatched by preview kind.
// Both run under the SDK mutex, so a concurrent stop cannot free the input while a file is being opened.
#include "../Common/sdk_global.h"
#include "preview_table.h"
#include "rtsp_preview_input.h"
#include "temp_preview_input.h"
#include "video_preview_input.h"

using namespace sarvik;

namespace {

int begin_temperature(TempPreviewInput *in, const char *path, int type) {
    if (type != SARVIK_SAVE_STREAM && type != SARVIK_SAVE_VIDEO) return SARVIK_ERR_REFUSED;
    if (!path || !*path) return SARVIK_ERR_INVALID_ARG;
    switch (type) {
        case SARVIK_SAVE_STREAM:
            return temp_recording_begin_stream(in, path);
        case SARVIK_SAVE_VIDEO:
            return temp_recording_begin_video(in, path);
        default:
            return SARVIK_ERR_REFUSED;
    }
}

int end_temperature(TempPreviewInput *in, int type) {
    switch (type) {
        case SARVIK_SAVE_STREAM:
            temp_recording_end_stream(in);
            return 0;
        case SARVIK_SAVE_VIDEO:
            temp_recording_end_video(in);
            return 0;
        default:
            return SARVIK_ERR_REFUSED;
    }
}

}  // namespace

extern "C" SARVIK_API int Sarvik_BeginSave(int preview, const char *path, int type) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (preview < 0 || preview >= kPreviewCount) return SARVIK_ERR_BAD_ID;
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[preview];
    if (!slot.inUse) return SARVIK_ERR_BAD_ID;
    switch (slot.param.previewKind) {
        case SARVIK_PREVIEW_TEMPERATURE:
            if (!slot.input) return SARVIK_ERR_BAD_ID;
            return begin_temperature(slot.input, path, type);
        // Video, mixed and RTSP kinds: dispatched here.
        case SARVIK_PREVIEW_VIDEO:
        case SARVIK_PREVIEW_MIXED:
            if (!slot.video) return SARVIK_ERR_BAD_ID;
            return video_preview_begin_save(slot.video, path, type);
        case SARVIK_PREVIEW_RTSP:
            if (!slot.rtsp) return SARVIK_ERR_BAD_ID;
            return rtsp_preview_begin_save(slot.rtsp, path, type);
        default:
            return SARVIK_ERR_BAD_ID;
    }
}

extern "C" SARVIK_API int Sarvik_EndSave(int preview, int type) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (preview < 0 || preview >= kPreviewCount) return SARVIK_ERR_BAD_ID;
    SdkLock lock;
    PreviewSlot &slot = preview_slots()[preview];
    if (!slot.inUse) return SARVIK_ERR_BAD_ID;
    switch (slot.param.previewKind) {
        case SARVIK_PREVIEW_TEMPERATURE:
            if (!slot.input) return SARVIK_ERR_BAD_ID;
            return end_temperature(slot.input, type);
        // Video, mixed and RTSP kinds: dispatched here.
        case SARVIK_PREVIEW_VIDEO:
        case SARVIK_PREVIEW_MIXED:
            if (!slot.video) return SARVIK_ERR_BAD_ID;
            return video_preview_end_save(slot.video, type);
        case SARVIK_PREVIEW_RTSP:
            if (!slot.rtsp) return SARVIK_ERR_BAD_ID;
            return rtsp_preview_end_save(slot.rtsp, type);
        default:
            return SARVIK_ERR_BAD_ID;
    }
}
