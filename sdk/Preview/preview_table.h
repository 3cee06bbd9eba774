// The 256 preview slots shared by every preview kind, guarded by the SDK mutex (sdk().sessionMutex), which
// is never held while a camera is talked to.
#pragma once

#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int kPreviewCount = 256;

struct TempPreviewInput;
struct VideoPreviewInput;
struct RtspPreviewInput;

struct PreviewSlot {
    bool inUse;
    uint32_t address;  // camera IPv4, host order
    uint16_t port;     // the camera port for the slot's preview kind
    _CameraBasicInfo basicInfo;
    _FixInfo fixInfo;
    _DestripInfo destrip;
    _DenoiseInfo denoise;
    PreviewParam param;
    int transform;  // 0..5
    int interProcess;
    int thread2;
    // Null while the slot is being started or stopped: the caller's thread that set it up owns the input
    // then, so stop, pause and set-image leave it alone. Begin-save and end-save reach the input the same
    // way (under the SDK mutex), then take its fileMutex and set or clear the writing flags.
    TempPreviewInput *input;
    // The input of a video or mixed preview (kinds 3, 5) and of an RTSP preview (kind 4), owned the same way.
    VideoPreviewInput *video;
    RtspPreviewInput *rtsp;
};

// The table itself; touch it only under the SDK mutex.
PreviewSlot *preview_slots();

// Under the SDK mutex: marks the first free slot in use (cleared, input null) and returns its index, or -6.
int preview_slot_take_locked();
// Under the SDK mutex: clears the slot and marks it free.
void preview_slot_release_locked(int index);

// The preview whose callback the calling thread is running, or -1. Calls that would free what that thread
// is using (stopping its own preview, releasing the library) refuse from inside it.
int preview_callback_current();

// Marks the calling thread as inside a preview's callback for a scope.
class PreviewCallbackScope {
public:
    explicit PreviewCallbackScope(int index);
    ~PreviewCallbackScope();
    PreviewCallbackScope(const PreviewCallbackScope &) = delete;
    PreviewCallbackScope &operator=(const PreviewCallbackScope &) = delete;

private:
    int saved_;
};

// Calls a preview's frame callback with the scope above around it.
inline void preview_call_back(int index, const PreviewParam &param, int status, _DataFrame *frame) {
    if (!param.callback) return;
    PreviewCallbackScope scope(index);
    param.callback(status, frame, param.user);
}

// Under the SDK mutex: true while the callback of preview index waits inside a stop of another preview.
// Such a callback thread must not be joined by a stop from another callback, or the two would wait for
// each other.
bool &preview_stopping_from_callback_locked(int index);

}  // namespace sarvik
