// A delta-run encoder playing the camera's part, for tests, benchmarks and fuzz seeds: each run starts
// with a sample and goes on while the next difference fits a signed byte (and maxRun allows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace frametest {

inline void put_i16(std::vector<uint8_t> &out, int16_t v) {
    const size_t at = out.size();
    out.resize(at + 2);
    std::memcpy(out.data() + at, &v, 2);
}

inline void put_i32(std::vector<uint8_t> &out, int32_t v) {
    const size_t at = out.size();
    out.resize(at + 4);
    std::memcpy(out.data() + at, &v, 4);
}

// Payload for samples: A = 2 x count, B = the payload's length.
inline std::vector<uint8_t> delta_run_encode(const int16_t *samples, size_t count, size_t maxRun = SIZE_MAX) {
    std::vector<uint8_t> out;
    put_i32(out, static_cast<int32_t>(2 * count));
    put_i32(out, 0);
    size_t i = 0;
    while (i < count) {
        put_i16(out, samples[i]);
        const size_t countAt = out.size();
        put_i32(out, 0);
        size_t j = i + 1;
        while (j < count && j - i < maxRun) {
            const int16_t d = static_cast<int16_t>(static_cast<uint16_t>(samples[j]) - static_cast<uint16_t>(samples[j - 1]));
            if (d < -128 || d > 127) break;
            out.push_back(static_cast<uint8_t>(static_cast<int8_t>(d)));
            ++j;
        }
        const int32_t n = static_cast<int32_t>(j - i - 1);
        std::memcpy(out.data() + countAt, &n, 4);
        i = j;
    }
    const int32_t b = static_cast<int32_t>(out.size());
    std::memcpy(out.data() + 4, &b, 4);
    return out;
}

inline std::vector<uint8_t> delta_run_encode(const std::vector<int16_t> &samples, size_t maxRun = SIZE_MAX) {
    return delta_run_encode(samples.data(), samples.size(), maxRun);
}

}  // namespace frametest
