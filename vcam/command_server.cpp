#include "command_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "SarvikSDK.h"

namespace vcam {

namespace {

constexpr int kIoTimeoutMs = 2000;
constexpr uint16_t kCtlX = SARVIK_MSG_CONTROL_X;
constexpr uint16_t kCtl = SARVIK_MSG_CONTROL;
constexpr uint16_t kSerialData = SARVIK_MSG_WRITE_SERIAL_PORT_DATA;
constexpr uint16_t kPlugin = SARVIK_MSG_CAMERA_PLUGIN_INFO;

}  // namespace

bool recv_exact(int fd, uint8_t *buf, size_t len) {
    size_t got = 0;
    while (got < len) {
        ssize_t n = recv(fd, buf + got, len - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

bool send_exact(int fd, const uint8_t *buf, size_t len) {
    size_t sent = 0;
    while (sent < len) {
        ssize_t n = send(fd, buf + sent, len - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::vector<uint8_t> make_answer(uint16_t type, const uint8_t *body, size_t bodyLen) {
    std::vector<uint8_t> msg(4 + bodyLen);
    const uint16_t len = static_cast<uint16_t>(msg.size());
    std::memcpy(msg.data(), &type, 2);
    std::memcpy(msg.data() + 2, &len, 2);
    if (bodyLen) std::memcpy(msg.data() + 4, body, bodyLen);
    return msg;
}

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CommandServer::CommandServer(const Options &opt, CameraState &state) : opt_(opt), state_(state) {}

CommandServer::~CommandServer() {
    if (listenFd_ >= 0) close(listenFd_);
    if (requestLog_) std::fclose(requestLog_);
}

bool CommandServer::open() {
    if (!listen_now()) return false;
    if (!opt_.requestLog.empty()) requestLog_ = std::fopen(opt_.requestLog.c_str(), "a");
    return true;
}

bool CommandServer::listen_now() {
    listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(opt_.commandPort);
    inet_pton(AF_INET, opt_.ip.c_str(), &addr.sin_addr);
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        listen(listenFd_, 64) != 0) {
        std::fprintf(stderr, "sarvik-vcam: cannot listen on %s:%u: %s\n", opt_.ip.c_str(), opt_.commandPort,
                     std::strerror(errno));
        if (listenFd_ >= 0) close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    return true;
}

// A restarting camera is gone from the network for a while: connections are refused until it is back,
// then it comes up with its stored settings and its volatile state at power-on values.
void CommandServer::restart(const std::atomic<bool> &stop, int64_t deadlineMs) {
    close(listenFd_);
    listenFd_ = -1;
    const int64_t backAt = now_ms() + opt_.restartMs;
    while (!stop && now_ms() < backAt && now_ms() < deadlineMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    state_.power_on();
    // The address may take a moment to be free again after the close.
    for (int tries = 0; tries < 50 && !stop && listenFd_ < 0; ++tries) {
        if (listen_now()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void CommandServer::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    int served = 0;
    while (!stop && now_ms() < deadlineMs && served < opt_.maxConnections) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        ++served;
        timeval tv{kIoTimeoutMs / 1000, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        serve(fd);
        close(fd);
        if (restartPending_) {
            restartPending_ = false;
            restart(stop, deadlineMs);
            if (listenFd_ < 0) return;
        }
    }
}

void CommandServer::log_request(uint16_t type, uint16_t length) {
    if (!requestLog_) return;
    std::fprintf(requestLog_, "%u %u\n", type, length);
    std::fflush(requestLog_);
}

void CommandServer::serve(int fd) {
    uint8_t head[4];
    if (!recv_exact(fd, head, sizeof head)) return;
    uint16_t type, length;
    std::memcpy(&type, head, 2);
    std::memcpy(&length, head + 2, 2);
    if (length < 4) return;
    std::vector<uint8_t> body(length - 4u);
    if (!body.empty() && !recv_exact(fd, body.data(), body.size())) return;
    log_request(type, length);

    auto h = handlers_.find(type);
    if (h != handlers_.end()) {
        h->second(fd, type, body);
        return;
    }
    // One-way requests: nothing is answered.
    if (type == kCtl) {
        restartPending_ = state_.control(body) == ControlAction::Restart;
        return;
    }
    if (type == kSerialData) {
        state_.serial_data(body);
        return;
    }
    if (type == kCtlX || type == kPlugin) {
        answer_exchange(fd, type, body);
        return;
    }
    answer_record(fd, type, body);
}

void CommandServer::add_handler(uint16_t type, CommandHandler handler) { handlers_[type] = std::move(handler); }

void CommandServer::answer_record(int fd, uint16_t type, const std::vector<uint8_t> &body) {
    std::vector<uint8_t> record;
    if (state_.get_record(type, &record)) {
        auto msg = make_answer(type + 1, record.data(), record.size());
        answer(fd, msg.data(), msg.size());
    } else if (state_.is_set_type(type) && state_.set_record(type, body.data(), body.size())) {
        auto msg = make_answer(type + 1, nullptr, 0);
        answer(fd, msg.data(), msg.size());
    }
    // Anything else: the connection closes without an answer.
}

// The two answered exchanges whose answer body has the request's layout: extended control and plug-in.
void CommandServer::answer_exchange(int fd, uint16_t type, const std::vector<uint8_t> &body) {
    std::vector<uint8_t> out;
    const bool answered = type == kCtlX ? state_.control_x(body, &out) : state_.plugin_exchange(body, &out);
    if (!answered) return;  // the connection closes without an answer
    auto msg = make_answer(type + 1, out.data(), out.size());
    answer(fd, msg.data(), msg.size());
}

void CommandServer::answer(int fd, const uint8_t *msg, size_t len) {
    const Faults &f = opt_.faults;
    if (f.answerDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(f.answerDelayMs));
    if (f.closeWithoutAnswer) return;
    if (f.silent) {
        // Hold the connection open without a word until the client gives up (bounded by the I/O time-out).
        uint8_t sink[64];
        while (recv(fd, sink, sizeof sink, 0) > 0) {
        }
        return;
    }
    std::vector<uint8_t> out(msg, msg + len);
    if (f.wrongAnswerType) {
        uint16_t t;
        std::memcpy(&t, out.data(), 2);
        t = static_cast<uint16_t>(t + 1);
        std::memcpy(out.data(), &t, 2);
    }
    if (f.shortAnswers && !out.empty()) out.pop_back();
    if (!f.splitAnswers) {
        send_exact(fd, out.data(), out.size());
        return;
    }
    // Several small segments with pauses between them, as a slow or segmenting network would deliver.
    const size_t piece = out.size() / 3 + 1;
    for (size_t off = 0; off < out.size(); off += piece) {
        const size_t n = out.size() - off < piece ? out.size() - off : piece;
        if (!send_exact(fd, out.data() + off, n)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

}  // namespace vcam
