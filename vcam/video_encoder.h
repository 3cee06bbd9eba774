// One H.264 encoder of the camera's video outputs, over the codec layer: BGRA pictures in, Annex-B access
// units out, the first one a key frame carrying the parameter sets.
#pragma once

#include <cstddef>
#include <cstdint>

struct H264EncHandle;

namespace vcam {

class VideoEncoder {
public:
    VideoEncoder() = default;
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // Software encoder for width x height pictures at fps (0: the codec layer's default). 0, or the codec
    // layer's negative status.
    int open(int width, int height, int fps);
    // 0 with one access unit in *au / *len (owned by the encoder until the next call); 1 when the encoder
    // held the picture back; negative on failure.
    int encode(const uint32_t *bgra, const uint8_t **au, int *len);

private:
    H264EncHandle *handle_ = nullptr;
};

// Copies the SPS and PPS NAL units of an Annex-B access unit, each behind a 4-byte start code, into out.
// Returns the bytes written; 0 when the unit carries none or they do not fit in cap.
size_t copy_parameter_sets(const uint8_t *au, size_t len, uint8_t *out, size_t cap);

}  // namespace vcam
