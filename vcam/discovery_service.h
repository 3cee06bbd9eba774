// The camera's discovery port, UDP 55501: answers discovery requests and applies address changes that
// name this camera.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "camera_state.h"
#include "vcam_options.h"

namespace vcam {

class DiscoveryService {
public:
    DiscoveryService(const Options &opt, CameraState &state);
    ~DiscoveryService();
    DiscoveryService(const DiscoveryService &) = delete;
    DiscoveryService &operator=(const DiscoveryService &) = delete;

    // Binds 0.0.0.0:55501 with address reuse, so that every camera of a namespace hears each broadcast;
    // false (with a message on stderr) when that fails.
    bool open();
    // Serves datagrams until stop is set or the deadline passes.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    void handle(const uint8_t *data, size_t len, const sockaddr_in &from);
    void answer_discovery(uint32_t route, const sockaddr_in &from);
    void apply_config_ip(const uint8_t *data, size_t len, const sockaddr_in &from);
    void send_to(const void *msg, size_t len, uint32_t addr, uint16_t port);
    // Sleeps ms, but wakes for the stop flag or the deadline.
    void pause_ms(int ms);
    void log_request(uint16_t type, uint16_t length);

    const Options &opt_;
    CameraState &state_;
    int fd_ = -1;
    uint32_t ownIp_ = 0;  // host byte order
    bool privateNetns_ = false;
    FILE *requestLog_ = nullptr;
    const std::atomic<bool> *stop_ = nullptr;
    int64_t deadlineMs_ = 0;
};

}  // namespace vcam
