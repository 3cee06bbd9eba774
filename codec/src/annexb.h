// Annex-B byte streams: NAL unit walking, key-frame detection and parameter-set collection.
#pragma once

#include <cstdint>
#include <vector>

namespace sff {

enum : int { kNalSlice = 1, kNalIdr = 5, kNalSei = 6, kNalSps = 7, kNalPps = 8 };

// Calls fn(nal, size) for every NAL unit behind a 3- or 4-byte start code, the NAL header byte
// first. Bytes before the first start code are not a NAL unit and are skipped.
template <typename Fn>
void forEachNal(const uint8_t *data, int len, Fn fn) {
    int i = 0, start = -1;
    while (i + 2 < len) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            if (start >= 0) {
                int end = i;
                while (end > start && data[end - 1] == 0) --end;  // trailing zeros of a 4-byte code
                if (end > start) fn(data + start, end - start);
            }
            i += 3;
            start = i;
        } else {
            ++i;
        }
    }
    if (start >= 0 && start < len) fn(data + start, len - start);
}

struct AccessUnitInfo {
    int nalCount = 0;       // well-formed NAL units (forbidden bit clear)
    int malformed = 0;      // NAL units with the forbidden bit set
    bool hasSlice = false;  // coded picture data (types 1 to 5)
    bool hasIdr = false;
    bool hasSps = false;
    bool hasPps = false;
};

AccessUnitInfo inspectAccessUnit(const uint8_t *data, int len);

// The latest SPS and PPS seen, to build a container's codec configuration from.
class ParamSets {
public:
    // Takes SPS/PPS from an Annex-B buffer, or from an avcC record (first byte 1).
    void collect(const uint8_t *data, int len);
    bool complete() const { return !sps_.empty() && !pps_.empty(); }
    // SPS and PPS with 4-byte start codes, the form decoders and muxers take as extradata.
    std::vector<uint8_t> annexB() const;
    void appendAnnexB(std::vector<uint8_t> &out) const;
    void clear();

private:
    void collectAvcc(const uint8_t *data, int len);
    void take(const uint8_t *nal, int size);
    std::vector<uint8_t> sps_, pps_;
};

}  // namespace sff
