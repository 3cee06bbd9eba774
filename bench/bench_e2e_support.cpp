#include "bench_e2e_support.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "SarvikSDK.h"

extern char **environ;

namespace e2e {

namespace {

std::string bin_dir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    const std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.rfind('/'));
}

bool can_connect(const std::string &ip, uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    const bool ok = connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    close(fd);
    return ok;
}

}  // namespace

Vcam::Vcam(const std::string &ip, const std::vector<std::string> &args) : ip_(ip) {
    std::vector<std::string> argv = {bin_dir() + "/sarvik-vcam", "--ip", ip};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char *> cargv;
    for (std::string &s : argv) cargv.push_back(&s[0]);
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, cargv[0], &fa, nullptr, cargv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
    if (pid_ < 0) return;
    const int64_t deadline = now_us() + 10000000;
    while (now_us() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        if (can_connect(ip, 55502)) {
            ready_ = true;
            return;
        }
        sleep_ms(20);
    }
}

Vcam::~Vcam() {
    stop();
}

void Vcam::request_stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
}

void Vcam::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    const int64_t deadline = now_us() + 5000000;
    while (now_us() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        sleep_ms(10);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int64_t Vcam::cpu_us() const {
    if (pid_ <= 0) return -1;
    FILE *f = std::fopen(("/proc/" + std::to_string(pid_) + "/stat").c_str(), "r");
    if (!f) return -1;
    char line[1024];
    const bool got = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    // Fields 14 and 15 (user and system clock ticks) follow the command name, which ends with ')'.
    const char *p = got ? std::strrchr(line, ')') : nullptr;
    unsigned long long user = 0, sys = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &sys) != 2)
        return -1;
    return static_cast<int64_t>((user + sys) * 1000000ULL /
                                static_cast<unsigned long long>(sysconf(_SC_CLK_TCK)));
}

int64_t now_us() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

int64_t now_ns() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

int64_t unix_ticks_now() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<int64_t>(t.tv_sec) * 10000000 + t.tv_nsec / 100;
}

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t process_cpu_us() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (static_cast<int64_t>(u.ru_utime.tv_sec) + u.ru_stime.tv_sec) * 1000000 + u.ru_utime.tv_usec +
           u.ru_stime.tv_usec;
}

int64_t process_rss_kib() {
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long long kib = -1;
    while (kib < 0 && std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %lld kB", &kib) != 1) kib = -1;
    std::fclose(f);
    return kib;
}

double percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0.0;
    const size_t k = std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

int login(const std::string &ip) {
    _LoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.ip, sizeof info.ip, "%s", ip.c_str());
    _CameraBasicInfo basic;
    std::memset(&basic, 0, sizeof basic);
    return Sarvik_Login(&info, &basic);
}

std::string make_temp_dir() {
    char tmpl[] = "/tmp/sarvik-e2e-XXXXXX";
    const char *d = mkdtemp(tmpl);
    return d ? std::string(d) : std::string();
}

void remove_dir(const std::string &dir) {
    if (dir.empty()) return;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
            unlink((dir + "/" + e->d_name).c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

}  // namespace e2e
