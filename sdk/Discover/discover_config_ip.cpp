// Sarvik_DiscoverConfigIP: new network settings for a camera named by its identifier, by broadcast.
#include <sys/socket.h>

#include <mutex>

#include "SarvikSDK.h"
#include "broadcast_send.h"
#include "discover_answers.h"
#include "discover_sockets.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "zq_socket.h"

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_DiscoverConfigIP(const _DiscoverConfigIPInfo *request) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    std::lock_guard<std::mutex> lock(discover_sockets_lock());
    const int fd = sdk().answerSocket;
    if (fd < 0) return SARVIK_ERR_STATE;
    if (!request) return 0;

    _DiscoverConfigIPMsg msg;
    msg.header.type = SARVIK_MSG_CONFIG_IP;
    msg.header.length = sizeof msg;
    msg.info = *request;

    sock_drain(fd);
    int sendCount = broadcastSendAll(&msg, sizeof msg);
    if (sendCount == 0) {
        SDK_LOG("configIP, sendCount %d", sendCount);
        return SARVIK_ERR_SEND;
    }

    uint8_t buf[kDiscoverRecvSize];
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (!discover_parse_config_ack(buf, n, request->cameraId)) return SARVIK_ERR_RECV;
    return 0;
}
