#include "delta_run.h"

#include <cstring>

namespace sarvik {

namespace {
constexpr int kMalformed = -11;
constexpr size_t kRunHeaderSize = sizeof(DeltaRun);  // i16 first + i32 N
}  // namespace

int delta_run_decode(const void *payload, size_t received, int16_t *out, size_t capacity, size_t *decoded) {
    if (decoded) *decoded = 0;
    if (!payload || !out || received < sizeof(DeltaRunHeader)) return kMalformed;
    const uint8_t *in = static_cast<const uint8_t *>(payload);
    DeltaRunHeader h;
    std::memcpy(&h, in, sizeof h);
    if (h.encodedSize < kDeltaRunMinEncoded || h.decodedSize < h.encodedSize) return kMalformed;
    // The encoded length is the camera's word; the bytes we hold are the truth.
    if (static_cast<uint64_t>(h.encodedSize) > received) return kMalformed;
    const uint64_t limit = static_cast<uint64_t>(h.decodedSize) / 2;
    if (limit > capacity) return kMalformed;

    const size_t end = static_cast<size_t>(h.encodedSize);
    size_t pos = sizeof h;
    uint64_t count = 0;
    int16_t *o = out;
    while (pos < end) {
        if (end - pos < kRunHeaderSize) return kMalformed;
        int16_t first;
        int32_t n;
        std::memcpy(&first, in + pos, sizeof first);
        std::memcpy(&n, in + pos + sizeof first, sizeof n);
        pos += kRunHeaderSize;
        if (n < 0 || static_cast<size_t>(n) > end - pos) return kMalformed;
        count += static_cast<uint64_t>(n) + 1;
        if (count > limit) return kMalformed;

        const int8_t *d = reinterpret_cast<const int8_t *>(in + pos);
        uint16_t v = static_cast<uint16_t>(first);
        *o++ = first;
        for (int32_t i = 0; i < n; ++i) {
            v = static_cast<uint16_t>(v + d[i]);  // 16-bit wrap-around, as the camera computes it
            o[i] = static_cast<int16_t>(v);
        }
        o += n;
        pos += static_cast<size_t>(n);
    }
    if (decoded) *decoded = static_cast<size_t>(count);
    return 0;
}

int delta_run_decode_frame(_DataFrameHeader *header, const void *payload, size_t received, int16_t *data) {
    const size_t samples = static_cast<size_t>(header->width) * header->height;
    size_t decoded = 0;
    if (delta_run_decode(payload, received, data, samples, &decoded) != 0 || decoded != samples) return kMalformed;
    header->encodedLength = 0;
    return 0;
}

}  // namespace sarvik
