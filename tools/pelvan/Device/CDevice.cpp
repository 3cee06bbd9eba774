#include "CDevice.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLoggingCategory>
#include <QThreadPool>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "AppStatic.h"
#include "CApp.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "CDeviceNode.h"
#include "TCSeriesBase.h"
#include "TempCanvas.h"
#include "TempCanvasItem.h"
#include "TempChart.h"
#include "TempDataState.h"
#include "TempImageConfig.h"
#include "TempSnapshot.h"
#include "zq_time.h"

Q_LOGGING_CATEGORY(lcDevice, "Device/CDevice")

namespace {

constexpr unsigned kChartCounterLimit = 10000;

int configuredTransType() {
    if (AppStatic::app && AppStatic::app->configManager())
        return AppStatic::app->configManager()->config()->transType() == 1 ? SARVIK_TRANSPORT_UDP
                                                                           : SARVIK_TRANSPORT_TCP;
    return SARVIK_TRANSPORT_TCP;
}

}  // namespace

CDevice::CDevice(QObject *parent) : QObject(parent) {
    std::memset(&m_loginInfo, 0, sizeof(m_loginInfo));
    std::memset(&m_previewParam, 0, sizeof(m_previewParam));
    std::memset(&m_basicInfo, 0, sizeof(m_basicInfo));
    std::memset(&m_fixInfo, 0, sizeof(m_fixInfo));
    m_canvas = new TempCanvas;
    m_canvas->setParent(this);
    m_imageConfig = new TempImageConfig(this);
    m_dataState = new TempDataState(this);
    m_chart = new TempChart;
    m_chart->setParent(this);
    m_netd = NETD_Create();
    // Automatic connections: queued when emitted on a pool thread or the SDK's receive thread.
    connect(this, &CDevice::qtc_workEnd, this, &CDevice::qtc_onWorkEnd);
    connect(this, &CDevice::frameRecved, this, &CDevice::onFrameRecved);
}

CDevice::~CDevice() {
    // A start or stop task still running uses this object: let it end first.
    waitWhileBusy();
    if (isWorking()) {
        stopWork();
        waitWhileBusy();
    }
    NETD_Free(&m_netd);
}

void CDevice::init() {
    if (!m_series.isEmpty()) return;
    struct {
        const char *name;
        QRgb color;
    } const defs[] = {{"FPA", 0xFF0000}, {"Shell", 0x00FF00}, {"ShellHW", 0x00FFFF}};
    for (const auto &d : defs) {
        auto *s = new TCSeriesBase(m_chart);
        s->setSeriesName(QString::fromLatin1(d.name));
        s->setSeriesColor(QColor::fromRgb(d.color));
        s->setFifoSize(AppStatic::chart_fifoSize);
        m_series.append(s);
    }
    m_chart->config()->setFifoSize(AppStatic::chart_fifoSize);
    for (TCSeriesBase *s : m_series) m_chart->series_create(s);
}

// ---- state ---------------------------------------------------------------------------------------------

void CDevice::setDeviceFlags(int flags) {
    const int old = m_deviceFlags;
    if (old == flags) return;
    m_deviceFlags = flags;
    const int changed = old ^ flags;
    if (changed & FlagWorking) emit isWorkingChanged();
    if (changed & FlagPaused) emit isPausedChanged();
    if (changed & FlagRecording) emit isRecordingChanged();
    if (changed & FlagRecovering) emit isRecoveringChanged();
}

void CDevice::setWorkState(int state) {
    if (m_workState == state) return;
    m_workState = state;
    emit workStateChanged();
}

void CDevice::setGear(bool enable, int level) {
    if (m_gearEnable != enable) {
        m_gearEnable = enable;
        emit gearEnableChanged();
    }
    if (m_gearLevel != level) {
        m_gearLevel = level;
        emit gearLevelChanged();
    }
}

void CDevice::setDeviceIp(const QString &ip) {
    if (m_deviceIp == ip) return;
    m_deviceIp = ip;
    emit deviceIpChanged();
}

void CDevice::waitWhileBusy() {
    if (m_workState == WorkIdle || !QCoreApplication::instance()) return;
    // The task's end arrives as a queued signal: the event loop must run for it. Slices of at most 100 ms
    // keep the window alive without spinning.
    while (m_workState != WorkIdle) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        connect(this, &CDevice::workStateChanged, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// ---- start and stop ------------------------------------------------------------------------------------

int CDevice::startWork(CDeviceNode *node) {
    if (isWorking()) return 0;
    if (m_workState != WorkIdle) return -7;
    if (!node) return -8;

    std::memset(&m_loginInfo, 0, sizeof(m_loginInfo));
    const QByteArray ip = node->deviceIp().toUtf8();
    std::memcpy(m_loginInfo.ip, ip.constData(), std::min<size_t>(ip.size(), sizeof(m_loginInfo.ip) - 1));

    std::memset(&m_previewParam, 0, sizeof(m_previewParam));
    m_previewParam.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    m_previewParam.transType = static_cast<uint8_t>(configuredTransType());
    m_previewParam.callback = &CDevice::onFrameRecvedSDK_Static;
    m_previewParam.user = this;

    m_fpsWindowTime = 0;
    m_fpsWindowCount = 0;
    {
        QMutexLocker lock(&m_handMutex);
        m_handPending = false;
        m_handError = 0;
        m_handFrame = TempData();
        m_handSkipped.store(0);
    }
    m_ringCounter = 0;
    if (m_skippedFrames != 0) {
        m_skippedFrames = 0;
        emit skippedFramesChanged();
    }
    m_framesShown = 0;
    m_guiNsecs = 0;

    setDeviceIp(node->deviceIp());
    setWorkState(WorkStarting);
    QThreadPool::globalInstance()->start([this]() { runStartTask(); });
    return 0;
}

void CDevice::runStartTask() {
    std::memset(&m_basicInfo, 0, sizeof(m_basicInfo));
    const int userId = Sarvik_Login(&m_loginInfo, &m_basicInfo);
    if (userId < 0) {
        m_startGearEnable = false;
        m_startGearLevel = 0;
        emit qtc_workEnd(userId);
        return;
    }
    m_userId = userId;

    if (AppStatic::debug_netdEnable && m_netd) {
        NetdConfig config;
        std::memset(&config, 0, sizeof(config));
        config.width = m_basicInfo.dataWidth;
        config.height = m_basicInfo.dataHeight;
        config.frameCount = static_cast<uint16_t>(AppStatic::debug_netdFrameCount);
        config.calcInterval = static_cast<uint16_t>(AppStatic::debug_netdCalcInterval);
        NETD_SetConfig(m_netd, &config);
    }

    // Cameras with a motorised lens say so in their firmware text.
    char software[sizeof(m_basicInfo.softwareId) + 1];
    std::memcpy(software, m_basicInfo.softwareId, sizeof(m_basicInfo.softwareId));
    software[sizeof(m_basicInfo.softwareId)] = 0;
    if (std::strstr(software, "GS") || std::strstr(software, "GW")) {
        _CtlX ctl;
        std::memset(&ctl, 0, sizeof(ctl));
        ctl.command = SARVIK_CTLX_GET_GEAR;
        const int r = Sarvik_SendControlX(userId, &ctl);
        m_startGearEnable = true;
        m_startGearLevel = r == 0 ? ctl.data[0] : 0;
    } else {
        m_startGearEnable = false;
        m_startGearLevel = 0;
    }

    std::memset(&m_fixInfo, 0, sizeof(m_fixInfo));
    Sarvik_GetFixInfo(userId, &m_fixInfo);

    const int handle = Sarvik_StartPreview(userId, &m_previewParam);
    if (handle < 0) {
        Sarvik_Logout(userId);
        m_userId = -1;
        emit qtc_workEnd(handle);
        return;
    }
    m_previewHandle = handle;
    m_dataWidth = m_basicInfo.dataWidth;
    m_dataHeight = m_basicInfo.dataHeight;
    emit qtc_workEnd(FlagWorking);
}

void CDevice::qtc_onWorkEnd(int flags) {
    if (m_workState == WorkStarting) {
        setGear(m_startGearEnable, m_startGearLevel);
        if (flags < 0) {
            // Login or preview start refused: back to idle, so the next start is allowed.
            qCWarning(lcDevice, "start of %s failed, errorCode %d", qUtf8Printable(m_deviceIp), flags);
            m_userId = -1;
            m_previewHandle = -1;
            m_currentFrame = nullptr;
            setDeviceFlags(0);
            setDeviceIp(QString());
            setWorkState(WorkIdle);
            emit startFailed(flags);
            return;
        }
        if (flags & FlagWorking) {
            m_canvas->beginUpdate(m_dataWidth, m_dataHeight);
            chartBeginUpdate();
        }
        m_currentFrame = nullptr;
        setDeviceFlags(flags);
        setWorkState(WorkIdle);
        setImageConfig();
    } else if (m_workState == WorkStopping) {
        m_currentFrame = nullptr;
        setDeviceFlags(0);
        setDeviceIp(QString());
        setGear(false, 0);
        setWorkState(WorkIdle);
    }
}

int CDevice::stopWork() {
    if (!isWorking() && m_workState == WorkIdle) return 0;
    // A start still running ends first; what it leaves decides whether there is anything to stop.
    waitWhileBusy();
    if (!isWorking() || m_workState != WorkIdle) return 0;

    logPreviewEnd();
    setDeviceFlags(m_deviceFlags & ~FlagWorking);
    m_canvas->endUpdate();
    m_currentFrame = nullptr;
    m_dataState->reset();
    chartEndUpdate();
    setWorkState(WorkStopping);
    QThreadPool::globalInstance()->start([this]() { runStopTask(); });
    return 0;
}

void CDevice::runStopTask() {
    Sarvik_StopPreview(m_previewHandle);
    m_previewHandle = -1;
    Sarvik_Logout(m_userId);
    m_userId = -1;
    emit qtc_workEnd(0);
}

void CDevice::logPreviewEnd() {
    const int skipped = m_handSkipped.load();
    const double perFrame = m_framesShown ? static_cast<double>(m_guiNsecs) / m_framesShown / 1e6 : 0.0;
    qInfo("preview ended: frames shown %u, skipped %u, GUI time per frame %.3f ms", m_framesShown,
          static_cast<unsigned>(skipped), perFrame);
}

// ---- operations ----------------------------------------------------------------------------------------

int CDevice::pauseWork(bool pause) {
    if (!isWorking() || m_workState != WorkIdle) return -7;
    const int r = Sarvik_PausePreview(m_previewHandle, pause ? 1 : 0);
    if (r != 0) return r;
    setDeviceFlags(pause ? (m_deviceFlags | FlagPaused) : (m_deviceFlags & ~FlagPaused));
    // The pause would otherwise count as frame time in the window that spans it.
    m_fpsWindowTime = 0;
    m_fpsWindowCount = 0;
    return 0;
}

int CDevice::beginSave(const QString &, int kind) {
    if (!isWorking() || m_workState != WorkIdle || isRecording()) return -7;
    const QString path = QString::fromUtf8(AppStatic::getfn(".stream"));
    const int r = Sarvik_BeginSave(m_previewHandle, path.toUtf8().constData(), kind);
    if (r != 0) return r;
    m_lastSavedFile = path;
    setDeviceFlags(m_deviceFlags | FlagRecording);
    return 0;
}

int CDevice::endSave(int kind) {
    if (!isWorking() || m_workState != WorkIdle || !isRecording()) return -7;
    const int r = Sarvik_EndSave(m_previewHandle, kind);
    if (r == 0) setDeviceFlags(m_deviceFlags & ~FlagRecording);
    return r;
}

int CDevice::sendControl(int type) {
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
            ctl.command = SARVIK_CTL_RESTART;
            break;
        default:
            return -8;
    }
    if (!isWorking() || m_workState != WorkIdle || isRecording()) return -7;
    return Sarvik_SendControl(m_userId, &ctl);
}

int CDevice::setImageConfig() {
    if (!isWorking() || m_workState != WorkIdle) return -7;
    m_imageConfig->cls2bin();
    _strech_control record = m_imageConfig->bin();
    record.flags = SARVIK_STRECH_ALL;
    return Sarvik_PreviewSetImage(m_previewHandle, &record, m_imageConfig->paletteType());
}

void CDevice::set_gearLevel(int level) {
    if (!isWorking() || m_workState != WorkIdle || level == m_gearLevel) return;
    _CtlX ctl;
    std::memset(&ctl, 0, sizeof(ctl));
    ctl.command = SARVIK_CTLX_SET_GEAR;
    ctl.data[0] = level;
    const int r = Sarvik_SendControlX(m_userId, &ctl);
    if (r == 0) {
        // The answer tells where the lens is: the level asked for, or where it stayed.
        m_gearLevel = ctl.data[0];
    } else {
        qCWarning(lcDevice, "gear level %d refused, errorCode %d", level, r);
    }
    // Also on failure, so a view that offered the new level shows the one in force again.
    emit gearLevelChanged();
}

// ---- snapshot ------------------------------------------------------------------------------------------

int CDevice::buildSnapshot(const TempData &frame, int width, int height, const _CameraBasicInfo &basic,
                           const _FixInfo &fix, QByteArray *out) {
    return buildSnapshot(frame, width, height, basic, fix, out, -1);
}

int CDevice::buildSnapshot(const TempData &frame, int width, int height, const _CameraBasicInfo &basic,
                           const _FixInfo &fix, QByteArray *out, int jpegQuality) {
    return TempSnapshot::build(frame, width, height, basic, fix, out, jpegQuality);
}

int CDevice::saveImage(const QString &) {
    if (!isWorking() || m_workState != WorkIdle || !m_currentFrame || !m_shown.header) return -7;
    QByteArray bytes;
    const int r = buildSnapshot(m_shown, m_shown.header->width, m_shown.header->height, m_basicInfo,
                                m_fixInfo, &bytes);
    if (r != 0) return r;

    const QByteArray path(AppStatic::getfn(".jpg"));
    const int w = TempSnapshot::write(path, bytes);
    if (w != 0) return w;
    m_lastSavedFile = QString::fromUtf8(path);
    return 0;
}

// ---- frame path ----------------------------------------------------------------------------------------

void CDevice::onFrameRecvedSDK_Static(int errorCode, _DataFrame *frame, void *user) {
    auto *device = static_cast<CDevice *>(user);
    if (!device) return;
    TempData *slot = nullptr;
    if (errorCode == 0 && frame) {
        slot = &device->m_ring[device->m_ringCounter % 4];
        ++device->m_ringCounter;
        slot->header = frame->header;
        slot->temp = frame->data;
        slot->image = frame->image;
    }
    onFrameRecved_Static(errorCode, slot, device);
}

void CDevice::onFrameRecved_Static(int errorCode, TempData *slot, CDevice *device) {
    if (errorCode == 0 && !slot) return;
    if (errorCode == 0 && AppStatic::debug_netdEnable && device->m_netd && slot->header && slot->temp)
        NETD_Execute(device->m_netd, slot->header, slot->temp, &slot->header->netd);

    bool wasPending;
    {
        QMutexLocker lock(&device->m_handMutex);
        wasPending = device->m_handPending || device->m_handError != 0;
        if (errorCode == 0) {
            // Newest frame wins: the one still waiting is dropped and counted.
            if (device->m_handPending) device->m_handSkipped.fetch_add(1, std::memory_order_relaxed);
            device->m_handFrame = *slot;
            device->m_handPending = true;
        } else {
            device->m_handError = errorCode;
        }
    }
    // At most one queued call at any time: the GUI thread takes whatever is waiting when it runs.
    if (!wasPending) emit device->frameRecved(errorCode);
}

void CDevice::onFrameRecved(int) {
    QElapsedTimer timer;
    timer.start();
    TempData frame;
    bool haveFrame;
    int errorCode;
    {
        QMutexLocker lock(&m_handMutex);
        haveFrame = m_handPending;
        frame = m_handFrame;
        errorCode = m_handError;
        m_handPending = false;
        m_handError = 0;
    }
    if (!isWorking()) return;
    if (errorCode != 0) qCDebug(lcDevice, "errorCode %d", errorCode);
    if (haveFrame && frame.header) {
        m_shown = frame;
        m_canvas->updateData(&m_shown);
        m_currentFrame = &m_shown;
        updateDataState(m_shown);
        chartUpdate(*m_shown.header);
        ++m_framesShown;
    }
    const int skipped = m_handSkipped.load(std::memory_order_relaxed);
    if (skipped != m_skippedFrames) {
        m_skippedFrames = skipped;
        emit skippedFramesChanged();
    }
    m_guiNsecs += timer.nsecsElapsed();
}

bool CDevice::frameRateStep(int64_t *windowTime, int *windowCount, int64_t stamp, float *fps) {
    return tempFrameRateStep(windowTime, windowCount, stamp, fps);
}

void CDevice::updateDataState(const TempData &data) {
    const _DataFrameHeader &h = *data.header;
    m_dataState->setData(h);
    if (TempCanvasItemBase *global = m_canvas->itemGlobal()) {
        m_dataState->set_maxTemp(global->maxTemp());
        m_dataState->set_avgTemp(global->avgTemp());
        m_dataState->set_minTemp(global->minTemp());
    }
    if (AppStatic::debug_netdEnable) {
        m_dataState->set_netd(h.netd);
        m_dataState->set_sstd(h.sstd);
    }
    float fps = m_dataState->fps();
    if (frameRateStep(&m_fpsWindowTime, &m_fpsWindowCount, h.timestamp, &fps)) m_dataState->set_fps(fps);
}

// ---- chart ---------------------------------------------------------------------------------------------

void CDevice::chartBeginUpdate() {
    m_chartLastTime = 0;
    m_chartCounter = 0;
    for (TCSeriesBase *s : m_series) s->setFifoSize(AppStatic::chart_fifoSize);
    m_chart->config()->setFifoSize(AppStatic::chart_fifoSize);
    m_chart->setMode(TCConfig::Mode_Auto, TCConfig::Mode_Auto);
}

void CDevice::chartUpdate(const _DataFrameHeader &header) {
    const int64_t gap = header.timestamp - m_chartLastTime;
    if ((gap < 0 ? -gap : gap) < AppStatic::chart_updateInterval) return;
    m_chartLastTime = header.timestamp;
    const double x = m_chartCounter++;
    if (m_series.size() >= 3) {
        m_series[0]->append(x, header.fpaTemp / 1000.0);
        m_series[1]->append(x, header.shellTemp / 1000.0);
        m_series[2]->append(x, header.shellTempHW / 1000.0);
    }
    if (m_chartCounter > kChartCounterLimit) {
        // Keep x small: move everything back so the kept samples end just below fifoSize.
        int fifo = AppStatic::chart_fifoSize;
        if (fifo < 0) fifo = 0;
        if (fifo < static_cast<int>(kChartCounterLimit)) {
            const unsigned shift = kChartCounterLimit - static_cast<unsigned>(fifo);
            m_chartCounter -= shift;
            for (TCSeriesBase *s : m_series) s->move(-static_cast<double>(shift));
        }
    }
    m_chart->refresh();
}

void CDevice::chartEndUpdate() {
    for (TCSeriesBase *s : m_series) s->clear();
    m_chart->refresh();
}
