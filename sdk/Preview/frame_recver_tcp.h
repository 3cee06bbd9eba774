// FrameRecverTcp: frames streamed unasked by the camera over one TCP connection to its preview port.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "frame_recver.h"

namespace sarvik {

struct FrameRecverTcp {
    uint16_t width;
    uint16_t height;
    size_t rawSize;  // 2 x width x height
    int fd;          // -1 when closed; changed by the receiving thread only, under fdMutex
    // Orders open and close against an interrupt from another thread, so that it never shuts down a
    // descriptor number that has been closed and reused meanwhile.
    pthread_mutex_t fdMutex;
    std::atomic<bool> interrupted;
    // Where the last open went, so a desynchronised stream can be picked up again by reconnecting.
    uint32_t address;
    uint16_t port;
};

FrameRecverTcp *frame_recver_tcp_create(uint16_t width, uint16_t height);
void frame_recver_tcp_free(FrameRecverTcp **recver);
// Stream socket, connect within the connect time-out, send and receive time-outs, TCP_NODELAY.
// 0, -100 no socket, -99 connect failed, -96 socket options; a socket already open is closed first.
int frame_recver_tcp_open(FrameRecverTcp *recver, uint32_t address, uint16_t port);
void frame_recver_tcp_close(FrameRecverTcp *recver);
// From any thread: shuts the connection down so a blocked receive returns at once; later opens fail (-99).
void frame_recver_tcp_interrupt(FrameRecverTcp *recver);

// Payload bytes that follow a frame header on a receiver for width x height: 2 x width x height for raw
// samples, else the encoded length. -11 (logged) when the dimensions differ, or when the encoded length is
// negative or not below 2 x width x height (such a payload would not fit the slot's scratch buffer).
int64_t frame_recver_tcp_payload_size(const _DataFrameHeader *header, uint16_t width, uint16_t height);

// Reads one frame into the slot: 0; -7 not open; -8 slot buffers missing; -97 receive failed, timed out
// or peer closed; -11 malformed frame. After a header that leaves the stream position unknown (wrong
// dimensions, bad encoded length) the receiver reconnects to resynchronise: -11 when that worked, -97
// when it did not (the connection is then closed).
int FR_Recv(FrameRecverTcp *recver, _DataFrame *frame);

}  // namespace sarvik
