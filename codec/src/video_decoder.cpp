#include "video_decoder.h"

#include "SarvikFfmpeg.h"
#include "hw_device.h"
#include "sff_log.h"

extern "C" {
#include <libavutil/hwcontext.h>
#include <libavutil/pixdesc.h>
}

namespace sff {

AVPixelFormat VideoDecoder::pickFormat(AVCodecContext *ctx, const AVPixelFormat *offered) {
    auto *self = static_cast<VideoDecoder *>(ctx->opaque);
    for (const AVPixelFormat *p = offered; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == self->hwFormat_) return *p;
    // The hardware path cannot take this stream (profile, size): decode it in software.
    for (const AVPixelFormat *p = offered; *p != AV_PIX_FMT_NONE; ++p) {
        const AVPixFmtDescriptor *desc = av_pix_fmt_desc_get(*p);
        if (desc && !(desc->flags & AV_PIX_FMT_FLAG_HWACCEL)) return *p;
    }
    return AV_PIX_FMT_NONE;
}

int VideoDecoder::open(const AVCodecParameters *par, int deviceType, bool lowDelay, bool sliceThreads,
                       const char *caller) {
    close();
    AVBufferRef *hw = openHwDevice(deviceType, caller);
    if (hw) {
        const AVHWDeviceType type = hwDeviceType(deviceType);
        // Quick Sync decodes through its own decoder; the others are hwaccels of the native one.
        const AVCodec *codec = type == AV_HWDEVICE_TYPE_QSV && par->codec_id == AV_CODEC_ID_H264
                                   ? avcodec_find_decoder_by_name("h264_qsv")
                                   : nullptr;
        if (!codec) codec = avcodec_find_decoder(par->codec_id);
        hwFormat_ = AV_PIX_FMT_NONE;
        for (int i = 0; codec && hwFormat_ == AV_PIX_FMT_NONE; ++i) {
            const AVCodecHWConfig *cfg = avcodec_get_hw_config(codec, i);
            if (!cfg) break;
            if ((cfg->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) && cfg->device_type == type)
                hwFormat_ = cfg->pix_fmt;
        }
        if (hwFormat_ == AV_PIX_FMT_NONE) {
            logHwFallback(caller, deviceType, "the decoder cannot use it");
            av_buffer_unref(&hw);
        } else {
            int ret = openCodec(codec, par, hw, lowDelay, sliceThreads);
            av_buffer_unref(&hw);
            if (ret >= 0) return SFF_OK;
            logHwFallback(caller, deviceType, AvErrText(ret).c_str());
            close();
        }
    }
    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    if (!codec) {
        SFF_LOG_AS(caller, "no decoder for codec %s", avcodec_get_name(par->codec_id));
        return SFF_E_UNSUPPORTED;
    }
    hwFormat_ = AV_PIX_FMT_NONE;
    int ret = openCodec(codec, par, nullptr, lowDelay, sliceThreads);
    if (ret < 0) {
        SFF_LOG_AS(caller, "avcodec_open2(%s): %s", codec->name, AvErrText(ret).c_str());
        close();
        return ret == AVERROR(ENOMEM) ? SFF_E_NOMEM : SFF_E_CODEC;
    }
    return SFF_OK;
}

int VideoDecoder::openCodec(const AVCodec *codec, const AVCodecParameters *par, AVBufferRef *hw,
                            bool lowDelay, bool sliceThreads) {
    ctx_ = avcodec_alloc_context3(codec);
    pkt_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    next_ = av_frame_alloc();
    system_ = av_frame_alloc();
    if (!ctx_ || !pkt_ || !frame_ || !next_ || !system_) return AVERROR(ENOMEM);
    int ret = avcodec_parameters_to_context(ctx_, par);
    if (ret < 0) return ret;
    if (hw) {
        ctx_->hw_device_ctx = av_buffer_ref(hw);
        if (!ctx_->hw_device_ctx) return AVERROR(ENOMEM);
        ctx_->opaque = this;
        ctx_->get_format = pickFormat;
    }
    // Never frame threads: they would hold pictures back by one packet per thread.
    ctx_->thread_type = FF_THREAD_SLICE;
    ctx_->thread_count = sliceThreads ? 0 : 1;
    if (lowDelay) ctx_->flags |= AV_CODEC_FLAG_LOW_DELAY;
    return avcodec_open2(ctx_, codec, nullptr);
}

void VideoDecoder::close() {
    avcodec_free_context(&ctx_);
    av_packet_free(&pkt_);
    av_frame_free(&frame_);
    av_frame_free(&next_);
    av_frame_free(&system_);
    hwFormat_ = AV_PIX_FMT_NONE;
}

int VideoDecoder::send(const uint8_t *data, int len) {
    av_packet_unref(pkt_);
    pkt_->data = const_cast<uint8_t *>(data);
    pkt_->size = len;
    int ret = send(pkt_);
    pkt_->data = nullptr;
    pkt_->size = 0;
    return ret;
}

int VideoDecoder::send(const AVPacket *pkt) {
    if (!ctx_) return AVERROR(EINVAL);
    return avcodec_send_packet(ctx_, pkt);
}

int VideoDecoder::receive(const AVFrame **frame) {
    if (!ctx_) return AVERROR(EINVAL);
    int got = AVERROR(EAGAIN);
    int ret;
    while ((ret = avcodec_receive_frame(ctx_, next_)) >= 0) {
        av_frame_unref(frame_);
        av_frame_move_ref(frame_, next_);
        got = 0;
    }
    if (got < 0) return ret == AVERROR_EOF ? AVERROR(EAGAIN) : ret;
    if (hwFormat_ != AV_PIX_FMT_NONE && frame_->format == hwFormat_) {
        av_frame_unref(system_);
        ret = av_hwframe_transfer_data(system_, frame_, 0);
        if (ret < 0) return ret;
        av_frame_copy_props(system_, frame_);
        *frame = system_;
        return 0;
    }
    *frame = frame_;
    return 0;
}

bool VideoDecoder::damaged(const AVFrame *frame) {
    return frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT);
}

}  // namespace sff
