#include "video_preview_input.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "../Common/sdk_global.h"
#include "../Common/sdk_log.h"
#include "../Common/sdk_sync.h"
#include "SarvikFfmpeg.h"
#include "data_frame.h"
#include "video_framing.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

constexpr int kVideoTimeoutMs = 2000;
constexpr int kRecoverTriesPerSeries = 10;
// A connect attempt checks for a stop this often.
constexpr int kConnectSliceMs = 100;

bool running(const VideoPreviewInput *in) {
    return (in->flags.load() & kVideoRunning) != 0;
}

void call_back(VideoPreviewInput *in, int status, _DataFrame *frame) {
    preview_call_back(in->index, in->param, status, frame);
}

// The display hook has nothing to draw on on this platform.
void display_hook(VideoPreviewInput *in, _DataFrame *frame) {
    (void)in;
    (void)frame;
}

// ---- ring ----

int ring_alloc(VideoFrameRing *ring, uint16_t width, uint16_t height) {
    std::memset(ring, 0, sizeof *ring);
    const size_t imageBytes = 4 * static_cast<size_t>(width) * height;
    ring->extraBytes = video_frame_max_bytes(width, height);
    for (int i = 0; i < kVideoRingSlots; ++i) {
        auto *block = static_cast<uint8_t *>(std::calloc(1, imageBytes + ring->extraBytes));
        if (!block) return SARVIK_ERR_PREVIEW_RING;
        ring->blocks[i] = block;
        ring->slots[i].image = reinterpret_cast<uint32_t *>(block);
        ring->slots[i].extra = block + imageBytes;
    }
    return 0;
}

void ring_free(VideoFrameRing *ring) {
    for (uint8_t *&block : ring->blocks) {
        std::free(block);
        block = nullptr;
    }
    std::memset(ring->slots, 0, sizeof ring->slots);
    ring->newest = nullptr;
}

// ---- connection ----

// The worker publishes its socket so that stop can shut it down; only the worker closes it.
void set_socket(VideoPreviewInput *in, int fd) {
    pthread_mutex_lock(&in->sockMutex);
    in->sock = fd;
    pthread_mutex_unlock(&in->sockMutex);
}

void close_socket(VideoPreviewInput *in) {
    pthread_mutex_lock(&in->sockMutex);
    const int fd = in->sock;
    in->sock = -1;
    pthread_mutex_unlock(&in->sockMutex);
    if (fd >= 0) close(fd);
}

// A fresh stream socket with the stream's send and receive time-outs, published as the worker's: -1 on
// failure.
int open_socket(VideoPreviewInput *in) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (sock_set_timeouts(fd, kVideoTimeoutMs, kVideoTimeoutMs) != 0) {
        close(fd);
        return -1;
    }
    set_socket(in, fd);
    return fd;
}

// Connects within 2000 ms; a stoppable attempt gives up early once the preview stops. 0 or -1 (errno).
int connect_stream(VideoPreviewInput *in, int fd, bool stoppable) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return -1;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(in->port);
    sa.sin_addr.s_addr = htonl(in->address);
    int rc = connect(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa);
    if (rc != 0 && (errno == EINPROGRESS || errno == EINTR)) {
        rc = -1;
        errno = ETIMEDOUT;
        for (int left = kVideoTimeoutMs; left > 0 && (!stoppable || running(in)); left -= kConnectSliceMs) {
            pollfd p{fd, POLLOUT, 0};
            const int n = poll(&p, 1, left < kConnectSliceMs ? left : kConnectSliceMs);
            if (n < 0 && errno != EINTR) break;
            if (n <= 0) continue;
            int soError = 0;
            socklen_t len = sizeof soError;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) == 0 && soError == 0) {
                rc = 0;
            } else {
                errno = soError;
            }
            break;
        }
    }
    const int saved = errno;
    fcntl(fd, F_SETFL, flags);
    errno = saved;
    return rc == 0 ? 0 : -1;
}

int recv_start(int fd, H264FrameStart *start) {
    return sock_recv_all(fd, start, sizeof *start, 0);
}

// Waits up to ms, or less when the preview stops meanwhile.
void wait_ms(VideoPreviewInput *in, int ms) {
    wait_ms_while(&in->waitMutex, &in->waitCond, ms, [in] { return running(in); });
}

// One series of reconnection tries. A TCP socket connects once, so every try gets a fresh one. Tries are
// counted per connection made; a stream of another size is refused and the tries go on.
void recover(VideoPreviewInput *in) {
    int tries = 0;
    while (running(in) && (in->flags.load() & kVideoReconnecting)) {
        wait_ms(in, 1000);
        if (!running(in)) break;
        const int fd = open_socket(in);
        if (fd < 0) continue;
        if (connect_stream(in, fd, true) != 0) {
            close_socket(in);
            continue;
        }
        ++tries;
        H264FrameStart start;
        if (recv_start(fd, &start) == 0) {
            if (video_frame_start_matches(start, in->streamWidth, in->streamHeight)) {
                in->flags &= ~kVideoReconnecting;
                break;
            }
            SDK_LOG("preview %d, stream %ux%u refused, %ux%u expected", in->index, start.width, start.height,
                    in->streamWidth, in->streamHeight);
        }
        if (tries > kRecoverTriesPerSeries) {
            SDK_LOG("recover tryCount exceed");
            break;
        }
        close_socket(in);
    }
    if (in->flags.load() & kVideoReconnecting) {
        close_socket(in);
        return;
    }
    if (running(in)) call_back(in, SARVIK_STATUS_CONNECTION_RESTORED, nullptr);
}

void connection_lost(VideoPreviewInput *in) {
    close_socket(in);
    in->flags |= kVideoReconnecting;
    call_back(in, SARVIK_STATUS_CONNECTION_LOST, nullptr);
}

// Receives one frame into the slot's extra block: true when header and compressed bytes arrived whole and
// the header was valid; logs why not otherwise.
bool receive_frame(VideoPreviewInput *in, int fd, _DataFrame *slot, int32_t *payloadBytes) {
    auto *header = reinterpret_cast<H264FrameHeader *>(slot->extra);
    if (sock_recv_all(fd, header, kVideoFrameHeaderSize, 0) != 0) {
        if (!running(in)) return false;  // a stop shut the socket down: nothing went wrong
        if (in->kind == SARVIK_PREVIEW_VIDEO)
            SDK_LOG("recv H264FrameHeader error, %d", errno);
        else
            SDK_LOG("recv H264FrameHeader error");
        return false;
    }
    const int32_t payload = video_frame_payload_bytes(*header, in->ring.extraBytes);
    if (payload < 0) {
        SDK_LOG("invalid H264FrameHeader, Size %d, Width %d, Height %d", header->size, header->width,
                header->height);
        return false;
    }
    if (payload > 0 &&
        sock_recv_all(fd, slot->extra + kVideoFrameHeaderSize, static_cast<size_t>(payload), 0) != 0) {
        if (running(in)) SDK_LOG("recv data error");
        return false;
    }
    *payloadBytes = payload;
    return true;
}

// ---- input ----

void free_input(VideoPreviewInput *in) {
    if (in->decoder) H264Dec_Close(&in->decoder);
    if (in->mutexesReady) {
        close_socket(in);
        pthread_cond_destroy(&in->waitCond);
        pthread_mutex_destroy(&in->waitMutex);
        pthread_mutex_destroy(&in->mutex);
        pthread_mutex_destroy(&in->sockMutex);
    }
    ring_free(&in->ring);
    delete in;
}

bool init_mutexes(VideoPreviewInput *in) {
    if (pthread_mutex_init(&in->sockMutex, nullptr) != 0) return false;
    if (pthread_mutex_init(&in->mutex, nullptr) != 0) {
        pthread_mutex_destroy(&in->sockMutex);
        return false;
    }
    if (pthread_mutex_init(&in->waitMutex, nullptr) != 0) {
        pthread_mutex_destroy(&in->mutex);
        pthread_mutex_destroy(&in->sockMutex);
        return false;
    }
    if (pthread_cond_init(&in->waitCond, nullptr) != 0) {
        pthread_mutex_destroy(&in->waitMutex);
        pthread_mutex_destroy(&in->mutex);
        pthread_mutex_destroy(&in->sockMutex);
        return false;
    }
    in->mutexesReady = true;
    return true;
}

}  // namespace

int video_preview_build(const PreviewSlot &slot, int index, VideoPreviewInput **out) {
    *out = nullptr;
    auto *in = new (std::nothrow) VideoPreviewInput();
    if (!in) return SARVIK_ERR_PREVIEW_RING;
    in->index = index;
    in->kind = slot.param.previewKind;
    in->flags = 0;
    in->address = slot.address;
    in->port = slot.port;
    in->param = slot.param;
    in->videoWidth = slot.basicInfo.videoWidth;
    in->videoHeight = slot.basicInfo.videoHeight;
    in->sock = -1;
    if (in->videoWidth == 0 || in->videoHeight == 0 ||
        ring_alloc(&in->ring, in->videoWidth, in->videoHeight) != 0) {
        ring_free(&in->ring);
        delete in;
        return SARVIK_ERR_PREVIEW_RING;
    }
    if (!init_mutexes(in)) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }

    const int fd = open_socket(in);
    if (fd < 0 || connect_stream(in, fd, false) != 0) {
        SDK_LOG("preview %d, connect port %u error, %d", index, in->port, errno);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    // The start record lands in a ring slot, as every received byte of the stream does.
    auto *start = reinterpret_cast<H264FrameStart *>(in->ring.slots[0].extra);
    if (recv_start(fd, start) != 0) {
        SDK_LOG("recv H264FrameStart error, %d", errno);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    H264DecConfig cfg;
    const uint32_t device =
        in->kind == SARVIK_PREVIEW_MIXED ? 0u : static_cast<uint32_t>(sdk().config.decoder);
    video_decoder_config_fill(&cfg, *start, device, in->videoWidth, in->videoHeight);
    in->decoder = H264Dec_Open();
    if (!in->decoder) {
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    const int configured = H264Dec_SetConfig(in->decoder, &cfg);
    if (configured < 0) {
        SDK_LOG("preview %d, H264Dec_SetConfig error %d", index, configured);
        free_input(in);
        return SARVIK_ERR_PREVIEW_INPUT;
    }
    in->streamWidth = start->width;
    in->streamHeight = start->height;
    *out = in;
    return 0;
}

int video_preview_start(VideoPreviewInput *in) {
    in->flags |= kVideoRunning;
    in->workerStarted = pthread_create(&in->worker, nullptr, video_preview_worker, in) == 0;
    if (in->workerStarted) return 0;
    in->flags &= ~kVideoRunning;
    return SARVIK_ERR_PREVIEW_THREAD;
}

void video_preview_stop_and_free(VideoPreviewInput *in) {
    if (!in) return;
    in->flags &= ~kVideoRunning;
    if (in->mutexesReady) {
        pthread_mutex_lock(&in->waitMutex);
        pthread_cond_broadcast(&in->waitCond);
        pthread_mutex_unlock(&in->waitMutex);
        // Ends a receive blocked on a silent camera at once; the worker sees the stop and closes it.
        pthread_mutex_lock(&in->sockMutex);
        if (in->sock >= 0) shutdown(in->sock, SHUT_RDWR);
        pthread_mutex_unlock(&in->sockMutex);
    }
    if (in->workerStarted) pthread_join(in->worker, nullptr);
    in->workerStarted = false;
    if (in->mutexesReady) video_preview_end_save(in, SARVIK_SAVE_VIDEO);
    free_input(in);
}

int video_preview_begin_save(VideoPreviewInput *in, const char *path, int type) {
    if (type != SARVIK_SAVE_VIDEO) return SARVIK_ERR_REFUSED;
    if (in->flags.load() & kVideoReconnecting) return SARVIK_ERR_STATE;
    if (!path || !*path) return SARVIK_ERR_INVALID_ARG;
    pthread_mutex_lock(&in->mutex);
    if (in->flags.load() & kVideoWriting) {
        in->flags &= ~kVideoWriting;
        const int ended = H264Dec_MuxEnd(in->decoder);
        if (ended != 0) SDK_LOG("preview %d, H264Dec_MuxEnd error %d", in->index, ended);
    }
    const int r = H264Dec_MuxBegin(in->decoder, path);
    in->muxErrorLogged = false;
    if (r == 0)
        in->flags |= kVideoWriting;
    else
        SDK_LOG("preview %d, H264Dec_MuxBegin error %d", in->index, r);
    pthread_mutex_unlock(&in->mutex);
    return r;
}

int video_preview_end_save(VideoPreviewInput *in, int type) {
    (void)type;  // whatever the type, a running recording ends
    int r = 0;
    pthread_mutex_lock(&in->mutex);
    if (in->flags.load() & kVideoWriting) {
        in->flags &= ~kVideoWriting;
        r = H264Dec_MuxEnd(in->decoder);
        if (r != 0) SDK_LOG("preview %d, H264Dec_MuxEnd error %d", in->index, r);
    }
    pthread_mutex_unlock(&in->mutex);
    return r;
}

void *video_preview_worker(void *arg) {
    auto *in = static_cast<VideoPreviewInput *>(arg);
    while (running(in)) {
        if (in->flags.load() & kVideoReconnecting) {
            recover(in);
            continue;
        }
        pthread_mutex_lock(&in->sockMutex);
        const int fd = in->sock;
        pthread_mutex_unlock(&in->sockMutex);
        _DataFrame *slot = &in->ring.slots[in->ring.next];
        int32_t payload = 0;
        if (!receive_frame(in, fd, slot, &payload)) {
            if (!running(in)) break;
            connection_lost(in);
            continue;
        }
        const uint8_t *compressed = slot->extra + kVideoFrameHeaderSize;
        int decoded = SFF_NO_OUTPUT;
        pthread_mutex_lock(&in->mutex);
        if (payload > 0) decoded = H264Dec_DecFrame(in->decoder, compressed, payload, slot->image);
        if ((in->flags.load() & kVideoWriting) && payload > 0) {
            const int muxed = H264Dec_MuxFrame(in->decoder, compressed, payload);
            if (muxed < 0 && !in->muxErrorLogged) {
                in->muxErrorLogged = true;
                SDK_LOG("preview %d, H264Dec_MuxFrame error %d", in->index, muxed);
            }
        }
        pthread_mutex_unlock(&in->mutex);
        // Only a decoded picture is handed out: a slot the decoder left untouched holds an older one.
        if (decoded != 0 || (in->flags.load() & kVideoPaused)) continue;
        if (in->param.display) display_hook(in, slot);
        call_back(in, 0, slot);
        data_frame_ring_commit(in->ring.slots, kVideoRingSlots, &in->ring.next, &in->ring.newest);
    }
    close_socket(in);
    return nullptr;
}

}  // namespace sarvik
