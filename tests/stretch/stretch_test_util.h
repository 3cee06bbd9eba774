// Frames, contexts and checksums shared by the stretch tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "SarvikSDK.h"

namespace stretchtest {

_DataFrameHeader header(int width, int height, int slope, int offset = 0,
                        int kind = SARVIK_DATA_KIND_TEMPERATURE);

// A deterministic thermal scene in raw units of the given slope: a gradient from 20 to 30 deg C, a warm and a
// hot disc, a sharp-edged cold bar, and pseudo-random noise of a few tenths of a degree.
std::vector<int16_t> scene(int width, int height, int slope, int offset = 0, uint32_t seed = 1);

uint64_t fnv1a(const void *data, size_t bytes);

struct ContextFree {
    void operator()(StretchContext *c) const { strFree(c); }
};
using Context = std::unique_ptr<StretchContext, ContextFree>;
Context make_context();

// A control record with only the given flag bits.
_strech_control control(int32_t flags);

// Applies a control as the preview's and playback's set-image paths do (ddeLevel included).
void set_image(StretchContext *c, const _strech_control &ctl);

// The "IronBow" palette of the SDK's table.
std::vector<uint32_t> ironbow();

}  // namespace stretchtest
