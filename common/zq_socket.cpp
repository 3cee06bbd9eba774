#include "zq_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

namespace {

// A signal storm must not keep a call alive for ever.
const int kMaxInterrupts = 1000;
// Enough to empty any receive queue; bounded so a flooding peer cannot hold us here.
const int kMaxDrainReads = 65536;

int64_t monotonic_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// poll rather than select: descriptors above FD_SETSIZE are legal and must not corrupt memory.
int wait_writable(int fd, int timeout_ms) {
    const int64_t deadline = monotonic_ms() + timeout_ms;
    for (int interrupts = 0;;) {
        int64_t left = deadline - monotonic_ms();
        struct pollfd pfd = {fd, POLLOUT, 0};
        int rc = poll(&pfd, 1, left > 0 ? static_cast<int>(left) : 0);
        if (rc > 0) return 0;
        if (rc == 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        if (errno != EINTR || ++interrupts > kMaxInterrupts) return -1;
    }
}

}  // namespace

int sock_connect_timeout(int fd, uint32_t addr_host_order, uint16_t port, int timeout_ms) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return -1;

    struct sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(addr_host_order);
    int rc = connect(fd, reinterpret_cast<struct sockaddr *>(&sa), sizeof sa);
    const int connect_errno = errno;
    fcntl(fd, F_SETFL, flags);

    if (rc == 0) return 0;  // loopback may connect at once
    // An interrupted connect goes on in the background, just like one in progress.
    if (connect_errno != EINPROGRESS && connect_errno != EINTR) {
        errno = connect_errno;
        return -1;
    }
    if (wait_writable(fd, timeout_ms < 0 ? 0 : timeout_ms) != 0) return -1;

    int so_error = 0;
    socklen_t len = sizeof so_error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &so_error, &len) != 0) return -1;
    if (so_error != 0) {
        errno = so_error;
        return -1;
    }
    return 0;
}

int sock_set_timeouts(int fd, int send_ms, int recv_ms) {
    if (send_ms < 0 || recv_ms < 0) return -1;
    struct timeval snd = {send_ms / 1000, (send_ms % 1000) * 1000};
    struct timeval rcv = {recv_ms / 1000, (recv_ms % 1000) * 1000};
    if (setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &snd, sizeof snd) != 0) return -1;
    if (setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &rcv, sizeof rcv) != 0) return -1;
    return 0;
}

int sock_drain(int fd) {
    char scrap[128];
    for (int i = 0; i < kMaxDrainReads; ++i) {
        struct pollfd pfd = {fd, POLLIN, 0};
        if (poll(&pfd, 1, 0) <= 0 || !(pfd.revents & POLLIN)) break;
        if (recv(fd, scrap, sizeof scrap, MSG_DONTWAIT) <= 0) break;
    }
    return 0;
}

int sock_send_all(int fd, const void *data, size_t len, int flags) {
    const char *p = static_cast<const char *>(data);
    for (int interrupts = 0; len > 0;) {
        ssize_t n = send(fd, p, len, flags | MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
        if (n <= 0) return -1;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return 0;
}

int sock_recv_all(int fd, void *buf, size_t len, int flags) {
    char *p = static_cast<char *>(buf);
    for (int interrupts = 0; len > 0;) {
        ssize_t n = recv(fd, p, len, flags);
        if (n < 0 && errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
        if (n <= 0) return -1;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return 0;
}
