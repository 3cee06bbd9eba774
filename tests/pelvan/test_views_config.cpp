// The camera configuration dialog, its pages and the main window's camera buttons, loaded from the source
// folder in the real engine against a real application singleton and driven against virtual cameras on
// 127.0.37.x: the pages load cleanly, every page's record goes to the camera and comes back in the next
// session, refused entries are not written, the test page reaches the camera, and the transmittance
// calculator follows its rule.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml>

#include <cmath>
#include <cstring>
#include <memory>

#include "AppStatic.h"
#include "CApp.h"
#include "CDeviceConfiger.h"
#include "CDeviceManager.h"
#include "CDeviceNode.h"
#include "SarvikSDK.h"
#include "device_support.h"
#include "vcam_process.h"
#include "zq_logger.h"

namespace {

const QString kViews = QStringLiteral(PELVAN_DOCS_DIR "/../tools/pelvan/Views/");

QStringList g_messages;

// Warnings and worse: the configurator's own trace of logins and writes is not a fault.
void collectMessages(QtMsgType type, const QMessageLogContext &, const QString &msg) {
    // Icons come from the program's resources, which this test does not carry.
    if (type != QtDebugMsg && type != QtInfoMsg && !msg.contains(QLatin1String("qrc:/Icons/"))) g_messages << msg;
}

QString configIp(int host) {
    return QStringLiteral("127.0.37.%1").arg(host);
}

// The CApp singleton may be reached from one engine per process only: the suite makes the engine unless
// another suite of this process registered the singleton before (ctest runs every test alone).
class ViewsConfig : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (qmlTypeId("Sarvik", 1, 0, "CApp") >= 0) {
            s_taken = true;
            return;
        }
        static const bool sdk = Sarvik_InitSDK() == 0;
        (void)sdk;
        s_dir = new QTemporaryDir;
        s_savedExe = AppStatic::path_exe_qs;
        s_savedConfig = AppStatic::path_config_qs;
        AppStatic::app_name = QStringLiteral("Pelvan");
        AppStatic::path_exe_qs = s_dir->path();
        AppStatic::path_config_qs = s_dir->path();
        logger_t *log = logger_create_default();
        std::memcpy(s_savedLog, log->filepath, sizeof(s_savedLog));
        logger_set_file(log, s_dir->filePath(QStringLiteral("test")).toUtf8().constData());

        s_app = new CApp;
        s_app->init();
        s_app->deviceManager()->setStartupOptions({}, false);
        qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", s_app);

        const QtMessageHandler old = qInstallMessageHandler(collectMessages);
        s_engine = new QQmlApplicationEngine;
        s_engine->addImportPath(QStringLiteral(PELVAN_BUILD_DIR "/qml"));
        s_engine->load(QUrl::fromLocalFile(kViews + QStringLiteral("Main.qml")));
        QCoreApplication::processEvents();
        qInstallMessageHandler(old);
        s_loadMessages = g_messages;
    }

    static void TearDownTestSuite() {
        if (s_taken) return;
        delete s_engine;
        s_engine = nullptr;
        logger_set_file(logger_create_default(), s_savedLog);
        AppStatic::path_exe_qs = s_savedExe;
        AppStatic::path_config_qs = s_savedConfig;
        // The singleton instance stays registered with the type system: kept alive for the process.
        delete s_dir;
    }

    void SetUp() override {
        if (s_taken) GTEST_SKIP() << "another suite's engine owns the CApp singleton in this process";
        ASSERT_EQ(s_engine->rootObjects().size(), 1) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
        m_window = qobject_cast<QQuickWindow *>(s_engine->rootObjects().first());
        ASSERT_NE(m_window, nullptr);
        g_messages.clear();
        m_old = qInstallMessageHandler(collectMessages);
    }

    void TearDown() override {
        if (s_taken) return;
        qInstallMessageHandler(m_old);
        configer()->stopWork();
    }

    static std::string messages() { return g_messages.join(QLatin1Char('\n')).toStdString(); }

    QVariant eval(const QString &js) {
        QQmlExpression expr(qmlContext(m_window), m_window, js);
        const QVariant v = expr.evaluate();
        if (expr.hasError()) ADD_FAILURE() << js.toStdString() << ": " << expr.error().toString().toStdString();
        return v;
    }

    CDeviceManager *manager() const { return s_app->deviceManager(); }
    CDeviceConfiger *configer() const { return manager()->deviceConfiger(); }
    QObject *notify() { return m_window->findChild<QObject *>(QStringLiteral("notify")); }

    // Lists the address (none for an empty one) and highlights it on page tab (0 preview, 1 batch page).
    void selectCamera(const QString &ip, int tab = 0) {
        int row = -1;
        if (!ip.isEmpty()) {
            manager()->node_create(ip);
            QCoreApplication::processEvents();
            for (int i = 0; i < manager()->nodes().size(); ++i)
                if (manager()->nodes().at(i)->deviceIp() == ip) row = i;
            ASSERT_GE(row, 0);
        }
        m_window->findChild<QObject *>(QStringLiteral("pageTab"))->setProperty("xcurrentIndex", tab);
        QObject *list = m_window->findChild<QObject *>(QLatin1String(tab == 0 ? "deviceList" : "batchTable"));
        ASSERT_NE(list, nullptr);
        list->setProperty("xcurrentRow", row);
        QCoreApplication::processEvents();
    }

    // The dialog's page with this name, after it was shown; null when it is not made.
    QObject *page(const QString &name) {
        return eval(QStringLiteral("(function () { var d = App.getView(\"DeviceConfig\");"
                                   " var l = d._loaders.itemAt(d.pageIndex(\"%1\")); return l ? l.item : null })()")
                        .arg(name))
            .value<QObject *>();
    }

    int selectPage(const QString &name) {
        return eval(QStringLiteral("(function () { var d = App.getView(\"DeviceConfig\");"
                                   " return d.selectPage(d.pageIndex(\"%1\")) })()")
                        .arg(name))
            .toInt();
    }

    static QTemporaryDir *s_dir;
    static CApp *s_app;
    static QQmlApplicationEngine *s_engine;
    static QStringList s_loadMessages;
    static QString s_savedExe, s_savedConfig;
    static char s_savedLog[ZQ_LOG_FILEPATH_SIZE];
    static bool s_taken;
    QQuickWindow *m_window = nullptr;
    QtMessageHandler m_old = nullptr;
};

QTemporaryDir *ViewsConfig::s_dir = nullptr;
CApp *ViewsConfig::s_app = nullptr;
QQmlApplicationEngine *ViewsConfig::s_engine = nullptr;
QStringList ViewsConfig::s_loadMessages;
QString ViewsConfig::s_savedExe, ViewsConfig::s_savedConfig;
char ViewsConfig::s_savedLog[ZQ_LOG_FILEPATH_SIZE];
bool ViewsConfig::s_taken = false;

const char *const kPages[] = {"CameraBasicInfo", "FixInfo",     "CameraNetworkInfo", "CameraTimeInfo",
                              "TvoutInfo",       "SerialPortInfo", "GpioInfo",       "CameraOSDInfo",
                              "FFCInfo",         "DestripInfo", "DenoiseInfo",       "CameraPluginInfo",
                              "GB28181Info"};

bool sameValue(const QVariant &a, const QVariant &b) {
    if (a.type() == QVariant::Double || b.type() == QVariant::Double || a.userType() == QMetaType::Float ||
        b.userType() == QMetaType::Float)
        return std::fabs(a.toDouble() - b.toDouble()) < 1e-4;
    return a == b || a.toString() == b.toString();
}

}  // namespace

TEST_F(ViewsConfig, EveryViewLoadsWithoutWarnings) {
    EXPECT_TRUE(s_loadMessages.isEmpty()) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
    QStringList views = {QStringLiteral("DeviceConfig"), QStringLiteral("Basic/TestInfo")};
    for (const char *p : kPages) views << QStringLiteral("Config/Page") + QLatin1String(p);
    for (const QString &name : views) {
        SCOPED_TRACE(name.toStdString());
        g_messages.clear();
        const QVariant made = eval(QStringLiteral("(function () {"
                                                  "  var c = Qt.createComponent(App.viewUrl(\"%1\"));"
                                                  "  var o = c.createObject(App.main.contentItem);"
                                                  "  if (o === null) return c.errorString();"
                                                  "  o.destroy();"
                                                  "  return \"\";"
                                                  "})()")
                                       .arg(name));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(made.toString(), QString());
        EXPECT_TRUE(g_messages.isEmpty()) << messages();
    }
}

TEST_F(ViewsConfig, DialogOpensOnlyOnACameraItCouldLogInTo) {
    auto cam = std::make_unique<testsupport::VcamProcess>(configIp(1).toStdString(),
                                                          std::vector<std::string>{"--size", "160x120"});
    ASSERT_TRUE(cam->ready());
    const struct {
        const char *name;
        int tab;
        int host;  // 0: nothing highlighted
        bool opens;
        int notice;  // notification type after the press, -1 none
    } cases[] = {
        {"nothing highlighted on the batch page", 1, 0, false, 1},
        {"a camera that answers, on the preview", 0, 1, true, -1},
        {"the batch page's highlighted camera", 1, 1, true, -1},
        {"an address without a camera", 0, 2, false, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QMetaObject::invokeMethod(notify(), "close");
        selectCamera(c.host ? configIp(c.host) : QString(), c.tab);
        const int code = eval(QStringLiteral("main.openDeviceConfig()")).toInt();
        QCoreApplication::processEvents();
        QObject *dialog = eval(QStringLiteral("App.getView(\"DeviceConfig\")")).value<QObject *>();
        const bool open = dialog && dialog->property("visible").toBool();
        EXPECT_EQ(open, c.opens);
        EXPECT_EQ(code >= 0, c.opens);
        EXPECT_EQ(configer()->isOpen(), c.opens);
        EXPECT_EQ(notify()->property("visible").toBool(), c.notice >= 0);
        if (c.notice >= 0) {
            EXPECT_EQ(notify()->property("xnofityType").toInt(), c.notice);
        }
        if (open) {
            // The first page shows what the login read.
            EXPECT_EQ(dialog->property("currentPage").toInt(), 0);
            QObject *basic = page(QStringLiteral("CameraBasicInfo"));
            ASSERT_NE(basic, nullptr);
            QObject *id = basic->findChild<QObject *>(QStringLiteral("cameraId"));
            ASSERT_NE(id, nullptr);
            EXPECT_EQ(id->property("xvalue").toString(), configer()->basicInfo()->property("cameraId").toString());
            EXPECT_EQ(basic->findChild<QObject *>(QStringLiteral("dataWHF"))->property("xvalue").toString(),
                      QStringLiteral("160x120@25Hz"));
            // Closing ends the configurator's session.
            QMetaObject::invokeMethod(dialog, "close");
            QCoreApplication::processEvents();
            EXPECT_FALSE(configer()->isOpen());
        }
    }
    selectCamera(QString(), 0);
    EXPECT_TRUE(g_messages.isEmpty()) << messages();
}

TEST_F(ViewsConfig, CameraToolButtonsOpenTheirEditorsOnTheHighlightedCamera) {
    auto cam = std::make_unique<testsupport::VcamProcess>(configIp(6).toStdString(),
                                                          std::vector<std::string>{"--size", "160x120"});
    ASSERT_TRUE(cam->ready());
    const struct {
        const char *editor;
        const char *view;
        int host;  // 0: nothing highlighted
        bool opens;
    } cases[] = {
        {"custEditor", "DeviceCust", 0, false},     {"custEditor", "DeviceCust", 6, true},
        {"weijuEditor", "DeviceWeiJu", 7, false},   {"weijuEditor", "DeviceWeiJu", 6, true},
        {"fixdistEditor", "DeviceFixDist", 0, false}, {"fixdistEditor", "DeviceFixDist", 6, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.view) + " on host " + std::to_string(c.host));
        QMetaObject::invokeMethod(notify(), "close");
        selectCamera(c.host ? configIp(c.host) : QString());
        const int code =
            eval(QStringLiteral("main.openEditor(\"%1\", \"%2\")").arg(QLatin1String(c.editor), QLatin1String(c.view)))
                .toInt();
        QCoreApplication::processEvents();
        QObject *view = eval(QStringLiteral("App.getView(\"%1\")").arg(QLatin1String(c.view))).value<QObject *>();
        EXPECT_EQ(code >= 0, c.opens);
        EXPECT_EQ(view != nullptr && view->property("visible").toBool(), c.opens);
        // Refusals say why: no camera (information) or the editor's failure (danger).
        EXPECT_EQ(notify()->property("visible").toBool(), !c.opens);
        if (!c.opens) {
            EXPECT_EQ(notify()->property("xnofityType").toInt(), c.host ? 3 : 1);
        }
        if (view) QMetaObject::invokeMethod(view, "close");
        QCoreApplication::processEvents();
    }
    selectCamera(QString(), 0);
}

TEST_F(ViewsConfig, EveryPageWritesItsRecordAndReadsItBackNextSession) {
    auto cam = std::make_unique<testsupport::VcamProcess>(configIp(3).toStdString(),
                                                          std::vector<std::string>{"--size", "160x120"});
    ASSERT_TRUE(cam->ready());
    selectCamera(configIp(3));

    const struct {
        const char *page;
        const char *field;
        QVariant value;
    } cases[] = {
        {"CameraBasicInfo", "cameraName", QStringLiteral("Hall 7")},
        {"FixInfo", "globalEmissivity", 0.85},
        {"CameraNetworkInfo", "gateway", QStringLiteral("10.1.2.254")},
        {"CameraTimeInfo", "timeZone", QStringLiteral("Europe/Berlin")},
        {"TvoutInfo", "man_temp0", -12.3},
        {"SerialPortInfo", "portAddr", 17},
        {"GpioInfo", "input1", 2},
        {"CameraOSDInfo", "loc_name", QStringLiteral("Gate B")},
        {"FFCInfo", "time_interval", 300},
        {"DestripInfo", "s1_radius", 5},
        {"DenoiseInfo", "gf_regular", 40},
        {"CameraPluginInfo", "password", QStringLiteral("s3cret")},
        {"GB28181Info", "serverPort", 15061},
    };

    // First session: each page shows its record, takes the new value and writes it.
    ASSERT_GE(eval(QStringLiteral("main.openDeviceConfig()")).toInt(), 0) << messages();
    QObject *dialog = eval(QStringLiteral("App.getView(\"DeviceConfig\")")).value<QObject *>();
    ASSERT_NE(dialog, nullptr);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        const QString name = QLatin1String(c.page);
        EXPECT_EQ(selectPage(name), 0);
        QObject *p = page(name);
        ASSERT_NE(p, nullptr);
        QObject *info = p->property("info").value<QObject *>();
        QObject *field = p->findChild<QObject *>(QLatin1String(c.field));
        ASSERT_TRUE(info && field);
        EXPECT_TRUE(sameValue(field->property("xvalue"), info->property(c.field)))
            << field->property("xvalue").toString().toStdString();
        EXPECT_FALSE(sameValue(info->property(c.field), c.value)) << "the camera holds the new value already";
        ASSERT_TRUE(QMetaObject::invokeMethod(field, "init", Q_ARG(QVariant, c.value)));
        EXPECT_EQ(eval(QStringLiteral("App.getView(\"DeviceConfig\").apply()")).toInt(), 0);
    }
    QMetaObject::invokeMethod(dialog, "close");
    QCoreApplication::processEvents();
    ASSERT_FALSE(configer()->isOpen());

    // Second session: every page reads the camera again and shows the written value.
    ASSERT_GE(eval(QStringLiteral("main.openDeviceConfig()")).toInt(), 0) << messages();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        const QString name = QLatin1String(c.page);
        EXPECT_EQ(selectPage(name), 0);
        QObject *field = page(name)->findChild<QObject *>(QLatin1String(c.field));
        EXPECT_TRUE(sameValue(field->property("xvalue"), c.value)) << field->property("xvalue").toString().toStdString();
    }
    EXPECT_TRUE(g_messages.isEmpty()) << messages();
}

TEST_F(ViewsConfig, RefusedEntriesAreNotWritten) {
    const QString events = s_dir->filePath(QStringLiteral("refused-events.log"));
    auto cam = std::make_unique<testsupport::VcamProcess>(
        configIp(4).toStdString(), std::vector<std::string>{"--size", "160x120", "--event-log", events.toStdString()});
    ASSERT_TRUE(cam->ready());
    selectCamera(configIp(4));
    ASSERT_GE(eval(QStringLiteral("main.openDeviceConfig()")).toInt(), 0) << messages();
    QObject *dialog = eval(QStringLiteral("App.getView(\"DeviceConfig\")")).value<QObject *>();

    // Typed and confirmed with Enter; "Apply" takes the focus away, which puts a refused entry back.
    const struct {
        const char *page;
        const char *field;
        const char *typed;
        QVariant stored;  // invalid: the value before
    } cases[] = {
        {"CameraNetworkInfo", "staticIp", "300.1.2.3", QVariant()},
        {"CameraNetworkInfo", "macAddr", "00:11:22", QVariant()},
        {"CameraNetworkInfo", "staticIp", "10.0.0.9", QStringLiteral("10.0.0.9")},
        {"FixInfo", "relativeHumidity", "140", QVariant()},
        {"FixInfo", "relativeHumidity", "40", 40.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        ASSERT_EQ(selectPage(QLatin1String(c.page)), 0);
        QObject *p = page(QLatin1String(c.page));
        ASSERT_NE(p, nullptr);
        QObject *info = p->property("info").value<QObject *>();
        const QVariant before = info->property(c.field);
        QObject *field = p->findChild<QObject *>(QLatin1String(c.field));
        QObject *editor = field->property("xeditor").value<QObject *>();
        QMetaObject::invokeMethod(editor, "forceActiveFocus");
        editor->setProperty("text", QLatin1String(c.typed));
        QMetaObject::invokeMethod(editor, "editingFinished");
        EXPECT_EQ(field->property("xrule_isInputValid").toBool(), c.stored.isValid());
        const QByteArray logBefore = readFile(events);
        EXPECT_EQ(eval(QStringLiteral("App.getView(\"DeviceConfig\").apply()")).toInt(), 0);
        EXPECT_TRUE(sameValue(info->property(c.field), c.stored.isValid() ? c.stored : before))
            << info->property(c.field).toString().toStdString();
        EXPECT_TRUE(sameValue(field->property("xvalue"), info->property(c.field)));
        EXPECT_NE(readFile(events), logBefore);
    }
    // A failed write keeps "ApplyAndClose" from closing; a good one closes and logs out.
    EXPECT_EQ(eval(QStringLiteral("App.getView(\"DeviceConfig\").applyAndClose()")).toInt(), 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog->property("visible").toBool());
    EXPECT_FALSE(configer()->isOpen());
}

TEST_F(ViewsConfig, TestPageDrivesTheCamerasOutputsAndShutter) {
    const QString events = s_dir->filePath(QStringLiteral("test-events.log"));
    auto cam = std::make_unique<testsupport::VcamProcess>(
        configIp(5).toStdString(), std::vector<std::string>{"--size", "160x120", "--event-log", events.toStdString()});
    ASSERT_TRUE(cam->ready());
    selectCamera(configIp(5));
    ASSERT_GE(eval(QStringLiteral("main.openDeviceConfig()")).toInt(), 0) << messages();
    ASSERT_EQ(selectPage(QStringLiteral("TestInfo")), 0);
    QObject *test = page(QStringLiteral("TestInfo"));
    ASSERT_NE(test, nullptr);

    const struct Output {
        const char *name;
        int flag;
    } outputs[] = {{"gpioLight", CDeviceConfiger::DeviceGpioOutputFlag_light},
                   {"gpioLedYellow", CDeviceConfiger::DeviceGpioOutputFlag_ledy},
                   {"gpioLedBlue", CDeviceConfiger::DeviceGpioOutputFlag_ledb},
                   {"gpioAlarm", CDeviceConfiger::DeviceGpioOutputFlag_alarm},
                   {"gpioBuzz", CDeviceConfiger::DeviceGpioOutputFlag_buzz}};
    // Switched-off outputs go off too: every output is in the mask.
    const struct {
        const char *name;
        int on;  // outputs switched on, as flags
    } cases[] = {
        {"all on", 31},
        {"only the blue LED", CDeviceConfiger::DeviceGpioOutputFlag_ledb},
        {"light and buzzer", CDeviceConfiger::DeviceGpioOutputFlag_light | CDeviceConfiger::DeviceGpioOutputFlag_buzz},
        {"all off", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (const Output &o : outputs) {
            QObject *sw = test->findChild<QObject *>(QLatin1String(o.name));
            ASSERT_NE(sw, nullptr) << o.name;
            sw->setProperty("checked", (c.on & o.flag) != 0);
        }
        const int code = eval(QStringLiteral("App.getView(\"DeviceConfig\").currentItem.setGpio()")).toInt();
        EXPECT_EQ(code, 0);
        const QList<QByteArray> lines = readFile(events).trimmed().split('\n');
        EXPECT_EQ(lines.last(), QByteArray("ctlx gpio 0x") + QByteArray::number(c.on, 16).rightJustified(2, '0'));
    }

    const struct {
        const char *button;
        const char *event;
    } shutter[] = {{"shutterCloseButton", "control shutter close"}, {"shutterOpenButton", "control shutter open"}};
    for (const auto &s : shutter) {
        SCOPED_TRACE(s.button);
        QObject *button = test->findChild<QObject *>(QLatin1String(s.button));
        ASSERT_NE(button, nullptr);
        QMetaObject::invokeMethod(button, "clicked");
        // The control is one-way: the camera logs it once it has read it.
        EXPECT_TRUE(waitUntil([&] { return readFile(events).trimmed().split('\n').last() == s.event; }, 5000));
    }
    EXPECT_TRUE(g_messages.isEmpty()) << messages();
}

TEST_F(ViewsConfig, CalculatorComputesOnlyWhenTheDirectReadingIsNotBelow) {
    QObject *p = eval(QStringLiteral("(function () {"
                                     "  var c = Qt.createComponent(App.viewUrl(\"Config/PageFixInfo\"));"
                                     "  return c.createObject(App.main.contentItem);"
                                     "})()"))
                     .value<QObject *>();
    ASSERT_NE(p, nullptr) << messages();
    const struct {
        double t1, t2, env;
        bool computed;
    } cases[] = {
        {200, 184, 25, true},
        {200, 200, 25, true},
        {80.5, 40, -10, true},
        {184, 200, 25, false},
        // Direct reading at the ambient: no finite quotient, nothing shown.
        {25, 20, 25, false},
    };
    // The defaults the page starts with.
    for (const auto &d : {std::make_pair("calcT1", 200.0), std::make_pair("calcT2", 184.0),
                          std::make_pair("calcEnv", 25.0)})
        EXPECT_EQ(p->findChild<QObject *>(QLatin1String(d.first))->property("xvalue").toDouble(), d.second);
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.t1).arg(c.t2).arg(c.env).toStdString());
        QMetaObject::invokeMethod(notify(), "close");
        for (const auto &f : {std::make_pair("calcT1", c.t1), std::make_pair("calcT2", c.t2),
                              std::make_pair("calcEnv", c.env)})
            QMetaObject::invokeMethod(p->findChild<QObject *>(QLatin1String(f.first)), "init",
                                      Q_ARG(QVariant, f.second));
        QVariant ok;
        ASSERT_TRUE(QMetaObject::invokeMethod(p, "calcTrans", Q_RETURN_ARG(QVariant, ok)));
        EXPECT_EQ(ok.toBool(), c.computed);
        const QString shown = p->findChild<QObject *>(QStringLiteral("calcResult"))->property("xvalue").toString();
        if (c.computed) {
            EXPECT_EQ(shown, QString::number(FixTrans_CalcTrans(c.t1, c.t2, c.env), 'f', 3));
        } else {
            EXPECT_EQ(shown, QString());
            EXPECT_EQ(notify()->property("xnofityType").toInt(), 2);
        }
    }
    p->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(g_messages.isEmpty()) << messages();
}
