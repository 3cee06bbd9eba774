// FrameRecverUdp: the train and frame checks on hand-built datagrams, then the handshake, reassembly and
// next-frame requests against an in-test camera on loopback.
#include <gtest/gtest.h>

#include <cstring>

#include "frame_peers.h"
#include "frame_recver_udp.h"
#include "frames_fixture.h"

using namespace sarvik;
using namespace frametest;

namespace {

constexpr uint16_t kControlPort = 55508;
constexpr uint16_t kDataPort = 40000;

// A receive area as the receiver keeps it: one 65507-byte slot per datagram.
struct Area {
    explicit Area(const Train &t) : bytes(t.size() * kUdpDatagramMax + 1, 0xee) {
        for (size_t i = 0; i < t.size(); ++i) {
            std::memcpy(bytes.data() + i * kUdpDatagramMax, t[i].data(), t[i].size());
            sizes.push_back(static_cast<int>(t[i].size()));
        }
    }
    int check(size_t maxFrame, Bytes &out) const {
        return udp_train_check(bytes.data(), sizes.data(), static_cast<int>(sizes.size()), maxFrame, out.data(),
                               out.size());
    }
    Bytes bytes;
    std::vector<int> sizes;
};

Bytes iota_bytes(size_t n, uint8_t start) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(start + i);
    return b;
}

UdpControl as_control(const Bytes &b) {
    UdpControl c{};
    std::memcpy(&c, b.data(), std::min(b.size(), sizeof c));
    return c;
}

}  // namespace

TEST(UdpTrainCheck, PayloadsAreJoinedInOrder) {
    const Bytes a = iota_bytes(100, 0), b = iota_bytes(50, 100), c = iota_bytes(7, 150);
    Area area({fragment(7, SARVIK_UDP_FIRST, a), fragment(8, 0, b), fragment(9, SARVIK_UDP_LAST, c)});
    Bytes out(200, 0);
    ASSERT_EQ(area.check(157, out), 157);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 157), iota_bytes(157, 0));
    EXPECT_EQ(out[157], 0);
}

TEST(UdpTrainCheck, FragmentNumbersMustRiseByOneAcrossTheWrap) {
    Bytes out(300);
    const Bytes p = iota_bytes(10, 1);
    EXPECT_EQ(Area({fragment(65535, SARVIK_UDP_FIRST, p), fragment(0, 0, p), fragment(1, SARVIK_UDP_LAST, p)})
                  .check(300, out),
              30);
    EXPECT_EQ(Area({fragment(7, SARVIK_UDP_FIRST, p), fragment(8, 0, p), fragment(10, SARVIK_UDP_LAST, p)})
                  .check(300, out),
              -11);
    EXPECT_EQ(Area({fragment(8, SARVIK_UDP_FIRST, p), fragment(7, SARVIK_UDP_LAST, p)}).check(300, out), -11);
    EXPECT_EQ(Area({fragment(8, SARVIK_UDP_FIRST, p), fragment(8, SARVIK_UDP_LAST, p)}).check(300, out), -11);
}

TEST(UdpTrainCheck, FirstAndLastFlagsMustFrameTheTrain) {
    Bytes out(300);
    const Bytes p = iota_bytes(10, 1);
    EXPECT_EQ(Area({fragment(1, 0, p), fragment(2, SARVIK_UDP_LAST, p)}).check(300, out), -11);
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST, p), fragment(2, 0, p)}).check(300, out), -11);
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, p)}).check(300, out), 10);
    EXPECT_EQ(udp_train_check(nullptr, nullptr, 0, 300, out.data(), out.size()), -11);
}

TEST(UdpTrainCheck, AnnouncedLengthsMustBeThereAndWithinLimits) {
    Bytes out(70000 * 2);
    const Bytes p = iota_bytes(10, 1);
    // More than the datagram brought: the bytes after it are an earlier train's.
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, p, 11)}).check(300, out), -11);
    // Over 65495, in a full-size datagram.
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, Bytes(kUdpPayloadMax, 1), 65496)})
                  .check(out.size(), out),
              -11);
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, Bytes(kUdpPayloadMax, 1))}).check(out.size(), out),
              static_cast<int>(kUdpPayloadMax));
    // Too short to hold a fragment header.
    Train shortOne = {fragment(1, SARVIK_UDP_FIRST, p), Bytes{2, 0, SARVIK_UDP_LAST, 0}};
    EXPECT_EQ(Area(shortOne).check(300, out), -11);
    // A shorter announced length is taken as it is.
    EXPECT_EQ(Area({fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, p, 4)}).check(300, out), 4);
}

TEST(UdpTrainCheck, SumOverTheMaximumFrameOrTheCallersBuffer) {
    const Bytes p = iota_bytes(100, 1);
    Area area({fragment(1, SARVIK_UDP_FIRST, p), fragment(2, SARVIK_UDP_LAST, p)});
    Bytes out(200);
    EXPECT_EQ(area.check(199, out), -11);
    EXPECT_EQ(area.check(200, out), 200);
    Bytes small(150, 0);  // on the heap, exactly this long: ASan sees any write past it
    EXPECT_EQ(area.check(200, small), -8);
}

TEST(UdpFrameCheck, EncodedFrameDecodesAndItsHeaderReadsRaw) {
    const uint16_t w = 16, h = 8;
    const std::vector<int16_t> samples = scene(w, h, 2);
    const Bytes frame = frame_bytes(w, h, samples, true, 9);
    Slot s(w, h);
    ASSERT_EQ(udp_frame_check(frame.data(), frame.size(), w, h, &s.frame), 0);
    EXPECT_EQ(s.samples(), samples);
    EXPECT_EQ(s.frame.header->encodedLength, 0);
    EXPECT_EQ(s.frame.header->reserved_56[5], 14);
}

TEST(UdpFrameCheck, SizesDimensionsAndEncodingAreChecked) {
    const uint16_t w = 16, h = 8;
    const size_t n = w * h;
    Slot s(w, h);
    s.frame.header->slope = 77;  // must survive every rejected frame
    const Bytes raw = frame_bytes(w, h, scene(w, h, 3), false);
    // Raw frames must bring every sample.
    EXPECT_EQ(udp_frame_check(raw.data(), raw.size() - 2, w, h, &s.frame), -11);
    // Too long for any frame of this size.
    Bytes longer = raw;
    longer.push_back(0);
    EXPECT_EQ(udp_frame_check(longer.data(), longer.size(), w, h, &s.frame), -11);
    // Dimensions of another camera.
    EXPECT_EQ(udp_frame_check(raw.data(), raw.size(), w, h + 1, &s.frame), -11);
    // An encoded frame no longer than w x h + 128 bytes.
    Bytes enc = frame_bytes(w, h, std::vector<int16_t>(n, 5), true);
    ASSERT_GT(enc.size(), n + 128);
    EXPECT_EQ(udp_frame_check(enc.data(), n + 128, w, h, &s.frame), -11);
    // Runs that do not decode.
    Bytes bad = frame_bytes(w, h, scene(w, h, 4), true);
    const int32_t b = 13;
    std::memcpy(bad.data() + 128 + 4, &b, 4);
    EXPECT_EQ(udp_frame_check(bad.data(), bad.size(), w, h, &s.frame), -11);
    EXPECT_EQ(s.frame.header->slope, 77);
}

class UdpReceiver : public ReceiverTest {
protected:
    struct Udp {
        Udp(uint16_t w, uint16_t h) : r(frame_recver_udp_create(w, h)) {}
        ~Udp() { frame_recver_udp_free(&r); }
        int start(const std::string &ip) { return FR_Start(r, ip_host_order(ip), kControlPort); }
        FrameRecverUdp *r;
    };
    static Bytes ok_reply() { return control(1, SARVIK_UDP_CTRL_OPEN_REPLY, kDataPort); }
    static void expect_next_frame_request(const Bytes &c) {
        ASSERT_EQ(c.size(), 524u);
        const UdpControl u = as_control(c);
        EXPECT_EQ(u.msgType, SARVIK_UDP_CTRL_NEXT_FRAME);
        EXPECT_EQ(u.status, 1) << "the open reply's bytes, type changed";
        EXPECT_EQ(u.port, kDataPort);
        EXPECT_EQ(u.reserved_14[0], 0x77);
    }
};

TEST_F(UdpReceiver, HandshakeLearnsTheDataPortAndLogsBothEnds) {
    const std::string ip = "127.0.5.40";
    UdpCameraPeer peer(ip, kControlPort, ok_reply(), {});
    ASSERT_TRUE(peer.bound());
    Udp u(64, 48);
    ASSERT_EQ(u.start(ip), 0);
    ASSERT_GE(u.r->fd, 0);
    ASSERT_EQ(peer.controls().size(), 1u);
    const Bytes req = peer.controls()[0];
    ASSERT_EQ(req.size(), 524u);
    EXPECT_EQ(as_control(req).msgType, SARVIK_UDP_CTRL_OPEN);
    EXPECT_EQ(as_control(req).status, 0);
    EXPECT_EQ(Bytes(req.begin() + 4, req.end()), Bytes(520, 0)) << "a new receiver sends zeros";
    EXPECT_EQ(ntohs(u.r->dataAddr.sin_port), kDataPort);
    EXPECT_TRUE(logged(":\nserver, 127.0.5.40:40000\n\n")) << log();
    EXPECT_TRUE(logged(":\nlocal, 0.0.0.0:" + std::to_string(ntohs(u.r->localAddr.sin_port)) + "\n\n")) << log();
}

TEST_F(UdpReceiver, MalformedOrMissingRepliesEndTheOpen) {
    short_recv_timeout();
    const std::string ip = "127.0.5.41";
    struct Case {
        Bytes reply;
        int expected;
    };
    Bytes shortReply = ok_reply();
    shortReply.pop_back();
    Bytes longReply = ok_reply();
    longReply.push_back(0);
    const Case cases[] = {
        {shortReply, -97},
        {longReply, -97},
        {control(0, SARVIK_UDP_CTRL_OPEN_REPLY, kDataPort), -95},
        {control(1, SARVIK_UDP_CTRL_OPEN_REPLY + 1, kDataPort), -95},
        {control(1, SARVIK_UDP_CTRL_OPEN_REPLY, 0), -95},
        {Bytes(), -97},  // silence
    };
    Udp u(64, 48);
    for (const Case &c : cases) {
        UdpCameraPeer peer(ip, kControlPort, c.reply, {});
        ASSERT_TRUE(peer.bound());
        EXPECT_EQ(u.start(ip), c.expected) << c.reply.size();
        EXPECT_EQ(u.r->fd, -1);
    }
    EXPECT_FALSE(logged("server, ")) << log();
}

TEST_F(UdpReceiver, StraysAreDroppedAndOneDatagramCanBeAWholeFrame) {
    const std::string ip = "127.0.5.42";
    const uint16_t w = 64, h = 48;
    const std::vector<int16_t> samples = scene(w, h, 11);
    const Bytes frame = frame_bytes(w, h, samples, false, 2);
    const Train train = {fragment(3, 0, Bytes(100, 1)), fragment(4, SARVIK_UDP_LAST, Bytes(100, 2)),
                         fragment(5, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, frame)};
    UdpCameraPeer peer(ip, kControlPort, ok_reply(), {train});
    Udp u(w, h);
    ASSERT_EQ(u.r->fragmentCapacity, 1);
    ASSERT_EQ(u.start(ip), 0);
    Slot s(w, h);
    ASSERT_EQ(frame_recver_udp_receive(u.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), samples);
    EXPECT_EQ(0, std::memcmp(s.frame.header, frame.data(), 128));
    ASSERT_TRUE(peer.wait_controls(2));
    expect_next_frame_request(peer.controls()[1]);
}

TEST_F(UdpReceiver, FragmentsAreReassembledFrameAfterFrame) {
    const std::string ip = "127.0.5.43";
    const uint16_t w = 384, h = 288;
    const std::vector<int16_t> a = scene(w, h, 12), b = scene(w, h, 13);
    const Train rawTrain = split_frame(frame_bytes(w, h, a, false, 1), 65534);
    const Train encTrain = split_frame(frame_bytes(w, h, b, true, 2), 2);
    ASSERT_EQ(rawTrain.size(), 4u);
    ASSERT_EQ(encTrain.size(), 2u);
    UdpCameraPeer peer(ip, kControlPort, ok_reply(), {rawTrain, encTrain});
    Udp u(w, h);
    ASSERT_EQ(u.r->fragmentCapacity, 4);
    ASSERT_EQ(u.start(ip), 0);
    Slot s(w, h);
    ASSERT_EQ(frame_recver_udp_receive(u.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
    ASSERT_EQ(frame_recver_udp_receive(u.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), b);
    EXPECT_EQ(s.frame.header->encodedLength, 0);
    ASSERT_TRUE(peer.wait_controls(3));
}

TEST_F(UdpReceiver, AFragmentGapFailsTheFrameAndTheNextIsStillRequested) {
    const std::string ip = "127.0.5.44";
    const uint16_t w = 384, h = 288;
    const std::vector<int16_t> a = scene(w, h, 14);
    Train gap = split_frame(frame_bytes(w, h, scene(w, h, 15), false), 7);
    // Renumber 7, 8, 10, 11.
    for (size_t i = 2; i < gap.size(); ++i) {
        const uint16_t n = static_cast<uint16_t>(8 + i);
        std::memcpy(gap[i].data(), &n, 2);
    }
    UdpCameraPeer peer(ip, kControlPort, ok_reply(), {gap, split_frame(frame_bytes(w, h, a, false), 20)});
    Udp u(w, h);
    ASSERT_EQ(u.start(ip), 0);
    Slot s(w, h);
    EXPECT_EQ(frame_recver_udp_receive(u.r, &s.frame), -11);
    ASSERT_TRUE(peer.wait_controls(2));
    expect_next_frame_request(peer.controls()[1]);
    ASSERT_EQ(frame_recver_udp_receive(u.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
}

TEST_F(UdpReceiver, TrainLongerThanTheReceiveAreaFails) {
    const std::string ip = "127.0.5.45";
    const uint16_t w = 64, h = 48;
    const std::vector<int16_t> a = scene(w, h, 16);
    // Capacity 1: a first fragment without the last flag already fills the area.
    const Train tooLong = {fragment(1, SARVIK_UDP_FIRST, Bytes(1000, 1)), fragment(2, SARVIK_UDP_LAST, Bytes(1000, 2))};
    UdpCameraPeer peer(ip, kControlPort, ok_reply(),
                       {tooLong, {fragment(9, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, frame_bytes(w, h, a, false))}});
    Udp u(w, h);
    ASSERT_EQ(u.start(ip), 0);
    Slot s(w, h);
    EXPECT_EQ(frame_recver_udp_receive(u.r, &s.frame), -95);
    ASSERT_TRUE(peer.wait_controls(2));
    // The leftover fragment of the long train is dropped while waiting for the next first fragment.
    ASSERT_EQ(frame_recver_udp_receive(u.r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
}

TEST_F(UdpReceiver, MissingLastFragmentTimesOutAndStillRequestsTheNext) {
    short_recv_timeout();
    const std::string ip = "127.0.5.46";
    const uint16_t w = 384, h = 288;
    Train cut = split_frame(frame_bytes(w, h, scene(w, h, 17), false), 1);
    cut.pop_back();
    UdpCameraPeer peer(ip, kControlPort, ok_reply(), {cut});
    Udp u(w, h);
    ASSERT_EQ(u.start(ip), 0);
    Slot s(w, h);
    EXPECT_EQ(frame_recver_udp_receive(u.r, &s.frame), -97);
    EXPECT_TRUE(logged(":\nwsae 11\n\n")) << log();
    ASSERT_TRUE(peer.wait_controls(2));
    expect_next_frame_request(peer.controls()[1]);
}

TEST_F(UdpReceiver, StateCodesAndTheOperationsTable) {
    const std::string ip = "127.0.5.48";
    const uint16_t w = 64, h = 48;
    const std::vector<int16_t> a = scene(w, h, 19);
    UdpCameraPeer peer(ip, kControlPort, ok_reply(),
                       {{fragment(1, SARVIK_UDP_FIRST | SARVIK_UDP_LAST, frame_bytes(w, h, a, true))}});
    const FrameRecverOps *ops = frame_recver_ops(1);
    ASSERT_EQ(ops, &FrameRecverUdpOps);
    void *r = ops->create(w, h);
    ASSERT_NE(r, nullptr);
    Slot s(w, h);
    EXPECT_EQ(ops->receive(r, &s.frame), -7);
    ASSERT_EQ(ops->open(r, ip_host_order(ip), kControlPort), 0);
    auto *udp = static_cast<FrameRecverUdp *>(r);
    Bytes small(udp->maxFrameSize - 1);
    EXPECT_EQ(FR_RecvRaw(udp, small.data(), small.size()), -8);
    EXPECT_EQ(ops->receive(r, nullptr), -8);
    ASSERT_EQ(ops->receive(r, &s.frame), 0);
    EXPECT_EQ(s.samples(), a);
    ops->close(r);
    EXPECT_EQ(udp->fd, -1);
    EXPECT_EQ(ops->receive(r, &s.frame), -7);
    ops->free(&r);
    EXPECT_EQ(r, nullptr);
    EXPECT_EQ(frame_recver_udp_create(0, 1), nullptr);
    // 2 x w x h + 128 must count in an int.
    EXPECT_EQ(frame_recver_udp_create(65535, 65535), nullptr);
}
