// End-to-end figures of the temperature preview against virtual cameras on 127.0.10.x: frame rate and
// send-to-callback latency at 640 x 512, the CPU share of 16 concurrent previews, stream recording that
// keeps every frame, playback access time independent of the frame index, and the cost and delay of
// decoding the camera's H.264 video and mixed streams; and on 127.0.20.1 to .64, frame loss, CPU share and
// resident memory of 64 concurrent previews. A plain program: each
// scenario is bounded in time, starts its own cameras and stops them before the next one.
//
// Usage: e2e_preview [SCENARIOS]   SCENARIOS: any of the letters r (rate), l (latency), c (CPU share),
//                                  s (stream recording), p (playback), v (video and mixed
//                                  previews), m (many: 64 previews); all when omitted.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "bench_e2e_support.h"

namespace {

using e2e::Vcam;

constexpr size_t kMaxSamples = 1 << 16;

// Filled on the preview's worker thread; read by the main thread once the preview stopped, except for
// the frame counter.
struct Capture {
    std::atomic<bool> measuring{false};
    std::atomic<int64_t> frames{0};     // frames delivered while measuring
    std::atomic<int64_t> allFrames{0};  // every frame delivered
    std::atomic<int> lost{0};           // connection-lost callbacks
    std::vector<double> latencyUs;      // send stamp to callback, while measuring
    std::vector<int64_t> stamps;        // header time stamp of every frame delivered
    _DataFrameResult lastResult{};      // whole-frame result of the newest frame
    uint32_t lastPixel = 0;             // a rendered pixel of the newest frame
    Capture() {
        latencyUs.reserve(kMaxSamples);
        stamps.reserve(kMaxSamples);
    }
};

void on_frame(int status, _DataFrame *frame, void *user) {
    auto *c = static_cast<Capture *>(user);
    if (status != 0 || !frame) {
        if (status == SARVIK_STATUS_CONNECTION_LOST) ++c->lost;
        return;
    }
    const int64_t now = e2e::unix_ticks_now();
    const int64_t stamp = frame->header->timestamp;
    ++c->allFrames;
    std::memcpy(&c->lastResult, frame->extra + SARVIK_FRAME_RESULT_OFFSET, sizeof c->lastResult);
    c->lastPixel = frame->image[frame->header->width / 2];
    if (c->stamps.size() < kMaxSamples) c->stamps.push_back(stamp);
    if (!c->measuring.load()) return;
    ++c->frames;
    if (c->latencyUs.size() < kMaxSamples) c->latencyUs.push_back(static_cast<double>(now - stamp) / 10.0);
}

int start_preview(int user, Capture *capture) {
    PreviewParam p;
    std::memset(&p, 0, sizeof p);
    p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    p.callback = on_frame;
    p.user = capture;
    return Sarvik_StartPreview(user, &p);
}

// One camera, one preview: login and start; false with a message on failure.
struct Session {
    int user = -1;
    int preview = -1;
    bool open(const std::string &ip, Capture *c) {
        user = e2e::login(ip);
        if (user < 0) {
            std::printf("  login %s failed: %d\n", ip.c_str(), user);
            return false;
        }
        preview = start_preview(user, c);
        if (preview < 0) std::printf("  preview %s failed: %d\n", ip.c_str(), preview);
        return preview >= 0;
    }
    void close() {
        if (preview >= 0) Sarvik_StopPreview(preview);
        if (user >= 0) Sarvik_Logout(user);
        preview = user = -1;
    }
    ~Session() { close(); }
};

struct Window {
    double seconds;
    double cpuShare;  // cores used by this process
};

// Measures for window_ms after warmup_ms: wall time and this process's CPU share.
Window measure(const std::vector<Capture *> &captures, int warmup_ms, int window_ms) {
    e2e::sleep_ms(warmup_ms);
    const int64_t cpu0 = e2e::process_cpu_us();
    const int64_t t0 = e2e::now_us();
    for (Capture *c : captures) c->measuring = true;
    e2e::sleep_ms(window_ms);
    for (Capture *c : captures) c->measuring = false;
    const int64_t t1 = e2e::now_us();
    const int64_t cpu1 = e2e::process_cpu_us();
    return {static_cast<double>(t1 - t0) / 1e6,
            static_cast<double>(cpu1 - cpu0) / static_cast<double>(t1 - t0)};
}

const char *verdict(bool ok) {
    return ok ? "ok" : "BELOW TARGET";
}

const char *goal_met(bool ok) {
    return ok ? "ok" : "MISSED";
}

// 640 x 512 as fast as the camera can send: delivered frames per second with rendering on.
void scenario_rate(const char *label, const char *ip, const char *softwareId) {
    std::printf("\n[r] 640x512, camera unpaced (--fps 0), rendering on, %s\n", label);
    Vcam cam(ip, {"--size", "640x512", "--fps", "0", "--lifetime", "60", "--software-id", softwareId});
    if (!cam.ready()) return (void)std::printf("  camera did not start\n");
    Capture c;
    Session s;
    if (!s.open(cam.ip(), &c)) return;
    e2e::sleep_ms(1000);
    const int64_t camCpu0 = cam.cpu_us();
    const Window w = measure({&c}, 0, 5000);
    const int64_t camCpu1 = cam.cpu_us();
    s.close();
    const double fps = static_cast<double>(c.frames.load()) / w.seconds;
    std::printf("  frames/s delivered          %8.1f   (target >= 200: %s)\n", fps, verdict(fps >= 200.0));
    std::printf("  SDK process CPU             %8.2f cores, %.2f ms per frame\n", w.cpuShare,
                fps > 0 ? w.cpuShare * 1000.0 / fps : 0.0);
    // The camera renders its scene per frame: when it uses a whole core, it is what limits the rate.
    if (camCpu0 >= 0 && camCpu1 >= 0)
        std::printf("  camera process CPU          %8.2f cores\n",
                    static_cast<double>(camCpu1 - camCpu0) / (w.seconds * 1e6));
    std::printf("  latency median / p99        %8.2f / %.2f ms\n", e2e::percentile(c.latencyUs, 0.5) / 1000.0,
                e2e::percentile(c.latencyUs, 0.99) / 1000.0);
    // Proof that the frames were measured and rendered, not only received.
    std::printf("  last frame: max %.2f C, avg %.2f C, min %.2f C, pixel 0x%08x\n", c.lastResult.maxTemp,
                c.lastResult.avgTemp, c.lastResult.minTemp, c.lastPixel);
}

// Latency from the camera's send stamp to the callback at paced rates, where no frame waits in a queue.
void scenario_latency() {
    for (const char *fps : {"50", "100"}) {
        std::printf("\n[l] 640x512 at %s Hz, latency from the camera's send to the callback\n", fps);
        Vcam cam("127.0.10.21", {"--size", "640x512", "--fps", fps, "--lifetime", "60"});
        if (!cam.ready()) return (void)std::printf("  camera did not start\n");
        Capture c;
        Session s;
        if (!s.open(cam.ip(), &c)) return;
        const Window w = measure({&c}, 1000, 5000);
        s.close();
        const double med = e2e::percentile(c.latencyUs, 0.5) / 1000.0;
        std::printf("  frames/s delivered          %8.1f\n",
                    static_cast<double>(c.frames.load()) / w.seconds);
        std::printf("  latency median              %8.2f ms   (target < 5 ms: %s)\n", med,
                    verdict(med < 5.0));
        std::printf("  latency p99 / max           %8.2f / %.2f ms\n",
                    e2e::percentile(c.latencyUs, 0.99) / 1000.0, e2e::percentile(c.latencyUs, 1.0) / 1000.0);
    }
}

// 16 previews of 384 x 288 at 25 Hz: CPU share of the process hosting the SDK.
void scenario_cpu() {
    constexpr int kCameras = 16;
    std::printf("\n[c] %d previews of 384x288 at 25 Hz, 10 s\n", kCameras);
    std::vector<std::unique_ptr<Vcam>> cams;
    for (int i = 1; i <= kCameras; ++i)
        cams.push_back(std::make_unique<Vcam>(
            "127.0.10." + std::to_string(i),
            std::vector<std::string>{"--size", "384x288", "--fps", "25", "--lifetime", "60"}));
    std::vector<std::unique_ptr<Capture>> captures(kCameras);
    std::vector<std::unique_ptr<Session>> sessions(kCameras);
    std::vector<Capture *> all;
    for (int i = 0; i < kCameras; ++i) {
        captures[i] = std::make_unique<Capture>();
        sessions[i] = std::make_unique<Session>();
        if (!cams[i]->ready() || !sessions[i]->open(cams[i]->ip(), captures[i].get()))
            return (void)std::printf("  camera %d not available\n", i + 1);
        all.push_back(captures[i].get());
    }
    const Window w = measure(all, 1000, 10000);
    for (auto &s : sessions) s->close();
    int64_t total = 0, least = INT64_MAX;
    for (auto &c : captures) {
        total += c->frames.load();
        least = std::min<int64_t>(least, c->frames.load());
    }
    std::printf("  frames/s delivered, total   %8.1f   (slowest preview %.1f)\n",
                static_cast<double>(total) / w.seconds, static_cast<double>(least) / w.seconds);
    std::printf("  SDK process CPU             %8.2f cores   (target < 1: %s)\n", w.cpuShare,
                verdict(w.cpuShare < 1.0));
}

// Many previews of 384 x 288 at 25 Hz against cameras that send a pre-rendered loop (--scene-loop): a
// camera drawing every frame costs a few hundredths of a core, too much for 64 of them beside the SDK on
// a small machine. The loop numbers its frames (header bytes 56 to 59), so a gap in the numbers is a
// frame the camera sent and the SDK lost, while the camera's send stamp against its schedule shows how
// late the camera itself was.
constexpr int kManyPreviews = 64;
constexpr int kManyFps = 25;
constexpr int64_t kManyPeriodTicks = 10000000 / kManyFps;

// Counted on the preview's worker thread while measuring; read once the preview has stopped.
struct Tally {
    static constexpr size_t kCap = 4096;  // far more frames than one window holds
    std::atomic<bool> measuring{false};
    std::atomic<int> lost{0};  // connection-lost callbacks, whole run
    int64_t delivered = 0;
    int64_t missing = 0;   // numbers skipped between consecutive frames
    int64_t restarts = 0;  // the numbering began again or repeated: a new stream connection
    bool seen = false;
    uint32_t last = 0;
    std::vector<int64_t> offsets;  // send stamp - number x period: the camera's lateness plus a constant
    std::vector<double> latencyUs;
    Tally() {
        // Touched now, so that the counting adds nothing to the resident memory measured later.
        offsets.resize(kCap);
        offsets.clear();
        latencyUs.resize(kCap);
        latencyUs.clear();
    }
};

void on_counted_frame(int status, _DataFrame *frame, void *user) {
    auto *t = static_cast<Tally *>(user);
    if (status != 0 || !frame) {
        if (status == SARVIK_STATUS_CONNECTION_LOST) ++t->lost;
        return;
    }
    if (!t->measuring.load()) return;
    const int64_t now = e2e::unix_ticks_now();
    const int64_t stamp = frame->header->timestamp;
    uint32_t number = 0;
    std::memcpy(&number, frame->header->reserved_56, sizeof number);
    if (t->seen && number > t->last)
        t->missing += number - t->last - 1;
    else if (t->seen)
        ++t->restarts;
    t->seen = true;
    t->last = number;
    ++t->delivered;
    // A new connection numbers from 0 on a schedule of its own: lateness is taken from the first one only.
    if (t->restarts == 0 && t->offsets.size() < Tally::kCap)
        t->offsets.push_back(stamp - static_cast<int64_t>(number) * kManyPeriodTicks);
    if (t->latencyUs.size() < Tally::kCap) t->latencyUs.push_back(static_cast<double>(now - stamp) / 10.0);
}

void scenario_many() {
    constexpr int kWarmupMs = 3000, kWindowMs = 20000;
    std::printf("\n[m] %d previews of 384x288 at %d Hz (cameras send a pre-rendered loop), %d s after %d s\n",
                kManyPreviews, kManyFps, kWindowMs / 1000, kWarmupMs / 1000);
    // Cameras, logins and previews; whatever was started is stopped on every way out.
    struct Fleet {
        std::vector<std::unique_ptr<Vcam>> cams;
        std::vector<int> users, previews;
        void close_previews() {
            for (int &p : previews) {
                if (p >= 0) Sarvik_StopPreview(p);
                p = -1;
            }
            for (int &u : users) {
                if (u >= 0) Sarvik_Logout(u);
                u = -1;
            }
        }
        ~Fleet() {
            close_previews();
            // Together: one by one the cameras would take a while to wind down.
            for (auto &c : cams) c->request_stop();
            for (auto &c : cams) c->stop();
        }
    } fleet;
    fleet.users.assign(kManyPreviews, -1);
    fleet.previews.assign(kManyPreviews, -1);
    auto &cams = fleet.cams;
    for (int i = 1; i <= kManyPreviews; ++i)
        cams.push_back(std::make_unique<Vcam>(
            "127.0.20." + std::to_string(i),
            std::vector<std::string>{"--size", "384x288", "--fps", std::to_string(kManyFps), "--scene-loop",
                                     "25", "--lifetime", "120"}));
    std::vector<std::unique_ptr<Tally>> tallies(kManyPreviews);
    for (int i = 0; i < kManyPreviews; ++i) {
        tallies[i] = std::make_unique<Tally>();
        if (!cams[i]->ready()) return (void)std::printf("  camera %s did not start\n", cams[i]->ip().c_str());
        fleet.users[i] = e2e::login(cams[i]->ip());
        if (fleet.users[i] < 0)
            return (void)std::printf("  login %s failed: %d\n", cams[i]->ip().c_str(), fleet.users[i]);
    }

    // Heap the earlier scenarios freed stays resident until trimmed, and new previews would reuse it unseen.
    malloc_trim(0);
    const int64_t rssBefore = e2e::process_rss_kib();
    for (int i = 0; i < kManyPreviews; ++i) {
        PreviewParam p;
        std::memset(&p, 0, sizeof p);
        p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
        p.callback = on_counted_frame;
        p.user = tallies[i].get();
        fleet.previews[i] = Sarvik_StartPreview(fleet.users[i], &p);
        if (fleet.previews[i] < 0)
            return (void)std::printf("  preview %s failed: %d\n", cams[i]->ip().c_str(), fleet.previews[i]);
    }
    e2e::sleep_ms(kWarmupMs);

    int64_t camCpu0 = 0, camCpu1 = 0;
    for (auto &c : cams) camCpu0 += std::max<int64_t>(0, c->cpu_us());
    const int64_t cpu0 = e2e::process_cpu_us();
    const int64_t t0 = e2e::now_us();
    for (auto &t : tallies) t->measuring = true;
    e2e::sleep_ms(kWindowMs);
    for (auto &t : tallies) t->measuring = false;
    const int64_t t1 = e2e::now_us();
    const int64_t cpu1 = e2e::process_cpu_us();
    for (auto &c : cams) camCpu1 += std::max<int64_t>(0, c->cpu_us());
    const int64_t rssRunning = e2e::process_rss_kib();
    fleet.close_previews();
    const int64_t rssAfter = e2e::process_rss_kib();
    // What the allocator keeps for reuse, apart from what is still in use.
    malloc_trim(0);
    const int64_t rssTrimmed = e2e::process_rss_kib();

    const double seconds = static_cast<double>(t1 - t0) / 1e6;
    const double expected = seconds * kManyFps;  // per preview
    int64_t delivered = 0, sent = 0, lostFrames = 0, restarts = 0, late = 0;
    int connectionLost = 0, worst = 0, fewest = 0;
    int64_t worstLost = -1, maxLateTicks = 0;
    std::vector<double> latencies;
    for (int i = 0; i < kManyPreviews; ++i) {
        const Tally &t = *tallies[i];
        delivered += t.delivered;
        sent += t.delivered + t.missing;
        lostFrames += t.missing;
        restarts += t.restarts;
        connectionLost += t.lost.load();
        if (t.missing > worstLost) {
            worstLost = t.missing;
            worst = i;
        }
        if (t.delivered < tallies[fewest]->delivered) fewest = i;
        if (!t.offsets.empty()) {
            const int64_t base = *std::min_element(t.offsets.begin(), t.offsets.end());
            for (int64_t o : t.offsets) {
                maxLateTicks = std::max(maxLateTicks, o - base);
                late += o - base > kManyPeriodTicks;
            }
        }
        latencies.insert(latencies.end(), t.latencyUs.begin(), t.latencyUs.end());
    }
    const Tally &w = *tallies[worst];
    const bool lossOk = lostFrames == 0 && connectionLost == 0 && restarts == 0;
    std::printf("  frames due at %d Hz         %8.0f   (%.1f per preview)\n", kManyFps,
                expected * kManyPreviews, expected);
    std::printf(
        "  frames the cameras sent     %8" PRId64 "   (their frame numbers, first to last received)\n", sent);
    std::printf("  frames delivered            %8" PRId64 "   (fewest %" PRId64 " of %" PRId64 " sent, %s)\n",
                delivered, tallies[fewest]->delivered, tallies[fewest]->delivered + tallies[fewest]->missing,
                cams[fewest]->ip().c_str());
    std::printf("  frames lost by the SDK      %8" PRId64 "   (goal 0: %s); worst preview %s: %" PRId64
                " lost, %" PRId64 " of %" PRId64 " delivered\n",
                lostFrames, goal_met(lossOk), cams[worst]->ip().c_str(), w.missing, w.delivered,
                w.delivered + w.missing);
    std::printf("  connection-lost callbacks   %8d   (goal 0), streams restarted %" PRId64 "\n",
                connectionLost, restarts);
    // The camera stamps a frame as it leaves, so lateness against its schedule is the camera's own.
    std::printf("  camera lateness             %8.1f ms at most; %" PRId64
                " frames left more than one period late\n",
                static_cast<double>(maxLateTicks) / 1e4, late);
    std::printf("  latency send to callback    %8.2f / %.2f / %.2f ms (median / p99 / max)\n",
                e2e::percentile(latencies, 0.5) / 1000.0, e2e::percentile(latencies, 0.99) / 1000.0,
                e2e::percentile(latencies, 1.0) / 1000.0);
    const double cores = static_cast<double>(cpu1 - cpu0) / static_cast<double>(t1 - t0);
    std::printf("  SDK process CPU             %8.2f cores   (goal < 0.5: %s)\n", cores,
                goal_met(cores < 0.5));
    std::printf("  camera processes CPU        %8.2f cores, all %d together\n",
                static_cast<double>(camCpu1 - camCpu0) / static_cast<double>(t1 - t0), kManyPreviews);
    if (rssBefore < 0 || rssRunning < 0) return (void)std::printf("  resident memory unknown\n");
    const double perPreview = static_cast<double>(rssRunning - rssBefore) / 1024.0 / kManyPreviews;
    std::printf("  resident memory per preview %8.2f MiB   (goal <= 16: %s)\n", perPreview,
                goal_met(perPreview <= 16.0));
    std::printf("  process RSS                 %8.1f MiB before, %.1f with the previews\n",
                static_cast<double>(rssBefore) / 1024.0, static_cast<double>(rssRunning) / 1024.0);
    std::printf("  RSS after stopping them     %8.1f MiB, %.1f once the heap is trimmed\n",
                static_cast<double>(rssAfter) / 1024.0, static_cast<double>(rssTrimmed) / 1024.0);
}

// Video preview (kind 3) of a 640 x 512 H.264 stream at 30 Hz: what decoding costs this process, and the
// delay from the camera's send (stamped in the frame header's reserved bytes 8 to 15) to the callback.
void on_video_frame(int status, _DataFrame *frame, void *user) {
    auto *c = static_cast<Capture *>(user);
    if (status != 0 || !frame) {
        if (status == SARVIK_STATUS_CONNECTION_LOST) ++c->lost;
        return;
    }
    const int64_t now = e2e::unix_ticks_now();
    int64_t stamp = 0;
    std::memcpy(&stamp, frame->extra + 8, sizeof stamp);
    ++c->allFrames;
    c->lastPixel = frame->image[640 * 256 + 320];
    if (!c->measuring.load()) return;
    ++c->frames;
    if (c->latencyUs.size() < kMaxSamples) c->latencyUs.push_back(static_cast<double>(now - stamp) / 10.0);
}

void scenario_video() {
    for (const uint8_t kind : {SARVIK_PREVIEW_VIDEO, SARVIK_PREVIEW_MIXED}) {
        std::printf("\n[v] %s preview, 640x512 H.264 at 30 Hz, 10 s\n",
                    kind == SARVIK_PREVIEW_VIDEO ? "video" : "mixed");
        Vcam cam("127.0.10.24", {"--size", "640x512", "--fps", "30", "--lifetime", "60"});
        if (!cam.ready()) return (void)std::printf("  camera did not start\n");
        Capture c;
        const int user = e2e::login(cam.ip());
        if (user < 0) return (void)std::printf("  login failed: %d\n", user);
        PreviewParam p;
        std::memset(&p, 0, sizeof p);
        p.previewKind = kind;
        p.callback = on_video_frame;
        p.user = &c;
        const int preview = Sarvik_StartPreview(user, &p);
        if (preview < 0) {
            Sarvik_Logout(user);
            return (void)std::printf("  preview failed: %d\n", preview);
        }
        const Window w = measure({&c}, 1000, 10000);
        Sarvik_StopPreview(preview);
        Sarvik_Logout(user);
        const double med = e2e::percentile(c.latencyUs, 0.5) / 1000.0;
        std::printf("  pictures/s delivered        %8.1f\n",
                    static_cast<double>(c.frames.load()) / w.seconds);
        std::printf("  SDK process CPU             %8.2f cores   (target well under 1: %s)\n", w.cpuShare,
                    verdict(w.cpuShare < 0.5));
        std::printf("  latency median / p99        %8.2f / %.2f ms (send to callback, decoding included)\n",
                    med, e2e::percentile(c.latencyUs, 0.99) / 1000.0);
        std::printf("  centre pixel 0x%08x, connection losses %d\n", c.lastPixel, c.lost.load());
    }
}

// Frame headers of every frame of a stream file, read through playback; false when it does not open.
bool read_stream_stamps(const std::string &path, std::vector<int64_t> *stamps, int *frameCount) {
    void *pb = SarvikPlayback_Create();
    if (!pb) return false;
    bool ok = SarvikPlayback_OpenFile(pb, path.c_str(), SARVIK_PLAYBACK_STREAM) == 0;
    FrameCover cover;
    std::memset(&cover, 0, sizeof cover);
    ok = ok && SarvikPlayback_ReadCover(pb, &cover) == 0 && cover.info;
    *frameCount = ok ? cover.info->frameCount : 0;
    for (int i = 0; ok && i < *frameCount; ++i) {
        _DataFrame f;
        ok = SarvikPlayback_ReadFrame(pb, i, &f) == 0;
        if (ok) stamps->push_back(f.header->timestamp);
    }
    SarvikPlayback_Free(&pb);
    return ok;
}

// Stream recording at 640 x 512 x 50 Hz for 10 s: the file must hold every frame delivered meanwhile.
void scenario_stream(const std::string &dir) {
    std::printf("\n[s] stream recording, 640x512 at 50 Hz, 10 s\n");
    Vcam cam("127.0.10.22", {"--size", "640x512", "--fps", "50", "--lifetime", "60"});
    if (!cam.ready()) return (void)std::printf("  camera did not start\n");
    const std::string path = dir + "/recording.stream";
    Capture c;
    Session s;
    if (!s.open(cam.ip(), &c)) return;
    e2e::sleep_ms(500);
    const int64_t before = c.allFrames.load();
    const int64_t t0 = e2e::now_us();
    const int begin = Sarvik_BeginSave(s.preview, path.c_str(), SARVIK_SAVE_STREAM);
    e2e::sleep_ms(10000);
    const int end = Sarvik_EndSave(s.preview, SARVIK_SAVE_STREAM);
    const int64_t t1 = e2e::now_us();
    const int64_t after = c.allFrames.load();
    s.close();
    if (begin != 0 || end != 0)
        return (void)std::printf("  Sarvik_BeginSave %d, Sarvik_EndSave %d\n", begin, end);

    std::vector<int64_t> fileStamps;
    int count = 0;
    if (!read_stream_stamps(path, &fileStamps, &count))
        return (void)std::printf("  the stream file does not open\n");
    // The file's frames must be one unbroken run of the frames the callback saw, in order.
    size_t first = 0;
    while (first < c.stamps.size() && !fileStamps.empty() && c.stamps[first] != fileStamps[0]) ++first;
    size_t matched = 0;
    while (matched < fileStamps.size() && first + matched < c.stamps.size() &&
           c.stamps[first + matched] == fileStamps[matched])
        ++matched;
    const bool whole = !fileStamps.empty() && matched == fileStamps.size();
    std::printf("  frames in the file          %8d   (delivered between the two calls: %" PRId64 ")\n", count,
                after - before);
    std::printf(
        "  every file frame is the next delivered frame: %s (%zu of %zu matched, %d connection losses)\n",
        whole ? "yes" : "NO", matched, fileStamps.size(), c.lost.load());
    std::printf("  recording rate              %8.1f frames/s over %.2f s\n",
                static_cast<double>(count) / (static_cast<double>(t1 - t0) / 1e6),
                static_cast<double>(t1 - t0) / 1e6);
    unlink(path.c_str());
}

// Writes a stream file of n frames of w x h by hand; each frame's time stamp is its index.
bool write_stream_file(const std::string &path, int w, int h, int n) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const size_t px = static_cast<size_t>(w) * h;
    FrameFileBmpHeader bmp;
    std::memset(&bmp, 0, sizeof bmp);
    bmp.magic[0] = 'B';
    bmp.magic[1] = 'M';
    bmp.fileSize = static_cast<uint32_t>(4 * px + 64);
    bmp.pixelOffset = 64;
    bmp.infoSize = 40;
    bmp.width = w;
    bmp.height = -h;
    bmp.planes = 1;
    bmp.bitsPerPixel = 32;
    bmp.imageSize = static_cast<uint32_t>(4 * px);
    FrameFileInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.cameraId, sizeof info.cameraId, "E2E-PLAYBACK");
    info.width = static_cast<uint16_t>(w);
    info.height = static_cast<uint16_t>(h);
    info.recorder = SARVIK_RECORDER_MARK;
    info.version = SARVIK_RECORDER_VERSION;
    std::vector<uint8_t> prefix(4 * px + SARVIK_STREAM_ZERO_GAP, 0);
    bool ok = std::fwrite(&bmp, sizeof bmp, 1, f) == 1 &&
              std::fwrite(prefix.data(), prefix.size(), 1, f) == 1 &&
              std::fwrite(&info, sizeof info, 1, f) == 1;
    std::vector<uint8_t> frame(sizeof(_DataFrameHeader) + 2 * px);
    auto *hdr = reinterpret_cast<_DataFrameHeader *>(frame.data());
    hdr->width = static_cast<uint16_t>(w);
    hdr->height = static_cast<uint16_t>(h);
    hdr->slope = 100;
    auto *samples = reinterpret_cast<int16_t *>(frame.data() + sizeof(_DataFrameHeader));
    for (size_t i = 0; i < px; ++i) samples[i] = static_cast<int16_t>(2000 + (i % 640));
    for (int i = 0; ok && i < n; ++i) {
        hdr->timestamp = i;
        ok = std::fwrite(frame.data(), frame.size(), 1, f) == 1;
    }
    return std::fclose(f) == 0 && ok;
}

// Median time of reps ReadFrame calls at the indices pick() returns; false when a frame is not the asked one.
template <typename Pick>
bool time_reads(void *pb, int reps, Pick pick, double *medianUs) {
    std::vector<double> t;
    t.reserve(static_cast<size_t>(reps));
    for (int i = 0; i < reps; ++i) {
        const int index = pick();
        _DataFrame f;
        const int64_t t0 = e2e::now_ns();
        const int r = SarvikPlayback_ReadFrame(pb, index, &f);
        t.push_back(static_cast<double>(e2e::now_ns() - t0) / 1000.0);
        if (r != 0 || f.header->timestamp != index) return false;
    }
    *medianUs = e2e::percentile(t, 0.5);
    return true;
}

// Times ReadFrame on a stream file of the given length: at the start, middle, end and at random indices
// (only at random for the short comparison file).
void time_playback(const std::string &path, int frames, bool allCases) {
    constexpr int kW = 80, kH = 60, kReps = 400;
    if (!write_stream_file(path, kW, kH, frames))
        return (void)std::printf("  cannot write %s\n", path.c_str());
    void *pb = SarvikPlayback_Create();
    const int open = pb ? SarvikPlayback_OpenFile(pb, path.c_str(), SARVIK_PLAYBACK_STREAM) : -1;
    if (open != 0) {
        std::printf("  open failed: %d\n", open);
    } else {
        std::mt19937 rng(7);
        struct Case {
            const char *name;
            int index;  // -1: random
        } cases[] = {{"random", -1}, {"index 0", 0}, {"middle", frames / 2}, {"last", frames - 1}};
        for (const Case &c : cases) {
            if (!allCases && c.index >= 0) continue;
            double us = 0;
            const bool ok = time_reads(
                pb, kReps, [&] { return c.index >= 0 ? c.index : static_cast<int>(rng() % frames); }, &us);
            std::printf("  %5d frames, ReadFrame %-8s %8.2f us%s\n", frames, c.name, us,
                        ok ? "" : "   (WRONG FRAME)");
        }
    }
    SarvikPlayback_Free(&pb);
    unlink(path.c_str());
}

// Playback of a 10,000-frame stream file against a 100-frame one: access time must not grow with either.
void scenario_playback(const std::string &dir) {
    std::printf("\n[p] playback of 80x60 stream files (%.1f MB for 10000 frames), median of 400 reads each\n",
                (4.0 * 4800 + 1216 + 10000.0 * (2 * 4800 + 128)) / 1e6);
    time_playback(dir + "/long.stream", 10000, true);
    time_playback(dir + "/short.stream", 100, false);
}

}  // namespace

int main(int argc, char **argv) {
    // Google Benchmark options passed by the bench runner are ignored.
    std::string only = argc > 1 && argv[1][0] != '-' ? argv[1] : "rlcspvm";
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const int init = Sarvik_InitSDK();
    if (init != 0) {
        std::printf("Sarvik_InitSDK failed: %d\n", init);
        return 1;
    }
    const std::string dir = e2e::make_temp_dir();
    if (dir.empty()) {
        std::printf("cannot create a directory under /tmp\n");
        return 1;
    }
    std::printf(
        "End-to-end preview benchmarks (cameras on 127.0.10.x and 127.0.20.x, SDK in this process)\n");
    if (only.find('r') != std::string::npos) {
        scenario_rate("data kind 0 (raw mapping)", "127.0.10.20", "R640-V1.0.0");
        // Software ids "R1280H" stream temperatures (kind 2): adaptive stretch, two-thread mode.
        scenario_rate("data kind 2 (temperature stretch, two threads)", "127.0.10.23", "R1280H-V2.1.0");
    }
    if (only.find('l') != std::string::npos) scenario_latency();
    if (only.find('c') != std::string::npos) scenario_cpu();
    if (only.find('s') != std::string::npos) scenario_stream(dir);
    if (only.find('v') != std::string::npos) scenario_video();
    if (only.find('p') != std::string::npos) scenario_playback(dir);
    if (only.find('m') != std::string::npos) scenario_many();
    e2e::remove_dir(dir);
    Sarvik_FreeSDK();
    return 0;
}
