// The main window and the views it opens, loaded from the source folder against a real application
// singleton: every view loads cleanly, views are made once, assistive technology finds every control by its
// words and can press it, and the settings dialog saves what is valid.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CCommonManager.h"
#include "CConfigManager.h"
#include "CDevice.h"
#include "CDeviceManager.h"
#include "CDeviceNode.h"
#include "TempDataState.h"
#include "zq_logger.h"

namespace {

const QString kViews = QStringLiteral(PELVAN_DOCS_DIR "/../tools/pelvan/Views/");

QStringList g_viewMessages;

void collectViewMessages(QtMsgType, const QMessageLogContext &, const QString &msg) {
    // Icons come from the program's resources, which this test does not carry.
    if (!msg.contains(QLatin1String("qrc:/Icons/"))) g_viewMessages << msg;
}

struct Accessible {
    QQuickItem *item;
    QAccessibleInterface *iface;
    QAccessible::Role role;
    QString name;
};

// The tree as assistive technology sees it: from the window down through accessible children only.
void collectAccessibles(QAccessibleInterface *iface, std::vector<Accessible> &out, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 64) return;
    if (auto *item = qobject_cast<QQuickItem *>(iface->object()))
        out.push_back({item, iface, iface->role(), iface->text(QAccessible::Name)});
    for (int i = 0; i < iface->childCount(); ++i) collectAccessibles(iface->child(i), out, depth + 1);
}

// Settings of the application under test live in a temporary folder; the window never searches this
// machine's network.
class AppViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_savedExe = AppStatic::path_exe_qs;
        s_savedConfig = AppStatic::path_config_qs;
        std::memcpy(s_savedExeLocal, AppStatic::path_exe_local, sizeof(s_savedExeLocal));
        AppStatic::app_name = QStringLiteral("Pelvan");
        AppStatic::path_exe_qs = s_dir->path();
        AppStatic::path_config_qs = s_dir->path();
        std::snprintf(AppStatic::path_exe_local, sizeof(AppStatic::path_exe_local), "%s",
                      s_dir->path().toUtf8().constData());
        logger_t *log = logger_create_default();
        std::memcpy(s_savedLog, log->filepath, sizeof(s_savedLog));
        logger_set_file(log, s_dir->filePath(QStringLiteral("test")).toUtf8().constData());

        s_app = new CApp;
        s_app->init();
        s_app->deviceManager()->setStartupOptions({}, false);
        qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", s_app);
    }

    static void TearDownTestSuite() {
        delete s_engine;
        s_engine = nullptr;
        logger_set_file(logger_create_default(), s_savedLog);
        AppStatic::path_exe_qs = s_savedExe;
        AppStatic::path_config_qs = s_savedConfig;
        std::memcpy(AppStatic::path_exe_local, s_savedExeLocal, sizeof(s_savedExeLocal));
        // The singleton instance stays registered with the type system: keep it alive for the process.
        delete s_dir;
    }

    // One engine for the whole suite: the singleton instance may only be reached from one engine.
    void SetUp() override {
        if (!s_engine) {
            m_oldHandler = qInstallMessageHandler(collectViewMessages);
            s_engine = new QQmlApplicationEngine;
            s_engine->addImportPath(QStringLiteral(PELVAN_BUILD_DIR "/qml"));
            s_engine->load(QUrl::fromLocalFile(kViews + QStringLiteral("Main.qml")));
            QCoreApplication::processEvents();
            qInstallMessageHandler(m_oldHandler);
            s_loadMessages = g_viewMessages;
        }
        ASSERT_EQ(s_engine->rootObjects().size(), 1) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
        m_window = qobject_cast<QQuickWindow *>(s_engine->rootObjects().first());
        ASSERT_NE(m_window, nullptr);
        g_viewMessages.clear();
        m_oldHandler = qInstallMessageHandler(collectViewMessages);
    }

    void TearDown() override { qInstallMessageHandler(m_oldHandler); }

    static std::string messages() { return g_viewMessages.join(QLatin1Char('\n')).toStdString(); }

    // Runs JavaScript where Main.qml runs (App and CApp in scope).
    QVariant eval(const QString &js) {
        QQmlExpression expr(qmlContext(m_window), m_window, js);
        const QVariant v = expr.evaluate();
        if (expr.hasError()) ADD_FAILURE() << js.toStdString() << ": " << expr.error().toString().toStdString();
        return v;
    }

    QObject *openView(const QString &name) {
        return eval(QStringLiteral("App.openView(\"%1\")").arg(name)).value<QObject *>();
    }

    QObject *child(const char *name) { return m_window->findChild<QObject *>(QLatin1String(name)); }

    std::vector<Accessible> accessibles() {
        std::vector<Accessible> all;
        collectAccessibles(QAccessible::queryAccessibleInterface(m_window), all);
        return all;
    }

    const Accessible *find(const std::vector<Accessible> &all, QAccessible::Role role, const QString &name,
                           bool visibleOnly = false) {
        for (const Accessible &a : all)
            if (a.role == role && a.name == name && (!visibleOnly || a.item->isVisible())) return &a;
        return nullptr;
    }

    void press(const Accessible *a) {
        ASSERT_NE(a, nullptr);
        ASSERT_NE(a->iface->actionInterface(), nullptr) << a->name.toStdString();
        a->iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
    }

    CDeviceManager *manager() const { return s_app->deviceManager(); }

    static QTemporaryDir *s_dir;
    static CApp *s_app;
    static QString s_savedExe, s_savedConfig;
    static char s_savedExeLocal[AppStatic::PATH_SIZE];
    static char s_savedLog[ZQ_LOG_FILEPATH_SIZE];

    static QQmlApplicationEngine *s_engine;
    static QStringList s_loadMessages;
    QQuickWindow *m_window = nullptr;
    QtMessageHandler m_oldHandler = nullptr;
};

QTemporaryDir *AppViews::s_dir = nullptr;
QQmlApplicationEngine *AppViews::s_engine = nullptr;
QStringList AppViews::s_loadMessages;
CApp *AppViews::s_app = nullptr;
QString AppViews::s_savedExe, AppViews::s_savedConfig;
char AppViews::s_savedExeLocal[AppStatic::PATH_SIZE];
char AppViews::s_savedLog[ZQ_LOG_FILEPATH_SIZE];

}  // namespace

TEST_F(AppViews, EveryViewLoadsWithoutWarnings) {
    EXPECT_TRUE(s_loadMessages.isEmpty()) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(m_window->title(), QStringLiteral("Pelvan v1.5.0.0627"));
    EXPECT_EQ(m_window->width(), 1200);
    EXPECT_EQ(m_window->height(), 800);
    for (const char *name : {"MainPreview", "MeaToolList", "DeviceChart", "Basic/AppConfig", "Basic/ImageConfig",
                             "Basic/MeaConfig", "Basic/DataState"}) {
        SCOPED_TRACE(name);
        g_viewMessages.clear();
        const QVariant made = eval(QStringLiteral("(function () {"
                                                  "  var c = Qt.createComponent(App.viewUrl(\"%1\"));"
                                                  "  var o = c.createObject(App.main.contentItem);"
                                                  "  if (o === null) return c.errorString();"
                                                  "  o.destroy();"
                                                  "  return \"\";"
                                                  "})()")
                                       .arg(QLatin1String(name)));
        // Gone before the next test looks for controls.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(made.toString(), QString());
        EXPECT_TRUE(g_viewMessages.isEmpty()) << messages();
    }
}

TEST_F(AppViews, OpenViewMakesEachViewOnce) {
    for (const char *name : {"DeviceChart", "Basic/AppConfig"}) {
        SCOPED_TRACE(name);
        const QString n = QLatin1String(name);
        EXPECT_EQ(eval(QStringLiteral("App.getView(\"%1\")").arg(n)).value<QObject *>(), nullptr);
        QObject *first = openView(n);
        ASSERT_NE(first, nullptr) << messages();
        QCoreApplication::processEvents();
        EXPECT_TRUE(first->property("visible").toBool());
        EXPECT_EQ(openView(n), first);
        EXPECT_EQ(eval(QStringLiteral("App.getView(\"%1\")").arg(n)).value<QObject *>(), first);
        eval(QStringLiteral("App.closeView(\"%1\")").arg(n));
        QCoreApplication::processEvents();
        EXPECT_FALSE(first->property("visible").toBool());
    }
    EXPECT_TRUE(g_viewMessages.isEmpty()) << messages();
    // A view that does not exist is not made, and says why.
    EXPECT_EQ(openView(QStringLiteral("NoSuchView")), nullptr);
    EXPECT_FALSE(g_viewMessages.isEmpty());
}

TEST_F(AppViews, ControlsAreNamedAndPressable) {
    const std::vector<Accessible> all = accessibles();
    const QSet<QAccessible::Role> interactive = {QAccessible::Button,   QAccessible::CheckBox,
                                                 QAccessible::ComboBox, QAccessible::ListItem,
                                                 QAccessible::PageTab,  QAccessible::Slider,
                                                 QAccessible::ColorChooser};
    int checked = 0;
    for (const Accessible &a : all) {
        if (!a.item->isVisible()) continue;
        if (!interactive.contains(a.role) && a.role != QAccessible::EditableText) continue;
        ++checked;
        EXPECT_FALSE(a.name.isEmpty()) << a.item->metaObject()->className() << " role " << a.role;
        if (a.role != QAccessible::EditableText) {
            EXPECT_FALSE(a.iface->actionInterface()->actionNames().isEmpty()) << a.name.toStdString();
        }
    }
    EXPECT_GT(checked, 40);

    struct Expected {
        QAccessible::Role role;
        QString name;
    };
    std::vector<Expected> expected = {{QAccessible::PageTab, qtTrId("Preview")},
                                      {QAccessible::EditableText, qtTrId("DeviceIp")},
                                      {QAccessible::Graphic, qtTrId("LiveImage")},
                                      {QAccessible::ComboBox, qtTrId("GearLevel")}};
    for (const char *id : {"Search", "Add", "Play", "Stop", "Snap", "RecordBegin", "FFC", "Chart", "More",
                           "Manual", "AppConfig"})
        expected.push_back({QAccessible::Button, qtTrId(id)});
    // The toolbar's buttons carry the tools' own names.
    for (CTypeNameDescIcon *tool : s_app->commonManager()->meaTools())
        if (QList<int>{0, 1, 5, 6, 9, 13}.contains(tool->type()))
            expected.push_back({QAccessible::Button, tool->name()});
    for (const Expected &e : expected)
        EXPECT_NE(find(all, e.role, e.name), nullptr) << e.name.toStdString() << " role " << e.role;
}

TEST_F(AppViews, StatusLineValuesAreReadAsTheyChange) {
    TempDataState *state = manager()->device()->dataState();
    const struct {
        const char *label;
        std::function<void(float)> set;
        float value;
        const char *shown;
    } cases[] = {
        {"FPS", [&](float v) { state->set_fps(v); }, 24.96f, "25.0"},
        {"Shell", [&](float v) { state->set_shellTemp(v); }, 31.24f, "31.2"},
        {"GPI", [&](float v) { state->set_gpioInput(int(v)); }, 5, "5"},
        {"Max", [&](float v) { state->set_maxTemp(v); }, 36.44f, "36.4"},
        {"Avg", [&](float v) { state->set_avgTemp(v); }, -2.06f, "-2.1"},
        {"Min", [&](float v) { state->set_minTemp(v); }, 0, "0.0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        c.set(c.value);
        const QString name = qtTrId(c.label) + QStringLiteral(": ") + QLatin1String(c.shown);
        EXPECT_NE(find(accessibles(), QAccessible::StaticText, name), nullptr) << name.toStdString();
    }
    state->reset();
}

TEST_F(AppViews, PressingDoesWhatAClickDoes) {
    QObject *ipInput = child("ipInput");
    ASSERT_NE(ipInput, nullptr);
    QObject *editor = ipInput->property("xeditor").value<QObject *>();
    QObject *notify = child("notify");
    QObject *deviceList = child("deviceList");
    ASSERT_TRUE(editor && notify && deviceList);
    const int before = manager()->nodes().size();

    const struct {
        const char *name;
        const char *typed;
        int added;
        int notice;  // notification type, -1 none
    } cases[] = {
        {"an empty address is refused", "", 0, 2},
        {"an address is listed", "127.0.32.7", 1, -1},
        {"a listed address is not listed twice", "127.0.32.7", 0, -1},
        {"a second one is", "127.0.32.8", 1, -1},
    };
    int expectedCount = before;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QMetaObject::invokeMethod(notify, "close");
        QCoreApplication::processEvents();
        editor->setProperty("text", QLatin1String(c.typed));
        press(find(accessibles(), QAccessible::Button, qtTrId("Add")));
        expectedCount += c.added;
        EXPECT_EQ(manager()->nodes().size(), expectedCount);
        EXPECT_EQ(notify->property("visible").toBool(), c.notice >= 0);
        if (c.notice >= 0) {
            EXPECT_EQ(notify->property("xnofityType").toInt(), c.notice);
            EXPECT_EQ(notify->property("xnotifyInfo").toString(), qtTrId("InvalidIp"));
        }
    }

    // Rows are named by identifier and address; pressing one highlights it.
    for (int row : {1, 0}) {
        SCOPED_TRACE(row);
        const CDeviceNode *node = manager()->nodes().at(row);
        const QString name = node->deviceId() + QLatin1Char(' ') + node->deviceIp();
        press(find(accessibles(), QAccessible::ListItem, name));
        EXPECT_EQ(deviceList->property("xcurrentRow").toInt(), row);
    }

    // Buttons that open views open them.
    for (const char *id : {"Chart", "AppConfig"}) {
        SCOPED_TRACE(id);
        press(find(accessibles(), QAccessible::Button, qtTrId(id)));
        const QString view = QLatin1String(std::strcmp(id, "Chart") ? "Basic/AppConfig" : "DeviceChart");
        QObject *opened = eval(QStringLiteral("App.getView(\"%1\")").arg(view)).value<QObject *>();
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->property("visible").toBool());
        QMetaObject::invokeMethod(opened, "close");
    }
    EXPECT_TRUE(g_viewMessages.isEmpty()) << messages();
}

TEST_F(AppViews, ConfirmationRunsTheOperationOnlyOnOk) {
    const struct {
        const char *button;
        bool ran;
    } cases[] = {{"OK", true}, {"Cancel", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        QObject probe;
        QQmlContext context(qmlContext(m_window));
        context.setContextProperty(QStringLiteral("probe"), &probe);
        QQmlExpression open(&context, m_window,
                            QStringLiteral("main.confirmOp(\"RestartDevice --- A1\", \"?\", "
                                           "function () { probe.objectName = \"ran\" })"));
        open.evaluate();
        ASSERT_FALSE(open.hasError()) << open.error().toString().toStdString();
        QCoreApplication::processEvents();
        QObject *confirm = child("confirm");
        ASSERT_NE(confirm, nullptr);
        EXPECT_TRUE(confirm->property("visible").toBool());
        press(find(accessibles(), QAccessible::Button, qtTrId(c.button), true));
        EXPECT_FALSE(confirm->property("visible").toBool());
        EXPECT_EQ(probe.objectName() == QLatin1String("ran"), c.ran);
    }
}

TEST_F(AppViews, FileDialogHandsTheChosenPathToTheTargetsFunction) {
    const struct {
        int func;
        const char *filters;
        const char *title;
        bool save;
        const char *fn;
    } cases[] = {
        {0, "bin (*.bin),cust (*.cust),cust2 (*.cust2),bad (*.bad),gaowen (*.gaowen)", "OpenFile", false,
         "fn_openAll"},
        {1, "cust (*.cust),cust2 (*.cust2)", "OpenFile", false, "fn_openCust"},
        {2, "cust (*.cust),cust2 (*.cust2)", "SaveFile", true, "fn_saveCust"},
        {3, "bad (*.bad),bad2 (*.bad2)", "OpenFile", false, "fn_openBad"},
        {4, "bad (*.bad),bad2 (*.bad2)", "SaveFile", true, "fn_saveBad"},
    };
    const QString path = s_dir->filePath(QStringLiteral("table.bin"));
    QObject *app = eval(QStringLiteral("App")).value<QObject *>();
    ASSERT_NE(app, nullptr);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.func);
        QObject probe;
        QQmlContext context(qmlContext(m_window));
        context.setContextProperty(QStringLiteral("probe"), &probe);
        context.setContextProperty(QStringLiteral("App"), app);
        // A target with every handler; each writes which one ran and with what.
        QQmlExpression open(&context, m_window,
                            QStringLiteral("(function () { var t = {}; "
                                           "['fn_openAll', 'fn_openCust', 'fn_saveCust', 'fn_openBad', 'fn_saveBad']"
                                           ".forEach(function (n) { t[n] = function (p) { probe.objectName = n + ' ' + p } });"
                                           "App.openFileDialog(%1, t); return App.fileDialog })()")
                                .arg(c.func));
        QObject *dialog = open.evaluate().value<QObject *>();
        ASSERT_FALSE(open.hasError()) << open.error().toString().toStdString();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->property("nameFilters").toStringList().join(QLatin1Char(',')), QLatin1String(c.filters));
        EXPECT_EQ(dialog->property("title").toString(), qtTrId(c.title));
        EXPECT_EQ(dialog->property("fileMode").toInt() == 2, c.save);
        // As the user's choice arrives: the file, then the acceptance.
        dialog->setProperty("file", QUrl::fromLocalFile(path));
        QMetaObject::invokeMethod(dialog, "accepted");
        QMetaObject::invokeMethod(dialog, "close");
        QCoreApplication::processEvents();
        EXPECT_EQ(probe.objectName(), QLatin1String(c.fn) + QLatin1Char(' ') + path);
    }
    // An unknown number opens nothing and says so.
    eval(QStringLiteral("App.openFileDialog(5, null)"));
    EXPECT_TRUE(g_viewMessages.join(QLatin1Char('\n')).contains(QLatin1String("invalid xfunc 5"))) << messages();
}

TEST_F(AppViews, SettingsDialogSavesWhatIsValid) {
    CConfigManager *cm = s_app->configManager();
    const QString file = s_dir->filePath(QStringLiteral("AppConfig.bin"));
    ASSERT_EQ(cm->filePath(), file);
    QObject *dialog = openView(QStringLiteral("Basic/AppConfig"));
    ASSERT_NE(dialog, nullptr) << messages();
    ASSERT_GE(dialog->metaObject()->indexOfSignal("saved(int,bool)"), 0);

    const auto field = [&](const char *name) -> QObject * {
        auto *loader = dialog->property("xcontentLoader").value<QObject *>();
        auto *page = loader ? loader->property("item").value<QObject *>() : nullptr;
        return page ? page->findChild<QObject *>(QLatin1String(name)) : nullptr;
    };
    const auto initField = [&](const char *name, const QVariant &value) {
        QObject *f = field(name);
        ASSERT_NE(f, nullptr) << name;
        ASSERT_TRUE(QMetaObject::invokeMethod(f, "init", Q_ARG(QVariant, value))) << name;
    };
    const auto fileBytes = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    const QString newDir = s_dir->filePath(QStringLiteral("pictures"));
    const struct {
        const char *name;
        int fifo;
        bool saved;
    } cases[] = {
        {"valid values are saved", 2000, true},
        {"a length out of range is refused", 5, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = fileBytes();
        ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xopen", Q_ARG(QVariant, QVariant()),
                                              Q_ARG(QVariant, QVariant())));
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog->property("visible").toBool());
        // The dialog starts from the configuration in force.
        EXPECT_EQ(field("chartFifoSize")->property("xvalue").toInt(), cm->config()->chartFifoSize());
        EXPECT_EQ(field("saveDir")->property("xvalue").toString(), cm->config()->saveDir());

        initField("language", 1);
        initField("saveDir", newDir);
        initField("transType", 1);
        initField("chartUpdateInterval", 7);
        initField("chartFifoSize", c.fifo);
        ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xok"));
        QCoreApplication::processEvents();

        if (c.saved) {
            EXPECT_FALSE(dialog->property("visible").toBool());
            EXPECT_EQ(cm->config()->language(), 1);
            EXPECT_EQ(cm->config()->saveDir(), newDir);
            EXPECT_EQ(cm->config()->transType(), 1);
            EXPECT_EQ(cm->config()->chartUpdateInterval(), 7);
            EXPECT_EQ(cm->config()->chartFifoSize(), c.fifo);
            EXPECT_EQ(fileBytes(), QByteArray(reinterpret_cast<const char *>(&cm->config()->bin()), 1044));
        } else {
            // Stays open for correction; nothing changes.
            EXPECT_TRUE(dialog->property("visible").toBool());
            EXPECT_EQ(cm->config()->chartFifoSize(), 2000);
            EXPECT_EQ(fileBytes(), before);
            ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xcancel"));
            QCoreApplication::processEvents();
            EXPECT_FALSE(dialog->property("visible").toBool());
        }
    }
    EXPECT_TRUE(g_viewMessages.isEmpty()) << messages();
}
