// Compressed pictures from a camera or an RTSP source reach the decoder as they arrive: whatever the bytes
// claim (other sizes, broken slices, missing parameter sets), decoding must write exactly the configured
// picture and read nothing outside its input. The first byte picks the configured size; the rest is an
// Annex-B stream handed over one NAL unit at a time, as a camera may send them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "SarvikFfmpeg.h"

namespace {

H264DecHandle *decoder(int width, int height) {
    static bool ready = Ffmpeg_Init() == 0 && Ffmpeg_SetLibraryLogLevel(-8) >= 0;
    if (!ready) std::abort();
    H264DecHandle *h = H264Dec_Open();
    if (!h) std::abort();
    H264DecConfig cfg;
    std::memset(&cfg, 0, sizeof cfg);
    cfg.width = static_cast<uint16_t>(width);
    cfg.height = static_cast<uint16_t>(height);
    if (H264Dec_SetConfig(h, &cfg) != 0) std::abort();
    return h;
}

// Offsets of every 3- or 4-byte start code.
std::vector<size_t> start_codes(const uint8_t *p, size_t n) {
    std::vector<size_t> at;
    for (size_t i = 0; i + 3 <= n; ++i)
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1) at.push_back(i > 0 && p[i - 1] == 0 ? i - 1 : i);
    return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const int width = 16 + 16 * (data[0] & 3), height = 16 + 16 * ((data[0] >> 2) & 3);
    ++data;
    --size;
    H264DecHandle *h = decoder(width, height);
    // Guard words on both sides catch a picture written at another size.
    std::vector<uint32_t> out(static_cast<size_t>(width) * height + 2, 0xA5A5A5A5u);
    std::vector<size_t> cuts = start_codes(data, size);
    cuts.push_back(size);
    size_t from = 0;
    for (size_t cut : cuts) {
        if (cut > from) {
            // A copy of exactly the unit, so a read past its end is a heap overflow the sanitizer sees.
            std::vector<uint8_t> unit(data + from, data + cut);
            H264Dec_DecFrame(h, unit.data(), static_cast<int>(unit.size()), out.data() + 1);
        }
        from = cut;
    }
    if (out.front() != 0xA5A5A5A5u || out.back() != 0xA5A5A5A5u) std::abort();
    H264Dec_Close(&h);
    return 0;
}
