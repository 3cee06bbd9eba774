// batch: one camera subcommand over many cameras, each run as a child process of this program so that a
// camera that hangs or crashes costs only its own line.
#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <memory>

#include "cli_common.h"
#include "commands.h"

extern char **environ;

namespace cli {

namespace {

std::atomic<int> gBatchSignal{0};

extern "C" void onBatchSignal(int sig) { gBatchSignal = sig; }

const char *const kBatchCommands[] = {"info", "get", "set", "control", "snapshot", "record", "upload", "download"};

struct Job {
    std::string address;
    pid_t pid = -1;
    int outFd = -1, errFd = -1;
    std::string out, err;
    int exitCode = -1;
    bool started = false, finished = false;
};

std::string trim(const std::string &s) {
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// "a,b,c" or "@file" with one address per line ('#' starts a comment).
int parseList(const std::string &list, std::vector<std::string> *out) {
    if (!list.empty() && list[0] == '@') {
        std::ifstream f(list.substr(1));
        if (!f) {
            message(list.substr(1) + ": cannot be read");
            return EXIT_INPUT;
        }
        std::string line;
        while (std::getline(f, line)) {
            line = trim(line.substr(0, line.find('#')));
            if (!line.empty()) out->push_back(line);
        }
    } else {
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = std::min(list.find(',', start), list.size());
            const std::string a = trim(list.substr(start, comma - start));
            if (!a.empty()) out->push_back(a);
            start = comma + 1;
        }
    }
    if (out->empty()) {
        message("batch: no camera in '" + list + "'");
        return EXIT_USAGE;
    }
    return EXIT_OK;
}

std::string withAddress(std::string s, const std::string &address) {
    for (size_t at = s.find("{ip}"); at != std::string::npos; at = s.find("{ip}", at + address.size()))
        s.replace(at, 4, address);
    return s;
}

bool start(Job &job, const std::vector<std::string> &argv) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return false;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return false;
    }
    std::vector<char *> cargv;
    for (const std::string &s : argv) cargv.push_back(const_cast<char *>(s.c_str()));
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_adddup2(&fa, err[1], 2);
    const int rc = posix_spawn(&job.pid, "/proc/self/exe", &fa, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    close(err[1]);
    if (rc != 0) {
        close(out[0]);
        close(err[0]);
        job.pid = -1;
        return false;
    }
    job.outFd = out[0];
    job.errFd = err[0];
    return true;
}

// The child's last message, without "sarvik: " and its own address in front.
std::string reasonOf(const Job &job) {
    std::string last;
    size_t pos = 0;
    while (pos < job.err.size()) {
        size_t nl = job.err.find('\n', pos);
        if (nl == std::string::npos) nl = job.err.size();
        // A progress line redrawn in place keeps only its last drawing.
        std::string line = job.err.substr(pos, nl - pos);
        line = line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1);
        if (!trim(line).empty()) last = trim(line);
        pos = nl + 1;
    }
    const std::string prefixes[] = {"sarvik: ", job.address + ": "};
    for (const std::string &p : prefixes)
        if (last.compare(0, p.size(), p) == 0) last = last.substr(p.size());
    return last.empty() ? "no message" : last;
}

int runBatch(const std::string &list, int jobsMax, const std::string &savePattern,
             const std::vector<std::string> &rest) {
    if (rest.empty()) {
        message("batch: a command is needed (info, get, set, control, snapshot, record, upload, download)");
        return EXIT_USAGE;
    }
    bool known = false;
    for (const char *c : kBatchCommands) known = known || rest[0] == c;
    if (!known) {
        message("batch: '" + rest[0] +
                "' cannot run per camera (info, get, set, control, snapshot, record, upload, download)");
        return EXIT_USAGE;
    }
    std::vector<std::string> addresses;
    if (const int e = parseList(list, &addresses)) return e;

    std::vector<Job> jobs(addresses.size());
    for (size_t i = 0; i < jobs.size(); ++i) jobs[i].address = addresses[i];

    // A child that dies must not take the batch with it through a broken pipe.
    signal(SIGPIPE, SIG_IGN);
    // Ctrl-C or SIGTERM: no new camera is started, the running ones are told (a recording ends cleanly),
    // and the lines are still printed. A handler, not SIG_IGN, so the children start with the default.
    struct sigaction sa{};
    sa.sa_handler = onBatchSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    bool forwarded = false;
    size_t next = 0, running = 0, finished = 0;
    while (finished < jobs.size()) {
        if (gBatchSignal != 0 && !forwarded) {
            forwarded = true;
            for (Job &j : jobs)
                if (j.started && !j.finished) kill(j.pid, gBatchSignal);
            for (; next < jobs.size(); ++next) {
                jobs[next].exitCode = EXIT_FAIL;
                jobs[next].err = "not started: interrupted\n";
                jobs[next].finished = true;
                ++finished;
            }
        }
        while (running < static_cast<size_t>(jobsMax) && next < jobs.size()) {
            Job &j = jobs[next++];
            std::vector<std::string> argv = {"sarvik", rest[0], j.address};
            for (size_t a = 1; a < rest.size(); ++a) argv.push_back(withAddress(rest[a], j.address));
            j.started = true;
            if (start(j, argv)) {
                ++running;
            } else {
                j.exitCode = EXIT_FAIL;
                j.err = "cannot start a process\n";
                j.finished = true;
                ++finished;
            }
        }
        std::vector<pollfd> fds;
        std::vector<std::pair<Job *, bool>> owners;  // job, is stdout
        for (Job &j : jobs) {
            if (!j.started || j.finished) continue;
            if (j.outFd >= 0) {
                fds.push_back({j.outFd, POLLIN, 0});
                owners.push_back({&j, true});
            }
            if (j.errFd >= 0) {
                fds.push_back({j.errFd, POLLIN, 0});
                owners.push_back({&j, false});
            }
        }
        if (!fds.empty() && poll(fds.data(), fds.size(), 500) < 0 && errno != EINTR) break;
        for (size_t k = 0; k < fds.size(); ++k) {
            if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            Job &j = *owners[k].first;
            int &fd = owners[k].second ? j.outFd : j.errFd;
            char buf[65536];
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) {
                (owners[k].second ? j.out : j.err).append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fd);
                fd = -1;
            }
        }
        for (Job &j : jobs) {
            if (!j.started || j.finished || j.outFd >= 0 || j.errFd >= 0) continue;
            int status = 0;
            waitpid(j.pid, &status, 0);
            j.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            if (WIFSIGNALED(status)) j.err += "killed by signal " + std::to_string(WTERMSIG(status)) + "\n";
            j.finished = true;
            ++finished;
            --running;
        }
    }

    int ok = 0, failed = 0;
    for (Job &j : jobs) {
        if (j.exitCode == 0 && !savePattern.empty()) {
            OutputFile f(withAddress(savePattern, j.address));
            int r = f.open();
            if (r == 0) r = f.write(j.out.data(), j.out.size());
            if (r == 0) r = f.commit();
            if (r != 0) {
                j.exitCode = exitCodeOf(r);
                j.err += std::string("write ") + f.path() + ": " + statusText(r) + "\n";
            }
        }
        if (j.exitCode == 0) {
            std::printf("%s ok\n", j.address.c_str());
            ++ok;
        } else {
            std::printf("%s FAILED %d %s\n", j.address.c_str(), j.exitCode, reasonOf(j).c_str());
            ++failed;
        }
    }
    std::printf("%d ok, %d failed\n", ok, failed);
    std::fflush(stdout);
    return failed ? EXIT_BATCH : EXIT_OK;
}

}  // namespace

void addBatchCommand(CLI::App &app, int &result) {
    auto list = std::make_shared<std::string>();
    auto jobs = std::make_shared<int>(4);
    auto save = std::make_shared<std::string>();
    CLI::App *sub = app.add_subcommand("batch", "Runs one camera subcommand for many cameras");
    sub->footer("sarvik batch --cameras LIST [--jobs N] [--save PATTERN] COMMAND ARGS...\n"
                "Runs the command for every camera of the list, JOBS at a time, and prints one line per\n"
                 "camera in list order (\"ADDRESS ok\" or \"ADDRESS FAILED <exit code> <reason>\"), then a count.\n"
                 "{ip} in the arguments is replaced by each camera's address. Exit 4 when any camera failed.\n"
                 "Example: sarvik batch --cameras @cams.txt --jobs 8 snapshot 'shot-{ip}.jpg'");
    sub->add_option("--cameras", *list, "comma-separated addresses, or @FILE with one address per line")->required();
    sub->add_option("--jobs", *jobs, "cameras worked on at once (default 4)")->check(CLI::Range(1, 64));
    sub->add_option("--save", *save, "write each camera's standard output to this file ({ip} replaced)");
    // Everything from the command on belongs to the command.
    sub->prefix_command();
    sub->callback([&result, sub, list, jobs, save] { result = runBatch(*list, *jobs, *save, sub->remaining()); });
}

}  // namespace cli
