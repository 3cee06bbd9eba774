// Test peers for compressed-video previews: a scripted camera that answers login on 55502, a scripted
// video stream server for the video and mixed ports, clips encoded with the codec layer, and checks of
// decoded pictures and recorded files.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "scripted_peer.h"

namespace videotest {

// 127.0.9.n: this folder's addresses (one per test, the camera ports being fixed).
std::string host(int n);

// Answers login's record requests with a basic info whose video size is videoWidth x videoHeight.
std::unique_ptr<testsupport::ScriptedPeer> scripted_login_camera(const std::string &ip, uint16_t videoWidth,
                                                                 uint16_t videoHeight);

// BGRA pictures and their H.264 access units (Annex-B; the first a key frame with its parameter sets).
struct Clip {
    int width = 0, height = 0;
    std::vector<std::vector<uint32_t>> pictures;
    std::vector<std::vector<uint8_t>> units;
};
// A smooth gradient with a bright square that moves with the frame index; encoded at 25 Hz.
Clip make_clip(int width, int height, int frames);

// What one connection to the stream peer gets.
struct ConnectionPlan {
    uint16_t startWidth = 0, startHeight = 0;  // announced in H264FrameStart
    int frames = 0;                            // frames to send (the clip repeats)
    int invalidHeaderAt = -1;                  // this frame (from 0) gets a header announcing 800 bytes
    bool closeAfter = false;                   // close after the frames; otherwise stay until the client goes
    bool gated = false;                        // each frame waits for release()
};

// Serves the video or mixed port of ip: one connection at a time, each following plan(connection index).
// Bounded: at most 40 connections and 60 s; everything stops with the object.
class StreamPeer {
public:
    StreamPeer(const std::string &ip, uint16_t port, const Clip &clip,
               std::function<ConnectionPlan(int)> plan, int frameIntervalMs = 10);
    ~StreamPeer();
    bool listening() const { return fd_ >= 0; }
    // Lets n more frames of gated connections go.
    void release(int n);
    int connections() const { return connections_.load(); }
    int frames_sent() const { return framesSent_.load(); }
    // Connections the client closed by itself while the peer still had something to say or wait for.
    int closed_by_client() const { return closedByClient_.load(); }

private:
    void loop();
    void serve(int fd, int index);
    int fd_ = -1;
    const Clip &clip_;
    std::function<ConnectionPlan(int)> plan_;
    int intervalMs_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> framesSent_{0};
    std::atomic<int> closedByClient_{0};
    std::mutex mutex_;
    std::condition_variable cv_;
    int credits_ = 0;
    std::thread thread_;
};

// Callback events of a preview, with copies of the first pictures delivered.
class Events {
public:
    static void callback(int status, _DataFrame *frame, void *user);
    // Pictures to keep a copy of (the first n delivered), each width x height.
    void keep_pictures(int n, int width, int height);
    template <class Pred>
    bool wait_for(Pred pred, int seconds = 20) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return pred(statuses_); });
    }
    bool wait_frames(int n, int seconds = 20);
    bool wait_status(int status, int seconds = 20);
    std::vector<int> statuses();
    int frames();
    std::vector<std::vector<uint32_t>> pictures();
    // Extra blocks of the first frames: their first 8 bytes (size, width, height of the frame header).
    std::vector<H264FrameHeader> headers();
    // When set, the first frame's callback waits (bounded) until unblock() before returning.
    void block_first_frame();
    void unblock();
    bool first_frame_waiting(int seconds = 20);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<int> statuses_;
    int keep_ = 0, width_ = 0, height_ = 0;
    std::vector<std::vector<uint32_t>> pictures_;
    std::vector<H264FrameHeader> headers_;
    bool blockFirst_ = false, firstWaiting_ = false, unblocked_ = false;
};

PreviewParam preview_param(uint8_t kind, Events *events);

// Peak signal-to-noise ratio over the colour channels of two BGRA pictures of the same size.
double psnr(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b);

// A recorded video file as FFmpeg reads it: video packets, width and height; false when it cannot be read.
struct VideoFileInfo {
    int packets = 0, width = 0, height = 0;
};
bool probe_video_file(const std::string &path, VideoFileInfo *info);

// Decodes a PNG or JPEG file into BGRA (FFmpeg's image decoders); false when it cannot.
bool decode_image_file(const std::string &path, int *width, int *height, std::vector<uint32_t> *bgra);

// Everything the SDK logged into this program's log folder (the SarvikSDK.json beside the test program).
std::string sdk_log_text();
bool wait_log(const std::string &text, int seconds = 10);

}  // namespace videotest
