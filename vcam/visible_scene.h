// The synthetic visible-light picture behind the camera's mixed stream: a sky-to-ground gradient, a
// building, a window grid and a sun, fixed for the camera's life so that a mixed picture is reproducible.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vcam {

class VisibleScene {
public:
    VisibleScene(int width, int height);

    const uint32_t *bgra() const { return pixels_.data(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// out = thermal and visible mixed half and half, per channel; n pixels.
void blend_half(const uint32_t *thermal, const uint32_t *visible, uint32_t *out, size_t n);

}  // namespace vcam
