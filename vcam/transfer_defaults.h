// What a factory-fresh camera holds for file and memory transfers: its log, its bad-pixel list and the
// memory blocks the desktop tools edit, each a valid example of its layout.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "vcam_options.h"

namespace vcam {

// The camera log (file type 3): start-up lines naming the camera, its detector and its address.
std::vector<uint8_t> default_log_file(const Options &opt);

// The bad-pixel list (file type 6): a .bad file for this camera's identifier and detector size with a few
// pixels on the detector.
std::vector<uint8_t> default_bad_pixel_list(const Options &opt);

// Memory blocks by type: 2 GB/T 28181 registration (280 bytes), 3 and 4 custom blackbody points (656),
// 5 close-range lens tables (1088), 7 fix-distance tables (696).
std::map<int32_t, std::vector<uint8_t>> default_memory_blocks();

}  // namespace vcam
