#include "stream_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "command_server.h"
#include "stream_frame.h"

namespace vcam {

namespace {

constexpr int kSendTimeoutMs = 2000;
constexpr size_t kMaxClients = 32;
constexpr int kPollMs = 100;
constexpr int kSleepSliceMs = 20;
constexpr int64_t kStallHoldMs = 60000;
constexpr int kSlowPauseMs = 2;

}  // namespace

bool sleep_until_ms(int64_t untilMs, const std::atomic<bool> &stop) {
    for (int64_t left = untilMs - now_ms(); left > 0; left = untilMs - now_ms()) {
        if (stop) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<int64_t>(left, kSleepSliceMs)));
    }
    return !stop;
}

StreamService::StreamService(const Options &opt, CameraState &state, int64_t startMs)
    : opt_(opt), state_(state), startMs_(startMs), loop_(opt) {}

StreamService::~StreamService() {
    clients_.reap(true);
    if (listenFd_ >= 0) close(listenFd_);
}

bool StreamService::open() {
    return listen_now();
}

int listen_tcp(const std::string &ip, uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &addr.sin_addr);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
        std::fprintf(stderr, "sarvik-vcam: cannot listen on %s:%u: %s\n", ip.c_str(), port,
                     std::strerror(errno));
        if (fd >= 0) close(fd);
        fd = -1;
    }
    return fd;
}

bool StreamService::listen_now() {
    listenFd_ = listen_tcp(opt_.ip, opt_.stream.port);
    return listenFd_ >= 0;
}

void StreamService::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    while (!stop && now_ms() < deadlineMs) {
        clients_.reap(false);
        // A camera that dropped off the network refuses connections until it is back.
        if (now_ms() < awayUntilMs_) {
            if (listenFd_ >= 0) close(listenFd_);
            listenFd_ = -1;
            sleep_until_ms(std::min<int64_t>(awayUntilMs_, deadlineMs), stop);
            continue;
        }
        if (listenFd_ < 0 && !listen_now()) {
            sleep_until_ms(now_ms() + kPollMs, stop);
            continue;
        }
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        const int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        // A connection that raced the start of an absence is turned away like the ones after it.
        if (clients_.size() >= kMaxClients || now_ms() < awayUntilMs_) {
            close(fd);
            continue;
        }
        clients_.start(fd, kSendTimeoutMs,
                       [this, &stop, deadlineMs](int client) { stream(client, stop, deadlineMs); });
    }
    clients_.reap(true);
}

bool StreamService::send_frame(int fd, const uint8_t *bytes, size_t len, const std::atomic<bool> &stop) {
    if (opt_.stream.slowPieces < 2) return send_exact(fd, bytes, len);
    const size_t piece = std::max<size_t>(1, (len + opt_.stream.slowPieces - 1) / opt_.stream.slowPieces);
    for (size_t at = 0; at < len; at += piece) {
        if (stop || !send_exact(fd, bytes + at, std::min(piece, len - at))) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kSlowPauseMs));
    }
    return true;
}

// A stalled camera keeps the connection but sends nothing; it lets go when the client gives up.
void StreamService::hold_stalled(int fd, const std::atomic<bool> &stop, int64_t deadlineMs) {
    const int64_t until = std::min(now_ms() + kStallHoldMs, deadlineMs);
    uint8_t sink[256];
    while (!stop && now_ms() < until) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        if (recv(fd, sink, sizeof sink, 0) <= 0) return;
    }
}

void StreamService::stream(int fd, const std::atomic<bool> &stop, int64_t deadlineMs) {
    StreamFrame frame(opt_);
    const StreamOptions &s = opt_.stream;
    // Rate 0: no pacing, the socket's send buffer sets the pace.
    const int64_t periodUs = opt_.fps > 0 ? 1000000 / opt_.fps : 0;
    const int64_t firstMs = now_ms();
    for (int64_t sent = 0; !stop && now_ms() < deadlineMs; ++sent) {
        if (s.dropAfterFrames >= 0 && sent >= s.dropAfterFrames) {
            if (s.awayAfterDropS > 0) awayUntilMs_ = now_ms() + static_cast<int64_t>(s.awayAfterDropS) * 1000;
            return;
        }
        if (s.stallAfterFrames >= 0 && sent >= s.stallAfterFrames) {
            hold_stalled(fd, stop, deadlineMs);
            return;
        }
        if (periodUs > 0 && !sleep_until_ms(firstMs + sent * periodUs / 1000, stop)) return;
        const bool malformed = s.malformedEvery > 0 && (sent + 1) % s.malformedEvery == 0;
        const bool shutterClosed = state_.shutter_closed();
        const size_t len = loop_.size() > 0 && !shutterClosed
                               ? frame.build_looped(loop_, static_cast<uint32_t>(sent), s.delta, malformed)
                               : frame.build(now_ms() - startMs_, shutterClosed, s.delta, malformed);
        // Rendering and encoding take a while at large sizes: the time stamp says when the frame leaves.
        frame.stamp_now();
        if (!send_frame(fd, frame.bytes(), len, stop)) return;
    }
}

}  // namespace vcam
