// The twelve built-in 256-colour palettes.
#pragma once

#include <cstdint>

namespace sarvik {

constexpr int kPaletteCount = 12;
constexpr int kPaletteNameSize = 32;
constexpr int kPaletteColours = 256;
constexpr int kPaletteEntrySize = kPaletteNameSize + kPaletteColours * 4;  // 1056
constexpr int kPaletteTableSize = kPaletteCount * kPaletteEntrySize;     // 12672
constexpr int kPaletteDefault = 5;                                       // "IronBow"

// Writes the table: per entry the zero-padded name, then colours 0 (coldest) to 255 (hottest) as
// blue, green, red, alpha. Alpha is written as given.
void palette_table_build(uint8_t *table, uint8_t alpha);

}  // namespace sarvik
