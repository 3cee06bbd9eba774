// The camera's records and clock, as a real camera keeps them.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "vcam_options.h"

namespace vcam {

// One configuration record reachable by a get request and a set request on the command channel.
struct RecordSlot {
    uint16_t getType;
    uint16_t setType;  // 0: read-only
    std::vector<uint8_t> bytes;
};

class CameraState {
public:
    explicit CameraState(const Options &opt);

    // The record answered to a get request, or null when the type is not a record get.
    bool get_record(uint16_t getType, std::vector<uint8_t> *out) const;
    // Stores a record for a set request; false when the type is unknown or the length wrong.
    bool set_record(uint16_t setType, const uint8_t *data, size_t len);
    bool is_set_type(uint16_t type) const;

    // Camera clock as UTC broken down into year, month, day, hour, minute, second.
    void clock_read(int32_t words[6]) const;
    void clock_set(const int32_t words[6]);

private:
    RecordSlot *find_get(uint16_t type);
    const RecordSlot *find_get(uint16_t type) const;
    RecordSlot *find_set(uint16_t type);

    mutable std::mutex mutex_;
    std::vector<RecordSlot> records_;
    int64_t clockOffsetS_ = 0;  // camera time minus host time
};

}  // namespace vcam
