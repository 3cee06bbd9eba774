#include "video_service.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "SarvikFfmpeg.h"
#include "SarvikSDK.h"
#include "command_server.h"
#include "stream_service.h"
#include "thermal_scene.h"
#include "video_encoder.h"

namespace vcam {

namespace {

constexpr int kSendTimeoutMs = 2000;
constexpr size_t kMaxClients = 8;  // each one runs an encoder of its own
constexpr int kPollMs = 100;
constexpr size_t kUsedConfigBytes = 64;

const char *kind_name(VideoKind k) {
    return k == VideoKind::Mixed ? "mixed" : "video";
}

bool send_header(int fd, int32_t size, int width, int height) {
    H264FrameHeader h{};
    h.size = size;
    h.width = static_cast<uint16_t>(width);
    h.height = static_cast<uint16_t>(height);
    return send_exact(fd, reinterpret_cast<const uint8_t *>(&h), sizeof h);
}

}  // namespace

VideoService::VideoService(const Options &opt, CameraState &state, int64_t startMs, VideoKind kind,
                           uint16_t port)
    : opt_(opt), state_(state), startMs_(startMs), kind_(kind), port_(port) {}

VideoService::~VideoService() {
    clients_.reap(true);
    if (listenFd_ >= 0) close(listenFd_);
}

bool VideoService::open() {
    listenFd_ = listen_tcp(opt_.ip, port_);
    return listenFd_ >= 0;
}

void VideoService::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    while (!stop && now_ms() < deadlineMs && listenFd_ >= 0) {
        clients_.reap(false);
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        const int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        if (clients_.size() >= kMaxClients) {
            std::fprintf(stderr, "sarvik-vcam: %s port busy, connection refused\n", kind_name(kind_));
            close(fd);
            continue;
        }
        const int connection = accepted_++;
        clients_.start(fd, kSendTimeoutMs, [this, connection, &stop, deadlineMs](int client) {
            serve(client, connection, stop, deadlineMs);
        });
    }
    clients_.reap(true);
}

void VideoService::serve(int fd, int connection, const std::atomic<bool> &stop, int64_t deadlineMs) {
    const VideoOptions &v = opt_.video;
    const bool resized = connection > 0 && v.resizeWidth > 0 && v.resizeHeight > 0;
    const int width = even_side(resized ? v.resizeWidth : video_width(opt_));
    const int height = even_side(resized ? v.resizeHeight : video_height(opt_));
    if (!video_size_ok(width, height)) {
        std::fprintf(stderr, "sarvik-vcam: %s size %dx%d out of range, connection closed\n", kind_name(kind_),
                     width, height);
        return;
    }
    VideoPicture picture(opt_, kind_, width, height);
    VideoEncoder encoder;
    const uint8_t *au = nullptr;
    int len = 0;
    int rc = encoder.open(width, height, opt_.fps);
    if (rc == 0) rc = encoder.encode(picture.render(now_ms() - startMs_, state_.shutter_closed()), &au, &len);
    if (rc != 0) {
        std::fprintf(stderr, "sarvik-vcam: %s encoder failed: %s\n", kind_name(kind_), Ffmpeg_ErrorText(rc));
        return;
    }

    // The first access unit is a key frame: its parameter sets are the stream's codec configuration.
    H264FrameStart start{};
    start.configLength = static_cast<int32_t>(
        copy_parameter_sets(au, static_cast<size_t>(len), start.config, kUsedConfigBytes));
    start.paramA = opt_.fps;  // frame rate that stamps a client's recordings
    start.paramB = 1;
    start.width = static_cast<uint16_t>(width);
    start.height = static_cast<uint16_t>(height);
    if (!send_exact(fd, reinterpret_cast<const uint8_t *>(&start), sizeof start)) return;

    const int64_t maxFrameBytes = max_video_frame_bytes(width, height);
    std::vector<uint8_t> wire(static_cast<size_t>(maxFrameBytes));
    const bool first = connection == 0;
    const int64_t periodUs = opt_.fps > 0 ? 1000000 / opt_.fps : 0;
    const int64_t firstMs = now_ms();
    for (int64_t sent = 0; !stop && now_ms() < deadlineMs; ++sent) {
        if (first && v.dropAfterFrames >= 0 && sent >= v.dropAfterFrames) return;
        if (periodUs > 0 && !sleep_until_ms(firstMs + sent * periodUs / 1000, stop)) return;
        if (sent > 0) {
            rc = encoder.encode(picture.render(now_ms() - startMs_, state_.shutter_closed()), &au, &len);
            if (rc < 0) {
                std::fprintf(stderr, "sarvik-vcam: %s encoder failed: %s\n", kind_name(kind_),
                             Ffmpeg_ErrorText(rc));
                return;
            }
            if (rc != 0) continue;  // held back: nothing to send for this picture
        }
        const int64_t frameNo = sent + 1;
        // A broken header ends the connection: nothing sensible can follow it.
        if (first && frameNo == v.oversizeAtFrame) {
            send_header(fd, static_cast<int32_t>(std::min<int64_t>(maxFrameBytes + 1, INT32_MAX)), width,
                        height);
            return;
        }
        if (first && frameNo == v.undersizeAtFrame) {
            send_header(fd, kUndersizedFrameBytes, width, height);
            return;
        }
        const int64_t total = static_cast<int64_t>(sizeof(H264FrameHeader)) + len;
        if (total > maxFrameBytes) {
            std::fprintf(stderr, "sarvik-vcam: %s frame of %lld bytes too large, connection closed\n",
                         kind_name(kind_), static_cast<long long>(total));
            return;
        }
        H264FrameHeader h{};
        h.size = static_cast<int32_t>(total);
        h.width = static_cast<uint16_t>(width);
        h.height = static_cast<uint16_t>(height);
        // The send time rides in the reserved bytes, which clients carry unchanged: it lets them measure
        // the delay from the camera to their pictures.
        const int64_t sentAt = unix_ticks_now();
        std::memcpy(h.reserved_8, &sentAt, sizeof sentAt);
        std::memcpy(wire.data(), &h, sizeof h);
        std::memcpy(wire.data() + sizeof h, au, static_cast<size_t>(len));
        if (!send_exact(fd, wire.data(), static_cast<size_t>(total))) return;
    }
}

}  // namespace vcam
