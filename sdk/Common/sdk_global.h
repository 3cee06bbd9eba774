// The library-wide state: init flags, time-outs, configuration, discovery sockets, palette table, sessions.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>

#include "SarvikSDK.h"
#include "sdk_config.h"
#include "sdk_sync.h"

namespace sarvik {

enum InitFlag : uint32_t {
    kInitDone = 1u << 0,
    kInitLogger = 1u << 1,
    kInitDiscover = 1u << 2,
    kInitCodec = 1u << 3,
    kInitPalette = 1u << 4,
    kInitMutex = 1u << 5,
};

constexpr int kSessionCount = 256;
constexpr int kDefaultTimeoutMs = 2000;
constexpr int kMinTimeoutMs = 2000;
constexpr int kMaxTimeoutMs = 8000;

enum SessionFlag : uint32_t { kSessionInUse = 1u << 0 };

struct SessionEntry {
    uint32_t flags;
    uint32_t address;  // host byte order
    uint16_t commandPort;
    uint16_t previewPort;
    uint16_t framePort;
    uint16_t previewPortType3;
    uint16_t previewPortType5;
    _CameraBasicInfo basicInfo;
    _FixInfo fixInfo;
    uint8_t *frameBuffer;
    size_t frameBufferSize;
};

struct SdkGlobal {
    // Atomic: workers that outlive Sarvik_FreeSDK (alarm endpoints) read it while it is cleared.
    std::atomic<uint32_t> initFlags;
    std::atomic<int> connectTimeoutMs;
    std::atomic<int> sendTimeoutMs;
    std::atomic<int> recvTimeoutMs;
    SdkConfig config;
    int discoverSocket;  // broadcast socket, pass 1
    int answerSocket;    // bound to 55511: pass 2 and address-change answers
    char *paletteTable;
    int paletteCount;
    pthread_mutex_t sessionMutex;
    SessionEntry sessions[kSessionCount];
};

SdkGlobal &sdk();

inline bool sdk_initialised() { return (sdk().initFlags & kInitDone) != 0; }

// Holds the SDK mutex for a scope. Never across network traffic.
class SdkLock : public MutexLock {
public:
    SdkLock() : MutexLock(&sdk().sessionMutex) {}
};

// Resolves a user id to the camera address and a port picked from the entry (under the session mutex).
// Returns 0, -4 (not initialised) or -10 (id outside 0-255 or not in use).
enum class SessionPort { Command, Preview, Frame, PreviewType3, PreviewType5 };
int sdk_session_resolve(int userId, uint32_t *address, uint16_t *port, SessionPort which = SessionPort::Command);

// Serialises the snapshots of one user and keeps its snapshot buffer alive while one runs: logout takes it
// before freeing the buffer. Taken before the SDK mutex, never the other way round.
pthread_mutex_t *session_snapshot_lock(int userId);

// Size of a session's frame buffer for a camera's basic info.
size_t sdk_frame_buffer_size(const _CameraBasicInfo &info);

}  // namespace sarvik
