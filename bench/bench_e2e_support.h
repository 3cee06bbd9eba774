// Helpers of the end-to-end benchmarks: virtual-camera processes, clocks, percentiles and logins.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A sarvik-vcam process beside this program, bound to one loopback address; stopped (SIGTERM, then
// SIGKILL after 5 s) when the object goes.
class Vcam {
public:
    Vcam(const std::string &ip, const std::vector<std::string> &args);
    ~Vcam();
    Vcam(const Vcam &) = delete;
    Vcam &operator=(const Vcam &) = delete;
    bool ready() const { return ready_; }
    const std::string &ip() const { return ip_; }
    // CPU time (user + system) the camera process used so far, microseconds; -1 when unknown.
    int64_t cpu_us() const;
    // Asks the camera to stop without waiting, so that many cameras wind down together before stop().
    void request_stop();
    void stop();

private:
    std::string ip_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

int64_t now_us();          // monotonic
int64_t now_ns();          // monotonic
int64_t unix_ticks_now();  // wall clock, 100-ns ticks since 1970 (the frame header's time base)
void sleep_ms(int ms);

// CPU time (user + system) of this whole process, microseconds.
int64_t process_cpu_us();

// Resident set size of this process (VmRSS), KiB; -1 when unknown.
int64_t process_rss_kib();

// Value at fraction q (0..1) of the sorted copy of v; 0 for an empty vector.
double percentile(std::vector<double> v, double q);

// Logs in to the camera at ip; the user id or a negative status.
int login(const std::string &ip);

// A fresh directory under /tmp, removed with its files by remove_dir.
std::string make_temp_dir();
void remove_dir(const std::string &dir);

}  // namespace e2e
