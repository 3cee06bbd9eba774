// The discovery internals: receive rules of a pass, the duplicate rule, the per-interface broadcast and
// its log lines.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "broadcast_send.h"
#include "discover_answers.h"
#include "netns.h"
#include "zq_logger.h"

using namespace sarvik;
using namespace discovertest;

namespace {

std::string g_log;
void capture_line(int, const char *line, int length) { g_log.append(line, static_cast<size_t>(length)); }

// SDK lines go to g_log from here on (start-up installs a handler that drops them when no log is set).
void capture_sdk_log() {
    g_log.clear();
    logger_set_handler(logger_create_default(), capture_line);
}

std::vector<uint8_t> answer_datagram(const char *id, const char *name) {
    _DiscoverCameraMsg m;
    std::memset(&m, 0, sizeof m);
    m.header.type = SARVIK_MSG_DISCOVER_ANSWER;
    m.header.length = sizeof m;
    std::strncpy(m.resp.basicInfo.cameraId, id, sizeof m.resp.basicInfo.cameraId);
    std::strncpy(m.resp.basicInfo.cameraName, name, sizeof m.resp.basicInfo.cameraName);
    m.resp.cameraIp = 0x7F000201;
    const auto *p = reinterpret_cast<const uint8_t *>(&m);
    return std::vector<uint8_t>(p, p + sizeof m);
}

// A receiving socket on its own loopback address with a short time-out, and a sender aimed at it.
class LoopbackPair {
public:
    explicit LoopbackPair(const char *ip) {
        rx_ = socket(AF_INET, SOCK_DGRAM, 0);
        tx_ = socket(AF_INET, SOCK_DGRAM, 0);
        addr_.sin_family = AF_INET;
        inet_pton(AF_INET, ip, &addr_.sin_addr);
        socklen_t len = sizeof addr_;
        timeval tv{0, 300000};
        ok_ = bind(rx_, reinterpret_cast<sockaddr *>(&addr_), sizeof addr_) == 0 &&
              getsockname(rx_, reinterpret_cast<sockaddr *>(&addr_), &len) == 0 &&
              setsockopt(rx_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0;
    }
    ~LoopbackPair() {
        close(rx_);
        close(tx_);
    }
    bool ok() const { return ok_; }
    int rx() const { return rx_; }
    void send(const std::vector<uint8_t> &d) {
        sendto(tx_, d.data(), d.size(), 0, reinterpret_cast<sockaddr *>(&addr_), sizeof addr_);
    }

private:
    int rx_ = -1, tx_ = -1;
    sockaddr_in addr_{};
    bool ok_ = false;
};

std::vector<std::string> names_of(const _DiscoverCameraNode *head) {
    std::vector<std::string> names;
    for (; head; head = head->next) names.push_back(head->camera.basicInfo.cameraName);
    return names;
}

_DiscoverCameraNode *node(const char *id32, const char *name) {
    auto *n = static_cast<_DiscoverCameraNode *>(std::calloc(1, sizeof(_DiscoverCameraNode)));
    std::memcpy(n->camera.basicInfo.cameraId, id32, strnlen(id32, 32));
    std::strncpy(n->camera.basicInfo.cameraName, name, sizeof n->camera.basicInfo.cameraName);
    return n;
}

}  // namespace

TEST(DiscoverPass, CollectsAnswersUntilTheFirstOtherDatagram) {
    LoopbackPair pair("127.0.2.81");
    ASSERT_TRUE(pair.ok());
    pair.send(answer_datagram("A", "first"));
    pair.send(answer_datagram("B", "second"));
    std::vector<uint8_t> cut = answer_datagram("C", "cut short");
    cut.resize(100);  // announces 224 bytes, carries 100
    pair.send(cut);
    pair.send(answer_datagram("D", "after the end"));

    _DiscoverCameraNode *list = discover_receive_answers(pair.rx());
    EXPECT_EQ(names_of(list), (std::vector<std::string>{"first", "second"}));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->camera.cameraIp, 0x7F000201u);
    discover_list_free(list);
}

TEST(DiscoverPass, WrongLengthOrTypeEndsThePass) {
    LoopbackPair pair("127.0.2.82");
    ASSERT_TRUE(pair.ok());
    std::vector<uint8_t> longer = answer_datagram("X", "announces 225");
    const uint16_t len = 225;
    std::memcpy(longer.data() + 2, &len, 2);
    pair.send(answer_datagram("A", "kept"));
    pair.send(longer);
    _DiscoverCameraNode *list = discover_receive_answers(pair.rx());
    EXPECT_EQ(names_of(list), (std::vector<std::string>{"kept"}));
    discover_list_free(list);

    std::vector<uint8_t> otherType = answer_datagram("Y", "type 83");
    const uint16_t type = SARVIK_MSG_CONFIG_IP_ANSWER;
    std::memcpy(otherType.data(), &type, 2);
    pair.send(otherType);
    pair.send(answer_datagram("B", "after it"));
    EXPECT_EQ(discover_receive_answers(pair.rx()), nullptr);
}

TEST(DiscoverConfigAck, OnlyAWholeAnswerNamingTheCameraCounts) {
    const char id32[] = "0123456789ABCDEF0123456789ABCDEF";
    _DiscoverConfigIPAck ack;
    std::memset(&ack, 0, sizeof ack);
    ack.header.type = SARVIK_MSG_CONFIG_IP_ANSWER;
    ack.header.length = sizeof ack;
    std::memcpy(ack.cameraId, id32, 32);
    const auto *p = reinterpret_cast<const uint8_t *>(&ack);
    EXPECT_TRUE(discover_parse_config_ack(p, sizeof ack, id32)) << "a 32-character id has no terminator";
    EXPECT_FALSE(discover_parse_config_ack(p, sizeof ack - 1, id32)) << "short datagram";
    EXPECT_FALSE(discover_parse_config_ack(p, -1, id32)) << "failed receive";
    EXPECT_FALSE(discover_parse_config_ack(p, sizeof ack, "0123456789ABCDEF0123456789ABCDEX"));
    ack.header.length = 37;
    EXPECT_FALSE(discover_parse_config_ack(p, sizeof ack, id32)) << "wrong length field";
    ack.header.length = sizeof ack;
    ack.header.type = SARVIK_MSG_DISCOVER_ANSWER;
    EXPECT_FALSE(discover_parse_config_ack(p, sizeof ack, id32)) << "wrong type";
}

// Ids compare as text of at most 32 characters: a full-width id has no terminator, bytes after one do not count.
TEST(DiscoverMerge, FirstOccurrenceOfEachIdStays) {
    const char id32[] = "0123456789ABCDEF0123456789ABCDEF";
    std::vector<_DiscoverCameraNode *> pass2 = {node("A", "a2"), node(id32, "full1"), node("B", "b2"),
                                                node(id32, "full2"), node("C", "c1"), node("B", "b3")};
    pass2[5]->camera.basicInfo.cameraId[10] = 'x';
    for (size_t i = 0; i + 1 < pass2.size(); ++i) pass2[i]->next = pass2[i + 1];
    _DiscoverCameraNode *list = node("A", "a1");
    discover_list_append(&list, node("B", "b1"));
    discover_list_append(&list, pass2[0]);

    discover_list_dedupe(list);
    EXPECT_EQ(names_of(list), (std::vector<std::string>{"a1", "b1", "full1", "c1"}));
    discover_list_free(list);
}

TEST(DiscoverBroadcast, EveryInterfaceAddressButLoopbackIsTriedAndLogged) {
    std::string why = enter_test_netns(NetnsKind::Lan);
    if (!why.empty()) GTEST_SKIP() << why;
    ASSERT_EQ(run_ip("addr add 10.77.0.2/24 dev v0"), 0);
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    capture_sdk_log();

    const _DiscoverCameraReq req{{SARVIK_MSG_DISCOVER, 8}, SARVIK_DISCOVER_ROUTE_PORT};
    EXPECT_EQ(broadcastSendAll(&req, sizeof req), 2);
    EXPECT_NE(g_log.find("broadcastSendAll,"), std::string::npos) << g_log;
    EXPECT_NE(g_log.find("\nbroadcast, fromAddr 10.77.0.1, dataSize 8, ret 8\n\n"), std::string::npos) << g_log;
    EXPECT_NE(g_log.find("\nbroadcast, fromAddr 10.77.0.2, dataSize 8, ret 8\n\n"), std::string::npos) << g_log;
    EXPECT_EQ(g_log.find("127.0.0.1"), std::string::npos) << "the loopback address is never used";

    // A program holding 10.77.0.2:55501 without sharing it makes that interface fail to bind.
    int squatter = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(55501);
    inet_pton(AF_INET, "10.77.0.2", &a.sin_addr);
    ASSERT_EQ(bind(squatter, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    g_log.clear();
    EXPECT_EQ(broadcastSendAll(&req, sizeof req), 1) << "a failing interface is skipped";
    EXPECT_NE(g_log.find("\nbroadcast, fromAddr 10.77.0.2, dataSize 8, ret -96\n\n"), std::string::npos) << g_log;
    close(squatter);
    Sarvik_FreeSDK();
}

TEST(DiscoverBroadcast, AddressChangeWithoutInterfaceIsLogged) {
    std::string why = enter_test_netns(NetnsKind::LoopbackOnly);
    if (!why.empty()) GTEST_SKIP() << why;
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    capture_sdk_log();
    _DiscoverConfigIPInfo req;
    std::memset(&req, 0, sizeof req);
    std::strcpy(req.cameraId, "CAM");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_SEND);
    EXPECT_NE(g_log.find("Sarvik_DiscoverConfigIP,"), std::string::npos) << g_log;
    EXPECT_NE(g_log.find("\nconfigIP, sendCount 0\n\n"), std::string::npos) << g_log;
    EXPECT_EQ(g_log.find("broadcast, fromAddr"), std::string::npos) << "127.0.0.1 is not even tried";
    Sarvik_FreeSDK();
}
