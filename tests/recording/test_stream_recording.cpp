// Stream and video recordings of a running temperature preview, read back the way callers read them.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include "recording_fixture.h"
#include "temp_dir.h"
#include "vcam_process.h"

using namespace previewtest;
using namespace rectest;

namespace {

constexpr int64_t kHead = 64, kGap = 1024, kInfo = 128, kFrameHead = 128;

int64_t prefix_size(int64_t n) { return 4 * n + kHead + kGap + kInfo; }
int64_t frame_size(int64_t n) { return 2 * n + kFrameHead; }

std::vector<uint8_t> read_bytes(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

template <class T>
T at(const std::vector<uint8_t> &b, size_t off) {
    T v;
    std::memcpy(&v, b.data() + off, sizeof v);
    return v;
}

bool wait_until(const std::function<bool()> &pred, int seconds = 20) {
    for (int i = 0; i < seconds * 50; ++i) {
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return pred();
}

class RecordingTest : public PreviewTest {
protected:
    int start_logged_preview() {
        PreviewParam p = param();
        p.callback = &FrameLog::callback;
        p.user = &log_;
        const int h = Sarvik_StartPreview(user_, &p);
        if (h >= 0) previews_.push_back(h);
        return h;
    }
    FrameLog log_;
    testsupport::TempDir dir_;
};

}  // namespace

TEST_F(RecordingTest, StreamFileIsATopDownBitmapOfItsFirstFrameFollowedByEveryFrame) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.1", {"--size", "384x288", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    ASSERT_TRUE(wait_until([&] { return log_.count() >= 3; }));
    const std::string path = dir_.file("a.stream");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM), 0);
    const int64_t n = 384 * 288;
    ASSERT_TRUE(wait_until([&] { return file_size(path) >= prefix_size(n) + 12 * frame_size(n); }));
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0);
    const int64_t size = file_size(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(file_size(path), size) << "the file is closed by the end call";

    const std::vector<uint8_t> b = read_bytes(path);
    ASSERT_EQ((static_cast<int64_t>(b.size()) - prefix_size(n)) % frame_size(n), 0);
    const int64_t frames = (static_cast<int64_t>(b.size()) - prefix_size(n)) / frame_size(n);
    ASSERT_GE(frames, 12);
    // Bitmap header: a 32-bit top-down picture of the cover.
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(at<uint32_t>(b, 2), 4 * n + 64);
    EXPECT_EQ(at<uint32_t>(b, 10), 64u);
    EXPECT_EQ(at<uint32_t>(b, 14), 40u);
    EXPECT_EQ(at<int32_t>(b, 18), 384);
    EXPECT_EQ(at<int32_t>(b, 22), -288);
    EXPECT_EQ(at<uint16_t>(b, 26), 1);
    EXPECT_EQ(at<uint16_t>(b, 28), 32);
    EXPECT_EQ(at<uint32_t>(b, 34), 4 * n);
    // Information record: camera, size, recorder marks.
    const size_t info = static_cast<size_t>(4 * n + kHead + kGap);
    EXPECT_EQ(at<uint16_t>(b, info + 40), 384);
    EXPECT_EQ(at<uint16_t>(b, info + 42), 288);
    EXPECT_GT(at<int64_t>(b, info + 32), 116444736000000000ll) << "1601-based time of the recording";
    EXPECT_EQ(at<int32_t>(b, info + 120), 0);
    EXPECT_EQ(b[info + 124], 5);
    EXPECT_EQ(at<int16_t>(b, info + 126), 1);

    // Every recorded frame is one the callback saw, in order and without a gap, and the cover is the first
    // recorded frame's rendered image.
    const std::vector<int64_t> order = log_.order();
    int64_t first = at<int64_t>(b, static_cast<size_t>(prefix_size(n)) + 32);
    auto pos = std::find(order.begin(), order.end(), first);
    ASSERT_NE(pos, order.end());
    for (int64_t i = 0; i < frames; ++i) {
        const size_t off = static_cast<size_t>(prefix_size(n) + i * frame_size(n));
        ASSERT_EQ(at<uint16_t>(b, off), 384) << "frame " << i;
        const int64_t stamp = at<int64_t>(b, off + 32);
        if (pos != order.end()) {
            EXPECT_EQ(*pos, stamp) << "frame " << i << " is not the next delivered frame";
            ++pos;
        }
        Seen s;
        ASSERT_TRUE(log_.find(stamp, &s));
        EXPECT_EQ(s.sampleDigest, digest(b.data() + off + kFrameHead, 2 * n)) << "frame " << i;
        if (i == 0) {
            EXPECT_EQ(s.imageDigest, digest(b.data() + kHead, 4 * n)) << "cover";
        }
    }

    // Playback agrees on the count and reads the last frame.
    void *pb = SarvikPlayback_Create();
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, path.c_str(), 2), 0);
    FrameCover cover;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &cover), 0);
    EXPECT_EQ(cover.info->frameCount, frames);
    _DataFrame f;
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(frames - 1), &f), 0);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(frames), &f), SARVIK_ERR_INVALID_ARG);
    SarvikPlayback_Free(&pb);
}

TEST_F(RecordingTest, PausedPreviewKeepsRecording) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.2", {"--size", "80x60", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    ASSERT_TRUE(wait_until([&] { return log_.count() >= 2; }));
    const std::string path = dir_.file("paused.stream");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM), 0);
    ASSERT_EQ(Sarvik_PausePreview(h, 1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a callback already running ends
    const size_t delivered = log_.count();
    const int64_t before = file_size(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(log_.count(), delivered) << "no callback while paused";
    EXPECT_GE(file_size(path), before + 10 * frame_size(4800)) << "the file grows while paused";
    ASSERT_EQ(Sarvik_PausePreview(h, 0), 0);
    EXPECT_TRUE(wait_until([&] { return log_.count() > delivered; }));
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0);
}

TEST_F(RecordingTest, BeginWhileRecordingClosesTheOldFileAndStartsANewOne) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.3", {"--size", "80x60", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    const std::string a = dir_.file("a.stream"), b = dir_.file("b.stream");
    ASSERT_EQ(Sarvik_BeginSave(h, a.c_str(), SARVIK_SAVE_STREAM), 0);
    ASSERT_TRUE(wait_until([&] { return file_size(a) >= prefix_size(4800) + 3 * frame_size(4800); }));
    ASSERT_EQ(Sarvik_BeginSave(h, b.c_str(), SARVIK_SAVE_STREAM), 0);
    const int64_t sizeA = file_size(a);
    ASSERT_TRUE(wait_until([&] { return file_size(b) >= prefix_size(4800) + 3 * frame_size(4800); }));
    EXPECT_EQ(file_size(a), sizeA) << "the first file is closed";
    EXPECT_EQ((sizeA - prefix_size(4800)) % frame_size(4800), 0);
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0) << "ending twice is harmless";
    void *pb = SarvikPlayback_Create();
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, a.c_str(), 2), 0);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, b.c_str(), 2), 0);
    SarvikPlayback_Free(&pb);
}

TEST_F(RecordingTest, SaveCallsRefuseBadRequests) {
    EXPECT_EQ(Sarvik_BeginSave(0, "/tmp/x", SARVIK_SAVE_STREAM), SARVIK_ERR_NOT_INIT);
    EXPECT_EQ(Sarvik_EndSave(0, SARVIK_SAVE_STREAM), SARVIK_ERR_NOT_INIT);
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.4", {"--size", "80x60", "--fps", "25"}));
    EXPECT_EQ(Sarvik_BeginSave(-1, "/tmp/x", SARVIK_SAVE_STREAM), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_BeginSave(256, "/tmp/x", SARVIK_SAVE_STREAM), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_BeginSave(7, "/tmp/x", SARVIK_SAVE_STREAM), SARVIK_ERR_BAD_ID) << "slot not in use";
    EXPECT_EQ(Sarvik_EndSave(7, SARVIK_SAVE_STREAM), SARVIK_ERR_BAD_ID);
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    for (int type : {0, 1, 4, -1})
        EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("t").c_str(), type), SARVIK_ERR_REFUSED) << type;
    EXPECT_EQ(Sarvik_BeginSave(h, dir_.file("no/such/dir/x.stream").c_str(), SARVIK_SAVE_STREAM),
              SARVIK_ERR_FILE_OPEN);
    EXPECT_EQ(Sarvik_BeginSave(h, nullptr, SARVIK_SAVE_STREAM), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(file_size(dir_.file("t")), -1) << "a refused type creates nothing";
}

TEST_F(RecordingTest, CutStreamFilesStayReadableUpToTheirLastWholeFrame) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.5", {"--size", "80x60", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    const std::string path = dir_.file("whole.stream");
    const int64_t n = 4800;
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM), 0);
    ASSERT_TRUE(wait_until([&] { return file_size(path) >= prefix_size(n) + 6 * frame_size(n); }));
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_STREAM), 0);
    const std::vector<uint8_t> whole = read_bytes(path);
    const int64_t frames = (static_cast<int64_t>(whole.size()) - prefix_size(n)) / frame_size(n);

    void *pb = SarvikPlayback_Create();
    ASSERT_NE(pb, nullptr);
    const std::string cut = dir_.file("cut.stream");
    // Offsets around every frame boundary, inside frames, and inside the prefix.
    std::vector<int64_t> offsets = {0, 63, 64, 4 * n + 64, prefix_size(n) - 1, prefix_size(n)};
    for (int64_t i = 1; i <= frames; ++i) {
        const int64_t end = prefix_size(n) + i * frame_size(n);
        offsets.insert(offsets.end(), {end - 1, end, end + 1, end - frame_size(n) / 2});
    }
    for (int64_t off : offsets) {
        if (off > static_cast<int64_t>(whole.size())) continue;
        {
            std::ofstream f(cut, std::ios::binary | std::ios::trunc);
            f.write(reinterpret_cast<const char *>(whole.data()), off);
        }
        const int64_t expect = off < prefix_size(n) ? 0 : (off - prefix_size(n)) / frame_size(n);
        const int r = SarvikPlayback_OpenFile(pb, cut.c_str(), 2);
        if (expect == 0) {
            EXPECT_LT(r, 0) << "offset " << off;
            continue;
        }
        ASSERT_EQ(r, 0) << "offset " << off;
        FrameCover cover;
        ASSERT_EQ(SarvikPlayback_ReadCover(pb, &cover), 0);
        EXPECT_EQ(cover.info->frameCount, expect) << "offset " << off;
        _DataFrame f;
        EXPECT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(expect - 1), &f), 0) << "offset " << off;
    }
    SarvikPlayback_Free(&pb);
}

// A file that cannot grow (the process's file-size limit stands in for a full disk) keeps whole frames
// only, and the preview goes on delivering.
TEST_F(RecordingTest, FullDiskKeepsWholeFramesAndThePreviewRunning) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.6", {"--size", "80x60", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    const int64_t n = 4800;
    const std::string path = dir_.file("full.stream");
    // The limit falls inside the fifth frame.
    const int64_t limit = prefix_size(n) + 4 * frame_size(n) + frame_size(n) / 3;
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(limit);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int begin = Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_STREAM);
    const size_t before = log_.count();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const size_t after = log_.count();
    const int end = Sarvik_EndSave(h, SARVIK_SAVE_STREAM);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);
    ASSERT_EQ(begin, 0);
    EXPECT_EQ(end, 0);
    EXPECT_GE(after, before + 20) << "the preview keeps delivering";
    EXPECT_EQ(file_size(path), prefix_size(n) + 4 * frame_size(n)) << "whole frames only";
    void *pb = SarvikPlayback_Create();
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, path.c_str(), 2), 0);
    SarvikPlayback_Free(&pb);
}

TEST_F(RecordingTest, VideoRecordingIsAPlayableMp4OfTheOutputSize) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.7", {"--size", "384x288", "--fps", "50"}));
    PreviewParam p = param();
    p.callback = &FrameLog::callback;
    p.user = &log_;
    const int h = Sarvik_StartPreviewTempTransform(user_, &p, SARVIK_TRANSFORM_ROTATE_90);
    ASSERT_GE(h, 0);
    previews_.push_back(h);
    const std::string path = dir_.file("v.mp4");
    ASSERT_EQ(Sarvik_BeginSave(h, path.c_str(), SARVIK_SAVE_VIDEO), 0);
    const size_t start = log_.count();
    ASSERT_TRUE(wait_until([&] { return log_.count() >= start + 40; }));
    ASSERT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    EXPECT_EQ(Sarvik_EndSave(h, SARVIK_SAVE_VIDEO), 0);
    std::string out;
    ASSERT_EQ(testsupport::run_program({"/usr/bin/ffprobe", "-v", "error", "-count_frames", "-select_streams",
                                        "v:0", "-show_entries", "stream=codec_name,width,height,nb_read_frames",
                                        "-of", "default=noprint_wrappers=1", path},
                                       &out),
              0)
        << out;
    EXPECT_NE(out.find("codec_name=h264"), std::string::npos) << out;
    EXPECT_NE(out.find("width=288"), std::string::npos) << out;
    EXPECT_NE(out.find("height=384"), std::string::npos) << out;
    const size_t at = out.find("nb_read_frames=");
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_GE(std::stoi(out.substr(at + 15)), 30) << out;
}

TEST_F(RecordingTest, StopWithRecordingsOpenFinishesBothFiles) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.8", {"--size", "80x60", "--fps", "50"}));
    const int h = start_logged_preview();
    ASSERT_GE(h, 0);
    const std::string s = dir_.file("s.stream"), v = dir_.file("v.mp4");
    ASSERT_EQ(Sarvik_BeginSave(h, s.c_str(), SARVIK_SAVE_STREAM), 0);
    ASSERT_EQ(Sarvik_BeginSave(h, v.c_str(), SARVIK_SAVE_VIDEO), 0);
    const size_t start = log_.count();
    ASSERT_TRUE(wait_until([&] { return log_.count() >= start + 20; }));
    ASSERT_EQ(Sarvik_StopPreview(h), 0);
    previews_.clear();
    EXPECT_EQ((file_size(s) - prefix_size(4800)) % frame_size(4800), 0);
    std::string out;
    EXPECT_EQ(testsupport::run_program({"/usr/bin/ffprobe", "-v", "error", "-show_entries", "stream=width",
                                        "-of", "default=noprint_wrappers=1", v},
                                       &out),
              0)
        << out;
    EXPECT_NE(out.find("width=80"), std::string::npos) << out;
}
