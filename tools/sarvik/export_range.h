// --frames of sarvik export: "A:B" half-open (frames A .. B-1), "A:" and ":B" open on one side, "N" one
// frame; negative numbers count from the end as in Python ("-10:" the last ten).
#pragma once

#include <cstdint>
#include <string>

namespace cli {

struct FrameRange {
    bool hasFirst = false, hasEnd = false;
    int64_t first = 0, end = 0;
    // Resolves against a file of count frames: false with the reason when the range is empty or
    // outside the file.
    bool resolve(int64_t count, int64_t *outFirst, int64_t *outEnd, std::string *why) const;
};

// Empty text: every frame. False with the reason for anything malformed.
bool parseFrameRange(const std::string &text, FrameRange *range, std::string *why);

}  // namespace cli
