// The thermal camera of the dual-light tool: login and temperature preview on the thread pool, frames
// from the SDK's receive thread handed to the GUI thread through four slots, the status figures, stream
// recording, snapshots and control commands.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "QelmDevice.h"
#include "SarvikSDK.h"
#include "TempData.h"

class IRCanvas;
class IRFrameState;
class IRImageConfig;

// One frame slot: the pointers into the SDK's frame, which stays intact until 15 further frames arrived.
typedef TempData IRFrame;

class IRDevice : public QelmDevice {
    Q_OBJECT
    Q_PROPERTY(IRCanvas *canvas READ canvas CONSTANT)
    Q_PROPERTY(IRFrameState *frameState READ frameState CONSTANT)
    Q_PROPERTY(IRImageConfig *imageConfig READ imageConfig CONSTANT)
    // The last snapshot (a failed extended control also lands in lastError).
    Q_PROPERTY(QString imageFile READ imageFile NOTIFY imageFileChanged)

public:
    enum { JobControlX = 2 };

    explicit IRDevice(QObject *parent = nullptr);
    // Stops a working device first and waits for every job.
    ~IRDevice() override;

    IRCanvas *canvas() const { return m_canvas; }
    IRFrameState *frameState() const { return m_frameState; }
    IRImageConfig *imageConfig() const { return m_imageConfig; }
    QString imageFile() const { return m_imageFile; }
    int userId() const { return m_userId; }
    int previewHandle() const { return m_previewHandle; }
    int dataWidth() const { return m_dataWidth; }
    int dataHeight() const { return m_dataHeight; }
    // The frame shown now (null when none); GUI thread only.
    const IRFrame *currentFrame() const { return m_current; }
    unsigned framesShown() const { return m_framesShown; }
    // Frames that arrived while all four slots were still waiting for the GUI thread (replaced unseen).
    unsigned framesSkipped() const { return m_framesSkipped.load(); }

    // 0 job started; 0 when already working; -7 while a job runs; -8 for an empty or too long address.
    Q_INVOKABLE int startWork(const QString &address);
    // Waits for a running job (processing events), then stops the preview and logs out on the pool.
    Q_INVOKABLE int stopWork();
    Q_INVOKABLE int pauseWork(bool pause);
    // Type 0 shutter (command 2, 0), 1 (command 2, 1), 2 FFC (command 32), 3 (command 37, parameter 1);
    // -8 for other types; -7 unless working, idle and not recording.
    Q_INVOKABLE int sendControl(int type);
    // Extended control as a job on the pool: 0 sends code 13 (time from this computer / NTP sync). Any
    // other value ends the job with -8. -7 unless working and idle. The executing flag is set while it runs.
    // Returns 0 once the job runs, whatever the type: the job's result (-8 for an unknown type, or the
    // SDK's code) arrives in lastError when the executing flag drops.
    Q_INVOKABLE int sendControlX(int type);
    // Stream recording to "<name>.stream" (name without extension; empty: a date-time name from the save
    // directory). -7 unless working and not recording; the SDK's code on failure.
    Q_INVOKABLE int beginSave(const QString &name);
    Q_INVOKABLE int endSave();
    // Snapshot "<name>.jpg" with temperature tail (empty name: date-time name). -7 without a frame.
    Q_INVOKABLE int saveImage(const QString &name);
    // Image settings to the preview (flag word 2009 and the palette); -7 unless working.
    Q_INVOKABLE int setImageConfig();

    // The synchronous part of sendControl (also used by the joint recording's job on the pool): the
    // control record for a type, sent to a session. 0, -8 for an unknown type, or the SDK's code.
    static int sendControlTo(int userId, int type);

    // The SDK's frame callback (receive thread).
    static void onFrameRecvedSDK_Static(int errorCode, _DataFrame *frame, void *user);

signals:
    void imageFileChanged();
    // Raised on the receive thread; carries the slot index (0..3) or -1 with a status.
    void frameRecved(int errorCode, int slot);

private slots:
    void qtc_onWorkEnd(int job);
    void onFrameRecved(int errorCode, int slot);

private:
    int m_jobResult = 0;
    IRCanvas *m_canvas = nullptr;
    IRFrameState *m_frameState = nullptr;
    IRImageConfig *m_imageConfig = nullptr;
    char m_addressBuf[128] = {};
    int m_userId = -1;
    int m_previewHandle = -1;
    PreviewParam m_previewParam;
    _LoginInfo m_loginInfo;
    _FixInfo m_fixInfo;
    _CameraBasicInfo m_basicInfo;
    int m_dataWidth = 0, m_dataHeight = 0;
    int m_controlXType = 0;
    // What the start job found; taken over on the GUI thread when the job's end arrives.
    int m_startUserId = -1, m_startHandle = -1;

    void runStartJob();
    void updateFrameState(const _DataFrameHeader &header);

    // The receive thread fills a slot and marks it pending under m_slotMutex; the GUI thread takes it out
    // under the same lock, so a slot being refilled is never read half-written.
    IRFrame m_slots[4];
    bool m_slotPending[4] = {};
    uint32_t m_slotSeq[4] = {};
    std::mutex m_slotMutex;
    uint32_t m_lastShownSeq = 0;
    bool m_haveShown = false;
    std::atomic<uint32_t> m_slotCounter{0};
    std::atomic<unsigned> m_framesSkipped{0};
    IRFrame m_shown;
    const IRFrame *m_current = nullptr;
    unsigned m_framesShown = 0;
    int64_t m_fpsWindowTime = 0;
    int m_fpsWindowCount = 0;
    QString m_imageFile;
};
