// The camera's own rendering of temperatures for its video outputs: an iron-like colour ramp over a fixed
// temperature window, so that a picture shows the same colours whatever the scene does.
#pragma once

#include <cstdint>

namespace vcam {

constexpr float kVideoWindowLowC = 15.0f;   // black-blue at and below
constexpr float kVideoWindowHighC = 45.0f;  // white at and above

// BGRA (0xAARRGGBB values, alpha 0xFF) of the ramp at level 0..255.
uint32_t iron_colour(int level);

// Renders srcW x srcH samples (temperature = sample / slope + offset) into a dstW x dstH BGRA picture,
// scaled by nearest neighbour when the sizes differ.
void render_iron(const int16_t *samples, int srcW, int srcH, uint16_t slope, int16_t offset, uint32_t *bgra,
                 int dstW, int dstH);

}  // namespace vcam
