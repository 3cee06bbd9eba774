// The dual-light tool's application singleton: QML reaches the configuration, the enumerations, the
// canvas manager and the two devices through it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

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
    Q_PROPERTY(CDeviceManager *deviceManager READ deviceManager CONSTANT)
    Q_PROPERTY(TempCanvasManager *tempCanvasManager READ tempCanvasManager CONSTANT)
    Q_PROPERTY(QString localeName READ localeName NOTIFY localeNameChanged)
    Q_PROPERTY(QString fontFamily READ fontFamily NOTIFY fontFamilyChanged)

public:
    explicit CApp(QObject *parent = nullptr);
    // Ends a joint recording and stops both cameras before anything else goes.
    ~CApp() override;

    // The tool's part of start-up (AppStatic::AppFactory).
    static QObject *create(QObject *parent);

    // Loads the configuration, installs the translation, fills the enumerations, registers the types.
    void init();

    QString appName() const;
    QString appVersion() const { return QStringLiteral("1.0.0.1208"); }
    CCommonManager *commonManager() const { return m_commonManager; }
    CConfigManager *configManager() const { return m_configManager; }
    CDeviceManager *deviceManager() const { return m_deviceManager; }
    TempCanvasManager *tempCanvasManager() const { return m_tempCanvasManager; }
    QString localeName() const { return m_localeName; }
    QString fontFamily() const { return m_fontFamily; }

    Q_INVOKABLE int setLanguage();

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
