// Discovery datagrams as they come off the network, and the duplicate rule over whatever ids they carry.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "discover_answers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const ssize_t n = static_cast<ssize_t>(size);
    _DiscoverCameraResp2 answer;
    sarvik::discover_parse_answer(data, n, &answer);
    char id[32] = {0};
    std::memcpy(id, data, size < sizeof id ? size : sizeof id);
    sarvik::discover_parse_config_ack(data, n, id);

    // Every 32 bytes an id, unterminated ones included: after the merge no id may be left twice.
    _DiscoverCameraNode *head = nullptr;
    _DiscoverCameraNode **tail = &head;
    for (size_t off = 0; off + 32 <= size && off < 32 * 64; off += 32) {
        auto *node = static_cast<_DiscoverCameraNode *>(std::calloc(1, sizeof(_DiscoverCameraNode)));
        if (!node) break;
        std::memcpy(node->camera.basicInfo.cameraId, data + off, 32);
        *tail = node;
        tail = &node->next;
    }
    sarvik::discover_list_dedupe(head);
    for (const _DiscoverCameraNode *a = head; a; a = a->next)
        for (const _DiscoverCameraNode *b = a->next; b; b = b->next)
            if (std::strncmp(a->camera.basicInfo.cameraId, b->camera.basicInfo.cameraId, 32) == 0) std::abort();
    sarvik::discover_list_free(head);
    return 0;
}
