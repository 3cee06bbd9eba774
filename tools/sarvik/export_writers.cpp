#include "export_writers.h"

#include <png.h>

#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "SarvikFfmpeg.h"
#include "cli_common.h"

namespace cli {

std::string isoLocalTime(int64_t ticks1970) {
    const int64_t ms = ticks1970 / 10000;
    time_t secs = static_cast<time_t>(ms / 1000);
    int millis = static_cast<int>(ms % 1000);
    if (millis < 0) {
        millis += 1000;
        --secs;
    }
    struct tm tmv;
    localtime_r(&secs, &tmv);
    char date[32], zone[8];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tmv);
    std::strftime(zone, sizeof zone, "%z", &tmv);  // +hhmm; ISO 8601 wants +hh:mm
    char out[64];
    std::snprintf(out, sizeof out, "%s.%03d%.3s:%.2s", date, millis, zone, zone + 3);
    return out;
}

std::string describeFrame(const _DataFrameHeader &h, const char *cameraId) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "slope=%u;offset=%d;time=%s", static_cast<unsigned>(h.slope),
                  static_cast<int>(h.offset), isoLocalTime(h.timestamp).c_str());
    std::string s = buf;
    if (cameraId && *cameraId) s += std::string(";camera=") + cameraId;
    return s;
}

namespace {

// "%.2f" of v without the cost of printf: the value in hundredths, rounded half away from zero.
char *formatHundredths(char *p, float v) {
    long long c = std::llround(static_cast<double>(v) * 100.0);
    if (c < 0) {
        *p++ = '-';
        c = -c;
    }
    char digits[24];
    int n = 0;
    long long whole = c / 100;
    do {
        digits[n++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole);
    while (n) *p++ = digits[--n];
    *p++ = '.';
    *p++ = static_cast<char>('0' + (c / 10) % 10);
    *p++ = static_cast<char>('0' + c % 10);
    return p;
}

}  // namespace

int writeCsv(const std::string &path, const _DataFrame &frame) {
    const _DataFrameHeader &h = *frame.header;
    if (h.slope == 0) return SARVIK_ERR_BAD_FORMAT;
    OutputFile out(path);
    int rc = out.open();
    if (rc) return rc;
    char head[256];
    const int len = std::snprintf(head, sizeof head, "# time=%s, width=%u, height=%u, slope=%u, offset=%d\n",
                                  isoLocalTime(h.timestamp).c_str(), static_cast<unsigned>(h.width),
                                  static_cast<unsigned>(h.height), static_cast<unsigned>(h.slope),
                                  static_cast<int>(h.offset));
    rc = out.write(head, static_cast<size_t>(len));
    // One row at a time: at most 24 characters a value.
    std::vector<char> row(static_cast<size_t>(h.width) * 24 + 2);
    for (int y = 0; !rc && y < h.height; ++y) {
        char *p = row.data();
        const int16_t *s = frame.data + static_cast<size_t>(y) * h.width;
        for (int x = 0; x < h.width; ++x) {
            if (x) *p++ = ',';
            p = formatHundredths(p, celsiusOf(s[x], h));
        }
        *p++ = '\n';
        rc = out.write(row.data(), static_cast<size_t>(p - row.data()));
    }
    return rc ? rc : out.commit();
}

int writeTiff(const std::string &path, const _DataFrame &frame, bool celsius, const char *cameraId) {
    const _DataFrameHeader &h = *frame.header;
    if (h.slope == 0) return SARVIK_ERR_BAD_FORMAT;
    OutputFile out(path);
    int rc = out.open();
    if (rc) return rc;
    out.closeForExternalWriter();
    TIFF *t = TIFFOpen(out.tempPath().c_str(), "w");
    if (!t) return SARVIK_ERR_FILE_OPEN;
    const std::string desc = describeFrame(h, cameraId);
    char stamp[20];
    {
        const time_t secs = static_cast<time_t>(h.timestamp / 10000000);
        struct tm tmv;
        localtime_r(&secs, &tmv);
        std::strftime(stamp, sizeof stamp, "%Y:%m:%d %H:%M:%S", &tmv);
    }
    bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(h.width)) &&
              TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h.height)) &&
              TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, celsius ? 32 : 16) &&
              TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, celsius ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_INT) &&
              TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
              TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
              TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(h.height)) &&
              TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, desc.c_str()) &&
              TIFFSetField(t, TIFFTAG_DATETIME, stamp) && TIFFSetField(t, TIFFTAG_SOFTWARE, "sarvik export");
    const size_t n = static_cast<size_t>(h.width) * h.height;
    if (ok && celsius) {
        std::vector<float> c(n);
        for (size_t i = 0; i < n; ++i) c[i] = celsiusOf(frame.data[i], h);
        ok = TIFFWriteEncodedStrip(t, 0, c.data(), static_cast<tmsize_t>(n * sizeof(float))) >= 0;
    } else if (ok) {
        ok = TIFFWriteEncodedStrip(t, 0, frame.data, static_cast<tmsize_t>(n * sizeof(int16_t))) >= 0;
    }
    // TIFFClose writes the directory: a full disk shows there too.
    ok = TIFFWriteDirectory(t) && ok;
    TIFFClose(t);
    if (!ok) return SARVIK_ERR_FILE_WRITE;
    return out.commit();
}

int writePng(const std::string &path, const uint32_t *bgra, int width, int height) {
    OutputFile out(path);
    int rc = out.open();
    if (rc) return rc;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        return -5;
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
    // libpng reports errors by longjmp: nothing with a destructor may be created below this point.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return -197;
    }
    png_init_io(png, out.file());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Fast compression: exports run at disk speed, and the pixels stay exactly the rendered ones.
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t *src = bgra + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t px = src[x];
            row[4 * x] = static_cast<uint8_t>(px >> 16);
            row[4 * x + 1] = static_cast<uint8_t>(px >> 8);
            row[4 * x + 2] = static_cast<uint8_t>(px);
            row[4 * x + 3] = static_cast<uint8_t>(px >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out.commit();
}

double frameRateOf(int64_t firstTicks, int64_t lastTicks, int64_t frames, double fallback) {
    if (frames < 2 || lastTicks <= firstTicks) return fallback;
    const double fps = static_cast<double>(frames - 1) * 1e7 / static_cast<double>(lastTicks - firstTicks);
    return fps >= 0.01 && fps <= 1000 ? fps : fallback;
}

Mp4Writer::Mp4Writer(const std::string &path) : file_(path) {
    Ffmpeg_Init();
}

Mp4Writer::~Mp4Writer() {
    // Ends a running mux before the unfinished file goes with file_.
    if (enc_) H264Enc_Close(&enc_);
    Ffmpeg_Free();
}

int Mp4Writer::begin(int width, int height, double fps) {
    enc_ = H264Enc_Open();
    if (!enc_) return SFF_E_NOMEM;
    // The rate in hundredths of a frame per second keeps rates such as 8.33 Hz.
    H264EncConfig cfg{};
    cfg.deviceType = SFF_DEVICE_SOFTWARE;
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.frameRate = static_cast<int32_t>(std::lround(fps * 100));
    cfg.rateDivisor = 100;
    int rc = H264Enc_SetConfig(enc_, &cfg);
    // The temporary name has no ".mp4": the container is named by the extension, MP4 by default.
    if (!rc) rc = H264Enc_MuxBegin(enc_, file_.tempPath().c_str());
    muxing_ = rc == 0;
    return rc;
}

int Mp4Writer::add(const uint32_t *bgra) {
    uint8_t *packet = nullptr;
    int len = 0;
    int rc = H264Enc_EncFrame(enc_, bgra, &packet, &len);
    if (rc == SFF_NO_OUTPUT) return 0;
    if (rc) return rc;
    rc = H264Enc_MuxFrame(enc_, packet, len);
    if (rc == SFF_NO_OUTPUT) return 0;
    if (!rc) ++frames_;
    return rc;
}

int Mp4Writer::finish() {
    if (!muxing_) return SFF_E_STATE;
    muxing_ = false;
    int rc = H264Enc_MuxEnd(enc_);
    if (rc) return rc;
    return file_.commit();
}

}  // namespace cli
