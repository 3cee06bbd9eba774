// The visible-camera wrapper: free functions mvs* over one _MVSContext per camera, hiding libMvCameraControl
// from the rest of the dual-light tool.
//
// Threads: the frame callback runs on the library's grab thread and must hand the frame over to its own
// thread; the BGRA buffer it gets is overwritten two frames later. The status callback runs on the library's
// exception thread (-17 camera lost, -18 camera back). Everything else is called from the tool's threads,
// one call at a time per context.
#pragma once

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <shared_mutex>
#include <thread>

#include "MvCameraControl.h"
#include "vis_file.h"

enum {
    MVS_TRANSPORT_GIGE = 1,
    MVS_TRANSPORT_USB3 = 4,
};

// State flags of a context.
enum {
    MVS_FLAG_OPEN = 1 << 0,
    MVS_FLAG_GEOMETRY = 1 << 1,
    MVS_FLAG_GRABBING = 1 << 2,
    MVS_FLAG_RECORDING = 1 << 3,
    MVS_FLAG_RAW = 1 << 4,
};

// Feature kinds of mvsGetValue, mvsSetValue and the feature table.
enum {
    MVS_KIND_INTEGER = 0,
    MVS_KIND_FLOAT = 1,
    MVS_KIND_BOOLEAN = 2,
    MVS_KIND_STRING = 3,
    MVS_KIND_ENUMERATION = 4,
    MVS_KIND_COMMAND = 5,
};

// Status values given to the status callback.
enum {
    MVS_STATUS_LOST = -17,
    MVS_STATUS_RESTORED = -18,
};

enum {
    MVS_PARAM_COUNT = 28,
    MVS_SLOT_SIZE = 256,
};

struct MVSConfig {
    int32_t transport;    // MVS_TRANSPORT_GIGE or MVS_TRANSPORT_USB3
    uint32_t accessMode;  // passed to MV_CC_OpenDevice
    char address[48];     // GigE: dotted IPv4 text; USB3: serial number (compared on 16 characters)
};
static_assert(sizeof(MVSConfig) == 56, "MVSConfig is 56 bytes");

struct MVSOutput {
    uint16_t width;
    uint16_t height;
    uint32_t pixelFormat;  // library (PFNC) code
    uint16_t frameRate;    // the resulting frame rate, truncated
};

// One line of a device list. Texts are NUL-padded 16-byte fields.
struct MVSDeviceInfo {
    int32_t transport;
    char ip[16];  // USB3: the serial number (unterminated when all 16 characters are used)
    char mask[16];
    char gateway[16];
    uint8_t identifier[16];  // GigE: the device's serial number
};

// The 28 features in the order of ConstRegDefArray: integers and floats as themselves, booleans and
// enumerations as unsigned values.
struct MVSParam {
    int32_t Width;
    int32_t Height;
    int32_t OffsetX;
    int32_t OffsetY;
    uint32_t ReverseX;
    uint32_t ReverseY;
    uint32_t PixelFormat;
    uint32_t AcquisitionFrameRateEnable;
    float AcquisitionFrameRate;
    uint32_t ExposureAuto;
    uint32_t ExposureMode;
    float ExposureTime;
    uint32_t GainAuto;
    float Gain;
    uint32_t GammaEnable;
    uint32_t GammaSelector;
    float Gamma;
    uint32_t SharpnessEnable;
    int32_t Sharpness;
    uint32_t HDREnable;
    int32_t HDRSelector;
    int32_t HDRShutter;
    float HDRGain;
    uint32_t BalanceWhiteAuto;
    uint32_t BalanceRatioSelector;
    int32_t BalanceRatio;
    uint32_t BinningHorizontal;
    uint32_t BinningVertical;
};
static_assert(sizeof(MVSParam) == 112, "MVSParam is 112 bytes");

struct MVSRegDef {
    const char *name;
    int kind;
};
extern const MVSRegDef ConstRegDefArray[MVS_PARAM_COUNT];

typedef void (*MVSFrameCallback)(unsigned char *data, MV_FRAME_OUT_INFO_EX *info, void *bgra, void *user);
typedef void (*MVSStatusCallback)(unsigned int status, void *user);

struct _MVSContext {
    std::atomic<uint32_t> flags{0};
    MVSConfig config{};
    uint32_t ip = 0;  // GigE address, host order

    MV_CC_DEVICE_INFO deviceInfo{};
    void *handle = nullptr;

    MVSFrameCallback frameCallback = nullptr;
    MVSStatusCallback statusCallback = nullptr;
    void *user = nullptr;

    int convert = 0;
    uint64_t frameCount = 0;
    uint8_t *bgraBlock = nullptr;  // 8 x width x height: the two BGRA buffers
    size_t bgraBlockSize = 0;

    uint16_t width = 0;
    uint16_t height = 0;
    uint32_t pixelFormat = 0;
    float resultingFrameRate = 0;
    float acquisitionFrameRate = 0;
    uint32_t pixelCount = 0;

    alignas(8) uint8_t params[MVS_PARAM_COUNT][MVS_SLOT_SIZE]{};
    uint32_t paramsHeld = 0;  // bit i: slot i holds a value read from or set on the camera

    VisFileHeader rawFileHeader{};
    VisFrameHeader rawFrameHeader{};
    FILE *rawFile = nullptr;
    pthread_mutex_t mutex;  // orders raw file writes against start and stop of raw recording

    // The handle is swapped by a reconnect: readers of it hold this shared, the swap holds it exclusively.
    std::shared_mutex handleLock;
    // Guards the grabbing flag's changes, the reconnect state and the parameter slots.
    std::mutex stateLock;
    std::condition_variable stateChanged;
    bool reconnecting = false;
    std::thread::id reconnectThread;
};

// Device lists: MV_CC_EnumDevices into one list owned by the wrapper (valid until the next call). GigE
// enumeration broadcasts. 0 or -1.
int mvsStaticEnumDevices(int transport, _MV_CC_DEVICE_INFO_LIST_ **list);
void mvsStaticMakeInfo(_MV_CC_DEVICE_INFO_ *info, MVSDeviceInfo *out);

_MVSContext *mvsCreate();
// Closes an open device (stopping grabbing and waiting for the library's callbacks to end), frees the
// buffers and the context and nulls the pointer.
void mvsFree(_MVSContext **ctx);

// 0, or -8 for an unknown transport or a GigE address that does not parse. A new configuration marks the
// output geometry unknown.
int mvsSetConfig(_MVSContext *ctx, const MVSConfig *config);
// Finds the camera and opens it. A GigE camera is asked at its address by a unicast discovery, so opening
// never broadcasts. 0, -7 already open, -1000 not found, -999/-998/-996 create, open, callback failed.
int mvsOpenDevice(_MVSContext *ctx);
void mvsSetCallback(_MVSContext *ctx, void *user, MVSFrameCallback frame, MVSStatusCallback status);
// 0, -7 not open / grabbing / callback missing, -995 geometry unreadable, -5 no memory, -997 start failed.
int mvsStartWork(_MVSContext *ctx, int convert, MVSOutput *out);
// Stops grabbing (and any recording), also while a reconnect runs, and returns once it has ended.
int mvsStopWork(_MVSContext *ctx);
void mvsCloseDevice(_MVSContext *ctx);

int mvsStartRecord(_MVSContext *ctx, const char *path);
int mvsStopRecord(_MVSContext *ctx);
// Raw ".vis" recording of 8-bit monochrome frames: 0, -7, -2 (other pixel format), -200 (file not created).
int mvsStartRecordRaw(_MVSContext *ctx, const char *path);
int mvsStopRecordRaw(_MVSContext *ctx);

// value: for a get, the library's record of that kind (MVCC_INT_VALUE ...; a uint8_t for booleans); for a
// set, the value itself (int64_t, float, uint8_t, a string, uint32_t; nothing for a command).
int mvsGetValue(_MVSContext *ctx, const char *name, int kind, void *value);
int mvsSetValue(_MVSContext *ctx, const char *name, int kind, void *value);
int mvsGetParam(_MVSContext *ctx, MVSParam *param);
int mvsSetParam(_MVSContext *ctx, MVSParam *param);
