// The device layer: node list, live device against virtual cameras (start, failures, state rules, flags,
// frame rate, hand-over, chart, snapshots, recordings, controls, gear, stream drops) and the options.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <cmath>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

#include <sys/resource.h>

#include "AppStatic.h"
#include "CApp.h"
#include "CDevice.h"
#include "CDeviceManager.h"
#include "CDeviceNode.h"
#include "TCSeriesBase.h"
#include "TempChart.h"
#include "TempDataState.h"
#include "canvas_support.h"
#include "device_support.h"

namespace {

// Address hosts of 127.0.31.x, one per camera of this file.
enum Host {
    kHostNoCamera = 1,
    kHostRules = 2,
    kHostRefusedPreview = 4,
    kHostGood = 5,
    kHostFps = 6,
    kHostSnapshot = 7,
    kHostGear = 9,
    kHostNoGear = 10,
    kHostDrop = 12,
    kHostAway = 13,
    kHostSkip = 14,
    kHostApp = 15,
    kHostUdp = 17,
};

struct FlagRecorder {
    QObject context;  // ends the connections with the recorder
    QStringList events;
    explicit FlagRecorder(CDevice *d) {
        QObject::connect(d, &CDevice::isWorkingChanged, &context, [this] { events << "working"; });
        QObject::connect(d, &CDevice::isPausedChanged, &context, [this] { events << "paused"; });
        QObject::connect(d, &CDevice::isRecordingChanged, &context, [this] { events << "recording"; });
        QObject::connect(d, &CDevice::isRecoveringChanged, &context, [this] { events << "recovering"; });
    }
    QStringList take() {
        QStringList out = events;
        events.clear();
        return out;
    }
};

CDeviceNode *nodeWithId(QObject *parent, const char *id) {
    auto *n = new CDeviceNode(parent);
    n->set_deviceId(QString::fromLatin1(id));
    return n;
}

_DataFrameHeader headerAt(int64_t stamp, int fpa = 30000, int shell = 31000, int shellHW = 32000) {
    _DataFrameHeader h;
    std::memset(&h, 0, sizeof(h));
    h.timestamp = stamp;
    h.fpaTemp = fpa;
    h.shellTemp = shell;
    h.shellTempHW = shellHW;
    return h;
}

}  // namespace

// ---- data state, nodes, manager ------------------------------------------------------------------------

TEST(DeviceState, SetDataTakesHeaderFiguresAndSignalsOnlyChanges) {
    TempDataState s;
    SignalLog fpa(&s, &TempDataState::fpaTempChanged), gpio(&s, &TempDataState::gpioInputChanged),
        fps(&s, &TempDataState::fpsChanged);
    _DataFrameHeader h = headerAt(1, 41250, -5000, 36500);
    h.gpioInput = 3;
    s.setData(h);
    EXPECT_FLOAT_EQ(s.fpaTemp(), 41.25f);
    EXPECT_FLOAT_EQ(s.shellTemp(), -5.0f);
    EXPECT_FLOAT_EQ(s.shellTempHW(), 36.5f);
    EXPECT_EQ(s.gpioInput(), 3);
    s.setData(h);
    EXPECT_EQ(fpa.count(), 1);
    EXPECT_EQ(gpio.count(), 1);
    s.reset();
    EXPECT_EQ(s.fpaTemp(), 0.0f);
    EXPECT_EQ(fpa.count(), 2);
    EXPECT_EQ(fps.count(), 0) << "fps was 0 already";
}

TEST(DeviceNode, TakesAddressAndTextsFromADiscoveryAnswer) {
    _DiscoverCameraResp2 a;
    std::memset(&a, 0, sizeof(a));
    a.cameraIp = (192u << 24) | (168u << 16) | (1u << 8) | 23u;
    std::memset(a.basicInfo.cameraId, 'C', sizeof(a.basicInfo.cameraId));  // no terminator
    std::strcpy(a.basicInfo.softwareId, "R640-GS-V2.1.0");
    std::strcpy(a.basicInfo.fpaId, "FPA7");
    CDeviceNode n;
    n.set_edit_select(true);
    n.init(a);
    EXPECT_EQ(n.deviceIp(), QStringLiteral("192.168.1.23"));
    EXPECT_EQ(n.deviceId(), QString(32, QLatin1Char('C')));
    EXPECT_EQ(n.softwareId(), QStringLiteral("R640-GS-V2.1.0"));
    EXPECT_EQ(n.fpaId(), QStringLiteral("FPA7"));
    EXPECT_FALSE(n.edit_select());
}

TEST(DeviceManager, SortsNodesByPlainTextKeepingEqualOnesInArrivalOrder) {
    const struct {
        const char *name;
        std::vector<const char *> arrival;
        std::vector<int> expected;  // indices into arrival
    } cases[] = {
        {"text order, not numeric", {"A9", "A10"}, {1, 0}},
        {"already sorted", {"A1", "B2", "C3"}, {0, 1, 2}},
        {"equal ids keep discovery order", {"X", "A", "X", "A"}, {1, 3, 0, 2}},
        {"empty id first", {"B", "", "A"}, {1, 2, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QObject owner;
        QList<CDeviceNode *> list;
        std::vector<CDeviceNode *> made;
        for (const char *id : c.arrival) {
            made.push_back(nodeWithId(&owner, id));
            CDeviceManager::sortedInsert(list, made.back());
        }
        ASSERT_EQ(list.size(), static_cast<int>(c.expected.size()));
        for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(list.at(int(i)), made[c.expected[i]]) << i;
    }
}

TEST(DeviceManager, NodeCreateAddsAnAddressOnce) {
    DeviceWorld world;
    CDeviceManager m;
    SignalLog changed(&m, &CDeviceManager::nodeListChanged);
    const struct {
        const char *ip;
        int count;
    } steps[] = {{"127.0.31.50", 1}, {"127.0.31.50", 1}, {" 127.0.31.50 ", 1}, {"", 1}, {"127.0.31.51", 2}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.ip);
        m.node_create(QString::fromLatin1(s.ip));
        EXPECT_EQ(m.nodes().size(), s.count);
    }
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(m.nodes().at(0)->deviceIp(), QStringLiteral("127.0.31.50"));
    EXPECT_TRUE(m.nodes().at(0)->deviceId().isEmpty());
    EXPECT_EQ(m.workState(), 0);
}

TEST(DeviceManager, StartupCamerasAreListedAndTheSearchCanBeSkipped) {
    DeviceWorld world;
    CDeviceManager m;
    m.node_create(QStringLiteral("127.0.31.52"));
    m.setStartupOptions({QStringLiteral("127.0.31.52"), QStringLiteral("127.0.31.53"),
                         QStringLiteral("127.0.31.53")},
                        false);
    EXPECT_FALSE(m.discoveryAtStart());
    EXPECT_EQ(m.startupCameras().size(), 2);
    SignalLog state(&m, &CDeviceManager::workStateChanged);
    m.node_startup();
    ASSERT_EQ(m.nodes().size(), 2);
    EXPECT_EQ(m.nodes().at(1)->deviceIp(), QStringLiteral("127.0.31.53"));
    EXPECT_EQ(m.workState(), 0);
    EXPECT_EQ(state.count(), 0) << "no search was started";
}

TEST(DeviceManager, ASearchReplacesTheListSortedAndKeepsTheStartupCameras) {
    DeviceWorld world;
    CDeviceManager m;
    m.setStartupOptions({QStringLiteral("10.1.0.9"), QStringLiteral("10.1.0.2")}, false);
    m.node_startup();
    m.node_create(QStringLiteral("10.1.0.77"));
    ASSERT_EQ(m.nodes().size(), 3);
    QPointer<CDeviceNode> typed = m.nodes().at(2);

    // Answers in arrival order; 10.1.0.2 is one of the start-up addresses.
    const struct {
        const char *id;
        uint32_t ip;
    } answers[] = {{"A9", 0x0A010005}, {"A10", 0x0A010002}, {"B1", 0x0A010003}, {"A9", 0x0A010004}};
    std::vector<_DiscoverCameraNode> list(std::size(answers));
    for (size_t i = 0; i < list.size(); ++i) {
        std::memset(&list[i], 0, sizeof(list[i]));
        std::strcpy(list[i].camera.basicInfo.cameraId, answers[i].id);
        list[i].camera.cameraIp = answers[i].ip;
        list[i].next = i + 1 < list.size() ? &list[i + 1] : nullptr;
    }
    SignalLog changed(&m, &CDeviceManager::nodeListChanged);
    m.setDiscoveredNodes(list.data());
    EXPECT_EQ(changed.count(), 1);
    QStringList got;
    for (const CDeviceNode *n : m.nodes()) got << n->deviceId() + QLatin1Char('@') + n->deviceIp();
    EXPECT_EQ(got, QStringList({"A10@10.1.0.2", "A9@10.1.0.5", "A9@10.1.0.4", "B1@10.1.0.3", "@10.1.0.9"}));
    // The typed address is gone with the old list (deleted once the views have let go).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(typed.isNull());

    m.setDiscoveredNodes(nullptr);  // nothing answered
    ASSERT_EQ(m.nodes().size(), 2);
    EXPECT_EQ(m.nodes().at(0)->deviceIp(), QStringLiteral("10.1.0.9"));
    EXPECT_EQ(m.nodes().at(1)->deviceIp(), QStringLiteral("10.1.0.2"));
}

// ---- frame rate and chart ------------------------------------------------------------------------------

TEST(DeviceRate, FiftyFrameWindow) {
    const struct {
        const char *name;
        int64_t step;  // 100 ns between frames
        float before;
        float expected;
        bool updated;
    } cases[] = {
        {"25 Hz", 400000, 0.0f, 25.0f, true},
        {"50 Hz", 200000, 7.0f, 50.0f, true},
        {"equal stamps keep the previous figure", 0, 12.5f, 12.5f, false},
        {"stamps running backwards keep it too", -1000, 12.5f, 12.5f, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int64_t windowTime = 0;
        int count = 0;
        float fps = c.before;
        const int64_t start = 1000000000;
        EXPECT_FALSE(CDevice::frameRateStep(&windowTime, &count, start, &fps));
        for (int i = 1; i < 50; ++i)
            EXPECT_FALSE(CDevice::frameRateStep(&windowTime, &count, start + i * c.step, &fps)) << i;
        EXPECT_EQ(CDevice::frameRateStep(&windowTime, &count, start + 50 * c.step, &fps), c.updated);
        EXPECT_NEAR(fps, c.expected, 1e-3);
        // The window reopened at the 50th frame.
        EXPECT_EQ(windowTime, start + 50 * c.step);
        EXPECT_EQ(count, 0);
    }
}

TEST(DeviceChart, CounterWrapsAtTenThousandAndSeriesShiftBack) {
    DeviceWorld world;
    auto d = makeDevice();
    AppStatic::chart_fifoSize = 500;
    AppStatic::chart_updateInterval = 10;  // 1 us between samples: every stamp below is a sample
    d->chartReset();
    const QList<TCSeriesBase *> &series = d->chartSeries();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series[0]->seriesName(), QStringLiteral("FPA"));
    EXPECT_EQ(series[1]->seriesName(), QStringLiteral("Shell"));
    EXPECT_EQ(series[2]->seriesName(), QStringLiteral("ShellHW"));
    EXPECT_EQ(series[0]->seriesColor(), QColor(0xFF, 0, 0));
    EXPECT_EQ(series[1]->seriesColor(), QColor(0, 0xFF, 0));
    EXPECT_EQ(series[2]->seriesColor(), QColor(0, 0xFF, 0xFF));
    EXPECT_EQ(series[0]->fifoSize(), 500);
    EXPECT_EQ(d->chart()->config()->xmode(), 2);

    int64_t t = 100;
    for (int i = 0; i < 10000; ++i, t += 100) d->chartFeed(headerAt(t, 1000 * (i % 7)));
    EXPECT_EQ(d->chartCounter(), 10000u);
    EXPECT_DOUBLE_EQ(series[0]->points().back().x, 9999.0);
    d->chartFeed(headerAt(t));  // sample x = 10 000, then the shift by -9 500
    t += 100;
    EXPECT_EQ(d->chartCounter(), 501u);
    for (TCSeriesBase *s : series) {
        EXPECT_EQ(s->count(), 500);
        EXPECT_DOUBLE_EQ(s->points().back().x, 500.0);
        EXPECT_DOUBLE_EQ(s->points().front().x, 1.0);
        EXPECT_DOUBLE_EQ(s->xmax(), 500.0);
    }
    d->chartFeed(headerAt(t, 25000, 26000, 27000));
    EXPECT_DOUBLE_EQ(series[0]->points().back().x, 501.0);
    EXPECT_DOUBLE_EQ(series[0]->points().back().y, 25.0);
    EXPECT_DOUBLE_EQ(series[1]->points().back().y, 26.0);
    EXPECT_DOUBLE_EQ(series[2]->points().back().y, 27.0);
}

TEST(DeviceChart, SamplesOnlyOncePerInterval) {
    DeviceWorld world;
    auto d = makeDevice();
    AppStatic::chart_updateInterval = 10000000;  // 1 s
    d->chartReset();
    const struct {
        int64_t stamp;
        unsigned counter;
    } steps[] = {{5000000, 0}, {10000000, 1}, {15000000, 1}, {19999999, 1}, {20000000, 2}, {10000000, 3}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.stamp);
        d->chartFeed(headerAt(s.stamp));
        EXPECT_EQ(d->chartCounter(), s.counter);
    }
}

// ---- snapshot bytes ------------------------------------------------------------------------------------

TEST(DeviceSnapshot, TailOf384x288FollowsTheJpeg) {
    SyntheticFrame f(384, 288);
    f.header.timestamp = 123456789;
    _CameraBasicInfo basic;
    std::memset(&basic, 0, sizeof(basic));
    std::memset(basic.cameraId, 'Z', sizeof(basic.cameraId));
    _FixInfo fix;
    std::memset(&fix, 0, sizeof(fix));
    fix.globalEmissivity = 0.95f;
    QByteArray bytes;
    ASSERT_EQ(CDevice::buildSnapshot(f.data, 384, 288, basic, fix, &bytes), 0);
    const int tail = 237868;
    ASSERT_GT(bytes.size(), tail);
    const int jpg = bytes.size() - tail;
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xD8);
    EXPECT_EQ(static_cast<uint8_t>(bytes[jpg - 2]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[jpg - 1]), 0xD9);
    TempTailHead head;
    std::memcpy(&head, bytes.constData() + jpg, sizeof(head));
    EXPECT_EQ(head.length, 237856);
    EXPECT_EQ(std::memcmp(head.magic, "teMp", 4), 0);
    EXPECT_EQ(std::memcmp(head.info.cameraId, basic.cameraId, 32), 0);
    EXPECT_EQ(head.info.width, 384);
    EXPECT_EQ(head.info.height, 288);
    EXPECT_FLOAT_EQ(head.info.fixInfo.globalEmissivity, 0.95f);
    EXPECT_EQ(head.info.frameCount, 0);
    EXPECT_EQ(head.info.recorder, 0);
    // Windows file time of about now.
    EXPECT_GT(head.info.timestamp, 116444736000000000LL + 16000000000000000LL);
    EXPECT_EQ(std::memcmp(&head.header, &f.header, 128), 0);
    EXPECT_EQ(std::memcmp(bytes.constData() + jpg + sizeof(TempTailHead), f.temp.data(), 2 * 384 * 288), 0);
    TempTailEnd end;
    std::memcpy(&end, bytes.constData() + bytes.size() - sizeof(end), sizeof(end));
    EXPECT_EQ(end.width, 384);
    EXPECT_EQ(end.height, 288);
    EXPECT_EQ(end.mark, 20160901u);
}

TEST(DeviceSnapshot, AJpegLongerThanTheTailIsKeptWhole) {
    // Noise at full quality compresses badly: its JPEG is longer than the tail of 2 x (N + 8342) bytes.
    const int w = 640, h = 512;
    SyntheticFrame f(w, h, false);
    std::mt19937 random(12345);
    for (uint32_t &px : f.image) {
        // Each channel black or white at random: the largest coefficients the transform can give.
        const uint32_t bits = random();
        px = 0xFF000000u | ((bits & 1) ? 0xFF0000u : 0) | ((bits & 2) ? 0xFF00u : 0) | ((bits & 4) ? 0xFFu : 0);
    }
    _CameraBasicInfo basic{};
    _FixInfo fix{};
    MessageLog log;
    QByteArray bytes;
    ASSERT_EQ(CDevice::buildSnapshot(f.data, w, h, basic, fix, &bytes, 100), 0);
    const int tail = 2 * (w * h + 8342);
    const int jpg = bytes.size() - tail;
    ASSERT_GT(jpg, tail) << "the noise image was expected to give a long JPEG";
    EXPECT_EQ(static_cast<uint8_t>(bytes[jpg - 2]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[jpg - 1]), 0xD9) << "the JPEG ends with its end marker";
    EXPECT_EQ(std::memcmp(bytes.constData() + jpg + 4, "teMp", 4), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("large jpg kept, jpgSize %1, ptcSize %2").arg(jpg).arg(tail)));
}

// ---- live device against virtual cameras ---------------------------------------------------------------

TEST(DeviceLive, StateRulesAndFlagSignals) {
    DeviceWorld world;
    auto cam = startVcam(kHostRules);
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    FlagRecorder rec(d.get());
    CDeviceNode node;
    node.set_deviceIp(vcamIp(kHostRules));

    // Idle: nothing but a start is allowed.
    for (int r : {d->pauseWork(true), d->beginSave(QString(), 2), d->endSave(2), d->saveImage(QString()),
                  d->sendControl(2), d->setImageConfig()})
        EXPECT_EQ(r, -7);
    EXPECT_EQ(d->stopWork(), 0);
    EXPECT_EQ(d->startWork(nullptr), -8);

    // Starting: a second start is refused.
    ASSERT_EQ(d->startWork(&node), 0);
    EXPECT_EQ(d->workState(), 1);
    EXPECT_EQ(d->deviceIp(), vcamIp(kHostRules));
    EXPECT_EQ(d->startWork(&node), -7);
    ASSERT_TRUE(waitUntil([&] { return d->workState() == 0; }, 15000));
    ASSERT_TRUE(d->isWorking());
    EXPECT_EQ(rec.take(), QStringList({"working"}));
    EXPECT_GE(d->userId(), 0);
    EXPECT_GE(d->previewHandle(), 0);
    EXPECT_EQ(d->dataWidth(), 384);
    ASSERT_TRUE(waitFrames(d.get(), 3));

    const struct {
        const char *name;
        std::function<int()> op;
        int expected;
        int flagsAfter;
        QStringList signalsSeen;
    } steps[] = {
        {"start while working changes nothing", [&] { return d->startWork(&node); }, 0, 1, {}},
        {"unknown control", [&] { return d->sendControl(5); }, -8, 1, {}},
        {"negative control", [&] { return d->sendControl(-1); }, -8, 1, {}},
        {"shutter open", [&] { return d->sendControl(0); }, 0, 1, {}},
        {"image settings", [&] { return d->setImageConfig(); }, 0, 1, {}},
        {"snapshot", [&] { return d->saveImage(QString()); }, 0, 1, {}},
        {"record", [&] { return d->beginSave(QStringLiteral("ignored"), 2); }, 0, 5, {"recording"}},
        {"record twice", [&] { return d->beginSave(QString(), 2); }, -7, 5, {}},
        {"FFC while recording", [&] { return d->sendControl(2); }, -7, 5, {}},
        {"unknown control while recording", [&] { return d->sendControl(5); }, -8, 5, {}},
        {"pause while recording", [&] { return d->pauseWork(true); }, 0, 7, {"paused"}},
        {"pause again", [&] { return d->pauseWork(true); }, 0, 7, {}},
        {"resume", [&] { return d->pauseWork(false); }, 0, 5, {"paused"}},
        {"end recording", [&] { return d->endSave(2); }, 0, 1, {"recording"}},
        {"end recording again", [&] { return d->endSave(2); }, -7, 1, {}},
        {"FFC", [&] { return d->sendControl(2); }, 0, 1, {}},
        {"record", [&] { return d->beginSave(QString(), 2); }, 0, 5, {"recording"}},
        {"pause", [&] { return d->pauseWork(true); }, 0, 7, {"paused"}},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.op(), s.expected);
        EXPECT_EQ(d->deviceFlags(), s.flagsAfter);
        EXPECT_EQ(d->workState(), 0);
        EXPECT_EQ(rec.take(), s.signalsSeen);
    }

    // Stopping: the working bit goes at once, the others in bit order when the stop task has ended.
    EXPECT_EQ(d->stopWork(), 0);
    EXPECT_EQ(rec.take(), QStringList({"working"}));
    EXPECT_EQ(d->workState(), 100);
    EXPECT_EQ(d->startWork(&node), -7);
    EXPECT_EQ(d->saveImage(QString()), -7);
    ASSERT_TRUE(waitUntil([&] { return d->workState() == 0; }, 10000));
    EXPECT_EQ(rec.take(), QStringList({"paused", "recording"}));
    EXPECT_EQ(d->deviceFlags(), 0);
    EXPECT_EQ(d->userId(), -1);
    EXPECT_EQ(d->previewHandle(), -1);
    EXPECT_EQ(d->currentFrame(), nullptr);
    EXPECT_TRUE(d->deviceIp().isEmpty());
    EXPECT_EQ(d->dataState()->fps(), 0.0f);
}

TEST(DeviceLive, FailedLoginReturnsToIdleAndALaterStartSucceeds) {
    DeviceWorld world;
    auto d = makeDevice();
    SignalLog failed(d.get(), &CDevice::startFailed);
    FlagRecorder rec(d.get());
    CDeviceNode node;
    node.set_deviceIp(vcamIp(kHostNoCamera));
    ASSERT_EQ(d->startWork(&node), 0);
    ASSERT_TRUE(waitUntil([&] { return failed.count() > 0; }, 20000));
    EXPECT_EQ(failed.count(), 1);
    EXPECT_LT(failed.at(0).at(0).toInt(), 0);
    EXPECT_EQ(failed.at(0).at(0).toInt(), SARVIK_ERR_CONNECT) << "nobody listens there";
    EXPECT_EQ(d->workState(), 0);
    EXPECT_EQ(d->deviceFlags(), 0);
    EXPECT_EQ(d->userId(), -1);
    EXPECT_TRUE(d->deviceIp().isEmpty());
    EXPECT_TRUE(rec.events.isEmpty());

    // The camera appears: the same device starts on it.
    auto cam = startVcam(kHostNoCamera);
    ASSERT_TRUE(cam->ready());
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostNoCamera)));
    EXPECT_TRUE(waitFrames(d.get(), 2));
    EXPECT_EQ(failed.count(), 1);
    EXPECT_TRUE(stopAndWait(d.get()));
}

TEST(DeviceLive, RefusedPreviewLogsOutReturnsToIdleAndALaterStartSucceeds) {
    DeviceWorld world;
    // The camera answers commands but streams on another port: the preview cannot connect.
    auto bad = startVcam(kHostRefusedPreview, {"--stream-port", "55599"});
    ASSERT_TRUE(bad->ready());
    auto d = makeDevice();
    SignalLog failed(d.get(), &CDevice::startFailed);
    CDeviceNode node;
    node.set_deviceIp(vcamIp(kHostRefusedPreview));
    ASSERT_EQ(d->startWork(&node), 0);
    ASSERT_TRUE(waitUntil([&] { return failed.count() > 0; }, 20000));
    EXPECT_EQ(failed.at(0).at(0).toInt(), SARVIK_ERR_PREVIEW_INPUT);
    EXPECT_EQ(d->workState(), 0);
    EXPECT_EQ(d->deviceFlags(), 0);
    EXPECT_EQ(d->userId(), -1) << "logged out again";

    auto good = startVcam(kHostGood);
    ASSERT_TRUE(good->ready());
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostGood)));
    EXPECT_TRUE(waitFrames(d.get(), 2));
    EXPECT_EQ(failed.count(), 1);
}

TEST(DeviceLive, TheConfiguredTransportCarriesThePreview) {
    DeviceWorld world;
    world.setTransType(1);
    auto cam = startVcam(kHostUdp);
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostUdp)));
    EXPECT_TRUE(waitFrames(d.get(), 5));
    EXPECT_TRUE(stopAndWait(d.get()));
    world.setTransType(0);
}

TEST(DeviceLive, FrameRateNearTheCamerasAndStatusFigures) {
    DeviceWorld world;
    auto cam = startVcam(kHostFps, {"--fps", "25"});
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostFps)));
    ASSERT_TRUE(waitUntil([&] { return d->dataState()->fps() > 0; }, 20000)) << "after more than 50 frames";
    EXPECT_GT(d->dataState()->fps(), 20.0f);
    EXPECT_LT(d->dataState()->fps(), 30.0f);
    // Whole-frame figures from the canvas's global item, in a plausible order.
    TempDataState *s = d->dataState();
    EXPECT_LE(s->minTemp(), s->avgTemp());
    EXPECT_LE(s->avgTemp(), s->maxTemp());
    EXPECT_GT(s->maxTemp(), s->minTemp());
    ASSERT_NE(d->currentFrame(), nullptr);
    EXPECT_EQ(s->fpaTemp(), d->currentFrame()->header->fpaTemp / 1000.0f);
}

TEST(DeviceLive, SnapshotsAndRecordingsAreNamedByGetfnAndChecked) {
    DeviceWorld world;
    auto cam = startVcam(kHostSnapshot);
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostSnapshot)));
    ASSERT_TRUE(waitFrames(d.get(), 3));

    // The frame stays intact for 15 further frames: copy it right before the snapshot.
    const TempData *frame = d->currentFrame();
    ASSERT_NE(frame, nullptr);
    const int w = frame->header->width, h = frame->header->height;
    ASSERT_EQ(w, 384);
    ASSERT_EQ(h, 288);
    const std::vector<int16_t> temps(frame->temp, frame->temp + w * h);
    _DataFrameHeader header;
    std::memcpy(&header, frame->header, sizeof(header));
    ASSERT_EQ(d->saveImage(QString()), 0);

    const QString file = d->lastSavedFile();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1/\\d{8}_\\d{6}(_\\d+)?\\.jpg$")
                                       .arg(QRegularExpression::escape(world.saveDir())))
                    .match(file)
                    .hasMatch())
        << file.toStdString();
    const QByteArray bytes = readFile(file);
    ASSERT_GT(bytes.size(), 237868);
    TempTailEnd end;
    std::memcpy(&end, bytes.constData() + bytes.size() - sizeof(end), sizeof(end));
    EXPECT_EQ(end.mark, 20160901u);
    int32_t length = 0;
    std::memcpy(&length, bytes.constData() + bytes.size() - 237868, 4);
    EXPECT_EQ(length, 237856);

    void *player = SarvikPlayback_Create();
    ASSERT_NE(player, nullptr);
    ASSERT_EQ(SarvikPlayback_OpenFile(player, file.toUtf8().constData(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    FrameCover cover;
    std::memset(&cover, 0, sizeof(cover));
    ASSERT_EQ(SarvikPlayback_ReadCover(player, &cover), 0);
    EXPECT_EQ(cover.imageLength, bytes.size() - 237868);
    EXPECT_EQ(cover.info->width, 384);
    EXPECT_EQ(std::strncmp(cover.info->cameraId, d->basicInfo().cameraId, 32), 0);
    EXPECT_EQ(std::memcmp(cover.header, &header, 128), 0);
    EXPECT_EQ(std::memcmp(cover.data, temps.data(), temps.size() * 2), 0) << "the frame's temperatures";
    _DataFrame f;
    std::memset(&f, 0, sizeof(f));
    ASSERT_EQ(SarvikPlayback_ReadFrame(player, 0, &f), 0);
    const double t0 = static_cast<double>(f.data[0]) / f.header->slope + f.header->offset;
    const double want = static_cast<double>(temps[0]) / header.slope + header.offset;
    EXPECT_DOUBLE_EQ(t0, want);
    SarvikPlayback_Free(&player);

    // Two snapshots within one second get names of their own.
    ASSERT_EQ(d->saveImage(QString()), 0);
    EXPECT_NE(d->lastSavedFile(), file);
    EXPECT_EQ(QDir(world.saveDir()).entryList({QStringLiteral("*.jpg")}, QDir::Files).size(), 2);

    // Recordings: named by getfn too, whatever text the view passes.
    QStringList streams;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(d->beginSave(QStringLiteral("/not/used.stream"), 2), 0);
        streams << d->lastSavedFile();
        ASSERT_TRUE(waitFrames(d.get(), d->framesShown() + 3));
        ASSERT_EQ(d->endSave(2), 0);
    }
    EXPECT_NE(streams[0], streams[1]);
    for (const QString &n : streams) {
        SCOPED_TRACE(n.toStdString());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1/\\d{8}_\\d{6}(_\\d+)?\\.stream$")
                                           .arg(QRegularExpression::escape(world.saveDir())))
                        .match(n)
                        .hasMatch());
        // Bitmap header, cover, gap and information record, then whole frames.
        EXPECT_GT(QFileInfo(n).size(), 64 + 4 * 384 * 288 + 1024 + 128);
    }

    // Snapshots that cannot be written are reported with the SDK's file codes.
    const QString notADir = world.path(QStringLiteral("plain-file"));
    {
        QFile f(notADir);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    rlimit savedLimit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &savedLimit), 0);
    const sighandler_t savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    const struct {
        const char *name;
        QString dir;
        rlim_t fileLimit;
        int expected;
    } failures[] = {
        {"a file as save folder", notADir, savedLimit.rlim_cur, SARVIK_ERR_FILE_OPEN},
        {"a missing save folder", world.path(QStringLiteral("missing/deeper")), savedLimit.rlim_cur,
         SARVIK_ERR_FILE_OPEN},
        {"a file size limit below the snapshot", world.saveDir(), 100000, SARVIK_ERR_FILE_WRITE},
        {"the save folder again", world.saveDir(), savedLimit.rlim_cur, 0},
    };
    for (const auto &c : failures) {
        SCOPED_TRACE(c.name);
        world.setSaveDir(c.dir);
        rlimit limit = savedLimit;
        limit.rlim_cur = c.fileLimit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const int r = d->saveImage(QString());
        setrlimit(RLIMIT_FSIZE, &savedLimit);
        EXPECT_EQ(r, c.expected);
        EXPECT_TRUE(d->isWorking());
    }
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(QDir(world.saveDir()).entryList({QStringLiteral("*.jpg")}, QDir::Files).size(), 3)
        << "the cut snapshot was removed";
}

TEST(DeviceLive, GearAndControlsReachTheCamera) {
    DeviceWorld world;
    const QString state = world.path(QStringLiteral("gear.state"));
    const QString events = world.path(QStringLiteral("gear.events"));
    const std::vector<std::string> args = {"--software-id", "R640-GS-V2.1.0", "--state", state.toStdString(),
                                           "--event-log", events.toStdString()};
    auto d = makeDevice();
    SignalLog level(d.get(), &CDevice::gearLevelChanged);
    CDeviceNode node;
    {
        auto cam = startVcam(kHostGear, args);
        ASSERT_TRUE(cam->ready());
        ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostGear)));
        EXPECT_TRUE(d->gearEnable());
        EXPECT_EQ(d->gearLevel(), 1) << "the camera's default gear";
        level.clear();
        d->set_gearLevel(3);
        EXPECT_EQ(d->gearLevel(), 3);
        EXPECT_EQ(level.count(), 1);
        d->set_gearLevel(3);
        EXPECT_EQ(level.count(), 1) << "same level, nothing sent";
        EXPECT_TRUE(readFile(events).contains("ctlx gear 3"));
        // The control commands reach the camera too (one-way: it logs them once it has read them).
        const struct {
            int type;
            const char *event;
        } controls[] = {{2, "control ffc 1"}, {1, "control shutter close"}, {0, "control shutter open"},
                        {2, "control ffc 2"}};
        for (const auto &c : controls) {
            SCOPED_TRACE(c.event);
            ASSERT_EQ(d->sendControl(c.type), 0);
            EXPECT_TRUE(waitUntil([&] { return readFile(events).contains(c.event); }, 5000));
        }
        ASSERT_TRUE(stopAndWait(d.get()));
        EXPECT_FALSE(d->gearEnable());
        d->set_gearLevel(2);
        EXPECT_EQ(d->gearLevel(), 0) << "not working: not sent";
    }
    // The camera comes back with the gear it kept.
    auto cam = startVcam(kHostGear, args);
    ASSERT_TRUE(cam->ready());
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostGear)));
    EXPECT_TRUE(d->gearEnable());
    EXPECT_EQ(d->gearLevel(), 3);
    ASSERT_TRUE(stopAndWait(d.get()));

    // A camera without a motorised lens.
    auto plain = startVcam(kHostNoGear, {"--software-id", "R384-V1.0"});
    ASSERT_TRUE(plain->ready());
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostNoGear)));
    EXPECT_FALSE(d->gearEnable());
    EXPECT_EQ(d->gearLevel(), 0);
}

TEST(DeviceLive, ACameraThatDropsTheStreamIsPreviewedAgainWhenItReturns) {
    DeviceWorld world;
    auto cam = startVcam(kHostDrop, {"--fault-stream-drop", "20", "--fault-stream-away", "1"});
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    MessageLog log;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostDrop)));
    FlagRecorder rec(d.get());
    // 20 frames, a drop, at least a second away, then frames again.
    ASSERT_TRUE(waitFrames(d.get(), 30, 30000)) << "shown " << d->framesShown();
    EXPECT_TRUE(d->isWorking());
    EXPECT_EQ(d->workState(), 0);
    EXPECT_TRUE(rec.events.isEmpty()) << rec.events.join(',').toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("errorCode -17")));
    EXPECT_TRUE(log.contains(QStringLiteral("errorCode -18")));
    EXPECT_TRUE(stopAndWait(d.get()));
}

TEST(DeviceLive, StopDuringAReconnectionReturnsPromptly) {
    DeviceWorld world;
    auto cam = startVcam(kHostAway, {"--fault-stream-drop", "5", "--fault-stream-away", "60"});
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    MessageLog log;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostAway)));
    ASSERT_TRUE(waitUntil([&] { return log.contains(QStringLiteral("errorCode -17")); }, 15000));
    QThread::msleep(300);  // inside the reconnection attempts
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(stopAndWait(d.get(), 10000));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(d->userId(), -1);
}

TEST(DeviceLive, ABlockedGuiThreadSkipsFramesAndCountsThem) {
    DeviceWorld world;
    auto cam = startVcam(kHostSkip, {"--fps", "25"});
    ASSERT_TRUE(cam->ready());
    auto d = makeDevice();
    CDeviceNode node;
    SignalLog skipped(d.get(), &CDevice::skippedFramesChanged);
    MessageLog log;
    ASSERT_TRUE(startOn(d.get(), &node, vcamIp(kHostSkip)));
    ASSERT_TRUE(waitFrames(d.get(), 5));
    const int before = d->skippedFrames();
    const unsigned shownBefore = d->framesShown();
    QThread::msleep(1200);  // about 30 frames arrive meanwhile
    QCoreApplication::processEvents();
    EXPECT_LE(d->framesShown(), shownBefore + 2) << "only the newest frame was waiting";
    EXPECT_GE(d->skippedFrames() - before, 15);
    EXPECT_GE(skipped.count(), 1);
    // The frame shown is the newest one: frames keep following normally.
    const unsigned now = d->framesShown();
    EXPECT_TRUE(waitFrames(d.get(), now + 5));
    const int skippedNow = d->skippedFrames();
    ASSERT_TRUE(stopAndWait(d.get()));
    const QRegularExpression line(QStringLiteral(
        "^preview ended: frames shown (\\d+), skipped (\\d+), GUI time per frame (\\d+\\.\\d{3}) ms$"));
    QRegularExpressionMatch m;
    for (const QString &l : log.lines())
        if (line.match(l).hasMatch()) m = line.match(l);
    ASSERT_TRUE(m.hasMatch()) << log.lines().join('\n').toStdString();
    EXPECT_GE(m.captured(1).toUInt(), now + 5);
    EXPECT_GE(m.captured(2).toInt(), skippedNow);
    EXPECT_GT(m.captured(3).toDouble(), 0.0);
    // Counting starts again with the next preview.
    auto d2node = std::make_unique<CDeviceNode>();
    ASSERT_TRUE(startOn(d.get(), d2node.get(), vcamIp(kHostSkip)));
    EXPECT_EQ(d->skippedFrames(), 0);
}

TEST(DeviceLive, DeletingTheApplicationStopsItsWorkingDevice) {
    DeviceWorld world;
    auto cam = startVcam(kHostApp);
    ASSERT_TRUE(cam->ready());
    auto *app = new CApp;
    CDevice *d = app->deviceManager()->device();
    d->init();
    CDeviceNode node;
    ASSERT_TRUE(startOn(d, &node, vcamIp(kHostApp)));
    ASSERT_TRUE(waitFrames(d, 2));
    MessageLog log;
    QElapsedTimer timer;
    timer.start();
    delete app;
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(log.contains(QStringLiteral("preview ended: frames shown")));
}

// ---- program options -----------------------------------------------------------------------------------

TEST(DeviceOptions, CameraAndDiscoveryOptions) {
    const struct {
        const char *name;
        std::vector<const char *> args;
        int result;
        QStringList cameras;
        bool discovery;
    } cases[] = {
        {"defaults", {}, 0, {}, true},
        {"cameras, repeated", {"--camera", "10.0.0.2", "--camera", "10.0.0.3", "--camera", "10.0.0.2"}, 0,
         {"10.0.0.2", "10.0.0.3"}, true},
        {"no search", {"--no-discovery", "--camera", "10.0.0.9"}, 0, {"10.0.0.9"}, false},
        {"check options pass", {"--quit-after-ms", "100", "--screenshot", "x.png", "-platform", "offscreen"}, 0,
         {}, true},
        {"address missing", {"--camera"}, -8, {}, true},
        {"help", {"--no-discovery", "--help"}, 1, {}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char *> argv = {const_cast<char *>("pelvan")};
        for (const char *a : c.args) argv.push_back(const_cast<char *>(a));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(AppStatic::parseOptions(static_cast<int>(argv.size()), argv.data()), c.result);
        const std::string out = testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(out.find("--camera") != std::string::npos, c.result == 1);
        if (c.result == 0) {
            EXPECT_EQ(AppStatic::opt_cameras, c.cameras);
            EXPECT_EQ(AppStatic::opt_discovery, c.discovery);
        }
    }
    AppStatic::opt_cameras.clear();
    AppStatic::opt_discovery = true;
}

TEST(DeviceOptions, HelpPrintsTheUsageWithoutADisplay) {
    const QString program = QStringLiteral(PELVAN_BUILD_DIR "/bin/pelvan");
    ASSERT_TRUE(QFile::exists(program)) << "build the pelvan program first";
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(program, {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *opt : {"--camera ADDRESS", "--no-discovery", "--quit-after-ms N", "--screenshot FILE", "--help"})
        EXPECT_TRUE(out.contains(QLatin1String(opt))) << opt;
}
