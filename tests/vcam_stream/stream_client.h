// The PC side of the virtual camera's stream for tests: the SDK's receivers behind their operations table,
// a frame slot, and the temperatures of what arrived.
#pragma once

#include <arpa/inet.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "data_frame.h"
#include "frame_recver.h"

namespace streamtest {

constexpr uint16_t kStreamPort = 55503;
constexpr uint16_t kSnapshotPort = 55505;

uint32_t host_address(const std::string &ip);

// One receiver of either transport with one frame slot of its size.
class StreamClient {
public:
    StreamClient(int transport, uint16_t width, uint16_t height);
    ~StreamClient();
    StreamClient(const StreamClient &) = delete;
    StreamClient &operator=(const StreamClient &) = delete;

    int open(const std::string &ip, uint16_t port = kStreamPort);
    void close();
    int receive();
    // Receives until a frame arrives, at most tries attempts: the last status.
    int receive_ok(int tries = 5);

    const _DataFrameHeader &header() const { return *frame_.header; }
    const int16_t *samples() const { return frame_.data; }
    uint16_t width() const { return width_; }
    uint16_t height() const { return height_; }
    float temp_at(int x, int y) const;
    // Mean temperature over columns [x0, x1) and rows [y0, y1).
    double mean_temp(int x0, int x1, int y0, int y1) const;
    float max_temp() const;
    // Pixels at or above tempC.
    int count_at_least(float tempC) const;

private:
    const sarvik::FrameRecverOps *ops_;
    void *recver_ = nullptr;
    _DataFrame frame_{};
    uint16_t width_;
    uint16_t height_;
};

// Against a camera started with --fault-stream-drop frames: two rounds of open, that many frames, then
// the broken connection (-97). Returns "" or what went wrong.
std::string drop_and_reconnect(StreamClient &c, const std::string &ip, int frames);

// Wall-clock time as 100-ns ticks since 1970.
int64_t unix_ticks_now();

// A TCP connection to ip:port with 3 s time-outs; -1 on failure.
int tcp_connect(const std::string &ip, uint16_t port);
bool recv_all(int fd, void *buf, size_t len);

}  // namespace streamtest
