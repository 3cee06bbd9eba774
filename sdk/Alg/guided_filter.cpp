// The integer guided filters of the destripe and denoise filters. Every window sum is a running sum (one add
// and one subtract per step) over rows padded through the mirror tables; the widths are listed in the header.
#include "guided_filter.h"

#include <algorithm>
#include <cstring>

namespace sarvik {

namespace {

// An estimate beyond this saturates every corrected sample anyway (samples span 65535 counts).
constexpr int64_t kEstimateLimit = 65535;

inline int16_t saturate16(int64_t v) {
    return static_cast<int16_t>(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}

}  // namespace

void mirror_table_build(int32_t *table, int n) {
    for (int j = 0; j < n + 2 * kGfPad; ++j) table[j] = mirror_index(j - kGfPad, n);
}

void coef_table_build(uint16_t *table, size_t entries, uint64_t eps) {
    // The entries never decrease and stay below 1024, so each value fills one run that starts at the first
    // i with i x 2^20 >= k (eps + 1024 i), i.e. i >= ceil(k eps / (2^20 - 1024 k)): 1023 divisions instead
    // of one per entry (16 Mi for the destripe).
    size_t start = 0;
    for (uint64_t k = 0; k < 1024 && start < entries; ++k) {
        size_t next = entries;
        if (k + 1 < 1024) {
            const uint64_t den = (uint64_t{1} << 20) - 1024 * (k + 1);
            const uint64_t first = ((k + 1) * eps + den - 1) / den;
            if (first < next) next = static_cast<size_t>(first);
        }
        if (next > start) {
            std::fill(table + start, table + next, static_cast<uint16_t>(k));
            start = next;
        }
    }
}

void fixed_divisor_init(FixedDivisor *fd, uint64_t divisor) {
    // magic x divisor exceeds 2^62 by e < divisor, so n x magic / 2^62 overshoots n / divisor by
    // n e / (divisor 2^62) < 1 / divisor as long as n x divisor < 2^62: never up to the next integer.
    fd->divisor = divisor;
    fd->magic = ((uint64_t{1} << 62) + divisor - 1) / divisor;
}

// ---- Destripe -----------------------------------------------------------------------------------------

void destripe_row(const int16_t *row, int w, const DestripeRowParams &p, DestripeRowWork &work,
                  int32_t *residual, int16_t *smooth) {
    const int r = p.radius, W = 2 * r + 1;
    const int32_t *mir = p.colMirror + kGfPad;
    int32_t *xp = work.x;  // xp[j] = x at column j - r
    for (int j = 0; j < w + 2 * r; ++j) xp[j] = row[mir[j - r]];

    int64_t s1 = 0, s2 = 0;
    for (int j = 0; j < W; ++j) {
        s1 += xp[j];
        s2 += static_cast<int64_t>(xp[j]) * xp[j];
    }
    int32_t *a = work.a + r, *b = work.b + r;  // r mirrored entries on either side
    const int64_t top = static_cast<int64_t>(kDestripeTableSize) - 1;
    const int64_t eps = static_cast<int64_t>(p.eps);
    for (int c = 0;; ++c) {
        const int64_t v = W * s2 - s1 * s1;  // never negative
        int32_t ac;
        if (p.guided) {
            ac = static_cast<int32_t>(v * 1024 / (eps + v));
        } else {
            const int64_t i = v >> 10;
            ac = p.table[i > top ? top : i];
        }
        a[c] = ac;
        b[c] = static_cast<int32_t>(s1 * (1024 - ac));  // Sx x 1024 - a x Sx
        if (c + 1 == w) break;
        const int64_t in = xp[c + W], out = xp[c];
        s1 += in - out;
        s2 += in * in - out * out;
    }
    for (int j = 1; j <= r; ++j) {
        a[-j] = a[mir[-j]];
        b[-j] = b[mir[-j]];
        a[w - 1 + j] = a[mir[w - 1 + j]];
        b[w - 1 + j] = b[mir[w - 1 + j]];
    }

    int64_t sa = 0, sb = 0;
    for (int j = -r; j <= r; ++j) {
        sa += a[j];
        sb += b[j];
    }
    for (int c = 0; c < w; ++c) {
        const int64_t x = row[c];
        const int64_t sm = fixed_div_trunc(p.smoothDiv, W * x * sa + sb);
        residual[c] = static_cast<int32_t>(x - sm);
        // A convex combination of the row's samples: always a 16-bit value.
        if (smooth) smooth[c] = static_cast<int16_t>(sm);
        if (c + 1 < w) {
            sa += a[c + r + 1] - a[c - r];
            sb += static_cast<int64_t>(b[c + r + 1]) - b[c - r];
        }
    }
}

void destripe_column_box(const int32_t *residual, int w, int rows, int radius, const int32_t *rowMirror,
                         int32_t *colSum, int32_t *estimate) {
    const int32_t *mir = rowMirror + kGfPad;
    const int W = 2 * radius + 1;
    const size_t stride = static_cast<size_t>(w);
    std::fill(colSum, colSum + w, 0);
    for (int j = -radius; j <= radius; ++j) {
        const int32_t *in = residual + mir[j] * stride;
        for (int c = 0; c < w; ++c) colSum[c] += in[c];
    }
    FixedDivisor div;
    fixed_divisor_init(&div, static_cast<uint64_t>(W));
    for (int y = 0; y < rows; ++y) {
        int32_t *est = estimate + y * stride;
        for (int c = 0; c < w; ++c) est[c] = static_cast<int32_t>(fixed_div_trunc(div, colSum[c]));
        if (y + 1 == rows) break;
        const int32_t *in = residual + mir[y + radius + 1] * stride;
        const int32_t *out = residual + mir[y - radius] * stride;
        for (int c = 0; c < w; ++c) colSum[c] += in[c] - out[c];
    }
}

void destripe_column_guided(const int32_t *residual, const int16_t *smooth, int w, int rows, int radius,
                            uint64_t eps, const int32_t *rowMirror, DestripeColumnWork &work,
                            int32_t *estimate) {
    const int32_t *mir = rowMirror + kGfPad;
    const int64_t W = 2 * radius + 1;
    const size_t stride = static_cast<size_t>(w);
    int64_t *sr = work.sumR, *ss = work.sumS, *srs = work.sumRS, *sss = work.sumSS;

    // Pass 1: A and B of every processed position from the window sums of r, s, r s and s^2.
    std::fill(sr, sr + w, 0);
    std::fill(ss, ss + w, 0);
    std::fill(srs, srs + w, 0);
    std::fill(sss, sss + w, 0);
    auto add_row = [&](int y) {
        const int32_t *rr = residual + y * stride;
        const int16_t *sm = smooth + y * stride;
        for (int c = 0; c < w; ++c) {
            const int64_t rv = rr[c], sv = sm[c];
            sr[c] += rv;
            ss[c] += sv;
            srs[c] += rv * sv;
            sss[c] += sv * sv;
        }
    };
    // Slides the window down: row yin enters, row yout leaves.
    auto slide = [&](int yin, int yout) {
        const int32_t *ri = residual + yin * stride, *ro = residual + yout * stride;
        const int16_t *si = smooth + yin * stride, *so = smooth + yout * stride;
        for (int c = 0; c < w; ++c) {
            const int64_t r1 = ri[c], s1 = si[c], r0 = ro[c], s0 = so[c];
            sr[c] += r1 - r0;
            ss[c] += s1 - s0;
            srs[c] += r1 * s1 - r0 * s0;
            sss[c] += s1 * s1 - s0 * s0;
        }
    };
    for (int j = -radius; j <= radius; ++j) add_row(mir[j]);
    const int64_t e = static_cast<int64_t>(eps);
    for (int y = 0; y < rows; ++y) {
        int32_t *A = work.planeA + y * stride;
        int64_t *B = work.planeB + y * stride;
        for (int c = 0; c < w; ++c) {
            const int64_t num = (W * srs[c] - sr[c] * ss[c]) * 1024;
            const int64_t den = e + W * sss[c] - ss[c] * ss[c];  // >= eps >= 1
            const int64_t a = num / den;
            A[c] = static_cast<int32_t>(a);
            B[c] = sr[c] * 1024 - a * ss[c];
        }
        if (y + 1 == rows) break;
        slide(mir[y + radius + 1], mir[y - radius]);
    }

    // Pass 2: the window sums of A and B give the estimate.
    int64_t *sa = sr, *sb = ss;
    std::fill(sa, sa + w, 0);
    std::fill(sb, sb + w, 0);
    for (int j = -radius; j <= radius; ++j) {
        const int32_t *A = work.planeA + mir[j] * stride;
        const int64_t *B = work.planeB + mir[j] * stride;
        for (int c = 0; c < w; ++c) {
            sa[c] += A[c];
            sb[c] += B[c];
        }
    }
    FixedDivisor div;
    fixed_divisor_init(&div, static_cast<uint64_t>(W * W));
    for (int y = 0; y < rows; ++y) {
        const int16_t *sm = smooth + y * stride;
        int32_t *est = estimate + y * stride;
        for (int c = 0; c < w; ++c) {
            const int64_t v = fixed_div_trunc(div, sa[c] * sm[c] * W + sb[c]) >> 10;
            est[c] = static_cast<int32_t>(std::clamp(v, -kEstimateLimit, kEstimateLimit));
        }
        if (y + 1 == rows) break;
        const size_t in = mir[y + radius + 1] * stride, out = mir[y - radius] * stride;
        for (int c = 0; c < w; ++c) {
            sa[c] += work.planeA[in + c] - work.planeA[out + c];
            sb[c] += work.planeB[in + c] - work.planeB[out + c];
        }
    }
}

void destripe_correct(int16_t *samples, int w, const int32_t *estimate, int rows, int step) {
    const size_t stride = static_cast<size_t>(w);
    for (int y = 0; y < rows * step; ++y) {
        int16_t *row = samples + y * stride;
        const int32_t *est = estimate + (y / step) * stride;
        // Estimates lie within +-65535, so the difference fits 32 bits.
        for (int c = 0; c < w; ++c)
            row[c] = static_cast<int16_t>(std::clamp(row[c] - est[c], INT16_MIN, INT16_MAX));
    }
}

// ---- Denoise ------------------------------------------------------------------------------------------

namespace {

// pad[j] = col[x at j - r] for j in 0 .. w + 2r - 1.
template <typename T>
inline void pad_row(const T *col, T *pad, int w, int r, const int32_t *mir) {
    for (int j = 0; j < r; ++j) pad[j] = col[mir[j - r]];
    std::memcpy(pad + r, col, sizeof(T) * w);
    for (int j = 0; j < r; ++j) pad[r + w + j] = col[mir[w + j]];
}

// The output's dividend X = (A I Sa >> 10) + Sb stays within +-2^17 A^2 (|A I Sa| / 1024 and |Sb| are both
// below 2^15 A^2 + A), so X + 2^17 A^2 is never negative and the floor division needs no sign test.
constexpr int64_t kOutBias = int64_t{1} << 17;

struct OutputRow {
    const int64_t *ka;  // A x Sa of each block column
    const int64_t *kb;  // Sb + 2^17 A^2
    FixedDivisor div;
};

inline int16_t output_sample(const OutputRow &o, int64_t I, int bx) {
    const int64_t x = ((I * o.ka[bx]) >> 10) + o.kb[bx];
    return saturate16(static_cast<int64_t>(fixed_div_u(o.div, static_cast<uint64_t>(x))) - kOutBias);
}

// One frame row from the sums of its block row: F samples per block, the last block also taking the
// columns a partial block would hold.
template <int F>
void output_row(int16_t *row, int blocks, int width, const OutputRow &o) {
    const int whole = blocks - 1;
    for (int bx = 0; bx < whole; ++bx) {
        int16_t *px = row + bx * F;
        for (int i = 0; i < F; ++i) px[i] = output_sample(o, px[i], bx);
    }
    for (int x = whole * F; x < width; ++x) row[x] = output_sample(o, row[x], whole);
}

}  // namespace

void denoise_coefficients(const int16_t *samples, const DenoiseParams &p, DenoiseWork &work) {
    const int f = p.factor, w = p.smallW, h = p.smallH, r = p.radius, W = 2 * r + 1;
    const int64_t A = p.area;
    const size_t rowStride = static_cast<size_t>(p.width) * f;
    const int32_t *rmir = p.rowMirror + kGfPad, *cmir = p.colMirror + kGfPad;
    int32_t *c1 = work.colS1;
    int64_t *c2 = work.colS2;
    auto add_row = [&](int y) {
        const int16_t *s = samples + y * rowStride;
        for (int x = 0; x < w; ++x) {
            const int64_t v = s[x * f];
            c1[x] += static_cast<int32_t>(v);
            c2[x] += v * v;
        }
    };
    auto slide = [&](int yin, int yout) {
        const int16_t *si = samples + yin * rowStride, *so = samples + yout * rowStride;
        for (int x = 0; x < w; ++x) {
            const int64_t vi = si[x * f], vo = so[x * f];
            c1[x] += static_cast<int32_t>(vi - vo);
            c2[x] += vi * vi - vo * vo;
        }
    };
    std::fill(c1, c1 + w, 0);
    std::fill(c2, c2 + w, 0);
    for (int j = -r; j <= r; ++j) add_row(rmir[j]);

    const int64_t top = static_cast<int64_t>(kDenoiseTableSize) - 1;
    for (int y = 0; y < h; ++y) {
        pad_row(c1, work.pad1, w, r, cmir);
        pad_row(c2, work.pad2, w, r, cmir);
        int64_t s1 = 0, s2 = 0;
        for (int j = 0; j < W; ++j) {
            s1 += work.pad1[j];
            s2 += work.pad2[j];
        }
        uint16_t *ar = work.planeA + static_cast<size_t>(y) * w;
        int32_t *br = work.planeB + static_cast<size_t>(y) * w;
        for (int x = 0;; ++x) {
            const int64_t i = (A * s2 - s1 * s1) >> 10;  // never negative
            const uint16_t a = p.table[i > top ? top : i];
            ar[x] = a;
            br[x] = static_cast<int32_t>(s1 - ((s1 * a) >> 10));
            if (x + 1 == w) break;
            s1 += work.pad1[x + W] - work.pad1[x];
            s2 += work.pad2[x + W] - work.pad2[x];
        }
        if (y + 1 == h) break;
        slide(rmir[y + r + 1], rmir[y - r]);
    }
}

void denoise_output(int16_t *samples, const DenoiseParams &p, DenoiseWork &work) {
    const int f = p.factor, w = p.smallW, h = p.smallH, r = p.radius, W = 2 * r + 1;
    const int64_t A = p.area;
    const int32_t *rmir = p.rowMirror + kGfPad, *cmir = p.colMirror + kGfPad;
    int32_t *ca = work.colS1;  // column sums of a
    int64_t *cb = work.colS2;  // column sums of b
    auto add_row = [&](int y) {
        const uint16_t *ar = work.planeA + static_cast<size_t>(y) * w;
        const int32_t *br = work.planeB + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            ca[x] += ar[x];
            cb[x] += br[x];
        }
    };
    auto slide = [&](int yin, int yout) {
        const uint16_t *ai = work.planeA + static_cast<size_t>(yin) * w,
                       *ao = work.planeA + static_cast<size_t>(yout) * w;
        const int32_t *bi = work.planeB + static_cast<size_t>(yin) * w,
                      *bo = work.planeB + static_cast<size_t>(yout) * w;
        for (int x = 0; x < w; ++x) {
            ca[x] += ai[x] - ao[x];
            cb[x] += static_cast<int64_t>(bi[x]) - bo[x];
        }
    };
    std::fill(ca, ca + w, 0);
    std::fill(cb, cb + w, 0);
    for (int j = -r; j <= r; ++j) add_row(rmir[j]);

    const int64_t bias = kOutBias * static_cast<int64_t>(p.outDiv.divisor);
    const OutputRow o{work.sumA, work.sumB, p.outDiv};
    for (int y = 0; y < h; ++y) {
        pad_row(ca, work.pad1, w, r, cmir);
        pad_row(cb, work.pad2, w, r, cmir);
        int64_t sa = 0, sb = 0;
        for (int j = 0; j < W; ++j) {
            sa += work.pad1[j];
            sb += work.pad2[j];
        }
        for (int x = 0;; ++x) {
            work.sumA[x] = A * sa;
            work.sumB[x] = sb + bias;
            if (x + 1 == w) break;
            sa += work.pad1[x + W] - work.pad1[x];
            sb += work.pad2[x + W] - work.pad2[x];
        }
        // Frame rows of this block row; the last block row also takes the rows a partial block would hold.
        const int y0 = y * f, y1 = y + 1 == h ? p.height : y0 + f;
        for (int fy = y0; fy < y1; ++fy) {
            int16_t *row = samples + static_cast<size_t>(fy) * p.width;
            switch (f) {
                case 1:
                    output_row<1>(row, w, p.width, o);
                    break;
                case 2:
                    output_row<2>(row, w, p.width, o);
                    break;
                default:
                    output_row<4>(row, w, p.width, o);
                    break;
            }
        }
        if (y + 1 == h) break;
        slide(rmir[y + r + 1], rmir[y - r]);
    }
}

}  // namespace sarvik
