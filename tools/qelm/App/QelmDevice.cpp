#include "QelmDevice.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "AppStatic.h"

QelmDevice::QelmDevice(int waitSlices, QObject *parent) : QObject(parent), m_waitSlices(waitSlices) {}

QByteArray QelmDevice::outputPath(const QString &name, const char *suffix) {
    return name.isEmpty() ? QByteArray(AppStatic::getfn(suffix))
                          : QFile::encodeName(name + QLatin1String(suffix));
}

void QelmDevice::setFlags(int flags) {
    const int changed = m_flags ^ flags;
    if (!changed) return;
    m_flags = flags;
    if (changed & FlagWorking) emit isWorkingChanged();
    if (changed & FlagPaused) emit isPausedChanged();
    if (changed & FlagRecording) emit isRecordingChanged();
    if (changed & FlagRecovering) emit isRecoveringChanged();
    if (changed & FlagExecuting) emit isExecutingChanged();
}

void QelmDevice::setJob(int job) {
    if (m_job == job) return;
    m_job = job;
    emit jobStateChanged();
}

void QelmDevice::setLastError(int code) {
    if (m_lastError == code) return;
    m_lastError = code;
    emit lastErrorChanged();
}

void QelmDevice::setAddress(const QString &address) {
    if (m_address == address) return;
    m_address = address;
    emit addressChanged();
}

void QelmDevice::setRecordFile(const QString &file) {
    if (m_recordFile == file) return;
    m_recordFile = file;
    emit recordFileChanged();
}

void QelmDevice::waitWhileBusy() {
    if (m_job == JobIdle || !QCoreApplication::instance()) return;
    for (int i = 0; i < m_waitSlices && m_job != JobIdle; ++i) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        connect(this, &QelmDevice::jobStateChanged, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
