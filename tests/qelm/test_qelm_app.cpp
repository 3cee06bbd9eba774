// The dual-light tool's own frame pieces (configuration, options) and its device manager: the joint
// recording and the one clock of the replay.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

#include "AppStatic.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "CDeviceManager.h"
#include "IRDevice.h"
#include "IRStream.h"
#include "QelmOptions.h"
#include "VISDevice.h"
#include "VISStream.h"
#include "fake_vis_camera.h"
#include "qelm_support.h"
#include "vcam_process.h"
#include "vis_file.h"

namespace {

QelmConfigBin goodRecord() {
    QelmConfigBin b;
    std::memset(&b, 0, sizeof(b));
    b.magic = CAppConfig::kMagic;
    b.language = 1;
    std::strcpy(b.saveDir, "/data/shots");
    std::strcpy(b.ir_ip, "127.0.0.70");
    std::strcpy(b.vis_ip, "127.0.34.70");
    std::strcpy(b.vis_username, "operator");
    std::strcpy(b.vis_password, "pw");
    return b;
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray recordBytes(const QelmConfigBin &b) {
    return QByteArray(reinterpret_cast<const char *>(&b), sizeof(b));
}

// Starts a device and waits for its start job to end; true when it works afterwards.
template <class Device>
bool startAndWait(Device *d, const QString &ip, int timeoutMs = 20000) {
    if (d->startWork(ip) != 0) return false;
    return waitUntil([d] { return d->jobState() == 0; }, timeoutMs) && d->isWorking();
}

template <class Device>
bool stopAndWait(Device *d, int timeoutMs = 15000) {
    d->stopWork();
    return waitUntil([d] { return d->jobState() == 0 && !d->isWorking(); }, timeoutMs);
}

// A ".vis" file of w x h frames with the given time stamps (100-ns ticks since 1970).
void writeVis(const QString &path, int w, int h, const std::vector<int64_t> &stamps) {
    VisFileHeader fh{};
    fh.width = static_cast<uint16_t>(w);
    fh.height = static_cast<uint16_t>(h);
    fh.pixelFormat = kVisPixelMono8;
    QByteArray bytes(reinterpret_cast<const char *>(&fh), sizeof(fh));
    for (size_t i = 0; i < stamps.size(); ++i) {
        VisFrameHeader h128{};
        h128.width = fh.width;
        h128.height = fh.height;
        h128.pixelFormat = fh.pixelFormat;
        h128.timestamp = stamps[i];
        bytes.append(reinterpret_cast<const char *>(&h128), sizeof(h128));
        bytes.append(QByteArray(w * h, static_cast<char>(i * 16)));
    }
    writeBytes(path, bytes);
}

}  // namespace

// Configuration file: what is taken and what falls back to the defaults.
TEST(QelmConfig, LoadTakesOnlyItsOwnWholeRecord) {
    QelmWorld world;
    AppStatic::app_name = QStringLiteral("Qelm");
    const QelmConfigBin def = CConfigManager::defaults();
    EXPECT_EQ(def.language, 0);
    EXPECT_TRUE(QString::fromUtf8(def.saveDir).endsWith(QStringLiteral("/Qelm-Data")));
    EXPECT_TRUE(CAppConfig::isIPv4(QString::fromUtf8(def.vis_ip)));
    EXPECT_GT(std::strlen(def.vis_username), 0u);
    EXPECT_GT(std::strlen(def.vis_password), 0u);

    QelmConfigBin badLanguage = goodRecord();
    badLanguage.language = 7;
    QelmConfigBin badVis = goodRecord();
    std::strcpy(badVis.vis_ip, "300.1.2.3");
    // The desktop tool's own file: 1044 bytes with its marker.
    QByteArray desktop(1044, 0);
    const uint32_t desktopMagic = 0x0134D818u;
    std::memcpy(desktop.data(), &desktopMagic, 4);
    desktop.append(QByteArray(1304 - 1044, 0));

    struct Case {
        const char *what;
        QByteArray bytes;  // empty: no file
        bool taken;        // the good record's fields in force, else the defaults
        int language;
        QString visIp;
    } cases[] = {
        {"no file", QByteArray(), false, 0, QString::fromUtf8(def.vis_ip)},
        {"one byte short", recordBytes(goodRecord()).left(1303), false, 0, QString::fromUtf8(def.vis_ip)},
        {"the desktop tool's record", desktop, false, 0, QString::fromUtf8(def.vis_ip)},
        {"own record", recordBytes(goodRecord()), true, 1, QStringLiteral("127.0.34.70")},
        {"bad language", recordBytes(badLanguage), true, 0, QStringLiteral("127.0.34.70")},
        {"bad visible address", recordBytes(badVis), true, 1, QString::fromUtf8(def.vis_ip)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CConfigManager manager;
        manager.setFilePath(world.path(QStringLiteral("QelmConfig.bin")));
        QFile::remove(manager.filePath());
        if (!c.bytes.isEmpty()) writeBytes(manager.filePath(), c.bytes);
        manager.load();
        CAppConfig *cfg = manager.config();
        EXPECT_EQ(cfg->language(), c.language);
        EXPECT_EQ(cfg->vis_ip(), c.visIp);
        EXPECT_EQ(cfg->ir_ip(), c.taken ? QStringLiteral("127.0.0.70") : QString::fromUtf8(def.ir_ip));
        EXPECT_EQ(cfg->saveDir(), c.taken ? QStringLiteral("/data/shots") : QString::fromUtf8(def.saveDir));
    }
}

TEST(QelmConfig, SaveWritesOnlyChangesAndRefusesWhatDoesNotFit) {
    QelmWorld world;
    CConfigManager manager;
    manager.setFilePath(world.path(QStringLiteral("QelmConfig.bin")));
    manager.load();

    CAppConfig edit;
    edit.cls2cls(manager.config());
    EXPECT_EQ(manager.save(&edit), 0);
    EXPECT_FALSE(QFileInfo::exists(manager.filePath())) << "unchanged settings write nothing";

    // Texts longer than their fields are not taken; the previous value stays.
    edit.set_ir_ip(QString(128, QLatin1Char('a')));
    edit.set_vis_ip(QStringLiteral("127.0.34.100.1"));  // 14 characters: fits, but is no address
    edit.setSaveDir(QString(1024, QLatin1Char('d')));
    EXPECT_EQ(edit.ir_ip(), manager.config()->ir_ip());
    EXPECT_EQ(edit.saveDir(), manager.config()->saveDir());
    EXPECT_EQ(manager.save(&edit), -8) << "not an IPv4 address";
    EXPECT_FALSE(QFileInfo::exists(manager.filePath()));

    edit.set_vis_ip(QStringLiteral("127.0.34.71"));
    edit.set_ir_ip(QStringLiteral("thermal.local"));
    edit.setSaveDir(world.path(QStringLiteral("new-shots")));
    ASSERT_EQ(manager.save(&edit), 0);
    EXPECT_EQ(QFileInfo(manager.filePath()).size(), 1304);
    EXPECT_TRUE(QDir(world.path(QStringLiteral("new-shots"))).exists());

    CConfigManager again;
    again.setFilePath(manager.filePath());
    again.load();
    EXPECT_EQ(std::memcmp(&again.config()->bin(), &manager.config()->bin(), sizeof(QelmConfigBin)), 0);
    EXPECT_EQ(again.config()->ir_ip(), QStringLiteral("thermal.local"));
}

TEST(QelmOptionsTest, ParsesAddressesAndCameraSettings) {
    struct Case {
        std::vector<const char *> args;
        int result;
        const char *ir;
        const char *vis;
        int params;
    } cases[] = {
        {{"qelm"}, 0, "", "", 0},
        {{"qelm", "--ir", "127.0.0.9", "--vis", "127.0.34.9"}, 0, "127.0.0.9", "127.0.34.9", 0},
        {{"qelm", "--vis-param", "Width=1280", "--vis-param", "AcquisitionFrameRate=30"}, 0, "", "", 2},
        {{"qelm", "--vis", "camera.local"}, -8, "", "", 0},
        {{"qelm", "--vis-param", "=5"}, -8, "", "", 0},
        {{"qelm", "--ir"}, -8, "", "", 0},
        {{"qelm", "--screenshot", "a.png", "--quit-after-ms", "10"}, 0, "", "", 0},
        {{"qelm", "--help"}, 1, "", "", 0},
    };
    for (const Case &c : cases) {
        std::vector<char *> argv;
        for (const char *a : c.args) argv.push_back(const_cast<char *>(a));
        QelmOptions o;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int r = o.parse(static_cast<int>(argv.size()), argv.data());
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : "none");
        EXPECT_EQ(r, c.result);
        if (r == 0) {
            EXPECT_EQ(o.irAddress, QString::fromLatin1(c.ir));
            EXPECT_EQ(o.visAddress, QString::fromLatin1(c.vis));
            EXPECT_EQ(o.visParams.size(), c.params);
        }
    }
}

// One base name for both files; taken names get one suffix for the pair.
TEST(QelmManager, JointBaseNameAvoidsEitherFileOfThePair) {
    QelmWorld world;
    const QString dir = world.saveDir();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString stem = CDeviceManager::jointBaseName(dir);
        ASSERT_TRUE(stem.startsWith(dir + QLatin1Char('/')));
        writeBytes(stem + QStringLiteral(".vis"), "x");
        const QString second = CDeviceManager::jointBaseName(dir);
        writeBytes(stem + QStringLiteral("_1.stream"), "x");
        const QString third = CDeviceManager::jointBaseName(dir);
        if (!second.startsWith(stem) || !third.startsWith(stem)) continue;  // the clock ticked: again
        EXPECT_EQ(second, stem + QStringLiteral("_1"));
        EXPECT_EQ(third, stem + QStringLiteral("_2"));
        return;
    }
    FAIL() << "the second never stayed for three calls";
}

TEST(QelmManager, RecordingNeedsAWorkingThermalCamera) {
    QelmWorld world;
    CDeviceManager manager;
    EXPECT_EQ(manager.startRecord(), -7);
    EXPECT_FALSE(manager.isBusy());
    EXPECT_EQ(manager.stopRecord(), -7);
    EXPECT_EQ(manager.syncVisToIr(), -7);
    EXPECT_FALSE(manager.offsetValid());
}

// The visible camera stopped: the thermal stream is recorded alone, under the pair's base name.
TEST(QelmManager, JointRecordingWithTheVisibleCameraStopped) {
    QelmWorld world;
    testsupport::VcamProcess cam("127.0.0.60", {"--size", "160x120", "--fps", "25", "--lifetime", "60"});
    ASSERT_TRUE(cam.ready());
    CDeviceManager manager;
    ASSERT_TRUE(startAndWait(manager.ir(), QStringLiteral("127.0.0.60")));
    ASSERT_EQ(manager.startRecord(), 0);
    EXPECT_TRUE(manager.isBusy());
    EXPECT_EQ(manager.startRecord(), -7) << "a second start while the job runs";
    ASSERT_TRUE(waitUntil([&] { return !manager.isBusy(); }, 10000));
    EXPECT_TRUE(manager.isRecording());
    EXPECT_EQ(manager.recordError(), 0);
    EXPECT_TRUE(manager.ir()->isRecording());
    EXPECT_FALSE(manager.vis()->isRecording());
    EXPECT_EQ(manager.startRecord(), -7) << "already recording";
    waitUntil([] { return false; }, 600);
    EXPECT_EQ(manager.stopRecord(), 0);
    EXPECT_FALSE(manager.isRecording());
    const QString stream = manager.recordBase() + QStringLiteral(".stream");
    EXPECT_TRUE(QFileInfo::exists(stream));
    EXPECT_FALSE(QFileInfo::exists(manager.recordBase() + QStringLiteral(".vis")));
    EXPECT_EQ(manager.ir_stream()->load(stream), 0);
    EXPECT_GT(manager.ir_stream()->frameCount(), 3);
    ASSERT_TRUE(stopAndWait(manager.ir()));
}

// A refused control 37 records nothing and says why.
TEST(QelmManager, FailedControlRecordsNothing) {
    QelmWorld world;
    auto cam = std::make_unique<testsupport::VcamProcess>(
        "127.0.0.61", std::vector<std::string>{"--size", "160x120", "--lifetime", "60"});
    ASSERT_TRUE(cam->ready());
    CDeviceManager manager;
    ASSERT_TRUE(startAndWait(manager.ir(), QStringLiteral("127.0.0.61")));
    cam->stop();
    ASSERT_EQ(manager.startRecord(), 0);
    ASSERT_TRUE(waitUntil([&] { return !manager.isBusy(); }, 15000));
    EXPECT_FALSE(manager.isRecording());
    EXPECT_LT(manager.recordError(), 0);
    EXPECT_FALSE(manager.ir()->isRecording());
    EXPECT_TRUE(QDir(world.saveDir()).entryList(QDir::Files).isEmpty());
    ASSERT_TRUE(stopAndWait(manager.ir()));
}

// Both cameras: one name for both files, and time stamps that overlap on the one clock.
TEST(QelmManager, JointRecordingOfBothSharesNameAndClock) {
    const std::string why = enterCameraNetns("127.0.34.60");
    if (!why.empty()) GTEST_SKIP() << why;
    QelmWorld world;
    testsupport::VcamProcess cam("127.0.0.62", {"--size", "160x120", "--fps", "25", "--lifetime", "60"});
    ASSERT_TRUE(cam.ready());
    mvcamtest::FakeVisCamera vis("127.0.34.60");
    ASSERT_TRUE(vis.start());
    CDeviceManager manager;
    ASSERT_TRUE(startAndWait(manager.ir(), QStringLiteral("127.0.0.62")));
    ASSERT_TRUE(startAndWait(manager.vis(), QStringLiteral("127.0.34.60")));
    ASSERT_EQ(manager.startRecord(), 0);
    ASSERT_TRUE(waitUntil([&] { return !manager.isBusy(); }, 10000));
    ASSERT_TRUE(manager.isRecording());
    EXPECT_TRUE(manager.ir()->isRecording());
    EXPECT_TRUE(manager.vis()->isRecording());
    waitUntil([] { return false; }, 1500);
    EXPECT_EQ(manager.stopRecord(), 0);

    const QString base = manager.recordBase();
    EXPECT_EQ(QFileInfo(manager.ir()->recordFile()).completeBaseName(), QFileInfo(base).fileName());
    EXPECT_EQ(QFileInfo(manager.vis()->recordFile()).completeBaseName(), QFileInfo(base).fileName());
    ASSERT_EQ(manager.ir_stream()->load(base + QStringLiteral(".stream")), 0);
    ASSERT_EQ(manager.vis_stream()->load(base + QStringLiteral(".vis")), 0);
    IRStream *ir = manager.ir_stream();
    VISStream *vs = manager.vis_stream();
    ASSERT_GT(ir->frameCount(), 1);
    ASSERT_GT(vs->frameCount(), 1);
    const qint64 irFirst = ir->stampAt(0), irLast = ir->stampAt(ir->frameCount() - 1);
    const qint64 visFirst = vs->stampAt(0), visLast = vs->stampAt(vs->frameCount() - 1);
    EXPECT_LT(std::max(irFirst, visFirst), std::min(irLast, visLast)) << "the two spans overlap";
    // Both near now on the wall clock (within a minute).
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 10000;
    EXPECT_LT(std::llabs(now - irFirst), 600000000LL);
    EXPECT_LT(std::llabs(now - visFirst), 600000000LL);
    EXPECT_TRUE(manager.offsetValid());
    ASSERT_TRUE(stopAndWait(manager.ir()));
    ASSERT_TRUE(stopAndWait(manager.vis()));
}

// One clock: the offset between the frames shown, and Sync stepping the visible side to the nearest frame.
TEST(QelmManager, OffsetAndSyncOnKnownTimes) {
    QelmWorld world;
    testsupport::VcamProcess cam("127.0.0.63", {"--size", "160x120", "--fps", "25", "--lifetime", "60"});
    ASSERT_TRUE(cam.ready());
    CDeviceManager manager;
    IRDevice *irDev = manager.ir();
    ASSERT_TRUE(startAndWait(irDev, QStringLiteral("127.0.0.63")));
    const QString streamPath = world.path(QStringLiteral("known"));
    ASSERT_EQ(irDev->beginSave(streamPath), 0);
    waitUntil([] { return false; }, 800);
    ASSERT_EQ(irDev->endSave(), 0);
    ASSERT_TRUE(stopAndWait(irDev));

    IRStream *ir = manager.ir_stream();
    ASSERT_EQ(ir->load(streamPath + QStringLiteral(".stream")), 0);
    const int n = ir->frameCount();
    ASSERT_GE(n, 6);
    std::vector<qint64> irStamps;
    for (int i = 0; i < n; ++i) irStamps.push_back(ir->stampAt(i));
    ASSERT_EQ(ir->curIndex(), 0);

    // Visible frames every other thermal frame, 3 ms late: thermal frame i is nearest visible frame
    // round(i / 2), ties going to the earlier one.
    std::vector<int64_t> visStamps;
    for (int i = 0; i < n; i += 2) visStamps.push_back(irStamps[i] + 30000);
    const QString visPath = world.path(QStringLiteral("known.vis"));
    writeVis(visPath, 8, 4, visStamps);
    VISStream *vs = manager.vis_stream();
    ASSERT_EQ(vs->load(visPath), 0);
    ASSERT_TRUE(manager.offsetValid());
    EXPECT_DOUBLE_EQ(manager.offsetMs(), 3.0);

    manager.set_sync(true);
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(ir->set_curIndex(i), 0);
        qint64 best = -1;
        int expect = 0;
        for (int k = 0; k < static_cast<int>(visStamps.size()); ++k) {
            const qint64 d = std::llabs(visStamps[k] - irStamps[i]);
            if (best < 0 || d < best) best = d, expect = k;
        }
        EXPECT_EQ(vs->curIndex(), expect);
        EXPECT_DOUBLE_EQ(manager.offsetMs(), static_cast<double>(visStamps[expect] - irStamps[i]) / 10000.0);
    }
    // Off: the visible side stays where it is.
    manager.set_sync(false);
    const int held = vs->curIndex();
    ASSERT_EQ(ir->set_curIndex(0), 0);
    EXPECT_EQ(vs->curIndex(), held);
}
