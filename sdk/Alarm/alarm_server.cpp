// Alarm server: one worker accepts connections and reads one block from each; received blocks stay listed
// until the application releases them.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "alarm_block_recv.h"
#include "alarm_config.h"
#include "alarm_socket.h"
#include "sdk_global.h"
#include "sdk_log.h"

using namespace sarvik;

struct AlarmServer {
    std::mutex lifeMutex;  // one Start, Stop or Free at a time
    std::atomic<bool> running{false};
    AlarmConfig config{};
    AlarmServerCallback callback = nullptr;
    void *user = nullptr;
    int listenFd = -1;
    int timeoutMs = 0;
    std::mutex listMutex;
    std::vector<AlarmDataHeader *> blocks;  // received, not yet released
    AlarmWake wake;
    std::thread worker;
};

namespace {

constexpr int kBacklog = 8;
// Longest single wait of the idle worker; Stop wakes it at once anyway.
constexpr int kIdleWaitMs = 1000;
// When accept fails for want of descriptors or memory the listener stays readable: pause, do not spin.
constexpr int kAcceptPauseMs = 100;

void serve_connection(AlarmServer *s, int fd, const sockaddr_in &peer) {
    char ip[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &peer.sin_addr, ip, sizeof ip);
    const int port = ntohs(peer.sin_port);

    // One deadline for the whole block: a client that trickles bytes cannot hold the worker longer.
    AlarmDataHeader *block = nullptr;
    const int ret = alarm_block_recv(fd, alarm_now_ms() + s->timeoutMs, s->wake.fd(), &block);
    SDK_LOG("recvData, ret %d", ret);
    close(fd);
    if (ret != 0) {
        SDK_LOG("recv client %s:%d, null", ip, port);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(s->listMutex);
        s->blocks.push_back(block);
    }
    SDK_LOG("recv client %s:%d, type %d, size %d", ip, port, static_cast<int>(block->alarmType),
            static_cast<int>(block->totalSize));
    s->callback(0, block, s->user);
}

void work_loop(AlarmServer *s) {
    SDK_LOG("work_loop enter");
    while (s->running) {
        const int rc = alarm_wait(s->listenFd, POLLIN, alarm_now_ms() + kIdleWaitMs, s->wake.fd());
        if (rc == kAlarmIoStopped) break;
        if (rc != 0) continue;
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd =
            accept4(s->listenFd, reinterpret_cast<sockaddr *>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                alarm_wait(-1, 0, alarm_now_ms() + kAcceptPauseMs, s->wake.fd());
            continue;
        }
        serve_connection(s, fd, peer);
    }
    SDK_LOG("work_loop leave");
}

void free_blocks(AlarmServer *s) {
    std::vector<AlarmDataHeader *> dropped;
    {
        std::lock_guard<std::mutex> lock(s->listMutex);
        dropped.swap(s->blocks);
    }
    for (AlarmDataHeader *b : dropped) std::free(b);
}

int open_listener(const AlarmConfig &cfg, uint32_t addr, int *out) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return SARVIK_ERR_SOCKET;
    const int on = 1;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(cfg.port);
    sa.sin_addr.s_addr = htonl(addr);
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa) != 0 || listen(fd, kBacklog) != 0) {
        close(fd);
        return SARVIK_ERR_BIND;
    }
    *out = fd;
    return 0;
}

int stop_server(AlarmServer *s) {
    if (!s->running) return SARVIK_ERR_STATE;
    // From the callback the worker would wait for itself.
    if (std::this_thread::get_id() == s->worker.get_id()) return SARVIK_ERR_STATE;
    s->running = false;
    s->wake.raise();
    if (s->worker.joinable()) s->worker.join();
    // Closed only once the worker is gone, so its wait never sees a descriptor number reused meanwhile.
    close(s->listenFd);
    s->listenFd = -1;
    free_blocks(s);
    return 0;
}

}  // namespace

extern "C" SARVIK_API AlarmServer *AlarmServer_Create(void) {
    if (!sdk_initialised()) return nullptr;
    return new (std::nothrow) AlarmServer();
}

extern "C" SARVIK_API int AlarmServer_Start(AlarmServer *server, const AlarmConfig *config,
                                            AlarmServerCallback callback, void *user) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (!server || !config || !callback) return SARVIK_ERR_INVALID_ARG;
    std::lock_guard<std::mutex> life(server->lifeMutex);
    if (server->running) return SARVIK_ERR_STATE;
    uint32_t addr = 0;
    if (!alarm_parse_ip(*config, true, &addr)) return SARVIK_ERR_INVALID_ARG;
    if (!server->wake.reset()) return SARVIK_ERR_SOCKET;
    int fd = -1;
    const int ret = open_listener(*config, addr, &fd);
    if (ret != 0) return ret;

    server->config = *config;
    server->callback = callback;
    server->user = user;
    server->listenFd = fd;
    server->timeoutMs = alarm_timeout_ms(*config);
    server->running = true;
    try {
        server->worker = std::thread(work_loop, server);
    } catch (const std::system_error &) {
        server->running = false;
        close(fd);
        server->listenFd = -1;
        return SARVIK_ERR_NO_MEMORY;
    }
    return 0;
}

extern "C" SARVIK_API int AlarmServer_FreeData(AlarmServer *server, AlarmDataHeader *block) {
    if (!server || !block) return SARVIK_ERR_INVALID_ARG;
    {
        std::lock_guard<std::mutex> lock(server->listMutex);
        auto it = std::find(server->blocks.begin(), server->blocks.end(), block);
        // Not ours (or released already): leave it alone; callers treat the release as done.
        if (it == server->blocks.end()) return 0;
        server->blocks.erase(it);
    }
    std::free(block);
    return 0;
}

extern "C" SARVIK_API int AlarmServer_Stop(AlarmServer *server) {
    if (!server) return SARVIK_ERR_INVALID_ARG;
    std::lock_guard<std::mutex> life(server->lifeMutex);
    return stop_server(server);
}

extern "C" SARVIK_API int AlarmServer_Free(AlarmServer **server) {
    if (!server) return SARVIK_ERR_INVALID_ARG;
    if (!*server) return 0;
    {
        std::lock_guard<std::mutex> life((*server)->lifeMutex);
        if (stop_server(*server) == SARVIK_ERR_STATE && (*server)->running) return SARVIK_ERR_STATE;
    }
    delete *server;
    *server = nullptr;
    return 0;
}
