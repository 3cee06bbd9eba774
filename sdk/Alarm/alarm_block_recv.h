// Server side of the alarm channel: reading one block from an accepted connection.
#pragma once

#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Receives one block from fd (non-blocking) before deadlineMs (alarm_now_ms() time) unless wakeFd fires:
// the 512 header bytes, the validity check, then the rest. The size is checked (16 MiB at most) before
// anything is allocated, so an announced size alone costs nothing. On success *out is a new block
// (free() it) whose event time is the time of receipt. 0, or -97 (receive failed, timed out or was
// stopped), -95 (header not valid), -5 (no memory); *out is null on failure.
int alarm_block_recv(int fd, int64_t deadlineMs, int wakeFd, AlarmDataHeader **out);

}  // namespace sarvik
