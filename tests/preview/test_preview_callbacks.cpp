// Library calls made from inside a preview's own callback, as applications make them: stop, logout,
// release, recording, snapshot and playback. None may crash, hang or free what the callback runs on.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "preview_fixture.h"
#include "temp_dir.h"

using namespace previewtest;

namespace {

int64_t file_size(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

// A callback that runs an action on the n-th frame it sees (n from 1), once the handle is known.
struct Probe {
    std::atomic<int> handle{-1};
    std::atomic<int> frames{0};
    std::atomic<int> statusEvents{0};
    std::function<void(Probe &, int n, _DataFrame *frame)> action;
    std::atomic<bool> actionDone{false};

    static void callback(int status, _DataFrame *frame, void *user) {
        auto *p = static_cast<Probe *>(user);
        if (status != 0 || !frame) {
            ++p->statusEvents;
            return;
        }
        // Frames that arrive before the caller has the handle are not counted: on a loaded machine several
        // may, and an action tied to frame n would then never run.
        if (p->handle.load() < 0) return;
        const int n = ++p->frames;
        if (!p->action) return;
        p->action(*p, n, frame);
    }

    bool wait_frames(int n, int seconds = 20) {
        for (int i = 0; i < seconds * 100 && frames.load() < n; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return frames.load() >= n;
    }
    bool wait_done(int seconds = 20) {
        for (int i = 0; i < seconds * 100 && !actionDone.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return actionDone.load();
    }
};

class PreviewCallbackTest : public PreviewTest {
protected:
    int start(Probe *probe, uint8_t kind = SARVIK_PREVIEW_TEMPERATURE, int transform = 0) {
        PreviewParam p = param();
        p.previewKind = kind;
        p.callback = &Probe::callback;
        p.user = probe;
        const int h = transform ? Sarvik_StartPreviewTempTransform(user_, &p, transform)
                                : Sarvik_StartPreview(user_, &p);
        if (h >= 0) {
            previews_.push_back(h);
            probe->handle = h;
        }
        return h;
    }
};

// Stopping a preview from its own callback is refused and leaves it running, in every kind of worker.
TEST_F(PreviewCallbackTest, StopFromTheOwnCallbackIsRefusedAndThePreviewGoesOn) {
    struct Case {
        const char *name;
        std::vector<std::string> args;
        uint8_t kind;
        int transform;
    };
    const Case cases[] = {
        {"plain", {}, SARVIK_PREVIEW_TEMPERATURE, 0},
        {"transform", {}, SARVIK_PREVIEW_TEMPERATURE, 1},
        {"two threads", {"--software-id", "R1280H-V1"}, SARVIK_PREVIEW_TEMPERATURE, 0},
        {"video", {}, SARVIK_PREVIEW_VIDEO, 0},
    };
    int ip = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--size", "80x60", "--fps", "50"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ASSERT_NO_FATAL_FAILURE(start_camera("127.0.12." + std::to_string(ip++), args));
        Probe probe;
        std::atomic<int> stopResult{1};
        probe.action = [&](Probe &p, int n, _DataFrame *) {
            if (n != 3) return;
            stopResult = Sarvik_StopPreview(p.handle);
            p.actionDone = true;
        };
        const int h = start(&probe, c.kind, c.transform);
        ASSERT_GE(h, 0);
        ASSERT_TRUE(probe.wait_done());
        EXPECT_EQ(stopResult.load(), SARVIK_ERR_STATE);
        EXPECT_TRUE(probe.wait_frames(8)) << "the preview went on after the refused stop";
        EXPECT_EQ(Sarvik_StopPreview(h), 0);
        previews_.clear();
        Sarvik_Logout(user_);
        user_ = -1;
        Sarvik_FreeSDK();
        cam_.reset();
    }
}

// A callback may stop another preview; two callbacks stopping each other's previews do not wait on each
// other for ever: one stop goes through, the other is refused.
TEST_F(PreviewCallbackTest, CallbacksStopOtherPreviewsWithoutWaitingOnEachOther) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.12.10", {"--size", "80x60", "--fps", "100"}));
    Probe a, b;
    std::atomic<bool> go{false};
    std::atomic<int> resultA{1}, resultB{1};
    std::atomic<int> calls{0};
    auto stopper = [&](std::atomic<int> *result, Probe *other) {
        return [&go, &calls, result, other](Probe &self, int, _DataFrame *) {
            if (!go.load() || self.actionDone.load()) return;
            self.actionDone = true;
            ++calls;
            *result = Sarvik_StopPreview(other->handle);
        };
    };
    a.action = stopper(&resultA, &b);
    b.action = stopper(&resultB, &a);
    const int ha = start(&a), hb = start(&b);
    ASSERT_GE(ha, 0);
    ASSERT_GE(hb, 0);
    ASSERT_TRUE(a.wait_frames(3));
    ASSERT_TRUE(b.wait_frames(3));
    go = true;
    // At least one callback acts; the other may have been stopped before it saw the flag.
    for (int i = 0; i < 2000 && calls.load() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_GE(calls.load(), 1);
    const int ok = (resultA.load() == 0) + (resultB.load() == 0);
    EXPECT_EQ(ok, 1) << "A " << resultA.load() << ", B " << resultB.load();
    if (calls.load() == 2) {
        EXPECT_EQ(resultA.load() + resultB.load(), SARVIK_ERR_STATE);
    }
    // The survivor still runs; both handles stop cleanly from here.
    Probe &survivor = resultA.load() == 0 ? a : b;
    const int seen = survivor.frames.load();
    EXPECT_TRUE(survivor.wait_frames(seen + 3));
    EXPECT_EQ(Sarvik_StopPreview(ha), 0);
    EXPECT_EQ(Sarvik_StopPreview(hb), 0);
    previews_.clear();
}

// Logging out the preview's user and releasing the library from a callback: the first is allowed and the
// preview goes on with what it holds; the second is refused and the library stays usable.
TEST_F(PreviewCallbackTest, LogoutIsAllowedAndReleaseIsRefusedFromTheCallback) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.12.11", {"--size", "80x60", "--fps", "50"}));
    Probe probe;
    std::atomic<int> logout{1};
    const int user = user_;
    probe.action = [&](Probe &p, int n, _DataFrame *) {
        if (n != 3) return;
        logout = Sarvik_Logout(user);
        Sarvik_FreeSDK();
        p.actionDone = true;
    };
    ASSERT_GE(start(&probe), 0);
    ASSERT_TRUE(probe.wait_done());
    EXPECT_EQ(logout.load(), 0);
    user_ = -1;
    EXPECT_TRUE(probe.wait_frames(10)) << "frames stop after the logout";
    _CameraBasicInfo info;
    EXPECT_EQ(Sarvik_GetInfo(user, SARVIK_INFO_CAMERA_BASIC, &info, sizeof info), SARVIK_ERR_BAD_ID)
        << "the session is gone";
    // Still initialised: calls work, a playback object can be made.
    EXPECT_EQ(Sarvik_PausePreview(probe.handle, 0), 0);
    void *pb = SarvikPlayback_Create();
    EXPECT_NE(pb, nullptr);
    SarvikPlayback_Free(&pb);
}

// Recording, snapshots, image settings and playback from the callback: a stream file begun and ended there
// is read back there, frame by frame.
TEST_F(PreviewCallbackTest, RecordingSnapshotAndPlaybackCallsWorkFromTheCallback) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.12.12", {"--size", "80x60", "--fps", "50"}));
    testsupport::TempDir dir;
    const std::string stream = dir.file("cb.stream"), video = dir.file("cb.mp4"), shot = dir.file("cb.jpg");
    Probe probe;
    struct Results {
        int begin = 1, beginVideo = 1, end = 1, endVideo = 1, pause = 1, image = 1, snapshot = 1;
        int open = 1, read = 1;
        int64_t frameCount = 0;
        uint16_t width = 0;
    } r;
    const int user = user_;
    probe.action = [&](Probe &p, int n, _DataFrame *) {
        if (n == 3) {
            r.begin = Sarvik_BeginSave(p.handle, stream.c_str(), SARVIK_SAVE_STREAM);
            r.beginVideo = Sarvik_BeginSave(p.handle, video.c_str(), SARVIK_SAVE_VIDEO);
            _strech_control ctl;
            std::memset(&ctl, 0, sizeof ctl);
            r.image = Sarvik_PreviewSetImage(p.handle, &ctl, 2);
            r.pause = Sarvik_PausePreview(p.handle, 0);
        } else if (n == 15) {
            r.end = Sarvik_EndSave(p.handle, SARVIK_SAVE_STREAM);
            r.endVideo = Sarvik_EndSave(p.handle, SARVIK_SAVE_VIDEO);
            r.snapshot = Sarvik_SaveFrame(user, shot.c_str(), 1);
            void *pb = SarvikPlayback_Create();
            if (pb) {
                r.open = SarvikPlayback_OpenFile(pb, stream.c_str(), SARVIK_PLAYBACK_STREAM);
                FrameCover cover;
                if (r.open == 0 && SarvikPlayback_ReadCover(pb, &cover) == 0) r.frameCount = cover.info->frameCount;
                _DataFrame f;
                r.read = SarvikPlayback_ReadFrame(pb, 0, &f);
                if (r.read == 0) r.width = f.header->width;
                SarvikPlayback_Free(&pb);
            }
            p.actionDone = true;
        }
    };
    ASSERT_GE(start(&probe), 0);
    ASSERT_TRUE(probe.wait_done());
    EXPECT_EQ(r.begin, 0);
    EXPECT_EQ(r.beginVideo, 0);
    EXPECT_EQ(r.image, 0);
    EXPECT_EQ(r.pause, 0);
    EXPECT_EQ(r.end, 0);
    EXPECT_EQ(r.endVideo, 0);
    EXPECT_EQ(r.snapshot, 0);
    EXPECT_EQ(r.open, 0);
    EXPECT_EQ(r.read, 0);
    EXPECT_GE(r.frameCount, 10) << "frames 3..14 were recorded";
    EXPECT_LE(r.frameCount, 13);
    EXPECT_EQ(r.width, 80);
    EXPECT_GT(file_size(shot), 2 * 4800 + 16684) << "image and temperature tail";
}

}  // namespace
