// Alarm server: one worker accepts connections and reads one block from each, all open connections at once
// as their bytes arrive; received blocks stay listed until the application releases them.
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
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "SarvikSDK.h"
#include "alarm_config.h"
#include "alarm_conn_reader.h"
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
    WakeSignal wake;
    std::thread worker;
};

namespace {

// Bursts of connections are the load the worker is built for: a full accept queue drops the SYN, and the
// client's retry comes a second later.
constexpr int kBacklog = 64;
// Longest single wait of the idle worker; Stop wakes it at once anyway.
constexpr int kIdleWaitMs = 1000;
// When accept fails for want of descriptors or memory the listener stays readable: it is left out of the
// waits for a while, so the worker neither spins nor stops reading the connections it has.
constexpr int kAcceptPauseMs = 100;
// Connections read at once. A newcomer beyond them takes the place of the one idle longest, so silent peers
// cannot lock the others out.
constexpr int kMaxConns = 64;
// Bytes allocated for half-received blocks at most (four of the largest blocks). A block that does not fit
// takes the memory of the largest pending block if that one is larger, else it is refused: small blocks,
// the usual alarm, cannot be crowded out by large announcements, and blocks of equal size are served in
// order of arrival rather than evicting each other.
constexpr size_t kMaxPendingBytes = size_t{64} << 20;
// Bytes read from one connection per turn, so that a fast large block does not hold up the others.
constexpr size_t kReadPerTurn = 256 * 1024;
// Connections accepted per turn, before the open ones are read again.
constexpr int kAcceptPerTurn = 16;

struct Conn {
    int fd = -1;  // -1: a free place
    char ip[INET_ADDRSTRLEN] = "?";
    int port = 0;
    int64_t deadlineMs = 0;   // the whole block must be in by then
    uint64_t lastActive = 0;  // turn counter of the last bytes received (or of the accept)
    AlarmConnReader reader;
};

// The worker's connections; they live and die on the worker thread only.
struct Conns {
    explicit Conns(AlarmServer *server) : s(server) {}
    AlarmServer *s;
    Conn slot[kMaxConns];
    uint64_t activity = 0;
    int64_t acceptPausedUntilMs = 0;
    pollfd fds[kMaxConns + 2];
    int slotOf[kMaxConns + 2];
};

// A reset instead of an orderly close: a client takes the orderly close as proof that its block arrived.
void abort_close(int fd) {
    const linger reset{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(fd);
}

// Room for one more listed block, made before the close tells the client its block is here.
bool reserve_list_place(AlarmServer *s) {
    std::lock_guard<std::mutex> lock(s->listMutex);
    if (s->blocks.size() < s->blocks.capacity()) return true;
    try {
        s->blocks.reserve(std::max<size_t>(16, s->blocks.capacity() * 2));
    } catch (const std::bad_alloc &) {
        return false;
    } catch (const std::length_error &) {
        return false;
    }
    return true;
}

// The end of a connection: ret 0 with a complete block, else the status of the failure.
void finish(Conns &w, Conn &c, int ret) {
    AlarmServer *s = w.s;
    AlarmDataHeader *block = nullptr;
    if (ret == 0) {
        block = c.reader.take();
        if (!block || !reserve_list_place(s)) {
            std::free(block);
            block = nullptr;
            ret = SARVIK_ERR_NO_MEMORY;
        }
    }
    SDK_LOG("recvData, ret %d", ret);
    if (ret == 0)
        close(c.fd);
    else
        abort_close(c.fd);
    c.fd = -1;
    c.reader.reset();
    if (ret != 0) {
        SDK_LOG("recv client %s:%d, null", c.ip, c.port);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(s->listMutex);
        s->blocks.push_back(block);  // cannot throw: the place was reserved
    }
    SDK_LOG("recv client %s:%d, type %d, size %d", c.ip, c.port, static_cast<int>(block->alarmType),
            static_cast<int>(block->totalSize));
    s->callback(0, block, s->user);
}

// Whether c's announced block may be allocated now, making room as documented at kMaxPendingBytes.
bool admit(Conns &w, Conn &c) {
    const size_t need = c.reader.total();
    for (;;) {
        size_t pending = 0;
        Conn *largest = nullptr;
        for (Conn &o : w.slot) {
            if (o.fd < 0 || &o == &c) continue;
            pending += o.reader.allocated();
            if (!largest || o.reader.allocated() > largest->reader.allocated()) largest = &o;
        }
        if (pending + need <= kMaxPendingBytes) return true;
        if (!largest || largest->reader.allocated() <= need) return false;
        finish(w, *largest, SARVIK_ERR_NO_MEMORY);
    }
}

// Reads what c has received; ends it when its block is complete or has failed.
void pump(Conns &w, Conn &c) {
    size_t got = alarm_conn_read(c.fd, &c.reader, kReadPerTurn);
    if (c.reader.state() == AlarmConnReader::kAdmit) {
        if (admit(w, c))
            c.reader.allocate();
        else
            c.reader.fail(SARVIK_ERR_NO_MEMORY);
        if (c.reader.state() == AlarmConnReader::kBody) got += alarm_conn_read(c.fd, &c.reader, kReadPerTurn);
    }
    if (got > 0) c.lastActive = ++w.activity;
    if (c.reader.state() == AlarmConnReader::kComplete)
        finish(w, c, 0);
    else if (c.reader.state() == AlarmConnReader::kFailed)
        finish(w, c, c.reader.error());
}

Conn *free_place(Conns &w) {
    Conn *idlest = nullptr;
    for (Conn &c : w.slot) {
        if (c.fd < 0) return &c;
        if (!idlest || c.lastActive < idlest->lastActive) idlest = &c;
    }
    finish(w, *idlest, SARVIK_ERR_RECV);
    return idlest;
}

void accept_some(Conns &w) {
    AlarmServer *s = w.s;
    // Once Stop is asked for, what waits in the backlog is left to the kernel to reset.
    for (int i = 0; i < kAcceptPerTurn && s->running; ++i) {
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd =
            accept4(s->listenFd, reinterpret_cast<sockaddr *>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                w.acceptPausedUntilMs = sdk_now_ms() + kAcceptPauseMs;
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        Conn &c = *free_place(w);
        c.fd = fd;
        inet_ntop(AF_INET, &peer.sin_addr, c.ip, sizeof c.ip);
        c.port = ntohs(peer.sin_port);
        c.deadlineMs = sdk_now_ms() + s->timeoutMs;
        c.lastActive = ++w.activity;
        // A client sends right after connecting: its bytes are often here already.
        pump(w, c);
    }
}

void work_loop(AlarmServer *s) {
    SdkLogHold logHold;  // the server may run on after Sarvik_FreeSDK
    SDK_LOG("work_loop enter");
    Conns w(s);
    while (s->running) {
        const int64_t now = sdk_now_ms();
        int64_t wakeAtMs = now + kIdleWaitMs;
        nfds_t n = 0;
        w.fds[n++] = {s->wake.fd(), POLLIN, 0};
        nfds_t listenAt = 0;
        if (now >= w.acceptPausedUntilMs) {
            listenAt = n;
            w.fds[n++] = {s->listenFd, POLLIN, 0};
        } else {
            wakeAtMs = std::min(wakeAtMs, w.acceptPausedUntilMs);
        }
        const nfds_t firstConn = n;
        for (int i = 0; i < kMaxConns; ++i) {
            if (w.slot[i].fd < 0) continue;
            w.slotOf[n] = i;
            w.fds[n++] = {w.slot[i].fd, POLLIN, 0};
            wakeAtMs = std::min(wakeAtMs, w.slot[i].deadlineMs);
        }
        const int rc = poll(w.fds, n, static_cast<int>(std::max<int64_t>(0, wakeAtMs - now)));
        if (rc < 0) {
            // Interrupted, or out of memory for the wait: try again shortly, without spinning.
            if (errno != EINTR) sdk_wait_fd(-1, 0, sdk_now_ms() + kAcceptPauseMs, s->wake.fd());
            continue;
        }
        if (w.fds[0].revents) break;
        for (nfds_t i = firstConn; i < n; ++i) {
            Conn &c = w.slot[w.slotOf[i]];
            // The place may have been emptied meanwhile to make room for another block.
            if (w.fds[i].revents && c.fd == w.fds[i].fd) pump(w, c);
        }
        const int64_t later = sdk_now_ms();
        for (Conn &c : w.slot)
            if (c.fd >= 0 && later >= c.deadlineMs) finish(w, c, SARVIK_ERR_RECV);
        if (listenAt > 0 && w.fds[listenAt].revents) accept_some(w);
    }
    // Whatever is half-received now is lost; the reset tells its client so.
    for (Conn &c : w.slot)
        if (c.fd >= 0) finish(w, c, SARVIK_ERR_RECV);
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
    // Closed only once the worker is gone, so its wait never sees a descriptor number reused meanwhile. The
    // kernel resets the connections still in the backlog, so their clients do not count them delivered.
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
