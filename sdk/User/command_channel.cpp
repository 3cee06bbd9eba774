#include "command_channel.h"

#include <cstring>

#include "camera_connection.h"
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

// Steps shared by the exchange and the one-way send: socket, connect, time-outs, whole request out.
int open_and_send(const CameraSocket &s, uint32_t address, uint16_t port, const uint8_t *req,
                  int recvTimeoutMs) {
    if (int ret = camera_connect(s, address, port, recvTimeoutMs)) return ret;
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
    CameraSocket s;
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
    CameraSocket s;
    return open_and_send(s, address, port, static_cast<const uint8_t *>(req), sdk().recvTimeoutMs);
}

}  // namespace sarvik
