// The camera's RTSP server (off unless --rtsp-port is given): rtsp://IP:PORT/video serves the thermal
// picture and rtsp://IP:PORT/mixed the mixed one, as H.264 over RTP carried on the RTSP connection. Each
// client gets its own encoder, so its stream starts with a key frame. Bound to the camera's address only.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "camera_state.h"
#include "vcam_options.h"

namespace vcam {

class RtspServer {
public:
    RtspServer(const Options &opt, CameraState &state, int64_t startMs);
    ~RtspServer();
    RtspServer(const RtspServer &) = delete;
    RtspServer &operator=(const RtspServer &) = delete;

    // Initialises GStreamer and listens on ip:rtspPort; false (with a message on stderr) when a needed
    // GStreamer element is missing or the port cannot be bound.
    bool open();
    // Serves until stop is set or the deadline passes, then closes every client.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace vcam
