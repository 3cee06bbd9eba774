#include "rtsp_source_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

extern char **environ;

namespace testsupport {

int RtspSourceProcess::start(const std::string &ip, int port, int lifetime_s, int shortPictures,
                             std::string *skip, std::string *error) {
#ifndef SARVIK_TEST_RTSP_SOURCE
    (void)ip;
    (void)port;
    (void)lifetime_s;
    (void)shortPictures;
    (void)error;
    *skip = "built without gstreamer-rtsp-server-1.0";
    return -1;
#else
    stop();
    // Everything the child needs is built before fork: only exec-safe calls after it.
    const std::string program = SARVIK_TEST_RTSP_SOURCE, portText = std::to_string(port),
                      lifeText = std::to_string(lifetime_s), shortText = std::to_string(shortPictures);
    std::vector<std::string> env;
    std::string asan = "ASAN_OPTIONS=detect_leaks=0";  // GStreamer's own allocations
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) == 0)
            asan = std::string(*e) + ":detect_leaks=0";
        else
            env.emplace_back(*e);
    }
    env.push_back(asan);
    std::vector<char *> envp;
    for (std::string &s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(program.c_str()), const_cast<char *>(ip.c_str()),
                    const_cast<char *>(portText.c_str()), const_cast<char *>(lifeText.c_str()),
                    const_cast<char *>(shortText.c_str()), nullptr};
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) < 0) {
        *error = "pipe failed";
        return -1;
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        dup2(fds[1], STDOUT_FILENO);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        *error = "fork failed";
        return -1;
    }
    // The first GStreamer run on a machine scans its plugins, which takes a while.
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (out.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char buf[256];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (out.rfind("READY", 0) == 0) return 0;
    if (out.rfind("MISSING", 0) == 0) {
        *skip = "GStreamer element not installed: " + out.substr(8, out.find('\n') - 8);
        stop();
        return -1;
    }
    int status = 0;
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return 2;
    *error = "the RTSP source did not start: " + out;
    return -1;
#endif
}

void RtspSourceProcess::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waitpid(pid_, nullptr, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

}  // namespace testsupport
