#include "record_exchange.h"

#include <cstring>

#include "command_channel.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "sdk_protocol.h"

namespace sarvik {

namespace {

// The largest record of the command table is a 512-byte block.
constexpr size_t kMaxRecord = 512;

void put_header(uint8_t *msg, uint16_t type, size_t length) {
    const MsgHeader h{type, static_cast<uint16_t>(length)};
    std::memcpy(msg, &h, sizeof h);
}

}  // namespace

int session_exchange(int userId, const void *req, void *resp, int respCap) {
    uint32_t address = 0;
    uint16_t port = 0;
    const int ret = sdk_session_resolve(userId, &address, &port);
    if (ret != 0) return ret;
    return SVCMD_SendReqAndRecvResp(address, port, req, resp, respCap);
}

int record_get(int userId, uint16_t getType, void *record, size_t size) {
    if (!record || size > kMaxRecord) return -8;
    uint8_t req[kMsgHeaderSize];
    put_header(req, getType, sizeof req);
    uint8_t resp[kMsgHeaderSize + kMaxRecord];
    const int respLen = static_cast<int>(kMsgHeaderSize + size);
    const int ret = session_exchange(userId, req, resp, respLen);
    if (ret == 0) std::memcpy(record, resp + kMsgHeaderSize, size);
    return ret;
}

int record_set(int userId, uint16_t setType, const void *record, size_t size) {
    if (!record || size > kMaxRecord) return -8;
    uint8_t req[kMsgHeaderSize + kMaxRecord];
    put_header(req, setType, kMsgHeaderSize + size);
    std::memcpy(req + kMsgHeaderSize, record, size);
    uint8_t resp[kMsgHeaderSize];
    return session_exchange(userId, req, resp, sizeof resp);
}

int plugin_exchange(int userId, int32_t operation, _CameraPluginInfo *info) {
    if (!info) return -8;
    _CameraPluginExchange body;
    std::memset(&body, 0, sizeof body);
    body.operation = operation;
    if (operation == SARVIK_PLUGIN_OP_WRITE) body.info = *info;

    uint8_t req[kMsgHeaderSize + sizeof body];
    put_header(req, SARVIK_MSG_CAMERA_PLUGIN_INFO, sizeof req);
    std::memcpy(req + kMsgHeaderSize, &body, sizeof body);
    uint8_t resp[kMsgHeaderSize + sizeof body];
    const int ret = session_exchange(userId, req, resp, sizeof resp);
    if (ret != 0) return ret;

    _CameraPluginExchange answer;
    std::memcpy(&answer, resp + kMsgHeaderSize, sizeof answer);
    // The camera repeats the operation word when it carried the operation out; anything else is a refusal.
    if (answer.operation != operation) {
        SDK_LOG("plugin operation %d, camera status %d", operation, answer.operation);
        return -2;
    }
    if (operation == SARVIK_PLUGIN_OP_READ) *info = answer.info;
    return 0;
}

}  // namespace sarvik
