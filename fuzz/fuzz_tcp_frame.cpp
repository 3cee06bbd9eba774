// A TCP frame stream from the network, through the receiver itself on a socket pair: the header check,
// the payload reads and the decoding, frame after frame until the stream ends.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data_frame.h"
#include "frame_recver_tcp.h"

namespace {
// Where a resynchronising receiver reconnects: a loopback address on which nothing listens.
constexpr uint32_t kNowhere = 0x7f0005feu;  // 127.0.5.254
constexpr uint16_t kNowherePort = 9;
constexpr int kMaxFrames = 16;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const uint16_t w = static_cast<uint16_t>(1 + (data[0] >> 1) % 48);
    const uint16_t h = static_cast<uint16_t>(1 + data[1] % 32);
    std::vector<uint8_t> stream(data + 2, data + size);
    // Odd first byte: the first header carries the receiver's dimensions, so the payload paths are reached.
    if ((data[0] & 1) && stream.size() >= 4) {
        std::memcpy(stream.data(), &w, 2);
        std::memcpy(stream.data() + 2, &h, 2);
    }
    int fds[2];
    // Non-blocking, so an input larger than the socket buffer is cut short instead of hanging; all that
    // was written is queued before the reader starts, and then it sees the end of the stream.
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) != 0) return 0;
    if (!stream.empty() && write(fds[1], stream.data(), stream.size()) < 0) {
    }
    close(fds[1]);

    sarvik::FrameRecverTcp *r = sarvik::frame_recver_tcp_create(w, h);
    _DataFrame slot;
    if (!r || sarvik::data_frame_alloc(&slot, w, h) != 0) {
        sarvik::frame_recver_tcp_free(&r);
        close(fds[0]);
        return 0;
    }
    r->fd = fds[0];
    r->address = kNowhere;
    r->port = kNowherePort;
    for (int i = 0; i < kMaxFrames; ++i) {
        const int ret = sarvik::FR_Recv(r, &slot);
        if (ret == 0) {
            if (slot.header->width != w || slot.header->height != h || slot.header->encodedLength != 0)
                __builtin_trap();
            continue;
        }
        if (ret != -11 && ret != -97 && ret != -7) __builtin_trap();
        if (ret != -11) break;
    }
    sarvik::frame_recver_tcp_free(&r);
    sarvik::data_frame_free(&slot);
    return 0;
}
