#include "export_range.h"

#include <cerrno>
#include <cstdlib>

namespace cli {
namespace {

bool parseIndex(const std::string &s, int64_t *v) {
    if (s.empty()) return false;
    errno = 0;
    char *end = nullptr;
    const long long x = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || s.find_first_of(" \t+") != std::string::npos) return false;
    *v = x;
    return true;
}

}  // namespace

bool parseFrameRange(const std::string &text, FrameRange *range, std::string *why) {
    *range = FrameRange{};
    if (text.empty()) return true;
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        if (!parseIndex(text, &range->first)) {
            *why = "not a frame number or A:B";
            return false;
        }
        range->hasFirst = range->hasEnd = true;
        // One frame: the end follows it (-1 alone means the last frame, so its end is the file's end).
        range->end = range->first + 1;
        if (range->first == -1) range->hasEnd = false;
        return true;
    }
    const std::string a = text.substr(0, colon), b = text.substr(colon + 1);
    if (b.find(':') != std::string::npos || (!a.empty() && !parseIndex(a, &range->first)) ||
        (!b.empty() && !parseIndex(b, &range->end))) {
        *why = "expected A:B with whole numbers";
        return false;
    }
    range->hasFirst = !a.empty();
    range->hasEnd = !b.empty();
    return true;
}

bool FrameRange::resolve(int64_t count, int64_t *outFirst, int64_t *outEnd, std::string *why) const {
    int64_t a = hasFirst ? first : 0;
    int64_t b = hasEnd ? end : count;
    if (a < 0) a += count;
    if (b < 0) b += count;
    if (a < 0 || a >= count) {
        *why = "first frame outside the file's " + std::to_string(count) + " frames";
        return false;
    }
    if (b > count) b = count;
    if (b <= a) {
        *why = "no frame in the range";
        return false;
    }
    *outFirst = a;
    *outEnd = b;
    return true;
}

}  // namespace cli
