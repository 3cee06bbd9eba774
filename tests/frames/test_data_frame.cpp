// The frame slot: one block per slot, its parts in the fixed order and sizes, and the frame time stamp.
#include <gtest/gtest.h>

#include <cstring>

#include "data_frame.h"

using namespace sarvik;

namespace {
ptrdiff_t offset_of(const _DataFrame &f, const void *p) {
    return static_cast<const uint8_t *>(p) - reinterpret_cast<const uint8_t *>(f.header);
}
}  // namespace

TEST(DataFrameSlot, BlockIsEightBytesPerPixelPlusHeaderAndExtra) {
    EXPECT_EQ(data_frame_block_size(384, 288), 8u * 384 * 288 + 16512);
    EXPECT_EQ(data_frame_block_size(1, 1), 8u + 16512);
    // Computed in size_t: the largest frame does not wrap.
    EXPECT_EQ(data_frame_block_size(65535, 65535), 8ull * 65535 * 65535 + 16512);
}

TEST(DataFrameSlot, PartsFollowEachOtherInOneBlock) {
    _DataFrame f;
    ASSERT_EQ(data_frame_alloc(&f, 640, 512), 0);
    const ptrdiff_t n = 640 * 512;
    EXPECT_EQ(offset_of(f, f.data), 128);
    EXPECT_EQ(offset_of(f, f.scratch), 128 + 2 * n);
    EXPECT_EQ(offset_of(f, f.image), 128 + 4 * n);
    EXPECT_EQ(offset_of(f, f.extra), 128 + 8 * n);
    EXPECT_EQ(f.previous, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(f.image) % 4, 0u);
    // Zero-filled, and every byte up to the end of the extra block is ours to write.
    EXPECT_EQ(f.header->width, 0);
    EXPECT_EQ(f.extra[0], 0);
    std::memset(f.header, 0xab, data_frame_block_size(640, 512));
    data_frame_free(&f);
    EXPECT_EQ(f.header, nullptr);
    EXPECT_EQ(f.data, nullptr);
    EXPECT_EQ(f.extra, nullptr);
}

TEST(DataFrameSlot, ZeroSizeIsRefusedAndFreeingNothingIsHarmless) {
    _DataFrame f;
    EXPECT_EQ(data_frame_alloc(&f, 0, 288), -8);
    EXPECT_EQ(f.header, nullptr);
    data_frame_free(&f);
    data_frame_free(nullptr);
}

TEST(DataFrameTime, CameraTicksConvertToTheSdkEpoch) {
    _DataFrameHeader h{};
    h.timestamp = 10000000;  // 1970-01-01 00:00:01 UTC
    EXPECT_EQ(data_frame_time_win64(&h), 116444736010000000LL);
}
