// Batch runs over several virtual cameras: each camera's outcome lands in its node, a camera that cannot
// be opened does not stop the others, a cancel stops before the next camera, downloads are named per
// camera, and the batch page refuses a wrong upload file before anything is sent.
#include <gtest/gtest.h>

#include <map>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

#include "CApp.h"
#include "CBatchRunner.h"
#include "CDeviceConfiger.h"
#include "CDeviceManager.h"
#include "CDeviceNode.h"
#include "device_support.h"

namespace {

// The addresses these tests own: each test case its own ten (ctest runs them side by side), and nothing
// ever listens on the ninth.
int g_batchBase = 0;
QString batchIp(int host) {
    return QStringLiteral("127.0.38.%1").arg(g_batchBase + host);
}
// A file name with "@N" standing for the address of host N.
QString withIp(const char *name) {
    QString out = QLatin1String(name);
    for (int host = 1; host <= 9; ++host)
        out.replace(QStringLiteral("@%1").arg(host), batchIp(host));
    return out;
}
constexpr int kDeadHost = 9;

QString batchId(int host) {
    return QStringLiteral("BATCH%1").arg(host, 2, 10, QLatin1Char('0'));
}

// The clock settings a camera logged, as UTC times.
std::vector<QDateTime> clockSets(const QString &eventLog) {
    std::vector<QDateTime> out;
    const QString prefix = QStringLiteral("ctlx clock-set ");
    for (const QString &line : QString::fromUtf8(readFile(eventLog)).split(QLatin1Char('\n'))) {
        if (!line.startsWith(prefix)) continue;
        QDateTime t = QDateTime::fromString(line.mid(prefix.size()), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        t.setTimeSpec(Qt::UTC);
        out.push_back(t);
    }
    return out;
}

// Items by object name along the visual tree (list delegates have no QObject parent).
void findItems(QQuickItem *item, const QString &name, QList<QQuickItem *> &out) {
    if (!item) return;
    if (item->objectName() == name) out << item;
    for (QQuickItem *child : item->childItems()) findItems(child, name, out);
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        static const std::map<std::string, int> bases = {
            {"SetTimeMultiReportsEveryCameraAndGoesOnAfterAFailure", 10},
            {"CancelStopsBeforeTheNextCamera", 20},
            {"DownloadsAreNamedPerCamera", 30},
            {"RefusesRunsThatCannotBeRight", 40}};
        const auto it = bases.find(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_NE(it, bases.end()) << "every test case needs addresses of its own";
        g_batchBase = it->second;
        for (int host = 1; host <= 3; ++host) {
            const QString events = m_dir.filePath(QStringLiteral("events%1").arg(host));
            const QString transfers = m_dir.filePath(QStringLiteral("transfers%1").arg(host));
            m_cams.push_back(std::make_unique<testsupport::VcamProcess>(
                batchIp(host).toStdString(),
                std::vector<std::string>{"--camera-id", batchId(host).toStdString(), "--size", "160x120",
                                         "--fps", "1", "--event-log", events.toStdString(), "--transfer-log",
                                         transfers.toStdString()}));
            ASSERT_TRUE(m_cams.back()->ready()) << batchIp(host).toStdString();
        }
        m_runner = std::make_unique<CBatchRunner>(&m_configer);

        // The SDK may set the clock at every login too: what one login leaves in the log.
        CDeviceNode probe;
        probe.set_deviceIp(batchIp(3));
        const size_t before = clockSets(eventLog(3)).size();
        ASSERT_GE(m_configer.startWork(&probe), 0);
        m_configer.stopWork();
        // That setting goes one way, without an answer: give the camera a moment to log it.
        waitUntil([&] { return clockSets(eventLog(3)).size() > before; }, 3000);
        m_loginSets = clockSets(eventLog(3)).size() - before;
    }

    // The clock settings of a camera once the expected number arrived (or a bounded wait passed).
    size_t settledSets(int host, size_t expected) {
        waitUntil([&] { return clockSets(eventLog(host)).size() >= expected; }, 5000);
        return clockSets(eventLog(host)).size();
    }

    void TearDown() override { EXPECT_FALSE(m_configer.isOpen()) << "a camera was left open"; }

    CDeviceNode *node(int host, bool selected) {
        m_nodes.push_back(std::make_unique<CDeviceNode>());
        CDeviceNode *n = m_nodes.back().get();
        n->set_deviceIp(batchIp(host));
        n->set_deviceId(batchId(host));
        n->set_edit_select(selected);
        return n;
    }

    QList<CDeviceNode *> nodes() const {
        QList<CDeviceNode *> out;
        for (const auto &n : m_nodes) out.append(n.get());
        return out;
    }

    bool waitIdle() {
        return waitUntil([&] { return !m_runner->running(); }, 60000);
    }

    QString eventLog(int host) const { return m_dir.filePath(QStringLiteral("events%1").arg(host)); }
    QString transferLog(int host) const { return m_dir.filePath(QStringLiteral("transfers%1").arg(host)); }

    DeviceWorld m_world;
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<testsupport::VcamProcess>> m_cams;
    CDeviceConfiger m_configer;
    std::unique_ptr<CBatchRunner> m_runner;
    std::vector<std::unique_ptr<CDeviceNode>> m_nodes;
    size_t m_loginSets = 0;
};

// The selected cameras are set one after another with the event loop turning between them; the camera
// that cannot be opened gets "Fail <code>" and the next one is still set; an unselected one is left alone.
TEST_F(BatchRun, SetTimeMultiReportsEveryCameraAndGoesOnAfterAFailure) {
    enum Outcome { Succeeds, Fails, Untouched };
    const struct {
        int host;
        bool selected;
        Outcome outcome;
    } rows[] = {{1, true, Succeeds}, {kDeadHost, true, Fails}, {2, true, Succeeds}, {3, false, Untouched}};
    std::vector<size_t> setsBefore;
    for (const auto &r : rows) {
        node(r.host, r.selected);
        setsBefore.push_back(clockSets(eventLog(r.host)).size());
    }

    SignalLog finished(m_runner.get(), &CBatchRunner::finished);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_EQ(m_runner->runMulti(QStringLiteral("setTime"), nodes()), CBatchRunner::RunStarted);
    EXPECT_TRUE(m_runner->running());
    EXPECT_EQ(m_runner->total(), 3);
    int doneWhenLoopTurned = -1;
    QTimer::singleShot(0, [&] { doneWhenLoopTurned = m_runner->done(); });
    ASSERT_TRUE(waitIdle());
    const QDateTime after = QDateTime::currentDateTimeUtc().addSecs(1);

    EXPECT_GE(doneWhenLoopTurned, 0);
    EXPECT_LT(doneWhenLoopTurned, 3) << "the event loop did not run between cameras";
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
    EXPECT_EQ(m_runner->done(), 3);
    EXPECT_EQ(m_runner->currentDeviceId(), QString());

    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(batchIp(rows[i].host).toStdString());
        const QString info = m_nodes[i]->edit_info();
        switch (rows[i].outcome) {
            case Succeeds: {
                EXPECT_EQ(info, qtTrId("Success"));
                ASSERT_EQ(settledSets(rows[i].host, setsBefore[i] + m_loginSets + 1),
                          setsBefore[i] + m_loginSets + 1)
                    << readFile(eventLog(rows[i].host)).toStdString();
                const auto sets = clockSets(eventLog(rows[i].host));
                // The PC's UTC time at the moment of the run.
                EXPECT_GE(sets.back(), before);
                EXPECT_LE(sets.back(), after);
                break;
            }
            case Fails: {
                ASSERT_TRUE(info.startsWith(qtTrId("Fail") + QLatin1Char(' '))) << info.toStdString();
                bool number = false;
                const int code = info.mid(qtTrId("Fail").size() + 1).toInt(&number);
                EXPECT_TRUE(number && code < 0) << info.toStdString();
                break;
            }
            case Untouched:
                EXPECT_EQ(info, QString());
                EXPECT_EQ(clockSets(eventLog(rows[i].host)).size(), setsBefore[i]);
                break;
        }
    }
}

// A cancel lets the camera in hand finish and stops before the next one.
TEST_F(BatchRun, CancelStopsBeforeTheNextCamera) {
    for (int host = 1; host <= 3; ++host) node(host, true);
    for (int cancelAt : {0, 1, 2}) {
        SCOPED_TRACE(cancelAt);
        for (const auto &n : m_nodes) n->set_edit_info(QString());
        std::vector<size_t> setsBefore;
        for (int host = 1; host <= 3; ++host) setsBefore.push_back(clockSets(eventLog(host)).size());

        SignalLog finished(m_runner.get(), &CBatchRunner::finished);
        QObject context;
        QObject::connect(m_runner.get(), &CBatchRunner::progressChanged, &context, [&] {
            if (m_runner->running() && m_runner->done() == cancelAt) m_runner->cancel();
        });
        ASSERT_EQ(m_runner->runMulti(QStringLiteral("setTime"), nodes()), CBatchRunner::RunStarted);
        if (cancelAt == 0) m_runner->cancel();
        ASSERT_TRUE(waitIdle());

        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
        EXPECT_EQ(m_runner->done(), cancelAt);
        for (int host = 1; host <= 3; ++host) {
            SCOPED_TRACE(host);
            const bool reached = host <= cancelAt;
            EXPECT_EQ(m_nodes[host - 1]->edit_info(), reached ? qtTrId("Success") : QString());
            const size_t expected = setsBefore[host - 1] + (reached ? m_loginSets + 1 : 0);
            EXPECT_EQ(settledSets(host, expected), expected);
        }
    }
}

// One camera's log is named <id>-<address>.log, each of many <id>.log; two cameras of one identifier do not
// overwrite each other's file; a camera known only by address is named by its login; the folder is made
// when missing.
TEST_F(BatchRun, DownloadsAreNamedPerCamera) {
    const struct {
        const char *name;
        bool multi;
        std::vector<std::pair<int, const char *>> cams;  // host, deviceId
        std::vector<const char *> files;                 // in the order of cams
    } rows[] = {
        {"current", false, {{1, "BATCH01"}}, {"BATCH01-@1.log"}},
        {"multi", true, {{1, "BATCH01"}, {2, "BATCH02"}}, {"BATCH01.log", "BATCH02.log"}},
        {"same id", true, {{1, "DUP"}, {2, "DUP"}}, {"DUP.log", "DUP-@2.log"}},
        {"id from the login", false, {{3, ""}}, {"BATCH03-@3.log"}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        m_nodes.clear();
        const QString dir = m_dir.filePath(QStringLiteral("logs-%1").arg(QLatin1String(r.name)));
        m_runner->setSaveDir(dir);
        for (const auto &c : r.cams) node(c.first, true)->set_deviceId(QLatin1String(c.second));

        const int ret = r.multi ? m_runner->runMulti(QStringLiteral("download"), nodes(),
                                                     CDeviceConfiger::DeviceFileType_log)
                                : m_runner->runCurrent(QStringLiteral("download"), m_nodes[0].get(),
                                                       CDeviceConfiger::DeviceFileType_log);
        ASSERT_EQ(ret, CBatchRunner::RunStarted);
        ASSERT_TRUE(waitIdle());

        EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), static_cast<int>(r.files.size()));
        for (size_t i = 0; i < r.cams.size(); ++i) {
            SCOPED_TRACE(r.files[i]);
            EXPECT_EQ(m_nodes[i]->edit_info(), qtTrId("Success"));
            if (!*r.cams[i].second) {
                EXPECT_EQ(m_nodes[i]->deviceId(), batchId(r.cams[i].first));
            }
            // The camera's own log names it.
            const QByteArray log = readFile(dir + QLatin1Char('/') + withIp(r.files[i]));
            EXPECT_TRUE(log.contains("camera " + batchId(r.cams[i].first).toUtf8())) << log.toStdString();
        }
    }
}

// Runs that cannot be right are refused before any camera is touched.
TEST_F(BatchRun, RefusesRunsThatCannotBeRight) {
    const QString bin = m_dir.filePath(QStringLiteral("IRAPP_v2.bin"));
    const struct {
        const char *name;
        const char *op;
        bool selected;
        int fileType;
        QString file;
        int expected;
    } rows[] = {
        {"nothing selected", "setTime", false, -1, {}, CBatchRunner::RunNoDevice},
        {"unknown operation", "format", true, -1, {}, CBatchRunner::RunInvalid},
        {"type without a suffix",
         "download",
         true,
         CDeviceConfiger::DeviceFileType_cust,
         {},
         CBatchRunner::RunInvalid},
        {"no file", "upload", true, CDeviceConfiger::DeviceFileType_bin, {}, CBatchRunner::RunInvalid},
        {"wrong suffix", "upload", true, CDeviceConfiger::DeviceFileType_bin, m_dir.filePath("firmware.img"),
         CBatchRunner::RunInvalid},
        {"firmware as a bad list", "upload", true, CDeviceConfiger::DeviceFileType_bad, bin,
         CBatchRunner::RunInvalid},
    };
    CDeviceNode *n = node(1, false);
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        n->set_edit_select(r.selected);
        EXPECT_EQ(m_runner->runMulti(QLatin1String(r.op), nodes(), r.fileType, r.file), r.expected);
        EXPECT_FALSE(m_runner->running());
    }
    EXPECT_EQ(m_runner->runCurrent(QStringLiteral("setTime"), nullptr), CBatchRunner::RunNoDevice);

    // One run at a time.
    const size_t setsBefore = clockSets(eventLog(1)).size();
    ASSERT_EQ(m_runner->runCurrent(QStringLiteral("setTime"), n), CBatchRunner::RunStarted);
    EXPECT_EQ(m_runner->runCurrent(QStringLiteral("setTime"), n), CBatchRunner::RunBusy);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(settledSets(1, setsBefore + m_loginSets + 1), setsBefore + m_loginSets + 1);
    EXPECT_TRUE(readFile(transferLog(1)).isEmpty());

    const struct {
        int fileType;
        QString file;
        QString problem;
    } files[] = {
        {CDeviceConfiger::DeviceFileType_bin, QString(), QStringLiteral("NoFile")},
        {CDeviceConfiger::DeviceFileType_bin, QStringLiteral("/fw/firmware.img"),
         QStringLiteral("InvalidFile")},
        {CDeviceConfiger::DeviceFileType_bin, QStringLiteral("/fw/IRAPP.bin.old"),
         QStringLiteral("InvalidFile")},
        {CDeviceConfiger::DeviceFileType_bin, QStringLiteral("/fw/IRAPP_v2.bin"), QString()},
        {CDeviceConfiger::DeviceFileType_bad, QStringLiteral("/c/cam.gaowen"), QStringLiteral("InvalidFile")},
        {CDeviceConfiger::DeviceFileType_bad, QStringLiteral("/c/cam.bad"), QString()},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.file.toStdString());
        EXPECT_EQ(m_runner->fileProblem(f.fileType, f.file), f.problem);
    }
}

// The batch page in an engine of its own, with a stand-in main window that records the notices: it
// loads cleanly, refuses wrong upload files and missing selections with the right notice and sends
// nothing, and its Message cells follow each camera's outcome.
TEST(BatchView, PageChecksBeforeSendingAndShowsOutcomes) {
    g_batchBase = 0;
    DeviceWorld world;
    QTemporaryDir dir;
    const QString transfers = dir.filePath(QStringLiteral("transfers"));
    testsupport::VcamProcess cam(batchIp(4).toStdString(),
                                 {"--camera-id", batchId(4).toStdString(), "--size", "160x120", "--fps", "1",
                                  "--transfer-log", transfers.toStdString()});
    ASSERT_TRUE(cam.ready());
    CBatchRunner::registerType();

    CDeviceManager *manager = world.app()->deviceManager();
    manager->node_create(batchIp(4));
    CDeviceNode *camNode = nullptr;
    for (CDeviceNode *n : manager->nodes())
        if (n->deviceIp() == batchIp(4)) camNode = n;
    ASSERT_NE(camNode, nullptr);
    const int row = manager->nodes().indexOf(camNode);

    const QString views = QStringLiteral(PELVAN_DOCS_DIR "/../tools/pelvan/Views/");
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(PELVAN_BUILD_DIR "/qml"));
    QQmlComponent component(&engine);
    component.setData(
        "import QtQuick 2.15\n"
        "import \".\"\n"
        "Item {\n"
        "  id: fakeMain\n"
        "  width: 1200; height: 750\n"
        "  property var manager: null\n"
        "  property var notices: []\n"
        "  function notifyError(type, msg) { notices.push(type + \":\" + msg) }\n"
        "  function notifyErrorCode(code, act) { notices.push(\"code:\" + code) }\n"
        "  function confirmOp(title, msg, callback) { notices.push(\"confirm:\" + msg) }\n"
        "  MainConfig { objectName: \"page\"; anchors.fill: parent; deviceManager: fakeMain.manager }\n"
        "  Component.onCompleted: App.main = fakeMain\n"
        "}\n",
        QUrl::fromLocalFile(views + QStringLiteral("BatchViewHost.qml")));
    std::unique_ptr<QObject> host;
    {
        MessageLog log;
        host.reset(
            component.createWithInitialProperties({{"manager", QVariant::fromValue<QObject *>(manager)}}));
        QCoreApplication::processEvents();
        ASSERT_NE(host, nullptr) << component.errorString().toStdString();
        QStringList warnings;
        for (const QString &l : log.lines())
            if (!l.contains(QLatin1String("qrc:/Icons/"))) warnings << l;
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    }
    QObject *page = host->findChild<QObject *>(QStringLiteral("page"));
    ASSERT_NE(page, nullptr);
    QObject *table = host->findChild<QObject *>(QStringLiteral("batchTable"));
    ASSERT_NE(table, nullptr);

    auto press = [&](const char *button) {
        QObject *b = host->findChild<QObject *>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        QMetaObject::invokeMethod(b, "clicked");
    };
    auto notices = [&] { return host->property("notices").toStringList(); };

    QFile img(dir.filePath(QStringLiteral("firmware.img")));
    ASSERT_TRUE(img.open(QIODevice::WriteOnly));
    img.write("not a firmware");
    img.close();
    const QString info = QStringLiteral("1:");
    const struct {
        const char *button;
        QString file;
        int currentRow;
        bool selected;
        QString notice;
    } rows[] = {
        {"uploadBinButton", QString(), row, false, info + qtTrId("NoFile")},
        {"uploadBinButton", img.fileName(), row, false, info + qtTrId("InvalidFile")},
        {"uploadMultiBinButton", img.fileName(), row, true, info + qtTrId("InvalidFile")},
        {"uploadBinButton", dir.filePath(QStringLiteral("IRAPP_v2.bin")), -1, false,
         info + qtTrId("NoDevice")},
        {"uploadMultiBinButton", dir.filePath(QStringLiteral("IRAPP_v2.bin")), row, false,
         info + qtTrId("NoDevice")},
        {"setTimeMultiButton", QString(), row, false, info + qtTrId("NoDevice")},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(std::string(r.button) + " " + r.file.toStdString());
        host->setProperty("notices", QVariantList());
        page->setProperty("fileName", r.file);
        table->setProperty("xcurrentRow", r.currentRow);
        for (CDeviceNode *n : manager->nodes()) n->set_edit_select(false);
        camNode->set_edit_select(r.selected);
        press(r.button);
        QCoreApplication::processEvents();
        EXPECT_EQ(notices(), QStringList{r.notice});
        EXPECT_FALSE(page->property("busy").toBool());
    }
    EXPECT_EQ(camNode->edit_info(), QString());
    EXPECT_TRUE(readFile(transfers).isEmpty()) << readFile(transfers).toStdString();

    // A run through the page: the camera's Message cell shows its outcome.
    table->setProperty("xcurrentRow", row);
    host->setProperty("notices", QVariantList());
    press("setTimeButton");
    EXPECT_TRUE(page->property("busy").toBool());
    ASSERT_TRUE(waitUntil([&] { return !page->property("busy").toBool(); }, 30000));
    EXPECT_EQ(notices(), QStringList{QStringLiteral("0:") + qtTrId("Success")});
    EXPECT_EQ(camNode->edit_info(), qtTrId("Success"));
    QStringList cells;
    QList<QQuickItem *> items;
    findItems(qobject_cast<QQuickItem *>(host.get()), QStringLiteral("messageCell"), items);
    for (QQuickItem *cell : items) cells << cell->property("text").toString();
    EXPECT_TRUE(cells.contains(qtTrId("Success"))) << cells.join(QLatin1Char('|')).toStdString();

    host.reset();
    camNode->set_edit_info(QString());
}

}  // namespace
