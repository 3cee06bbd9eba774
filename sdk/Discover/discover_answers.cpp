#include "discover_answers.h"

#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

#include "sdk_protocol.h"

namespace sarvik {

bool discover_parse_answer(const uint8_t *buf, ssize_t n, _DiscoverCameraResp2 *out) {
    // A datagram shorter than the answer it announces would leave the node partly unfilled: not an answer.
    if (n < static_cast<ssize_t>(sizeof(_DiscoverCameraMsg))) return false;
    MsgHeader h;
    std::memcpy(&h, buf, sizeof h);
    if (h.type != SARVIK_MSG_DISCOVER_ANSWER || h.length != sizeof(_DiscoverCameraMsg)) return false;
    std::memcpy(out, buf + offsetof(_DiscoverCameraMsg, resp), sizeof *out);
    return true;
}

bool discover_parse_config_ack(const uint8_t *buf, ssize_t n, const char *cameraId32) {
    _DiscoverConfigIPAck ack;
    if (n < static_cast<ssize_t>(sizeof ack)) return false;
    std::memcpy(&ack, buf, sizeof ack);
    if (ack.header.type != SARVIK_MSG_CONFIG_IP_ANSWER || ack.header.length != sizeof ack) return false;
    return std::strncmp(ack.cameraId, cameraId32, sizeof ack.cameraId) == 0;
}

_DiscoverCameraNode *discover_receive_answers(int fd) {
    _DiscoverCameraNode *head = nullptr;
    _DiscoverCameraNode **tail = &head;
    uint8_t buf[kDiscoverRecvSize];
    for (int count = 0; count < kDiscoverMaxAnswers; ++count) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        _DiscoverCameraResp2 answer;
        if (!discover_parse_answer(buf, n, &answer)) break;
        auto *node = static_cast<_DiscoverCameraNode *>(std::calloc(1, sizeof(_DiscoverCameraNode)));
        if (!node) break;
        node->camera = answer;
        *tail = node;
        tail = &node->next;
    }
    return head;
}

void discover_list_append(_DiscoverCameraNode **head, _DiscoverCameraNode *more) {
    _DiscoverCameraNode **tail = head;
    while (*tail) tail = &(*tail)->next;
    *tail = more;
}

void discover_list_dedupe(_DiscoverCameraNode *head) {
    constexpr size_t kIdSize = sizeof head->camera.basicInfo.cameraId;
    for (_DiscoverCameraNode *keep = head; keep; keep = keep->next) {
        _DiscoverCameraNode **link = &keep->next;
        while (*link) {
            _DiscoverCameraNode *later = *link;
            if (std::strncmp(later->camera.basicInfo.cameraId, keep->camera.basicInfo.cameraId, kIdSize) == 0) {
                *link = later->next;
                std::free(later);
            } else {
                link = &later->next;
            }
        }
    }
}

void discover_list_free(_DiscoverCameraNode *head) {
    while (head) {
        _DiscoverCameraNode *next = head->next;
        std::free(head);
        head = next;
    }
}

}  // namespace sarvik
