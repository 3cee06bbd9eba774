#include "client_threads.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vcam {

void ClientThreads::start(int fd, int timeoutMs, std::function<void(int)> serve) {
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto client = std::make_unique<Client>();
    Client *c = client.get();
    c->thread = std::thread([c, fd, serve = std::move(serve)] {
        serve(fd);
        close(fd);
        c->done = true;
    });
    clients_.push_back(std::move(client));
}

void ClientThreads::reap(bool all) {
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (all || (*it)->done) {
            (*it)->thread.join();
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace vcam
