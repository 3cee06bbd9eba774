#include "CBatchRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QtQml>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "CDeviceConfigSystem.h"
#include "CDeviceConfiger.h"
#include "CDeviceNode.h"

CBatchRunner::CBatchRunner(QObject *parent) : CBatchRunner(nullptr, parent) {}

CBatchRunner::CBatchRunner(CDeviceConfiger *configer, QObject *parent)
    : QObject(parent), m_configer(configer), m_networkInfo(new CCameraNetworkInfo(this)) {
    m_networkInfo->reset();
}

CBatchRunner::~CBatchRunner() = default;

void CBatchRunner::registerType() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    qmlRegisterType<CBatchRunner>("Sarvik", 1, 0, "CBatchRunner");
}

void CBatchRunner::setDeviceConfiger(CDeviceConfiger *configer) {
    if (m_configer == configer) return;
    m_configer = configer;
    emit deviceConfigerChanged();
}

void CBatchRunner::setSaveDir(const QString &dir) {
    if (m_saveDir == dir) return;
    m_saveDir = dir;
    emit saveDirChanged();
}

void CBatchRunner::setProgressFormat(const QString &format) {
    if (m_progressFormat == format) return;
    m_progressFormat = format;
    emit progressFormatChanged();
    emit progressChanged();
}

QString CBatchRunner::progressText() const {
    return QString(m_progressFormat)
        .replace(QLatin1String("%1"), QString::number(m_done))
        .replace(QLatin1String("%2"), QString::number(m_nodes.size()));
}

CBatchRunner::Op CBatchRunner::opFromName(const QString &name) {
    if (name == QLatin1String("upload")) return Op::Upload;
    if (name == QLatin1String("download")) return Op::Download;
    if (name == QLatin1String("restoreFactory")) return Op::RestoreFactory;
    if (name == QLatin1String("restartDevice")) return Op::RestartDevice;
    if (name == QLatin1String("setTime")) return Op::SetTime;
    return Op::None;
}

int CBatchRunner::runCurrent(const QString &operation, CDeviceNode *node, int fileType,
                             const QString &fileName) {
    if (!node) return RunNoDevice;
    return start(opFromName(operation), {node}, false, fileType, fileName);
}

int CBatchRunner::runMulti(const QString &operation, const QVariantList &nodes, int fileType,
                           const QString &fileName) {
    QList<CDeviceNode *> list;
    for (const QVariant &v : nodes)
        if (auto *node = qobject_cast<CDeviceNode *>(v.value<QObject *>())) list.append(node);
    return runMulti(operation, list, fileType, fileName);
}

int CBatchRunner::runMulti(const QString &operation, const QList<CDeviceNode *> &nodes, int fileType,
                           const QString &fileName) {
    QList<CDeviceNode *> selected;
    for (CDeviceNode *node : nodes)
        if (node && node->edit_select() && !selected.contains(node)) selected.append(node);
    return start(opFromName(operation), selected, true, fileType, fileName);
}

int CBatchRunner::start(Op op, const QList<CDeviceNode *> &nodes, bool multi, int fileType,
                        const QString &fileName) {
    if (m_running || !m_configer) return RunBusy;
    if (op == Op::None) return RunInvalid;
    if (op == Op::Upload || op == Op::Download) {
        if (m_configer->ft2suffix(fileType).isEmpty()) return RunInvalid;
        // Without a folder the file would land wherever the program was started.
        if (op == Op::Download && effectiveSaveDir().isEmpty()) return RunInvalid;
        // The page checks first and says why; a file that would go out wrong is refused here as well.
        if (op == Op::Upload && !fileProblem(fileType, fileName).isEmpty()) return RunInvalid;
    }
    if (nodes.isEmpty()) return RunNoDevice;

    m_op = op;
    m_multi = multi;
    m_fileType = fileType;
    m_fileName = fileName;
    m_nodes.clear();
    for (CDeviceNode *node : nodes) m_nodes.append(node);
    m_done = 0;
    m_failures = 0;
    m_cancel = false;
    m_written.clear();
    setRunning(true);
    emit progressChanged();
    // The page shows the run before the first camera blocks the thread.
    QTimer::singleShot(0, this, &CBatchRunner::step);
    return RunStarted;
}

void CBatchRunner::cancel() {
    if (m_running) m_cancel = true;
}

void CBatchRunner::step() {
    if (!m_running) return;
    if (m_cancel || m_done >= m_nodes.size() || !m_configer) {
        setCurrentDeviceId(QString());
        setRunning(false);
        emit finished(m_failures);
        return;
    }
    CDeviceNode *node = m_nodes.at(m_done);
    // A node the device list dropped meanwhile counts as a failure; there is nobody to tell.
    if (!node || runOne(node) < 0) ++m_failures;
    ++m_done;
    emit progressChanged();
    QTimer::singleShot(0, this, &CBatchRunner::step);
}

int CBatchRunner::runOne(CDeviceNode *node) {
    setCurrentDeviceId(nodeName(node));
    int ret = m_configer->startWork(node);
    if (ret >= 0) {
        fillIdentity(node);
        ret = operate(node);
        m_configer->stopWork();
    }
    // A camera that could not be opened is reported and skipped; stopWork then would close a camera someone
    // else opened.
    report(node, ret);
    return ret;
}

int CBatchRunner::operate(CDeviceNode *node) {
    switch (m_op) {
        case Op::Upload:
            return m_configer->uploadFile(m_fileType, m_fileName);
        case Op::Download: {
            QString path = downloadPath(node, m_fileType, m_multi);
            // Two cameras of one identifier: the second keeps its own file, named as for one camera.
            if (m_written.contains(path)) path = downloadPath(node, m_fileType, false);
            m_written.insert(path);
            QDir().mkpath(QFileInfo(path).absolutePath());
            return m_configer->downloadFile(m_fileType, path);
        }
        case Op::RestoreFactory:
            return m_configer->control_restoreFactory();
        case Op::RestartDevice:
            return m_configer->control_restartDevice();
        case Op::SetTime:
            return m_configer->control_setTime(0);
        case Op::None:
            break;
    }
    return RunInvalid;
}

void CBatchRunner::report(CDeviceNode *node, int ret) {
    // The words App.notifyErrorNode writes: the batch table reads the same either way.
    node->set_edit_info(ret < 0 ? qtTrId("Fail") + QLatin1Char(' ') + QString::number(ret)
                                : qtTrId("Success"));
}

void CBatchRunner::fillIdentity(CDeviceNode *node) const {
    // A camera typed in by address is named by its login answer, so the table and the file names show it.
    const CCameraBasicInfo *basic = m_configer->basicInfo();
    if (node->deviceId().isEmpty()) node->set_deviceId(basic->cameraId());
    if (node->softwareId().isEmpty()) node->set_softwareId(basic->softwareId());
    if (node->fpaId().isEmpty()) node->set_fpaId(basic->fpaId());
}

QString CBatchRunner::nodeName(CDeviceNode *node) const {
    // A camera typed in by address has no identifier until discovery names it.
    return node->deviceId().isEmpty() ? node->deviceIp() : node->deviceId();
}

QString CBatchRunner::fileProblem(int fileType, const QString &fileName) const {
    if (fileName.trimmed().isEmpty()) return QStringLiteral("NoFile");
    const QString suffix = m_configer ? m_configer->ft2suffix(fileType) : QString();
    if (suffix.isEmpty() || !fileName.endsWith(suffix, Qt::CaseInsensitive))
        return QStringLiteral("InvalidFile");
    return QString();
}

QString CBatchRunner::downloadPath(CDeviceNode *node, int fileType, bool multi) const {
    if (!node || !m_configer) return QString();
    // A camera typed in by address has no identifier: its address names the file alone.
    QString name = node->deviceId();
    if (name.isEmpty())
        name = node->deviceIp();
    else if (!multi)
        name += QLatin1Char('-') + node->deviceIp();
    return effectiveSaveDir() + QLatin1Char('/') + name + m_configer->ft2suffix(fileType);
}

QString CBatchRunner::effectiveSaveDir() const {
    if (!m_saveDir.isEmpty() || !AppStatic::app) return m_saveDir;
    return AppStatic::app->configManager()->config()->saveDir();
}

QString CBatchRunner::getTime(CDeviceNode *node) {
    if (!node || m_running || !m_configer) return QString();
    QString time;
    int ret = m_configer->startWork(node);
    if (ret >= 0) {
        fillIdentity(node);
        time = m_configer->control_getTime();
        if (time.isEmpty()) ret = -1;
        m_configer->stopWork();
    }
    report(node, ret);
    return time;
}

int CBatchRunner::configIp(CDeviceNode *node) {
    // The change is addressed by the camera's identifier: a camera known only by address cannot be named.
    if (!node || node->deviceId().isEmpty()) return RunNoDevice;
    if (m_running || !m_configer) return RunBusy;
    const int ret = m_configer->configIp(m_networkInfo, node->deviceId());
    report(node, ret);
    return ret;
}

void CBatchRunner::setCurrentDeviceId(const QString &id) {
    if (m_currentDeviceId == id) return;
    m_currentDeviceId = id;
    emit currentDeviceIdChanged();
}

void CBatchRunner::setRunning(bool v) {
    if (m_running == v) return;
    m_running = v;
    emit runningChanged();
}
