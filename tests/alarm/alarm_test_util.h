// Helpers of the alarm tests: blocks, endpoint configurations, recorders of what the callbacks saw, and a
// raw TCP client that can send whatever bytes a test wants to the server.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "SarvikSDK.h"

namespace alarmtest {

using Bytes = std::vector<uint8_t>;
using Part = std::pair<uint8_t, std::string>;  // kind, bytes

inline AlarmConfig config(const char *ip, uint16_t port, uint16_t timeout_ms, uint16_t capacity = 4) {
    AlarmConfig c;
    std::memset(&c, 0, sizeof c);
    std::snprintf(c.serverIp, sizeof c.serverIp, "%s", ip);
    c.port = port;
    c.timeout_ms = timeout_ms;
    c.queueCapacity = capacity;
    return c;
}

inline AlarmDataHeader header(uint32_t type, const char *sender) {
    AlarmDataHeader h;
    std::memset(&h, 0, sizeof h);
    h.alarmType = type;
    std::snprintf(h.sender, sizeof h.sender, "%s", sender);
    for (size_t i = 0; i < sizeof h.userHeader; ++i) h.userHeader[i] = static_cast<uint8_t>(i * 7 + 1);
    return h;
}

// A block built by the SDK from up to four parts, as bytes.
inline Bytes make_block(uint32_t type, const char *sender, const std::vector<Part> &parts) {
    AlarmDataHeader h = header(type, sender);
    const void *ptrs[4] = {};
    int lengths[4] = {};
    unsigned char kinds[4] = {};
    for (size_t i = 0; i < parts.size() && i < 4; ++i) {
        ptrs[i] = parts[i].second.data();
        lengths[i] = static_cast<int>(parts[i].second.size());
        kinds[i] = parts[i].first;
    }
    AlarmDataHeader *block = AlarmData_Create(&h, ptrs, lengths, kinds);
    if (!block) return {};
    const uint8_t *p = reinterpret_cast<const uint8_t *>(block);
    Bytes out(p, p + block->totalSize);
    AlarmData_Free(&block);
    return out;
}

inline const AlarmDataHeader *as_block(const Bytes &b) {
    return reinterpret_cast<const AlarmDataHeader *>(b.data());
}

// A hand-made header: any total and part lengths, for blocks the SDK would never build.
inline Bytes raw_header(uint32_t total, std::vector<int32_t> lengths) {
    AlarmDataHeader h = header(1, "raw");
    h.totalSize = total;
    for (size_t i = 0; i < lengths.size() && i < 4; ++i) h.partLength[i] = lengths[i];
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&h);
    return Bytes(p, p + sizeof h);
}

// Current time in the records' ticks (100 ns since 1601-01-01 UTC).
inline int64_t ticks_now() {
    return static_cast<int64_t>(std::time(nullptr)) * 10000000 + INT64_C(116444736000000000);
}

// What an endpoint's callback saw: the statuses, copies of the blocks, and the pointers the endpoint lent.
// The same recorder serves a server (once per block) and a client (once per delivery attempt).
struct CallbackLog {
    std::mutex m;
    std::condition_variable cv;
    std::vector<int> statuses;
    std::vector<Bytes> blocks;
    std::vector<AlarmDataHeader *> lent;
    std::vector<std::chrono::steady_clock::time_point> times;

    static void record(int status, AlarmDataHeader *block, void *user) {
        auto *self = static_cast<CallbackLog *>(user);
        std::lock_guard<std::mutex> lock(self->m);
        self->times.push_back(std::chrono::steady_clock::now());
        self->statuses.push_back(status);
        const uint8_t *p = reinterpret_cast<const uint8_t *>(block);
        self->blocks.emplace_back(p, p + block->totalSize);
        self->lent.push_back(block);
        self->cv.notify_all();
    }
    bool wait_for(size_t n, int ms = 10000) {
        std::unique_lock<std::mutex> lock(m);
        return cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return statuses.size() >= n; });
    }
    size_t count() {
        std::lock_guard<std::mutex> lock(m);
        return statuses.size();
    }
};
using ServerLog = CallbackLog;
using ClientLog = CallbackLog;

inline sockaddr_in address(const char *ip, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip, &a.sin_addr);
    return a;
}

// A blocking TCP connection from ip to ip:port made within ms, or -1.
inline int connect_within(const char *ip, uint16_t port, int ms) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_in a = address(ip, port);
    // From the test's own address too, so the server sees (and logs) exactly that peer.
    sockaddr_in local = a;
    local.sin_port = 0;
    bool ok = bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
    if (ok && connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        pollfd p{fd, POLLOUT, 0};
        int err = 0;
        socklen_t len = sizeof err;
        ok = errno == EINPROGRESS && poll(&p, 1, ms) == 1 &&
             getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
    }
    if (ok) ok = fcntl(fd, F_SETFL, 0) == 0;
    if (!ok) {
        close(fd);
        return -1;
    }
    return fd;
}

// How a connection ended as seen from its other end.
enum class End { kOpen, kOrderly, kReset };

// Waits up to ms for fd's peer to close it (anything it sends is skipped).
inline End wait_end(int fd, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    char scrap[256];
    for (int rounds = 0; rounds < 100000; ++rounds) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left < 0) return End::kOpen;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) {
            if (left == 0) return End::kOpen;
            continue;
        }
        const ssize_t n = recv(fd, scrap, sizeof scrap, MSG_DONTWAIT);
        if (n == 0) return End::kOrderly;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return End::kReset;
    }
    return End::kOpen;
}

inline const char *end_name(End e) {
    return e == End::kOpen ? "open" : e == End::kOrderly ? "orderly close" : "reset";
}

// A plain TCP connection to the server that sends exactly the bytes a test gives it.
class RawClient {
public:
    RawClient(const char *ip, uint16_t port, int connectMs = 5000)
        : fd_(connect_within(ip, port, connectMs)) {}
    ~RawClient() {
        if (fd_ >= 0) close(fd_);
    }
    RawClient(const RawClient &) = delete;
    RawClient &operator=(const RawClient &) = delete;
    bool connected() const { return fd_ >= 0; }
    bool send_bytes(const Bytes &b) { return send_bytes(b.data(), b.size()); }
    bool send_bytes(const void *p, size_t n) {
        const char *c = static_cast<const char *>(p);
        while (n > 0) {
            ssize_t k = send(fd_, c, n, MSG_NOSIGNAL);
            if (k <= 0) return false;
            c += k;
            n -= static_cast<size_t>(k);
        }
        return true;
    }
    // True when the server closes (or resets) the connection within ms; anything it sends is skipped.
    bool closed_by_server_within(int ms) { return end_within(ms) != End::kOpen; }
    End end_within(int ms) { return wait_end(fd_, ms); }

private:
    int fd_ = -1;
};

// A port that takes connections into its backlog and never reads from them: a sender stalls there once
// the socket buffers are full.
class DeafListener {
public:
    DeafListener(const char *ip, uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        inet_pton(AF_INET, ip, &a.sin_addr);
        if (bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd_, 4) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~DeafListener() {
        if (fd_ >= 0) close(fd_);
    }
    DeafListener(const DeafListener &) = delete;
    DeafListener &operator=(const DeafListener &) = delete;
    bool listening() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// A stand-in alarm server that reads whole blocks and then ends each connection as a test asks: an orderly
// close, a reset, or holding it open until the stand-in goes away. It stops by itself after lifetimeMs.
class ScriptedServer {
public:
    enum Finish { kClose, kReset, kHold, kResetAfterHeader };

    ScriptedServer(const char *ip, uint16_t port, Finish finish, int lifetimeMs = 20000) : finish_(finish) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        sockaddr_in a = address(ip, port);
        if (setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
            bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd_, 8) != 0) {
            close(fd_);
            fd_ = -1;
            return;
        }
        thread_ = std::thread([this, lifetimeMs] { serve(lifetimeMs); });
    }
    ~ScriptedServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        for (int fd : held_) close(fd);
        if (fd_ >= 0) close(fd_);
    }
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;
    bool listening() const { return fd_ >= 0; }
    // Senders of the blocks read so far (all of each block, or its header for kResetAfterHeader).
    std::vector<std::string> senders() {
        std::lock_guard<std::mutex> lock(m_);
        return senders_;
    }

private:
    static void reset(int fd) {
        const linger l{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        close(fd);
    }
    static bool read_all(int fd, void *buf, size_t n) {
        char *p = static_cast<char *>(buf);
        while (n > 0) {
            const ssize_t k = recv(fd, p, n, 0);
            if (k <= 0) return false;
            p += k;
            n -= static_cast<size_t>(k);
        }
        return true;
    }
    void serve(int lifetimeMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetimeMs);
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 50) != 1) continue;
            const int c = accept(fd_, nullptr, nullptr);
            if (c < 0) continue;
            timeval tv{2, 0};
            setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
            AlarmDataHeader h;
            bool ok =
                read_all(c, &h, sizeof h) && h.totalSize >= sizeof h && h.totalSize <= SARVIK_ALARM_MAX_SIZE;
            if (ok && finish_ != kResetAfterHeader) {
                std::vector<char> rest(h.totalSize - sizeof h);
                ok = read_all(c, rest.data(), rest.size());
            }
            if (ok) {
                std::lock_guard<std::mutex> lock(m_);
                senders_.emplace_back(h.sender, strnlen(h.sender, sizeof h.sender));
            }
            if (finish_ == kHold && ok)
                held_.push_back(c);
            else if (finish_ == kClose && ok)
                close(c);
            else
                reset(c);
        }
    }

    Finish finish_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex m_;
    std::vector<std::string> senders_;
    std::vector<int> held_;  // touched by the thread only until it is joined
};

// The SDK started and a stopped server, freed at the end; start() listens with received as the log.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        server = AlarmServer_Create();
        ASSERT_NE(server, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(AlarmServer_Free(&server), 0);
        Sarvik_FreeSDK();
    }
    void start(const char *ip, uint16_t port, uint16_t timeoutMs) {
        AlarmConfig cfg = config(ip, port, timeoutMs);
        ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    }
    AlarmServer *server = nullptr;
    ServerLog received;
};

}  // namespace alarmtest
