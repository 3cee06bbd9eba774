#include "CDeviceManager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>
#include <QtQml>

#include "AppStatic.h"
#include "IRCanvas.h"
#include "IRDevice.h"
#include "IRFrameState.h"
#include "IRImageConfig.h"
#include "IRStream.h"
#include "VISCanvas.h"
#include "VISDevice.h"
#include "VISFrameState.h"
#include "VISImageConfig.h"
#include "VISStream.h"

Q_LOGGING_CATEGORY(lcManager, "App/CDeviceManager")

CDeviceManager::CDeviceManager(QObject *parent)
    : QObject(parent),
      m_ir(new IRDevice(this)),
      m_vis(new VISDevice(this)),
      m_irStream(new IRStream(this)),
      m_visStream(new VISStream(this)) {
    connect(this, &CDeviceManager::qtc_workEnd, this, &CDeviceManager::qtc_onWorkEnd, Qt::QueuedConnection);
    // A recording that ends on its own (a camera stopped) ends the joint one once neither side records.
    auto follow = [this]() {
        if (m_isRecording && !m_ir->isRecording() && !m_vis->isRecording()) setRecording(false);
    };
    connect(m_ir, &IRDevice::isRecordingChanged, this, follow);
    connect(m_vis, &VISDevice::isRecordingChanged, this, follow);

    // The offset follows the two frames' time stamps (a new or closed file changes them too).
    for (QelmPlayer *player : {static_cast<QelmPlayer *>(m_irStream), static_cast<QelmPlayer *>(m_visStream)}) {
        connect(player, &QelmPlayer::fnChanged, this, &CDeviceManager::updateOffset);
        connect(player, &QelmPlayer::curTimeChanged, this, &CDeviceManager::updateOffset);
    }
    // With Sync on, the visible side follows every thermal frame shown.
    connect(m_irStream, &IRStream::curTimeChanged, this, [this]() {
        if (m_sync) syncVisToIr();
    });
}

CDeviceManager::~CDeviceManager() {
    // The joint recording's job must not come back to a manager that is gone.
    QElapsedTimer timer;
    timer.start();
    while (m_busy && timer.elapsed() < 5000) {
        QThreadPool::globalInstance()->waitForDone(100);
        QCoreApplication::sendPostedEvents(this);
    }
    if (m_isRecording) stopRecord();
    if (m_ir->isWorking() || m_ir->jobState() != IRDevice::JobIdle) m_ir->stopWork();
    if (m_vis->isWorking() || m_vis->jobState() != VISDevice::JobIdle) m_vis->stopWork();
    // The devices' destructors wait for their stop jobs.
    delete m_ir;
    m_ir = nullptr;
    delete m_vis;
    m_vis = nullptr;
}

void CDeviceManager::init() {
    qmlRegisterType<IRFrameState>("Sarvik", 1, 0, "IRFrameState");
    qmlRegisterType<IRImageConfig>("Sarvik", 1, 0, "IRImageConfig");
    qmlRegisterType<IRCanvas>("Sarvik", 1, 0, "IRCanvas");
    qmlRegisterType<IRDevice>("Sarvik", 1, 0, "IRDevice");
    qmlRegisterType<IRStream>("Sarvik", 1, 0, "IRStream");
    qmlRegisterType<VISFrameState>("Sarvik", 1, 0, "VISFrameState");
    qmlRegisterType<VISImageConfig>("Sarvik", 1, 0, "VISImageConfig");
    qmlRegisterType<VISCanvas>("Sarvik", 1, 0, "VISCanvas");
    qmlRegisterType<VISDevice>("Sarvik", 1, 0, "VISDevice");
    qmlRegisterType<VISStream>("Sarvik", 1, 0, "VISStream");
    qmlRegisterType<CDeviceManager>("Sarvik", 1, 0, "CDeviceManager");
}

void CDeviceManager::setRecording(bool on) {
    if (m_isRecording == on) return;
    m_isRecording = on;
    emit isRecordingChanged();
}

void CDeviceManager::setBusy(bool on) {
    if (m_busy == on) return;
    m_busy = on;
    emit isBusyChanged();
}

void CDeviceManager::setRecordError(int code) {
    if (m_recordError == code) return;
    m_recordError = code;
    emit recordErrorChanged();
}

QString CDeviceManager::jointBaseName(const QString &dir) {
    const QString stem =
        QStringLiteral("%1/%2").arg(dir, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")));
    auto taken = [](const QString &base) {
        return QFileInfo::exists(base + QStringLiteral(".stream")) || QFileInfo::exists(base + QStringLiteral(".vis"));
    };
    QString base = stem;
    for (int k = 1; taken(base); ++k) {
        if (k >= 100000) return QString();
        base = QStringLiteral("%1_%2").arg(stem).arg(k);
    }
    // The longer of the two names must fit the tools' 1024-byte name buffer.
    if (base.toUtf8().size() + 8 >= AppStatic::PATH_SIZE) return QString();
    return base;
}

int CDeviceManager::startRecord() {
    if (m_isRecording || m_busy) return -7;
    if (!m_ir->isWorking() || m_ir->jobState() != IRDevice::JobIdle || m_ir->isRecording()) return -7;
    if (m_vis->jobState() != VISDevice::JobIdle || m_vis->isRecording()) return -7;
    setBusy(true);
    const int userId = m_ir->userId();
    qCInfo(lcManager, "joint recording: control 37 to %s", qUtf8Printable(m_ir->address()));
    QtConcurrent::run(QThreadPool::globalInstance(), [this, userId]() {
        const int r = IRDevice::sendControlTo(userId, 3);
        // The camera marks the start in its own stream; both recordings begin a second later.
        if (r >= 0) QThread::msleep(1000);
        emit qtc_workEnd(r < 0 ? r : 0);
    });
    return 0;
}

void CDeviceManager::qtc_onWorkEnd(int result) {
    setBusy(false);
    if (result < 0) {
        qCWarning(lcManager, "joint recording not started: control 37, errorCode %d", result);
        setRecordError(result);
        return;
    }
    // One base name for both files, taken once, whatever second each recording starts in.
    const QString base = jointBaseName(QString::fromUtf8(AppStatic::save_dir ? AppStatic::save_dir() : QByteArray()));
    if (base.isEmpty()) {
        qCWarning(lcManager, "joint recording not started: no file name");
        setRecordError(-200);
        return;
    }
    const int ir = m_ir->isWorking() ? m_ir->beginSave(base) : -7;
    const int vis = m_vis->isWorking() ? m_vis->beginSave(base) : -7;
    qCInfo(lcManager, "joint recording %s: thermal %d, visible %d", qUtf8Printable(base), ir, vis);
    if (m_recordBase != base) {
        m_recordBase = base;
        emit recordBaseChanged();
    }
    setRecordError(ir == 0 || vis == 0 ? 0 : ir);
    setRecording(ir == 0 || vis == 0);
}

int CDeviceManager::stopRecord() {
    if (!m_isRecording) return -7;
    if (m_ir->isRecording()) m_ir->endSave();
    if (m_vis->isRecording()) m_vis->endSave();
    setRecording(false);
    return 0;
}

void CDeviceManager::updateOffset() {
    const bool valid = !m_irStream->fn().isEmpty() && !m_visStream->fn().isEmpty() && m_irStream->curStamp() > 0 &&
                       m_visStream->curStamp() > 0;
    const double ms = valid ? static_cast<double>(m_visStream->curStamp() - m_irStream->curStamp()) / 10000.0 : 0.0;
    if (valid == m_offsetValid && ms == m_offsetMs) return;
    m_offsetValid = valid;
    m_offsetMs = ms;
    emit offsetChanged();
}

void CDeviceManager::set_sync(bool on) {
    if (m_sync == on) return;
    m_sync = on;
    emit syncChanged();
    if (on) syncVisToIr();
}

int CDeviceManager::syncVisToIr() {
    if (m_irStream->fn().isEmpty() || m_visStream->fn().isEmpty()) return -7;
    const int index = m_visStream->indexNearest(m_irStream->curStamp());
    if (index < 0) return -7;
    if (index == m_visStream->curIndex()) return 0;
    return m_visStream->set_curIndex(index);
}
