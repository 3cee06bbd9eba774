// The region of each object shape and the checks an object must pass before it is measured.
#include <algorithm>

#include "mt_engine.h"
#include "mt_geometry.h"

namespace sarvik {
namespace mt {

namespace {

inline size_t index_of(const Frame &f, int x, int y) {
    return static_cast<size_t>(y) * static_cast<size_t>(f.width) + static_cast<size_t>(x);
}

inline bool inside(const MtPoint &p, int width, int height) {
    return p.x < width && p.y < height;
}

bool percent_valid(const MtObject &o) {
    return o.percent >= 50 && o.percent <= 100;
}

// The points a shape is checked on: its count, but never past the 32 the object holds.
int counted_points(const MtObject &o) {
    return std::min<int>(o.count, SARVIK_MT_MAX_POINTS);
}

bool counted_points_inside(const MtObject &o, int width, int height) {
    const int n = counted_points(o);
    for (int i = 0; i < n; ++i)
        if (!inside(o.points[i], width, height)) return false;
    return true;
}

// Rows of a region go through the span kernel; paths and per-pixel tests run on a local copy of the
// statistics so that the running values stay in registers.
void add_box(const Frame &f, int x0, int y0, int x1, int y1, Stats &s) {
    for (int y = y0; y <= y1; ++y) span_stats(f.px, nullptr, index_of(f, x0, y), index_of(f, x1, y) + 1, s);
}

void add_line(const Frame &f, const MtPoint &a, const MtPoint &b, Stats &s) {
    Stats local = s;
    for_each_line_pixel(a.x, a.y, b.x, b.y, [&](int x, int y) { stats_add(local, f.px, index_of(f, x, y)); });
    s = local;
}

// Box of a rectangle or ellipse: from (x0, y0) to (x1, y1) with the far corner cut to the frame.
bool object_box(const Frame &f, const MtObject &o, Box &b) {
    b.x0 = o.points[0].x;
    b.y0 = o.points[0].y;
    b.x1 = std::min<int>(o.points[1].x, f.width - 1);
    b.y1 = std::min<int>(o.points[1].y, f.height - 1);
    return b.x0 <= b.x1 && b.y0 <= b.y1;
}

bool measure_point(const Frame &f, const MtObject &o, Stats &s) {
    const int x = o.points[0].x, y = o.points[0].y, r = o.points[1].x;
    const int x0 = std::max(x - r, 0), y0 = std::max(y - r, 0);
    const int x1 = std::min(x + r, f.width - 1), y1 = std::min(y + r, f.height - 1);
    if (x0 > x1 || y0 > y1) return false;
    stats_begin(s, f, index_of(f, x0, y0));
    add_box(f, x0, y0, x1, y1, s);
    return true;
}

bool measure_line(const Frame &f, const MtObject &o, Stats &s) {
    if (!inside(o.points[0], f.width, f.height) || !inside(o.points[1], f.width, f.height)) return false;
    stats_begin(s, f, index_of(f, o.points[0].x, o.points[0].y));
    add_line(f, o.points[0], o.points[1], s);
    return true;
}

bool measure_rect(const Frame &f, const MtObject &o, Stats &s) {
    Box b;
    if (!object_box(f, o, b)) return false;
    stats_begin(s, f, index_of(f, b.x0, b.y0));
    add_box(f, b.x0, b.y0, b.x1, b.y1, s);
    return true;
}

// Pixels (k, i) with (2k - x0 - x1)^2 (y1 - y0)^2 + (2i - y0 - y1)^2 (x1 - x0)^2 <= (x1 - x0)^2 (y1 - y0)^2.
// Each term reaches 2^64 on the largest frames a header can describe, so the test runs in 128 bits. The
// left side grows with the distance from the centre column, so each row's pixels form one run: the exact
// test trims the row from both ends and the run goes through the span kernel.
bool measure_ellipse(const Frame &f, const MtObject &o, Stats &s) {
    Box b;
    if (!object_box(f, o, b)) return false;
    if (b.x1 - b.x0 + 1 <= 2 || b.y1 - b.y0 + 1 <= 2) {
        stats_begin(s, f, index_of(f, b.x0, b.y0));
        add_box(f, b.x0, b.y0, b.x1, b.y1, s);
        return true;
    }
    using u128 = unsigned __int128;
    const int64_t dx = b.x1 - b.x0, dy = b.y1 - b.y0;
    const u128 dx2 = static_cast<u128>(dx * dx), dy2 = static_cast<u128>(dy * dy);
    const u128 limit = dx2 * dy2;
    stats_begin(s, f, index_of(f, (b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2));
    for (int i = b.y0; i <= b.y1; ++i) {
        const int64_t ti = 2 * static_cast<int64_t>(i) - b.y0 - b.y1;
        const u128 rowTerm = static_cast<u128>(ti * ti) * dx2;
        auto member = [&](int k) {
            const int64_t tk = 2 * static_cast<int64_t>(k) - b.x0 - b.x1;
            return static_cast<u128>(tk * tk) * dy2 + rowTerm <= limit;
        };
        int left = b.x0, right = b.x1;
        while (left <= right && !member(left)) ++left;
        while (right >= left && !member(right)) --right;
        if (left <= right) span_stats(f.px, nullptr, index_of(f, left, i), index_of(f, right, i) + 1, s);
    }
    return true;
}

// Every segment is a full line, so a joint is counted once for each segment it ends.
bool measure_polyline(const Frame &f, const MtObject &o, Stats &s) {
    const int n = counted_points(o);
    if (n < 2 || !counted_points_inside(o, f.width, f.height)) return false;
    stats_begin(s, f, index_of(f, o.points[0].x, o.points[0].y));
    for (int i = 1; i < n; ++i) add_line(f, o.points[i - 1], o.points[i], s);
    return true;
}

bool measure_polygon(const Frame &f, const MtObject &o, const uint8_t *mask, Stats &s) {
    const int n = counted_points(o);
    if (n < 3 || !counted_points_inside(o, f.width, f.height)) return false;
    const Box b = points_box(o.points, n);
    stats_begin(s, f, index_of(f, o.points[0].x, o.points[0].y));
    if (mask) {
        for (int y = b.y0; y <= b.y1; ++y)
            span_stats(f.px, mask, index_of(f, b.x0, y), index_of(f, b.x1, y) + 1, s);
        return true;
    }
    Stats local = s;
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x)
            if (inside_even_odd(o.points, n, x, y)) stats_add(local, f.px, index_of(f, x, y));
    s = local;
    return true;
}

}  // namespace

Box points_box(const MtPoint *p, int count) {
    Box b{p[0].x, p[0].y, p[0].x, p[0].y};
    for (int i = 1; i < count; ++i) {
        b.x0 = std::min<int>(b.x0, p[i].x);
        b.y0 = std::min<int>(b.y0, p[i].y);
        b.x1 = std::max<int>(b.x1, p[i].x);
        b.y1 = std::max<int>(b.y1, p[i].y);
    }
    return b;
}

bool measure_object(const Frame &f, const MtObject &o, const uint8_t *polygonMask, Stats &s) {
    if (f.width <= 0 || f.height <= 0) return false;
    // Measured into a copy: s stays as it was when there is nothing to write.
    Stats region;
    bool measured = false;
    switch (o.shape) {
        case SARVIK_MT_SHAPE_POINT:
            measured = measure_point(f, o, region);
            break;
        case SARVIK_MT_SHAPE_LINE:
            measured = measure_line(f, o, region);
            break;
        case SARVIK_MT_SHAPE_RECT:
            measured = measure_rect(f, o, region);
            break;
        case SARVIK_MT_SHAPE_ELLIPSE:
            measured = measure_ellipse(f, o, region);
            break;
        case SARVIK_MT_SHAPE_POLYLINE:
            measured = measure_polyline(f, o, region);
            break;
        case SARVIK_MT_SHAPE_POLYGON:
            measured = measure_polygon(f, o, polygonMask, region);
            break;
        default:
            break;
    }
    if (measured) s = region;
    return measured;
}

bool object_valid_for_frame(const MtObject &o, int width, int height) {
    if (!percent_valid(o)) return false;
    if (o.shape == SARVIK_MT_SHAPE_POLYGON && (o.count < 3 || o.count > SARVIK_MT_MAX_POINTS)) return false;
    if (o.shape == SARVIK_MT_SHAPE_POLYLINE && (o.count < 2 || o.count > SARVIK_MT_MAX_POINTS)) return false;
    return counted_points_inside(o, width, height);
}

bool template_object_valid(const MtObject &o, int width, int height) {
    if (!percent_valid(o)) return false;
    const MtPoint &p0 = o.points[0], &p1 = o.points[1];
    switch (o.shape) {
        case SARVIK_MT_SHAPE_POINT:
            return inside(p0, width, height) && p1.x <= 3;
        case SARVIK_MT_SHAPE_RECT:
        case SARVIK_MT_SHAPE_ELLIPSE:
            return p0.x < p1.x && p1.x < width && p0.y < p1.y && p1.y < height;
        case SARVIK_MT_SHAPE_LINE:
        case SARVIK_MT_SHAPE_POLYLINE:
        case SARVIK_MT_SHAPE_POLYGON:
            if (o.count > SARVIK_MT_MAX_POINTS) return false;
            if (o.shape == SARVIK_MT_SHAPE_POLYLINE && o.count < 2) return false;
            if (o.shape == SARVIK_MT_SHAPE_POLYGON && o.count < 3) return false;
            return counted_points_inside(o, width, height);
        default:
            return false;
    }
}

}  // namespace mt
}  // namespace sarvik
