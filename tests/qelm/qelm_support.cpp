#include "qelm_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include "AppStatic.h"
#include "SarvikSDK.h"
#include "TempCanvasManager.h"
#include "XPainterStatic.h"
#include "fake_vis_camera.h"

namespace {

QByteArray g_saveDir;

}  // namespace

QelmWorld::QelmWorld() {
    static bool once = [] {
        Sarvik_InitSDK();
        XPainterStatic::init();
        // The canvases register with the manager; it lives for the process.
        new TempCanvasManager(QCoreApplication::instance());
        TempCanvasManager::init();
        return true;
    }();
    (void)once;
    m_saveDir = m_dir.filePath(QStringLiteral("shots"));
    QDir().mkpath(m_saveDir);
    g_saveDir = m_saveDir.toUtf8();
    AppStatic::save_dir = []() { return g_saveDir; };
}

QelmWorld::~QelmWorld() {
    AppStatic::save_dir = nullptr;
}

bool waitUntil(const std::function<bool()> &cond, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

std::string enterCameraNetns(const std::string &visIp) {
    return mvcamtest::enter_camera_netns(visIp);
}
