#include "device_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QThread>

#include <cstdio>
#include <cstring>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"

namespace {

CApp *g_app = nullptr;
QTemporaryDir *g_configDir = nullptr;

CApp *sharedApp() {
    if (g_app) return g_app;
    static bool sdk = Sarvik_InitSDK() == 0;
    (void)sdk;
    g_configDir = new QTemporaryDir;
    const QString savedConfig = AppStatic::path_config_qs;
    AppStatic::path_config_qs = g_configDir->path();
    if (AppStatic::app_name.isEmpty()) AppStatic::app_name = QStringLiteral("Pelvan");
    g_app = new CApp;
    g_app->init();
    AppStatic::path_config_qs = savedConfig;
    // Kept for the process: QML types stay registered against it.
    return g_app;
}

QMutex g_logMutex;
QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;
int g_logUsers = 0;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &msg) {
    {
        QMutexLocker lock(&g_logMutex);
        g_log << msg;
    }
    if (g_previousHandler) g_previousHandler(type, context, msg);
}

}  // namespace

DeviceWorld::DeviceWorld() {
    m_savedApp = AppStatic::app;
    m_savedFifo = AppStatic::chart_fifoSize;
    m_savedInterval = AppStatic::chart_updateInterval;
    AppStatic::app = sharedApp();
    m_saveDir = m_dir.filePath(QStringLiteral("shots"));
    QDir().mkpath(m_saveDir);
    setSaveDir(m_saveDir);
}

DeviceWorld::~DeviceWorld() {
    AppStatic::app = m_savedApp;
    AppStatic::chart_fifoSize = m_savedFifo;
    AppStatic::chart_updateInterval = m_savedInterval;
}

CApp *DeviceWorld::app() const {
    return g_app;
}

void DeviceWorld::setSaveDir(const QString &dir) {
    AppConfigBin bin = g_app->configManager()->config()->bin();
    std::memset(bin.saveDir, 0, sizeof(bin.saveDir));
    std::snprintf(bin.saveDir, sizeof(bin.saveDir), "%s", dir.toUtf8().constData());
    bin.transType = 0;
    bin.chartFifoSize = 500;
    bin.chartUpdateInterval = 1;
    g_app->configManager()->config()->bin2cls(bin);
}

void DeviceWorld::setTransType(int type) {
    AppConfigBin bin = g_app->configManager()->config()->bin();
    bin.transType = type;
    g_app->configManager()->config()->bin2cls(bin);
}

bool waitUntil(const std::function<bool()> &cond, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

std::unique_ptr<CDevice> makeDevice() {
    auto device = std::make_unique<CDevice>();
    device->init();
    return device;
}

bool startOn(CDevice *device, CDeviceNode *node, const QString &ip, int timeoutMs) {
    node->set_deviceIp(ip);
    if (device->startWork(node) != 0) return false;
    return waitUntil([&] { return device->workState() == CDevice::WorkIdle; }, timeoutMs) &&
           device->isWorking();
}

bool stopAndWait(CDevice *device, int timeoutMs) {
    device->stopWork();
    return waitUntil([&] { return device->workState() == CDevice::WorkIdle; }, timeoutMs) &&
           device->deviceFlags() == 0;
}

bool waitFrames(CDevice *device, unsigned n, int timeoutMs) {
    return waitUntil([&] { return device->framesShown() >= n; }, timeoutMs);
}

QString vcamIp(int host) {
    return QStringLiteral("127.0.31.%1").arg(host);
}

std::unique_ptr<testsupport::VcamProcess> startVcam(int host, std::vector<std::string> args) {
    bool sized = false;
    for (const std::string &a : args) sized = sized || a == "--size";
    if (!sized) args.insert(args.end(), {"--size", "384x288"});
    return std::make_unique<testsupport::VcamProcess>(vcamIp(host).toStdString(), args);
}

MessageLog::MessageLog() {
    QMutexLocker lock(&g_logMutex);
    g_log.clear();
    if (g_logUsers++ == 0) g_previousHandler = qInstallMessageHandler(collect);
}

MessageLog::~MessageLog() {
    QMutexLocker lock(&g_logMutex);
    if (--g_logUsers == 0) qInstallMessageHandler(g_previousHandler);
}

QStringList MessageLog::lines() const {
    QMutexLocker lock(&g_logMutex);
    return g_log;
}

bool MessageLog::contains(const QString &text) const {
    for (const QString &l : lines())
        if (l.contains(text)) return true;
    return false;
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
