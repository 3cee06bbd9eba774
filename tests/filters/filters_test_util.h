// Frames for the filter tests and a direct evaluation of the filters' formulas: every window summed in full
// at every position (no running sums, no tables, no mirror tables), 64-bit throughout, against which the
// kernels are compared bit for bit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "SarvikSDK.h"

namespace filtertest {

using Frame = std::vector<int16_t>;

inline Frame flat(int w, int h, int16_t v) {
    return Frame(size_t(w) * h, v);
}

// Uniform random samples in lo..hi.
inline Frame random_frame(int w, int h, int lo, int hi, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(lo, hi);
    Frame f(size_t(w) * h);
    for (auto &s : f) s = int16_t(d(rng));
    return f;
}

// Adds offsets[c % offsets.size()] to every sample of column c in rows y0 .. y1 - 1 (all rows by default).
inline void add_columns(Frame &f, int w, const std::vector<int> &offsets, int y0 = 0, int y1 = -1) {
    const int h = int(f.size() / w);
    if (y1 < 0) y1 = h;
    for (int y = y0; y < y1; ++y)
        for (int c = 0; c < w; ++c)
            f[size_t(y) * w + c] = int16_t(f[size_t(y) * w + c] + offsets[c % offsets.size()]);
}

inline _DestripInfo destrip_config(int type, int w, int h, int s0r, int s0g, int s1r, int s1g, int subY,
                                   int subT) {
    _DestripInfo c;
    std::memset(&c, 0, sizeof c);
    c.type = uint16_t(type);
    c.width = uint16_t(w);
    c.height = uint16_t(h);
    c.s0_radius = uint16_t(s0r);
    c.s0_regular = uint16_t(s0g);
    c.s1_radius = uint16_t(s1r);
    c.s1_regular = uint16_t(s1g);
    c.sub_y = uint8_t(subY);
    c.sub_t = uint8_t(subT);
    return c;
}

inline _DenoiseInfo denoise_config(int type, int w, int h, int radius, int regular) {
    _DenoiseInfo c;
    std::memset(&c, 0, sizeof c);
    c.type = uint16_t(type);
    c.width = uint16_t(w);
    c.height = uint16_t(h);
    c.gf_radius = uint16_t(radius);
    c.gf_regular = uint16_t(regular);
    return c;
}

// Reflect at the borders (-1 -> 0, n -> n - 1) until the index lies inside.
inline int reflect(int i, int n) {
    while (i < 0 || i >= n) {
        if (i < 0) i = -i - 1;
        if (i >= n) i = 2 * n - 1 - i;
    }
    return i;
}

inline int64_t floor_div(int64_t x, int64_t d) {
    int64_t q = x / d;
    if (x % d != 0 && x < 0) --q;
    return q;
}

inline int16_t sat16(int64_t v) {
    return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

// The destripe of one frame, with a fresh estimate.
inline Frame destripe_direct(const Frame &in, int w, int h, const _DestripInfo &c) {
    int k = 0;
    while ((2 << k) <= c.sub_y) ++k;
    const int S = 1 << k, R = h >> k;
    const int r0 = c.s0_radius, W0 = 2 * r0 + 1, r1 = c.s1_radius, W1 = 2 * r1 + 1;
    const int64_t eps0 = int64_t(c.s0_regular) * c.s0_regular * W0 * W0;
    const int64_t eps1 = int64_t(c.s1_regular) * c.s1_regular * W1 * W1;
    const bool guided = c.type == 3;
    auto x = [&](int y, int col) { return int64_t(in[size_t(y) * S * w + reflect(col, w)]); };
    std::vector<int64_t> a(size_t(R) * w), b(a.size()), sm(a.size()), res(a.size()), est(a.size());
    auto at = [&](int y, int col) { return size_t(reflect(y, R)) * w + reflect(col, w); };
    for (int y = 0; y < R; ++y)
        for (int col = 0; col < w; ++col) {
            int64_t s1 = 0, s2 = 0;
            for (int j = col - r0; j <= col + r0; ++j) {
                s1 += x(y, j);
                s2 += x(y, j) * x(y, j);
            }
            const int64_t v = W0 * s2 - s1 * s1;
            int64_t ac;
            if (guided) {
                ac = v * 1024 / (eps0 + v);
            } else {
                const int64_t i = std::min<int64_t>(v >> 10, (1 << 24) - 1);
                ac = i * (int64_t(1) << 20) / (eps0 + 1024 * i);
            }
            a[size_t(y) * w + col] = ac;
            b[size_t(y) * w + col] = s1 * 1024 - ac * s1;
        }
    for (int y = 0; y < R; ++y)
        for (int col = 0; col < w; ++col) {
            int64_t sa = 0, sb = 0;
            for (int j = col - r0; j <= col + r0; ++j) {
                sa += a[at(y, j)];
                sb += b[at(y, j)];
            }
            const int64_t s = (W0 * x(y, col) * sa + sb) / (int64_t(W0) * W0 * 1024);
            sm[size_t(y) * w + col] = s;
            res[size_t(y) * w + col] = x(y, col) - s;
        }
    std::vector<int64_t> A(a.size()), B(a.size());
    for (int y = 0; y < R; ++y)
        for (int col = 0; col < w; ++col) {
            int64_t sr = 0, ss = 0, srs = 0, sss = 0;
            for (int i = y - r1; i <= y + r1; ++i) {
                const int64_t rv = res[at(i, col)], sv = sm[at(i, col)];
                sr += rv;
                ss += sv;
                srs += rv * sv;
                sss += sv * sv;
            }
            if (!guided) {
                est[size_t(y) * w + col] = sr / W1;
            } else {
                A[size_t(y) * w + col] = (W1 * srs - sr * ss) * 1024 / (eps1 + W1 * sss - ss * ss);
                B[size_t(y) * w + col] = sr * 1024 - A[size_t(y) * w + col] * ss;
            }
        }
    if (guided)
        for (int y = 0; y < R; ++y)
            for (int col = 0; col < w; ++col) {
                int64_t sa = 0, sb = 0;
                for (int i = y - r1; i <= y + r1; ++i) {
                    sa += A[at(i, col)];
                    sb += B[at(i, col)];
                }
                est[size_t(y) * w + col] = ((sa * sm[size_t(y) * w + col] * W1 + sb) / (W1 * W1)) >> 10;
            }
    Frame out = in;
    for (int y = 0; y < R * S; ++y)
        for (int col = 0; col < w; ++col)
            out[size_t(y) * w + col] = sat16(int64_t(in[size_t(y) * w + col]) - est[size_t(y / S) * w + col]);
    return out;
}

// The denoise of one frame; I' divided by A^2 exactly (floor), every sample filtered with its block's sums.
inline Frame denoise_direct(const Frame &in, int w, int h, const _DenoiseInfo &c) {
    const int f = 1 << (c.type - 1), ws = w / f, hs = h / f;
    const int r = std::max(1, c.gf_radius / f);
    const int64_t A = int64_t(2 * r + 1) * (2 * r + 1);
    const int64_t eps = A * c.gf_regular * c.gf_regular * A;
    auto I = [&](int y, int x) {
        return int64_t(in[size_t(reflect(y, hs)) * f * w + size_t(reflect(x, ws)) * f]);
    };
    std::vector<int64_t> a(size_t(ws) * hs), b(a.size());
    auto at = [&](int y, int x) { return size_t(reflect(y, hs)) * ws + reflect(x, ws); };
    for (int y = 0; y < hs; ++y)
        for (int x = 0; x < ws; ++x) {
            int64_t s1 = 0, s2 = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    s1 += I(y + dy, x + dx);
                    s2 += I(y + dy, x + dx) * I(y + dy, x + dx);
                }
            const int64_t i = std::min<int64_t>((A * s2 - s1 * s1) >> 10, (1 << 20) - 1);
            const int64_t ac = i * (int64_t(1) << 20) / (eps + 1024 * i);
            a[size_t(y) * ws + x] = ac;
            b[size_t(y) * ws + x] = s1 - ((s1 * ac) >> 10);
        }
    Frame out = in;
    for (int Y = 0; Y < h; ++Y)
        for (int X = 0; X < w; ++X) {
            const int by = std::min(Y / f, hs - 1), bx = std::min(X / f, ws - 1);
            int64_t sa = 0, sb = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    sa += a[at(by + dy, bx + dx)];
                    sb += b[at(by + dy, bx + dx)];
                }
            const int64_t v = in[size_t(Y) * w + X];
            out[size_t(Y) * w + X] = sat16(floor_div(((A * v * sa) >> 10) + sb, A * A));
        }
    return out;
}

}  // namespace filtertest
