#include "annexb.h"

namespace sff {

AccessUnitInfo inspectAccessUnit(const uint8_t *data, int len) {
    AccessUnitInfo info;
    forEachNal(data, len, [&](const uint8_t *nal, int) {
        if (nal[0] & 0x80) {
            ++info.malformed;
            return;
        }
        ++info.nalCount;
        int type = nal[0] & 0x1f;
        if (type >= kNalSlice && type <= kNalIdr) info.hasSlice = true;
        if (type == kNalIdr) info.hasIdr = true;
        if (type == kNalSps) info.hasSps = true;
        if (type == kNalPps) info.hasPps = true;
    });
    return info;
}

void ParamSets::collect(const uint8_t *data, int len) {
    if (!data || len <= 0) return;
    if (data[0] == 1) {
        collectAvcc(data, len);
        return;
    }
    forEachNal(data, len, [&](const uint8_t *nal, int size) { take(nal, size); });
}

// avcC: version, profile, compatibility, level, length size, then counted SPS and PPS entries,
// each behind a 16-bit big-endian size.
void ParamSets::collectAvcc(const uint8_t *data, int len) {
    int pos = 5;
    for (int table = 0; table < 2; ++table) {
        if (pos >= len) return;
        int count = table == 0 ? (data[pos] & 0x1f) : data[pos];
        ++pos;
        for (int i = 0; i < count; ++i) {
            if (pos + 2 > len) return;
            int size = (data[pos] << 8) | data[pos + 1];
            pos += 2;
            if (size <= 0 || pos + size > len) return;
            take(data + pos, size);
            pos += size;
        }
    }
}

void ParamSets::take(const uint8_t *nal, int size) {
    if (size < 2 || (nal[0] & 0x80)) return;
    int type = nal[0] & 0x1f;
    if (type == kNalSps) sps_.assign(nal, nal + size);
    if (type == kNalPps) pps_.assign(nal, nal + size);
}

std::vector<uint8_t> ParamSets::annexB() const {
    std::vector<uint8_t> out;
    appendAnnexB(out);
    return out;
}

void ParamSets::appendAnnexB(std::vector<uint8_t> &out) const {
    static const uint8_t kStart[4] = {0, 0, 0, 1};
    if (!complete()) return;
    out.insert(out.end(), kStart, kStart + 4);
    out.insert(out.end(), sps_.begin(), sps_.end());
    out.insert(out.end(), kStart, kStart + 4);
    out.insert(out.end(), pps_.begin(), pps_.end());
}

void ParamSets::clear() {
    sps_.clear();
    pps_.clear();
}

}  // namespace sff
