// One video decoder with optional hardware device and the picture it produced last.
#pragma once

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace sff {

class VideoDecoder {
public:
    VideoDecoder() = default;
    VideoDecoder(const VideoDecoder &) = delete;
    VideoDecoder &operator=(const VideoDecoder &) = delete;
    ~VideoDecoder() { close(); }

    // Opens a decoder for `par` (codec, size, extradata) on the given hardware device, falling back
    // to software with one log line naming `caller`. `sliceThreads` lets slices decode in parallel;
    // without it the decoder conceals damaged slices and marks such pictures (see damaged()).
    // 0, SFF_E_UNSUPPORTED, SFF_E_CODEC or SFF_E_NOMEM.
    int open(const AVCodecParameters *par, int deviceType, bool lowDelay, bool sliceThreads,
             const char *caller);
    void close();
    bool isOpen() const { return ctx_ != nullptr; }

    // Feeds one access unit; FFmpeg copies unpadded data. Returns 0 or an AVERROR code.
    int send(const uint8_t *data, int len);
    int send(const AVPacket *pkt);
    // The newest picture decoded so far, in system memory: 0 with *frame set, AVERROR(EAGAIN) when
    // there is none, another AVERROR code on failure. Valid until the next call.
    int receive(const AVFrame **frame);
    // Whether the decoder had to conceal damage in that picture.
    static bool damaged(const AVFrame *frame);

private:
    static AVPixelFormat pickFormat(AVCodecContext *ctx, const AVPixelFormat *offered);
    int openCodec(const AVCodec *codec, const AVCodecParameters *par, AVBufferRef *hw, bool lowDelay,
                  bool sliceThreads);

    AVCodecContext *ctx_ = nullptr;
    AVPixelFormat hwFormat_ = AV_PIX_FMT_NONE;
    AVPacket *pkt_ = nullptr;
    AVFrame *frame_ = nullptr;
    AVFrame *next_ = nullptr;
    AVFrame *system_ = nullptr;
};

}  // namespace sff
