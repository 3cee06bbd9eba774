#include "discovery_service.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "command_server.h"
#include "discovery_peers.h"

namespace vcam {

namespace {

constexpr uint16_t kDiscoveryPort = 55501;
constexpr uint16_t kPcAnswerPort = 55511;
constexpr int kPollMs = 100;
// Far beyond any test or demo, yet the loop ends by count too.
constexpr long kMaxDatagrams = 1000000;

}  // namespace

DiscoveryService::DiscoveryService(const Options &opt, CameraState &state) : opt_(opt), state_(state) {}

DiscoveryService::~DiscoveryService() {
    if (fd_ >= 0) close(fd_);
    if (requestLog_) std::fclose(requestLog_);
}

bool DiscoveryService::open() {
    in_addr own{};
    inet_pton(AF_INET, opt_.ip.c_str(), &own);
    ownIp_ = ntohl(own.s_addr);
    privateNetns_ = in_private_netns();

    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kDiscoveryPort);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (fd_ < 0 || setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        std::fprintf(stderr, "sarvik-vcam: cannot listen for discovery on udp 0.0.0.0:%u: %s\n", kDiscoveryPort,
                     std::strerror(errno));
        return false;
    }
    if (!opt_.requestLog.empty()) requestLog_ = std::fopen(opt_.requestLog.c_str(), "a");
    return true;
}

void DiscoveryService::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    stop_ = &stop;
    deadlineMs_ = deadlineMs;
    uint8_t buf[1024];
    for (long handled = 0; !stop && now_ms() < deadlineMs && handled < kMaxDatagrams;) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        ssize_t n = recvfrom(fd_, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&from), &fromLen);
        if (n < 0) continue;
        ++handled;
        // Broadcasts from other machines are heard but never answered (see discovery_peers.h).
        if (!discovery_peer_allowed(ntohl(from.sin_addr.s_addr), privateNetns_)) continue;
        handle(buf, static_cast<size_t>(n), from);
    }
}

void DiscoveryService::handle(const uint8_t *data, size_t len, const sockaddr_in &from) {
    _MsgHeader h;
    if (len < sizeof h) return;
    std::memcpy(&h, data, sizeof h);
    log_request(h.type, h.length);
    if (h.type == SARVIK_MSG_DISCOVER && h.length == sizeof(_DiscoverCameraReq) && len >= h.length) {
        _DiscoverCameraReq req;
        std::memcpy(&req, data, sizeof req);
        answer_discovery(req.route, from);
    } else if (h.type == SARVIK_MSG_CONFIG_IP && h.length == sizeof(_DiscoverConfigIPMsg) && len >= h.length) {
        apply_config_ip(data, len, from);
    }
}

void DiscoveryService::answer_discovery(uint32_t route, const sockaddr_in &from) {
    if (route > SARVIK_DISCOVER_ROUTE_PORT) return;
    if (opt_.discovery.onlyRoute >= 0 && route != static_cast<uint32_t>(opt_.discovery.onlyRoute)) return;
    const uint32_t peer = ntohl(from.sin_addr.s_addr);
    const uint16_t port = route == SARVIK_DISCOVER_ROUTE_SENDER ? ntohs(from.sin_port) : kPcAnswerPort;

    _DiscoverCameraMsg msg;
    std::memset(&msg, 0, sizeof msg);
    std::vector<uint8_t> basic;
    if (!state_.get_record(SARVIK_MSG_GET_CAMERA_BASIC_INFO, &basic) || basic.size() != sizeof msg.resp.basicInfo)
        return;
    msg.header.type = SARVIK_MSG_DISCOVER_ANSWER;
    msg.header.length = sizeof msg;
    std::memcpy(&msg.resp.basicInfo, basic.data(), basic.size());
    // The camera serves its ports on this address, whatever its network record says.
    msg.resp.cameraIp = ownIp_;

    pause_ms(opt_.discovery.answerDelayMs);
    if (opt_.discovery.stray) {
        _MsgHeader stray{SARVIK_MSG_RESERVED_2, sizeof(_MsgHeader)};
        send_to(&stray, sizeof stray, peer, port);
    }
    send_to(&msg, sizeof msg, peer, port);
}

void DiscoveryService::apply_config_ip(const uint8_t *data, size_t len, const sockaddr_in &from) {
    _DiscoverConfigIPMsg msg;
    if (len < sizeof msg) return;
    std::memcpy(&msg, data, sizeof msg);
    std::vector<uint8_t> basic;
    if (!state_.get_record(SARVIK_MSG_GET_CAMERA_BASIC_INFO, &basic) || basic.size() != sizeof(_CameraBasicInfo))
        return;
    _CameraBasicInfo own;
    std::memcpy(&own, basic.data(), sizeof own);
    if (std::strncmp(msg.info.cameraId, own.cameraId, sizeof own.cameraId) != 0) return;  // meant for another camera

    // Stored in the network record, where a later get of that record shows it; a camera that could not
    // store it must not confirm.
    if (!state_.set_record(SARVIK_MSG_SET_CAMERA_NETWORK_INFO, reinterpret_cast<const uint8_t *>(&msg.info.network),
                           sizeof msg.info.network)) {
        std::fprintf(stderr, "sarvik-vcam: %s: address change not stored\n", opt_.ip.c_str());
        return;
    }
    _DiscoverConfigIPAck ack;
    std::memset(&ack, 0, sizeof ack);
    ack.header.type = SARVIK_MSG_CONFIG_IP_ANSWER;
    ack.header.length = sizeof ack;
    if (opt_.discovery.ackId.empty())
        std::memcpy(ack.cameraId, own.cameraId, sizeof ack.cameraId);
    else
        std::memcpy(ack.cameraId, opt_.discovery.ackId.data(), std::min(opt_.discovery.ackId.size(), sizeof ack.cameraId));
    send_to(&ack, sizeof ack, ntohl(from.sin_addr.s_addr), kPcAnswerPort);
}

void DiscoveryService::send_to(const void *msg, size_t len, uint32_t addr, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(addr);
    // A datagram that does not go out is lost as UDP allows; the PC side times out.
    sendto(fd_, msg, len, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
}

void DiscoveryService::pause_ms(int ms) {
    const int64_t until = std::min(now_ms() + ms, deadlineMs_);
    for (int64_t left = until - now_ms(); left > 0 && !*stop_; left = until - now_ms())
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<int64_t>(20, left)));
}

void DiscoveryService::log_request(uint16_t type, uint16_t length) {
    if (!requestLog_) return;
    std::fprintf(requestLog_, "%u %u\n", type, length);
    std::fflush(requestLog_);
}

}  // namespace vcam
