#include "mvs.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>

#include "zq_logger.h"

const MVSRegDef ConstRegDefArray[MVS_PARAM_COUNT] = {
    {"Width", MVS_KIND_INTEGER},
    {"Height", MVS_KIND_INTEGER},
    {"OffsetX", MVS_KIND_INTEGER},
    {"OffsetY", MVS_KIND_INTEGER},
    {"ReverseX", MVS_KIND_BOOLEAN},
    {"ReverseY", MVS_KIND_BOOLEAN},
    {"PixelFormat", MVS_KIND_ENUMERATION},
    {"AcquisitionFrameRateEnable", MVS_KIND_BOOLEAN},
    {"AcquisitionFrameRate", MVS_KIND_FLOAT},
    {"ExposureAuto", MVS_KIND_ENUMERATION},
    {"ExposureMode", MVS_KIND_ENUMERATION},
    {"ExposureTime", MVS_KIND_FLOAT},
    {"GainAuto", MVS_KIND_ENUMERATION},
    {"Gain", MVS_KIND_FLOAT},
    {"GammaEnable", MVS_KIND_BOOLEAN},
    {"GammaSelector", MVS_KIND_ENUMERATION},
    {"Gamma", MVS_KIND_FLOAT},
    {"SharpnessEnable", MVS_KIND_BOOLEAN},
    {"Sharpness", MVS_KIND_INTEGER},
    {"HDREnable", MVS_KIND_BOOLEAN},
    {"HDRSelector", MVS_KIND_INTEGER},
    {"HDRShutter", MVS_KIND_INTEGER},
    {"HDRGain", MVS_KIND_FLOAT},
    {"BalanceWhiteAuto", MVS_KIND_ENUMERATION},
    {"BalanceRatioSelector", MVS_KIND_ENUMERATION},
    {"BalanceRatio", MVS_KIND_INTEGER},
    {"BinningHorizontal", MVS_KIND_ENUMERATION},
    {"BinningVertical", MVS_KIND_ENUMERATION},
};

namespace {

_MV_CC_DEVICE_INFO_LIST_ __MVSStatic;

constexpr int kFirstWhileGrabbing = 4;  // "ReverseX": geometry changes only while stopped
constexpr unsigned kOpenDiscoveryMs = 1000;
constexpr int kRetrySteps = 20;
constexpr int kRetryStepMs = 100;

bool is_open(const _MVSContext *ctx) {
    return ctx && (ctx->flags.load() & MVS_FLAG_OPEN);
}

// Library codes a parameter write may skip: "feature not available or not writable now".
bool skippable(int r, bool reconnecting) {
    const uint32_t u = static_cast<uint32_t>(r);
    return u >= (reconnecting ? 0x80000101u : 0x80000100u) && u <= 0x80000106u;
}

// Features whose change alters the output geometry or rate the next start reports.
bool changes_geometry(const char *name) {
    for (const char *g : {"Width", "Height", "PixelFormat", "BinningHorizontal", "BinningVertical",
                          "AcquisitionFrameRate", "AcquisitionFrameRateEnable"})
        if (std::strcmp(name, g) == 0) return true;
    return false;
}

int get_value(void *handle, const char *name, int kind, void *value) {
    switch (kind) {
        case MVS_KIND_INTEGER:
            return MV_CC_GetIntValueEx(handle, name, static_cast<MVCC_INT_VALUE *>(value));
        case MVS_KIND_FLOAT:
            return MV_CC_GetFloatValue(handle, name, static_cast<MVCC_FLOAT_VALUE *>(value));
        case MVS_KIND_BOOLEAN:
            return MV_CC_GetBoolValue(handle, name, static_cast<uint8_t *>(value));
        case MVS_KIND_STRING:
            return MV_CC_GetStringValue(handle, name, static_cast<MVCC_STRING_VALUE *>(value));
        case MVS_KIND_ENUMERATION:
            return MV_CC_GetEnumValue(handle, name, static_cast<MVCC_ENUM_VALUE *>(value));
        default:
            return -8;
    }
}

int set_value(void *handle, const char *name, int kind, const void *value) {
    switch (kind) {
        case MVS_KIND_INTEGER:
            return MV_CC_SetIntValueEx(handle, name, *static_cast<const int64_t *>(value));
        case MVS_KIND_FLOAT:
            return MV_CC_SetFloatValue(handle, name, *static_cast<const float *>(value));
        case MVS_KIND_BOOLEAN:
            return MV_CC_SetBoolValue(handle, name, *static_cast<const uint8_t *>(value) ? 1 : 0);
        case MVS_KIND_STRING:
            return MV_CC_SetStringValue(handle, name, static_cast<const char *>(value));
        case MVS_KIND_ENUMERATION:
            return MV_CC_SetEnumValue(handle, name, *static_cast<const uint32_t *>(value));
        case MVS_KIND_COMMAND:
            return MV_CC_SetCommandValue(handle, name);
        default:
            return -8;
    }
}

// Writes the held slots from the first index on, in table order. Returns 0 or the failing library code
// (with the feature's index in *failed).
int write_slots(void *handle, const uint8_t (*slots)[MVS_SLOT_SIZE], uint32_t held, int first,
                bool reconnecting, int *failed) {
    for (int i = first; i < MVS_PARAM_COUNT; ++i) {
        // A slot never read or set holds no camera value: writing its zeros would wipe the camera's setting.
        if (!(held & (1u << i))) continue;
        const int r = set_value(handle, ConstRegDefArray[i].name, ConstRegDefArray[i].kind, slots[i]);
        if (r != 0 && !skippable(r, reconnecting)) {
            *failed = i;
            return r;
        }
    }
    return 0;
}

void close_raw_locked(_MVSContext *ctx) {
    if (ctx->rawFile) fclose(ctx->rawFile);
    ctx->rawFile = nullptr;
    ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_RAW);
}

void frame_handler(unsigned char *data, MV_FRAME_OUT_INFO_EX *info, void *user) {
    _MVSContext *ctx = static_cast<_MVSContext *>(user);
    const uint32_t flags = ctx->flags.load();
    if (flags & MVS_FLAG_RECORDING) {
        MVCC_INPUT_FRAME in{data, info->nFrameLen, 0};
        MV_CC_InputOneFrame(ctx->handle, &in);
    }
    if (flags & MVS_FLAG_RAW) {
        pthread_mutex_lock(&ctx->mutex);
        if (ctx->rawFile) {
            VisFrameHeader &h = ctx->rawFrameHeader;
            const size_t pixels = static_cast<size_t>(h.width) * h.height;
            if (info->nWidth != h.width || info->nHeight != h.height || info->enPixelType != h.pixelFormat ||
                info->nFrameLen < pixels) {
                // Every record of a file has the file's size; a camera that came back different ends it.
                ZQ_LOGD("raw recording stopped: frame %ux%u format 0x%08x length %u in a %ux%u file",
                        info->nWidth, info->nHeight, info->enPixelType, info->nFrameLen, h.width, h.height);
                close_raw_locked(ctx);
            } else {
                h.timestamp = info->nHostTimeStamp * 10000;
                if (fwrite(&h, sizeof h, 1, ctx->rawFile) != 1 ||
                    fwrite(data, 1, pixels, ctx->rawFile) != pixels) {
                    ZQ_LOGD("raw recording stopped: write failed");
                    close_raw_locked(ctx);
                }
            }
        }
        pthread_mutex_unlock(&ctx->mutex);
    }
    void *bgra = nullptr;
    if (ctx->convert & 1) {
        uint8_t *buffer = ctx->bgraBlock + (ctx->frameCount & 1) * 4ull * ctx->pixelCount;
        MVCC_CONVERT_PARAM p{};
        p.nWidth = info->nWidth;
        p.nHeight = info->nHeight;
        p.enSrcPixelType = info->enPixelType;
        p.pSrcData = data;
        p.nSrcDataLen = info->nFrameLen;
        p.enDstPixelType = MVCC_PIXEL_BGRA8;
        p.pDstBuffer = buffer;
        p.nDstBufferSize = 4 * ctx->pixelCount;
        // A frame larger than the buffers is refused by the library rather than written past them.
        if (MV_CC_ConvertPixelType(ctx->handle, &p) == MVCC_OK) bgra = buffer;
    }
    ++ctx->frameCount;
    ctx->frameCallback(data, info, bgra, ctx->user);
}

void exception_handler(unsigned int msg, void *user);

int register_callbacks(void *handle, _MVSContext *ctx) {
    if (MV_CC_RegisterImageCallBackEx(handle, frame_handler, ctx) != MVCC_OK) return -996;
    if (MV_CC_RegisterExceptionCallBack(handle, exception_handler, ctx) != MVCC_OK) return -996;
    return 0;
}

// One reconnect attempt: a new handle opened, configured and grabbing, published as the context's handle.
bool reconnect_once(_MVSContext *ctx) {
    void *h = nullptr;
    if (MV_CC_CreateHandle(&h, &ctx->deviceInfo) != MVCC_OK) return false;
    int r = MV_CC_OpenDevice(h, ctx->config.accessMode, 0);
    if (r == MVCC_OK) r = register_callbacks(h, ctx);
    if (r == MVCC_OK) {
        std::lock_guard<std::mutex> g(ctx->stateLock);
        int failed = 0;
        r = write_slots(h, ctx->params, ctx->paramsHeld, 0, true, &failed);
        if (r != 0) ZQ_LOGD("reconnect: writing \"%s\" failed with 0x%08x", ConstRegDefArray[failed].name, r);
    }
    if (r == MVCC_OK) {
        {
            std::unique_lock<std::shared_mutex> g(ctx->handleLock);
            ctx->handle = h;
        }
        r = MV_CC_StartGrabbing(h);
        if (r != MVCC_OK) {
            std::unique_lock<std::shared_mutex> g(ctx->handleLock);
            ctx->handle = nullptr;
        }
    }
    if (r != MVCC_OK) {
        MV_CC_DestroyHandle(h);
        return false;
    }
    return true;
}

void exception_handler(unsigned int msg, void *user) {
    _MVSContext *ctx = static_cast<_MVSContext *>(user);
    {
        std::lock_guard<std::mutex> g(ctx->stateLock);
        if (!(ctx->flags.load() & MVS_FLAG_GRABBING) || ctx->reconnecting) return;
        ctx->reconnecting = true;
        ctx->reconnectThread = std::this_thread::get_id();
    }
    void *old;
    {
        std::unique_lock<std::shared_mutex> g(ctx->handleLock);
        old = ctx->handle;
        ctx->handle = nullptr;
    }
    MV_CC_DestroyHandle(old);
    ZQ_LOGD("visible camera lost (0x%x), reconnecting", msg);
    ctx->statusCallback(static_cast<unsigned int>(MVS_STATUS_LOST), ctx->user);
    while (ctx->flags.load() & MVS_FLAG_GRABBING) {
        if (reconnect_once(ctx)) {
            ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_RECORDING);
            ZQ_LOGD("visible camera back");
            ctx->statusCallback(static_cast<unsigned int>(MVS_STATUS_RESTORED), ctx->user);
            break;
        }
        for (int i = 0; i < kRetrySteps && (ctx->flags.load() & MVS_FLAG_GRABBING); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(kRetryStepMs));
    }
    std::lock_guard<std::mutex> g(ctx->stateLock);
    ctx->reconnecting = false;
    ctx->reconnectThread = std::thread::id{};
    ctx->stateChanged.notify_all();
}

void text_ip(char out[16], uint32_t hostOrder) {
    std::snprintf(out, 16, "%u.%u.%u.%u", (hostOrder >> 24) & 255, (hostOrder >> 16) & 255,
                  (hostOrder >> 8) & 255, hostOrder & 255);
}

}  // namespace

int mvsStaticEnumDevices(int transport, _MV_CC_DEVICE_INFO_LIST_ **list) {
    if (!list) return -1;
    *list = &__MVSStatic;
    return MV_CC_EnumDevices(static_cast<unsigned>(transport), &__MVSStatic) == MVCC_OK ? 0 : -1;
}

void mvsStaticMakeInfo(_MV_CC_DEVICE_INFO_ *info, MVSDeviceInfo *out) {
    std::memset(out, 0, sizeof *out);
    out->transport = static_cast<int32_t>(info->nTransport);
    if (info->nTransport == MVCC_TRANSPORT_GIGE) {
        text_ip(out->ip, info->info.gige.nCurrentIp);
        text_ip(out->mask, info->info.gige.nSubnetMask);
        text_ip(out->gateway, info->info.gige.nDefaultGateway);
        std::memcpy(out->identifier, info->info.gige.chSerialNumber, sizeof out->identifier);
    } else {
        // All 16 characters the wrapper compares on; unterminated when the serial number fills them.
        const char *serial = info->info.usb3.chSerialNumber;
        std::memcpy(out->ip, serial, strnlen(serial, sizeof out->ip));
    }
}

_MVSContext *mvsCreate() {
    _MVSContext *ctx = new (std::nothrow) _MVSContext;
    if (!ctx) return nullptr;
    if (pthread_mutex_init(&ctx->mutex, nullptr) != 0) {
        delete ctx;
        return nullptr;
    }
    return ctx;
}

void mvsFree(_MVSContext **pctx) {
    if (!pctx || !*pctx) return;
    _MVSContext *ctx = *pctx;
    mvsCloseDevice(ctx);
    std::free(ctx->bgraBlock);
    pthread_mutex_destroy(&ctx->mutex);
    delete ctx;
    *pctx = nullptr;
}

int mvsSetConfig(_MVSContext *ctx, const MVSConfig *config) {
    if (!ctx || !config) return -8;
    if (config->transport != MVS_TRANSPORT_GIGE && config->transport != MVS_TRANSPORT_USB3) return -8;
    if (memchr(config->address, 0, sizeof config->address) == nullptr) return -8;
    uint32_t ip = 0;
    if (config->transport == MVS_TRANSPORT_GIGE) {
        in_addr a;
        if (inet_pton(AF_INET, config->address, &a) != 1) return -8;
        ip = ntohl(a.s_addr);
    }
    if (std::memcmp(&ctx->config, config, sizeof *config) == 0) return 0;
    ctx->config = *config;
    ctx->ip = ip;
    ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_GEOMETRY);
    return 0;
}

int mvsOpenDevice(_MVSContext *ctx) {
    if (!ctx) return -8;
    if (is_open(ctx)) return -7;
    const MV_CC_DEVICE_INFO *found = nullptr;
    MV_CC_DEVICE_INFO_LIST list;
    if (ctx->config.transport == MVS_TRANSPORT_GIGE) {
        if (ctx->ip && MV_CC_EnumDevicesUnicast(ctx->ip, kOpenDiscoveryMs, &list) == MVCC_OK)
            for (uint32_t i = 0; i < list.nDeviceNum && !found; ++i)
                if (list.stDevice[i].info.gige.nCurrentIp == ctx->ip) found = &list.stDevice[i];
    } else if (ctx->config.transport == MVS_TRANSPORT_USB3) {
        if (MV_CC_EnumDevices(MVCC_TRANSPORT_USB3, &list) == MVCC_OK)
            for (uint32_t i = 0; i < list.nDeviceNum && !found; ++i)
                if (std::strncmp(list.stDevice[i].info.usb3.chSerialNumber, ctx->config.address, 16) == 0)
                    found = &list.stDevice[i];
    }
    if (!found) return -1000;
    ctx->deviceInfo = *found;
    void *h = nullptr;
    if (MV_CC_CreateHandle(&h, &ctx->deviceInfo) != MVCC_OK) return -999;
    int r = MV_CC_OpenDevice(h, ctx->config.accessMode, 0) == MVCC_OK ? 0 : -998;
    if (r == 0) r = register_callbacks(h, ctx);
    if (r != 0) {
        MV_CC_DestroyHandle(h);
        return r;
    }
    {
        std::unique_lock<std::shared_mutex> g(ctx->handleLock);
        ctx->handle = h;
    }
    ctx->flags |= MVS_FLAG_OPEN;
    return 0;
}

void mvsSetCallback(_MVSContext *ctx, void *user, MVSFrameCallback frame, MVSStatusCallback status) {
    if (!ctx) return;
    ctx->user = user;
    ctx->frameCallback = frame;
    ctx->statusCallback = status;
}

int mvsStartWork(_MVSContext *ctx, int convert, MVSOutput *out) {
    if (!ctx || !is_open(ctx) || (ctx->flags.load() & MVS_FLAG_GRABBING) || !ctx->frameCallback ||
        !ctx->statusCallback)
        return -7;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    if (!(ctx->flags.load() & MVS_FLAG_GEOMETRY)) {
        MVCC_INT_VALUE w{}, h{};
        MVCC_ENUM_VALUE pf{};
        MVCC_FLOAT_VALUE rfr{}, afr{};
        if (MV_CC_GetIntValueEx(ctx->handle, "Width", &w) != MVCC_OK ||
            MV_CC_GetIntValueEx(ctx->handle, "Height", &h) != MVCC_OK ||
            MV_CC_GetEnumValue(ctx->handle, "PixelFormat", &pf) != MVCC_OK ||
            MV_CC_GetFloatValue(ctx->handle, "ResultingFrameRate", &rfr) != MVCC_OK ||
            MV_CC_GetFloatValue(ctx->handle, "AcquisitionFrameRate", &afr) != MVCC_OK)
            return -995;
        if (w.nCurValue <= 0 || h.nCurValue <= 0 || w.nCurValue > 65535 || h.nCurValue > 65535) return -995;
        ctx->width = static_cast<uint16_t>(w.nCurValue);
        ctx->height = static_cast<uint16_t>(h.nCurValue);
        ctx->pixelFormat = pf.nCurValue;
        ctx->resultingFrameRate = rfr.fCurValue;
        ctx->acquisitionFrameRate = afr.fCurValue;
        ctx->pixelCount = static_cast<uint32_t>(ctx->width) * ctx->height;
        ctx->flags |= MVS_FLAG_GEOMETRY;
    }
    const size_t need = 8ull * ctx->pixelCount;
    if (ctx->bgraBlockSize < need) {
        uint8_t *block = static_cast<uint8_t *>(std::realloc(ctx->bgraBlock, need));
        if (!block) return -5;
        ctx->bgraBlock = block;
        ctx->bgraBlockSize = need;
    }
    ctx->convert = convert;
    ctx->frameCount = 0;
    {
        // Set before the start so that a loss right after it is not ignored.
        std::lock_guard<std::mutex> g(ctx->stateLock);
        ctx->flags |= MVS_FLAG_GRABBING;
    }
    if (MV_CC_StartGrabbing(ctx->handle) != MVCC_OK) {
        std::lock_guard<std::mutex> g(ctx->stateLock);
        ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_GRABBING);
        return -997;
    }
    if (out) {
        out->width = ctx->width;
        out->height = ctx->height;
        out->pixelFormat = ctx->pixelFormat;
        out->frameRate = ctx->resultingFrameRate > 0 ? static_cast<uint16_t>(ctx->resultingFrameRate) : 0;
    }
    return 0;
}

int mvsStopWork(_MVSContext *ctx) {
    if (!ctx) return -8;
    {
        std::unique_lock<std::mutex> g(ctx->stateLock);
        if (!(ctx->flags.load() & MVS_FLAG_GRABBING)) return 0;
        ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_GRABBING);
        // A running reconnect sees the cleared flag within one pause step or one attempt.
        if (ctx->reconnectThread != std::this_thread::get_id())
            ctx->stateChanged.wait(g, [ctx] { return !ctx->reconnecting; });
    }
    mvsStopRecord(ctx);
    mvsStopRecordRaw(ctx);
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    if (ctx->handle) MV_CC_StopGrabbing(ctx->handle);
    return 0;
}

void mvsCloseDevice(_MVSContext *ctx) {
    if (!ctx) return;
    mvsStopWork(ctx);
    void *h;
    {
        std::unique_lock<std::shared_mutex> g(ctx->handleLock);
        h = ctx->handle;
        ctx->handle = nullptr;
    }
    if (h) {
        MV_CC_CloseDevice(h);
        MV_CC_DestroyHandle(h);
    }
    ctx->flags = 0;
}

int mvsStartRecord(_MVSContext *ctx, const char *path) {
    if (!ctx || !path) return -8;
    const uint32_t flags = ctx->flags.load();
    if (!(flags & MVS_FLAG_GRABBING) || (flags & MVS_FLAG_RECORDING)) return -7;
    MVCC_RECORD_PARAM p{};
    p.enPixelType = ctx->pixelFormat;
    p.nWidth = ctx->width;
    p.nHeight = ctx->height;
    p.fFrameRate = ctx->resultingFrameRate;
    p.nBitRateKbps = 3000;
    p.enRecordFormat = MVCC_RECORD_H264;
    std::strncpy(p.strFilePath, path, sizeof p.strFilePath - 1);
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    if (MV_CC_StartRecord(ctx->handle, &p) != MVCC_OK) return -993;
    ctx->flags |= MVS_FLAG_RECORDING;
    return 0;
}

int mvsStopRecord(_MVSContext *ctx) {
    if (!ctx) return -8;
    if (!(ctx->flags.fetch_and(~static_cast<uint32_t>(MVS_FLAG_RECORDING)) & MVS_FLAG_RECORDING)) return 0;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    return ctx->handle ? MV_CC_StopRecord(ctx->handle) : 0;
}

int mvsStartRecordRaw(_MVSContext *ctx, const char *path) {
    if (!ctx || !path) return -8;
    const uint32_t flags = ctx->flags.load();
    if (!(flags & MVS_FLAG_GRABBING) || (flags & MVS_FLAG_RAW)) return -7;
    if (ctx->pixelFormat != kVisPixelMono8) return -2;
    pthread_mutex_lock(&ctx->mutex);
    int r = 0;
    FILE *f = fopen(path, "wb");
    std::memset(&ctx->rawFileHeader, 0, sizeof ctx->rawFileHeader);
    ctx->rawFileHeader.width = ctx->width;
    ctx->rawFileHeader.height = ctx->height;
    ctx->rawFileHeader.pixelFormat = ctx->pixelFormat;
    if (!f) {
        r = -200;
    } else if (fwrite(&ctx->rawFileHeader, sizeof ctx->rawFileHeader, 1, f) != 1) {
        fclose(f);
        std::remove(path);
        r = -200;
    } else {
        std::memset(&ctx->rawFrameHeader, 0, sizeof ctx->rawFrameHeader);
        ctx->rawFrameHeader.width = ctx->width;
        ctx->rawFrameHeader.height = ctx->height;
        ctx->rawFrameHeader.pixelFormat = ctx->pixelFormat;
        ctx->rawFile = f;
        ctx->flags |= MVS_FLAG_RAW;
    }
    pthread_mutex_unlock(&ctx->mutex);
    return r;
}

int mvsStopRecordRaw(_MVSContext *ctx) {
    if (!ctx) return -8;
    pthread_mutex_lock(&ctx->mutex);
    close_raw_locked(ctx);
    pthread_mutex_unlock(&ctx->mutex);
    return 0;
}

int mvsGetValue(_MVSContext *ctx, const char *name, int kind, void *value) {
    if (!is_open(ctx)) return -7;
    if (kind < MVS_KIND_INTEGER || kind > MVS_KIND_ENUMERATION || !name || !value) return -8;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    return get_value(ctx->handle, name, kind, value);
}

int mvsSetValue(_MVSContext *ctx, const char *name, int kind, void *value) {
    if (!is_open(ctx)) return -7;
    if (kind < MVS_KIND_INTEGER || kind > MVS_KIND_COMMAND || !name || (!value && kind != MVS_KIND_COMMAND))
        return -8;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    const int r = set_value(ctx->handle, name, kind, value);
    if (r == 0 && changes_geometry(name) && !(ctx->flags.load() & MVS_FLAG_GRABBING))
        ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_GEOMETRY);
    return r;
}

int mvsGetParam(_MVSContext *ctx, MVSParam *param) {
    if (!is_open(ctx)) return -7;
    if (!param) return -8;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    std::lock_guard<std::mutex> g(ctx->stateLock);
    for (int i = 0; i < MVS_PARAM_COUNT; ++i) {
        union {
            MVCC_INT_VALUE i;
            MVCC_FLOAT_VALUE f;
            uint8_t b;
            MVCC_STRING_VALUE s;
            MVCC_ENUM_VALUE e;
        } v;
        std::memset(&v, 0, sizeof v);
        if (get_value(ctx->handle, ConstRegDefArray[i].name, ConstRegDefArray[i].kind, &v) != MVCC_OK)
            return -995;
        std::memcpy(ctx->params[i], &v, MVS_SLOT_SIZE);
        ctx->paramsHeld |= 1u << i;
    }
    int32_t *out = reinterpret_cast<int32_t *>(param);
    for (int i = 0; i < MVS_PARAM_COUNT; ++i) {
        const uint8_t *slot = ctx->params[i];
        switch (ConstRegDefArray[i].kind) {
            case MVS_KIND_INTEGER: {
                int64_t v;
                std::memcpy(&v, slot, sizeof v);
                out[i] = static_cast<int32_t>(v);
                break;
            }
            case MVS_KIND_BOOLEAN:
                out[i] = slot[0] ? 1 : 0;
                break;
            default:
                std::memcpy(&out[i], slot, 4);
                break;  // float and enumeration: 32 bits as they are
        }
    }
    return 0;
}

int mvsSetParam(_MVSContext *ctx, MVSParam *param) {
    if (!is_open(ctx)) return -7;
    if (!param) return -8;
    std::shared_lock<std::shared_mutex> hl(ctx->handleLock);
    std::lock_guard<std::mutex> g(ctx->stateLock);
    const int32_t *in = reinterpret_cast<const int32_t *>(param);
    for (int i = 0; i < MVS_PARAM_COUNT; ++i) {
        uint8_t *slot = ctx->params[i];
        std::memset(slot, 0, MVS_SLOT_SIZE);
        switch (ConstRegDefArray[i].kind) {
            case MVS_KIND_INTEGER: {
                const int64_t v = in[i];
                std::memcpy(slot, &v, sizeof v);
                break;
            }
            case MVS_KIND_BOOLEAN:
                slot[0] = in[i] ? 1 : 0;
                break;
            default:
                std::memcpy(slot, &in[i], 4);
                break;
        }
        ctx->paramsHeld |= 1u << i;
    }
    const bool grabbing = ctx->flags.load() & MVS_FLAG_GRABBING;
    int failed = 0;
    if (write_slots(ctx->handle, ctx->params, ctx->paramsHeld, grabbing ? kFirstWhileGrabbing : 0, false,
                    &failed))
        return -994;
    if (!grabbing) ctx->flags &= ~static_cast<uint32_t>(MVS_FLAG_GEOMETRY);
    return 0;
}
