// Shared helpers of the codec tests: synthetic pictures, quality measures, file inspection,
// log capture and scratch directories.
#pragma once

#include "SarvikFfmpeg.h"

#include <cstdint>
#include <string>
#include <vector>

namespace codectest {

using Picture = std::vector<uint32_t>;  // BGRA, packed rows
using Packet = std::vector<uint8_t>;

// Moving gradient with a bright block and a warm disc; every index gives a different picture.
Picture makeScene(int width, int height, int index);

// 8-bit luma (BT.601, full range) of a BGRA picture.
std::vector<uint8_t> lumaOf(const uint32_t *bgra, int width, int height);
double psnr(const uint8_t *a, const uint8_t *b, size_t count);
double lumaPsnr(const uint32_t *a, const uint32_t *b, int width, int height);
double meanLuma(const uint32_t *bgra, int width, int height);

// NAL unit types of an Annex-B access unit, in order.
std::vector<int> nalTypes(const Packet &au);
// The access unit without the NAL units of the given types.
Packet withoutNals(const Packet &au, std::initializer_list<int> types);
// The NAL units of the given types, each behind a 4-byte start code.
Packet onlyNals(const Packet &au, std::initializer_list<int> types);

// Encodes `count` scene pictures (indices first, first + 1, ...) with a fresh encoder.
std::vector<Packet> encodeScene(const H264EncConfig &cfg, int count, int first = 0);
H264EncConfig encoderConfig(int width, int height, int frameRate = 25, int divisor = 1, int device = 0);

// What a container file holds, read back with libavformat and libavcodec independently of the
// library under test.
struct FileSummary {
    bool opened = false;
    std::string format;  // demuxer name
    std::string codec;
    std::string profile;  // codec profile name, empty when unknown
    int width = 0, height = 0;
    int frames = 0;
    int decodeErrors = 0;
    int rateNum = 0, rateDen = 1;  // average frame rate
    double durationS = 0;
    bool keyFirst = false;          // the first packet is a key frame
    bool dtsRising = true;          // decode stamps strictly increase
    std::vector<Picture> pictures;  // BGRA at width x height, when asked for
};
FileSummary readVideoFile(const std::string &path, bool keepPictures = false);

// Frame count that ffprobe -count_frames reports; -1 when ffprobe is not installed.
int ffprobeFrameCount(const std::string &path);
// Expects ffprobe to count `frames` in the file, when ffprobe is installed.
void expectProbedFrames(const std::string &path, int frames);

bool fileExists(const std::string &path);

// A fresh directory, removed with its contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Collects the library's log lines as "func: text" while installed.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::vector<std::string> lines() const;
    bool contains(const std::string &a, const std::string &b = "") const;
};

// Ffmpeg_Init for the lifetime of the object.
struct LibrarySession {
    LibrarySession() { Ffmpeg_Init(); }
    ~LibrarySession() { Ffmpeg_Free(); }
};

}  // namespace codectest
