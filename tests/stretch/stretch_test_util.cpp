#include "stretch_test_util.h"

#include <cmath>
#include <cstring>

#include "stretch_context.h"

namespace stretchtest {

_DataFrameHeader header(int width, int height, int slope, int offset, int kind) {
    _DataFrameHeader h;
    std::memset(&h, 0, sizeof h);
    h.width = static_cast<uint16_t>(width);
    h.height = static_cast<uint16_t>(height);
    h.slope = static_cast<uint16_t>(slope);
    h.offset = static_cast<int16_t>(offset);
    h.dataKind = static_cast<uint8_t>(kind);
    return h;
}

std::vector<int16_t> scene(int width, int height, int slope, int offset, uint32_t seed) {
    std::vector<int16_t> out(static_cast<size_t>(width) * height);
    uint32_t lcg = seed;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double t = 20.0 + 10.0 * (x + y) / (width + height);
            const double dx1 = x - width * 0.3, dy1 = y - height * 0.4;
            if (dx1 * dx1 + dy1 * dy1 < (width * width) / 64.0) t = 36.5;
            const double dx2 = x - width * 0.7, dy2 = y - height * 0.6;
            t += 60.0 * std::exp(-(dx2 * dx2 + dy2 * dy2) / (width * 2.0));
            if (x > width / 8 && x < width / 6) t = 12.0;
            lcg = lcg * 1664525u + 1013904223u;
            t += ((lcg >> 16) % 61 - 30) / 100.0;
            out[static_cast<size_t>(y) * width + x] = static_cast<int16_t>(std::lround((t - offset) * slope));
        }
    }
    return out;
}

uint64_t fnv1a(const void *data, size_t bytes) {
    uint64_t h = 1469598103934665603ull;
    const auto *p = static_cast<const uint8_t *>(data);
    for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

Context make_context() {
    return Context(strCreate());
}

_strech_control control(int32_t flags) {
    _strech_control c;
    std::memset(&c, 0, sizeof c);
    c.flags = flags;
    return c;
}

void set_image(StretchContext *c, const _strech_control &ctl) {
    sarvik::stretch_apply_control(c, &ctl, true);
}

std::vector<uint32_t> ironbow() {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    std::vector<uint32_t> out(256);
    std::memcpy(out.data(), reinterpret_cast<PaletteTable *>(table)->entries[SARVIK_PALETTE_IRONBOW].colors,
                1024);
    Sarvik_FreePaletteData(&table);
    return out;
}

}  // namespace stretchtest
