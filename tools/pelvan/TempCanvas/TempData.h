#pragma once

#include <cstdint>

#include "SarvikSDK.h"

// One frame handed from the SDK thread to the GUI thread. It owns nothing: the pointers reach into the
// SDK's frame slot, which stays intact until 15 further frames have arrived.
struct TempData {
    _DataFrameHeader *header = nullptr;  // 128-byte frame header
    int16_t *temp = nullptr;             // width x height samples, row-major
    uint32_t *image = nullptr;           // width x height BGRA pixels rendered by the SDK
};
