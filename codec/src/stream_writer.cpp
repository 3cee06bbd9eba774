#include "stream_writer.h"

#include "SarvikFfmpeg.h"
#include "sff_log.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace sff {

// A jump in the source's clock larger than this is a restart, not a pause.
constexpr int kMaxGapS = 10;

const AVOutputFormat *containerFor(const char *path, AVCodecID codec) {
    const AVOutputFormat *fmt = av_guess_format(nullptr, path, nullptr);
    if (fmt) {
        const int known = avformat_query_codec(fmt, codec, FF_COMPLIANCE_NORMAL);
        if (known == 1) return fmt;
        // Muxers without a codec table (MPEG-TS, PS) take any video stream; image and
        // time-stamp-less muxers would write something that is not a video file.
        if (known < 0 && fmt->video_codec != AV_CODEC_ID_NONE &&
            !(fmt->flags & (AVFMT_NOFILE | AVFMT_NOTIMESTAMPS)))
            return fmt;
    }
    return av_guess_format("mp4", nullptr, nullptr);
}

int StreamWriter::begin(const char *path, const AVCodecParameters *templ, AVRational timeBase,
                        AVRational frameRate, const char *caller) {
    if (running()) end();
    caller_ = caller;
    const AVOutputFormat *ofmt = containerFor(path, templ->codec_id);
    int ret = avformat_alloc_output_context2(&fmt_, ofmt, nullptr, path);
    if (ret < 0 || !fmt_) {
        SFF_LOG_AS(caller_, "avformat_alloc_output_context2(%s): %s", path, AvErrText(ret).c_str());
        fmt_ = nullptr;
        return SFF_E_NOMEM;
    }
    stream_ = avformat_new_stream(fmt_, nullptr);
    pkt_ = av_packet_alloc();
    par_ = avcodec_parameters_alloc();
    if (!stream_ || !pkt_ || !par_ || avcodec_parameters_copy(par_, templ) < 0) {
        SFF_LOG_AS(caller_, "out of memory starting %s", path);
        releaseFile();
        return SFF_E_NOMEM;
    }
    if (!(ofmt->flags & AVFMT_NOFILE)) {
        ret = avio_open(&fmt_->pb, path, AVIO_FLAG_WRITE);
        if (ret < 0) {
            SFF_LOG_AS(caller_, "avio_open(%s): %s", path, AvErrText(ret).c_str());
            releaseFile();
            return SFF_E_IO;
        }
    }
    params_.clear();
    if (par_->codec_id == AV_CODEC_ID_H264) params_.collect(par_->extradata, par_->extradata_size);
    srcTb_ = timeBase;
    frameRate_ = frameRate;
    path_ = path;
    headerWritten_ = false;
    failed_ = false;
    firstDts_ = lastDts_ = lastStep_ = 0;
    rebase_ = false;
    frames_ = 0;
    nextFrame_ = 0;
    return SFF_OK;
}

static bool setExtradata(AVCodecParameters *par, const std::vector<uint8_t> &extradata) {
    av_freep(&par->extradata);
    par->extradata_size = 0;
    if (extradata.empty()) return true;
    par->extradata = static_cast<uint8_t *>(av_mallocz(extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!par->extradata) return false;
    std::copy(extradata.begin(), extradata.end(), par->extradata);
    par->extradata_size = static_cast<int>(extradata.size());
    return true;
}

AVCodecParameters *h264Parameters(int width, int height, const std::vector<uint8_t> &extradata) {
    AVCodecParameters *par = avcodec_parameters_alloc();
    if (!par) return nullptr;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = AV_CODEC_ID_H264;
    par->width = width;
    par->height = height;
    if (!setExtradata(par, extradata)) avcodec_parameters_free(&par);
    return par;
}

int StreamWriter::beginH264(const char *path, int width, int height, const std::vector<uint8_t> &paramSets,
                            AVRational rate, const char *caller) {
    AVCodecParameters *par = h264Parameters(width, height, {});
    if (!par) return SFF_E_NOMEM;
    int ret = begin(path, par, av_inv_q(rate), rate, caller);
    avcodec_parameters_free(&par);
    if (ret == SFF_OK) params_.collect(paramSets.data(), static_cast<int>(paramSets.size()));
    return ret;
}

int StreamWriter::writeFrame(const uint8_t *data, int len) {
    int ret = write(data, len, nextFrame_, nextFrame_, false);
    if (ret == SFF_OK) ++nextFrame_;
    return ret;
}

// The container wants the picture size of the coded stream, which a camera's announcement may
// not match; the H.264 parser reads it from the SPS.
static void sizeFromSps(AVCodecParameters *par, const std::vector<uint8_t> &paramSets, const uint8_t *key,
                        int keyLen) {
    AVCodecParserContext *parser = av_parser_init(AV_CODEC_ID_H264);
    AVCodecContext *scratch = avcodec_alloc_context3(nullptr);
    if (parser && scratch) {
        std::vector<uint8_t> buf(paramSets);
        buf.insert(buf.end(), key, key + keyLen);
        buf.insert(buf.end(), AV_INPUT_BUFFER_PADDING_SIZE, 0);
        parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        uint8_t *out = nullptr;
        int outLen = 0;
        av_parser_parse2(parser, scratch, &out, &outLen, buf.data(),
                         static_cast<int>(buf.size()) - AV_INPUT_BUFFER_PADDING_SIZE, AV_NOPTS_VALUE,
                         AV_NOPTS_VALUE, 0);
        if (parser->width > 0 && parser->height > 0) {
            par->width = parser->width;
            par->height = parser->height;
        }
    }
    av_parser_close(parser);
    avcodec_free_context(&scratch);
}

int StreamWriter::writeHeader(const uint8_t *keyData, int keyLen) {
    if (par_->codec_id == AV_CODEC_ID_H264) {
        const std::vector<uint8_t> ext = params_.annexB();
        if (!setExtradata(par_, ext)) return SFF_E_NOMEM;
        sizeFromSps(par_, ext, keyData, keyLen);
    }
    if (avcodec_parameters_copy(stream_->codecpar, par_) < 0) return SFF_E_NOMEM;
    stream_->codecpar->codec_tag = 0;
    stream_->time_base = srcTb_;
    if (frameRate_.num > 0 && frameRate_.den > 0) {
        stream_->avg_frame_rate = frameRate_;
        stream_->r_frame_rate = frameRate_;
    }
    int ret = avformat_write_header(fmt_, nullptr);
    if (ret < 0) {
        SFF_LOG_AS(caller_, "avformat_write_header(%s): %s", path_.c_str(), AvErrText(ret).c_str());
        return SFF_E_IO;
    }
    headerWritten_ = true;
    return SFF_OK;
}

int StreamWriter::write(const uint8_t *data, int len, int64_t pts, int64_t dts, bool key) {
    if (!running()) return SFF_E_STATE;
    if (!data || len <= 0) return SFF_E_ARG;
    if (failed_) return SFF_E_IO;
    if (par_->codec_id == AV_CODEC_ID_H264) {
        AccessUnitInfo info = inspectAccessUnit(data, len);
        if (info.hasSps || info.hasPps) params_.collect(data, len);
        if (!info.hasSlice) return SFF_NO_OUTPUT;
        key = info.hasIdr;
    }
    if (dts == AV_NOPTS_VALUE) dts = pts;
    if (!headerWritten_) {
        if (!key) return SFF_NO_OUTPUT;
        if (par_->codec_id == AV_CODEC_ID_H264 && !params_.complete()) return SFF_NO_OUTPUT;
        int ret = writeHeader(data, len);
        if (ret < 0) {
            failed_ = true;
            return ret;
        }
        firstDts_ = dts == AV_NOPTS_VALUE ? 0 : dts;
    }
    // Stamps are rescaled first and then forced to rise, so a coarser container clock cannot
    // produce two equal decode stamps. A source that restarts its clock (a reconnect), jumps or
    // loses its stamps continues the file one frame interval after its last frame.
    const AVRational outTb = stream_->time_base;
    const int64_t frameDur = frameRate_.num > 0 ? av_rescale_q(1, av_inv_q(frameRate_), outTb) : 0;
    const int64_t step = frameDur > 0 ? frameDur : lastStep_ > 0 ? lastStep_ : 1;
    const int64_t maxGap = av_rescale_q(kMaxGapS, AVRational{1, 1}, outTb);
    int64_t outDts, outPts;
    if (dts == AV_NOPTS_VALUE) {
        outDts = outPts = frames_ > 0 ? lastDts_ + step : 0;
        rebase_ = true;
    } else {
        outDts = av_rescale_q(dts - firstDts_, srcTb_, outTb);
        if (frames_ > 0 && (rebase_ || outDts <= lastDts_ || outDts - lastDts_ > maxGap)) {
            firstDts_ = dts - av_rescale_q(lastDts_ + step, outTb, srcTb_);
            outDts = av_rescale_q(dts - firstDts_, srcTb_, outTb);
        }
        rebase_ = false;
        outPts = av_rescale_q((pts == AV_NOPTS_VALUE ? dts : pts) - firstDts_, srcTb_, outTb);
    }
    if (frames_ > 0 && outDts <= lastDts_) outDts = lastDts_ + 1;
    if (outPts < outDts) outPts = outDts;
    // MP4 cuts a last sample without duration out of the edit list; without a known rate the
    // previous interval is the best guess.
    const int64_t duration = frameDur > 0 ? frameDur : frames_ > 0 ? outDts - lastDts_ : 0;

    av_packet_unref(pkt_);
    pkt_->data = const_cast<uint8_t *>(data);
    pkt_->size = len;
    pkt_->stream_index = stream_->index;
    pkt_->pts = outPts;
    pkt_->dts = outDts;
    pkt_->duration = duration;
    pkt_->flags = key ? AV_PKT_FLAG_KEY : 0;
    int ret = av_write_frame(fmt_, pkt_);
    pkt_->data = nullptr;
    pkt_->size = 0;
    if (ret < 0) {
        SFF_LOG_AS(caller_, "av_write_frame(%s): %s", path_.c_str(), AvErrText(ret).c_str());
        failed_ = true;
        return SFF_E_IO;
    }
    if (frames_ > 0) lastStep_ = outDts - lastDts_;
    lastDts_ = outDts;
    ++frames_;
    return SFF_OK;
}

int StreamWriter::end() {
    if (!running()) return SFF_E_STATE;
    int status = SFF_OK;
    const bool keep = headerWritten_;
    if (keep) {
        int ret = av_write_trailer(fmt_);
        if (ret < 0) {
            SFF_LOG_AS(caller_, "av_write_trailer(%s): %s", path_.c_str(), AvErrText(ret).c_str());
            status = SFF_E_IO;
        }
    } else {
        SFF_LOG_AS(caller_, "no key frame reached %s, file removed", path_.c_str());
        status = SFF_E_NODATA;
    }
    releaseFile();
    if (!keep) std::remove(path_.c_str());
    return status;
}

void StreamWriter::releaseFile() {
    if (fmt_ && !(fmt_->oformat->flags & AVFMT_NOFILE)) avio_closep(&fmt_->pb);
    avformat_free_context(fmt_);
    fmt_ = nullptr;
    stream_ = nullptr;
    av_packet_free(&pkt_);
    avcodec_parameters_free(&par_);
}

}  // namespace sff
