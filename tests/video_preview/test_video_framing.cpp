// The framing checks shared by the preview worker and the fuzz target.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "video_framing.h"

namespace sarvik {
namespace {

H264FrameHeader header_of(int32_t size) {
    H264FrameHeader h;
    std::memset(&h, 0, sizeof h);
    h.size = size;
    return h;
}

void append(std::vector<uint8_t> *out, const void *p, size_t n) {
    const auto *b = static_cast<const uint8_t *>(p);
    out->insert(out->end(), b, b + n);
}

TEST(VideoFraming, FrameSizeLimitsFollowTheVideoSize) {
    const size_t max = video_frame_max_bytes(160, 120);
    EXPECT_EQ(max, 3u * 160 * 120 + 17408);
    EXPECT_EQ(video_frame_payload_bytes(header_of(1024), max), 0);
    EXPECT_EQ(video_frame_payload_bytes(header_of(1023), max), -1);
    EXPECT_EQ(video_frame_payload_bytes(header_of(800), max), -1);
    EXPECT_EQ(video_frame_payload_bytes(header_of(-5), max), -1);
    EXPECT_EQ(video_frame_payload_bytes(header_of(static_cast<int32_t>(max)), max),
              static_cast<int32_t>(max) - 1024);
    EXPECT_EQ(video_frame_payload_bytes(header_of(static_cast<int32_t>(max) + 1), max), -1);
}

TEST(VideoFraming, DecoderConfigurationTakesAtMost64ConfigurationBytes) {
    H264FrameStart start;
    std::memset(&start, 0, sizeof start);
    for (int i = 0; i < 120; ++i) start.config[i] = static_cast<uint8_t>(i + 1);
    start.paramA = 30;
    start.paramB = 2;
    start.width = 999;  // the stream's own size does not reach the decoder: the session's does
    start.height = 777;
    H264DecConfig cfg;
    for (int32_t length : {-7, 0, 10, 64, 65, 120, 100000}) {
        start.configLength = length;
        video_decoder_config_fill(&cfg, start, 2, 160, 120);
        const int32_t expected = length < 0 ? 0 : (length > 64 ? 64 : length);
        EXPECT_EQ(cfg.configLength, expected) << length;
        EXPECT_EQ(cfg.deviceType, 2u);
        EXPECT_EQ(cfg.width, 160);
        EXPECT_EQ(cfg.height, 120);
        EXPECT_EQ(cfg.paramA, 30);
        EXPECT_EQ(cfg.paramB, 2);
        EXPECT_EQ(std::memcmp(cfg.config, start.config, static_cast<size_t>(expected)), 0);
        for (int i = expected; i < 64; ++i) EXPECT_EQ(cfg.config[i], 0) << "only the announced bytes";
    }
}

TEST(VideoFraming, AStreamIsWalkedFrameByFrame) {
    std::vector<uint8_t> s(sizeof(H264FrameStart), 0);
    EXPECT_EQ(video_framing_walk(s.data(), s.size() - 1, 160, 120, nullptr, nullptr), -1);
    const uint8_t payloadA[3] = {1, 2, 3};
    H264FrameHeader h = header_of(1024 + 3);
    append(&s, &h, sizeof h);
    append(&s, payloadA, sizeof payloadA);
    h = header_of(1024);
    append(&s, &h, sizeof h);
    std::vector<size_t> sizes;
    auto visit = [](const uint8_t *, size_t n, void *u) {
        static_cast<std::vector<size_t> *>(u)->push_back(n);
    };
    EXPECT_EQ(video_framing_walk(s.data(), s.size(), 160, 120, visit, &sizes), 2);
    EXPECT_EQ(sizes, (std::vector<size_t>{3, 0}));
    // A frame cut short is not counted; an invalid header fails the walk.
    h = header_of(1024 + 50);
    append(&s, &h, sizeof h);
    EXPECT_EQ(video_framing_walk(s.data(), s.size(), 160, 120, nullptr, nullptr), 2);
    h = header_of(800);
    std::memcpy(s.data() + s.size() - sizeof h, &h, sizeof h);
    EXPECT_EQ(video_framing_walk(s.data(), s.size(), 160, 120, nullptr, nullptr), -1);
}

TEST(VideoFraming, AReconnectionMustBringTheSameSize) {
    H264FrameStart start;
    std::memset(&start, 0, sizeof start);
    start.width = 160;
    start.height = 120;
    EXPECT_TRUE(video_frame_start_matches(start, 160, 120));
    EXPECT_FALSE(video_frame_start_matches(start, 160, 121));
    EXPECT_FALSE(video_frame_start_matches(start, 176, 120));
}

}  // namespace
}  // namespace sarvik
