// The camera's command port: one request per TCP connection, answered from the camera state.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "camera_state.h"
#include "vcam_options.h"

namespace vcam {

// Serves one request of the given type on an open connection. The body is the request after its 4-byte
// header. A handler answers through CommandServer::answer (which applies the configured faults) or, for
// streaming exchanges, talks on the connection itself.
using CommandHandler = std::function<void(int fd, uint16_t type, const std::vector<uint8_t> &body)>;

class CommandServer {
public:
    CommandServer(const Options &opt, CameraState &state);
    ~CommandServer();

    // Adds or replaces the handler of a request type. Types without a handler are answered from the
    // camera's record table (gets and sets) or not at all.
    void add_handler(uint16_t type, CommandHandler handler);
    // Sends an answer message (header included), honouring the fault options.
    void answer(int fd, const uint8_t *msg, size_t len);

    // Binds ip:port and listens; false (with a message on stderr) when that fails.
    bool open();
    // Serves connections one after the other until stop is set, the deadline passes or the
    // connection budget is spent.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

private:
    bool listen_now();
    void restart(const std::atomic<bool> &stop, int64_t deadlineMs);
    void serve(int fd);
    void log_request(uint16_t type, uint16_t length);
    void answer_record(int fd, uint16_t type, const std::vector<uint8_t> &body);
    void answer_exchange(int fd, uint16_t type, const std::vector<uint8_t> &body);

    const Options &opt_;
    CameraState &state_;
    int listenFd_ = -1;
    bool restartPending_ = false;  // a restart or factory reset came in on the last connection
    FILE *requestLog_ = nullptr;
    std::map<uint16_t, CommandHandler> handlers_;
};

// Whole-buffer socket I/O for handlers; false when the peer closed or timed out.
bool recv_exact(int fd, uint8_t *buf, size_t len);
bool send_exact(int fd, const uint8_t *buf, size_t len);
// A message with the 4-byte header filled in: type and total length.
std::vector<uint8_t> make_answer(uint16_t type, const uint8_t *body, size_t bodyLen);

int64_t now_ms();

}  // namespace vcam
