// Delta-run encoding of a frame's samples: A (decoded bytes), B (encoded bytes including these 8), then
// runs of (i16 first sample, i32 N, N signed 8-bit differences). A run ends where a difference does not fit
// in 8 bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vcam {

// Encodes count samples into out (capacity bytes): the encoded length B, or 0 when the encoding would not
// be shorter than the raw samples or would not fit (the frame then goes raw).
size_t delta_run_encode(const int16_t *samples, size_t count, uint8_t *out, size_t capacity);

// A payload of the right frame size whose only run is cut short: every decoder must refuse it. Writes
// 14 bytes into out; returns 14.
size_t delta_run_malformed(size_t count, uint8_t *out);

}  // namespace vcam
