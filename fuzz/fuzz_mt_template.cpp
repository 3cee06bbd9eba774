// Measurement templates come from callers and files as raw bytes: mtReload must validate any of them, and
// whatever it accepts must measure inside the frame. The input is the template (short inputs are padded
// with zeros). When the first byte is odd the size is folded into a small frame and objects the validator
// refuses are disabled, so that loaded templates, masks and mtCheck are reached often; mtCheck must then
// agree with mtGetResult on every enabled object mtGetResult accepts. Bytes after the template become the
// frame's samples. Large templates are loaded (masks included) but not measured, to keep the pace up.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "SarvikSDK.h"
#include "mt_engine.h"

namespace {

void fill_frame(std::vector<int16_t> &px, const uint8_t *extra, size_t extraSize) {
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = extraSize ? static_cast<int16_t>(extra[i % extraSize] * 257 - 32768 + static_cast<int>(i % 7))
                          : static_cast<int16_t>(i * 31);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The template sits in an allocation of exactly its own size: reading past it would be caught.
    auto tpl = std::make_unique<MtTemplate>();
    std::memset(tpl.get(), 0, sizeof *tpl);
    std::memcpy(tpl.get(), data, size < sizeof *tpl ? size : sizeof *tpl);
    const uint8_t *extra = size > sizeof *tpl ? data + sizeof *tpl : nullptr;
    const size_t extraSize = size > sizeof *tpl ? size - sizeof *tpl : 0;

    const bool friendly = size > 0 && (data[0] & 1);
    if (friendly) {
        tpl->width = static_cast<uint16_t>(1 + tpl->width % 96);
        tpl->height = static_cast<uint16_t>(1 + tpl->height % 64);
        for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i)
            if (!sarvik::mt::template_object_valid(tpl->objects[i], tpl->width, tpl->height))
                tpl->objectEnable &= ~(1u << i);
        for (int i = 0; i < SARVIK_MT_MAX_AREAS; ++i)
            for (const MtPoint &p : tpl->areas[i].corners)
                if (p.x >= tpl->width || p.y >= tpl->height) tpl->areaEnable &= ~(1u << i);
    }

    MtContext *ctx = mtCreate(32, 24);
    if (!ctx) return 0;
    const int ret = mtReload(ctx, tpl.get());
    if (ret != 0 && ret != -1 && ret != -2) __builtin_trap();
    if (friendly && ret != 0) __builtin_trap();

    if (ret == 0 && static_cast<size_t>(tpl->width) * tpl->height <= 128 * 128) {
        _DataFrameHeader h;
        std::memset(&h, 0, sizeof h);
        h.width = tpl->width;
        h.height = tpl->height;
        h.slope = static_cast<uint16_t>(tpl->reserved_16[0]);  // 0 included
        h.offset = static_cast<int16_t>(tpl->reserved_16[1] - 128);
        std::vector<int16_t> px(static_cast<size_t>(h.width) * h.height);
        fill_frame(px, extra, extraSize);
        auto results = std::make_unique<MtResult[]>(17);
        std::memset(results.get(), 0x5A, 17 * sizeof(MtResult));
        if (mtCheck(ctx, &h, px.data(), results.get()) != 0) __builtin_trap();
        // Agreement needs one scale on both sides: the context keeps its last table for slope 0.
        if (h.slope != 0) {
            for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i) {
                if (!(tpl->objectEnable >> i & 1u)) continue;
                MtResult direct;
                std::memset(&direct, 0x5A, sizeof direct);
                // mtGetResult range-checks the first count points whatever the shape, so a point or box
                // that loaded may still be refused there; whatever it measures must match.
                const int got = mtGetResult(&h, px.data(), &tpl->objects[i], &direct);
                if (got == -1) continue;
                if (got != 0 || std::memcmp(&direct, &results[1 + i], sizeof direct) != 0) __builtin_trap();
            }
        }
        // Every object, enabled or not, goes through mtGetResult's own checks.
        for (int i = 0; i < SARVIK_MT_MAX_OBJECTS; ++i) {
            auto one = std::make_unique<MtObject>(tpl->objects[i]);
            MtResult r;
            const int got = mtGetResult(&h, px.data(), one.get(), &r);
            if (got != 0 && got != -1 && got != -2) __builtin_trap();
        }
    }
    mtFree(&ctx);
    return 0;
}
