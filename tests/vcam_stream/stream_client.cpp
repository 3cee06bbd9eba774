#include "stream_client.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace streamtest {

uint32_t host_address(const std::string &ip) {
    in_addr a{};
    inet_pton(AF_INET, ip.c_str(), &a);
    return ntohl(a.s_addr);
}

StreamClient::StreamClient(int transport, uint16_t width, uint16_t height)
    : ops_(sarvik::frame_recver_ops(transport)), width_(width), height_(height) {
    recver_ = ops_->create(width, height);
    sarvik::data_frame_alloc(&frame_, width, height);
}

StreamClient::~StreamClient() {
    if (recver_) ops_->free(&recver_);
    sarvik::data_frame_free(&frame_);
}

int StreamClient::open(const std::string &ip, uint16_t port) {
    if (!recver_ || !frame_.header) return -5;
    return ops_->open(recver_, host_address(ip), port);
}

void StreamClient::close() { ops_->close(recver_); }

int StreamClient::receive() { return ops_->receive(recver_, &frame_); }

int StreamClient::receive_ok(int tries) {
    int r = -1;
    for (int i = 0; i < tries && (r = receive()) != 0; ++i) {
    }
    return r;
}

float StreamClient::temp_at(int x, int y) const {
    const _DataFrameHeader &h = header();
    return static_cast<float>(frame_.data[static_cast<size_t>(y) * width_ + x]) / static_cast<float>(h.slope) +
           static_cast<float>(h.offset);
}

double StreamClient::mean_temp(int x0, int x1, int y0, int y1) const {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += temp_at(x, y);
    return sum / (static_cast<double>(x1 - x0) * (y1 - y0));
}

float StreamClient::max_temp() const {
    float m = temp_at(0, 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) m = std::max(m, temp_at(x, y));
    return m;
}

int StreamClient::count_at_least(float tempC) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) n += temp_at(x, y) >= tempC;
    return n;
}

std::string drop_and_reconnect(StreamClient &c, const std::string &ip, int frames) {
    for (int round = 0; round < 2; ++round) {
        const std::string where = "round " + std::to_string(round);
        if (c.open(ip) != 0) return where + ": open failed";
        for (int i = 0; i < frames; ++i)
            if (c.receive() != 0) return where + ": frame " + std::to_string(i) + " missing";
        const int r = c.receive();
        c.close();
        if (r != -97) return where + ": after the drop " + std::to_string(r) + " instead of -97";
    }
    return "";
}

int64_t unix_ticks_now() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
}

int tcp_connect(const std::string &ip, uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(host_address(ip));
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool recv_all(int fd, void *buf, size_t len) {
    auto *p = static_cast<uint8_t *>(buf);
    for (size_t got = 0; got < len;) {
        const ssize_t n = recv(fd, p + got, len - got, 0);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace streamtest
