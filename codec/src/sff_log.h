// Diagnostics of the codec library: lines go to the handler the host installed, or nowhere.
#pragma once

extern "C" {
#include <libavutil/error.h>
}

namespace sff {

// Source files are logged by their base name, not the build machine's path.
constexpr const char *baseName(const char *path) {
    const char *base = path;
    for (const char *p = path; *p; ++p)
        if (*p == '/') base = p + 1;
    return base;
}

void logLine(const char *func, int line, const char *file, const char *fmt, ...)
    __attribute__((format(printf, 4, 5)));

// FFmpeg's text for an AVERROR code, kept alive for the full expression that logs it.
struct AvErrText {
    char text[AV_ERROR_MAX_STRING_SIZE];
    explicit AvErrText(int err) { av_strerror(err, text, sizeof text); }
    const char *c_str() const { return text; }
};

// Per-frame calls fail in streaks (a dead source, a corrupt stream); only the first failure of a
// streak with a given code is worth a line.
struct RepeatFilter {
    int lastCode = 0;
    bool shouldLog(int code) {
        bool fresh = code != lastCode;
        lastCode = code;
        return fresh;
    }
    void reset() { lastCode = 0; }
};

// Counts the error messages FFmpeg logs about one context on this thread while the watch lives.
// The H.264 parser reports malformed parameter sets and SEI only there. Needs the log routing
// that Ffmpeg_Init installs.
class LogErrorWatch {
public:
    // Messages beginning with `expected` are not counted.
    explicit LogErrorWatch(const void *context, const char *expected = nullptr);
    ~LogErrorWatch();
    LogErrorWatch(const LogErrorWatch &) = delete;
    LogErrorWatch &operator=(const LogErrorWatch &) = delete;
    int errors() const { return errors_; }
    void count(const void *context, int level, const char *fmt);

private:
    const void *context_;
    const char *expected_;
    int errors_ = 0;
    LogErrorWatch *outer_;
};

}  // namespace sff

#define SFF_LOG(...) ::sff::logLine(__func__, __LINE__, ::sff::baseName(__FILE__), __VA_ARGS__)
#define SFF_LOG_AS(func, ...) ::sff::logLine(func, __LINE__, ::sff::baseName(__FILE__), __VA_ARGS__)
