#include "IRDevice.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QThreadPool>

#include <cstring>

#include "IRCanvas.h"
#include "IRFrameState.h"
#include "IRImageConfig.h"
#include "TempCanvasItem.h"
#include "TempSnapshot.h"

Q_LOGGING_CATEGORY(lcIRDevice, "IR/IRDevice")

namespace {

// Control command 37 (its parameter 1 marks the start of a joint recording on the camera).
constexpr uint16_t kCtlRecordMark = 37;
// A job is at most a few SDK calls, each bounded by the SDK's time-outs (the extended control waits up to
// 10 s, a login twice connect plus receive): two minutes in 100 ms slices is well past all of them.
constexpr int kWaitSlices = 1200;

}  // namespace

IRDevice::IRDevice(QObject *parent) : QelmDevice(kWaitSlices, parent) {
    std::memset(&m_previewParam, 0, sizeof(m_previewParam));
    std::memset(&m_loginInfo, 0, sizeof(m_loginInfo));
    std::memset(&m_fixInfo, 0, sizeof(m_fixInfo));
    std::memset(&m_basicInfo, 0, sizeof(m_basicInfo));
    m_canvas = new IRCanvas;
    m_canvas->setParent(this);
    m_frameState = new IRFrameState(this);
    m_imageConfig = new IRImageConfig(this);
    // Automatic connections: queued when emitted on a pool thread or the SDK's receive thread.
    connect(this, &IRDevice::qtc_workEnd, this, &IRDevice::qtc_onWorkEnd);
    connect(this, &IRDevice::frameRecved, this, &IRDevice::onFrameRecved);
}

IRDevice::~IRDevice() {
    // A job still running uses this object: let it end first.
    waitWhileBusy();
    if (isWorking()) {
        stopWork();
        waitWhileBusy();
    }
    if (m_job != JobIdle) qCWarning(lcIRDevice, "destroyed while job %d still runs", m_job);
}

// ---- state ---------------------------------------------------------------------------------------------

// ---- start and stop ------------------------------------------------------------------------------------

int IRDevice::startWork(const QString &address) {
    if (isWorking()) return 0;
    if (m_job != JobIdle) return -7;
    const QByteArray ip = address.toUtf8();
    if (ip.isEmpty() || ip.size() >= static_cast<int>(sizeof(m_addressBuf))) return -8;

    std::memset(m_addressBuf, 0, sizeof(m_addressBuf));
    std::memcpy(m_addressBuf, ip.constData(), static_cast<size_t>(ip.size()));
    std::memset(&m_loginInfo, 0, sizeof(m_loginInfo));
    std::memcpy(m_loginInfo.ip, m_addressBuf, sizeof(m_loginInfo.ip));

    std::memset(&m_previewParam, 0, sizeof(m_previewParam));
    m_previewParam.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    m_previewParam.transType = SARVIK_TRANSPORT_TCP;
    m_previewParam.callback = &IRDevice::onFrameRecvedSDK_Static;
    m_previewParam.user = this;

    {
        // No preview runs now, but stale hand-overs of the last one must not count or show.
        std::lock_guard<std::mutex> lock(m_slotMutex);
        for (int i = 0; i < 4; ++i) {
            m_slots[i] = IRFrame();
            m_slotPending[i] = false;
        }
        m_slotCounter.store(0);
        m_framesSkipped.store(0);
    }
    m_haveShown = false;
    m_lastShownSeq = 0;
    m_current = nullptr;
    m_framesShown = 0;
    m_fpsWindowTime = 0;
    m_fpsWindowCount = 0;
    m_startUserId = -1;
    m_startHandle = -1;

    setAddress(address);
    setJob(JobStart);
    QThreadPool::globalInstance()->start([this]() { runStartJob(); });
    return 0;
}

void IRDevice::runStartJob() {
    qCInfo(lcIRDevice, "EQTCFlags_Start, begin");
    // Login brings the basic record (camera id and data size) along: the snapshot takes its id from it.
    std::memset(&m_basicInfo, 0, sizeof(m_basicInfo));
    const int userId = Sarvik_Login(&m_loginInfo, &m_basicInfo);
    if (userId < 0) {
        m_jobResult = userId;
        emit qtc_workEnd(JobStart);
        return;
    }

    std::memset(&m_fixInfo, 0, sizeof(m_fixInfo));
    const int fix = Sarvik_GetFixInfo(userId, &m_fixInfo);
    if (fix < 0) {
        // Only snapshots carry the record; the preview does not need it.
        qCWarning(lcIRDevice, "Sarvik_GetFixInfo failed, errorCode %d", fix);
        std::memset(&m_fixInfo, 0, sizeof(m_fixInfo));
    }

    const int handle = Sarvik_StartPreview(userId, &m_previewParam);
    if (handle < 0) {
        Sarvik_Logout(userId);
        m_jobResult = handle;
        emit qtc_workEnd(JobStart);
        return;
    }
    m_startUserId = userId;
    m_startHandle = handle;
    m_jobResult = 0;
    emit qtc_workEnd(JobStart);
}

void IRDevice::qtc_onWorkEnd(int job) {
    if (job != m_job) {
        qCWarning(lcIRDevice, "end of job %d while job %d runs", job, m_job);
        return;
    }
    const int result = m_jobResult;
    switch (job) {
        case JobStart:
            qCInfo(lcIRDevice, "EQTCFlags_Start, end");
            if (result < 0) {
                qCWarning(lcIRDevice, "start of %s failed, errorCode %d", qUtf8Printable(address()), result);
                m_userId = -1;
                m_previewHandle = -1;
                m_current = nullptr;
                setLastError(result);
                setFlags(0);
                setAddress(QString());
                setJob(JobIdle);
                emit startFailed(result);
                return;
            }
            m_userId = m_startUserId;
            m_previewHandle = m_startHandle;
            m_dataWidth = m_basicInfo.dataWidth;
            m_dataHeight = m_basicInfo.dataHeight;
            m_canvas->beginUpdate(m_dataWidth, m_dataHeight);
            m_current = nullptr;
            setLastError(0);
            setFlags(FlagWorking);
            setJob(JobIdle);
            setImageConfig();
            break;
        case JobControlX:
            setLastError(result);
            setFlags(m_flags & ~FlagExecuting);
            setJob(JobIdle);
            break;
        case JobStop:
            m_userId = -1;
            m_previewHandle = -1;
            m_current = nullptr;
            setLastError(result);
            setFlags(0);
            setAddress(QString());
            setJob(JobIdle);
            break;
        default:
            break;
    }
}

int IRDevice::stopWork() {
    if (!isWorking() && m_job == JobIdle) return 0;
    // A running job ends first; what it leaves decides whether there is anything to stop.
    waitWhileBusy();
    if (m_job != JobIdle) return -7;
    if (!isWorking()) return 0;

    qCInfo(lcIRDevice, "IR preview ended: frames shown %u, skipped %u", m_framesShown, m_framesSkipped.load());
    setFlags(m_flags & ~FlagWorking);
    m_canvas->endUpdate();
    m_current = nullptr;
    m_frameState->reset();

    const bool recording = isRecording();
    const int handle = m_previewHandle;
    const int userId = m_userId;
    setJob(JobStop);
    QThreadPool::globalInstance()->start([this, recording, handle, userId]() {
        if (recording) Sarvik_EndSave(handle, SARVIK_SAVE_STREAM);
        Sarvik_StopPreview(handle);
        Sarvik_Logout(userId);
        m_jobResult = 0;
        emit qtc_workEnd(JobStop);
    });
    return 0;
}

// ---- operations ----------------------------------------------------------------------------------------

int IRDevice::pauseWork(bool pause) {
    if (!isWorking()) return -7;
    const int r = Sarvik_PausePreview(m_previewHandle, pause ? 1 : 0);
    if (r != 0) return r;
    setFlags(pause ? (m_flags | FlagPaused) : (m_flags & ~FlagPaused));
    // The pause would otherwise count as frame time in the window that spans it.
    m_fpsWindowTime = 0;
    m_fpsWindowCount = 0;
    return 0;
}

int IRDevice::sendControlTo(int userId, int type) {
    _Ctl ctl;
    std::memset(&ctl, 0, sizeof(ctl));
    switch (type) {
        case 0:
            ctl.command = SARVIK_CTL_SHUTTER;
            ctl.param[0] = SARVIK_SHUTTER_OPEN;
            break;
        case 1:
            ctl.command = SARVIK_CTL_SHUTTER;
            ctl.param[0] = SARVIK_SHUTTER_CLOSE;
            break;
        case 2:
            ctl.command = SARVIK_CTL_FFC;
            break;
        case 3:
            ctl.command = kCtlRecordMark;
            ctl.param[0] = 1;
            break;
        default:
            return -8;
    }
    return Sarvik_SendControl(userId, &ctl);
}

int IRDevice::sendControl(int type) {
    if (type < 0 || type > 3) return -8;
    if (!isWorking() || m_job != JobIdle || isRecording()) return -7;
    const int r = sendControlTo(m_userId, type);
    if (r != 0) qCWarning(lcIRDevice, "control %d failed, errorCode %d", type, r);
    return r;
}

int IRDevice::sendControlX(int type) {
    if (!isWorking() || m_job != JobIdle) return -7;
    // The type is judged inside the job: an unknown one ends it with -8, which the views read from
    // lastError like any other result of the job.
    m_controlXType = type;
    const int userId = m_userId;
    setFlags(m_flags | FlagExecuting);
    setJob(JobControlX);
    QThreadPool::globalInstance()->start([this, userId, type]() {
        int r = -8;
        if (type == 0) {
            _CtlX ctl;
            std::memset(&ctl, 0, sizeof(ctl));
            ctl.command = SARVIK_CTLX_SYNC_NTP;
            r = Sarvik_SendControlX(userId, &ctl);
        }
        if (r != 0) qCWarning(lcIRDevice, "extended control %d failed, errorCode %d", type, r);
        m_jobResult = r;
        emit qtc_workEnd(JobControlX);
    });
    return 0;
}

int IRDevice::beginSave(const QString &name) {
    if (!isWorking() || isRecording()) return -7;
    const QByteArray path = outputPath(name, ".stream");
    const int r = Sarvik_BeginSave(m_previewHandle, path.constData(), SARVIK_SAVE_STREAM);
    if (r != 0) {
        qCWarning(lcIRDevice, "recording to %s failed, errorCode %d", path.constData(), r);
        return r;
    }
    setRecordFile(QFile::decodeName(path));
    setFlags(m_flags | FlagRecording);
    return 0;
}

int IRDevice::endSave() {
    // While the stop job runs the working flag is already off; that job ends the recording itself.
    if (!isWorking() || !isRecording()) return -7;
    const int r = Sarvik_EndSave(m_previewHandle, SARVIK_SAVE_STREAM);
    if (r != 0) {
        qCWarning(lcIRDevice, "end of recording failed, errorCode %d", r);
        return r;
    }
    setFlags(m_flags & ~FlagRecording);
    return 0;
}

int IRDevice::saveImage(const QString &name) {
    if (!isWorking() || !m_current || !m_shown.header) return -7;
    QByteArray bytes;
    const int r = TempSnapshot::build(m_shown, m_shown.header->width, m_shown.header->height, m_basicInfo,
                                      m_fixInfo, &bytes);
    if (r != 0) return r;
    const QByteArray path = outputPath(name, ".jpg");
    const int w = TempSnapshot::write(path, bytes);
    if (w != 0) {
        qCWarning(lcIRDevice, "snapshot to %s failed, errorCode %d", path.constData(), w);
        return w;
    }
    const QString file = QFile::decodeName(path);
    if (m_imageFile != file) {
        m_imageFile = file;
        emit imageFileChanged();
    }
    return 0;
}

int IRDevice::setImageConfig() {
    if (!isWorking()) return -7;
    m_imageConfig->cls2bin();
    _strech_control record = m_imageConfig->bin();
    record.flags = SARVIK_STRECH_ALL;
    return Sarvik_PreviewSetImage(m_previewHandle, &record, m_imageConfig->paletteType());
}

// ---- frame path ----------------------------------------------------------------------------------------

void IRDevice::onFrameRecvedSDK_Static(int errorCode, _DataFrame *frame, void *user) {
    auto *device = static_cast<IRDevice *>(user);
    if (!device) return;
    if (errorCode != 0) {
        emit device->frameRecved(errorCode, -1);
        return;
    }
    if (!frame || !frame->header) return;
    int slot;
    bool wasPending;
    {
        std::lock_guard<std::mutex> lock(device->m_slotMutex);
        const uint32_t seq = device->m_slotCounter.fetch_add(1, std::memory_order_relaxed);
        slot = static_cast<int>(seq % 4);
        wasPending = device->m_slotPending[slot];
        // The GUI thread has not taken the slot's frame yet: it is replaced unseen.
        if (wasPending) device->m_framesSkipped.fetch_add(1, std::memory_order_relaxed);
        device->m_slots[slot].header = frame->header;
        device->m_slots[slot].temp = frame->data;
        device->m_slots[slot].image = frame->image;
        device->m_slotSeq[slot] = seq;
        device->m_slotPending[slot] = true;
    }
    // A pending slot already has its call queued, which takes the newer frame: at most four calls wait.
    if (!wasPending) emit device->frameRecved(0, slot);
}

void IRDevice::onFrameRecved(int errorCode, int slot) {
    if (errorCode != 0) {
        if (!isWorking()) return;
        if (errorCode == -17) {
            qCWarning(lcIRDevice, "errorCode %d: connection lost, reconnecting", errorCode);
            setLastError(errorCode);
            setFlags(m_flags | FlagRecovering);
        } else if (errorCode == -18) {
            qCInfo(lcIRDevice, "errorCode %d: connection restored", errorCode);
            setFlags(m_flags & ~FlagRecovering);
        } else {
            qCWarning(lcIRDevice, "errorCode %d", errorCode);
        }
        return;
    }
    if (slot < 0 || slot > 3) return;
    IRFrame frame;
    uint32_t seq;
    {
        std::lock_guard<std::mutex> lock(m_slotMutex);
        if (!m_slotPending[slot]) return;
        m_slotPending[slot] = false;
        frame = m_slots[slot];
        seq = m_slotSeq[slot];
    }
    if (!isWorking() || !frame.header) return;
    // A refilled slot may be taken before older ones still waiting: never show time running backwards.
    if (m_haveShown && static_cast<int32_t>(seq - m_lastShownSeq) <= 0) {
        m_framesSkipped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    // The canvas measures with the announced size: a frame of another size would overrun it.
    if (frame.header->width != m_dataWidth || frame.header->height != m_dataHeight) {
        qCWarning(lcIRDevice, "frame of %dx%d on a %dx%d preview dropped", frame.header->width,
                  frame.header->height, m_dataWidth, m_dataHeight);
        return;
    }
    m_haveShown = true;
    m_lastShownSeq = seq;
    // The canvas keeps a pointer to m_shown: it changes only here, on the GUI thread.
    m_shown = frame;
    if (m_canvas->updateData(&m_shown) != 0) return;
    m_current = &m_shown;
    ++m_framesShown;
    updateFrameState(*m_shown.header);
}

void IRDevice::updateFrameState(const _DataFrameHeader &h) {
    m_frameState->set_fpaTemp(h.fpaTemp / 1000.0f);
    m_frameState->set_shellTemp(h.shellTemp / 1000.0f);
    m_frameState->set_shellTempHW(h.shellTempHW / 1000.0f);
    m_frameState->set_gpioInput(h.gpioInput);
    if (TempCanvasItemBase *global = m_canvas->itemGlobal()) {
        m_frameState->set_maxTemp(global->maxTemp());
        m_frameState->set_avgTemp(global->avgTemp());
        m_frameState->set_minTemp(global->minTemp());
    }
    float fps = m_frameState->fps();
    if (tempFrameRateStep(&m_fpsWindowTime, &m_fpsWindowCount, h.timestamp, &fps)) m_frameState->set_fps(fps);
}
