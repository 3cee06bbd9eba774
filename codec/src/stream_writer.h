// Writes compressed video packets into a container file without re-encoding.
//
// The file is created at begin() so that a bad path fails at once; the container header is written
// with the first key frame, when the codec configuration (SPS/PPS for H.264) is known. Time stamps
// are made to rise strictly, whatever the source does.
#pragma once

#include "annexb.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace sff {

class StreamWriter {
public:
    StreamWriter() = default;
    StreamWriter(const StreamWriter &) = delete;
    StreamWriter &operator=(const StreamWriter &) = delete;
    ~StreamWriter() { end(); }

    // `templ` gives codec, size and any extradata; packet time stamps are in `timeBase`;
    // `frameRate` is advertised in the file (0/1 when unknown). Ends a running file first.
    int begin(const char *path, const AVCodecParameters *templ, AVRational timeBase, AVRational frameRate,
              const char *caller);
    // An H.264 file of width x height frames stamped at `rate`, with the parameter sets known so
    // far (Annex-B); the stream's own take over as they come.
    int beginH264(const char *path, int width, int height, const std::vector<uint8_t> &paramSets,
                  AVRational rate, const char *caller);
    // One access unit; `key` is used for codecs other than H.264, whose key frames are found in the
    // data. Returns SFF_NO_OUTPUT while waiting for the first key frame.
    int write(const uint8_t *data, int len, int64_t pts, int64_t dts, bool key);
    // The next frame of a file begun with beginH264.
    int writeFrame(const uint8_t *data, int len);
    int end();

    bool running() const { return fmt_ != nullptr; }
    int64_t framesWritten() const { return frames_; }

private:
    int writeHeader(const uint8_t *keyData, int keyLen);
    void releaseFile();

    AVFormatContext *fmt_ = nullptr;
    AVStream *stream_ = nullptr;
    AVPacket *pkt_ = nullptr;
    AVCodecParameters *par_ = nullptr;
    AVRational srcTb_{1, 25};
    AVRational frameRate_{0, 1};
    ParamSets params_;
    std::string path_;
    const char *caller_ = "";
    bool headerWritten_ = false;
    bool failed_ = false;
    int64_t firstDts_ = 0;
    int64_t lastDts_ = 0;
    int64_t lastStep_ = 0;  // interval before the last frame, in the file's clock
    bool rebase_ = false;   // the last frame had no stamp: follow it whatever the next one says
    int64_t frames_ = 0;
    int64_t nextFrame_ = 0;
};

// Parameters of an H.264 stream of the given size; extradata may be empty. Null when out of memory.
AVCodecParameters *h264Parameters(int width, int height, const std::vector<uint8_t> &extradata);

// Picks the container for a path from its extension; MP4 when the extension names none that
// carries H.264 video.
const AVOutputFormat *containerFor(const char *path, AVCodecID codec);

}  // namespace sff
