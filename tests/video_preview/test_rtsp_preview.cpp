// RTSP previews: no login, the source's picture size written back, library codes passed to the callback,
// recording through the library and snapshots of the last picture.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

#include "rtsp_source_process.h"
#include "temp_dir.h"
#include "video_test_support.h"

namespace videotest {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRtspPort = 8554;

// The tests' RTSP source on one address.
class RtspSource {
public:
    // False with skip set when GStreamer lacks what the source needs, with error otherwise.
    bool start(const std::string &ip, std::string *skip, std::string *error) {
        return process_.start(ip, kRtspPort, 40, 20, skip, error) == 0;
    }
    void stop() { process_.stop(); }

private:
    testsupport::RtspSourceProcess process_;
};

RtspParam source(const std::string &ip, const char *mount, bool second = false) {
    RtspParam r;
    std::memset(&r, 0, sizeof r);
    std::snprintf(r.url, sizeof r.url, "rtsp://%s:%d%s", ip.c_str(), kRtspPort, mount);
    r.secondOutput = second ? 1 : 0;
    return r;
}

bool file_exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class RtspPreviewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Sarvik_InitSDK(), 0); }
    void TearDown() override {
        for (int p : previews_) Sarvik_StopPreview(p);
        Sarvik_FreeSDK();
        server_.stop();
    }
    // Starts the source on 127.0.9.n; skips the test where GStreamer cannot serve.
    void serve(int n) {
        ip_ = host(n);
        std::string skip, error;
        if (!server_.start(ip_, &skip, &error)) {
            if (!skip.empty()) GTEST_SKIP() << skip;
            FAIL() << error;
        }
    }
    int start(RtspParam *r, PreviewParam *p) {
        const int h = Sarvik_StartPreviewRtsp(r, p);
        if (h >= 0) previews_.push_back(h);
        return h;
    }

    RtspSource server_;
    std::string ip_;
    Events events_;
    std::vector<int> previews_;
    testsupport::TempDir dir_;
};

TEST_F(RtspPreviewTest, ASourceThatCannotBeOpenedFreesTheSlot) {
    RtspParam r = source(host(40), "/live");  // nothing listens there
    PreviewParam p = preview_param(0, &events_);
    EXPECT_EQ(Sarvik_StartPreviewRtsp(nullptr, &p), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(Sarvik_StartPreviewRtsp(&r, nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(Sarvik_StartPreviewRtsp(&r, &p), SARVIK_ERR_PREVIEW_INPUT);
    EXPECT_EQ(Sarvik_BeginSave(0, dir_.file("x.png").c_str(), SARVIK_SAVE_SNAPSHOT), SARVIK_ERR_BAD_ID)
        << "no slot stays taken";
    RtspParam bad = source(host(40), "/live");
    std::snprintf(bad.url, sizeof bad.url, "http://%s/live", host(40).c_str());
    EXPECT_EQ(Sarvik_StartPreviewRtsp(&bad, &p), SARVIK_ERR_PREVIEW_INPUT);
    EXPECT_TRUE(events_.statuses().empty());
}

TEST_F(RtspPreviewTest, FramesCarryThePictureItsSizeAndTheGreyOutput) {
    serve(41);
    RtspParam r = source(ip_, "/live", true);
    struct Grab {
        Events *events;
        std::mutex mutex;
        std::vector<uint32_t> image;
        std::vector<uint8_t> grey;
        uint16_t size[2] = {0, 0};
    } grab{&events_, {}, {}, {}, {0, 0}};
    PreviewParam p;
    std::memset(&p, 0, sizeof p);
    p.user = &grab;
    p.callback = [](int status, _DataFrame *frame, void *user) {
        auto *g = static_cast<Grab *>(user);
        if (status == 0 && frame) {
            std::lock_guard<std::mutex> lock(g->mutex);
            if (g->image.empty()) {
                g->image.assign(frame->image, frame->image + 320 * 240);
                g->grey.assign(frame->extra + SARVIK_FRAME_EXTRA_SIZE,
                               frame->extra + SARVIK_FRAME_EXTRA_SIZE + 320 * 240);
                std::memcpy(g->size, frame->extra + 4, sizeof g->size);
            }
        }
        Events::callback(status, frame, g->events);
    };
    const int h = start(&r, &p);
    ASSERT_GE(h, 0);
    EXPECT_EQ(p.previewKind, SARVIK_PREVIEW_RTSP);
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.height, 240);
    ASSERT_TRUE(events_.wait_frames(10));
    std::lock_guard<std::mutex> lock(grab.mutex);
    EXPECT_EQ(grab.size[0], 320);
    EXPECT_EQ(grab.size[1], 240);
    // The grey output is the picture's luma.
    double worst = 0;
    int bright = 0;
    for (size_t i = 0; i < grab.image.size(); ++i) {
        const uint32_t px = grab.image[i];
        const double y = 0.299 * ((px >> 16) & 0xff) + 0.587 * ((px >> 8) & 0xff) + 0.114 * (px & 0xff);
        worst = std::max(worst, std::abs(y - grab.grey[i]));
        bright += y > 128;
    }
    EXPECT_LT(worst, 24.0);
    EXPECT_GT(bright, 50) << "the ball is in the picture";
    EXPECT_EQ(Sarvik_PreviewSetImage(h, nullptr, 1), SARVIK_ERR_BAD_ID);
}

TEST_F(RtspPreviewTest, RecordingRulesAndTheRecordedFile) {
    serve(42);
    RtspParam r = source(ip_, "/live");
    PreviewParam p = preview_param(0, &events_);
    const int h = start(&r, &p);
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("rtsp.mp4");
    EXPECT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM), SARVIK_ERR_BAD_SAVE_TYPE);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), SARVIK_ERR_STATE) << "nothing records";
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("second.mp4").c_str(), SARVIK_SAVE_VIDEO), SARVIK_ERR_FAIL);
    ASSERT_TRUE(events_.wait_frames(60));
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_SNAPSHOT), SARVIK_ERR_BAD_SAVE_TYPE);
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), SARVIK_ERR_STATE);
    VideoFileInfo info;
    ASSERT_TRUE(probe_video_file(path, &info));
    EXPECT_GE(info.packets, 20) << "from the first key frame on (one a second)";
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_FALSE(file_exists(dir_.file("second.mp4")));
}

TEST_F(RtspPreviewTest, SnapshotsNeedAPictureAndWriteOneByExtension) {
    serve(43);
    RtspParam r = source(ip_, "/live");
    PreviewParam p = preview_param(0, &events_);
    events_.block_first_frame();
    const int h = start(&r, &p);
    ASSERT_GE(h, 0);
    ASSERT_TRUE(events_.first_frame_waiting());
    const std::string png = dir_.file("snap.png");
    EXPECT_EQ(Sarvik_BeginSave(h, png.c_str(), SARVIK_SAVE_SNAPSHOT), SARVIK_ERR_STATE) << "no picture yet";
    EXPECT_FALSE(file_exists(png));
    events_.unblock();
    ASSERT_TRUE(events_.wait_frames(5));
    ASSERT_EQ(Sarvik_BeginSave(h, png.c_str(), SARVIK_SAVE_SNAPSHOT), 0);
    int w = 0, hh = 0;
    std::vector<uint32_t> pic;
    ASSERT_TRUE(decode_image_file(png, &w, &hh, &pic));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(hh, 240);
    EXPECT_NE(std::count(pic.begin(), pic.end(), pic[0]), static_cast<long>(pic.size()))
        << "not a blank picture";
    EXPECT_EQ(testsupport::read_file(png).substr(1, 3), "PNG");
    const std::string jpg = dir_.file("snap.JPG");
    ASSERT_EQ(Sarvik_BeginSave(h, jpg.c_str(), SARVIK_SAVE_SNAPSHOT), 0);
    const std::string jpgBytes = testsupport::read_file(jpg);
    ASSERT_GE(jpgBytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(jpgBytes[0]), 0xff);
    EXPECT_EQ(static_cast<unsigned char>(jpgBytes[1]), 0xd8);
    std::vector<uint32_t> jpgPic;
    ASSERT_TRUE(decode_image_file(jpg, &w, &hh, &jpgPic));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(hh, 240);
    EXPECT_EQ(Sarvik_BeginSave(h, "", SARVIK_SAVE_SNAPSHOT), 0) << "a copy without a file";
    EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("no/such/dir.png").c_str(), SARVIK_SAVE_SNAPSHOT),
              SARVIK_ERR_FILE_OPEN);
}

TEST_F(RtspPreviewTest, AnEndedSourceReportsCodesAtAPace) {
    serve(44);
    RtspParam r = source(ip_, "/short");
    PreviewParam p = preview_param(0, &events_);
    const int h = start(&r, &p);
    ASSERT_GE(h, 0);
    auto failures = [](const std::vector<int> &s) {
        return std::count_if(s.begin(), s.end(), [](int v) { return v != 0; });
    };
    ASSERT_TRUE(events_.wait_for([&](const std::vector<int> &s) { return failures(s) > 0; }, 30));
    const auto first = events_.statuses();
    for (int v : first) EXPECT_TRUE(v == 0 || v < -1000) << "the codec library's codes, unchanged: " << v;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    // The source stays away: tries go on, a few a second, not as fast as the core allows.
    EXPECT_LT(failures(events_.statuses()) - failures(first), 20);
    EXPECT_EQ(Sarvik_PausePreview(h, 1), 0);
    EXPECT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
}

}  // namespace
}  // namespace videotest
