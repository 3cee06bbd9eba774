#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "zq_socket.h"

namespace {

const uint32_t kLoopback = INADDR_LOOPBACK;

struct Fd {
    int fd;
    explicit Fd(int f = -1) : fd(f) {}
    ~Fd() { reset(); }
    void reset(int f = -1) {
        if (fd >= 0) close(fd);
        fd = f;
    }
};

uint16_t bound_port(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr *>(&sa), &len);
    return ntohs(sa.sin_port);
}

// Bound to 127.0.0.1 on a free port; listening only when backlog >= 0.
int loopback_socket(int type, int backlog) {
    int fd = socket(AF_INET, type, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(kLoopback);
    if (bind(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa) != 0) return -1;
    if (backlog >= 0 && listen(fd, backlog) != 0) return -1;
    return fd;
}

long elapsed_ms(std::chrono::steady_clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
            .count());
}

// A connected TCP pair over loopback.
struct TcpPair {
    Fd client, server;
    TcpPair() {
        Fd listener(loopback_socket(SOCK_STREAM, 1));
        client.reset(socket(AF_INET, SOCK_STREAM, 0));
        if (sock_connect_timeout(client.fd, kLoopback, bound_port(listener.fd), 2000) == 0)
            server.reset(accept(listener.fd, nullptr, nullptr));
    }
};

TEST(SockConnect, RefusedPortFailsQuickly) {
    uint16_t port;
    {
        Fd unused(loopback_socket(SOCK_STREAM, -1));
        port = bound_port(unused.fd);
    }
    Fd fd(socket(AF_INET, SOCK_STREAM, 0));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sock_connect_timeout(fd.fd, kLoopback, port, 5000), -1);
    EXPECT_LT(elapsed_ms(start), 1000);
}

void on_alarm(int) {}

TEST(SockConnect, UnansweredConnectTimesOutDespiteSignals) {
    // A listener whose accept queue is full drops further handshakes, so the connect stays pending.
    Fd listener(loopback_socket(SOCK_STREAM, 0));
    const uint16_t port = bound_port(listener.fd);
    std::vector<std::unique_ptr<Fd>> fillers;
    for (int i = 0; i < 8; ++i) {
        fillers.emplace_back(new Fd(socket(AF_INET, SOCK_STREAM, 0)));
        if (sock_connect_timeout(fillers.back()->fd, kLoopback, port, 200) != 0) break;
    }
    if (fillers.size() == 8) GTEST_SKIP() << "this kernel accepts handshakes beyond the backlog";

    struct sigaction sa = {}, old = {};
    sa.sa_handler = on_alarm;  // no SA_RESTART: the wait sees EINTR
    sigaction(SIGALRM, &sa, &old);
    itimerval every_50ms = {{0, 50000}, {0, 50000}}, off = {};
    setitimer(ITIMER_REAL, &every_50ms, nullptr);

    Fd fd(socket(AF_INET, SOCK_STREAM, 0));
    const auto start = std::chrono::steady_clock::now();
    const int rc = sock_connect_timeout(fd.fd, kLoopback, port, 400);
    const long ms = elapsed_ms(start);
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &old, nullptr);

    EXPECT_EQ(rc, -1);
    EXPECT_GE(ms, 350);
    EXPECT_LT(ms, 3000);
}

TEST(SockTransfer, PiecesArriveWhole) {
    TcpPair pair;
    ASSERT_GE(pair.server.fd, 0);
    EXPECT_EQ(fcntl(pair.client.fd, F_GETFL, 0) & O_NONBLOCK, 0);  // blocking again after the connect
    ASSERT_EQ(sock_set_timeouts(pair.client.fd, 5000, 5000), 0);
    ASSERT_EQ(sock_set_timeouts(pair.server.fd, 5000, 5000), 0);
    // Larger than the socket buffers, so sends and receives both come in parts.
    std::vector<unsigned char> out(4 << 20);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<unsigned char>(i * 31 + (i >> 12));
    std::thread writer([&] {
        const size_t piece = out.size() / 3 + 1;
        for (size_t off = 0; off < out.size(); off += piece) {
            EXPECT_EQ(sock_send_all(pair.client.fd, out.data() + off, std::min(piece, out.size() - off), 0),
                      0);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::vector<unsigned char> in(out.size());
    EXPECT_EQ(sock_recv_all(pair.server.fd, in.data(), in.size(), 0), 0);
    writer.join();
    EXPECT_EQ(in, out);
}

TEST(SockTransfer, RecvFailsWhenThePeerClosesEarly) {
    TcpPair pair;
    ASSERT_GE(pair.server.fd, 0);
    ASSERT_EQ(sock_set_timeouts(pair.server.fd, 2000, 2000), 0);
    ASSERT_EQ(sock_send_all(pair.client.fd, "0123456789", 10, 0), 0);
    pair.client.reset();
    char buf[20];
    EXPECT_EQ(sock_recv_all(pair.server.fd, buf, sizeof buf, 0), -1);
}

TEST(SockTransfer, RecvFailsOnTimeOut) {
    TcpPair pair;
    ASSERT_GE(pair.server.fd, 0);
    ASSERT_EQ(sock_set_timeouts(pair.server.fd, 100, 100), 0);
    char buf[1];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sock_recv_all(pair.server.fd, buf, sizeof buf, 0), -1);
    EXPECT_LT(elapsed_ms(start), 2000);
}

TEST(SockTransfer, SendToAClosedPeerFailsWithoutSigpipe) {
    TcpPair pair;
    ASSERT_GE(pair.server.fd, 0);
    ASSERT_EQ(sock_set_timeouts(pair.client.fd, 2000, 2000), 0);
    pair.server.reset();
    std::vector<char> chunk(65536, 'x');
    int rc = 0;
    // The first send may still be accepted; the reset makes a later one fail.
    for (int i = 0; i < 100 && rc == 0; ++i) {
        rc = sock_send_all(pair.client.fd, chunk.data(), chunk.size(), 0);
        if (rc == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(rc, -1);
}

TEST(SockDrain, StaleDatagramsAreDiscarded) {
    Fd rx(loopback_socket(SOCK_DGRAM, -1)), tx(socket(AF_INET, SOCK_DGRAM, 0));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(kLoopback);
    to.sin_port = htons(bound_port(rx.fd));
    const std::vector<char> stale(300, 's');
    for (int i = 0; i < 5; ++i)
        sendto(tx.fd, stale.data(), stale.size(), 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
    pollfd pfd = {rx.fd, POLLIN, 0};
    ASSERT_EQ(poll(&pfd, 1, 1000), 1);

    EXPECT_EQ(sock_drain(rx.fd), 0);
    char buf[512];
    EXPECT_EQ(recv(rx.fd, buf, sizeof buf, MSG_DONTWAIT), -1);
    EXPECT_EQ(errno, EAGAIN);

    sendto(tx.fd, "fresh", 5, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
    ASSERT_EQ(poll(&pfd, 1, 1000), 1);
    EXPECT_EQ(recv(rx.fd, buf, sizeof buf, 0), 5);
    EXPECT_EQ(memcmp(buf, "fresh", 5), 0);
}

}  // namespace
