// snapshot and record: a radiometric picture, and a stream file of the temperature frames.
#include <CLI/CLI.hpp>

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>

#include "cam_session.h"
#include "cli_common.h"

namespace cli {

namespace {

int64_t fileSize(const std::string &path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

int runSnapshot(const std::string &address, const std::string &out) {
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    const int r =
        writeWhole(out, [&](const std::string &temp) { return Sarvik_SaveFrame(cam.user(), temp.c_str(), 1); });
    if (r != 0) {
        error(address, "snapshot " + out, r);
        return exitCodeOf(r);
    }
    message(address + ": " + out + " written (" + std::to_string(fileSize(out)) + " bytes)");
    return EXIT_OK;
}

std::atomic<int> gStopSignal{0};

extern "C" void onStopSignal(int sig) { gStopSignal = sig; }

// What the frame callback sees, read by the main thread for the progress line.
struct RecordStats {
    std::atomic<int64_t> frames{0};
    std::atomic<int64_t> drops{0};
    std::atomic<int> losses{0};
    std::atomic<bool> lost{false};
    std::atomic<int> width{0}, height{0};
    // Only the callback thread touches these: the current run of frames since the (re)connection.
    int64_t runFirstStamp = -1;
    int64_t runFrames = 0;
    int64_t earlierDrops = 0;
    double periodTicks = 0;
};

// Frames carry no number, so a drop is a frame the camera's frame rate says should have come and did
// not: over each connection, the frames the time stamps span minus those received (jitter cancels out).
extern "C" void onRecordFrame(int status, _DataFrame *frame, void *user) {
    auto *s = static_cast<RecordStats *>(user);
    if (status == SARVIK_STATUS_CONNECTION_LOST) {
        s->lost = true;
        ++s->losses;
        s->earlierDrops = s->drops;
        s->runFirstStamp = -1;
        return;
    }
    if (status == SARVIK_STATUS_CONNECTION_RESTORED) {
        s->lost = false;
        return;
    }
    if (status != 0 || !frame || !frame->header) return;
    const _DataFrameHeader &h = *frame->header;
    s->width = h.width;
    s->height = h.height;
    ++s->frames;
    if (s->runFirstStamp < 0) {
        s->runFirstStamp = h.timestamp;
        s->runFrames = 0;
    }
    ++s->runFrames;
    if (s->periodTicks > 0) {
        const int64_t spanned =
            std::llround(static_cast<double>(h.timestamp - s->runFirstStamp) / s->periodTicks) + 1;
        s->drops = s->earlierDrops + std::max<int64_t>(0, spanned - s->runFrames);
    }
}

// Whole frames in a stream file of this size: cover, gap and information record, then frames.
int64_t framesInStream(int64_t size, int64_t pixels) {
    const int64_t head = 64 + 4 * pixels + SARVIK_STREAM_ZERO_GAP + 128;
    if (pixels <= 0 || size < head) return 0;
    return (size - head) / (2 * pixels + 128);
}

std::string human(double bytes) {
    char buf[32];
    if (bytes >= 1e9) std::snprintf(buf, sizeof buf, "%.2f GB", bytes / 1e9);
    else if (bytes >= 1e6) std::snprintf(buf, sizeof buf, "%.1f MB", bytes / 1e6);
    else std::snprintf(buf, sizeof buf, "%.0f kB", bytes / 1e3);
    return buf;
}

int runRecord(const std::string &address, const std::string &out, double seconds, bool udp) {
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;

    RecordStats stats;
    const _CameraBasicInfo &b = cam.basic();
    const double ratio = static_cast<double>(b.dataRatio ? b.dataRatio : 1) * (b.sendRatio ? b.sendRatio : 1);
    if (b.dataFps > 0) stats.periodTicks = 1e7 * ratio / b.dataFps;

    // Ctrl-C and SIGTERM end the recording like the time running out does.
    struct sigaction sa{};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    OutputFile file(out);
    int r = file.open();
    if (r != 0) {
        error(address, "create " + file.tempPath(), r);
        return exitCodeOf(r);
    }
    file.closeForExternalWriter();

    PreviewParam p{};
    p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    p.transType = udp ? SARVIK_TRANSPORT_UDP : SARVIK_TRANSPORT_TCP;
    p.callback = onRecordFrame;
    p.user = &stats;
    const int preview = Sarvik_StartPreview(cam.user(), &p);
    if (preview < 0) {
        error(address, "start preview", preview);
        return exitCodeOf(preview);
    }
    r = Sarvik_BeginSave(preview, file.tempPath().c_str(), SARVIK_SAVE_STREAM);
    if (r != 0) {
        Sarvik_StopPreview(preview);
        error(address, "begin recording", r);
        return exitCodeOf(r);
    }

    Progress progress("recording " + out, 0);
    const double start = now();
    bool reportedLost = false;
    while (gStopSignal == 0 && now() - start < seconds) {
        const timespec pause{0, 100 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        if (stats.lost && !reportedLost) {
            if (isatty(STDERR_FILENO)) std::fputc('\n', stderr);
            error(address, "preview", SARVIK_STATUS_CONNECTION_LOST);
        }
        reportedLost = stats.lost;
        const double t = now() - start;
        char extra[160];
        std::snprintf(extra, sizeof extra, "frames, %.1f/s, %s, %lld dropped%s", t > 0 ? stats.frames / t : 0.0,
                      human(static_cast<double>(fileSize(file.tempPath()))).c_str(),
                      static_cast<long long>(stats.drops.load()), stats.lost ? ", connection lost" : "");
        progress.update(stats.frames, extra);
    }
    const int rEnd = Sarvik_EndSave(preview, SARVIK_SAVE_STREAM);
    Sarvik_StopPreview(preview);
    const double t = now() - start;
    const int64_t bytes = fileSize(file.tempPath());
    int64_t pixels = static_cast<int64_t>(stats.width) * stats.height;
    if (pixels == 0) pixels = static_cast<int64_t>(b.dataWidth) * b.dataHeight;
    const int64_t kept = framesInStream(bytes, pixels);
    // The final line counts what the file holds, not what arrived around the start and end of saving.
    char extra[160];
    std::snprintf(extra, sizeof extra, "frames, %.1f/s, %s, %lld dropped", t > 0 ? kept / t : 0.0,
                  human(static_cast<double>(bytes)).c_str(), static_cast<long long>(stats.drops.load()));
    progress.update(kept, extra);
    progress.finish(extra);
    if (rEnd != 0) {
        error(address, "end recording", rEnd);
        return exitCodeOf(rEnd);
    }
    if (kept == 0) {
        message(address + ": no frame received, nothing written");
        return stats.losses ? exitCodeOf(SARVIK_STATUS_CONNECTION_LOST) : EXIT_FAIL;
    }
    r = file.commit();
    if (r != 0) {
        error(address, "write " + out, r);
        return exitCodeOf(r);
    }
    if (gStopSignal != 0) message("interrupted: " + std::to_string(kept) + " frames kept");
    else
        message(address + ": " + out + " written, " + std::to_string(kept) + " frames");
    if (stats.losses > 0) {
        // The file is whole, but it has a hole where the camera was away.
        message(address + ": the connection was lost " + std::to_string(stats.losses.load()) +
                " time(s) during the recording" + (stats.lost ? " and is still lost" : ""));
        if (stats.lost) return exitCodeOf(SARVIK_STATUS_CONNECTION_LOST);
    }
    return EXIT_OK;
}

}  // namespace

void addStreamCommands(CLI::App &app, int &result) {
    auto address = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto seconds = std::make_shared<double>(0);
    auto udp = std::make_shared<bool>(false);

    CLI::App *snap = app.add_subcommand(
        "snapshot", "Fetches a radiometric snapshot: the camera's JPEG followed by the temperature tail");
    snap->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    snap->add_option("OUT", *out, "output file, e.g. shot.jpg")->required();
    snap->callback([&result, address, out] { result = runSnapshot(*address, *out); });

    CLI::App *rec = app.add_subcommand(
        "record", "Records the temperature stream to a stream file");
    rec->footer("A progress line shows frames, rate, bytes and frames dropped (by time stamp). Ctrl-C or SIGTERM\n"
                "ends the recording early and keeps a whole file (\"interrupted: N frames kept\", exit 0).");
    rec->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    rec->add_option("OUT", *out, "output stream file")->required();
    rec->add_option("--seconds", *seconds, "length of the recording")->required()->check(CLI::Range(0.1, 1e7));
    rec->add_flag("--udp", *udp, "receive the frames over UDP instead of TCP");
    rec->callback([&result, address, out, seconds, udp] { result = runRecord(*address, *out, *seconds, *udp); });
}

}  // namespace cli
