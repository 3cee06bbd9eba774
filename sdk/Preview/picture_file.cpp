#include "picture_file.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "SarvikSDK.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace sarvik {

namespace {

bool wants_jpeg(const char *path) {
    const char *dot = std::strrchr(path, '.');
    const char *slash = std::strrchr(path, '/');
    if (!dot || (slash && dot < slash)) return false;
    return strcasecmp(dot, ".jpg") == 0 || strcasecmp(dot, ".jpeg") == 0;
}

uint8_t clamp_u8(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Pixels are B, G, R, A in memory: the PNG encoder takes RGB24, the JPEG one full-range 4:4:4 YUV.
void fill_rgb(AVFrame *f, const uint8_t *src, int width, int height) {
    for (int y = 0; y < height; ++y) {
        uint8_t *row = f->data[0] + static_cast<size_t>(y) * f->linesize[0];
        const uint8_t *s = src + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = s[4 * x + 2];
            row[3 * x + 1] = s[4 * x + 1];
            row[3 * x + 2] = s[4 * x];
        }
    }
}

void fill_yuv444(AVFrame *f, const uint8_t *src, int width, int height) {
    for (int y = 0; y < height; ++y) {
        uint8_t *py = f->data[0] + static_cast<size_t>(y) * f->linesize[0];
        uint8_t *pu = f->data[1] + static_cast<size_t>(y) * f->linesize[1];
        uint8_t *pv = f->data[2] + static_cast<size_t>(y) * f->linesize[2];
        const uint8_t *s = src + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const int b = s[4 * x], g = s[4 * x + 1], r = s[4 * x + 2];
            // BT.601 full range, 16-bit fixed point.
            py[x] = clamp_u8((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
            pu[x] = clamp_u8(((-11056 * r - 21712 * g + 32768 * b + 32768) >> 16) + 128);
            pv[x] = clamp_u8(((32768 * r - 27440 * g - 5328 * b + 32768) >> 16) + 128);
        }
    }
}

}  // namespace

int picture_file_write(const char *path, const uint32_t *bgra, int width, int height) {
    if (!path || !*path || !bgra || width <= 0 || height <= 0) return SARVIK_ERR_INVALID_ARG;
    const bool jpeg = wants_jpeg(path);
    const AVCodec *codec = avcodec_find_encoder(jpeg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_PNG);
    if (!codec) return SARVIK_ERR_BAD_FORMAT;
    AVCodecContext *ctx = avcodec_alloc_context3(codec);
    AVFrame *frame = av_frame_alloc();
    AVPacket *pkt = av_packet_alloc();
    int result = SARVIK_ERR_NO_MEMORY;
    if (ctx && frame && pkt) {
        ctx->width = width;
        ctx->height = height;
        ctx->time_base = AVRational{1, 25};
        ctx->pix_fmt = jpeg ? AV_PIX_FMT_YUVJ444P : AV_PIX_FMT_RGB24;
        if (jpeg) {
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            ctx->global_quality = FF_QP2LAMBDA * 3;
        }
        frame->width = width;
        frame->height = height;
        frame->format = ctx->pix_fmt;
        result = SARVIK_ERR_BAD_FORMAT;
        if (avcodec_open2(ctx, codec, nullptr) == 0 && av_frame_get_buffer(frame, 0) == 0) {
            const auto *src = reinterpret_cast<const uint8_t *>(bgra);
            if (jpeg) {
                frame->quality = ctx->global_quality;
                fill_yuv444(frame, src, width, height);
            } else {
                fill_rgb(frame, src, width, height);
            }
            if (avcodec_send_frame(ctx, frame) == 0 && avcodec_send_frame(ctx, nullptr) == 0 &&
                avcodec_receive_packet(ctx, pkt) == 0) {
                FILE *f = std::fopen(path, "wb");
                if (!f) {
                    result = SARVIK_ERR_FILE_OPEN;
                } else {
                    const size_t n = std::fwrite(pkt->data, 1, static_cast<size_t>(pkt->size), f);
                    const bool closed = std::fclose(f) == 0;
                    result = n == static_cast<size_t>(pkt->size) && closed ? 0 : SARVIK_ERR_FILE_WRITE;
                }
            }
        }
    }
    av_packet_free(&pkt);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
    return result;
}

}  // namespace sarvik
