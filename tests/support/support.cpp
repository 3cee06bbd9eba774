#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "scripted_peer.h"
#include "temp_dir.h"
#include "vcam_process.h"

extern char **environ;

namespace testsupport {

namespace {

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool can_connect(const std::string &ip, uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    bool ok = connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    close(fd);
    return ok;
}

std::vector<char *> c_argv(const std::vector<std::string> &argv) {
    std::vector<char *> v;
    for (const std::string &s : argv) v.push_back(const_cast<char *>(s.c_str()));
    v.push_back(nullptr);
    return v;
}

}  // namespace

TempDir::TempDir() {
    char tmpl[] = "/tmp/sarvik-test-XXXXXX";
    const char *p = mkdtemp(tmpl);
    if (!p) throw std::runtime_error("mkdtemp failed");
    path_ = p;
}

TempDir::~TempDir() {
    std::string cmd = "rm -rf '" + path_ + "'";
    if (std::system(cmd.c_str()) != 0) {
        // Nothing to do: a leftover folder in /tmp is harmless.
    }
}

std::string read_file(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void write_file(const std::string &path, const std::string &text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
}

std::string bin_dir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.rfind('/'));
}

VcamProcess::VcamProcess(const std::string &ip, const std::vector<std::string> &args) {
    std::vector<std::string> argv = {bin_dir() + "/sarvik-vcam", "--ip", ip, "--lifetime", "120"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto cargv = c_argv(argv);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, cargv[0], &fa, nullptr, cargv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
    if (pid_ < 0) return;
    uint16_t port = 55502;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--command-port") port = static_cast<uint16_t>(std::stoi(args[i + 1]));
    const int64_t deadline = now_ms() + 10000;
    while (now_ms() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        // Connecting costs the camera one served connection, which it simply closes.
        if (can_connect(ip, port)) {
            ready_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

VcamProcess::~VcamProcess() { stop(); }

void VcamProcess::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    const int64_t deadline = now_ms() + 5000;
    while (now_ms() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int run_program(const std::vector<std::string> &argv, std::string *out, int timeout_s) {
    int pipefd[2];
    if (pipe(pipefd) != 0) return -1;
    auto cargv = c_argv(argv);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, pipefd[1], 1);
    posix_spawn_file_actions_addclose(&fa, pipefd[0]);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, cargv[0], &fa, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(pipefd[1]);
    if (rc != 0) {
        close(pipefd[0]);
        return -1;
    }
    const int64_t deadline = now_ms() + timeout_s * 1000LL;
    char buf[4096];
    for (;;) {
        int left = static_cast<int>(deadline - now_ms());
        if (left <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{pipefd[0], POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        ssize_t n = read(pipefd[0], buf, sizeof buf);
        if (n <= 0) break;
        if (out) out->append(buf, static_cast<size_t>(n));
    }
    close(pipefd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> make_message(uint16_t type, size_t bodySize) {
    std::vector<uint8_t> m(4 + bodySize, 0);
    const uint16_t len = static_cast<uint16_t>(m.size());
    std::memcpy(m.data(), &type, 2);
    std::memcpy(m.data() + 2, &len, 2);
    return m;
}

ScriptedPeer::ScriptedPeer(const std::string &ip, uint16_t port, Script script) : script_(std::move(script)) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    if (bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd_, 16) != 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    thread_ = std::thread([this] { loop(); });
}

ScriptedPeer::~ScriptedPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
}

std::vector<std::vector<uint8_t>> ScriptedPeer::requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void ScriptedPeer::loop() {
    // Bounded: stops with the test, and never serves longer than a minute.
    const int64_t deadline = now_ms() + 60000;
    while (!stop_ && now_ms() < deadline) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        int c = accept(fd_, nullptr, nullptr);
        if (c < 0) continue;
        timeval tv{3, 0};
        setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::vector<uint8_t> req(4);
        size_t got = 0;
        bool ok = true;
        while (ok && got < req.size()) {
            ssize_t n = recv(c, req.data() + got, req.size() - got, 0);
            ok = n > 0;
            if (ok) got += static_cast<size_t>(n);
            if (ok && got == 4) {
                uint16_t len;
                std::memcpy(&len, req.data() + 2, 2);
                if (len > 4) req.resize(len);
            }
        }
        if (ok) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(req);
            }
            PeerReply r = script_(req);
            if (r.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(r.delayMs));
            if (r.silent) {
                char sink[64];
                while (!stop_ && recv(c, sink, sizeof sink, 0) > 0) {
                }
            } else if (!r.bytes.empty()) {
                const size_t pieces = r.pieces < 1 ? 1 : static_cast<size_t>(r.pieces);
                const size_t step = (r.bytes.size() + pieces - 1) / pieces;
                for (size_t off = 0; off < r.bytes.size(); off += step) {
                    size_t n = std::min(step, r.bytes.size() - off);
                    send(c, r.bytes.data() + off, n, MSG_NOSIGNAL);
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            }
        }
        close(c);
    }
}

}  // namespace testsupport
