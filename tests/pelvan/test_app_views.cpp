// The main window and its settings dialog, loaded from the source folder against a real application
// singleton: the dialog edits a copy and saves it through the configuration manager.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml>

#include <cstring>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "zq_logger.h"

namespace {

QStringList g_viewMessages;

void collectViewMessages(QtMsgType, const QMessageLogContext &, const QString &msg) {
    // Icons come from the program's resources, which this test does not carry.
    if (!msg.contains(QLatin1String("qrc:/Icons/"))) g_viewMessages << msg;
}

QObject *field(QObject *dialog, const char *name) {
    auto *loader = dialog->property("xcontentLoader").value<QObject *>();
    auto *page = loader ? loader->property("item").value<QObject *>() : nullptr;
    return page ? page->findChild<QObject *>(QLatin1String(name)) : nullptr;
}

void initField(QObject *dialog, const char *name, const QVariant &value) {
    QObject *f = field(dialog, name);
    ASSERT_NE(f, nullptr) << name;
    ASSERT_TRUE(QMetaObject::invokeMethod(f, "init", Q_ARG(QVariant, value))) << name;
}

}  // namespace

TEST(AppViews, SettingsDialogSavesWhatIsValid) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString savedExe = AppStatic::path_exe_qs, savedConfig = AppStatic::path_config_qs;
    char savedExeLocal[AppStatic::PATH_SIZE];
    std::memcpy(savedExeLocal, AppStatic::path_exe_local, sizeof(savedExeLocal));
    AppStatic::app_name = QStringLiteral("Pelvan");
    AppStatic::path_exe_qs = dir.path();
    AppStatic::path_config_qs = dir.path();
    std::snprintf(AppStatic::path_exe_local, sizeof(AppStatic::path_exe_local), "%s",
                  dir.path().toUtf8().constData());

    logger_t *log = logger_create_default();
    char savedLog[ZQ_LOG_FILEPATH_SIZE];
    std::memcpy(savedLog, log->filepath, sizeof(savedLog));
    logger_set_file(log, dir.filePath(QStringLiteral("test")).toUtf8().constData());

    auto *app = new CApp;
    app->init();
    qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", app);
    CConfigManager *cm = app->configManager();
    const QString file = dir.filePath(QStringLiteral("AppConfig.bin"));
    ASSERT_EQ(cm->filePath(), file);

    g_viewMessages.clear();
    const QtMessageHandler old = qInstallMessageHandler(collectViewMessages);
    {
        QQmlApplicationEngine engine;
        engine.addImportPath(QStringLiteral(PELVAN_BUILD_DIR "/qml"));
        engine.load(QUrl::fromLocalFile(QStringLiteral(PELVAN_DOCS_DIR "/../tools/pelvan/Views/Main.qml")));
        ASSERT_EQ(engine.rootObjects().size(), 1) << g_viewMessages.join(QLatin1Char('\n')).toStdString();
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->title(), QStringLiteral("Pelvan v1.5.0.0627"));

        QObject *dialog = window->findChild<QObject *>(QStringLiteral("appConfig"));
        ASSERT_NE(dialog, nullptr);
        ASSERT_GE(dialog->metaObject()->indexOfSignal("saved(int,bool)"), 0);

        const QString newDir = dir.filePath(QStringLiteral("pictures"));
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
            const QByteArray before = QFile(file).exists() ? [&] {
                QFile f(file);
                f.open(QIODevice::ReadOnly);
                return f.readAll();
            }() : QByteArray();
            ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xopen", Q_ARG(QVariant, QVariant()),
                                                  Q_ARG(QVariant, QVariant())));
            QCoreApplication::processEvents();
            EXPECT_TRUE(dialog->property("visible").toBool());
            // The dialog starts from the configuration in force.
            EXPECT_EQ(field(dialog, "chartFifoSize")->property("xvalue").toInt(),
                      cm->config()->chartFifoSize());
            EXPECT_EQ(field(dialog, "saveDir")->property("xvalue").toString(), cm->config()->saveDir());

            initField(dialog, "language", 1);
            initField(dialog, "saveDir", newDir);
            initField(dialog, "transType", 1);
            initField(dialog, "chartUpdateInterval", 7);
            initField(dialog, "chartFifoSize", c.fifo);
            ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xok"));
            QCoreApplication::processEvents();

            if (c.saved) {
                EXPECT_FALSE(dialog->property("visible").toBool());
                EXPECT_EQ(cm->config()->language(), 1);
                EXPECT_EQ(cm->config()->saveDir(), newDir);
                EXPECT_EQ(cm->config()->transType(), 1);
                EXPECT_EQ(cm->config()->chartUpdateInterval(), 7);
                EXPECT_EQ(cm->config()->chartFifoSize(), c.fifo);
                QFile f(file);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.readAll(),
                          QByteArray(reinterpret_cast<const char *>(&cm->config()->bin()), 1044));
            } else {
                // Stays open for correction; nothing changes.
                EXPECT_TRUE(dialog->property("visible").toBool());
                EXPECT_EQ(cm->config()->chartFifoSize(), 2000);
                QFile f(file);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.readAll(), before);
                ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "xcancel"));
                QCoreApplication::processEvents();
                EXPECT_FALSE(dialog->property("visible").toBool());
            }
        }
        EXPECT_TRUE(g_viewMessages.isEmpty()) << g_viewMessages.join(QLatin1Char('\n')).toStdString();
    }
    qInstallMessageHandler(old);
    logger_set_file(log, savedLog);
    AppStatic::path_exe_qs = savedExe;
    AppStatic::path_config_qs = savedConfig;
    std::memcpy(AppStatic::path_exe_local, savedExeLocal, sizeof(savedExeLocal));
    // The singleton instance stays registered with the type system: keep it alive for the process.
}
