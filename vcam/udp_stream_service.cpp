#include "udp_stream_service.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "command_server.h"

namespace vcam {

namespace {

constexpr size_t kControlSize = sizeof(UdpControl);  // 524
constexpr size_t kFragmentHeader = sizeof(UdpFragmentHeader);
constexpr size_t kMaxSessions = 16;
constexpr int64_t kSessionIdleMs = 10000;
constexpr int kPollMaxMs = 100;
constexpr int kSlowPauseMs = 2;
constexpr int kSendBuffer = 4 << 20;

bool same_peer(const sockaddr_in &a, const sockaddr_in &b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

int bind_udp(const std::string &ip, uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &addr.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

UdpStreamService::UdpStreamService(const Options &opt, CameraState &state, int64_t startMs)
    : opt_(opt),
      state_(state),
      startMs_(startMs),
      periodUs_(1000000 / std::max<int>(1, opt.fps)),
      frame_(opt),
      datagram_(SARVIK_UDP_MAX_DATAGRAM) {
    sessions_.reserve(kMaxSessions);
}

UdpStreamService::~UdpStreamService() {
    if (controlFd_ >= 0) close(controlFd_);
    if (dataFd_ >= 0) close(dataFd_);
}

bool UdpStreamService::open() {
    controlFd_ = bind_udp(opt_.ip, opt_.stream.port);
    dataFd_ = controlFd_ >= 0 ? bind_udp(opt_.ip, 0) : -1;
    sockaddr_in bound{};
    socklen_t len = sizeof bound;
    if (dataFd_ < 0 || getsockname(dataFd_, reinterpret_cast<sockaddr *>(&bound), &len) != 0) {
        std::fprintf(stderr, "sarvik-vcam: cannot bind UDP on %s:%u: %s\n", opt_.ip.c_str(), opt_.stream.port,
                     std::strerror(errno));
        return false;
    }
    dataPort_ = ntohs(bound.sin_port);
    const int sndbuf = kSendBuffer;
    setsockopt(dataFd_, SOL_SOCKET, SO_SNDBUF, &sndbuf, sizeof sndbuf);
    return true;
}

UdpStreamService::Session *UdpStreamService::find(const sockaddr_in &peer) {
    for (Session &s : sessions_)
        if (same_peer(s.peer, peer)) return &s;
    return nullptr;
}

void UdpStreamService::handle_control(const uint8_t *msg, const sockaddr_in &from, int64_t nowMs) {
    UdpControl c;
    std::memcpy(&c, msg, sizeof c);
    if (c.msgType == SARVIK_UDP_CTRL_OPEN) {
        if (nowMs < awayUntilMs_) return;
        Session *s = find(from);
        if (!s) {
            if (sessions_.size() >= kMaxSessions) return;
            sessions_.emplace_back();
            s = &sessions_.back();
            s->peer = from;
        }
        *s = Session{};
        s->peer = from;
        s->lastHeardMs = nowMs;
        // The first frame goes out unasked, right after the reply.
        s->wanted = true;
        s->dueMs = nowMs;
        UdpControl reply = c;
        reply.status = 1;
        reply.msgType = SARVIK_UDP_CTRL_OPEN_REPLY;
        reply.port = dataPort_;
        sendto(controlFd_, &reply, sizeof reply, 0, reinterpret_cast<const sockaddr *>(&from), sizeof from);
    } else if (c.msgType == SARVIK_UDP_CTRL_NEXT_FRAME) {
        Session *s = find(from);
        if (!s) return;
        s->lastHeardMs = nowMs;
        s->wanted = true;
    }
}

void UdpStreamService::send_train(Session &s, size_t len, const std::atomic<bool> &stop) {
    const uint8_t *bytes = frame_.bytes();
    for (size_t at = 0; at < len && !stop;) {
        const size_t n = std::min<size_t>(SARVIK_UDP_MAX_PAYLOAD, len - at);
        UdpFragmentHeader h{};
        h.fragment = s.nextFragment++;
        h.flags = static_cast<uint16_t>((at == 0 ? SARVIK_UDP_FIRST : 0) | (at + n == len ? SARVIK_UDP_LAST : 0));
        h.payloadLength = static_cast<uint16_t>(n);
        std::memcpy(datagram_.data(), &h, sizeof h);
        std::memcpy(datagram_.data() + kFragmentHeader, bytes + at, n);
        sendto(dataFd_, datagram_.data(), kFragmentHeader + n, 0, reinterpret_cast<const sockaddr *>(&s.peer),
               sizeof s.peer);
        at += n;
        if (opt_.stream.slowPieces >= 2) std::this_thread::sleep_for(std::chrono::milliseconds(kSlowPauseMs));
    }
}

void UdpStreamService::serve_due(int64_t nowMs, const std::atomic<bool> &stop) {
    const StreamOptions &o = opt_.stream;
    for (Session &s : sessions_) {
        if (!s.wanted || s.silenced || nowMs < s.dueMs) continue;
        if (o.dropAfterFrames >= 0 && s.framesSent >= o.dropAfterFrames) {
            s.silenced = true;
            if (o.awayAfterDropS > 0) awayUntilMs_ = nowMs + static_cast<int64_t>(o.awayAfterDropS) * 1000;
            continue;
        }
        if (o.stallAfterFrames >= 0 && s.framesSent >= o.stallAfterFrames) {
            s.silenced = true;
            continue;
        }
        const bool malformed = o.malformedEvery > 0 && (s.framesSent + 1) % o.malformedEvery == 0;
        const size_t len = frame_.build(nowMs - startMs_, state_.shutter_closed(), o.delta, malformed);
        send_train(s, len, stop);
        s.wanted = false;
        ++s.framesSent;
        s.dueMs = std::max(s.dueMs + periodUs_ / 1000, nowMs - periodUs_ / 1000);
    }
    sessions_.erase(std::remove_if(sessions_.begin(), sessions_.end(),
                                   [nowMs](const Session &s) { return nowMs - s.lastHeardMs > kSessionIdleMs; }),
                    sessions_.end());
}

void UdpStreamService::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    uint8_t msg[kControlSize + 1];
    while (!stop && now_ms() < deadlineMs) {
        int64_t nowMs = now_ms();
        int64_t waitMs = kPollMaxMs;
        for (const Session &s : sessions_)
            if (s.wanted && !s.silenced) waitMs = std::min(waitMs, std::max<int64_t>(0, s.dueMs - nowMs));
        pollfd p{controlFd_, POLLIN, 0};
        // Every waiting request is read before frames go out, so a busy client cannot starve the others.
        for (int polled = 0; polled < 64 && poll(&p, 1, polled == 0 ? static_cast<int>(waitMs) : 0) > 0; ++polled) {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = recvfrom(controlFd_, msg, sizeof msg, MSG_TRUNC, reinterpret_cast<sockaddr *>(&from),
                                       &fromLen);
            if (n == static_cast<ssize_t>(kControlSize)) handle_control(msg, from, now_ms());
        }
        serve_due(now_ms(), stop);
    }
}

}  // namespace vcam
