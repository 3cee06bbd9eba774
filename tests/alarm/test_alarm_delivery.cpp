// Alarm blocks travelling from a client to a server through the public interface: delivery, order, the
// queue's capacity while the server is away, and the endpoints' life cycle.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <future>
#include <string>
#include <thread>

#include "alarm_test_util.h"
#include "temp_dir.h"

using namespace alarmtest;
using testsupport::read_file;
using testsupport::TempDir;

namespace {

// Every test case owns one loopback address of 127.0.4.x and a port of its own.
class AlarmDelivery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        client = AlarmClient_Create();
        server = AlarmServer_Create();
        ASSERT_NE(client, nullptr);
        ASSERT_NE(server, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(AlarmClient_Free(&client), 0);
        EXPECT_EQ(AlarmServer_Free(&server), 0);
        EXPECT_EQ(client, nullptr);
        EXPECT_EQ(server, nullptr);
        Sarvik_FreeSDK();
    }
    AlarmClient *client = nullptr;
    AlarmServer *server = nullptr;
    ServerLog received;
    ClientLog attempts;
};

std::string local_stamp(int64_t ticks) {
    std::time_t t = static_cast<std::time_t>((ticks - INT64_C(116444736000000000)) / 10000000);
    std::tm lt{};
    localtime_r(&t, &lt);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d_%02d%02d%02d", lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday,
                  lt.tm_hour, lt.tm_min, lt.tm_sec);
    return buf;
}

}  // namespace

TEST_F(AlarmDelivery, BlockArrivesWholeAndIsStoredSplitAndWhole) {
    AlarmConfig sc = config("127.0.4.1", 47001, 5000);
    ASSERT_EQ(AlarmServer_Start(server, &sc, CallbackLog::record, &received), 0);
    ASSERT_EQ(AlarmClient_Start(client, &sc, CallbackLog::record, &attempts), 0);

    const std::string jpg(3000, 'J'), txt = "smoke at gate 3";
    Bytes sent = make_block(SARVIK_ALARM_SMOKE_FIRE_PERSON, "cam7",
                            {{SARVIK_ALARM_PART_JPG, jpg}, {SARVIK_ALARM_PART_TXT, txt}});
    ASSERT_FALSE(sent.empty());
    const int64_t before = ticks_now();
    ASSERT_EQ(AlarmClient_PostData(client, as_block(sent)), 0);
    ASSERT_TRUE(received.wait_for(1));
    ASSERT_TRUE(attempts.wait_for(1));
    EXPECT_EQ(attempts.statuses[0], 0);

    const Bytes &got = received.blocks[0];
    ASSERT_EQ(got.size(), sent.size());
    const AlarmDataHeader *g = as_block(got);
    EXPECT_GE(g->eventTime, before - 20000000) << "the server stamps the time of receipt";
    EXPECT_LE(g->eventTime, ticks_now() + 20000000);
    Bytes expect = sent;
    std::memcpy(expect.data() + offsetof(AlarmDataHeader, eventTime), &g->eventTime, sizeof g->eventTime);
    EXPECT_EQ(got, expect) << "everything but the event time travels unchanged";

    TempDir dir;
    char name[256];
    EXPECT_EQ(AlarmData_Save(g, dir.path().c_str(), 1, name, sizeof name), 2);
    const std::string base = dir.path() + "/SmokeFirePerson_cam7_" + local_stamp(g->eventTime);
    EXPECT_EQ(std::string(name), base);
    EXPECT_EQ(read_file(base + ".jpg"), jpg);
    EXPECT_EQ(read_file(base + ".txt"), txt);
    EXPECT_EQ(AlarmData_Save(g, dir.path().c_str(), 0, name, sizeof name), 1);
    EXPECT_EQ(read_file(base + ".alarm"), std::string(got.begin(), got.end()));

    AlarmDataHeader *lent = received.lent[0];
    EXPECT_EQ(AlarmServer_FreeData(server, lent), 0);
    // A second release is ignored (the sanitizer would report a double free).
    EXPECT_EQ(AlarmServer_FreeData(server, lent), 0);
}

TEST_F(AlarmDelivery, BlocksWaitForTheServerAndGoNewestFirst) {
    AlarmConfig cc = config("127.0.4.2", 47002, 2000);
    ASSERT_EQ(AlarmClient_Start(client, &cc, CallbackLog::record, &attempts), 0);
    Bytes older = make_block(0, "first", {{SARVIK_ALARM_PART_TXT, "older"}});
    Bytes newer = make_block(0, "second", {{SARVIK_ALARM_PART_TXT, "newer!"}});

    ASSERT_EQ(AlarmClient_PostData(client, as_block(older)), 0);
    ASSERT_TRUE(attempts.wait_for(1));
    EXPECT_EQ(attempts.statuses[0], SARVIK_ERR_CONNECT) << "nobody listens yet";
    // The failed block is back at the head; the newer one goes in front of it during the retry pause.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(AlarmClient_PostData(client, as_block(newer)), 0);
    ASSERT_EQ(AlarmServer_Start(server, &cc, CallbackLog::record, &received), 0);

    ASSERT_TRUE(received.wait_for(2));
    EXPECT_STREQ(as_block(received.blocks[0])->sender, "second");
    EXPECT_STREQ(as_block(received.blocks[1])->sender, "first");
}

TEST_F(AlarmDelivery, UnreachableServerFillsTheQueueWithoutSpinning) {
    AlarmConfig cc = config("127.0.4.3", 47003, 2000, 4);
    ASSERT_EQ(AlarmClient_Start(client, &cc, CallbackLog::record, &attempts), 0);
    Bytes b = make_block(1, "cam3", {{SARVIK_ALARM_PART_ALG, "x"}});
    for (int i = 0; i < 4; ++i) ASSERT_EQ(AlarmClient_PostData(client, as_block(b)), 0) << i;
    // Once an attempt has failed one block is out of the queue or back in it: it still takes its place.
    ASSERT_TRUE(attempts.wait_for(1));
    EXPECT_EQ(AlarmClient_PostData(client, as_block(b)), SARVIK_ERR_STATE);

    // Refused connections come back at once; only the pause between tries keeps their number small.
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_LE(attempts.count(), 5u);
    for (int status : attempts.statuses) EXPECT_EQ(status, SARVIK_ERR_CONNECT);

    // Stop discards the queue, so a restarted client has its whole capacity again.
    ASSERT_EQ(AlarmClient_Stop(client), 0);
    ASSERT_EQ(AlarmClient_Start(client, &cc, CallbackLog::record, &attempts), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(AlarmClient_PostData(client, as_block(b)), 0) << i;
}

TEST_F(AlarmDelivery, BlockOnItsWayStillTakesAPlaceInTheQueue) {
    DeafListener deaf("127.0.4.8", 47008);
    ASSERT_TRUE(deaf.listening());
    AlarmConfig cc = config("127.0.4.8", 47008, 3000, 4);
    ASSERT_EQ(AlarmClient_Start(client, &cc, CallbackLog::record, &attempts), 0);
    // Far more than the socket buffers hold: the worker stays in its send until the time-out.
    Bytes big =
        make_block(1, "big", {{SARVIK_ALARM_PART_MP4, std::string(SARVIK_ALARM_MAX_SIZE - 512, 'v')}});
    ASSERT_EQ(AlarmClient_PostData(client, as_block(big)), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Bytes small = make_block(1, "small", {});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(AlarmClient_PostData(client, as_block(small)), 0) << i;
    EXPECT_EQ(AlarmClient_PostData(client, as_block(small)), SARVIK_ERR_STATE);
    ASSERT_TRUE(attempts.wait_for(1));
    EXPECT_EQ(attempts.statuses[0], SARVIK_ERR_SEND);
    EXPECT_EQ(attempts.blocks[0].size(), static_cast<size_t>(SARVIK_ALARM_MAX_SIZE));
}

TEST_F(AlarmDelivery, DeliveredOnlyOnceTheServerClosesInOrderAfterReadingTheBlock) {
    // Stand-in servers that read the whole block (or its header) and then end the connection their way.
    struct Case {
        const char *what;
        ScriptedServer::Finish finish;
        bool delivered;
        int status;  // of a failed attempt; 0 for any failure
    };
    const Case cases[] = {
        {"orderly close after the block", ScriptedServer::kClose, true, 0},
        {"reset after the block", ScriptedServer::kReset, false, SARVIK_ERR_RECV},
        {"no close at all", ScriptedServer::kHold, false, SARVIK_ERR_RECV},
        {"reset after the header", ScriptedServer::kResetAfterHeader, false, 0},
    };
    constexpr int kTimeoutMs = 600;
    uint16_t port = 47010;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer stand_in("127.0.4.10", port, c.finish);
        ASSERT_TRUE(stand_in.listening());
        ClientLog log;
        AlarmConfig cc = config("127.0.4.10", port++, kTimeoutMs);
        ASSERT_EQ(AlarmClient_Start(client, &cc, CallbackLog::record, &log), 0);
        Bytes b = make_block(1, c.what, {{SARVIK_ALARM_PART_TXT, "payload"}});
        const auto posted = std::chrono::steady_clock::now();
        ASSERT_EQ(AlarmClient_PostData(client, as_block(b)), 0);
        ASSERT_TRUE(log.wait_for(1));
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - posted)
                .count();
        int first;
        {
            std::lock_guard<std::mutex> lock(log.m);
            first = log.statuses[0];
        }
        if (c.delivered) {
            EXPECT_EQ(first, 0);
        } else {
            EXPECT_NE(first, 0);
            if (c.status != 0) {
                EXPECT_EQ(first, c.status);
            }
            if (c.finish == ScriptedServer::kHold) {
                EXPECT_GE(took, kTimeoutMs - 50) << "it waits for the close";
            }
            // The block stayed queued and goes again: the stand-in sees it a second time (at least once).
            ASSERT_TRUE(log.wait_for(2, 10000));
            for (int i = 0; i < 100 && stand_in.senders().size() < 2; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const auto senders = stand_in.senders();
            ASSERT_GE(senders.size(), 2u);
            EXPECT_EQ(senders[0], c.what);
            EXPECT_EQ(senders[1], c.what);
        }
        ASSERT_EQ(AlarmClient_Stop(client), 0);
    }
}

TEST_F(AlarmDelivery, BlocksAServerStoppedBeforeReadingThemStayQueued) {
    // The server's worker is held in its callback for a first block, so later connections wait in the
    // listening socket's backlog when the server is stopped.
    struct Plug {
        CallbackLog log;
        std::mutex m;
        std::condition_variable cv;
        bool released = false;
        static void record(int status, AlarmDataHeader *block, void *user) {
            auto *self = static_cast<Plug *>(user);
            CallbackLog::record(status, block, &self->log);
            std::unique_lock<std::mutex> lock(self->m);
            self->cv.wait_for(lock, std::chrono::seconds(20), [self] { return self->released; });
        }
        void release() {
            std::lock_guard<std::mutex> lock(m);
            released = true;
            cv.notify_all();
        }
    } plug;
    AlarmConfig cfg = config("127.0.4.9", 47009, 5000);
    ASSERT_EQ(AlarmServer_Start(server, &cfg, Plug::record, &plug), 0);
    RawClient first("127.0.4.9", 47009);
    ASSERT_TRUE(first.send_bytes(make_block(1, "plug", {})));
    ASSERT_TRUE(plug.log.wait_for(1));

    // Both reach the backlog: the raw one has sent its whole block, the client waits for the close.
    RawClient waiting("127.0.4.9", 47009);
    ASSERT_TRUE(waiting.connected());
    ASSERT_TRUE(waiting.send_bytes(make_block(1, "raw", {})));
    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    Bytes queued = make_block(1, "queued", {{SARVIK_ALARM_PART_TXT, "keep me"}});
    ASSERT_EQ(AlarmClient_PostData(client, as_block(queued)), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    auto stopped = std::async(std::launch::async, [this] { return AlarmServer_Stop(server); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // Stop has cleared the running flag
    plug.release();
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(stopped.get(), 0);
    EXPECT_EQ(plug.log.count(), 1u) << "nothing after the plug was read";

    // The kernel resets what the closed listener still held: no client mistakes that for a delivery.
    EXPECT_STREQ(end_name(waiting.end_within(5000)), "reset");
    ASSERT_TRUE(attempts.wait_for(1));
    {
        std::lock_guard<std::mutex> lock(attempts.m);
        EXPECT_NE(attempts.statuses[0], 0);
    }

    // The block stayed queued: a restarted server gets it, and only then is it reported delivered.
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    ASSERT_TRUE(received.wait_for(1));
    EXPECT_STREQ(as_block(received.blocks[0])->sender, "queued");
    auto delivered = [this] {
        std::lock_guard<std::mutex> lock(attempts.m);
        return !attempts.statuses.empty() && attempts.statuses.back() == 0;
    };
    for (int i = 0; i < 250 && !delivered(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(delivered());
    std::lock_guard<std::mutex> lock(attempts.m);
    for (size_t i = 0; i + 1 < attempts.statuses.size(); ++i)
        EXPECT_NE(attempts.statuses[i], 0) << "attempt " << i << " came before the server had the block";
}

TEST_F(AlarmDelivery, StartingTwiceAndStoppingWhenStoppedAreRefused) {
    AlarmConfig cfg = config("127.0.4.4", 47004, 2000);
    EXPECT_EQ(AlarmServer_Stop(server), SARVIK_ERR_STATE);
    EXPECT_EQ(AlarmClient_Stop(client), SARVIK_ERR_STATE);
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    EXPECT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), SARVIK_ERR_STATE);
    EXPECT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), SARVIK_ERR_STATE);

    AlarmServer *other = AlarmServer_Create();
    EXPECT_EQ(AlarmServer_Start(other, &cfg, CallbackLog::record, &received), SARVIK_ERR_BIND)
        << "port taken";
    EXPECT_EQ(AlarmServer_Free(&other), 0);

    EXPECT_EQ(AlarmServer_Stop(server), 0);
    EXPECT_EQ(AlarmServer_Stop(server), SARVIK_ERR_STATE);
    EXPECT_EQ(AlarmClient_Stop(client), 0);
    EXPECT_EQ(AlarmClient_Stop(client), SARVIK_ERR_STATE);

    // Both ends can be started again, and the port is free for the restarted server.
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    Bytes b = make_block(1, "again", {});
    ASSERT_EQ(AlarmClient_PostData(client, as_block(b)), 0);
    EXPECT_TRUE(received.wait_for(1));
    EXPECT_EQ(AlarmClient_Stop(client), 0);
    EXPECT_EQ(AlarmClient_PostData(client, as_block(b)), SARVIK_ERR_STATE)
        << "a stopped client queues nothing";
}

TEST_F(AlarmDelivery, BadArgumentsAreRefused) {
    AlarmConfig cfg = config("127.0.4.5", 47005, 2000);
    EXPECT_EQ(AlarmServer_Start(server, &cfg, nullptr, nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(AlarmClient_Start(client, &cfg, nullptr, nullptr), SARVIK_ERR_INVALID_ARG);
    AlarmConfig bad = config("127.0.4.256", 47005, 2000);
    EXPECT_EQ(AlarmClient_Start(client, &bad, CallbackLog::record, &attempts), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(AlarmServer_Start(server, &bad, CallbackLog::record, &received), SARVIK_ERR_INVALID_ARG);
    AlarmConfig unterminated = cfg;
    std::memset(unterminated.serverIp, '1', sizeof unterminated.serverIp);
    EXPECT_EQ(AlarmClient_Start(client, &unterminated, CallbackLog::record, &attempts),
              SARVIK_ERR_INVALID_ARG);
    AlarmConfig empty = config("", 47005, 2000);
    EXPECT_EQ(AlarmClient_Start(client, &empty, CallbackLog::record, &attempts), SARVIK_ERR_INVALID_ARG)
        << "a client needs a server address";

    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    EXPECT_EQ(AlarmClient_PostData(client, nullptr), SARVIK_ERR_INVALID_ARG);
    Bytes invalid = raw_header(600, {10});
    EXPECT_EQ(AlarmClient_PostData(client, as_block(invalid)), SARVIK_ERR_MALFORMED)
        << "a block no server accepts would be retried for ever";
    EXPECT_EQ(AlarmClient_Free(nullptr), SARVIK_ERR_INVALID_ARG);
    AlarmClient *none = nullptr;
    EXPECT_EQ(AlarmClient_Free(&none), 0);
}

TEST(AlarmWithoutInit, EndpointsNeedTheSdkButBlockHelpersDoNot) {
    Sarvik_FreeSDK();
    EXPECT_EQ(AlarmClient_Create(), nullptr);
    EXPECT_EQ(AlarmServer_Create(), nullptr);
    AlarmConfig cfg = config("127.0.4.6", 47006, 2000);
    EXPECT_EQ(AlarmClient_Start(nullptr, &cfg, CallbackLog::record, nullptr), SARVIK_ERR_NOT_INIT);
    EXPECT_EQ(AlarmServer_Start(nullptr, &cfg, CallbackLog::record, nullptr), SARVIK_ERR_NOT_INIT);
    Bytes b = make_block(1, "cam", {{SARVIK_ALARM_PART_TXT, "t"}});
    EXPECT_EQ(AlarmClient_PostData(nullptr, as_block(b)), SARVIK_ERR_NOT_INIT);
    ASSERT_EQ(b.size(), 513u) << "AlarmData_Create works before init";
    EXPECT_STREQ(AlarmDataType_num2str(1), "SmokeFirePerson");
}

TEST(AlarmWithoutInit, RunningEndpointsCanStillBeWoundDownAfterRelease) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    AlarmServer *server = AlarmServer_Create();
    AlarmClient *client = AlarmClient_Create();
    ServerLog received;
    ClientLog attempts;
    AlarmConfig cfg = config("127.0.4.7", 47007, 2000);
    ASSERT_EQ(AlarmServer_Start(server, &cfg, CallbackLog::record, &received), 0);
    ASSERT_EQ(AlarmClient_Start(client, &cfg, CallbackLog::record, &attempts), 0);
    Bytes b = make_block(1, "late", {{SARVIK_ALARM_PART_TXT, "t"}});
    ASSERT_EQ(AlarmClient_PostData(client, as_block(b)), 0);
    ASSERT_TRUE(received.wait_for(1));
    Sarvik_FreeSDK();
    // Otherwise their threads, sockets and blocks would outlive every way to release them.
    EXPECT_EQ(AlarmServer_FreeData(server, received.lent[0]), 0);
    EXPECT_EQ(AlarmClient_Free(&client), 0);
    EXPECT_EQ(AlarmServer_Free(&server), 0);
}
