// FrameRecverTcp against an in-test camera on loopback: exact frames from partial reads, malformed headers
// and payloads, a peer that goes away, and resynchronisation by reconnecting.
#include <gtest/gtest.h>

#include <cstring>

#include "frame_peers.h"
#include "frame_recver_tcp.h"
#include "frames_fixture.h"

using namespace sarvik;
using namespace frametest;

namespace {

constexpr uint16_t kPort = 55503;
constexpr uint16_t kW = 384, kH = 288;

struct Tcp {
    Tcp(uint16_t w = kW, uint16_t h = kH) : r(frame_recver_tcp_create(w, h)) {}
    ~Tcp() { frame_recver_tcp_free(&r); }
    int open(const std::string &ip) { return frame_recver_tcp_open(r, ip_host_order(ip), kPort); }
    FrameRecverTcp *r;
};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The slot's header equals h except for the encoded length, which must read 0.
void expect_header(const _DataFrame &f, _DataFrameHeader h) {
    h.encodedLength = 0;
    EXPECT_EQ(0, std::memcmp(f.header, &h, sizeof h));
}

}  // namespace

class TcpReceiver : public ReceiverTest {};

TEST_F(TcpReceiver, FramesArrivingInManyPiecesAreAssembledExactly) {
    const std::string ip = "127.0.5.10";
    const std::vector<int16_t> a = scene(kW, kH, 1), b = scene(kW, kH, 2);
    const Bytes rawFrame = frame_bytes(kW, kH, a, false, 3);
    const Bytes encFrame = frame_bytes(kW, kH, b, true, 4);
    // 509-byte pieces: the second header straddles two of them.
    TcpStreamPeer peer(ip, kPort, {{concat({rawFrame, encFrame}), 509, 1, false}});
    ASSERT_TRUE(peer.listening());
    Tcp t;
    ASSERT_EQ(t.open(ip), 0);
    Slot s(kW, kH);
    ASSERT_EQ(FR_Recv(t.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
    expect_header(s.frame, frame_header(kW, kH, 0, 3));
    ASSERT_EQ(FR_Recv(t.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), b);
    expect_header(s.frame, frame_header(kW, kH, 0, 4));
    EXPECT_EQ(peer.accepted(), 1);
}

TEST_F(TcpReceiver, HeaderOfAnotherSizeIsRejectedLoggedAndTheStreamPickedUpAgain) {
    const std::string ip = "127.0.5.11";
    const std::vector<int16_t> good = scene(kW, kH, 5);
    // A 640 x 512 camera's frame, only its start: what follows is never read.
    const Bytes wrong = concat({header_bytes(frame_header(640, 512, 0)), Bytes(5000, 0x11)});
    TcpStreamPeer peer(ip, kPort, {{wrong}, {frame_bytes(kW, kH, good, false)}});
    Tcp t;
    ASSERT_EQ(t.open(ip), 0);
    Slot s(kW, kH);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -11);
    EXPECT_TRUE(logged(":\ninvalid header, width 640, height 512\n\n")) << log();
    EXPECT_GE(t.r->fd, 0) << "reconnected";
    ASSERT_EQ(FR_Recv(t.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), good);
    EXPECT_EQ(peer.accepted(), 2);
}

TEST_F(TcpReceiver, EncodedLengthNotBelowTheRawSizeIsRejectedAndReconnects) {
    const std::string ip = "127.0.5.12";
    const int32_t raw = 2 * kW * kH;
    const std::vector<int16_t> good = scene(kW, kH, 6);
    TcpStreamPeer peer(ip, kPort,
                       {{concat({header_bytes(frame_header(kW, kH, raw)), Bytes(raw, 0)})},
                        {concat({header_bytes(frame_header(kW, kH, -20)), Bytes(64, 0)})},
                        {frame_bytes(kW, kH, good, true)}});
    Tcp t;
    ASSERT_EQ(t.open(ip), 0);
    Slot s(kW, kH);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -11);
    EXPECT_TRUE(logged(":\ninvalid header, encoded length 221184\n\n")) << log();
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -11);
    EXPECT_TRUE(logged(":\ninvalid header, encoded length -20\n\n")) << log();
    ASSERT_EQ(FR_Recv(t.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), good);
    EXPECT_EQ(s.frame.header->encodedLength, 0);
    EXPECT_EQ(peer.accepted(), 3);
}

TEST_F(TcpReceiver, BadRunsDropOnlyThatFrame) {
    const std::string ip = "127.0.5.13";
    const std::vector<int16_t> good = scene(kW, kH, 7);
    Bytes bad = frame_bytes(kW, kH, scene(kW, kH, 8), true);
    const int32_t tooMany = 1 << 30;  // first run's N: far past B
    std::memcpy(bad.data() + 128 + 8 + 2, &tooMany, 4);
    TcpStreamPeer peer(ip, kPort, {{concat({bad, frame_bytes(kW, kH, good, false)})}});
    Tcp t;
    ASSERT_EQ(t.open(ip), 0);
    Slot s(kW, kH);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -11);
    // The payload was read whole, so the stream is still in step: no reconnect needed.
    ASSERT_EQ(FR_Recv(t.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), good);
    EXPECT_EQ(peer.accepted(), 1);
}

TEST_F(TcpReceiver, PeerClosingMidFrameIsAReceiveFailure) {
    const std::string ip = "127.0.5.14";
    const Bytes frame = frame_bytes(kW, kH, scene(kW, kH, 9), false);
    TcpStreamPeer peer(ip, kPort,
                       {{Bytes(frame.begin(), frame.begin() + 128 + 1000), 0, 0, true},
                        {Bytes(frame.begin(), frame.begin() + 100), 0, 0, true}});
    Tcp t;
    Slot s(kW, kH);
    ASSERT_EQ(t.open(ip), 0);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -97);
    EXPECT_TRUE(logged(":\nrecv data error\n\n")) << log();
    frame_recver_tcp_close(t.r);
    ASSERT_EQ(t.open(ip), 0);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -97);
    EXPECT_TRUE(logged(":\nrecv header error, 0\n\n")) << log();
}

TEST_F(TcpReceiver, SilentCameraTimesOut) {
    short_recv_timeout();
    const std::string ip = "127.0.5.15";
    TcpStreamPeer peer(ip, kPort, {{Bytes()}});
    Tcp t;
    Slot s(kW, kH);
    ASSERT_EQ(t.open(ip), 0);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -97);
    EXPECT_TRUE(logged(":\nrecv header error, 11\n\n")) << log();  // EAGAIN
}

TEST_F(TcpReceiver, ResynchronisingAgainstAGoneCameraIsAReceiveFailure) {
    const std::string ip = "127.0.5.16";
    TcpStreamPeer peer(ip, kPort, {{header_bytes(frame_header(kW, kH + 1, 0))}});
    Tcp t;
    Slot s(kW, kH);
    ASSERT_EQ(t.open(ip), 0);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -97) << "the reconnect is refused";
    EXPECT_EQ(t.r->fd, -1);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -7);
}

TEST_F(TcpReceiver, OpenFailuresAndStateCodes) {
    const std::string ip = "127.0.5.17";
    Tcp t;
    Slot s(kW, kH);
    EXPECT_EQ(FR_Recv(t.r, &s.frame), -7);
    EXPECT_EQ(t.open(ip), -99) << "nobody listens";
    EXPECT_EQ(t.r->fd, -1);
    TcpStreamPeer peer(ip, kPort, {{Bytes()}});
    ASSERT_EQ(t.open(ip), 0);
    _DataFrame noScratch = s.frame;
    noScratch.scratch = nullptr;
    EXPECT_EQ(FR_Recv(t.r, &noScratch), -8);
    EXPECT_EQ(FR_Recv(t.r, nullptr), -8);
    frame_recver_tcp_close(t.r);
    EXPECT_EQ(t.r->fd, -1);
    EXPECT_EQ(frame_recver_tcp_create(0, 288), nullptr);
}

TEST_F(TcpReceiver, DrivenThroughTheOperationsTable) {
    const std::string ip = "127.0.5.18";
    const std::vector<int16_t> a = scene(kW, kH, 10);
    TcpStreamPeer peer(ip, kPort, {{frame_bytes(kW, kH, a, true)}});
    const FrameRecverOps *ops = frame_recver_ops(0);
    ASSERT_EQ(ops, &FrameRecverTcpOps);
    void *r = ops->create(kW, kH);
    ASSERT_NE(r, nullptr);
    Slot s(kW, kH);
    EXPECT_EQ(ops->receive(r, &s.frame), -7);
    ASSERT_EQ(ops->open(r, ip_host_order(ip), kPort), 0);
    ASSERT_EQ(ops->receive(r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
    ops->close(r);
    EXPECT_EQ(ops->receive(r, &s.frame), -7);
    ops->free(&r);
    EXPECT_EQ(r, nullptr);
    ops->free(&r);
}
