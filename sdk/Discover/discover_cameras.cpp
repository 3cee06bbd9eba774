// Sarvik_DiscoverCameras: two broadcast passes, merged, one entry per cameraId.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <mutex>

#include "SarvikSDK.h"
#include "broadcast_send.h"
#include "discover_answers.h"
#include "discover_sockets.h"
#include "sdk_global.h"
#include "sdk_protocol.h"
#include "zq_socket.h"

using namespace sarvik;

namespace {

_DiscoverCameraReq make_request(uint32_t route) {
    _DiscoverCameraReq req{};
    req.header.type = SARVIK_MSG_DISCOVER;
    req.header.length = sizeof req;
    req.route = route;
    return req;
}

// Pass 1: the plain broadcast from the shared socket; cameras answer to the socket that asked.
_DiscoverCameraNode *pass_sender(int fd) {
    sock_drain(fd);
    const _DiscoverCameraReq req = make_request(SARVIK_DISCOVER_ROUTE_SENDER);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kPortDiscover);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    ssize_t n = sendto(fd, &req, sizeof req, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    if (n != static_cast<ssize_t>(sizeof req)) return nullptr;
    return discover_receive_answers(fd);
}

// Pass 2: the broadcast from every interface; cameras answer to the PC's port 55511.
_DiscoverCameraNode *pass_port(int fd) {
    if (fd < 0) return nullptr;
    sock_drain(fd);
    const _DiscoverCameraReq req = make_request(SARVIK_DISCOVER_ROUTE_PORT);
    // As in the first pass, a request that went out nowhere has no answers to wait for.
    if (broadcastSendAll(&req, sizeof req) == 0) return nullptr;
    return discover_receive_answers(fd);
}

}  // namespace

extern "C" SARVIK_API _DiscoverCameraNode *Sarvik_DiscoverCameras(void) {
    if (!sdk_initialised()) return nullptr;
    std::lock_guard<std::mutex> lock(discover_sockets_lock());
    _DiscoverCameraNode *head = pass_sender(sdk().discoverSocket);
    discover_list_append(&head, pass_port(sdk().answerSocket));
    discover_list_dedupe(head);
    return head;
}

extern "C" SARVIK_API void Sarvik_DiscoverCamerasFree(_DiscoverCameraNode **head) {
    if (!head) return;
    discover_list_free(*head);
    *head = nullptr;
}
