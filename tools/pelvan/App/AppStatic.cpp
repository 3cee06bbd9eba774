#include "AppStatic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <QtQml>

#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "AppFont.h"
#include "SarvikSDK.h"
#include "XPainterStatic.h"
#include "filelog_handler.h"
#include "zq_base.h"
#include "zq_logger.h"

QString AppStatic::app_name;
char AppStatic::path_exe_local[PATH_SIZE];
QString AppStatic::path_exe_qs;
char AppStatic::path_config[PATH_SIZE];
QString AppStatic::path_config_qs;
QString AppStatic::path_data_qs;
char AppStatic::tmp_buffer[PATH_SIZE];
CApp *AppStatic::app = nullptr;
QObject *AppStatic::app_object = nullptr;
QByteArray (*AppStatic::save_dir)() = nullptr;
QApplication *AppStatic::app_qt = nullptr;
QQmlApplicationEngine *AppStatic::app_qml = nullptr;
QTranslator *AppStatic::app_translator = nullptr;
int AppStatic::debug_netdEnable = 0;
int AppStatic::debug_netdFrameCount = 0;
int AppStatic::debug_netdCalcInterval = 0;
QStringList AppStatic::opt_cameras;
bool AppStatic::opt_discovery = true;
int AppStatic::chart_fifoSize = 0;
int64_t AppStatic::chart_updateInterval = 0;

namespace {

bool g_initDone = false;
bool g_sdkStarted = false;
QElapsedTimer g_sinceStart;

// SIGTERM and SIGINT end the event loop like closing the window does, so the log and the SDK are shut
// down in order. The handler only writes to a pipe that the GUI thread watches.
int g_quitPipe[2] = {-1, -1};

void onQuitSignal(int) {
    const char byte = 1;
    if (g_quitPipe[1] >= 0) (void)!::write(g_quitPipe[1], &byte, 1);
}

void installQuitSignals(QObject *owner) {
    if (g_quitPipe[0] < 0 && ::pipe2(g_quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto *notifier = new QSocketNotifier(g_quitPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, []() {
        char buf[16];
        while (::read(g_quitPipe[0], buf, sizeof(buf)) > 0) {
        }
        qInfo("quit requested by signal");
        QCoreApplication::quit();
    });
    struct sigaction sa;
    std::memset(&sa, 0, sizeof(sa));
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

void writeIfMissing(const QString &path, const char *text) {
    if (QFileInfo::exists(path)) return;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
}

// Value after a hidden command-line option ("--name value"), empty when absent.
QString optionValue(const QStringList &args, const QString &name) {
    const int i = args.indexOf(name);
    return (i >= 0 && i + 1 < args.size()) ? args.at(i + 1) : QString();
}

// Hidden options for automated checks: "--quit-after-ms N" ends the event loop N ms after the window was
// first drawn; "--screenshot FILE" saves the first drawn window as an image.
void armCheckOptions(QQuickWindow *window) {
    const QStringList args = QCoreApplication::arguments();
    const QString shot = optionValue(args, QStringLiteral("--screenshot"));
    bool quitOk = false;
    const int quitMs = optionValue(args, QStringLiteral("--quit-after-ms")).toInt(&quitOk);

    // With a render thread, several swaps may be queued before the first reaches the GUI thread.
    auto firstFrame = std::make_shared<QMetaObject::Connection>();
    *firstFrame = QObject::connect(window, &QQuickWindow::frameSwapped, window, [=]() {
        if (!*firstFrame) return;
        QObject::disconnect(*firstFrame);
        *firstFrame = QMetaObject::Connection();
        qInfo("main window drawn %lld ms after start", static_cast<long long>(g_sinceStart.elapsed()));
        // Icons and fonts settle over a few frames: grab a little later.
        QTimer::singleShot(shot.isEmpty() ? 0 : 500, window, [=]() {
            if (!shot.isEmpty()) {
                QImage image = window->grabWindow();
                // The offscreen platform's software backing store cannot be read back through the scene
                // graph; its screen hands out the last frame instead.
                if (image.isNull() && window->screen())
                    image = window->screen()->grabWindow(window->winId()).toImage();
                if (!image.isNull() && image.save(shot))
                    qInfo("screenshot %s", qUtf8Printable(shot));
                else
                    qWarning("screenshot %s could not be written", qUtf8Printable(shot));
            }
            if (quitOk && quitMs >= 0)
                QTimer::singleShot(quitMs, QCoreApplication::instance(), &QCoreApplication::quit);
        });
    });
}

}  // namespace

const char *AppStatic::usageText() {
    return "usage: pelvan [options]\n"
           "\n"
           "The desktop tool for the thermal cameras on the local network.\n"
           "\n"
           "  --camera ADDRESS     list the camera at ADDRESS at start (repeatable); it stays in the list\n"
           "                       after every search\n"
           "  --no-discovery       do not search the network for cameras when the window opens\n"
           "  --quit-after-ms N    end N milliseconds after the window was first drawn\n"
           "  --screenshot FILE    save the first drawn window as an image\n"
           "  --help               this text\n";
}

int AppStatic::parseOptions(int argc, char **argv) {
    opt_cameras.clear();
    opt_discovery = true;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(usageText(), stdout);
            std::fflush(stdout);
            return 1;
        }
        if (!std::strcmp(a, "--no-discovery")) {
            opt_discovery = false;
        } else if (!std::strcmp(a, "--camera")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                std::fprintf(stderr, "pelvan: --camera needs an address\n%s", usageText());
                return -8;
            }
            const QString ip = QString::fromLocal8Bit(argv[++i]).trimmed();
            if (!opt_cameras.contains(ip)) opt_cameras.append(ip);
        } else if (!std::strcmp(a, "--quit-after-ms") || !std::strcmp(a, "--screenshot")) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "pelvan: %s needs a value\n%s", a, usageText());
                return -8;
            }
            ++i;
        }
    }
    return 0;
}

bool AppStatic::initialized() {
    return app_qt != nullptr;
}

int AppStatic::init(int &argc, char **argv, const QString &name, AppFactory factory) {
    if (g_initDone) return 0;
    g_initDone = true;
    g_sinceStart.start();
    app_name = name;
    const QByteArray nameUtf8 = name.toUtf8();

    // 1. Directories and the log file beside the executable.
    // A directory too long for "<dir>/<name>-Config" counts as not found: cut names would point elsewhere.
    if (zq_get_exedir(tmp_buffer, sizeof(tmp_buffer)) > 0 &&
        std::snprintf(path_config, sizeof(path_config), "%s/%s-Config", tmp_buffer, nameUtf8.constData()) <
            static_cast<int>(sizeof(path_config))) {
        std::memcpy(path_exe_local, tmp_buffer, sizeof(path_exe_local));
        path_exe_qs = QString::fromUtf8(path_exe_local);
        path_config_qs = QString::fromUtf8(path_config);
        path_data_qs = QStringLiteral("%1/%2-Data").arg(path_exe_qs, name);
        QDir().mkpath(path_config_qs);
        QDir().mkpath(path_data_qs);
        const QString logDir = QStringLiteral("%1/%2-Log").arg(path_exe_qs, name);
        QDir().mkpath(logDir);
        const int n = std::snprintf(tmp_buffer, sizeof(tmp_buffer), "%s/%s", logDir.toUtf8().constData(),
                                    nameUtf8.constData());
        // The logger keeps 255 characters of its base path: a longer one would scatter files elsewhere.
        if (n > 0 && n < ZQ_LOG_FILEPATH_SIZE) logger_set_file(logger_create_default(), tmp_buffer);
    }

    // 2. Qt logging and the controls' configuration; both files are the user's to edit, and are only
    // written when missing.
    if (!path_config_qs.isEmpty()) {
        writeIfMissing(path_config_qs + QStringLiteral("/qtlogging.ini"),
                       "[Rules]\n# e.g. qt.qml.binding.removal.info=true\n*.debug=true\nqt.*.debug=false\n");
        writeIfMissing(path_config_qs + QStringLiteral("/qtquickcontrols2.conf"),
                       "[Controls]\nStyle=Default\n");
    }
    qputenv("QT_LOGGING_CONF", (path_config_qs + QStringLiteral("/qtlogging.ini")).toLocal8Bit());
    qputenv("QT_MESSAGE_PATTERN", "%{time yyyy-MM-dd HH:mm:ss.zzz}, %{file}, %{line}: %{message}");
    qInstallMessageHandler(filelog_handler);
    qputenv("QT_QUICK_CONTROLS_CONF",
            (path_config_qs + QStringLiteral("/qtquickcontrols2.conf")).toLocal8Bit());

    // 3. High-DPI screens scale by their exact factor.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    // 4. The SDK.
    const int sdk = Sarvik_InitSDK();
    g_sdkStarted = sdk == 0;
    if (sdk != 0) qWarning("Sarvik_InitSDK %d", sdk);

    // 5. Diagnostics switches.
    if (path_config[0] && std::snprintf(tmp_buffer, sizeof(tmp_buffer), "%s/debug.json", path_config) <
                              static_cast<int>(sizeof(tmp_buffer)))
        loadDebugJson(tmp_buffer);

    // 6 and 7. The painter's fonts need the application's font database, so they are built right after
    // the application rather than before it.
    app_qt = new QApplication(argc, argv);
    XPainterStatic::init();
    // Without OpenGL (offscreen, remote sessions) the scene graph draws in software instead of not at all.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") &&
        qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    app_qml = new QQmlApplicationEngine(app_qt);
    app_qml->addImportPath(path_exe_qs + QStringLiteral("/../qml"));
    app_translator = new QTranslator(app_qt);
    if (factory) app_object = factory(app_qt);
    return 0;
}

int AppStatic::run(const QString &url) {
    if (!app_qt || !app_qml) return -7;
    installQuitSignals(app_qt);
    app_qml->load(QUrl(url));
    const QList<QObject *> roots = app_qml->rootObjects();
    // A view that does not load would leave an invisible process running for ever.
    if (roots.isEmpty()) {
        qCritical("%s did not load", qUtf8Printable(url));
        return -1;
    }
    if (auto *window = qobject_cast<QQuickWindow *>(roots.first())) armCheckOptions(window);
    return app_qt->exec();
}

void AppStatic::free() {
    // The views go first: they hold bindings to the application singleton.
    delete app_qml;
    app_qml = nullptr;
    delete app_object;
    app_object = nullptr;
    app = nullptr;
    save_dir = nullptr;
    XPainterStatic::free();
    delete app_qt;  // also the translator
    app_qt = nullptr;
    app_translator = nullptr;
    if (g_sdkStarted) Sarvik_FreeSDK();
    g_sdkStarted = false;
    qInstallMessageHandler(nullptr);
    logger_destroy_default();
}

const char *AppStatic::getfn_at(const char *dir, const char *suffix, const std::tm &t) {
    if (!dir) dir = "";
    if (!suffix) suffix = "";
    const int n =
        std::snprintf(tmp_buffer, sizeof(tmp_buffer), "%s/%04d%02d%02d_%02d%02d%02d%s", dir, t.tm_year + 1900,
                      t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, suffix);
    if (n < 0 || n >= static_cast<int>(sizeof(tmp_buffer))) {
        // A cut-off name would write somewhere else: give no name, so the write fails and says so.
        tmp_buffer[0] = 0;
        return tmp_buffer;
    }
    if (access(tmp_buffer, F_OK) != 0) return tmp_buffer;

    // Taken (a second snapshot in the same second): "_1", "_2", ... before the suffix.
    const int stem = n - static_cast<int>(std::strlen(suffix));
    char name[PATH_SIZE];
    for (int k = 1; k < 100000; ++k) {
        const int m = std::snprintf(name, sizeof(name), "%.*s_%d%s", stem, tmp_buffer, k, suffix);
        if (m < 0 || m >= static_cast<int>(sizeof(name))) break;
        if (access(name, F_OK) != 0) {
            std::memcpy(tmp_buffer, name, static_cast<size_t>(m) + 1);
            return tmp_buffer;
        }
    }
    tmp_buffer[0] = 0;
    return tmp_buffer;
}

const char *AppStatic::getfn(const char *suffix) {
    const std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    const QByteArray dir = save_dir ? save_dir() : QByteArray();
    return getfn_at(dir.constData(), suffix, local);
}

void AppStatic::applyLanguage(int language, QString *locale, QString *family) {
    const bool english = language == 1;
    const QString name = english ? QStringLiteral("en_US") : QStringLiteral("zh_CN");
    const QString wanted = english ? QStringLiteral("Times New Roman") : QStringLiteral("SimSun");
    QString taken;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        taken = appFontFamily(wanted, english ? AppFontKind::Serif : AppFontKind::Cjk);
        if (taken.isEmpty()) taken = QGuiApplication::font().family();
        QFont font(taken);
        font.setPointSize(12);
        QGuiApplication::setFont(font);
    }
    if (app_translator && QCoreApplication::instance()) {
        const QString file = QStringLiteral("%1/%2.%3.qm").arg(path_config_qs, app_name, name);
        if (app_translator->load(file)) QCoreApplication::installTranslator(app_translator);
    }
    if (locale) *locale = name;
    if (family) *family = taken;
}

QString AppStatic::manualPath(int language) {
    return QStringLiteral("%1/Doc/%2_%3.pdf")
        .arg(path_exe_qs, app_name, language == 1 ? QStringLiteral("US") : QStringLiteral("CN"));
}

int AppStatic::writeFileReplacing(const QString &path, const void *data, size_t size) {
    const QByteArray target = path.toUtf8();
    const QByteArray temp = target + ".tmp";
    int ret = fileutil_write(temp.constData(), data, static_cast<int64_t>(size));
    if (ret == 0) {
        // On the disk before the rename, so a power cut never exposes an empty file.
        const int fd = ::open(temp.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        if (std::rename(temp.constData(), target.constData()) != 0) ret = ZQ_ERR_OPEN;
    }
    if (ret != 0) std::remove(temp.constData());
    return ret;
}

void AppStatic::initSaveDir(const QString &dir) {
    if (dir.isEmpty() || QDir(dir).exists()) return;
    QDir().mkpath(dir);
    logger_print(logger_create_default(), LOG_LEVEL_DEBUG, "%s,%d,%s:\nmake saveDir %s\n\n", __func__,
                 __LINE__, "App/CConfigManager", dir.toUtf8().constData());
}

bool AppStatic::loadDebugJson(const char *path) {
    debug_netdEnable = debug_netdFrameCount = debug_netdCalcInterval = 0;
    char *data = nullptr;
    int64_t size = 0;
    if (!path || fileutil_readalloc(path, &data, &size) != 0) return false;
    const std::string text(data, static_cast<size_t>(size));
    std::free(data);

    const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) return false;
    int values[3];
    const char *const keys[3] = {"netdEnable", "netdFrameCount", "netdCalcInterval"};
    for (int i = 0; i < 3; ++i) {
        const auto it = doc.find(keys[i]);
        if (it == doc.end() || !it->is_number_integer()) return false;
        const int64_t v = it->get<int64_t>();
        if (v < INT32_MIN || v > INT32_MAX) return false;
        values[i] = static_cast<int>(v);
    }
    debug_netdEnable = values[0];
    debug_netdFrameCount = values[1];
    debug_netdCalcInterval = values[2];
    return true;
}
