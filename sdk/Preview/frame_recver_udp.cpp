#include "frame_recver_udp.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "data_frame.h"
#include "delta_run.h"
#include "sdk_log.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

constexpr int kMaxInterrupts = 1000;
// A whole frame's worth of datagrams must fit the socket's queue; the system caps what it grants.
constexpr int kMaxRecvBuffer = 8 << 20;

// Waits up to the receive time-out for the socket to become readable: false on time-out (errno EAGAIN,
// as a socket time-out gives) or when a stop interrupts the wait.
bool wait_readable(FrameRecverUdp *r, int fd) {
    if (r->interrupted.load()) return false;
    const int rc = sdk_wait_fd(fd, POLLIN, sdk_now_ms() + frame_recver_recv_timeout_ms(), r->wake.fd());
    if (rc == kWaitTimedOut) errno = EAGAIN;
    return rc == 0;
}

// One datagram, waiting at most the receive time-out for it. Queued datagrams are taken without a wait.
ssize_t recv_datagram(FrameRecverUdp *r, int fd, void *buf, size_t len, int flags) {
    for (int interrupts = 0;; ++interrupts) {
        const ssize_t n = recv(fd, buf, len, flags | MSG_DONTWAIT);
        if (n >= 0 || interrupts >= kMaxInterrupts) return n;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return n;
        if (!wait_readable(r, fd)) return -1;
    }
}

// The fragment header of a received datagram; a datagram too short to hold one reads as all zero.
UdpFragmentHeader fragment_header(const uint8_t *slot, int bytes) {
    UdpFragmentHeader h{};
    if (bytes >= static_cast<int>(kUdpFragmentHeaderSize)) std::memcpy(&h, slot, sizeof h);
    return h;
}

uint8_t *slot_at(const FrameRecverUdp *r, int i) {
    return r->area + static_cast<size_t>(i) * kUdpDatagramMax;
}

// Receives into slot i; false (logged) when the receive fails or times out.
bool recv_slot(FrameRecverUdp *r, int i) {
    const ssize_t n = recv_datagram(r, r->fd, slot_at(r, i), kUdpDatagramMax, 0);
    if (n < 0) {
        SDK_LOG("wsae %d", errno);
        return false;
    }
    r->slotBytes[i] = static_cast<int>(n);
    return true;
}

// Collects one train into the receive area: the number of datagrams, or -97 / -95.
int collect_train(FrameRecverUdp *r) {
    // Waiting: drop whatever is not the start of a frame. A stream of strays must not hold us for ever.
    const int64_t deadline = sdk_now_ms() + frame_recver_recv_timeout_ms();
    for (;;) {
        if (!recv_slot(r, 0)) return kFrRecvFailed;
        if (fragment_header(slot_at(r, 0), r->slotBytes[0]).flags & SARVIK_UDP_FIRST) break;
        if (sdk_now_ms() > deadline) {
            SDK_LOG("wsae %d", ETIMEDOUT);
            return kFrRecvFailed;
        }
    }
    int count = 1;
    while (!(fragment_header(slot_at(r, count - 1), r->slotBytes[count - 1]).flags & SARVIK_UDP_LAST)) {
        if (count == r->fragmentCapacity) return kFrBadReply;
        if (!recv_slot(r, count)) return kFrRecvFailed;
        ++count;
    }
    return count;
}

void send_next_frame_request(FrameRecverUdp *r) {
    r->control.msgType = SARVIK_UDP_CTRL_NEXT_FRAME;
    // A lost request shows up as a receive time-out on the next attempt, which the preview handles.
    sendto(r->fd, &r->control, kUdpControlSize, MSG_NOSIGNAL,
           reinterpret_cast<const sockaddr *>(&r->controlAddr), sizeof r->controlAddr);
}

int fail_open(int fd, int code) {
    close(fd);
    return code;
}

void *op_create(uint16_t width, uint16_t height) {
    return frame_recver_udp_create(width, height);
}
void op_free(void **recver) {
    auto *r = static_cast<FrameRecverUdp *>(*recver);
    frame_recver_udp_free(&r);
    *recver = nullptr;
}
int op_open(void *recver, uint32_t address, uint16_t port) {
    return FR_Start(static_cast<FrameRecverUdp *>(recver), address, port);
}
void op_close(void *recver) {
    frame_recver_udp_close(static_cast<FrameRecverUdp *>(recver));
}
int op_receive(void *recver, _DataFrame *frame) {
    return frame_recver_udp_receive(static_cast<FrameRecverUdp *>(recver), frame);
}

void op_interrupt(void *recver) {
    frame_recver_udp_interrupt(static_cast<FrameRecverUdp *>(recver));
}

}  // namespace

const FrameRecverOps FrameRecverUdpOps = {op_create, op_free, op_open, op_close, op_receive, op_interrupt};

FrameRecverUdp *frame_recver_udp_create(uint16_t width, uint16_t height) {
    if (width == 0 || height == 0) return nullptr;
    const size_t maxFrame = 2 * static_cast<size_t>(width) * height + kFrameHeaderSize;
    if (maxFrame > static_cast<size_t>(INT_MAX)) return nullptr;
    auto *r = new (std::nothrow) FrameRecverUdp{};
    if (!r) return nullptr;
    r->fd = -1;
    r->interrupted = false;
    r->width = width;
    r->height = height;
    r->minFrameSize = static_cast<size_t>(width) * height + kFrameHeaderSize;
    r->maxFrameSize = maxFrame;
    r->fragmentCapacity = static_cast<int>((maxFrame + kUdpPayloadMax - 1) / kUdpPayloadMax);
    r->area = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(r->fragmentCapacity) * kUdpDatagramMax));
    r->slotBytes = static_cast<int *>(std::calloc(static_cast<size_t>(r->fragmentCapacity), sizeof(int)));
    r->frameBuffer = static_cast<uint8_t *>(std::malloc(maxFrame));
    if (!r->wake.reset() || !r->area || !r->slotBytes || !r->frameBuffer) frame_recver_udp_free(&r);
    return r;
}

void frame_recver_udp_free(FrameRecverUdp **recver) {
    if (!recver || !*recver) return;
    FrameRecverUdp *r = *recver;
    frame_recver_udp_close(r);
    std::free(r->area);
    std::free(r->slotBytes);
    std::free(r->frameBuffer);
    delete r;
    *recver = nullptr;
}

void frame_recver_udp_close(FrameRecverUdp *r) {
    if (r->fd >= 0) close(r->fd);
    r->fd = -1;
}

void frame_recver_udp_interrupt(FrameRecverUdp *r) {
    r->interrupted = true;
    r->wake.raise();
}

int FR_Start(FrameRecverUdp *r, uint32_t address, uint16_t port) {
    frame_recver_udp_close(r);
    if (r->interrupted.load()) return kFrConnectFailed;
    std::memset(&r->controlAddr, 0, sizeof r->controlAddr);
    r->controlAddr.sin_family = AF_INET;
    r->controlAddr.sin_port = htons(port);
    r->controlAddr.sin_addr.s_addr = htonl(address);

    const int fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0) return kFrNoSocket;
    if (sock_set_timeouts(fd, frame_recver_send_timeout_ms(), frame_recver_recv_timeout_ms()) != 0)
        return fail_open(fd, kFrSocketOption);
    // Best effort: without it a large frame may overrun the default queue; the system caps the size.
    const size_t wanted =
        2 * (r->maxFrameSize + static_cast<size_t>(r->fragmentCapacity) * kUdpFragmentHeaderSize);
    const int rcvbuf =
        wanted > static_cast<size_t>(kMaxRecvBuffer) ? kMaxRecvBuffer : static_cast<int>(wanted);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &rcvbuf, sizeof rcvbuf);

    r->control.status = 0;
    r->control.msgType = SARVIK_UDP_CTRL_OPEN;
    const ssize_t sent = sendto(fd, &r->control, kUdpControlSize, MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr *>(&r->controlAddr), sizeof r->controlAddr);
    if (sent != static_cast<ssize_t>(kUdpControlSize))
        return fail_open(fd, sent < 0 ? static_cast<int>(sent) : -98);

    // One byte more than a reply, and MSG_TRUNC, so a longer datagram shows its true size.
    uint8_t reply[kUdpControlSize + 1];
    const ssize_t n = recv_datagram(r, fd, reply, sizeof reply, MSG_TRUNC);
    if (n != static_cast<ssize_t>(kUdpControlSize)) return fail_open(fd, kFrRecvFailed);
    UdpControl answer;
    std::memcpy(&answer, reply, sizeof answer);
    if (answer.status != 1 || answer.msgType != SARVIK_UDP_CTRL_OPEN_REPLY || answer.port == 0)
        return fail_open(fd, kFrBadReply);
    r->control = answer;

    char text[INET_ADDRSTRLEN] = "";
    r->dataAddr = r->controlAddr;
    r->dataAddr.sin_port = htons(answer.port);
    inet_ntop(AF_INET, &r->dataAddr.sin_addr, text, sizeof text);
    SDK_LOG("server, %s:%d", text, answer.port);

    socklen_t len = sizeof r->localAddr;
    if (getsockname(fd, reinterpret_cast<sockaddr *>(&r->localAddr), &len) != 0)
        return fail_open(fd, kFrSocketOption);
    inet_ntop(AF_INET, &r->localAddr.sin_addr, text, sizeof text);
    SDK_LOG("local, %s:%d", text, ntohs(r->localAddr.sin_port));
    r->fd = fd;
    return 0;
}

int udp_train_check(const uint8_t *area, const int *sizes, int count, size_t maxFrameSize, uint8_t *out,
                    size_t outSize) {
    if (count < 1) return kFrMalformed;
    if (!(fragment_header(area, sizes[0]).flags & SARVIK_UDP_FIRST)) return kFrMalformed;
    const uint8_t *lastSlot = area + static_cast<size_t>(count - 1) * kUdpDatagramMax;
    if (!(fragment_header(lastSlot, sizes[count - 1]).flags & SARVIK_UDP_LAST)) return kFrMalformed;

    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t *slot = area + static_cast<size_t>(i) * kUdpDatagramMax;
        if (sizes[i] < static_cast<int>(kUdpFragmentHeaderSize)) return kFrMalformed;
        const UdpFragmentHeader h = fragment_header(slot, sizes[i]);
        // Fragment numbers run on across frames, so they may wrap within one.
        if (i > 0 && h.fragment != static_cast<uint16_t>(
                                       fragment_header(slot - kUdpDatagramMax, sizes[i - 1]).fragment + 1))
            return kFrMalformed;
        // The announced length must be there: bytes past the datagram are a previous train's leftovers.
        if (h.payloadLength > kUdpPayloadMax ||
            h.payloadLength > static_cast<size_t>(sizes[i]) - kUdpFragmentHeaderSize)
            return kFrMalformed;
        total += h.payloadLength;
    }
    if (total > maxFrameSize) return kFrMalformed;

    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t *slot = area + static_cast<size_t>(i) * kUdpDatagramMax;
        const size_t n = fragment_header(slot, sizes[i]).payloadLength;
        if (n > outSize - at) return kFrBufferSmall;
        std::memcpy(out + at, slot + kUdpFragmentHeaderSize, n);
        at += n;
    }
    return static_cast<int>(at);
}

int FR_RecvRaw(FrameRecverUdp *r, void *buf, size_t bufSize) {
    if (r->fd < 0) return kFrNotOpen;
    if (!buf || bufSize < r->maxFrameSize) return kFrBufferSmall;
    int ret = collect_train(r);
    if (ret > 0)
        ret = udp_train_check(r->area, r->slotBytes, ret, r->maxFrameSize, static_cast<uint8_t *>(buf),
                              bufSize);
    send_next_frame_request(r);
    return ret;
}

int udp_frame_check(const uint8_t *buf, size_t total, uint16_t width, uint16_t height, _DataFrame *frame) {
    const size_t samples = static_cast<size_t>(width) * height;
    if (total <= samples + kFrameHeaderSize || total > 2 * samples + kFrameHeaderSize) return kFrMalformed;
    _DataFrameHeader header;
    std::memcpy(&header, buf, sizeof header);
    if (header.width != width || header.height != height) return kFrMalformed;
    const uint8_t *payload = buf + kFrameHeaderSize;
    const size_t payloadSize = total - kFrameHeaderSize;
    if (header.encodedLength == 0) {
        // Raw samples must all be there; a short frame would hand on stale bytes.
        if (payloadSize != 2 * samples) return kFrMalformed;
        std::memcpy(frame->data, payload, payloadSize);
    } else if (delta_run_decode_frame(&header, payload, payloadSize, frame->data) != 0) {
        return kFrMalformed;
    }
    std::memcpy(frame->header, &header, sizeof header);
    return 0;
}

int frame_recver_udp_receive(FrameRecverUdp *r, _DataFrame *frame) {
    if (r->fd < 0) return kFrNotOpen;
    if (!frame || !frame->header || !frame->data) return kFrBufferSmall;
    const int total = FR_RecvRaw(r, r->frameBuffer, r->maxFrameSize);
    if (total < 0) return total;
    return udp_frame_check(r->frameBuffer, static_cast<size_t>(total), r->width, r->height, frame);
}

}  // namespace sarvik
