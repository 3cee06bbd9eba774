// What the dual-light tool's two cameras share: the device flags with one change signal per bit, the job
// state of their one background job, the address, the last job's result, the recording's file, and the
// wait for a running job.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QelmDevice : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isWorking READ isWorking NOTIFY isWorkingChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY isRecordingChanged)
    Q_PROPERTY(bool isRecovering READ isRecovering NOTIFY isRecoveringChanged)
    Q_PROPERTY(bool isExecuting READ isExecuting NOTIFY isExecutingChanged)
    // 0 idle, 1 start, 100 stop (the thermal camera adds 2, extended control).
    Q_PROPERTY(int jobState READ jobState NOTIFY jobStateChanged)
    // Camera address of the running session (empty when idle).
    Q_PROPERTY(QString address READ address NOTIFY addressChanged)
    // The last job's result (0, or a negative code), set when a job ends; a failed start and a lost camera
    // (-17) land here for the views to show.
    Q_PROPERTY(int lastError READ lastError NOTIFY lastErrorChanged)
    // The file of the running (or last) recording.
    Q_PROPERTY(QString recordFile READ recordFile NOTIFY recordFileChanged)

public:
    enum Flag { FlagWorking = 1, FlagPaused = 2, FlagRecording = 4, FlagRecovering = 8, FlagExecuting = 16 };
    enum Job { JobIdle = 0, JobStart = 1, JobStop = 100 };

    bool isWorking() const { return (m_flags & FlagWorking) != 0; }
    bool isPaused() const { return (m_flags & FlagPaused) != 0; }
    bool isRecording() const { return (m_flags & FlagRecording) != 0; }
    bool isRecovering() const { return (m_flags & FlagRecovering) != 0; }
    bool isExecuting() const { return (m_flags & FlagExecuting) != 0; }
    int flags() const { return m_flags; }
    int jobState() const { return m_job; }
    QString address() const { return m_address; }
    int lastError() const { return m_lastError; }
    QString recordFile() const { return m_recordFile; }

    // "<name><suffix>" in the file system's encoding, or the date-time name in the save folder when name
    // is empty.
    static QByteArray outputPath(const QString &name, const char *suffix);

signals:
    void isWorkingChanged();
    void isPausedChanged();
    void isRecordingChanged();
    void isRecoveringChanged();
    void isExecutingChanged();
    void jobStateChanged();
    void addressChanged();
    void lastErrorChanged();
    void recordFileChanged();
    // A job ended (queued from the pool): the job.
    void qtc_workEnd(int job);
    // A start that failed: the device is idle again.
    void startFailed(int errorCode);

protected:
    // waitSlices bounds waitWhileBusy: that many slices of 100 ms.
    QelmDevice(int waitSlices, QObject *parent);

    // Each setter signals only what changed; setFlags one signal per flipped bit, in bit order.
    void setFlags(int flags);
    void setJob(int job);
    void setLastError(int code);
    void setAddress(const QString &address);
    void setRecordFile(const QString &file);
    // Runs the event loop in slices of 100 ms while a job runs (its end arrives as a queued signal), at
    // most waitSlices of them.
    void waitWhileBusy();

    int m_flags = 0;
    int m_job = JobIdle;

private:
    int m_waitSlices;
    int m_lastError = 0;
    QString m_address;
    QString m_recordFile;
};
