// Measurement library: hand-computed results on small frames, refusals, emissivity, slopes, lookup tables,
// and the row-run scans against a pixel-by-pixel reference on random shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "AlgMea.h"

namespace {

struct TestFrame {
    _DataFrameHeader header;
    std::vector<int16_t> v;
    TestFrame(int w, int h, std::vector<int16_t> values, uint16_t slope = 1, int16_t offset = 0)
        : v(std::move(values)) {
        std::memset(&header, 0, sizeof header);
        header.width = static_cast<uint16_t>(w);
        header.height = static_cast<uint16_t>(h);
        header.slope = slope;
        header.offset = offset;
        if (v.empty()) v.push_back(0);  // a valid pointer even for frames of no pixels
    }
};

// v = x + 10 y, so every 3 x 3 mean inside equals its centre.
TestFrame linear(int w, int h) {
    std::vector<int16_t> v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v.push_back(static_cast<int16_t>(x + 10 * y));
    return TestFrame(w, h, v);
}

const TestFrame kA(5, 4, {10, 20, 30, 40, 50,  //
                          15, 90, 25, 35, 45,  //
                          60, 12, 70, 14, 16,  //
                          11, 13, 17, 19, 99});

XMea mea(int type, std::initializer_list<std::pair<int, int>> pts, int count = -1) {
    XMea m;
    std::memset(&m, 0, sizeof m);
    m.type = static_cast<uint8_t>(type);
    int i = 0;
    for (const auto &p : pts)
        m.points[i++] = XMeaPoint{static_cast<uint16_t>(p.first), static_cast<uint16_t>(p.second)};
    m.count = static_cast<uint16_t>(count < 0 ? i : count);
    return m;
}

XResult sentinel() {
    XResult r;
    std::memset(&r, 0xAB, sizeof r);
    return r;
}

struct Expect {
    float max, avg, min;
    int maxX, maxY, minX, minY;
};

struct Case {
    const char *what;
    TestFrame frame;
    XMea m;
    Expect e;
};

TEST(AlgMeaShapes, HandComputedResults) {
    const TestFrame ties(4, 3, {5, 99, 5, 5, 5, 5, 5, 99, 1, 5, 5, 1});
    const TestFrame negative(3, 3, {-2, -2, -2, -2, 5, -2, -2, -2, -2});
    const Case cases[] = {
        {"global: border extremes, mean 691/20", kA, mea(0, {}), {99, 34, 10, 4, 3, 0, 0}},
        {"global: ties keep the first in scan order", ties, mea(0, {}), {99, 20, 1, 1, 0, 0, 2}},
        {"global: 3x3 mean truncates toward zero", negative, mea(0, {}), {-1, -1, -2, 1, 1, 0, 0}},
        {"point 1x1", kA, mea(1, {{2, 2}}), {70, 70, 70, 2, 2, 2, 2}},
        {"point with cross", kA, mea(3, {{4, 3}}), {99, 99, 99, 4, 3, 4, 3}},
        {"point 3x3 cut at the corner", kA, mea(2, {{0, 0}}), {33, 33, 33, 1, 1, 0, 0}},
        {"point 3x3 inside", kA, mea(2, {{2, 2}}), {32, 32, 32, 1, 1, 1, 2}},
        {"rectangle: inside extremes take their 3x3 means",
         kA,
         mea(9, {{1, 1}, {3, 2}}),
         {36, 41, 34, 1, 1, 1, 2}},
        {"square takes its height from its width", kA, mea(10, {{3, 2}, {4, 0}}), {99, 37, 37, 4, 3, 3, 2}},
        {"polyline joint counted twice", kA, mea(5, {{0, 0}, {2, 0}, {2, 2}}), {32, 30, 10, 2, 2, 0, 0}},
        {"line diagonal", kA, mea(4, {{0, 0}, {3, 3}}), {36, 47, 10, 1, 1, 0, 0}},
        {"line shallow", kA, mea(4, {{0, 0}, {4, 1}}), {45, 28, 10, 4, 1, 0, 0}},
        {"line shallow backwards", kA, mea(4, {{4, 1}, {0, 0}}), {45, 27, 10, 4, 1, 0, 0}},
        {"line steep", kA, mea(4, {{0, 0}, {1, 3}}), {15, 12, 10, 0, 1, 0, 0}},
        {"ellipse 5x3", linear(7, 5), mea(6, {{0, 0}, {4, 2}}), {22, 12, 2, 2, 2, 2, 0}},
        {"circle 3x3", linear(7, 5), mea(7, {{0, 0}, {2, 4}}), {21, 11, 1, 1, 2, 1, 0}},
        {"ellipse 2x2 holds no pixel: the centre",
         linear(7, 5),
         mea(6, {{1, 1}, {2, 2}}),
         {11, 11, 11, 1, 1, 1, 1}},
        {"circle cut by the bottom edge, empty: the centre",
         linear(7, 5),
         mea(7, {{3, 3}, {6, 0}}),
         {34, 34, 34, 4, 3, 4, 3}},
        {"polygon triangle by the even-odd rule",
         linear(6, 6),
         mea(11, {{0, 0}, {4, 0}, {0, 4}}),
         {30, 11, 0, 0, 3, 0, 0}},
        {"polygon with nothing inside: the first point",
         linear(6, 6),
         mea(11, {{1, 2}, {3, 2}, {5, 2}}),
         {21, 21, 21, 1, 2, 1, 2}},
        {"polygon count read from its low byte",
         linear(6, 6),
         mea(11, {{0, 0}, {4, 0}, {0, 4}}, 0x0103),
         {30, 11, 0, 0, 3, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XResult r = sentinel();
        ASSERT_EQ(0, Alg_GetResult(&c.m, &c.frame.header, c.frame.v.data(), &r));
        EXPECT_EQ(0u, r.reserved_0);
        EXPECT_FLOAT_EQ(c.e.max, r.maxTemp);
        EXPECT_FLOAT_EQ(c.e.avg, r.avgTemp);
        EXPECT_FLOAT_EQ(c.e.min, r.minTemp);
        EXPECT_EQ(c.e.maxX, r.maxX);
        EXPECT_EQ(c.e.maxY, r.maxY);
        EXPECT_EQ(c.e.minX, r.minX);
        EXPECT_EQ(c.e.minY, r.minY);
    }
}

TEST(AlgMeaShapes, RefusedOrEmptyObjectsLeaveTheResultUntouched) {
    const TestFrame empty(0, 4, {}), flat(4, 0, {});
    const struct {
        const char *what;
        const TestFrame &frame;
        XMea m;
        int status;
    } cases[] = {
        {"rectangle corner beyond the frame", kA, mea(9, {{1, 1}, {5, 2}}), -8},
        {"rectangle corner below the frame", kA, mea(9, {{1, 1}, {2, 4}}), -8},
        {"rectangle second corner left of the first", kA, mea(9, {{3, 1}, {1, 2}}), 0},
        {"ellipse second corner above the first", kA, mea(6, {{1, 2}, {3, 1}}), 0},
        {"square drawn leftwards", kA, mea(10, {{3, 1}, {1, 3}}), 0},
        {"polygon of 2 points", kA, mea(11, {{0, 0}, {2, 2}}), -8},
        {"polyline of 1 point", kA, mea(5, {{0, 0}}), -8},
        {"polyline of 33 points", kA, mea(5, {{0, 0}, {1, 1}}, 33), -8},
        {"polygon of 33 points", kA, mea(11, {{0, 0}, {1, 1}, {2, 0}}, 33), -8},
        {"polyline point outside", kA, mea(5, {{0, 0}, {1, 1}, {0, 4}}), -8},
        {"point outside", kA, mea(1, {{5, 0}}), -8},
        {"custom type", kA, mea(8, {{0, 0}}), -8},
        {"type 12", kA, mea(12, {{0, 0}}), -8},
        {"type 255", kA, mea(255, {{0, 0}}), -8},
        {"global on a frame of no columns", empty, mea(0, {}), -8},
        {"global on a frame of no rows", flat, mea(0, {}), -8},
        {"point on a frame of no rows", flat, mea(1, {{0, 0}}), -8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        XResult r = sentinel();
        const XResult before = r;
        EXPECT_EQ(c.status, Alg_GetResult(&c.m, &c.frame.header, c.frame.v.data(), &r));
        EXPECT_EQ(0, std::memcmp(&before, &r, sizeof r));
        if (c.m.type != 0) {
            EXPECT_EQ(c.status, Alg_CheckMea(&c.m, c.frame.header.width, c.frame.header.height));
        }
    }
    XResult r = sentinel();
    const XMea point = mea(1, {{0, 0}});
    EXPECT_EQ(-8, Alg_GetResult(&point, nullptr, kA.v.data(), &r));
    EXPECT_EQ(-8, Alg_GetResult(&point, &kA.header, nullptr, &r));
    EXPECT_EQ(-8, Alg_GetResult(&point, &kA.header, kA.v.data(), nullptr));
    EXPECT_EQ(-8, Alg_CheckMea(nullptr, 5, 4));
    EXPECT_EQ(0, Alg_GetResult(nullptr, &kA.header, kA.v.data(), &r));  // null object: whole frame
    EXPECT_FLOAT_EQ(99, r.maxTemp);
}

TEST(AlgMeaConvert, SlopeOffsetAndEmissivity) {
    const TestFrame scaled(3, 1, {650, 650, 650}, 10, -40);
    const TestFrame noSlope(3, 1, {7, 7, 7}, 0, 3);
    const struct {
        const char *what;
        const TestFrame &frame;
        int type;
        uint32_t enable;
        float emi, reflect;
        float expect;
    } cases[] = {
        {"slope 10 offset -40: 650 is 25", scaled, 1, 0, 0.5f, 20, 25.0f},
        {"same through the rectangle", scaled, 9, 0, 0.5f, 20, 25.0f},
        {"slope 0 counts as 1 for a point", noSlope, 1, 0, 1, 0, 10.0f},
        {"slope 0 counts as 1 for a rectangle", noSlope, 9, 0, 1, 0, 10.0f},
        {"slope 0 counts as 1 for a 3x3 point", noSlope, 2, 0, 1, 0, 10.0f},
        {"emissivity 1.0 changes nothing", scaled, 9, 1, 1.0f, 80, 25.0f},
        {"emissivity 0.01 is out of range", scaled, 9, 1, 0.01f, 80, 25.0f},
        {"emissivity 1.2 is out of range", scaled, 1, 1, 1.2f, 80, 25.0f},
        {"emissivity 0 is out of range", scaled, 9, 1, 0.0f, 80, 25.0f},
        {"correction off", scaled, 9, 0, 0.5f, 20, 25.0f},
        {"emissivity just above 0.01 applies", scaled, 9, 1, 0.0101f, 20,
         static_cast<float>((25.0 - (1.0 - static_cast<double>(0.0101f)) * 20.0) /
                            static_cast<double>(0.0101f))},
        {"emissivity 0.5, reflected 20: (25 - 10) / 0.5", scaled, 9, 1, 0.5f, 20, 30.0f},
        {"point corrected too", scaled, 1, 1, 0.5f, 20, 30.0f},
        {"3x3 point corrected too", scaled, 2, 1, 0.5f, 20, 30.0f},
        {"whole frame is never corrected", scaled, 0, 1, 0.5f, 20, 25.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        XMea m = c.type == 9 ? mea(9, {{0, 0}, {2, 0}}) : mea(c.type, {{1, 0}});
        m.fixEnable = c.enable;
        m.fixEmi = c.emi;
        m.fixReflectTemp = c.reflect;
        XResult r = sentinel();
        ASSERT_EQ(0, Alg_GetResult(&m, &c.frame.header, c.frame.v.data(), &r));
        EXPECT_FLOAT_EQ(c.expect, r.maxTemp);
        EXPECT_FLOAT_EQ(c.expect, r.avgTemp);
        EXPECT_FLOAT_EQ(c.expect, r.minTemp);
    }
}

TEST(AlgMeaLut, BuiltOncePerSlopeAndOffsetAndFreed) {
    Alg_Free();
    EXPECT_EQ(nullptr, Alg_GetLut(10, -40));
    ASSERT_EQ(0, Alg_Init());
    ASSERT_EQ(0, Alg_Init());
    const double *lut = Alg_GetLut(10, -40);
    ASSERT_NE(nullptr, lut);
    const struct {
        uint16_t slope;
        int16_t offset;
        int raw;
        double temp;
    } cases[] = {
        {10, -40, 650, 25.0},
        {10, -40, 0, -40.0},
        {10, -40, -32768, -3316.8},
        {10, -40, 32767, 3236.7},
        {0, 3, 7, 10.0},
        {0, 3, -32768, -32765.0},
        {1, -32768, 100, -32668.0},
        {65535, 32767, 65535 / 2, 32767.5 - 0.5 / 65535},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.slope) + "/" + std::to_string(c.offset) + " raw " +
                     std::to_string(c.raw));
        const double *t = Alg_GetLut(c.slope, c.offset);
        ASSERT_NE(nullptr, t);
        EXPECT_NEAR(c.temp, t[c.raw], 1e-9);
    }
    EXPECT_EQ(lut, Alg_GetLut(10, -40));  // cached, not rebuilt
    EXPECT_NE(lut, Alg_GetLut(10, -39));
    EXPECT_NE(lut, Alg_GetLut(11, -40));
    EXPECT_NE(Alg_GetLut(0, 3), Alg_GetLut(1, 3));
    Alg_Free();
    EXPECT_EQ(nullptr, Alg_GetLut(10, -40));
    ASSERT_EQ(0, Alg_Init());  // other tests of this program expect the library ready
}

// Runs are scanned several values a step: a lone hottest and coldest pixel must be found, first occurrence
// kept, wherever they sit in a run of any length.
TEST(AlgMeaShapes, ExtremesFoundAtEveryPlaceOfARun) {
    const int W = 40;
    int checked = 0;
    for (int a = 0; a < 4; ++a)
        for (int b = a; b < W; ++b)
            for (int p = a; p <= b; ++p) {
                std::vector<int16_t> v(W, 7);
                const int q = b - (p - a);
                v[static_cast<size_t>(q)] = -100;
                v[static_cast<size_t>(p)] = 100;                      // replaces the cold pixel when p == q
                if (p + 1 <= b) v[static_cast<size_t>(p + 1)] = 100;  // a later tie never moves it
                int low = a;                                          // first coldest pixel of the run
                for (int x = a; x <= b; ++x)
                    if (v[static_cast<size_t>(x)] < v[static_cast<size_t>(low)]) low = x;
                const TestFrame f(W, 1, v);
                const XMea m = mea(9, {{a, 0}, {b, 0}});
                SCOPED_TRACE("run " + std::to_string(a) + ".." + std::to_string(b) + " hot " +
                             std::to_string(p));
                XResult r = sentinel();
                ASSERT_EQ(0, Alg_GetResult(&m, &f.header, f.v.data(), &r));
                EXPECT_EQ(p, r.maxX);
                EXPECT_FLOAT_EQ(100, r.maxTemp);
                EXPECT_EQ(low, r.minX);
                EXPECT_FLOAT_EQ(v[static_cast<size_t>(low)], r.minTemp);
                ++checked;
            }
    EXPECT_GT(checked, 1000);
}

// The shapes written out pixel by pixel, exactly as the measurement rules state them.
bool referenceResult(const XMea &m, const TestFrame &f, XResult &r) {
    const int W = f.header.width, H = f.header.height;
    auto at = [&](int x, int y) { return static_cast<int>(f.v[static_cast<size_t>(y * W + x)]); };
    int maxV = 0, minV = 0, maxX = 0, maxY = 0, minX = 0, minY = 0, fallback = 0;
    int64_t sum = 0, n = 0;
    auto start = [&](int x, int y) {
        maxV = minV = fallback = at(x, y);
        maxX = minX = x;
        maxY = minY = y;
    };
    auto take = [&](int x, int y) {
        const int v = at(x, y);
        if (v > maxV)
            maxV = v, maxX = x, maxY = y;
        else if (v < minV)
            minV = v, minX = x, minY = y;
        sum += v;
        ++n;
    };
    const XMeaPoint *p = m.points;
    const int count = m.count & 0xFF;
    if (m.type == 4 || m.type == 5) {
        start(p[0].x, p[0].y);
        for (int k = 0; k + 1 < count; ++k) {
            int x = p[k].x, y = p[k].y;
            const int dx = std::abs(p[k + 1].x - x), sx = x < p[k + 1].x ? 1 : -1;
            const int dy = std::abs(p[k + 1].y - y), sy = y < p[k + 1].y ? 1 : -1;
            int err = dx > dy ? dx / 2 : -(dy / 2);
            for (take(x, y); x != p[k + 1].x || y != p[k + 1].y; take(x, y)) {
                const int e = err;
                if (e > -dx) err -= dy, x += sx;
                if (e < dy) err += dx, y += sy;
            }
        }
    } else if (m.type == 11) {
        int x0 = W, y0 = H, x1 = 0, y1 = 0;
        for (int k = 0; k < count; ++k)
            x0 = std::min<int>(x0, p[k].x), y0 = std::min<int>(y0, p[k].y), x1 = std::max<int>(x1, p[k].x),
            y1 = std::max<int>(y1, p[k].y);
        start(p[0].x, p[0].y);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                bool inside = false;
                for (int k = 0, q = count - 1; k < count; q = k++) {
                    const int64_t xk = p[k].x, yk = p[k].y, xq = p[q].x, yq = p[q].y, d = yq - yk;
                    if ((y < yk) == (y < yq)) continue;
                    if (d > 0 ? (x - xk) * d < (y - yk) * (xq - xk) : (x - xk) * d > (y - yk) * (xq - xk))
                        inside = !inside;
                }
                if (inside) take(x, y);
            }
    } else {
        int x0 = p[0].x, y0 = p[0].y, x1 = p[1].x;
        int y1 = (m.type == 7 || m.type == 10) ? y0 + (x1 - x0) : p[1].y;
        if (m.type == 2) x0 = std::max(x0 - 1, 0), y0 = std::max(y0 - 1, 0), x1 = p[0].x + 1, y1 = p[0].y + 1;
        x1 = std::min(x1, W - 1), y1 = std::min(y1, H - 1);
        if (x1 < x0 || y1 < y0) return false;
        const bool ellipse = m.type == 6 || m.type == 7;
        ellipse ? start((x0 + x1) / 2, (y0 + y1) / 2) : start(x0, y0);
        const int64_t a = x1 - x0, b = y1 - y0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const int64_t u = 2 * x - x0 - x1, w = 2 * y - y0 - y1;
                if (!ellipse || u * u * b * b + w * w * a * a <= a * a * b * b) take(x, y);
            }
    }
    auto mean3 = [&](int x, int y) {
        if (!(0 < x && x < W - 1 && 0 < y && y < H - 1)) return at(x, y);
        int s = 0;
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) s += at(x + i, y + j);
        return s / 9;
    };
    const int avg = static_cast<int>(n ? sum / n : fallback);
    const float s = f.header.slope, o = f.header.offset;
    r.reserved_0 = 0;
    r.avgTemp = static_cast<float>(avg / static_cast<double>(s) + o);
    r.maxTemp = m.type == 2 ? r.avgTemp : static_cast<float>(mean3(maxX, maxY) / static_cast<double>(s) + o);
    r.minTemp = m.type == 2 ? r.avgTemp : static_cast<float>(mean3(minX, minY) / static_cast<double>(s) + o);
    r.maxX = static_cast<uint16_t>(maxX), r.maxY = static_cast<uint16_t>(maxY);
    r.minX = static_cast<uint16_t>(minX), r.minY = static_cast<uint16_t>(minY);
    return true;
}

TEST(AlgMeaShapes, RandomShapesMatchThePixelByPixelRules) {
    std::mt19937 rng(20261208);
    const int types[] = {2, 4, 5, 6, 7, 9, 10, 11};
    int measured = 0;
    for (int iter = 0; iter < 3000; ++iter) {
        const int W = 1 + static_cast<int>(rng() % 24), H = 1 + static_cast<int>(rng() % 20);
        std::vector<int16_t> v(static_cast<size_t>(W * H));
        const int spread = iter % 2 ? 4 : 30000;  // small spreads make ties common
        for (auto &x : v) x = static_cast<int16_t>(static_cast<int>(rng() % (2 * spread + 1)) - spread);
        const TestFrame f(W, H, v, static_cast<uint16_t>(1 + rng() % 100),
                          static_cast<int16_t>(rng() % 200) - 100);
        XMea m;
        std::memset(&m, 0, sizeof m);
        m.type = static_cast<uint8_t>(types[rng() % 8]);
        m.count = static_cast<uint16_t>(m.type == 11                 ? 3 + rng() % 8
                                        : m.type >= 4 && m.type <= 5 ? 2 + rng() % 8
                                                                     : 2);
        for (auto &pt : m.points)
            pt = XMeaPoint{static_cast<uint16_t>(rng() % W), static_cast<uint16_t>(rng() % H)};
        SCOPED_TRACE("iteration " + std::to_string(iter) + " type " + std::to_string(m.type));
        XResult got = sentinel(), want = sentinel();
        const bool filled = referenceResult(m, f, want);
        ASSERT_EQ(0, Alg_GetResult(&m, &f.header, f.v.data(), &got));
        ASSERT_EQ(0, std::memcmp(&want, &got, sizeof got))
            << "max " << got.maxTemp << "/" << want.maxTemp << " avg " << got.avgTemp << "/" << want.avgTemp
            << " min " << got.minTemp << "/" << want.minTemp << " at " << got.maxX << "," << got.maxY << " / "
            << want.maxX << "," << want.maxY;
        measured += filled;
    }
    EXPECT_GT(measured, 2000);  // most random boxes are not empty
}

}  // namespace
