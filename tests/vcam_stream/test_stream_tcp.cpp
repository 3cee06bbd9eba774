// The virtual camera's TCP temperature stream read with the SDK's TCP receiver: header fields, the known
// scene, raw and delta-run payloads, and the stream faults.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "stream_client.h"
#include "vcam_process.h"

using namespace streamtest;
using testsupport::VcamProcess;

namespace {

constexpr int kTcp = SARVIK_TRANSPORT_TCP;
constexpr int64_t kTicksPerSecond = 10000000;

// Rows above the warm disc's path and clear of everything but the gradient.
int clear_rows(int height) { return height * 17 / 100; }

double gradient_at(double x, int width) { return 20.0 + 5.0 * x / (width - 1); }

// The background is the documented gradient: strips at the left, middle and right.
void expect_background(const StreamClient &c) {
    const int w = c.width(), rows = clear_rows(c.height());
    for (int x0 : {0, w / 2 - 8, w - 16}) {
        const double expected = gradient_at(x0 + 7.5, w);
        EXPECT_NEAR(c.mean_temp(x0, x0 + 16, 0, rows), expected, 0.05) << "strip at column " << x0;
    }
}

// The warm disc of radius height / 10 at 37 °C somewhere in the picture.
void expect_warm_disc(const StreamClient &c) {
    const double r = c.height() / 10;
    const int warm = c.count_at_least(36.0f);
    EXPECT_NEAR(warm, 3.14159 * r * r, 0.15 * 3.14159 * r * r);
    double sum = 0;
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.temp_at(x, y) >= 36.0f) {
                sum += c.temp_at(x, y);
                ++n;
            }
    ASSERT_GT(n, 0);
    EXPECT_NEAR(sum / n, 37.0, 0.02);
    EXPECT_NEAR(c.max_temp(), 37.0, 0.1);
}

}  // namespace

TEST(VcamStreamTcp, RawFramesCarryTheHeaderFieldsAndRisingTimeStamps) {
    const std::string ip = "127.0.6.1";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    int64_t last = 0;
    int32_t lastFpa = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(c.receive(), 0) << "frame " << i;
        const _DataFrameHeader &h = c.header();
        EXPECT_EQ(h.width, 384);
        EXPECT_EQ(h.height, 288);
        EXPECT_EQ(h.encodedLength, 0);
        EXPECT_EQ(h.slope, 100);
        EXPECT_EQ(h.offset, 0);
        EXPECT_EQ(h.dataKind, SARVIK_DATA_KIND_RAW);
        EXPECT_GT(h.timestamp, last);
        EXPECT_LT(std::llabs(h.timestamp - unix_ticks_now()), 5 * kTicksPerSecond);
        EXPECT_GT(h.fpaTemp, 30000);
        EXPECT_LT(h.fpaTemp, 40000);
        EXPECT_GT(h.shellTemp, 25000);
        EXPECT_LT(h.shellTemp, 35000);
        EXPECT_NE(h.shellTempHW, 0);
        if (i > 0) {
            EXPECT_LT(std::abs(h.fpaTemp - lastFpa), 100) << "FPA temperature drifts slowly";
        }
        last = h.timestamp;
        lastFpa = h.fpaTemp;
    }
}

TEST(VcamStreamTcp, SceneShowsTheGradientTheWarmDiscAndTemporalNoise) {
    const std::string ip = "127.0.6.2";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--seed", "7"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    expect_background(c);
    expect_warm_disc(c);
    const std::vector<int16_t> first(c.samples(), c.samples() + 384 * clear_rows(288));
    ASSERT_EQ(c.receive(), 0);
    double sum = 0, sum2 = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        const double d = (c.samples()[i] - first[i]) / 100.0;
        sum += d;
        sum2 += d * d;
    }
    const double mean = sum / first.size();
    const double sd = std::sqrt(sum2 / first.size() - mean * mean);
    EXPECT_NEAR(mean, 0.0, 0.005);
    EXPECT_GT(sd, 0.010) << "noise of tens of millikelvin between frames";
    EXPECT_LT(sd, 0.100);
}

TEST(VcamStreamTcp, DeltaRunFramesAreEncodedOnTheWireAndDecodeToTheScene) {
    const std::string ip = "127.0.6.3";
    VcamProcess cam(ip, {"--size", "640x512", "--stream-encoding", "delta"});
    ASSERT_TRUE(cam.ready());
    {
        const int fd = tcp_connect(ip, kStreamPort);
        ASSERT_GE(fd, 0);
        _DataFrameHeader h{};
        ASSERT_TRUE(recv_all(fd, &h, sizeof h));
        EXPECT_GT(h.encodedLength, 14);
        EXPECT_LT(h.encodedLength, 2 * 640 * 512);
        DeltaRunHeader d{};
        ASSERT_TRUE(recv_all(fd, &d, sizeof d));
        EXPECT_EQ(d.decodedSize, 2 * 640 * 512);
        EXPECT_EQ(d.encodedSize, h.encodedLength);
        close(fd);
    }
    StreamClient c(kTcp, 640, 512);
    ASSERT_EQ(c.open(ip), 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(c.receive(), 0);
    expect_background(c);
    expect_warm_disc(c);
}

TEST(VcamStreamTcp, HighRangeModelShowsTheHotObject) {
    const std::string ip = "127.0.6.4";
    VcamProcess cam(ip, {"--size", "384x288", "--slope", "10", "--stream-encoding", "delta"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.header().slope, 10);
    EXPECT_NEAR(c.max_temp(), 450.0, 0.2);
    EXPECT_GT(c.count_at_least(400.0f), 100);
    // Far from the hot square the gradient is unchanged, at the coarser resolution of this range.
    EXPECT_NEAR(c.mean_temp(0, 16, 0, clear_rows(288)), gradient_at(7.5, 384), 0.1);
}

TEST(VcamStreamTcp, R1280HModelStreamsDataKind2WithColumnStripes) {
    const std::string ip = "127.0.6.5";
    VcamProcess cam(ip, {"--size", "1280x1024", "--software-id", "R1280H-V2.1", "--fps", "10"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 1280, 1024);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.header().dataKind, SARVIK_DATA_KIND_TEMPERATURE);
    EXPECT_EQ(c.header().width, 1280);
    const int rows = clear_rows(1024);
    double worst = 0;
    for (int x = 0; x < 1280; ++x)
        worst = std::max(worst, std::fabs(c.mean_temp(x, x + 1, 0, rows) - gradient_at(x, 1280)));
    EXPECT_GT(worst, 0.04) << "columns carry fixed stripes";
    EXPECT_LT(worst, 0.075);
}

TEST(VcamStreamTcp, PlainModelHasNoStripes) {
    const std::string ip = "127.0.6.6";
    VcamProcess cam(ip, {"--size", "640x512"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 640, 512);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    const int rows = clear_rows(512);
    for (int x = 0; x < 640; ++x)
        ASSERT_NEAR(c.mean_temp(x, x + 1, 0, rows), gradient_at(x, 640), 0.02) << "column " << x;
}

TEST(VcamStreamTcp, DroppedStreamIsSeenAsBrokenAndTheCameraTakesAReconnect) {
    const std::string ip = "127.0.6.7";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-drop", "3"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    EXPECT_EQ(drop_and_reconnect(c, ip, 3), "");
}

TEST(VcamStreamTcp, StalledStreamTimesOut) {
    const std::string ip = "127.0.6.8";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-stall", "2"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.receive(), -97);
}

TEST(VcamStreamTcp, MalformedFramesAreRefusedAndTheStreamStaysInStep) {
    const std::string ip = "127.0.6.9";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-malformed", "2"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(c.receive(), 0) << "pair " << i;
        EXPECT_EQ(c.receive(), -11) << "pair " << i;
    }
    ASSERT_EQ(c.receive(), 0);
    expect_background(c);
}

TEST(VcamStreamTcp, SlowlySentFramesArriveWhole) {
    const std::string ip = "127.0.6.10";
    VcamProcess cam(ip, {"--size", "384x288", "--fault-stream-slow", "40"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(c.receive(), 0);
    expect_background(c);
    expect_warm_disc(c);
}

TEST(VcamStreamTcp, CameraAwayAfterADropRefusesStreamsThenComesBack) {
    const std::string ip = "127.0.6.11";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50", "--fault-stream-drop", "2", "--fault-stream-away", "2"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.receive(), -97);
    c.close();
    int failures = 0;
    bool back = false;
    for (int attempt = 0; attempt < 60 && !back; ++attempt) {
        back = c.open(ip) == 0 && c.receive() == 0;
        c.close();
        if (!back) {
            ++failures;
            usleep(100 * 1000);
        }
    }
    EXPECT_TRUE(back) << "streams again once the absence is over";
    EXPECT_GT(failures, 0) << "no stream while away";
}

namespace {

// One-way shutter control on the command port, as the SDK sends it.
bool send_shutter(const std::string &ip, uint8_t position) {
    const int fd = tcp_connect(ip, SARVIK_PORT_COMMAND);
    if (fd < 0) return false;
    uint8_t msg[4 + sizeof(_Ctl)] = {};
    const uint16_t head[2] = {SARVIK_MSG_CONTROL, sizeof msg};
    std::memcpy(msg, head, sizeof head);
    _Ctl ctl{};
    ctl.command = SARVIK_CTL_SHUTTER;
    ctl.param[0] = position;
    std::memcpy(msg + 4, &ctl, sizeof ctl);
    const bool sent = send(fd, msg, sizeof msg, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof msg);
    close(fd);
    return sent;
}

bool uniform(const StreamClient &c) {
    const int16_t *s = c.samples();
    return std::all_of(s, s + c.width() * c.height(), [s](int16_t v) { return v == s[0]; });
}

}  // namespace

TEST(VcamStreamTcp, ClosedShutterShowsAUniformPlateAtShellTemperature) {
    const std::string ip = "127.0.6.12";
    VcamProcess cam(ip, {"--size", "384x288", "--fps", "50"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 384, 288);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    ASSERT_FALSE(uniform(c));
    ASSERT_TRUE(send_shutter(ip, SARVIK_SHUTTER_CLOSE));
    bool plate = false;
    for (int i = 0; i < 100 && !plate; ++i) plate = c.receive() == 0 && uniform(c);
    ASSERT_TRUE(plate);
    EXPECT_NEAR(c.temp_at(0, 0), c.header().shellTemp / 1000.0, 0.01);
    ASSERT_TRUE(send_shutter(ip, SARVIK_SHUTTER_OPEN));
    bool scene = false;
    for (int i = 0; i < 100 && !scene; ++i) scene = c.receive() == 0 && !uniform(c);
    ASSERT_TRUE(scene);
    expect_background(c);
}

TEST(VcamStreamTcp, DataKindOptionOverridesTheModel) {
    const std::string ip = "127.0.6.40";
    VcamProcess cam(ip, {"--size", "80x60", "--data-kind", "2", "--fps", "25"});
    ASSERT_TRUE(cam.ready());
    StreamClient c(kTcp, 80, 60);
    ASSERT_EQ(c.open(ip), 0);
    ASSERT_EQ(c.receive(), 0);
    EXPECT_EQ(c.header().dataKind, SARVIK_DATA_KIND_TEMPERATURE);
    VcamProcess raw("127.0.6.41", {"--size", "80x60", "--software-id", "R1280H-V2.1", "--data-kind", "0"});
    ASSERT_TRUE(raw.ready());
    StreamClient r(kTcp, 80, 60);
    ASSERT_EQ(r.open("127.0.6.41"), 0);
    ASSERT_EQ(r.receive(), 0);
    EXPECT_EQ(r.header().dataKind, SARVIK_DATA_KIND_RAW);
}
