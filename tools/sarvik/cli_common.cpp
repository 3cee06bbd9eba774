#include "cli_common.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace cli {

int exitCodeOf(int status) {
    if (status >= 0) return EXIT_OK;
    if (status >= -100) return 100 - status;
    if (status >= -200 && status <= -194) return 201 + (status + 200);
    return EXIT_FAIL;
}

const char *statusText(int status) {
    switch (status) {
    case -1: return "failed";
    case -2: return "refused by the camera";
    case -4: return "the SDK is not started";
    case -5: return "out of memory";
    case -6: return "no free session or preview slot";
    case -7: return "not allowed now";
    case -8: return "invalid argument";
    case -10: return "no such session";
    case -11: return "malformed answer";
    case -12: return "preview ring failed";
    case -13: return "preview refused";
    case -14: return "preview thread failed";
    case -17: return "connection lost";
    case -18: return "connection restored";
    case -95: return "bad header";
    case -96: return "cannot bind";
    case -97: return "no answer or a wrong answer";
    case -98: return "cannot send";
    case -99: return "cannot connect (camera unreachable)";
    case -100: return "cannot create a socket";
    case -194: return "foreign or damaged file";
    case -195: return "unknown save type";
    case -197: return "short write";
    case -198: return "file cut short or unreadable";
    case -200: return "file cannot be opened or created";
    default: return status >= 0 ? "success" : "error";
    }
}

void error(const std::string &camera, const std::string &what, int status) {
    if (camera.empty())
        std::fprintf(stderr, "sarvik: %s: %s (%d)\n", what.c_str(), statusText(status), status);
    else
        std::fprintf(stderr, "sarvik: %s: %s: %s (%d)\n", camera.c_str(), what.c_str(), statusText(status), status);
}

void message(const std::string &text) {
    std::fprintf(stderr, "sarvik: %s\n", text.c_str());
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Progress::Progress(const std::string &label, int64_t total)
    : label_(label), total_(total), tty_(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
    if (!finished_ && tty_ && lastDraw_ > 0) std::fputc('\n', stderr);
}

void Progress::update(int64_t done, const std::string &extra) {
    lastDone_ = done;
    if (!tty_) return;
    const double t = now();
    if (t - lastDraw_ < 0.1) return;
    lastDraw_ = t;
    if (total_ > 0) {
        const int pct = static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total_));
        const int bar = pct / 5;
        std::fprintf(stderr, "\r%s [%-20.*s] %3d%% %s", label_.c_str(), bar, "####################", pct,
                     extra.c_str());
    } else {
        std::fprintf(stderr, "\r%s %lld %s", label_.c_str(), static_cast<long long>(done), extra.c_str());
    }
    std::fflush(stderr);
}

void Progress::finish(const std::string &extra) {
    if (finished_) return;
    finished_ = true;
    if (tty_) std::fputc('\r', stderr);
    if (total_ > 0)
        std::fprintf(stderr, "%s [####################] 100%% %s\n", label_.c_str(), extra.c_str());
    else
        std::fprintf(stderr, "%s %lld %s\n", label_.c_str(), static_cast<long long>(lastDone_), extra.c_str());
}

OutputFile::OutputFile(const std::string &path)
    : path_(path), temp_(path + ".part-" + std::to_string(static_cast<long>(getpid()))) {}

OutputFile::~OutputFile() {
    if (f_) std::fclose(f_);
    if (!committed_) std::remove(temp_.c_str());
}

int OutputFile::open() {
    f_ = std::fopen(temp_.c_str(), "wb");
    return f_ ? 0 : -200;
}

int OutputFile::write(const void *data, size_t size) {
    if (!f_) return -200;
    return std::fwrite(data, 1, size, f_) == size ? 0 : -197;
}

void OutputFile::closeForExternalWriter() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
}

int OutputFile::commit() {
    if (f_) {
        const bool ok = std::fflush(f_) == 0 && fsync(fileno(f_)) == 0;
        const bool closed = std::fclose(f_) == 0;
        f_ = nullptr;
        if (!ok || !closed) return -197;
    }
    if (std::rename(temp_.c_str(), path_.c_str()) != 0) return -200;
    committed_ = true;
    return 0;
}

}  // namespace cli
