// Converts decoded pictures into the caller's buffers (BGRA or 8-bit grey, packed rows).
#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace sff {

class PictureOut {
public:
    PictureOut() = default;
    PictureOut(const PictureOut &) = delete;
    PictureOut &operator=(const PictureOut &) = delete;
    ~PictureOut();

    // Scale and convert `frame` to width x height; 0 or SFF_E_CODEC.
    int toBgra(const AVFrame *frame, uint32_t *out, int width, int height);
    int toGrey(const AVFrame *frame, uint8_t *out, int width, int height);

private:
    struct Scaler {
        SwsContext *ctx = nullptr;
        int colorspace = -1;
        int fullRange = -1;
    };
    static int convert(Scaler &s, const AVFrame *frame, AVPixelFormat dstFmt, uint8_t *out, int stride,
                       int width, int height);
    Scaler bgra_, grey_;
};

}  // namespace sff
