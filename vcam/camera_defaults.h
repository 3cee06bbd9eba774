// Factory settings of the virtual camera: every configuration record as a real camera of the chosen size
// leaves the factory.
#pragma once

#include <cstdint>
#include <vector>

#include "vcam_options.h"

namespace vcam {

// One configuration record reachable by a get request and a set request on the command channel.
struct RecordSlot {
    uint16_t getType;
    uint16_t setType;  // the plug-in record (48) is reached through its own exchange
    std::vector<uint8_t> bytes;
};

// Lens gear levels of cameras with a motorised lens (software id containing "GS" or "GW").
constexpr int kGearLevels = 4;
constexpr int kDefaultGear = 1;

// Every record of the camera, with its factory content, in the order of the info-type table.
std::vector<RecordSlot> factory_records(const Options &opt);

}  // namespace vcam
