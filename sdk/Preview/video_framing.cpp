#include "video_framing.h"

#include <cstring>

namespace sarvik {

size_t video_frame_max_bytes(uint16_t width, uint16_t height) {
    return 3 * static_cast<size_t>(width) * height + 17408;
}

void video_decoder_config_fill(H264DecConfig *cfg, const H264FrameStart &start, uint32_t deviceType,
                               uint16_t width, uint16_t height) {
    std::memset(cfg, 0, sizeof *cfg);
    cfg->deviceType = deviceType;
    cfg->width = width;
    cfg->height = height;
    cfg->paramA = start.paramA;
    cfg->paramB = start.paramB;
    int32_t length = start.configLength;
    if (length < 0) length = 0;
    if (length > kVideoConfigMaxBytes) length = kVideoConfigMaxBytes;
    cfg->configLength = length;
    std::memcpy(cfg->config, start.config, static_cast<size_t>(length));
}

int32_t video_frame_payload_bytes(const H264FrameHeader &header, size_t maxBytes) {
    if (header.size < static_cast<int32_t>(kVideoFrameHeaderSize)) return -1;
    if (static_cast<size_t>(header.size) > maxBytes) return -1;
    return header.size - static_cast<int32_t>(kVideoFrameHeaderSize);
}

int video_framing_walk(const uint8_t *data, size_t size, uint16_t width, uint16_t height,
                       VideoFrameVisitor onFrame, void *user) {
    if (size < kVideoFrameStartSize) return -1;
    size_t pos = kVideoFrameStartSize;
    const size_t maxBytes = video_frame_max_bytes(width, height);
    int frames = 0;
    while (size - pos >= kVideoFrameHeaderSize) {
        H264FrameHeader header;
        std::memcpy(&header, data + pos, sizeof header);
        const int32_t payload = video_frame_payload_bytes(header, maxBytes);
        if (payload < 0) return -1;
        pos += kVideoFrameHeaderSize;
        if (size - pos < static_cast<size_t>(payload)) break;
        if (onFrame) onFrame(data + pos, static_cast<size_t>(payload), user);
        pos += static_cast<size_t>(payload);
        ++frames;
    }
    return frames;
}

}  // namespace sarvik
