// Shared pieces of the transfer tests: a started SDK, a session to a camera, and large files written and
// compared in pieces so that the tests themselves never hold a whole file.
//
// Loopback addresses (one per test case; cases run in parallel processes):
//   127.0.3.1-9    file transfers          127.0.3.10-19  memory transfers
//   127.0.3.20-29  faults                  127.0.3.30-39  memory bound
//   127.0.3.40-59  handshake and log lines (white-box)
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "vcam_process.h"

namespace transfertest {

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Logs in to the camera at ip; the session ends with the test.
    int login(const char *ip);
    // Starts a virtual camera on ip with the extra arguments and logs in to it: the user id, or -1 when the
    // camera did not come up. The camera runs until stop_cameras or the end of the test.
    int start_camera(const char *ip, const std::vector<std::string> &args = {});
    // Stops every camera of the test (their logs are complete afterwards).
    void stop_cameras();
    // The longest time-outs the SDK takes: large transfers on a busy machine must not trip over a pause.
    static void patient() { Sarvik_SetTimeout(8000, 8000, 8000); }

private:
    std::vector<int> users_;
    std::vector<std::unique_ptr<testsupport::VcamProcess>> cameras_;
};

// Writes size bytes of a pattern that depends on seed and position, 1 MiB at a time.
void write_pattern_file(const std::string &path, int64_t size, uint32_t seed);
// True when the file holds exactly the pattern of write_pattern_file(size, seed).
bool matches_pattern_file(const std::string &path, int64_t size, uint32_t seed);

bool file_exists(const std::string &path);
int64_t file_size(const std::string &path);
// Names in a directory, without "." and "..".
std::vector<std::string> dir_entries(const std::string &dir);
// Lines of a text file.
std::vector<std::string> read_lines(const std::string &path);

}  // namespace transfertest
