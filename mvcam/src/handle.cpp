// Handles: connection, grab thread, loss detection and the exception callback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <set>

#include "mvcc_internal.h"

namespace mvcc {

namespace {

constexpr uint32_t kMagic = 0x4D564343;  // "MVCC"
constexpr int kStreamBuffers = 8;
constexpr guint64 kPopTimeoutUs = 100000;
// GigE Vision control channel privilege register and its bits.
constexpr guint64 kCcpRegister = 0x0A00;
constexpr guint32 kCcpExclusive = 1;

std::mutex gRegistryLock;
std::set<void *> gHandles;

// Exception callbacks run on detached threads; at unload we give them a moment to return.
std::atomic<int> gDispatching{0};
struct DispatchDrain {
    ~DispatchDrain() {
        for (int i = 0; i < 500 && gDispatching.load() > 0; ++i) usleep(10000);
    }
} gDispatchDrain;

int64_t steady_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void raise_exception(Core &c, unsigned msg) {
    if (c.lost.exchange(true)) return;
    MvExceptionCallback cb;
    void *user;
    {
        std::lock_guard<std::mutex> g(c.stateLock);
        cb = c.exceptionCb;
        user = c.exceptionUser;
    }
    if (!cb) return;
    std::shared_ptr<Core> self = c.weak_from_this().lock();
    if (!self) return;
    ++gDispatching;
    ++c.dispatching;
    try {
        // Its own thread: the callback may close and destroy this very handle, which joins the grab
        // thread and the heartbeat thread that noticed the loss.
        std::thread([self, cb, user, msg] {
            self->dispatchThread = std::this_thread::get_id();
            cb(msg, user);
            self->dispatchThread = std::thread::id{};
            --self->dispatching;
            --gDispatching;
        }).detach();
    } catch (...) {
        --c.dispatching;
        --gDispatching;
    }
}

void on_control_lost(ArvGvDevice *, gpointer data) {
    raise_exception(*static_cast<Core *>(data), MVCC_EXCEPTION_DEVICE_LOST);
}

void fill_frame_info(ArvBuffer *buf, size_t size, uint32_t lostFrames, MV_FRAME_OUT_INFO_EX *info) {
    std::memset(info, 0, sizeof *info);
    info->nWidth = static_cast<uint16_t>(arv_buffer_get_image_width(buf));
    info->nHeight = static_cast<uint16_t>(arv_buffer_get_image_height(buf));
    info->enPixelType = arv_buffer_get_image_pixel_format(buf);
    info->nFrameNum = arv_buffer_get_frame_id(buf);
    info->nDevTimeStamp = arv_buffer_get_timestamp(buf);
    info->nLostFrames = lostFrames;
    info->nHostTimeStamp = host_time_ms();
    info->nFrameLen = static_cast<uint32_t>(size);
    info->nOffsetX = static_cast<uint16_t>(arv_buffer_get_image_x(buf));
    info->nOffsetY = static_cast<uint16_t>(arv_buffer_get_image_y(buf));
}

void grab_loop(Core *c) {
    c->grabThreadId = std::this_thread::get_id();
    int64_t lastGood = steady_ms();
    uint32_t failed = 0;
    while (!c->grabStop.load()) {
        ArvBuffer *buf = arv_stream_timeout_pop_buffer(c->stream, kPopTimeoutUs);
        if (buf) {
            size_t size = 0;
            const void *data = arv_buffer_get_data(buf, &size);
            if (arv_buffer_get_status(buf) == ARV_BUFFER_STATUS_SUCCESS &&
                arv_buffer_get_payload_type(buf) == ARV_BUFFER_PAYLOAD_TYPE_IMAGE && data) {
                MV_FRAME_OUT_INFO_EX info;
                fill_frame_info(buf, size, failed, &info);
                failed = 0;
                lastGood = steady_ms();
                if (c->imageCb)
                    c->imageCb(static_cast<unsigned char *>(const_cast<void *>(data)), &info, c->imageUser);
            } else {
                ++failed;
            }
            arv_stream_push_buffer(c->stream, buf);
        }
        if (c->stallMs > 0 && steady_ms() - lastGood > c->stallMs)
            raise_exception(*c, MVCC_EXCEPTION_STREAM_LOST);
    }
    c->grabThreadId = std::thread::id{};
}

uint32_t route_source(uint32_t deviceIp) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(3956);
    to.sin_addr.s_addr = htonl(deviceIp);
    sockaddr_in local{};
    socklen_t len = sizeof local;
    uint32_t ip = 0;
    if (connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&local), &len) == 0)
        ip = ntohl(local.sin_addr.s_addr);
    close(fd);
    return ip;
}

GInetAddress *inet_address(uint32_t hostOrderIp) {
    const uint32_t net = htonl(hostOrderIp);
    return g_inet_address_new_from_bytes(reinterpret_cast<const guint8 *>(&net), G_SOCKET_FAMILY_IPV4);
}

// Sets an integer feature when the camera has it; a camera without it is fine.
void set_if_present(ArvDevice *d, const char *name, gint64 value) {
    if (!arv_device_get_feature(d, name)) return;
    GError *e = nullptr;
    arv_device_set_integer_feature_value(d, name, value, &e);
    g_clear_error(&e);
}

int open_gige(Core &c, unsigned access, ArvDevice **out) {
    const MVCC_GIGE_INFO &g = c.info.info.gige;
    const uint32_t iface = route_source(g.nCurrentIp);
    if (!iface) return MVCC_E_NO_DEVICE;
    GInetAddress *ia = inet_address(iface);
    GInetAddress *da = inet_address(g.nCurrentIp);
    GError *e = nullptr;
    ArvDevice *d = arv_gv_device_new(ia, da, &e);
    g_object_unref(ia);
    g_object_unref(da);
    if (!d) {
        const int r = take_error(&e);
        return r == MVCC_E_INTERNAL ? MVCC_E_NO_DEVICE : r;
    }
    ArvGvDevice *gv = ARV_GV_DEVICE(d);
    arv_gv_device_set_stream_options(gv, ARV_GV_STREAM_OPTION_PACKET_SOCKET_DISABLED);
    if (access == MVCC_ACCESS_MONITOR) {
        if (arv_gv_device_is_controller(gv)) arv_gv_device_leave_control(gv, nullptr);
    } else {
        if (!arv_gv_device_is_controller(gv) && !arv_gv_device_take_control(gv, &e)) {
            g_clear_error(&e);
            g_object_unref(d);
            return MVCC_E_ACCESS_DENIED;
        }
        if (access == MVCC_ACCESS_EXCLUSIVE &&
            !arv_device_write_register(d, kCcpRegister, kCcpExclusive, &e)) {
            g_clear_error(&e);
            g_object_unref(d);
            return MVCC_E_ACCESS_DENIED;
        }
    }
    c.lostSignal = g_signal_connect(d, "control-lost", G_CALLBACK(on_control_lost), &c);
    *out = d;
    return MVCC_OK;
}

std::mutex gUsbLock;

int open_usb3(Core &c, ArvDevice **out) {
    std::lock_guard<std::mutex> g(gUsbLock);
    ArvInterface *uv = arv_uv_interface_get_instance();
    if (!uv) return MVCC_E_SUPPORT;
    arv_interface_update_device_list(uv);
    GError *e = nullptr;
    ArvDevice *d = arv_interface_open_device(uv, c.info.info.usb3.chDeviceId, &e);
    if (!d) {
        const int r = take_error(&e);
        return r == MVCC_E_INTERNAL ? MVCC_E_NO_DEVICE : r;
    }
    *out = d;
    return MVCC_OK;
}

// Stops the grab thread and the stream; lifecycle is held.
void stop_stream(Core &c) {
    c.grabStop = true;
    if (c.grabThread.joinable()) c.grabThread.join();
    if (!c.lost.load()) {
        GError *e = nullptr;
        arv_device_execute_command(c.device, "AcquisitionStop", &e);
        g_clear_error(&e);
        set_if_present(c.device, "TLParamsLocked", 0);
    }
    ArvStream *s;
    {
        std::lock_guard<std::mutex> g(c.stateLock);
        s = c.stream;
        c.stream = nullptr;
        c.grabbing = false;
    }
    if (s) g_object_unref(s);
}

void close_device(Core &c) {
    if (c.grabbing) stop_stream(c);
    ArvDevice *d;
    {
        std::lock_guard<std::mutex> g(c.stateLock);
        d = c.device;
        c.device = nullptr;
    }
    if (d) {
        if (c.lostSignal) g_signal_handler_disconnect(d, c.lostSignal);
        c.lostSignal = 0;
        // Finalising joins the heartbeat thread, so no loss is reported after this.
        g_object_unref(d);
    }
    std::lock_guard<std::mutex> g(c.recordLock);
    if (c.recorder) recorder_stop(c);
}

bool on_grab_thread(const Core &c) {
    return c.grabThreadId.load() == std::this_thread::get_id();
}

// Once the device is closed no new exception can come; one already on its way is waited for, so that the
// caller may free what its callback uses. Not from that callback itself.
void wait_dispatch(const Core &c) {
    while (c.dispatching.load() > 0 && c.dispatchThread.load() != std::this_thread::get_id()) usleep(2000);
}

}  // namespace

Core::~Core() {
    close_device(*this);
    converter_free(converter);
}

int64_t host_time_ms() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::shared_ptr<Core> core_of(void *handle) {
    std::lock_guard<std::mutex> g(gRegistryLock);
    if (!handle || !gHandles.count(handle)) return nullptr;
    const Handle *h = static_cast<const Handle *>(handle);
    return h->magic == kMagic ? h->core : nullptr;
}

}  // namespace mvcc

using namespace mvcc;

extern "C" {

int MV_CC_CreateHandle(void **pHandle, const MV_CC_DEVICE_INFO *pDeviceInfo) {
    if (!pHandle || !pDeviceInfo) return MVCC_E_PARAMETER;
    *pHandle = nullptr;
    if (pDeviceInfo->nTransport != MVCC_TRANSPORT_GIGE && pDeviceInfo->nTransport != MVCC_TRANSPORT_USB3)
        return MVCC_E_SUPPORT;
    Handle *h = new (std::nothrow) Handle{kMagic, nullptr};
    if (!h) return MVCC_E_RESOURCE;
    try {
        h->core = std::make_shared<Core>();
    } catch (...) {
        delete h;
        return MVCC_E_RESOURCE;
    }
    h->core->info = *pDeviceInfo;
    std::lock_guard<std::mutex> g(gRegistryLock);
    gHandles.insert(h);
    *pHandle = h;
    return MVCC_OK;
}

int MV_CC_DestroyHandle(void *handle) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (on_grab_thread(*c)) return MVCC_E_CALLORDER;
    {
        std::lock_guard<std::mutex> g(gRegistryLock);
        gHandles.erase(handle);
    }
    {
        std::lock_guard<std::mutex> g(c->lifecycle);
        close_device(*c);
    }
    wait_dispatch(*c);
    Handle *h = static_cast<Handle *>(handle);
    h->magic = 0;
    delete h;
    return MVCC_OK;
}

int MV_CC_OpenDevice(void *handle, unsigned int nAccessMode, unsigned short nSwitchoverKey) {
    (void)nSwitchoverKey;
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (nAccessMode != MVCC_ACCESS_EXCLUSIVE && nAccessMode != MVCC_ACCESS_CONTROL &&
        nAccessMode != MVCC_ACCESS_MONITOR)
        return MVCC_E_SUPPORT;
    std::lock_guard<std::mutex> g(c->lifecycle);
    if (c->device) return MVCC_E_CALLORDER;
    ArvDevice *d = nullptr;
    const int r =
        c->info.nTransport == MVCC_TRANSPORT_GIGE ? open_gige(*c, nAccessMode, &d) : open_usb3(*c, &d);
    if (r != MVCC_OK) return r;
    arv_device_set_access_check_policy(d, ARV_ACCESS_CHECK_POLICY_ENABLE);
    arv_device_set_range_check_policy(d, ARV_RANGE_CHECK_POLICY_ENABLE);
    // A connection that was lost may have left the stream-locked features locked.
    if (nAccessMode != MVCC_ACCESS_MONITOR) set_if_present(d, "TLParamsLocked", 0);
    c->accessMode = nAccessMode;
    c->lost = false;
    std::lock_guard<std::mutex> s(c->stateLock);
    c->device = d;
    return MVCC_OK;
}

int MV_CC_CloseDevice(void *handle) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (on_grab_thread(*c)) return MVCC_E_CALLORDER;
    {
        std::lock_guard<std::mutex> g(c->lifecycle);
        if (!c->device) return MVCC_E_CALLORDER;
        close_device(*c);
    }
    wait_dispatch(*c);
    return MVCC_OK;
}

int MV_CC_RegisterImageCallBackEx(void *handle, MvImageCallback cb, void *pUser) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    std::lock_guard<std::mutex> g(c->lifecycle);
    if (c->grabbing) return MVCC_E_CALLORDER;
    c->imageCb = cb;
    c->imageUser = pUser;
    return MVCC_OK;
}

int MV_CC_RegisterExceptionCallBack(void *handle, MvExceptionCallback cb, void *pUser) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    std::lock_guard<std::mutex> g(c->stateLock);
    c->exceptionCb = cb;
    c->exceptionUser = pUser;
    return MVCC_OK;
}

int MV_CC_StartGrabbing(void *handle) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    std::lock_guard<std::mutex> g(c->lifecycle);
    if (!c->device || c->grabbing || c->lost.load()) return MVCC_E_CALLORDER;
    if (c->accessMode == MVCC_ACCESS_MONITOR) return MVCC_E_ACCESS_DENIED;
    ArvDevice *d = c->device;
    GError *e = nullptr;
    const gint64 payload = arv_device_get_integer_feature_value(d, "PayloadSize", &e);
    if (e || payload <= 0) {
        const int r = e ? take_error(&e) : MVCC_E_GENICAM;
        return r == MVCC_E_FEATURE_NOT_FOUND ? MVCC_E_GENICAM : r;
    }
    ArvStream *s = arv_device_create_stream(d, nullptr, nullptr, &e);
    if (!s) {
        g_clear_error(&e);
        return MVCC_E_STREAM;
    }
    // A fixed socket buffer smaller than a frame loses packets whenever the receive thread is late.
    if (ARV_IS_GV_STREAM(s)) g_object_set(s, "socket-buffer", ARV_GV_STREAM_SOCKET_BUFFER_AUTO, nullptr);
    for (int i = 0; i < kStreamBuffers; ++i)
        arv_stream_push_buffer(s, arv_buffer_new_allocate(static_cast<size_t>(payload)));

    // A triggered camera may be silent for any time: only a free-running one is watched for stalls.
    c->stallMs = MVCC_STREAM_STALL_MS;
    if (arv_device_get_feature(d, "TriggerMode")) {
        const char *mode = arv_device_get_string_feature_value(d, "TriggerMode", &e);
        g_clear_error(&e);
        if (mode && std::strcmp(mode, "On") == 0) c->stallMs = 0;
    }
    if (c->stallMs && arv_device_get_feature(d, "AcquisitionFrameRate")) {
        const double rate = arv_device_get_float_feature_value(d, "AcquisitionFrameRate", &e);
        g_clear_error(&e);
        if (rate > 0 && 10000.0 / rate > c->stallMs) c->stallMs = static_cast<int64_t>(10000.0 / rate);
    }
    if (arv_device_get_feature(d, "AcquisitionMode")) {
        arv_device_set_string_feature_value(d, "AcquisitionMode", "Continuous", &e);
        g_clear_error(&e);
    }
    set_if_present(d, "TLParamsLocked", 1);
    arv_device_execute_command(d, "AcquisitionStart", &e);
    if (e) {
        const int r = take_error(&e);
        set_if_present(d, "TLParamsLocked", 0);
        g_object_unref(s);
        return r;
    }
    {
        std::lock_guard<std::mutex> sg(c->stateLock);
        c->stream = s;
        c->grabbing = true;
    }
    c->grabStop = false;
    try {
        c->grabThread = std::thread(grab_loop, c.get());
    } catch (...) {
        stop_stream(*c);
        return MVCC_E_RESOURCE;
    }
    return MVCC_OK;
}

int MV_CC_StopGrabbing(void *handle) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (on_grab_thread(*c)) return MVCC_E_CALLORDER;
    std::lock_guard<std::mutex> g(c->lifecycle);
    if (!c->grabbing) return MVCC_E_CALLORDER;
    stop_stream(*c);
    return MVCC_OK;
}

int MV_CC_ConvertPixelType(void *handle, MVCC_CONVERT_PARAM *p) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (!p) return MVCC_E_PARAMETER;
    p->nDstLen = 0;
    if (p->enDstPixelType != MVCC_PIXEL_BGRA8) return MVCC_E_SUPPORT;
    std::lock_guard<std::mutex> g(c->convertLock);
    return convert_to_bgra(c->converter, p->enSrcPixelType, p->nWidth, p->nHeight, p->pSrcData,
                           p->nSrcDataLen, p->pDstBuffer, p->nDstBufferSize, &p->nDstLen);
}

int MV_CC_StartRecord(void *handle, const MVCC_RECORD_PARAM *pParam) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (!pParam) return MVCC_E_PARAMETER;
    std::lock_guard<std::mutex> g(c->recordLock);
    if (c->recorder) return MVCC_E_CALLORDER;
    return recorder_start(*c, *pParam);
}

int MV_CC_InputOneFrame(void *handle, const MVCC_INPUT_FRAME *pFrame) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (!pFrame || !pFrame->pData) return MVCC_E_PARAMETER;
    std::lock_guard<std::mutex> g(c->recordLock);
    if (!c->recorder) return MVCC_E_CALLORDER;
    return recorder_input(*c, pFrame->pData, pFrame->nDataLen);
}

int MV_CC_StopRecord(void *handle) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    std::lock_guard<std::mutex> g(c->recordLock);
    if (!c->recorder) return MVCC_E_CALLORDER;
    return recorder_stop(*c);
}

}  // extern "C"
