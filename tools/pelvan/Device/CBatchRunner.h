// The batch page's runner: one operation over one camera or over every selected camera, one camera after
// another on the user-interface thread, with the event loop running between cameras so the page shows
// each camera's outcome as it comes in.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QVariantList>

class CCameraNetworkInfo;
class CDeviceConfiger;
class CDeviceNode;

class CBatchRunner : public QObject {
    Q_OBJECT
    // The configurator every camera is opened with; set before any run.
    Q_PROPERTY(CDeviceConfiger *deviceConfiger READ deviceConfiger WRITE setDeviceConfiger NOTIFY
                   deviceConfigerChanged)
    // Folder the downloads go to; when empty, the application's configured one at the time of each download.
    Q_PROPERTY(QString saveDir READ saveDir WRITE setSaveDir NOTIFY saveDirChanged)
    // Format of progressText, "%1" the cameras done and "%2" the cameras in the run.
    Q_PROPERTY(
        QString progressFormat READ progressFormat WRITE setProgressFormat NOTIFY progressFormatChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
    Q_PROPERTY(int done READ done NOTIFY progressChanged)
    Q_PROPERTY(int total READ total NOTIFY progressChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressChanged)
    // The camera being worked on, empty between runs.
    Q_PROPERTY(QString currentDeviceId READ currentDeviceId NOTIFY currentDeviceIdChanged)
    // The quick network form's own settings, the reset() defaults at start.
    Q_PROPERTY(CCameraNetworkInfo *networkInfo READ networkInfo CONSTANT)

public:
    // Results of runCurrent / runMulti besides 0 (started).
    enum RunResult {
        RunStarted = 0,
        RunNoDevice = -1,  // no camera given, or none selected
        RunInvalid = -8,   // unknown operation, file type or file
        RunBusy = -7,      // a run is going on, or there is no configurator
    };
    Q_ENUM(RunResult)

    explicit CBatchRunner(QObject *parent = nullptr);
    explicit CBatchRunner(CDeviceConfiger *configer, QObject *parent = nullptr);
    ~CBatchRunner() override;

    // Registers the type with QML as Sarvik 1.0 CBatchRunner (once).
    static void registerType();

    CDeviceConfiger *deviceConfiger() const { return m_configer; }
    void setDeviceConfiger(CDeviceConfiger *configer);
    QString saveDir() const { return m_saveDir; }
    void setSaveDir(const QString &dir);
    QString progressFormat() const { return m_progressFormat; }
    void setProgressFormat(const QString &format);
    bool running() const { return m_running; }
    int done() const { return m_done; }
    int total() const { return m_nodes.size(); }
    QString progressText() const;
    QString currentDeviceId() const { return m_currentDeviceId; }
    CCameraNetworkInfo *networkInfo() const { return m_networkInfo; }

    // Operations: "upload" and "download" (of fileType, the configurator's DeviceFileType), "restoreFactory",
    // "restartDevice", "setTime". Each camera: startWork, the operation, its outcome in edit_info, stopWork.
    // The run starts at the next turn of the event loop; finished() tells its end.
    Q_INVOKABLE int runCurrent(const QString &operation, CDeviceNode *node, int fileType = -1,
                               const QString &fileName = QString());
    // Over the nodes of the list whose edit_select is set (a QML node list or array of nodes).
    Q_INVOKABLE int runMulti(const QString &operation, const QVariantList &nodes, int fileType = -1,
                             const QString &fileName = QString());
    int runMulti(const QString &operation, const QList<CDeviceNode *> &nodes, int fileType = -1,
                 const QString &fileName = QString());
    // Stops the run before its next camera; the camera being worked on is finished first.
    Q_INVOKABLE void cancel();

    // What is wrong with a file chosen for upload: "" when fine, else the message id "NoFile" (no name) or
    // "InvalidFile" (the name does not end with the type's suffix).
    Q_INVOKABLE QString fileProblem(int fileType, const QString &fileName) const;
    // The file a download of that camera goes to: deviceId-deviceIp+suffix for one camera, deviceId+suffix
    // for each of many.
    Q_INVOKABLE QString downloadPath(CDeviceNode *node, int fileType, bool multi) const;

    // The camera's clock as the configurator reads it ("" on failure); outcome in edit_info.
    Q_INVOKABLE QString getTime(CDeviceNode *node);
    // Sends networkInfo to the camera by its identifier (no login needed); outcome in edit_info. RunNoDevice
    // for a camera without an identifier.
    Q_INVOKABLE int configIp(CDeviceNode *node);

signals:
    void deviceConfigerChanged();
    void saveDirChanged();
    void progressFormatChanged();
    void runningChanged();
    void progressChanged();
    void currentDeviceIdChanged();
    // failures: cameras of the run that did not succeed (not counting those a cancel left out).
    void finished(int failures);

private:
    enum class Op { None, Upload, Download, RestoreFactory, RestartDevice, SetTime };

    static Op opFromName(const QString &name);
    int start(Op op, const QList<CDeviceNode *> &nodes, bool multi, int fileType, const QString &fileName);
    void step();
    int runOne(CDeviceNode *node);
    int operate(CDeviceNode *node);
    static void report(CDeviceNode *node, int ret);
    void fillIdentity(CDeviceNode *node) const;
    QString nodeName(CDeviceNode *node) const;
    QString effectiveSaveDir() const;
    void setCurrentDeviceId(const QString &id);
    void setRunning(bool v);

    QPointer<CDeviceConfiger> m_configer;
    CCameraNetworkInfo *m_networkInfo = nullptr;
    QString m_saveDir;
    QString m_progressFormat = QStringLiteral("%1 / %2");
    QString m_currentDeviceId;

    bool m_running = false;
    bool m_cancel = false;
    Op m_op = Op::None;
    bool m_multi = false;
    int m_fileType = -1;
    QString m_fileName;
    // Nodes may be replaced by a refresh of the device list while the run goes on.
    QList<QPointer<CDeviceNode>> m_nodes;
    int m_done = 0;
    int m_failures = 0;
    // Download files written in this run: two cameras must not overwrite each other's file.
    QSet<QString> m_written;
};
