// The dual-light tool's devices: one thermal and one visible camera, one player for each, the joint
// recording of both, and the one clock that lines the two replays up.
#pragma once

#include <QObject>
#include <QString>

class IRDevice;
class IRStream;
class VISDevice;
class VISStream;

class CDeviceManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(IRDevice *ir READ ir CONSTANT)
    Q_PROPERTY(VISDevice *vis READ vis CONSTANT)
    Q_PROPERTY(IRStream *ir_stream READ ir_stream CONSTANT)
    Q_PROPERTY(VISStream *vis_stream READ vis_stream CONSTANT)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY isRecordingChanged)
    // True while the joint recording's job runs (control to the thermal camera, then one second).
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY isBusyChanged)
    // Result of the last joint recording start (0, or the thermal camera's code when its control failed,
    // or the first recording's code when neither started).
    Q_PROPERTY(int recordError READ recordError NOTIFY recordErrorChanged)
    // The base name both files of the running (or last) joint recording share: "<saveDir>/YYYYMMDD_hhmmss".
    Q_PROPERTY(QString recordBase READ recordBase NOTIFY recordBaseChanged)
    // Replay on one clock: the visible frame's time minus the thermal frame's, in milliseconds (valid only
    // when both players hold a file).
    Q_PROPERTY(bool offsetValid READ offsetValid NOTIFY offsetChanged)
    Q_PROPERTY(double offsetMs READ offsetMs NOTIFY offsetChanged)
    // When on, every frame the thermal player shows moves the visible player to its nearest frame in time.
    Q_PROPERTY(bool sync READ sync WRITE set_sync NOTIFY syncChanged)

public:
    explicit CDeviceManager(QObject *parent = nullptr);
    // Ends a joint recording and stops both cameras (waiting for them).
    ~CDeviceManager() override;

    // Registers the device, player, canvas, state and image types and this class under Sarvik 1.0.
    void init();

    IRDevice *ir() const { return m_ir; }
    VISDevice *vis() const { return m_vis; }
    IRStream *ir_stream() const { return m_irStream; }
    VISStream *vis_stream() const { return m_visStream; }
    bool isRecording() const { return m_isRecording; }
    bool isBusy() const { return m_busy; }
    int recordError() const { return m_recordError; }
    QString recordBase() const { return m_recordBase; }
    bool offsetValid() const { return m_offsetValid; }
    double offsetMs() const { return m_offsetMs; }
    bool sync() const { return m_sync; }
    void set_sync(bool on);

    // Joint recording: control 37 (parameter 1) to the thermal camera on the pool, one second, then both
    // recordings under one base name. 0 job started; -7 already recording, a job running, or the thermal
    // camera not working, busy or recording on its own.
    Q_INVOKABLE int startRecord();
    Q_INVOKABLE int stopRecord();
    // Moves the visible player to the frame nearest in time to the thermal frame shown: 0, -7 when a player
    // holds no file, or the player's code.
    Q_INVOKABLE int syncVisToIr();

    // The base name for a joint recording: "<dir>/YYYYMMDD_hhmmss" for the local time now, with "_1", "_2"
    // ... when a file of either extension already carries it. Empty when it does not fit.
    static QString jointBaseName(const QString &dir);

signals:
    void isRecordingChanged();
    void isBusyChanged();
    void recordErrorChanged();
    void recordBaseChanged();
    void offsetChanged();
    void syncChanged();
    void qtc_workEnd(int result);

private slots:
    void qtc_onWorkEnd(int result);
    void updateOffset();

private:
    void setRecording(bool on);
    void setBusy(bool on);
    void setRecordError(int code);

    IRDevice *m_ir = nullptr;
    VISDevice *m_vis = nullptr;
    IRStream *m_irStream = nullptr;
    VISStream *m_visStream = nullptr;
    bool m_isRecording = false;
    bool m_busy = false;
    int m_recordError = 0;
    QString m_recordBase;
    bool m_offsetValid = false;
    double m_offsetMs = 0;
    bool m_sync = false;
};
