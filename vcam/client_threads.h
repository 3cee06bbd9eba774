// The connections one TCP port of the camera serves, a thread each, joined as they end.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <thread>

namespace vcam {

class ClientThreads {
public:
    ClientThreads() = default;
    ~ClientThreads() { reap(true); }
    ClientThreads(const ClientThreads &) = delete;
    ClientThreads &operator=(const ClientThreads &) = delete;

    size_t size() const { return clients_.size(); }
    // Gives the accepted socket send and receive time-outs and no Nagle delay, then runs serve(fd) on a
    // thread of its own, which closes fd when serve returns.
    void start(int fd, int timeoutMs, std::function<void(int)> serve);
    // Joins the threads that have ended, or all of them.
    void reap(bool all);

private:
    struct Client {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    std::list<std::unique_ptr<Client>> clients_;
};

}  // namespace vcam
