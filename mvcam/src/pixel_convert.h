// Pixel conversion to BGRA through libswscale, keeping its context between frames of one size and type.
#pragma once

#include <cstddef>
#include <cstdint>

struct SwsContext;

namespace mvcc {

struct Converter {
    SwsContext *sws = nullptr;
    uint32_t srcType = 0;
    int width = 0;
    int height = 0;
};

// Bytes a width x height frame of this PFNC type takes, or 0 for a type the converter does not read.
uint64_t frame_bytes(uint32_t pixelType, int width, int height);

// Converts src (srcLen bytes) into width x height BGRA pixels with alpha 255 at dst (dstSize bytes).
// Returns 0 or an MVCC_E_ code; *written gets the bytes written.
int convert_to_bgra(Converter &c, uint32_t srcType, int width, int height, const uint8_t *src,
                    uint64_t srcLen, uint8_t *dst, uint64_t dstSize, uint32_t *written);

void converter_free(Converter &c);

}  // namespace mvcc
