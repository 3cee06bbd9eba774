#include "CApp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFont>
#include <QTranslator>
#include <QUrl>
#include <QtQml>

#include "AppStatic.h"
#include "CCommonManager.h"
#include "CConfigManager.h"
#include "CDeviceManager.h"
#include "TempCanvasManager.h"

CApp::CApp(QObject *parent)
    : QObject(parent),
      m_commonManager(new CCommonManager(this)),
      m_configManager(new CConfigManager(this)),
      m_tempCanvasManager(new TempCanvasManager(this)),
      m_deviceManager(new CDeviceManager(this)) {
    // File names (getfn) take the save directory of whichever application object is in force.
    AppStatic::save_dir = []() {
        if (!AppStatic::app) return QByteArray();
        const AppConfigBin &bin = AppStatic::app->configManager()->config()->bin();
        return QByteArray(bin.saveDir, static_cast<int>(qstrnlen(bin.saveDir, sizeof(bin.saveDir))));
    };
}

CApp::~CApp() {
    // The device stops its preview and logs out first, while the configuration and the canvas manager it
    // uses are still there; the other managers are children.
    delete m_deviceManager;
    m_deviceManager = nullptr;
}

void CApp::init() {
    m_configManager->init();
    setLanguage();
    m_commonManager->init();
    TempCanvasManager::init();
    m_deviceManager->init();
}

QString CApp::appName() const {
    return AppStatic::app_name;
}

bool CApp::debug_netdEnable() const {
    return AppStatic::debug_netdEnable != 0;
}

int CApp::setLanguage() {
    QString locale, family;
    AppStatic::applyLanguage(m_configManager->config()->language(), &locale, &family);
    if (m_localeName != locale) {
        m_localeName = locale;
        emit localeNameChanged();
    }
    if (m_fontFamily != family) {
        m_fontFamily = family;
        emit fontFamilyChanged();
    }
    return 0;
}

QString CApp::manualPath() const {
    return AppStatic::manualPath(m_configManager->config()->language());
}

QObject *CApp::create(QObject *parent) {
    auto *app = new CApp(parent);
    AppStatic::app = app;
    qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", app);
    app->init();
    app->deviceManager()->setStartupOptions(AppStatic::opt_cameras, AppStatic::opt_discovery);
    return app;
}

int CApp::openManual() {
    const QString path = manualPath();
    if (!QFileInfo::exists(path)) return -7;
    // fromLocalFile gives "file://" + path with "#", "?" and spaces escaped.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return 0;
}
