// The stretch context's life and its settings: creation with every table in one block, the flag rules of a
// control record, and the frame geometry the tables derive from.
#include "stretch_context.h"

#include <cmath>
#include <cstring>
#include <new>

#include "color_marking.h"
#include "dde.h"

namespace sarvik {

namespace {

constexpr float kPlateauFactor = 0.25f;
// Accepted gain range. Compared in float, the record's own type, so the float values nearest to 0.08 and
// 10.02 are themselves accepted.
constexpr float kGainMin = 0.08f;
constexpr float kGainMax = 10.02f;

void clear_smoothing(StretchContext *c) {
    c->prevPlateau = 0;
    c->prevLow = 0;
    c->prevHigh = 0;
}

void set_defaults(StretchContext *c) {
    std::memset(&c->ctl, 0, sizeof c->ctl);
    c->ctl.strechType = SARVIK_STRECH_ADAPTIVE;
    c->ctl.smoothing = 1;
    c->ctl.gain = 2.0f;
    c->ctl.man_temp0 = 200;
    c->ctl.man_temp1 = 400;
    c->plateauFactor = kPlateauFactor;
    c->grayPerTen = gray_per_ten(0, 0);
    for (int i = -128; i < 128; ++i) c->gainTable[i + 128] = i < 0 ? 1.0 : std::pow(10.0, i / 50.0);
}

}  // namespace

int stretch_apply_control(StretchContext *c, const _strech_control *in, bool honourDde) {
    std::lock_guard<std::mutex> lock(c->mutex);
    _strech_control &ctl = c->ctl;
    const int32_t f = in->flags;
    if (f & SARVIK_STRECH_TYPE) ctl.strechType = in->strechType;
    if ((f & SARVIK_STRECH_GAIN) && in->gain >= kGainMin && in->gain <= kGainMax && in->gain != ctl.gain) {
        ctl.gain = in->gain;
        clear_smoothing(c);
    }
    if (f & SARVIK_STRECH_TEMP2GRAY) {
        const int t = in->temp2gray;
        if ((t == 0 || (t >= 10 && t <= 50)) && t != ctl.temp2gray) {
            ctl.temp2gray = in->temp2gray;
            c->grayPerTen = gray_per_ten(t, c->slope);
        }
    }
    if (f & SARVIK_STRECH_SMOOTHING) {
        if ((in->smoothing != 0) != (ctl.smoothing != 0)) clear_smoothing(c);
        ctl.smoothing = in->smoothing;
    }
    // The level's constants follow the slope of each frame, so a new level needs nothing rebuilt here.
    if (honourDde && (f & SARVIK_STRECH_DDE) && in->ddeLevel <= kDdeMaxLevel) ctl.ddeLevel = in->ddeLevel;
    if (f & SARVIK_STRECH_MARK) {
        marking_palettes_rebuild(c, *in);
        ctl.ct_type = in->ct_type;
        ctl.ct_temp0 = in->ct_temp0;
        ctl.ct_temp1 = in->ct_temp1;
        ctl.ct_color0 = in->ct_color0;
        ctl.ct_color1 = in->ct_color1;
    }
    if (f & SARVIK_STRECH_MAN_ENABLE) ctl.man_enable = in->man_enable;
    if (f & SARVIK_STRECH_MAN_TEMP0) ctl.man_temp0 = in->man_temp0;
    if (f & SARVIK_STRECH_MAN_TEMP1) ctl.man_temp1 = in->man_temp1;
    return 0;
}

void stretch_update_geometry(StretchContext *c, const _DataFrameHeader *h) {
    if (h->width == c->width && h->height == c->height && h->slope == c->slope) return;
    c->width = h->width;
    c->height = h->height;
    c->slope = h->slope;
    c->pixels = static_cast<int64_t>(h->width) * h->height;
    c->tail = c->pixels / 30000 < 2 ? 2 : c->pixels / 30000;
    c->grayPerTen = gray_per_ten(c->ctl.temp2gray, c->slope);
}

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API StretchContext *strCreate(void) {
    // Value-initialised: the histogram starts (and stays, between frames) all zero.
    auto *c = new (std::nothrow) StretchContext();
    if (!c) return nullptr;
    set_defaults(c);
    return c;
}

extern "C" SARVIK_API void strFree(StretchContext *ctx) {
    if (!ctx) return;
    dde_state_free(ctx->dde);
    delete ctx;
}

extern "C" SARVIK_API int strSetCtl(StretchContext *ctx, const _strech_control *ctl) {
    if (!ctx || !ctl) return SARVIK_ERR_INVALID_ARG;
    return stretch_apply_control(ctx, ctl, false);
}

extern "C" SARVIK_API int strGetCtl(StretchContext *ctx, _strech_control *ctl) {
    if (!ctx || !ctl) return SARVIK_ERR_INVALID_ARG;
    std::lock_guard<std::mutex> lock(ctx->mutex);
    *ctl = ctx->ctl;
    ctl->flags = 0;
    return 0;
}
