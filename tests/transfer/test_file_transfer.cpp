// Whole files to and from virtual cameras through the public interface.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "SarvikSDK.h"
#include "temp_dir.h"
#include "transfer_fixture.h"
#include "vcam_process.h"

using namespace transfertest;
using testsupport::read_file;
using testsupport::TempDir;
using testsupport::write_file;

namespace {

class FileTransfer : public TransferTest {};

bool has_line(const std::vector<std::string> &lines, const std::string &line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST_F(FileTransfer, EmptyFileGoesOutWithSizeZeroAndComesBackEmpty) {
    TempDir dir;
    const int id = start_camera("127.0.3.1", {"--transfer-log", dir.file("transfers")});
    ASSERT_GE(id, 0);
    write_file(dir.file("empty.gaowen"), "");
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("empty.gaowen").c_str(), SARVIK_FILE_GAOWEN), 0);

    // A download answered with size 0 gives an empty file, also in place of an older one.
    write_file(dir.file("back.gaowen"), "older content");
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("back.gaowen").c_str(), SARVIK_FILE_GAOWEN), 0);
    EXPECT_TRUE(file_exists(dir.file("back.gaowen")));
    EXPECT_EQ(file_size(dir.file("back.gaowen")), 0);

    stop_cameras();  // the camera notes a transfer after the caller is done with it
    auto log = read_lines(dir.file("transfers"));
    EXPECT_TRUE(has_line(log, "upload-file type 11 size 0 status 0 moved 0"));
    EXPECT_TRUE(has_line(log, "download-file type 11 size 0 status 0 moved 0"));
}

TEST_F(FileTransfer, MultiMegabyteFilesStreamBothWaysByteExact) {
    const int id = start_camera("127.0.3.2");
    ASSERT_GE(id, 0);
    patient();
    TempDir dir;
    // Sizes off the 1 MiB buffer boundary on purpose: the last piece is a short one.
    const int64_t first = 5 * 1048576 + 123, second = 3 * 1048576 - 1;
    write_pattern_file(dir.file("a.cali"), first, 1);
    write_pattern_file(dir.file("b.cali"), second, 2);

    ASSERT_EQ(Sarvik_UploadFile(id, dir.file("a.cali").c_str(), SARVIK_FILE_CALI), 0);
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("a-back.cali").c_str(), SARVIK_FILE_CALI), 0);
    EXPECT_TRUE(matches_pattern_file(dir.file("a-back.cali"), first, 1));

    // A second upload of the type replaces the first.
    ASSERT_EQ(Sarvik_UploadFile(id, dir.file("b.cali").c_str(), SARVIK_FILE_CALI), 0);
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("a-back.cali").c_str(), SARVIK_FILE_CALI), 0);
    EXPECT_TRUE(matches_pattern_file(dir.file("a-back.cali"), second, 2));
    // Nothing but the files the test made: no temporary leftovers.
    EXPECT_EQ(dir_entries(dir.path()).size(), 3u);
}

TEST_F(FileTransfer, CameraLogNamesTheCameraAndRecordsFirmwareUploads) {
    const int id = start_camera("127.0.3.3", {"--camera-id", "VCAM-LOG-3"});
    ASSERT_GE(id, 0);
    patient();
    TempDir dir;
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), 0);
    EXPECT_NE(read_file(dir.file("cam.log")).find("VCAM-LOG-3"), std::string::npos);

    write_pattern_file(dir.file("IRAPP.bin"), 2 * 1048576, 3);
    ASSERT_EQ(Sarvik_UploadFile(id, dir.file("IRAPP.bin").c_str(), SARVIK_FILE_BIN), 0);
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("cam.log").c_str(), SARVIK_FILE_LOG), 0);
    EXPECT_NE(read_file(dir.file("cam.log")).find("type 0 received, 2097152 bytes"), std::string::npos);
    // An application image is flashed, not kept: there is nothing to read back.
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("image.bin").c_str(), SARVIK_FILE_BIN), -2);
    EXPECT_FALSE(file_exists(dir.file("image.bin")));
}

TEST_F(FileTransfer, CamerasOwnBadPixelListPassesTheCheckForThatCamera) {
    testsupport::VcamProcess cam("127.0.3.4", {"--camera-id", "SVK00384A1", "--size", "384x288"});
    ASSERT_TRUE(cam.ready());
    _LoginInfo l{};
    std::snprintf(l.ip, sizeof l.ip, "127.0.3.4");
    _CameraBasicInfo info{};
    const int id = Sarvik_Login(&l, &info);
    ASSERT_GE(id, 0);
    TempDir dir;
    ASSERT_EQ(Sarvik_DownloadFile(id, dir.file("cam.bad").c_str(), SARVIK_FILE_BAD), 0);
    BadPixelIdentity me{};
    std::memcpy(me.cameraId, info.cameraId, sizeof me.cameraId);
    me.width = info.dataWidth;
    me.height = info.dataHeight;
    EXPECT_EQ(caliVerifyBad(dir.file("cam.bad").c_str(), &me), 0);
    me.width = 640;
    EXPECT_EQ(caliVerifyBad(dir.file("cam.bad").c_str(), &me), -3);
    Sarvik_Logout(id);
}

TEST_F(FileTransfer, DownloadToAPathThatCannotBeWrittenFailsAndLeavesNothing) {
    const int id = start_camera("127.0.3.5");
    ASSERT_GE(id, 0);
    TempDir dir;
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("missing-folder/cam.log").c_str(), SARVIK_FILE_LOG), -200);
    // A folder cannot take the file's name; the temporary file beside it must go again.
    ASSERT_EQ(mkdir(dir.file("taken").c_str(), 0755), 0);
    EXPECT_EQ(Sarvik_DownloadFile(id, dir.file("taken").c_str(), SARVIK_FILE_LOG), -200);
    EXPECT_EQ(dir_entries(dir.path()), std::vector<std::string>{"taken"});
    EXPECT_TRUE(dir_entries(dir.file("taken")).empty());
}

TEST_F(FileTransfer, UploadOfAFileThatCannotBeReadSendsNothing) {
    TempDir dir;
    const int id = start_camera("127.0.3.6", {"--request-log", dir.file("requests")});
    ASSERT_GE(id, 0);
    EXPECT_EQ(Sarvik_UploadFile(id, dir.file("nothing-here.bin").c_str(), SARVIK_FILE_BIN), -200);
    EXPECT_EQ(Sarvik_UploadFile(id, dir.path().c_str(), SARVIK_FILE_BIN), -200)
        << "a folder has no size to announce";
    for (const std::string &line : read_lines(dir.file("requests")))
        EXPECT_NE(line.rfind("35 ", 0), 0u) << line;
}

TEST_F(FileTransfer, CallsCheckStartUpArgumentsAndSessionFirst) {
    Sarvik_FreeSDK();
    EXPECT_EQ(Sarvik_UploadFile(0, "/tmp/x", 0), -4);
    EXPECT_EQ(Sarvik_DownloadFile(0, "/tmp/x", 0), -4);
    ASSERT_EQ(Sarvik_InitSDK(), 0);
    EXPECT_EQ(Sarvik_UploadFile(0, nullptr, 0), -8);
    EXPECT_EQ(Sarvik_DownloadFile(0, nullptr, 0), -8);
    for (int bad : {-1, 0, 256}) {
        EXPECT_EQ(Sarvik_UploadFile(bad, "/tmp/x", 0), -10);
        EXPECT_EQ(Sarvik_DownloadFile(bad, "/tmp/x", 0), -10);
    }
}
