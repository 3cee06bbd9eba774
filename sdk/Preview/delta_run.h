// Delta-run decoding of a frame's samples: payload = A (decoded bytes), B (encoded bytes incl. these 8),
// then runs of (i16 first, i32 N, N signed 8-bit differences) back to back up to byte B.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int32_t kDeltaRunMinEncoded = 14;  // the 8-byte header plus one run of one sample

// Decodes payload (received bytes at hand) into out, which holds capacity samples. Fails with -11, having
// read nothing past received and written nothing past capacity, when: fewer than 8 bytes arrived,
// B < 14, A < B, B exceeds received, A / 2 exceeds capacity, a run is cut by B or has N < 0, or the runs
// produce more than A / 2 samples. On success *decoded (may be null) gets the samples written.
int delta_run_decode(const void *payload, size_t received, int16_t *out, size_t capacity, size_t *decoded);

// Decodes the payload that followed header into data (width x height samples). The runs must yield
// exactly one sample per pixel (else -11: a partial frame would mix with the slot's previous samples).
// On success the header's encoded length is set to 0, so the header describes the raw samples it now
// heads wherever it is stored or handed on.
int delta_run_decode_frame(_DataFrameHeader *header, const void *payload, size_t received, int16_t *data);

}  // namespace sarvik
