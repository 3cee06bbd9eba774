// Socket calls of the alarm workers over the bounded waits of sdk_wait.h: each ends at a deadline or as
// soon as the endpoint is stopped (0, or a SdkWaitResult).
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk_wait.h"

namespace sarvik {

// The descriptor must be non-blocking for the three calls below.
// Connects to addr:port (host byte order).
int alarm_connect(int fd, uint32_t addr, uint16_t port, int64_t deadlineMs, int wakeFd);
// Sends all len bytes.
int alarm_send_all(int fd, const void *data, size_t len, int64_t deadlineMs, int wakeFd);
// Waits for the peer's orderly close (a receive of 0 bytes); bytes it sends meanwhile are skipped. A reset
// counts as failed.
int alarm_wait_close(int fd, int64_t deadlineMs, int wakeFd);

}  // namespace sarvik
