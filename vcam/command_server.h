// The camera's command port: one request per TCP connection, answered from the camera state.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "camera_state.h"
#include "vcam_options.h"

namespace vcam {

class CommandServer {
public:
    CommandServer(const Options &opt, CameraState &state);
    ~CommandServer();

    // Binds ip:port and listens; false (with a message on stderr) when that fails.
    bool open();
    // Serves connections one after the other until stop is set, the deadline passes or the
    // connection budget is spent.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    void serve(int fd);
    void answer(int fd, const uint8_t *msg, size_t len);
    void log_request(uint16_t type, uint16_t length);

    const Options &opt_;
    CameraState &state_;
    int listenFd_ = -1;
    FILE *requestLog_ = nullptr;
};

int64_t now_ms();

}  // namespace vcam
