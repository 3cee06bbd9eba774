// Discovery answers: collecting them from a socket into a list, merging lists, dropping duplicates.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Largest datagram a pass reads; longer ones are cut to this size.
constexpr int kDiscoverRecvSize = 516;
// Answers one pass keeps at most: far more cameras than any network segment holds, yet a flood of
// answers cannot grow the list without bound.
constexpr int kDiscoverMaxAnswers = 4096;

// True when the datagram (n bytes, n < 0 for a failed receive) is a complete discovery answer: type 1,
// length 224, at least 224 bytes. Its record is copied to *out.
bool discover_parse_answer(const uint8_t *buf, ssize_t n, _DiscoverCameraResp2 *out);

// True when the datagram is an address-change answer (type 83, length 36, at least 36 bytes) naming
// cameraId (compared as text of at most 32 characters).
bool discover_parse_config_ack(const uint8_t *buf, ssize_t n, const char *cameraId32);

// Receives answers on fd (its receive time-out bounds each wait) and returns them as a list in arrival
// order. The pass ends at the first receive that fails or times out, at the first datagram that is not a
// complete answer (type 1, length 224), when a node cannot be allocated, or after kDiscoverMaxAnswers.
_DiscoverCameraNode *discover_receive_answers(int fd);

// Appends list `more` to the end of *head.
void discover_list_append(_DiscoverCameraNode **head, _DiscoverCameraNode *more);

// Keeps the first node of every cameraId (text of at most 32 characters) and frees the later ones.
void discover_list_dedupe(_DiscoverCameraNode *head);

void discover_list_free(_DiscoverCameraNode *head);

}  // namespace sarvik
