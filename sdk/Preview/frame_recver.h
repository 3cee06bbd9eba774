// The table of operations behind which both frame receivers sit, so the preview drives either the same way.
//
// A receiver is used by one thread at a time (the preview's receive thread); free runs after that thread
// has been joined. Every buffer a receiver needs is allocated by create; receive allocates nothing.
#pragma once

#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Status codes of the receivers.
enum FrameRecverStatus {
    kFrNotOpen = -7,        // receiver not open
    kFrBufferSmall = -8,    // caller's buffer too small (or missing)
    kFrMalformed = -11,     // size, dimensions, fragment order, encoding
    kFrBadReply = -95,      // handshake reply malformed, or fragment train longer than the receive area
    kFrSocketOption = -96,  // socket options or getsockname failed
    kFrRecvFailed = -97,    // receive failed or timed out: the preview treats the connection as broken
    kFrConnectFailed = -99,
    kFrNoSocket = -100,
};

struct FrameRecverOps {
    // Receiver for frames of width x height; null when out of memory (or for a zero width or height).
    void *(*create)(uint16_t width, uint16_t height);
    // Closes the socket if open, frees the receiver and sets *recver to null; null is ignored.
    void (*free)(void **recver);
    // Opens the receiver to the camera (IPv4 address in host order, port): 0 or a negative code.
    int (*open)(void *recver, uint32_t address, uint16_t port);
    // Closes the socket if open and marks it -1.
    void (*close)(void *recver);
    // Reads one frame into the slot (its header, data and scratch buffers, each sized for the receiver's
    // width x height): 0 when the slot holds a new frame with raw samples, else a negative code.
    int (*receive)(void *recver, _DataFrame *frame);
    // The one call another thread may make: ends a receive blocked on a silent camera now rather than at
    // its time-out, and makes every later open fail. Used when the preview stops.
    void (*interrupt)(void *recver);
};

extern const FrameRecverOps FrameRecverTcpOps;
extern const FrameRecverOps FrameRecverUdpOps;

// Transport byte of PreviewParam: 0 TCP, 1 UDP; any other value gives the TCP receiver.
const FrameRecverOps *frame_recver_ops(int transport);

// Time-outs the receivers use: the session's, with the 2000 ms default where unset.
int frame_recver_connect_timeout_ms();
int frame_recver_send_timeout_ms();
int frame_recver_recv_timeout_ms();

}  // namespace sarvik
