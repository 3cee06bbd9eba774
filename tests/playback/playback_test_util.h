// Frame files written with the library's own writers, for playback tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "frame_file_format.h"

namespace pbtest {

// A recognisable sample: frame f, column x, row y.
inline int16_t sample_at(int f, int x, int y) {
    return static_cast<int16_t>(2500 + 40 * f + (x * 7 + y * 3) % 200);
}

inline _DataFrameHeader make_header(int w, int h, int f) {
    _DataFrameHeader hd{};
    hd.width = static_cast<uint16_t>(w);
    hd.height = static_cast<uint16_t>(h);
    hd.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
    hd.slope = 100;
    hd.offset = 0;
    hd.timestamp = 1000 + f;
    return hd;
}

inline std::vector<int16_t> make_samples(int w, int h, int f) {
    std::vector<int16_t> s(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s[static_cast<size_t>(y) * w + x] = sample_at(f, x, y);
    return s;
}

inline FrameFileInfo make_info(int w, int h) {
    FrameFileInfo info{};
    std::strcpy(info.cameraId, "R384-TEST");
    info.timestamp = 133000000000000000LL;
    info.width = static_cast<uint16_t>(w);
    info.height = static_cast<uint16_t>(h);
    info.dataFps = 25;
    info.dataRatio = 1;
    info.recorder = SARVIK_RECORDER_MARK;
    info.version = SARVIK_RECORDER_VERSION;
    return info;
}

// A stream file of frames frames; the cover, when given, has w x h pixels.
inline void write_stream(const std::string &path, int w, int h, int frames, const uint32_t *cover = nullptr) {
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const FrameFileInfo info = make_info(w, h);
    ASSERT_EQ(sarvik::stream_write_prefix(f, &info, cover), 0);
    for (int i = 0; i < frames; ++i) {
        const _DataFrameHeader hd = make_header(w, h, i);
        const auto s = make_samples(w, h, i);
        ASSERT_EQ(sarvik::stream_append_frame(f, &hd, s.data()), 0);
    }
    ASSERT_EQ(std::fclose(f), 0);
}

// A snapshot file: image bytes, then the tail of frame 0.
inline void write_snapshot(const std::string &path, int w, int h, const std::string &image) {
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(sarvik::frame_file_write(f, image.data(), image.size()), 0);
    const FrameFileInfo info = make_info(w, h);
    const _DataFrameHeader hd = make_header(w, h, 0);
    const auto s = make_samples(w, h, 0);
    ASSERT_EQ(sarvik::temp_tail_write(f, &info, &hd, s.data()), 0);
    ASSERT_EQ(std::fclose(f), 0);
}

inline std::string read_all(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_all(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

template <typename T>
T at(const std::string &bytes, size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

}  // namespace pbtest
