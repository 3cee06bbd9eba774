// The single live camera session of the tool: login and temperature preview on the thread pool, every
// frame handed from the SDK's receive thread to the GUI thread, measurement, status figures, chart,
// pause, recording, snapshots, control commands and the lens gear.
#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>

#include "SarvikSDK.h"
#include "TempData.h"

class CDeviceNode;
class TCSeriesBase;
class TempCanvas;
class TempChart;
class TempDataState;
class TempImageConfig;

class CDevice : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isWorking READ isWorking NOTIFY isWorkingChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY isRecordingChanged)
    Q_PROPERTY(bool isRecovering READ isRecovering NOTIFY isRecoveringChanged)
    // 0 idle, 1 starting, 100 stopping.
    Q_PROPERTY(int workState READ workState NOTIFY workStateChanged)
    Q_PROPERTY(TempCanvas *canvas READ canvas CONSTANT)
    Q_PROPERTY(TempImageConfig *imageConfig READ imageConfig CONSTANT)
    Q_PROPERTY(TempDataState *dataState READ dataState CONSTANT)
    Q_PROPERTY(TempChart *chart READ chart CONSTANT)
    Q_PROPERTY(bool gearEnable READ gearEnable NOTIFY gearEnableChanged)
    Q_PROPERTY(int gearLevel READ gearLevel WRITE set_gearLevel NOTIFY gearLevelChanged)
    // Address of the camera being previewed (empty when idle).
    Q_PROPERTY(QString deviceIp READ deviceIp NOTIFY deviceIpChanged)
    // Frames the GUI thread did not get to because a newer one had arrived first, since the start.
    Q_PROPERTY(int skippedFrames READ skippedFrames NOTIFY skippedFramesChanged)

public:
    enum Flag { FlagWorking = 1, FlagPaused = 2, FlagRecording = 4, FlagRecovering = 8 };
    enum WorkState { WorkIdle = 0, WorkStarting = 1, WorkStopping = 100 };

    explicit CDevice(QObject *parent = nullptr);
    // Stops a working device first (waiting for it), then frees the NETD object.
    ~CDevice() override;

    // Once, from CDeviceManager::init: the chart series "FPA", "Shell" and "ShellHW".
    void init();

    bool isWorking() const { return (m_deviceFlags & FlagWorking) != 0; }
    bool isPaused() const { return (m_deviceFlags & FlagPaused) != 0; }
    bool isRecording() const { return (m_deviceFlags & FlagRecording) != 0; }
    bool isRecovering() const { return (m_deviceFlags & FlagRecovering) != 0; }
    int deviceFlags() const { return m_deviceFlags; }
    int workState() const { return m_workState; }
    TempCanvas *canvas() const { return m_canvas; }
    TempImageConfig *imageConfig() const { return m_imageConfig; }
    TempDataState *dataState() const { return m_dataState; }
    TempChart *chart() const { return m_chart; }
    bool gearEnable() const { return m_gearEnable; }
    int gearLevel() const { return m_gearLevel; }
    void set_gearLevel(int level);
    QString deviceIp() const { return m_deviceIp; }
    int skippedFrames() const { return m_skippedFrames; }
    int userId() const { return m_userId; }
    int previewHandle() const { return m_previewHandle; }
    int dataWidth() const { return m_dataWidth; }
    int dataHeight() const { return m_dataHeight; }
    const _CameraBasicInfo &basicInfo() const { return m_basicInfo; }
    // The frame shown now (null when none); GUI thread only.
    const TempData *currentFrame() const { return m_currentFrame; }

    // Invokables: 0 success, -7 wrong state, -8 unknown argument, negative SDK codes passed through.
    Q_INVOKABLE int startWork(CDeviceNode *node);
    Q_INVOKABLE int stopWork();
    Q_INVOKABLE int pauseWork(bool pause);
    Q_INVOKABLE int beginSave(const QString &unused, int kind);
    Q_INVOKABLE int endSave(int kind);
    Q_INVOKABLE int saveImage(const QString &unused);
    Q_INVOKABLE int sendControl(int type);
    Q_INVOKABLE int setImageConfig();

    // The snapshot file as bytes: JPEG of the BGRA image (whole, however long) followed by the temperature
    // tail of 2 x (W x H + 8342) bytes. 0 on success, -5 out of memory, -8 no header or samples. Exposed for
    // the snapshot writer and its checks. (saveImage writes it to getfn(".jpg"): -200 when the file cannot
    // be created, -197 on a short write, which removes the cut file.)
    static int buildSnapshot(const TempData &frame, int width, int height, const _CameraBasicInfo &basic,
                             const _FixInfo &fix, QByteArray *out);
    // The same with a JPEG quality of 0..100 (-1: the encoder's default, as snapshots use).
    static int buildSnapshot(const TempData &frame, int width, int height, const _CameraBasicInfo &basic,
                             const _FixInfo &fix, QByteArray *out, int jpegQuality);

    // The SDK's frame callback (receive thread).
    static void onFrameRecvedSDK_Static(int errorCode, _DataFrame *frame, void *user);

    // One step of the 50-frame rate window: the first stamp opens the window (windowTime 0 = none); the
    // 50th frame after it sets *fps = 500 000 000 / (stamp - windowTime) and reopens the window there. A
    // window whose stamps are equal (or run backwards) keeps *fps. True when *fps was set.
    static bool frameRateStep(int64_t *windowTime, int *windowCount, int64_t stamp, float *fps);

    // Measurement and test hooks (not used by the views).
    // Frames handed to the canvas and GUI-thread nanoseconds spent in onFrameRecved since the start.
    unsigned framesShown() const { return m_framesShown; }
    qint64 guiNsecs() const { return m_guiNsecs; }
    // The file the last successful beginSave or saveImage wrote (empty before).
    QString lastSavedFile() const { return m_lastSavedFile; }
    // The chart feed: its series (FPA, Shell, ShellHW), its sample counter, a reset as at start, and one
    // sample as a frame with this header would take it.
    const QList<TCSeriesBase *> &chartSeries() const { return m_series; }
    unsigned chartCounter() const { return m_chartCounter; }
    void chartReset() { chartBeginUpdate(); }
    void chartFeed(const _DataFrameHeader &header) { chartUpdate(header); }

signals:
    void isWorkingChanged();
    void isPausedChanged();
    void isRecordingChanged();
    void isRecoveringChanged();
    void workStateChanged();
    void gearEnableChanged();
    void gearLevelChanged();
    void deviceIpChanged();
    void skippedFramesChanged();
    // A start that failed on the pool (login or preview start): the SDK's code; the device is idle again.
    void startFailed(int errorCode);
    void qtc_workEnd(int flags);
    // Raised on the receive thread when a frame is waiting; at most one is pending at any time.
    void frameRecved(int errorCode);

private slots:
    void qtc_onWorkEnd(int flags);
    void onFrameRecved(int errorCode);

private:
    static void onFrameRecved_Static(int errorCode, TempData *slot, CDevice *device);
    void setDeviceFlags(int flags);
    void setWorkState(int state);
    void setGear(bool enable, int level);
    void setDeviceIp(const QString &ip);
    // Runs the event loop in slices of at most 100 ms while a start or stop task runs.
    void waitWhileBusy();
    // "preview ended: ..." with the frame counts and the GUI time per frame.
    void logPreviewEnd();
    void updateDataState(const TempData &data);
    void chartBeginUpdate();
    void chartUpdate(const _DataFrameHeader &header);
    void chartEndUpdate();
    void runStartTask();
    void runStopTask();

    int m_deviceFlags = 0;
    int m_workState = WorkIdle;
    TempCanvas *m_canvas = nullptr;
    TempImageConfig *m_imageConfig = nullptr;
    TempDataState *m_dataState = nullptr;
    TempChart *m_chart = nullptr;
    QList<TCSeriesBase *> m_series;  // FPA, Shell, ShellHW; owned by the chart
    int64_t m_chartLastTime = 0;
    unsigned m_chartCounter = 0;

    int m_userId = -1;
    int m_previewHandle = -1;
    _LoginInfo m_loginInfo;
    PreviewParam m_previewParam;
    _CameraBasicInfo m_basicInfo;
    _FixInfo m_fixInfo;
    int m_dataWidth = 0;
    int m_dataHeight = 0;
    QString m_deviceIp;

    // Receive thread only.
    TempData m_ring[4];
    uint32_t m_ringCounter = 0;

    // Hand-over to the GUI thread: the newest frame waits here; older ones it replaces are counted.
    QMutex m_handMutex;
    TempData m_handFrame;
    int m_handError = 0;
    bool m_handPending = false;
    std::atomic<int> m_handSkipped{0};

    TempData m_shown;                      // GUI thread's copy of the frame on screen
    const TempData *m_currentFrame = nullptr;
    int m_skippedFrames = 0;

    int64_t m_fpsWindowTime = 0;
    int m_fpsWindowCount = 0;

    void *m_netd = nullptr;
    bool m_gearEnable = false;
    int m_gearLevel = 0;
    // Written by the start task, applied (with signals) on the GUI thread when its end arrives.
    bool m_startGearEnable = false;
    int m_startGearLevel = 0;

    unsigned m_framesShown = 0;
    qint64 m_guiNsecs = 0;
    QString m_lastSavedFile;
};
