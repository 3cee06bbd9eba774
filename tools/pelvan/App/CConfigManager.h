// Loads and saves "AppConfig.bin" in the configuration directory and owns the configuration in force.
#pragma once

#include <QObject>
#include <QString>

#include "CAppConfig.h"

class CConfigManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(CAppConfig *config READ config CONSTANT)

public:
    explicit CConfigManager(QObject *parent = nullptr);

    // Registers CAppConfig and CConfigManager under Sarvik 1.0, then loads the file.
    void init();
    // Reads the file; a missing, short or foreign file yields the defaults (nothing is written).
    void load();

    // Applies the given settings and writes them; 0 when nothing changed (nothing written), -8 for a
    // missing or out-of-range configuration, else the file write's result (negative on failure). The file
    // is written beside the old one and then renamed over it, so a crash never leaves half a file.
    Q_INVOKABLE int save(CAppConfig *config);

    CAppConfig *config() const { return m_config; }

    // "<config dir>/AppConfig.bin" unless set otherwise (tests).
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }

    // The defaults: Chinese, "<exe dir>/<name>-Data", TCP, 500 samples, 1 second.
    static AppConfigBin defaults();
    // Creates the directory with its parents when missing.
    static void initSaveDir(const QString &dir);

private:
    void apply(const AppConfigBin &record);

    CAppConfig *m_config;
    QString m_filePath;
};
