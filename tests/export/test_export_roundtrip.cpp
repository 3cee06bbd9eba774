// sarvik export run as a user runs it, on a real recording and snapshot of a virtual camera, each output read
// back with an independent reader (libtiff, libpng, ffprobe, plain text) and held against the SDK's own
// playback of the same frame.
#include <dirent.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "temp_dir.h"
#include "vcam_process.h"

namespace {

constexpr int kW = 160, kH = 120, kN = kW * kH;
constexpr int64_t kPrefix = 4LL * kN + 64 + 1024 + 128;
constexpr int64_t kFrameSize = 2LL * kN + 128;

void ignoreFrame(int, _DataFrame *, void *) {}

int64_t sizeOf(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

std::vector<std::string> listDir(const std::string &dir) {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct ProgramRun {
    int exit;
    std::string out, err;
};

ProgramRun runSarvik(const std::string &args, const std::string &errFile) {
    ProgramRun r;
    const std::string cmd = "exec " + testsupport::bin_dir() + "/sarvik " + args + " 2>" + errFile;
    const int status = testsupport::run_program({"/bin/sh", "-c", cmd}, &r.out, 120);
    r.exit = status;
    r.err = testsupport::read_file(errFile);
    return r;
}

// One recording, one snapshot and the files derived from them, shared by every test.
class ExportFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir();
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        testsupport::VcamProcess cam("127.0.0.100", {"--size", "160x120", "--fps", "25", "--lifetime", "60"});
        ASSERT_TRUE(cam.ready());
        _LoginInfo l{};
        std::snprintf(l.ip, sizeof l.ip, "127.0.0.100");
        _CameraBasicInfo basic;
        const int user = Sarvik_Login(&l, &basic);
        ASSERT_GE(user, 0);
        PreviewParam p{};
        p.previewKind = SARVIK_PREVIEW_TEMPERATURE;
        p.transType = SARVIK_TRANSPORT_TCP;
        p.callback = &ignoreFrame;
        const int preview = Sarvik_StartPreview(user, &p);
        ASSERT_GE(preview, 0);
        ASSERT_EQ(Sarvik_BeginSave(preview, file("rec.stream").c_str(), SARVIK_SAVE_STREAM), 0);
        // Twelve whole frames, waited for at most ten seconds.
        for (int i = 0; i < 200 && sizeOf(file("rec.stream")) < kPrefix + 12 * kFrameSize; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(Sarvik_EndSave(preview, SARVIK_SAVE_STREAM), 0);
        Sarvik_StopPreview(preview);
        ASSERT_EQ(Sarvik_SaveFrame(user, file("snap.jpg").c_str(), 1), 0);
        Sarvik_Logout(user);
        frames_ = (sizeOf(file("rec.stream")) - kPrefix) / kFrameSize;
        ASSERT_GE(frames_, 12);

        const std::string rec = testsupport::read_file(file("rec.stream"));
        // A single-frame bitmap file is a stream prefix and exactly one frame.
        testsupport::write_file(file("one.bmp"), rec.substr(0, static_cast<size_t>(kPrefix + kFrameSize)));
        // A recording that stopped inside its fifth frame.
        testsupport::write_file(file("cut.stream"),
                                rec.substr(0, static_cast<size_t>(kPrefix + 4 * kFrameSize + kFrameSize / 3)));
        testsupport::write_file(file("notes.stream"), "frame,temperature\n0,21.5\n");
        // Frame 3's header names another width: the frames before it are good.
        std::string bent = rec;
        bent[static_cast<size_t>(kPrefix + 3 * kFrameSize)] ^= 0x10;
        testsupport::write_file(file("bent.stream"), bent);
        // A snapshot whose tail lost its last bytes.
        const std::string snap = testsupport::read_file(file("snap.jpg"));
        testsupport::write_file(file("cut.jpg"), snap.substr(0, snap.size() - 10));
        testsupport::write_file(file("fake.bmp"), "BM" + std::string(5000, '\x01'));
    }
    static void TearDownTestSuite() {
        Sarvik_FreeSDK();
        delete dir_;
        dir_ = nullptr;
    }
    static std::string file(const std::string &name) { return dir_->file(name); }

    static testsupport::TempDir *dir_;
    static int64_t frames_;
};
testsupport::TempDir *ExportFiles::dir_ = nullptr;
int64_t ExportFiles::frames_ = 0;

// The SDK's own playback of a file, rendered frame by frame with a palette and no smoothing.
struct Reference {
    void *pb = SarvikPlayback_Create();
    ~Reference() { SarvikPlayback_Free(&pb); }
    int open(const std::string &path, int type, int palette) {
        int rc = SarvikPlayback_OpenFile(pb, path.c_str(), type);
        _strech_control ctl{};
        ctl.flags = SARVIK_STRECH_SMOOTHING;
        ctl.smoothing = 0;
        if (!rc) rc = SarvikPlayback_SetImage(pb, &ctl, &palette);
        return rc;
    }
    _DataFrame frame(int64_t index) {
        _DataFrame f{};
        EXPECT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(index), &f), 0);
        return f;
    }
};

float celsius(const _DataFrame &f, size_t i) {
    return static_cast<float>(f.data[i]) / static_cast<float>(f.header->slope) +
           static_cast<float>(f.header->offset);
}

void checkCsv(const std::string &path, const _DataFrame &ref) {
    std::ifstream in(path);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    char expect[128];
    std::snprintf(expect, sizeof expect, ", width=%d, height=%d, slope=%u, offset=%d", kW, kH,
                  static_cast<unsigned>(ref.header->slope), static_cast<int>(ref.header->offset));
    EXPECT_EQ(line.rfind("# time=", 0), 0u) << line;
    EXPECT_NE(line.find(expect), std::string::npos) << line;
    int rows = 0;
    double worst = 0;
    while (std::getline(in, line)) {
        std::stringstream ss(line);
        std::string cell;
        int col = 0;
        while (std::getline(ss, cell, ',')) {
            const size_t i = static_cast<size_t>(rows) * kW + col;
            worst = std::max(worst, std::fabs(std::stod(cell) - celsius(ref, i)));
            ++col;
        }
        EXPECT_EQ(col, kW) << "row " << rows;
        ++rows;
    }
    EXPECT_EQ(rows, kH);
    EXPECT_LE(worst, 0.005 + 1e-6);
}

void checkTiff(const std::string &path, const _DataFrame &ref, bool celsiusFloat) {
    TIFF *t = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(t, nullptr);
    uint32_t w = 0, h = 0;
    uint16_t bits = 0, format = 0;
    char *desc = nullptr;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetField(t, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(t, TIFFTAG_SAMPLEFORMAT, &format);
    ASSERT_TRUE(TIFFGetField(t, TIFFTAG_IMAGEDESCRIPTION, &desc));
    EXPECT_EQ(w, static_cast<uint32_t>(kW));
    EXPECT_EQ(h, static_cast<uint32_t>(kH));
    EXPECT_EQ(bits, celsiusFloat ? 32 : 16);
    EXPECT_EQ(format, celsiusFloat ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_INT);
    const std::string scale = "slope=" + std::to_string(ref.header->slope) +
                              ";offset=" + std::to_string(ref.header->offset) + ";time=";
    EXPECT_EQ(std::string(desc).rfind(scale, 0), 0u) << desc;
    std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(t)));
    size_t mismatches = 0;
    for (uint32_t y = 0; y < h; ++y) {
        ASSERT_EQ(TIFFReadScanline(t, row.data(), y), 1);
        for (uint32_t x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * kW + x;
            if (celsiusFloat) {
                float v;
                std::memcpy(&v, row.data() + 4 * x, 4);
                mismatches += v != celsius(ref, i);
            } else {
                int16_t v;
                std::memcpy(&v, row.data() + 2 * x, 2);
                mismatches += v != ref.data[i];
            }
        }
    }
    EXPECT_EQ(mismatches, 0u);
    TIFFClose(t);
}

void checkPng(const std::string &path, const _DataFrame &ref) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&img, path.c_str())) << img.message;
    img.format = PNG_FORMAT_BGRA;
    ASSERT_EQ(img.width, static_cast<uint32_t>(kW));
    ASSERT_EQ(img.height, static_cast<uint32_t>(kH));
    std::vector<uint32_t> px(kN);
    ASSERT_TRUE(png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) << img.message;
    size_t differ = 0;
    for (size_t i = 0; i < static_cast<size_t>(kN); ++i) differ += px[i] != ref.image[i];
    EXPECT_EQ(differ, 0u);
    // A picture, not one flat colour.
    EXPECT_GT(std::set<uint32_t>(px.begin(), px.end()).size(), 4u);
}

// Frames counted by decoding, and the stream's frame rate, as ffprobe reports them.
bool probeMp4(const std::string &path, int64_t *frames, double *fps) {
    std::string out;
    const int rc = testsupport::run_program({"/usr/bin/ffprobe", "-v", "error", "-count_frames", "-select_streams",
                                             "v:0", "-show_entries", "stream=nb_read_frames,avg_frame_rate",
                                             "-of", "default=nw=1", path},
                                            &out, 60);
    if (rc != 0) return false;
    long long n = -1, num = 0, den = 1;
    for (std::stringstream in(out); std::getline(in, out);) {
        std::sscanf(out.c_str(), "nb_read_frames=%lld", &n);
        std::sscanf(out.c_str(), "avg_frame_rate=%lld/%lld", &num, &den);
    }
    *frames = n;
    *fps = den ? static_cast<double>(num) / static_cast<double>(den) : 0;
    return true;
}

struct ExportCase {
    const char *input;
    int playbackType;
    const char *format;
    const char *frames;   // "" = all
    const char *palette;  // "" = default
    int64_t first, end;   // end -1: the recording's length
};

TEST_F(ExportFiles, EveryFormatReadsBackAsThePlaybackSeesIt) {
    const ExportCase cases[] = {
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "csv", "2:5", "", 2, 5},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "tiff16", "", "", 0, -1},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "tiff32", "-2:", "", -2, -1},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "png", "7:10", "", 7, 10},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "png", "3", "whitehot", 3, 4},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "mp4", "", "", 0, -1},
        {"rec.stream", SARVIK_PLAYBACK_STREAM, "mp4", "1:9", "Rainbow", 1, 9},
        {"snap.jpg", SARVIK_PLAYBACK_SNAPSHOT, "csv", "", "", 0, 1},
        {"snap.jpg", SARVIK_PLAYBACK_SNAPSHOT, "tiff16", "", "", 0, 1},
        {"snap.jpg", SARVIK_PLAYBACK_SNAPSHOT, "png", "", "Jet", 0, 1},
        {"one.bmp", SARVIK_PLAYBACK_BITMAP, "tiff32", "", "", 0, 1},
        {"one.bmp", SARVIK_PLAYBACK_BITMAP, "png", "", "", 0, 1},
        {"one.bmp", SARVIK_PLAYBACK_BITMAP, "mp4", "", "", 0, 1},
    };
    int n = 0;
    for (const auto &c : cases) {
        const std::string out = file("out" + std::to_string(n++));
        SCOPED_TRACE(std::string(c.input) + " " + c.format + " " + c.frames + " " + c.palette);
        std::string args = "export " + file(c.input) + " --format " + c.format + " --out " + out;
        if (*c.frames) args += std::string(" --frames ") + c.frames;
        if (*c.palette) args += std::string(" --palette ") + c.palette;
        const ProgramRun r = runSarvik(args, out + ".err");
        ASSERT_EQ(r.exit, 0) << r.err;
        const int64_t first = c.first < 0 ? frames_ + c.first : c.first;
        const int64_t end = c.end < 0 ? frames_ : c.end;
        const std::string stem = std::string(c.input).substr(0, std::string(c.input).rfind('.'));
        const std::string ext = std::strncmp(c.format, "tiff", 4) == 0 ? "tiff" : c.format;
        std::vector<std::string> expected;
        if (ext == "mp4")
            expected.push_back(stem + ".mp4");
        else
            for (int64_t i = first; i < end; ++i) expected.push_back(stem + "_" + std::to_string(i) + "." + ext);
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(listDir(out), expected);
        if (ext == "mp4") {
            int64_t frames = 0;
            double fps = 0;
            ASSERT_TRUE(probeMp4(out + "/" + expected[0], &frames, &fps));
            EXPECT_EQ(frames, end - first);
            if (end - first > 1) {
                // The rate the camera's stamps show over the exported frames.
                Reference stamps;
                ASSERT_EQ(stamps.open(file(c.input), c.playbackType, SARVIK_PALETTE_IRONBOW), 0);
                const int64_t t0 = stamps.frame(first).header->timestamp;
                const int64_t t1 = stamps.frame(end - 1).header->timestamp;
                EXPECT_NEAR(fps, (end - first - 1) * 1e7 / static_cast<double>(t1 - t0), 0.01);
            }
            continue;
        }
        std::string names;
        int palette = SARVIK_PALETTE_IRONBOW;
        if (*c.palette) {
            int count = 0;
            char *table = Sarvik_AllocPaletteData(&count);
            const auto *e = reinterpret_cast<const PaletteEntry *>(table);
            for (int i = 0; i < count; ++i)
                if (strcasecmp(e[i].name, c.palette) == 0) palette = i;
            Sarvik_FreePaletteData(&table);
        }
        Reference ref;
        ASSERT_EQ(ref.open(file(c.input), c.playbackType, palette), 0);
        for (int64_t i = first; i < end; ++i) {
            SCOPED_TRACE(i);
            const _DataFrame f = ref.frame(i);
            const std::string path = out + "/" + stem + "_" + std::to_string(i) + "." + ext;
            if (ext == "csv") checkCsv(path, f);
            if (ext == "png") checkPng(path, f);
            if (ext == "tiff") checkTiff(path, f, std::strcmp(c.format, "tiff32") == 0);
        }
    }
}

struct BadCase {
    const char *input;
    const char *extra;
    int exit;
    const char *says;
    int files;  // outputs expected in the folder
    bool oneLine = true;
};

TEST_F(ExportFiles, BadInputsEndWithOneLineAndNoHalfFiles) {
    const BadCase cases[] = {
        {"missing.stream", "--format csv", 3, "no such file", 0},
        {"notes.stream", "--format csv", 3, "not a stream, snapshot or bitmap file", 0},
        {"fake.bmp", "--format png", 3, "not a stream, snapshot or bitmap file", 0},
        {"cut.jpg", "--format tiff32", 3, "not a stream, snapshot or bitmap file", 0},
        {"bent.stream", "--format csv", 3, "frame 3: foreign or damaged file", 3},
        {"bent.stream", "--format mp4", 3, "frame 3: foreign or damaged file", 0},
        {"rec.stream", "--format png --palette Sepia", 2, "not one of", 0},
        {"rec.stream", "--format csv --frames 500:", 2, "outside the file", 0},
        {"rec.stream", "--format csv --frames 4:2", 2, "no frame in the range", 0},
        {"rec.stream", "--format csv --frames x", 2, "--frames", 0},
        // CLI11's own usage message (two lines) for a format it does not know.
        {"rec.stream", "--format bmp", 2, "--format: bmp not in", 0, false},
        // A recording cut inside its fifth frame: its four whole frames, a word about the rest and exit 3.
        {"cut.stream", "--format tiff16", 3, "cut short: exported its 4 whole frames", 4},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.input) + " " + c.extra);
        const std::string out = file("bad" + std::to_string(n++));
        const ProgramRun r = runSarvik("export " + file(c.input) + " " + c.extra + " --out " + out, out + ".err");
        EXPECT_EQ(r.exit, c.exit) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        if (c.oneLine) {
            // One message of ours; a progress line may stand beside it.
            size_t lines = 0;
            for (size_t at = 0; (at = r.err.find("sarvik: ", at)) != std::string::npos; ++at) ++lines;
            EXPECT_EQ(lines, 1u) << r.err;
        }
        EXPECT_EQ(listDir(out).size(), static_cast<size_t>(c.files));
    }
}

}  // namespace
