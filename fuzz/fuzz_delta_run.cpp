// Delta-run payloads from the network: whatever the bytes, the decoder reads only the bytes it was given
// and writes only the samples the buffer holds. Also: camera-made payloads decode to what was encoded.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "delta_run.h"
#include "delta_run_encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    // The output buffer's size comes from the input too, so both bounds get their turn.
    const size_t capacity = (static_cast<size_t>(data[0]) << 4) | (data[1] & 0x0f);
    const std::vector<uint8_t> payload(data + 2, data + size);  // exactly as long as what arrived
    std::vector<int16_t> out(capacity);
    size_t decoded = 0;
    const int ret =
        sarvik::delta_run_decode(payload.empty() ? nullptr : payload.data(), payload.size(), out.data(), capacity, &decoded);
    if (ret != 0 && ret != -11) __builtin_trap();
    if (ret == 0) {
        int32_t a;
        std::memcpy(&a, payload.data(), 4);
        if (decoded > capacity || decoded > static_cast<size_t>(a) / 2 || decoded == 0) __builtin_trap();
    }

    // The same bytes as samples, through the encoder a camera would use.
    const size_t n = (size - 2) / 2;
    if (n == 0) return 0;
    std::vector<int16_t> samples(n);
    std::memcpy(samples.data(), data + 2, 2 * n);
    const std::vector<uint8_t> enc = frametest::delta_run_encode(samples, 1 + (data[1] >> 4) * 64);
    int32_t b;
    std::memcpy(&b, enc.data() + 4, 4);
    std::vector<int16_t> back(n);
    const int rt = sarvik::delta_run_decode(enc.data(), enc.size(), back.data(), n, &decoded);
    // Payloads longer than the raw samples are not valid (B <= A); all others must round-trip.
    if (b <= static_cast<int32_t>(2 * n) && b >= 14) {
        if (rt != 0 || decoded != n || back != samples) __builtin_trap();
    } else if (rt == 0) {
        __builtin_trap();
    }
    return 0;
}
