// The exchange on the command port against peers that answer right, wrong, late, in pieces or not at all.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>

#include "SarvikSDK.h"
#include "command_channel.h"
#include "scripted_peer.h"
#include "sdk_global.h"
#include "zq_logger.h"

using namespace sarvik;
using testsupport::make_message;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;

namespace {

// Each test owns one loopback address: the command port is fixed and tests run in parallel.
uint32_t host_addr(const char *ip) {
    in_addr a{};
    inet_pton(AF_INET, ip, &a);
    return ntohl(a.s_addr);
}

std::mutex g_logMutex;
std::string g_log;
void capture(int, const char *line, int len) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.append(line, static_cast<size_t>(len));
}

class CommandChannel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        logger_set_handler(logger_create_default(), capture);
        std::lock_guard<std::mutex> lock(g_logMutex);
        g_log.clear();
    }
    void TearDown() override { Sarvik_FreeSDK(); }
    std::string log() {
        std::lock_guard<std::mutex> lock(g_logMutex);
        return g_log;
    }
};

PeerReply answer_with(std::vector<uint8_t> bytes, int pieces = 1) {
    PeerReply r;
    r.bytes = std::move(bytes);
    r.pieces = pieces;
    return r;
}

}  // namespace

TEST_F(CommandChannel, AnswerOfTheRightTypeAndLengthPasses) {
    ScriptedPeer peer("127.0.0.20", 55502, [](const std::vector<uint8_t> &) { return answer_with(make_message(8, 216)); });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(7, 0);
    uint8_t resp[220];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.20"), 55502, req.data(), resp, sizeof resp), 0);
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0], req);
}

TEST_F(CommandChannel, AnswerInSeveralSegmentsIsReadWhole) {
    auto answer = make_message(8, 216);
    answer[100] = 0x5a;
    answer[219] = 0xa5;
    ScriptedPeer peer("127.0.0.21", 55502, [&](const std::vector<uint8_t> &) { return answer_with(answer, 5); });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(7, 0);
    uint8_t resp[220] = {0};
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.21"), 55502, req.data(), resp, sizeof resp), 0);
    EXPECT_EQ(0, std::memcmp(resp, answer.data(), answer.size()));
}

TEST_F(CommandChannel, WrongAnswerTypeFailsWithTheLogLine) {
    ScriptedPeer peer("127.0.0.22", 55502, [](const std::vector<uint8_t> &) { return answer_with(make_message(9, 216)); });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(7, 0);
    uint8_t resp[220];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.22"), 55502, req.data(), resp, sizeof resp), -97);
    EXPECT_NE(log().find("respSize 220, respType 8; recved 220\n\n"), std::string::npos) << log();
    EXPECT_NE(log().find("SVCMD_SendReqAndRecvResp,"), std::string::npos) << log();
}

TEST_F(CommandChannel, ShortAnswerThenCloseFailsWithTheCountReceived) {
    ScriptedPeer peer("127.0.0.23", 55502, [](const std::vector<uint8_t> &) {
        auto m = make_message(8, 216);
        m.resize(100);
        return answer_with(m);
    });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(7, 0);
    uint8_t resp[220];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.23"), 55502, req.data(), resp, sizeof resp), -97);
    EXPECT_NE(log().find("respSize 220, respType 8; recved 100"), std::string::npos) << log();
}

TEST_F(CommandChannel, SilentPeerFailsAfterTheReceiveTimeout) {
    ScriptedPeer peer("127.0.0.24", 55502, [](const std::vector<uint8_t> &) {
        PeerReply r;
        r.silent = true;
        return r;
    });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(23, 0);
    uint8_t resp[76];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.24"), 55502, req.data(), resp, sizeof resp), -97);
    EXPECT_NE(log().find("respSize 76, respType 24; recved 0"), std::string::npos) << log();
}

TEST_F(CommandChannel, NobodyListeningIsAConnectFailure) {
    auto req = make_message(7, 0);
    uint8_t resp[220];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.25"), 55502, req.data(), resp, sizeof resp), -99);
}

TEST_F(CommandChannel, UnknownRequestTypeIsRefusedBeforeAnythingIsSent) {
    ScriptedPeer peer("127.0.0.26", 55502, [](const std::vector<uint8_t> &) { return answer_with(make_message(36, 0)); });
    ASSERT_TRUE(peer.listening());
    uint8_t resp[64];
    for (uint16_t type : {35, 50, 78, 80, 3, 999}) {
        auto req = make_message(type, 0);
        EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.26"), 55502, req.data(), resp, sizeof resp), -2) << type;
    }
    EXPECT_TRUE(peer.requests().empty());
}

TEST_F(CommandChannel, ResponseBufferTooSmallIsRefused) {
    auto req = make_message(7, 0);
    uint8_t resp[100];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.26"), 55502, req.data(), resp, sizeof resp), -8);
}

TEST_F(CommandChannel, OneWayControlReturnsAsSoonAsItIsSent) {
    // The peer would answer only after 3 s; a one-way request must not wait for that.
    ScriptedPeer peer("127.0.0.27", 55502, [](const std::vector<uint8_t> &) {
        PeerReply r = answer_with(make_message(7, 0));
        r.delayMs = 3000;
        return r;
    });
    ASSERT_TRUE(peer.listening());
    auto ctl = make_message(6, 10);
    ctl[4] = 0x11;
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.27"), 55502, ctl.data(), nullptr, 0), 0);
    auto serial = make_message(41, 32);
    EXPECT_EQ(svcmd_send_oneway(host_addr("127.0.0.27"), 55502, serial.data()), 0);
}

TEST_F(CommandChannel, LargeRequestGoesOutWhole) {
    ScriptedPeer peer("127.0.0.28", 55502, [](const std::vector<uint8_t> &) { return answer_with(make_message(1003, 0)); });
    ASSERT_TRUE(peer.listening());
    auto req = make_message(1002, 512);
    for (size_t i = 4; i < req.size(); ++i) req[i] = static_cast<uint8_t>(i * 7);
    uint8_t resp[4];
    EXPECT_EQ(SVCMD_SendReqAndRecvResp(host_addr("127.0.0.28"), 55502, req.data(), resp, sizeof resp), 0);
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0], req);
}

TEST_F(CommandChannel, ResponseTableHasTheFixedLengths) {
    EXPECT_EQ(svcmd_response_length(7), 220);
    EXPECT_EQ(svcmd_response_length(23), 76);
    EXPECT_EQ(svcmd_response_length(56), 72);
    EXPECT_EQ(svcmd_response_length(66), 276);
    EXPECT_EQ(svcmd_response_length(1008), 516);
    EXPECT_EQ(svcmd_response_length(6), 0);
    EXPECT_EQ(svcmd_response_length(41), 0);
    EXPECT_EQ(svcmd_response_length(35), -1);
}
