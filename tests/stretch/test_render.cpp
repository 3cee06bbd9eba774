// The three outputs of a frame: their relations to each other, argument checks, and golden checksums that pin
// every render mode byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "stretch_test_util.h"

using namespace stretchtest;

namespace {

constexpr int kW = 160, kH = 120;

struct Outputs {
    std::vector<uint8_t> gray;
    std::vector<uint32_t> bgra;
    std::vector<uint8_t> p0, p1, p2;
};

// Renders the same frame sequence to all three outputs with three contexts of identical settings.
Outputs render_all(const _strech_control &ctl, const std::vector<std::vector<int16_t>> &frames,
                   const _DataFrameHeader &h, const std::vector<uint32_t> &palette) {
    Context a = make_context(), b = make_context(), c = make_context();
    for (StretchContext *x : {a.get(), b.get(), c.get()}) set_image(x, ctl);
    const size_t n = static_cast<size_t>(h.width) * h.height;
    Outputs o{std::vector<uint8_t>(n), std::vector<uint32_t>(n), std::vector<uint8_t>(n),
              std::vector<uint8_t>(n), std::vector<uint8_t>(n)};
    for (const auto &f : frames) {
        EXPECT_EQ(strTemp2Gray(a.get(), f.data(), &h, o.gray.data()), 0);
        EXPECT_EQ(strTemp2Bgra(b.get(), f.data(), &h, o.bgra.data(), palette.data()), 0);
        EXPECT_EQ(strTemp2Yuv(c.get(), f.data(), &h, o.p0.data(), o.p1.data(), o.p2.data(),
                              reinterpret_cast<const uint8_t *>(palette.data())),
                  0);
    }
    return o;
}

struct Mode {
    const char *name;
    _strech_control ctl;
    int slope;
    int kind;
};

std::vector<Mode> modes() {
    std::vector<Mode> out;
    auto base = [] {
        _strech_control c = control(SARVIK_STRECH_ALL);
        c.strechType = 1;
        c.gain = 2.0f;
        c.man_temp0 = 200;
        c.man_temp1 = 400;
        return c;
    };
    _strech_control c = base();
    out.push_back({"adaptive_s100", c, 100, 2});
    out.push_back({"adaptive_s10", c, 10, 2});
    c.gain = 6.5f;
    c.temp2gray = 35;
    out.push_back({"adaptive_gain_t2g", c, 100, 2});
    c = base();
    c.man_enable = 1;
    c.man_temp0 = 250;
    c.man_temp1 = 380;
    out.push_back({"adaptive_manual", c, 100, 2});
    c = base();
    c.strechType = 2;
    out.push_back({"linear", c, 100, 2});
    c.man_enable = 1;
    out.push_back({"linear_manual", c, 100, 2});
    c = base();
    out.push_back({"raw", c, 10, 0});
    c.ddeLevel = 4;
    out.push_back({"dde4_s100", c, 100, 2});
    out.push_back({"dde4_s10", c, 10, 2});
    c.ddeLevel = 8;
    c.strechType = 2;
    out.push_back({"dde8_linear", c, 100, 2});
    c = base();
    c.ct_type = 4;
    c.ct_temp0 = 220;
    c.ct_temp1 = 350;
    c.ct_color0 = 0xFF2060FFu;
    c.ct_color1 = 0xFFFF3010u;
    out.push_back({"marking_outside", c, 100, 2});
    c.ddeLevel = 3;
    out.push_back({"marking_dde3", c, 100, 2});
    return out;
}

struct Golden {
    const char *name;
    uint64_t gray, bgra;
};

// Checksums (FNV-1a, 64 bits) of the outputs of the third frame of the scene sequence.
const Golden kGolden[] = {
    {"adaptive_s100", 0x867769a5dcd095ceull, 0x7bfd9d14c3abc6abull},
    {"adaptive_s10", 0x8b50a018de29e348ull, 0xd11e5677a43c1debull},
    {"adaptive_gain_t2g", 0x0a15cb6c26d3663eull, 0x59c6b550ba9c2731ull},
    {"adaptive_manual", 0x601da477abc38922ull, 0x5683113e9bb04ba1ull},
    {"linear", 0x8176d626928649b4ull, 0x40661754f6e6b976ull},
    {"linear_manual", 0xc75a7a0cc2ac5bf3ull, 0x953493c6936aba88ull},
    {"raw", 0x7358a47202e58257ull, 0x0dc699c7a5f99fe3ull},
    {"dde4_s100", 0x0ef773ba8ce782f7ull, 0x4459496f642d117cull},
    {"dde4_s10", 0x4126a86d09efe453ull, 0xb0d43c3edf26c0c3ull},
    {"dde8_linear", 0xaebc23a42e831cbbull, 0x4072439fea69fddeull},
    {"marking_outside", 0x867769a5dcd095ceull, 0xe5ba9c194443e8afull},
    {"marking_dde3", 0xd43ba12cdee13c21ull, 0x25a093fb65915307ull},
};

}  // namespace

TEST(Render, GoldenChecksumsOfEveryMode) {
    const auto palette = ironbow();
    const auto ms = modes();
    ASSERT_EQ(ms.size(), std::size(kGolden));
    for (size_t i = 0; i < ms.size(); ++i) {
        const Mode &m = ms[i];
        const _DataFrameHeader h = header(kW, kH, m.slope, 0, m.kind);
        // Three frames, so that the smoothing of the adaptive stretch takes part.
        const std::vector<std::vector<int16_t>> frames = {
            scene(kW, kH, m.slope, 0, 1), scene(kW, kH, m.slope, 0, 2), scene(kW, kH, m.slope, 0, 3)};
        const Outputs o = render_all(m.ctl, frames, h, palette);
        const uint64_t g = fnv1a(o.gray.data(), o.gray.size());
        const uint64_t b = fnv1a(o.bgra.data(), o.bgra.size() * 4);
        EXPECT_EQ(kGolden[i].gray, g) << m.name;
        EXPECT_EQ(kGolden[i].bgra, b) << m.name;
        if (kGolden[i].gray != g || kGolden[i].bgra != b)
            std::printf("    {\"%s\", 0x%016llxull, 0x%016llxull},\n", m.name,
                        static_cast<unsigned long long>(g), static_cast<unsigned long long>(b));
    }
}

TEST(Render, BgraAndYuvAgreeWithGray) {
    const auto palette = ironbow();
    for (const Mode &m : modes()) {
        const _DataFrameHeader h = header(kW, kH, m.slope, 0, m.kind);
        const Outputs o = render_all(m.ctl, {scene(kW, kH, m.slope)}, h, palette);
        for (size_t i = 0; i < o.gray.size(); ++i) {
            const uint32_t c = o.bgra[i];
            if (m.ctl.ct_type == 0) {
                ASSERT_EQ(c, palette[o.gray[i]]) << m.name << " " << i;
            }
            ASSERT_EQ(o.p0[i], c & 0xFF) << m.name << " " << i;
            ASSERT_EQ(o.p1[i], (c >> 8) & 0xFF) << m.name << " " << i;
            ASSERT_EQ(o.p2[i], (c >> 16) & 0xFF) << m.name << " " << i;
        }
    }
}

TEST(Render, NullArgumentsAndEmptyFrames) {
    Context c = make_context();
    const auto palette = ironbow();
    std::vector<int16_t> data(16, 100);
    std::vector<uint8_t> g(16);
    std::vector<uint32_t> img(16);
    _DataFrameHeader h = header(4, 4, 10);
    EXPECT_EQ(strTemp2Gray(nullptr, data.data(), &h, g.data()), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strTemp2Gray(c.get(), nullptr, &h, g.data()), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strTemp2Gray(c.get(), data.data(), nullptr, g.data()), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strTemp2Gray(c.get(), data.data(), &h, nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strTemp2Bgra(c.get(), data.data(), &h, img.data(), nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(strTemp2Yuv(c.get(), data.data(), &h, g.data(), nullptr, g.data(),
                          reinterpret_cast<const uint8_t *>(palette.data())),
              SARVIK_ERR_INVALID_ARG);
    h.width = 0;
    g.assign(16, 0xEE);
    EXPECT_EQ(strTemp2Gray(c.get(), data.data(), &h, g.data()), 0);
    EXPECT_EQ(g, std::vector<uint8_t>(16, 0xEE)) << "an empty frame writes nothing";
}

TEST(Render, ExtremeSamplesStayInTheirTables) {
    // Both ends of the sample range at once, in every mode: ASan watches the table accesses.
    const auto palette = ironbow();
    std::vector<int16_t> data(48 * 40);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (i % 3 == 0) ? -32768 : (i % 3 == 1) ? 32767 : 0;
    for (const Mode &m : modes()) {
        const _DataFrameHeader h = header(48, 40, m.slope, -273, m.kind);
        const Outputs o = render_all(m.ctl, {data, data}, h, palette);
        EXPECT_EQ(o.gray.size(), data.size());
    }
}
