// Loads and saves "QelmConfig.bin" in the dual-light tool's configuration directory and owns the
// configuration in force.
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
    // Reads the file; a missing, short or foreign file (another marker) yields the defaults, a damaged
    // field its default. Nothing is written.
    void load();
    // Applies the given settings and writes them: 0 when nothing changed (nothing written), -8 for a
    // missing or invalid configuration, else the file write's result. Written beside the old file and
    // renamed over it.
    Q_INVOKABLE int save(CAppConfig *config);

    CAppConfig *config() const { return m_config; }
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }

    // Chinese, "<exe dir>/Qelm-Data", the prefilled camera addresses, and the visible camera's built-in
    // account.
    static QelmConfigBin defaults();

private:
    CAppConfig *m_config;
    QString m_filePath;
};
