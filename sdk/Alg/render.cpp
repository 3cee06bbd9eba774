// Rendering of one temperature frame to gray levels, BGRA pixels or three byte planes: the histogram, the
// gray table of the frame's stretch, the optional detail, then one table lookup per sample.
#include <cstring>

#include "color_marking.h"
#include "dde.h"
#include "sdk_log.h"
#include "stretch_context.h"
#include "stretch_kernels.h"

namespace sarvik {

namespace {

// Makes sure the DDE work area fits the frame; false when the frame is too small or memory ran out, in
// which case the frame renders without detail.
bool dde_ready(StretchContext *c, const _DataFrameHeader *h) {
    if (h->width < kDdeMinSize || h->height < kDdeMinSize) return false;
    if (!c->dde || c->dde->width != h->width || c->dde->height != h->height) {
        dde_state_free(c->dde);
        c->dde = dde_state_create(h->width, h->height);
        if (!c->dde) {
            SDK_LOG("dde, no memory for %dx%d", h->width, h->height);
            return false;
        }
    }
    const DdeParams p = dde_params(h->slope, c->ctl.ddeLevel);
    dde_state_tables(c->dde, p.eps1, p.eps2);
    return true;
}

// Histogram, gray table and detail of one frame. Returns whether c->dde->detail holds this frame's detail.
bool prepare(StretchContext *c, const int16_t *data, const _DataFrameHeader *h) {
    stretch_update_geometry(c, h);
    stretch_count(c, data);
    const bool temperatures = h->dataKind != SARVIK_DATA_KIND_RAW;
    if (!temperatures) {
        stretch_raw(c);
    } else {
        stretch_statistics(c);
        if (c->ctl.strechType == SARVIK_STRECH_LINEAR)
            stretch_linear(c, h);
        else
            stretch_adaptive(c, h);
    }
    stretch_clear_histogram(c);
    if (!temperatures || c->ctl.ddeLevel == 0 || !dde_ready(c, h)) return false;
    const DdeParams p = dde_params(h->slope, c->ctl.ddeLevel);
    dde_detail(c->dde, data, dde_centre(c->stats.low, c->stats.high), p.strength);
    return true;
}

// Palette slot of every value of the frame, as an offset into the three palettes (0, 256 or 512).
void fill_slots(StretchContext *c, const _DataFrameHeader *h) {
    const MarkingRule rule = marking_rule(c->ctl, *h);
    uint32_t *slot = work_at(c, 0);
    for (int v = c->stats.min; v <= c->stats.max; ++v)
        slot[v] = static_cast<uint32_t>(marking_slot(rule, v)) * 256;
}

// Colour of every value of the frame when there is no detail: one lookup per pixel remains.
void fill_colours(StretchContext *c, const _DataFrameHeader *h) {
    const uint8_t *lut = lut_at(c);
    uint32_t *colour = work_at(c, 1);
    const uint32_t *view = c->palettes[kSlotView];
    if (c->ctl.ct_type == SARVIK_MARK_NONE) {
        for (int v = c->stats.min; v <= c->stats.max; ++v) colour[v] = view[lut[v]];
        return;
    }
    fill_slots(c, h);
    const uint32_t *slot = work_at(c, 0);
    const uint32_t *all = &c->palettes[0][0];
    for (int v = c->stats.min; v <= c->stats.max; ++v) colour[v] = all[slot[v] + lut[v]];
}

// Everything a coloured output needs after prepare: the view palette and, per value, the colour (no detail)
// or the palette slot (detail).
void prepare_colour(StretchContext *c, const _DataFrameHeader *h, const void *palette, bool detail) {
    std::memcpy(c->palettes[kSlotView], palette, sizeof c->palettes[kSlotView]);
    if (detail)
        fill_slots(c, h);
    else
        fill_colours(c, h);
}

bool valid(const StretchContext *c, const int16_t *data, const _DataFrameHeader *h) {
    return c && data && h;
}

bool empty(const _DataFrameHeader *h) {
    return h->width == 0 || h->height == 0;
}

size_t pixel_count(const _DataFrameHeader *h) {
    return static_cast<size_t>(h->width) * h->height;
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int strTemp2Gray(StretchContext *ctx, const int16_t *data,
                                       const _DataFrameHeader *header, uint8_t *gray) {
    if (!valid(ctx, data, header) || !gray) return SARVIK_ERR_INVALID_ARG;
    if (empty(header)) return 0;
    std::lock_guard<std::mutex> lock(ctx->mutex);
    const bool detail = prepare(ctx, data, header);
    const StretchKernels &k = stretch_kernels();
    if (detail)
        k.dde_gray(data, ctx->dde->detail, pixel_count(header), lut_at(ctx), gray);
    else
        k.map_gray(data, pixel_count(header), lut_at(ctx), gray);
    return 0;
}

extern "C" SARVIK_API int strTemp2Bgra(StretchContext *ctx, const int16_t *data,
                                       const _DataFrameHeader *header, uint32_t *image,
                                       const uint32_t *palette) {
    if (!valid(ctx, data, header) || !image || !palette) return SARVIK_ERR_INVALID_ARG;
    if (empty(header)) return 0;
    std::lock_guard<std::mutex> lock(ctx->mutex);
    const bool detail = prepare(ctx, data, header);
    prepare_colour(ctx, header, palette, detail);
    const StretchKernels &k = stretch_kernels();
    if (detail)
        k.dde_bgra(data, ctx->dde->detail, pixel_count(header), lut_at(ctx), work_at(ctx, 0),
                   &ctx->palettes[0][0], image);
    else
        k.map_bgra(data, pixel_count(header), work_at(ctx, 1), image);
    return 0;
}

extern "C" SARVIK_API int strTemp2Yuv(StretchContext *ctx, const int16_t *data,
                                      const _DataFrameHeader *header, uint8_t *plane0, uint8_t *plane1,
                                      uint8_t *plane2, const uint8_t *palette) {
    if (!valid(ctx, data, header) || !plane0 || !plane1 || !plane2 || !palette) return SARVIK_ERR_INVALID_ARG;
    if (empty(header)) return 0;
    std::lock_guard<std::mutex> lock(ctx->mutex);
    const bool detail = prepare(ctx, data, header);
    prepare_colour(ctx, header, palette, detail);
    const StretchKernels &k = stretch_kernels();
    const size_t n = pixel_count(header);
    if (!detail) {
        k.map_planes(data, n, work_at(ctx, 1), plane0, plane1, plane2);
        return 0;
    }
    // Coloured in chunks through a small buffer, then split into the planes.
    uint32_t chunk[1024];
    for (size_t i = 0; i < n; i += 1024) {
        const size_t len = n - i < 1024 ? n - i : 1024;
        k.dde_bgra(data + i, ctx->dde->detail + i, len, lut_at(ctx), work_at(ctx, 0), &ctx->palettes[0][0],
                   chunk);
        for (size_t j = 0; j < len; ++j) {
            plane0[i + j] = static_cast<uint8_t>(chunk[j]);
            plane1[i + j] = static_cast<uint8_t>(chunk[j] >> 8);
            plane2[i + j] = static_cast<uint8_t>(chunk[j] >> 16);
        }
    }
    return 0;
}
