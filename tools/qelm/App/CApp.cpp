#include "CApp.h"

#include <QtQml>

#include "AppStatic.h"
#include "CCommonManager.h"
#include "CConfigManager.h"
#include "CDeviceManager.h"
#include "QelmOptions.h"
#include "TempCanvasManager.h"
#include "VISDevice.h"

CApp::CApp(QObject *parent)
    : QObject(parent),
      m_commonManager(new CCommonManager(this)),
      m_configManager(new CConfigManager(this)),
      m_tempCanvasManager(new TempCanvasManager(this)),
      m_deviceManager(new CDeviceManager(this)) {
    AppStatic::save_dir = []() {
        if (!AppStatic::app) return QByteArray();
        const QelmConfigBin &bin = AppStatic::app->configManager()->config()->bin();
        return QByteArray(bin.saveDir, static_cast<int>(qstrnlen(bin.saveDir, sizeof(bin.saveDir))));
    };
}

CApp::~CApp() {
    // The devices stop (and end their recordings) while the configuration and the canvas manager they
    // use are still there.
    delete m_deviceManager;
    m_deviceManager = nullptr;
}

QObject *CApp::create(QObject *parent) {
    auto *app = new CApp(parent);
    AppStatic::app = app;
    qmlRegisterSingletonInstance("Sarvik", 1, 0, "CApp", app);
    app->init();
    // Addresses given on the command line are used for this run; the settings page shows them and saving
    // the settings keeps them.
    const QelmOptions &options = QelmOptions::current();
    CAppConfig *config = app->configManager()->config();
    if (!options.irAddress.isEmpty()) config->set_ir_ip(options.irAddress);
    if (!options.visAddress.isEmpty()) config->set_vis_ip(options.visAddress);
    if (!options.visParams.isEmpty() && app->deviceManager()->vis()->setStartParams(options.visParams) != 0)
        qWarning("visible camera settings refused: %s", qUtf8Printable(options.visParams.join(QLatin1Char(' '))));
    return app;
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
