// The visible side of the dual-light tool: the device against the fake camera (each camera test in a
// network namespace of its own, on its own 127.0.34.N address) and the player of ".vis" recordings.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <cstring>
#include <memory>
#include <vector>

#include "VISCanvas.h"
#include "VISDevice.h"
#include "VISFrameState.h"
#include "VISStream.h"
#include "fake_vis_camera.h"
#include "qelm_support.h"

namespace {

// ---- recordings built by hand --------------------------------------------------------------------------

struct Rec {
    int width = 0, height = 0;  // as the record's own header says
    int gray = 0;               // every pixel
    qint64 stamp = 0;
};

QByteArray visBytes(int w, int h, const std::vector<Rec> &recs, uint32_t format = kVisPixelMono8) {
    VisFileHeader fh{};
    fh.width = static_cast<uint16_t>(w);
    fh.height = static_cast<uint16_t>(h);
    fh.pixelFormat = format;
    QByteArray out(reinterpret_cast<const char *>(&fh), sizeof fh);
    for (const Rec &r : recs) {
        VisFrameHeader rh{};
        rh.width = static_cast<uint16_t>(r.width ? r.width : w);
        rh.height = static_cast<uint16_t>(r.height ? r.height : h);
        rh.pixelFormat = format;
        rh.timestamp = r.stamp;
        out.append(reinterpret_cast<const char *>(&rh), sizeof rh);
        out.append(QByteArray(w * h, static_cast<char>(r.gray)));
    }
    return out;
}

QString writeFile(const QelmWorld &world, const QString &name, const QByteArray &bytes) {
    const QString path = world.path(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

// The canvas painted at its own size; the colour at (x, y).
QImage painted(VISCanvas *canvas) {
    QImage img(static_cast<int>(canvas->width()), static_cast<int>(canvas->height()), QImage::Format_ARGB32);
    img.fill(0);
    QPainter p(&img);
    canvas->paint(&p);
    p.end();
    return img;
}

int centerGray(VISCanvas *canvas) {
    const QImage img = painted(canvas);
    const QRgb c = img.pixel(img.width() / 2, img.height() / 2);
    if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c) || qAlpha(c) != 255) return -1;
    return qRed(c);
}

constexpr int W = 16, H = 8;
constexpr qint64 kBase = 16000000000000000;  // 2020-09-13 in 100-ns ticks since 1970

}  // namespace

// ---- player --------------------------------------------------------------------------------------------

TEST(VISStreamFile, LoadRefusesBrokenFilesAndKeepsThePreviousOne) {
    QelmWorld world;
    const QByteArray three =
        visBytes(W, H, {{0, 0, 10, kBase}, {0, 0, 20, kBase + 1}, {0, 0, 30, kBase + 2}});
    struct Case {
        const char *what;
        QByteArray bytes;  // empty: no file
        int want;
        int frames;
    };
    const int record = W * H + 128;
    const Case cases[] = {
        {"missing", QByteArray(), -200, 0},
        {"header cut", three.left(500), -198, 0},
        {"header only", three.left(1024), -194, 0},
        {"one byte short of a record", three.left(1024 + record - 1), -194, 0},
        {"not Mono8", visBytes(W, H, {{0, 0, 10, kBase}}, 0x02180014), -194, 0},
        {"zero width", visBytes(0, H, {{W, 0, 10, kBase}}), -194, 0},
        {"first record of another size", visBytes(W, H, {{W + 1, H, 10, kBase}, {0, 0, 20, kBase}}), -194, 0},
        {"ends mid-frame", three.left(1024 + 2 * record + record / 2), 0, 2},
        {"whole", three, 0, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        VISStream s;
        s.canvas()->setSize(QSizeF(W, H));
        const QString good =
            writeFile(world, "good.vis", visBytes(W, H, {{0, 0, 77, kBase}, {0, 0, 88, kBase + 5}}));
        ASSERT_EQ(s.load(good), 0);
        ASSERT_EQ(s.set_curIndex(1), 0);
        const QString path =
            c.bytes.isEmpty() ? world.path("absent.vis") : writeFile(world, "case.vis", c.bytes);
        EXPECT_EQ(s.load(path), c.want);
        if (c.want == 0) {
            EXPECT_EQ(s.fn(), path);
            EXPECT_EQ(s.frameCount(), c.frames);
            EXPECT_EQ(s.curIndex(), 0);
            EXPECT_EQ(s.curStamp(), kBase);
            EXPECT_EQ(centerGray(s.canvas()), 10);
        } else {
            EXPECT_EQ(s.fn(), good);
            EXPECT_EQ(s.frameCount(), 2);
            EXPECT_EQ(s.curIndex(), 1);
            EXPECT_EQ(s.curStamp(), kBase + 5);
            EXPECT_EQ(centerGray(s.canvas()), 88);
            EXPECT_EQ(s.set_curIndex(0), 0) << "the previous file stays readable";
        }
    }
}

TEST(VISStreamFile, SteppingShowsFramesAndFailuresLeaveTheShownOne) {
    QelmWorld world;
    VISStream s;
    s.canvas()->setSize(QSizeF(W, H));
    const qint64 stamp1 = kBase + 1234567;  // .123 s after a whole second
    const QString path = writeFile(
        world, "steps.vis",
        visBytes(W, H,
                 {{0, 0, 10, kBase}, {0, 0, 20, stamp1}, {W, H + 1, 30, kBase + 2}, {0, 0, 40, kBase + 3}}));
    ASSERT_EQ(s.load(path), 0);
    EXPECT_EQ(s.frameCount(), 4);
    ASSERT_EQ(s.nextFrame(), 0);
    EXPECT_EQ(centerGray(s.canvas()), 20);
    EXPECT_EQ(
        s.curTime(),
        QDateTime::fromMSecsSinceEpoch(stamp1 / 10000).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")));

    struct Step {
        int index;
        int want;
    };
    // A record of another size, past the end, before the start: refused, frame 1 stays.
    for (const Step &st : {Step{2, -194}, Step{4, -8}, Step{-1, -8}}) {
        SCOPED_TRACE(st.index);
        EXPECT_EQ(s.set_curIndex(st.index), st.want);
        EXPECT_EQ(s.curIndex(), 1);
        EXPECT_EQ(s.curStamp(), stamp1);
        EXPECT_EQ(centerGray(s.canvas()), 20);
    }
    ASSERT_EQ(s.set_curIndex(3), 0);
    EXPECT_EQ(centerGray(s.canvas()), 40);
    EXPECT_EQ(s.nextFrame(), -8);
    EXPECT_EQ(s.curIndex(), 3);

    s.close();
    EXPECT_EQ(s.frameCount(), 0);
    EXPECT_EQ(s.set_curIndex(0), -8);
}

TEST(VISStreamFile, IndexNearestFindsTheClosestEarlierOnTies) {
    QelmWorld world;
    VISStream s;
    EXPECT_EQ(s.indexNearest(0), -1);
    const qint64 stamps[] = {1000, 2000, 2000, 5000, 9000};
    std::vector<Rec> recs;
    for (qint64 t : stamps) recs.push_back({0, 0, 1, t});
    ASSERT_EQ(s.load(writeFile(world, "near.vis", visBytes(W, H, recs))), 0);
    struct Case {
        qint64 stamp;
        int want;
    };
    const Case cases[] = {{-5, 0},   {1000, 0}, {1500, 0}, {1501, 1}, {2000, 1},      {3500, 1},
                          {3501, 3}, {7000, 3}, {7001, 4}, {9000, 4}, {1LL << 62, 4}, {-(1LL << 62), 0}};
    for (const Case &c : cases) EXPECT_EQ(s.indexNearest(c.stamp), c.want) << c.stamp;
    EXPECT_EQ(s.stampAt(3), 5000);
    EXPECT_EQ(s.stampAt(5), -1);
    EXPECT_EQ(s.stampAt(-1), -1);
}

// ---- device without a camera ---------------------------------------------------------------------------

TEST(VISDeviceArgs, RefusesBadAddressesAndStartSettings) {
    QelmWorld world;
    VISDevice d;
    // Every one is refused before any network traffic.
    for (const char *a :
         {"", "abc", "1.2.3", "256.1.1.1", "1.2.3.4.5", "127.0.0.1 ", "::1", "127.000.000.0001"}) {
        EXPECT_EQ(d.startWork(QString::fromLatin1(a)), -8) << a;
        EXPECT_EQ(d.jobState(), 0);
    }
    struct Case {
        QStringList params;
        int want;
    };
    const Case cases[] = {
        {{}, 0},
        {{"Width=1280", "AcquisitionFrameRate=12.5", "ReverseX=true", "GammaEnable=0",
          "PixelFormat=0x01080001"},
         0},
        {{"Sharpness=-3"}, 0},
        {{"NoSuchFeature=1"}, -8},
        {{"Width"}, -8},
        {{"=5"}, -8},
        {{"Width="}, -8},
        {{"Width=12x"}, -8},
        {{"Gain=nan"}, -8},
        {{"ReverseX=2"}, -8},
        {{"PixelFormat=-1"}, -8},
        {{"Width=640", "Height=abc"}, -8},
    };
    for (const Case &c : cases)
        EXPECT_EQ(d.setStartParams(c.params), c.want) << c.params.join(' ').toStdString();
    EXPECT_EQ(d.pauseWork(true), -7);
    EXPECT_EQ(d.beginSave(QString()), -7);
    EXPECT_EQ(d.endSave(), -7);
}

// ---- device against the fake camera --------------------------------------------------------------------

class VISDeviceCamera : public ::testing::Test {
protected:
    // The namespace and, with a camera, the fake camera on ip; then the device.
    void setUpAt(const char *ip, bool camera = true) {
        const std::string why = enterCameraNetns(ip);
        if (!why.empty()) GTEST_SKIP() << why;
        if (camera) {
            cam_ = std::make_unique<mvcamtest::FakeVisCamera>(ip);
            ASSERT_TRUE(cam_->start());
        }
        dev_ = std::make_unique<VISDevice>();
        QObject::connect(dev_.get(), &VISDevice::startFailed,
                         [this](int code) { failures_.push_back(code); });
    }
    // Starts and waits for the job's end; true when working.
    bool start(const char *ip) {
        EXPECT_EQ(dev_->startWork(QString::fromLatin1(ip)), 0);
        EXPECT_TRUE(waitUntil([&] { return dev_->jobState() == 0; }, 30000));
        return dev_->isWorking();
    }
    bool stop() {
        EXPECT_EQ(dev_->stopWork(), 0);
        return waitUntil([&] { return dev_->jobState() == 0; }, 30000) && dev_->flags() == 0;
    }
    bool framesReach(unsigned n) {
        return waitUntil([&] { return dev_->framesShown() >= n; }, 30000);
    }

    QelmWorld world_;
    std::unique_ptr<mvcamtest::FakeVisCamera> cam_;
    std::unique_ptr<VISDevice> dev_;
    std::vector<int> failures_;
};

#define SETUP_OR_RETURN(...)                          \
    do {                                              \
        setUpAt(__VA_ARGS__);                         \
        if (IsSkipped() || HasFatalFailure()) return; \
    } while (0)

TEST_F(VISDeviceCamera, StartShowsTheCameraPictureThenStops) {
    const char *ip = "127.0.34.40";
    SETUP_OR_RETURN(ip);
    dev_->canvas()->setSize(QSizeF(512, 512));
    ASSERT_TRUE(start(ip));
    EXPECT_EQ(dev_->startWork(QString::fromLatin1(ip)), 0) << "already working";
    EXPECT_EQ(dev_->outputWidth(), 512);
    EXPECT_EQ(dev_->outputHeight(), 512);
    EXPECT_EQ(dev_->address(), QString::fromLatin1(ip));
    EXPECT_EQ(dev_->pauseWork(true), 0);
    ASSERT_TRUE(waitUntil([&] { return dev_->frameState()->fps() > 0; }, 30000));

    // The fake camera's Mono8 picture is a diagonal ramp: (x, y) = (first + x + y) mod 255, opaque gray.
    const QImage img = painted(dev_->canvas());
    const int first = qRed(img.pixel(0, 0));
    int bad = 0;
    for (int y = 0; y < 512; y += 37)
        for (int x = 0; x < 512; x += 41) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) != (first + x + y) % 255 || qGreen(c) != qRed(c) || qBlue(c) != qRed(c) ||
                qAlpha(c) != 255)
                ++bad;
        }
    EXPECT_EQ(bad, 0);

    ASSERT_TRUE(stop());
    EXPECT_EQ(dev_->frameState()->fps(), 0);
    EXPECT_FALSE(dev_->canvas()->isWorking());
    EXPECT_EQ(dev_->pauseWork(true), -7);
    EXPECT_TRUE(failures_.empty());

    // Starts again, and goes away while working.
    ASSERT_TRUE(start(ip));
    EXPECT_TRUE(framesReach(3));
    dev_.reset();
}

TEST_F(VISDeviceCamera, StartWithoutCameraFailsBackToIdle) {
    const char *ip = "127.0.34.41";
    SETUP_OR_RETURN(ip, false);
    EXPECT_FALSE(start(ip));
    EXPECT_EQ(dev_->flags(), 0);
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0], -1000);
    EXPECT_EQ(dev_->lastError(), -1000);
    EXPECT_EQ(dev_->stopWork(), 0);
}

TEST_F(VISDeviceCamera, StartSettingsAreAppliedOrFailTheStart) {
    const char *ip = "127.0.34.42";
    SETUP_OR_RETURN(ip);
    // Out of the camera's range: the start fails with the library's code and the camera is closed again.
    ASSERT_EQ(dev_->setStartParams({"Sharpness=101"}), 0);
    EXPECT_FALSE(start(ip));
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0], static_cast<int>(MVCC_E_FEATURE_RANGE));
    EXPECT_EQ(dev_->lastError(), failures_[0]);
    EXPECT_EQ(dev_->flags(), 0);

    ASSERT_EQ(dev_->setStartParams({"Width=256"}), 0);
    EXPECT_EQ(dev_->setStartParams({"Height=128", "Bogus=1"}), -8);  // nothing of it kept
    ASSERT_TRUE(start(ip));
    EXPECT_EQ(dev_->outputWidth(), 256);
    EXPECT_EQ(dev_->outputHeight(), 512);
    EXPECT_EQ(dev_->lastError(), 0);
    EXPECT_TRUE(framesReach(3));
    EXPECT_TRUE(stop());
}

TEST_F(VISDeviceCamera, RecordingPlaysBackFrameByFrame) {
    const char *ip = "127.0.34.43";
    SETUP_OR_RETURN(ip);
    ASSERT_TRUE(start(ip));
    ASSERT_TRUE(framesReach(2));
    EXPECT_EQ(dev_->endSave(), -7);
    const qint64 before = QDateTime::currentMSecsSinceEpoch() * 10000;
    ASSERT_EQ(dev_->beginSave(world_.path("rec")), 0);
    EXPECT_EQ(dev_->beginSave(world_.path("other")), -7);
    EXPECT_TRUE(dev_->isRecording());
    EXPECT_EQ(dev_->recordFile(), world_.path("rec.vis"));
    const unsigned shown = dev_->framesShown();
    ASSERT_TRUE(framesReach(shown + 6));
    ASSERT_EQ(dev_->endSave(), 0);
    EXPECT_FALSE(dev_->isRecording());
    const qint64 after = QDateTime::currentMSecsSinceEpoch() * 10000;

    // An empty name records under a date-time name in the save folder.
    ASSERT_EQ(dev_->beginSave(QString()), 0);
    EXPECT_TRUE(dev_->recordFile().startsWith(world_.saveDir() + "/"));
    EXPECT_TRUE(dev_->recordFile().endsWith(".vis"));
    EXPECT_EQ(dev_->endSave(), 0);
    EXPECT_TRUE(QFileInfo::exists(dev_->recordFile()));
    ASSERT_TRUE(stop());

    const qint64 size = QFileInfo(world_.path("rec.vis")).size();
    const qint64 record = 512 * 512 + 128;
    VISStream s;
    s.canvas()->setSize(QSizeF(512, 512));
    ASSERT_EQ(s.load(world_.path("rec.vis")), 0);
    EXPECT_EQ(s.frameCount(), (size - 1024) / record);
    EXPECT_EQ((size - 1024) % record, 0);
    EXPECT_GE(s.frameCount(), 1);
    // Host time of arrival, whole: within the recording's wall-clock span (a second of slack).
    qint64 last = 0;
    for (int i = 0; i < s.frameCount(); ++i) {
        ASSERT_EQ(s.set_curIndex(i), 0);
        EXPECT_GE(s.curStamp(), last);
        EXPECT_GE(s.curStamp(), before - 10000000);
        EXPECT_LE(s.curStamp(), after + 10000000);
        last = s.curStamp();
        EXPECT_GE(centerGray(s.canvas()), 0);
    }
    EXPECT_EQ(s.nextFrame(), -8);
    EXPECT_EQ(s.curIndex(), s.frameCount() - 1);
    EXPECT_EQ(s.curStamp(), last);
}

TEST_F(VISDeviceCamera, LostCameraIsReportedAndItsReturnClearsIt) {
    const char *ip = "127.0.34.44";
    SETUP_OR_RETURN(ip);
    ASSERT_TRUE(start(ip));
    ASSERT_TRUE(framesReach(2));
    cam_->kill_hard();
    ASSERT_TRUE(waitUntil([&] { return dev_->isRecovering(); }, 30000));
    EXPECT_EQ(dev_->lastError(), -17);
    EXPECT_TRUE(dev_->isWorking()) << "a lost camera does not end the session";
    ASSERT_TRUE(cam_->start());
    ASSERT_TRUE(waitUntil([&] { return !dev_->isRecovering(); }, 40000));
    const unsigned shown = dev_->framesShown();
    EXPECT_TRUE(framesReach(shown + 3));
    EXPECT_TRUE(stop());
}
