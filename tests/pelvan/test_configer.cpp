// The device configurator: record mirrors and their conversions, the records kept by a camera across
// logins, the session rules, file transfers with their checks, and the control commands.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>

#include <cmath>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "CDeviceConfiger.h"
#include "CDeviceManager.h"
#include "CDeviceNode.h"
#include "configer_support.h"
#include "device_support.h"

namespace {

// Hosts of 127.0.35.x, one per camera of this file.
enum Host {
    kHostRecords = 1,
    kHostSession = 2,
    kHostSecond = 3,
    kHostFiles = 4,
    kHostControls = 5,
    kHostManager = 6
};

constexpr int kMsgGetNetwork = 11;

bool sameValue(const QVariant &a, const QVariant &b) {
    if (a.type() == QVariant::String || b.type() == QVariant::String) return a.toString() == b.toString();
    return std::fabs(a.toDouble() - b.toDouble()) < 1e-4;
}

class ConfigerTest : public ::testing::Test {
protected:
    DeviceWorld world;  // starts the SDK
    QTemporaryDir dir;
};

// ---- mirrors without a camera ------------------------------------------------------------------------

TEST_F(ConfigerTest, MirrorConversionsFollowTheRecordLayout) {
    struct Case {
        const char *what;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"a MAC text of 16 characters keeps the MAC, one of 17 sets it",
         [] {
             CCameraNetworkInfo net;
             _CameraNetworkInfo r{};
             const uint8_t old[6] = {1, 2, 3, 4, 5, 6};
             std::memcpy(r.macAddr, old, 6);
             for (const char *text : {"aabbccddeeff", "aa:bb:cc:dd:ee:f"}) {
                 net.set_macAddr(QString::fromLatin1(text));
                 ASSERT_EQ(net.cls2bin(&r, sizeof r), 0);
                 EXPECT_EQ(std::memcmp(r.macAddr, old, 6), 0) << text;
             }
             net.set_macAddr(QStringLiteral("AA:BB:CC:DD:EE:0F"));
             net.cls2bin(&r, sizeof r);
             const uint8_t want[6] = {0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0x0f};
             EXPECT_EQ(std::memcmp(r.macAddr, want, 6), 0);
             net.set_staticIp(QStringLiteral("10.1.2.3"));
             net.cls2bin(&r, sizeof r);
             EXPECT_EQ(r.staticIp, 0x0A010203u);
         }},
        {"colours carry alpha 0xFF out and only the low 24 bits in",
         [] {
             CTvoutInfo tv;
             _TvoutInfo r{};
             r.ct_color0 = 0x12345678u;
             ASSERT_EQ(tv.bin2cls(&r, sizeof r), 0);
             EXPECT_EQ(tv.ct_color0(), QColor(0x34, 0x56, 0x78));
             tv.cls2bin(&r, sizeof r);
             EXPECT_EQ(r.ct_color0, 0xFF345678u);
         }},
        {"tenths truncate toward zero and read values go back unchanged",
         [] {
             CTvoutInfo tv;
             _TvoutInfo r{};
             tv.set_man_temp0(-12.34f);
             tv.set_man_temp1(99.99f);
             tv.cls2bin(&r, sizeof r);
             EXPECT_EQ(r.man_temp0, -123);
             EXPECT_EQ(r.man_temp1, 999);
             for (int16_t raw : {7, -7, 123, -32768, 32767, 3}) {
                 r.ct_temp0 = raw;
                 tv.bin2cls(&r, sizeof r);
                 r.ct_temp0 = 0;
                 tv.cls2bin(&r, sizeof r);
                 EXPECT_EQ(r.ct_temp0, raw);
             }
         }},
        {"texts are cut to the field less one byte, never inside a character",
         [] {
             CCameraOSDInfo osd;
             _CameraOSDInfo r;
             std::memset(&r, 0x5A, sizeof r);
             osd.set_loc_name(QString(200, QLatin1Char('x')));
             osd.cls2bin(&r, sizeof r);
             EXPECT_EQ(std::strlen(r.loc_name), 127u);
             EXPECT_EQ(r.reserved_144[0], 0x5A);  // beyond the known fields nothing changes
             CCameraTimeInfo t;
             _CameraTimeInfo tr{};
             t.set_timeZone(QString(30, QLatin1Char('a')) + QString::fromUtf8("\xC3\xA9"));  // 32 bytes
             t.cls2bin(&tr, sizeof tr);
             EXPECT_EQ(std::strlen(tr.timeZone), 30u);
         }},
        {"a short buffer is refused both ways",
         [] {
             CGB28181Info gb;
             GB28181Block b{};
             EXPECT_EQ(gb.bin2cls(&b, sizeof b - 1), -8);
             EXPECT_EQ(gb.cls2bin(&b, sizeof b - 1), -8);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.run();
    }
}

TEST_F(ConfigerTest, GbBlockLayoutAndChangeSignals) {
    CGB28181Info gb;
    gb.reset();
    EXPECT_EQ(gb.headVersion(), 20230222);
    EXPECT_EQ(gb.serverId().size(), 20);
    gb.set_headEnable(true);
    gb.set_serverId(QStringLiteral("S"));
    gb.set_serverIp(QStringLiteral("10.0.0.9"));
    gb.set_serverPort(15061);
    gb.set_deviceId(QStringLiteral("D"));
    gb.set_devicePort(5061);
    gb.set_devicePortRtp(5071);
    gb.set_streamId(QStringLiteral("T"));
    gb.set_username(QStringLiteral("U"));
    gb.set_password(QStringLiteral("P"));
    gb.set_keepAliveInterval(61);
    QByteArray block(280, '\xAB');
    ASSERT_EQ(gb.cls2bin(block.data(), block.size()), 0);
    auto word = [&](int off) {
        int32_t v;
        std::memcpy(&v, block.constData() + off, 4);
        return v;
    };
    const struct {
        int off;
        int32_t value;
    } words[] = {{0, 20230222}, {4, 1}, {72, 15061}, {108, 5061}, {112, 5071}, {212, 61}};
    for (const auto &w : words) EXPECT_EQ(word(w.off), w.value) << "offset " << w.off;
    const struct {
        int off;
        const char *text;
    } texts[] = {{8, "S"}, {40, "10.0.0.9"}, {76, "D"}, {116, "T"}, {148, "U"}, {180, "P"}};
    for (const auto &t : texts) EXPECT_STREQ(block.constData() + t.off, t.text) << "offset " << t.off;
    EXPECT_EQ(block.mid(216), QByteArray(64, '\xAB'));

    // Back in: a second object gets every value, and the same record again changes nothing.
    CGB28181Info copy;
    SignalLog portChanged(&copy, &CGB28181Info::serverPortChanged);
    SignalLog versionChanged(&copy, &CGB28181Info::headVersionChanged);
    ASSERT_EQ(copy.bin2cls(block.constData(), block.size()), 0);
    ASSERT_EQ(copy.bin2cls(block.constData(), block.size()), 0);
    EXPECT_EQ(portChanged.count(), 1);
    EXPECT_EQ(versionChanged.count(), 1);
    EXPECT_EQ(copy.password(), QStringLiteral("P"));
    EXPECT_EQ(copy.keepAliveInterval(), 61);
}

TEST_F(ConfigerTest, SuffixesTransmittanceAndCallsWithoutCamera) {
    CDeviceConfiger cfg;
    const std::vector<std::pair<int, const char *>> suffixes = {
        {0, ".bin"}, {1, ".cali"}, {2, ".com"}, {3, ".log"}, {4, ".cali2"},   {5, ".cali3"}, {6, ".bad"},
        {7, ".c2m"}, {8, ".c2m2"}, {9, ""},     {10, ""},    {11, ".gaowen"}, {12, ""},      {-1, ""}};
    for (const auto &s : suffixes)
        EXPECT_EQ(cfg.ft2suffix(s.first), QString::fromLatin1(s.second)) << s.first;

    for (const auto &t : std::vector<std::array<double, 3>>{{200, 184, 25}, {200, 200, 25}, {3000, 100, -60}})
        EXPECT_EQ(cfg.calcTrans(t[0], t[1], t[2]), FixTrans_CalcTrans(t[0], t[1], t[2]));

    const struct {
        const char *what;
        std::function<int()> run;
        int want;
    } closed[] = {
        {"getConfig", [&] { return cfg.getConfig(3); }, -7},
        {"setConfig", [&] { return cfg.setConfig(3); }, -7},
        {"getConfigAll", [&] { return cfg.getConfigAll(); }, -7},
        {"uploadFile", [&] { return cfg.uploadFile(11, dir.filePath(QStringLiteral("x.gaowen"))); }, -7},
        {"downloadFile", [&] { return cfg.downloadFile(3, dir.filePath(QStringLiteral("x.log"))); }, -7},
        {"setGpioOutput", [&] { return cfg.control_setGpioOutput(31, 1); }, -7},
        {"setTime", [&] { return cfg.control_setTime(0); }, -7},
        {"setShutter", [&] { return cfg.control_setShutter(1); }, -7},
        {"restoreFactory", [&] { return cfg.control_restoreFactory(); }, -7},
        {"restartDevice", [&] { return cfg.control_restartDevice(); }, -7},
        {"getConfig(0)", [&] { return cfg.getConfig(0); }, -8},
        {"setConfig(14)", [&] { return cfg.setConfig(14); }, -8},
        {"configIp without a record", [&] { return cfg.configIp(nullptr, QStringLiteral("X")); }, -8},
        {"configIp without an id", [&] { return cfg.configIp(cfg.networkInfo(), QString()); }, -8},
    };
    for (const auto &c : closed) EXPECT_EQ(c.run(), c.want) << c.what;
    EXPECT_TRUE(cfg.control_getTime().isEmpty());
    EXPECT_FALSE(cfg.isOpen());
}

TEST_F(ConfigerTest, FirmwareNameRule) {
    const struct {
        const char *path;
        const char *softwareId;
        int want;
    } cases[] = {
        {"C:/fw/IRAPP_v2.bin", "XT123-abc", 0},
        {"C:\\fw\\XT123_v3.bin", "XT123-abc", 0},  // the camera's own prefix
        {"C:/fw/XT124_v3.bin", "XT123-abc", -8},
        {"fw.bin", "XT123-abc", -8},  // no directory part
        {"/IRAPP", "XT123-abc", -8},  // shorter than the place the search starts
        {"", "XT123-abc", -8},
        {"/a/IRAPP.bin", "", 0},
        {"/fw/anything.bin", "", -8},  // an empty identifier is nobody's prefix
        {"/fw/ab/IRAP.bin", "XT123-abc", -8},
        {"/fw/IRAPP", "XT123-abc", -8},  // separator within the last 9 characters is not seen
    };
    for (const auto &c : cases)
        EXPECT_EQ(CDeviceConfiger::checkFirmwareName(QByteArray(c.path), QString::fromLatin1(c.softwareId)),
                  c.want)
            << c.path;
}

TEST_F(ConfigerTest, QmlSeesEnumsAndCreatesNetworkRecords) {
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(
        "import QtQml 2.15\nimport Sarvik 1.0\nQtObject {\n"
        "  property int ft: CDeviceConfiger.DeviceFileType_gaowen\n"
        "  property int buzz: CDeviceConfiger.DeviceGpioOutputFlag_buzz\n"
        "  property CCameraNetworkInfo net: CCameraNetworkInfo { Component.onCompleted: reset() }\n"
        "  property string ip: net.staticIp\n}\n",
        QUrl());
    std::unique_ptr<QObject> obj(component.create());
    ASSERT_TRUE(obj) << component.errorString().toStdString();
    EXPECT_EQ(obj->property("ft").toInt(), 11);
    EXPECT_EQ(obj->property("buzz").toInt(), 16);
    EXPECT_EQ(obj->property("ip").toString(), QStringLiteral("192.168.1.201"));
}

// ---- against cameras ---------------------------------------------------------------------------------

TEST_F(ConfigerTest, EveryRecordIsKeptByTheCamera) {
    ConfigerCam cam(kHostRecords, dir.path(), {"--camera-id", "CFGREC0001", "--software-id", "XT123-abc"});
    ASSERT_TRUE(cam.ready());
    auto node = nodeFor(cam.ip());
    const struct {
        int type;
        const char *property;
        QVariant value;
    } cases[] = {
        {1, "cameraName", QStringLiteral("east gate")},
        {2, "targetDistance", 12.5},
        {3, "dns", QStringLiteral("9.9.9.9")},
        {4, "timeZone", QStringLiteral("Europe/Berlin")},
        {5, "man_temp0", -12.3},
        {6, "loc_name", QStringLiteral("gate 4")},
        {7, "baudRate", 7},
        {8, "output1", 3},
        {9, "time_interval_sec", 90},
        {10, "s1_radius", 5},
        {11, "gf_regular", 17},
        {12, "username", QStringLiteral("operator")},
        {13, "serverIp", QStringLiteral("10.1.2.3")},
    };
    {
        CDeviceConfiger writer;
        ASSERT_EQ(writer.startWork(node.get()), 0);
        for (const auto &c : cases) {
            SCOPED_TRACE(c.property);
            ASSERT_EQ(writer.getConfig(c.type), 0);
            CDeviceConfigBase *obj = writer.configObject(c.type);
            EXPECT_TRUE(obj->edit_isvalid());
            EXPECT_FALSE(sameValue(obj->property(c.property), c.value));  // a real change
            ASSERT_TRUE(obj->setProperty(c.property, c.value));
            EXPECT_EQ(writer.setConfig(c.type), 0);
        }
        writer.stopWork();
    }
    CDeviceConfiger reader;
    ASSERT_EQ(reader.startWork(node.get()), 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.property);
        ASSERT_EQ(reader.getConfig(c.type), 0);
        EXPECT_TRUE(sameValue(reader.configObject(c.type)->property(c.property), c.value))
            << reader.configObject(c.type)->property(c.property).toString().toStdString();
    }
    EXPECT_EQ(reader.basicInfo()->cameraId(), QStringLiteral("CFGREC0001"));
}

TEST_F(ConfigerTest, SessionRulesAndLoadedFlags) {
    ConfigerCam first(kHostSession, dir.path());
    ConfigerCam second(kHostSecond, dir.path(), {"--fault-refuse-transfer"});
    ASSERT_TRUE(first.ready() && second.ready());
    auto node1 = nodeFor(first.ip());
    auto node2 = nodeFor(second.ip());
    CDeviceConfiger cfg;
    SignalLog opened(&cfg, &CDeviceConfiger::isOpenChanged);

    ASSERT_EQ(cfg.startWork(node1.get()), 0);
    EXPECT_TRUE(cfg.basicInfo()->edit_isvalid());
    EXPECT_FALSE(cfg.networkInfo()->edit_isvalid());
    EXPECT_EQ(cfg.getConfig(3), 0);
    EXPECT_EQ(cfg.getConfig(3), 0);
    EXPECT_EQ(first.requestCount(kMsgGetNetwork), 1);

    // A second camera while one is open: refused, the first stays open and usable.
    EXPECT_EQ(cfg.startWork(node2.get()), -7);
    EXPECT_EQ(cfg.deviceIp(), first.ip());
    EXPECT_EQ(cfg.getConfig(4), 0);
    EXPECT_EQ(second.requests().size(), 0);

    cfg.stopWork();
    EXPECT_FALSE(cfg.isOpen());
    ASSERT_EQ(cfg.startWork(node1.get()), 0);
    EXPECT_FALSE(cfg.networkInfo()->edit_isvalid());
    EXPECT_EQ(cfg.getConfig(3), 0);
    EXPECT_EQ(first.requestCount(kMsgGetNetwork), 2);
    EXPECT_EQ(opened.count(), 3);

    // A write of a type not read in this period reads it first: the reserved bytes are this camera's.
    cfg.stopWork();
    ASSERT_EQ(cfg.startWork(node2.get()), 0);
    EXPECT_EQ(cfg.setConfig(3), 0);
    EXPECT_EQ(second.requestCount(kMsgGetNetwork), 1);

    // A failed read keeps the last values and marks them stale.
    cfg.gb28181Info()->set_serverIp(QStringLiteral("10.9.9.9"));
    cfg.gb28181Info()->set_edit_isvalid(true);
    EXPECT_EQ(cfg.getConfig(13), -2);
    EXPECT_FALSE(cfg.gb28181Info()->edit_isvalid());
    EXPECT_EQ(cfg.gb28181Info()->serverIp(), QStringLiteral("10.9.9.9"));
    cfg.stopWork();

    // A camera that is not there: the login's status, nothing open.
    auto nowhere = nodeFor(QStringLiteral("127.0.35.40"));
    EXPECT_LT(cfg.startWork(nowhere.get()), 0);
    EXPECT_FALSE(cfg.isOpen());
}

TEST_F(ConfigerTest, FileTransfersAndTheirChecks) {
    ConfigerCam cam(kHostFiles, dir.path(), {"--camera-id", "CFGFILE001", "--software-id", "XT123-abc"});
    ASSERT_TRUE(cam.ready());
    auto node = nodeFor(cam.ip());
    CDeviceConfiger cfg;
    ASSERT_EQ(cfg.startWork(node.get()), 0);
    const int w = cfg.basicInfo()->dataWidth(), h = cfg.basicInfo()->dataHeight();
    const QByteArray id = cfg.basicInfo()->cameraId().toUtf8();
    QDir(dir.path()).mkpath(QStringLiteral("fw"));
    const struct {
        const char *name;
        QByteArray content;
        int type;
        int want;
        bool sent;
    } cases[] = {
        {"fw/IRAPP_v2.bin", QByteArray(3000, 'f'), 0, 0, true},
        {"fw/XT123_v2.bin", QByteArray(10, 'g'), 0, 0, true},
        {"fw/OTHER_v2.bin", QByteArray(10, 'g'), 0, -8, false},
        {"cust.bin", QByteArray(10, 'c'), 9, -2, false},
        {"cust2.bin", QByteArray(10, 'c'), 10, -2, false},
        {"good.bad", badPixelList(id, w, h, {0, 0, w - 1, h - 1}), 6, 0, true},
        {"wide.bad", badPixelList(id, w + 1, h, {0, 0}), 6, -3, false},
        {"outside.bad", badPixelList(id, w, h, {w, 0}), 6, -6, false},
        {"table.gaowen", QByteArray("high temperature table"), 11, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeBytes(path, c.content));
        const int before = cam.requests().size();
        const int transfers = cam.transfers().size();
        EXPECT_EQ(cfg.uploadFile(c.type, path), c.want);
        EXPECT_EQ(cam.requests().size() > before, c.sent);
        if (c.sent) {
            // The camera logs a transfer once the payload is in.
            ASSERT_TRUE(waitUntil([&] { return cam.transfers().size() > transfers; }, 5000));
            const QString line = QStringLiteral("upload-file type %1 size %2 status 0 moved %2");
            EXPECT_EQ(cam.transfers().last(), line.arg(c.type).arg(c.content.size()));
        }
    }
    // A bare file name has no directory part: refused before anything is sent.
    const int before = cam.requests().size();
    EXPECT_EQ(cfg.uploadFile(0, QStringLiteral("fw.bin")), -8);
    EXPECT_EQ(cam.requests().size(), before);

    const QString back = dir.filePath(QStringLiteral("back") + cfg.ft2suffix(11));
    EXPECT_EQ(cfg.downloadFile(11, QUrl::fromLocalFile(back).toString()), 0);
    EXPECT_EQ(readFile(back), QByteArray("high temperature table"));
}

TEST_F(ConfigerTest, ControlsReachTheCamera) {
    ConfigerCam cam(kHostControls, dir.path());
    ASSERT_TRUE(cam.ready());
    auto node = nodeFor(cam.ip());
    CDeviceConfiger cfg;
    ASSERT_EQ(cfg.startWork(node.get()), 0);
    const struct {
        const char *event;
        std::function<int()> run;
    } cases[] = {
        {"ctlx clock-set ", [&] { return cfg.control_setTime(0); }},
        {"ctlx gpio 0x05", [&] { return cfg.control_setGpioOutput(31, 5); }},
        {"ctlx gpio 0x04", [&] { return cfg.control_setGpioOutput(1, 0); }},
        {"control shutter close", [&] { return cfg.control_setShutter(1); }},
        {"control shutter open", [&] { return cfg.control_setShutter(0); }},
        {"control factory-reset", [&] { return cfg.control_restoreFactory(); }},
        {"control restart", [&] { return cfg.control_restartDevice(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.event);
        const int before = cam.events().size();
        // A reset or restart keeps the camera away for a moment: the next command waits for its return.
        ASSERT_TRUE(waitUntil([&] { return c.run() == 0; }, 5000));
        // One-way controls are not answered: the event lands when the camera has read them.
        ASSERT_TRUE(waitUntil([&] { return cam.events().size() > before; }, 5000));
        EXPECT_TRUE(cam.events().last().startsWith(QLatin1String(c.event)))
            << cam.events().last().toStdString();
        if (std::strcmp(c.event, "ctlx clock-set ") == 0) {
            // The camera's clock now reads back as the PC's date.
            const QString text = cfg.control_getTime();
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"))
                            .match(text)
                            .hasMatch())
                << text.toStdString();
            EXPECT_TRUE(QDateTime::fromString(text, Qt::ISODate).isValid());
        }
    }
}

TEST_F(ConfigerTest, ManagerOwnsConfiguratorAndEditors) {
    ConfigerCam cam(kHostManager, dir.path());
    ASSERT_TRUE(cam.ready());
    auto node = nodeFor(cam.ip());
    auto *manager = new CDeviceManager;
    for (const char *name : {"deviceConfiger", "custEditor", "weijuEditor", "fixdistEditor", "comEditor"})
        EXPECT_NE(manager->property(name).value<QObject *>(), nullptr) << name;
    ASSERT_EQ(manager->deviceConfiger()->startWork(node.get()), 0);
    const int id = manager->deviceConfiger()->userId();
    _CameraBasicInfo basic{};
    ASSERT_EQ(Sarvik_GetCameraBasicInfo(id, &basic), 0);
    delete manager;
    // The session went with the manager.
    EXPECT_NE(Sarvik_GetCameraBasicInfo(id, &basic), 0);
}

}  // namespace
