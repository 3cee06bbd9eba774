// Colour-temperature marking: palettes built from a marking colour, and the rule that picks, per sample, the
// view palette or one of the two marking palettes.
#pragma once

#include <cstdint>

#include "SarvikSDK.h"
#include "stretch_context.h"

namespace sarvik {

// Entry i is the colour's hue and saturation at value i / 255, stored blue, green, red, 255.
void marking_palette_build(uint32_t colour, uint32_t palette[256]);

// Rebuilds the marking palettes that ct_type uses (1 to 3: palette 0 from ct_color0; 4: both).
void marking_palettes_rebuild(StretchContext *c, const _strech_control &ctl);

// The marking thresholds of one frame in raw units.
struct MarkingRule {
    int type;  // ct_type
    int r0;    // s x ct_temp0 / 10 - s x o, clamped to the sample range
    int r1;    // the same for ct_temp1
};

MarkingRule marking_rule(const _strech_control &ctl, const _DataFrameHeader &h);

// Palette slot of a sample under the rule.
inline PaletteSlot marking_slot(const MarkingRule &r, int sample) {
    switch (r.type) {
        case SARVIK_MARK_ABOVE:
            return sample > r.r0 ? kSlotMark0 : kSlotView;
        case SARVIK_MARK_BELOW:
            return sample < r.r0 ? kSlotMark0 : kSlotView;
        case SARVIK_MARK_BETWEEN:
            return r.r0 < sample && sample < r.r1 ? kSlotMark0 : kSlotView;
        case SARVIK_MARK_OUTSIDE:
            return sample < r.r0 ? kSlotMark0 : sample > r.r1 ? kSlotMark1 : kSlotView;
        default:
            return kSlotView;
    }
}

}  // namespace sarvik
