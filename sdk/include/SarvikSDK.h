/*
 * SarvikSDK.h - public C interface of libSarvikSDK.
 *
 * libSarvikSDK finds networked radiometric thermal cameras, logs in to them, reads and writes their
 * configuration records, streams their temperature frames and renders them, records and replays
 * temperature files, and offers measurement, correction and alarm helpers.
 *
 * This header is plain C11 and also compiles as C++17. It is the only contract between the library, its
 * callers and the virtual camera: every record below is a packed little-endian byte block whose size and
 * field offsets are checked at compile time and never change. Records that hold pointers are laid out for
 * x86-64 (8-byte pointers), the only platform the library supports.
 *
 * Conventions of the whole interface:
 *  - Every call returns an int status: 0 or positive on success, one of the negative SARVIK_ERR_* codes on
 *    failure. Calls that return a pointer return NULL on failure.
 *  - Records are owned by the caller and passed by pointer; the library never keeps a caller's pointer
 *    beyond the call unless the call's comment says so.
 *  - Whatever the library allocates for a caller is released by the matching Free call.
 *  - Integers inside records are little-endian; text fields are zero-terminated UTF-8 in a fixed-size area;
 *    IPv4 addresses are 32-bit unsigned in host order with the first dotted octet in the most significant
 *    byte; colours are 32-bit 0xAARRGGBB.
 *  - Bytes named reserved_<offset> carry no meaning for the library; a read-modify-write must carry them
 *    back unchanged (always read a camera record before writing it).
 *  - Time stamps of the library's own records are 100-ns ticks since 1601-01-01 UTC; frame headers carry
 *    100-ns ticks since 1970-01-01 UTC (see SARVIK_EPOCH_1601_TO_1970_100NS).
 */
#ifndef SARVIK_SDK_H
#define SARVIK_SDK_H

#include <stddef.h>
#include <stdint.h>

#if !defined(__x86_64__) && !defined(_M_X64)
#error "libSarvikSDK records are laid out for x86-64"
#endif
#if defined(__BYTE_ORDER__) && (__BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__)
#error "libSarvikSDK records are little-endian"
#endif

/* ------------------------------------------------------------------------------------------------------ */
/* Export and compile-time checks                                                                         */
/* ------------------------------------------------------------------------------------------------------ */

/** Marks a function exported from libSarvikSDK (the library is built with hidden default visibility). */
#define SARVIK_API __attribute__((visibility("default")))

#ifdef __cplusplus
#define SARVIK_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define SARVIK_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
/** Checks at compile time that record T is exactly n bytes. */
#define SARVIK_CHECK_SIZE(T, n) SARVIK_STATIC_ASSERT(sizeof(T) == (n), #T " must be " #n " bytes")
/** Checks at compile time that field f of record T starts at byte n. */
#define SARVIK_CHECK_OFFSET(T, f, n) \
    SARVIK_STATIC_ASSERT(offsetof(T, f) == (n), #T "." #f " must be at offset " #n)

SARVIK_STATIC_ASSERT(sizeof(void*) == 8, "libSarvikSDK records assume 8-byte pointers");
SARVIK_STATIC_ASSERT(sizeof(float) == 4, "libSarvikSDK records assume 32-bit IEEE floats");

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------------------------------------ */
/* Status codes                                                                                           */
/* ------------------------------------------------------------------------------------------------------ */

/** Status codes shared by every exported call (0 or positive = success). */
enum SarvikStatus {
    SARVIK_OK = 0,
    /** A socket option could not be set; the discovery socket could not be created at init; an extended
     *  control was answered for another command; an unknown preview kind; a recording already running. */
    SARVIK_ERR_FAIL = -1,
    /** Request refused: unknown request type, argument outside its range (e.g. FPA variant not 0-2, bad
     *  recording or file type), or the camera answered with a refusing status. */
    SARVIK_ERR_REFUSED = -2,
    /** Sarvik_InitSDK has not run (or Sarvik_FreeSDK ran since). */
    SARVIK_ERR_NOT_INIT = -4,
    /** Out of memory, or a memory block larger than the caller's buffer. */
    SARVIK_ERR_NO_MEMORY = -5,
    /** No free session or preview slot (256 of each), or the session's frame buffer failed. */
    SARVIK_ERR_NO_SLOT = -6,
    /** Not allowed in the current state: socket not open, endpoint already (not) running, queue full,
     *  preview reconnecting, nothing loaded. */
    SARVIK_ERR_STATE = -7,
    /** Invalid argument: bad address text, unknown info type, buffer too small, missing callback. */
    SARVIK_ERR_INVALID_ARG = -8,
    /** User id or preview handle outside 0-255 or not in use. */
    SARVIK_ERR_BAD_ID = -10,
    /** Malformed data: bad frame (size, dimensions, fragments, encoding) or invalid alarm block. */
    SARVIK_ERR_MALFORMED = -11,
    /** Preview start: the frame ring could not be allocated. */
    SARVIK_ERR_PREVIEW_RING = -12,
    /** Preview start: the input (receiver, connection, stretch, encoder) could not be built. */
    SARVIK_ERR_PREVIEW_INPUT = -13,
    /** Preview start: the worker threads could not be started. */
    SARVIK_ERR_PREVIEW_THREAD = -14,
    /** Frame callback status: the connection to the camera broke; the preview reconnects by itself. */
    SARVIK_STATUS_CONNECTION_LOST = -17,
    /** Frame callback status: the connection has been re-established; frames follow again. */
    SARVIK_STATUS_CONNECTION_RESTORED = -18,
    /** A received header is inconsistent (snapshot header, alarm block header, handshake reply). */
    SARVIK_ERR_BAD_HEADER = -95,
    /** A socket could not be bound or set to listen, or socket options/getsockname failed. */
    SARVIK_ERR_BIND = -96,
    /** The answer was missing, short, or of the wrong type; a receive failed or timed out. */
    SARVIK_ERR_RECV = -97,
    /** A request could not be sent completely; a broadcast went out on no interface. */
    SARVIK_ERR_SEND = -98,
    /** Connecting to the camera failed or timed out. */
    SARVIK_ERR_CONNECT = -99,
    /** A socket could not be created. */
    SARVIK_ERR_SOCKET = -100,
    /** A file's content is not of the expected format (playback). */
    SARVIK_ERR_BAD_FORMAT = -194,
    /** A recording type the preview kind does not know (video and RTSP previews). */
    SARVIK_ERR_BAD_SAVE_TYPE = -195,
    /** A file write fell short. */
    SARVIK_ERR_FILE_WRITE = -197,
    /** A file read fell short. */
    SARVIK_ERR_FILE_READ = -198,
    /** A file could not be opened or created. */
    SARVIK_ERR_FILE_OPEN = -200
};

/* ------------------------------------------------------------------------------------------------------ */
/* Fixed numbers                                                                                          */
/* ------------------------------------------------------------------------------------------------------ */

/** Network ports of a camera (TCP unless noted) and of the PC. */
enum SarvikPort {
    SARVIK_PORT_DISCOVER = 55501,        /**< UDP: cameras listen for discovery and address changes */
    SARVIK_PORT_COMMAND = 55502,         /**< command channel, file and memory transfers */
    SARVIK_PORT_TEMPERATURE = 55503,     /**< temperature frames */
    SARVIK_PORT_SNAPSHOT = 55505,        /**< single snapshot fetch */
    SARVIK_PORT_VIDEO = 55506,           /**< H.264 video (preview kind 3) */
    SARVIK_PORT_MIXED = 55507,           /**< mixed H.264 stream (preview kind 5) */
    SARVIK_PORT_DISCOVER_ANSWER = 55511  /**< UDP on the PC: second-pass and address-change answers */
};

/** Network time-outs in milliseconds (Sarvik_SetTimeout accepts MIN..MAX). */
enum SarvikTimeout {
    SARVIK_TIMEOUT_DEFAULT_MS = 2000,
    SARVIK_TIMEOUT_MIN_MS = 2000,
    SARVIK_TIMEOUT_MAX_MS = 8000,
    SARVIK_TIMEOUT_CONTROLX_RECV_MS = 10000 /**< receive time-out of an extended control (_CtlX) */
};

/** Sizes of the library's tables. */
enum SarvikLimits {
    SARVIK_MAX_USERS = 256,      /**< user ids are 0..255 */
    SARVIK_MAX_PREVIEWS = 256,   /**< preview handles are 0..255 */
    SARVIK_FRAME_RING_SIZE = 16, /**< a frame handed to a callback stays intact for 15 further frames */
    SARVIK_TRANSFER_CHUNK_BYTES = 1048576 /**< files are streamed through one buffer of this size */
};

/** Hardware-acceleration device numbers of the "encoder" and "decoder" settings of "SarvikSDK.json". */
enum SarvikHwAccel {
    SARVIK_HWACCEL_SOFTWARE = 0,
    SARVIK_HWACCEL_CUDA = 2,   /**< "cuda" */
    SARVIK_HWACCEL_QSV = 5,    /**< "qsv" */
    SARVIK_HWACCEL_D3D11VA = 7 /**< "d3d11va" */
};

/** 100-ns ticks from 1601-01-01 to 1970-01-01: add to a frame time stamp to get the library's epoch. */
#define SARVIK_EPOCH_1601_TO_1970_100NS 116444736000000000LL

/* ------------------------------------------------------------------------------------------------------ */
/* Command channel messages                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/** Message types of the command channel (TCP 55502) and of discovery (UDP 55501).
 *  The answer to request type N has type N + 1 (SARVIK_MSG_ANSWER). */
enum SarvikMsgType {
    SARVIK_MSG_DISCOVER = 0,              /**< discovery request (_DiscoverCameraReq) */
    SARVIK_MSG_DISCOVER_ANSWER = 1,       /**< discovery answer (_DiscoverCameraMsg) */
    SARVIK_MSG_RESERVED_2 = 2,            /**< 6-byte request, 24-byte answer; no call issues it */
    SARVIK_MSG_RESERVED_4 = 4,            /**< 4-byte request, 4-byte answer; no call issues it */
    SARVIK_MSG_CONTROL = 6,               /**< _Ctl, one-way */
    SARVIK_MSG_GET_CAMERA_BASIC_INFO = 7,
    SARVIK_MSG_SET_CAMERA_BASIC_INFO = 9,
    SARVIK_MSG_GET_CAMERA_NETWORK_INFO = 11,
    SARVIK_MSG_SET_CAMERA_NETWORK_INFO = 13,
    SARVIK_MSG_GET_FFC_INFO = 15,
    SARVIK_MSG_SET_FFC_INFO = 17,
    SARVIK_MSG_GET_FPA_INFO_0 = 19,
    SARVIK_MSG_SET_FPA_INFO_0 = 21,
    SARVIK_MSG_GET_FIX_INFO = 23,
    SARVIK_MSG_SET_FIX_INFO = 25,
    SARVIK_MSG_GET_TVOUT_INFO = 31,
    SARVIK_MSG_SET_TVOUT_INFO = 33,
    SARVIK_MSG_UPLOAD_FILE = 35,          /**< File_UploadFile; answer RespFile_UploadFile */
    SARVIK_MSG_GET_SERIAL_PORT_INFO = 37,
    SARVIK_MSG_SET_SERIAL_PORT_INFO = 39,
    SARVIK_MSG_WRITE_SERIAL_PORT_DATA = 41, /**< _SerialPortData, one-way */
    SARVIK_MSG_GET_GPIO_INFO = 42,
    SARVIK_MSG_SET_GPIO_INFO = 44,
    SARVIK_MSG_RESERVED_46 = 46,          /**< 4-byte request, 8-byte answer; no call issues it */
    SARVIK_MSG_CAMERA_PLUGIN_INFO = 48,   /**< _CameraPluginExchange, get or set */
    SARVIK_MSG_DOWNLOAD_FILE = 50,        /**< File_DownloadFile; answer RespFile_DownloadFile */
    SARVIK_MSG_GET_CAMERA_TIME_INFO = 52,
    SARVIK_MSG_SET_CAMERA_TIME_INFO = 54,
    SARVIK_MSG_CONTROL_X = 56,            /**< _CtlX, answered with the same layout */
    SARVIK_MSG_GET_FPA_INFO_1 = 58,
    SARVIK_MSG_SET_FPA_INFO_1 = 60,
    SARVIK_MSG_GET_FPA_INFO_2 = 62,
    SARVIK_MSG_SET_FPA_INFO_2 = 64,
    SARVIK_MSG_GET_CAMERA_OSD_INFO = 66,
    SARVIK_MSG_SET_CAMERA_OSD_INFO = 68,
    SARVIK_MSG_GET_CAMERA_OUTPUT_INFO = 70,
    SARVIK_MSG_SET_CAMERA_OUTPUT_INFO = 72,
    SARVIK_MSG_GET_FPA_INFO_HK160 = 74,
    SARVIK_MSG_SET_FPA_INFO_HK160 = 76,
    SARVIK_MSG_DOWNLOAD_MEM = 78,         /**< Mem_DownloadMem; answer RespMem_DownloadMem */
    SARVIK_MSG_UPLOAD_MEM = 80,           /**< Mem_UploadMem; answer RespMem_UploadMem */
    SARVIK_MSG_CONFIG_IP = 82,            /**< address change by broadcast (_DiscoverConfigIPMsg) */
    SARVIK_MSG_CONFIG_IP_ANSWER = 83,     /**< _DiscoverConfigIPAck */
    SARVIK_MSG_GET_FPA_INFO_AK_0 = 84,
    SARVIK_MSG_SET_FPA_INFO_AK_0 = 86,
    SARVIK_MSG_GET_FPA_INFO_AK_1 = 88,
    SARVIK_MSG_SET_FPA_INFO_AK_1 = 90,
    SARVIK_MSG_GET_FPA_INFO_AK_2 = 92,
    SARVIK_MSG_SET_FPA_INFO_AK_2 = 94,
    SARVIK_MSG_GET_FPA_INFO_GD_0 = 96,
    SARVIK_MSG_SET_FPA_INFO_GD_0 = 98,
    SARVIK_MSG_GET_FPA_INFO_GD_1 = 100,
    SARVIK_MSG_SET_FPA_INFO_GD_1 = 102,
    SARVIK_MSG_GET_FPA_INFO_GD_2 = 104,
    SARVIK_MSG_SET_FPA_INFO_GD_2 = 106,
    SARVIK_MSG_GET_FPA_INFO_FAMILY4_0 = 108,
    SARVIK_MSG_SET_FPA_INFO_FAMILY4_0 = 110,
    SARVIK_MSG_GET_FPA_INFO_FAMILY4_1 = 112,
    SARVIK_MSG_SET_FPA_INFO_FAMILY4_1 = 114,
    SARVIK_MSG_GET_FPA_INFO_FAMILY4_2 = 116,
    SARVIK_MSG_SET_FPA_INFO_FAMILY4_2 = 118,
    SARVIK_MSG_GET_CAMERA_EXT_INFO = 120,
    SARVIK_MSG_SET_CAMERA_EXT_INFO = 122,
    SARVIK_MSG_GET_DESTRIP_INFO = 124,
    SARVIK_MSG_SET_DESTRIP_INFO = 126,
    SARVIK_MSG_GET_DENOISE_INFO = 128,
    SARVIK_MSG_SET_DENOISE_INFO = 130,
    SARVIK_MSG_GET_CAMERA_BLOCK_0 = 1000,
    SARVIK_MSG_SET_CAMERA_BLOCK_0 = 1002,
    SARVIK_MSG_GET_CAMERA_BLOCK_1 = 1004,
    SARVIK_MSG_SET_CAMERA_BLOCK_1 = 1006,
    SARVIK_MSG_GET_CAMERA_BLOCK_2 = 1008,
    SARVIK_MSG_SET_CAMERA_BLOCK_2 = 1010
};

/** Type of the answer to request type t. */
#define SARVIK_MSG_ANSWER(t) ((t) + 1)

#pragma pack(push, 1)

/** Header at the start of every command-channel and discovery message, request and answer alike.
 *  A bare "get" request and the answer to a "set" are this header alone (length 4). */
typedef struct _MsgHeader {
    uint16_t type;   /**< SarvikMsgType */
    uint16_t length; /**< total message length in bytes, header included */
} _MsgHeader;
SARVIK_CHECK_SIZE(_MsgHeader, 4);
SARVIK_CHECK_OFFSET(_MsgHeader, type, 0);
SARVIK_CHECK_OFFSET(_MsgHeader, length, 2);

/** Login record given to Sarvik_Login. */
typedef struct _LoginInfo {
    char ip[128];      /**< camera IPv4 address as dotted text, zero-terminated */
    char reserved[64]; /**< not read by the library */
} _LoginInfo;
SARVIK_CHECK_SIZE(_LoginInfo, 192);
SARVIK_CHECK_OFFSET(_LoginInfo, reserved, 128);

/* ------------------------------------------------------------------------------------------------------ */
/* Camera records                                                                                         */
/* ------------------------------------------------------------------------------------------------------ */

/** Identity, versions and data format of a camera (info type 0). Fetched at login and cached in the
 *  session; also the body of every discovery answer. */
typedef struct _CameraBasicInfo {
    char cameraId[32];    /**< unique camera identifier, also the discovery identity; read-only */
    char cameraName[32];  /**< user-assigned name; writable */
    char cameraType[16];  /**< model text */
    char fpaId[32];       /**< detector (FPA) identifier; read-only */
    char hardwareId[32];  /**< hardware version text; read-only */
    char softwareId[32];  /**< firmware version text; read-only ("GS"/"GW" inside: lens gear control) */
    uint16_t dataWidth;   /**< temperature image width, pixels */
    uint16_t dataHeight;  /**< temperature image height, pixels */
    uint16_t dataFps;     /**< frame rate, Hz */
    uint16_t dataRatio;   /**< writable */
    uint16_t sendRatio;   /**< writable; Sarvik_GetCameraBasicInfo reports a camera value of 0 as 1 */
    uint8_t dataTransform; /**< writable */
    uint8_t reserved_187[3];
    uint8_t desmearLevel; /**< writable */
    uint8_t reserved_191[21];
    uint16_t videoWidth;  /**< second resolution: the video picture carried next to the temperatures;
                               login sets both to dataWidth x dataHeight when either is 0 */
    uint16_t videoHeight;
} _CameraBasicInfo;
SARVIK_CHECK_SIZE(_CameraBasicInfo, 216);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, cameraName, 32);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, cameraType, 64);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, fpaId, 80);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, hardwareId, 112);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, softwareId, 144);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, dataWidth, 176);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, dataHeight, 178);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, dataFps, 180);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, dataRatio, 182);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, sendRatio, 184);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, dataTransform, 186);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, desmearLevel, 190);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, videoWidth, 212);
SARVIK_CHECK_OFFSET(_CameraBasicInfo, videoHeight, 214);

/** Network settings of a camera (info type 1; also the body of an address change). */
typedef struct _CameraNetworkInfo {
    uint8_t useStaticIp; /**< 0 = address by DHCP, 1 = static */
    uint8_t reserved_1[3];
    uint32_t staticIp;   /**< IPv4, host order */
    uint32_t subnetMask; /**< IPv4, host order */
    uint32_t gateway;    /**< IPv4, host order */
    uint8_t reserved_16[4];
    uint8_t macAddr[6];  /**< MAC address bytes in transmission order */
    uint16_t mtu;
    uint32_t dns;        /**< IPv4, host order */
    uint32_t dns2;       /**< IPv4, host order */
    uint8_t reserved_36[16];
} _CameraNetworkInfo;
SARVIK_CHECK_SIZE(_CameraNetworkInfo, 52);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, staticIp, 4);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, subnetMask, 8);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, gateway, 12);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, macAddr, 20);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, mtu, 26);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, dns, 28);
SARVIK_CHECK_OFFSET(_CameraNetworkInfo, dns2, 32);

/** Correction parameters the camera applies to its temperatures (info type 2). Fetched at login. */
typedef struct _FixInfo {
    float atmosphericTemperature;   /**< deg C */
    float relativeHumidity;         /**< % */
    float visibility;               /**< km */
    float rainfallIntensity;        /**< mm/h */
    float snowfallIntensity;        /**< mm/h */
    float targetDistance;           /**< m */
    float globalEmissivity;         /**< ratio */
    float infraredWindowTrans;      /**< window transmittance ratio */
    float tempOffset;               /**< deg C */
    uint8_t enableAtmFix;           /**< non-zero: atmospheric correction on */
    uint8_t reserved_37[3];
    float infraredWindowTempOffset; /**< deg C */
    uint8_t reserved_44[28];
} _FixInfo;
SARVIK_CHECK_SIZE(_FixInfo, 72);
SARVIK_CHECK_OFFSET(_FixInfo, relativeHumidity, 4);
SARVIK_CHECK_OFFSET(_FixInfo, visibility, 8);
SARVIK_CHECK_OFFSET(_FixInfo, rainfallIntensity, 12);
SARVIK_CHECK_OFFSET(_FixInfo, snowfallIntensity, 16);
SARVIK_CHECK_OFFSET(_FixInfo, targetDistance, 20);
SARVIK_CHECK_OFFSET(_FixInfo, globalEmissivity, 24);
SARVIK_CHECK_OFFSET(_FixInfo, infraredWindowTrans, 28);
SARVIK_CHECK_OFFSET(_FixInfo, tempOffset, 32);
SARVIK_CHECK_OFFSET(_FixInfo, enableAtmFix, 36);
SARVIK_CHECK_OFFSET(_FixInfo, infraredWindowTempOffset, 40);

/** Flat-field (shutter) correction behaviour (info type 3). */
typedef struct _FFCInfo {
    uint8_t frames_skipped_after_close;
    uint8_t frames_accumlated_when_closed;
    uint8_t frames_skipped_after_open;
    uint8_t nst_enable;
    uint16_t time_interval;     /**< automatic correction interval */
    uint16_t temp_interval;     /**< detector drift that triggers a correction, mK */
    uint8_t af_rebound;
    uint8_t fpa_shutter;
    uint8_t reserved_10[2];
    uint16_t time_interval_sec; /**< interval, seconds */
    uint8_t reserved_14[2];
} _FFCInfo;
SARVIK_CHECK_SIZE(_FFCInfo, 16);
SARVIK_CHECK_OFFSET(_FFCInfo, frames_accumlated_when_closed, 1);
SARVIK_CHECK_OFFSET(_FFCInfo, frames_skipped_after_open, 2);
SARVIK_CHECK_OFFSET(_FFCInfo, nst_enable, 3);
SARVIK_CHECK_OFFSET(_FFCInfo, time_interval, 4);
SARVIK_CHECK_OFFSET(_FFCInfo, temp_interval, 6);
SARVIK_CHECK_OFFSET(_FFCInfo, af_rebound, 8);
SARVIK_CHECK_OFFSET(_FFCInfo, fpa_shutter, 9);
SARVIK_CHECK_OFFSET(_FFCInfo, time_interval_sec, 12);

/** The camera's own video output and on-camera rendering (info type 4).
 *  Temperatures are tenths of deg C: x0.1 when read, x10 truncated toward zero when written. */
typedef struct _TvoutInfo {
    uint8_t enableTvout;
    uint8_t paletteType;      /**< palette number */
    uint8_t reserved_2[3];
    uint8_t zoom;
    uint16_t xuiDisplayFlags; /**< bit flags of on-screen elements */
    float gain;
    int32_t h264_bitrate;
    uint16_t h264_gopSize;
    uint8_t strechType;       /**< stretch mode */
    uint8_t ddeLevel;         /**< detail-enhancement level */
    int16_t man_temp0;        /**< manual range low, 0.1 deg C */
    int16_t man_temp1;        /**< manual range high, 0.1 deg C */
    uint8_t man_enable;
    uint8_t temp2gray;
    uint8_t reserved_26[1];
    uint8_t ct_type;          /**< colour-threshold mode */
    int16_t ct_temp0;         /**< 0.1 deg C */
    int16_t ct_temp1;         /**< 0.1 deg C */
    uint32_t ct_color0;       /**< 0xAARRGGBB */
    uint32_t ct_color1;       /**< 0xAARRGGBB */
} _TvoutInfo;
SARVIK_CHECK_SIZE(_TvoutInfo, 40);
SARVIK_CHECK_OFFSET(_TvoutInfo, paletteType, 1);
SARVIK_CHECK_OFFSET(_TvoutInfo, zoom, 5);
SARVIK_CHECK_OFFSET(_TvoutInfo, xuiDisplayFlags, 6);
SARVIK_CHECK_OFFSET(_TvoutInfo, gain, 8);
SARVIK_CHECK_OFFSET(_TvoutInfo, h264_bitrate, 12);
SARVIK_CHECK_OFFSET(_TvoutInfo, h264_gopSize, 16);
SARVIK_CHECK_OFFSET(_TvoutInfo, strechType, 18);
SARVIK_CHECK_OFFSET(_TvoutInfo, ddeLevel, 19);
SARVIK_CHECK_OFFSET(_TvoutInfo, man_temp0, 20);
SARVIK_CHECK_OFFSET(_TvoutInfo, man_temp1, 22);
SARVIK_CHECK_OFFSET(_TvoutInfo, man_enable, 24);
SARVIK_CHECK_OFFSET(_TvoutInfo, temp2gray, 25);
SARVIK_CHECK_OFFSET(_TvoutInfo, ct_type, 27);
SARVIK_CHECK_OFFSET(_TvoutInfo, ct_temp0, 28);
SARVIK_CHECK_OFFSET(_TvoutInfo, ct_temp1, 30);
SARVIK_CHECK_OFFSET(_TvoutInfo, ct_color0, 32);
SARVIK_CHECK_OFFSET(_TvoutInfo, ct_color1, 36);

/** Camera output settings (info type 5); passed through unchanged. */
typedef struct _CameraOutputInfo {
    uint8_t data[48];
} _CameraOutputInfo;
SARVIK_CHECK_SIZE(_CameraOutputInfo, 48);

/** Clock sources of a camera (info type 6). */
typedef struct _CameraTimeInfo {
    char ntpServer[32];
    char ntpServer2[32];
    char timeZone[32]; /**< e.g. "Asia/Shanghai" */
    uint8_t reserved_96[32];
} _CameraTimeInfo;
SARVIK_CHECK_SIZE(_CameraTimeInfo, 128);
SARVIK_CHECK_OFFSET(_CameraTimeInfo, ntpServer2, 32);
SARVIK_CHECK_OFFSET(_CameraTimeInfo, timeZone, 64);

/** On-screen display of the camera's video output (info type 7). */
typedef struct _CameraOSDInfo {
    uint16_t loc_enable;  /**< flag */
    uint16_t loc_x;       /**< pixel column */
    uint16_t loc_y;       /**< pixel row */
    uint16_t time_enable; /**< flag */
    uint16_t time_x;
    uint16_t time_y;
    char loc_name[128];   /**< location text, at most 127 bytes */
    uint32_t color;       /**< 0xAARRGGBB */
    uint8_t reserved_144[128];
} _CameraOSDInfo;
SARVIK_CHECK_SIZE(_CameraOSDInfo, 272);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, loc_x, 2);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, loc_y, 4);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, time_enable, 6);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, time_x, 8);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, time_y, 10);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, loc_name, 12);
SARVIK_CHECK_OFFSET(_CameraOSDInfo, color, 140);

/** Modes of the camera's GPIO lines (info type 8). */
typedef struct _GpioInfo {
    uint8_t input0;
    uint8_t input1;
    uint8_t output0;
    uint8_t output1;
    uint8_t reserved_4[12];
} _GpioInfo;
SARVIK_CHECK_SIZE(_GpioInfo, 16);
SARVIK_CHECK_OFFSET(_GpioInfo, output1, 3);

/** Settings of the camera's serial port (info type 9). */
typedef struct _SerialPortInfo {
    uint8_t usage;
    uint8_t portAddr;
    uint8_t baudRate;
    uint8_t dataBits;
    uint8_t stopBits;
    uint8_t parity;
    uint8_t reserved_6[10];
} _SerialPortInfo;
SARVIK_CHECK_SIZE(_SerialPortInfo, 16);
SARVIK_CHECK_OFFSET(_SerialPortInfo, parity, 5);

/** Protocol plug-ins of the camera: ONVIF, GB/T 28181, Modbus, ... (info type 10). */
typedef struct _CameraPluginInfo {
    int32_t version;         /**< read-only */
    int32_t onvif_version;   /**< read-only */
    int32_t gb28181_version; /**< read-only */
    int32_t modbus_version;  /**< read-only */
    char username[16];       /**< at most 15 bytes */
    char password[16];       /**< at most 15 bytes */
    uint8_t onvif_enable;
    uint8_t gb28181_enable;
    uint8_t modbus_enable;
    uint8_t svdatavm_enable;
    uint8_t h5_enable;
    uint8_t reserved_53[11];
} _CameraPluginInfo;
SARVIK_CHECK_SIZE(_CameraPluginInfo, 64);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, onvif_version, 4);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, gb28181_version, 8);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, modbus_version, 12);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, username, 16);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, password, 32);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, onvif_enable, 48);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, gb28181_enable, 49);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, modbus_enable, 50);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, svdatavm_enable, 51);
SARVIK_CHECK_OFFSET(_CameraPluginInfo, h5_enable, 52);

/** Operation and answer-status words of the plug-in exchange. */
enum SarvikPluginOp {
    SARVIK_PLUGIN_OP_READ = 0,  /**< request: read; a read is answered with status 0 */
    SARVIK_PLUGIN_OP_WRITE = 2  /**< request: write; a write is answered with status 2 */
};

/** Body of message 48 (both ways): the plug-in record behind an operation word (request) or a status word
 *  (answer). Any other answer status fails the call with SARVIK_ERR_REFUSED. */
typedef struct _CameraPluginExchange {
    int32_t operation; /**< SarvikPluginOp in the request, status in the answer */
    _CameraPluginInfo info;
} _CameraPluginExchange;
SARVIK_CHECK_SIZE(_CameraPluginExchange, 68);
SARVIK_CHECK_OFFSET(_CameraPluginExchange, info, 4);

/** Destripe filter settings (info type 11; also used by preview and playback).
 *  type: 0 off, 3 guided column estimate, any other non-zero value box column estimate. */
typedef struct _DestripInfo {
    uint16_t type;
    uint16_t width;      /**< filled by the library from the frame */
    uint16_t height;     /**< filled by the library from the frame */
    uint16_t s0_radius;  /**< 1..16 */
    uint16_t s0_regular; /**< >= 1 */
    uint16_t s1_radius;  /**< 1..16 */
    uint16_t s1_regular; /**< >= 1 */
    uint8_t sub_y;       /**< row subsampling, 1..16 */
    uint8_t sub_t;       /**< frames between two estimates in sequence mode, 1..16 */
    uint8_t reserved_16[16];
} _DestripInfo;
SARVIK_CHECK_SIZE(_DestripInfo, 32);
SARVIK_CHECK_OFFSET(_DestripInfo, width, 2);
SARVIK_CHECK_OFFSET(_DestripInfo, height, 4);
SARVIK_CHECK_OFFSET(_DestripInfo, s0_radius, 6);
SARVIK_CHECK_OFFSET(_DestripInfo, s0_regular, 8);
SARVIK_CHECK_OFFSET(_DestripInfo, s1_radius, 10);
SARVIK_CHECK_OFFSET(_DestripInfo, s1_regular, 12);
SARVIK_CHECK_OFFSET(_DestripInfo, sub_y, 14);
SARVIK_CHECK_OFFSET(_DestripInfo, sub_t, 15);

/** Destripe filter types. */
enum SarvikDestripType {
    SARVIK_DESTRIP_OFF = 0,
    SARVIK_DESTRIP_GUIDED = 3 /**< any other non-zero type uses the box column estimate */
};

/** Denoise filter settings (info type 12; also used by preview and playback). */
typedef struct _DenoiseInfo {
    uint16_t type;       /**< SarvikDenoiseType */
    uint16_t width;      /**< filled by the library from the frame */
    uint16_t height;     /**< filled by the library from the frame */
    uint16_t gf_radius;  /**< 1..16 */
    uint16_t gf_regular; /**< 1..40 */
    uint8_t reserved_10[54];
} _DenoiseInfo;
SARVIK_CHECK_SIZE(_DenoiseInfo, 64);
SARVIK_CHECK_OFFSET(_DenoiseInfo, width, 2);
SARVIK_CHECK_OFFSET(_DenoiseInfo, height, 4);
SARVIK_CHECK_OFFSET(_DenoiseInfo, gf_radius, 6);
SARVIK_CHECK_OFFSET(_DenoiseInfo, gf_regular, 8);

/** Denoise filter types. */
enum SarvikDenoiseType {
    SARVIK_DENOISE_OFF = 0,
    SARVIK_DENOISE_FULL = 1,   /**< full resolution */
    SARVIK_DENOISE_HALF = 2,   /**< half resolution */
    SARVIK_DENOISE_QUARTER = 3 /**< quarter resolution */
};

/** Detector (FPA) registers, variants 0-2 (info types 100-102); passed through unchanged. */
typedef struct _FPAInfo {
    uint8_t data[12];
} _FPAInfo;
SARVIK_CHECK_SIZE(_FPAInfo, 12);

/** Detector registers of the AK family, variants 0-2 (info types 103-105); passed through unchanged. */
typedef struct _FPAInfoAK {
    uint8_t data[88];
} _FPAInfoAK;
SARVIK_CHECK_SIZE(_FPAInfoAK, 88);

/** Detector registers of the GD family, variants 0-2 (info types 106-108); passed through unchanged. */
typedef struct _FPAInfoGD {
    uint8_t data[88];
} _FPAInfoGD;
SARVIK_CHECK_SIZE(_FPAInfoGD, 88);

/** Detector registers of the fourth family, variants 0-2 (info types 109-111, reachable only through
 *  Sarvik_GetInfo / Sarvik_SetInfo); passed through unchanged. */
typedef struct _FPAInfoFamily4 {
    uint8_t data[88];
} _FPAInfoFamily4;
SARVIK_CHECK_SIZE(_FPAInfoFamily4, 88);

/** Detector registers of the HK160 (info type 113, no variants); passed through unchanged. */
typedef struct _FPAInfoHK160 {
    uint8_t data[128];
} _FPAInfoHK160;
SARVIK_CHECK_SIZE(_FPAInfoHK160, 128);

/** Extended camera record (info type 112); passed through unchanged. */
typedef struct _CameraExtInfo {
    uint8_t data[132];
} _CameraExtInfo;
SARVIK_CHECK_SIZE(_CameraExtInfo, 132);

/** One of the camera's three 512-byte data blocks (info types 1000-1002); passed through unchanged. */
typedef struct _CameraBlockInfo {
    uint8_t data[512];
} _CameraBlockInfo;
SARVIK_CHECK_SIZE(_CameraBlockInfo, 512);

/** Info types of Sarvik_GetInfo / Sarvik_SetInfo (record in brackets). */
enum SarvikInfoType {
    SARVIK_INFO_CAMERA_BASIC = 0,      /**< _CameraBasicInfo, 216 bytes */
    SARVIK_INFO_CAMERA_NETWORK = 1,    /**< _CameraNetworkInfo, 52 */
    SARVIK_INFO_FIX = 2,               /**< _FixInfo, 72 */
    SARVIK_INFO_FFC = 3,               /**< _FFCInfo, 16 */
    SARVIK_INFO_TVOUT = 4,             /**< _TvoutInfo, 40 */
    SARVIK_INFO_CAMERA_OUTPUT = 5,     /**< _CameraOutputInfo, 48 */
    SARVIK_INFO_CAMERA_TIME = 6,       /**< _CameraTimeInfo, 128 */
    SARVIK_INFO_CAMERA_OSD = 7,        /**< _CameraOSDInfo, 272 */
    SARVIK_INFO_GPIO = 8,              /**< _GpioInfo, 16 */
    SARVIK_INFO_SERIAL_PORT = 9,       /**< _SerialPortInfo, 16 */
    SARVIK_INFO_CAMERA_PLUGIN = 10,    /**< _CameraPluginInfo, 64 */
    SARVIK_INFO_DESTRIP = 11,          /**< _DestripInfo, 32 */
    SARVIK_INFO_DENOISE = 12,          /**< _DenoiseInfo, 64 */
    SARVIK_INFO_FPA_0 = 100,           /**< _FPAInfo variant 0, 12 */
    SARVIK_INFO_FPA_1 = 101,
    SARVIK_INFO_FPA_2 = 102,
    SARVIK_INFO_FPA_AK_0 = 103,        /**< _FPAInfoAK variant 0, 88 */
    SARVIK_INFO_FPA_AK_1 = 104,
    SARVIK_INFO_FPA_AK_2 = 105,
    SARVIK_INFO_FPA_GD_0 = 106,        /**< _FPAInfoGD variant 0, 88 */
    SARVIK_INFO_FPA_GD_1 = 107,
    SARVIK_INFO_FPA_GD_2 = 108,
    SARVIK_INFO_FPA_FAMILY4_0 = 109,   /**< _FPAInfoFamily4 variant 0, 88 */
    SARVIK_INFO_FPA_FAMILY4_1 = 110,
    SARVIK_INFO_FPA_FAMILY4_2 = 111,
    SARVIK_INFO_CAMERA_EXT = 112,      /**< _CameraExtInfo, 132 */
    SARVIK_INFO_FPA_HK160 = 113,       /**< _FPAInfoHK160, 128 */
    SARVIK_INFO_CAMERA_BLOCK_0 = 1000, /**< _CameraBlockInfo, 512 */
    SARVIK_INFO_CAMERA_BLOCK_1 = 1001,
    SARVIK_INFO_CAMERA_BLOCK_2 = 1002
};

/* ------------------------------------------------------------------------------------------------------ */
/* Control commands                                                                                       */
/* ------------------------------------------------------------------------------------------------------ */

/** One-way control command (message 6); the camera does not answer. */
typedef struct _Ctl {
    uint16_t command;  /**< SarvikCtlCode */
    uint8_t param[8];  /**< command parameter bytes */
} _Ctl;
SARVIK_CHECK_SIZE(_Ctl, 10);
SARVIK_CHECK_OFFSET(_Ctl, param, 2);

/** Codes of _Ctl. */
enum SarvikCtlCode {
    SARVIK_CTL_SHUTTER = 2,        /**< param[0]: SARVIK_SHUTTER_OPEN or SARVIK_SHUTTER_CLOSE */
    SARVIK_CTL_RESTART = 4,        /**< restart the camera */
    SARVIK_CTL_FFC = 32,           /**< flat-field correction now */
    SARVIK_CTL_FACTORY_RESET = 33  /**< restore factory settings */
};

/** Shutter parameter of SARVIK_CTL_SHUTTER. */
enum SarvikShutter { SARVIK_SHUTTER_OPEN = 0, SARVIK_SHUTTER_CLOSE = 1 };

/** Extended control command (message 56), answered with the same layout. Sarvik_SendControlX overwrites
 *  the caller's record with the answer. */
typedef struct _CtlX {
    int32_t command;  /**< SarvikCtlXCode */
    int32_t data[16]; /**< command data words */
} _CtlX;
SARVIK_CHECK_SIZE(_CtlX, 68);
SARVIK_CHECK_OFFSET(_CtlX, data, 4);
SARVIK_CHECK_OFFSET(_CtlX, data[15], 64);

/** Commands of _CtlX. */
enum SarvikCtlXCode {
    SARVIK_CTLX_GET_TIME = 0,     /**< answer words 0-5: UTC year, month (1-12), day, hour, minute, second */
    SARVIK_CTLX_SET_TIME = 1,     /**< words 0-5 as above; answer echoes */
    SARVIK_CTLX_GET_GEAR = 2,     /**< answer word 0: current lens gear level */
    SARVIK_CTLX_SET_GEAR = 3,     /**< word 0: lens gear level; answer echoes */
    SARVIK_CTLX_SYNC_NTP = 13,    /**< synchronise the clock from the NTP servers of _CameraTimeInfo */
    SARVIK_CTLX_SET_GPIO = 128    /**< word 0: mask of outputs to change; word 1: new levels (SarvikGpioOut) */
};

/** GPIO output bits of SARVIK_CTLX_SET_GPIO (mask and levels). */
enum SarvikGpioOut {
    SARVIK_GPIO_OUT_LIGHT = 1,
    SARVIK_GPIO_OUT_LEDY = 2,
    SARVIK_GPIO_OUT_LEDB = 4,
    SARVIK_GPIO_OUT_ALARM = 8,
    SARVIK_GPIO_OUT_BUZZ = 16
};

/** Bytes handed to the camera for its serial port (message 41, one-way). */
typedef struct _SerialPortData {
    uint8_t data[32];
} _SerialPortData;
SARVIK_CHECK_SIZE(_SerialPortData, 32);

/* ------------------------------------------------------------------------------------------------------ */
/* Discovery (UDP broadcast to 55501, answers on the sending socket or on the PC's 55511)                  */
/* ------------------------------------------------------------------------------------------------------ */

/** Answer routes of a discovery request. */
enum SarvikDiscoverRoute {
    SARVIK_DISCOVER_ROUTE_SENDER = 0, /**< answer to the sending socket (first pass) */
    SARVIK_DISCOVER_ROUTE_PORT = 1    /**< answer to the PC's port 55511 (second pass) */
};

/** Discovery request datagram (type 0, length 8). */
typedef struct _DiscoverCameraReq {
    _MsgHeader header;
    uint32_t route; /**< SarvikDiscoverRoute */
} _DiscoverCameraReq;
SARVIK_CHECK_SIZE(_DiscoverCameraReq, 8);
SARVIK_CHECK_OFFSET(_DiscoverCameraReq, route, 4);

/** One camera found by discovery: its basic information and its current address. */
typedef struct _DiscoverCameraResp2 {
    _CameraBasicInfo basicInfo; /**< cameraId, fpaId and softwareId identify the camera */
    uint32_t cameraIp;          /**< current IPv4 address, host order */
} _DiscoverCameraResp2;
SARVIK_CHECK_SIZE(_DiscoverCameraResp2, 220);
SARVIK_CHECK_OFFSET(_DiscoverCameraResp2, basicInfo.fpaId, 80);
SARVIK_CHECK_OFFSET(_DiscoverCameraResp2, basicInfo.softwareId, 144);
SARVIK_CHECK_OFFSET(_DiscoverCameraResp2, cameraIp, 216);

/** Discovery answer datagram (type 1, length 224). */
typedef struct _DiscoverCameraMsg {
    _MsgHeader header;
    _DiscoverCameraResp2 resp;
} _DiscoverCameraMsg;
SARVIK_CHECK_SIZE(_DiscoverCameraMsg, 224);
SARVIK_CHECK_OFFSET(_DiscoverCameraMsg, resp, 4);

/** Node of the list returned by Sarvik_DiscoverCameras. The whole list belongs to the caller, who frees it
 *  with Sarvik_DiscoverCamerasFree. */
typedef struct _DiscoverCameraNode {
    _DiscoverCameraResp2 camera;
    struct _DiscoverCameraNode* next; /**< NULL at the end of the list */
} _DiscoverCameraNode;
SARVIK_CHECK_SIZE(_DiscoverCameraNode, 228);
SARVIK_CHECK_OFFSET(_DiscoverCameraNode, next, 220);

/** Body of an address change, given to Sarvik_DiscoverConfigIP: the target camera by identifier and its
 *  new network settings. */
typedef struct _DiscoverConfigIPInfo {
    char cameraId[32]; /**< target cameraId, zero-padded */
    _CameraNetworkInfo network;
} _DiscoverConfigIPInfo;
SARVIK_CHECK_SIZE(_DiscoverConfigIPInfo, 84);
SARVIK_CHECK_OFFSET(_DiscoverConfigIPInfo, network, 32);

/** Address-change datagram (type 82, length 88), broadcast on every interface. */
typedef struct _DiscoverConfigIPMsg {
    _MsgHeader header;
    _DiscoverConfigIPInfo info;
} _DiscoverConfigIPMsg;
SARVIK_CHECK_SIZE(_DiscoverConfigIPMsg, 88);
SARVIK_CHECK_OFFSET(_DiscoverConfigIPMsg, info.network, 36);

/** Address-change answer datagram (type 83, length 36): the camera that applied the change. */
typedef struct _DiscoverConfigIPAck {
    _MsgHeader header;
    char cameraId[32];
} _DiscoverConfigIPAck;
SARVIK_CHECK_SIZE(_DiscoverConfigIPAck, 36);
SARVIK_CHECK_OFFSET(_DiscoverConfigIPAck, cameraId, 4);

/* ------------------------------------------------------------------------------------------------------ */
/* File and memory transfer (command port; the raw payload follows a non-negative answer)                 */
/* ------------------------------------------------------------------------------------------------------ */

/** Upload-file request (type 35, length 12); the file bytes follow a non-negative answer. */
typedef struct File_UploadFile {
    _MsgHeader header;
    int32_t fileType; /**< SarvikFileType */
    int32_t fileSize; /**< bytes */
} File_UploadFile;
SARVIK_CHECK_SIZE(File_UploadFile, 12);
SARVIK_CHECK_OFFSET(File_UploadFile, fileType, 4);
SARVIK_CHECK_OFFSET(File_UploadFile, fileSize, 8);

/** Upload-file answer (type 36, length 8). */
typedef struct RespFile_UploadFile {
    _MsgHeader header;
    int32_t status; /**< negative = refused */
} RespFile_UploadFile;
SARVIK_CHECK_SIZE(RespFile_UploadFile, 8);
SARVIK_CHECK_OFFSET(RespFile_UploadFile, status, 4);

/** Download-file request (type 50, length 8). */
typedef struct File_DownloadFile {
    _MsgHeader header;
    int32_t fileType; /**< SarvikFileType */
} File_DownloadFile;
SARVIK_CHECK_SIZE(File_DownloadFile, 8);
SARVIK_CHECK_OFFSET(File_DownloadFile, fileType, 4);

/** Download-file answer (type 51, length 12); the file bytes follow a non-negative status. */
typedef struct RespFile_DownloadFile {
    _MsgHeader header;
    int32_t status;   /**< negative = refused */
    int32_t fileSize; /**< bytes */
} RespFile_DownloadFile;
SARVIK_CHECK_SIZE(RespFile_DownloadFile, 12);
SARVIK_CHECK_OFFSET(RespFile_DownloadFile, status, 4);
SARVIK_CHECK_OFFSET(RespFile_DownloadFile, fileSize, 8);

/** Upload-memory request (type 80, length 12); the block follows a non-negative answer. */
typedef struct Mem_UploadMem {
    _MsgHeader header;
    int32_t memType; /**< SarvikMemType */
    int32_t memSize; /**< bytes */
} Mem_UploadMem;
SARVIK_CHECK_SIZE(Mem_UploadMem, 12);
SARVIK_CHECK_OFFSET(Mem_UploadMem, memType, 4);
SARVIK_CHECK_OFFSET(Mem_UploadMem, memSize, 8);

/** Upload-memory answer (type 81, length 8). */
typedef struct RespMem_UploadMem {
    _MsgHeader header;
    int32_t status; /**< negative = refused */
} RespMem_UploadMem;
SARVIK_CHECK_SIZE(RespMem_UploadMem, 8);
SARVIK_CHECK_OFFSET(RespMem_UploadMem, status, 4);

/** Download-memory request (type 78, length 8). */
typedef struct Mem_DownloadMem {
    _MsgHeader header;
    int32_t memType; /**< SarvikMemType */
} Mem_DownloadMem;
SARVIK_CHECK_SIZE(Mem_DownloadMem, 8);
SARVIK_CHECK_OFFSET(Mem_DownloadMem, memType, 4);

/** Download-memory answer (type 79, length 12); the block follows a non-negative status. */
typedef struct RespMem_DownloadMem {
    _MsgHeader header;
    int32_t status;  /**< negative = refused */
    int32_t memSize; /**< bytes */
} RespMem_DownloadMem;
SARVIK_CHECK_SIZE(RespMem_DownloadMem, 12);
SARVIK_CHECK_OFFSET(RespMem_DownloadMem, status, 4);
SARVIK_CHECK_OFFSET(RespMem_DownloadMem, memSize, 8);

/** File types of Sarvik_UploadFile / Sarvik_DownloadFile (other numbers are passed through). */
enum SarvikFileType {
    SARVIK_FILE_BIN = 0,    /**< camera application image (.bin) */
    SARVIK_FILE_CALI = 1,   /**< .cali */
    SARVIK_FILE_COM = 2,    /**< .com */
    SARVIK_FILE_LOG = 3,    /**< camera log (.log) */
    SARVIK_FILE_CALI2 = 4,  /**< .cali2 */
    SARVIK_FILE_CALI3 = 5,  /**< .cali3 */
    SARVIK_FILE_BAD = 6,    /**< bad-pixel list (.bad, BadPixelFileHeader) */
    SARVIK_FILE_C2M = 7,    /**< .c2m */
    SARVIK_FILE_C2M2 = 8,   /**< .c2m2 */
    SARVIK_FILE_CUST = 9,   /**< cust */
    SARVIK_FILE_CUST2 = 10, /**< cust2 */
    SARVIK_FILE_GAOWEN = 11 /**< high-temperature table (.gaowen) */
};

/** Memory types of Sarvik_UploadMem / Sarvik_DownloadMem known to the tools (others are passed through). */
enum SarvikMemType {
    SARVIK_MEM_GB28181 = 2,      /**< GB28181Block, 280 bytes */
    SARVIK_MEM_CUST_1 = 3,       /**< CustPointBlock, range 1, 656 bytes */
    SARVIK_MEM_CUST_2 = 4,       /**< CustPointBlock, range 2, 656 bytes */
    SARVIK_MEM_CLOSE_LENS = 5,   /**< CloseRangeLensBlock, 1088 bytes */
    SARVIK_MEM_FIX_DIST = 7      /**< FixDistBlock, 696 bytes */
};

/* ------------------------------------------------------------------------------------------------------ */
/* Alarm messaging                                                                                        */
/* ------------------------------------------------------------------------------------------------------ */

/** Alarm types (AlarmDataType_num2str gives "None", "SmokeFirePerson", "unknown" for others). */
enum SarvikAlarmType { SARVIK_ALARM_NONE = 0, SARVIK_ALARM_SMOKE_FIRE_PERSON = 1 };

/** Kinds of an alarm part ("none", "alg", "txt", "jpg", "mp4"; the name is also the file suffix). */
enum SarvikAlarmPartKind {
    SARVIK_ALARM_PART_NONE = 0,
    SARVIK_ALARM_PART_ALG = 1,
    SARVIK_ALARM_PART_TXT = 2,
    SARVIK_ALARM_PART_JPG = 3,
    SARVIK_ALARM_PART_MP4 = 4
};

/** Alarm block limits. */
enum SarvikAlarmLimits {
    SARVIK_ALARM_PARTS = 4,
    SARVIK_ALARM_HEADER_SIZE = 512,
    SARVIK_ALARM_MAX_SIZE = 16777216 /**< 16 MiB, header included */
};

/** Header of an alarm block. A block is one contiguous allocation: this header, then the four parts
 *  back to back. It is valid when 512 <= totalSize <= 16 MiB and totalSize = 512 + sum(partLength). */
typedef struct AlarmDataHeader {
    uint32_t totalSize;        /**< bytes, header included */
    uint32_t alarmType;        /**< SarvikAlarmType */
    char sender[72];           /**< sender name, zero-terminated */
    int64_t eventTime;         /**< 100-ns ticks since 1601-01-01 UTC; the server stamps its receipt time */
    int32_t partLength[4];     /**< bytes of each part, in order; 0 = absent */
    uint8_t partKind[4];       /**< SarvikAlarmPartKind of each part */
    uint8_t userHeader[404];   /**< application-defined, carried unchanged */
} AlarmDataHeader;
SARVIK_CHECK_SIZE(AlarmDataHeader, 512);
SARVIK_CHECK_OFFSET(AlarmDataHeader, alarmType, 4);
SARVIK_CHECK_OFFSET(AlarmDataHeader, sender, 8);
SARVIK_CHECK_OFFSET(AlarmDataHeader, eventTime, 80);
SARVIK_CHECK_OFFSET(AlarmDataHeader, partLength, 88);
SARVIK_CHECK_OFFSET(AlarmDataHeader, partKind, 104);
SARVIK_CHECK_OFFSET(AlarmDataHeader, userHeader, 108);

/** Configuration of an alarm client or server, copied at start. */
typedef struct AlarmConfig {
    char serverIp[16];      /**< server IPv4 address as dotted text (client only) */
    uint16_t port;          /**< TCP port */
    uint16_t timeout_ms;    /**< connect, send and receive time-out */
    uint16_t queueCapacity; /**< blocks the client may hold (client only) */
    uint8_t reserved_22[18];
} AlarmConfig;
SARVIK_CHECK_SIZE(AlarmConfig, 40);
SARVIK_CHECK_OFFSET(AlarmConfig, port, 16);
SARVIK_CHECK_OFFSET(AlarmConfig, timeout_ms, 18);
SARVIK_CHECK_OFFSET(AlarmConfig, queueCapacity, 20);

/** Called on the alarm client's worker thread after each delivery attempt with its status (0 delivered)
 *  and the block. The block belongs to the client and is valid only during the call; a failed block is
 *  retried. Must return quickly. */
typedef void (*AlarmClientCallback)(int status, AlarmDataHeader* block, void* user);

/** Called on the alarm server's worker thread with status 0 and each received block. The block belongs
 *  to the server until the application releases it with AlarmServer_FreeData (or the server stops). */
typedef void (*AlarmServerCallback)(int status, AlarmDataHeader* block, void* user);

/* ------------------------------------------------------------------------------------------------------ */
/* Temperature frames                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/** Header of one temperature frame: identical on the wire, in memory and in every file. The
 *  width x height signed 16-bit samples follow, row by row, top row first.
 *  Temperature in deg C = (float)sample / (float)slope + (float)offset. */
typedef struct _DataFrameHeader {
    uint16_t width;        /**< samples per row */
    uint16_t height;       /**< rows */
    int32_t encodedLength; /**< 0: raw samples follow; else bytes of delta-run payload (DeltaRunHeader) */
    uint8_t dataKind;      /**< SARVIK_DATA_KIND_*; 2 = temperatures (the filters apply) */
    uint8_t reserved_9[3];
    uint16_t slope;        /**< divisor of the temperature scale */
    int16_t offset;        /**< temperature offset, deg C */
    int32_t fpaTemp;       /**< detector temperature, 0.001 deg C */
    int32_t shellTemp;     /**< shell temperature, 0.001 deg C */
    uint8_t reserved_24;
    uint8_t gpioInput;     /**< GPIO input state */
    uint8_t reserved_26[6];
    int64_t timestamp;     /**< set by the camera: 100-ns ticks since 1970-01-01 UTC */
    int32_t shellTempHW;   /**< shell temperature from the hardware sensor, 0.001 deg C */
    uint8_t reserved_44[4];
    float netd;            /**< NETD diagnostic (mK for temperature frames) */
    float sstd;            /**< SSTD diagnostic (mK for temperature frames) */
    uint8_t reserved_56[72];
} _DataFrameHeader;
SARVIK_CHECK_SIZE(_DataFrameHeader, 128);
SARVIK_CHECK_OFFSET(_DataFrameHeader, height, 2);
SARVIK_CHECK_OFFSET(_DataFrameHeader, encodedLength, 4);
SARVIK_CHECK_OFFSET(_DataFrameHeader, dataKind, 8);
SARVIK_CHECK_OFFSET(_DataFrameHeader, slope, 12);
SARVIK_CHECK_OFFSET(_DataFrameHeader, offset, 14);
SARVIK_CHECK_OFFSET(_DataFrameHeader, fpaTemp, 16);
SARVIK_CHECK_OFFSET(_DataFrameHeader, shellTemp, 20);
SARVIK_CHECK_OFFSET(_DataFrameHeader, gpioInput, 25);
SARVIK_CHECK_OFFSET(_DataFrameHeader, timestamp, 32);
SARVIK_CHECK_OFFSET(_DataFrameHeader, shellTempHW, 40);
SARVIK_CHECK_OFFSET(_DataFrameHeader, netd, 48);
SARVIK_CHECK_OFFSET(_DataFrameHeader, sstd, 52);
SARVIK_CHECK_OFFSET(_DataFrameHeader, reserved_56, 56);

/** Data kinds of _DataFrameHeader.dataKind. */
enum SarvikDataKind {
    SARVIK_DATA_KIND_RAW = 0,        /**< detector counts, rendered by the raw mapping */
    SARVIK_DATA_KIND_TEMPERATURE = 2 /**< temperatures; destripe and denoise apply */
};

/** One frame slot. The slot, and everything its pointers reach, belongs to the library.
 *  A pointer handed to a preview callback stays valid until 15 further frames have been received on
 *  that preview (4 further frames for playback); copy what you need to keep longer. */
typedef struct _DataFrame {
    _DataFrameHeader* header; /**< 128 bytes */
    int16_t* data;            /**< width x height samples */
    int16_t* scratch;         /**< width x height work samples (geometric transforms); may be NULL */
    uint32_t* image;          /**< width x height BGRA pixels (bytes blue, green, red, alpha) */
    uint8_t* extra;           /**< 16384-byte block; temperature frames: _DataFrameResult at offset 16 */
    struct _DataFrame* previous; /**< slot before this one in the ring; may be NULL */
} _DataFrame;
SARVIK_CHECK_SIZE(_DataFrame, 48);
SARVIK_CHECK_OFFSET(_DataFrame, data, 8);
SARVIK_CHECK_OFFSET(_DataFrame, scratch, 16);
SARVIK_CHECK_OFFSET(_DataFrame, image, 24);
SARVIK_CHECK_OFFSET(_DataFrame, extra, 32);
SARVIK_CHECK_OFFSET(_DataFrame, previous, 40);

/** Size of a frame slot's extra block and where a temperature frame keeps its whole-frame result. */
enum SarvikFrameExtra {
    SARVIK_FRAME_EXTRA_SIZE = 16384,
    SARVIK_FRAME_RESULT_OFFSET = 16
};

/** Whole-frame result of a temperature frame, stored by the preview at extra + 16 of its slot. */
typedef struct _DataFrameResult {
    float maxTemp; /**< deg C */
    float minTemp; /**< deg C */
    float avgTemp; /**< deg C */
    uint16_t maxX; /**< column of the maximum */
    uint16_t maxY; /**< row of the maximum */
    uint16_t minX;
    uint16_t minY;
} _DataFrameResult;
SARVIK_CHECK_SIZE(_DataFrameResult, 20);
SARVIK_CHECK_OFFSET(_DataFrameResult, minTemp, 4);
SARVIK_CHECK_OFFSET(_DataFrameResult, avgTemp, 8);
SARVIK_CHECK_OFFSET(_DataFrameResult, maxX, 12);
SARVIK_CHECK_OFFSET(_DataFrameResult, maxY, 14);
SARVIK_CHECK_OFFSET(_DataFrameResult, minX, 16);
SARVIK_CHECK_OFFSET(_DataFrameResult, minY, 18);

/** Start of a delta-run encoded payload (when _DataFrameHeader.encodedLength is non-zero). Runs follow
 *  back to back up to byte encodedSize. */
typedef struct DeltaRunHeader {
    int32_t decodedSize; /**< A: decoded bytes, 2 x samples */
    int32_t encodedSize; /**< B: encoded bytes including these 8; 14 <= B <= A */
} DeltaRunHeader;
SARVIK_CHECK_SIZE(DeltaRunHeader, 8);
SARVIK_CHECK_OFFSET(DeltaRunHeader, encodedSize, 4);

/** One delta run; count signed 8-bit differences follow. The run yields count + 1 samples: first, then
 *  each next = previous + difference (16-bit wrap-around). */
typedef struct DeltaRun {
    int16_t first;
    int32_t count;
} DeltaRun;
SARVIK_CHECK_SIZE(DeltaRun, 6);
SARVIK_CHECK_OFFSET(DeltaRun, count, 2);

/** Header of one UDP fragment of a temperature frame (datagram at most 65507 bytes). */
typedef struct UdpFragmentHeader {
    uint16_t fragment;      /**< consecutive within one frame */
    uint16_t flags;         /**< SARVIK_UDP_FIRST | SARVIK_UDP_LAST */
    uint8_t reserved_4[4];
    uint16_t payloadLength; /**< at most 65495 */
    uint8_t reserved_10[2];
} UdpFragmentHeader;
SARVIK_CHECK_SIZE(UdpFragmentHeader, 12);
SARVIK_CHECK_OFFSET(UdpFragmentHeader, flags, 2);
SARVIK_CHECK_OFFSET(UdpFragmentHeader, payloadLength, 8);

/** Flags of UdpFragmentHeader.flags. */
enum SarvikUdpFlag {
    SARVIK_UDP_FIRST = 1, /**< first fragment of a frame */
    SARVIK_UDP_LAST = 2   /**< last fragment of a frame */
};

/** UDP size limits, bytes. */
enum SarvikUdpLimits { SARVIK_UDP_MAX_DATAGRAM = 65507, SARVIK_UDP_MAX_PAYLOAD = 65495 };

/** Message types of UdpControl.msgType. */
enum SarvikUdpControl {
    SARVIK_UDP_CTRL_NEXT_FRAME = 4,   /**< control: next-frame request */
    SARVIK_UDP_CTRL_OPEN = 8,         /**< control: open request (status 0) */
    SARVIK_UDP_CTRL_OPEN_REPLY = 16   /**< control: open reply (status 1, port = data port) */
};

/** UDP control datagram between the receiver and the camera. */
typedef struct UdpControl {
    uint16_t status;
    uint16_t msgType; /**< SARVIK_UDP_CTRL_* */
    uint8_t reserved_4[8];
    uint16_t port;    /**< open reply: the camera's data port, host order */
    uint8_t reserved_14[510];
} UdpControl;
SARVIK_CHECK_SIZE(UdpControl, 524);
SARVIK_CHECK_OFFSET(UdpControl, msgType, 2);
SARVIK_CHECK_OFFSET(UdpControl, port, 12);

/* ------------------------------------------------------------------------------------------------------ */
/* Stretch and palettes                                                                                   */
/* ------------------------------------------------------------------------------------------------------ */

/** Image settings of a view: stretch, gain, manual window, detail enhancement, colour marking.
 *  flags selects which fields a set call applies (SARVIK_STRECH_*); the tools set all with 2009. */
typedef struct _strech_control {
    int32_t flags;
    uint8_t strechType;  /**< 2 = linear; any other value = adaptive */
    uint8_t reserved_5[2];
    uint8_t smoothing;   /**< non-zero: the adaptive stretch follows the previous frame */
    float gain;          /**< plateau gain of the adaptive stretch, 0.08..10.02 */
    int16_t man_temp0;   /**< manual window low, 0.1 deg C */
    int16_t man_temp1;   /**< manual window high, 0.1 deg C */
    uint8_t man_enable;  /**< non-zero: manual window in force */
    uint8_t temp2gray;   /**< gray levels per ten raw steps; 0 automatic, else 10..50 */
    uint8_t ddeLevel;    /**< detail enhancement 0 (off)..8 */
    uint8_t ct_type;     /**< SarvikColorMark */
    int16_t ct_temp0;    /**< first marking threshold, 0.1 deg C */
    int16_t ct_temp1;    /**< second marking threshold, 0.1 deg C */
    uint32_t ct_color0;  /**< first marking colour, 0xAARRGGBB */
    uint32_t ct_color1;  /**< second marking colour, 0xAARRGGBB */
} _strech_control;
SARVIK_CHECK_SIZE(_strech_control, 32);
SARVIK_CHECK_OFFSET(_strech_control, strechType, 4);
SARVIK_CHECK_OFFSET(_strech_control, smoothing, 7);
SARVIK_CHECK_OFFSET(_strech_control, gain, 8);
SARVIK_CHECK_OFFSET(_strech_control, man_temp0, 12);
SARVIK_CHECK_OFFSET(_strech_control, man_temp1, 14);
SARVIK_CHECK_OFFSET(_strech_control, man_enable, 16);
SARVIK_CHECK_OFFSET(_strech_control, temp2gray, 17);
SARVIK_CHECK_OFFSET(_strech_control, ddeLevel, 18);
SARVIK_CHECK_OFFSET(_strech_control, ct_type, 19);
SARVIK_CHECK_OFFSET(_strech_control, ct_temp0, 20);
SARVIK_CHECK_OFFSET(_strech_control, ct_temp1, 22);
SARVIK_CHECK_OFFSET(_strech_control, ct_color0, 24);
SARVIK_CHECK_OFFSET(_strech_control, ct_color1, 28);

/** Flag bits of _strech_control.flags. */
enum SarvikStrechFlag {
    SARVIK_STRECH_TYPE = 0x1,
    SARVIK_STRECH_GAIN = 0x8,
    SARVIK_STRECH_TEMP2GRAY = 0x10,
    SARVIK_STRECH_SMOOTHING = 0x20,
    SARVIK_STRECH_DDE = 0x40,      /**< honoured only by Sarvik_PreviewSetImage and SarvikPlayback_SetImage */
    SARVIK_STRECH_MARK = 0x80,     /**< ct_type, ct_temp0, ct_temp1, ct_color0, ct_color1 together */
    SARVIK_STRECH_MAN_ENABLE = 0x100,
    SARVIK_STRECH_MAN_TEMP0 = 0x200,
    SARVIK_STRECH_MAN_TEMP1 = 0x400,
    SARVIK_STRECH_ALL = 2009       /**< every field except smoothing, as the tools send it */
};

/** Stretch types of _strech_control.strechType. */
enum SarvikStrechType { SARVIK_STRECH_ADAPTIVE = 1, SARVIK_STRECH_LINEAR = 2 };

/** Colour-temperature marking of _strech_control.ct_type. */
enum SarvikColorMark {
    SARVIK_MARK_NONE = 0,
    SARVIK_MARK_ABOVE = 1,   /**< above ct_temp0 */
    SARVIK_MARK_BELOW = 2,   /**< below ct_temp0 */
    SARVIK_MARK_BETWEEN = 3, /**< between ct_temp0 and ct_temp1 */
    SARVIK_MARK_OUTSIDE = 4  /**< below ct_temp0 (colour 0) or above ct_temp1 (colour 1) */
};

/** Palettes of the palette table, in table order. */
enum SarvikPalette {
    SARVIK_PALETTE_AUTUMN = 0,         /**< "Autumn" */
    SARVIK_PALETTE_BLACKHOT = 1,       /**< "BlackHot" */
    SARVIK_PALETTE_GLOWBOW = 2,        /**< "GlowBow" */
    SARVIK_PALETTE_HIGHCONTRAST = 3,   /**< "HighContrast" */
    SARVIK_PALETTE_HOTMETAL = 4,       /**< "HotMetal" */
    SARVIK_PALETTE_IRONBOW = 5,        /**< "IronBow", default of every preview and playback */
    SARVIK_PALETTE_JET = 6,            /**< "Jet" */
    SARVIK_PALETTE_RAINBOW = 7,        /**< "RainBow" */
    SARVIK_PALETTE_REDSATURATION = 8,  /**< "RedSaturation" */
    SARVIK_PALETTE_WHITEHOT = 9,       /**< "WhiteHot" */
    SARVIK_PALETTE_WINTER = 10,        /**< "Winter" */
    SARVIK_PALETTE_IRONBOW2 = 11,      /**< "IronBow2" */
    SARVIK_PALETTE_COUNT = 12
};

/** One palette: a name and 256 colours from the coldest (0) to the hottest (255) gray level. */
typedef struct PaletteEntry {
    char name[32];        /**< zero-padded, e.g. "IronBow" */
    uint32_t colors[256]; /**< bytes blue, green, red, alpha (0xAARRGGBB read little-endian) */
} PaletteEntry;
SARVIK_CHECK_SIZE(PaletteEntry, 1056);
SARVIK_CHECK_OFFSET(PaletteEntry, colors, 32);

/** The palette table as returned by Sarvik_AllocPaletteData. */
typedef struct PaletteTable {
    PaletteEntry entries[SARVIK_PALETTE_COUNT];
} PaletteTable;
SARVIK_CHECK_SIZE(PaletteTable, 12672);
SARVIK_CHECK_OFFSET(PaletteTable, entries[5], 5280);

/* ------------------------------------------------------------------------------------------------------ */
/* Preview                                                                                                */
/* ------------------------------------------------------------------------------------------------------ */

/** Frame callback of a preview. Called on the preview's worker thread, never on the caller's:
 *  status 0 with a frame; SARVIK_STATUS_CONNECTION_LOST (-17) or SARVIK_STATUS_CONNECTION_RESTORED (-18)
 *  with frame NULL; for RTSP previews, the codec library's non-zero code with frame NULL.
 *  The frame belongs to the library (see _DataFrame for how long it stays valid). Return quickly: the
 *  worker does not receive while the callback runs. */
typedef void (*PreviewFrameCallback)(int status, _DataFrame* frame, void* user);

/** Preview kinds of PreviewParam.previewKind. */
enum SarvikPreviewKind {
    SARVIK_PREVIEW_TEMPERATURE = 2,
    SARVIK_PREVIEW_VIDEO = 3,  /**< H.264 over TCP */
    SARVIK_PREVIEW_RTSP = 4,   /**< set by Sarvik_StartPreviewRtsp */
    SARVIK_PREVIEW_MIXED = 5
};

/** Transports of PreviewParam.transType. */
enum SarvikTransport { SARVIK_TRANSPORT_TCP = 0, SARVIK_TRANSPORT_UDP = 1 };

/** Geometric transforms of a temperature preview. */
enum SarvikTransform {
    SARVIK_TRANSFORM_NONE = 0,
    SARVIK_TRANSFORM_ROTATE_90 = 1,      /**< clockwise; width and height swap */
    SARVIK_TRANSFORM_ROTATE_180 = 2,
    SARVIK_TRANSFORM_ROTATE_270 = 3,     /**< 90 deg counter-clockwise; width and height swap */
    SARVIK_TRANSFORM_MIRROR_X = 4,       /**< left-right */
    SARVIK_TRANSFORM_MIRROR_Y = 5        /**< top-bottom */
};

/** Parameters of a preview, given to Sarvik_StartPreview. */
typedef struct PreviewParam {
    uint8_t previewKind;           /**< SarvikPreviewKind */
    uint8_t transType;             /**< SarvikTransport requested by the caller */
    uint8_t reserved_2[6];
    void* display;                 /**< display handle; NULL for temperature transform previews */
    PreviewFrameCallback callback; /**< frame callback */
    void* user;                    /**< passed back to the callback unchanged */
    uint16_t reserved_32;          /**< copied back unchanged by a successful start */
    uint16_t reserved_34;          /**< copied back unchanged by a successful start */
    uint8_t reserved_36[4];
} PreviewParam;
SARVIK_CHECK_SIZE(PreviewParam, 40);
SARVIK_CHECK_OFFSET(PreviewParam, transType, 1);
SARVIK_CHECK_OFFSET(PreviewParam, display, 8);
SARVIK_CHECK_OFFSET(PreviewParam, callback, 16);
SARVIK_CHECK_OFFSET(PreviewParam, user, 24);
SARVIK_CHECK_OFFSET(PreviewParam, reserved_32, 32);
SARVIK_CHECK_OFFSET(PreviewParam, reserved_34, 34);

/** Recording types of Sarvik_BeginSave / Sarvik_EndSave. */
enum SarvikSaveType {
    SARVIK_SAVE_SNAPSHOT = 1, /**< RTSP previews: copy the last picture */
    SARVIK_SAVE_STREAM = 2,   /**< temperature previews: stream file */
    SARVIK_SAVE_VIDEO = 3     /**< H.264 video file */
};

/** Sent once by the camera after a video or mixed stream connects. */
typedef struct H264FrameStart {
    int32_t configLength;  /**< bytes of codec configuration (the first 64 at most are used) */
    uint8_t reserved_4[4];
    uint8_t config[120];   /**< codec configuration bytes */
    uint16_t paramA;       /**< decoder parameter A, passed to the decoder configuration */
    uint16_t paramB;       /**< decoder parameter B, likewise */
    uint16_t width;        /**< stream width */
    uint16_t height;       /**< stream height */
    uint8_t reserved_136[120];
} H264FrameStart;
SARVIK_CHECK_SIZE(H264FrameStart, 256);
SARVIK_CHECK_OFFSET(H264FrameStart, config, 8);
SARVIK_CHECK_OFFSET(H264FrameStart, paramA, 128);
SARVIK_CHECK_OFFSET(H264FrameStart, paramB, 130);
SARVIK_CHECK_OFFSET(H264FrameStart, width, 132);
SARVIK_CHECK_OFFSET(H264FrameStart, height, 134);

/** Precedes every compressed frame of a video or mixed stream; the compressed bytes follow. */
typedef struct H264FrameHeader {
    int32_t size;     /**< header plus compressed bytes, at least 1024 */
    uint16_t width;
    uint16_t height;
    uint8_t reserved_8[1016];
} H264FrameHeader;
SARVIK_CHECK_SIZE(H264FrameHeader, 1024);
SARVIK_CHECK_OFFSET(H264FrameHeader, width, 4);
SARVIK_CHECK_OFFSET(H264FrameHeader, height, 6);

/** Source of an RTSP preview, given to Sarvik_StartPreviewRtsp. */
typedef struct RtspParam {
    char url[256];          /**< source address, zero-terminated */
    uint8_t mode;           /**< handed to the codec library as its first configuration field */
    uint8_t reserved_257;
    uint8_t secondOutput;   /**< non-zero: a second output per frame, at extra + 16384 (width x height) */
    uint8_t reserved_259[5];
    uint16_t width;         /**< filled by the start from what the source reports */
    uint16_t height;        /**< likewise */
} RtspParam;
SARVIK_CHECK_SIZE(RtspParam, 268);
SARVIK_CHECK_OFFSET(RtspParam, mode, 256);
SARVIK_CHECK_OFFSET(RtspParam, secondOutput, 258);
SARVIK_CHECK_OFFSET(RtspParam, width, 264);
SARVIK_CHECK_OFFSET(RtspParam, height, 266);

/* ------------------------------------------------------------------------------------------------------ */
/* Frame files                                                                                            */
/*   Stream file:   FrameFileBmpHeader (64) | BGRA cover (4N) | 1024 zero bytes | FrameFileInfo (128)       */
/*                  | frames of _DataFrameHeader + N raw samples (2N + 128 each)                            */
/*   Snapshot file: image bytes (a JPEG as a rule) | temperature tail:                                     */
/*                  TempTailHead (16648) | N raw samples (2N) | TempTailEnd (36)                            */
/*   (N = width x height)                                                                                  */
/* ------------------------------------------------------------------------------------------------------ */

/** Information record of every frame file. */
typedef struct FrameFileInfo {
    char cameraId[32];    /**< zero-padded */
    int64_t timestamp;    /**< 100-ns ticks since 1601-01-01 UTC: start of recording or snapshot time */
    uint16_t width;
    uint16_t height;
    _FixInfo fixInfo;     /**< the camera's correction record as read at login */
    int16_t dataFps;      /**< the camera's data frame rate */
    int16_t dataRatio;    /**< the camera's dataRatio x sendRatio */
    int32_t frameCount;   /**< 0 in files; playback stores a stream file's frame count here */
    uint8_t recorder;     /**< 5 when written by the library's recorder */
    uint8_t reserved_125;
    int16_t version;      /**< 1 when written by the library's recorder */
} FrameFileInfo;
SARVIK_CHECK_SIZE(FrameFileInfo, 128);
SARVIK_CHECK_OFFSET(FrameFileInfo, timestamp, 32);
SARVIK_CHECK_OFFSET(FrameFileInfo, width, 40);
SARVIK_CHECK_OFFSET(FrameFileInfo, height, 42);
SARVIK_CHECK_OFFSET(FrameFileInfo, fixInfo, 44);
SARVIK_CHECK_OFFSET(FrameFileInfo, dataFps, 116);
SARVIK_CHECK_OFFSET(FrameFileInfo, dataRatio, 118);
SARVIK_CHECK_OFFSET(FrameFileInfo, frameCount, 120);
SARVIK_CHECK_OFFSET(FrameFileInfo, recorder, 124);
SARVIK_CHECK_OFFSET(FrameFileInfo, version, 126);

/** Bitmap header at the start of stream and single-frame bitmap files, so image viewers show the cover
 *  (a 32-bit top-down picture of the first frame). */
typedef struct FrameFileBmpHeader {
    char magic[2];          /**< "BM" */
    uint32_t fileSize;      /**< 4N + 64 */
    uint16_t reserved_6;
    uint16_t reserved_8;
    uint32_t pixelOffset;   /**< 64 */
    uint32_t infoSize;      /**< 40 */
    int32_t width;          /**< w */
    int32_t height;         /**< -h: rows top down */
    uint16_t planes;        /**< 1 */
    uint16_t bitsPerPixel;  /**< 32 */
    uint32_t compression;   /**< 0 */
    uint32_t imageSize;     /**< 4N */
    uint8_t reserved_38[26];
} FrameFileBmpHeader;
SARVIK_CHECK_SIZE(FrameFileBmpHeader, 64);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, fileSize, 2);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, pixelOffset, 10);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, infoSize, 14);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, width, 18);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, height, 22);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, planes, 26);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, bitsPerPixel, 28);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, compression, 30);
SARVIK_CHECK_OFFSET(FrameFileBmpHeader, imageSize, 34);

/** Fixed numbers of the frame files. */
enum SarvikFrameFile {
    SARVIK_STREAM_ZERO_GAP = 1024,         /**< zero bytes between cover and information record */
    SARVIK_TEMP_TAIL_FIXED = 16684,        /**< tail bytes besides the 2N sample bytes */
    SARVIK_TEMP_TAIL_BLOCK = 16384,        /**< reserved block inside the tail */
    SARVIK_TEMP_TAIL_MARK = 20160901,      /**< TempTailEnd.mark */
    SARVIK_RECORDER_MARK = 5,              /**< FrameFileInfo.recorder */
    SARVIK_RECORDER_VERSION = 1            /**< FrameFileInfo.version */
};

/** Start of a temperature tail; the N raw samples follow, then TempTailEnd. */
typedef struct TempTailHead {
    int32_t length;               /**< 2N + 16672 (tail length - 12) */
    char magic[4];                /**< "teMp" */
    FrameFileInfo info;
    uint8_t block[16384];         /**< zero when written by the library or a tool; cameras may fill it */
    _DataFrameHeader header;
} TempTailHead;
SARVIK_CHECK_SIZE(TempTailHead, 16648);
SARVIK_CHECK_OFFSET(TempTailHead, magic, 4);
SARVIK_CHECK_OFFSET(TempTailHead, info, 8);
SARVIK_CHECK_OFFSET(TempTailHead, block, 136);
SARVIK_CHECK_OFFSET(TempTailHead, header, 16520);

/** Last 36 bytes of a temperature tail (and of a snapshot file): found from the end of the file. */
typedef struct TempTailEnd {
    uint16_t width;
    uint16_t height;
    uint32_t mark;          /**< 20160901 */
    uint8_t reserved_8[28]; /**< zero */
} TempTailEnd;
SARVIK_CHECK_SIZE(TempTailEnd, 36);
SARVIK_CHECK_OFFSET(TempTailEnd, height, 2);
SARVIK_CHECK_OFFSET(TempTailEnd, mark, 4);

/** Header of the camera's snapshot reply (port 55505); the temperature tail and the image follow. */
typedef struct SnapshotHeader {
    int32_t totalLength; /**< bytes including this header */
    uint16_t width;
    uint16_t height;
    uint8_t reserved_8[24];
} SnapshotHeader;
SARVIK_CHECK_SIZE(SnapshotHeader, 32);
SARVIK_CHECK_OFFSET(SnapshotHeader, width, 4);
SARVIK_CHECK_OFFSET(SnapshotHeader, height, 6);

/** Description of a snapshot or of a loaded frame file. Its pointers reach into library-owned memory:
 *  for Sarvik_SaveFrameToMem until the next snapshot of that user or logout; for playback until the
 *  object loads another file or is freed. For a stream file in playback, block, header and data are NULL
 *  and image is the bitmap header with the cover (4N + 64 bytes). */
typedef struct FrameCover {
    FrameFileInfo* info;        /**< information record */
    uint8_t* block;             /**< 16384-byte reserved block of the tail */
    _DataFrameHeader* header;
    int16_t* data;              /**< N samples */
    void* reserved_32;          /**< always NULL */
    uint8_t* image;             /**< image bytes (a JPEG as a rule) */
    int32_t reserved_48;        /**< 0 */
    int32_t imageLength;        /**< bytes at image */
} FrameCover;
SARVIK_CHECK_SIZE(FrameCover, 56);
SARVIK_CHECK_OFFSET(FrameCover, block, 8);
SARVIK_CHECK_OFFSET(FrameCover, header, 16);
SARVIK_CHECK_OFFSET(FrameCover, data, 24);
SARVIK_CHECK_OFFSET(FrameCover, reserved_32, 32);
SARVIK_CHECK_OFFSET(FrameCover, image, 40);
SARVIK_CHECK_OFFSET(FrameCover, imageLength, 52);

/** File types of SarvikPlayback_OpenFile. */
enum SarvikPlaybackFile {
    SARVIK_PLAYBACK_BITMAP = 0,      /**< single-frame bitmap file */
    SARVIK_PLAYBACK_SNAPSHOT = 1,    /**< image with temperature tail */
    SARVIK_PLAYBACK_STREAM = 2,      /**< stream file */
    SARVIK_PLAYBACK_SNAPSHOT_ALT = 4 /**< read exactly like SARVIK_PLAYBACK_SNAPSHOT */
};

/** Frame sizes playback accepts (N = width x height) and the largest snapshot image it holds. */
enum SarvikPlaybackLimits {
    SARVIK_PLAYBACK_MIN_PIXELS = 4800,
    SARVIK_PLAYBACK_MAX_PIXELS = 6000000,
    SARVIK_PLAYBACK_MAX_IMAGE = 24001024 /**< largest image a snapshot may carry, bytes */
};

/* ------------------------------------------------------------------------------------------------------ */
/* Correction helpers                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/** Header of a bad-pixel list file (.bad); count BadPixelPoint entries follow. */
typedef struct BadPixelFileHeader {
    char cameraId[32]; /**< zero-padded; bytes 0-4 take no part in caliVerifyBad */
    int32_t width;     /**< detector width */
    int32_t height;    /**< detector height */
    int32_t count;     /**< entries, at most 500 for caliVerifyBad */
} BadPixelFileHeader;
SARVIK_CHECK_SIZE(BadPixelFileHeader, 44);
SARVIK_CHECK_OFFSET(BadPixelFileHeader, width, 32);
SARVIK_CHECK_OFFSET(BadPixelFileHeader, height, 36);
SARVIK_CHECK_OFFSET(BadPixelFileHeader, count, 40);

/** One bad pixel. */
typedef struct BadPixelPoint {
    uint16_t x; /**< column */
    uint16_t y; /**< row */
} BadPixelPoint;
SARVIK_CHECK_SIZE(BadPixelPoint, 4);

/** The camera a bad-pixel list must belong to, given to caliVerifyBad (filled from cameraId, dataWidth
 *  and dataHeight of _CameraBasicInfo). */
typedef struct BadPixelIdentity {
    char cameraId[32];
    int32_t width;
    int32_t height;
} BadPixelIdentity;
SARVIK_CHECK_SIZE(BadPixelIdentity, 40);
SARVIK_CHECK_OFFSET(BadPixelIdentity, width, 32);
SARVIK_CHECK_OFFSET(BadPixelIdentity, height, 36);

/** Results of caliVerifyBad (its own numbering, not SarvikStatus). */
enum SarvikBadPixelCheck {
    SARVIK_BAD_OK = 0,
    SARVIK_BAD_ERR_OPEN = -1,      /**< the file cannot be opened */
    SARVIK_BAD_ERR_HEADER = -2,    /**< fewer than 44 header bytes */
    SARVIK_BAD_ERR_IDENTITY = -3,  /**< identifier, width or height differ, or more than 500 entries */
    SARVIK_BAD_ERR_MEMORY = -4,    /**< no memory for the entries */
    SARVIK_BAD_ERR_ENTRIES = -5,   /**< the entries cannot be read */
    SARVIK_BAD_ERR_OUTSIDE = -6    /**< an entry lies outside width x height */
};

/** Most entries a bad-pixel list may hold for caliVerifyBad. */
#define SARVIK_BAD_MAX_COUNT 500

/** One blackbody pair of the fix-distance block. */
typedef struct FixDistPair {
    float bb;  /**< blackbody (true) temperature, deg C */
    float mea; /**< temperature measured at that distance, deg C */
} FixDistPair;
SARVIK_CHECK_SIZE(FixDistPair, 8);

/** Fix-distance tables (camera memory type 7). Valid when 0 <= distCount <= 5, 2 <= bbCount <= 10,
 *  distances strictly ascending over distCount, and in each of the first distCount blocks both bb and
 *  mea strictly ascending over the first bbCount pairs. */
typedef struct FixDistBlock {
    uint8_t reserved_0[264];   /**< zero as written by the editor */
    int32_t distCount;         /**< 0..5 */
    int32_t bbCount;           /**< pairs per distance, 2..10 */
    int32_t distances[5];      /**< whole metres */
    FixDistPair pairs[5][10];  /**< one block of ten pairs per distance, in distance order */
    uint8_t reserved_692[4];
} FixDistBlock;
SARVIK_CHECK_SIZE(FixDistBlock, 696);
SARVIK_CHECK_OFFSET(FixDistBlock, distCount, 264);
SARVIK_CHECK_OFFSET(FixDistBlock, bbCount, 268);
SARVIK_CHECK_OFFSET(FixDistBlock, distances, 272);
SARVIK_CHECK_OFFSET(FixDistBlock, pairs, 292);
SARVIK_CHECK_OFFSET(FixDistBlock, pairs[1][0], 372);
SARVIK_CHECK_OFFSET(FixDistBlock, reserved_692, 692);

/** One entry of the close-range lens tables. */
typedef struct CloseRangeLensEntry {
    float bb;               /**< blackbody (true) temperature, deg C */
    float mea;              /**< measured temperature, deg C */
    uint8_t reserved_8[4];  /**< kept as fetched */
} CloseRangeLensEntry;
SARVIK_CHECK_SIZE(CloseRangeLensEntry, 12);
SARVIK_CHECK_OFFSET(CloseRangeLensEntry, mea, 4);

/** Close-range lens modes of CloseRangeLensBlock.cali_mode. */
enum SarvikCloseLensMode {
    SARVIK_CLOSE_LENS_NONE = 1,    /**< "Cali1": no lens correction */
    SARVIK_CLOSE_LENS_TABLE1 = 2,  /**< "Len1_Cali2": first table set, by shell temperature */
    SARVIK_CLOSE_LENS_TABLE2 = 3   /**< "Len2_Cali2": second table */
};

/** Format stamp of CloseRangeLensBlock as written by the editor. */
#define SARVIK_CLOSE_LENS_STAMP 20250224

/** Close-range (macro) lens tables (camera memory type 5). */
typedef struct CloseRangeLensBlock {
    int32_t stamp;                           /**< 20250224 as written by the editor */
    uint8_t reserved_4[32];
    uint8_t cali_mode;                       /**< SarvikCloseLensMode */
    uint8_t len1_env_count;                  /**< shell temperatures of the first set, at most 4 */
    uint8_t len1_bb_count;                   /**< pairs per shell temperature, at most 16 */
    uint8_t len2_bb_count;                   /**< pairs of the second table, at most 16 */
    float len1_shell_array[4];               /**< shell temperatures, deg C, strictly ascending */
    uint8_t reserved_56[72];
    CloseRangeLensEntry len1_bb_array[4][16]; /**< one group per shell temperature, in shell order */
    CloseRangeLensEntry len2_bb_array[16];
} CloseRangeLensBlock;
SARVIK_CHECK_SIZE(CloseRangeLensBlock, 1088);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, cali_mode, 36);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len1_env_count, 37);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len1_bb_count, 38);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len2_bb_count, 39);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len1_shell_array, 40);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len1_bb_array, 128);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len1_bb_array[1][0], 320);
SARVIK_CHECK_OFFSET(CloseRangeLensBlock, len2_bb_array, 896);

/** One custom blackbody point. */
typedef struct CustPointEntry {
    float bb;               /**< blackbody temperature, deg C */
    float mea;              /**< measured temperature, deg C */
    uint8_t reserved_8[16];
} CustPointEntry;
SARVIK_CHECK_SIZE(CustPointEntry, 24);

/** Custom blackbody points of one temperature range (camera memory types 3 and 4). */
typedef struct CustPointBlock {
    int64_t timestamp;        /**< 100-ns ticks since 1601-01-01 UTC */
    char note[256];           /**< UTF-8, at most 255 bytes, zero-filled */
    uint8_t reserved_264[4];
    int32_t itemCount;        /**< 0..16 */
    CustPointEntry items[16];
} CustPointBlock;
SARVIK_CHECK_SIZE(CustPointBlock, 656);
SARVIK_CHECK_OFFSET(CustPointBlock, note, 8);
SARVIK_CHECK_OFFSET(CustPointBlock, itemCount, 268);
SARVIK_CHECK_OFFSET(CustPointBlock, items, 272);

/** GB/T 28181 video-surveillance registration of the camera (camera memory type 2). */
typedef struct GB28181Block {
    int32_t headVersion;
    int32_t headEnable;
    char serverId[32];
    char serverIp[32];
    int32_t serverPort;
    char deviceId[32];
    int32_t devicePort;
    int32_t devicePortRtp;
    char streamId[32];
    char username[32];
    char password[32];
    int32_t keepAliveInterval; /**< seconds */
    uint8_t reserved_216[64];
} GB28181Block;
SARVIK_CHECK_SIZE(GB28181Block, 280);
SARVIK_CHECK_OFFSET(GB28181Block, serverId, 8);
SARVIK_CHECK_OFFSET(GB28181Block, serverIp, 40);
SARVIK_CHECK_OFFSET(GB28181Block, serverPort, 72);
SARVIK_CHECK_OFFSET(GB28181Block, deviceId, 76);
SARVIK_CHECK_OFFSET(GB28181Block, devicePort, 108);
SARVIK_CHECK_OFFSET(GB28181Block, devicePortRtp, 112);
SARVIK_CHECK_OFFSET(GB28181Block, streamId, 116);
SARVIK_CHECK_OFFSET(GB28181Block, username, 148);
SARVIK_CHECK_OFFSET(GB28181Block, password, 180);
SARVIK_CHECK_OFFSET(GB28181Block, keepAliveInterval, 212);

/** Configuration of a NETD object, compared and copied as a whole. */
typedef struct NetdConfig {
    uint16_t width;        /**< non-zero */
    uint16_t height;       /**< non-zero */
    uint16_t frameCount;   /**< frames in the noise window, 10..100 */
    uint16_t calcInterval; /**< minimum time between two computations, ms, 1000..10000 */
    uint8_t reserved_8[8]; /**< carried, not used */
} NetdConfig;
SARVIK_CHECK_SIZE(NetdConfig, 16);
SARVIK_CHECK_OFFSET(NetdConfig, frameCount, 4);
SARVIK_CHECK_OFFSET(NetdConfig, calcInterval, 6);

/* ------------------------------------------------------------------------------------------------------ */
/* Measurement templates                                                                                  */
/* ------------------------------------------------------------------------------------------------------ */

/** Measurement-template limits and fixed numbers. */
enum SarvikMt {
    SARVIK_MT_MAX_WIDTH = 1280,
    SARVIK_MT_MAX_HEIGHT = 1024,
    SARVIK_MT_MAX_AREAS = 8,
    SARVIK_MT_MAX_OBJECTS = 16,
    SARVIK_MT_MAX_POINTS = 32,
    SARVIK_MT_VERSION = 20190701 /**< 0x013415ED */
};

/** Shapes of MtObject.shape. */
enum SarvikMtShape {
    SARVIK_MT_SHAPE_POINT = 0,     /**< points[0] = (x, y), points[1].x = half-size r (<= 3) */
    SARVIK_MT_SHAPE_LINE = 1,      /**< points[0], points[1] */
    SARVIK_MT_SHAPE_RECT = 2,      /**< corners points[0], points[1] */
    SARVIK_MT_SHAPE_ELLIPSE = 3,   /**< bounding box points[0], points[1] */
    SARVIK_MT_SHAPE_POLYLINE = 4,  /**< count points, 2..32 */
    SARVIK_MT_SHAPE_POLYGON = 5    /**< count points, 3..32 */
};

/** Alarm modes of MtObject.alarmMode (v = average for points; M / m = maximum / minimum otherwise). */
enum SarvikMtAlarm {
    SARVIK_MT_ALARM_OFF = 0,
    SARVIK_MT_ALARM_LEVELS = 1,    /**< 0 below t1, 1 below t2, 2 below t3, else 3 */
    SARVIK_MT_ALARM_BELOW = 2,     /**< 1 if v < t1 (m < t1) */
    SARVIK_MT_ALARM_INSIDE = 3,    /**< 1 if t1 < v < t2 (m > t1 and M < t2) */
    SARVIK_MT_ALARM_OUTSIDE = 4,   /**< the opposite of mode 3 */
    SARVIK_MT_ALARM_BAND = 5       /**< 1 if t1 < v < t2 (t1 < M < t2) */
};

/** A point of a measurement object or exclusion area, pixels. */
typedef struct MtPoint {
    uint16_t x;
    uint16_t y;
} MtPoint;
SARVIK_CHECK_SIZE(MtPoint, 4);

/** One measurement object. */
typedef struct MtObject {
    uint8_t reserved_0;     /**< not used by the engine */
    uint8_t shape;          /**< SarvikMtShape */
    uint8_t count;          /**< points of lines, polylines, polygons */
    uint8_t percent;        /**< 50..100 (checked) */
    MtPoint points[32];
    uint8_t alarmMode;      /**< SarvikMtAlarm */
    uint8_t reserved_133[3];
    float threshold[3];     /**< t1, t2, t3, deg C */
    uint8_t reserved_148[4];
} MtObject;
SARVIK_CHECK_SIZE(MtObject, 152);
SARVIK_CHECK_OFFSET(MtObject, shape, 1);
SARVIK_CHECK_OFFSET(MtObject, count, 2);
SARVIK_CHECK_OFFSET(MtObject, percent, 3);
SARVIK_CHECK_OFFSET(MtObject, points, 4);
SARVIK_CHECK_OFFSET(MtObject, alarmMode, 132);
SARVIK_CHECK_OFFSET(MtObject, threshold, 136);
SARVIK_CHECK_OFFSET(MtObject, threshold[2], 144);

/** An exclusion area: a quadrilateral whose pixels the whole-frame measurement skips. */
typedef struct MtArea {
    uint8_t reserved_0[4];
    MtPoint corners[4];
} MtArea;
SARVIK_CHECK_SIZE(MtArea, 20);
SARVIK_CHECK_OFFSET(MtArea, corners, 4);

/** A measurement template: exclusion areas, whole-frame alarm and up to 16 objects. */
typedef struct MtTemplate {
    uint32_t version;        /**< SARVIK_MT_VERSION when created by the engine; not checked */
    uint16_t width;
    uint16_t height;
    uint32_t areaEnable;     /**< bit i enables areas[i] */
    uint32_t objectEnable;   /**< bit i enables objects[i] */
    uint8_t reserved_16[112];
    MtArea areas[8];
    MtObject frameObject;    /**< whole frame: only its shape byte and alarm fields are used */
    MtObject objects[16];
} MtTemplate;
SARVIK_CHECK_SIZE(MtTemplate, 2872);
SARVIK_CHECK_OFFSET(MtTemplate, width, 4);
SARVIK_CHECK_OFFSET(MtTemplate, height, 6);
SARVIK_CHECK_OFFSET(MtTemplate, areaEnable, 8);
SARVIK_CHECK_OFFSET(MtTemplate, objectEnable, 12);
SARVIK_CHECK_OFFSET(MtTemplate, areas, 128);
SARVIK_CHECK_OFFSET(MtTemplate, frameObject, 288);
SARVIK_CHECK_OFFSET(MtTemplate, objects, 440);

/** Result of one measured region. */
typedef struct MtResult {
    uint32_t alarm; /**< alarm state (not written by mtGetResult_GMO) */
    uint16_t maxX;
    uint16_t maxY;
    uint16_t minX;
    uint16_t minY;
    float maxTemp;  /**< deg C */
    float minTemp;  /**< deg C */
    float avgTemp;  /**< deg C */
} MtResult;
SARVIK_CHECK_SIZE(MtResult, 24);
SARVIK_CHECK_OFFSET(MtResult, maxX, 4);
SARVIK_CHECK_OFFSET(MtResult, minY, 10);
SARVIK_CHECK_OFFSET(MtResult, maxTemp, 12);
SARVIK_CHECK_OFFSET(MtResult, minTemp, 16);
SARVIK_CHECK_OFFSET(MtResult, avgTemp, 20);

#pragma pack(pop)

/* ------------------------------------------------------------------------------------------------------ */
/* Library lifetime                                                                                       */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Starts the library: reads "SarvikSDK.json" next to the executable (defaults when missing or invalid),
 * sets up logging, opens the discovery sockets, starts the codec library and allocates the palette table.
 * A second call while started returns 0 and changes nothing. On failure nothing stays acquired and the
 * call may be tried again.
 * Thread: call from one thread while no other library call runs.
 * \return 0; SARVIK_ERR_FAIL when the discovery socket cannot be created; the codec library's non-zero
 *         code; SARVIK_ERR_NO_MEMORY when the palette table cannot be allocated.
 */
SARVIK_API int Sarvik_InitSDK(void);

/**
 * Releases the library's global resources (logger, palette table, codec library, discovery sockets).
 * Does not stop previews or log out sessions: stop and log out first. Does nothing when not started.
 * Thread: call from one thread while no other library call runs.
 */
SARVIK_API void Sarvik_FreeSDK(void);

/**
 * Sets the network time-outs of connections opened afterwards, in milliseconds. Each value is taken only
 * when it lies within 2000..8000; otherwise that time-out stays as it was. Sarvik_InitSDK resets all
 * three to 2000. The discovery sockets always use 2000.
 * Thread: call from one thread while no other library call runs.
 */
SARVIK_API void Sarvik_SetTimeout(int connect_ms, int send_ms, int recv_ms);

/* ------------------------------------------------------------------------------------------------------ */
/* Sessions                                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Logs in to the camera at login->ip: fetches its _CameraBasicInfo into *basicInfo and its _FixInfo,
 * sets its clock to the PC's UTC time when "syncTime" is on, and claims a session. Nothing is kept on the
 * camera; the session only caches the two records. When the camera reports no second resolution, it is
 * set to the data resolution in *basicInfo as well.
 * A camera that does not answer costs the connect plus the receive time-out for each of the two record
 * exchanges.
 * Thread: any thread; several logins may run at once.
 * \param login      read only; the library keeps no pointer to it.
 * \param basicInfo  written on success (and by the first exchange even if a later step fails).
 * \return the user id 0..255; SARVIK_ERR_NOT_INIT; SARVIK_ERR_INVALID_ARG for an address text that is
 *         not an IPv4 address; SARVIK_ERR_NO_SLOT when 256 sessions exist; a channel status (-1, -97,
 *         -98, -99, -100).
 */
SARVIK_API int Sarvik_Login(const _LoginInfo* login, _CameraBasicInfo* basicInfo);

/**
 * Ends a session and frees its buffers; nothing is sent to the camera. Logging out an id that is not in
 * use returns 0. Stop the session's previews first.
 * Thread: any thread.
 * \return 0; SARVIK_ERR_NOT_INIT; SARVIK_ERR_BAD_ID for an id outside 0..255.
 */
SARVIK_API int Sarvik_Logout(int userId);

/* ------------------------------------------------------------------------------------------------------ */
/* Palettes                                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Returns a new copy of the palette table: SARVIK_PALETTE_COUNT (12) PaletteEntry records, 12672 bytes
 * (cast to PaletteTable*), with every alpha byte 255. The caller owns it and frees it with
 * Sarvik_FreePaletteData.
 * Thread: any thread.
 * \param count  receives 12, or 0 on failure.
 * \return the table, or NULL when out of memory.
 */
SARVIK_API char* Sarvik_AllocPaletteData(int* count);

/**
 * Frees a table returned by Sarvik_AllocPaletteData and sets *table to NULL. NULL and *table == NULL are
 * ignored.
 * Thread: any thread.
 */
SARVIK_API void Sarvik_FreePaletteData(char** table);

/* ------------------------------------------------------------------------------------------------------ */
/* Camera records and controls                                                                            */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Discovery and address change                                                                           */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* File and memory transfer                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Alarm messaging                                                                                        */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Temperature frames                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Stretch and palettes rendering                                                                         */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Destripe and denoise filters                                                                           */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Measurement templates                                                                                  */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* NETD measurement                                                                                       */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Correction helpers                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Bad-pixel list check                                                                                   */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Temperature preview                                                                                    */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Recording and frame files                                                                              */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Playback                                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Video preview                                                                                          */
/* ------------------------------------------------------------------------------------------------------ */

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SARVIK_SDK_H */
