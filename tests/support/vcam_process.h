// Runs a virtual camera process for the length of a test.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testsupport {

class VcamProcess {
public:
    // Starts build/bin/sarvik-vcam on ip with the extra arguments and waits (bounded) until it listens.
    VcamProcess(const std::string &ip, const std::vector<std::string> &args = {});
    ~VcamProcess();
    VcamProcess(const VcamProcess &) = delete;
    VcamProcess &operator=(const VcamProcess &) = delete;

    bool ready() const { return ready_; }
    void stop();

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

// Runs a program to completion (bounded by timeout_s) and returns its exit status, capturing stdout.
int run_program(const std::vector<std::string> &argv, std::string *out, int timeout_s = 60);

std::string bin_dir();

}  // namespace testsupport
