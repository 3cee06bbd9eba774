// Socket waits of the alarm workers: every wait ends at a deadline or as soon as the endpoint is stopped,
// so neither a silent peer nor a long time-out can hold a worker that is asked to stop.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sarvik {

// Results of the waits below besides 0 (done).
enum AlarmIoResult {
    kAlarmIoFailed = -1,    // the peer closed or reset, or the system call failed
    kAlarmIoTimedOut = -2,  // the deadline passed
    kAlarmIoStopped = -3,   // the wake-up descriptor fired
};

// A stop signal that poll can wait on together with a socket (an eventfd). It stays raised until reset.
class AlarmWake {
public:
    AlarmWake() = default;
    ~AlarmWake();
    AlarmWake(const AlarmWake &) = delete;
    AlarmWake &operator=(const AlarmWake &) = delete;
    // Opens the descriptor on first use and lowers the signal; false when no descriptor can be had.
    bool reset();
    void raise();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

int64_t alarm_now_ms();

// Waits until fd reports one of events, the deadline (alarm_now_ms() time) passes, or wakeFd becomes
// readable (a negative wakeFd is never waited on). 0 when fd is ready.
int alarm_wait(int fd, short events, int64_t deadlineMs, int wakeFd);

// The descriptor must be non-blocking for the three calls below.
// Connects to addr:port (host byte order).
int alarm_connect(int fd, uint32_t addr, uint16_t port, int64_t deadlineMs, int wakeFd);
// Sends all len bytes.
int alarm_send_all(int fd, const void *data, size_t len, int64_t deadlineMs, int wakeFd);
// Waits for the peer's orderly close (a receive of 0 bytes); bytes it sends meanwhile are skipped. A reset
// counts as failed.
int alarm_wait_close(int fd, int64_t deadlineMs, int wakeFd);

}  // namespace sarvik
