#include "picture_out.h"

#include "SarvikFfmpeg.h"

namespace sff {

PictureOut::~PictureOut() {
    sws_freeContext(bgra_.ctx);
    sws_freeContext(grey_.ctx);
}

int PictureOut::toBgra(const AVFrame *frame, uint32_t *out, int width, int height) {
    return convert(bgra_, frame, AV_PIX_FMT_BGRA, reinterpret_cast<uint8_t *>(out), 4 * width, width, height);
}

int PictureOut::toGrey(const AVFrame *frame, uint8_t *out, int width, int height) {
    return convert(grey_, frame, AV_PIX_FMT_GRAY8, out, width, width, height);
}

int PictureOut::convert(Scaler &s, const AVFrame *frame, AVPixelFormat dstFmt, uint8_t *out, int stride,
                        int width, int height) {
    if (frame->width <= 0 || frame->height <= 0 || width <= 0 || height <= 0) return SFF_E_CODEC;
    // The context is rebuilt only when the source's format or size changes.
    SwsContext *ctx =
        sws_getCachedContext(s.ctx, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                             width, height, dstFmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!ctx) return SFF_E_CODEC;
    // Streams tagged BT.709 (HD cameras) or full range would come out with shifted colours under
    // swscale's BT.601 limited-range default.
    const int fullRange = frame->color_range == AVCOL_RANGE_JPEG ? 1 : 0;
    if (ctx != s.ctx || frame->colorspace != s.colorspace || fullRange != s.fullRange) {
        int *inv = nullptr, *table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(ctx, &inv, &srcRange, &table, &dstRange, &brightness, &contrast,
                                     &saturation) >= 0) {
            sws_setColorspaceDetails(ctx, sws_getCoefficients(frame->colorspace), srcRange | fullRange, table,
                                     dstRange, brightness, contrast, saturation);
        }
        s.colorspace = frame->colorspace;
        s.fullRange = fullRange;
    }
    s.ctx = ctx;
    uint8_t *dst[4] = {out, nullptr, nullptr, nullptr};
    int dstStride[4] = {stride, 0, 0, 0};
    int rows = sws_scale(ctx, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return rows > 0 ? SFF_OK : SFF_E_CODEC;
}

}  // namespace sff
