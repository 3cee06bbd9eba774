#include "CApp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFont>
#include <QTranslator>
#include <QUrl>

#include "AppFont.h"
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
      m_deviceManager(new CDeviceManager(this)) {}

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
    const bool english = m_configManager->config()->language() == 1;
    const QString locale = english ? QStringLiteral("en_US") : QStringLiteral("zh_CN");
    const QString wanted = english ? QStringLiteral("Times New Roman") : QStringLiteral("SimSun");

    QString family;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        family = appFontFamily(wanted, english ? AppFontKind::Serif : AppFontKind::Cjk);
        if (family.isEmpty()) family = QGuiApplication::font().family();
        QFont font(family);
        font.setPointSize(12);
        QGuiApplication::setFont(font);
    }
    if (m_localeName != locale) {
        m_localeName = locale;
        emit localeNameChanged();
    }
    if (m_fontFamily != family) {
        m_fontFamily = family;
        emit fontFamilyChanged();
    }

    if (AppStatic::app_translator && QCoreApplication::instance()) {
        const QString file =
            QStringLiteral("%1/%2.%3.qm").arg(AppStatic::path_config_qs, AppStatic::app_name, locale);
        if (AppStatic::app_translator->load(file))
            QCoreApplication::installTranslator(AppStatic::app_translator);
    }
    return 0;
}

QString CApp::manualPath() const {
    const bool english = m_configManager->config()->language() == 1;
    return QStringLiteral("%1/Doc/%2_%3.pdf")
        .arg(AppStatic::path_exe_qs, AppStatic::app_name,
             english ? QStringLiteral("US") : QStringLiteral("CN"));
}

int CApp::openManual() {
    const QString path = manualPath();
    if (!QFileInfo::exists(path)) return -7;
    // fromLocalFile gives "file://" + path with "#", "?" and spaces escaped.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return 0;
}
