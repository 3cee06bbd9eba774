// The plug-in record travels behind an operation word; the camera's status word decides success.
#include <atomic>

#include "records_fixture.h"

using namespace recordstest;
using testsupport::PeerReply;
using testsupport::ScriptedPeer;

namespace {

// A camera that answers every plug-in exchange with the given status and a recognisable record, and
// remembers the request bodies it saw.
struct PluginPeer {
    explicit PluginPeer(int n, int32_t status)
        : peer(host(n), SARVIK_PORT_COMMAND,
               scripted_camera([this, status](uint16_t type, const std::vector<uint8_t> &req) {
                   PeerReply r;
                   if (type != SARVIK_MSG_CAMERA_PLUGIN_INFO || req.size() != 72) return r;
                   _CameraPluginExchange body = record_of<_CameraPluginExchange>(req, 4);
                   lastOperation = body.operation;
                   body.operation = status;
                   std::snprintf(body.info.username, sizeof body.info.username, "from-camera");
                   body.info.version = 77;
                   r.bytes = message(SARVIK_MSG_ANSWER(type), &body, sizeof body);
                   return r;
               })) {}
    std::atomic<int32_t> lastOperation{-100};
    ScriptedPeer peer;
};

_CameraPluginInfo sample_plugin() {
    _CameraPluginInfo p;
    std::memset(&p, 0x33, sizeof p);
    std::snprintf(p.username, sizeof p.username, "operator");
    std::snprintf(p.password, sizeof p.password, "secret");
    return p;
}

class PluginExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Sarvik_InitSDK(), 0); }
    void TearDown() override {
        if (id_ >= 0) Sarvik_Logout(id_);
        Sarvik_FreeSDK();
    }
    int id_ = -1;
};

}  // namespace

TEST_F(PluginExchange, WriteAnsweredWithStatusZeroIsRefused) {
    PluginPeer cam(20, SARVIK_PLUGIN_OP_READ);
    ASSERT_TRUE(cam.peer.listening());
    id_ = login(host(20));
    ASSERT_GE(id_, 0);
    const _CameraPluginInfo p = sample_plugin();
    EXPECT_EQ(Sarvik_SetCameraPluginInfo(id_, &p), -2);
    EXPECT_EQ(cam.lastOperation, SARVIK_PLUGIN_OP_WRITE);
    EXPECT_EQ(Sarvik_SetInfo(id_, SARVIK_INFO_CAMERA_PLUGIN, &p, sizeof p), -2);

    // The write carried the caller's record behind operation word 2.
    const auto reqs = cam.peer.requests();
    ASSERT_FALSE(reqs.empty());
    const auto &last = reqs.back();
    ASSERT_EQ(last.size(), 72u);
    EXPECT_EQ(record_of<uint16_t>(last, 0), SARVIK_MSG_CAMERA_PLUGIN_INFO);
    EXPECT_EQ(record_of<uint16_t>(last, 2), 72);
    EXPECT_EQ(record_of<int32_t>(last, 4), SARVIK_PLUGIN_OP_WRITE);
    EXPECT_EQ(0, std::memcmp(last.data() + 8, &p, sizeof p));
}

TEST_F(PluginExchange, ReadAnsweredWithStatusTwoIsRefusedAndLeavesTheRecord) {
    PluginPeer cam(21, SARVIK_PLUGIN_OP_WRITE);
    ASSERT_TRUE(cam.peer.listening());
    id_ = login(host(21));
    ASSERT_GE(id_, 0);
    _CameraPluginInfo p;
    std::memset(&p, 0xEE, sizeof p);
    EXPECT_EQ(Sarvik_GetCameraPluginInfo(id_, &p), -2);
    EXPECT_EQ(cam.lastOperation, SARVIK_PLUGIN_OP_READ);
    EXPECT_EQ(Sarvik_GetInfo(id_, SARVIK_INFO_CAMERA_PLUGIN, &p, sizeof p), -2);
    for (size_t i = 0; i < sizeof p; ++i) ASSERT_EQ(reinterpret_cast<uint8_t *>(&p)[i], 0xEE);
}

TEST_F(PluginExchange, OtherStatusesAreRefusedToo) {
    PluginPeer cam(22, -1);
    ASSERT_TRUE(cam.peer.listening());
    id_ = login(host(22));
    ASSERT_GE(id_, 0);
    _CameraPluginInfo p = sample_plugin();
    EXPECT_EQ(Sarvik_GetCameraPluginInfo(id_, &p), -2);
    EXPECT_EQ(Sarvik_SetCameraPluginInfo(id_, &p), -2);
}

TEST_F(PluginExchange, ReadWithStatusZeroTakesTheCamerasRecord) {
    PluginPeer cam(23, SARVIK_PLUGIN_OP_READ);
    ASSERT_TRUE(cam.peer.listening());
    id_ = login(host(23));
    ASSERT_GE(id_, 0);
    _CameraPluginInfo p;
    std::memset(&p, 0, sizeof p);
    ASSERT_EQ(Sarvik_GetCameraPluginInfo(id_, &p), 0);
    EXPECT_STREQ(p.username, "from-camera");
    EXPECT_EQ(p.version, 77);
    const auto reqs = cam.peer.requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_EQ(reqs.back().size(), 72u) << "a read sends the whole 68-byte body too";
    EXPECT_EQ(record_of<int32_t>(reqs.back(), 4), SARVIK_PLUGIN_OP_READ);
}

TEST_F(PluginExchange, VirtualCameraKeepsItsVersions) {
    testsupport::VcamProcess vcam(host(24));
    ASSERT_TRUE(vcam.ready());
    id_ = login(host(24));
    ASSERT_GE(id_, 0);
    _CameraPluginInfo before;
    ASSERT_EQ(Sarvik_GetCameraPluginInfo(id_, &before), 0);
    EXPECT_NE(before.version, 0);

    _CameraPluginInfo p = before;
    p.version = 1;
    p.onvif_version = 1;
    std::snprintf(p.username, sizeof p.username, "viewer");
    p.gb28181_enable = 1;
    ASSERT_EQ(Sarvik_SetCameraPluginInfo(id_, &p), 0);

    _CameraPluginInfo after;
    ASSERT_EQ(Sarvik_GetCameraPluginInfo(id_, &after), 0);
    EXPECT_EQ(after.version, before.version);
    EXPECT_EQ(after.onvif_version, before.onvif_version);
    EXPECT_STREQ(after.username, "viewer");
    EXPECT_EQ(after.gb28181_enable, 1);
}
