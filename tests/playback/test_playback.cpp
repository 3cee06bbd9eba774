// Playback of stream, snapshot and single-frame bitmap files through the exported calls.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <unistd.h>

#include "SarvikSDK.h"
#include "frame_filters.h"
#include "playback_test_util.h"
#include "temp_dir.h"

using namespace pbtest;

namespace {

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        pb = SarvikPlayback_Create();
        ASSERT_NE(pb, nullptr);
    }
    void TearDown() override {
        SarvikPlayback_Free(&pb);
        EXPECT_EQ(pb, nullptr);
        Sarvik_FreeSDK();
    }
    // Renders frame f of w x h as a fresh view with the playback defaults would.
    std::vector<uint32_t> render_first(int w, int h) {
        StretchContext *ctx = strCreate();
        const _DataFrameHeader hd = make_header(w, h, 0);
        const auto s = make_samples(w, h, 0);
        std::vector<uint32_t> img(static_cast<size_t>(w) * h);
        int count = 0;
        const auto *table = reinterpret_cast<PaletteTable *>(Sarvik_AllocPaletteData(&count));
        EXPECT_EQ(strTemp2Bgra(ctx, s.data(), &hd, img.data(), table->entries[SARVIK_PALETTE_IRONBOW].colors),
                  0);
        char *t = reinterpret_cast<char *>(const_cast<PaletteTable *>(table));
        Sarvik_FreePaletteData(&t);
        strFree(ctx);
        return img;
    }
    void *pb = nullptr;
    testsupport::TempDir dir;
};

}  // namespace

TEST(PlaybackLifetime, CreateNeedsAnInitialisedSdkAndFreeIgnoresNull) {
    EXPECT_EQ(SarvikPlayback_Create(), nullptr);
    SarvikPlayback_Free(nullptr);
    void *none = nullptr;
    SarvikPlayback_Free(&none);
}

TEST_F(Playback, StreamFileOpensAsABitmapShowingItsFirstFrame) {
    const auto cover = render_first(384, 288);
    write_stream(dir.file("ten.stream"), 384, 288, 10, cover.data());
    const std::string bytes = read_all(dir.file("ten.stream"));
    ASSERT_EQ(bytes.size(), 2656704u);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ten.stream").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(c.info->frameCount, 10);
    EXPECT_EQ(c.info->width, 384);
    EXPECT_EQ(c.block, nullptr);
    EXPECT_EQ(c.header, nullptr);
    EXPECT_EQ(c.data, nullptr);
    EXPECT_EQ(c.reserved_32, nullptr);
    ASSERT_EQ(c.imageLength, 4 * 384 * 288 + 64);
    EXPECT_EQ(std::memcmp(c.image, bytes.data(), static_cast<size_t>(c.imageLength)), 0);
    FrameFileBmpHeader bmp;
    std::memcpy(&bmp, c.image, sizeof bmp);
    const int32_t bw = bmp.width, bh = bmp.height, bpp = bmp.bitsPerPixel;  // packed fields, copied out
    EXPECT_EQ(bw, 384);
    EXPECT_EQ(bh, -288);
    EXPECT_EQ(bpp, 32);
    // The first frame played back renders exactly as the cover.
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(std::memcmp(fr.image, c.image + 64, 4 * 384 * 288), 0);
}

TEST_F(Playback, StreamFramesAreReadByIndexAndTheIndexIsBounded) {
    write_stream(dir.file("s"), 80, 60, 7);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    _DataFrame fr;
    for (int i : {6, 0, 3, 5, 1}) {
        ASSERT_EQ(SarvikPlayback_ReadFrame(pb, i, &fr), 0);
        EXPECT_EQ(fr.header->timestamp, 1000 + i);
        EXPECT_EQ(fr.data[2 * 80 + 9], sample_at(i, 9, 2));
        EXPECT_EQ(fr.scratch, nullptr);
        EXPECT_EQ(fr.previous, nullptr);
        EXPECT_NE(fr.extra, nullptr);
    }
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 7, &fr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, -1, &fr), SARVIK_ERR_INVALID_ARG);
}

TEST_F(Playback, FourRotatingSlotsKeepAFrameForFourFurtherReads) {
    write_stream(dir.file("s"), 80, 60, 6);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    _DataFrame fr[6];
    for (int i = 0; i < 6; ++i) ASSERT_EQ(SarvikPlayback_ReadFrame(pb, i, &fr[i]), 0);
    std::set<void *> distinct;
    for (int i = 0; i < 4; ++i) distinct.insert(fr[i].header);
    EXPECT_EQ(distinct.size(), 4u);
    EXPECT_EQ(fr[4].header, fr[0].header);
    EXPECT_EQ(fr[5].image, fr[1].image);
    // Frames 2..5 are intact.
    for (int i = 2; i < 6; ++i) EXPECT_EQ(fr[i].header->timestamp, 1000 + i);
}

TEST_F(Playback, StreamCutAtAnyOffsetOpensUpToItsLastWholeFrame) {
    write_stream(dir.file("full"), 80, 60, 3);
    const std::string full = read_all(dir.file("full"));
    const size_t prefix = 4 * 4800 + 1216, frame = 2 * 4800 + 128;
    std::vector<size_t> cuts;
    for (size_t o = 0; o <= full.size(); o += 331) cuts.push_back(o);
    for (size_t k = 0; k <= 3; ++k)
        for (long d : {-1L, 0L, 1L})
            cuts.push_back(static_cast<size_t>(static_cast<long>(prefix + k * frame) + d));
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        write_all(dir.file("cut"), full.substr(0, cut));
        const int rc = SarvikPlayback_OpenFile(pb, dir.file("cut").c_str(), SARVIK_PLAYBACK_STREAM);
        const long whole = cut < prefix ? 0 : static_cast<long>((cut - prefix) / frame);
        _DataFrame fr;
        if (whole < 1) {
            EXPECT_TRUE(rc == SARVIK_ERR_BAD_FORMAT || rc == SARVIK_ERR_FILE_READ) << rc;
            EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), SARVIK_ERR_STATE);
            continue;
        }
        ASSERT_EQ(rc, 0);
        FrameCover c;
        ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
        EXPECT_EQ(c.info->frameCount, whole);
        for (long i = 0; i < whole; ++i) {
            ASSERT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(i), &fr), 0);
            EXPECT_EQ(fr.data[4799], sample_at(static_cast<int>(i), 79, 59));
        }
        EXPECT_EQ(SarvikPlayback_ReadFrame(pb, static_cast<int>(whole), &fr), SARVIK_ERR_INVALID_ARG);
    }
}

TEST_F(Playback, StreamCutAfterOpeningFailsTheReadInsteadOfHandingOutGarbage) {
    write_stream(dir.file("s"), 80, 60, 3);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    ASSERT_EQ(truncate(dir.file("s").c_str(), 4 * 4800 + 1216 + 2 * (2 * 4800 + 128) + 10), 0);
    _DataFrame fr;
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 1, &fr), 0);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 2, &fr), SARVIK_ERR_FILE_READ);
}

TEST_F(Playback, FrameWhoseHeaderDisagreesWithTheFileIsRefused) {
    write_stream(dir.file("s"), 80, 60, 2);
    std::string b = read_all(dir.file("s"));
    b[4 * 4800 + 1216 + (2 * 4800 + 128)] = 40;  // frame 1 claims width 40
    write_all(dir.file("s"), b);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    _DataFrame fr;
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 1, &fr), SARVIK_ERR_BAD_FORMAT);
    // The same as a single-frame bitmap file: refused at open.
    std::string one = b.substr(0, 4 * 4800 + 1216) + b.substr(4 * 4800 + 1216 + (2 * 4800 + 128));
    write_all(dir.file("one"), one);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("one").c_str(), SARVIK_PLAYBACK_BITMAP),
              SARVIK_ERR_BAD_FORMAT);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), SARVIK_ERR_STATE);
}

TEST_F(Playback, FrameSizeLimitsAcceptSixtyByEightyAndRefuseFortyByEighty) {
    write_stream(dir.file("ok"), 80, 60, 1);
    write_stream(dir.file("small"), 80, 40, 1);
    write_snapshot(dir.file("ok.jpg"), 80, 60, "img");
    write_snapshot(dir.file("small.jpg"), 80, 40, "img");
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ok").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ok").c_str(), SARVIK_PLAYBACK_BITMAP), 0);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("small").c_str(), SARVIK_PLAYBACK_STREAM),
              SARVIK_ERR_REFUSED);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("small").c_str(), SARVIK_PLAYBACK_BITMAP),
              SARVIK_ERR_REFUSED);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ok.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ok.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT_ALT), 0);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("small.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT),
              SARVIK_ERR_REFUSED);
    // A failed open leaves the object empty.
    FrameCover c;
    EXPECT_EQ(SarvikPlayback_ReadCover(pb, &c), SARVIK_ERR_STATE);
}

TEST_F(Playback, OpenRefusesOtherTypesAndMissingFiles) {
    write_stream(dir.file("ok"), 80, 60, 1);
    for (int t : {-1, 3, 5})
        EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("ok").c_str(), t), SARVIK_ERR_REFUSED) << t;
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("none").c_str(), SARVIK_PLAYBACK_STREAM),
              SARVIK_ERR_FILE_OPEN);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("none").c_str(), SARVIK_PLAYBACK_SNAPSHOT),
              SARVIK_ERR_FILE_OPEN);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("none").c_str(), SARVIK_PLAYBACK_BITMAP),
              SARVIK_ERR_FILE_OPEN);
}

// A file cut inside its only frame: the single-frame bitmap reads short, the stream has no whole frame.
TEST_F(Playback, FileCutInsideItsOnlyFrame) {
    write_stream(dir.file("ok"), 80, 60, 1);
    const std::string whole = read_all(dir.file("ok"));
    const size_t prefix = 4 * 4800 + 1216, frame = 2 * 4800 + 128;
    for (size_t cut : {prefix, prefix + 1, prefix + 127, prefix + 128, prefix + frame - 1}) {
        write_all(dir.file("cut"), whole.substr(0, cut));
        EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("cut").c_str(), SARVIK_PLAYBACK_BITMAP),
                  SARVIK_ERR_FILE_READ)
            << cut;
        EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("cut").c_str(), SARVIK_PLAYBACK_STREAM),
                  SARVIK_ERR_BAD_FORMAT)
            << cut;
    }
    write_all(dir.file("cut"), whole);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("cut").c_str(), SARVIK_PLAYBACK_BITMAP), 0);
}

TEST_F(Playback, SnapshotDescribesImageTailAndItsSingleFrame) {
    const std::string jpeg(1000, 'J');
    write_snapshot(dir.file("s.jpg"), 80, 60, jpeg);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    ASSERT_EQ(c.imageLength, 1000);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(c.image), 1000), jpeg);
    EXPECT_EQ(std::string(c.info->cameraId), "R384-TEST");
    EXPECT_EQ(c.header->width, 80);
    EXPECT_EQ(c.data[61], sample_at(0, 61, 0));
    EXPECT_EQ(c.block[0], 0);
    EXPECT_EQ(c.reserved_32, nullptr);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 12345, &fr), 0);  // a single frame ignores the index
    EXPECT_EQ(fr.data[80 * 59 + 3], sample_at(0, 3, 59));
    // Only the tail: image length 0.
    write_snapshot(dir.file("bare"), 80, 60, "");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("bare").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(c.imageLength, 0);
}

TEST_F(Playback, SnapshotImageLongerThanTheImageAreaIsRefused) {
    write_snapshot(dir.file("max"), 80, 60, std::string(SARVIK_PLAYBACK_MAX_IMAGE, 'x'));
    write_snapshot(dir.file("over"), 80, 60, std::string(SARVIK_PLAYBACK_MAX_IMAGE + 1, 'x'));
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("over").c_str(), SARVIK_PLAYBACK_SNAPSHOT),
              SARVIK_ERR_BAD_FORMAT);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("max").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(c.imageLength, SARVIK_PLAYBACK_MAX_IMAGE);
    EXPECT_EQ(c.image[SARVIK_PLAYBACK_MAX_IMAGE - 1], 'x');
}

TEST_F(Playback, SnapshotWhoseTailDisagreesIsRefused) {
    write_snapshot(dir.file("s"), 80, 60, "abc");
    const std::string good = read_all(dir.file("s"));
    std::string b = good;
    b[3 + 8 + 40] = 81;  // record width
    write_all(dir.file("b"), b);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("b").c_str(), SARVIK_PLAYBACK_SNAPSHOT),
              SARVIK_ERR_BAD_FORMAT);
    b = good;
    b[3 + 16520] = 81;  // frame header width
    write_all(dir.file("b"), b);
    EXPECT_EQ(SarvikPlayback_OpenFile(pb, dir.file("b").c_str(), SARVIK_PLAYBACK_SNAPSHOT),
              SARVIK_ERR_BAD_FORMAT);
    // Cut from either end: refused, or (by chance) consistent and then safely readable.
    for (size_t cut = 1; cut < good.size(); cut += 997) {
        write_all(dir.file("c"), good.substr(0, good.size() - cut));
        int rc = SarvikPlayback_OpenFile(pb, dir.file("c").c_str(), SARVIK_PLAYBACK_SNAPSHOT);
        EXPECT_TRUE(rc == SARVIK_ERR_BAD_FORMAT || rc == SARVIK_ERR_FILE_READ || rc == SARVIK_ERR_REFUSED)
            << rc;
        write_all(dir.file("c"), good.substr(cut));
        rc = SarvikPlayback_OpenFile(pb, dir.file("c").c_str(), SARVIK_PLAYBACK_SNAPSHOT);
        EXPECT_TRUE(rc == SARVIK_ERR_BAD_FORMAT || rc == SARVIK_ERR_FILE_READ || rc == SARVIK_ERR_REFUSED ||
                    (rc == 0 && cut <= 3))
            << rc;
    }
}

TEST_F(Playback, ReadAfterCloseIsAStateError) {
    _DataFrame fr;
    FrameCover c;
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), SARVIK_ERR_STATE);
    write_stream(dir.file("s"), 80, 60, 2);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 1, &fr), 0);
    ASSERT_EQ(SarvikPlayback_CloseFile(pb), 0);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), SARVIK_ERR_STATE);
    EXPECT_EQ(SarvikPlayback_ReadCover(pb, &c), SARVIK_ERR_STATE);
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    ASSERT_EQ(SarvikPlayback_CloseFile(pb), 0);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), SARVIK_ERR_STATE);
}

TEST_F(Playback, DefaultsAndSmoothingFollowTheFileKind) {
    _strech_control ctl;
    int pal = -1;
    ASSERT_EQ(SarvikPlayback_GetImage(pb, &ctl, &pal), 0);
    EXPECT_EQ(pal, SARVIK_PALETTE_IRONBOW);
    EXPECT_EQ(ctl.strechType, 1);
    EXPECT_EQ(ctl.reserved_5[0], 50);
    EXPECT_EQ(ctl.reserved_5[1], 50);
    EXPECT_EQ(ctl.smoothing, 0);
    EXPECT_FLOAT_EQ(ctl.gain, 2.0f);
    EXPECT_EQ(ctl.man_temp0, 200);
    EXPECT_EQ(ctl.man_temp1, 400);
    EXPECT_EQ(ctl.man_enable, 0);
    EXPECT_EQ(ctl.ddeLevel, 0);
    write_stream(dir.file("s"), 80, 60, 1);
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    SarvikPlayback_GetImage(pb, &ctl, nullptr);
    EXPECT_NE(ctl.smoothing, 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    SarvikPlayback_GetImage(pb, &ctl, nullptr);
    EXPECT_EQ(ctl.smoothing, 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_BITMAP), 0);
    SarvikPlayback_GetImage(pb, &ctl, nullptr);
    EXPECT_EQ(ctl.smoothing, 0);
}

TEST_F(Playback, SetImageAppliesDetailLevelAndOnlyValidPalettes) {
    _strech_control in{};
    in.flags = SARVIK_STRECH_DDE | SARVIK_STRECH_TYPE;
    in.ddeLevel = 4;
    in.strechType = SARVIK_STRECH_LINEAR;
    int pal = 9;
    ASSERT_EQ(SarvikPlayback_SetImage(pb, &in, &pal), 0);
    _strech_control out;
    int got = -5;
    SarvikPlayback_GetImage(pb, &out, &got);
    EXPECT_EQ(out.ddeLevel, 4);
    EXPECT_EQ(out.strechType, SARVIK_STRECH_LINEAR);
    EXPECT_EQ(got, 9);
    for (int bad : {-1, 12, 1000}) {
        ASSERT_EQ(SarvikPlayback_SetImage(pb, nullptr, &bad), 0);
        SarvikPlayback_GetImage(pb, nullptr, &got);
        EXPECT_EQ(got, 9) << bad;
    }
    // The palette chosen is the one rendered: WhiteHot gives gray pixels.
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    const auto *entries = reinterpret_cast<const PaletteEntry *>(table);
    for (int i = 0; i < 4800; i += 97) {
        bool found = false;
        for (uint32_t col : entries[9].colors) found = found || col == fr.image[i];
        EXPECT_TRUE(found) << i;
    }
    Sarvik_FreePaletteData(&table);
}

TEST_F(Playback, SaveFileWritesASnapshotThatOpensAgain) {
    const std::string jpeg(777, 'q');
    write_snapshot(dir.file("in.jpg"), 80, 60, jpeg);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("in.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    ASSERT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("out.jpg").c_str()), 0);
    EXPECT_EQ(read_all(dir.file("out.jpg")), read_all(dir.file("in.jpg")));
    // A shorter image part (the caller replaced it in place).
    std::memcpy(c.image, "NEW", 3);
    c.imageLength = 3;
    ASSERT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("short.jpg").c_str()), 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("short.jpg").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(c.image), 3), "NEW");
    EXPECT_EQ(c.data[4799], sample_at(0, 79, 59));
}

TEST_F(Playback, SaveFileAfterABitmapLoadWritesAFullTail) {
    write_stream(dir.file("one.bmp"), 80, 60, 1);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("one.bmp").c_str(), SARVIK_PLAYBACK_BITMAP), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(c.imageLength, 4 * 4800 + 64);
    EXPECT_EQ(c.header->timestamp, 1000);
    EXPECT_EQ(c.info->width, 80);
    ASSERT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("snap").c_str()), 0);
    const std::string b = read_all(dir.file("snap"));
    ASSERT_EQ(b.size(), static_cast<size_t>(4 * 4800 + 64 + 2 * 4800 + 16684));
    EXPECT_EQ(b.substr(4 * 4800 + 64 + 4, 4), "teMp");
    EXPECT_EQ(at<int32_t>(b, 4 * 4800 + 64), 2 * 4800 + 16672);
    EXPECT_EQ(at<uint16_t>(b, b.size() - 36), 80);
    EXPECT_EQ(at<uint16_t>(b, b.size() - 34), 60);
    EXPECT_EQ(at<uint32_t>(b, b.size() - 32), 20160901u);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("snap").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(fr.data[123], sample_at(0, 123 % 80, 123 / 80));
    // After a larger file, a bitmap load still frames the tail for its own size.
    write_stream(dir.file("big"), 160, 120, 1);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("big").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("one.bmp").c_str(), SARVIK_PLAYBACK_BITMAP), 0);
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    ASSERT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("snap2").c_str()), 0);
    EXPECT_EQ(read_all(dir.file("snap2")), b);
}

TEST_F(Playback, SaveFileRefusesForeignImagesAndWrongStates) {
    FrameCover c{};
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("x").c_str()), SARVIK_ERR_STATE);
    write_stream(dir.file("s"), 80, 60, 1);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("s").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("x").c_str()), SARVIK_ERR_STATE);
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    FrameCover bad = c;
    uint8_t mine[4] = {};
    bad.image = mine;
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &bad, dir.file("x").c_str()), SARVIK_ERR_REFUSED);
    bad = c;
    bad.imageLength = SARVIK_PLAYBACK_MAX_IMAGE + 1;
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &bad, dir.file("x").c_str()), SARVIK_ERR_REFUSED);
    bad.imageLength = -1;
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &bad, dir.file("x").c_str()), SARVIK_ERR_REFUSED);
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, nullptr, dir.file("x").c_str()), SARVIK_ERR_REFUSED);
    EXPECT_EQ(access(dir.file("x").c_str(), F_OK), -1);
    EXPECT_EQ(SarvikPlayback_SaveFile(pb, &c, dir.file("no/such/dir").c_str()), SARVIK_ERR_FILE_OPEN);
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(SarvikPlayback_SaveFile(pb, &c, "/dev/full"), SARVIK_ERR_FILE_WRITE);
    }
}

TEST_F(Playback, DestripeConfigurationIsPendingUntilTheNextFrame) {
    _DestripInfo cfg{};
    ASSERT_EQ(SarvikPlayback_ConfigDestrip(pb, &cfg, 0), 0);
    EXPECT_EQ(cfg.type, 0);
    EXPECT_EQ(cfg.s0_radius, 5);
    EXPECT_EQ(cfg.s0_regular, 10);
    EXPECT_EQ(cfg.s1_radius, 5);
    EXPECT_EQ(cfg.s1_regular, 10);
    EXPECT_EQ(cfg.sub_y, 4);
    EXPECT_EQ(cfg.sub_t, 1);
    cfg.type = 1;
    EXPECT_EQ(SarvikPlayback_ConfigDestrip(pb, &cfg, 1), SARVIK_ERR_STATE);

    // Column stripes on a flat scene.
    const int w = 80, h = 60;
    FILE *f = std::fopen(dir.file("striped").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const FrameFileInfo info = make_info(w, h);
    ASSERT_EQ(sarvik::stream_write_prefix(f, &info, nullptr), 0);
    std::vector<int16_t> s(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s[y * w + x] = static_cast<int16_t>(2500 + y + ((x * 37) % 11) * 6);
    const _DataFrameHeader hd = make_header(w, h, 0);
    ASSERT_EQ(sarvik::stream_append_frame(f, &hd, s.data()), 0);
    ASSERT_EQ(std::fclose(f), 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("striped").c_str(), SARVIK_PLAYBACK_STREAM), 0);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(std::memcmp(fr.data, s.data(), 2 * s.size()), 0) << "filters off leave the samples";
    ASSERT_EQ(SarvikPlayback_ConfigDestrip(pb, &cfg, 1), 0);
    _DestripInfo now{};
    ASSERT_EQ(SarvikPlayback_ConfigDestrip(pb, &now, 0), 0);
    EXPECT_EQ(now.type, 1);
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    ASSERT_EQ(SarvikPlayback_ConfigDestrip(pb, &now, 0), 0);
    EXPECT_EQ(now.width, w);
    EXPECT_EQ(now.height, h);
    // Exactly what the filter itself makes of the frame in sequence mode.
    sarvik::DestripeFilter *ref = sarvik::destripe_create();
    ASSERT_EQ(sarvik::destripe_configure(ref, &now), 0);
    std::vector<int16_t> expect = s;
    ASSERT_EQ(sarvik::destripe_apply(ref, expect.data(), w, h, 1), 0);
    sarvik::destripe_free(&ref);
    EXPECT_NE(expect, s);
    EXPECT_EQ(std::memcmp(fr.data, expect.data(), 2 * s.size()), 0);
}

TEST_F(Playback, DenoiseConfigurationIsPendingUntilTheNextFrame) {
    _DenoiseInfo cfg{};
    ASSERT_EQ(SarvikPlayback_ConfigDenoise(pb, &cfg, 0), 0);
    EXPECT_EQ(cfg.type, 0);
    EXPECT_EQ(cfg.gf_radius, 5);
    EXPECT_EQ(cfg.gf_regular, 5);
    cfg.type = SARVIK_DENOISE_FULL;
    EXPECT_EQ(SarvikPlayback_ConfigDenoise(pb, &cfg, 1), SARVIK_ERR_STATE);
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    const auto s = make_samples(80, 60, 0);
    EXPECT_EQ(std::memcmp(fr.data, s.data(), 2 * s.size()), 0);
    ASSERT_EQ(SarvikPlayback_ConfigDenoise(pb, &cfg, 1), 0);
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    _DenoiseInfo now{};
    ASSERT_EQ(SarvikPlayback_ConfigDenoise(pb, &now, 0), 0);
    EXPECT_EQ(now.width, 80);
    EXPECT_EQ(now.height, 60);
    sarvik::DenoiseFilter *ref = sarvik::denoise_create();
    ASSERT_EQ(sarvik::denoise_configure(ref, &now), 0);
    std::vector<int16_t> expect = s;
    ASSERT_EQ(sarvik::denoise_apply(ref, expect.data(), 80, 60), 0);
    sarvik::denoise_free(&ref);
    EXPECT_NE(expect, s);
    EXPECT_EQ(std::memcmp(fr.data, expect.data(), 2 * s.size()), 0);
}

TEST_F(Playback, AnyFrameOfATenThousandFrameFileIsReadDirectly) {
    // A sparse file: only the prefix, frame 0 and frame 9999 are written; the frames between are holes of
    // zeros, whose headers do not match. Reading the last frame must not depend on reading those before it.
    const int w = 80, h = 60;
    const std::string path = dir.file("long.stream");
    write_stream(path, w, h, 1);
    FILE *f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fseek(f, static_cast<long>(sarvik::stream_frame_offset(w * h, 9999)), SEEK_SET), 0);
    const _DataFrameHeader hd = make_header(w, h, 9999);
    const auto s = make_samples(w, h, 9999);
    ASSERT_EQ(sarvik::stream_append_frame(f, &hd, s.data()), 0);
    ASSERT_EQ(std::fclose(f), 0);
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, path.c_str(), SARVIK_PLAYBACK_STREAM), 0);
    FrameCover c;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &c), 0);
    EXPECT_EQ(c.info->frameCount, 10000);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 9999, &fr), 0);
    EXPECT_EQ(fr.header->timestamp, 1000 + 9999);
    EXPECT_EQ(fr.data[w * h - 1], sample_at(9999, w - 1, h - 1));
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 5000, &fr), SARVIK_ERR_BAD_FORMAT);
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(fr.header->timestamp, 1000);
    EXPECT_EQ(SarvikPlayback_ReadFrame(pb, 10000, &fr), SARVIK_ERR_INVALID_ARG);
}

TEST_F(Playback, AnObjectKeepsRenderingItsPaletteAfterTheSdkIsReleased) {
    write_snapshot(dir.file("j"), 80, 60, "x");
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, dir.file("j").c_str(), SARVIK_PLAYBACK_SNAPSHOT), 0);
    _DataFrame fr;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    const std::vector<uint32_t> before(fr.image, fr.image + 4800);
    std::memset(fr.image, 0, 4 * 4800);
    Sarvik_FreeSDK();
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &fr), 0);
    EXPECT_EQ(std::vector<uint32_t>(fr.image, fr.image + 4800), before);
    ASSERT_EQ(Sarvik_InitSDK(), 0);
}
