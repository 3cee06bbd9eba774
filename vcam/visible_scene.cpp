#include "visible_scene.h"

namespace vcam {

namespace {

uint32_t rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

int lerp(int a, int b, int num, int den) {
    return den > 0 ? a + (b - a) * num / den : a;
}

}  // namespace

VisibleScene::VisibleScene(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {
    const int horizon = height * 3 / 5;
    // Sky fades from deep to pale blue down to the horizon, ground from olive to dark green below it.
    for (int y = 0; y < height; ++y) {
        const uint32_t c = y < horizon ? rgb(lerp(40, 170, y, horizon), lerp(90, 200, y, horizon), 230)
                                       : rgb(lerp(110, 40, y - horizon, height - horizon),
                                             lerp(120, 80, y - horizon, height - horizon), 40);
        for (int x = 0; x < width; ++x) pixels_[static_cast<size_t>(y) * width + x] = c;
    }
    // A grey building on the left third standing on the horizon, with a grid of lit windows.
    const int bx0 = width / 10, bx1 = width * 2 / 5, by0 = height / 4;
    for (int y = by0; y < horizon; ++y)
        for (int x = bx0; x < bx1; ++x) {
            const bool window = ((x - bx0) / 6) % 3 == 1 && ((y - by0) / 6) % 3 == 1;
            pixels_[static_cast<size_t>(y) * width + x] = window ? rgb(250, 230, 140) : rgb(120, 120, 128);
        }
    // A sun in the upper right.
    const int sx = width * 3 / 4, sy = height / 6, sr = height / 12 > 2 ? height / 12 : 2;
    for (int y = sy - sr; y <= sy + sr; ++y)
        for (int x = sx - sr; x <= sx + sr; ++x)
            if (x >= 0 && y >= 0 && x < width && y < height &&
                (x - sx) * (x - sx) + (y - sy) * (y - sy) <= sr * sr)
                pixels_[static_cast<size_t>(y) * width + x] = rgb(255, 240, 100);
}

void blend_half(const uint32_t *thermal, const uint32_t *visible, uint32_t *out, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        // Halve each channel before adding, so the sum of two bytes never carries into the next one.
        const uint32_t a = thermal[i], b = visible[i];
        out[i] = 0xFF000000u | (((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F) + (a & b & 0x010101));
    }
}

}  // namespace vcam
