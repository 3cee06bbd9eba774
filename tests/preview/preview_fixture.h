// Shared pieces of the preview tests: a virtual camera with a logged-in session, and a callback recorder
// that copies what the tests look at while the frame is still the library's.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "vcam_process.h"

namespace previewtest {

// One callback: its status and, for frames, a copy of the header and the whole-frame result.
struct Event {
    int status;
    _DataFrameHeader header;
    _DataFrameResult result;
};

class Recorder {
public:
    static void callback(int status, _DataFrame *frame, void *user);

    // Waits (bounded) until pred holds over the events; returns whether it did.
    template <class Pred>
    bool wait_for(Pred pred, int seconds = 20) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return pred(events_); });
    }
    bool wait_frames(int n, int seconds = 20);
    std::vector<Event> events();
    int frames();

    // Asks for the samples and image of the next frame to be copied; waits (bounded) for them.
    bool capture(std::vector<int16_t> *samples, std::vector<uint32_t> *image, _DataFrameHeader *header,
                 _DataFrameResult *result, int seconds = 20);

    // Frames whose header had been overwritten while the preview still promised it (checked on the last 15
    // frames at every callback).
    int overwritten();
    // Forgets the frames of a stopped preview (they are the library's no more).
    void forget_frames();
    // The ownership check follows one preview; off when several share the recorder.
    void track_ownership(bool on);

private:
    void on_frame(_DataFrame *frame);
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Event> events_;
    bool captureWanted_ = false;
    bool captured_ = false;
    std::vector<int16_t> samples_;
    std::vector<uint32_t> image_;
    _DataFrameHeader capHeader_{};
    _DataFrameResult capResult_{};
    // The last 15 frames handed out and the time stamps they carried.
    _DataFrame *recent_[15] = {};
    int64_t recentStamp_[15] = {};
    int recentCount_ = 0;
    int overwritten_ = 0;
    bool track_ = true;
};

// A virtual camera on ip and the SDK initialised with a session on it.
class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override;
    // Starts the camera with args and logs in; fails the test when either does not work.
    void start_camera(const std::string &ip, const std::vector<std::string> &args);
    PreviewParam param(uint8_t transport = SARVIK_TRANSPORT_TCP);

    std::unique_ptr<testsupport::VcamProcess> cam_;
    int user_ = -1;
    Recorder rec_;
    std::vector<int> previews_;  // stopped at tear-down
};

// Temperature of a sample with the header's scale.
inline float temp_of(const _DataFrameHeader &h, int16_t v) {
    return static_cast<float>(v) / static_cast<float>(h.slope ? h.slope : 1) + static_cast<float>(h.offset);
}
// Mean temperature over columns [x0, x1) and rows [y0, y1) of width-wide samples.
double mean_temp(const std::vector<int16_t> &s, const _DataFrameHeader &h, int x0, int x1, int y0, int y1);

// The whole-frame result agrees with the samples: the extremes sit on the largest and smallest sample and
// read the truncated mean of their 3 x 3 neighbourhood (the sample itself on the border); the average is the
// mean of all samples.
void expect_result_matches(const std::vector<int16_t> &s, const _DataFrameHeader &h,
                           const _DataFrameResult &r);

// The virtual camera's scene: rows above the warm disc's path hold only the background gradient,
// 20 °C at the left edge to 25 °C at the right.
inline int clear_rows(int height) { return height * 17 / 100; }
inline double gradient_at(double x, int width) { return 20.0 + 5.0 * x / (width - 1); }

}  // namespace previewtest
