// The transfer handshake against scripted cameras: what each failure returns and the line it logs.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "scripted_peer.h"
#include "temp_dir.h"
#include "transfer_fixture.h"
#include "zq_logger.h"

using namespace transfertest;
using testsupport::make_message;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;
using testsupport::TempDir;

namespace {

std::mutex g_logMutex;
std::string g_log;
void capture(int, const char *line, int len) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.append(line, static_cast<size_t>(len));
}

// Answer of a transfer: header, status, and for downloads the announced size; then payload bytes.
std::vector<uint8_t> transfer_answer(uint16_t type, int32_t status, const int32_t *size, size_t payload = 0) {
    auto m = make_message(type, size ? 8 : 4);
    std::memcpy(m.data() + 4, &status, 4);
    if (size) std::memcpy(m.data() + 8, size, 4);
    for (size_t i = 0; i < payload; ++i) m.push_back(static_cast<uint8_t>(i * 7));
    return m;
}

uint16_t type_of(const std::vector<uint8_t> &msg) {
    uint16_t t = 0;
    std::memcpy(&t, msg.data(), 2);
    return t;
}

// A camera that lets the SDK log in and answers every transfer request with the scripted bytes.
ScriptedPeer::Script camera(std::function<std::vector<uint8_t>(uint16_t type)> transfer, int pieces = 1) {
    return [transfer, pieces](const std::vector<uint8_t> &req) {
        PeerReply r;
        const uint16_t t = type_of(req);
        if (t == 7) r.bytes = make_message(8, 216);
        if (t == 23) r.bytes = make_message(24, 72);
        if (t == 35 || t == 50 || t == 78 || t == 80) {
            r.bytes = transfer(t);
            r.pieces = pieces;
        }
        return r;
    };
}

class TransferHandshake : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        logger_set_handler(logger_create_default(), capture);
        std::lock_guard<std::mutex> lock(g_logMutex);
        g_log.clear();
    }
    std::string log() {
        std::lock_guard<std::mutex> lock(g_logMutex);
        return g_log;
    }
    bool logged(const std::string &func, const std::string &text) {
        const std::string l = log();
        for (size_t at = l.find(func + ","); at != std::string::npos; at = l.find(func + ",", at + 1)) {
            const size_t body = l.find(":\n", at);
            if (body != std::string::npos && l.compare(body + 2, text.size() + 2, text + "\n\n") == 0)
                return true;
        }
        return false;
    }
    TempDir dir;
};

}  // namespace

TEST_F(TransferHandshake, MistypedAnswersFailWithEachCallsOwnLine) {
    ScriptedPeer peer("127.0.3.40", 55502,
                      camera([](uint16_t t) { return transfer_answer(t + 2, 0, nullptr, 8); }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.40");
    ASSERT_GE(id, 0);
    testsupport::write_file(dir.file("f"), "payload");
    uint8_t buf[16];
    int size = sizeof buf;
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("f").c_str(), 1), -97);
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("g").c_str(), 1), -97);
    EXPECT_EQ(Sarvik_UploadMem(id, 2, buf, sizeof buf), -97);
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, buf, &size), -97);
    EXPECT_TRUE(logged("Sarvik_UploadFile", "recv resp File_UploadFile error")) << log();
    EXPECT_TRUE(logged("Sarvik_DownloadFile", "recv resp RespFile_DownloadFile error")) << log();
    EXPECT_TRUE(logged("Sarvik_UploadMem", "recv resp Mem_UploadMem error")) << log();
    EXPECT_TRUE(logged("Sarvik_DownloadMem", "recv resp RespMem_DownloadMem error")) << log();
    EXPECT_FALSE(file_exists(dir.file("g")));
    EXPECT_EQ(size, 16);
}

TEST_F(TransferHandshake, RequestsCarryTypeLengthAndFields) {
    ScriptedPeer peer("127.0.3.41", 55502, camera([](uint16_t t) {
                          const int32_t zero = 0;
                          return transfer_answer(t + 1, 0, t == 50 || t == 78 ? &zero : nullptr);
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.41");
    ASSERT_GE(id, 0);
    testsupport::write_file(dir.file("f"), std::string(1000, 'x'));
    uint8_t buf[4] = {0};
    int size = sizeof buf;
    ASSERT_EQ(Sarvik_UploadFile(id, dir.file("f").c_str(), 11), 0);
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("g").c_str(), 12), 0);
    ASSERT_EQ(Sarvik_UploadMem(id, 7, buf, 0), 0);
    ASSERT_EQ(Sarvik_DownloadMem(id, 5, buf, &size), 0);
    EXPECT_EQ(size, 0);

    auto reqs = peer.requests();
    ASSERT_EQ(reqs.size(), 7u) << "login's three, then the four transfers";
    auto words = [](const std::vector<uint8_t> &m) {
        std::vector<int32_t> w((m.size() - 4) / 4);
        std::memcpy(w.data(), m.data() + 4, w.size() * 4);
        return w;
    };
    EXPECT_EQ(reqs[3], (std::vector<uint8_t>{35, 0, 12, 0, 11, 0, 0, 0, 0xe8, 3, 0, 0}));
    EXPECT_EQ(words(reqs[4]), std::vector<int32_t>{12});
    EXPECT_EQ(type_of(reqs[4]), 50);
    EXPECT_EQ(words(reqs[5]), (std::vector<int32_t>{7, 0}));
    EXPECT_EQ(type_of(reqs[5]), 80);
    EXPECT_EQ(words(reqs[6]), std::vector<int32_t>{5});
    EXPECT_EQ(type_of(reqs[6]), 78);
}

TEST_F(TransferHandshake, NegativeStatusIsARefusal) {
    ScriptedPeer peer("127.0.3.42", 55502, camera([](uint16_t t) {
                          const int32_t size = 280;
                          return transfer_answer(t + 1, -3, t == 50 || t == 78 ? &size : nullptr, 280);
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.42");
    ASSERT_GE(id, 0);
    testsupport::write_file(dir.file("f"), "payload");
    std::vector<uint8_t> buf(280, 0xcc);
    int size = 280;
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("f").c_str(), 1), -2);
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("g").c_str(), 1), -2);
    EXPECT_EQ(Sarvik_UploadMem(id, 2, buf.data(), 280), -2);
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, buf.data(), &size), -2);
    EXPECT_EQ(buf, std::vector<uint8_t>(280, 0xcc)) << "the payload after a refusal is not read";
    EXPECT_FALSE(file_exists(dir.file("g")));
}

TEST_F(TransferHandshake, AnswerAndBlockInSeveralSegmentsArriveWhole) {
    ScriptedPeer peer("127.0.3.43", 55502,
                      camera(
                          [](uint16_t t) {
                              const int32_t size = 280;
                              return transfer_answer(t + 1, 0, &size, 280);
                          },
                          7));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.43");
    ASSERT_GE(id, 0);
    std::vector<uint8_t> buf(400, 0xcc);
    int size = 400;
    ASSERT_EQ(Sarvik_DownloadMem(id, 2, buf.data(), &size), 0);
    EXPECT_EQ(size, 280);
    for (int i = 0; i < 280; ++i) ASSERT_EQ(buf[i], static_cast<uint8_t>(i * 7)) << i;
    EXPECT_EQ(buf[280], 0xcc) << "nothing beyond the block is written";
}

TEST_F(TransferHandshake, CapacityTooSmallIsLoggedAndLeavesTheCapacity) {
    ScriptedPeer peer("127.0.3.44", 55502, camera([](uint16_t t) {
                          const int32_t size = 280;
                          return transfer_answer(t + 1, 0, &size, 280);
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.44");
    ASSERT_GE(id, 0);
    uint8_t buf[100];
    int size = 100;
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, buf, &size), -5);
    EXPECT_EQ(size, 100);
    EXPECT_TRUE(logged("Sarvik_DownloadMem", "mem size 280 larger than buffer 100")) << log();
}

TEST_F(TransferHandshake, NegativeAnnouncedSizeIsAMalformedAnswer) {
    ScriptedPeer peer("127.0.3.45", 55502, camera([](uint16_t t) {
                          const int32_t size = -4;
                          return transfer_answer(t + 1, 0, &size);
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.45");
    ASSERT_GE(id, 0);
    uint8_t buf[16];
    int size = sizeof buf;
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("g").c_str(), 3), -97);
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, buf, &size), -97);
    EXPECT_EQ(size, 16);
    EXPECT_FALSE(file_exists(dir.file("g")));
    EXPECT_TRUE(logged("Sarvik_DownloadFile", "recv resp RespFile_DownloadFile error")) << log();
}

TEST_F(TransferHandshake, PeerClosingMidPayloadLeavesNoFileAndLogsWhatWasMissing) {
    ScriptedPeer peer("127.0.3.46", 55502, camera([](uint16_t t) {
                          const int32_t size = 1000;
                          return transfer_answer(t + 1, 0, &size, 400);
                      }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.46");
    ASSERT_GE(id, 0);
    testsupport::write_file(dir.file("old.log"), "older");
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("old.log").c_str(), 3), -97);
    EXPECT_EQ(testsupport::read_file(dir.file("old.log")), "older");
    EXPECT_EQ(dir_entries(dir.path()), std::vector<std::string>{"old.log"});
    EXPECT_TRUE(logged("Sarvik_DownloadFile", "recv file error, toRecv 600")) << log();
    std::vector<uint8_t> buf(1000);
    int size = 1000;
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, buf.data(), &size), -97);
    EXPECT_EQ(size, 1000);
    EXPECT_TRUE(logged("Sarvik_DownloadMem", "recv mem error, toRecv 600")) << log();
}

TEST_F(TransferHandshake, CameraDroppingTheUploadLogsTheBytesStillToSend) {
    // The camera accepts, then closes without reading: more than the socket buffers hold cannot go out.
    ScriptedPeer peer("127.0.3.47", 55502,
                      camera([](uint16_t t) { return transfer_answer(t + 1, 0, nullptr); }));
    ASSERT_TRUE(peer.listening());
    const int id = login("127.0.3.47");
    ASSERT_GE(id, 0);
    write_pattern_file(dir.file("big"), 16 * 1048576, 47);
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("big").c_str(), 1), -98);
    EXPECT_NE(log().find("send file error, toSend "), std::string::npos) << log();
}

TEST_F(TransferHandshake, NobodyListeningLogsTheCameraAddress) {
    int id = -1;
    {
        ScriptedPeer peer("127.0.3.48", 55502, camera([](uint16_t) { return std::vector<uint8_t>(); }));
        ASSERT_TRUE(peer.listening());
        id = login("127.0.3.48");
        ASSERT_GE(id, 0);
    }
    int size = 0;
    EXPECT_EQ(Sarvik_DownloadMem(id, 2, nullptr, &size), -99);
    EXPECT_TRUE(logged("Sarvik_DownloadMem", "connect to 127.0.3.48 error")) << log();
}
