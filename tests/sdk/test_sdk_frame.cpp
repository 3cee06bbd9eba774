// Start-up and release bookkeeping, time-outs, and the checks every per-camera call makes first.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "sdk_global.h"
#include "sdk_log.h"

using namespace sarvik;

namespace {

std::mutex g_linesMutex;
std::string g_lines;

void capture_line(int, const char *line, int length) {
    std::lock_guard<std::mutex> lock(g_linesMutex);
    g_lines.append(line, static_cast<size_t>(length));
}

std::string captured() {
    std::lock_guard<std::mutex> lock(g_linesMutex);
    return g_lines;
}

}  // namespace

TEST(SdkFrame, CallsBeforeInitReportNotInitialised) {
    ASSERT_FALSE(sdk_initialised());
    _LoginInfo login{};
    _CameraBasicInfo info{};
    std::snprintf(login.ip, sizeof login.ip, "127.0.0.1");
    EXPECT_EQ(Sarvik_Login(&login, &info), -4);
    EXPECT_EQ(Sarvik_Logout(0), -4);
    uint32_t addr;
    uint16_t port;
    EXPECT_EQ(sdk_session_resolve(0, &addr, &port), -4);
    Sarvik_FreeSDK();  // harmless when not initialised
}

TEST(SdkFrame, InitAcquiresEverythingAndFreeReleasesIt) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    SdkGlobal &g = sdk();
    EXPECT_EQ(g.initFlags & (kInitDone | kInitLogger | kInitDiscover | kInitCodec | kInitPalette | kInitMutex),
              kInitDone | kInitLogger | kInitDiscover | kInitCodec | kInitPalette | kInitMutex);
    EXPECT_GE(g.discoverSocket, 0);
    ASSERT_NE(g.paletteTable, nullptr);
    EXPECT_EQ(g.paletteCount, 12);
    Sarvik_FreeSDK();
    EXPECT_EQ(g.initFlags.load(), 0u);
    EXPECT_EQ(g.discoverSocket, -1);
    EXPECT_EQ(g.answerSocket, -1);
    EXPECT_EQ(g.paletteTable, nullptr);
    // A released SDK starts again.
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    Sarvik_FreeSDK();
}

TEST(SdkFrame, IdsOutsideTheTableOrUnusedAreRejected) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    uint32_t addr;
    uint16_t port;
    EXPECT_EQ(sdk_session_resolve(256, &addr, &port), -10);
    EXPECT_EQ(sdk_session_resolve(-1, &addr, &port), -10);
    EXPECT_EQ(sdk_session_resolve(0, &addr, &port), -10) << "entry not in use";
    EXPECT_EQ(Sarvik_Logout(256), -10);
    EXPECT_EQ(Sarvik_Logout(-1), -10);
    EXPECT_EQ(Sarvik_Logout(17), 0) << "logging out a free id changes nothing";
    Sarvik_FreeSDK();
}

TEST(SdkFrame, TimeoutsAreTakenOnlyInsideTheirRange) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    SdkGlobal &g = sdk();
    Sarvik_SetTimeout(1000, 5000, 9000);
    EXPECT_EQ(g.connectTimeoutMs, 2000);
    EXPECT_EQ(g.sendTimeoutMs, 5000);
    EXPECT_EQ(g.recvTimeoutMs, 2000);
    Sarvik_SetTimeout(2000, 8000, 8001);
    EXPECT_EQ(g.connectTimeoutMs, 2000);
    EXPECT_EQ(g.sendTimeoutMs, 8000);
    EXPECT_EQ(g.recvTimeoutMs, 2000);
    Sarvik_SetTimeout(3000, 1999, 7999);
    EXPECT_EQ(g.connectTimeoutMs, 3000);
    EXPECT_EQ(g.sendTimeoutMs, 8000);
    EXPECT_EQ(g.recvTimeoutMs, 7999);

    // A second init changes nothing, time-outs included.
    EXPECT_EQ(Sarvik_InitSDK(), 0);
    EXPECT_EQ(g.connectTimeoutMs, 3000);
    Sarvik_FreeSDK();
}

TEST(SdkFrame, TimeoutsSetBeforeInitDoNotLast) {
    Sarvik_SetTimeout(5000, 5000, 5000);
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    SdkGlobal &g = sdk();
    EXPECT_EQ(g.connectTimeoutMs, 2000);
    EXPECT_EQ(g.sendTimeoutMs, 2000);
    EXPECT_EQ(g.recvTimeoutMs, 2000);
    Sarvik_FreeSDK();
}

TEST(SdkFrame, FrameBufferSizeFollowsBothResolutions) {
    _CameraBasicInfo b{};
    b.dataWidth = 640;
    b.dataHeight = 512;
    EXPECT_EQ(sdk_frame_buffer_size(b), (2u * 640 * 512 + 640 * 512 + 8358) * 2);
    b.videoWidth = 1920;
    b.videoHeight = 1080;
    EXPECT_EQ(sdk_frame_buffer_size(b), (2u * 1920 * 1080 + 640 * 512 + 8358) * 2);
    b.videoHeight = 0;
    EXPECT_EQ(sdk_frame_buffer_size(b), (2u * 640 * 512 + 640 * 512 + 8358) * 2);
}

// Workers that run across Sarvik_FreeSDK (alarm endpoints, previews not stopped) keep the log open; the last
// hold to go closes it, and nothing is written after that. Lines from several threads meet the release.
TEST(SdkFrame, LogStaysOpenUntilTheLastWorkerThatMayLogHasGone) {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    logger_set_handler(logger_create_default(), capture_line);
    {
        SdkLogHold worker;
        std::vector<std::thread> loggers;
        for (int t = 0; t < 4; ++t)
            loggers.emplace_back([t] {
                SdkLogHold hold;
                for (int i = 0; i < 200; ++i) SDK_LOG("worker %d line %d", t, i);
            });
        Sarvik_FreeSDK();
        for (std::thread &th : loggers) th.join();
        SDK_LOG("after release");
    }
    SDK_LOG("after the last hold");
    SdkLogHold none;  // taken with no logger: holds nothing, so nothing is written
    SDK_LOG("with no logger");
    const std::string lines = captured();
    EXPECT_NE(lines.find("after release"), std::string::npos);
    EXPECT_EQ(lines.find("after the last hold"), std::string::npos);
    EXPECT_EQ(lines.find("with no logger"), std::string::npos);
    // Each worker that got its hold before the release wrote every line.
    for (int t = 0; t < 4; ++t) {
        const std::string last = "worker " + std::to_string(t) + " line 199";
        const std::string first = "worker " + std::to_string(t) + " line 0\n";
        EXPECT_EQ(lines.find(first) == std::string::npos, lines.find(last) == std::string::npos) << t;
    }
}
