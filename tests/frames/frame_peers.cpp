#include "frame_peers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "delta_run_encode.h"

namespace frametest {

namespace {

constexpr int kLifetimeMs = 30000;

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

sockaddr_in address(const std::string &ip, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    return a;
}

}  // namespace

uint32_t ip_host_order(const std::string &ip) { return ntohl(address(ip, 0).sin_addr.s_addr); }

_DataFrameHeader frame_header(uint16_t width, uint16_t height, int32_t encodedLength, uint8_t mark) {
    _DataFrameHeader h;
    std::memset(&h, 0, sizeof h);
    h.width = width;
    h.height = height;
    h.encodedLength = encodedLength;
    h.dataKind = 2;
    h.slope = 10;
    h.offset = -40;
    h.timestamp = 10000000;
    // Reserved bytes carry a pattern: receivers must hand them on untouched.
    for (size_t i = 0; i < sizeof h.reserved_56; ++i) h.reserved_56[i] = static_cast<uint8_t>(mark + i);
    return h;
}

Bytes header_bytes(const _DataFrameHeader &h) {
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&h);
    return Bytes(p, p + sizeof h);
}

Bytes frame_bytes(uint16_t width, uint16_t height, const std::vector<int16_t> &samples, bool encoded, uint8_t mark) {
    Bytes payload;
    if (encoded) {
        payload = delta_run_encode(samples);
    } else {
        const uint8_t *p = reinterpret_cast<const uint8_t *>(samples.data());
        payload.assign(p, p + 2 * samples.size());
    }
    Bytes out = header_bytes(frame_header(width, height, encoded ? static_cast<int32_t>(payload.size()) : 0, mark));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::vector<int16_t> scene(uint16_t width, uint16_t height, int seed) {
    std::vector<int16_t> s(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int v = 200 + x / 2 + y / 3 + seed * 7 + ((x * 7 + y * 13 + seed) % 5);
            if (x > width / 3 && x < width / 2 && y > height / 3 && y < height / 2) v += 900;
            s[static_cast<size_t>(y) * width + x] = static_cast<int16_t>(v);
        }
    return s;
}

TcpStreamPeer::TcpStreamPeer(const std::string &ip, uint16_t port, std::vector<Connection> connections)
    : connections_(std::move(connections)) {
    listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a = address(ip, port);
    if (bind(listenFd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(listenFd_, 4) != 0) {
        close(listenFd_);
        listenFd_ = -1;
        return;
    }
    listening_ = true;
    thread_ = std::thread([this] { loop(); });
}

TcpStreamPeer::~TcpStreamPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (int fd : held_) close(fd);
    if (listenFd_ >= 0) close(listenFd_);
}

void TcpStreamPeer::loop() {
    const int64_t deadline = now_ms() + kLifetimeMs;
    size_t served = 0;
    while (!stop_ && now_ms() < deadline && listenFd_ >= 0 && served < connections_.size()) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        const int c = accept(listenFd_, nullptr, nullptr);
        if (c < 0) continue;
        ++accepted_;
        timeval tv{5, 0};
        setsockopt(c, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        const Connection &conn = connections_[served++];
        // The last script is being served: a further connect must be refused, not queued.
        if (served == connections_.size()) {
            close(listenFd_);
            listenFd_ = -1;
        }
        const size_t step = conn.pieceSize ? conn.pieceSize : (conn.bytes.empty() ? 1 : conn.bytes.size());
        for (size_t off = 0; off < conn.bytes.size() && !stop_; off += step) {
            const size_t n = std::min(step, conn.bytes.size() - off);
            if (send(c, conn.bytes.data() + off, n, MSG_NOSIGNAL) != static_cast<ssize_t>(n)) break;
            if (conn.pauseMs) sleep_ms(conn.pauseMs);
        }
        if (conn.closeAfter)
            close(c);
        else
            held_.push_back(c);
    }
}

Bytes fragment(uint16_t number, uint16_t flags, const Bytes &payload, int announcedLength) {
    UdpFragmentHeader h{};
    h.fragment = number;
    h.flags = flags;
    h.payloadLength = static_cast<uint16_t>(announcedLength >= 0 ? announcedLength : static_cast<int>(payload.size()));
    Bytes out(sizeof h);
    std::memcpy(out.data(), &h, sizeof h);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Train split_frame(const Bytes &frame, uint16_t first, size_t payloadPerFragment) {
    Train t;
    for (size_t off = 0; off < frame.size(); off += payloadPerFragment) {
        const size_t n = std::min(payloadPerFragment, frame.size() - off);
        uint16_t flags = 0;
        if (off == 0) flags |= SARVIK_UDP_FIRST;
        if (off + n == frame.size()) flags |= SARVIK_UDP_LAST;
        t.push_back(fragment(static_cast<uint16_t>(first + t.size()), flags,
                             Bytes(frame.begin() + static_cast<ptrdiff_t>(off), frame.begin() + static_cast<ptrdiff_t>(off + n))));
    }
    return t;
}

Bytes control(uint16_t status, uint16_t type, uint16_t port) {
    UdpControl c;
    std::memset(&c, 0, sizeof c);
    c.status = status;
    c.msgType = type;
    c.port = port;
    c.reserved_14[0] = 0x77;  // bytes the receiver must send back as it got them
    Bytes out(sizeof c);
    std::memcpy(out.data(), &c, sizeof c);
    return out;
}

UdpCameraPeer::UdpCameraPeer(const std::string &ip, uint16_t port, Bytes reply, std::vector<Train> trains)
    : reply_(std::move(reply)), trains_(std::move(trains)) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = address(ip, port);
    if (bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    const int sndbuf = 4 << 20;
    setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &sndbuf, sizeof sndbuf);
    thread_ = std::thread([this] { loop(); });
}

UdpCameraPeer::~UdpCameraPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
}

std::vector<Bytes> UdpCameraPeer::controls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return controls_;
}

bool UdpCameraPeer::wait_controls(size_t n) {
    const int64_t deadline = now_ms() + 5000;
    while (now_ms() < deadline) {
        if (controls().size() >= n) return true;
        sleep_ms(5);
    }
    return false;
}

void UdpCameraPeer::send_train(const Train &t, const void *to, unsigned toLen) {
    for (const Bytes &d : t) {
        sendto(fd_, d.data(), d.size(), 0, static_cast<const sockaddr *>(to), toLen);
        sleep_ms(2);  // paced, so loopback never drops for want of queue space
    }
}

void UdpCameraPeer::loop() {
    const int64_t deadline = now_ms() + kLifetimeMs;
    size_t nextTrain = 0;
    std::vector<uint8_t> buf(70000);
    while (!stop_ && now_ms() < deadline) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n = recvfrom(fd_, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr *>(&from), &fromLen);
        if (n < 4) continue;
        uint16_t type;
        std::memcpy(&type, buf.data() + 2, 2);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            controls_.emplace_back(buf.begin(), buf.begin() + n);
        }
        if (type == SARVIK_UDP_CTRL_OPEN) {
            if (reply_.empty()) continue;
            sendto(fd_, reply_.data(), reply_.size(), 0, reinterpret_cast<sockaddr *>(&from), fromLen);
        }
        if (nextTrain < trains_.size()) send_train(trains_[nextTrain++], &from, fromLen);
    }
}

}  // namespace frametest
