// The PC side of the virtual camera's video ports for tests: the camera's framing read off a socket, the
// frames decoded with the codec layer, and pictures compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SarvikFfmpeg.h"
#include "SarvikSDK.h"

namespace videotest {

constexpr uint16_t kVideoPort = 55506;
constexpr uint16_t kMixedPort = 55507;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra;
};

// One connection to a video or mixed port.
class VideoClient {
public:
    VideoClient() = default;
    ~VideoClient();
    VideoClient(const VideoClient &) = delete;
    VideoClient &operator=(const VideoClient &) = delete;

    // Connects (3 s receive time-out) and reads the H264FrameStart; false when either fails.
    bool open(const std::string &ip, uint16_t port);
    const H264FrameStart &start() const { return start_; }

    // 1: a header arrived; 0: the camera closed the connection before one; -1: an error or time-out.
    int read_header(H264FrameHeader *header);
    // The compressed bytes behind a header: header.size - 1024 of them.
    bool read_data(const H264FrameHeader &header, std::vector<uint8_t> *data);
    // A whole frame; false on anything else.
    bool read_frame(H264FrameHeader *header, std::vector<uint8_t> *data);

private:
    int fd_ = -1;
    H264FrameStart start_{};
};

// A decoder configured from a start record, as a client of the camera fills it.
class FrameDecoder {
public:
    FrameDecoder(const H264FrameStart &start, int width, int height);
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder &) = delete;
    FrameDecoder &operator=(const FrameDecoder &) = delete;

    int config_status() const { return configStatus_; }
    // The codec layer's status; on 0 the picture is in picture().
    int decode(const std::vector<uint8_t> &au);
    const Picture &picture() const { return picture_; }

private:
    H264DecHandle *handle_ = nullptr;
    int configStatus_ = SFF_E_STATE;
    Picture picture_;
};

// Peak signal-to-noise ratio over the B, G and R channels of two pictures of one size, in dB (99 when
// they are equal, 0 when the sizes differ).
double psnr_db(const Picture &a, const Picture &b);

// The camera's still picture for its video ("video") or mixed ("mixed") output, written by the camera
// program itself with the given options; empty when the program fails.
Picture reference_picture(const std::string &kind, const std::vector<std::string> &args, int width,
                          int height);

// Reads and decodes frames frames: each header must carry the start record's size and 1024 + the data
// bytes, each frame must decode to a picture (the first one too), and, with a reference, each picture
// must come within minPsnrDb of it. "" or what went wrong; *lowestPsnrDb gets the worst frame's figure.
std::string expect_frames(VideoClient &client, FrameDecoder &decoder, int frames, const Picture *reference,
                          double minPsnrDb, double *lowestPsnrDb = nullptr);

// The camera's basic info, read over its command port.
bool fetch_basic_info(const std::string &ip, _CameraBasicInfo *info);

}  // namespace videotest
