// The dual-light tool's window loaded from the source folder against its real application object: every
// text is translated in both languages, every control is named and pressable for assistive technology,
// and the pages follow the devices and players.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QQmlApplicationEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtQml>

#include <cstring>
#include <vector>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "CDeviceManager.h"
#include "IRDevice.h"
#include "IRFrameState.h"
#include "IRStream.h"
#include "SarvikSDK.h"
#include "VISStream.h"
#include "qelm_support.h"
#include "translation_scan.h"
#include "vcam_process.h"

namespace {

const QString kSource = QStringLiteral(QELM_SOURCE_DIR);
const QString kConfigDir = QStringLiteral(QELM_BUILD_DIR "/bin/Qelm-Config");

QStringList g_messages;

void collect(QtMsgType, const QMessageLogContext &, const QString &msg) {
    // Icons come from the program's resources, which this test does not carry.
    if (msg.contains(QLatin1String("qrc:/Icons/"))) return;
    if (msg.contains(QLatin1String("qrc:/Views/")) || msg.contains(QLatin1String("Main.qml")) ||
        msg.contains(QLatin1String(".qml:")))
        g_messages << msg;
}

struct Acc {
    QQuickItem *item;
    QAccessibleInterface *iface;
    QAccessible::Role role;
    QString name;
    QString description;
};

void collectAccessibles(QAccessibleInterface *iface, std::vector<Acc> &out, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 64) return;
    if (auto *item = qobject_cast<QQuickItem *>(iface->object()))
        out.push_back({item, iface, iface->role(), iface->text(QAccessible::Name),
                       iface->text(QAccessible::Description)});
    for (int i = 0; i < iface->childCount(); ++i) collectAccessibles(iface->child(i), out, depth + 1);
}

// One application and one engine for the suite (the singleton may be reached from one engine only).
class QelmViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        Sarvik_InitSDK();
        AppStatic::app_name = QStringLiteral("Qelm");
        AppStatic::path_config_qs = s_dir->path();
        std::snprintf(AppStatic::path_exe_local, sizeof(AppStatic::path_exe_local), "%s",
                      s_dir->path().toUtf8().constData());
        s_app = new CApp;
        AppStatic::app = s_app;
        s_app->init();
        qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", s_app);
        const QtMessageHandler old = qInstallMessageHandler(collect);
        s_engine = new QQmlApplicationEngine;
        s_engine->addImportPath(QStringLiteral(QELM_BUILD_DIR "/qml"));
        s_engine->load(QUrl::fromLocalFile(kSource + QStringLiteral("/tools/qelm/Views/Main.qml")));
        QCoreApplication::processEvents();
        qInstallMessageHandler(old);
        s_loadMessages = g_messages;
    }

    void SetUp() override {
        ASSERT_EQ(s_engine->rootObjects().size(), 1) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
        m_window = qobject_cast<QQuickWindow *>(s_engine->rootObjects().first());
        ASSERT_NE(m_window, nullptr);
        g_messages.clear();
        m_old = qInstallMessageHandler(collect);
    }

    void TearDown() override { qInstallMessageHandler(m_old); }

    std::vector<Acc> accessibles() {
        std::vector<Acc> all;
        collectAccessibles(QAccessible::queryAccessibleInterface(m_window), all);
        return all;
    }

    // The visible control with this role and name (and description, when given).
    const Acc *find(const std::vector<Acc> &all, QAccessible::Role role, const QString &name,
                    const QString &description = QString()) {
        for (const Acc &a : all)
            if (a.role == role && a.name == name && a.item->isVisible() &&
                (description.isEmpty() || a.description == description))
                return &a;
        return nullptr;
    }

    // The visible static text whose name starts with prefix.
    QString text(const QString &prefix) {
        for (const Acc &a : accessibles())
            if (a.role == QAccessible::StaticText && a.item->isVisible() && a.name.startsWith(prefix)) return a.name;
        return QString();
    }

    bool press(QAccessible::Role role, const QString &name, const QString &description = QString()) {
        const std::vector<Acc> all = accessibles();
        const Acc *a = find(all, role, name, description);
        if (!a || !a->iface->actionInterface()) return false;
        const QString action = role == QAccessible::Slider ? QAccessibleActionInterface::increaseAction()
                                                           : QAccessibleActionInterface::pressAction();
        a->iface->actionInterface()->doAction(action);
        QCoreApplication::processEvents();
        return true;
    }

    void showPage(const char *id) { ASSERT_TRUE(press(QAccessible::PageTab, QLatin1String(id))) << id; }

    CDeviceManager *manager() const { return s_app->deviceManager(); }

    static QTemporaryDir *s_dir;
    static CApp *s_app;
    static QQmlApplicationEngine *s_engine;
    static QStringList s_loadMessages;
    QQuickWindow *m_window = nullptr;
    QtMessageHandler m_old = nullptr;
};

QTemporaryDir *QelmViews::s_dir = nullptr;
CApp *QelmViews::s_app = nullptr;
QQmlApplicationEngine *QelmViews::s_engine = nullptr;
QStringList QelmViews::s_loadMessages;

}  // namespace

TEST(QelmTranslations, EveryUsedIdHasWordsInBothLanguages) {
    using testsupport::translationIdsUnder;
    QSet<QString> ids = translationIdsUnder(kSource + QStringLiteral("/tools/qelm"), {"*.cpp", "*.h", "*.qml"});
    ids.unite(translationIdsUnder(kSource + QStringLiteral("/controls/Controls"), {"*.qml", "*.js"}));
    // The enumerations of the shared frame, filled with the tool's translation installed.
    ids.unite(translationIdsUnder(kSource + QStringLiteral("/tools/pelvan/App/CCommonManager.cpp"), {}));
    ids.unite({QStringLiteral("OK"), QStringLiteral("Cancel")});
    ASSERT_GT(ids.size(), 80);
    for (const char *known : {"StartIR", "StopRecord", "PreviousFrameVIS", "LoadLast", "zh_CN", "ValueRange"})
        EXPECT_TRUE(ids.contains(QLatin1String(known))) << known;

    const struct {
        const char *locale;
        const char *id;
        const char *words;
    } samples[] = {{"en_US", "StartIR", "Start IR"},     {"en_US", "SaveDir", "Save Dir"},
                   {"en_US", "PreviousFrame", "Previous Frame"}, {"zh_CN", "StartRecord", "开始录像"},
                   {"zh_CN", "LoadVIS", "加载可见光"},     {"zh_CN", "Success", "成功"}};
    for (const char *locale : {"en_US", "zh_CN"}) {
        SCOPED_TRACE(locale);
        QTranslator tr;
        ASSERT_TRUE(tr.load(QStringLiteral("%1/Qelm.%2.qm").arg(kConfigDir, QLatin1String(locale))));
        QStringList missing;
        for (const QString &id : ids)
            if (tr.translate(nullptr, id.toUtf8().constData()).trimmed().isEmpty()) missing << id;
        missing.sort();
        EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char(' ')).toStdString();
        for (const auto &s : samples) {
            if (!std::strcmp(s.locale, locale)) {
                EXPECT_EQ(tr.translate(nullptr, s.id), QString::fromUtf8(s.words)) << s.id;
            }
        }
    }
}

TEST_F(QelmViews, EveryPageLoadsAndNamesEveryControl) {
    EXPECT_TRUE(s_loadMessages.isEmpty()) << s_loadMessages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(m_window->title(), QStringLiteral("Qelm v") + s_app->appVersion());
    const QSet<QAccessible::Role> interactive = {QAccessible::Button, QAccessible::CheckBox, QAccessible::ComboBox,
                                                 QAccessible::PageTab, QAccessible::Slider};
    const struct {
        const char *tab;
        std::vector<const char *> buttons;
    } pages[] = {{"PagePreview", {"StartIR", "SyncNTP", "StartVIS", "StartRecord"}},
                 {"PageFiles", {"PreviousFrame", "NextFrame", "LoadIR", "LoadVIS", "LoadLast"}},
                 {"PageSettings", {"Save"}}};
    for (const auto &page : pages) {
        SCOPED_TRACE(page.tab);
        showPage(page.tab);
        const std::vector<Acc> all = accessibles();
        for (const char *b : page.buttons) EXPECT_NE(find(all, QAccessible::Button, QLatin1String(b)), nullptr) << b;
        int checked = 0;
        for (const Acc &a : all) {
            if (!a.item->isVisible() || (!interactive.contains(a.role) && a.role != QAccessible::EditableText))
                continue;
            ++checked;
            EXPECT_FALSE(a.name.isEmpty()) << a.item->metaObject()->className() << " role " << a.role;
            if (a.role != QAccessible::EditableText) {
                EXPECT_FALSE(a.iface->actionInterface() == nullptr || a.iface->actionInterface()->actionNames().isEmpty())
                    << a.name.toStdString();
            }
        }
        EXPECT_GE(checked, static_cast<int>(page.buttons.size()));
    }
    // The settings page shows the four settings.
    const std::vector<Acc> all = accessibles();
    for (const char *field : {"IRIP", "VISIP", "SaveDir"})
        EXPECT_NE(find(all, QAccessible::EditableText, QLatin1String(field)), nullptr) << field;
    EXPECT_NE(find(all, QAccessible::ComboBox, QStringLiteral("Language")), nullptr);
    EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join(QLatin1Char('\n')).toStdString();
}

// Start IR from the preview page with the configured address, then the files page steps through what was
// recorded, and Sync moves the visible side along.
TEST_F(QelmViews, PagesFollowTheCameraAndThePlayers) {
    QelmWorld world;
    testsupport::VcamProcess cam("127.0.0.64", {"--size", "160x120", "--fps", "25", "--lifetime", "60"});
    ASSERT_TRUE(cam.ready());
    s_app->configManager()->config()->set_ir_ip(QStringLiteral("127.0.0.64"));
    showPage("PagePreview");
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("StartIR")));
    IRDevice *ir = manager()->ir();
    ASSERT_TRUE(waitUntil([&] { return ir->jobState() == 0 && ir->isWorking(); }, 20000));
    ASSERT_TRUE(waitUntil([&] { return ir->frameState()->property("fps").toFloat() > 0; }, 10000));
    const std::vector<Acc> live = accessibles();
    EXPECT_NE(find(live, QAccessible::Button, QStringLiteral("StopIR")), nullptr);
    EXPECT_FALSE(text(QStringLiteral("FPS: ")).isEmpty());
    EXPECT_NE(text(QStringLiteral("FPS: ")), QStringLiteral("FPS: 0.0"));

    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("StartRecord")));
    ASSERT_TRUE(waitUntil([&] { return manager()->isRecording(); }, 10000));
    waitUntil([] { return false; }, 600);
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("StopRecord")));
    EXPECT_FALSE(manager()->isRecording());
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("StopIR")));
    ASSERT_TRUE(waitUntil([&] { return ir->jobState() == 0 && !ir->isWorking(); }, 15000));

    showPage("PageFiles");
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("LoadLast")));
    IRStream *stream = manager()->ir_stream();
    ASSERT_GT(stream->frameCount(), 2);
    const QString count = QStringLiteral("/%1").arg(stream->frameCount());
    EXPECT_TRUE(text(QStringLiteral("FrameInfoIR: ")).endsWith(QStringLiteral("  1") + count));
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("NextFrame"), QStringLiteral("NextFrameIR")));
    EXPECT_EQ(stream->curIndex(), 1);
    EXPECT_TRUE(text(QStringLiteral("FrameInfoIR: ")).endsWith(QStringLiteral("  2") + count));
    ASSERT_TRUE(press(QAccessible::Slider, QStringLiteral("FrameSliderIR")));
    EXPECT_EQ(stream->curIndex(), 2);
    ASSERT_TRUE(press(QAccessible::Button, QStringLiteral("PreviousFrame"), QStringLiteral("PreviousFrameIR")));
    EXPECT_EQ(stream->curIndex(), 1);
    // No visible recording in this run: the offset is not known and Sync changes nothing.
    EXPECT_EQ(text(QStringLiteral("Offset: ")), QStringLiteral("Offset: -"));
    ASSERT_TRUE(press(QAccessible::CheckBox, QStringLiteral("Sync")));
    EXPECT_TRUE(manager()->sync());
    ASSERT_TRUE(press(QAccessible::CheckBox, QStringLiteral("Sync")));
    EXPECT_FALSE(manager()->sync());
    stream->close();
    EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join(QLatin1Char('\n')).toStdString();
}
