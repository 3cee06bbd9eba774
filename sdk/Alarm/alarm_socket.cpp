#include "alarm_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace sarvik {

namespace {

// A signal storm must not keep a wait alive for ever.
constexpr int kMaxInterrupts = 1000;

}  // namespace

AlarmWake::~AlarmWake() {
    if (fd_ >= 0) close(fd_);
}

bool AlarmWake::reset() {
    if (fd_ < 0) fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd_ < 0) return false;
    uint64_t count = 0;
    while (read(fd_, &count, sizeof count) > 0) {
    }
    return true;
}

void AlarmWake::raise() {
    if (fd_ < 0) return;
    const uint64_t one = 1;
    if (write(fd_, &one, sizeof one) < 0) {
        // Only a counter at its maximum refuses a write, and such a signal is raised already.
    }
}

int64_t alarm_now_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int alarm_wait(int fd, short events, int64_t deadlineMs, int wakeFd) {
    for (int interrupts = 0;;) {
        const int64_t left = deadlineMs - alarm_now_ms();
        // A negative descriptor is ignored by poll, which is what an absent wake-up wants.
        struct pollfd p[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int rc = poll(p, 2, left > 0 ? static_cast<int>(left) : 0);
        if (rc < 0) {
            if (errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
            return kAlarmIoFailed;
        }
        if (p[1].revents) return kAlarmIoStopped;
        if (p[0].revents) return 0;  // errors and hang-ups show in the call that follows
        if (rc == 0) return kAlarmIoTimedOut;
    }
}

int alarm_connect(int fd, uint32_t addr, uint16_t port, int64_t deadlineMs, int wakeFd) {
    struct sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(addr);
    if (connect(fd, reinterpret_cast<struct sockaddr *>(&sa), sizeof sa) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return kAlarmIoFailed;
    const int rc = alarm_wait(fd, POLLOUT, deadlineMs, wakeFd);
    if (rc != 0) return rc;
    int soError = 0;
    socklen_t len = sizeof soError;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) return kAlarmIoFailed;
    return 0;
}

int alarm_send_all(int fd, const void *data, size_t len, int64_t deadlineMs, int wakeFd) {
    const char *p = static_cast<const char *>(data);
    while (len > 0) {
        const int rc = alarm_wait(fd, POLLOUT, deadlineMs, wakeFd);
        if (rc != 0) return rc;
        const ssize_t n = send(fd, p, len, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return kAlarmIoFailed;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return 0;
}

int alarm_wait_close(int fd, int64_t deadlineMs, int wakeFd) {
    char scrap[256];
    for (;;) {
        const int rc = alarm_wait(fd, POLLIN, deadlineMs, wakeFd);
        if (rc != 0) return rc;
        const ssize_t n = recv(fd, scrap, sizeof scrap, 0);
        if (n == 0) return 0;
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return kAlarmIoFailed;
        // A ready socket never makes the wait time out: a peer that keeps talking is cut off here.
        if (alarm_now_ms() >= deadlineMs) return kAlarmIoTimedOut;
    }
}

}  // namespace sarvik
