// H264Enc_: low-latency H.264 encoding of BGRA pictures, and their recording.
#include "SarvikFfmpeg.h"
#include "hw_device.h"
#include "sff_log.h"
#include "stream_writer.h"

#include <algorithm>
#include <cstring>
#include <new>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

struct H264EncHandle {
    H264EncConfig cfg{};
    bool configured = false;
    AVCodecContext *ctx = nullptr;
    SwsContext *sws = nullptr;
    AVFrame *frame = nullptr;
    AVPacket *pkt = nullptr;
    AVRational rate{25, 1};
    int encWidth = 0, encHeight = 0;
    int64_t nextPts = 0;
    bool forceKey = false;
    sff::StreamWriter mux;
    sff::RepeatFilter encodeLog;
};

namespace {

constexpr int kMaxSide = 8192;

void releaseEncoder(H264EncHandle *h) {
    avcodec_free_context(&h->ctx);
    sws_freeContext(h->sws);
    h->sws = nullptr;
    av_frame_free(&h->frame);
    av_packet_free(&h->pkt);
    h->configured = false;
}

// Settings that keep one picture in, one packet out, with parameter sets repeated at every key
// frame and key frames at fixed intervals only (no scene cuts), so recordings seek evenly.
// Options a codec does not know are ignored.
void setLowLatencyOptions(AVCodecContext *ctx, const AVCodec *codec) {
    static const struct {
        const char *codec, *key, *value;
    } kOptions[] = {
        {"libx264", "preset", "veryfast"},  {"libx264", "tune", "zerolatency"},
        {"libx264", "crf", "21"},           {"libx264", "forced-idr", "1"},
        {"libx264", "sc_threshold", "0"},   {"h264_nvenc", "preset", "p2"},
        {"h264_nvenc", "tune", "ll"},       {"h264_nvenc", "zerolatency", "1"},
        {"h264_nvenc", "delay", "0"},       {"h264_nvenc", "forced-idr", "1"},
        {"h264_nvenc", "no-scenecut", "1"}, {"h264_qsv", "preset", "veryfast"},
        {"h264_qsv", "async_depth", "1"},   {"h264_qsv", "forced_idr", "1"},
    };
    if (!ctx->priv_data) return;
    for (const auto &o : kOptions)
        if (std::strcmp(o.codec, codec->name) == 0) av_opt_set(ctx->priv_data, o.key, o.value, 0);
}

AVPixelFormat inputFormat(const AVCodec *codec) {
    if (!codec->pix_fmts) return AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat *p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AV_PIX_FMT_YUV420P) return *p;
    for (const AVPixelFormat *p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AV_PIX_FMT_NV12) return *p;
    return codec->pix_fmts[0];
}

int openCodec(H264EncHandle *h, const AVCodec *codec, AVBufferRef *hw) {
    AVCodecContext *ctx = avcodec_alloc_context3(codec);
    if (!ctx) return AVERROR(ENOMEM);
    ctx->width = h->encWidth;
    ctx->height = h->encHeight;
    ctx->pix_fmt = inputFormat(codec);
    ctx->time_base = av_inv_q(h->rate);
    ctx->framerate = h->rate;
    // Two seconds between key frames: short enough for a recording to start soon after its
    // MuxBegin, long enough to keep the bit rate down.
    ctx->gop_size = std::clamp(static_cast<int>(2 * av_q2d(h->rate) + 0.5), 1, 600);
    ctx->max_b_frames = 0;
    ctx->color_range = AVCOL_RANGE_MPEG;
    ctx->colorspace = AVCOL_SPC_SMPTE170M;  // what swscale's BGRA -> YUV conversion produces
    if (hw) ctx->hw_device_ctx = av_buffer_ref(hw);
    setLowLatencyOptions(ctx, codec);
    int ret = avcodec_open2(ctx, codec, nullptr);
    if (ret < 0) {
        avcodec_free_context(&ctx);
        return ret;
    }
    h->ctx = ctx;
    return 0;
}

// A hardware encoder when the device and its encoder are there, else libx264 (or whatever
// software H.264 encoder this FFmpeg has).
int openEncoder(H264EncHandle *h, int deviceType) {
    AVBufferRef *hw = sff::openHwDevice(deviceType, "H264Enc_SetConfig");
    if (hw) {
        const AVHWDeviceType type = sff::hwDeviceType(deviceType);
        const char *name = type == AV_HWDEVICE_TYPE_CUDA  ? "h264_nvenc"
                           : type == AV_HWDEVICE_TYPE_QSV ? "h264_qsv"
                                                          : nullptr;
        const AVCodec *codec = name ? avcodec_find_encoder_by_name(name) : nullptr;
        int ret = codec ? openCodec(h, codec, hw) : AVERROR_ENCODER_NOT_FOUND;
        av_buffer_unref(&hw);
        if (ret >= 0) return SFF_OK;
        sff::logHwFallback("H264Enc_SetConfig", deviceType, sff::AvErrText(ret).c_str());
    }
    const AVCodec *codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!codec) {
        SFF_LOG_AS("H264Enc_SetConfig", "no H.264 encoder in this FFmpeg");
        return SFF_E_CODEC;
    }
    int ret = openCodec(h, codec, nullptr);
    if (ret < 0) {
        SFF_LOG_AS("H264Enc_SetConfig", "avcodec_open2(%s): %s", codec->name, sff::AvErrText(ret).c_str());
        return ret == AVERROR(ENOMEM) ? SFF_E_NOMEM : SFF_E_CODEC;
    }
    return SFF_OK;
}

}  // namespace

extern "C" {

H264EncHandle *H264Enc_Open(void) {
    return new (std::nothrow) H264EncHandle;
}

int H264Enc_Close(H264EncHandle **handle) {
    if (!handle || !*handle) return SFF_OK;
    H264EncHandle *h = *handle;
    h->mux.end();
    releaseEncoder(h);
    delete h;
    *handle = nullptr;
    return SFF_OK;
}

int H264Enc_SetConfig(H264EncHandle *h, const H264EncConfig *cfg) {
    if (!h || !cfg) return SFF_E_ARG;
    if (cfg->width < 2 || cfg->height < 2 || cfg->width > kMaxSide || cfg->height > kMaxSide) {
        SFF_LOG("invalid picture size %ux%u", cfg->width, cfg->height);
        return SFF_E_ARG;
    }
    if (h->mux.running()) return SFF_E_STATE;
    releaseEncoder(h);
    h->cfg = *cfg;
    h->rate =
        AVRational{cfg->frameRate > 0 ? cfg->frameRate : 25, cfg->rateDivisor > 1 ? cfg->rateDivisor : 1};
    av_reduce(&h->rate.num, &h->rate.den, h->rate.num, h->rate.den, 1 << 20);
    // 4:2:0 needs even sides; the odd last column or row is cropped rather than scaled.
    h->encWidth = cfg->width & ~1;
    h->encHeight = cfg->height & ~1;

    int ret = openEncoder(h, cfg->deviceType);
    if (ret < 0) return ret;
    h->frame = av_frame_alloc();
    h->pkt = av_packet_alloc();
    if (h->frame) {
        h->frame->format = h->ctx->pix_fmt;
        h->frame->width = h->encWidth;
        h->frame->height = h->encHeight;
    }
    if (!h->frame || !h->pkt || av_frame_get_buffer(h->frame, 0) < 0) {
        SFF_LOG("out of memory for %dx%d", h->encWidth, h->encHeight);
        releaseEncoder(h);
        return SFF_E_NOMEM;
    }
    h->sws = sws_getContext(h->encWidth, h->encHeight, AV_PIX_FMT_BGRA, h->encWidth, h->encHeight,
                            h->ctx->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!h->sws) {
        SFF_LOG("sws_getContext BGRA -> %s failed", av_get_pix_fmt_name(h->ctx->pix_fmt));
        releaseEncoder(h);
        return SFF_E_CODEC;
    }
    h->nextPts = 0;
    h->forceKey = false;
    h->encodeLog.reset();
    h->configured = true;
    return SFF_OK;
}

int H264Enc_EncFrame(H264EncHandle *h, const uint32_t *bgra, uint8_t **outPacket, int *outLen) {
    if (!h || !bgra || !outPacket || !outLen) return SFF_E_ARG;
    *outPacket = nullptr;
    *outLen = 0;
    if (!h->configured) return SFF_E_STATE;
    // The encoder may still hold a reference to the last picture's buffer.
    int ret = av_frame_make_writable(h->frame);
    if (ret < 0) return SFF_E_NOMEM;
    const uint8_t *src[4] = {reinterpret_cast<const uint8_t *>(bgra), nullptr, nullptr, nullptr};
    const int srcStride[4] = {4 * h->cfg.width, 0, 0, 0};
    sws_scale(h->sws, src, srcStride, 0, h->encHeight, h->frame->data, h->frame->linesize);
    h->frame->pts = h->nextPts++;
    h->frame->pict_type = h->forceKey ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    h->forceKey = false;

    ret = avcodec_send_frame(h->ctx, h->frame);
    if (ret < 0) {
        if (h->encodeLog.shouldLog(ret)) SFF_LOG("avcodec_send_frame: %s", sff::AvErrText(ret).c_str());
        return SFF_E_CODEC;
    }
    av_packet_unref(h->pkt);
    ret = avcodec_receive_packet(h->ctx, h->pkt);
    if (ret == AVERROR(EAGAIN)) return SFF_NO_OUTPUT;
    if (ret < 0) {
        if (h->encodeLog.shouldLog(ret)) SFF_LOG("avcodec_receive_packet: %s", sff::AvErrText(ret).c_str());
        return SFF_E_CODEC;
    }
    h->encodeLog.reset();
    *outPacket = h->pkt->data;
    *outLen = h->pkt->size;
    return SFF_OK;
}

int H264Enc_MuxBegin(H264EncHandle *h, const char *path) {
    if (!h || !path || !*path) return SFF_E_ARG;
    if (!h->configured) return SFF_E_STATE;
    // The encoder repeats its parameter sets at every key frame; the forced one brings them.
    int ret = h->mux.beginH264(path, h->encWidth, h->encHeight, {}, h->rate, __func__);
    if (ret < 0) return ret;
    h->forceKey = true;
    return SFF_OK;
}

int H264Enc_MuxFrame(H264EncHandle *h, const uint8_t *packet, int len) {
    return h ? h->mux.writeFrame(packet, len) : SFF_E_ARG;
}

int H264Enc_MuxEnd(H264EncHandle *h) {
    if (!h) return SFF_E_ARG;
    return h->mux.end();
}

}  // extern "C"
