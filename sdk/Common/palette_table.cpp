// Palettes are defined by colour stops and linear interpolation in RGB between them, so they are smooth
// by construction and reproducible bit for bit. Stop positions are on the 0-255 gray scale.
#include "palette_table.h"

#include <cstdlib>
#include <cstring>

#include "SarvikSDK.h"

namespace sarvik {

namespace {

struct Stop {
    int pos;  // gray level 0-255, strictly increasing, first 0 and last 255
    uint8_t r, g, b;
};

struct PaletteDef {
    const char *name;
    const Stop *stops;
    int count;
};

// Red to yellow.
constexpr Stop kAutumn[] = {{0, 255, 0, 0}, {255, 255, 255, 0}};
// Hot is black.
constexpr Stop kBlackHot[] = {{0, 255, 255, 255}, {255, 0, 0, 0}};
// Black through glowing red and orange to white.
constexpr Stop kGlowBow[] = {
    {0, 0, 0, 0}, {90, 150, 10, 0}, {160, 240, 100, 0}, {215, 255, 200, 40}, {255, 255, 255, 255}};
// Strongly separated hues so that small differences stand out.
constexpr Stop kHighContrast[] = {{0, 0, 0, 0},     {36, 0, 0, 255},    {73, 0, 200, 255},
                                  {109, 0, 200, 0}, {146, 230, 230, 0}, {182, 255, 110, 0},
                                  {219, 220, 0, 0}, {237, 255, 0, 200}, {255, 255, 255, 255}};
// Channels rise one after the other: black, red, yellow, white.
constexpr Stop kHotMetal[] = {{0, 0, 0, 0}, {96, 255, 0, 0}, {192, 255, 255, 0}, {255, 255, 255, 255}};
// Black, deep blue, purple, red, orange, yellow, white.
constexpr Stop kIronBow[] = {{0, 0, 0, 0},        {30, 20, 0, 100},    {70, 110, 0, 150},
                             {115, 190, 20, 100}, {150, 230, 70, 10},  {190, 250, 150, 0},
                             {230, 255, 230, 60}, {255, 255, 255, 255}};
// Dark blue, blue, cyan, yellow, red, dark red.
constexpr Stop kJet[] = {{0, 0, 0, 128},     {32, 0, 0, 255},  {96, 0, 255, 255},
                         {160, 255, 255, 0}, {224, 255, 0, 0}, {255, 128, 0, 0}};
// Violet, blue, cyan, green, yellow, orange, red.
constexpr Stop kRainBow[] = {{0, 120, 0, 160},   {42, 0, 0, 255},    {85, 0, 200, 255}, {128, 0, 220, 0},
                             {170, 255, 255, 0}, {212, 255, 130, 0}, {255, 255, 0, 0}};
// A gray ramp whose hottest levels blend into saturated red, without a hard edge.
constexpr Stop kRedSaturation[] = {{0, 0, 0, 0}, {200, 200, 200, 200}, {255, 255, 0, 0}};
// Hot is white.
constexpr Stop kWhiteHot[] = {{0, 0, 0, 0}, {255, 255, 255, 255}};
// Blue to spring green.
constexpr Stop kWinter[] = {{0, 0, 0, 255}, {255, 0, 255, 128}};
// A warmer iron: black, indigo, magenta, orange, pale yellow.
constexpr Stop kIronBow2[] = {{0, 0, 0, 0},       {40, 40, 0, 90},    {95, 150, 0, 140},
                              {150, 235, 60, 40}, {205, 255, 170, 0}, {255, 255, 250, 200}};

#define PALETTE(n, s) \
    { n, s, static_cast<int>(sizeof(s) / sizeof(s[0])) }
// Table order is fixed: callers select palettes by index.
constexpr PaletteDef kPalettes[kPaletteCount] = {
    PALETTE("Autumn", kAutumn),
    PALETTE("BlackHot", kBlackHot),
    PALETTE("GlowBow", kGlowBow),
    PALETTE("HighContrast", kHighContrast),
    PALETTE("HotMetal", kHotMetal),
    PALETTE("IronBow", kIronBow),
    PALETTE("Jet", kJet),
    PALETTE("RainBow", kRainBow),
    PALETTE("RedSaturation", kRedSaturation),
    PALETTE("WhiteHot", kWhiteHot),
    PALETTE("Winter", kWinter),
    PALETTE("IronBow2", kIronBow2),
};
#undef PALETTE

uint8_t lerp(uint8_t a, uint8_t b, int num, int den) {
    // Rounded integer interpolation keeps the table identical on every machine.
    return static_cast<uint8_t>((a * (den - num) + b * num + den / 2) / den);
}

}  // namespace

void palette_table_build(uint8_t *table, uint8_t alpha) {
    std::memset(table, 0, kPaletteTableSize);
    for (int p = 0; p < kPaletteCount; ++p) {
        uint8_t *entry = table + p * kPaletteEntrySize;
        std::strncpy(reinterpret_cast<char *>(entry), kPalettes[p].name, kPaletteNameSize - 1);
        uint8_t *colours = entry + kPaletteNameSize;
        const Stop *s = kPalettes[p].stops;
        int seg = 0;
        for (int i = 0; i < kPaletteColours; ++i) {
            while (seg + 1 < kPalettes[p].count - 1 && i > s[seg + 1].pos) ++seg;
            const Stop &a = s[seg], &b = s[seg + 1];
            const int den = b.pos - a.pos, num = i - a.pos;
            uint8_t *c = colours + i * 4;
            c[0] = lerp(a.b, b.b, num, den);
            c[1] = lerp(a.g, b.g, num, den);
            c[2] = lerp(a.r, b.r, num, den);
            c[3] = alpha;
        }
    }
}

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API char *Sarvik_AllocPaletteData(int *count) {
    auto *table = static_cast<uint8_t *>(std::malloc(kPaletteTableSize));
    if (!table) {
        if (count) *count = 0;
        return nullptr;
    }
    palette_table_build(table, 255);
    if (count) *count = kPaletteCount;
    return reinterpret_cast<char *>(table);
}

extern "C" SARVIK_API void Sarvik_FreePaletteData(char **table) {
    if (!table) return;
    std::free(*table);
    *table = nullptr;
}
