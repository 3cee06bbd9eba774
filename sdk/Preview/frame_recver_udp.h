// FrameRecverUdp: frames as trains of UDP fragments. The receiver opens with a handshake on the camera's
// control port and asks for the next frame after every attempt.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "frame_recver.h"
#include "sdk_wait.h"

namespace sarvik {

constexpr size_t kUdpDatagramMax = SARVIK_UDP_MAX_DATAGRAM;           // 65507
constexpr size_t kUdpPayloadMax = SARVIK_UDP_MAX_PAYLOAD;             // 65495
constexpr size_t kUdpFragmentHeaderSize = sizeof(UdpFragmentHeader);  // 12
constexpr size_t kUdpControlSize = sizeof(UdpControl);                // 524

struct FrameRecverUdp {
    uint16_t width;
    uint16_t height;
    size_t minFrameSize;    // w x h + 128: a frame must be longer than this
    size_t maxFrameSize;    // 2 x w x h + 128
    int fragmentCapacity;   // ceil(maxFrameSize / 65495) datagram slots
    uint8_t *area;          // fragmentCapacity slots of 65507 bytes
    int *slotBytes;         // bytes received into each slot
    uint8_t *frameBuffer;   // maxFrameSize bytes: header and payload put back together
    UdpControl control;     // open request, then the open reply, then the next-frame requests
    sockaddr_in controlAddr;  // where open went: the camera's control port
    sockaddr_in dataAddr;     // the camera's data port, from the open reply
    sockaddr_in localAddr;
    int fd;  // -1 when closed
    // A stop raises the signal and the flag: every wait for a datagram ends at once and later opens fail.
    // The only members another thread touches.
    WakeSignal wake;
    std::atomic<bool> interrupted;
};

// Null when out of memory, for a zero width or height, or for a frame too large to count in an int.
FrameRecverUdp *frame_recver_udp_create(uint16_t width, uint16_t height);
void frame_recver_udp_free(FrameRecverUdp **recver);
void frame_recver_udp_close(FrameRecverUdp *recver);
// Ends a wait for a datagram now (any thread) and makes every later open fail.
void frame_recver_udp_interrupt(FrameRecverUdp *recver);

// Open: handshake with the camera's control port. 0; -100 no socket; -96 socket options or getsockname;
// the send's result (-1) or -98 when the request did not go out whole; -97 no reply or one of another
// size than 524 bytes; -95 a reply with other values (status 1, type 16 and a non-zero port expected).
// A socket already open is closed first; the socket is closed on every failure.
int FR_Start(FrameRecverUdp *recver, uint32_t address, uint16_t port);

// Receives one fragment train and copies its payloads in order into buf: the byte count, or -7 not open,
// -8 buf smaller than the maximum frame size, -97 receive failed or timed out, -95 train longer than the
// receive area, -11 malformed train. Every attempt ends with a next-frame request to the camera.
int FR_RecvRaw(FrameRecverUdp *recver, void *buf, size_t bufSize);

// Reads one frame into the slot (header and data): FR_RecvRaw, then the frame check.
int frame_recver_udp_receive(FrameRecverUdp *recver, _DataFrame *frame);

// Train check over count received datagrams (slot i at area + i x 65507, sizes[i] bytes): slot 0 carries
// the first flag and the last slot the last flag, fragment numbers rise by exactly 1 (16-bit), each
// datagram holds its 12-byte header and the payload length it announces, every payload length is at most
// 65495 and their sum at most maxFrameSize; else -11. Copies the payloads in order into out: the byte
// count, or -8 when out (outSize bytes) would overflow.
int udp_train_check(const uint8_t *area, const int *sizes, int count, size_t maxFrameSize, uint8_t *out,
                    size_t outSize);

// Frame check over a reassembled frame of total bytes: longer than w x h + 128 and at most 2 x w x h + 128
// bytes, matching dimensions, raw frames exactly 2 x w x h + 128 bytes, encoded payloads decodable; else
// -11. Fills the slot's data, then its header (encoded length 0). 0 on success.
int udp_frame_check(const uint8_t *buf, size_t total, uint16_t width, uint16_t height, _DataFrame *frame);

}  // namespace sarvik
