// Framing of the camera's compressed video and mixed streams: the start record sent once after connecting,
// then per frame a 1024-byte header whose size field covers header and compressed bytes. Pure functions,
// shared by the preview worker and the fuzz target.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikFfmpeg.h"
#include "SarvikSDK.h"

namespace sarvik {

constexpr size_t kVideoFrameStartSize = sizeof(H264FrameStart);    // 256
constexpr size_t kVideoFrameHeaderSize = sizeof(H264FrameHeader);  // 1024
constexpr int32_t kVideoConfigMaxBytes = 64;                       // of the start record's 120

// Largest header-plus-payload a camera of video size width x height may announce: 3V + 17408 bytes.
size_t video_frame_max_bytes(uint16_t width, uint16_t height);

// Decoder configuration from a start record: the given device type and output size, parameters A and B,
// and the configuration bytes (a length below 0 counts as 0, above 64 as 64).
void video_decoder_config_fill(H264DecConfig *cfg, const H264FrameStart &start, uint32_t deviceType,
                               uint16_t width, uint16_t height);

// Whether a reconnection's start record describes the stream that was running (same width and height).
inline bool video_frame_start_matches(const H264FrameStart &start, uint16_t width, uint16_t height) {
    return start.width == width && start.height == height;
}

// Checks a received frame header against the limit from video_frame_max_bytes: the number of compressed
// bytes that follow it (0 or more), or -1 when the announced size is below 1024 or above the limit.
int32_t video_frame_payload_bytes(const H264FrameHeader &header, size_t maxBytes);

// Walks a whole received byte stream (start record, then frames) as the worker would: calls onFrame with
// each frame's compressed bytes. Returns the number of whole frames, or -1 when the start record is
// incomplete or a header is invalid; a frame cut short ends the walk without counting.
using VideoFrameVisitor = void (*)(const uint8_t *payload, size_t bytes, void *user);
int video_framing_walk(const uint8_t *data, size_t size, uint16_t width, uint16_t height,
                       VideoFrameVisitor onFrame, void *user);

}  // namespace sarvik
