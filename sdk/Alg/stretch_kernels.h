// The per-pixel kernels of the renderer as a table of plain functions over (pointer, count). The scalar table
// is the reference; a faster table is chosen once, at first use, when the processor supports it, and the
// environment variable SARVIK_FORCE_SCALAR (any non-empty value but "0") keeps the scalar one. Every table
// gives bit-identical results.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sarvik {

struct StretchKernels {
    const char *name;
    // Adds every sample of data[0..n), n >= 1, to hist (indexed by the signed sample) and finds the smallest
    // and largest sample and the sum of all samples. spare holds three more sample-indexed histograms, all
    // zero on entry and on return.
    void (*count)(const int16_t *data, size_t n, uint32_t *hist, uint32_t *const spare[3], int *lo, int *hi,
                  int64_t *sum);
    // Over the non-zero counts of values from..to in value order, the inner ones (not the first and last) not
    // smaller than both neighbours: their sum and number. scratch has room for 65536 counts.
    void (*peaks)(const uint32_t *hist, int from, int to, uint32_t *scratch, int64_t *sum, int64_t *number);
    // Sum over values from..to (none when from > to) of the counts clipped to [floor, ceiling], a zero count
    // staying zero; 1 <= floor <= ceiling.
    int64_t (*clipped_sum)(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling);
    // lut[v] = base + k x C(v) / total (truncated towards zero) for v = from..to, C(v) being the sum of the
    // clipped counts (as clipped_sum) from `from` to v; total = C(to) > 0, |k| <= 255, and every entry lies
    // within 0..255.
    void (*fill_levels)(const uint32_t *hist, int from, int to, int64_t floor, int64_t ceiling, int base,
                        int k, int64_t total, uint8_t *lut);
    // out[i] = table[data[i]], the tables indexed by the signed sample.
    void (*map_gray)(const int16_t *data, size_t n, const uint8_t *gray, uint8_t *out);
    void (*map_bgra)(const int16_t *data, size_t n, const uint32_t *colour, uint32_t *out);
    // Bytes 0, 1, 2 of colour[data[i]] to the three planes.
    void (*map_planes)(const int16_t *data, size_t n, const uint32_t *colour, uint8_t *p0, uint8_t *p1,
                       uint8_t *p2);
    // With detail: level = clamp(detail[i] + gray[data[i]], 0, 255).
    void (*dde_gray)(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray, uint8_t *out);
    // With detail, coloured: out[i] = palettes[slot[data[i]] + level], slot holding 0, 256 or 512.
    void (*dde_bgra)(const int16_t *data, const int16_t *detail, size_t n, const uint8_t *gray,
                     const uint32_t *slot, const uint32_t *palettes, uint32_t *out);
};

// Whether SARVIK_FORCE_SCALAR asks for the reference kernels (read once).
bool kernels_forced_scalar();

const StretchKernels &stretch_kernels_scalar();
// The faster table for this processor, or null when there is none.
const StretchKernels *stretch_kernels_fast();
// The table in use: chosen once, at first use.
const StretchKernels &stretch_kernels();

}  // namespace sarvik
