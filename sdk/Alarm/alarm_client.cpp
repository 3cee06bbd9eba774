// Alarm client: a queue of blocks and one worker that delivers them to the server, one TCP connection per
// block, newest first.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "SarvikSDK.h"
#include "alarm_config.h"
#include "alarm_data.h"
#include "alarm_socket.h"
#include "sdk_global.h"
#include "sdk_log.h"

using namespace sarvik;

struct AlarmClient {
    std::mutex lifeMutex;  // one Start, Stop or Free at a time
    std::atomic<bool> running{false};
    AlarmConfig config{};
    AlarmClientCallback callback = nullptr;
    void *user = nullptr;
    uint32_t serverAddr = 0;
    int timeoutMs = 0;
    std::mutex queueMutex;
    std::condition_variable queueCond;
    std::deque<AlarmDataHeader *> queue;  // front is the head: the next block to go
    bool delivering = false;              // a block is out of the queue on its way; it still takes a place
    WakeSignal wake;
    std::thread worker;
};

namespace {

// Idle poll of an empty queue, and the pause before the next try after a failed delivery: a server that
// refuses connections must not make the worker spin.
constexpr auto kIdleWait = std::chrono::milliseconds(100);
constexpr auto kRetryPause = std::chrono::milliseconds(500);

// The sender field need not be terminated inside its 72 bytes.
struct SenderText {
    explicit SenderText(const AlarmDataHeader *h) {
        std::memcpy(text, h->sender, sizeof h->sender);
        text[sizeof h->sender] = '\0';
    }
    char text[sizeof(AlarmDataHeader::sender) + 1];
};

// One delivery: connect, send the whole block, then wait for the server to close the connection, which it
// does in order only once it has read the whole block (a server that gives up resets it). Until then the
// block is not delivered: one stopping with the block in its backlog or half-read would lose it. One
// deadline for all of it, like the server's. -100, -99, -98, -97, or kWaitStopped when Stop cut it.
int deliver(AlarmClient *c, const AlarmDataHeader *block) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return SARVIK_ERR_SOCKET;
    const int64_t deadlineMs = sdk_now_ms() + c->timeoutMs;
    int ret = alarm_connect(fd, c->serverAddr, c->config.port, deadlineMs, c->wake.fd());
    if (ret == 0) {
        ret = alarm_send_all(fd, block, block->totalSize, deadlineMs, c->wake.fd());
        if (ret == 0) {
            ret = alarm_wait_close(fd, deadlineMs, c->wake.fd());
            if (ret != 0 && ret != kWaitStopped) ret = SARVIK_ERR_RECV;
        } else if (ret != kWaitStopped) {
            ret = SARVIK_ERR_SEND;
        }
    } else if (ret != kWaitStopped) {
        ret = SARVIK_ERR_CONNECT;
    }
    close(fd);
    return ret;
}

void discard_queue(AlarmClient *c) {
    std::deque<AlarmDataHeader *> dropped;
    {
        std::lock_guard<std::mutex> lock(c->queueMutex);
        dropped.swap(c->queue);
        c->delivering = false;
    }
    for (AlarmDataHeader *b : dropped) std::free(b);
}

void work_loop(AlarmClient *c) {
    SdkLogHold logHold;  // the client may run on after Sarvik_FreeSDK
    SDK_LOG("work_loop enter");
    while (c->running) {
        AlarmDataHeader *block = nullptr;
        {
            std::unique_lock<std::mutex> lock(c->queueMutex);
            if (c->queue.empty())
                c->queueCond.wait_for(lock, kIdleWait, [c] { return !c->running || !c->queue.empty(); });
            if (!c->running || c->queue.empty()) continue;
            block = c->queue.front();
            c->queue.pop_front();
            c->delivering = true;
        }

        const int ret = deliver(c, block);
        if (ret == kWaitStopped) {
            // Stop discards whatever is still to send, this block included.
            std::free(block);
            break;
        }
        SDK_LOG("send data: ret %d, type %d, size %d, sender %s", ret, static_cast<int>(block->alarmType),
                static_cast<int>(block->totalSize), SenderText(block).text);
        c->callback(ret, block, c->user);

        std::unique_lock<std::mutex> lock(c->queueMutex);
        c->delivering = false;
        if (ret == 0) {
            lock.unlock();
            std::free(block);
            continue;
        }
        c->queue.push_front(block);
        c->queueCond.wait_for(lock, kRetryPause, [c] { return !c->running; });
    }
}

int stop_client(AlarmClient *c) {
    if (!c->running) return SARVIK_ERR_STATE;
    // From the callback the worker would wait for itself.
    if (std::this_thread::get_id() == c->worker.get_id()) return SARVIK_ERR_STATE;
    {
        std::lock_guard<std::mutex> lock(c->queueMutex);
        c->running = false;
    }
    c->queueCond.notify_all();
    c->wake.raise();
    if (c->worker.joinable()) c->worker.join();
    discard_queue(c);
    return 0;
}

}  // namespace

extern "C" SARVIK_API AlarmClient *AlarmClient_Create(void) {
    if (!sdk_initialised()) return nullptr;
    return new (std::nothrow) AlarmClient();
}

extern "C" SARVIK_API int AlarmClient_Start(AlarmClient *client, const AlarmConfig *config,
                                            AlarmClientCallback callback, void *user) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (!client || !config || !callback) return SARVIK_ERR_INVALID_ARG;
    std::lock_guard<std::mutex> life(client->lifeMutex);
    if (client->running) return SARVIK_ERR_STATE;
    uint32_t addr = 0;
    if (!alarm_parse_ip(*config, false, &addr)) return SARVIK_ERR_INVALID_ARG;
    if (!client->wake.reset()) return SARVIK_ERR_SOCKET;

    client->config = *config;
    client->callback = callback;
    client->user = user;
    client->serverAddr = addr;
    client->timeoutMs = alarm_timeout_ms(*config);
    discard_queue(client);
    client->running = true;
    try {
        client->worker = std::thread(work_loop, client);
    } catch (const std::system_error &) {
        client->running = false;
        return SARVIK_ERR_NO_MEMORY;
    }
    return 0;
}

extern "C" SARVIK_API int AlarmClient_PostData(AlarmClient *client, const AlarmDataHeader *block) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (!client || !block) return SARVIK_ERR_INVALID_ARG;
    // A block the server must refuse would sit at the head of the queue and be retried for ever.
    if (!alarm_header_valid(block)) return SARVIK_ERR_MALFORMED;
    if (!client->running) return SARVIK_ERR_STATE;

    auto *copy = static_cast<AlarmDataHeader *>(std::malloc(block->totalSize));
    if (!copy) return SARVIK_ERR_STATE;
    std::memcpy(copy, block, block->totalSize);
    {
        std::lock_guard<std::mutex> lock(client->queueMutex);
        const size_t held = client->queue.size() + (client->delivering ? 1 : 0);
        if (!client->running || held >= client->config.queueCapacity) {
            std::free(copy);
            return SARVIK_ERR_STATE;
        }
        client->queue.push_front(copy);
        // Still under the mutex, so this line always comes before the worker's line about the block.
        SDK_LOG("send frame-pre: type %d, size %d, sender %s", static_cast<int>(copy->alarmType),
                static_cast<int>(copy->totalSize), SenderText(copy).text);
    }
    client->queueCond.notify_all();
    return 0;
}

extern "C" SARVIK_API int AlarmClient_Stop(AlarmClient *client) {
    if (!client) return SARVIK_ERR_INVALID_ARG;
    std::lock_guard<std::mutex> life(client->lifeMutex);
    return stop_client(client);
}

extern "C" SARVIK_API int AlarmClient_Free(AlarmClient **client) {
    if (!client) return SARVIK_ERR_INVALID_ARG;
    if (!*client) return 0;
    {
        std::lock_guard<std::mutex> life((*client)->lifeMutex);
        if (stop_client(*client) == SARVIK_ERR_STATE && (*client)->running) return SARVIK_ERR_STATE;
    }
    delete *client;
    *client = nullptr;
    return 0;
}
