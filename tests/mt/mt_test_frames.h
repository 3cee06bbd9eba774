// Small frames and objects for the measurement tests, built through the public header only.
#pragma once

#include <cstring>
#include <initializer_list>
#include <vector>

#include "SarvikSDK.h"

namespace mttest {

struct TestFrame {
    _DataFrameHeader header;
    std::vector<int16_t> px;

    TestFrame(int w, int h, int16_t fill = 0, uint16_t slope = 1, int16_t offset = 0)
        : px(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {
        std::memset(&header, 0, sizeof header);
        header.width = static_cast<uint16_t>(w);
        header.height = static_cast<uint16_t>(h);
        header.slope = slope;
        header.offset = offset;
        header.dataKind = SARVIK_DATA_KIND_TEMPERATURE;
    }
    int16_t &at(int x, int y) { return px[static_cast<size_t>(y) * header.width + static_cast<size_t>(x)]; }
    const int16_t *data() const { return px.data(); }
};

// An object of the given shape with its points; count defaults to the number of points given.
inline MtObject object(uint8_t shape, std::initializer_list<MtPoint> points, int count = -1) {
    MtObject o;
    std::memset(&o, 0, sizeof o);
    o.shape = shape;
    o.percent = 100;
    int i = 0;
    for (const MtPoint &p : points) o.points[i++] = p;
    o.count = static_cast<uint8_t>(count < 0 ? i : count);
    return o;
}

inline MtObject point_object(uint16_t x, uint16_t y, uint16_t r) {
    return object(SARVIK_MT_SHAPE_POINT, {{x, y}, {r, 0}}, 0);
}

// A result filled with a pattern no measurement produces, to see what a call leaves untouched.
inline MtResult untouched() {
    MtResult r;
    std::memset(&r, 0x5A, sizeof r);
    return r;
}

inline bool same(const MtResult &a, const MtResult &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline MtTemplate empty_template(int w, int h) {
    MtTemplate t;
    std::memset(&t, 0, sizeof t);
    t.version = SARVIK_MT_VERSION;
    t.width = static_cast<uint16_t>(w);
    t.height = static_cast<uint16_t>(h);
    return t;
}

}  // namespace mttest
