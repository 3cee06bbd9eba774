// Typed memory blocks to and from virtual cameras through the public interface.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SarvikSDK.h"
#include "transfer_fixture.h"

using namespace transfertest;

namespace {

class MemTransfer : public TransferTest {};

template <typename Block>
int download_block(int id, int type, Block *out) {
    int size = sizeof(Block);
    const int ret = Sarvik_DownloadMem(id, type, out, &size);
    if (ret == 0) {
        EXPECT_EQ(size, static_cast<int>(sizeof(Block))) << "memory type " << type;
    }
    return ret;
}

template <typename T>
bool ascending(const T *v, int n, int stride = 1) {
    for (int i = 1; i < n; ++i)
        if (!(v[(i - 1) * stride] < v[i * stride])) return false;
    return true;
}

// The rules a camera applies to the fix-distance tables.
bool valid_fix_distance(const FixDistBlock &b) {
    if (b.distCount < 0 || b.distCount > 5 || b.bbCount < 2 || b.bbCount > 10) return false;
    if (!ascending(b.distances, b.distCount)) return false;
    for (int d = 0; d < b.distCount; ++d)
        if (!ascending(&b.pairs[d][0].bb, b.bbCount, 2) || !ascending(&b.pairs[d][0].mea, b.bbCount, 2))
            return false;
    return true;
}

// The rules of the close-range lens tables (entries are 12 bytes: three floats apart).
bool valid_close_lens(const CloseRangeLensBlock &b) {
    if (b.len1_env_count > 4 || b.len1_bb_count > 16 || b.len2_bb_count > 16) return false;
    if (!ascending(b.len1_shell_array, b.len1_env_count)) return false;
    for (int g = 0; g < b.len1_env_count; ++g)
        if (!ascending(&b.len1_bb_array[g][0].bb, b.len1_bb_count, 3) ||
            !ascending(&b.len1_bb_array[g][0].mea, b.len1_bb_count, 3))
            return false;
    return ascending(&b.len2_bb_array[0].bb, b.len2_bb_count, 3) &&
           ascending(&b.len2_bb_array[0].mea, b.len2_bb_count, 3);
}

}  // namespace

TEST_F(MemTransfer, FactoryBlocksHaveTheirSizesAndValidLayouts) {
    const int id = start_camera("127.0.3.10");
    ASSERT_GE(id, 0);

    GB28181Block gb{};
    ASSERT_EQ(download_block(id, SARVIK_MEM_GB28181, &gb), 0);
    EXPECT_EQ(gb.headVersion, 20230222);
    EXPECT_EQ(std::strlen(gb.deviceId), 20u) << "a 20-digit GB/T 28181 code";
    EXPECT_GT(gb.serverPort, 0);
    EXPECT_GT(gb.keepAliveInterval, 0);

    for (int type : {SARVIK_MEM_CUST_1, SARVIK_MEM_CUST_2}) {
        CustPointBlock c{};
        ASSERT_EQ(download_block(id, type, &c), 0);
        EXPECT_GE(c.itemCount, 0);
        EXPECT_LE(c.itemCount, 16);
        EXPECT_TRUE(ascending(&c.items[0].bb, c.itemCount, 6)) << type;
        EXPECT_EQ(c.note[sizeof c.note - 1], '\0');
    }

    CloseRangeLensBlock lens{};
    ASSERT_EQ(download_block(id, SARVIK_MEM_CLOSE_LENS, &lens), 0);
    EXPECT_EQ(lens.stamp, SARVIK_CLOSE_LENS_STAMP);
    EXPECT_GE(lens.cali_mode, 1);
    EXPECT_LE(lens.cali_mode, 3);
    EXPECT_TRUE(valid_close_lens(lens));

    FixDistBlock fix{};
    ASSERT_EQ(download_block(id, SARVIK_MEM_FIX_DIST, &fix), 0);
    EXPECT_TRUE(valid_fix_distance(fix));
}

TEST_F(MemTransfer, UploadReplacesABlockOnlyWhenItHasTheBlocksSize) {
    const int id = start_camera("127.0.3.11");
    ASSERT_GE(id, 0);
    FixDistBlock fix{};
    ASSERT_EQ(download_block(id, SARVIK_MEM_FIX_DIST, &fix), 0);
    fix.distances[1] = 25;
    fix.reserved_692[3] = 0x5a;  // bytes the camera does not interpret still come back
    ASSERT_EQ(Sarvik_UploadMem(id, SARVIK_MEM_FIX_DIST, &fix, sizeof fix), 0);
    FixDistBlock back{};
    ASSERT_EQ(download_block(id, SARVIK_MEM_FIX_DIST, &back), 0);
    EXPECT_EQ(0, std::memcmp(&fix, &back, sizeof fix));

    EXPECT_EQ(Sarvik_UploadMem(id, SARVIK_MEM_FIX_DIST, &fix, sizeof fix - 1), -2);
    EXPECT_EQ(Sarvik_UploadMem(id, 99, &fix, sizeof fix), -2) << "unknown memory type";
    ASSERT_EQ(download_block(id, SARVIK_MEM_FIX_DIST, &back), 0);
    EXPECT_EQ(0, std::memcmp(&fix, &back, sizeof fix)) << "a refused upload changes nothing";
}

TEST_F(MemTransfer, BlockLargerThanTheBufferGivesMinus5AndLeavesTheCapacity) {
    const int id = start_camera("127.0.3.12");
    ASSERT_GE(id, 0);
    std::vector<uint8_t> buf(280, 0xcc);
    int size = 100;
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, buf.data(), &size), -5);
    EXPECT_EQ(size, 100);
    EXPECT_EQ(std::vector<uint8_t>(280, 0xcc), buf) << "nothing of the block was read";

    // The camera is none the worse: the next download with room for the block succeeds.
    size = 280;
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, buf.data(), &size), 0);
    EXPECT_EQ(size, 280);
}

TEST_F(MemTransfer, UnknownTypeIsRefusedAndTheSizeStays) {
    const int id = start_camera("127.0.3.13");
    ASSERT_GE(id, 0);
    uint8_t buf[64];
    int size = sizeof buf;
    EXPECT_EQ(Sarvik_DownloadMem(id, 6, buf, &size), -2);
    EXPECT_EQ(size, 64);
}

TEST_F(MemTransfer, ArgumentsAreCheckedBeforeAnythingIsSent) {
    uint8_t buf[16] = {0};
    int size = -1;
    EXPECT_EQ(Sarvik_DownloadMem(0, 2, buf, &size), -8);
    EXPECT_EQ(Sarvik_DownloadMem(0, 2, buf, nullptr), -8);
    size = 16;
    EXPECT_EQ(Sarvik_DownloadMem(0, 2, nullptr, &size), -8);
    EXPECT_EQ(Sarvik_UploadMem(0, 2, buf, -1), -8);
    EXPECT_EQ(Sarvik_UploadMem(0, 2, nullptr, 16), -8);
    EXPECT_EQ(Sarvik_UploadMem(0, 2, buf, 16), -10) << "valid arguments, no session";
    EXPECT_EQ(Sarvik_DownloadMem(300, 2, buf, &size), -10);
    EXPECT_EQ(size, 16);
}
