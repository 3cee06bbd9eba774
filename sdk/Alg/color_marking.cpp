// Marking palettes are brightness ramps of the marking colour's hue and saturation, so marked regions keep
// their detail; the rule compares raw samples against thresholds converted once per frame.
#include "color_marking.h"

#include <algorithm>
#include <cmath>

namespace sarvik {

namespace {

struct Hsv {
    float h;  // degrees, 0 to 360
    float s;
    float v;
};

Hsv rgb_to_hsv(float r, float g, float b) {
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    const float d = mx - mn;
    Hsv out{0.0f, mx > 0.0f ? d / mx : 0.0f, mx};
    // A grey has no hue; hue 0 with saturation 0 makes its palette a plain black-to-white ramp.
    if (d > 0.0f) {
        if (mx == r)
            out.h = 60.0f * ((g - b) / d);
        else if (mx == g)
            out.h = 60.0f * ((b - r) / d + 2.0f);
        else
            out.h = 60.0f * ((r - g) / d + 4.0f);
        if (out.h < 0.0f) out.h += 360.0f;
    }
    return out;
}

void hsv_to_rgb(const Hsv &c, float *r, float *g, float *b) {
    const float hh = c.h >= 360.0f ? 0.0f : c.h / 60.0f;
    const int sector = static_cast<int>(hh);
    const float f = hh - static_cast<float>(sector);
    const float p = c.v * (1.0f - c.s);
    const float q = c.v * (1.0f - c.s * f);
    const float t = c.v * (1.0f - c.s * (1.0f - f));
    switch (sector) {
        case 0:
            *r = c.v, *g = t, *b = p;
            break;
        case 1:
            *r = q, *g = c.v, *b = p;
            break;
        case 2:
            *r = p, *g = c.v, *b = t;
            break;
        case 3:
            *r = p, *g = q, *b = c.v;
            break;
        case 4:
            *r = t, *g = p, *b = c.v;
            break;
        default:
            *r = c.v, *g = p, *b = q;
            break;
    }
}

uint32_t channel(float x) {
    const float scaled = 255.0f * x;
    return scaled <= 0.0f ? 0u : scaled >= 255.0f ? 255u : static_cast<uint32_t>(scaled);
}

}  // namespace

void marking_palette_build(uint32_t colour, uint32_t palette[256]) {
    const Hsv base = rgb_to_hsv(static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                                static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                                static_cast<float>(colour & 0xFF) / 255.0f);
    for (int i = 0; i < 256; ++i) {
        float r, g, b;
        hsv_to_rgb(Hsv{base.h, base.s, static_cast<float>(i) / 255.0f}, &r, &g, &b);
        palette[i] = 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
}

void marking_palettes_rebuild(StretchContext *c, const _strech_control &ctl) {
    switch (ctl.ct_type) {
        case SARVIK_MARK_ABOVE:
        case SARVIK_MARK_BELOW:
        case SARVIK_MARK_BETWEEN:
            marking_palette_build(ctl.ct_color0, c->palettes[kSlotMark0]);
            break;
        case SARVIK_MARK_OUTSIDE:
            marking_palette_build(ctl.ct_color0, c->palettes[kSlotMark0]);
            marking_palette_build(ctl.ct_color1, c->palettes[kSlotMark1]);
            break;
        default:
            break;
    }
}

MarkingRule marking_rule(const _strech_control &ctl, const _DataFrameHeader &h) {
    // The same slope rule as the stretch: a frame without a slope counts as slope 20, so the thresholds
    // still mean temperatures.
    const int64_t s = effective_slope(h.slope);
    const int64_t o = h.offset;
    return MarkingRule{ctl.ct_type, clamp_sample(s * ctl.ct_temp0 / 10 - s * o),
                       clamp_sample(s * ctl.ct_temp1 / 10 - s * o)};
}

}  // namespace sarvik
