// Library start-up and release, time-outs, and the session-table lookup every per-camera call uses.
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "SarvikFfmpeg.h"
#include "SarvikSDK.h"
#include "discover_sockets.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "../Preview/preview_table.h"
#include "zq_base.h"

namespace sarvik {

SdkGlobal &sdk() {
    static SdkGlobal g{};
    return g;
}

namespace {

// The default logger's life. The initialised library holds it, and so does every worker that may log after
// Sarvik_FreeSDK; the last hold to go destroys it. Lines print under the shared lock, so a line never
// meets the destruction; configuring and destroying take it exclusively.
std::shared_mutex g_logLife;
int g_logHolds = 0;                   // under g_logLife, exclusive
std::atomic<bool> g_logLive{false};  // written under g_logLife, exclusive

// Under g_logLife, exclusive.
void drop_log_hold_locked() {
    if (g_logHolds > 0 && --g_logHolds == 0) {
        g_logLive = false;
        logger_destroy_default();  // flushes the open file first
    }
}

}  // namespace

void sdk_log_printf(const char *fmt, ...) {
    if (!g_logLive.load(std::memory_order_acquire)) return;
    std::shared_lock<std::shared_mutex> lock(g_logLife);
    if (!g_logLive.load(std::memory_order_relaxed)) return;
    va_list ap;
    va_start(ap, fmt);
    logger_vprint(logger_create_default(), LOG_LEVEL_DEBUG, fmt, ap);
    va_end(ap);
}

SdkLogHold::SdkLogHold() {
    std::unique_lock<std::shared_mutex> lock(g_logLife);
    held_ = g_logLive.load();
    if (held_) ++g_logHolds;
}

SdkLogHold::~SdkLogHold() {
    if (!held_) return;
    std::unique_lock<std::shared_mutex> lock(g_logLife);
    drop_log_hold_locked();
}

namespace {

// Log files may be configured into a folder that does not exist yet; make it, so lines are not dropped.
void make_parent_dirs(const char *path) {
    std::string p(path);
    for (size_t i = 1; i < p.size(); ++i) {
        if (p[i] != '/') continue;
        std::string dir = p.substr(0, i);
        if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return;
    }
}

void discard_line(int, const char *, int) {}

// Codec-layer diagnostics end up in the SDK's log in the SDK's own line shape.
void codec_log(const char *func, int line, const char *file, const char *text) {
    sdk_log_printf("%s,%d,%s:\n%s\n\n", func, line, file, text);
}

// Points the default logger at the configured file (or at nothing) and takes the library's own hold on it.
// A logger still held by workers of an earlier start is reused.
void configure_logger(const SdkConfig &config) {
    std::unique_lock<std::shared_mutex> lock(g_logLife);
    logger_t *log = logger_create_default();
    if (config.logPath[0]) {
        make_parent_dirs(config.logPath);
        logger_set_handler(log, nullptr);
        logger_set_file(log, config.logPath);
    } else {
        logger_set_handler(log, discard_line);
    }
    ++g_logHolds;
    g_logLive = true;
}

void free_session_buffers(SdkGlobal &g) {
    for (SessionEntry &s : g.sessions) {
        std::free(s.frameBuffer);
        s.frameBuffer = nullptr;
    }
}

void clear_state(SdkGlobal &g) {
    g.initFlags = 0;
    g.connectTimeoutMs = kDefaultTimeoutMs;
    g.sendTimeoutMs = kDefaultTimeoutMs;
    g.recvTimeoutMs = kDefaultTimeoutMs;
    std::memset(&g.config, 0, sizeof g.config);
    g.discoverSocket = -1;
    g.answerSocket = -1;
    g.paletteTable = nullptr;
    g.paletteCount = 0;
    std::memset(&g.sessionMutex, 0, sizeof g.sessionMutex);
    // Entries left over from an earlier start (never logged out) die here; their buffers must not leak.
    free_session_buffers(g);
    std::memset(g.sessions, 0, sizeof g.sessions);
}

// Undoes exactly the resources recorded in the init flags, in reverse order of acquisition.
void release(SdkGlobal &g) {
    if (g.initFlags & kInitMutex) pthread_mutex_destroy(&g.sessionMutex);
    if (g.initFlags & kInitPalette) Sarvik_FreePaletteData(&g.paletteTable);
    g.paletteCount = 0;
    if (g.initFlags & kInitCodec) {
        Ffmpeg_Free();
        Ffmpeg_SetLogHandler(nullptr);
    }
    if (g.initFlags & kInitDiscover) discover_sockets_close(&g.discoverSocket, &g.answerSocket);
    if (g.initFlags & kInitLogger) {
        g.initFlags &= ~kInitLogger;
        std::unique_lock<std::shared_mutex> lock(g_logLife);
        drop_log_hold_locked();
    }
    g.initFlags = 0;
}

}  // namespace

int sdk_session_resolve(int userId, uint32_t *address, uint16_t *port, SessionPort which) {
    SdkGlobal &g = sdk();
    if (!sdk_initialised()) return -4;
    if (userId < 0 || userId >= kSessionCount) return -10;
    pthread_mutex_lock(&g.sessionMutex);
    const SessionEntry &s = g.sessions[userId];
    int ret = -10;
    if (s.flags & kSessionInUse) {
        *address = s.address;
        switch (which) {
            case SessionPort::Command: *port = s.commandPort; break;
            case SessionPort::Preview: *port = s.previewPort; break;
            case SessionPort::Frame: *port = s.framePort; break;
            case SessionPort::PreviewType3: *port = s.previewPortType3; break;
            case SessionPort::PreviewType5: *port = s.previewPortType5; break;
        }
        ret = 0;
    }
    pthread_mutex_unlock(&g.sessionMutex);
    return ret;
}

size_t sdk_frame_buffer_size(const _CameraBasicInfo &info) {
    size_t w = info.dataWidth, h = info.dataHeight;
    size_t w2 = info.videoWidth, h2 = info.videoHeight;
    if (w2 == 0 || h2 == 0) {
        w2 = w;
        h2 = h;
    }
    return (2 * w2 * h2 + w * h + 8358) * 2;
}

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_InitSDK(void) {
    SdkGlobal &g = sdk();
    if (g.initFlags & kInitDone) return 0;
    clear_state(g);

    char exeDir[kConfigTextSize] = {0};
    zq_get_exedir(exeDir, sizeof exeDir);
    sdkconfig_load(&g.config, exeDir);

    configure_logger(g.config);
    g.initFlags |= kInitLogger;
    SDK_LOG("encoder: %d, decoder: %d, syncTime: %d, previewEnableInterProcess: %d, previewEnableThread2: %d",
            g.config.encoder, g.config.decoder, g.config.syncTime, g.config.previewEnableInterProcess,
            g.config.previewEnableThread2);

    int ret = discover_sockets_open(&g.discoverSocket, &g.answerSocket);
    if (ret != 0) {
        release(g);
        return ret;
    }
    g.initFlags |= kInitDiscover;

    Ffmpeg_SetLogHandler(codec_log);
    ret = Ffmpeg_Init();
    if (ret != 0) {
        SDK_LOG("Ffmpeg_Init, error %d", ret);
        Ffmpeg_SetLogHandler(nullptr);
        release(g);
        return ret;
    }
    g.initFlags |= kInitCodec;

    g.paletteTable = Sarvik_AllocPaletteData(&g.paletteCount);
    if (!g.paletteTable) {
        release(g);
        return -5;
    }
    g.initFlags |= kInitPalette;

    if (pthread_mutex_init(&g.sessionMutex, nullptr) != 0) {
        release(g);
        return -5;
    }
    g.initFlags |= kInitMutex | kInitDone;
    return 0;
}

extern "C" SARVIK_API void Sarvik_FreeSDK(void) {
    SdkGlobal &g = sdk();
    if (!(g.initFlags & kInitDone)) return;
    // The calling thread is a preview's worker: releasing the codec library and the tables under it is
    // not for it to do.
    if (preview_callback_current() >= 0) {
        SDK_LOG("Sarvik_FreeSDK refused inside the callback of preview %d", preview_callback_current());
        return;
    }
    release(g);
}

extern "C" SARVIK_API void Sarvik_SetTimeout(int connect_ms, int send_ms, int recv_ms) {
    SdkGlobal &g = sdk();
    auto inRange = [](int v) { return v >= kMinTimeoutMs && v <= kMaxTimeoutMs; };
    if (inRange(connect_ms)) g.connectTimeoutMs = connect_ms;
    if (inRange(send_ms)) g.sendTimeoutMs = send_ms;
    if (inRange(recv_ms)) g.recvTimeoutMs = recv_ms;
}
