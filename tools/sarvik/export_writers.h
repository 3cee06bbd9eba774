// The export formats: one frame to CSV, TIFF (16-bit samples or 32-bit float deg C) or PNG, and rendered
// frames to one MP4 through the codec layer. Every file appears whole under its final name or not at all.
#pragma once

#include <cstdint>
#include <string>

#include "SarvikSDK.h"
#include "cli_common.h"

struct H264EncHandle;

namespace cli {

// deg C of one sample with the header's scale; the header's slope must not be 0.
inline float celsiusOf(int16_t sample, const _DataFrameHeader &h) {
    return static_cast<float>(sample) / static_cast<float>(h.slope) + static_cast<float>(h.offset);
}

// "2026-12-08T11:24:24.123+01:00": a frame stamp (100-ns ticks since 1970 UTC) in local time.
std::string isoLocalTime(int64_t ticks1970);

// Each returns 0 or an SDK file status (-200 cannot create, -197 short write) or -194 for a header
// whose slope is 0. The frame is one the playback handed out.
int writeCsv(const std::string &path, const _DataFrame &frame);
// samples as they are (SAMPLEFORMAT_INT) or deg C (SAMPLEFORMAT_IEEEFP); the scale and time go into
// ImageDescription as "slope=S;offset=O;time=T;camera=ID".
int writeTiff(const std::string &path, const _DataFrame &frame, bool celsius, const char *cameraId);
// The rendered BGRA picture as an 8-bit RGBA PNG.
int writePng(const std::string &path, const uint32_t *bgra, int width, int height);
// The scale and time line both CSV and TIFF carry.
std::string describeFrame(const _DataFrameHeader &h, const char *cameraId);

// The frames per second of a sequence from its first and last stamps; fallback when they say nothing.
double frameRateOf(int64_t firstTicks, int64_t lastTicks, int64_t frames, double fallback);

// Rendered frames to one H.264 MP4 file at a given rate.
class Mp4Writer {
public:
    explicit Mp4Writer(const std::string &path);
    ~Mp4Writer();
    Mp4Writer(const Mp4Writer &) = delete;
    Mp4Writer &operator=(const Mp4Writer &) = delete;
    // 0 or the codec layer's status (SFF_E_*).
    int begin(int width, int height, double fps);
    int add(const uint32_t *bgra);
    // Closes the file and renames it into place: 0 or a status.
    int finish();
    int frames() const { return frames_; }

private:
    OutputFile file_;  // the codec layer writes its temporary name; finish renames it
    H264EncHandle *enc_ = nullptr;
    bool muxing_ = false;
    int frames_ = 0;
};

}  // namespace cli
