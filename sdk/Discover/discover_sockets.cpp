#include "discover_sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SarvikSDK.h"
#include "sdk_global.h"
#include "sdk_protocol.h"
#include "sdk_log.h"
#include "zq_socket.h"

namespace sarvik {

int discover_sockets_open(int *broadcastFd, int *answerFd) {
    *broadcastFd = -1;
    *answerFd = -1;

    // These sockets always use the default time-outs; later time-out changes apply to new connections only.
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        sock_set_timeouts(fd, kDefaultTimeoutMs, kDefaultTimeoutMs) != 0) {
        int err = errno;
        if (fd >= 0) close(fd);
        SDK_LOG("wsae %d", err);
        return -1;
    }
    *broadcastFd = fd;

    int afd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kPortDiscoverAnswer);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (afd < 0 || setsockopt(afd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        sock_set_timeouts(afd, kDefaultTimeoutMs, kDefaultTimeoutMs) != 0 ||
        bind(afd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        int err = errno;
        if (afd >= 0) close(afd);
        SDK_LOG("Discover Broadcast2, wsae %d", err);
        return 0;
    }
    *answerFd = afd;
    SDK_LOG("Discover Broadcast2");
    return 0;
}

std::mutex &discover_sockets_lock() {
    static std::mutex m;
    return m;
}

void discover_sockets_close(int *broadcastFd, int *answerFd) {
    if (*broadcastFd >= 0) close(*broadcastFd);
    if (*answerFd >= 0) close(*answerFd);
    *broadcastFd = -1;
    *answerFd = -1;
}

}  // namespace sarvik
