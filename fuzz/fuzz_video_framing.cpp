// The compressed-video stream as the preview worker reads it: the start record, the decoder configuration
// taken from it, then frame headers and their compressed bytes until the stream ends or a header is refused.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "video_framing.h"

namespace {

void touch(const uint8_t *payload, size_t bytes, void *user) {
    // Reads every byte handed out, so that a payload reaching past the input shows up under the sanitizers.
    auto *sum = static_cast<uint32_t *>(user);
    for (size_t i = 0; i < bytes; ++i) *sum += payload[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4) return 0;
    // The camera's video size, kept small so the size limits are reached.
    const uint16_t width = static_cast<uint16_t>(1 + data[0] % 64);
    const uint16_t height = static_cast<uint16_t>(1 + data[1] % 64);
    data += 2;
    size -= 2;
    if (size >= sarvik::kVideoFrameStartSize) {
        H264FrameStart start;
        std::memcpy(&start, data, sizeof start);
        H264DecConfig cfg;
        sarvik::video_decoder_config_fill(&cfg, start, 0, width, height);
        if (cfg.configLength < 0 || cfg.configLength > sarvik::kVideoConfigMaxBytes) __builtin_trap();
    }
    uint32_t sum = 0;
    const int frames = sarvik::video_framing_walk(data, size, width, height, touch, &sum);
    // Every counted frame took at least a header's bytes after the start record.
    if (frames > 0 &&
        static_cast<size_t>(frames) * sarvik::kVideoFrameHeaderSize + sarvik::kVideoFrameStartSize > size)
        __builtin_trap();
    return 0;
}
