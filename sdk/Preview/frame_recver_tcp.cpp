#include "frame_recver_tcp.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>

#include "data_frame.h"
#include "delta_run.h"
#include "sdk_log.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

// A header whose payload we will not read leaves the stream at an unknown position: start afresh.
int resynchronise(FrameRecverTcp *r) {
    frame_recver_tcp_close(r);
    return frame_recver_tcp_open(r, r->address, r->port) == 0 ? kFrMalformed : kFrRecvFailed;
}

void *op_create(uint16_t width, uint16_t height) { return frame_recver_tcp_create(width, height); }
void op_free(void **recver) {
    auto *r = static_cast<FrameRecverTcp *>(*recver);
    frame_recver_tcp_free(&r);
    *recver = nullptr;
}
int op_open(void *recver, uint32_t address, uint16_t port) {
    return frame_recver_tcp_open(static_cast<FrameRecverTcp *>(recver), address, port);
}
void op_close(void *recver) { frame_recver_tcp_close(static_cast<FrameRecverTcp *>(recver)); }
int op_receive(void *recver, _DataFrame *frame) { return FR_Recv(static_cast<FrameRecverTcp *>(recver), frame); }
void op_interrupt(void *recver) { frame_recver_tcp_interrupt(static_cast<FrameRecverTcp *>(recver)); }

}  // namespace

const FrameRecverOps FrameRecverTcpOps = {op_create, op_free, op_open, op_close, op_receive, op_interrupt};

FrameRecverTcp *frame_recver_tcp_create(uint16_t width, uint16_t height) {
    if (width == 0 || height == 0) return nullptr;
    auto *r = new (std::nothrow) FrameRecverTcp{};
    if (!r) return nullptr;
    r->width = width;
    r->height = height;
    r->rawSize = 2 * static_cast<size_t>(width) * height;
    r->fd = -1;
    r->interrupted = false;
    if (pthread_mutex_init(&r->fdMutex, nullptr) != 0) {
        delete r;
        return nullptr;
    }
    return r;
}

void frame_recver_tcp_free(FrameRecverTcp **recver) {
    if (!recver || !*recver) return;
    frame_recver_tcp_close(*recver);
    pthread_mutex_destroy(&(*recver)->fdMutex);
    delete *recver;
    *recver = nullptr;
}

int frame_recver_tcp_open(FrameRecverTcp *r, uint32_t address, uint16_t port) {
    frame_recver_tcp_close(r);
    r->address = address;
    r->port = port;
    const int fd = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (fd < 0) return kFrNoSocket;
    if (sock_connect_timeout(fd, address, port, frame_recver_connect_timeout_ms()) != 0) {
        close(fd);
        return kFrConnectFailed;
    }
    const int on = 1;
    if (sock_set_timeouts(fd, frame_recver_send_timeout_ms(), frame_recver_recv_timeout_ms()) != 0 ||
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
        close(fd);
        return kFrSocketOption;
    }
    pthread_mutex_lock(&r->fdMutex);
    const bool stopped = r->interrupted.load();
    if (!stopped) r->fd = fd;
    pthread_mutex_unlock(&r->fdMutex);
    if (stopped) {
        close(fd);
        return kFrConnectFailed;
    }
    return 0;
}

void frame_recver_tcp_close(FrameRecverTcp *r) {
    pthread_mutex_lock(&r->fdMutex);
    if (r->fd >= 0) close(r->fd);
    r->fd = -1;
    pthread_mutex_unlock(&r->fdMutex);
}

void frame_recver_tcp_interrupt(FrameRecverTcp *r) {
    pthread_mutex_lock(&r->fdMutex);
    r->interrupted = true;
    if (r->fd >= 0) shutdown(r->fd, SHUT_RDWR);
    pthread_mutex_unlock(&r->fdMutex);
}

int64_t frame_recver_tcp_payload_size(const _DataFrameHeader *header, uint16_t width, uint16_t height) {
    if (header->width != width || header->height != height) {
        SDK_LOG("invalid header, width %d, height %d", header->width, header->height);
        return kFrMalformed;
    }
    const int64_t raw = 2 * static_cast<int64_t>(width) * height;
    if (header->encodedLength == 0) return raw;
    // Delta-run encoding only pays when it is shorter than the raw samples; anything else is not a frame.
    if (header->encodedLength < 0 || header->encodedLength >= raw) {
        SDK_LOG("invalid header, encoded length %d", header->encodedLength);
        return kFrMalformed;
    }
    return header->encodedLength;
}

int FR_Recv(FrameRecverTcp *r, _DataFrame *frame) {
    if (r->fd < 0) return kFrNotOpen;
    if (!frame || !frame->header || !frame->data || !frame->scratch) return kFrBufferSmall;

    errno = 0;
    if (sock_recv_all(r->fd, frame->header, kFrameHeaderSize, 0) != 0) {
        SDK_LOG("recv header error, %d", errno);
        return kFrRecvFailed;
    }
    const int64_t payload = frame_recver_tcp_payload_size(frame->header, r->width, r->height);
    if (payload < 0) return resynchronise(r);

    const bool encoded = frame->header->encodedLength != 0;
    void *dst = encoded ? static_cast<void *>(frame->scratch) : static_cast<void *>(frame->data);
    if (sock_recv_all(r->fd, dst, static_cast<size_t>(payload), 0) != 0) {
        SDK_LOG("recv data error");
        return kFrRecvFailed;
    }
    if (encoded && delta_run_decode_frame(frame->header, frame->scratch, static_cast<size_t>(payload), frame->data) != 0)
        return kFrMalformed;
    return 0;
}

}  // namespace sarvik
