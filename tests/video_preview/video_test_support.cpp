#include "video_test_support.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "SarvikFfmpeg.h"
#include "temp_dir.h"
#include "vcam_process.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace videotest {

namespace {

int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<uint8_t> message(uint16_t type, const void *body, size_t size) {
    std::vector<uint8_t> m = testsupport::make_message(type, size);
    if (size) std::memcpy(m.data() + 4, body, size);
    return m;
}

bool send_all(int fd, const void *data, size_t len) {
    const auto *p = static_cast<const uint8_t *>(data);
    while (len > 0) {
        const ssize_t n = send(fd, p, len, MSG_NOSIGNAL);
        if (n <= 0) return false;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string host(int n) {
    return "127.0.9." + std::to_string(n);
}

std::unique_ptr<testsupport::ScriptedPeer> scripted_login_camera(const std::string &ip, uint16_t videoWidth,
                                                                 uint16_t videoHeight) {
    using testsupport::PeerReply;
    return std::make_unique<testsupport::ScriptedPeer>(
        ip, SARVIK_PORT_COMMAND, [videoWidth, videoHeight](const std::vector<uint8_t> &req) {
            uint16_t type = 0;
            std::memcpy(&type, req.data(), 2);
            PeerReply r;
            if (type == SARVIK_MSG_GET_CAMERA_BASIC_INFO) {
                _CameraBasicInfo b;
                std::memset(&b, 0, sizeof b);
                std::snprintf(b.cameraId, sizeof b.cameraId, "VIDEOCAM");
                b.dataWidth = 384;
                b.dataHeight = 288;
                b.dataFps = 25;
                b.videoWidth = videoWidth;
                b.videoHeight = videoHeight;
                r.bytes = message(SARVIK_MSG_ANSWER(type), &b, sizeof b);
            } else if (type == SARVIK_MSG_GET_FIX_INFO) {
                _FixInfo f;
                std::memset(&f, 0, sizeof f);
                r.bytes = message(SARVIK_MSG_ANSWER(type), &f, sizeof f);
            }
            return r;
        });
}

Clip make_clip(int width, int height, int frames) {
    Clip clip;
    clip.width = width;
    clip.height = height;
    if (Ffmpeg_Init() != 0) return clip;
    H264EncHandle *enc = H264Enc_Open();
    H264EncConfig cfg{};
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.frameRate = 25;
    cfg.rateDivisor = 1;
    if (enc && H264Enc_SetConfig(enc, &cfg) >= 0) {
        for (int i = 0; i < frames; ++i) {
            std::vector<uint32_t> pic(static_cast<size_t>(width) * height);
            const int sx = (i * 4) % (width - 16), sy = (i * 3) % (height - 16);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    uint32_t b = static_cast<uint32_t>(x * 255 / (width - 1));
                    uint32_t g = static_cast<uint32_t>(y * 255 / (height - 1));
                    uint32_t r = 96;
                    if (x >= sx && x < sx + 16 && y >= sy && y < sy + 16) b = g = r = 240;
                    pic[static_cast<size_t>(y) * width + x] = 0xff000000u | (r << 16) | (g << 8) | b;
                }
            uint8_t *packet = nullptr;
            int len = 0;
            if (H264Enc_EncFrame(enc, pic.data(), &packet, &len) != 0 || !packet || len <= 0) break;
            clip.units.emplace_back(packet, packet + len);
            clip.pictures.push_back(std::move(pic));
        }
    }
    H264Enc_Close(&enc);
    Ffmpeg_Free();
    return clip;
}

StreamPeer::StreamPeer(const std::string &ip, uint16_t port, const Clip &clip,
                       std::function<ConnectionPlan(int)> plan, int frameIntervalMs)
    : clip_(clip), plan_(std::move(plan)), intervalMs_(frameIntervalMs) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
    thread_ = std::thread([this] { loop(); });
}

StreamPeer::~StreamPeer() {
    stop_ = true;
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
}

void StreamPeer::release(int n) {
    std::lock_guard<std::mutex> lock(mutex_);
    credits_ += n;
    cv_.notify_all();
}

void StreamPeer::loop() {
    const int64_t deadline = now_ms() + 60000;
    int index = 0;
    while (!stop_ && now_ms() < deadline && index < 40) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        const int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) continue;
        connections_++;
        serve(c, index++);
        close(c);
    }
}

void StreamPeer::serve(int fd, int index) {
    const ConnectionPlan plan = plan_(index);
    H264FrameStart start;
    std::memset(&start, 0, sizeof start);
    start.paramA = 25;
    start.paramB = 1;
    start.width = plan.startWidth;
    start.height = plan.startHeight;
    if (!send_all(fd, &start, sizeof start)) return;
    const int64_t deadline = now_ms() + 60000;
    bool invalidSent = false;
    for (int i = 0; i < plan.frames && !stop_ && !invalidSent; ++i) {
        if (plan.gated) {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!cv_.wait_for(lock, std::chrono::seconds(30), [&] { return stop_ || credits_ > 0; }) || stop_)
                return;
            --credits_;
        }
        const std::vector<uint8_t> &unit = clip_.units[static_cast<size_t>(i) % clip_.units.size()];
        H264FrameHeader header;
        std::memset(&header, 0, sizeof header);
        header.size = static_cast<int32_t>(sizeof header + unit.size());
        header.width = plan.startWidth;
        header.height = plan.startHeight;
        if (i == plan.invalidHeaderAt) {
            header.size = 800;
            invalidSent = true;
        }
        if (!send_all(fd, &header, sizeof header)) {
            closedByClient_++;
            return;
        }
        if (!invalidSent && !send_all(fd, unit.data(), unit.size())) {
            closedByClient_++;
            return;
        }
        framesSent_++;
        if (intervalMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs_));
    }
    if (plan.closeAfter && !invalidSent) return;
    // Stays until the client closes: that is how the client refuses or drops a stream.
    while (!stop_ && now_ms() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        char sink[256];
        const ssize_t n = recv(fd, sink, sizeof sink, 0);
        if (n <= 0) {
            closedByClient_++;
            return;
        }
    }
}

void Events::callback(int status, _DataFrame *frame, void *user) {
    auto *self = static_cast<Events *>(user);
    std::unique_lock<std::mutex> lock(self->mutex_);
    const bool first = status == 0 && std::count(self->statuses_.begin(), self->statuses_.end(), 0) == 0;
    if (status == 0 && frame && static_cast<int>(self->pictures_.size()) < self->keep_) {
        self->pictures_.emplace_back(frame->image,
                                     frame->image + static_cast<size_t>(self->width_) * self->height_);
        H264FrameHeader h;
        std::memcpy(&h, frame->extra, sizeof h);
        self->headers_.push_back(h);
    }
    if (first && self->blockFirst_) {
        self->firstWaiting_ = true;
        self->cv_.notify_all();
        self->cv_.wait_for(lock, std::chrono::seconds(20), [&] { return self->unblocked_; });
    }
    self->statuses_.push_back(status);
    self->cv_.notify_all();
}

void Events::keep_pictures(int n, int width, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    keep_ = n;
    width_ = width;
    height_ = height;
}

bool Events::wait_frames(int n, int seconds) {
    return wait_for([n](const std::vector<int> &s) { return std::count(s.begin(), s.end(), 0) >= n; },
                    seconds);
}

bool Events::wait_status(int status, int seconds) {
    return wait_for(
        [status](const std::vector<int> &s) { return std::count(s.begin(), s.end(), status) > 0; }, seconds);
}

std::vector<int> Events::statuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
}

int Events::frames() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count(statuses_.begin(), statuses_.end(), 0));
}

std::vector<std::vector<uint32_t>> Events::pictures() {
    std::lock_guard<std::mutex> lock(mutex_);
    return pictures_;
}

std::vector<H264FrameHeader> Events::headers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return headers_;
}

void Events::block_first_frame() {
    std::lock_guard<std::mutex> lock(mutex_);
    blockFirst_ = true;
}

void Events::unblock() {
    std::lock_guard<std::mutex> lock(mutex_);
    unblocked_ = true;
    cv_.notify_all();
}

bool Events::first_frame_waiting(int seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return firstWaiting_; });
}

PreviewParam preview_param(uint8_t kind, Events *events) {
    PreviewParam p;
    std::memset(&p, 0, sizeof p);
    p.previewKind = kind;
    p.callback = &Events::callback;
    p.user = events;
    return p;
}

double psnr(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8) {
            const double d =
                static_cast<double>((a[i] >> shift) & 0xff) - static_cast<double>((b[i] >> shift) & 0xff);
            sum += d * d;
        }
    const double mse = sum / (3.0 * a.size());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

bool probe_video_file(const std::string &path, VideoFileInfo *info) {
    AVFormatContext *fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return false;
    bool ok = avformat_find_stream_info(fmt, nullptr) >= 0;
    const int v = ok ? av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    if (v >= 0) {
        info->width = fmt->streams[v]->codecpar->width;
        info->height = fmt->streams[v]->codecpar->height;
        info->packets = 0;
        AVPacket *pkt = av_packet_alloc();
        while (pkt && av_read_frame(fmt, pkt) >= 0) {
            if (pkt->stream_index == v) ++info->packets;
            av_packet_unref(pkt);
        }
        av_packet_free(&pkt);
    }
    avformat_close_input(&fmt);
    return ok && v >= 0;
}

bool decode_image_file(const std::string &path, int *width, int *height, std::vector<uint32_t> *bgra) {
    AVFormatContext *fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return false;
    bool ok = false;
    AVCodecContext *ctx = nullptr;
    AVPacket *pkt = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    if (avformat_find_stream_info(fmt, nullptr) >= 0 && fmt->nb_streams == 1 && pkt && frame) {
        const AVCodec *codec = avcodec_find_decoder(fmt->streams[0]->codecpar->codec_id);
        ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
        if (ctx && avcodec_parameters_to_context(ctx, fmt->streams[0]->codecpar) >= 0 &&
            avcodec_open2(ctx, codec, nullptr) >= 0 && av_read_frame(fmt, pkt) >= 0 &&
            avcodec_send_packet(ctx, pkt) >= 0 && avcodec_receive_frame(ctx, frame) >= 0) {
            *width = frame->width;
            *height = frame->height;
            bgra->assign(static_cast<size_t>(frame->width) * frame->height, 0);
            SwsContext *sws = sws_getContext(
                frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
                frame->height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
            if (sws) {
                uint8_t *dst[4] = {reinterpret_cast<uint8_t *>(bgra->data()), nullptr, nullptr, nullptr};
                int dstStride[4] = {frame->width * 4, 0, 0, 0};
                ok = sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride) ==
                     frame->height;
                sws_freeContext(sws);
            }
        }
    }
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&ctx);
    avformat_close_input(&fmt);
    return ok;
}

std::string sdk_log_text() {
    const std::string dir = testsupport::bin_dir() + "/logs";
    std::string text;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') text += testsupport::read_file(dir + "/" + e->d_name);
        closedir(d);
    }
    return text;
}

bool wait_log(const std::string &text, int seconds) {
    const int64_t deadline = now_ms() + seconds * 1000;
    while (now_ms() < deadline) {
        if (sdk_log_text().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace videotest
