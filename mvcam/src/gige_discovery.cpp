// GigE Vision discovery (GVCP DISCOVERY_CMD on UDP port 3956), unicast to one address or broadcast on every
// interface. Done here rather than through Aravis so that the answer's mask and gateway are kept and so that
// asking one address never broadcasts.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "mvcc_internal.h"

namespace mvcc {

namespace {

constexpr uint16_t kGvcpPort = 3956;
constexpr uint16_t kDiscoveryCmd = 0x0002;
constexpr uint16_t kDiscoveryAck = 0x0003;
constexpr size_t kAckPayload = 248;

uint32_t be32(const uint8_t *p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint16_t be16(const uint8_t *p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

void copy_text(char *dst, size_t dstSize, const uint8_t *src, size_t srcSize) {
    std::memset(dst, 0, dstSize);
    size_t n = 0;
    while (n < srcSize && n < dstSize && src[n]) ++n;
    std::memcpy(dst, src, n);
}

// Fills a device record from one DISCOVERY_ACK; false when the datagram is not one.
bool parse_ack(const uint8_t *d, size_t len, uint16_t reqId, uint32_t interfaceIp, MV_CC_DEVICE_INFO *out) {
    if (len < 8 + kAckPayload || be16(d) != 0 || be16(d + 2) != kDiscoveryAck || be16(d + 4) < kAckPayload ||
        be16(d + 6) != reqId)
        return false;
    const uint8_t *p = d + 8;
    std::memset(out, 0, sizeof *out);
    out->nTransport = MVCC_TRANSPORT_GIGE;
    MVCC_GIGE_INFO &g = out->info.gige;
    g.nCurrentIp = be32(p + 0x24);
    g.nSubnetMask = be32(p + 0x34);
    g.nDefaultGateway = be32(p + 0x44);
    g.nInterfaceIp = interfaceIp;
    std::memcpy(g.chMac, p + 0x0A, 2);
    std::memcpy(g.chMac + 2, p + 0x0C, 4);
    copy_text(g.chManufacturer, sizeof g.chManufacturer, p + 0x48, 32);
    copy_text(g.chModel, sizeof g.chModel, p + 0x68, 32);
    copy_text(g.chVersion, sizeof g.chVersion, p + 0x88, 32);
    // The identifier field holds all 16 characters of the serial number, unterminated when full.
    std::memset(g.chSerialNumber, 0, sizeof g.chSerialNumber);
    size_t n = 0;
    while (n < 16 && p[0xD8 + n]) ++n;
    std::memcpy(g.chSerialNumber, p + 0xD8, n);
    copy_text(g.chUserName, sizeof g.chUserName, p + 0xE8, 16);
    return true;
}

struct Probe {
    int fd;
    uint32_t interfaceIp;  // host order; 0 until known
};

void add_unique(MV_CC_DEVICE_INFO_LIST *list, const MV_CC_DEVICE_INFO &dev) {
    for (uint32_t i = 0; i < list->nDeviceNum; ++i)
        if (list->stDevice[i].info.gige.nCurrentIp == dev.info.gige.nCurrentIp) return;
    if (list->nDeviceNum < MVCC_MAX_DEVICES) list->stDevice[list->nDeviceNum++] = dev;
}

}  // namespace

int gige_discover(uint32_t unicastIp, int timeoutMs, MV_CC_DEVICE_INFO_LIST *list) {
    static std::atomic<uint16_t> nextReqId{1};
    uint16_t reqId = nextReqId++;
    if (reqId == 0) reqId = nextReqId++;
    const uint8_t cmd[8] = {0x42,
                            static_cast<uint8_t>(unicastIp ? 0x01 : 0x11),
                            0,
                            kDiscoveryCmd,
                            0,
                            0,
                            static_cast<uint8_t>(reqId >> 8),
                            static_cast<uint8_t>(reqId)};
    std::vector<Probe> probes;
    auto closeAll = [&] {
        for (const Probe &p : probes) close(p.fd);
    };

    if (unicastIp) {
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return MVCC_E_RESOURCE;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kGvcpPort);
        to.sin_addr.s_addr = htonl(unicastIp);
        sockaddr_in local{};
        socklen_t localLen = sizeof local;
        if (connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLen) != 0 ||
            send(fd, cmd, sizeof cmd, 0) < 0) {
            close(fd);
            return MVCC_OK;  // no route to that address: nobody answers there
        }
        probes.push_back({fd, ntohl(local.sin_addr.s_addr)});
    } else {
        ifaddrs *ifs = nullptr;
        if (getifaddrs(&ifs) != 0) return MVCC_E_RESOURCE;
        for (const ifaddrs *i = ifs; i; i = i->ifa_next) {
            if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP) ||
                !(i->ifa_flags & IFF_BROADCAST))
                continue;
            const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            if (fd < 0) continue;
            int on = 1;
            setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
            sockaddr_in local = *reinterpret_cast<const sockaddr_in *>(i->ifa_addr);
            local.sin_port = 0;
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(kGvcpPort);
            to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
            if (bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
                sendto(fd, cmd, sizeof cmd, 0, reinterpret_cast<sockaddr *>(&to), sizeof to) < 0) {
                close(fd);
                continue;
            }
            probes.push_back({fd, ntohl(local.sin_addr.s_addr)});
        }
        freeifaddrs(ifs);
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<pollfd> fds;
    for (const Probe &p : probes) fds.push_back({p.fd, POLLIN, 0});
    bool done = probes.empty();
    while (!done) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || poll(fds.data(), fds.size(), static_cast<int>(left)) <= 0) break;
        for (size_t k = 0; k < fds.size(); ++k) {
            if (!(fds[k].revents & POLLIN)) continue;
            uint8_t buf[1024];
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n =
                recvfrom(fds[k].fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&from), &fromLen);
            MV_CC_DEVICE_INFO dev;
            if (n <= 0 || !parse_ack(buf, static_cast<size_t>(n), reqId, probes[k].interfaceIp, &dev))
                continue;
            add_unique(list, dev);
            // One address asked, one answer wanted.
            if (unicastIp) done = true;
        }
    }
    closeAll();
    return MVCC_OK;
}

}  // namespace mvcc
