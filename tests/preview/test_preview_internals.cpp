// Transforms sample by sample, the ring's slot order, and the handoff queue's blocking and closing.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "../../sdk/Preview/data_frame.h"
#include "../../sdk/Preview/frame_handoff.h"
#include "../../sdk/Preview/temp_preview_input.h"

using namespace sarvik;

namespace {

// A 4 x 3 frame whose sample at column x, row y is 10 y + x.
struct TestFrame {
    TestFrame() {
        EXPECT_EQ(data_frame_alloc(&f, 4, 3), 0);
        f.header->width = 4;
        f.header->height = 3;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) f.data[y * 4 + x] = static_cast<int16_t>(10 * y + x);
    }
    ~TestFrame() { data_frame_free(&f); }
    int16_t at(int x, int y) const { return f.data[y * f.header->width + x]; }
    _DataFrame f{};
};

}  // namespace

TEST(PreviewTransform, EveryTypeMovesEachSampleWhereItBelongs) {
    for (int t = 0; t <= 5; ++t) {
        TestFrame fr;
        temp_preview_transform(&fr.f, t);
        const bool swap = t == 1 || t == 3;
        ASSERT_EQ(fr.f.header->width, swap ? 3 : 4) << t;
        ASSERT_EQ(fr.f.header->height, swap ? 4 : 3) << t;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const int16_t v = static_cast<int16_t>(10 * y + x);
                switch (t) {
                    case 0:
                        EXPECT_EQ(fr.at(x, y), v);
                        break;
                    case 1:
                        EXPECT_EQ(fr.at(3 - 1 - y, x), v) << "clockwise";
                        break;
                    case 2:
                        EXPECT_EQ(fr.at(4 - 1 - x, 3 - 1 - y), v);
                        break;
                    case 3:
                        EXPECT_EQ(fr.at(y, 4 - 1 - x), v) << "counter-clockwise";
                        break;
                    case 4:
                        EXPECT_EQ(fr.at(4 - 1 - x, y), v);
                        break;
                    case 5:
                        EXPECT_EQ(fr.at(x, 3 - 1 - y), v);
                        break;
                }
            }
    }
}

TEST(PreviewRing, SlotsComeRoundInOrderAndUncommittedSlotsAreReused) {
    FrameRing ring;
    ASSERT_EQ(frame_ring_alloc(&ring, kRingSlots, 8, 8), 0);
    _DataFrame *first = frame_ring_take(&ring);
    EXPECT_EQ(frame_ring_take(&ring), first) << "not committed: the same slot again";
    std::vector<_DataFrame *> seen;
    for (int i = 0; i < kRingSlots; ++i) {
        seen.push_back(frame_ring_take(&ring));
        frame_ring_commit(&ring);
        EXPECT_EQ(ring.newest, seen.back());
        if (i > 0) {
            EXPECT_EQ(ring.newest->previous, seen[i - 1]);
        }
    }
    for (int i = 0; i < kRingSlots; ++i)
        for (int j = i + 1; j < kRingSlots; ++j) EXPECT_NE(seen[i], seen[j]);
    // After 15 further frames the 16th write lands on the oldest.
    EXPECT_EQ(frame_ring_take(&ring), seen[0]);
    frame_ring_free(&ring);
}

TEST(PreviewHandoff, PushWaitsWhileFullAndCloseReleasesBothSides) {
    FrameHandoff q;
    ASSERT_EQ(frame_handoff_init(&q), 0);
    _DataFrame frames[kHandoffCapacity + 1];
    for (int i = 0; i < kHandoffCapacity; ++i) ASSERT_TRUE(frame_handoff_push(&q, &frames[i]));
    std::atomic<bool> pushed{false};
    std::thread t([&] {
        EXPECT_TRUE(frame_handoff_push(&q, &frames[kHandoffCapacity]));
        pushed = true;
    });
    EXPECT_EQ(frame_handoff_pop(&q), &frames[0]);
    t.join();
    EXPECT_TRUE(pushed.load());
    for (int i = 1; i <= kHandoffCapacity; ++i) EXPECT_EQ(frame_handoff_pop(&q), &frames[i]) << "FIFO";
    std::thread waiter([&] { EXPECT_EQ(frame_handoff_pop(&q), nullptr); });
    frame_handoff_close(&q);
    waiter.join();
    EXPECT_FALSE(frame_handoff_push(&q, &frames[0]));
    frame_handoff_destroy(&q);
}
