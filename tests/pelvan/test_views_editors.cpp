// The four correction-file editor views in the real main window against virtual cameras on
// 127.0.39.1 to 127.0.39.20: "Get" shows the camera's block, an edit and "Set" reach the camera, rows beyond
// the count cannot be edited, the validity line names the broken row, and the bad-pixel view adds, refuses
// and deletes points.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlExpression>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CApp.h"
#include "CComEditor.h"
#include "CDeviceManager.h"
#include "SarvikSDK.h"
#include "device_support.h"

namespace {

const QString kViews = QStringLiteral(PELVAN_DOCS_DIR "/../tools/pelvan/Views/");

QStringList g_messages;

void collectMessages(QtMsgType, const QMessageLogContext &, const QString &msg) {
    // Icons come from the program's resources, which this test does not carry.
    if (!msg.contains(QLatin1String("qrc:/Icons/"))) g_messages << msg;
}

QString editorIp(int host) {
    return QStringLiteral("127.0.39.%1").arg(host);
}

std::unique_ptr<testsupport::VcamProcess> startCamera(int host, std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--size", "384x288", "--fps", "1", "--lifetime", "120"});
    return std::make_unique<testsupport::VcamProcess>(editorIp(host).toStdString(), args);
}

// The block as the camera holds it, fetched over a session of the test's own.
template <class Block>
bool readBlock(int host, int memType, Block *out) {
    _LoginInfo login{};
    std::snprintf(login.ip, sizeof login.ip, "%s", editorIp(host).toUtf8().constData());
    _CameraBasicInfo info{};
    const int user = Sarvik_Login(&login, &info);
    if (user < 0) return false;
    int size = int(sizeof(Block));
    const int status = Sarvik_DownloadMem(user, memType, out, &size);
    Sarvik_Logout(user);
    return status == 0 && size == int(sizeof(Block));
}

// The main window with its views in one engine over the shared application, which searches no network.
class EditorViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The application singleton can serve one engine per process; another suite's engine owns it when
        // the whole program runs in one process (ctest runs each test on its own).
        if (qmlTypeId("Sarvik", 1, 0, "CApp") >= 0) {
            s_skip = true;
            return;
        }
        s_world = new DeviceWorld;
        s_world->app()->deviceManager()->setStartupOptions({}, false);
        qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", s_world->app());
        QtMessageHandler old = qInstallMessageHandler(collectMessages);
        s_engine = new QQmlApplicationEngine;
        s_engine->addImportPath(QStringLiteral(PELVAN_BUILD_DIR "/qml"));
        s_engine->load(QUrl::fromLocalFile(kViews + QStringLiteral("Main.qml")));
        QCoreApplication::processEvents();
        qInstallMessageHandler(old);
        s_loadMessages = g_messages;
    }

    static void TearDownTestSuite() {
        delete s_engine;
        s_engine = nullptr;
        // The singleton stays registered: the world's application lives on with the process.
        delete s_world;
        s_world = nullptr;
    }

    void SetUp() override {
        if (s_skip) GTEST_SKIP() << "the QML application singleton belongs to another engine in this process";
        ASSERT_EQ(s_engine->rootObjects().size(), 1) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
        m_window = qobject_cast<QQuickWindow *>(s_engine->rootObjects().first());
        ASSERT_NE(m_window, nullptr);
        g_messages.clear();
        m_old = qInstallMessageHandler(collectMessages);
    }

    void TearDown() override {
        if (m_old) qInstallMessageHandler(m_old);
    }

    static std::string messages() { return g_messages.join(QLatin1Char('\n')).toStdString(); }

    // Runs JavaScript where Main.qml runs (App and CApp in scope); with a view, `v` is that view.
    QVariant eval(const QString &js) {
        QQmlExpression expr(qmlContext(m_window), m_window,
                            QStringLiteral("(function () { var v = App.getView(\"%1\"); return (%2) })()")
                                .arg(m_view, js));
        const QVariant v = expr.evaluate();
        if (expr.hasError()) ADD_FAILURE() << js.toStdString() << ": " << expr.error().toString().toStdString();
        QCoreApplication::processEvents();
        return v.canConvert<QJSValue>() ? v.value<QJSValue>().toVariant() : v;
    }

    QObject *open(const QString &name) {
        m_view = name;
        return eval(QStringLiteral("App.openView(\"%1\")").arg(name)).value<QObject *>();
    }

    // A control of the open view by its object name.
    QObject *control(const char *name) {
        QObject *view = eval(QStringLiteral("v")).value<QObject *>();
        QObject *c = view ? view->findChild<QObject *>(QLatin1String(name)) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    // Presses a button of the open view the way assistive technology does.
    void press(const char *button) {
        if (QObject *b = control(button)) QMetaObject::invokeMethod(b, "_xclick");
        QCoreApplication::processEvents();
    }

    // The main window's notice, emptied before an action so that the action's own notice is seen.
    void clearNotice() {
        QObject *n = m_window->findChild<QObject *>(QStringLiteral("notify"));
        ASSERT_NE(n, nullptr);
        n->setProperty("xnotifyInfo", QString());
        n->setProperty("xnofityType", -1);
    }
    QString noticeText() {
        return m_window->findChild<QObject *>(QStringLiteral("notify"))->property("xnotifyInfo").toString();
    }
    int noticeType() {
        return m_window->findChild<QObject *>(QStringLiteral("notify"))->property("xnofityType").toInt();
    }
    QString tr(const char *id) { return eval(QStringLiteral("qsTrId(\"%1\")").arg(QLatin1String(id))).toString(); }

    static DeviceWorld *s_world;
    static QQmlApplicationEngine *s_engine;
    static QStringList s_loadMessages;
    static bool s_skip;
    QQuickWindow *m_window = nullptr;
    QtMessageHandler m_old = nullptr;
    QString m_view;
};

DeviceWorld *EditorViews::s_world = nullptr;
QQmlApplicationEngine *EditorViews::s_engine = nullptr;
QStringList EditorViews::s_loadMessages;
bool EditorViews::s_skip = false;

}  // namespace

TEST_F(EditorViews, EachViewLoadsWithoutWarnings) {
    EXPECT_TRUE(s_loadMessages.isEmpty()) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
    for (const char *name : {"DeviceCust", "DeviceWeiJu", "DeviceFixDist", "DeviceCom"}) {
        SCOPED_TRACE(name);
        g_messages.clear();
        const QVariant made = eval(QStringLiteral("(function () {"
                                                  "  var c = Qt.createComponent(App.viewUrl(\"%1\"));"
                                                  "  var o = c.createObject(App.main.contentItem);"
                                                  "  if (o === null) return c.errorString();"
                                                  "  o.destroy();"
                                                  "  return \"\";"
                                                  "})()")
                                       .arg(QLatin1String(name)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(made.toString(), QString());
        EXPECT_TRUE(g_messages.isEmpty()) << messages();
    }
}

namespace {

// One table of one view: the camera's factory block shown, one field edited and sent.
struct TableCase {
    const char *view;
    const char *editor;
    int host;
    std::vector<std::string> cameraArgs;
    int mode;              // the lens view's mode input for this table, else 0
    bool switchRange;      // the custom view shows range 2
    const char *table;     // the view's property holding the table
    const char *countSlider;
    int memType;
    int rowCount;  // rows in use in the factory block
    int row;
    const char *key;
    double factory;
    double edit;
    // The edited value as the camera holds it after "Set" (NaN when the block is not as expected).
    std::function<double(int host)> readBack;
};

double custMea(int host, int type, int row, bool blackbody) {
    CustPointBlock b{};
    if (!readBlock(host, type, &b)) return NAN;
    return blackbody ? b.items[row].bb : b.items[row].mea;
}

const std::vector<TableCase> &tableCases() {
    static const std::vector<TableCase> cases = {
        {"DeviceCust", "custEditor", 1, {}, 0, false, "table", "itemCount", 3, 4, 1, "temp", 49.6, 55.5,
         [](int host) { return custMea(host, 3, 1, false); }},
        // A camera with two ranges shows "Switch"; range 2 is its own block.
        {"DeviceCust", "custEditor", 2, {"--software-id", "WJ-2.1"}, 0, true, "table", "itemCount", 4, 3, 1,
         "blackbody", 400.0, 410.5, [](int host) { return custMea(host, 4, 1, true); }},
        {"DeviceFixDist", "fixdistEditor", 3, {}, 0, false, "table", "bbCount", 7, 3, 1, "temp1", 97.1, 96.5,
         [](int host) -> double {
             FixDistBlock b{};
             return readBlock(host, 7, &b) ? double(b.pairs[1][1].mea) : NAN;
         }},
        // The factory block has no lens correction in force: the mode input shows a table set.
        {"DeviceWeiJu", "weijuEditor", 4, {}, 2, false, "table1", "len1BbCount", 5, 3, 2, "temp1",
         89.9, 88.8,
         [](int host) -> double {
             CloseRangeLensBlock b{};
             if (!readBlock(host, 5, &b) || b.cali_mode != 2 || b.stamp != SARVIK_CLOSE_LENS_STAMP) return NAN;
             return double(b.len1_bb_array[1][2].mea);
         }},
        {"DeviceWeiJu", "weijuEditor", 5, {}, 3, false, "table2", "len2BbCount", 5, 3, 0, "blackbody", 30.0, 25.0,
         [](int host) -> double {
             CloseRangeLensBlock b{};
             if (!readBlock(host, 5, &b) || b.cali_mode != 3) return NAN;
             return double(b.len2_bb_array[0].bb);
         }},
    };
    return cases;
}

}  // namespace

TEST_F(EditorViews, GetShowsTheCameraAndSetWritesTheEditBack) {
    for (const TableCase &c : tableCases()) {
        SCOPED_TRACE(std::string(c.view) + " " + c.table + " " + c.key);
        auto camera = startCamera(c.host, c.cameraArgs);
        ASSERT_TRUE(camera->ready());
        const QString editor = QStringLiteral("CApp.deviceManager.") + QLatin1String(c.editor);
        ASSERT_GE(eval(editor + QStringLiteral(".init(\"%1\")").arg(editorIp(c.host))).toInt(), 0);
        ASSERT_NE(open(QLatin1String(c.view)), nullptr);

        // The lens view shows a table set for its mode only; the custom view offers range 2 when there is one.
        const QString table = QStringLiteral("v.") + QLatin1String(c.table);
        if (c.mode) {
            EXPECT_FALSE(eval(table + QStringLiteral(".visible")).toBool());
        }
        if (QLatin1String(c.view) == QLatin1String("DeviceCust")) {
            QObject *switchButton = control("switchButton");
            ASSERT_NE(switchButton, nullptr);
            EXPECT_EQ(switchButton->property("visible").toBool(), c.switchRange);
            if (c.switchRange) press("switchButton");
            EXPECT_EQ(eval(QStringLiteral("v.memType")).toInt(), c.memType);
        }
        const QString field = table + QStringLiteral(".field(%1, \"%2\")").arg(c.row).arg(QLatin1String(c.key));
        EXPECT_NEAR(eval(field + QStringLiteral(".xvalue")).toDouble(), c.factory, 1e-4);
        EXPECT_EQ(eval(field + QStringLiteral(".xeditor.text")).toString(), QString::number(c.factory, 'f', 1));

        // "Get" replaces what the view holds by the camera's block.
        eval(field + QStringLiteral(".xvalue = 999"));
        clearNotice();
        press("getButton");
        EXPECT_EQ(noticeType(), 0) << noticeText().toStdString();
        EXPECT_NEAR(eval(field + QStringLiteral(".xvalue")).toDouble(), c.factory, 1e-4);

        // A table set is chosen after "Get", which shows the camera's mode too.
        if (c.mode)
            if (QObject *mode = control("caliMode")) mode->setProperty("xvalue", c.mode);
        EXPECT_TRUE(eval(table + QStringLiteral(".visible")).toBool());

        // Rows beyond the count are not in use; moving the count slider frees the next one.
        const QString rowItem = table + QStringLiteral(".xlistView.itemAtIndex(%1).enabled");
        EXPECT_TRUE(eval(rowItem.arg(c.rowCount - 1)).toBool());
        EXPECT_FALSE(eval(rowItem.arg(c.rowCount)).toBool());
        if (QObject *count = control(c.countSlider)) count->setProperty("xvalue", c.rowCount + 1);
        EXPECT_TRUE(eval(rowItem.arg(c.rowCount)).toBool());
        EXPECT_FALSE(eval(rowItem.arg(c.rowCount + 1)).toBool());

        eval(field + QStringLiteral(".xvalue = %1").arg(c.edit));
        clearNotice();
        press("setButton");
        EXPECT_EQ(noticeType(), 0) << noticeText().toStdString();
        EXPECT_NEAR(c.readBack(c.host), float(c.edit), 1e-4);

        // Closing the view ends the editor's session.
        eval(QStringLiteral("v.close()"));
        EXPECT_EQ(eval(editor + QStringLiteral(".downloadMem(%1)").arg(c.memType)).toInt(), -7);
        EXPECT_TRUE(g_messages.isEmpty()) << messages();
    }
}

TEST_F(EditorViews, ValidityLineNamesTheRowThatBreaksTheRules) {
    struct CheckCase {
        const char *view;
        const char *editor;
        int host;
        int mode;
        const char *table;
        int row;
        const char *key;
        double value;
        const char *problem;  // what the line must name
    };
    const CheckCase cases[] = {
        {"DeviceFixDist", "fixdistEditor", 6, 0, "table", 2, "blackbody", 10.0, "row 3"},
        {"DeviceFixDist", "fixdistEditor", 7, 0, "table", 1, "temp0", 20.0, "row 2"},
        {"DeviceWeiJu", "weijuEditor", 8, 2, "table1", 1, "temp1", 0.0, "row 2"},
        {"DeviceWeiJu", "weijuEditor", 9, 3, "table2", 2, "blackbody", 1.0, "row 3"},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(std::string(c.view) + " " + c.table + " " + std::to_string(c.row) + " " + c.key);
        auto camera = startCamera(c.host);
        ASSERT_TRUE(camera->ready());
        const QString editor = QStringLiteral("CApp.deviceManager.") + QLatin1String(c.editor);
        ASSERT_GE(eval(editor + QStringLiteral(".init(\"%1\")").arg(editorIp(c.host))).toInt(), 0);
        ASSERT_NE(open(QLatin1String(c.view)), nullptr);
        if (c.mode)
            if (QObject *mode = control("caliMode")) mode->setProperty("xvalue", c.mode);
        QObject *line = control("tableCheck");
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->property("text").toString(), tr("TableValid"));

        eval(QStringLiteral("v.%1.field(%2, \"%3\").xvalue = %4")
                 .arg(QLatin1String(c.table))
                 .arg(c.row)
                 .arg(QLatin1String(c.key))
                 .arg(c.value));
        const QString text = line->property("text").toString();
        EXPECT_TRUE(text.startsWith(tr("TableInvalid"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(c.problem))) << text.toStdString();

        // Only a warning: the camera still takes the table.
        clearNotice();
        press("setButton");
        EXPECT_EQ(noticeType(), 0) << noticeText().toStdString();
        eval(QStringLiteral("v.close()"));
    }
}

TEST_F(EditorViews, BadPixelViewAddsRefusesAndDeletesPoints) {
    CComEditor *com = s_world->app()->deviceManager()->comEditor();
    // Left from an earlier list: the view starts a new one.
    CComPoint stale(7, 7);
    com->point_create(&stale);
    ASSERT_NE(open(QStringLiteral("DeviceCom")), nullptr);
    EXPECT_EQ(com->pointList().size(), 0);
    com->setDeviceWidth(384);
    com->setDeviceHeight(288);
    EXPECT_EQ(control("comDeviceWidth")->property("xvalue").toInt(), 384);

    struct Step {
        int x, y;  // x < 0: delete row y (-1: none highlighted)
        int code;
        int count;
        const char *notice;  // id of the notice shown, or nullptr for none
    };
    const Step steps[] = {
        {1, 2, 0, 1, nullptr},
        {1, 2, -8, 1, "PointDuplicate"},
        {383, 287, 0, 2, nullptr},
        {384, 0, 1, 2, "PointOutside"},
        {0, 288, 1, 2, "PointOutside"},
        {-1, 0, 0, 1, nullptr},
        {-1, -1, 1, 1, "NoSelection"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(std::to_string(s.x) + "," + std::to_string(s.y));
        clearNotice();
        int code;
        if (s.x >= 0) {
            control("pointX")->setProperty("xvalue", s.x);
            control("pointY")->setProperty("xvalue", s.y);
            code = eval(QStringLiteral("v.addPoint()")).toInt();
        } else {
            control("pointTable")->setProperty("xcurrentRow", s.y);
            code = eval(QStringLiteral("v.deleteSelected()")).toInt();
        }
        EXPECT_EQ(code, s.code);
        EXPECT_EQ(com->pointList().size(), s.count);
        EXPECT_EQ(noticeText(), s.notice ? tr(s.notice) : QString());
        EXPECT_EQ(control("pointCount")->property("text").toString(),
                  tr("PointCount") + QStringLiteral(": ") + QString::number(s.count));
    }
    // The one left is the second point added.
    ASSERT_EQ(com->pointList().size(), 1);
    EXPECT_EQ(com->pointList().first()->x(), 383);
    EXPECT_EQ(com->pointList().first()->y(), 287);

    // A full list loaded through the open dialog's callback refuses one more point and saves as it came.
    QTemporaryDir dir;
    QByteArray full(44 + 4 * CComEditor::POINT_MAX, '\0');
    std::snprintf(full.data(), 32, "%s", "VCAM0001");
    const int32_t header[3] = {384, 288, CComEditor::POINT_MAX};
    std::memcpy(full.data() + 32, header, sizeof header);
    for (int i = 0; i < CComEditor::POINT_MAX; ++i) {
        const uint16_t xy[2] = {uint16_t(i % 384), uint16_t(i / 384)};
        std::memcpy(full.data() + 44 + 4 * i, xy, sizeof xy);
    }
    const QString fullPath = dir.filePath(QStringLiteral("full.bad"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.bad"));
    const QString brokenPath = dir.filePath(QStringLiteral("broken.bad"));
    for (const auto &file : {std::make_pair(fullPath, full), std::make_pair(brokenPath, full.left(47))}) {
        QFile f(file.first);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.second);
    }
    clearNotice();
    EXPECT_EQ(eval(QStringLiteral("v.fn_openBad(\"%1\")").arg(fullPath)).toInt(), 0);
    EXPECT_EQ(noticeType(), 0);
    EXPECT_EQ(com->pointList().size(), CComEditor::POINT_MAX);
    EXPECT_EQ(control("comDeviceId")->property("xvalue").toString(), QStringLiteral("VCAM0001"));
    clearNotice();
    control("pointX")->setProperty("xvalue", 100);
    control("pointY")->setProperty("xvalue", 200);
    EXPECT_EQ(eval(QStringLiteral("v.addPoint()")).toInt(), -7);
    EXPECT_EQ(noticeText(), tr("PointListFull"));
    EXPECT_EQ(eval(QStringLiteral("v.fn_saveBad(\"%1\")").arg(savedPath)).toInt(), 0);
    EXPECT_EQ(readFile(savedPath), full);

    // A file of the wrong length is refused and leaves the list as it was.
    clearNotice();
    EXPECT_EQ(eval(QStringLiteral("v.fn_openBad(\"%1\")").arg(brokenPath)).toInt(), -194);
    EXPECT_EQ(noticeType(), 3);
    EXPECT_EQ(com->pointList().size(), CComEditor::POINT_MAX);
    press("clearButton");
    EXPECT_EQ(com->pointList().size(), 0);
    eval(QStringLiteral("v.close()"));
    EXPECT_TRUE(g_messages.isEmpty()) << messages();
}
