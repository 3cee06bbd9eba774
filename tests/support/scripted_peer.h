// A one-shot TCP peer on a loopback address that answers each connection with scripted bytes, so tests can
// reproduce answers a real camera or a bad network gives: wrong types, short or split answers, silence.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct PeerReply {
    std::vector<uint8_t> bytes;  // sent after the request was read
    int pieces = 1;              // sent in this many segments with pauses between
    int delayMs = 0;             // before answering
    bool silent = false;         // read the request and say nothing until the client closes
};

class ScriptedPeer {
public:
    using Script = std::function<PeerReply(const std::vector<uint8_t> &request)>;
    ScriptedPeer(const std::string &ip, uint16_t port, Script script);
    ~ScriptedPeer();
    bool listening() const { return fd_ >= 0; }
    // Requests received so far, whole.
    std::vector<std::vector<uint8_t>> requests();

private:
    void loop();
    int fd_ = -1;
    Script script_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> requests_;
    std::thread thread_;
};

// A message: 4-byte header (type, total length) followed by size zero bytes of body.
std::vector<uint8_t> make_message(uint16_t type, size_t bodySize);

}  // namespace testsupport
