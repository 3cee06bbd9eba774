// Editor of the fix-distance block (memory type 7) of a camera, over its own login session, with a
// local copy in the save directory.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>

#include "CCustEditor.h"
#include "CFixDistFile.h"

class CFixDistEditor : public QObject {
    Q_OBJECT
    Q_PROPERTY(CFixDistFile *file READ file CONSTANT)
    Q_PROPERTY(QString deviceId READ deviceId NOTIFY deviceIdChanged)
    Q_PROPERTY(bool tableValid READ tableValid NOTIFY tableValidChanged)
    Q_PROPERTY(QString tableProblem READ tableProblem NOTIFY tableProblemChanged)

public:
    explicit CFixDistEditor(QObject *parent = nullptr);
    ~CFixDistEditor() override;

    static void registerTypes();

    CFixDistFile *file() const { return m_file; }
    QString deviceId() const { return m_deviceId; }
    bool tableValid() const { return m_tableValid; }
    QString tableProblem() const { return m_tableProblem; }
    int userId() const { return m_session.userId(); }
    QString ip() const { return m_session.ip(); }
    const _CameraBasicInfo &basicInfo() const { return m_session.basicInfo(); }
    // "<saveDir>/fixdist-<deviceId>".
    QString localPath() const;

    Q_INVOKABLE int init(const QString &ip);
    Q_INVOKABLE void free();
    Q_INVOKABLE int downloadMem(int type = 7);
    Q_INVOKABLE int uploadMem(int type = 7);
    Q_INVOKABLE int load(const QString &name = QString());
    Q_INVOKABLE int save(const QString &name = QString());
    // Checks the table as it would be written; true when valid, else tableProblem names the rule and row.
    Q_INVOKABLE bool checkTable();

signals:
    void deviceIdChanged();
    void tableValidChanged();
    void tableProblemChanged();

private:
    CFixDistFile *m_file;
    EditorSession m_session;
    QString m_deviceId;
    bool m_tableValid = true;
    QString m_tableProblem;
};
