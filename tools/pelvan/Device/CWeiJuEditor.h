// Editor of the close-range lens block (memory type 5) of a camera, over its own login session, with a
// local copy in the save directory.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>

#include "CCustEditor.h"
#include "CNameValue.h"
#include "CWeiJuFile.h"

class CWeiJuEditor : public QObject {
    Q_OBJECT
    Q_PROPERTY(CWeiJuFile *file READ file CONSTANT)
    Q_PROPERTY(QString deviceId READ deviceId NOTIFY deviceIdChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> caliModeList READ caliModeListProperty NOTIFY caliModeListChanged)
    Q_PROPERTY(bool tableValid READ tableValid NOTIFY tableValidChanged)
    Q_PROPERTY(QString tableProblem READ tableProblem NOTIFY tableProblemChanged)

public:
    explicit CWeiJuEditor(QObject *parent = nullptr);
    ~CWeiJuEditor() override;

    static void registerTypes();

    CWeiJuFile *file() const { return m_file; }
    QString deviceId() const { return m_deviceId; }
    QQmlListProperty<CNameValue> caliModeListProperty();
    const QList<CNameValue *> &caliModeList() const { return m_caliModeList; }
    bool tableValid() const { return m_tableValid; }
    QString tableProblem() const { return m_tableProblem; }
    int userId() const { return m_session.userId(); }
    QString ip() const { return m_session.ip(); }
    const _CameraBasicInfo &basicInfo() const { return m_session.basicInfo(); }
    // "<saveDir>/weiju-<deviceId>".
    QString localPath() const;

    Q_INVOKABLE int init(const QString &ip);
    Q_INVOKABLE void free();
    Q_INVOKABLE int downloadMem(int type = 5);
    Q_INVOKABLE int uploadMem(int type = 5);
    Q_INVOKABLE int load(const QString &name = QString());
    Q_INVOKABLE int save(const QString &name = QString());
    // Checks the table as it would be written; true when valid, else tableProblem names the rule and row.
    Q_INVOKABLE bool checkTable();

signals:
    void deviceIdChanged();
    void caliModeListChanged();
    void tableValidChanged();
    void tableProblemChanged();

private:
    CWeiJuFile *m_file;
    EditorSession m_session;
    QString m_deviceId;
    QList<CNameValue *> m_caliModeList;
    bool m_tableValid = true;
    QString m_tableProblem;
};
