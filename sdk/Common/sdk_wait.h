// Waits on a descriptor that end at a deadline or as soon as a stop signal is raised, so neither a silent
// peer nor a long time-out can hold a worker that is asked to stop.
#pragma once

#include <cstdint>

namespace sarvik {

// Results of sdk_wait_fd (and the socket calls built on it) besides 0 (ready, or done).
enum SdkWaitResult {
    kWaitFailed = -1,    // the peer closed or reset, or the system call failed
    kWaitTimedOut = -2,  // the deadline passed
    kWaitStopped = -3,   // the stop signal was raised
};

// A stop signal that poll can wait on together with a socket (an eventfd). It stays raised until reset.
class WakeSignal {
public:
    WakeSignal() = default;
    ~WakeSignal();
    WakeSignal(const WakeSignal &) = delete;
    WakeSignal &operator=(const WakeSignal &) = delete;
    // Opens the descriptor on first use and lowers the signal; false when no descriptor can be had.
    bool reset();
    // Any thread.
    void raise();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

// Monotonic milliseconds, the clock of every deadline here.
int64_t sdk_now_ms();

// Waits until fd reports one of events, the deadline (sdk_now_ms() time) passes, or wakeFd becomes
// readable (a negative wakeFd is never waited on). 0 when fd is ready.
int sdk_wait_fd(int fd, short events, int64_t deadlineMs, int wakeFd);

}  // namespace sarvik
