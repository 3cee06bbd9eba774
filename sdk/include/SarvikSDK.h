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
 *  with Sarvik_DiscoverCamerasFree. Unlike the wire records, a node is laid out with natural alignment:
 *  the next pointer sits at its 8-byte boundary (offset 224), so the node is 232 bytes. */
#pragma pack(push)
#pragma pack()
typedef struct _DiscoverCameraNode {
    _DiscoverCameraResp2 camera;
    struct _DiscoverCameraNode* next; /**< NULL at the end of the list */
} _DiscoverCameraNode;
#pragma pack(pop)
SARVIK_CHECK_SIZE(_DiscoverCameraNode, 232);
SARVIK_CHECK_OFFSET(_DiscoverCameraNode, next, 224);

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
    char serverIp[16];      /**< client: server IPv4 address as dotted text; server: address to listen on,
                                 empty for every interface (0.0.0.0) */
    uint16_t port;          /**< TCP port */
    uint16_t timeout_ms;    /**< connect, send and receive time-out; 0 means 2000 */
    uint16_t queueCapacity; /**< blocks the client may hold, the one being delivered included (client only) */
    uint8_t reserved_22[18];
} AlarmConfig;
SARVIK_CHECK_SIZE(AlarmConfig, 40);
SARVIK_CHECK_OFFSET(AlarmConfig, port, 16);
SARVIK_CHECK_OFFSET(AlarmConfig, timeout_ms, 18);
SARVIK_CHECK_OFFSET(AlarmConfig, queueCapacity, 20);

/** Called on the alarm client's worker thread after each delivery attempt with its status and the block:
 *  0 when the server has received the whole block (it closed the connection in order after reading it);
 *  -100, -99, -98 failed, or -97 when that close did not come in time or the server reset the connection.
 *  The block belongs to the client and is valid only during the call; a failed block is retried after a
 *  pause. Delivery is at least once: a block whose close came too late may reach the server twice. Must
 *  return quickly. */
typedef void (*AlarmClientCallback)(int status, AlarmDataHeader* block, void* user);

/** Called on the alarm server's worker thread with status 0 and each received block. The block belongs
 *  to the server until the application releases it with AlarmServer_FreeData (or the server stops). A
 *  client may deliver a block twice (see AlarmClientCallback). */
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
 * The log stays open until the last worker that may still write to it has ended (alarm endpoints keep
 * running across this call; previews not stopped keep logging until they are).
 * Thread: call from one thread while no other library call runs; never from a preview's callback (it is
 * refused there and does nothing, with a log line).
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
 * use returns 0. Its previews keep running on their own copies of what they need until they are stopped;
 * stop them first unless that is meant.
 * Thread: any thread, also a callback of one of the session's previews (waits for a snapshot of this user
 * in progress).
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

/*
 * Every call below is one exchange on a fresh connection to the session's command port (55502), made on
 * the caller's thread; any thread may call, and several calls, also to one camera, may run at once. A
 * camera that does not answer costs at most the connect plus the receive time-out (10000 ms of receive
 * time for Sarvik_SendControlX).
 *
 * Records are owned by the caller. A get writes the record only on success: on failure the caller's
 * record is untouched. A set only reads the record; the library keeps no pointer. Camera records carry
 * reserved bytes: always read a record, change its fields, and write it back whole.
 *
 * Checks, in this order, all before anything is sent: SARVIK_ERR_NOT_INIT (-4); the arguments
 * (SARVIK_ERR_INVALID_ARG -8 for a NULL record, an unknown info type or a short buffer;
 * SARVIK_ERR_REFUSED -2 for an FPA variant outside 0..2); then the user id (SARVIK_ERR_BAD_ID -10 for an
 * id outside 0..255 or not logged in). After that come the command channel's statuses: SARVIK_ERR_FAIL
 * (-1, socket options), SARVIK_ERR_RECV (-97, no, short or wrongly typed answer), SARVIK_ERR_SEND (-98),
 * SARVIK_ERR_CONNECT (-99), SARVIK_ERR_SOCKET (-100).
 */

/**
 * Reads the camera's identity, versions and data format. A camera value of 0 for sendRatio is reported as
 * 1 (Sarvik_GetInfo with SARVIK_INFO_CAMERA_BASIC returns the raw value). The session's copy made at login
 * is not changed.
 * \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_GetCameraBasicInfo(int userId, _CameraBasicInfo* info);

/**
 * Writes the basic info; the camera takes only cameraName, dataRatio, sendRatio, dataTransform and
 * desmearLevel and keeps its read-only fields.
 * \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_SetCameraBasicInfo(int userId, const _CameraBasicInfo* info);

/** Reads the camera's network settings (info type 1). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetCameraNetworkInfo(int userId, _CameraNetworkInfo* info);

/**
 * Writes the camera's network settings. The camera applies them on its own terms (an address change may
 * cut the session's camera off this address). \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_SetCameraNetworkInfo(int userId, const _CameraNetworkInfo* info);

/**
 * Reads the temperature correction parameters (info type 2). The session's copy made at login is not
 * changed. \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_GetFixInfo(int userId, _FixInfo* info);

/** Writes the temperature correction parameters. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetFixInfo(int userId, const _FixInfo* info);

/** Reads the flat-field correction behaviour (info type 3). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetFFCInfo(int userId, _FFCInfo* info);

/** Writes the flat-field correction behaviour. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetFFCInfo(int userId, const _FFCInfo* info);

/**
 * Reads the camera's video output settings (info type 4). Temperatures are tenths of deg C as stored by
 * the camera; converting to deg C (x0.1) is the caller's. \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_GetTvoutInfo(int userId, _TvoutInfo* info);

/**
 * Writes the video output settings. The caller converts deg C to tenths (x10, truncated toward zero:
 * -12.34 deg C is stored as -123). \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_SetTvoutInfo(int userId, const _TvoutInfo* info);

/** Reads the opaque output settings (info type 5). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetCameraOutputInfo(int userId, _CameraOutputInfo* info);

/** Writes the opaque output settings unchanged. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetCameraOutputInfo(int userId, const _CameraOutputInfo* info);

/** Reads the NTP servers and time zone (info type 6). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetCameraTimeInfo(int userId, _CameraTimeInfo* info);

/** Writes the NTP servers and time zone. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetCameraTimeInfo(int userId, const _CameraTimeInfo* info);

/** Reads the on-screen display settings (info type 7). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetCameraOSDInfo(int userId, _CameraOSDInfo* info);

/** Writes the on-screen display settings. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetCameraOSDInfo(int userId, const _CameraOSDInfo* info);

/** Reads the GPIO line modes (info type 8). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetGpioInfo(int userId, _GpioInfo* info);

/**
 * Writes the GPIO line modes. Output levels are set with Sarvik_SendControlX (SARVIK_CTLX_SET_GPIO).
 * \return 0 or a status of the list above.
 */
SARVIK_API int Sarvik_SetGpioInfo(int userId, const _GpioInfo* info);

/** Reads the serial port settings (info type 9). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetSerialPortInfo(int userId, _SerialPortInfo* info);

/** Writes the serial port settings. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetSerialPortInfo(int userId, const _SerialPortInfo* info);

/**
 * Reads the protocol plug-in settings (info type 10) through message 48 with operation word
 * SARVIK_PLUGIN_OP_READ. The camera must answer with status 0.
 * \return 0; SARVIK_ERR_REFUSED (-2) when the answer carries another status (info untouched); or a status
 *         of the list above.
 */
SARVIK_API int Sarvik_GetCameraPluginInfo(int userId, _CameraPluginInfo* info);

/**
 * Writes the protocol plug-in settings through message 48 with operation word SARVIK_PLUGIN_OP_WRITE;
 * the versions are the camera's own and are kept. The camera must answer with status 2.
 * \return 0; SARVIK_ERR_REFUSED (-2) when the answer carries another status; or a status of the list
 *         above.
 */
SARVIK_API int Sarvik_SetCameraPluginInfo(int userId, const _CameraPluginInfo* info);

/**
 * Reads detector registers, variant 0..2 (info types 100..102).
 * \return 0; SARVIK_ERR_REFUSED (-2) for a variant outside 0..2, nothing sent; or a status of the list
 *         above.
 */
SARVIK_API int Sarvik_GetFPAInfo(int userId, _FPAInfo* info, int variant);

/** Writes detector registers, variant 0..2. \return as Sarvik_GetFPAInfo. */
SARVIK_API int Sarvik_SetFPAInfo(int userId, const _FPAInfo* info, int variant);

/** Reads AK-family detector registers, variant 0..2 (info types 103..105). \return as Sarvik_GetFPAInfo. */
SARVIK_API int Sarvik_GetFPAInfoAK(int userId, _FPAInfoAK* info, int variant);

/** Writes AK-family detector registers, variant 0..2. \return as Sarvik_GetFPAInfo. */
SARVIK_API int Sarvik_SetFPAInfoAK(int userId, const _FPAInfoAK* info, int variant);

/** Reads GD-family detector registers, variant 0..2 (info types 106..108). \return as Sarvik_GetFPAInfo. */
SARVIK_API int Sarvik_GetFPAInfoGD(int userId, _FPAInfoGD* info, int variant);

/** Writes GD-family detector registers, variant 0..2. \return as Sarvik_GetFPAInfo. */
SARVIK_API int Sarvik_SetFPAInfoGD(int userId, const _FPAInfoGD* info, int variant);

/** Reads HK160 detector registers (info type 113). \return 0 or a status of the list above. */
SARVIK_API int Sarvik_GetFPAInfoHK160(int userId, _FPAInfoHK160* info);

/** Writes HK160 detector registers. \return 0 or a status of the list above. */
SARVIK_API int Sarvik_SetFPAInfoHK160(int userId, const _FPAInfoHK160* info);

/**
 * Reads any record by its info type (SarvikInfoType) into buffer, which holds size bytes; exactly the
 * record's size is written at its start, the rest of the buffer is untouched. The exchange is the
 * dedicated call's, with two differences: basic info comes raw (a sendRatio of 0 stays 0), and info types
 * 109..111, 112 and 1000..1002 have no dedicated call. Info type 10 runs the plug-in exchange with its
 * operation and status words.
 * \return 0; SARVIK_ERR_INVALID_ARG (-8) for an unknown info type, a NULL buffer or size smaller than the
 *         record, nothing sent; SARVIK_ERR_REFUSED (-2) for a refused plug-in exchange; or a status of
 *         the list above.
 */
SARVIK_API int Sarvik_GetInfo(int userId, int infoType, void* buffer, int size);

/**
 * Writes any record by its info type from the first bytes of buffer (size bytes available).
 * \return as Sarvik_GetInfo.
 */
SARVIK_API int Sarvik_SetInfo(int userId, int infoType, const void* buffer, int size);

/**
 * Sends a one-way control command (message 6): shutter, restart, flat-field correction, factory reset
 * (SarvikCtlCode). Returns as soon as the 14 bytes are sent; the camera does not answer, so success says
 * nothing about the command's effect.
 * \return 0 or a status of the list above (no -97: nothing is received).
 */
SARVIK_API int Sarvik_SendControl(int userId, const _Ctl* ctl);

/**
 * Sends an extended control command (message 56, SarvikCtlXCode) and waits for its answer (receive
 * time-out 10000 ms). On an answer, the whole 68-byte answer overwrites *ctl, also when it names another
 * command.
 * \return 0; SARVIK_ERR_FAIL (-1) when the answer's command differs from the one sent (*ctl holds the
 *         answer); or a status of the list above (*ctl untouched).
 */
SARVIK_API int Sarvik_SendControlX(int userId, _CtlX* ctl);

/**
 * Hands 32 bytes to the camera for its serial port (message 41, one-way). Returns as soon as they are
 * sent.
 * \return 0 or a status of the list above (no -97: nothing is received).
 */
SARVIK_API int Sarvik_WriteSerialPortData(int userId, const _SerialPortData* data);

/* ------------------------------------------------------------------------------------------------------ */
/* Discovery and address change                                                                           */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Finds the cameras on the local networks by UDP broadcast to port 55501, in two passes: the first asks
 * for answers on the sending socket, the second (on every IPv4 interface but 127.0.0.1) for answers on the
 * PC's port 55511. The answers are merged in arrival order, first pass first; of several answers with the
 * same cameraId (compared as text, at most 32 characters) only the first stays, so a camera answering both
 * passes keeps its first-pass entry. Each pass ends when the network has been quiet for 2000 ms or at the
 * first datagram that is not an answer: a discovery takes at least 4 s.
 * Ownership: the list belongs to the caller, who frees it with Sarvik_DiscoverCamerasFree.
 * Thread: any thread, typically a worker (it blocks for seconds). Discoveries and address changes share
 * the library's two discovery sockets; the library runs them one at a time, a second caller waits.
 * \return the head of the list, or NULL when no camera answered or the library is not started.
 */
SARVIK_API _DiscoverCameraNode* Sarvik_DiscoverCameras(void);

/**
 * Frees every node of a list returned by Sarvik_DiscoverCameras and sets *head to NULL. NULL and
 * *head == NULL are ignored.
 * Thread: any thread; the list must not be in use elsewhere.
 */
SARVIK_API void Sarvik_DiscoverCamerasFree(_DiscoverCameraNode** head);

/**
 * Gives the camera named by request->cameraId the network settings request->network, by broadcast on every
 * IPv4 interface but 127.0.0.1, and waits up to 2000 ms on port 55511 for the camera's confirmation.
 * Thread: as Sarvik_DiscoverCameras (runs one at a time with discoveries).
 * \param request  read only; cameraId zero-padded.
 * \return 0 when the named camera confirmed, or for a NULL request (nothing is sent); SARVIK_ERR_NOT_INIT;
 *         SARVIK_ERR_STATE when the answer socket (port 55511) could not be opened at start-up;
 *         SARVIK_ERR_SEND when the request went out on no interface; SARVIK_ERR_RECV when no answer, or
 *         one naming another camera, came (the change may still have been applied).
 */
SARVIK_API int Sarvik_DiscoverConfigIP(const _DiscoverConfigIPInfo* request);

/* ------------------------------------------------------------------------------------------------------ */
/* File and memory transfer                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/*
 * Each transfer is one request/answer handshake on a fresh connection to the session's command port
 * (55502), set up like a record exchange (connect, send and receive time-outs), followed by the raw bytes.
 * Calls run on the caller's thread; any thread may call, and several transfers, also to one camera, may run
 * at once as far as the camera accepts them. Nothing is sent after the payload: the connection closes as
 * soon as the announced size has been sent or received. A camera that stops answering costs at most the
 * connect time-out plus one receive (or send) time-out per stalled step.
 *
 * Checks, in this order, before anything is sent: SARVIK_ERR_NOT_INIT (-4); the arguments
 * (SARVIK_ERR_INVALID_ARG -8); then the user id (SARVIK_ERR_BAD_ID -10). After that: SARVIK_ERR_SOCKET
 * (-100), SARVIK_ERR_CONNECT (-99, logged "connect to <address> error"), SARVIK_ERR_FAIL (-1, socket
 * options), SARVIK_ERR_SEND (-98, the request or the payload could not be sent whole), SARVIK_ERR_RECV
 * (-97, the answer was missing, short or of the wrong type, or the payload stopped coming within the
 * receive time-out), SARVIK_ERR_REFUSED (-2, the camera answered with a negative status; no payload is
 * moved), SARVIK_ERR_NO_MEMORY (-5). Every failure closes the connection; the session is not affected.
 * File and memory types are passed to the camera unchanged (SarvikFileType, SarvikMemType).
 */

/**
 * Sends a local file to the camera as file type fileType, streamed through one 1 MiB buffer (the file is
 * never loaded whole). An empty file is announced with size 0 and no payload.
 * \param path  a regular file, read only.
 * \return 0; -4, -8 (path NULL, or the file larger than 2147483647 bytes), -10; SARVIK_ERR_FILE_OPEN
 *         (-200, the file cannot be opened or is not a regular file); the handshake statuses above;
 *         SARVIK_ERR_FILE_READ (-198, the file shrank while it was sent).
 */
SARVIK_API int Sarvik_UploadFile(int userId, const char* path, int fileType);

/**
 * Fetches file type fileType from the camera into the local file path, streamed through one 1 MiB buffer.
 * The bytes land in a temporary file beside path ("<path>.part-<pid>-<n>") that takes the name path only
 * when the whole announced size has arrived and been written: a failed download leaves no file under path
 * (and an older file of that name untouched) and removes its temporary file. A size of 0 creates an empty
 * file.
 * \return 0; -4, -8 (path NULL), -10; the handshake statuses above (-97 also when the camera announces a
 *         negative size or the payload stops before the announced size); SARVIK_ERR_FILE_OPEN (-200, the
 *         temporary file cannot be created or cannot take the name path); SARVIK_ERR_FILE_WRITE (-197).
 */
SARVIK_API int Sarvik_DownloadFile(int userId, const char* path, int fileType);

/**
 * Sends size bytes of data to the camera as memory block memType (e.g. SARVIK_MEM_GB28181 with a
 * GB28181Block of 280 bytes). The block goes out whole after the camera's non-negative answer.
 * \param data  read only; may be NULL when size is 0.
 * \return 0; -4, -8 (size negative, or data NULL with size > 0), -10; the handshake statuses above.
 */
SARVIK_API int Sarvik_UploadMem(int userId, int memType, const void* data, int size);

/**
 * Fetches memory block memType from the camera into buffer.
 * \param size  in: the capacity of buffer in bytes; out, on success only: the block's size. A block larger
 *              than the capacity gives SARVIK_ERR_NO_MEMORY (-5) without reading it, and *size keeps the
 *              capacity. On any failure *size is unchanged, while the buffer may hold part of the block.
 * \return 0; -4, -8 (size NULL or negative, or buffer NULL with a capacity > 0), -10; the handshake
 *         statuses above (-97 also for a negative announced size, or a block that stops coming); -5.
 */
SARVIK_API int Sarvik_DownloadMem(int userId, int memType, void* buffer, int* size);

/* ------------------------------------------------------------------------------------------------------ */
/* Alarm messaging                                                                                        */
/* ------------------------------------------------------------------------------------------------------ */

/** An alarm client: a queue of blocks and one worker thread that delivers them to an alarm server, one TCP
 *  connection per block, newest first. Opaque; made by AlarmClient_Create, released by AlarmClient_Free. */
typedef struct AlarmClient AlarmClient;

/** An alarm server: one worker thread that accepts connections from any number of clients, reads one block
 *  from each (many connections at once) and keeps it until the application releases it. Opaque; made by
 *  AlarmServer_Create, released by AlarmServer_Free. */
typedef struct AlarmServer AlarmServer;

/**
 * Makes a stopped alarm client. The caller owns it and releases it with AlarmClient_Free.
 * Thread: any thread.
 * \return the client; NULL when the SDK is not initialised or out of memory.
 */
SARVIK_API AlarmClient* AlarmClient_Create(void);

/**
 * Starts the client's worker. The configuration (server address, port, time-out, queue capacity) is copied.
 * The worker logs "work_loop enter", then takes the block at the head of the queue, connects, sends the whole
 * block and waits for the server to close the connection, which it does in order only after reading the
 * whole block; all of this within one time-out from the start of the attempt. It calls
 * callback(status, block, user) on the worker thread after each attempt: status 0 means the server has
 * received the whole block. A delivered block is freed after the call; a failed one goes back to the head of
 * the queue and is tried again after a pause of half a second, so an unreachable server costs no CPU.
 * Delivery is at least once: when the server's close comes after the time-out the block is sent again, and
 * the server then receives it twice. A client may be started again after AlarmClient_Stop.
 * Thread: any thread, not the callback.
 * \return 0; -4; -8 (client, config or callback NULL, or serverIp not dotted IPv4 text); -7 already running;
 *         -100 no descriptor for the stop signal; -5 the worker thread could not be started.
 */
SARVIK_API int AlarmClient_Start(AlarmClient* client, const AlarmConfig* config, AlarmClientCallback callback,
                                 void* user);

/**
 * Queues a copy of a block at the head of the queue (the caller keeps its own block); blocks are delivered
 * newest first, at least once (see AlarmClient_Start), and stay queued until the server has received them
 * whole. The block being delivered still takes one of the queueCapacity places, so with capacity 4 and an
 * unreachable server the fifth post fails.
 * Thread: any thread, also the callback.
 * \return 0 queued; -4; -8 (NULL argument); -11 the block is not valid (it could never be delivered); -7 not
 *         running, queue full, or no memory for the copy.
 */
SARVIK_API int AlarmClient_PostData(AlarmClient* client, const AlarmDataHeader* block);

/**
 * Stops the worker, cutting short a delivery under way, and discards every queued block (no callback is made
 * for them). Works also after Sarvik_FreeSDK, so that a client can always be wound down.
 * Thread: any thread, not the callback.
 * \return 0; -8 client NULL; -7 not running, or called from the callback.
 */
SARVIK_API int AlarmClient_Stop(AlarmClient* client);

/**
 * Stops the client if it runs, frees it and sets *client to NULL; *client NULL is ignored. Works also after
 * Sarvik_FreeSDK.
 * Thread: any thread, not the callback.
 * \return 0; -8 client NULL; -7 called from the callback (nothing freed).
 */
SARVIK_API int AlarmClient_Free(AlarmClient** client);

/**
 * Makes a stopped alarm server. The caller owns it and releases it with AlarmServer_Free.
 * Thread: any thread.
 * \return the server; NULL when the SDK is not initialised or out of memory.
 */
SARVIK_API AlarmServer* AlarmServer_Create(void);

/**
 * Listens on config->port (address reuse, backlog 64) on the address in config->serverIp, or on every
 * interface when it is empty, and starts the worker (log "work_loop enter"). The worker reads up to 64
 * connections at once as their bytes arrive, one block from each: the 512 header bytes, the validity check
 * (the size is checked before anything is allocated), then the rest; each whole block must arrive within the
 * configured time-out from its connection's accept, so slow or silent clients delay nobody else. A newcomer
 * beyond 64 connections takes the place of the one idle longest, and half-received blocks hold at most
 * 64 MiB (a block that does not fit displaces the largest pending one if that is larger, else it is
 * refused). A valid block gets the time of receipt as its event time, its connection is closed in order
 * (which tells the client it arrived), and it is listed and handed to callback(0, block, user) on the worker
 * thread; an invalid, incomplete or displaced one is dropped and its connection reset. A server may be
 * started again after AlarmServer_Stop.
 * Thread: any thread, not the callback.
 * \return 0; -4; -8 (server, config or callback NULL, or serverIp neither empty nor dotted IPv4 text); -7
 *         already running; -100 socket failure; -96 the port cannot be bound or listened on; -5 the worker
 *         thread could not be started.
 */
SARVIK_API int AlarmServer_Start(AlarmServer* server, const AlarmConfig* config, AlarmServerCallback callback,
                                 void* user);

/**
 * Releases a block handed to the server callback. A block the server does not list (released already, freed
 * by AlarmServer_Stop, or never received) is left alone. Works also after Sarvik_FreeSDK.
 * Thread: any thread, also the callback.
 * \return 0 (also for a block that is not listed); -8 for a NULL argument.
 */
SARVIK_API int AlarmServer_FreeData(AlarmServer* server, AlarmDataHeader* block);

/**
 * Stops the worker promptly, also while clients are connected, resets the connections whose block is not
 * complete (their clients keep the block queued), closes the listening socket (log "work_loop leave") and
 * frees every block not yet released. Works also after Sarvik_FreeSDK.
 * Thread: any thread, not the callback.
 * \return 0; -8 server NULL; -7 not running, or called from the callback.
 */
SARVIK_API int AlarmServer_Stop(AlarmServer* server);

/**
 * Stops the server if it runs, frees it and sets *server to NULL; *server NULL is ignored. Works also after
 * Sarvik_FreeSDK.
 * Thread: any thread, not the callback.
 * \return 0; -8 server NULL; -7 called from the callback (nothing freed).
 */
SARVIK_API int AlarmServer_Free(AlarmServer** server);

/**
 * Builds a block: the 512 bytes of header512 (type, sender, event time and application bytes are kept), then
 * the parts with a positive length packed in their given order, their lengths and kinds in the first entries
 * of the two tables (the remaining entries 0), and the total size at offset 0. A part whose length is 0 or
 * negative is skipped and gets length 0 and kind 0 in the caller's lengths and kinds. Example: lengths 0, 10,
 * 0, 5 give a 527-byte block whose tables list 10 then 5. Needs no Sarvik_InitSDK.
 * Thread: any thread.
 * \param parts  four part pointers; may be NULL when no length is positive.
 * \return a new block that the caller frees with AlarmData_Free (it comes from malloc, so free() works too);
 *         NULL when header512, lengths or kinds is NULL, a part with a positive length is NULL, the block
 *         would exceed 16 MiB, or out of memory (the caller's arrays are then untouched).
 */
SARVIK_API AlarmDataHeader* AlarmData_Create(const void* header512, const void* const parts[4],
                                             int lengths[4], unsigned char kinds[4]);

/**
 * Frees a block made by AlarmData_Create and sets *block to NULL. NULL and *block NULL are ignored. Not for
 * blocks handed to a server callback (AlarmServer_FreeData) or a client callback (the client's own).
 * Thread: any thread.
 */
SARVIK_API void AlarmData_Free(AlarmDataHeader** block);

/**
 * Stores a valid block in dir. The base name is "<dir>/<type>_<sender>_YYYYMMDD_hhmmss" from the alarm
 * type's name, the sender and the event time in local time (a '/' in the sender becomes '_'; an event time
 * outside the years 1601-9999 gives zeros); it is copied into name (at most nameSize bytes, terminated).
 * split 0: the whole block goes to "<base>.alarm". split non-zero: each part with bytes goes to
 * "<base>.<kind>" (e.g. base.jpg); a later part of a kind already stored gets "<base>_<n>.<kind>" with its
 * table position n (1-4), so no part overwrites another. Needs no Sarvik_InitSDK.
 * Thread: any thread.
 * \return the number of files written (0 for a split block without parts); -11 block NULL or not valid; -8
 *         (name NULL, nameSize below 128, dir NULL or empty); when no file at all could be written, the
 *         first write's status (-200 cannot create, -197 short write).
 */
SARVIK_API int AlarmData_Save(const AlarmDataHeader* block, const char* dir, int split, char* name,
                              int nameSize);

/**
 * Name of an alarm type: "None" (0), "SmokeFirePerson" (1), "unknown" for any other value. The text is
 * static. Needs no Sarvik_InitSDK.
 * Thread: any thread.
 */
SARVIK_API const char* AlarmDataType_num2str(unsigned int type);

/* ------------------------------------------------------------------------------------------------------ */
/* Temperature frames                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Stretch and palettes rendering                                                                         */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * A stretch context: the image settings of one view (a _strech_control) and the per-frame state that turns
 * temperature frames into gray levels, BGRA pixels or byte planes. Opaque; made by strCreate and owned by its
 * creator, who frees it with strFree. These calls need no Sarvik_InitSDK; they write a diagnostic line only
 * when the SDK's logging is configured (an allocation failure).
 * Thread: one thread renders with a context; strSetCtl and strGetCtl may come from another thread and then
 * wait for a frame in progress, so a change takes effect from the next frame on.
 * Rendering is deterministic: the same settings and frames give the same bytes on every machine. Faster
 * kernels are chosen once per process when the processor has AVX2; the environment variable
 * SARVIK_FORCE_SCALAR=1 keeps the plain reference kernels (same bytes, slower).
 */
typedef struct StretchContext StretchContext;

/**
 * Creates a stretch context with the default settings: strechType 1 (adaptive), smoothing on, gain 2.0,
 * manual window 20.0 to 40.0 deg C and off, temp2gray 0 (automatic), ddeLevel 0, no colour marking. All
 * tables are allocated here (about 1.6 MiB); the detail-enhancement work area (about 4 MiB plus 2 bytes per
 * pixel) is allocated by the first frame that uses it, and again only when the frame size changes.
 * \return the context, or NULL when out of memory.
 */
SARVIK_API StretchContext* strCreate(void);

/** Frees a context and its detail-enhancement state. NULL is ignored. */
SARVIK_API void strFree(StretchContext* ctx);

/**
 * Applies the fields of ctl whose flag bits (SARVIK_STRECH_*) are set, except ddeLevel: bit 0x40 is honoured
 * only by Sarvik_PreviewSetImage and SarvikPlayback_SetImage. A gain outside 0.08..10.02 is ignored;
 * temp2gray is taken only when it is 0 or 10..50; a gain or smoothing change restarts the smoothing; the
 * marking bit rebuilds the marking palettes from ct_color0 (and ct_color1 for ct_type 4). ctl is only read.
 * \return 0; SARVIK_ERR_INVALID_ARG (-8) when ctx or ctl is NULL.
 */
SARVIK_API int strSetCtl(StretchContext* ctx, const _strech_control* ctl);

/**
 * Copies the current settings into ctl, with flags 0.
 * \return 0; SARVIK_ERR_INVALID_ARG (-8) when ctx or ctl is NULL.
 */
SARVIK_API int strGetCtl(StretchContext* ctx, _strech_control* ctl);

/**
 * Renders one frame to width x height gray levels (row by row, like the samples). data holds the header's
 * width x height samples. Data kind 0 uses the raw mapping; otherwise strechType 2 the linear stretch and any
 * other value the adaptive stretch, with detail enhancement when ddeLevel is non-zero and the frame is at
 * least 32 x 32. Allocates nothing (except the first detail-enhancement frame of a size).
 * \return 0 (also for a frame of width or height 0, which writes nothing); SARVIK_ERR_INVALID_ARG (-8) when
 *         a pointer is NULL.
 */
SARVIK_API int strTemp2Gray(StretchContext* ctx, const int16_t* data, const _DataFrameHeader* header,
                            uint8_t* gray);

/**
 * Renders one frame to width x height BGRA pixels: each gray level picks its colour from palette (256
 * colours of one PaletteEntry, coldest first) or, under colour marking, from the marking palettes (alpha
 * 255). The palette is read during the call only.
 * \return as strTemp2Gray; SARVIK_ERR_INVALID_ARG (-8) also when palette is NULL.
 */
SARVIK_API int strTemp2Bgra(StretchContext* ctx, const int16_t* data, const _DataFrameHeader* header,
                            uint32_t* image, const uint32_t* palette);

/**
 * Renders one frame to three width x height byte planes: the pixel's selected 4-byte palette entry (of
 * palette, 256 entries of 4 bytes, or of a marking palette, whose entries are blue, green, red, 255) gives
 * its bytes 0, 1 and 2 to plane0, plane1 and plane2.
 * \return as strTemp2Bgra.
 */
SARVIK_API int strTemp2Yuv(StretchContext* ctx, const int16_t* data, const _DataFrameHeader* header,
                           uint8_t* plane0, uint8_t* plane1, uint8_t* plane2, const uint8_t* palette);

/* ------------------------------------------------------------------------------------------------------ */
/* Destripe and denoise filters                                                                           */
/* ------------------------------------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------------------------------------ */
/* Measurement templates                                                                                  */
/* ------------------------------------------------------------------------------------------------------ */

/** A measurement context: one template (exclusion areas, whole-frame alarm, up to 16 objects) with its pixel
 *  masks and temperature table, for frames of one size. Opaque; made by mtCreate, owned by the caller and
 *  released with mtFree. A context is used by one thread at a time (the library takes no lock); different
 *  contexts may be used on different threads at once.
 *
 *  Every mt* function is a plain computation: it needs no Sarvik_InitSDK and logs nothing. Temperatures are
 *  raw / slope + offset in 32-bit floats with the frame header's slope and offset; the maximum and minimum
 *  take the truncated mean of their 3 x 3 neighbourhood unless they lie on the frame border; the average is
 *  the integer mean of the raw values. Maximum and minimum start at a reference pixel and the first
 *  occurrence in scan order wins; positions are column and row. */
typedef struct MtContext MtContext;

/**
 * Makes a context for frames of width x height holding an empty template (SARVIK_MT_VERSION, the size, no
 * areas, no objects). The caller owns it and releases it with mtFree.
 * Thread: any thread.
 * \return the context; NULL when width is not 1..1280, height is not 1..1024, or out of memory.
 */
SARVIK_API MtContext* mtCreate(int width, int height);

/**
 * Releases a context made by mtCreate (with the masks mtReload may have reallocated) and sets *context to
 * NULL. NULL and *context NULL are ignored.
 * Thread: the thread that uses the context.
 */
SARVIK_API void mtFree(MtContext** context);

/**
 * Loads a template into a context. When the template's size differs from the context's, the context is first
 * resized to it with an empty template; then the template is validated, copied (the caller keeps its own)
 * and the masks rebuilt. Validation of every enabled area (bits 0-7 of areaEnable): all four corners inside
 * the frame; of every enabled object (bits 0-15 of objectEnable): percent 50..100 and, by shape, point:
 * (x, y) inside and r <= 3; rectangle and ellipse: x0 < x1 < width and y0 < y1 < height; line, polyline and
 * polygon: count <= 32 (polyline >= 2, polygon >= 3) and the first count points inside; other shapes are
 * invalid.
 * Thread: the thread that uses the context.
 * \return 0; -1 no memory for the new size (the context is unchanged); -2 invalid template: of the
 *         context's size, the previous template stays loaded; of another size, the context has been resized
 *         to an empty template; of a size outside 1..1280 x 1..1024, the context is unchanged;
 *         SARVIK_ERR_INVALID_ARG (-8) context or tpl NULL.
 */
SARVIK_API int mtReload(MtContext* context, const MtTemplate* tpl);

/**
 * Measures a frame with the context's template. results[0]: the whole frame (only the pixels outside the
 * enabled exclusion areas when any is enabled; reference pixel 0) with the alarm state of the template's
 * whole-frame object. results[1 + i]: enabled object i, measured exactly as mtGetResult measures it (a
 * polygon through its prebuilt mask, which covers the same pixels), with its alarm state; entries of
 * disabled objects, and of a line whose end lies outside the frame, are left untouched. Temperatures come
 * from the context's table, rebuilt whenever the frame's slope or offset change; a frame with slope 0 is
 * converted with the last scale seen (slope 1, offset 0 before any).
 * Thread: the thread that uses the context.
 * \param samples  width x height signed 16-bit samples, row by row.
 * \param results  17 entries, written as described.
 * \return 0; -1 the frame's width or height differ from the context's; SARVIK_ERR_INVALID_ARG (-8) a NULL
 *         argument.
 */
SARVIK_API int mtCheck(MtContext* context, const _DataFrameHeader* header, const int16_t* samples,
                       MtResult* results);

/**
 * Measures one object on a frame and evaluates its alarm (SarvikMtAlarm; the average decides for points,
 * the maximum and minimum for the other shapes). Regions: point: the box of half-size r around (x, y) cut to
 * the frame; line: its Bresenham path, both ends included; rectangle: the box (x0, y0)-(x1, y1), far corner
 * cut to the frame; ellipse: in that box, when it is more than 2 pixels wide and high, the pixels of the
 * inscribed ellipse (reference the centre), else the box; polyline: each segment as a line, a joint counted
 * for both segments it ends (reference the first point); polygon: the even-odd inside of the points over
 * their bounding box (reference the first point). Nothing is written when the region is empty or a line
 * end lies outside the frame. A slope of 0 converts as slope 1.
 * Thread: any thread.
 * \return 0; -1 the object is invalid for the frame (percent not 50..100, polyline not 2..32 or polygon not
 *         3..32 points, or one of the first count points, at most 32, outside the frame); -2 a shape above
 *         5; SARVIK_ERR_INVALID_ARG (-8) a NULL argument.
 */
SARVIK_API int mtGetResult(const _DataFrameHeader* header, const int16_t* samples, const MtObject* object,
                           MtResult* result);

/**
 * Measures the whole frame (every pixel, reference pixel 0): maximum, minimum, average and their positions.
 * The alarm state is not written. A slope of 0 converts as slope 1. The temperature preview runs this on
 * every frame to fill the frame's result.
 * Thread: any thread.
 * \return 0; -1 the frame is empty (width or height 0); SARVIK_ERR_INVALID_ARG (-8) a NULL argument.
 */
SARVIK_API int mtGetResult_GMO(const _DataFrameHeader* header, const int16_t* samples, MtResult* result);

/* ------------------------------------------------------------------------------------------------------ */
/* NETD measurement                                                                                       */
/* ------------------------------------------------------------------------------------------------------ */

/* A NETD object keeps the last frameCount frames of one stream and two noise figures computed from them:
 * NETD, the temporal noise (the mean over all pixels of each pixel's population standard deviation across
 * the ring, truncated to hundredths per pixel), and SSTD, the spatial noise (the standard deviation over
 * the pixels of the newest frame). For temperature frames (data kind 2) both are scaled by the integer
 * quotient 1000 / slope, which gives millikelvin for slopes that divide 1000 (x10 for slope 100); other
 * frames report sample units. The figures are recomputed at most once per calcInterval, on the first frame
 * whose time stamp lies more than calcInterval from that of the last computation (0 after configuration).
 *
 * The handle is opaque: made by NETD_Create, owned by the caller, released with NETD_Free. These are plain
 * computations: they need no Sarvik_InitSDK and log nothing.
 * Thread: an object takes no lock; one thread at a time feeds it (typically the preview callback's thread),
 * and NETD_SetConfig must not overlap NETD_Execute on the same object. Different objects are independent. */

/**
 * Makes an unconfigured NETD object (every frame is refused until NETD_SetConfig succeeds).
 * Thread: any thread.
 * \return the handle, which the caller releases with NETD_Free; NULL when out of memory.
 */
SARVIK_API void* NETD_Create(void);

/**
 * Releases an object and its ring and sets *handle to NULL. NULL and *handle NULL are ignored.
 * Thread: the thread that feeds the object, or any once feeding has stopped.
 */
SARVIK_API void NETD_Free(void** handle);

/**
 * Configures the object for frames of config->width x config->height. A configuration different from the
 * current one allocates a zero-filled ring of frameCount frames (2 x width x height x frameCount bytes),
 * empties it and resets both figures and the last computation's time stamp to 0. One equal byte for byte
 * to the current one changes nothing: the ring and the last figures survive. config is only read.
 * \return 0; SARVIK_ERR_INVALID_ARG (-8) a NULL argument, width or height 0, frameCount outside 10..100 or
 *         calcInterval outside 1000..10000 ms (the current configuration stays); SARVIK_ERR_NO_MEMORY (-5)
 *         the ring could not be allocated (the object is then unconfigured).
 */
SARVIK_API int NETD_SetConfig(void* handle, const NetdConfig* config);

/**
 * Feeds one frame: copies its samples into the ring (the oldest slot), keeps its data kind and slope, and
 * recomputes both figures when |header->timestamp - time stamp of the last computation| exceeds
 * calcInterval x 10000 ticks (so the first frame after configuration computes at once when its time stamp
 * is more than calcInterval past 0); otherwise the last figures are reused. Slots not yet written count as
 * zero frames. A temperature frame with slope 0 is scaled as slope 1.
 * \param header   read only; out may point at its netd field (out[1] then lands on sstd).
 * \param samples  header->width x header->height signed 16-bit values, read during the call only.
 * \param out      receives two floats: NETD, then SSTD.
 * \return 0; SARVIK_ERR_STATE (-7) the object is unconfigured or the header's width or height differ from
 *         the configuration (nothing is stored, out is untouched); SARVIK_ERR_INVALID_ARG (-8) a NULL
 *         argument.
 */
SARVIK_API int NETD_Execute(void* handle, const _DataFrameHeader* header, const int16_t* samples, float* out);

/* ------------------------------------------------------------------------------------------------------ */
/* Correction helpers                                                                                     */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Transmission of a window (or any medium in front of the lens) from one blackbody read directly
 * (bbTemp1) and through the window (bbTemp2), with the ambient (window) temperature envTemp, all in deg C:
 * (R(bbTemp2) - R(envTemp)) / (R(bbTemp1) - R(envTemp)), where R is the in-band radiance of the library's
 * radiance table (-50 C to 2194.608 C in steps of 8.192 C), interpolated linearly at (int)(1000 x)
 * thousandths of a degree and extrapolated on the first or last two rows beyond it. (200, 200, 25) gives
 * exactly 1 and (200, 25, 25) exactly 0.
 * A plain computation: needs no Sarvik_InitSDK, logs nothing. Thread: any thread.
 * \return the transmission; when bbTemp1 and envTemp have the same radiance there is no finite quotient:
 *         +-infinity by the sign of the numerator, or NaN when it is 0 too; NaN when an argument is NaN.
 */
SARVIK_API double FixTrans_CalcTrans(double bbTemp1, double bbTemp2, double envTemp);

/* ------------------------------------------------------------------------------------------------------ */
/* Bad-pixel list check                                                                                   */
/* ------------------------------------------------------------------------------------------------------ */

/**
 * Checks that the bad-pixel list file at path belongs to the camera described by identity and lists only
 * pixels on its detector: the identifiers must match as text from byte 5 on (bytes 0-4 take no part, and
 * nothing past the 32-byte field is compared), width and height must be equal, the entry count must lie
 * within 0..SARVIK_BAD_MAX_COUNT, and every entry must satisfy x < width and y < height. Bytes after the
 * entries are ignored.
 * A plain computation: needs no Sarvik_InitSDK, logs nothing, keeps nothing. Thread: any thread.
 * \param identity  read only (cameraId, dataWidth and dataHeight of the camera's _CameraBasicInfo).
 * \return a SarvikBadPixelCheck value: 0 valid; -1 path NULL or the file cannot be opened; -2 fewer than
 *         44 header bytes; -3 identity NULL, identifier, width or height differ, or a count below 0 or
 *         above 500; -4 no memory; -5 fewer entries than the count; -6 the first entry outside the detector.
 */
SARVIK_API int caliVerifyBad(const char* path, const BadPixelIdentity* identity);

/* ------------------------------------------------------------------------------------------------------ */
/* Temperature preview                                                                                    */
/* ------------------------------------------------------------------------------------------------------ */

/* A temperature preview receives every frame of a logged-in camera's temperature stream (TCP, or UDP when
 * PreviewParam.transType is SARVIK_TRANSPORT_UDP) on a receive thread of the library, computes the frame's
 * whole-frame result (_DataFrameResult at extra + SARVIK_FRAME_RESULT_OFFSET) and renders its BGRA image
 * with the preview's stretch settings and palette (IronBow at start) while the configuration's
 * previewEnableInterProcess is on, and hands the frame to the callback.
 * Ownership: the frames belong to the library. A frame pointer handed to the callback stays valid until 15
 * further frames have been received on that preview, or until the preview is stopped.
 * Threads: the callback runs on one thread of the library, the preview's receive thread (in two-thread mode
 * its process thread, which also reports -17 and -18 in order behind the frames received before them),
 * never on the caller's thread and never on two threads at once; it must return quickly. Two-thread mode
 * runs when previewEnableThread2 is set, and always for cameras whose softwareId begins "R1280H" (destripe
 * settings read from the camera) or "R384H"/"R640H" with a non-zero denoise type; the filters apply to
 * frames of data kind 2.
 * A broken connection never ends a preview: the callback gets SARVIK_STATUS_CONNECTION_LOST (-17) once, the
 * library reopens the connection once a second, then SARVIK_STATUS_CONNECTION_RESTORED (-18) and frames
 * resume.
 * Every call returns SARVIK_ERR_NOT_INIT (-4) before Sarvik_InitSDK and SARVIK_ERR_BAD_ID (-10) for an
 * index outside 0..255.
 * Calls from inside a callback: every preview, recording, snapshot and playback call may be made from a
 * preview's callback, except those that would free what the callback's own thread is running on:
 * Sarvik_StopPreview of the callback's own preview returns SARVIK_ERR_STATE (-7) (stop it from another
 * thread), and Sarvik_FreeSDK does nothing. A callback may stop another preview (the call waits for that
 * preview's threads), unless that preview's own callback is waiting inside a stop at that moment (-7: the
 * two would wait for each other). Sarvik_Logout of the preview's user is allowed: a running preview keeps
 * what it needs and goes on until it is stopped. */

/**
 * Starts a preview of the kind in param->previewKind for a logged-in user.
 * \return the preview handle 0..255; -10 user not logged in; SARVIK_ERR_INVALID_ARG (-8) param NULL or
 *         param->callback NULL (a preview without a callback is refused); SARVIK_ERR_NO_SLOT (-6) when
 *         256 previews run; -1 a kind other than 2, 3 or 5 (RTSP previews start with
 *         Sarvik_StartPreviewRtsp); -12 no memory for the frame ring; -13 the receiver could not connect or
 *         the input could not be built (video and mixed kinds: also no start record within 2000 ms, or a
 *         decoder that refuses it); -14 no threads. On failure nothing is kept.
 *         Video (3) and mixed (5) previews deliver frames whose image is the decoded BGRA picture at the
 *         camera's video size (videoWidth x videoHeight of the basic info) and whose extra block holds the
 *         received H264FrameHeader followed by the compressed bytes; header and data are NULL. Only frames
 *         that decoded to a picture are delivered. A successful start copies reserved_32 and reserved_34
 *         back into param, unchanged.
 */
SARVIK_API int Sarvik_StartPreview(int userId, PreviewParam* param);

/**
 * Starts a temperature preview whose frames are turned by transform (SarvikTransform 0..5) before they are
 * rendered and delivered; types 1 and 3 swap the width and height of the delivered header and image.
 * \return as Sarvik_StartPreview; SARVIK_ERR_REFUSED (-2), no slot taken, for a transform outside 0..5, a
 *         kind other than 2 or a non-NULL display handle.
 */
SARVIK_API int Sarvik_StartPreviewTempTransform(int userId, PreviewParam* param, int transform);

/**
 * Starts an RTSP preview (kind 4) of the source described by rtsp (an RtspParam); needs no login. Fills the
 * record's width and height with the picture size the source reports and sets param->previewKind to 4.
 * Frames carry the decoded BGRA picture in image and, in extra, the width and height as u16 at offsets 4
 * and 6 and, when secondOutput is set, an 8-bit grey picture at offset 16384. The codec library's non-zero
 * read codes reach the callback with a NULL frame; the worker keeps reading, paced so a dead source does not
 * spin (the library reconnects at most once a second; the worker rests a quarter second after a failure).
 * Every network wait of the source is bounded by the receive time-out (Sarvik_SetTimeout), opening included.
 * \return the preview handle; -8 a NULL argument or a NULL callback; -6 no free slot; -13 the source
 *         cannot be opened (the slot is freed); -12 no memory; -14 no thread.
 */
SARVIK_API int Sarvik_StartPreviewRtsp(const void* rtsp, PreviewParam* param);

/**
 * Stops a preview: joins every thread of it (no callback runs once this returns), ends a recording still
 * running so that its file is complete, then frees its frames, which the caller must no longer use. A stop
 * while the connection is being re-established returns promptly, and so does one while a receive is
 * blocked on a silent camera, over TCP and UDP alike (RTSP previews: until the codec library's read gives
 * up, bounded by the receive time-out, plus at most one second when it was pacing a reconnection).
 * Thread: any thread but the preview's own callback.
 * \return 0, also for a slot not in use; SARVIK_ERR_STATE (-7), nothing stopped, from inside the preview's
 *         own callback, or from another preview's callback while this preview's callback waits inside a
 *         stop.
 */
SARVIK_API int Sarvik_StopPreview(int preview);

/**
 * pause 1 stops delivering frames to the callback (frames are still received, rendered and recorded); any
 * other value resumes delivery. Takes effect from the next frame.
 * \return 0, also for a slot not in use.
 */
SARVIK_API int Sarvik_PausePreview(int preview, int pause);

/**
 * Changes the image settings of a temperature preview from the next frame on: a non-NULL ctl is applied
 * with every flag bit honoured, SARVIK_STRECH_DDE included; a palette index inside the palette table
 * (0..SARVIK_PALETTE_COUNT - 1) selects that palette, any other index leaves the palette unchanged.
 * \return 0; SARVIK_ERR_BAD_ID (-10) when the slot holds no temperature preview.
 */
SARVIK_API int Sarvik_PreviewSetImage(int preview, _strech_control* ctl, int palette);

/* ------------------------------------------------------------------------------------------------------ */
/* Recording and frame files                                                                              */
/* ------------------------------------------------------------------------------------------------------ */

/* Recording runs on a running preview: the preview's worker appends every frame it receives (also while
 * paused) to the open files, so a file cut short by a crash stays readable up to its last whole frame.
 * Snapshots are fetched from the camera's snapshot port into one buffer per logged-in user, one at a time.
 * Every call returns SARVIK_ERR_NOT_INIT (-4) before Sarvik_InitSDK and SARVIK_ERR_BAD_ID (-10) for an index
 * outside 0..255, a user not logged in or a preview slot not in use. */

/**
 * Fetches a radiometric snapshot from the camera and writes its image (a JPEG), followed by the 2N + 16684
 * byte temperature tail when withTemp is non-zero, to path. Runs on the caller's thread.
 * \return 0; -95 the camera's reply header is bad (wrong size or geometry), nothing written; -97 the reply
 *         broke off; -99 no connection; -1 no socket; -200 the file cannot be created; -197 short write.
 */
SARVIK_API int Sarvik_SaveFrame(int userId, const char* path, int withTemp);

/**
 * Fetches a snapshot like Sarvik_SaveFrame and describes it in cover: every pointer reaches into the user's
 * snapshot buffer and stays valid until the next snapshot of that user or its logout.
 * \return as Sarvik_SaveFrame (without the file codes); -8 cover NULL.
 */
SARVIK_API int Sarvik_SaveFrameToMem(int userId, FrameCover* cover);

/**
 * Starts a recording on a running preview. Temperature previews: type 2 (SARVIK_SAVE_STREAM) a stream file
 * (a 32-bit top-down bitmap of the first frame followed by every frame's header and samples; a stream file
 * already open is closed first), type 3 (SARVIK_SAVE_VIDEO) an H.264 video file of the rendered frames;
 * -2 for other types, -7 while the preview reconnects, -200 when the file cannot be created, -197 short
 * write. Video and mixed previews: type 3 only (-2 otherwise), -7 while reconnecting; the received stream
 * is written as it is (no re-encoding; a running recording is ended first; the codec library's code when
 * the file cannot be started). RTSP previews: type 3 records the source (-1 when a recording runs already),
 * type 1 copies the last picture delivered and, for a non-empty path, writes it there as JPEG for ".jpg" or
 * ".jpeg" (any case) and PNG otherwise (-7 before the first picture; -200 the file cannot be created, -197
 * short write); other types -195. RTSP recording calls (type 3) wait for a read of the source in progress
 * (at most the receive time-out); a type-1 copy does not.
 * A frame that cannot be appended (disk full) is logged once per recording and skipped; the preview goes on.
 */
SARVIK_API int Sarvik_BeginSave(int preview, const char* path, int type);

/**
 * Ends a recording started by Sarvik_BeginSave: the file is complete and closed when this returns.
 * \return 0 (also when nothing was recording, for temperature, video and mixed previews; video and mixed
 *         previews end their recording whatever the type); RTSP previews -195 for a type other than 3 and
 *         -7 when no recording runs; for video, mixed and RTSP previews the codec library's code when the
 *         file could not be finished (for example no key frame arrived: no file is kept).
 */
SARVIK_API int Sarvik_EndSave(int preview, int type);

/* ------------------------------------------------------------------------------------------------------ */
/* Playback                                                                                               */
/* ------------------------------------------------------------------------------------------------------ */

/* A playback object replays one file at a time: a stream file, a snapshot file (image with temperature tail)
 * or a single-frame bitmap file. It hands out frames as _DataFrame records, cleaned by its destripe and
 * denoise filters and rendered to BGRA with its own stretch context and palette (IronBow at creation).
 * The handle is opaque: made by SarvikPlayback_Create, owned by the caller, released with SarvikPlayback_Free.
 * Every pointer the object hands out (cover, frame slots) reaches into its own memory: a frame stays intact
 * until four further stream frames have been read; all of them until the next open, a close or the free.
 * Thread: an object belongs to one thread and takes no lock; different objects are independent.
 * Codes: -2 bad type, frame size outside 4800..6000000 samples, or bad image in a save; -5 out of memory;
 * -7 nothing loaded or wrong state; -8 frame index out of range or null argument; -194 bad format;
 * -198 read failure; -200 file cannot be opened or created; -197 write failure. */

/** Makes a playback object with the playback image defaults (adaptive, gain 2.0, smoothing off, manual
 *  window 20.0..40.0 deg C off), filters off and palette IronBow.
 *  \return the handle, released with SarvikPlayback_Free; NULL when the SDK is not initialised or memory
 *  runs out. */
SARVIK_API void* SarvikPlayback_Create(void);

/** Closes the file, frees everything and sets *object to NULL. NULL and *object NULL are ignored. */
SARVIK_API void SarvikPlayback_Free(void** object);

/** Opens path as type SARVIK_PLAYBACK_* (0 bitmap, 1 or 4 snapshot, 2 stream), closing a file already open.
 *  A stream file stays open; the others are read whole and closed. On success the stretch smoothing is on
 *  for a stream file and off otherwise. A failed open leaves the object empty.
 *  \return 0; -2 other type or size outside the limits; -194, -198, -200, -5 as above (a stream file
 *  without one whole frame is -194; a bitmap file cut short inside its frame is a short read, -198). */
SARVIK_API int SarvikPlayback_OpenFile(void* object, const char* path, int type);

/** Closes a stream file or forgets a loaded single frame. \return 0; -8 object NULL. */
SARVIK_API int SarvikPlayback_CloseFile(void* object);

/** Describes the loaded file: for a single frame all six pointers and the image length (the bytes before the
 *  tail, or bitmap header and cover); for a stream file the information record (frame count at offset 120)
 *  and the bitmap header with its cover (4N + 64 bytes), the other pointers NULL.
 *  \return 0; -7 nothing loaded. */
SARVIK_API int SarvikPlayback_ReadCover(void* object, FrameCover* cover);

/** Applies pending filter configurations, then reads frame index (ignored for a single frame; a stream needs
 *  0 <= index < frame count), filters and renders it, and fills *frame with header, samples, BGRA image and
 *  extra block of one of four rotating slots (scratch and previous NULL).
 *  \return 0; -7 nothing loaded (also after SarvikPlayback_CloseFile); -8 index out of range; -198 read
 *  failure; -194 a frame header whose size is not the file's. */
SARVIK_API int SarvikPlayback_ReadFrame(void* object, int index, _DataFrame* frame);

/** Copies the current image settings (flags 0) and the palette index; either pointer may be NULL. \return 0. */
SARVIK_API int SarvikPlayback_GetImage(void* object, _strech_control* ctl, int* palette);

/** Applies a non-NULL ctl with all its flag bits, the detail-enhancement level included; selects the palette
 *  when *palette indexes the palette table, ignores it otherwise (-1 keeps it). \return 0. */
SARVIK_API int SarvikPlayback_SetImage(void* object, const _strech_control* ctl, const int* palette);

/** Writes a snapshot file from a loaded single frame: cover->imageLength bytes of the object's image area
 *  (cover->image must be that area, as SarvikPlayback_ReadCover gives it, and the length 0..24001024),
 *  then the temperature tail. \return 0; -7 no single frame loaded; -2 bad cover; -200; -197. */
SARVIK_API int SarvikPlayback_SaveFile(void* object, const FrameCover* cover, const char* path);

/** set non-zero: takes 32 bytes (_DestripInfo) as the pending destripe configuration, applied with the
 *  file's width and height at the next SarvikPlayback_ReadFrame (needs a loaded file, else -7); set 0:
 *  copies the current configuration out. \return 0; -8 object or config NULL. */
SARVIK_API int SarvikPlayback_ConfigDestrip(void* object, void* config, int set);

/** As SarvikPlayback_ConfigDestrip for the denoise filter with 64 bytes (_DenoiseInfo). \return 0. */
SARVIK_API int SarvikPlayback_ConfigDenoise(void* object, void* config, int set);

/* ------------------------------------------------------------------------------------------------------ */
/* Video preview                                                                                          */
/* ------------------------------------------------------------------------------------------------------ */

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SARVIK_SDK_H */
