#include "VISDevice.h"

#include <arpa/inet.h>

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QThreadPool>

#include <cmath>
#include <cstring>
#include <limits>

#include "TempSnapshot.h"
#include "VISCanvas.h"
#include "VISFrameState.h"
#include "VISImageConfig.h"

Q_LOGGING_CATEGORY(lcVisDevice, "VIS/VISDevice")

namespace {

// A job that does not end within this many 100 ms slices is left running; the caller gets -7.
constexpr int kWaitSlices = 300;

const MVSRegDef *findFeature(const QByteArray &name) {
    for (const MVSRegDef &d : ConstRegDefArray)
        if (name == d.name) return &d;
    return nullptr;
}

// Decimal, or hexadecimal with "0x".
bool parseInteger(const QString &text, qint64 *out) {
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        *out = static_cast<qint64>(text.mid(2).toULongLong(&ok, 16));
    else
        *out = text.toLongLong(&ok, 10);
    return ok;
}

}  // namespace

VISDevice::VISDevice(QObject *parent) : QelmDevice(kWaitSlices, parent) {
    m_canvas = new VISCanvas;
    m_canvas->setParent(this);
    m_frameState = new VISFrameState(this);
    m_imageConfig = new VISImageConfig(this);
    m_ctx = mvsCreate();
    if (m_ctx)
        mvsSetCallback(m_ctx, this, &VISDevice::onFrame_Static, &VISDevice::onStatus_Static);
    else
        qCWarning(lcVisDevice, "no memory for the camera context");
    // Queued when emitted on a pool thread or one of the library's threads.
    connect(this, &VISDevice::qtc_workEnd, this, &VISDevice::qtc_onWorkEnd);
    connect(this, &VISDevice::frameRecved, this, &VISDevice::onFrameRecved);
}

VISDevice::~VISDevice() {
    // A job uses the context: it must be over before the context goes. No event loop runs here, so a
    // working camera is stopped in place rather than through a stop job.
    {
        std::unique_lock<std::mutex> g(m_runLock);
        m_runDone.wait(g, [this] { return !m_running; });
    }
    m_canvas->endUpdate();
    // Ends a raw recording, stops grabbing, waits for the library's callbacks and closes the device.
    mvsFree(&m_ctx);
}

// ---- state ---------------------------------------------------------------------------------------------

void VISDevice::runJob(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> g(m_runLock);
        m_running = true;
    }
    QThreadPool::globalInstance()->start([this, task]() {
        task();
        // Last touch of this object from the pool.
        std::lock_guard<std::mutex> g(m_runLock);
        m_running = false;
        m_runDone.notify_all();
    });
}

void VISDevice::clearSlots() {
    std::lock_guard<std::mutex> g(m_slotLock);
    for (bool &p : m_slotPending) p = false;
}

// ---- start settings ------------------------------------------------------------------------------------

int VISDevice::setStartParams(const QStringList &params) {
    std::vector<StartParam> parsed;
    for (const QString &entry : params) {
        const int eq = entry.indexOf(QLatin1Char('='));
        if (eq <= 0) return -8;
        StartParam p;
        p.name = entry.left(eq).trimmed().toLatin1();
        const QString value = entry.mid(eq + 1).trimmed();
        const MVSRegDef *def = findFeature(p.name);
        if (!def || value.isEmpty()) return -8;
        p.kind = def->kind;
        qint64 n = 0;
        bool ok = false;
        switch (def->kind) {
            case MVS_KIND_INTEGER:
                ok = parseInteger(value, &n);
                p.i = n;
                break;
            case MVS_KIND_FLOAT:
                p.f = value.toFloat(&ok);
                ok = ok && std::isfinite(p.f);
                break;
            case MVS_KIND_BOOLEAN:
                if (value == QLatin1String("1") ||
                    value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
                    p.b = 1;
                    ok = true;
                } else if (value == QLatin1String("0") ||
                           value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
                    p.b = 0;
                    ok = true;
                }
                break;
            case MVS_KIND_ENUMERATION:
                ok = parseInteger(value, &n) && n >= 0 && n <= std::numeric_limits<uint32_t>::max();
                p.e = static_cast<uint32_t>(n);
                break;
            default:
                break;
        }
        if (!ok) return -8;
        parsed.push_back(p);
    }
    {
        // A start job running now reads the list.
        std::lock_guard<std::mutex> g(m_jobLock);
        m_params = std::move(parsed);
    }
    m_startParams = params;
    return 0;
}

// ---- start and stop ------------------------------------------------------------------------------------

int VISDevice::startWork(const QString &address) {
    if (m_job != JobIdle) return -7;
    if (isWorking()) return 0;
    if (!m_ctx) return -5;
    const QByteArray ip = address.toLatin1();
    in_addr parsed;
    if (ip.isEmpty() || ip.size() > 15 || QString::fromLatin1(ip) != address ||
        inet_pton(AF_INET, ip.constData(), &parsed) != 1)
        return -8;

    setAddress(address);
    std::memset(m_addressBuf, 0, sizeof m_addressBuf);
    std::memcpy(m_addressBuf, ip.constData(), static_cast<size_t>(ip.size()));
    m_fpsWindowTime = 0;
    m_fpsWindowCount = 0;
    m_framesShown = 0;
    m_framesSkipped = 0;
    m_frameState->reset();
    clearSlots();

    setJob(JobStart);
    runJob([this, ip]() {
        MVSOutput out{};
        const int r = runStart(ip, &out);
        {
            std::lock_guard<std::mutex> g(m_jobLock);
            m_jobResult = r;
            m_jobOutput = out;
        }
        emit qtc_workEnd(JobStart);
    });
    return 0;
}

int VISDevice::runStart(const QByteArray &address, MVSOutput *out) {
    MVSConfig config{};
    config.transport = MVS_TRANSPORT_GIGE;
    config.accessMode = 1;
    std::memcpy(config.address, address.constData(), static_cast<size_t>(address.size()));
    int r = mvsSetConfig(m_ctx, &config);
    if (r == 0) r = mvsOpenDevice(m_ctx);
    if (r == 0) {
        std::vector<StartParam> params;
        {
            std::lock_guard<std::mutex> g(m_jobLock);
            params = m_params;
        }
        for (StartParam &p : params) {
            void *value = p.kind == MVS_KIND_INTEGER   ? static_cast<void *>(&p.i)
                          : p.kind == MVS_KIND_FLOAT   ? static_cast<void *>(&p.f)
                          : p.kind == MVS_KIND_BOOLEAN ? static_cast<void *>(&p.b)
                                                       : static_cast<void *>(&p.e);
            r = mvsSetValue(m_ctx, p.name.constData(), p.kind, value);
            if (r != 0) {
                qCWarning(lcVisDevice, "start setting %s refused, errorCode %d", p.name.constData(), r);
                break;
            }
        }
    }
    if (r == 0) r = mvsStartWork(m_ctx, 1, out);
    if (r == 0 && (out->width == 0 || out->height == 0 || out->width > 32767 || out->height > 32767))
        r = -8;  // more than the canvas can show
    if (r == 0) {
        // Frames that come before the buffers are in place are dropped by the callback.
        const size_t pixels = static_cast<size_t>(out->width) * out->height;
        std::lock_guard<std::mutex> g(m_slotLock);
        try {
            for (std::vector<uint32_t> &v : m_slotPixels) v.assign(pixels, 0xFF000000u);
            m_slotWidth = out->width;
            m_slotHeight = out->height;
        } catch (const std::bad_alloc &) {
            m_slotWidth = m_slotHeight = 0;
            r = -5;
        }
    }
    if (r != 0) mvsCloseDevice(m_ctx);
    return r;
}

void VISDevice::qtc_onWorkEnd(int job) {
    int result;
    MVSOutput out;
    {
        std::lock_guard<std::mutex> g(m_jobLock);
        result = m_jobResult;
        out = m_jobOutput;
    }
    if (job == JobStart) {
        if (result == 0) result = m_canvas->beginUpdate(out.width, out.height);
        if (result != 0) {
            qCWarning(lcVisDevice, "start of %s failed, errorCode %d", m_addressBuf, result);
            if (m_ctx && (m_ctx->flags.load() & MVS_FLAG_OPEN)) mvsCloseDevice(m_ctx);
            setJob(JobIdle);
            setFlags(0);
            setLastError(result);
            emit startFailed(result);
            return;
        }
        qCInfo(lcVisDevice, "%s working, %ux%u format 0x%08x", m_addressBuf, out.width, out.height,
               out.pixelFormat);
        const bool sizeChanged = out.width != m_output.width || out.height != m_output.height;
        m_output = out;
        setJob(JobIdle);
        setLastError(0);
        setFlags(FlagWorking | (m_flags & FlagRecovering));
        if (sizeChanged) emit outputChanged();
    } else if (job == JobStop) {
        qCInfo(lcVisDevice, "VIS preview ended: frames shown %u, skipped %u (%s)", m_framesShown,
               m_framesSkipped.load(), m_addressBuf);
        setJob(JobIdle);
        setFlags(0);
    }
}

int VISDevice::stopWork() {
    if (!isWorking() && m_job == JobIdle) return 0;
    // A start still running ends first; what it leaves decides whether there is anything to stop.
    waitWhileBusy();
    if (m_job != JobIdle) return -7;
    if (!isWorking()) return 0;

    setFlags(m_flags & ~FlagWorking);
    m_canvas->endUpdate();
    m_frameState->reset();
    setJob(JobStop);
    runJob([this]() {
        mvsStopRecordRaw(m_ctx);
        // Stops grabbing and waits for the library's callbacks to end.
        mvsCloseDevice(m_ctx);
        emit qtc_workEnd(JobStop);
    });
    return 0;
}

int VISDevice::pauseWork(bool) {
    return isWorking() && m_job == JobIdle ? 0 : -7;
}

// ---- raw recording -------------------------------------------------------------------------------------

int VISDevice::beginSave(const QString &name) {
    if (!isWorking() || isRecording() || m_job != JobIdle) return -7;
    const QByteArray path = outputPath(name, ".vis");
    if (path.isEmpty()) return -200;
    const int r = mvsStartRecordRaw(m_ctx, path.constData());
    if (r != 0) {
        qCWarning(lcVisDevice, "recording to %s failed, errorCode %d", path.constData(), r);
        return r;
    }
    setRecordFile(QFile::decodeName(path));
    setFlags(m_flags | FlagRecording);
    return 0;
}

int VISDevice::endSave() {
    if (!isRecording()) return -7;
    mvsStopRecordRaw(m_ctx);
    setFlags(m_flags & ~FlagRecording);
    return 0;
}

// ---- frames --------------------------------------------------------------------------------------------

void VISDevice::onFrame_Static(unsigned char *data, MV_FRAME_OUT_INFO_EX *info, void *bgra, void *user) {
    VISDevice *self = static_cast<VISDevice *>(user);
    if (!self || !info || !bgra) return;
    // Milliseconds since 1970 to 100-ns ticks; a value that would overflow is no time at all.
    const int64_t ms = info->nHostTimeStamp;
    const int64_t stamp = ms > 0 && ms < std::numeric_limits<int64_t>::max() / 10000 ? ms * 10000 : 0;
    int slot;
    {
        std::lock_guard<std::mutex> g(self->m_slotLock);
        // Frames before the buffers exist, or of another size than announced, are not shown.
        if (info->nWidth != self->m_slotWidth || info->nHeight != self->m_slotHeight ||
            self->m_slotWidth == 0)
            return;
        slot = static_cast<int>(self->m_slotCounter.fetch_add(1) & 3u);
        if (self->m_slotPending[slot]) ++self->m_framesSkipped;
        std::vector<uint32_t> &pixels = self->m_slotPixels[slot];
        std::memcpy(pixels.data(), bgra, pixels.size() * sizeof(uint32_t));
        self->m_slots[slot].data = data;
        self->m_slots[slot].bgra = pixels.data();
        self->m_slots[slot].timestamp = stamp;
        self->m_slotPending[slot] = true;
    }
    emit self->frameRecved(0, slot);
}

void VISDevice::onStatus_Static(unsigned int status, void *user) {
    VISDevice *self = static_cast<VISDevice *>(user);
    if (self) emit self->frameRecved(static_cast<int>(status), -1);
}

void VISDevice::onFrameRecved(int errorCode, int slot) {
    if (errorCode != 0) {
        qCWarning(lcVisDevice, "errorCode %d", errorCode);
        // A loss during the start job is kept so that the working device shows it.
        if (!isWorking() && m_job != JobStart) return;
        if (errorCode == MVS_STATUS_LOST) {
            setFlags(m_flags | FlagRecovering);
            setLastError(MVS_STATUS_LOST);
        } else if (errorCode == MVS_STATUS_RESTORED) {
            setFlags(m_flags & ~FlagRecovering);
        }
        return;
    }
    if (!isWorking() || slot < 0 || slot > 3) return;
    int64_t stamp = 0;
    {
        std::lock_guard<std::mutex> g(m_slotLock);
        // Already shown through a later signal for the same slot, or from before this start.
        const size_t pixels = static_cast<size_t>(m_canvas->dataWidth()) * m_canvas->dataHeight();
        if (!m_slotPending[slot] || m_slotPixels[slot].size() != pixels) return;
        // Straight into the canvas's picture: the slot is refilled by the grab thread.
        m_canvas->copyImage(m_slotPixels[slot].data());
        stamp = m_slots[slot].timestamp;
        m_slotPending[slot] = false;
    }
    // The wrapper ends a raw recording by itself when the camera comes back with another picture or the
    // disk fails: say so instead of showing a recording that no longer runs.
    if (isRecording() && !(m_ctx->flags.load() & MVS_FLAG_RAW)) {
        qCWarning(lcVisDevice, "recording to %s ended by the camera library", qUtf8Printable(recordFile()));
        setFlags(m_flags & ~FlagRecording);
    }
    ++m_framesShown;
    float fps = 0;
    if (tempFrameRateStep(&m_fpsWindowTime, &m_fpsWindowCount, stamp, &fps)) m_frameState->set_fps(fps);
}
