// Alarm blocks: validity, names of types and part kinds, the file names a stored block gets.
#pragma once

#include <cstdint>
#include <string>

#include "SarvikSDK.h"

namespace sarvik {

constexpr uint32_t kAlarmHeaderSize = SARVIK_ALARM_HEADER_SIZE;
constexpr uint32_t kAlarmMaxSize = SARVIK_ALARM_MAX_SIZE;

// True when the header describes a valid block: 512 <= total <= 16 MiB, no negative part length, and
// total = 512 + the sum of the part lengths. A negative length could balance a larger one in the sum and
// would later be read as a huge size, so it is refused outright.
bool alarm_header_valid(const AlarmDataHeader *header);

// "None", "SmokeFirePerson", else "unknown".
const char *alarm_type_name(uint32_t type);
// "none", "alg", "txt", "jpg", "mp4", else "unknown".
const char *alarm_kind_name(uint8_t kind);

// "<dir>/<type>_<sender>_YYYYMMDD_hhmmss" from the block's type, sender and event time (local time).
// A '/' in the sender becomes '_' so that a received block cannot place files outside dir; an event time
// outside the years 1601-9999 gives a date and time of zeros.
std::string alarm_base_name(const AlarmDataHeader *header, const char *dir);

// File name of part index (0-3) of a split block: "<base>.<kind>", or "<base>_<index + 1>.<kind>" when an
// earlier part of the same block has the same kind, so that no part overwrites another.
std::string alarm_part_name(const AlarmDataHeader *header, const std::string &base, int index);

}  // namespace sarvik
