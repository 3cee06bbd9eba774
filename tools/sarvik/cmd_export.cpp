// sarvik export: recordings, snapshots and single-frame files to CSV, TIFF, PNG or MP4.
#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "SarvikFfmpeg.h"
#include "cli_common.h"
#include "commands.h"
#include "export_input.h"
#include "export_range.h"
#include "export_writers.h"

namespace cli {
namespace {

// Ctrl-C ends the export between two frames, so the file being written is removed and nothing half-written
// is left under a final name.
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
}

struct ExportOptions {
    std::string input;
    std::string format;
    std::string frames;
    std::string palette = "IronBow";
    std::string out;
};

std::string dirOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string stemOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// Codec-layer codes lie outside the SDK's range: they get their own words and exit 1.
int codecFailure(const std::string &what, int status) {
    message(what + ": " + Ffmpeg_ErrorText(status) + " (" + std::to_string(status) + ")");
    return EXIT_FAIL;
}

int runExport(const ExportOptions &o) {
    const std::string ext = o.format == "csv" ? "csv" : o.format == "png" ? "png" : o.format == "mp4" ? "mp4" : "tiff";
    struct stat st;
    if (::stat(o.input.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        message(o.input + ": no such file");
        return EXIT_INPUT;
    }
    FrameRange range;
    std::string why;
    if (!parseFrameRange(o.frames, &range, &why)) {
        message("--frames " + o.frames + ": " + why);
        return EXIT_USAGE;
    }
    int rc = Sarvik_InitSDK();
    if (rc) {
        error("", "starting the SDK", rc);
        return exitCodeOf(rc);
    }
    struct SdkGuard {
        ~SdkGuard() { Sarvik_FreeSDK(); }
    } sdkGuard;

    std::string paletteNames;
    const int palette = paletteIndex(o.palette, &paletteNames);
    if (palette < 0) {
        message("--palette " + o.palette + ": not one of " + paletteNames);
        return EXIT_USAGE;
    }
    ExportInput in;
    rc = in.open(o.input);
    if (rc == SARVIK_ERR_BAD_FORMAT || rc == SARVIK_ERR_REFUSED || rc == SARVIK_ERR_FILE_READ) {
        message(o.input + ": not a stream, snapshot or bitmap file of temperature frames");
        return EXIT_INPUT;
    }
    if (rc) {
        error("", o.input, rc);
        return rc == SARVIK_ERR_FILE_OPEN ? EXIT_INPUT : exitCodeOf(rc);
    }
    const InputInfo &info = in.info();
    int64_t first = 0, end = 0;
    if (!range.resolve(info.frames, &first, &end, &why)) {
        message("--frames " + o.frames + ": " + why);
        return EXIT_USAGE;
    }
    const std::string dir = o.out.empty() ? dirOf(o.input) : o.out;
    if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        error("", dir, SARVIK_ERR_FILE_OPEN);
        return exitCodeOf(SARVIK_ERR_FILE_OPEN);
    }
    // Beside an input named without a folder the outputs are named without one too.
    const bool bare = o.out.empty() && o.input.find('/') == std::string::npos;
    const std::string stem = bare ? stemOf(o.input) : dir + "/" + stemOf(o.input);
    const bool video = o.format == "mp4";
    // Stills render every frame on its own so that a picture does not depend on the range chosen; the video
    // keeps the playback's smoothing for a steady picture.
    in.setRendering(palette, !video);

    Mp4Writer mp4(stem + ".mp4");
    if (video) {
        const double fallback = info.info.dataFps > 0
                                    ? static_cast<double>(info.info.dataFps) / (info.info.dataRatio > 1 ? info.info.dataRatio : 1)
                                    : 25.0;
        double fps = fallback;
        if (end - first > 1) {
            int64_t a = 0, b = 0;
            if (in.stamp(first, &a) == 0 && in.stamp(end - 1, &b) == 0) fps = frameRateOf(a, b, end - first, fallback);
        }
        rc = mp4.begin(info.width, info.height, fps);
        if (rc) return codecFailure(stem + ".mp4", rc);
    }

    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    Progress progress("export " + o.format, end - first);
    const char *camera = info.info.cameraId;
    std::string cameraId(camera, strnlen(camera, sizeof info.info.cameraId));
    for (int64_t i = first; i < end; ++i) {
        _DataFrame frame{};
        rc = in.read(i, &frame);
        if (rc) {
            error("", o.input + ": frame " + std::to_string(i), rc);
            return rc == SARVIK_ERR_BAD_FORMAT || rc == SARVIK_ERR_FILE_READ ? EXIT_INPUT : exitCodeOf(rc);
        }
        const std::string path = stem + "_" + std::to_string(i) + "." + ext;
        if (video) {
            rc = mp4.add(frame.image);
            if (rc) return codecFailure(stem + ".mp4", rc);
        } else {
            if (o.format == "csv")
                rc = writeCsv(path, frame);
            else if (o.format == "png")
                rc = writePng(path, frame.image, frame.header->width, frame.header->height);
            else
                rc = writeTiff(path, frame, o.format == "tiff32", cameraId.c_str());
            if (rc == SARVIK_ERR_BAD_FORMAT) {
                message(o.input + ": frame " + std::to_string(i) + ": temperature scale 0 in its header");
                return EXIT_INPUT;
            }
            if (rc) {
                error("", path, rc);
                return exitCodeOf(rc);
            }
        }
        progress.update(i - first + 1);
        if (interrupted) {
            // Frames already written are whole files; a video without its end is removed.
            message("interrupted after " + std::to_string(i - first + 1) + " of " + std::to_string(end - first) +
                    " frames");
            return EXIT_FAIL;
        }
    }
    if (video) {
        rc = mp4.finish();
        if (rc) return codecFailure(stem + ".mp4", rc);
    }
    progress.finish();
    const std::string what = video ? stem + ".mp4"
                                   : (end - first == 1 ? stem + "_" + std::to_string(first) + "." + ext
                                                       : stem + "_{" + std::to_string(first) + ".." +
                                                             std::to_string(end - 1) + "}." + ext);
    std::printf("%lld %s frame%s of %s (%dx%d) -> %s\n", static_cast<long long>(end - first),
                inputKindName(info.kind), end - first == 1 ? "" : "s", o.input.c_str(), info.width, info.height,
                what.c_str());
    std::fflush(stdout);
    // Whatever a cut recording held is exported; the exit still tells a script that it was cut.
    if (info.partialBytes > 0) {
        message(o.input + ": recording cut short: exported its " + std::to_string(info.frames) + " whole frames, " +
                std::to_string(info.partialBytes) + " bytes of an unfinished frame left out");
        return EXIT_INPUT;
    }
    return EXIT_OK;
}

}  // namespace

void addExportCommand(CLI::App &app, int &result) {
    auto o = std::make_shared<ExportOptions>();
    CLI::App *cmd = app.add_subcommand(
        "export", "Export a stream recording, a snapshot (.jpg with temperature tail) or a single-frame bitmap "
                  "file as CSV, TIFF, PNG or MP4");
    cmd->add_option("INPUT", o->input, "stream, snapshot or single-frame bitmap file")->required();
    cmd->add_option("--format", o->format,
                    "csv: deg C per pixel; tiff16: raw int16 samples; tiff32: float deg C; png: rendered with "
                    "--palette; mp4: rendered frames as one video")
        ->required()
        ->check(CLI::IsMember({"csv", "tiff16", "tiff32", "png", "mp4"}));
    cmd->add_option("--frames", o->frames,
                    "A:B, frames A up to but not including B, counted from 0; A: and :B leave a side open, a "
                    "single N is frame N alone (default: all)");
    cmd->add_option("--palette", o->palette, "palette of png and mp4 (the SDK's names)")->capture_default_str();
    cmd->add_option("--out", o->out, "folder of the outputs (default: beside INPUT); made when missing");
    cmd->footer("Outputs: <name>_<index>.<ext> per frame (index counted in the input), <name>.mp4 for mp4.");
    cmd->callback([o, &result]() { result = runExport(*o); });
}

}  // namespace cli
