// Delta-run decoding: exact samples from hand-built payloads, and every bound that keeps a hostile payload
// inside its buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "delta_run.h"
#include "delta_run_encode.h"

using namespace sarvik;
using frametest::put_i16;
using frametest::put_i32;

namespace {

using Bytes = std::vector<uint8_t>;

struct TestRun {  // one run as the camera writes it
    int16_t first;
    std::vector<int8_t> diffs;
};

// Payload with the given A; B is the real length unless forced.
Bytes payload(int32_t a, const std::vector<TestRun> &runs, int32_t forcedB = 0) {
    Bytes out;
    put_i32(out, a);
    put_i32(out, 0);
    for (const TestRun &r : runs) {
        put_i16(out, r.first);
        put_i32(out, static_cast<int32_t>(r.diffs.size()));
        for (int8_t d : r.diffs) out.push_back(static_cast<uint8_t>(d));
    }
    const int32_t b = forcedB ? forcedB : static_cast<int32_t>(out.size());
    std::memcpy(out.data() + 4, &b, 4);
    return out;
}

// Output with guard samples around it, so a write past either end shows.
struct GuardedOut {
    explicit GuardedOut(size_t n) : buf(n + 2 * kGuard, kMark) {}
    int16_t *data() { return buf.data() + kGuard; }
    std::vector<int16_t> samples(size_t n) const { return {buf.begin() + kGuard, buf.begin() + kGuard + n}; }
    bool guards_intact(size_t n) const {
        for (size_t i = 0; i < kGuard; ++i)
            if (buf[i] != kMark || buf[kGuard + n + i] != kMark) return false;
        return true;
    }
    static constexpr size_t kGuard = 16;
    static constexpr int16_t kMark = 0x5a5a;
    std::vector<int16_t> buf;
};

int decode(const Bytes &p, GuardedOut &out, size_t capacity, size_t *decoded = nullptr) {
    return delta_run_decode(p.data(), p.size(), out.data(), capacity, decoded);
}

}  // namespace

TEST(DeltaRunDecode, RunsYieldFirstSampleThenRunningSums) {
    // B = 8 + 9 + 8 + 6 = 31, A = 32: up to 16 samples.
    const Bytes p = payload(32, {{100, {1, -2, 127}}, {-5, {-128, 3}}, {7, {}}});
    GuardedOut out(16);
    size_t decoded = 0;
    ASSERT_EQ(decode(p, out, 16, &decoded), 0);
    EXPECT_EQ(decoded, 8u);
    EXPECT_EQ(out.samples(8), (std::vector<int16_t>{100, 101, 99, 226, -5, -133, -130, 7}));
    EXPECT_TRUE(out.guards_intact(16));
}

TEST(DeltaRunDecode, DifferencesWrapAroundSixteenBits) {
    const Bytes p = payload(26, {{32767, {1, -1, -1}}, {-32768, {-1, 1}}});
    GuardedOut out(13);
    ASSERT_EQ(decode(p, out, 13), 0);
    EXPECT_EQ(out.samples(7), (std::vector<int16_t>{32767, -32768, 32767, 32766, -32768, 32767, -32768}));
}

TEST(DeltaRunDecode, RunWithNoDifferencesGivesExactlyOneSample) {
    const Bytes p = payload(14, {{-1234, {}}});  // B = 14: the smallest payload
    ASSERT_EQ(p.size(), 14u);
    GuardedOut out(7);
    size_t decoded = 0;
    ASSERT_EQ(decode(p, out, 7, &decoded), 0);
    EXPECT_EQ(decoded, 1u);
    std::vector<int16_t> expected(7, GuardedOut::kMark);
    expected[0] = -1234;
    EXPECT_EQ(out.samples(7), expected);
    EXPECT_TRUE(out.guards_intact(7));
}

TEST(DeltaRunDecode, EncoderRoundTripOverAWholeFrame) {
    std::vector<int16_t> samples(97 * 13);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>((i * 37 % 500) - 250 + ((i / 50) % 2 ? 9000 : 0));
    const Bytes p = frametest::delta_run_encode(samples, 11);
    GuardedOut out(samples.size());
    size_t decoded = 0;
    ASSERT_EQ(decode(p, out, samples.size(), &decoded), 0);
    EXPECT_EQ(decoded, samples.size());
    EXPECT_EQ(out.samples(samples.size()), samples);
    EXPECT_TRUE(out.guards_intact(samples.size()));
}

TEST(DeltaRunBounds, HeaderSizesOutOfOrderAreRejected) {
    GuardedOut out(64);
    // B below 14, even when the runs would fit.
    EXPECT_EQ(decode(payload(20, {{1, {}}}, 13), out, 64), -11);
    EXPECT_EQ(decode(payload(20, {{1, {}}}, -14), out, 64), -11);
    // A below B.
    EXPECT_EQ(decode(payload(15, {{1, {1, 1}}}), out, 64), -11);
    EXPECT_EQ(decode(payload(-2, {{1, {}}}), out, 64), -11);
    // Not even the 8 header bytes.
    const Bytes whole = payload(14, {{1, {}}});
    EXPECT_EQ(delta_run_decode(whole.data(), 7, out.data(), 64, nullptr), -11);
    EXPECT_EQ(delta_run_decode(nullptr, 14, out.data(), 64, nullptr), -11);
    EXPECT_EQ(out.samples(64), std::vector<int16_t>(64, GuardedOut::kMark));
    EXPECT_TRUE(out.guards_intact(64));
}

TEST(DeltaRunBounds, EncodedLengthBeyondTheBytesReceivedIsRejected) {
    const Bytes p = payload(64, {{1, {1, 2, 3, 4, 5, 6}}, {9, {}}});
    GuardedOut out(32);
    // Every byte but the last is at hand: B promises one more.
    EXPECT_EQ(delta_run_decode(p.data(), p.size() - 1, out.data(), 32, nullptr), -11);
    EXPECT_EQ(delta_run_decode(p.data(), p.size(), out.data(), 32, nullptr), 0);
    // B larger than the payload, with the bytes after it belonging to someone else.
    Bytes longer = payload(64, {{1, {1}}}, 30);
    longer.resize(20);
    EXPECT_EQ(delta_run_decode(longer.data(), longer.size(), out.data(), 32, nullptr), -11);
}

TEST(DeltaRunBounds, RunsMustEndExactlyAtB) {
    GuardedOut out(64);
    // The last run's differences cross B.
    EXPECT_EQ(decode(payload(64, {{1, {1, 2, 3}}}, 16), out, 64), -11);
    // Bytes left before B that cannot hold a run header.
    Bytes p = payload(64, {{1, {}}});
    p.insert(p.end(), {0, 0, 0, 0, 0});
    const int32_t b = static_cast<int32_t>(p.size());
    std::memcpy(p.data() + 4, &b, 4);
    EXPECT_EQ(decode(p, out, 64), -11);
    // A negative run length (the second run's N, at offset 8 + 6 + 2).
    Bytes neg = payload(64, {{1, {}}, {2, {}}});
    const int32_t minusOne = -1;
    std::memcpy(neg.data() + 16, &minusOne, 4);
    EXPECT_EQ(decode(neg, out, 64), -11);
    EXPECT_TRUE(out.guards_intact(64));
}

TEST(DeltaRunBounds, MoreSamplesThanAOverTwoAreRejectedBeforeWriting) {
    // One run of 21 samples: B = 8 + 6 + 20 = 34. A = 40 allows 20, A = 42 allows 21.
    const TestRun run21{1, std::vector<int8_t>(20, 1)};
    GuardedOut out(32);
    EXPECT_EQ(decode(payload(40, {run21}), out, 32), -11);
    EXPECT_EQ(out.samples(32), std::vector<int16_t>(32, GuardedOut::kMark)) << "the run was refused unwritten";
    size_t decoded = 0;
    EXPECT_EQ(decode(payload(42, {run21}), out, 32, &decoded), 0);
    EXPECT_EQ(decoded, 21u);

    // A second run of 6 samples (B = 45) passes 26 = 52 / 2 but not 27 = 54 / 2.
    const TestRun run6{5, std::vector<int8_t>(5, 1)};
    GuardedOut out2(32);
    EXPECT_EQ(decode(payload(52, {run21, run6}), out2, 32), -11);
    EXPECT_EQ(out2.samples(32)[20], 21) << "the first run is written";
    EXPECT_EQ(out2.samples(32)[21], GuardedOut::kMark) << "the second is not";
    EXPECT_EQ(decode(payload(54, {run21, run6}), out2, 32, &decoded), 0);
    EXPECT_EQ(decoded, 27u);
    EXPECT_TRUE(out2.guards_intact(32));
}

TEST(DeltaRunBounds, DecodedSizeBeyondTheOutputBufferIsRejected) {
    // A claims 32 samples; the buffer holds 8. Nothing may be written past it, whatever the runs hold.
    const Bytes p = payload(64, {{1, std::vector<int8_t>(20, 1)}});
    GuardedOut out(8);
    EXPECT_EQ(decode(p, out, 8), -11);
    EXPECT_TRUE(out.guards_intact(8));
    EXPECT_EQ(out.samples(8), std::vector<int16_t>(8, GuardedOut::kMark));
}

TEST(DeltaRunFrame, WholeFrameDecodesAndTheHeaderThenDescribesRawSamples) {
    _DataFrameHeader h{};
    h.width = 8;
    h.height = 4;
    std::vector<int16_t> samples(32);
    for (int i = 0; i < 16; ++i) samples[i] = static_cast<int16_t>(10 + 3 * i);
    for (int i = 16; i < 32; ++i) samples[i] = static_cast<int16_t>(3000 - 5 * i);
    const Bytes p = frametest::delta_run_encode(samples);
    ASSERT_EQ(p.size(), 8u + 2 * 6 + 30);
    h.encodedLength = static_cast<int32_t>(p.size());
    std::vector<int16_t> data(32, 0);
    ASSERT_EQ(delta_run_decode_frame(&h, p.data(), p.size(), data.data()), 0);
    EXPECT_EQ(data, samples);
    EXPECT_EQ(h.encodedLength, 0);
}

TEST(DeltaRunFrame, PartialFrameIsRejectedAndTheHeaderKept) {
    _DataFrameHeader h{};
    h.width = 8;
    h.height = 4;
    // A announces the whole frame, the runs stop after 31 samples.
    const Bytes p = payload(64, {{1, std::vector<int8_t>(30, 1)}});
    h.encodedLength = static_cast<int32_t>(p.size());
    std::vector<int16_t> data(32, 0);
    EXPECT_EQ(delta_run_decode_frame(&h, p.data(), p.size(), data.data()), -11);
    EXPECT_EQ(h.encodedLength, static_cast<int32_t>(p.size()));
    // A larger than the frame.
    const Bytes big = payload(66, {{1, std::vector<int8_t>(32, 1)}});
    EXPECT_EQ(delta_run_decode_frame(&h, big.data(), big.size(), data.data()), -11);
}
