// The fake visible camera of the tests: Aravis's fake GigE Vision camera with our feature description, run
// inside a private network namespace (the fake camera listens only on an address some interface carries).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace mvcamtest {

// Moves this process into a new network namespace with lo up and the camera address on lo; with lan, also
// the veth network of the discovery tests, so that broadcasts work and stay inside. "" on success, else why
// not (the test skips).
std::string enter_camera_netns(const std::string &ip, bool lan = false);

// Milliseconds on the steady clock, for bounded waits.
int64_t now_ms();

void usleep_ms(int ms);

// Waits up to timeout_ms for done() to hold, polling every 10 ms.
template <typename Pred>
bool wait_for(Pred done, int timeout_ms) {
    const int64_t deadline = now_ms() + timeout_ms;
    while (!done()) {
        if (now_ms() > deadline) return false;
        usleep_ms(10);
    }
    return true;
}

class FakeVisCamera {
public:
    FakeVisCamera(const std::string &ip, const std::string &serial = "VISFAKE01");
    ~FakeVisCamera();
    FakeVisCamera(const FakeVisCamera &) = delete;
    FakeVisCamera &operator=(const FakeVisCamera &) = delete;

    // Starts the camera and waits (at most 10 s) until it answers a unicast discovery.
    bool start();
    // SIGKILL, as a camera that loses power.
    void kill_hard();
    // SIGSTOP / SIGCONT: a camera that stops answering for a while and keeps its settings.
    void pause();
    void resume();
    // SIGTERM, then SIGKILL after 5 s.
    void stop();
    const std::string &ip() const { return ip_; }
    uint32_t ip_host_order() const;

private:
    std::string ip_, serial_;
    pid_t pid_ = -1;
};

}  // namespace mvcamtest
