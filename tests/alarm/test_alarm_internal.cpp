// The server's incremental block reader, fed in pieces and from a socket pair, and the diagnostic lines both
// alarm ends write.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <regex>
#include <string>

#include "alarm_conn_reader.h"
#include "alarm_socket.h"
#include "alarm_test_util.h"
#include "zq_logger.h"

using namespace alarmtest;
using namespace sarvik;

namespace {

// The test holds one end, the reader gets the other.
class SocketPair {
public:
    SocketPair() {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fd_) != 0) fd_[0] = fd_[1] = -1;
    }
    ~SocketPair() {
        close_writer();
        if (fd_[0] >= 0) close(fd_[0]);
    }
    int reader() const { return fd_[0]; }
    bool write(const Bytes &b) {
        return ::write(fd_[1], b.data(), b.size()) == static_cast<ssize_t>(b.size());
    }
    void close_writer() {
        if (fd_[1] >= 0) close(fd_[1]);
        fd_[1] = -1;
    }

private:
    int fd_[2];
};

// What the reader made of a stream fed in pieces of a given size: the status the server would log (-97 when
// the stream ends first) and the block, if any.
struct Outcome {
    int status;
    Bytes block;
    int64_t eventTime;
    size_t used;  // bytes of the stream the reader took
};

Outcome read_in_pieces(const Bytes &stream, size_t piece) {
    AlarmConnReader r;
    size_t used = 0;
    for (int rounds = 0; rounds < 1000000; ++rounds) {
        if (r.state() == AlarmConnReader::kAdmit) {
            // Nothing is allocated for a header alone.
            if (r.allocated() != 0) return {-1000, {}, 0, used};
            r.allocate();
        }
        if (used == stream.size() || r.want() == 0) break;
        used += r.feed(stream.data() + used, std::min(piece, stream.size() - used));
    }
    Outcome o{SARVIK_ERR_RECV, {}, 0, used};
    if (r.state() == AlarmConnReader::kFailed) o.status = r.error();
    if (AlarmDataHeader *b = r.take()) {
        const uint8_t *p = reinterpret_cast<const uint8_t *>(b);
        o.block.assign(p, p + b->totalSize);
        o.eventTime = b->eventTime;
        o.status = 0;
        std::free(b);
    }
    return o;
}

Bytes with_tail(Bytes b, size_t extra, uint8_t fill) {
    b.resize(b.size() + extra, fill);
    return b;
}

Bytes cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}

}  // namespace

TEST(AlarmConnReader, SameOutcomeWhateverThePiecesTheBytesArriveIn) {
    const Bytes twoParts = make_block(
        1, "cam", {{SARVIK_ALARM_PART_TXT, "hello"}, {SARVIK_ALARM_PART_JPG, std::string(3000, 'j')}});
    const Bytes headerOnly = make_block(0, "bare", {});
    struct Case {
        const char *what;
        Bytes stream;
        int status;
        size_t used;  // of the stream
    };
    const Case cases[] = {
        {"whole block", twoParts, 0, twoParts.size()},
        {"header-only block", headerOnly, 0, 512},
        {"bytes after the block are not read", with_tail(twoParts, 100, 0xee), 0, twoParts.size()},
        {"total and part lengths disagree", with_tail(raw_header(600, {10}), 88, 0x55), SARVIK_ERR_BAD_HEADER,
         512},
        {"shorter than a header", raw_header(511, {}), SARVIK_ERR_BAD_HEADER, 512},
        {"negative length balancing the sum", raw_header(512, {10, -10}), SARVIK_ERR_BAD_HEADER, 512},
        {"oversized, judged from the header alone",
         raw_header(SARVIK_ALARM_MAX_SIZE + 1, {SARVIK_ALARM_MAX_SIZE + 1 - 512}), SARVIK_ERR_BAD_HEADER,
         512},
        {"header cut short", cut(twoParts, 300), SARVIK_ERR_RECV, 300},
        {"parts cut short", cut(twoParts, twoParts.size() - 1), SARVIK_ERR_RECV, twoParts.size() - 1},
        {"nothing at all", {}, SARVIK_ERR_RECV, 0},
    };
    for (const Case &c : cases) {
        for (size_t piece : {size_t{1}, size_t{7}, size_t{512}, size_t{513}, size_t{1} << 20}) {
            SCOPED_TRACE(std::string(c.what) + ", pieces of " + std::to_string(piece));
            const int64_t before = ticks_now();
            const Outcome o = read_in_pieces(c.stream, piece);
            EXPECT_EQ(o.status, c.status);
            EXPECT_EQ(o.used, c.used);
            if (c.status != 0) {
                EXPECT_TRUE(o.block.empty());
                continue;
            }
            ASSERT_EQ(o.block.size(), c.used);
            EXPECT_GE(o.eventTime, before - 20000000) << "the time of receipt, not the sender's";
            EXPECT_LE(o.eventTime, ticks_now() + 20000000);
            Bytes expect(c.stream.begin(), c.stream.begin() + static_cast<ptrdiff_t>(c.used));
            std::memcpy(expect.data() + offsetof(AlarmDataHeader, eventTime), &o.eventTime,
                        sizeof o.eventTime);
            EXPECT_EQ(o.block, expect);
        }
    }
}

TEST(AlarmConnReader, AllocationFollowsTheHeaderAndEndsWithTheBlock) {
    const Bytes b = make_block(1, "cam", {{SARVIK_ALARM_PART_TXT, std::string(1000, 't')}});
    AlarmConnReader r;
    EXPECT_EQ(r.feed(b.data(), 512), 512u);
    ASSERT_EQ(r.state(), AlarmConnReader::kAdmit);
    EXPECT_EQ(r.total(), b.size());
    EXPECT_EQ(r.want(), 0u) << "nothing more is read before the block is admitted";
    EXPECT_EQ(r.allocated(), 0u);
    ASSERT_EQ(r.allocate(), 0);
    EXPECT_EQ(r.state(), AlarmConnReader::kBody);
    EXPECT_EQ(r.allocated(), b.size());
    EXPECT_EQ(r.want(), b.size() - 512);
    EXPECT_EQ(r.take(), nullptr) << "not complete yet";

    // Giving up frees the half-received block (the leak checker would tell otherwise).
    r.fail(SARVIK_ERR_NO_MEMORY);
    EXPECT_EQ(r.state(), AlarmConnReader::kFailed);
    EXPECT_EQ(r.error(), SARVIK_ERR_NO_MEMORY);
    EXPECT_EQ(r.allocated(), 0u);
    EXPECT_EQ(r.want(), 0u);

    // reset() starts over; it frees a half-received block too.
    r.reset();
    EXPECT_EQ(r.feed(b.data(), b.size()), 512u);
    ASSERT_EQ(r.allocate(), 0);
    EXPECT_EQ(r.feed(b.data() + 512, 10), 10u);
    r.reset();
    EXPECT_EQ(r.state(), AlarmConnReader::kHeader);
    EXPECT_EQ(r.allocated(), 0u);
}

TEST(AlarmConnRead, TakesWhatTheSocketHoldsWithoutWaiting) {
    const Bytes b = make_block(1, "cam", {{SARVIK_ALARM_PART_JPG, std::string(5000, 'j')}});
    {
        // In two writes, with a read bound in between: each read takes only what is there and allowed.
        SocketPair p;
        AlarmConnReader r;
        ASSERT_TRUE(p.write(Bytes(b.begin(), b.begin() + 2000)));
        EXPECT_EQ(alarm_conn_read(p.reader(), &r, 100), 100u);
        EXPECT_EQ(alarm_conn_read(p.reader(), &r, 1 << 20), 412u) << "the header, then the admission";
        ASSERT_EQ(r.state(), AlarmConnReader::kAdmit);
        ASSERT_EQ(r.allocate(), 0);
        EXPECT_EQ(alarm_conn_read(p.reader(), &r, 1 << 20), 1488u);
        EXPECT_EQ(r.state(), AlarmConnReader::kBody) << "an empty socket is no failure";
        ASSERT_TRUE(p.write(Bytes(b.begin() + 2000, b.end())));
        EXPECT_EQ(alarm_conn_read(p.reader(), &r, 1 << 20), b.size() - 2000);
        ASSERT_EQ(r.state(), AlarmConnReader::kComplete);
        std::free(r.take());
    }
    for (size_t sent : {size_t{0}, size_t{300}, b.size() - 1}) {
        // The peer closing before the whole block came is a receive failure.
        SocketPair p;
        AlarmConnReader r;
        ASSERT_TRUE(p.write(Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(sent))));
        p.close_writer();
        for (int i = 0; i < 3 && r.state() != AlarmConnReader::kFailed; ++i) {
            alarm_conn_read(p.reader(), &r, 1 << 20);
            if (r.state() == AlarmConnReader::kAdmit) r.allocate();
        }
        EXPECT_EQ(r.state(), AlarmConnReader::kFailed) << sent;
        EXPECT_EQ(r.error(), SARVIK_ERR_RECV) << sent;
    }
}

TEST(AlarmSocket, StopSignalEndsWaitsUntilReset) {
    WakeSignal wake;
    ASSERT_TRUE(wake.reset());
    wake.raise();
    EXPECT_EQ(sdk_wait_fd(-1, 0, sdk_now_ms() + 30000, wake.fd()), kWaitStopped);
    EXPECT_EQ(sdk_wait_fd(-1, 0, sdk_now_ms() + 30000, wake.fd()), kWaitStopped) << "it stays raised";
    ASSERT_TRUE(wake.reset());
    EXPECT_EQ(sdk_wait_fd(-1, 0, sdk_now_ms() + 10, wake.fd()), kWaitTimedOut)
        << "reset lowers the signal";

    // Waiting for a peer's close ends at the signal too, and tells an orderly close from a reset.
    SocketPair p;
    wake.raise();
    EXPECT_EQ(alarm_wait_close(p.reader(), sdk_now_ms() + 30000, wake.fd()), kWaitStopped);
    ASSERT_TRUE(wake.reset());
    ASSERT_TRUE(p.write(Bytes(10, 'x')));
    EXPECT_EQ(alarm_wait_close(p.reader(), sdk_now_ms() + 50, wake.fd()), kWaitTimedOut)
        << "bytes are no close";
    p.close_writer();
    EXPECT_EQ(alarm_wait_close(p.reader(), sdk_now_ms() + 30000, wake.fd()), 0);
}

namespace {

std::mutex g_logMutex;
std::string g_log;
void capture(int, const char *line, int len) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.append(line, static_cast<size_t>(len));
}
std::string captured() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    return g_log;
}

class AlarmLog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        logger_set_handler(logger_create_default(), capture);
        std::lock_guard<std::mutex> lock(g_logMutex);
        g_log.clear();
    }
    void TearDown() override { Sarvik_FreeSDK(); }
    static bool has(const std::string &text) { return captured().find(text) != std::string::npos; }
};

}  // namespace

TEST_F(AlarmLog, BothEndsWriteTheirLines) {
    AlarmServer *server = AlarmServer_Create();
    AlarmClient *client = AlarmClient_Create();
    ServerLog received;
    ClientLog attempts;
    AlarmConfig cfg = config("127.0.4.40", 47040, 2000);
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    Bytes b = make_block(1, "cam7", {{SARVIK_ALARM_PART_TXT, "18"}});
    ASSERT_EQ(AlarmClient_PostData(client, as_block(b)), 0);
    ASSERT_TRUE(received.wait_for(1));
    ASSERT_TRUE(attempts.wait_for(1));
    EXPECT_EQ(AlarmServer_Free(&server), 0);
    EXPECT_EQ(AlarmClient_Free(&client), 0);

    const std::string log = captured();
    EXPECT_TRUE(has("work_loop,")) << log;
    EXPECT_TRUE(has(":\nwork_loop enter\n\n")) << log;
    EXPECT_TRUE(has(":\nsend frame-pre: type 1, size 514, sender cam7\n\n")) << log;
    EXPECT_TRUE(has(":\nsend data: ret 0, type 1, size 514, sender cam7\n\n")) << log;
    EXPECT_TRUE(has(":\nrecvData, ret 0\n\n")) << log;
    EXPECT_TRUE(
        std::regex_search(log, std::regex(":\nrecv client 127\\.[0-9.]+:[0-9]+, type 1, size 514\n\n")))
        << log;
    EXPECT_TRUE(has(":\nwork_loop leave\n\n")) << log;
    EXPECT_LT(log.find("send frame-pre"), log.find("send data")) << log;
}

TEST_F(AlarmLog, RejectedBlockIsLoggedAsNull) {
    AlarmServer *server = AlarmServer_Create();
    ServerLog received;
    AlarmConfig cfg = config("127.0.4.41", 47041, 2000);
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    {
        RawClient c("127.0.4.41", 47041);
        ASSERT_TRUE(c.connected());
        ASSERT_TRUE(c.send_bytes(raw_header(600, {10})));
        EXPECT_TRUE(c.closed_by_server_within(5000));
    }
    EXPECT_EQ(AlarmServer_Free(&server), 0);
    EXPECT_TRUE(has(":\nrecvData, ret -95\n\n")) << captured();
    const std::string log = captured();
    EXPECT_TRUE(std::regex_search(log, std::regex(":\nrecv client 127\\.0\\.4\\.41:[0-9]+, null\n\n")))
        << log;
    EXPECT_EQ(received.count(), 0u);
}
