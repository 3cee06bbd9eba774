#include "broadcast_send.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "sdk_log.h"
#include "sdk_protocol.h"

namespace sarvik {

namespace {

// One interface: the bytes sent (all of them) or a negative status (-100 socket, -96 bind/broadcast, -98 short send).
int send_from(const sockaddr_in &from, const void *msg, int size) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return -100;
    sockaddr_in local = from;
    local.sin_port = htons(kPortDiscover);
    // Address reuse lets the request leave even while a local program (a virtual camera, say) listens on
    // 0.0.0.0:55501; without it every interface would fail to bind on such a host.
    int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        close(fd);
        return -96;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kPortDiscover);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    ssize_t n = sendto(fd, msg, static_cast<size_t>(size), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    close(fd);
    return n == size ? static_cast<int>(n) : -98;
}

}  // namespace

int broadcastSendAll(const void *msg, int size) {
    ifaddrs *list = nullptr;
    if (!msg || size <= 0 || getifaddrs(&list) != 0) return 0;
    int sent = 0;
    for (const ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET) continue;
        const auto *addr = reinterpret_cast<const sockaddr_in *>(ifa->ifa_addr);
        if (addr->sin_addr.s_addr == htonl(INADDR_LOOPBACK)) continue;
        char text[INET_ADDRSTRLEN] = {0};
        inet_ntop(AF_INET, &addr->sin_addr, text, sizeof text);
        int ret = send_from(*addr, msg, size);
        SDK_LOG("broadcast, fromAddr %s, dataSize %d, ret %d", text, size, ret);
        if (ret == size) ++sent;
    }
    freeifaddrs(list);
    return sent;
}

}  // namespace sarvik
