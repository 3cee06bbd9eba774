// The application singleton: QML reaches every manager through it.
#pragma once

#include <QObject>
#include <QString>

class CCommonManager;
class CConfigManager;
class CDeviceManager;
class TempCanvasManager;

class CApp : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString appName READ appName CONSTANT)
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
    Q_PROPERTY(CCommonManager *commonManager READ commonManager CONSTANT)
    Q_PROPERTY(CConfigManager *configManager READ configManager CONSTANT)
    // The camera list and the live device.
    Q_PROPERTY(CDeviceManager *deviceManager READ deviceManager CONSTANT)
    Q_PROPERTY(TempCanvasManager *tempCanvasManager READ tempCanvasManager CONSTANT)
    Q_PROPERTY(bool debug_netdEnable READ debug_netdEnable CONSTANT)
    // Locale and font family chosen by setLanguage.
    Q_PROPERTY(QString localeName READ localeName NOTIFY localeNameChanged)
    Q_PROPERTY(QString fontFamily READ fontFamily NOTIFY fontFamilyChanged)

public:
    explicit CApp(QObject *parent = nullptr);
    // Stops a working device (and waits for it) before anything else goes.
    ~CApp() override;

    // The desktop tool's part of start-up (AppStatic::AppFactory): creates the singleton, registers it,
    // brings it up and hands the program options to the device manager.
    static QObject *create(QObject *parent);

    // Loads the configuration, installs the translation, fills the enumerations and registers the
    // canvas and device types.
    void init();

    QString appName() const;
    QString appVersion() const { return QStringLiteral("1.5.0.0627"); }
    CCommonManager *commonManager() const { return m_commonManager; }
    CConfigManager *configManager() const { return m_configManager; }
    CDeviceManager *deviceManager() const { return m_deviceManager; }
    TempCanvasManager *tempCanvasManager() const { return m_tempCanvasManager; }
    bool debug_netdEnable() const;
    QString localeName() const { return m_localeName; }
    QString fontFamily() const { return m_fontFamily; }

    // Application font and translation for the configured language; takes effect once, at start-up.
    Q_INVOKABLE int setLanguage();
    // Opens "<exe dir>/Doc/<name>_US.pdf" (English) or "<name>_CN.pdf" with the desktop's viewer; 0 when
    // handed over, -7 when the manual is not there.
    Q_INVOKABLE int openManual();
    // The manual for the configured language.
    Q_INVOKABLE QString manualPath() const;

signals:
    void localeNameChanged();
    void fontFamilyChanged();

private:
    CCommonManager *m_commonManager;
    CConfigManager *m_configManager;
    TempCanvasManager *m_tempCanvasManager;
    CDeviceManager *m_deviceManager;
    QString m_localeName;
    QString m_fontFamily;
};
