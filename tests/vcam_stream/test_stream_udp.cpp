// The UDP variant of the virtual camera's stream: the SDK's UDP receiver end to end, and the handshake,
// fragment trains and next-frame requests by hand.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "frame_recver_udp.h"
#include "stream_client.h"
#include "vcam_process.h"

using namespace streamtest;
using testsupport::VcamProcess;

namespace {

constexpr int kUdp = SARVIK_TRANSPORT_UDP;

struct Fragment {
    UdpFragmentHeader head{};
    size_t bytes = 0;
};

class UdpPeer {
public:
    explicit UdpPeer(const std::string &camIp) {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        timeval tv{3, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        const int buf = 4 << 20;
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buf, sizeof buf);
        cam_.sin_family = AF_INET;
        cam_.sin_port = htons(kStreamPort);
        cam_.sin_addr.s_addr = htonl(host_address(camIp));
    }
    ~UdpPeer() { close(fd_); }
    void send_control(uint16_t type, uint16_t status = 0) {
        UdpControl c{};
        c.status = status;
        c.msgType = type;
        sendto(fd_, &c, sizeof c, 0, reinterpret_cast<sockaddr *>(&cam_), sizeof cam_);
    }
    // One datagram; false on time-out.
    bool recv(std::vector<uint8_t> *buf, sockaddr_in *from) {
        buf->resize(SARVIK_UDP_MAX_DATAGRAM + 1);
        socklen_t len = sizeof *from;
        const ssize_t n = recvfrom(fd_, buf->data(), buf->size(), 0, reinterpret_cast<sockaddr *>(from), &len);
        if (n < 0) return false;
        buf->resize(static_cast<size_t>(n));
        return true;
    }
    // A whole train from its first fragment to its last, at most 64 datagrams.
    bool recv_train(std::vector<Fragment> *train, uint16_t *fromPort) {
        train->clear();
        std::vector<uint8_t> buf;
        sockaddr_in from{};
        for (int i = 0; i < 64; ++i) {
            if (!recv(&buf, &from) || buf.size() < sizeof(UdpFragmentHeader)) return false;
            Fragment f;
            std::memcpy(&f.head, buf.data(), sizeof f.head);
            f.bytes = buf.size();
            *fromPort = ntohs(from.sin_port);
            train->push_back(f);
            if (f.head.flags & SARVIK_UDP_LAST) return true;
        }
        return false;
    }

private:
    int fd_ = -1;
    sockaddr_in cam_{};
};

}  // namespace

TEST(VcamStreamUdp, ReceiverGetsRawFramesOfTheScene) {
    const std::string ip = "127.0.6.20";
    VcamProcess cam(ip, {"--size", "640x512", "--fps", "50"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kUdp, 640, 512);
    ASSERT_EQ(c.open(ip), 0);
    int64_t last = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(c.receive_ok(3), 0) << "frame " << i;
        EXPECT_EQ(c.header().width, 640);
        EXPECT_EQ(c.header().slope, 100);
        EXPECT_GT(c.header().timestamp, last);
        last = c.header().timestamp;
    }
    EXPECT_NEAR(c.mean_temp(0, 16, 0, 80), 20.0 + 5.0 * 7.5 / 639, 0.05);
    EXPECT_NEAR(c.mean_temp(624, 640, 0, 80), 20.0 + 5.0 * 631.5 / 639, 0.05);
    EXPECT_NEAR(c.max_temp(), 37.0, 0.1);
}

TEST(VcamStreamUdp, DeltaRunTrainsAreShorterThanRawAndDecode) {
    const std::string ip = "127.0.6.21";
    VcamProcess cam(ip, {"--size", "384x288", "--stream-encoding", "delta"});
    ASSERT_TRUE(cam.ready());
    sarvik::FrameRecverUdp *r = sarvik::frame_recver_udp_create(384, 288);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(sarvik::FR_Start(r, host_address(ip), kStreamPort), 0);
    std::vector<uint8_t> buf(r->maxFrameSize);
    const int total = sarvik::FR_RecvRaw(r, buf.data(), buf.size());
    EXPECT_GT(total, 384 * 288 + 128);
    EXPECT_LT(total, 2 * 384 * 288 + 128);
    _DataFrameHeader h{};
    std::memcpy(&h, buf.data(), sizeof h);
    EXPECT_EQ(h.encodedLength, total - 128);
    sarvik::frame_recver_udp_free(&r);

    StreamClient c(kUdp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive_ok(3), 0);
    EXPECT_NEAR(c.max_temp(), 37.0, 0.1);
}

TEST(VcamStreamUdp, HandshakeThenOneTrainPerRequestWithRunningFragmentNumbers) {
    const std::string ip = "127.0.6.22";
    VcamProcess cam(ip, {"--size", "640x512"});
    ASSERT_TRUE(cam.ready());
    UdpPeer peer(ip);
    peer.send_control(SARVIK_UDP_CTRL_OPEN);
    std::vector<uint8_t> buf;
    sockaddr_in from{};
    ASSERT_TRUE(peer.recv(&buf, &from));
    ASSERT_EQ(buf.size(), sizeof(UdpControl));
    UdpControl reply;
    std::memcpy(&reply, buf.data(), sizeof reply);
    EXPECT_EQ(reply.status, 1);
    EXPECT_EQ(reply.msgType, SARVIK_UDP_CTRL_OPEN_REPLY);
    ASSERT_NE(reply.port, 0);
    EXPECT_EQ(ntohs(from.sin_port), kStreamPort);

    // The first frame comes unasked; 2 x 640 x 512 + 128 bytes take 11 fragments.
    std::vector<Fragment> train;
    uint16_t dataPort = 0;
    ASSERT_TRUE(peer.recv_train(&train, &dataPort));
    EXPECT_EQ(dataPort, reply.port);
    ASSERT_EQ(train.size(), 11u);
    EXPECT_TRUE(train.front().head.flags & SARVIK_UDP_FIRST);
    size_t payload = 0;
    for (size_t i = 0; i < train.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(train[i].head.fragment, static_cast<uint16_t>(train[i - 1].head.fragment + 1));
        }
        EXPECT_LE(train[i].head.payloadLength, SARVIK_UDP_MAX_PAYLOAD);
        EXPECT_EQ(train[i].bytes, sizeof(UdpFragmentHeader) + train[i].head.payloadLength);
        payload += train[i].head.payloadLength;
    }
    EXPECT_EQ(payload, 2u * 640 * 512 + 128);

    const uint16_t next = static_cast<uint16_t>(train.back().head.fragment + 1);
    peer.send_control(SARVIK_UDP_CTRL_NEXT_FRAME, 1);
    ASSERT_TRUE(peer.recv_train(&train, &dataPort));
    EXPECT_EQ(train.front().head.fragment, next) << "fragment numbers run on across frames";
    EXPECT_TRUE(train.front().head.flags & SARVIK_UDP_FIRST);
}

TEST(VcamStreamUdp, DroppedStreamIsSeenAsBrokenAndANewOpenResumes) {
    const std::string ip = "127.0.6.23";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-drop", "2"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kUdp, 384, 288);
    EXPECT_EQ(drop_and_reconnect(c, ip, 2), "");
}

TEST(VcamStreamUdp, MalformedFramesAreRefused) {
    const std::string ip = "127.0.6.24";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-malformed", "2"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kUdp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.receive(), -11);
    EXPECT_EQ(c.receive(), 0);
}
