// The server's block reader on a socket pair, and the diagnostic lines both alarm ends write.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstdlib>
#include <mutex>
#include <regex>
#include <string>

#include "alarm_block_recv.h"
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

int recv_block(const SocketPair &p, AlarmDataHeader **out, int wakeFd = -1) {
    return alarm_block_recv(p.reader(), alarm_now_ms() + 30000, wakeFd, out);
}

}  // namespace

TEST(AlarmBlockRecv, ReadsAWholeBlockAndStampsItsReceipt) {
    SocketPair p;
    Bytes b = make_block(1, "cam", {{SARVIK_ALARM_PART_TXT, "hello"}, {SARVIK_ALARM_PART_JPG, "jpeg"}});
    ASSERT_TRUE(p.write(b));
    AlarmDataHeader *out = nullptr;
    const int64_t before = ticks_now();
    ASSERT_EQ(recv_block(p, &out), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_GE(out->eventTime, before - 20000000);
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<uint8_t *>(out) + 512, b.data() + 512, b.size() - 512));
    std::free(out);
}

TEST(AlarmBlockRecv, OversizedHeaderIsJudgedBeforeWaitingForItsBytes) {
    // The writer stays open: a reader that allocated and waited would end only at the 30 s deadline, -97.
    SocketPair p;
    ASSERT_TRUE(p.write(raw_header(SARVIK_ALARM_MAX_SIZE + 1, {SARVIK_ALARM_MAX_SIZE + 1 - 512})));
    AlarmDataHeader *out = reinterpret_cast<AlarmDataHeader *>(&p);
    EXPECT_EQ(recv_block(p, &out), SARVIK_ERR_BAD_HEADER);
    EXPECT_EQ(out, nullptr);
}

TEST(AlarmBlockRecv, ShortHeaderOrMissingPartsAreReceiveFailures) {
    {
        SocketPair p;
        Bytes h = raw_header(600, {88});
        h.resize(300);
        ASSERT_TRUE(p.write(h));
        p.close_writer();
        AlarmDataHeader *out = nullptr;
        EXPECT_EQ(recv_block(p, &out), SARVIK_ERR_RECV);
    }
    {
        SocketPair p;
        Bytes b = make_block(1, "cut", {{SARVIK_ALARM_PART_TXT, std::string(100, 'x')}});
        b.resize(b.size() - 1);
        ASSERT_TRUE(p.write(b));
        p.close_writer();
        AlarmDataHeader *out = nullptr;
        EXPECT_EQ(recv_block(p, &out), SARVIK_ERR_RECV);
        EXPECT_EQ(out, nullptr);
    }
}

TEST(AlarmBlockRecv, StopSignalEndsTheWaitForASilentPeer) {
    SocketPair p;
    Bytes h = raw_header(1000, {488});
    ASSERT_TRUE(p.write(h));
    AlarmWake wake;
    ASSERT_TRUE(wake.reset());
    wake.raise();
    AlarmDataHeader *out = nullptr;
    EXPECT_EQ(recv_block(p, &out, wake.fd()), SARVIK_ERR_RECV);
    EXPECT_EQ(out, nullptr);
    ASSERT_TRUE(wake.reset());
    EXPECT_EQ(alarm_wait(-1, 0, alarm_now_ms() + 10, wake.fd()), kAlarmIoTimedOut)
        << "reset lowers the signal";
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
