#include "sdk_wait.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace sarvik {

namespace {

// A signal storm must not keep a wait alive for ever.
constexpr int kMaxInterrupts = 1000;

}  // namespace

WakeSignal::~WakeSignal() {
    if (fd_ >= 0) close(fd_);
}

bool WakeSignal::reset() {
    if (fd_ < 0) fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd_ < 0) return false;
    uint64_t count = 0;
    while (read(fd_, &count, sizeof count) > 0) {
    }
    return true;
}

void WakeSignal::raise() {
    if (fd_ < 0) return;
    const uint64_t one = 1;
    if (write(fd_, &one, sizeof one) < 0) {
        // Only a counter at its maximum refuses a write, and such a signal is raised already.
    }
}

int64_t sdk_now_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int sdk_wait_fd(int fd, short events, int64_t deadlineMs, int wakeFd) {
    for (int interrupts = 0;;) {
        const int64_t left = deadlineMs - sdk_now_ms();
        // A negative descriptor is ignored by poll, which is what an absent wake-up wants.
        struct pollfd p[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int rc = poll(p, 2, left > 0 ? static_cast<int>(left) : 0);
        if (rc < 0) {
            if (errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
            return kWaitFailed;
        }
        if (p[1].revents) return kWaitStopped;
        if (p[0].revents) return 0;  // errors and hang-ups show in the call that follows
        if (rc == 0) return kWaitTimedOut;
    }
}

}  // namespace sarvik
