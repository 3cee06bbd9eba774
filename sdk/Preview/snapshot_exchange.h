// The radiometric snapshot exchange on the camera's snapshot port: a 32-byte header, the temperature
// tail, then the image (a JPEG), received whole into the logged-in user's snapshot buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Where the parts of a received reply lie inside the user's buffer.
struct SnapshotReply {
    uint8_t *tail;         // 2T + 16684 bytes
    int64_t tailLength;
    uint8_t *image;        // right after the tail
    int64_t imageLength;   // may be 0
};

// Checks a reply header against the camera's data geometry and the buffer it must fit: 0 and the image
// length, or -95 (SARVIK_ERR_BAD_HEADER) for a total shorter than header and tail, longer than the
// buffer, or another width or height. Reads nothing but the header.
int snapshot_header_check(const SnapshotHeader &header, size_t bufferSize, int dataWidth, int dataHeight,
                          int64_t *imageLength);

// Fetches one snapshot for a logged-in user into its buffer; the caller holds the user's snapshot lock
// (session_snapshot_lock) for as long as it uses *reply. 0, -10 not logged in, -1 no socket, -99 connect
// failed, -95 bad header, -97 receive failed or broke off.
int snapshot_fetch(int userId, SnapshotReply *reply);

}  // namespace sarvik
