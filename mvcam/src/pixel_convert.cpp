#include "pixel_convert.h"

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "MvCameraControl.h"

namespace mvcc {

namespace {

struct FormatEntry {
    uint32_t pfnc;
    AVPixelFormat av;
};

// Camera formats and their libswscale names; 10/12-bit mono and 16-bit Bayer come in 16-bit
// little-endian containers.
constexpr FormatEntry kFormats[] = {
    {MVCC_PIXEL_MONO8, AV_PIX_FMT_GRAY8},
    {MVCC_PIXEL_MONO10, AV_PIX_FMT_GRAY10LE},
    {MVCC_PIXEL_MONO12, AV_PIX_FMT_GRAY12LE},
    {MVCC_PIXEL_MONO16, AV_PIX_FMT_GRAY16LE},
    {MVCC_PIXEL_BAYER_GR8, AV_PIX_FMT_BAYER_GRBG8},
    {MVCC_PIXEL_BAYER_RG8, AV_PIX_FMT_BAYER_RGGB8},
    {MVCC_PIXEL_BAYER_GB8, AV_PIX_FMT_BAYER_GBRG8},
    {MVCC_PIXEL_BAYER_BG8, AV_PIX_FMT_BAYER_BGGR8},
    {MVCC_PIXEL_BAYER_GR16, AV_PIX_FMT_BAYER_GRBG16LE},
    {MVCC_PIXEL_BAYER_RG16, AV_PIX_FMT_BAYER_RGGB16LE},
    {MVCC_PIXEL_BAYER_GB16, AV_PIX_FMT_BAYER_GBRG16LE},
    {MVCC_PIXEL_BAYER_BG16, AV_PIX_FMT_BAYER_BGGR16LE},
    {MVCC_PIXEL_RGB8, AV_PIX_FMT_RGB24},
    {MVCC_PIXEL_BGR8, AV_PIX_FMT_BGR24},
    {MVCC_PIXEL_RGBA8, AV_PIX_FMT_RGBA},
    {MVCC_PIXEL_BGRA8, AV_PIX_FMT_BGRA},
    {MVCC_PIXEL_YUV422_UYVY, AV_PIX_FMT_UYVY422},
    {MVCC_PIXEL_YUV422_YUYV, AV_PIX_FMT_YUYV422},
};

AVPixelFormat av_format(uint32_t pfnc) {
    for (const FormatEntry &f : kFormats)
        if (f.pfnc == pfnc) return f.av;
    return AV_PIX_FMT_NONE;
}

}  // namespace

uint64_t frame_bytes(uint32_t pixelType, int width, int height) {
    if (av_format(pixelType) == AV_PIX_FMT_NONE || width <= 0 || height <= 0) return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * MVCC_PIXEL_BITS(pixelType) / 8;
}

int convert_to_bgra(Converter &c, uint32_t srcType, int width, int height, const uint8_t *src,
                    uint64_t srcLen, uint8_t *dst, uint64_t dstSize, uint32_t *written) {
    *written = 0;
    const AVPixelFormat from = av_format(srcType);
    if (from == AV_PIX_FMT_NONE) return MVCC_E_SUPPORT;
    const uint64_t need = frame_bytes(srcType, width, height);
    const uint64_t out = 4ull * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (need == 0 || !src || !dst) return MVCC_E_PARAMETER;
    if (srcLen < need || dstSize < out || out > UINT32_MAX) return MVCC_E_BUFFER;
    // Same size in and out: point sampling keeps every pixel as it is; the context is reused while
    // size and type stay, so a stream of frames allocates nothing.
    c.sws =
        sws_getCachedContext(c.sws, width, height, from, width, height, AV_PIX_FMT_BGRA,
                             SWS_POINT | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr);
    if (!c.sws) return MVCC_E_RESOURCE;
    c.srcType = srcType;
    c.width = width;
    c.height = height;
    const uint8_t *srcPlanes[4] = {src, nullptr, nullptr, nullptr};
    const int srcStrides[4] = {static_cast<int>(need / static_cast<uint64_t>(height)), 0, 0, 0};
    uint8_t *dstPlanes[4] = {dst, nullptr, nullptr, nullptr};
    const int dstStrides[4] = {4 * width, 0, 0, 0};
    if (sws_scale(c.sws, srcPlanes, srcStrides, 0, height, dstPlanes, dstStrides) != height)
        return MVCC_E_INTERNAL;
    *written = static_cast<uint32_t>(out);
    return MVCC_OK;
}

void converter_free(Converter &c) {
    sws_freeContext(c.sws);
    c = Converter{};
}

}  // namespace mvcc
