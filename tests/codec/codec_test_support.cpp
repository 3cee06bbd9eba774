#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace codectest {

Picture makeScene(int width, int height, int index) {
    Picture pic(static_cast<size_t>(width) * height);
    const int blockX = (index * 7) % std::max(1, width - width / 5);
    const int blockY = height / 4;
    const double discX = width / 2.0 + width / 4.0 * std::sin(index * 0.15);
    const double discY = height / 2.0 + height / 4.0 * std::cos(index * 0.11);
    const double radius = std::min(width, height) / 8.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int v = ((x + 3 * index) * 160 / width + y * 60 / height) % 256;
            int r = v, g = v, b = 255 - v / 2;
            if (x >= blockX && x < blockX + width / 5 && y >= blockY && y < blockY + height / 6)
                r = g = b = 235;
            const double dx = x - discX, dy = y - discY;
            if (dx * dx + dy * dy < radius * radius) {
                r = 220;
                g = 120;
                b = 40;
            }
            pic[static_cast<size_t>(y) * width + x] = 0xff000000u | (r << 16) | (g << 8) | b;
        }
    }
    return pic;
}

std::vector<uint8_t> lumaOf(const uint32_t *bgra, int width, int height) {
    std::vector<uint8_t> y(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < y.size(); ++i) {
        const uint32_t p = bgra[i];
        const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        y[i] = static_cast<uint8_t>((77 * r + 150 * g + 29 * b + 128) >> 8);
    }
    return y;
}

double psnr(const uint8_t *a, const uint8_t *b, size_t count) {
    double sse = 0;
    for (size_t i = 0; i < count; ++i) {
        const double d = static_cast<double>(a[i]) - b[i];
        sse += d * d;
    }
    if (sse == 0) return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 * count / sse);
}

double lumaPsnr(const uint32_t *a, const uint32_t *b, int width, int height) {
    const std::vector<uint8_t> ya = lumaOf(a, width, height), yb = lumaOf(b, width, height);
    return psnr(ya.data(), yb.data(), ya.size());
}

double meanLuma(const uint32_t *bgra, int width, int height) {
    const std::vector<uint8_t> y = lumaOf(bgra, width, height);
    double sum = 0;
    for (uint8_t v : y) sum += v;
    return sum / y.size();
}

template <typename Fn>
static void walkNals(const Packet &au, Fn fn) {
    size_t i = 0, start = 0;
    bool inNal = false;
    auto finish = [&](size_t end) {
        while (end > start && au[end - 1] == 0) --end;
        if (inNal && end > start) fn(start, end);
    };
    while (i + 2 < au.size()) {
        if (au[i] == 0 && au[i + 1] == 0 && au[i + 2] == 1) {
            finish(i);
            i += 3;
            start = i;
            inNal = true;
        } else {
            ++i;
        }
    }
    if (inNal && start < au.size()) fn(start, au.size());
}

std::vector<int> nalTypes(const Packet &au) {
    std::vector<int> types;
    walkNals(au, [&](size_t s, size_t) { types.push_back(au[s] & 0x1f); });
    return types;
}

static Packet filterNals(const Packet &au, std::initializer_list<int> types, bool keep) {
    Packet out;
    walkNals(au, [&](size_t s, size_t e) {
        bool listed = false;
        for (int t : types) listed = listed || (au[s] & 0x1f) == t;
        if (listed != keep) return;
        static const uint8_t start[4] = {0, 0, 0, 1};
        out.insert(out.end(), start, start + 4);
        out.insert(out.end(), au.begin() + s, au.begin() + e);
    });
    return out;
}

Packet withoutNals(const Packet &au, std::initializer_list<int> types) {
    return filterNals(au, types, false);
}
Packet onlyNals(const Packet &au, std::initializer_list<int> types) {
    return filterNals(au, types, true);
}

H264EncConfig encoderConfig(int width, int height, int frameRate, int divisor, int device) {
    H264EncConfig cfg{};
    cfg.deviceType = device;
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.frameRate = frameRate;
    cfg.rateDivisor = divisor;
    return cfg;
}

std::vector<Packet> encodeScene(const H264EncConfig &cfg, int count, int first) {
    std::vector<Packet> packets;
    H264EncHandle *enc = H264Enc_Open();
    EXPECT_NE(enc, nullptr);
    if (!enc) return packets;
    EXPECT_EQ(H264Enc_SetConfig(enc, &cfg), SFF_OK);
    for (int i = first; i < first + count; ++i) {
        const Picture pic = makeScene(cfg.width, cfg.height, i);
        uint8_t *data = nullptr;
        int len = 0;
        EXPECT_EQ(H264Enc_EncFrame(enc, pic.data(), &data, &len), SFF_OK) << "picture " << i;
        if (data && len > 0) packets.emplace_back(data, data + len);
    }
    H264Enc_Close(&enc);
    return packets;
}

FileSummary readVideoFile(const std::string &path, bool keepPictures) {
    FileSummary sum;
    AVFormatContext *fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return sum;
    if (avformat_find_stream_info(fmt, nullptr) < 0) {
        avformat_close_input(&fmt);
        return sum;
    }
    const AVCodec *codec = nullptr;
    const int index = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || !codec) {
        avformat_close_input(&fmt);
        return sum;
    }
    AVStream *st = fmt->streams[index];
    sum.opened = true;
    sum.format = fmt->iformat->name;
    sum.codec = avcodec_get_name(st->codecpar->codec_id);
    const char *profile = avcodec_profile_name(st->codecpar->codec_id, st->codecpar->profile);
    sum.profile = profile ? profile : "";
    sum.width = st->codecpar->width;
    sum.height = st->codecpar->height;
    sum.rateNum = st->avg_frame_rate.num;
    sum.rateDen = st->avg_frame_rate.den;
    if (fmt->duration > 0) sum.durationS = fmt->duration / static_cast<double>(AV_TIME_BASE);

    AVCodecContext *dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, st->codecpar);
    avcodec_open2(dec, codec, nullptr);
    AVPacket *pkt = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    SwsContext *sws = nullptr;
    int64_t lastDts = INT64_MIN;
    bool firstPacket = true;
    auto drain = [&]() {
        while (avcodec_receive_frame(dec, frame) >= 0) {
            ++sum.frames;
            if (frame->decode_error_flags || (frame->flags & AV_FRAME_FLAG_CORRUPT)) ++sum.decodeErrors;
            if (keepPictures) {
                Picture pic(static_cast<size_t>(sum.width) * sum.height);
                sws = sws_getCachedContext(sws, frame->width, frame->height,
                                           static_cast<AVPixelFormat>(frame->format), sum.width, sum.height,
                                           AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
                uint8_t *dst[4] = {reinterpret_cast<uint8_t *>(pic.data()), nullptr, nullptr, nullptr};
                int stride[4] = {4 * sum.width, 0, 0, 0};
                sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
                sum.pictures.push_back(std::move(pic));
            }
        }
    };
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == index) {
            if (firstPacket) sum.keyFirst = pkt->flags & AV_PKT_FLAG_KEY;
            firstPacket = false;
            if (pkt->dts != AV_NOPTS_VALUE) {
                if (pkt->dts <= lastDts) sum.dtsRising = false;
                lastDts = pkt->dts;
            }
            if (avcodec_send_packet(dec, pkt) < 0) ++sum.decodeErrors;
            drain();
        }
        av_packet_unref(pkt);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
    return sum;
}

int ffprobeFrameCount(const std::string &path) {
    if (!fileExists("/usr/bin/ffprobe")) return -1;
    const std::string cmd =
        "/usr/bin/ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=nb_read_frames -of csv=p=0 '" +
        path + "' 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return -2;
    int count = -2;
    if (fscanf(p, "%d", &count) != 1) count = -2;
    pclose(p);
    return count;
}

void expectProbedFrames(const std::string &path, int frames) {
    const int probed = ffprobeFrameCount(path);
    if (probed != -1) {
        EXPECT_EQ(probed, frames) << "ffprobe -count_frames " << path;
    }
}

bool fileExists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TempDir::TempDir() {
    const char *base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/sffcodec-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data())) path_ = buf.data();
    EXPECT_FALSE(path_.empty()) << "mkdtemp failed";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

namespace {
std::mutex g_logMutex;
std::vector<std::string> g_logLines;

void captureLine(const char *func, int, const char *, const char *text) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines.push_back(std::string(func) + ": " + text);
}
}  // namespace

LogCapture::LogCapture() {
    {
        std::lock_guard<std::mutex> lock(g_logMutex);
        g_logLines.clear();
    }
    Ffmpeg_SetLogHandler(captureLine);
}

LogCapture::~LogCapture() {
    Ffmpeg_SetLogHandler(nullptr);
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_logLines;
}

bool LogCapture::contains(const std::string &a, const std::string &b) const {
    for (const std::string &line : lines())
        if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return true;
    return false;
}

}  // namespace codectest
