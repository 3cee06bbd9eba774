// A logged-in scripted camera on one of this folder's addresses, its video size 160 x 120, and a clip to
// stream from its video or mixed port.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "video_test_support.h"

namespace videotest {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

class VideoPreviewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!clip_) clip_ = new Clip(make_clip(kWidth, kHeight, 40));
    }
    void SetUp() override {
        ASSERT_EQ(clip_->units.size(), 40u) << "the codec layer could not encode the clip";
    }
    void TearDown() override {
        for (int p : previews_) Sarvik_StopPreview(p);
        if (user_ >= 0) Sarvik_Logout(user_);
        Sarvik_FreeSDK();
        peer_.reset();
        camera_.reset();
    }

    // Logs in to a scripted camera on 127.0.9.n and serves its port with plan.
    void camera(int n, uint16_t port, std::function<ConnectionPlan(int)> plan, int intervalMs = 10) {
        ip_ = host(n);
        camera_ = scripted_login_camera(ip_, kWidth, kHeight);
        ASSERT_TRUE(camera_->listening());
        peer_ = std::make_unique<StreamPeer>(ip_, port, *clip_, std::move(plan), intervalMs);
        ASSERT_TRUE(peer_->listening()) << "port " << port << " of " << ip_ << " is taken";
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        _LoginInfo l;
        std::memset(&l, 0, sizeof l);
        std::snprintf(l.ip, sizeof l.ip, "%s", ip_.c_str());
        _CameraBasicInfo info;
        user_ = Sarvik_Login(&l, &info);
        ASSERT_GE(user_, 0);
        ASSERT_EQ(info.videoWidth, kWidth);
    }

    int start(uint8_t kind) {
        PreviewParam p = preview_param(kind, &events_);
        const int h = Sarvik_StartPreview(user_, &p);
        if (h >= 0) previews_.push_back(h);
        return h;
    }

    static ConnectionPlan plan(int frames, bool gated = false, bool closeAfter = false) {
        ConnectionPlan p;
        p.startWidth = kWidth;
        p.startHeight = kHeight;
        p.frames = frames;
        p.gated = gated;
        p.closeAfter = closeAfter;
        return p;
    }

    static inline Clip *clip_ = nullptr;
    std::string ip_;
    std::unique_ptr<testsupport::ScriptedPeer> camera_;
    std::unique_ptr<StreamPeer> peer_;
    int user_ = -1;
    Events events_;
    std::vector<int> previews_;
    testsupport::TempDir dir_;
};

}  // namespace videotest
