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

#include "QelmDevice.h"
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

class VISDevice : public QelmDevice {
    Q_OBJECT
    Q_PROPERTY(VISCanvas *canvas READ canvas CONSTANT)
    Q_PROPERTY(VISFrameState *frameState READ frameState CONSTANT)
    Q_PROPERTY(VISImageConfig *imageConfig READ imageConfig CONSTANT)
    Q_PROPERTY(int outputWidth READ outputWidth NOTIFY outputChanged)
    Q_PROPERTY(int outputHeight READ outputHeight NOTIFY outputChanged)

public:

    explicit VISDevice(QObject *parent = nullptr);
    // Stops a working camera first and waits for every job; frees the wrapper's context.
    ~VISDevice() override;

    VISCanvas *canvas() const { return m_canvas; }
    VISFrameState *frameState() const { return m_frameState; }
    VISImageConfig *imageConfig() const { return m_imageConfig; }
    int outputWidth() const { return m_output.width; }
    int outputHeight() const { return m_output.height; }
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
    void outputChanged();
    void frameRecved(int errorCode, int slot);

private slots:
    void qtc_onWorkEnd(int job);
    void onFrameRecved(int errorCode, int slot);

private:
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
    int m_jobResult = 0;
    VISCanvas *m_canvas = nullptr;
    VISFrameState *m_frameState = nullptr;
    VISImageConfig *m_imageConfig = nullptr;
    char m_addressBuf[16] = {};
    MVSOutput m_output{};
    QStringList m_startParams;

    VISFrame m_slots[4];
    std::atomic<uint32_t> m_slotCounter{0};
    std::atomic<unsigned> m_framesSkipped{0};
    unsigned m_framesShown = 0;
    int64_t m_fpsWindowTime = 0;
    int m_fpsWindowCount = 0;

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
    // frames later); the GUI thread copies a pending slot straight into the canvas's picture.
    std::mutex m_slotLock;
    std::vector<uint32_t> m_slotPixels[4];
    bool m_slotPending[4] = {};
    int m_slotWidth = 0, m_slotHeight = 0;
};
