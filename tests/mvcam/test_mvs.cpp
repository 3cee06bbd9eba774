// The visible-camera wrapper against the fake camera, each test in a network namespace of its own (each test
// case runs in a process of its own) with its camera on its own 127.0.34.N address.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "fake_vis_camera.h"
#include "mvs.h"
#include "temp_dir.h"
#include "vcam_process.h"
#include "vis_file.h"

using namespace mvcamtest;

namespace {

// What the callbacks saw. The fake camera's Mono8 picture is a diagonal ramp: pixel (x, y) is
// (first pixel + x + y) mod 255.
struct Sink {
    std::atomic<int> frames{0};
    std::atomic<int> badPattern{0};
    std::atomic<int> badBgra{0};
    std::atomic<int> noBgra{0};
    std::atomic<int> lastWidth{0};
    std::mutex lock;
    std::vector<int> statuses;
    std::vector<uint64_t> deviceTimes;
    std::vector<int> framesAtStatus;

    int count_status(int s) {
        std::lock_guard<std::mutex> g(lock);
        return static_cast<int>(std::count(statuses.begin(), statuses.end(), s));
    }
};

void on_frame(unsigned char *data, MV_FRAME_OUT_INFO_EX *info, void *bgra, void *user) {
    Sink *s = static_cast<Sink *>(user);
    const int w = info->nWidth, h = info->nHeight;
    s->lastWidth = w;
    if (info->enPixelType == MVCC_PIXEL_MONO8 && info->nFrameLen >= static_cast<uint32_t>(w * h)) {
        int bad = 0;
        for (int y = 0; y < h; y += 7)
            for (int x = 0; x < w; x += 5)
                if (data[y * w + x] != (data[0] + x + y) % 255) ++bad;
        if (bad) ++s->badPattern;
        if (!bgra) {
            ++s->noBgra;
        } else {
            const uint8_t *p = static_cast<const uint8_t *>(bgra);
            for (int i = 0; i < w * h; ++i)
                if (p[4 * i] != data[i] || p[4 * i + 1] != data[i] || p[4 * i + 2] != data[i] ||
                    p[4 * i + 3] != 255) {
                    ++s->badBgra;
                    break;
                }
        }
    }
    {
        std::lock_guard<std::mutex> g(s->lock);
        if (s->deviceTimes.size() < 200) s->deviceTimes.push_back(info->nDevTimeStamp);
    }
    ++s->frames;
}

void on_status(unsigned int status, void *user) {
    Sink *s = static_cast<Sink *>(user);
    std::lock_guard<std::mutex> g(s->lock);
    s->statuses.push_back(static_cast<int>(status));
    s->framesAtStatus.push_back(s->frames.load());
}

MVSConfig gige(const char *ip) {
    MVSConfig c{};
    c.transport = MVS_TRANSPORT_GIGE;
    c.accessMode = MVCC_ACCESS_EXCLUSIVE;
    std::snprintf(c.address, sizeof c.address, "%s", ip);
    return c;
}

// A namespace, the camera on ip and an open context with the sink's callbacks.
class MvsCamera : public ::testing::Test {
protected:
    void open(const char *ip) {
        const std::string why = enter_camera_netns(ip);
        if (!why.empty()) GTEST_SKIP() << why;
        cam_ = std::make_unique<FakeVisCamera>(ip);
        ASSERT_TRUE(cam_->start());
        ctx_ = mvsCreate();
        ASSERT_NE(ctx_, nullptr);
        const MVSConfig c = gige(ip);
        ASSERT_EQ(mvsSetConfig(ctx_, &c), 0);
        ASSERT_EQ(mvsOpenDevice(ctx_), 0);
        mvsSetCallback(ctx_, &sink_, on_frame, on_status);
    }
    void TearDown() override { mvsFree(&ctx_); }

    // The camera loses power and comes back; the wrapper reports each once. whileLost runs in between.
    template <typename F>
    void kill_and_restart(F whileLost) {
        cam_->kill_hard();
        ASSERT_TRUE(wait_for([&] { return sink_.count_status(MVS_STATUS_LOST) == 1; }, 20000));
        whileLost();
        ASSERT_TRUE(cam_->start());
        ASSERT_TRUE(wait_for([&] { return sink_.count_status(MVS_STATUS_RESTORED) == 1; }, 30000));
    }

    bool frames_reach(int n, int timeout_ms = 15000) {
        return wait_for([&] { return sink_.frames.load() >= n; }, timeout_ms);
    }

    std::unique_ptr<FakeVisCamera> cam_;
    _MVSContext *ctx_ = nullptr;
    Sink sink_;
};

// A test whose camera could not be set up (skipped without the right to make a namespace, or failed) ends
// here.
#define OPEN_OR_RETURN(ip)                            \
    do {                                              \
        open(ip);                                     \
        if (IsSkipped() || HasFatalFailure()) return; \
    } while (0)

// A full set of values other than the fake camera's defaults, all inside its ranges.
MVSParam sample_param() {
    MVSParam p{};
    p.Width = 320;
    p.Height = 200;
    p.OffsetX = 16;
    p.OffsetY = 8;
    p.ReverseX = 1;
    p.ReverseY = 1;
    p.PixelFormat = MVCC_PIXEL_MONO8;
    p.AcquisitionFrameRateEnable = 1;
    p.AcquisitionFrameRate = 12.5f;
    p.ExposureAuto = 2;
    p.ExposureMode = 1;
    p.ExposureTime = 4000.5f;
    p.GainAuto = 2;
    p.Gain = 7.25f;
    p.GammaEnable = 1;
    p.GammaSelector = 1;
    p.Gamma = 0.75f;
    p.SharpnessEnable = 1;
    p.Sharpness = 42;
    p.HDREnable = 1;
    p.HDRSelector = 3;
    p.HDRShutter = 12345;
    p.HDRGain = 3.5f;
    p.BalanceWhiteAuto = 1;
    p.BalanceRatioSelector = 2;
    p.BalanceRatio = 1234;
    p.BinningHorizontal = 2;
    p.BinningVertical = 4;
    return p;
}

std::string field_diff(const MVSParam &a, const MVSParam &b) {
    std::string out;
    const int32_t *x = reinterpret_cast<const int32_t *>(&a), *y = reinterpret_cast<const int32_t *>(&b);
    for (int i = 0; i < MVS_PARAM_COUNT; ++i)
        if (x[i] != y[i]) out += std::string(ConstRegDefArray[i].name) + " ";
    return out;
}

int64_t file_size(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

// Reads a .vis file back through the replay's reader.
struct VisContents {
    int status = -1;
    VisFileInfo info{};
    std::vector<int64_t> times;
    int badPattern = 0;
};

VisContents read_vis(const std::string &path) {
    VisContents c;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return c;
    const VisSource src = vis_file_source(f);
    c.status = vis_parse_header(src, &c.info);
    if (c.status == 0) {
        std::vector<uint8_t> gray(static_cast<size_t>(c.info.width) * c.info.height);
        for (int64_t i = 0; i < c.info.frameCount; ++i) {
            VisFrameHeader h;
            c.status = vis_read_frame(src, c.info, i, &h, gray.data());
            if (c.status != 0) break;
            c.times.push_back(h.timestamp);
            for (int x = 0; x < c.info.width; x += 3)
                if (gray[x] != (gray[0] + x) % 255) {
                    ++c.badPattern;
                    break;
                }
        }
    }
    fclose(f);
    return c;
}

int64_t now_ticks_1970() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 10000000 + ts.tv_nsec / 100;
}

}  // namespace

TEST(MvsConfig, RefusesUnknownTransportsAndAddressesThatDoNotParse) {
    struct Case {
        int transport;
        const char *address;
        int want;
    };
    const Case cases[] = {
        {2, "127.0.34.9", -8},
        {MVS_TRANSPORT_GIGE, "300.1.2.3", -8},
        {MVS_TRANSPORT_GIGE, "", -8},
        {MVS_TRANSPORT_GIGE, "cam", -8},
        {MVS_TRANSPORT_GIGE, "127.0.34.9", 0},
        {MVS_TRANSPORT_USB3, "SER0001", 0},
    };
    _MVSContext *ctx = mvsCreate();
    ASSERT_NE(ctx, nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.address);
        MVSConfig cfg{};
        cfg.transport = c.transport;
        std::snprintf(cfg.address, sizeof cfg.address, "%s", c.address);
        EXPECT_EQ(mvsSetConfig(ctx, &cfg), c.want);
    }
    // Nothing open: every camera call is refused.
    MVSParam p{};
    MVSOutput out{};
    EXPECT_EQ(mvsGetParam(ctx, &p), -7);
    EXPECT_EQ(mvsSetParam(ctx, &p), -7);
    EXPECT_EQ(mvsStartWork(ctx, 1, &out), -7);
    EXPECT_EQ(mvsStartRecordRaw(ctx, "/tmp/never.vis"), -7);
    int64_t v = 0;
    EXPECT_EQ(mvsGetValue(ctx, "Width", MVS_KIND_INTEGER, &v), -7);
    mvsFree(&ctx);
    EXPECT_EQ(ctx, nullptr);
}

TEST(MvsDeviceInfo, ShowsAddressesAsDottedTextAndKeepsIdentifiers) {
    struct Case {
        uint32_t transport;
        uint32_t ip, mask, gateway;
        const char *serial;
        const char *wantIp, *wantMask, *wantGateway;
    };
    const Case cases[] = {
        {MVCC_TRANSPORT_GIGE, 0x0A4D0005, 0xFFFFFF00, 0x0A4D00FE, "CAM-0005", "10.77.0.5", "255.255.255.0",
         "10.77.0.254"},
        {MVCC_TRANSPORT_GIGE, 0xFFFFFFFF, 0, 0x01020304, "0123456789ABCDEF", "255.255.255.255", "0.0.0.0",
         "1.2.3.4"},
        {MVCC_TRANSPORT_USB3, 0, 0, 0, "USB3SERIAL-00042-LONGER", "USB3SERIAL-00042", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wantIp);
        MV_CC_DEVICE_INFO dev{};
        dev.nTransport = c.transport;
        if (c.transport == MVCC_TRANSPORT_GIGE) {
            dev.info.gige.nCurrentIp = c.ip;
            dev.info.gige.nSubnetMask = c.mask;
            dev.info.gige.nDefaultGateway = c.gateway;
            std::memcpy(dev.info.gige.chSerialNumber, c.serial, strnlen(c.serial, 16));
        } else {
            std::snprintf(dev.info.usb3.chSerialNumber, sizeof dev.info.usb3.chSerialNumber, "%s", c.serial);
        }
        MVSDeviceInfo out;
        std::memset(&out, 0x5A, sizeof out);
        mvsStaticMakeInfo(&dev, &out);
        EXPECT_EQ(out.transport, static_cast<int32_t>(c.transport));
        EXPECT_EQ(std::string(out.ip, strnlen(out.ip, 16)), c.wantIp);
        EXPECT_EQ(std::string(out.mask, strnlen(out.mask, 16)), c.wantMask);
        EXPECT_EQ(std::string(out.gateway, strnlen(out.gateway, 16)), c.wantGateway);
        const char *id = reinterpret_cast<const char *>(out.identifier);
        if (c.transport == MVCC_TRANSPORT_GIGE) {
            EXPECT_EQ(std::string(id, strnlen(id, 16)), std::string(c.serial, strnlen(c.serial, 16)));
        }
    }
}

TEST_F(MvsCamera, OpenFindsTheCameraOnlyAtItsAddress) {
    OPEN_OR_RETURN("127.0.34.10");
    _MVSContext *other = mvsCreate();
    const MVSConfig c = gige("127.0.34.29");
    ASSERT_EQ(mvsSetConfig(other, &c), 0);
    EXPECT_EQ(mvsOpenDevice(other), -1000);
    mvsFree(&other);
    EXPECT_EQ(mvsOpenDevice(ctx_), -7) << "already open";
}

TEST_F(MvsCamera, All28FeaturesAreWrittenAndReadBack) {
    OPEN_OR_RETURN("127.0.34.11");
    MVSParam before{};
    ASSERT_EQ(mvsGetParam(ctx_, &before), 0);
    EXPECT_EQ(before.Width, 512);
    EXPECT_EQ(before.PixelFormat, MVCC_PIXEL_MONO8);
    MVSParam want = sample_param();
    ASSERT_EQ(mvsSetParam(ctx_, &want), 0);
    MVSParam got{};
    ASSERT_EQ(mvsGetParam(ctx_, &got), 0);
    EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0) << "differ: " << field_diff(want, got);

    // Each feature also through the single-value calls, in its own kind.
    for (int i = 0; i < MVS_PARAM_COUNT; ++i) {
        uint8_t record[512] = {0};
        EXPECT_EQ(mvsGetValue(ctx_, ConstRegDefArray[i].name, ConstRegDefArray[i].kind, record), 0)
            << ConstRegDefArray[i].name;
    }
}

TEST_F(MvsCamera, SingleValuesReportTheLibrarysCodes) {
    OPEN_OR_RETURN("127.0.34.12");
    struct Case {
        const char *name;
        int kind;
        int64_t i;
        float f;
        int want;
    };
    const Case cases[] = {
        {"Sharpness", MVS_KIND_INTEGER, 77, 0, 0},
        {"Sharpness", MVS_KIND_INTEGER, 101, 0, MVCC_E_FEATURE_RANGE},
        {"Gain", MVS_KIND_FLOAT, 0, 99.0f, MVCC_E_FEATURE_RANGE},
        {"Gain", MVS_KIND_INTEGER, 3, 0, MVCC_E_FEATURE_KIND},
        {"NoSuchFeature", MVS_KIND_INTEGER, 1, 0, MVCC_E_FEATURE_NOT_FOUND},
        {"SensorWidth", MVS_KIND_INTEGER, 100, 0, MVCC_E_FEATURE_ACCESS},
        {"ResultingFrameRate", MVS_KIND_FLOAT, 0, 5.0f, MVCC_E_FEATURE_ACCESS},
        {"PixelFormat", MVS_KIND_ENUMERATION, 0x01234567, 0, MVCC_E_FEATURE_ENTRY},
        {"Width", MVS_KIND_INTEGER, 256, 0, 0},
        {"Width", 9, 256, 0, -8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int r;
        if (c.kind == MVS_KIND_FLOAT) {
            float v = c.f;
            r = mvsSetValue(ctx_, c.name, c.kind, &v);
        } else if (c.kind == MVS_KIND_ENUMERATION) {
            uint32_t v = static_cast<uint32_t>(c.i);
            r = mvsSetValue(ctx_, c.name, c.kind, &v);
        } else {
            int64_t v = c.i;
            r = mvsSetValue(ctx_, c.name, c.kind, &v);
        }
        EXPECT_EQ(r, c.want);
    }
    MVCC_INT_VALUE w{};
    ASSERT_EQ(mvsGetValue(ctx_, "Width", MVS_KIND_INTEGER, &w), 0);
    EXPECT_EQ(w.nCurValue, 256);
    // A width written while stopped is the width the next start reports.
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    EXPECT_EQ(out.width, 256);
}

TEST_F(MvsCamera, SetParamWhileGrabbingLeavesWidthAlone) {
    OPEN_OR_RETURN("127.0.34.13");
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    ASSERT_EQ(out.width, 512);
    MVSParam p = sample_param();
    EXPECT_EQ(mvsSetParam(ctx_, &p), 0) << "locked features are skipped, not failed";
    // Unlocked, the fake camera would take a new width while streaming: only the wrapper keeps it.
    int64_t unlocked = 0;
    ASSERT_EQ(mvsSetValue(ctx_, "TLParamsLocked", MVS_KIND_INTEGER, &unlocked), 0);
    EXPECT_EQ(mvsSetParam(ctx_, &p), 0);
    MVCC_INT_VALUE w{};
    ASSERT_EQ(mvsGetValue(ctx_, "Width", MVS_KIND_INTEGER, &w), 0);
    EXPECT_EQ(w.nCurValue, 512);
    MVCC_INT_VALUE x{};
    ASSERT_EQ(mvsGetValue(ctx_, "OffsetX", MVS_KIND_INTEGER, &x), 0);
    EXPECT_EQ(x.nCurValue, 0);
    MVCC_FLOAT_VALUE gain{};
    ASSERT_EQ(mvsGetValue(ctx_, "Gain", MVS_KIND_FLOAT, &gain), 0);
    EXPECT_FLOAT_EQ(gain.fCurValue, p.Gain) << "the features after the geometry are written";
    const int seen = sink_.frames.load();
    ASSERT_TRUE(frames_reach(seen + 5));
    EXPECT_EQ(sink_.lastWidth.load(), 512);
}

TEST_F(MvsCamera, FramesCarryTheCamerasPictureInBgraAtItsRate) {
    OPEN_OR_RETURN("127.0.34.14");
    float rate = 20.0f;
    ASSERT_EQ(mvsSetValue(ctx_, "AcquisitionFrameRate", MVS_KIND_FLOAT, &rate), 0);
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    EXPECT_EQ(out.width, 512);
    EXPECT_EQ(out.height, 512);
    EXPECT_EQ(out.pixelFormat, MVCC_PIXEL_MONO8);
    EXPECT_EQ(out.frameRate, 20);
    EXPECT_EQ(mvsStartWork(ctx_, 1, &out), -7) << "already grabbing";
    ASSERT_TRUE(frames_reach(30));
    EXPECT_EQ(mvsStopWork(ctx_), 0);
    EXPECT_EQ(sink_.badPattern.load(), 0);
    EXPECT_EQ(sink_.badBgra.load(), 0);
    EXPECT_EQ(sink_.noBgra.load(), 0);
    // The camera's own clock says how far apart it sent them: no host timing involved.
    std::vector<uint64_t> t;
    {
        std::lock_guard<std::mutex> g(sink_.lock);
        t = sink_.deviceTimes;
    }
    ASSERT_GE(t.size(), 20u);
    std::vector<double> gaps;
    for (size_t i = 1; i < t.size(); ++i) gaps.push_back(static_cast<double>(t[i] - t[i - 1]));
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double median = gaps[gaps.size() / 2];
    EXPECT_NEAR(median, 50e6, 10e6) << "device clock in ns, 20 frames per second";
    const int stopped = sink_.frames.load();
    usleep_ms(300);
    EXPECT_EQ(sink_.frames.load(), stopped) << "no frame after stop";
}

TEST_F(MvsCamera, RawRecordingOfMono8HoldsWholeFramesWithRisingTimes) {
    OPEN_OR_RETURN("127.0.34.15");
    testsupport::TempDir dir;
    MVSOutput out{};
    EXPECT_EQ(mvsStartRecordRaw(ctx_, dir.file("early.vis").c_str()), -7) << "only while grabbing";
    ASSERT_EQ(mvsStartWork(ctx_, 0, &out), 0);
    const int64_t t0 = now_ticks_1970();
    const std::string path = dir.file("a.vis");
    ASSERT_EQ(mvsStartRecordRaw(ctx_, path.c_str()), 0);
    EXPECT_EQ(mvsStartRecordRaw(ctx_, dir.file("b.vis").c_str()), -7) << "one raw recording at a time";
    const int from = sink_.frames.load();
    ASSERT_TRUE(frames_reach(from + 12));
    ASSERT_EQ(mvsStopRecordRaw(ctx_), 0);
    const int64_t t1 = now_ticks_1970();
    EXPECT_EQ(sink_.noBgra.load(), sink_.frames.load()) << "conversion off: no BGRA buffer";

    const int64_t size = file_size(path);
    const int64_t record = 512 * 512 + 128;
    ASSERT_GT(size, 1024);
    EXPECT_EQ((size - 1024) % record, 0) << "whole records only";
    const VisContents c = read_vis(path);
    ASSERT_EQ(c.status, 0);
    EXPECT_EQ(c.info.frameCount, (size - 1024) / record);
    EXPECT_GE(c.info.frameCount, 10);
    EXPECT_EQ(c.badPattern, 0);
    for (size_t i = 0; i < c.times.size(); ++i) {
        EXPECT_GE(c.times[i], t0 - 10000000) << "100-ns ticks since 1970, frame " << i;
        EXPECT_LE(c.times[i], t1 + 10000000) << i;
        if (i) {
            EXPECT_GE(c.times[i], c.times[i - 1]) << i;
        }
    }
    EXPECT_LT(c.times.front(), c.times.back());
}

TEST_F(MvsCamera, RawRecordingOfAColourFormatIsRefusedWithoutAFile) {
    OPEN_OR_RETURN("127.0.34.16");
    uint32_t rgb = MVCC_PIXEL_RGB8;
    ASSERT_EQ(mvsSetValue(ctx_, "PixelFormat", MVS_KIND_ENUMERATION, &rgb), 0);
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    EXPECT_EQ(out.pixelFormat, MVCC_PIXEL_RGB8);
    testsupport::TempDir dir;
    EXPECT_EQ(mvsStartRecordRaw(ctx_, dir.file("c.vis").c_str()), -2);
    EXPECT_EQ(file_size(dir.file("c.vis")), -1);
    EXPECT_EQ(mvsStartRecordRaw(ctx_, "/nonexistent-folder/x.vis"), -2) << "the format is checked first";
}

TEST_F(MvsCamera, LibraryRecordingIsAVideoFFprobeReads) {
    OPEN_OR_RETURN("127.0.34.17");
    testsupport::TempDir dir;
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    const std::string path = dir.file("v.mp4");
    ASSERT_EQ(mvsStartRecord(ctx_, path.c_str()), 0);
    EXPECT_EQ(mvsStartRecord(ctx_, path.c_str()), -7);
    const int from = sink_.frames.load();
    // One frame may already be past the recording step while the recording starts, and still reach the
    // callback after `from` was read: wait for one more than the file must hold.
    ASSERT_TRUE(frames_reach(from + 16));
    ASSERT_EQ(mvsStopRecord(ctx_), 0);
    const int upTo = sink_.frames.load();
    std::string probe;
    ASSERT_EQ(testsupport::run_program(
                  {"/usr/bin/ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0",
                   "-show_entries", "stream=width,height,nb_read_frames", "-of", "csv=p=0", path},
                  &probe, 60),
              0);
    int w = 0, h = 0, n = 0;
    ASSERT_EQ(std::sscanf(probe.c_str(), "%d,%d,%d", &w, &h, &n), 3) << probe;
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 512);
    EXPECT_GE(n, 15) << "camera lost meanwhile: " << sink_.count_status(MVS_STATUS_LOST);
    EXPECT_LE(n, upTo - from + 1) << "no frame recorded twice";
}

// The camera dies and comes back: one -17, one -18, the features written back, frames again, and a raw
// recording of an unchanged size goes on in the same file.
TEST_F(MvsCamera, KillAndRestartGivesOneLostOneRestoredAndFramesAgain) {
    OPEN_OR_RETURN("127.0.34.18");
    MVSParam p{};
    ASSERT_EQ(mvsGetParam(ctx_, &p), 0);
    p.Gain = 9.5f;
    p.Sharpness = 33;
    ASSERT_EQ(mvsSetParam(ctx_, &p), 0);
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    testsupport::TempDir dir;
    const std::string path = dir.file("r.vis");
    ASSERT_EQ(mvsStartRecordRaw(ctx_, path.c_str()), 0);
    ASSERT_TRUE(frames_reach(10));

    int64_t sizeWhileLost = -1;
    kill_and_restart([&] { sizeWhileLost = file_size(path); });
    if (HasFatalFailure()) return;
    const int back = sink_.frames.load();
    ASSERT_TRUE(frames_reach(back + 10));
    EXPECT_EQ(sink_.count_status(MVS_STATUS_LOST), 1);
    EXPECT_EQ(sink_.count_status(MVS_STATUS_RESTORED), 1);
    {
        std::lock_guard<std::mutex> g(sink_.lock);
        ASSERT_EQ(sink_.statuses.size(), 2u);
        EXPECT_EQ(sink_.statuses[0], MVS_STATUS_LOST);
    }
    MVCC_FLOAT_VALUE gain{};
    ASSERT_EQ(mvsGetValue(ctx_, "Gain", MVS_KIND_FLOAT, &gain), 0);
    EXPECT_FLOAT_EQ(gain.fCurValue, 9.5f) << "the restarted camera got the features back";
    MVCC_INT_VALUE sharp{};
    ASSERT_EQ(mvsGetValue(ctx_, "Sharpness", MVS_KIND_INTEGER, &sharp), 0);
    EXPECT_EQ(sharp.nCurValue, 33);
    EXPECT_EQ(sink_.badBgra.load(), 0);

    ASSERT_EQ(mvsStopRecordRaw(ctx_), 0);
    EXPECT_GT(file_size(path), sizeWhileLost) << "the recording goes on after the reconnect";
    const VisContents c = read_vis(path);
    ASSERT_EQ(c.status, 0);
    EXPECT_EQ((file_size(path) - 1024) % (512 * 512 + 128), 0);
}

// A camera that was only unreachable keeps its settings: the reconnect writes back what the wrapper read or
// set, never slots it holds no value for.
TEST_F(MvsCamera, ReconnectWritesBackOnlyTheFeaturesItHolds) {
    OPEN_OR_RETURN("127.0.34.22");
    float gain = 5.5f;
    ASSERT_EQ(mvsSetValue(ctx_, "Gain", MVS_KIND_FLOAT, &gain), 0);
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    ASSERT_TRUE(frames_reach(5));
    cam_->pause();
    ASSERT_TRUE(wait_for([&] { return sink_.count_status(MVS_STATUS_LOST) == 1; }, 20000));
    cam_->resume();
    ASSERT_TRUE(wait_for([&] { return sink_.count_status(MVS_STATUS_RESTORED) == 1; }, 30000));
    ASSERT_TRUE(frames_reach(sink_.frames.load() + 5));
    MVCC_FLOAT_VALUE now{};
    ASSERT_EQ(mvsGetValue(ctx_, "Gain", MVS_KIND_FLOAT, &now), 0);
    EXPECT_FLOAT_EQ(now.fCurValue, 5.5f);
}

// After the reconnect the camera delivers another size: the raw recording ends instead of mixing sizes.
TEST_F(MvsCamera, FrameOfAnotherSizeAfterReconnectEndsTheRawRecording) {
    OPEN_OR_RETURN("127.0.34.19");
    int64_t width = 320;
    // Set directly, not through the parameter slots, so the restarted camera comes back at 512.
    ASSERT_EQ(mvsSetValue(ctx_, "Width", MVS_KIND_INTEGER, &width), 0);
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    ASSERT_EQ(out.width, 320);
    testsupport::TempDir dir;
    const std::string path = dir.file("s.vis");
    ASSERT_EQ(mvsStartRecordRaw(ctx_, path.c_str()), 0);
    ASSERT_TRUE(frames_reach(5));
    kill_and_restart([] {});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(frames_reach(sink_.frames.load() + 5));
    EXPECT_EQ(sink_.lastWidth.load(), 512);
    EXPECT_FALSE(ctx_->flags.load() & MVS_FLAG_RAW) << "the raw recording ended";
    EXPECT_EQ((file_size(path) - 1024) % (320 * 512 + 128), 0) << "only whole 320-wide records";
    const VisContents c = read_vis(path);
    ASSERT_EQ(c.status, 0);
    EXPECT_EQ(c.info.width, 320);
    EXPECT_EQ(sink_.badBgra.load(), 0) << "512-wide frames are not converted into 320-wide buffers";
    EXPECT_EQ(mvsStartRecordRaw(ctx_, dir.file("t.vis").c_str()), 0) << "a new recording can start";
}

TEST_F(MvsCamera, StopDuringAReconnectReturns) {
    OPEN_OR_RETURN("127.0.34.20");
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    ASSERT_TRUE(frames_reach(5));
    cam_->kill_hard();
    ASSERT_TRUE(wait_for([&] { return sink_.count_status(MVS_STATUS_LOST) == 1; }, 20000));
    usleep_ms(2500);  // into the retries
    const int64_t t0 = now_ms();
    EXPECT_EQ(mvsStopWork(ctx_), 0);
    EXPECT_LT(now_ms() - t0, 15000) << "stop waits for one attempt at most";
    EXPECT_FALSE(ctx_->flags.load() & MVS_FLAG_GRABBING);
    EXPECT_FALSE(ctx_->reconnecting);
    EXPECT_EQ(sink_.count_status(MVS_STATUS_RESTORED), 0);
    mvsCloseDevice(ctx_);
    EXPECT_EQ(ctx_->flags.load(), 0u);
}

// Freeing while frames arrive: grabbing stops and the callbacks end before the buffers go (the sanitizer
// build sees any write into freed buffers).
TEST_F(MvsCamera, FreeWhileGrabbingWaitsForTheCallbacks) {
    OPEN_OR_RETURN("127.0.34.21");
    MVSOutput out{};
    ASSERT_EQ(mvsStartWork(ctx_, 1, &out), 0);
    ASSERT_TRUE(frames_reach(3));
    mvsFree(&ctx_);
    EXPECT_EQ(ctx_, nullptr);
    const int after = sink_.frames.load();
    usleep_ms(300);
    EXPECT_EQ(sink_.frames.load(), after);
}
