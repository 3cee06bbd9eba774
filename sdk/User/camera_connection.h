// A fresh TCP connection to a camera port, set up the way every command and transfer needs it: connect
// time-out, then the configured send and receive time-outs.
#pragma once

#include <cstdint>

namespace sarvik {

// Owns one TCP socket; closes it when it goes out of scope, so every return path releases the connection.
class CameraSocket {
public:
    CameraSocket();
    ~CameraSocket();
    CameraSocket(const CameraSocket &) = delete;
    CameraSocket &operator=(const CameraSocket &) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Connects s to address:port (host order) within the connect time-out and sets the send time-out and the
// given receive time-out. 0, or -100 (no socket), -99 (connect failed or timed out), -1 (socket options).
int camera_connect(const CameraSocket &s, uint32_t address, uint16_t port, int recvTimeoutMs);

// Reads until len bytes arrived, the peer closed, or timeout_ms elapsed overall (a trickling peer cannot
// stretch the wait). Returns the byte count received.
int recv_until(int fd, uint8_t *buf, int len, int timeout_ms);

}  // namespace sarvik
