// The visible camera of the dual-light tool through the wrapper: open and start on the thread pool,
// frames from the library's grab thread handed to the GUI thread through four slots, the frame rate and
// raw ".vis" recording.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "mvs.h"

class VISCanvas;
class VISFrameState;
class VISImageConfig;

// One frame slot: the camera's gray data, its BGRA expansion (overwritten by the wrapper two frames later)
// and the time stamp (100-ns ticks, from the frame information).
struct VISFrame {
    unsigned char *data = nullptr;
    uint32_t *bgra = nullptr;
    int64_t timestamp = 0;
};

class VISDevice : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isWorking READ isWorking NOTIFY isWorkingChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY isRecordingChanged)
    Q_PROPERTY(bool isRecovering READ isRecovering NOTIFY isRecoveringChanged)
    Q_PROPERTY(bool isExecuting READ isExecuting NOTIFY isExecutingChanged)
    // 0 idle, 1 start, 100 stop.
    Q_PROPERTY(int jobState READ jobState NOTIFY jobStateChanged)
    Q_PROPERTY(VISCanvas *canvas READ canvas CONSTANT)
    Q_PROPERTY(VISFrameState *frameState READ frameState CONSTANT)
    Q_PROPERTY(VISImageConfig *imageConfig READ imageConfig CONSTANT)
    Q_PROPERTY(QString address READ address NOTIFY addressChanged)
    Q_PROPERTY(int outputWidth READ outputWidth NOTIFY outputChanged)
    Q_PROPERTY(int outputHeight READ outputHeight NOTIFY outputChanged)
    // The last job's result or status (0, a wrapper code, -17 camera lost).
    Q_PROPERTY(int lastError READ lastError NOTIFY lastErrorChanged)
    Q_PROPERTY(QString recordFile READ recordFile NOTIFY recordFileChanged)

public:
    enum Flag { FlagWorking = 1, FlagPaused = 2, FlagRecording = 4, FlagRecovering = 8, FlagExecuting = 16 };
    enum Job { JobIdle = 0, JobStart = 1, JobStop = 100 };

    explicit VISDevice(QObject *parent = nullptr);
    // Stops a working camera first and waits for every job; frees the wrapper's context.
    ~VISDevice() override;

    bool isWorking() const { return (m_flags & FlagWorking) != 0; }
    bool isPaused() const { return (m_flags & FlagPaused) != 0; }
    bool isRecording() const { return (m_flags & FlagRecording) != 0; }
    bool isRecovering() const { return (m_flags & FlagRecovering) != 0; }
    bool isExecuting() const { return (m_flags & FlagExecuting) != 0; }
    int flags() const { return m_flags; }
    int jobState() const { return m_job; }
    VISCanvas *canvas() const { return m_canvas; }
    VISFrameState *frameState() const { return m_frameState; }
    VISImageConfig *imageConfig() const { return m_imageConfig; }
    QString address() const { return m_address; }
    int outputWidth() const { return m_output.width; }
    int outputHeight() const { return m_output.height; }
    int lastError() const { return m_lastError; }
    QString recordFile() const { return m_recordFile; }
    _MVSContext *context() const { return m_ctx; }
    unsigned framesShown() const { return m_framesShown; }
    unsigned framesSkipped() const { return m_framesSkipped.load(); }

    // Camera settings applied after the camera opens and before it grabs, each "Name=Value" for a feature
    // of the wrapper's table (for example "Width=1280", "AcquisitionFrameRate=30"). Unknown names or values
    // that do not parse are refused with -8 and nothing changes.
    Q_INVOKABLE int setStartParams(const QStringList &params);

    // 0 job started; 0 when already working; -7 while a job runs; -8 for an address that is not IPv4.
    Q_INVOKABLE int startWork(const QString &address);
    Q_INVOKABLE int stopWork();
    // No effect: 0 when working, else -7.
    Q_INVOKABLE int pauseWork(bool pause);
    // Raw ".vis" recording to "<name>.vis" (empty name: a date-time name). -7 unless working and not
    // recording; the wrapper's code on failure.
    Q_INVOKABLE int beginSave(const QString &name);
    Q_INVOKABLE int endSave();

    // The wrapper's callbacks (library threads).
    static void onFrame_Static(unsigned char *data, MV_FRAME_OUT_INFO_EX *info, void *bgra, void *user);
    static void onStatus_Static(unsigned int status, void *user);

signals:
    void isWorkingChanged();
    void isPausedChanged();
    void isRecordingChanged();
    void isRecoveringChanged();
    void isExecutingChanged();
    void jobStateChanged();
    void addressChanged();
    void outputChanged();
    void lastErrorChanged();
    void recordFileChanged();
    void qtc_workEnd(int job);
    void startFailed(int errorCode);
    void frameRecved(int errorCode, int slot);

private slots:
    void qtc_onWorkEnd(int job);
    void onFrameRecved(int errorCode, int slot);

private:
    void setFlags(int flags);
    void setJob(int job);
    void setLastError(int code);
    void waitWhileBusy();
    int runStart(const QByteArray &address, MVSOutput *out);
    void clearSlots();
    void runJob(std::function<void()> task);

    // One parsed "Name=Value" start setting, in the form mvsSetValue takes for its kind.
    struct StartParam {
        QByteArray name;
        int kind = 0;
        int64_t i = 0;
        float f = 0;
        uint8_t b = 0;
        uint32_t e = 0;
    };

    _MVSContext *m_ctx = nullptr;
    int m_flags = 0;
    int m_job = JobIdle;
    int m_jobResult = 0;
    int m_lastError = 0;
    VISCanvas *m_canvas = nullptr;
    VISFrameState *m_frameState = nullptr;
    VISImageConfig *m_imageConfig = nullptr;
    QString m_address;
    char m_addressBuf[16] = {};
    MVSOutput m_output{};
    QStringList m_startParams;

    VISFrame m_slots[4];
    std::atomic<uint32_t> m_slotCounter{0};
    std::atomic<unsigned> m_framesSkipped{0};
    unsigned m_framesShown = 0;
    int64_t m_fpsWindowTime = 0;
    int m_fpsWindowCount = 0;
    QString m_recordFile;

    // Whether a job's task still runs on the pool (its end signal may be still on the way): the destructor
    // waits for it.
    std::mutex m_runLock;
    std::condition_variable m_runDone;
    bool m_running = false;
    // What a job hands to the GUI thread at its end.
    std::mutex m_jobLock;
    MVSOutput m_jobOutput{};
    std::vector<StartParam> m_params;  // parsed m_startParams; copied into each start job

    // The grab thread copies each picture into its slot's own buffer (the wrapper reuses its buffer two
    // frames later); the GUI thread copies a pending slot into m_shown, which the canvas draws from.
    std::mutex m_slotLock;
    std::vector<uint32_t> m_slotPixels[4];
    bool m_slotPending[4] = {};
    int m_slotWidth = 0, m_slotHeight = 0;
    std::vector<uint32_t> m_shown;
};
