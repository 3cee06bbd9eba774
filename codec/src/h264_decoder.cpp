// H264Dec_: decoding of the camera's Annex-B access units into BGRA, and their recording.
#include "SarvikFfmpeg.h"
#include "annexb.h"
#include "picture_out.h"
#include "sff_log.h"
#include "stream_writer.h"
#include "video_decoder.h"

#include <algorithm>
#include <new>
#include <vector>

extern "C" {
#include <libavutil/pixdesc.h>
}

struct H264DecHandle {
    H264DecConfig cfg{};
    bool configured = false;
    sff::VideoDecoder decoder;
    sff::PictureOut picture;
    sff::StreamWriter mux;
    sff::ParamSets seen;         // from the configuration and the stream, for a mux begun mid-stream
    bool paramsPending = false;  // parameter sets came alone; the next picture carries them in
    std::vector<uint8_t> scratch;
    // Access units without a picture are only parsed, which tells whether they are well formed.
    AVCodecParserContext *parser = nullptr;
    AVCodecContext *parserCtx = nullptr;
    sff::RepeatFilter decodeLog;

    ~H264DecHandle() {
        av_parser_close(parser);
        avcodec_free_context(&parserCtx);
    }
};

namespace {

constexpr int kMaxSide = 8192;

AVRational streamRate(const H264DecConfig &cfg) {
    AVRational rate{cfg.paramA > 0 ? cfg.paramA : 25, cfg.paramB > 1 ? cfg.paramB : 1};
    av_reduce(&rate.num, &rate.den, rate.num, rate.den, 1 << 20);
    return rate;
}

// Number of errors the H.264 parser finds in a non-picture access unit (SPS, PPS, SEI).
int parseErrors(H264DecHandle *h, const uint8_t *data, int len) {
    h->scratch.assign(data, data + len);
    h->scratch.resize(static_cast<size_t>(len) + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    // The parser also complains that there is no picture, which is what it was given.
    sff::LogErrorWatch watch(h->parserCtx, "missing picture in access unit");
    uint8_t *out = nullptr;
    int outLen = 0;
    av_parser_parse2(h->parser, h->parserCtx, &out, &outLen, h->scratch.data(), len, AV_NOPTS_VALUE,
                     AV_NOPTS_VALUE, 0);
    return watch.errors();
}

}  // namespace

extern "C" {

H264DecHandle *H264Dec_Open(void) {
    return new (std::nothrow) H264DecHandle;
}

int H264Dec_Close(H264DecHandle **handle) {
    if (!handle || !*handle) return SFF_OK;
    delete *handle;  // members finish a running mux
    *handle = nullptr;
    return SFF_OK;
}

int H264Dec_SetConfig(H264DecHandle *h, const H264DecConfig *cfg) {
    if (!h || !cfg) return SFF_E_ARG;
    if (cfg->width < 2 || cfg->height < 2 || cfg->width > kMaxSide || cfg->height > kMaxSide ||
        cfg->configLength < 0 || cfg->configLength > static_cast<int>(sizeof cfg->config)) {
        SFF_LOG("invalid configuration: %ux%u, config length %d", cfg->width, cfg->height, cfg->configLength);
        return SFF_E_ARG;
    }
    if (h->mux.running()) return SFF_E_STATE;
    h->configured = false;
    h->cfg = *cfg;
    // Whatever form the camera announces its parameter sets in, the decoder gets them as Annex-B,
    // the form of the access units that follow.
    h->seen.clear();
    h->seen.collect(cfg->config, cfg->configLength);
    AVCodecParameters *par = sff::h264Parameters(cfg->width, cfg->height, h->seen.annexB());
    if (!par) return SFF_E_NOMEM;
    // One thread: FFmpeg conceals damaged slices, and flags the picture, only without slice threads.
    int ret = h->decoder.open(par, static_cast<int>(cfg->deviceType), true, false, __func__);
    avcodec_parameters_free(&par);
    if (ret < 0) return ret;
    if (!h->parser) {
        h->parser = av_parser_init(AV_CODEC_ID_H264);
        h->parserCtx = avcodec_alloc_context3(nullptr);
        if (!h->parser || !h->parserCtx) return SFF_E_NOMEM;
        h->parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
    }
    h->decodeLog.reset();
    h->paramsPending = false;
    h->scratch.reserve(64 * 1024);
    h->configured = true;
    return SFF_OK;
}

int H264Dec_DecFrame(H264DecHandle *h, const uint8_t *data, int len, uint32_t *bgraOut) {
    if (!h || !data || len <= 0 || !bgraOut) return SFF_E_ARG;
    if (!h->configured) return SFF_E_STATE;
    const sff::AccessUnitInfo info = sff::inspectAccessUnit(data, len);
    if (info.nalCount == 0) {
        if (h->decodeLog.shouldLog(SFF_E_DATA)) SFF_LOG("no NAL unit in %d bytes", len);
        return SFF_E_DATA;
    }
    if (!info.hasSlice) {
        // The decoder takes a packet without a picture for an error; keep the sets for the next one.
        if (info.malformed > 0 || parseErrors(h, data, len) > 0) {
            if (h->decodeLog.shouldLog(SFF_E_DATA))
                SFF_LOG("malformed access unit without picture, %d bytes", len);
            return SFF_E_DATA;
        }
        if (info.hasSps || info.hasPps) {
            h->seen.collect(data, len);
            h->paramsPending = true;
        }
        return SFF_NO_OUTPUT;
    }
    if (info.hasSps || info.hasPps) h->seen.collect(data, len);
    const uint8_t *feed = data;
    int feedLen = len;
    if (h->paramsPending && !(info.hasSps && info.hasPps)) {
        h->scratch.clear();
        h->seen.appendAnnexB(h->scratch);
        h->scratch.insert(h->scratch.end(), data, data + len);
        feed = h->scratch.data();
        feedLen = static_cast<int>(h->scratch.size());
    }
    h->paramsPending = false;
    int ret = h->decoder.send(feed, feedLen);
    if (ret < 0) {
        const int status = ret == AVERROR_INVALIDDATA ? SFF_E_DATA : SFF_E_CODEC;
        if (h->decodeLog.shouldLog(status)) SFF_LOG("avcodec_send_packet: %s", sff::AvErrText(ret).c_str());
        return status;
    }
    const AVFrame *frame = nullptr;
    ret = h->decoder.receive(&frame);
    if (ret == AVERROR(EAGAIN)) {
        if (info.malformed == 0) return SFF_NO_OUTPUT;
        if (h->decodeLog.shouldLog(SFF_E_DATA)) SFF_LOG("undecodable access unit of %d bytes", len);
        return SFF_E_DATA;
    }
    if (ret < 0) {
        if (h->decodeLog.shouldLog(SFF_E_CODEC))
            SFF_LOG("avcodec_receive_frame: %s", sff::AvErrText(ret).c_str());
        return SFF_E_CODEC;
    }
    if (h->picture.toBgra(frame, bgraOut, h->cfg.width, h->cfg.height) < 0) {
        if (h->decodeLog.shouldLog(SFF_E_CODEC))
            SFF_LOG("cannot convert %dx%d %s", frame->width, frame->height,
                    av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame->format)));
        return SFF_E_CODEC;
    }
    if (info.malformed > 0 || sff::VideoDecoder::damaged(frame)) {
        if (h->decodeLog.shouldLog(SFF_E_DATA)) SFF_LOG("picture decoded with errors, concealed");
        return SFF_E_DATA;
    }
    h->decodeLog.reset();
    return SFF_OK;
}

int H264Dec_MuxBegin(H264DecHandle *h, const char *path) {
    if (!h || !path || !*path) return SFF_E_ARG;
    if (!h->configured) return SFF_E_STATE;
    return h->mux.beginH264(path, h->cfg.width, h->cfg.height, h->seen.annexB(), streamRate(h->cfg),
                            __func__);
}

int H264Dec_MuxFrame(H264DecHandle *h, const uint8_t *data, int len) {
    return h ? h->mux.writeFrame(data, len) : SFF_E_ARG;
}

int H264Dec_MuxEnd(H264DecHandle *h) {
    if (!h) return SFF_E_ARG;
    return h->mux.end();
}

}  // extern "C"
