// Files are streamed through one 1 MiB buffer, never loaded whole: moving 32 MiB each way must not grow the
// process by anything near the file's size. The test process is the SDK's only user (the camera runs in its
// own process), so its peak resident size is the SDK's figure.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>

#include "SarvikSDK.h"
#include "temp_dir.h"
#include "transfer_fixture.h"

using namespace transfertest;
using testsupport::TempDir;

namespace {

class TransferMemory : public TransferTest {};

int64_t peak_rss_bytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<int64_t>(u.ru_maxrss) * 1024;
}

constexpr int64_t kFileBytes = 32 * 1048576;
// The buffer, sanitizer shadow and allocator slack stay far below this; a file held whole does not.
constexpr int64_t kGrowthLimitBytes = 12 * 1048576;

}  // namespace

TEST_F(TransferMemory, ThirtyTwoMegabytesEachWayKeepThePeakFarBelowTheFileSize) {
    const int id = start_camera("127.0.3.30");
    ASSERT_GE(id, 0);
    patient();
    TempDir dir;
    write_pattern_file(dir.file("table.cali2"), kFileBytes, 30);

    const int64_t before = peak_rss_bytes();
    ASSERT_EQ(Sarvik_UploadFile(id, dir.file("table.cali2").c_str(), SARVIK_FILE_CALI2), 0);
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("back.cali2").c_str(), SARVIK_FILE_CALI2), 0);
    const int64_t growth = peak_rss_bytes() - before;

    RecordProperty("peak_growth_kib", static_cast<int>(growth / 1024));
    std::printf("peak resident growth while moving 2 x 32 MiB: %lld KiB\n",
                static_cast<long long>(growth / 1024));
    EXPECT_LT(growth, kGrowthLimitBytes);
    EXPECT_TRUE(matches_pattern_file(dir.file("back.cali2"), kFileBytes, 30));
}
