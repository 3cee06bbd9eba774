// Pixel geometry of the measurement templates: Bresenham paths and the even-odd inside test. Shared by the
// mask builder (exclusion areas, polygon masks) and by the shape measurement, so that a polygon measured
// through its mask and one measured directly cover exactly the same pixels.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "SarvikSDK.h"

namespace sarvik {
namespace mt {

// Visits every pixel of the Bresenham path from (x0, y0) to (x1, y1), both ends included, in path order.
// Ties go to the major axis only (the classic error-term form), so a horizontal-major run stays on its row
// until the error demands the step.
template <typename Visit>
inline void for_each_line_pixel(int x0, int y0, int x1, int y1, Visit &&visit) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = (dx > dy ? dx : -dy) / 2;
    for (;;) {
        visit(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = err;
        if (e2 > -dx) {
            err -= dy;
            x0 += sx;
        }
        if (e2 < dy) {
            err += dx;
            y0 += sy;
        }
    }
}

// Even-odd rule over the polygon v[0..n-1]: an edge (j, i), j the previous vertex, counts when exactly one
// of its end rows lies below row y (a larger row number) and the pixel is left of the edge. The left test
// is the crossing comparison multiplied out by (y_j - y_i), so it stays in integers; its direction flips
// with that sign. The products reach 2^32 on the largest frames a header can describe, hence 64 bits.
inline bool inside_even_odd(const MtPoint *v, int n, int x, int y) {
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const int64_t xi = v[i].x, yi = v[i].y, xj = v[j].x, yj = v[j].y;
        if ((yi > y) == (yj > y)) continue;
        const int64_t lhs = (xj - xi) * (y - yi);
        const int64_t rhs = (x - xi) * (yj - yi);
        const bool left = (yj - yi) > 0 ? rhs < lhs : rhs > lhs;
        if (left) inside = !inside;
    }
    return inside;
}

}  // namespace mt
}  // namespace sarvik
