// The camera's compressed video ports: TCP 55506 (the thermal picture) and 55507 (the mixed picture).
// Every connection gets one H264FrameStart, then per frame an H264FrameHeader and one Annex-B access unit,
// at the camera's frame rate, from an encoder of its own (so it starts with a key frame).
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <thread>

#include "camera_state.h"
#include "client_threads.h"
#include "video_picture.h"
#include "vcam_options.h"

namespace vcam {

constexpr uint16_t kVideoPort = 55506;
constexpr uint16_t kMixedPort = 55507;

// Frame sizes a client accepts: header plus data at most 3 x width x height + 17408 bytes.
inline int64_t max_video_frame_bytes(int width, int height) {
    return 3 * static_cast<int64_t>(width) * height + 17408;
}
constexpr int32_t kUndersizedFrameBytes = 800;

class VideoService {
public:
    VideoService(const Options &opt, CameraState &state, int64_t startMs, VideoKind kind, uint16_t port);
    ~VideoService();
    VideoService(const VideoService &) = delete;
    VideoService &operator=(const VideoService &) = delete;

    // Binds ip:port and listens; false (with a message on stderr) when that fails.
    bool open();
    // Accepts and streams until stop is set or the deadline passes; joins every stream before returning.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    // connection: 0 for the first one the port accepted.
    void serve(int fd, int connection, const std::atomic<bool> &stop, int64_t deadlineMs);

    const Options &opt_;
    CameraState &state_;
    const int64_t startMs_;
    const VideoKind kind_;
    const uint16_t port_;
    int listenFd_ = -1;
    int accepted_ = 0;
    ClientThreads clients_;
};

}  // namespace vcam
