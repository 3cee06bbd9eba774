#include "discovery_peers.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/stat.h>

namespace vcam {

bool in_private_netns() {
    struct stat self {}, init {};
    // Without access to process 1 we cannot tell: assume the host's namespace, the safe side.
    if (stat("/proc/self/ns/net", &self) != 0 || stat("/proc/1/ns/net", &init) != 0) return false;
    return self.st_ino != init.st_ino || self.st_dev != init.st_dev;
}

bool discovery_peer_allowed(uint32_t addr, bool privateNetns) {
    if ((addr >> 24) == 127) return true;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool allowed = false;
    for (const ifaddrs *ifa = list; ifa && !allowed; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET) continue;
        const uint32_t own = ntohl(reinterpret_cast<const sockaddr_in *>(ifa->ifa_addr)->sin_addr.s_addr);
        uint32_t mask = 0xFFFFFFFFu;
        if (privateNetns && ifa->ifa_netmask)
            mask = ntohl(reinterpret_cast<const sockaddr_in *>(ifa->ifa_netmask)->sin_addr.s_addr);
        allowed = (own & mask) == (addr & mask);
    }
    freeifaddrs(list);
    return allowed;
}

}  // namespace vcam
