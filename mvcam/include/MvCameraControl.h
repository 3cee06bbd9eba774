/*
 * libMvCameraControl: industrial visible-light cameras (GigE Vision, USB3 Vision) for the dual-light tool,
 * implemented over Aravis.
 *
 * Conventions of this interface:
 * - Every call returns an int: MVCC_OK (0) or one of the MVCC_E_... codes below (all in 0x80000000..
 *   0x8000FFFF, negative as an int). No exception leaves the library.
 * - A handle is created for one device information record and lives until MV_CC_DestroyHandle. Calls on
 *   one handle may come from several threads; destroying it while another thread still uses it is not
 *   allowed. Calling a handle's Stop/Close/Destroy from inside its own image callback is refused
 *   (MVCC_E_CALLORDER); from inside its exception callback it is allowed (that is how a caller reconnects).
 * - Image callbacks run on the handle's grab thread, one at a time, in frame order. The frame data and the
 *   frame information are valid during the call only. After MV_CC_StopGrabbing, MV_CC_CloseDevice or
 *   MV_CC_DestroyHandle has returned, no image callback of that handle runs any more.
 * - The exception callback runs on a thread of its own, at most once per opened connection.
 * - Pixel types are GenICam PFNC codes (MVCC_PIXEL_...).
 * - Records are packed little-endian structures; sizes and key offsets are checked below.
 * - Nothing is broadcast except by MV_CC_EnumDevices with the GigE transport.
 */
#ifndef MV_CAMERA_CONTROL_H
#define MV_CAMERA_CONTROL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define MVCC_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define MVCC_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#define MVCC_API __attribute__((visibility("default")))

/* ---- Results ----------------------------------------------------------------------------------------- */

#define MVCC_OK 0

/* General. */
#define MVCC_E_HANDLE ((int)0x80000000)    /* null or unknown handle */
#define MVCC_E_PARAMETER ((int)0x80000001) /* null pointer, size or value out of range */
#define MVCC_E_CALLORDER ((int)0x80000002) /* not open, already open, grabbing, not grabbing... */
#define MVCC_E_RESOURCE ((int)0x80000003)  /* out of memory or threads */
#define MVCC_E_SUPPORT ((int)0x80000004)   /* transport, access mode, pixel type or format not supported */
#define MVCC_E_BUFFER ((int)0x80000005)    /* destination too small, or source shorter than its size */
#define MVCC_E_INTERNAL ((int)0x800000FF)  /* anything else */

/* Features: "not available or not writable now". A caller writing a whole set of features may skip these
 * and go on with the next feature. */
#define MVCC_E_FEATURE_LOCKED ((int)0x80000100)    /* locked while the camera streams */
#define MVCC_E_FEATURE_NOT_FOUND ((int)0x80000101) /* the camera has no feature of that name */
#define MVCC_E_FEATURE_NOT_AVAIL ((int)0x80000102) /* not available in the camera's present state */
#define MVCC_E_FEATURE_ACCESS ((int)0x80000103)    /* read-only or write-only */
#define MVCC_E_FEATURE_KIND ((int)0x80000104)      /* the feature is of another kind (integer, float...) */
#define MVCC_E_FEATURE_RANGE \
    ((int)0x80000105) /* value below the minimum, above the maximum or off the increment */
#define MVCC_E_FEATURE_ENTRY ((int)0x80000106) /* no such enumeration entry */

/* Device and network. */
#define MVCC_E_NO_DEVICE ((int)0x80000200)     /* the device did not answer at its address, or is gone */
#define MVCC_E_TIMEOUT ((int)0x80000201)       /* the device did not answer in time */
#define MVCC_E_ACCESS_DENIED ((int)0x80000202) /* another application controls the device */
#define MVCC_E_PROTOCOL ((int)0x80000203)      /* the device answered with an error */
#define MVCC_E_STREAM ((int)0x80000204)        /* no stream channel could be set up */
#define MVCC_E_GENICAM ((int)0x80000205)       /* the device's feature description is missing or broken */

/* Recording. */
#define MVCC_E_RECORD_FILE ((int)0x80000300)   /* the file could not be created */
#define MVCC_E_RECORD_ENCODE ((int)0x80000301) /* the encoder failed */

/* ---- Constants --------------------------------------------------------------------------------------- */

/* Transports, as bits so that MV_CC_EnumDevices can take several. */
#define MVCC_TRANSPORT_GIGE 0x00000001u
#define MVCC_TRANSPORT_USB3 0x00000004u

/* Access modes of MV_CC_OpenDevice. */
#define MVCC_ACCESS_EXCLUSIVE 1u /* nobody else may control or even open the device */
#define MVCC_ACCESS_CONTROL 3u   /* we control it; others may watch */
#define MVCC_ACCESS_MONITOR 7u   /* read only: features can be read, not written; no grabbing */

/* Exception messages. */
#define MVCC_EXCEPTION_DEVICE_LOST 0x00008001u /* the control channel's heartbeat failed */
#define MVCC_EXCEPTION_STREAM_LOST 0x00008002u /* no complete frame arrived for MVCC_STREAM_STALL_MS */

/* A free-running camera that delivers nothing for this long (and for at least ten frame periods) is
 * reported lost. */
#define MVCC_STREAM_STALL_MS 3000

/* Pixel types (GenICam PFNC). MV_CC_ConvertPixelType reads all of them and writes MVCC_PIXEL_BGRA8. */
#define MVCC_PIXEL_MONO8 0x01080001u
#define MVCC_PIXEL_MONO10 0x01100003u /* 16-bit little-endian container */
#define MVCC_PIXEL_MONO12 0x01100005u
#define MVCC_PIXEL_MONO16 0x01100007u
#define MVCC_PIXEL_BAYER_GR8 0x01080008u
#define MVCC_PIXEL_BAYER_RG8 0x01080009u
#define MVCC_PIXEL_BAYER_GB8 0x0108000Au
#define MVCC_PIXEL_BAYER_BG8 0x0108000Bu
#define MVCC_PIXEL_BAYER_GR16 0x0110002Eu
#define MVCC_PIXEL_BAYER_RG16 0x0110002Fu
#define MVCC_PIXEL_BAYER_GB16 0x01100030u
#define MVCC_PIXEL_BAYER_BG16 0x01100031u
#define MVCC_PIXEL_RGB8 0x02180014u
#define MVCC_PIXEL_BGR8 0x02180015u
#define MVCC_PIXEL_RGBA8 0x02200016u
#define MVCC_PIXEL_BGRA8 0x02200017u
#define MVCC_PIXEL_YUV422_UYVY 0x0210001Fu
#define MVCC_PIXEL_YUV422_YUYV 0x02100032u
/* Bits per pixel of a PFNC code. */
#define MVCC_PIXEL_BITS(type) (((type) >> 16) & 0xFFu)

/* Record formats of MV_CC_StartRecord. */
#define MVCC_RECORD_H264                                                               \
    1u /* H.264 through the project's codec layer; container from the path's extension \
          (.mp4 .mkv .mov .ts ...; MP4 for anything else) */

#define MVCC_MAX_DEVICES 64
#define MVCC_MAX_ENUM_ENTRIES 62

/* ---- Records ----------------------------------------------------------------------------------------- */

/* GigE Vision device, as its discovery answer describes it. Addresses are host-order IPv4 values. */
typedef struct _MVCC_GIGE_INFO_ {
    uint32_t nCurrentIp;      /* 0: the device's current address */
    uint32_t nSubnetMask;     /* 4 */
    uint32_t nDefaultGateway; /* 8 */
    char chSerialNumber[16];  /* 12: the device's identifier: its serial number, NUL-padded (not
                                 terminated when all 16 characters are used) */
    uint32_t nInterfaceIp;    /* 28: the host address the answer came to */
    uint8_t chMac[6];         /* 32 */
    uint8_t reserved0[2];     /* 38 */
    char chManufacturer[32];  /* 40 */
    char chModel[32];         /* 72 */
    char chVersion[32];       /* 104 */
    char chUserName[16];      /* 136 */
    uint8_t reserved1[104];   /* 152 */
} MVCC_GIGE_INFO;
MVCC_STATIC_ASSERT(sizeof(MVCC_GIGE_INFO) == 256, "MVCC_GIGE_INFO is 256 bytes");
MVCC_STATIC_ASSERT(offsetof(MVCC_GIGE_INFO, nSubnetMask) == 4 &&
                       offsetof(MVCC_GIGE_INFO, nDefaultGateway) == 8,
                   "address, mask and gateway are three consecutive 32-bit values");

/* USB3 Vision device. Texts are NUL-terminated. */
typedef struct _MVCC_USB3_INFO_ {
    char chSerialNumber[64]; /* 0 */
    char chVendor[64];       /* 64 */
    char chModel[64];        /* 128 */
    char chDeviceId[64];     /* 192: the id the library opens the device by */
} MVCC_USB3_INFO;
MVCC_STATIC_ASSERT(sizeof(MVCC_USB3_INFO) == 256, "MVCC_USB3_INFO is 256 bytes");

typedef struct _MV_CC_DEVICE_INFO_ {
    uint32_t nTransport; /* 0: MVCC_TRANSPORT_GIGE or MVCC_TRANSPORT_USB3 */
    uint32_t reserved;   /* 4 */
    union {
        MVCC_GIGE_INFO gige;
        MVCC_USB3_INFO usb3;
    } info; /* 8 */
} MV_CC_DEVICE_INFO;
MVCC_STATIC_ASSERT(sizeof(MV_CC_DEVICE_INFO) == 264, "MV_CC_DEVICE_INFO is 264 bytes");

/* Filled by the enumeration calls; owned by the caller. */
typedef struct _MV_CC_DEVICE_INFO_LIST_ {
    uint32_t nDeviceNum;                          /* 0: valid entries in stDevice */
    uint32_t reserved;                            /* 4 */
    MV_CC_DEVICE_INFO stDevice[MVCC_MAX_DEVICES]; /* 8 */
} MV_CC_DEVICE_INFO_LIST;

/* One delivered frame, 64 bytes. */
typedef struct _MV_FRAME_OUT_INFO_EX_ {
    uint16_t nWidth;        /* 0 */
    uint16_t nHeight;       /* 2 */
    uint32_t enPixelType;   /* 4: PFNC code */
    uint64_t nFrameNum;     /* 8: the camera's frame (block) id */
    uint64_t nDevTimeStamp; /* 16: the camera's own clock, as it reports it */
    uint32_t nLostFrames;   /* 24: frames that failed since the previous delivered one */
    uint32_t reserved0;     /* 28 */
    int64_t nHostTimeStamp; /* 32: host time of arrival, milliseconds since 1970-01-01 UTC */
    uint32_t nFrameLen;     /* 40: bytes at the data pointer */
    uint16_t nOffsetX;      /* 44 */
    uint16_t nOffsetY;      /* 46 */
    uint8_t reserved1[16];  /* 48 */
} MV_FRAME_OUT_INFO_EX;
MVCC_STATIC_ASSERT(sizeof(MV_FRAME_OUT_INFO_EX) == 64, "MV_FRAME_OUT_INFO_EX is 64 bytes");
MVCC_STATIC_ASSERT(offsetof(MV_FRAME_OUT_INFO_EX, nHostTimeStamp) == 32, "time stamp at 32");
MVCC_STATIC_ASSERT(offsetof(MV_FRAME_OUT_INFO_EX, nFrameLen) == 40, "frame length at 40");

/* Feature values as the Get calls return them. Each starts with the current value and fits in 256 bytes. */
typedef struct _MVCC_INT_VALUE_ {
    int64_t nCurValue; /* 0 */
    int64_t nMin;      /* 8 */
    int64_t nMax;      /* 16 */
    int64_t nInc;      /* 24 */
    uint8_t reserved[32];
} MVCC_INT_VALUE;
MVCC_STATIC_ASSERT(sizeof(MVCC_INT_VALUE) == 64, "MVCC_INT_VALUE is 64 bytes");

typedef struct _MVCC_FLOAT_VALUE_ {
    float fCurValue; /* 0 */
    float fMin;      /* 4 */
    float fMax;      /* 8 */
    uint8_t reserved[20];
} MVCC_FLOAT_VALUE;
MVCC_STATIC_ASSERT(sizeof(MVCC_FLOAT_VALUE) == 32, "MVCC_FLOAT_VALUE is 32 bytes");

typedef struct _MVCC_ENUM_VALUE_ {
    uint32_t nCurValue;                            /* 0 */
    uint32_t nSupportedNum;                        /* 4: available entries, at most MVCC_MAX_ENUM_ENTRIES */
    uint32_t nSupportValue[MVCC_MAX_ENUM_ENTRIES]; /* 8 */
} MVCC_ENUM_VALUE;
MVCC_STATIC_ASSERT(sizeof(MVCC_ENUM_VALUE) == 256, "MVCC_ENUM_VALUE is 256 bytes");

typedef struct _MVCC_STRING_VALUE_ {
    char chCurValue[256]; /* 0: NUL-terminated, cut to 255 characters */
    int64_t nMaxLength;   /* 256: the feature's own length limit */
} MVCC_STRING_VALUE;
MVCC_STATIC_ASSERT(sizeof(MVCC_STRING_VALUE) == 264, "MVCC_STRING_VALUE is 264 bytes");

/* Pixel conversion. */
typedef struct _MVCC_CONVERT_PARAM_ {
    uint16_t nWidth;               /* 0 */
    uint16_t nHeight;              /* 2 */
    uint32_t enSrcPixelType;       /* 4 */
    const unsigned char *pSrcData; /* 8 */
    uint32_t nSrcDataLen;          /* 16: must hold width x height pixels of the source type */
    uint32_t enDstPixelType;       /* 20: MVCC_PIXEL_BGRA8 */
    unsigned char *pDstBuffer;     /* 24 */
    uint32_t nDstBufferSize;       /* 32: at least 4 x width x height */
    uint32_t nDstLen;              /* 36: out: bytes written */
} MVCC_CONVERT_PARAM;
MVCC_STATIC_ASSERT(sizeof(MVCC_CONVERT_PARAM) == 40, "MVCC_CONVERT_PARAM is 40 bytes");

/* Video recording. */
typedef struct _MVCC_RECORD_PARAM_ {
    uint32_t enPixelType;    /* 0: pixel type of the frames that MV_CC_InputOneFrame will get */
    uint16_t nWidth;         /* 4 */
    uint16_t nHeight;        /* 6 */
    float fFrameRate;        /* 8: frames per second the file is stamped at, rounded; 0 < rate <= 1000 */
    uint32_t nBitRateKbps;   /* 12: a hint only: the codec layer encodes at constant quality */
    uint32_t enRecordFormat; /* 16: MVCC_RECORD_H264 */
    char strFilePath[256];   /* 20: NUL-terminated */
    uint8_t reserved[4];     /* 276 */
} MVCC_RECORD_PARAM;
MVCC_STATIC_ASSERT(sizeof(MVCC_RECORD_PARAM) == 280, "MVCC_RECORD_PARAM is 280 bytes");

typedef struct _MVCC_INPUT_FRAME_ {
    const unsigned char *pData; /* 0 */
    uint32_t nDataLen;          /* 8 */
    uint32_t reserved;          /* 12 */
} MVCC_INPUT_FRAME;
MVCC_STATIC_ASSERT(sizeof(MVCC_INPUT_FRAME) == 16, "MVCC_INPUT_FRAME is 16 bytes");

/* Called on the grab thread for every complete frame. */
typedef void (*MvImageCallback)(unsigned char *pData, MV_FRAME_OUT_INFO_EX *pFrameInfo, void *pUser);
/* Called on a thread of its own with an MVCC_EXCEPTION_... message when the camera is lost. */
typedef void (*MvExceptionCallback)(unsigned int nMsgType, void *pUser);

/* ---- Devices ----------------------------------------------------------------------------------------- */

/* Lists the devices of the given transports (bits). GigE: a GigE Vision discovery broadcast on every IPv4
 * interface that is up, answers collected for one second. USB3: the USB3 Vision devices on the bus. The
 * list is the caller's; at most MVCC_MAX_DEVICES entries. */
MVCC_API int MV_CC_EnumDevices(unsigned int nTransports, MV_CC_DEVICE_INFO_LIST *pList);

/* Asks the one GigE address nIp (host order) by a unicast discovery, so nothing is broadcast. The list gets
 * the device that answered within nTimeoutMs (0 means 1000), or stays empty. */
MVCC_API int MV_CC_EnumDevicesUnicast(unsigned int nIp, unsigned int nTimeoutMs,
                                      MV_CC_DEVICE_INFO_LIST *pList);

/* ---- Handles ----------------------------------------------------------------------------------------- */

/* A handle for the device the record describes (copied). Nothing is sent to the device yet. */
MVCC_API int MV_CC_CreateHandle(void **pHandle, const MV_CC_DEVICE_INFO *pDeviceInfo);
/* Closes the device if open and frees the handle. */
MVCC_API int MV_CC_DestroyHandle(void *handle);

/* Connects with one of the MVCC_ACCESS_... modes; nSwitchoverKey is reserved (0). GigE devices are reached
 * at their address by unicast. Features that a previous connection left locked are unlocked. */
MVCC_API int MV_CC_OpenDevice(void *handle, unsigned int nAccessMode, unsigned short nSwitchoverKey);
/* Stops grabbing and recording, disconnects. The handle can be opened again. */
MVCC_API int MV_CC_CloseDevice(void *handle);

/* Only while not grabbing. A null callback removes it. */
MVCC_API int MV_CC_RegisterImageCallBackEx(void *handle, MvImageCallback cb, void *pUser);
MVCC_API int MV_CC_RegisterExceptionCallBack(void *handle, MvExceptionCallback cb, void *pUser);

/* Starts the stream and the camera's acquisition; the stream-locked features are locked until stop. */
MVCC_API int MV_CC_StartGrabbing(void *handle);
/* Stops acquisition and waits for a running image callback to return. MVCC_E_CALLORDER when not grabbing. */
MVCC_API int MV_CC_StopGrabbing(void *handle);

/* ---- Features (GenICam names) -------------------------------------------------------------------------- */

MVCC_API int MV_CC_GetIntValueEx(void *handle, const char *strKey, MVCC_INT_VALUE *pValue);
MVCC_API int MV_CC_SetIntValueEx(void *handle, const char *strKey, int64_t nValue);
MVCC_API int MV_CC_GetFloatValue(void *handle, const char *strKey, MVCC_FLOAT_VALUE *pValue);
MVCC_API int MV_CC_SetFloatValue(void *handle, const char *strKey, float fValue);
/* One byte: 0 or 1. */
MVCC_API int MV_CC_GetBoolValue(void *handle, const char *strKey, uint8_t *pValue);
MVCC_API int MV_CC_SetBoolValue(void *handle, const char *strKey, uint8_t bValue);
MVCC_API int MV_CC_GetStringValue(void *handle, const char *strKey, MVCC_STRING_VALUE *pValue);
MVCC_API int MV_CC_SetStringValue(void *handle, const char *strKey, const char *strValue);
/* Enumerations by entry value (for PixelFormat the PFNC code). */
MVCC_API int MV_CC_GetEnumValue(void *handle, const char *strKey, MVCC_ENUM_VALUE *pValue);
MVCC_API int MV_CC_SetEnumValue(void *handle, const char *strKey, uint32_t nValue);
MVCC_API int MV_CC_SetCommandValue(void *handle, const char *strKey);

/* ---- Pixels ------------------------------------------------------------------------------------------ */

/* Converts one frame to BGRA (alpha 255). Needs a handle (open or not): it keeps the converter, so that a
 * stream of frames of one size and type allocates nothing per frame. Safe against the handle's callbacks. */
MVCC_API int MV_CC_ConvertPixelType(void *handle, MVCC_CONVERT_PARAM *pParam);

/* ---- Recording --------------------------------------------------------------------------------------- */

/* Starts a video file of frames of the given type and size; frames are given with MV_CC_InputOneFrame (from
 * any one thread at a time), each converted, encoded and appended. MVCC_E_CALLORDER when one runs already. */
MVCC_API int MV_CC_StartRecord(void *handle, const MVCC_RECORD_PARAM *pParam);
MVCC_API int MV_CC_InputOneFrame(void *handle, const MVCC_INPUT_FRAME *pFrame);
/* Finishes the file. MVCC_E_CALLORDER when none runs; MVCC_E_RECORD_ENCODE when no frame was recorded
 * (the empty file is removed). */
MVCC_API int MV_CC_StopRecord(void *handle);

/* ---- Diagnostics ------------------------------------------------------------------------------------- */

/* A static English text for any result of this library. */
MVCC_API const char *MV_CC_GetErrorText(int nResult);

#ifdef __cplusplus
}
#endif

#undef MVCC_STATIC_ASSERT

#endif /* MV_CAMERA_CONTROL_H */
