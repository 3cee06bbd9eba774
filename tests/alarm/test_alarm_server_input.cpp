// What the alarm server does with clients that send bad, oversized, slow or no blocks, and how quickly it
// stops while such a client holds a connection.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "alarm_test_util.h"

using namespace alarmtest;

namespace {

class AlarmServerInput : public ServerTest {
protected:
    // A good block still gets through afterwards: the worker survived what came before. Its connection
    // ends in order, which is how its client learns that the block arrived.
    void expect_still_serving(const char *ip, uint16_t port, size_t listedBefore) {
        RawClient c(ip, port);
        ASSERT_TRUE(c.connected());
        ASSERT_TRUE(c.send_bytes(make_block(1, "good", {{SARVIK_ALARM_PART_TXT, "ok"}})));
        ASSERT_TRUE(received.wait_for(listedBefore + 1));
        EXPECT_STREQ(as_block(received.blocks.back())->sender, "good");
        EXPECT_STREQ(end_name(c.end_within(5000)), "orderly close");
    }
};

}  // namespace

TEST_F(AlarmServerInput, BlocksThatDisagreeWithThemselvesAreDropped) {
    start("127.0.4.20", 47020, 5000);
    const std::vector<Bytes> bad = {
        raw_header(600, {10}),                             // total and part lengths disagree
        raw_header(511, {}),                               // shorter than a header
        raw_header(512, {10, -10}),                        // a negative length balancing the sum
        raw_header(1032, {INT32_MAX, INT32_MAX, 2, 520}),  // agrees only in a 32-bit sum
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        RawClient c("127.0.4.20", 47020);
        ASSERT_TRUE(c.connected());
        Bytes msg = bad[i];
        msg.resize(msg.size() + 88, 0x55);
        c.send_bytes(msg);
        // A reset, never an orderly close: a client would take that for a delivery.
        EXPECT_STREQ(end_name(c.end_within(4000)), "reset") << "case " << i;
        EXPECT_EQ(AlarmData_Save(as_block(bad[i]), "/tmp", 0, nullptr, 0), SARVIK_ERR_MALFORMED)
            << "case " << i;
    }
    EXPECT_EQ(received.count(), 0u) << "nothing is listed";
    expect_still_serving("127.0.4.20", 47020, 0);
}

TEST_F(AlarmServerInput, OversizedBlockIsRefusedFromItsHeaderAlone) {
    // With a long time-out, a server waiting for the announced bytes would keep the connection open.
    start("127.0.4.21", 47021, 30000);
    RawClient c("127.0.4.21", 47021);
    ASSERT_TRUE(c.connected());
    ASSERT_TRUE(c.send_bytes(raw_header(SARVIK_ALARM_MAX_SIZE + 1, {SARVIK_ALARM_MAX_SIZE + 1 - 512})));
    EXPECT_STREQ(end_name(c.end_within(10000)), "reset");
    EXPECT_EQ(received.count(), 0u);
    expect_still_serving("127.0.4.21", 47021, 0);
}

TEST_F(AlarmServerInput, BlockOfExactly16MiBIsAccepted) {
    start("127.0.4.22", 47022, 30000);
    Bytes big(SARVIK_ALARM_MAX_SIZE, 0);
    Bytes h = raw_header(SARVIK_ALARM_MAX_SIZE, {SARVIK_ALARM_MAX_SIZE - 1000 - 512, 1000});
    std::memcpy(big.data(), h.data(), h.size());
    big.back() = 0x7e;
    RawClient c("127.0.4.22", 47022);
    ASSERT_TRUE(c.connected());
    ASSERT_TRUE(c.send_bytes(big));
    ASSERT_TRUE(received.wait_for(1, 30000));
    EXPECT_STREQ(end_name(c.end_within(5000)), "orderly close");
    EXPECT_EQ(received.blocks[0].size(), big.size());
    EXPECT_EQ(received.blocks[0].back(), 0x7e);
}

TEST_F(AlarmServerInput, SilentClientIsLetGoAfterTheTimeOut) {
    start("127.0.4.23", 47023, 300);
    RawClient silent("127.0.4.23", 47023);
    ASSERT_TRUE(silent.connected());
    Bytes half = make_block(1, "half", {{SARVIK_ALARM_PART_TXT, std::string(100, 't')}});
    half.resize(300);
    ASSERT_TRUE(silent.send_bytes(half));
    EXPECT_STREQ(end_name(silent.end_within(10000)), "reset");
    EXPECT_EQ(received.count(), 0u);
    expect_still_serving("127.0.4.23", 47023, 0);
}

TEST_F(AlarmServerInput, TricklingClientCannotStretchTheTimeOut) {
    // One byte every 50 ms would take 25 s for a header; a per-receive time-out of 500 ms never fires.
    start("127.0.4.24", 47024, 500);
    RawClient slow("127.0.4.24", 47024);
    ASSERT_TRUE(slow.connected());
    Bytes block = make_block(1, "slow", {});
    size_t sent = 0;
    bool closed = false;
    while (sent < block.size() && !closed) {
        if (!slow.send_bytes(&block[sent], 1)) break;
        ++sent;
        closed = slow.closed_by_server_within(50);
    }
    EXPECT_TRUE(closed || sent < block.size()) << "the server waited for the whole trickle";
    EXPECT_EQ(received.count(), 0u);
    expect_still_serving("127.0.4.24", 47024, 0);
}

TEST_F(AlarmServerInput, StopReturnsPromptlyWhileAClientHoldsAConnection) {
    start("127.0.4.25", 47025, 60000);
    expect_still_serving("127.0.4.25", 47025, 0);  // the worker is in its loop and one block is listed
    RawClient holder("127.0.4.25", 47025);
    ASSERT_TRUE(holder.connected());
    ASSERT_TRUE(holder.send_bytes(raw_header(1024, {512})));  // header only: the worker waits for the rest
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    auto stopped = std::async(std::launch::async, [this] { return AlarmServer_Stop(server); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "stop waited for the client's time-out";
    EXPECT_EQ(stopped.get(), 0);
    EXPECT_STREQ(end_name(holder.end_within(5000)), "reset") << "its client must not count it delivered";
    EXPECT_EQ(received.count(), 1u) << "the cut-off block is not listed";
    // The listed block was freed by Stop (the leak checker would tell otherwise) and is no longer known.
    EXPECT_EQ(AlarmServer_FreeData(server, received.lent[0]), 0);
    RawClient late("127.0.4.25", 47025);
    EXPECT_FALSE(late.connected()) << "the listening socket is closed";
}
