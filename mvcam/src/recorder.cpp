// Video recording through the project's codec layer: each frame converted to BGRA, encoded, muxed.
#include <algorithm>
#include <cmath>
#include <new>
#include <cstring>
#include <vector>

#include "SarvikFfmpeg.h"
#include "mvcc_internal.h"

namespace mvcc {

struct Recorder {
    H264EncHandle *enc = nullptr;
    Converter converter;
    std::vector<uint8_t> bgra;
    uint32_t pixelType = 0;
    int width = 0;
    int height = 0;
    uint64_t frameBytes = 0;
};

namespace {

void recorder_free(Core &core) {
    Recorder *r = core.recorder;
    H264Enc_Close(&r->enc);
    converter_free(r->converter);
    delete r;
    core.recorder = nullptr;
    Ffmpeg_Free();
}

}  // namespace

int recorder_start(Core &core, const MVCC_RECORD_PARAM &p) {
    if (p.enRecordFormat != MVCC_RECORD_H264) return MVCC_E_SUPPORT;
    if (p.nWidth < 2 || p.nHeight < 2 || !(p.fFrameRate > 0.0f && p.fFrameRate <= 1000.0f) ||
        memchr(p.strFilePath, 0, sizeof p.strFilePath) == nullptr || p.strFilePath[0] == 0)
        return MVCC_E_PARAMETER;
    const uint64_t frameBytes = frame_bytes(p.enPixelType, p.nWidth, p.nHeight);
    if (frameBytes == 0) return MVCC_E_SUPPORT;
    if (Ffmpeg_Init() != 0) return MVCC_E_RECORD_ENCODE;
    Recorder *r = new (std::nothrow) Recorder;
    if (!r) {
        Ffmpeg_Free();
        return MVCC_E_RESOURCE;
    }
    core.recorder = r;
    r->pixelType = p.enPixelType;
    r->width = p.nWidth;
    r->height = p.nHeight;
    r->frameBytes = frameBytes;
    try {
        r->bgra.resize(4ull * p.nWidth * p.nHeight);
    } catch (...) {
        recorder_free(core);
        return MVCC_E_RESOURCE;
    }
    H264EncConfig cfg{};
    cfg.deviceType = SFF_DEVICE_SOFTWARE;
    cfg.width = p.nWidth;
    cfg.height = p.nHeight;
    cfg.frameRate = std::max(1, static_cast<int>(std::lround(p.fFrameRate)));
    cfg.rateDivisor = 1;
    r->enc = H264Enc_Open();
    if (!r->enc || H264Enc_SetConfig(r->enc, &cfg) != SFF_OK) {
        recorder_free(core);
        return MVCC_E_RECORD_ENCODE;
    }
    if (H264Enc_MuxBegin(r->enc, p.strFilePath) != SFF_OK) {
        recorder_free(core);
        return MVCC_E_RECORD_FILE;
    }
    return MVCC_OK;
}

int recorder_input(Core &core, const uint8_t *data, uint32_t length) {
    Recorder *r = core.recorder;
    if (length < r->frameBytes) return MVCC_E_BUFFER;
    uint32_t written = 0;
    int rc = convert_to_bgra(r->converter, r->pixelType, r->width, r->height, data, length, r->bgra.data(),
                             r->bgra.size(), &written);
    if (rc != MVCC_OK) return rc;
    uint8_t *packet = nullptr;
    int packetLen = 0;
    rc = H264Enc_EncFrame(r->enc, reinterpret_cast<const uint32_t *>(r->bgra.data()), &packet, &packetLen);
    if (rc == SFF_NO_OUTPUT) return MVCC_OK;
    if (rc != SFF_OK) return MVCC_E_RECORD_ENCODE;
    rc = H264Enc_MuxFrame(r->enc, packet, packetLen);
    return rc == SFF_OK || rc == SFF_NO_OUTPUT ? MVCC_OK : MVCC_E_RECORD_ENCODE;
}

int recorder_stop(Core &core) {
    const int rc = H264Enc_MuxEnd(core.recorder->enc);
    recorder_free(core);
    return rc == SFF_OK ? MVCC_OK : MVCC_E_RECORD_ENCODE;
}

}  // namespace mvcc
