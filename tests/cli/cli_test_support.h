// Runs the sarvik program as a child process and reads what the virtual camera logged.
#pragma once

#include <string>
#include <vector>

#include "temp_dir.h"

namespace clitest {

struct Run {
    int code = -1;
    std::string out, err;
};

// sarvik ARGS..., stdout and stderr captured (stderr through a file in dir).
Run sarvik(const testsupport::TempDir &dir, const std::vector<std::string> &args, int timeout_s = 90);

// Lines of a file, without their newlines; none when it does not exist.
std::vector<std::string> lines_of(const std::string &path);
// How many lines start with prefix.
int count_prefixed(const std::vector<std::string> &lines, const std::string &prefix);

// Frames of a stream file as playback counts them; -1 when it does not open.
int stream_frames(const std::string &path);

// Names in dir that contain ".part".
std::vector<std::string> partial_files(const std::string &dir);

}  // namespace clitest
