#include "preview_fixture.h"

#include <algorithm>
#include <cstring>

namespace previewtest {

void Recorder::callback(int status, _DataFrame *frame, void *user) {
    auto *self = static_cast<Recorder *>(user);
    if (status == 0 && frame) {
        self->on_frame(frame);
        return;
    }
    std::lock_guard<std::mutex> lock(self->mutex_);
    Event e{};
    e.status = status;
    self->events_.push_back(e);
    self->cv_.notify_all();
}

void Recorder::on_frame(_DataFrame *frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    Event e{};
    e.status = 0;
    e.header = *frame->header;
    std::memcpy(&e.result, frame->extra + SARVIK_FRAME_RESULT_OFFSET, sizeof e.result);
    events_.push_back(e);
    if (!track_) recentCount_ = 0;
    for (int i = 0; i < recentCount_; ++i)
        if (recent_[i]->header->timestamp != recentStamp_[i]) ++overwritten_;
    if (recentCount_ == 15) {
        std::memmove(recent_, recent_ + 1, sizeof recent_[0] * 14);
        std::memmove(recentStamp_, recentStamp_ + 1, sizeof recentStamp_[0] * 14);
        --recentCount_;
    }
    if (track_) {
        recent_[recentCount_] = frame;
        recentStamp_[recentCount_] = frame->header->timestamp;
        ++recentCount_;
    }
    if (captureWanted_) {
        const size_t n = static_cast<size_t>(frame->header->width) * frame->header->height;
        samples_.assign(frame->data, frame->data + n);
        image_.assign(frame->image, frame->image + n);
        capHeader_ = *frame->header;
        capResult_ = e.result;
        captureWanted_ = false;
        captured_ = true;
    }
    cv_.notify_all();
}

bool Recorder::wait_frames(int n, int seconds) {
    return wait_for(
        [n](const std::vector<Event> &ev) {
            int c = 0;
            for (const Event &e : ev) c += e.status == 0;
            return c >= n;
        },
        seconds);
}

std::vector<Event> Recorder::events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

int Recorder::frames() {
    std::lock_guard<std::mutex> lock(mutex_);
    int c = 0;
    for (const Event &e : events_) c += e.status == 0;
    return c;
}

void Recorder::track_ownership(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    track_ = on;
    recentCount_ = 0;
}

void Recorder::forget_frames() {
    std::lock_guard<std::mutex> lock(mutex_);
    recentCount_ = 0;
}

int Recorder::overwritten() {
    std::lock_guard<std::mutex> lock(mutex_);
    return overwritten_;
}

bool Recorder::capture(std::vector<int16_t> *samples, std::vector<uint32_t> *image, _DataFrameHeader *header,
                       _DataFrameResult *result, int seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    captured_ = false;
    captureWanted_ = true;
    if (!cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return captured_; })) {
        captureWanted_ = false;
        return false;
    }
    if (samples) *samples = samples_;
    if (image) *image = image_;
    if (header) *header = capHeader_;
    if (result) *result = capResult_;
    return true;
}

void PreviewTest::start_camera(const std::string &ip, const std::vector<std::string> &args) {
    cam_ = std::make_unique<testsupport::VcamProcess>(ip, args);
    ASSERT_TRUE(cam_->ready());
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    _LoginInfo l;
    std::memset(&l, 0, sizeof l);
    std::snprintf(l.ip, sizeof l.ip, "%s", ip.c_str());
    _CameraBasicInfo info;
    user_ = Sarvik_Login(&l, &info);
    ASSERT_GE(user_, 0);
}

PreviewParam PreviewTest::param(uint8_t transport) {
    PreviewParam p;
    std::memset(&p, 0, sizeof p);
    p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    p.transType = transport;
    p.callback = &Recorder::callback;
    p.user = &rec_;
    return p;
}

void PreviewTest::TearDown() {
    for (int p : previews_) Sarvik_StopPreview(p);
    if (user_ >= 0) Sarvik_Logout(user_);
    Sarvik_FreeSDK();
    cam_.reset();
}

double mean_temp(const std::vector<int16_t> &s, const _DataFrameHeader &h, int x0, int x1, int y0, int y1) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            sum += temp_of(h, s[static_cast<size_t>(y) * h.width + x]);
            ++n;
        }
    return n ? sum / n : 0;
}

namespace {
float extreme_reading(const std::vector<int16_t> &s, const _DataFrameHeader &h, int x, int y) {
    const int w = h.width;
    if (x == 0 || y == 0 || x == w - 1 || y == h.height - 1)
        return temp_of(h, s[static_cast<size_t>(y) * w + x]);
    int sum = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) sum += s[static_cast<size_t>(y + dy) * w + x + dx];
    return temp_of(h, static_cast<int16_t>(sum / 9));
}
}  // namespace

void expect_result_matches(const std::vector<int16_t> &s, const _DataFrameHeader &h,
                           const _DataFrameResult &r) {
    ASSERT_EQ(s.size(), static_cast<size_t>(h.width) * h.height);
    ASSERT_LT(r.maxX, h.width);
    ASSERT_LT(r.maxY, h.height);
    ASSERT_LT(r.minX, h.width);
    ASSERT_LT(r.minY, h.height);
    int16_t lo = s[0], hi = s[0];
    double sum = 0;
    for (int16_t v : s) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += temp_of(h, v);
    }
    EXPECT_EQ(s[static_cast<size_t>(r.maxY) * h.width + r.maxX], hi);
    EXPECT_EQ(s[static_cast<size_t>(r.minY) * h.width + r.minX], lo);
    EXPECT_NEAR(r.maxTemp, extreme_reading(s, h, r.maxX, r.maxY), 0.011);
    EXPECT_NEAR(r.minTemp, extreme_reading(s, h, r.minX, r.minY), 0.011);
    EXPECT_NEAR(r.avgTemp, sum / s.size(), 0.01);
}

}  // namespace previewtest
