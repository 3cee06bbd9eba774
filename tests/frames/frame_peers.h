// Camera stand-ins for the receiver tests, on loopback: a TCP peer that streams scripted bytes to each
// connection it accepts, and a UDP peer that answers the handshake and sends a scripted fragment train
// after the handshake and after each next-frame request. Both stop by themselves within 30 s.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SarvikSDK.h"

namespace frametest {

using Bytes = std::vector<uint8_t>;

// Header + samples as a camera sends them; encoded payloads set the encoded length.
Bytes frame_bytes(uint16_t width, uint16_t height, const std::vector<int16_t> &samples, bool encoded,
                  uint8_t mark = 0);
_DataFrameHeader frame_header(uint16_t width, uint16_t height, int32_t encodedLength, uint8_t mark = 0);
Bytes header_bytes(const _DataFrameHeader &h);
// A smooth test scene: a ramp with a warm square, so delta-run runs are long.
std::vector<int16_t> scene(uint16_t width, uint16_t height, int seed);

uint32_t ip_host_order(const std::string &ip);

struct Connection {
    Bytes bytes;            // streamed to the receiver
    size_t pieceSize = 0;   // sent in pieces of this size (0: all at once)
    int pauseMs = 0;        // between pieces
    bool closeAfter = false;  // close once sent; otherwise hold the connection until the peer ends
};

// Serves connections[k] to the k-th connection it accepts; once all are served it stops listening, so a
// further connect is refused.
class TcpStreamPeer {
public:
    TcpStreamPeer(const std::string &ip, uint16_t port, std::vector<Connection> connections);
    ~TcpStreamPeer();
    bool listening() const { return listening_; }
    int accepted() const { return accepted_; }

private:
    void loop();
    int listenFd_ = -1;  // the serving thread's once it runs
    bool listening_ = false;
    std::vector<Connection> connections_;
    std::vector<int> held_;
    std::atomic<int> accepted_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

using Train = std::vector<Bytes>;  // datagrams

Bytes fragment(uint16_t number, uint16_t flags, const Bytes &payload, int announcedLength = -1);
// The frame cut into full fragments numbered from first, flagged first and last.
Train split_frame(const Bytes &frame, uint16_t first, size_t payloadPerFragment = SARVIK_UDP_MAX_PAYLOAD);
Bytes control(uint16_t status, uint16_t type, uint16_t port);

class UdpCameraPeer {
public:
    // reply: answer to an open request (empty: none); trains[0] follows the reply, trains[k] the k-th
    // next-frame request.
    UdpCameraPeer(const std::string &ip, uint16_t port, Bytes reply, std::vector<Train> trains);
    ~UdpCameraPeer();
    bool bound() const { return fd_ >= 0; }
    // Control datagrams received so far.
    std::vector<Bytes> controls();
    // Waits (at most 5 s) until n control datagrams have arrived.
    bool wait_controls(size_t n);

private:
    void loop();
    void send_train(const Train &t, const void *to, unsigned toLen);
    int fd_ = -1;
    Bytes reply_;
    std::vector<Train> trains_;
    std::mutex mutex_;
    std::vector<Bytes> controls_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace frametest
