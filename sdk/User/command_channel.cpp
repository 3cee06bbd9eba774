#include "command_channel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "sdk_global.h"
#include "sdk_log.h"
#include "sdk_protocol.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

constexpr int kCtlXRecvTimeoutMs = 10000;  // extended controls may take the camera a while

struct CommandEntry {
    uint16_t request;
    int16_t responseLength;  // 0: no answer
};

// Request type and the fixed length of its answer (requests 35, 50, 78, 80 stream and are not here).
constexpr CommandEntry kCommands[] = {
    {2, 24},     {4, 4},      {6, 0},      {7, 220},    {9, 4},      {11, 56},    {13, 4},     {15, 20},
    {17, 4},     {19, 16},    {21, 4},     {23, 76},    {25, 4},     {31, 44},    {33, 4},     {37, 20},
    {39, 4},     {41, 0},     {42, 20},    {44, 4},     {46, 8},     {48, 72},    {52, 132},   {54, 4},
    {56, 72},    {58, 16},    {60, 4},     {62, 16},    {64, 4},     {66, 276},   {68, 4},     {70, 52},
    {72, 4},     {74, 132},   {76, 4},     {84, 92},    {86, 4},     {88, 92},    {90, 4},     {92, 92},
    {94, 4},     {96, 92},    {98, 4},     {100, 92},   {102, 4},    {104, 92},   {106, 4},    {108, 92},
    {110, 4},    {112, 92},   {114, 4},    {116, 92},   {118, 4},    {120, 136},  {122, 4},    {124, 36},
    {126, 4},    {128, 68},   {130, 4},    {1000, 516}, {1002, 4},   {1004, 516}, {1006, 4},   {1008, 516},
    {1010, 4},
};

class Socket {
public:
    Socket() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads until len bytes arrived, the peer closed, or timeout_ms elapsed overall (a trickling peer cannot
// stretch the wait). Returns the byte count received.
int recv_until(int fd, uint8_t *buf, int len, int timeout_ms) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    int got = 0;
    while (got < len) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        ssize_t n = recv(fd, buf + got, static_cast<size_t>(len - got), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        got += static_cast<int>(n);
    }
    return got;
}

// Steps shared by the exchange and the one-way send: socket, connect, time-outs, whole request out.
int open_and_send(const Socket &s, uint32_t address, uint16_t port, const uint8_t *req, int recvTimeoutMs) {
    if (s.fd() < 0) return -100;
    if (sock_connect_timeout(s.fd(), address, port, sdk().connectTimeoutMs) != 0) return -99;
    if (sock_set_timeouts(s.fd(), sdk().sendTimeoutMs, recvTimeoutMs) != 0) return -1;
    MsgHeader h;
    std::memcpy(&h, req, sizeof h);
    if (sock_send_all(s.fd(), req, h.length, 0) != 0) return -98;
    return 0;
}

bool valid_request(const void *req) {
    if (!req) return false;
    MsgHeader h;
    std::memcpy(&h, req, sizeof h);
    return h.length >= kMsgHeaderSize;
}

}  // namespace

int svcmd_response_length(uint16_t requestType) {
    for (const CommandEntry &e : kCommands)
        if (e.request == requestType) return e.responseLength;
    return -1;
}

int SVCMD_SendReqAndRecvResp(uint32_t address, uint16_t port, const void *req, void *resp, int respCap) {
    if (!valid_request(req)) return -8;
    MsgHeader h;
    std::memcpy(&h, req, sizeof h);
    // Unknown types are refused before anything reaches the camera.
    const int respLen = svcmd_response_length(h.type);
    if (respLen < 0) return -2;
    if (respLen > 0 && (!resp || respCap < respLen)) return -8;

    const int recvTimeoutMs = h.type == 56 ? kCtlXRecvTimeoutMs : sdk().recvTimeoutMs.load();
    Socket s;
    int ret = open_and_send(s, address, port, static_cast<const uint8_t *>(req), recvTimeoutMs);
    if (ret != 0 || respLen == 0) return ret;

    // Answers may arrive in several segments: read until the whole answer is here.
    auto *out = static_cast<uint8_t *>(resp);
    const int got = recv_until(s.fd(), out, respLen, recvTimeoutMs);
    const int expectType = h.type + 1;
    MsgHeader rh{};
    if (got >= kMsgHeaderSize) std::memcpy(&rh, out, sizeof rh);
    if (got == respLen && rh.type == expectType) return 0;
    SDK_LOG("respSize %d, respType %d; recved %d", respLen, expectType, got);
    return -97;
}

int svcmd_send_oneway(uint32_t address, uint16_t port, const void *req) {
    if (!valid_request(req)) return -8;
    Socket s;
    return open_and_send(s, address, port, static_cast<const uint8_t *>(req), sdk().recvTimeoutMs);
}

}  // namespace sarvik
