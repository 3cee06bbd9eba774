// Cameras that refuse a transfer, cut it, stall it or garble its answer, and the caller's files afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "temp_dir.h"
#include "transfer_fixture.h"

using namespace transfertest;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_file;

namespace {

class TransferFaults : public TransferTest {};

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// A stalled transfer ends after one receive (or send) time-out; this bound only tells "ended" from "hung".
constexpr double kEndsWithinS = 10.0;

}  // namespace

TEST_F(TransferFaults, RefusedTransfersMoveNoPayloadAndTouchNoFile) {
    TempDir dir;
    const int id =
        start_camera("127.0.3.20", {"--fault-refuse-transfer", "--transfer-log", dir.file("transfers")});
    ASSERT_GE(id, 0);
    write_pattern_file(dir.file("big.gaowen"), 3 * 1048576, 7);
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("big.gaowen").c_str(), SARVIK_FILE_GAOWEN), -2);
    GB28181Block gb{};
    EXPECT_EQ(Sarvik_UploadMem(id, SARVIK_MEM_GB28181, &gb, sizeof gb), -2);

    write_file(dir.file("cam.log"), "kept");
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), -2);
    EXPECT_EQ(read_file(dir.file("cam.log")), "kept");
    int size = sizeof gb;
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, &gb, &size), -2);
    EXPECT_EQ(size, static_cast<int>(sizeof gb));

    stop_cameras();  // flushes and closes the camera's log
    const std::vector<std::string> expected = {
        "upload-file type 11 size 3145728 status -1 moved 0",
        "upload-mem type 2 size 280 status -1 moved 0",
        "download-file type 3 size 0 status -1 moved 0",
        "download-mem type 2 size 0 status -1 moved 0",
    };
    EXPECT_EQ(read_lines(dir.file("transfers")), expected);
    EXPECT_EQ(dir_entries(dir.path()).size(), 3u) << "no temporary leftovers";
}

TEST_F(TransferFaults, ConnectionCutMidPayloadFailsAndLeavesNoFileUnderTheName) {
    TempDir dir;
    const int id = start_camera("127.0.3.21", {"--fault-cut-transfer", "100"});
    ASSERT_GE(id, 0);
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), -97);
    EXPECT_FALSE(file_exists(dir.file("cam.log")));
    write_file(dir.file("old.log"), "yesterday's log");
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("old.log").c_str(), SARVIK_FILE_LOG), -97);
    EXPECT_EQ(read_file(dir.file("old.log")), "yesterday's log")
        << "an older file survives a failed download";
    EXPECT_EQ(dir_entries(dir.path()), std::vector<std::string>{"old.log"});

    std::vector<uint8_t> block(280, 0xcc);
    int size = 280;
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, block.data(), &size), -97);
    EXPECT_EQ(size, 280);

    // The camera reads 100 bytes and drops the connection; more than the socket buffers hold must fail.
    write_pattern_file(dir.file("big.cali"), 16 * 1048576, 8);
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("big.cali").c_str(), SARVIK_FILE_CALI), -98);
}

TEST_F(TransferFaults, DownloadStalledMidPayloadEndsWithinTheReceiveTimeout) {
    TempDir dir;
    const int id = start_camera("127.0.3.22", {"--fault-stall-transfer", "100"});
    ASSERT_GE(id, 0);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), -97);
    EXPECT_LT(seconds_since(t0), kEndsWithinS);
    EXPECT_TRUE(dir_entries(dir.path()).empty());

    uint8_t block[280];
    int size = sizeof block;
    t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, block, &size), -97);
    EXPECT_LT(seconds_since(t0), kEndsWithinS);
    EXPECT_EQ(size, 280);
}

TEST_F(TransferFaults, UploadStalledMidPayloadEndsWithinTheSendTimeout) {
    TempDir dir;
    const int id = start_camera("127.0.3.23", {"--fault-stall-transfer", "1048576"});
    ASSERT_GE(id, 0);
    write_pattern_file(dir.file("big.cali"), 32 * 1048576, 9);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("big.cali").c_str(), SARVIK_FILE_CALI), -98);
    EXPECT_LT(seconds_since(t0), kEndsWithinS);
}

TEST_F(TransferFaults, AnswersInPiecesAreReadWhole) {
    TempDir dir;
    const int id = start_camera("127.0.3.24", {"--fault-split"});
    ASSERT_GE(id, 0);
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), 0);
    EXPECT_GT(file_size(dir.file("cam.log")), 0);
    GB28181Block gb{};
    int size = sizeof gb;
    EXPECT_EQ(Sarvik_DownloadMem(id, SARVIK_MEM_GB28181, &gb, &size), 0);
    EXPECT_EQ(gb.headVersion, 20230222);
    EXPECT_EQ(Sarvik_UploadMem(id, SARVIK_MEM_GB28181, &gb, sizeof gb), 0);
}

TEST_F(TransferFaults, CameraGoneAfterLoginIsAConnectFailure) {
    TempDir dir;
    const int id = start_camera("127.0.3.26");
    ASSERT_GE(id, 0);
    stop_cameras();
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), -99);
    EXPECT_FALSE(file_exists(dir.file("cam.log")));
    write_file(dir.file("x.bin"), "x");
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("x.bin").c_str(), SARVIK_FILE_BIN), -99);
}
