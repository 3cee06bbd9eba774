// Library start-up and release, the log handler and the routing of FFmpeg's own log.
#include "SarvikFfmpeg.h"
#include "sff_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace {

std::atomic<Ffmpeg_LogHandler> g_handler{nullptr};
std::atomic<int> g_libLogLevel{AV_LOG_QUIET};

// Init bookkeeping: the only mutable state shared between handles.
std::mutex g_initMutex;
int g_initCount = 0;
int g_savedAvLevel = AV_LOG_INFO;

thread_local sff::LogErrorWatch *t_watch = nullptr;

void forwardAvLog(void *avcl, int level, const char *fmt, va_list vl) {
    if (t_watch) t_watch->count(avcl, level, fmt);
    if (level > g_libLogLevel.load(std::memory_order_relaxed)) return;
    Ffmpeg_LogHandler fn = g_handler.load(std::memory_order_acquire);
    if (!fn) return;
    thread_local int printPrefix = 1;
    char text[1024];
    av_log_format_line2(avcl, level, fmt, vl, text, sizeof text, &printPrefix);
    size_t n = strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r')) text[--n] = '\0';
    if (n > 0) fn("av_log", 0, "ffmpeg", text);
}

}  // namespace

namespace sff {

void logLine(const char *func, int line, const char *file, const char *fmt, ...) {
    Ffmpeg_LogHandler fn = g_handler.load(std::memory_order_acquire);
    if (!fn) return;
    char text[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    fn(func, line, file, text);
}

LogErrorWatch::LogErrorWatch(const void *context, const char *expected)
    : context_(context), expected_(expected), outer_(t_watch) {
    t_watch = this;
}

LogErrorWatch::~LogErrorWatch() {
    t_watch = outer_;
}

void LogErrorWatch::count(const void *context, int level, const char *fmt) {
    if (context != context_ || level > AV_LOG_ERROR) return;
    if (expected_ && fmt && std::strncmp(fmt, expected_, std::strlen(expected_)) == 0) return;
    ++errors_;
}

}  // namespace sff

extern "C" {

int Ffmpeg_Init(void) {
    std::lock_guard<std::mutex> lock(g_initMutex);
    if (g_initCount == 0) {
        g_savedAvLevel = av_log_get_level();
        av_log_set_callback(forwardAvLog);
        av_log_set_level(g_libLogLevel.load());
        int ret = avformat_network_init();
        if (ret < 0) {
            SFF_LOG("avformat_network_init: %s", sff::AvErrText(ret).c_str());
            av_log_set_callback(av_log_default_callback);
            av_log_set_level(g_savedAvLevel);
            return SFF_E_IO;
        }
    }
    ++g_initCount;
    return SFF_OK;
}

int Ffmpeg_Free(void) {
    std::lock_guard<std::mutex> lock(g_initMutex);
    if (g_initCount == 0) return SFF_OK;
    if (--g_initCount == 0) {
        avformat_network_deinit();
        av_log_set_callback(av_log_default_callback);
        av_log_set_level(g_savedAvLevel);
    }
    return SFF_OK;
}

int Ffmpeg_SetLogHandler(Ffmpeg_LogHandler fn) {
    g_handler.store(fn, std::memory_order_release);
    return SFF_OK;
}

int Ffmpeg_SetLibraryLogLevel(int level) {
    if (level < AV_LOG_QUIET) level = AV_LOG_QUIET;
    g_libLogLevel.store(level);
    std::lock_guard<std::mutex> lock(g_initMutex);
    if (g_initCount > 0) av_log_set_level(level);
    return SFF_OK;
}

const char *Ffmpeg_ErrorText(int status) {
    switch (status) {
        case SFF_OK:
            return "success";
        case SFF_NO_OUTPUT:
            return "no output yet";
        case SFF_E_ARG:
            return "invalid argument";
        case SFF_E_STATE:
            return "call out of order";
        case SFF_E_NOMEM:
            return "out of memory";
        case SFF_E_CODEC:
            return "codec failure";
        case SFF_E_IO:
            return "input/output failure";
        case SFF_E_DATA:
            return "malformed compressed data";
        case SFF_E_TIMEOUT:
            return "network time-out";
        case SFF_E_EOF:
            return "end of stream";
        case SFF_E_OPEN:
            return "source could not be opened";
        case SFF_E_UNSUPPORTED:
            return "no decodable video";
        case SFF_E_NODATA:
            return "no key frame recorded";
        default:
            return status > 0 ? "success" : "unknown error";
    }
}

}  // extern "C"
