/*
 * libSarvikFfmpeg: H.264 encoding, decoding and muxing and RTSP demuxing for the camera SDK.
 *
 * Conventions of this interface:
 * - Every call returns an int status (or a handle, null on failure): 0 success, a positive value
 *   for "succeeded, nothing produced yet" (SFF_NO_OUTPUT), a negative SFF_E_... code on failure.
 *   The failure codes lie in -1001..-1099 so that they never collide with the SDK's own codes.
 * - Handles are opaque. Each handle is used by one thread at a time; different handles may be used
 *   on different threads at once. Every Close call takes the handle's address, releases it and
 *   nulls it; closing a null handle is a no-op.
 * - Pictures are BGRA, 32 bits per pixel (B in the lowest byte on little-endian hosts), rows packed
 *   without padding: a width x height picture is width * height uint32_t values.
 * - The library writes no files other than the recordings it is asked for and logs nothing unless a
 *   handler is installed with Ffmpeg_SetLogHandler.
 * - Call Ffmpeg_Init before using any handle: it routes FFmpeg's log, through which some damage in
 *   compressed input is noticed.
 *
 * Hardware device numbers (the SDK's "encoder" and "decoder" settings): 0 software, 2 "cuda",
 * 5 "qsv", 7 "d3d11va". A device that cannot be opened, or that the codec cannot use, falls back to
 * software with one log line; any other number is treated as software, also with one log line.
 */
#ifndef SARVIK_FFMPEG_H
#define SARVIK_FFMPEG_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define SFF_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define SFF_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#define SFF_API __attribute__((visibility("default")))

/* ---- Results ---------------------------------------------------------------------------------- */

#define SFF_OK 0
#define SFF_NO_OUTPUT 1 /* accepted, but no packet or picture came out of this call */

#define SFF_E_ARG (-1001)         /* null handle or pointer, size or value out of range */
#define SFF_E_STATE (-1002)       /* call out of order: not configured, no mux running, mux running */
#define SFF_E_NOMEM (-1003)       /* allocation failed */
#define SFF_E_CODEC (-1004)       /* no usable codec, or the codec failed */
#define SFF_E_IO (-1005)          /* a file or the network failed */
#define SFF_E_DATA (-1006)        /* compressed input is malformed or decoded with errors */
#define SFF_E_TIMEOUT (-1007)     /* the network did not answer within the time-out */
#define SFF_E_EOF (-1008)         /* the source ended the stream */
#define SFF_E_OPEN (-1009)        /* the source could not be opened */
#define SFF_E_UNSUPPORTED (-1010) /* the source carries no video this library can decode */
#define SFF_E_NODATA (-1011)      /* a recording ended before its first key frame; no file kept */

/* Hardware device numbers. */
#define SFF_DEVICE_SOFTWARE 0
#define SFF_DEVICE_CUDA 2
#define SFF_DEVICE_QSV 5
#define SFF_DEVICE_D3D11VA 7

/* ---- Records ----------------------------------------------------------------------------------- */

/* Encoder configuration, 16 bytes. */
typedef struct H264EncConfig {
    int32_t deviceType;  /* hardware device number (the SDK's "encoder" setting) */
    uint16_t width;      /* width of the BGRA pictures given to H264Enc_EncFrame, 2..8192 */
    uint16_t height;     /* height of those pictures, 2..8192 */
    int32_t frameRate;   /* the camera's data frame rate in Hz; <= 0 means 25 */
    int32_t rateDivisor; /* data ratio x send ratio: the camera delivers one frame in this many, so
                            pictures arrive at frameRate / rateDivisor per second; <= 1 means every
                            frame. That rate sets the stream's clock, the key-frame interval (two
                            seconds) and the time stamps of the muxed file. */
} H264EncConfig;
SFF_STATIC_ASSERT(sizeof(H264EncConfig) == 16, "H264EncConfig is 16 bytes");

/* Decoder configuration, 84 bytes; laid out as the SDK fills it from the camera's start record. */
typedef struct H264DecConfig {
    uint32_t deviceType;  /* 0: hardware device number (the SDK's "decoder" setting) */
    uint16_t width;       /* 4: width of the BGRA output; a stream of another size is scaled to it */
    uint16_t height;      /* 6: height of the BGRA output */
    uint16_t paramA;      /* 8: stream frame rate in Hz, stamps H264Dec_Mux files; 0 means 25 */
    uint16_t paramB;      /* 10: frame-rate divisor (rate = paramA / paramB); 0 or 1 means none */
    uint8_t reserved[4];  /* 12 */
    int32_t configLength; /* 16: number of valid bytes in config, 0..64 */
    uint8_t config[64];   /* 20: codec configuration: SPS and PPS, Annex-B (start codes) or avcC */
} H264DecConfig;
SFF_STATIC_ASSERT(sizeof(H264DecConfig) == 84, "H264DecConfig is 84 bytes");
SFF_STATIC_ASSERT(offsetof(H264DecConfig, configLength) == 16, "configLength at 16");

/* RTSP source record, 268 bytes: the SDK's RTSP parameter record can be passed as it is. */
typedef struct RtspSourceParam {
    char url[256];        /* 0: "rtsp://host[:port]/path" (or rtsps://), NUL-terminated */
    uint8_t mode;         /* 256: the caller's mode byte; the library reads the one in the config */
    uint8_t reserved0;    /* 257 */
    uint8_t wantSecond;   /* 258: the caller's second-output flag; not read by the library */
    uint8_t reserved1[5]; /* 259 */
    uint16_t width;       /* 264: out: width of the BGRA output, filled by RtspDemuxDec_Open */
    uint16_t height;      /* 266: out: height of the BGRA output */
} RtspSourceParam;
SFF_STATIC_ASSERT(sizeof(RtspSourceParam) == 268, "RtspSourceParam is 268 bytes");
SFF_STATIC_ASSERT(offsetof(RtspSourceParam, width) == 264, "width at 264");

/* Mode bits of RtspDemuxDecConfig. */
#define SFF_RTSP_MODE_LOW_DELAY                                      \
    0x01 /* no demuxer buffering, decoder outputs without reordering \
            delay; for sources known to send no B-frames */

/* RTSP configuration, 16 bytes. */
typedef struct RtspDemuxDecConfig {
    uint8_t mode; /* SFF_RTSP_MODE_... bits; other bits are ignored */
    uint8_t reserved[3];
    int32_t deviceType; /* hardware device number (the SDK's "decoder" setting) */
    uint16_t outWidth;  /* in: wanted output size, 0 x 0 for the source's own size;          */
    uint16_t outHeight; /* out: the size of the outputs, also written to RtspSourceParam   */
    int32_t timeoutMs;  /* bound on every network wait (connect, answer, next picture); <= 0
                           means 5000, at most 60000 */
} RtspDemuxDecConfig;
SFF_STATIC_ASSERT(sizeof(RtspDemuxDecConfig) == 16, "RtspDemuxDecConfig is 16 bytes");

typedef struct H264EncHandle H264EncHandle;
typedef struct H264DecHandle H264DecHandle;
typedef struct RtspDemuxDecHandle RtspDemuxDecHandle;

/* ---- Library ----------------------------------------------------------------------------------- */

/* Counted, from any thread: every successful Ffmpeg_Init needs one Ffmpeg_Free. The first Init
 * routes FFmpeg's own log into this library (silent unless Ffmpeg_SetLibraryLogLevel asks for it)
 * and initialises networking; the last Free undoes both. Free without a matching Init does
 * nothing. 0, or SFF_E_IO when networking cannot be initialised. */
SFF_API int Ffmpeg_Init(void);
SFF_API int Ffmpeg_Free(void);

/* Receives every diagnostic line of the library: the reporting function, its source line and
 * file, and the text (no trailing newline). Called on whatever thread hit the condition, so it
 * must be thread-safe. Null (the default) discards the lines. Returns 0. */
typedef void (*Ffmpeg_LogHandler)(const char *func, int line, const char *file, const char *text);
SFF_API int Ffmpeg_SetLogHandler(Ffmpeg_LogHandler fn);

/* Forwards FFmpeg's own messages up to this av_log level (-8 quiet, the default; 16 error;
 * 24 warning; 32 info; 48 debug) to the log handler, with func "av_log". Returns 0. */
SFF_API int Ffmpeg_SetLibraryLogLevel(int level);

/* A static English text for any status of this library. */
SFF_API const char *Ffmpeg_ErrorText(int status);

/* ---- H.264 encoder and its file writer ---------------------------------------------------------- */

SFF_API H264EncHandle *H264Enc_Open(void);
SFF_API int H264Enc_Close(H264EncHandle **handle); /* ends a running mux first */

/* (Re)configures the encoder: libx264 (veryfast, zerolatency, no B-frames, CRF 21, key frames
 * every two seconds and on demand only), or NVENC / Quick Sync for devices 2 / 5 when present.
 * Refused with SFF_E_STATE while a mux runs. Buffers for the stream are allocated here. An odd
 * width or height is cropped by one column or row. */
SFF_API int H264Enc_SetConfig(H264EncHandle *handle, const H264EncConfig *cfg);

/* Encodes one width x height BGRA picture. Returns 0 with one Annex-B access unit in *outPacket /
 * *outLen (key frames carry SPS and PPS); SFF_NO_OUTPUT with *outPacket null and *outLen 0 when a
 * hardware encoder holds the picture back. The packet belongs to the handle and stays valid until
 * the next call on it. */
SFF_API int H264Enc_EncFrame(H264EncHandle *handle, const uint32_t *bgra, uint8_t **outPacket, int *outLen);

/* Starts a video file (container from the extension: .mp4 .mov .mkv .ts .h264 ...; MP4 for
 * anything else). 0 = file created. Ends a running mux first. The next encoded picture is forced
 * to be a key frame so the file starts without loss. */
SFF_API int H264Enc_MuxBegin(H264EncHandle *handle, const char *path);
/* Appends one packet as produced by H264Enc_EncFrame, stamped at the configured rate. Packets
 * before the first key frame are skipped (SFF_NO_OUTPUT). */
SFF_API int H264Enc_MuxFrame(H264EncHandle *handle, const uint8_t *packet, int len);
/* Finishes and closes the file. SFF_E_NODATA when no key frame arrived: the empty file is removed. */
SFF_API int H264Enc_MuxEnd(H264EncHandle *handle);

/* ---- H.264 decoder and its file writer ---------------------------------------------------------- */

SFF_API H264DecHandle *H264Dec_Open(void);
SFF_API int H264Dec_Close(H264DecHandle **handle); /* ends a running mux first */

/* (Re)configures the decoder; refused with SFF_E_STATE while a mux runs. */
SFF_API int H264Dec_SetConfig(H264DecHandle *handle, const H264DecConfig *cfg);

/* Decodes one Annex-B access unit and writes width x height BGRA pixels (the configured size).
 * 0: a picture was written. SFF_NO_OUTPUT: nothing to show yet and nothing wrong (parameter sets
 * or SEI only, or pictures before the first key frame); the output is untouched. SFF_E_DATA: the
 * input is malformed, or its slices refer to parameter sets that never came; when the decoder
 * could conceal the damage, the concealed picture has been written, otherwise the output is
 * untouched. Parameter sets that came alone serve the next picture. Never reads outside
 * data[0, len). */
SFF_API int H264Dec_DecFrame(H264DecHandle *handle, const uint8_t *data, int len, uint32_t *bgraOut);

/* As the encoder's mux, for received Annex-B access units: the file's SPS/PPS come from the first
 * ones seen in the configuration bytes or the stream; packets before the first key frame are
 * skipped; frames are stamped at paramA / paramB per second. */
SFF_API int H264Dec_MuxBegin(H264DecHandle *handle, const char *path);
SFF_API int H264Dec_MuxFrame(H264DecHandle *handle, const uint8_t *data, int len);
SFF_API int H264Dec_MuxEnd(H264DecHandle *handle);

/* ---- RTSP source --------------------------------------------------------------------------------- */

/* Opens the source over RTSP with RTP interleaved on the TCP connection, every network wait bounded
 * by cfg->timeoutMs, and decodes up to the first picture so that its size is known. On success
 * *handle is set, source->width/height and cfg->outWidth/outHeight hold the output size, and 0 is
 * returned; otherwise *handle is null and a negative code is returned. */
SFF_API int RtspDemuxDec_Open(RtspSourceParam *source, RtspDemuxDecConfig *cfg, RtspDemuxDecHandle **handle);
SFF_API int RtspDemuxDec_Close(RtspDemuxDecHandle **handle); /* ends a running recording first */

/* Reads up to the next picture, giving up after the time-out. 0: bgraOut holds
 * outWidth x outHeight BGRA pixels and, when secondOut is not null, secondOut holds the same
 * picture as 8-bit grey (full-range luma), outWidth x outHeight bytes. Negative: no picture (the
 * outputs are untouched). After the source was lost (end of stream, I/O error, time-out) the next
 * calls reconnect, at most once a second, and return the failure until that succeeds. */
SFF_API int RtspDemuxDec_ReadFrame(RtspDemuxDecHandle *handle, uint32_t *bgraOut, void *secondOut);

/* Records the compressed stream as received, without re-encoding, from the next key frame on
 * (container from the extension as for H264Enc_MuxBegin). Packets are written by ReadFrame.
 * SFF_E_STATE when a recording already runs. */
SFF_API int RtspDemuxDec_BeginSave(RtspDemuxDecHandle *handle, const char *path);
/* Finishes the recording. SFF_E_STATE when none runs; SFF_E_NODATA when no key frame came. */
SFF_API int RtspDemuxDec_EndSave(RtspDemuxDecHandle *handle);

#ifdef __cplusplus
}
#endif

#undef SFF_STATIC_ASSERT

#endif /* SARVIK_FFMPEG_H */
