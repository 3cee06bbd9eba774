#include "records_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

using testsupport::PeerReply;

namespace recordstest {

std::string host(int n) {
    return "127.0.1." + std::to_string(n);
}

void CameraTest::SetUp() {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
}

void CameraTest::TearDown() {
    stop_camera();
    Sarvik_FreeSDK();
}

void CameraTest::start_camera(int n, const std::vector<std::string> &args) {
    ip_ = host(n);
    // Logs of their own per camera: a test may start several.
    requestLog_ = dir_.file("requests-" + std::to_string(n) + ".log");
    eventLog_ = dir_.file("events-" + std::to_string(n) + ".log");
    std::vector<std::string> all = {"--request-log", requestLog_, "--event-log", eventLog_};
    all.insert(all.end(), args.begin(), args.end());
    cam_ = std::make_unique<testsupport::VcamProcess>(ip_, all);
    ASSERT_TRUE(cam_->ready()) << "virtual camera on " << ip_;
    id_ = login(ip_);
    ASSERT_GE(id_, 0) << "login to " << ip_;
    // Login ends with a one-way clock set; wait until the camera has taken it, so that what the camera
    // receives from here on comes from the test.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (requests().size() < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(requests(), (std::vector<uint16_t>{SARVIK_MSG_GET_CAMERA_BASIC_INFO, SARVIK_MSG_GET_FIX_INFO,
                                                 SARVIK_MSG_CONTROL_X}));
}

void CameraTest::stop_camera() {
    if (id_ >= 0) Sarvik_Logout(id_);
    id_ = -1;
    if (cam_) cam_->stop();
}

std::vector<uint16_t> CameraTest::requests() const {
    std::istringstream in(testsupport::read_file(requestLog_));
    std::vector<uint16_t> types;
    unsigned type = 0, length = 0;
    while (in >> type >> length) types.push_back(static_cast<uint16_t>(type));
    return types;
}

std::string CameraTest::events() const {
    return testsupport::read_file(eventLog_);
}

bool CameraTest::wait_event(const std::string &text, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (events().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::vector<uint8_t> message(uint16_t type, const void *body, size_t size) {
    std::vector<uint8_t> m = testsupport::make_message(type, size);
    if (size) std::memcpy(m.data() + 4, body, size);
    return m;
}

testsupport::ScriptedPeer::Script scripted_camera(PeerRest rest) {
    return [rest](const std::vector<uint8_t> &req) {
        uint16_t type = 0;
        std::memcpy(&type, req.data(), 2);
        PeerReply r;
        if (type == SARVIK_MSG_GET_CAMERA_BASIC_INFO) {
            _CameraBasicInfo b;
            std::memset(&b, 0, sizeof b);
            std::snprintf(b.cameraId, sizeof b.cameraId, "SCRIPTED");
            b.dataWidth = 384;
            b.dataHeight = 288;
            b.dataFps = 25;
            r.bytes = message(SARVIK_MSG_ANSWER(type), &b, sizeof b);
        } else if (type == SARVIK_MSG_GET_FIX_INFO) {
            _FixInfo f;
            std::memset(&f, 0, sizeof f);
            r.bytes = message(SARVIK_MSG_ANSWER(type), &f, sizeof f);
        } else if (type == SARVIK_MSG_CONTROL_X && req.size() == 72 && req[4] == SARVIK_CTLX_SET_TIME) {
            // login's one-way time set: nothing to say
        } else {
            r = rest(type, req);
        }
        return r;
    };
}

int login(const std::string &ip) {
    _LoginInfo l;
    std::memset(&l, 0, sizeof l);
    std::snprintf(l.ip, sizeof l.ip, "%s", ip.c_str());
    _CameraBasicInfo info;
    return Sarvik_Login(&l, &info);
}

std::vector<uint8_t> raw_exchange(const std::string &ip, const std::vector<uint8_t> &request) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(SARVIK_PORT_COMMAND);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::vector<uint8_t> out;
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        uint8_t buf[1024];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0) out.insert(out.end(), buf, buf + n);
    }
    close(fd);
    return out;
}

}  // namespace recordstest
