// The camera's temperature stream, TCP (port 55503 by default): every connection gets header + samples
// at the camera's frame rate, unasked, until the client goes, the camera stops or a fault ends it.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "camera_state.h"
#include "client_threads.h"
#include "stream_frame.h"
#include "vcam_options.h"

namespace vcam {

class StreamService {
public:
    // startMs: the camera's start on the now_ms clock; the scene moves with the time since then.
    StreamService(const Options &opt, CameraState &state, int64_t startMs);
    ~StreamService();
    StreamService(const StreamService &) = delete;
    StreamService &operator=(const StreamService &) = delete;

    // Binds ip:port and listens; false (with a message on stderr) when that fails.
    bool open();
    // Accepts and streams until stop is set or the deadline passes; joins every stream before returning.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    bool listen_now();
    void stream(int fd, const std::atomic<bool> &stop, int64_t deadlineMs);
    bool send_frame(int fd, const uint8_t *bytes, size_t len, const std::atomic<bool> &stop);
    void hold_stalled(int fd, const std::atomic<bool> &stop, int64_t deadlineMs);

    const Options &opt_;
    CameraState &state_;
    const int64_t startMs_;
    const SceneLoop loop_;  // empty unless --scene-loop
    int listenFd_ = -1;
    std::atomic<int64_t> awayUntilMs_{0};
    ClientThreads clients_;
};

// A TCP socket listening on ip:port, or -1 (with a message on stderr).
int listen_tcp(const std::string &ip, uint16_t port);

// Sleeps until the now_ms clock reaches untilMs, waking early for stop; false when stopped.
bool sleep_until_ms(int64_t untilMs, const std::atomic<bool> &stop);

}  // namespace vcam
