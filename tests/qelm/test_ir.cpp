// The thermal side of the dual-light tool against virtual cameras on 127.0.0.40 to 127.0.0.59.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "IRCanvas.h"
#include "IRDevice.h"
#include "IRFrameState.h"
#include "IRStream.h"
#include "TempCanvasItem.h"
#include "qelm_support.h"
#include "vcam_process.h"

using testsupport::VcamProcess;

namespace {

// A small, fast camera: 50 frames in about a second.
const std::vector<std::string> kFastCamera = {"--size", "160x120", "--fps", "50"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string> &more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string readText(const QString &path) {
    std::ifstream f(path.toStdString());
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The camera's running number of the frame on its connection (scene-loop cameras put it at byte 56).
uint32_t frameNumber(const _DataFrameHeader *h) {
    uint32_t n;
    std::memcpy(&n, reinterpret_cast<const char *>(h) + 56, sizeof n);
    return n;
}

bool startOn(IRDevice &dev, const char *ip) {
    return dev.startWork(QString::fromLatin1(ip)) == 0 && waitUntil([&] { return dev.isWorking(); }, 15000);
}

bool stopAndWait(IRDevice &dev) {
    return dev.stopWork() == 0 && waitUntil([&] { return dev.jobState() == IRDevice::JobIdle; }, 15000);
}

}  // namespace

TEST(IRFrameState, SettersSignalOnlyChangesAndResetZeroesAll) {
    using S = IRFrameState;
    struct Figure {
        void (S::*set)(float);
        float (S::*get)() const;
        void (S::*signal)();
    } const figures[] = {
        {&S::set_fps, &S::fps, &S::fpsChanged},
        {&S::set_fpaTemp, &S::fpaTemp, &S::fpaTempChanged},
        {&S::set_shellTemp, &S::shellTemp, &S::shellTempChanged},
        {&S::set_shellTempHW, &S::shellTempHW, &S::shellTempHWChanged},
        {&S::set_maxTemp, &S::maxTemp, &S::maxTempChanged},
        {&S::set_avgTemp, &S::avgTemp, &S::avgTempChanged},
        {&S::set_minTemp, &S::minTemp, &S::minTempChanged},
        {&S::set_netd, &S::netd, &S::netdChanged},
        {&S::set_sstd, &S::sstd, &S::sstdChanged},
    };
    S s;
    int counts[9] = {}, gpioCount = 0;
    for (int i = 0; i < 9; ++i) QObject::connect(&s, figures[i].signal, [&counts, i] { ++counts[i]; });
    QObject::connect(&s, &S::gpioInputChanged, [&] { ++gpioCount; });
    for (int i = 0; i < 9; ++i) {
        (s.*figures[i].set)(2.5f);
        (s.*figures[i].set)(2.5f);
        EXPECT_EQ((s.*figures[i].get)(), 2.5f) << i;
        EXPECT_EQ(counts[i], 1) << i << ": the same value again must not signal";
    }
    s.set_gpioInput(3);
    s.set_gpioInput(3);
    EXPECT_EQ(gpioCount, 1);
    s.reset();
    s.reset();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ((s.*figures[i].get)(), 0.0f) << i;
        EXPECT_EQ(counts[i], 2) << i;
    }
    EXPECT_EQ(s.gpioInput(), 0);
    EXPECT_EQ(gpioCount, 2);
}

TEST(IRCanvas, ToolStaysSelect) {
    QelmWorld world;
    IRCanvas canvas;
    int changes = 0;
    QObject::connect(&canvas, &TempCanvas::toolChanged, [&] { ++changes; });
    ASSERT_EQ(canvas.itemGlobal()->property("meaName").toString(), QStringLiteral("GLOBAL"));
    for (int t : {1, 5, 13}) {
        EXPECT_TRUE(canvas.setProperty("tool", t));
        EXPECT_EQ(canvas.tool(), 0);
    }
    EXPECT_EQ(changes, 0);
    // A tool set through the base class is taken back to select.
    ASSERT_EQ(canvas.beginUpdate(80, 60), 0);
    canvas.set_tool(5);
    ASSERT_EQ(canvas.tool(), 5);
    canvas.set_irTool(7);
    EXPECT_EQ(canvas.tool(), 0);
    EXPECT_EQ(changes, 2);
    canvas.endUpdate();
}

TEST(IRDevice, StartShowsFramesAndStopResets) {
    QelmWorld world;
    VcamProcess cam("127.0.0.40", kFastCamera);
    ASSERT_TRUE(cam.ready());
    IRDevice dev;
    std::vector<std::string> order;
    QObject::connect(&dev, &IRDevice::jobStateChanged,
                     [&] { order.push_back("job" + std::to_string(dev.jobState())); });
    QObject::connect(&dev, &IRDevice::isWorkingChanged,
                     [&] { order.push_back(dev.isWorking() ? "on" : "off"); });

    ASSERT_EQ(dev.startWork(QStringLiteral("127.0.0.40")), 0);
    EXPECT_EQ(dev.startWork(QStringLiteral("127.0.0.40")), -7) << "a start job runs";
    EXPECT_EQ(dev.stopWork(), 0);  // waits for the start, then stops it
    ASSERT_TRUE(waitUntil([&] { return dev.jobState() == 0; }, 15000));
    EXPECT_EQ((std::vector<std::string>{"job1", "on", "job0", "off", "job100", "job0"}), order);
    EXPECT_EQ(dev.flags(), 0);

    ASSERT_TRUE(startOn(dev, "127.0.0.40"));
    EXPECT_EQ(dev.startWork(QStringLiteral("127.0.0.40")), 0) << "already working";
    EXPECT_EQ(dev.address(), QStringLiteral("127.0.0.40"));
    EXPECT_EQ(dev.dataWidth(), 160);
    EXPECT_GE(dev.userId(), 0);
    ASSERT_TRUE(waitUntil([&] { return dev.frameState()->fps() > 0; }, 20000));
    ASSERT_GE(dev.framesShown(), 50u);

    const IRFrame *f = dev.currentFrame();
    ASSERT_NE(f, nullptr);
    IRFrameState *s = dev.frameState();
    EXPECT_FLOAT_EQ(s->fpaTemp(), f->header->fpaTemp / 1000.0f);
    EXPECT_FLOAT_EQ(s->shellTemp(), f->header->shellTemp / 1000.0f);
    EXPECT_FLOAT_EQ(s->shellTempHW(), f->header->shellTempHW / 1000.0f);
    EXPECT_NE(s->fpaTemp(), 0.0f);
    EXPECT_EQ(s->maxTemp(), dev.canvas()->itemGlobal()->maxTemp());
    EXPECT_LT(s->minTemp(), s->maxTemp());
    EXPECT_LE(s->minTemp(), s->avgTemp());
    EXPECT_LE(s->avgTemp(), s->maxTemp());
    EXPECT_GT(s->fps(), 20.0f);
    EXPECT_LT(s->fps(), 80.0f);

    ASSERT_EQ(dev.stopWork(), 0);
    EXPECT_FALSE(dev.isWorking()) << "the working flag drops at once";
    EXPECT_EQ(dev.currentFrame(), nullptr);
    EXPECT_EQ(s->fps(), 0.0f);
    ASSERT_TRUE(waitUntil([&] { return dev.jobState() == 0; }, 15000));
    EXPECT_EQ(dev.flags(), 0);
    EXPECT_EQ(dev.userId(), -1);
    EXPECT_TRUE(dev.address().isEmpty());
}

TEST(IRDevice, FailedStartReturnsToIdle) {
    QelmWorld world;
    IRDevice dev;
    EXPECT_EQ(dev.startWork(QString()), -8);
    EXPECT_EQ(dev.startWork(QString(128, QLatin1Char('1'))), -8);
    EXPECT_EQ(dev.jobState(), 0);

    struct Case {
        const char *ip;
        std::vector<std::string> camera;  // empty: nothing listens there
    } const cases[] = {
        {"127.0.0.51", {}}, {"127.0.0.52", {"--fault-close"}}, {"127.0.0.53", {"--fault-short"}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ip);
        std::unique_ptr<VcamProcess> cam;
        if (!c.camera.empty()) {
            cam.reset(new VcamProcess(c.ip, c.camera));
            ASSERT_TRUE(cam->ready());
        }
        std::vector<int> failures;
        auto conn =
            QObject::connect(&dev, &IRDevice::startFailed, [&](int code) { failures.push_back(code); });
        ASSERT_EQ(dev.startWork(QString::fromLatin1(c.ip)), 0);
        ASSERT_TRUE(waitUntil([&] { return dev.jobState() == 0; }, 30000));
        QObject::disconnect(conn);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_LT(failures[0], 0);
        EXPECT_EQ(dev.lastError(), failures[0]);
        EXPECT_EQ(dev.flags(), 0);
        EXPECT_TRUE(dev.address().isEmpty());
        EXPECT_EQ(dev.userId(), -1);
    }
}

TEST(IRDevice, ControlsAndTheirStates) {
    QelmWorld world;
    const QString events = world.path(QStringLiteral("events.log"));
    VcamProcess cam("127.0.0.42", with(kFastCamera, {"--event-log", events.toStdString()}));
    ASSERT_TRUE(cam.ready());
    IRDevice dev;
    // Nothing runs: every operation is refused.
    const std::vector<std::pair<const char *, std::function<int()>>> refused = {
        {"sendControl", [&] { return dev.sendControl(0); }},
        {"sendControlX", [&] { return dev.sendControlX(0); }},
        {"beginSave", [&] { return dev.beginSave({}); }},
        {"endSave", [&] { return dev.endSave(); }},
        {"saveImage", [&] { return dev.saveImage({}); }},
        {"pauseWork", [&] { return dev.pauseWork(true); }},
        {"setImageConfig", [&] { return dev.setImageConfig(); }},
    };
    for (const auto &r : refused) EXPECT_EQ(r.second(), -7) << r.first;

    ASSERT_TRUE(startOn(dev, "127.0.0.42"));
    struct Control {
        int type, result;
        const char *event;
    } const controls[] = {{0, 0, "control shutter open"},
                          {1, 0, "control shutter close"},
                          {2, 0, "control ffc 1"},
                          {3, 0, "control 37 ignored"},
                          {9, -8, nullptr},
                          {-1, -8, nullptr}};
    for (const Control &c : controls) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(dev.sendControl(c.type), c.result);
        if (c.event) {
            EXPECT_TRUE(waitUntil([&] { return readText(events).find(c.event) != std::string::npos; }, 5000));
        }
    }

    // Extended control: an unknown type is still a job, ending with -8.
    std::vector<bool> executing;
    QObject::connect(&dev, &IRDevice::isExecutingChanged, [&] { executing.push_back(dev.isExecuting()); });
    ASSERT_EQ(dev.sendControlX(1), 0);
    EXPECT_EQ(dev.jobState(), IRDevice::JobControlX);
    EXPECT_EQ(dev.sendControlX(0), -7) << "one job at a time";
    EXPECT_EQ(dev.sendControl(0), -7);
    ASSERT_TRUE(waitUntil([&] { return dev.jobState() == 0; }, 15000));
    EXPECT_EQ(dev.lastError(), -8);
    EXPECT_EQ(executing, (std::vector<bool>{true, false}));

    ASSERT_EQ(dev.sendControlX(0), 0);
    ASSERT_TRUE(waitUntil([&] { return dev.jobState() == 0; }, 15000));
    EXPECT_EQ(dev.lastError(), 0);
    EXPECT_FALSE(dev.isExecuting());
    EXPECT_TRUE(waitUntil([&] { return readText(events).find("ctlx ntp-sync") != std::string::npos; }, 5000));

    // Pause stops delivery, resume brings it back.
    ASSERT_EQ(dev.pauseWork(true), 0);
    EXPECT_TRUE(dev.isPaused());
    ASSERT_EQ(dev.pauseWork(false), 0);
    EXPECT_FALSE(dev.isPaused());
    const unsigned shown = dev.framesShown();
    EXPECT_TRUE(waitUntil([&] { return dev.framesShown() > shown; }, 10000));

    // No plain control while recording.
    ASSERT_EQ(dev.beginSave(world.path(QStringLiteral("ctl"))), 0);
    EXPECT_EQ(dev.sendControl(2), -7);
    EXPECT_EQ(dev.endSave(), 0);
    EXPECT_TRUE(stopAndWait(dev));
}

TEST(IRDevice, RecordingReplaysFrameForFrame) {
    QelmWorld world;
    VcamProcess cam("127.0.0.43", with(kFastCamera, {"--scene-loop", "20"}));
    ASSERT_TRUE(cam.ready());
    IRDevice dev;
    ASSERT_TRUE(startOn(dev, "127.0.0.43"));
    ASSERT_TRUE(waitUntil([&] { return dev.currentFrame() != nullptr; }, 10000));

    // A long recording, then a short one.
    QString files[2];
    uint32_t before = 0, after = 0;
    for (int k = 0; k < 2; ++k) {
        const QString base = world.path(QStringLiteral("rec%1").arg(k));
        if (k == 0) before = frameNumber(dev.currentFrame()->header);
        ASSERT_EQ(dev.beginSave(base), 0);
        EXPECT_TRUE(dev.isRecording());
        EXPECT_EQ(dev.beginSave(base), -7);
        files[k] = dev.recordFile();
        EXPECT_EQ(files[k], base + QStringLiteral(".stream"));
        const unsigned shown = dev.framesShown();
        ASSERT_TRUE(waitUntil([&] { return dev.framesShown() >= shown + (k ? 2 : 40); }, 20000));
        if (k == 0) after = frameNumber(dev.currentFrame()->header);
        ASSERT_EQ(dev.endSave(), 0);
        EXPECT_FALSE(dev.isRecording());
        EXPECT_EQ(dev.endSave(), -7);
    }
    ASSERT_EQ(dev.saveImage(world.path(QStringLiteral("shot"))), 0);
    EXPECT_EQ(dev.imageFile(), world.path(QStringLiteral("shot.jpg")));
    EXPECT_GT(QFileInfo(dev.imageFile()).size(), 2 * 160 * 120);
    ASSERT_TRUE(stopAndWait(dev));
    EXPECT_EQ(dev.saveImage({}), -7) << "no frame after the stop";

    IRStream player;
    EXPECT_EQ(player.set_curIndex(0), -7);
    EXPECT_LT(player.load(world.path(QStringLiteral("none.stream"))), 0);
    EXPECT_TRUE(player.fn().isEmpty());

    // Every frame the camera sent while recording is in the file, once and in order.
    ASSERT_EQ(player.load(files[0]), 0);
    EXPECT_EQ(player.fn(), files[0]);
    EXPECT_TRUE(player.canvas()->isWorking());
    const int count = player.frameCount();
    ASSERT_GT(count, 0);
    std::vector<uint32_t> numbers;
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(i ? player.nextFrame() : player.set_curIndex(0), 0);
        EXPECT_EQ(player.curIndex(), i);
        EXPECT_EQ(player.stampAt(i), player.curStamp());
        EXPECT_EQ(player.curTime(), IRStream::timeText(player.curStamp()));
        numbers.push_back(frameNumber(player.canvas()->currentData()->header));
    }
    EXPECT_GT(numbers.front(), before);
    EXPECT_GE(numbers.back(), after);
    EXPECT_EQ(numbers.back() - numbers.front() + 1, static_cast<uint32_t>(count));
    for (size_t i = 1; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], numbers[i - 1] + 1) << i;

    // Out of range: refused, the shown frame stays; looking stamps up does not move it either.
    const qint64 stamp = player.curStamp();
    const _DataFrameHeader *shown = player.canvas()->currentData()->header;
    for (int bad : {count, count + 7, -1}) {
        EXPECT_EQ(player.set_curIndex(bad), -8) << bad;
        EXPECT_EQ(player.curIndex(), count - 1);
        EXPECT_EQ(player.curStamp(), stamp);
    }
    EXPECT_EQ(player.nextFrame(), -8);
    EXPECT_EQ(player.stampAt(count), -1);
    for (int i = 0; i < count; ++i) EXPECT_GT(player.stampAt(i), 0);
    EXPECT_EQ(player.canvas()->currentData()->header, shown);
    EXPECT_EQ(player.canvas()->currentData()->header->timestamp, stamp);

    // A file that does not load leaves the loaded one as it was.
    QFile junk(world.path(QStringLiteral("junk.stream")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    for (const QString &bad : {world.path(QStringLiteral("missing.stream")), junk.fileName()}) {
        const int index = player.curIndex();
        EXPECT_LT(player.load(bad), 0);
        EXPECT_EQ(player.fn(), files[0]);
        EXPECT_EQ(player.frameCount(), count);
        EXPECT_EQ(player.curIndex(), index);
        EXPECT_TRUE(player.canvas()->isWorking());
        EXPECT_EQ(player.set_curIndex(0), 0) << "the loaded file still reads";
    }

    ASSERT_EQ(player.load(files[1]), 0);
    EXPECT_EQ(player.fn(), files[1]);
    EXPECT_LT(player.frameCount(), count);
    EXPECT_EQ(player.curIndex(), 0);
    player.close();
    EXPECT_TRUE(player.fn().isEmpty());
    EXPECT_EQ(player.frameCount(), 0);
    EXPECT_EQ(player.curStamp(), 0);
    EXPECT_FALSE(player.canvas()->isWorking());
    EXPECT_EQ(player.set_curIndex(0), -7);
}

TEST(IRStream, TimeTextIsLocalTime) {
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "UTC");
    tzset();
    // 2021-03-04 05:06:07.089 UTC plus 0.0001234 s, which the text drops.
    const qint64 stamp = 16148343670890000LL + 1234;
    EXPECT_EQ(IRStream::timeText(stamp), QStringLiteral("2021-03-04 05:06:07.089"));
    EXPECT_EQ(IRStream::timeText(0), QStringLiteral("1970-01-01 00:00:00.000"));
    qputenv("TZ", "Asia/Tokyo");  // UTC+9, no daylight saving
    tzset();
    EXPECT_EQ(IRStream::timeText(stamp), QStringLiteral("2021-03-04 14:06:07.089"));
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();
}

TEST(IRDevice, LostCameraIsRecovering) {
    QelmWorld world;
    VcamProcess cam("127.0.0.45",
                    with(kFastCamera, {"--fault-stream-drop", "60", "--fault-stream-away", "1"}));
    ASSERT_TRUE(cam.ready());
    IRDevice dev;
    std::vector<bool> recovering;
    QObject::connect(&dev, &IRDevice::isRecoveringChanged, [&] { recovering.push_back(dev.isRecovering()); });
    ASSERT_TRUE(startOn(dev, "127.0.0.45"));
    ASSERT_TRUE(waitUntil([&] { return recovering.size() >= 2; }, 30000));
    EXPECT_EQ(recovering[0], true);
    EXPECT_EQ(recovering[1], false);
    EXPECT_EQ(dev.lastError(), -17);
    EXPECT_TRUE(dev.isWorking()) << "a lost camera keeps the device working";
    EXPECT_TRUE(stopAndWait(dev));
    EXPECT_FALSE(dev.isRecovering());
}

TEST(IRDevice, SlowViewSkipsToTheNewestFrame) {
    QelmWorld world;
    VcamProcess cam("127.0.0.46", kFastCamera);
    ASSERT_TRUE(cam.ready());
    IRDevice dev;
    ASSERT_TRUE(startOn(dev, "127.0.0.46"));

    // A GUI thread that falls behind sees only the newest frames, never one older than it showed.
    const unsigned shown = dev.framesShown();
    ASSERT_TRUE(waitUntil([&] { return dev.framesShown() > shown; }, 10000));
    qint64 last = 0;
    bool backwards = false;
    QObject::connect(dev.canvas()->itemGlobal(), &TempCanvasItemBase::meaTempDataChanged, [&] {
        const qint64 t = dev.canvas()->currentData()->header->timestamp;
        if (t < last) backwards = true;
        last = t;
    });
    const unsigned skippedBefore = dev.framesSkipped();
    QThread::msleep(1000);
    ASSERT_TRUE(waitUntil([&] { return dev.framesSkipped() > skippedBefore; }, 10000));
    const unsigned after = dev.framesShown();
    ASSERT_TRUE(waitUntil([&] { return dev.framesShown() > after + 10; }, 10000));
    EXPECT_FALSE(backwards);
    EXPECT_TRUE(stopAndWait(dev));
}
