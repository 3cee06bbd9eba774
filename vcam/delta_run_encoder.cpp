#include "delta_run_encoder.h"

#include <cstring>

namespace vcam {

namespace {

constexpr size_t kHeaderBytes = 8;
constexpr size_t kRunHeadBytes = 6;

void put_i16(uint8_t *p, int16_t v) { std::memcpy(p, &v, 2); }
void put_i32(uint8_t *p, int32_t v) { std::memcpy(p, &v, 4); }

}  // namespace

size_t delta_run_encode(const int16_t *samples, size_t count, uint8_t *out, size_t capacity) {
    const size_t rawBytes = 2 * count;
    // B must stay at most A, and a shorter payload is the only reason to encode at all.
    const size_t limit = capacity < rawBytes ? capacity : rawBytes;
    if (count == 0 || rawBytes > 0x7fffffff || limit < kHeaderBytes + kRunHeadBytes) return 0;
    size_t at = kHeaderBytes;
    size_t i = 0;
    while (i < count) {
        if (at + kRunHeadBytes > limit) return 0;
        uint8_t *head = out + at;
        put_i16(head, samples[i]);
        at += kRunHeadBytes;
        int32_t n = 0;
        size_t j = i + 1;
        for (; j < count; ++j) {
            const int diff = static_cast<int>(samples[j]) - static_cast<int>(samples[j - 1]);
            if (diff < -128 || diff > 127) break;
            if (at >= limit) return 0;
            out[at++] = static_cast<uint8_t>(static_cast<int8_t>(diff));
            ++n;
        }
        put_i32(head + 2, n);
        i = j;
    }
    put_i32(out, static_cast<int32_t>(rawBytes));
    put_i32(out + 4, static_cast<int32_t>(at));
    return at;
}

size_t delta_run_malformed(size_t count, uint8_t *out) {
    put_i32(out, static_cast<int32_t>(2 * count));
    put_i32(out + 4, 14);
    put_i16(out + 8, 0);
    // Announces a run over the whole frame but carries none of its differences.
    put_i32(out + 10, static_cast<int32_t>(count > 0 ? count - 1 : 0));
    return 14;
}

}  // namespace vcam
