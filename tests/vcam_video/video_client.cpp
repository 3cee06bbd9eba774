#include "video_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "scripted_peer.h"
#include "temp_dir.h"
#include "vcam_process.h"

namespace videotest {

namespace {

int connect_to(const std::string &ip, uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// 1 all bytes, 0 closed before the first byte, -1 error, time-out or closed part-way.
int recv_all(int fd, void *buf, size_t len) {
    auto *p = static_cast<uint8_t *>(buf);
    for (size_t got = 0; got < len;) {
        const ssize_t n = recv(fd, p + got, len - got, 0);
        if (n == 0) return got == 0 ? 0 : -1;
        if (n < 0) return -1;
        got += static_cast<size_t>(n);
    }
    return 1;
}

}  // namespace

VideoClient::~VideoClient() {
    if (fd_ >= 0) close(fd_);
}

bool VideoClient::open(const std::string &ip, uint16_t port) {
    if (fd_ >= 0) close(fd_);
    fd_ = connect_to(ip, port);
    return fd_ >= 0 && recv_all(fd_, &start_, sizeof start_) == 1;
}

int VideoClient::read_header(H264FrameHeader *header) {
    return fd_ < 0 ? -1 : recv_all(fd_, header, sizeof *header);
}

bool VideoClient::read_data(const H264FrameHeader &header, std::vector<uint8_t> *data) {
    if (header.size < static_cast<int32_t>(sizeof header)) return false;
    data->resize(static_cast<size_t>(header.size) - sizeof header);
    return data->empty() || recv_all(fd_, data->data(), data->size()) == 1;
}

bool VideoClient::read_frame(H264FrameHeader *header, std::vector<uint8_t> *data) {
    if (read_header(header) != 1) return false;
    // The bound a client applies before it trusts the size.
    const int64_t limit = 3 * static_cast<int64_t>(header->width) * header->height + 17408;
    return header->size > static_cast<int32_t>(sizeof *header) && header->size <= limit &&
           read_data(*header, data);
}

FrameDecoder::FrameDecoder(const H264FrameStart &start, int width, int height) {
    picture_.width = width;
    picture_.height = height;
    picture_.bgra.assign(static_cast<size_t>(width) * height, 0);
    handle_ = H264Dec_Open();
    H264DecConfig cfg{};
    cfg.deviceType = SFF_DEVICE_SOFTWARE;
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    cfg.paramA = start.paramA;
    cfg.paramB = start.paramB;
    cfg.configLength = start.configLength < 0 ? 0 : start.configLength > 64 ? 64 : start.configLength;
    std::memcpy(cfg.config, start.config, static_cast<size_t>(cfg.configLength));
    if (handle_) configStatus_ = H264Dec_SetConfig(handle_, &cfg);
}

FrameDecoder::~FrameDecoder() {
    H264Dec_Close(&handle_);
}

int FrameDecoder::decode(const std::vector<uint8_t> &au) {
    return H264Dec_DecFrame(handle_, au.data(), static_cast<int>(au.size()), picture_.bgra.data());
}

double psnr_db(const Picture &a, const Picture &b) {
    if (a.width != b.width || a.height != b.height || a.bgra.size() != b.bgra.size() || a.bgra.empty())
        return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < a.bgra.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8) {
            const double d = static_cast<double>((a.bgra[i] >> shift) & 0xFF) - ((b.bgra[i] >> shift) & 0xFF);
            sum += d * d;
        }
    const double mse = sum / (3.0 * static_cast<double>(a.bgra.size()));
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

Picture reference_picture(const std::string &kind, const std::vector<std::string> &args, int width,
                          int height) {
    testsupport::TempDir dir;
    const std::string path = dir.file(kind + ".bgra");
    std::vector<std::string> argv = {testsupport::bin_dir() + "/sarvik-vcam", "--ip", "127.0.8.60",
                                     kind == "mixed" ? "--dump-mixed" : "--dump-video", path};
    argv.insert(argv.end(), args.begin(), args.end());
    Picture p;
    if (testsupport::run_program(argv, nullptr, 30) != 0) return p;
    const std::string bytes = testsupport::read_file(path);
    if (bytes.size() != static_cast<size_t>(width) * height * 4) return p;
    p.width = width;
    p.height = height;
    p.bgra.resize(static_cast<size_t>(width) * height);
    std::memcpy(p.bgra.data(), bytes.data(), bytes.size());
    return p;
}

std::string expect_frames(VideoClient &client, FrameDecoder &decoder, int frames, const Picture *reference,
                          double minPsnrDb, double *lowestPsnrDb) {
    double lowest = 99.0;
    H264FrameHeader h{};
    std::vector<uint8_t> au;
    for (int i = 0; i < frames; ++i) {
        const std::string at = "frame " + std::to_string(i + 1) + ": ";
        if (!client.read_frame(&h, &au)) return at + "not received";
        if (h.width != client.start().width || h.height != client.start().height)
            return at + "header size " + std::to_string(h.width) + "x" + std::to_string(h.height);
        if (static_cast<size_t>(h.size) != sizeof h + au.size()) return at + "size field wrong";
        const int rc = decoder.decode(au);
        if (rc != 0) return at + "decode status " + std::to_string(rc);
        if (reference) {
            const double psnr = psnr_db(decoder.picture(), *reference);
            lowest = std::min(lowest, psnr);
            if (psnr < minPsnrDb) return at + "PSNR " + std::to_string(psnr) + " dB";
        }
    }
    if (lowestPsnrDb) *lowestPsnrDb = lowest;
    return "";
}

bool fetch_basic_info(const std::string &ip, _CameraBasicInfo *info) {
    const int fd = connect_to(ip, 55502);
    if (fd < 0) return false;
    const std::vector<uint8_t> req = testsupport::make_message(7, 0);
    std::vector<uint8_t> ans(4 + sizeof *info);
    const bool ok = send(fd, req.data(), req.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(req.size()) &&
                    recv_all(fd, ans.data(), ans.size()) == 1;
    close(fd);
    if (ok) std::memcpy(info, ans.data() + 4, sizeof *info);
    return ok;
}

}  // namespace videotest
