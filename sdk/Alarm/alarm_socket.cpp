#include "alarm_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace sarvik {

int alarm_connect(int fd, uint32_t addr, uint16_t port, int64_t deadlineMs, int wakeFd) {
    struct sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(addr);
    if (connect(fd, reinterpret_cast<struct sockaddr *>(&sa), sizeof sa) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return kWaitFailed;
    const int rc = sdk_wait_fd(fd, POLLOUT, deadlineMs, wakeFd);
    if (rc != 0) return rc;
    int soError = 0;
    socklen_t len = sizeof soError;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) return kWaitFailed;
    return 0;
}

int alarm_send_all(int fd, const void *data, size_t len, int64_t deadlineMs, int wakeFd) {
    const char *p = static_cast<const char *>(data);
    while (len > 0) {
        const int rc = sdk_wait_fd(fd, POLLOUT, deadlineMs, wakeFd);
        if (rc != 0) return rc;
        const ssize_t n = send(fd, p, len, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return kWaitFailed;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return 0;
}

int alarm_wait_close(int fd, int64_t deadlineMs, int wakeFd) {
    char scrap[256];
    for (;;) {
        const int rc = sdk_wait_fd(fd, POLLIN, deadlineMs, wakeFd);
        if (rc != 0) return rc;
        const ssize_t n = recv(fd, scrap, sizeof scrap, 0);
        if (n == 0) return 0;
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return kWaitFailed;
        // A ready socket never makes the wait time out: a peer that keeps talking is cut off here.
        if (sdk_now_ms() >= deadlineMs) return kWaitTimedOut;
    }
}

}  // namespace sarvik
