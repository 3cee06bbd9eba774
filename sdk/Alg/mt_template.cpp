// Measurement contexts: creation, release, and loading a template (validation and the pixel masks that
// let mtCheck test exclusion areas and polygons with one byte per pixel).
#include <cstdlib>
#include <cstring>
#include <new>

#include "mt_engine.h"
#include "mt_geometry.h"

using namespace sarvik::mt;

namespace {

bool size_allowed(int width, int height) {
    return width > 0 && height > 0 && width <= SARVIK_MT_MAX_WIDTH && height <= SARVIK_MT_MAX_HEIGHT;
}

// The template a context holds before anything is loaded: version and size, no areas, no objects.
void reset_template(MtContext *c) {
    std::memset(&c->tpl, 0, sizeof c->tpl);
    c->tpl.version = SARVIK_MT_VERSION;
    c->tpl.width = static_cast<uint16_t>(c->width);
    c->tpl.height = static_cast<uint16_t>(c->height);
}

bool area_valid(const MtArea &a, int width, int height) {
    for (const MtPoint &p : a.corners)
        if (p.x >= width || p.y >= height) return false;
    return true;
}

bool template_valid(const MtTemplate &t, int width, int height) {
    for (int i = 0; i < SARVIK_MT_MAX_AREAS; ++i)
        if ((t.areaEnable >> i & 1u) && !area_valid(t.areas[i], width, height)) return false;
    for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i)
        if ((t.objectEnable >> i & 1u) && !template_object_valid(t.objects[i], width, height)) return false;
    return true;
}

inline size_t index_of(const MtContext *c, int x, int y) {
    return static_cast<size_t>(y) * static_cast<size_t>(c->width) + static_cast<size_t>(x);
}

// An area removes its inside (even-odd) and its four edges, so that thin or degenerate quadrilaterals
// still exclude the pixels drawn on their outline.
void exclude_area(MtContext *c, const MtArea &a) {
    uint8_t *mask = c->masks;
    const Box b = points_box(a.corners, 4);
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x)
            if (inside_even_odd(a.corners, 4, x, y)) mask[index_of(c, x, y)] = 0;
    for (int k = 0; k < 4; ++k) {
        const MtPoint &p = a.corners[k], &q = a.corners[(k + 1) % 4];
        for_each_line_pixel(p.x, p.y, q.x, q.y, [&](int x, int y) { mask[index_of(c, x, y)] = 0; });
    }
}

// mtCheck reads a polygon's mask only inside the bounding box of its points, so only that box is written.
void build_polygon_mask(MtContext *c, int object) {
    const MtObject &o = c->tpl.objects[object];
    uint8_t *mask = c->masks + static_cast<size_t>(1 + object) * c->pixels;
    const Box b = points_box(o.points, o.count);
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x)
            mask[index_of(c, x, y)] = inside_even_odd(o.points, o.count, x, y) ? 1 : 0;
}

void build_masks(MtContext *c) {
    if (c->tpl.areaEnable & 0xFFu) {
        std::memset(c->masks, 1, c->pixels);
        for (int i = 0; i < SARVIK_MT_MAX_AREAS; ++i)
            if (c->tpl.areaEnable >> i & 1u) exclude_area(c, c->tpl.areas[i]);
    }
    for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i)
        if ((c->tpl.objectEnable >> i & 1u) && c->tpl.objects[i].shape == SARVIK_MT_SHAPE_POLYGON)
            build_polygon_mask(c, i);
}

uint8_t *alloc_masks(size_t pixels) {
    return static_cast<uint8_t *>(std::malloc(static_cast<size_t>(kMaskCount) * pixels));
}

}  // namespace

extern "C" SARVIK_API MtContext *mtCreate(int width, int height) {
    if (!size_allowed(width, height)) return nullptr;
    MtContext *c = new (std::nothrow) MtContext;
    if (!c) return nullptr;
    c->width = width;
    c->height = height;
    c->pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    c->masks = alloc_masks(c->pixels);
    if (!c->masks) {
        delete c;
        return nullptr;
    }
    reset_template(c);
    // Until a frame brings its own scale the table converts as slope 1, offset 0, so that frames with a
    // slope of 0 (which never rebuild the table) still get defined temperatures.
    c->tableSlope = 1;
    c->tableOffset = 0;
    build_table(c->table, c->tableSlope, c->tableOffset);
    return c;
}

extern "C" SARVIK_API void mtFree(MtContext **context) {
    if (!context || !*context) return;
    std::free((*context)->masks);
    delete *context;
    *context = nullptr;
}

extern "C" SARVIK_API int mtReload(MtContext *context, const MtTemplate *tpl) {
    if (!context || !tpl) return SARVIK_ERR_INVALID_ARG;
    const int width = tpl->width, height = tpl->height;
    // A size no context may have is refused before anything is reallocated: the context keeps its template.
    if (!size_allowed(width, height)) return -2;
    if (width != context->width || height != context->height) {
        const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
        uint8_t *masks = alloc_masks(pixels);
        if (!masks) return -1;
        std::free(context->masks);
        context->masks = masks;
        context->width = width;
        context->height = height;
        context->pixels = pixels;
        reset_template(context);
    }
    if (!template_valid(*tpl, width, height)) return -2;
    std::memcpy(&context->tpl, tpl, sizeof context->tpl);
    build_masks(context);
    return 0;
}
