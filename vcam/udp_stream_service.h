// The UDP variant of the temperature stream. A client opens with a 524-byte control datagram (type 8) to
// the control port (the stream port number, UDP); the camera answers type 16 with status 1 and its data
// port, sends the first frame unasked, and after that one frame per next-frame request (type 4), never
// faster than its frame rate. A frame goes out as a train of fragments from the data port; fragment
// numbers run on per client across frames and wrap from 65535 to 0.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "camera_state.h"
#include "stream_frame.h"
#include "vcam_options.h"

namespace vcam {

class UdpStreamService {
public:
    UdpStreamService(const Options &opt, CameraState &state, int64_t startMs);
    ~UdpStreamService();
    UdpStreamService(const UdpStreamService &) = delete;
    UdpStreamService &operator=(const UdpStreamService &) = delete;

    // Binds the control port and a data port on the camera's address; false (message on stderr) on failure.
    bool open();
    // Serves clients until stop is set or the deadline passes.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    struct Session {
        sockaddr_in peer{};
        uint16_t nextFragment = 0;
        int64_t framesSent = 0;
        int64_t dueMs = 0;       // the next frame may not go out before this
        int64_t lastHeardMs = 0;
        bool wanted = false;     // a frame is owed to the client
        bool silenced = false;   // a drop or stall fault ended this stream
    };

    void handle_control(const uint8_t *msg, const sockaddr_in &from, int64_t nowMs);
    Session *find(const sockaddr_in &peer);
    void serve_due(int64_t nowMs, const std::atomic<bool> &stop);
    void send_train(Session &s, size_t len, const std::atomic<bool> &stop);

    const Options &opt_;
    CameraState &state_;
    const int64_t startMs_;
    int controlFd_ = -1;
    int dataFd_ = -1;
    uint16_t dataPort_ = 0;
    int64_t periodUs_;
    int64_t awayUntilMs_ = 0;
    std::vector<Session> sessions_;
    StreamFrame frame_;
    std::vector<uint8_t> datagram_;
};

}  // namespace vcam
