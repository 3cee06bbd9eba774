#include "video_encoder.h"

#include <cstring>

#include "SarvikFfmpeg.h"

namespace vcam {

namespace {

constexpr uint8_t kNalSps = 7;
constexpr uint8_t kNalPps = 8;

// Index just behind the next 00 00 01 start code at or after from, or len when there is none.
size_t next_nal(const uint8_t *p, size_t len, size_t from) {
    for (size_t i = from; i + 3 <= len; ++i)
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1) return i + 3;
    return len;
}

}  // namespace

VideoEncoder::~VideoEncoder() {
    H264Enc_Close(&handle_);
}

int VideoEncoder::open(int width, int height, int fps) {
    H264Enc_Close(&handle_);
    handle_ = H264Enc_Open();
    if (!handle_) return SFF_E_NOMEM;
    H264EncConfig cfg{};
    cfg.deviceType = SFF_DEVICE_SOFTWARE;
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.frameRate = fps;
    cfg.rateDivisor = 1;
    const int rc = H264Enc_SetConfig(handle_, &cfg);
    if (rc < 0) H264Enc_Close(&handle_);
    return rc < 0 ? rc : 0;
}

int VideoEncoder::encode(const uint32_t *bgra, const uint8_t **au, int *len) {
    if (!handle_) return SFF_E_STATE;
    uint8_t *packet = nullptr;
    *len = 0;
    const int rc = H264Enc_EncFrame(handle_, bgra, &packet, len);
    *au = packet;
    return rc;
}

size_t copy_parameter_sets(const uint8_t *au, size_t len, uint8_t *out, size_t cap) {
    static const uint8_t kStartCode[4] = {0, 0, 0, 1};
    size_t written = 0;
    for (size_t at = next_nal(au, len, 0); at < len;) {
        const size_t next = next_nal(au, len, at);
        // The unit ends at the next start code; a zero byte before it belongs to a 4-byte start code.
        size_t end = next < len ? next - 3 : len;
        while (end > at && au[end - 1] == 0) --end;
        const uint8_t type = au[at] & 0x1F;
        if (type == kNalSps || type == kNalPps) {
            const size_t n = end - at;
            if (written + sizeof kStartCode + n > cap) return 0;
            std::memcpy(out + written, kStartCode, sizeof kStartCode);
            std::memcpy(out + written + sizeof kStartCode, au + at, n);
            written += sizeof kStartCode + n;
        }
        at = next;
    }
    return written;
}

}  // namespace vcam
