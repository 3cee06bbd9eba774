// NETD and SSTD: the temporal noise (mean over the pixels of each pixel's standard deviation across a ring of
// the last frames) and the spatial noise (standard deviation over the newest frame) of a live stream.
//
// Integer widths (samples signed 16-bit, at most 100 frames, at most 65535 x 65535 pixels):
//   per pixel S1 <= 100 x 2^15, 32-bit; S2 <= 100 x 2^30 and e = n S2 - S1^2, 64-bit; e x 10000 < 1.1e17;
//   the sum of the pixel values (each <= 100 x 2^15), 64-bit;
//   SSTD: b = sum of x^2 <= P x 2^30 < 2^63 and c = sum of x, 64-bit; P b - c^2 needs 128 bits on large
//   frames (1280 x 1024 already overflows 64), so it is formed in 128-bit integers and only then turned to
//   double.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "SarvikSDK.h"

namespace sarvik {

namespace {

constexpr uint32_t kSqrtEntries = 16384;
constexpr size_t kTile = 512;  // pixels summed across the ring at once

struct NetdObject {
    NetdConfig cfg;         // all zero while unconfigured
    uint32_t pixels;        // P
    int64_t intervalTicks;  // calcInterval x 10000
    uint32_t dataKind;      // of the last frame
    uint32_t slope;
    int64_t lastStamp;  // of the last computation
    float netd;
    float sstd;
    uint32_t writeSlot;
    void *buffer;  // the ring (frameCount frames of P samples) followed by the square-root table
    int16_t *ring;
    uint32_t *sqrtTable;
};

uint64_t isqrt(uint64_t n) {
    uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

bool valid(const NetdConfig &c) {
    return c.width != 0 && c.height != 0 && c.frameCount >= 10 && c.frameCount <= 100 &&
           c.calcInterval >= 1000 && c.calcInterval <= 10000;
}

// 100 x the mean over the pixels of each pixel's population standard deviation across the ring, before the
// final division by P x 100. Slots not written yet hold zeros and count as such.
uint64_t temporal_sum(const NetdObject *o) {
    const uint32_t n = o->cfg.frameCount;
    const int64_t n2 = int64_t{n} * n;
    const size_t P = o->pixels;
    int32_t s1[kTile];
    int64_t s2[kTile];
    uint64_t total = 0;
    for (size_t base = 0; base < P; base += kTile) {
        const size_t len = P - base < kTile ? P - base : kTile;
        std::memset(s1, 0, sizeof s1);
        std::memset(s2, 0, sizeof s2);
        // Slot by slot over one tile: contiguous reads instead of a stride of a whole frame per sample.
        for (uint32_t slot = 0; slot < n; ++slot) {
            const int16_t *x = o->ring + slot * P + base;
            for (size_t i = 0; i < len; ++i) {
                s1[i] += x[i];
                s2[i] += int64_t{x[i]} * x[i];
            }
        }
        for (size_t i = 0; i < len; ++i) {
            const int64_t e = int64_t{n} * s2[i] - int64_t{s1[i]} * s1[i];  // never negative
            total += e < kSqrtEntries ? o->sqrtTable[e] : isqrt(static_cast<uint64_t>(e * 10000 / n2));
        }
    }
    return total;
}

double spatial_raw(const NetdObject *o) {
    const uint32_t newest = o->writeSlot == 0 ? o->cfg.frameCount - 1u : o->writeSlot - 1u;
    const int16_t *x = o->ring + size_t{newest} * o->pixels;
    uint64_t b = 0;
    int64_t c = 0;
    for (size_t i = 0; i < o->pixels; ++i) {
        b += static_cast<uint64_t>(int64_t{x[i]} * x[i]);
        c += x[i];
    }
    const __int128 num =
        static_cast<__int128>(o->pixels) * b - static_cast<__int128>(c) * c;  // never negative
    const double p = o->pixels;
    return std::sqrt(static_cast<double>(num) / (p * p));
}

void compute(NetdObject *o) {
    const double netdRaw = static_cast<double>(temporal_sum(o)) / (static_cast<double>(o->pixels) * 100.0);
    const double sstdRaw = spatial_raw(o);
    double scale = 1.0;
    if (o->dataKind == SARVIK_DATA_KIND_TEMPERATURE) {
        // Millikelvin for a scale of slope counts per degree: x (1000 / slope), an integer quotient. A
        // temperature frame with slope 0 has no scale; it counts as slope 1 rather than dividing by zero.
        scale = 1000u / (o->slope ? o->slope : 1u);
    }
    o->netd = static_cast<float>(netdRaw * scale);
    o->sstd = static_cast<float>(sstdRaw * scale);
}

}  // namespace

}  // namespace sarvik

using sarvik::NetdObject;

extern "C" SARVIK_API void *NETD_Create(void) {
    return std::calloc(1, sizeof(NetdObject));
}

extern "C" SARVIK_API void NETD_Free(void **handle) {
    if (!handle || !*handle) return;
    auto *o = static_cast<NetdObject *>(*handle);
    std::free(o->buffer);
    std::free(o);
    *handle = nullptr;
}

extern "C" SARVIK_API int NETD_SetConfig(void *handle, const NetdConfig *config) {
    if (!handle || !config || !sarvik::valid(*config)) return SARVIK_ERR_INVALID_ARG;
    auto *o = static_cast<NetdObject *>(handle);
    if (std::memcmp(config, &o->cfg, sizeof(NetdConfig)) == 0) return SARVIK_OK;

    std::free(o->buffer);
    o->buffer = nullptr;
    o->ring = nullptr;
    o->sqrtTable = nullptr;
    const uint32_t pixels = uint32_t{config->width} * config->height;
    const size_t ringBytes = size_t{2} * pixels * config->frameCount;
    o->buffer = std::calloc(1, ringBytes + 4 * sarvik::kSqrtEntries);
    if (!o->buffer) {
        // Unconfigured: every frame is refused until a configuration succeeds.
        std::memset(&o->cfg, 0, sizeof o->cfg);
        o->pixels = 0;
        return SARVIK_ERR_NO_MEMORY;
    }
    o->ring = static_cast<int16_t *>(o->buffer);
    o->sqrtTable = reinterpret_cast<uint32_t *>(static_cast<char *>(o->buffer) + ringBytes);
    const uint64_t n2 = uint64_t{config->frameCount} * config->frameCount;
    for (uint32_t i = 0; i < sarvik::kSqrtEntries; ++i)
        o->sqrtTable[i] = static_cast<uint32_t>(sarvik::isqrt(uint64_t{i} * 10000 / n2));
    o->pixels = pixels;
    o->writeSlot = 0;
    o->lastStamp = 0;
    o->netd = 0.0f;
    o->sstd = 0.0f;
    o->intervalTicks = int64_t{config->calcInterval} * 10000;
    o->cfg = *config;
    return SARVIK_OK;
}

extern "C" SARVIK_API int NETD_Execute(void *handle, const _DataFrameHeader *header, const int16_t *samples,
                                       float *out) {
    if (!handle || !header || !samples || !out) return SARVIK_ERR_INVALID_ARG;
    auto *o = static_cast<NetdObject *>(handle);
    if (!o->buffer || header->width != o->cfg.width || header->height != o->cfg.height)
        return SARVIK_ERR_STATE;

    std::memcpy(o->ring + size_t{o->writeSlot} * o->pixels, samples, size_t{2} * o->pixels);
    if (++o->writeSlot == o->cfg.frameCount) o->writeSlot = 0;
    o->dataKind = header->dataKind;
    o->slope = header->slope;

    // |stamp - last| without signed overflow, whatever the camera put into the header.
    const int64_t stamp = header->timestamp;
    const uint64_t since = stamp >= o->lastStamp
                               ? static_cast<uint64_t>(stamp) - static_cast<uint64_t>(o->lastStamp)
                               : static_cast<uint64_t>(o->lastStamp) - static_cast<uint64_t>(stamp);
    if (since > static_cast<uint64_t>(o->intervalTicks)) {
        sarvik::compute(o);
        o->lastStamp = stamp;
    }
    out[0] = o->netd;
    out[1] = o->sstd;
    return SARVIK_OK;
}
