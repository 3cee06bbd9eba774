// The camera's non-volatile memory: records, clock offset and lens gear kept in a text file so that a
// write survives a restart of the virtual camera.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vcam {

struct StoredState {
    std::map<uint16_t, std::vector<uint8_t>> records;  // by get request type
    int64_t clockOffsetS = 0;
    int gear = -1;  // -1: not stored
};

// Reads path; false when it does not exist or cannot be read (then *out is left empty). Lines that do not
// parse are skipped, so a damaged file costs only what it damaged.
bool load_state_file(const std::string &path, StoredState *out);

// Writes the whole state to a temporary file beside path and renames it over path, so a reader or a crash
// never sees half a file. False (with a message on stderr) on failure.
bool save_state_file(const std::string &path, const StoredState &state);

}  // namespace vcam
