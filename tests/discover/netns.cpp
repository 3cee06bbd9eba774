#include "netns.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>
#include <vector>

#include "vcam_process.h"

namespace discovertest {

namespace {

std::string ip_tool() {
    for (const char *p : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
        if (access(p, X_OK) == 0) return p;
    return "";
}

// Only what unshare gives us: a loopback device and nothing else. Anything more means we are not in a
// fresh namespace, and broadcasting here could reach a real network.
bool only_loopback_present() {
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool ok = true;
    for (const ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next)
        if (std::strcmp(ifa->ifa_name, "lo") != 0) ok = false;
    freeifaddrs(list);
    return ok;
}

// A broadcast from the PC side must come back to listeners of the same namespace, as the tests rely on.
bool broadcast_loops_back() {
    constexpr uint16_t kProbePort = 55599;
    int rx = socket(AF_INET, SOCK_DGRAM, 0);
    int tx = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(kProbePort);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, kLanAddress, &from.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kProbePort);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    bool ok = rx >= 0 && tx >= 0 && bind(rx, reinterpret_cast<sockaddr *>(&any), sizeof any) == 0 &&
              setsockopt(tx, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0 &&
              bind(tx, reinterpret_cast<sockaddr *>(&from), sizeof from) == 0;
    bool heard = false;
    // The veth link may need a moment to come up: a few tries, bounded.
    for (int attempt = 0; ok && !heard && attempt < 20; ++attempt) {
        sendto(tx, "probe", 5, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
        pollfd p{rx, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buf[16];
            heard = recv(rx, buf, sizeof buf, 0) == 5;
        }
    }
    if (rx >= 0) close(rx);
    if (tx >= 0) close(tx);
    return heard;
}

}  // namespace

int run_ip(const std::string &args) {
    const std::string tool = ip_tool();
    if (tool.empty()) return -1;
    std::vector<std::string> argv = {tool};
    std::istringstream in(args);
    for (std::string word; in >> word;) argv.push_back(word);
    std::string out;
    return testsupport::run_program(argv, &out, 10);
}

std::string enter_test_netns(NetnsKind kind) {
    if (ip_tool().empty()) return "no ip tool (iproute2) to set up a network namespace";
    if (unshare(CLONE_NEWNET) != 0)
        return std::string("cannot create a network namespace (unshare: ") + std::strerror(errno) +
               "); discovery tests need root or CAP_SYS_ADMIN";
    if (!only_loopback_present()) return "the new network namespace is not empty; not broadcasting here";
    if (run_ip("link set lo up") != 0) return "cannot bring up lo in the namespace";
    if (kind == NetnsKind::LoopbackOnly) return "";

    if (run_ip("link add v0 type veth peer name v1") != 0) return "cannot create a veth pair in the namespace";
    if (run_ip(std::string("addr add ") + kLanAddress + "/24 dev v0") != 0 || run_ip("link set v1 up") != 0 ||
        run_ip("link set v0 up") != 0 || run_ip("route add default dev v0") != 0)
        return "cannot configure the veth pair in the namespace";
    if (!broadcast_loops_back()) return "broadcasts in the namespace do not reach local listeners";
    return "";
}

bool read_network_record(const std::string &cameraIp, void *record52) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(55502);
    inet_pton(AF_INET, cameraIp.c_str(), &a.sin_addr);
    const uint16_t req[2] = {11, 4};
    uint8_t answer[56] = {0};
    size_t got = 0;
    bool ok = connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && send(fd, req, sizeof req, 0) == 4;
    while (ok && got < sizeof answer) {
        ssize_t n = recv(fd, answer + got, sizeof answer - got, 0);
        ok = n > 0;
        if (ok) got += static_cast<size_t>(n);
    }
    close(fd);
    uint16_t head[2];
    std::memcpy(head, answer, sizeof head);
    if (!ok || head[0] != 12 || head[1] != 56) return false;
    std::memcpy(record52, answer + 4, 52);
    return true;
}

}  // namespace discovertest
