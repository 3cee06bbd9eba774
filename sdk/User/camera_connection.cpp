#include "camera_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "sdk_global.h"
#include "zq_socket.h"

namespace sarvik {

CameraSocket::CameraSocket() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {}

CameraSocket::~CameraSocket() {
    if (fd_ >= 0) close(fd_);
}

int camera_connect(const CameraSocket &s, uint32_t address, uint16_t port, int recvTimeoutMs) {
    if (s.fd() < 0) return -100;
    if (sock_connect_timeout(s.fd(), address, port, sdk().connectTimeoutMs) != 0) return -99;
    if (sock_set_timeouts(s.fd(), sdk().sendTimeoutMs, recvTimeoutMs) != 0) return -1;
    return 0;
}

int recv_until(int fd, uint8_t *buf, int len, int timeout_ms) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    int got = 0;
    while (got < len) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        ssize_t n = recv(fd, buf + got, static_cast<size_t>(len - got), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        got += static_cast<int>(n);
    }
    return got;
}

}  // namespace sarvik
