// Measurement of one object on one frame. Every shape is reduced to runs of pixels within rows (or a
// Bresenham walk for lines) so the inner loops work on raw 16-bit values only; the three final figures are
// converted to temperatures at the end.
#include "AlgMea.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kStatusBadArg = -8;
constexpr int kStatusNoMemory = -5;
constexpr int kLutSize = 65536;
constexpr int kLutZero = 32768;

// Scratch of the polygon scan: the x from which each crossing edge stops counting, for one row.
struct AlgWork {
    int64_t threshold[MEA_POINT_MAX];
};

struct AlgContext {
    bool initialised = false;
    AlgWork *work = nullptr;
    std::unordered_map<uint32_t, std::unique_ptr<double[]>> luts;
};

AlgContext g_alg;

// Raw maximum and minimum with the position of their first occurrence, and the sum of the pixels taken.
struct Acc {
    int maxV = 0, minV = 0;
    int maxX = 0, maxY = 0, minX = 0, minY = 0;
    int64_t sum = 0;
    int64_t count = 0;

    void start(int v, int x, int y) {
        maxV = minV = v;
        maxX = minX = x;
        maxY = minY = y;
    }

    void take(int v, int x, int y) {
        if (v > maxV) {
            maxV = v;
            maxX = x;
            maxY = y;
        } else if (v < minV) {
            minV = v;
            minX = x;
            minY = y;
        }
        sum += v;
        ++count;
    }

    // Pixels x0 ... x1 of row y. A first pass takes maximum, minimum and sum; the rare span holding a new
    // maximum or minimum is searched again for its first occurrence, which keeps the first-wins rule.
    void span(const int16_t *row, int x0, int x1, int y) {
        int smax = row[x0], smin = row[x0];
        int32_t ssum = 0;  // a row holds at most 65535 values, whose sum fits 32 bits
        int x = x0;
#if defined(__SSE2__)
        // Eight values a step (every x86-64 has SSE2); integer lanes give the same figures as the loop below.
        if (x1 - x0 + 1 >= 8) {
            __m128i vmax = _mm_set1_epi16(row[x0]), vmin = vmax, vsum = _mm_setzero_si128();
            const __m128i ones = _mm_set1_epi16(1);
            for (; x + 7 <= x1; x += 8) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + x));
                vmax = _mm_max_epi16(vmax, v);
                vmin = _mm_min_epi16(vmin, v);
                vsum = _mm_add_epi32(vsum, _mm_madd_epi16(v, ones));
            }
            alignas(16) int16_t lmax[8], lmin[8];
            alignas(16) int32_t lsum[4];
            _mm_store_si128(reinterpret_cast<__m128i *>(lmax), vmax);
            _mm_store_si128(reinterpret_cast<__m128i *>(lmin), vmin);
            _mm_store_si128(reinterpret_cast<__m128i *>(lsum), vsum);
            for (int j = 0; j < 8; ++j) {
                smax = lmax[j] > smax ? lmax[j] : smax;
                smin = lmin[j] < smin ? lmin[j] : smin;
            }
            ssum = lsum[0] + lsum[1] + lsum[2] + lsum[3];
        }
#endif
        for (; x <= x1; ++x) {
            const int v = row[x];
            smax = v > smax ? v : smax;
            smin = v < smin ? v : smin;
            ssum += v;
        }
        if (smax > maxV) {
            int at = x0;
            while (row[at] != smax) ++at;
            maxV = smax;
            maxX = at;
            maxY = y;
        }
        if (smin < minV) {
            int at = x0;
            while (row[at] != smin) ++at;
            minV = smin;
            minX = at;
            minY = y;
        }
        sum += ssum;
        count += x1 - x0 + 1;
    }
};

struct Frame {
    const int16_t *v;
    int w, h;
    int at(int x, int y) const { return v[static_cast<size_t>(y) * static_cast<size_t>(w) + x]; }
    const int16_t *row(int y) const { return v + static_cast<size_t>(y) * static_cast<size_t>(w); }
};

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int64_t ceilDiv(int64_t a, int64_t b) {
    return -floorDiv(-a, b);
}

int64_t isqrt(int64_t q) {
    int64_t s = static_cast<int64_t>(std::sqrt(static_cast<double>(q)));
    while (s > 0 && s * s > q) --s;
    while ((s + 1) * (s + 1) <= q) ++s;
    return s;
}

// Box x0 ... x1, y0 ... y1, already inside the frame; false when empty.
bool scanRect(const Frame &f, int x0, int y0, int x1, int y1, Acc &acc) {
    if (x1 < x0 || y1 < y0) return false;
    acc.start(f.at(x0, y0), x0, y0);
    for (int y = y0; y <= y1; ++y) acc.span(f.row(y), x0, x1, y);
    return true;
}

// Pixels (x, y) of the box with (2x - x0 - x1)^2 ry^2 + (2y - y0 - y1)^2 rx^2 <= rx^2 ry^2. Each row's inside
// pixels form one run |2x - cx| <= s, with s the integer square root of the row's bound.
bool scanEllipse(const Frame &f, int x0, int y0, int x1, int y1, Acc &acc) {
    if (x1 < x0 || y1 < y0) return false;
    const int64_t rx = x1 - x0, ry = y1 - y0;
    const int64_t cx = x0 + x1, cy = y0 + y1;
    const int64_t rx2 = rx * rx, ry2 = ry * ry, bound = rx2 * ry2;
    const int centreX = static_cast<int>(cx / 2), centreY = static_cast<int>(cy / 2);
    acc.start(f.at(centreX, centreY), centreX, centreY);
    for (int y = y0; y <= y1; ++y) {
        const int64_t dy = 2 * y - cy;
        const int64_t rest = bound - dy * dy * rx2;
        if (rest < 0) continue;
        int64_t lo = x0, hi = x1;
        if (ry2 != 0) {
            const int64_t s = isqrt(rest / ry2);
            lo = ceilDiv(cx - s, 2);
            hi = floorDiv(cx + s, 2);
            if (lo < x0) lo = x0;
            if (hi > x1) hi = x1;
        }
        if (lo <= hi) acc.span(f.row(y), static_cast<int>(lo), static_cast<int>(hi), y);
    }
    if (acc.count == 0) acc.sum = acc.maxV;  // the mean falls back to the centre value
    return true;
}

// Even-odd rule over the bounding box. For one row, an edge crossing it counts for every x below a threshold,
// so the inside pixels are the runs between the sorted thresholds taken in pairs.
void scanPolygon(const Frame &f, const XMeaPoint *pts, int n, AlgWork &work, Acc &acc) {
    int bx0 = pts[0].x, bx1 = pts[0].x, by0 = pts[0].y, by1 = pts[0].y;
    for (int k = 1; k < n; ++k) {
        if (pts[k].x < bx0) bx0 = pts[k].x;
        if (pts[k].x > bx1) bx1 = pts[k].x;
        if (pts[k].y < by0) by0 = pts[k].y;
        if (pts[k].y > by1) by1 = pts[k].y;
    }
    acc.start(f.at(pts[0].x, pts[0].y), pts[0].x, pts[0].y);
    int64_t *t = work.threshold;
    for (int y = by0; y <= by1; ++y) {
        int m = 0;
        for (int k = 0, p = n - 1; k < n; p = k++) {
            const int64_t xk = pts[k].x, yk = pts[k].y, xp = pts[p].x, yp = pts[p].y;
            if ((y < yk) == (y < yp)) continue;
            // (x - xk) d < (y - yk)(xp - xk) for d > 0, the reverse for d < 0: x < ceil(num / |d|).
            const int64_t d = yp - yk;
            const int64_t cross = (y - yk) * (xp - xk);
            const int64_t tx = d > 0 ? ceilDiv(xk * d + cross, d) : ceilDiv(xk * -d - cross, -d);
            int j = m++;
            while (j > 0 && t[j - 1] > tx) {
                t[j] = t[j - 1];
                --j;
            }
            t[j] = tx;
        }
        for (int i = 0; i + 1 < m; i += 2) {
            const int64_t lo = t[i] < bx0 ? bx0 : t[i];
            const int64_t hi = t[i + 1] - 1 > bx1 ? bx1 : t[i + 1] - 1;
            if (lo <= hi) acc.span(f.row(y), static_cast<int>(lo), static_cast<int>(hi), y);
        }
    }
    if (acc.count == 0) acc.sum = f.at(pts[0].x, pts[0].y);
}

// Every segment walked with Bresenham's algorithm, both ends visited, so a joint counts twice.
void scanPolyline(const Frame &f, const XMeaPoint *pts, int n, Acc &acc) {
    acc.start(f.at(pts[0].x, pts[0].y), pts[0].x, pts[0].y);
    for (int k = 0; k + 1 < n; ++k) {
        int x = pts[k].x, y = pts[k].y;
        const int xe = pts[k + 1].x, ye = pts[k + 1].y;
        const int dx = std::abs(xe - x), sx = x < xe ? 1 : -1;
        const int dy = std::abs(ye - y), sy = y < ye ? 1 : -1;
        int err = dx > dy ? dx / 2 : -(dy / 2);
        for (;;) {
            acc.take(f.at(x, y), x, y);
            if (x == xe && y == ye) break;
            const int e = err;
            if (e > -dx) {
                err -= dy;
                x += sx;
            }
            if (e < dy) {
                err += dx;
                y += sy;
            }
        }
    }
}

// Raw figure at a position: the pixel on the frame border, the truncated 3 x 3 mean inside.
int rawAt(const Frame &f, int x, int y) {
    if (x <= 0 || y <= 0 || x >= f.w - 1 || y >= f.h - 1) return f.at(x, y);
    int sum = 0;
    for (int j = y - 1; j <= y + 1; ++j)
        for (int i = x - 1; i <= x + 1; ++i) sum += f.at(i, j);
    return sum / 9;
}

// A slope of 0 counts as 1 here as in the lookup tables, so every shape converts one frame alike.
float toTemp(int64_t raw, const _DataFrameHeader &h) {
    const double s = h.slope != 0 ? h.slope : 1.0;
    return static_cast<float>(static_cast<double>(raw) / s + h.offset);
}

void finish(const Frame &f, const _DataFrameHeader &h, const Acc &acc, bool meanOnly, XResult &r) {
    const int64_t mean = acc.count > 0 ? acc.sum / acc.count : acc.sum;
    r.reserved_0 = 0;
    if (meanOnly) {
        r.maxTemp = r.avgTemp = r.minTemp = toTemp(mean, h);
    } else {
        r.maxTemp = toTemp(rawAt(f, acc.maxX, acc.maxY), h);
        r.avgTemp = toTemp(mean, h);
        r.minTemp = toTemp(rawAt(f, acc.minX, acc.minY), h);
    }
    r.maxX = static_cast<uint16_t>(acc.maxX);
    r.maxY = static_cast<uint16_t>(acc.maxY);
    r.minX = static_cast<uint16_t>(acc.minX);
    r.minY = static_cast<uint16_t>(acc.minY);
}

void correctEmissivity(const XMea &mea, XResult &r) {
    const double emi = mea.fixEmi;
    if (mea.fixEnable == 0 || !(emi > 0.01 && emi < 1.01)) return;
    const double s = (1.0 - emi) * static_cast<double>(mea.fixReflectTemp);
    r.maxTemp = static_cast<float>((r.maxTemp - s) / emi);
    r.avgTemp = static_cast<float>((r.avgTemp - s) / emi);
    r.minTemp = static_cast<float>((r.minTemp - s) / emi);
}

int pointsTested(const XMea &mea) {
    switch (mea.type) {
        case MEA_POINT:
        case MEA_POINT3X3:
        case MEA_POINTCROSS:
            return 1;
        case MEA_ELLIPSE:
        case MEA_CIRCLE:
        case MEA_RECT:
        case MEA_SQUARE:
            return 2;
        case MEA_LINE:
        case MEA_POLYLINE:
        case MEA_POLYGON:
            return mea.count & 0xFF;
        default:
            return -1;
    }
}

// Far corner of a box shape, clamped into the frame; squares and circles take their height from the width.
void boxEnd(const XMea &mea, const Frame &f, int &x1, int &y1) {
    x1 = mea.points[1].x;
    y1 = (mea.type == MEA_CIRCLE || mea.type == MEA_SQUARE) ? mea.points[0].y + (x1 - mea.points[0].x)
                                                            : mea.points[1].y;
    if (x1 > f.w - 1) x1 = f.w - 1;
    if (y1 > f.h - 1) y1 = f.h - 1;
}

}  // namespace

int Alg_Init() {
    if (g_alg.initialised) return 0;
    g_alg.work = new (std::nothrow) AlgWork();
    if (g_alg.work == nullptr) return kStatusNoMemory;
    g_alg.initialised = true;
    return 0;
}

void Alg_Free() {
    g_alg.luts.clear();
    g_alg.luts.rehash(0);
    delete g_alg.work;
    g_alg.work = nullptr;
    g_alg.initialised = false;
}

const double *Alg_GetLut(uint16_t slope, int16_t offset) {
    if (!g_alg.initialised) return nullptr;
    const uint32_t key = (static_cast<uint32_t>(slope) << 16) | static_cast<uint16_t>(offset);
    auto found = g_alg.luts.find(key);
    if (found != g_alg.luts.end()) return found->second.get() + kLutZero;
    std::unique_ptr<double[]> lut(new (std::nothrow) double[kLutSize]);
    if (!lut) return nullptr;
    const double s = slope != 0 ? slope : 1.0;
    const double shift = static_cast<double>(offset) * s;
    for (int i = 0; i < kLutSize; ++i) lut[i] = (static_cast<double>(i - kLutZero) + shift) / s;
    const double *zero = lut.get() + kLutZero;
    try {
        g_alg.luts.emplace(key, std::move(lut));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return zero;
}

int Alg_CheckMea(const XMea *mea, uint16_t W, uint16_t H) {
    if (mea == nullptr) return kStatusBadArg;
    if (mea->type == MEA_GLOBAL) return 0;
    const int n = pointsTested(*mea);
    if (n < 0) return kStatusBadArg;  // custom and unknown types cannot be measured
    if (mea->type == MEA_POLYGON && (n < 3 || n > MEA_POINT_MAX)) return kStatusBadArg;
    if ((mea->type == MEA_LINE || mea->type == MEA_POLYLINE) && (n < 2 || n > MEA_POINT_MAX))
        return kStatusBadArg;
    for (int i = 0; i < n; ++i)
        if (mea->points[i].x >= W || mea->points[i].y >= H) return kStatusBadArg;
    return 0;
}

int Alg_GetResult(const XMea *mea, const _DataFrameHeader *header, const int16_t *values, XResult *result) {
    if (header == nullptr || values == nullptr || result == nullptr) return kStatusBadArg;
    const Frame f{values, header->width, header->height};
    if (f.w == 0 || f.h == 0) return kStatusBadArg;  // nothing to measure, nothing to divide by

    Acc acc;
    if (mea == nullptr || mea->type == MEA_GLOBAL) {
        scanRect(f, 0, 0, f.w - 1, f.h - 1, acc);
        finish(f, *header, acc, false, *result);
        return 0;
    }
    const int status = Alg_CheckMea(mea, header->width, header->height);
    if (status < 0) return status;

    const XMeaPoint *pts = mea->points;
    int x1, y1;
    bool measured = true;
    switch (mea->type) {
        case MEA_POINT:
        case MEA_POINTCROSS: {
            const float t = toTemp(f.at(pts[0].x, pts[0].y), *header);
            result->reserved_0 = 0;
            result->maxTemp = result->avgTemp = result->minTemp = t;
            result->maxX = result->minX = pts[0].x;
            result->maxY = result->minY = pts[0].y;
            correctEmissivity(*mea, *result);
            return 0;
        }
        case MEA_POINT3X3: {
            const int x = pts[0].x, y = pts[0].y;
            scanRect(f, x > 0 ? x - 1 : 0, y > 0 ? y - 1 : 0, x + 1 < f.w ? x + 1 : x,
                     y + 1 < f.h ? y + 1 : y, acc);
            break;
        }
        case MEA_LINE:
        case MEA_POLYLINE:
            scanPolyline(f, pts, mea->count & 0xFF, acc);
            break;
        case MEA_ELLIPSE:
        case MEA_CIRCLE:
            boxEnd(*mea, f, x1, y1);
            measured = scanEllipse(f, pts[0].x, pts[0].y, x1, y1, acc);
            break;
        case MEA_RECT:
        case MEA_SQUARE:
            boxEnd(*mea, f, x1, y1);
            measured = scanRect(f, pts[0].x, pts[0].y, x1, y1, acc);
            break;
        case MEA_POLYGON: {
            AlgWork local;
            scanPolygon(f, pts, mea->count & 0xFF, g_alg.work != nullptr ? *g_alg.work : local, acc);
            break;
        }
        default:
            return kStatusBadArg;
    }
    if (!measured) return 0;  // an empty box keeps the previous result
    finish(f, *header, acc, mea->type == MEA_POINT3X3, *result);
    correctEmissivity(*mea, *result);
    return 0;
}
