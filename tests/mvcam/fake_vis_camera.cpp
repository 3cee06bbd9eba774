#include "fake_vis_camera.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "MvCameraControl.h"
#include "netns.h"

#if defined(__SANITIZE_THREAD__)
// Aravis hands buffers between its threads through GLib's futex-based queues, which ThreadSanitizer cannot
// see (GLib itself is suppressed in tests/tsan.supp); the same goes for Aravis's own memory.
extern "C" __attribute__((visibility("default"))) const char *__tsan_default_suppressions() {
    return "called_from_lib:libaravis-0.8.so\nrace:libaravis-0.8.so\ndeadlock:libaravis-0.8.so\nmutex:"
           "libaravis-0.8.so\nmutex:libglib-2.0.so\n";
}
#endif

namespace mvcamtest {

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void usleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string enter_camera_netns(const std::string &ip, bool lan) {
    const std::string why = discovertest::enter_test_netns(lan ? discovertest::NetnsKind::Lan
                                                               : discovertest::NetnsKind::LoopbackOnly);
    if (!why.empty()) return "the camera tests run in a private network namespace: " + why;
    if (discovertest::run_ip("addr add " + ip + "/32 dev lo") != 0)
        return "cannot give lo the camera address " + ip;
    return "";
}

FakeVisCamera::FakeVisCamera(const std::string &ip, const std::string &serial) : ip_(ip), serial_(serial) {}

FakeVisCamera::~FakeVisCamera() {
    stop();
}

uint32_t FakeVisCamera::ip_host_order() const {
    in_addr a{};
    inet_pton(AF_INET, ip_.c_str(), &a);
    return ntohl(a.s_addr);
}

bool FakeVisCamera::start() {
    stop();
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        // The camera dies with the test, however the test ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        execlp("arv-fake-gv-camera-0.8", "arv-fake-gv-camera-0.8", "-i", ip_.c_str(), "-s", serial_.c_str(),
               "-g", MVCAM_FAKE_XML, static_cast<char *>(nullptr));
        _exit(127);
    }
    const int64_t deadline = now_ms() + 10000;
    while (now_ms() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        MV_CC_DEVICE_INFO_LIST list;
        if (MV_CC_EnumDevicesUnicast(ip_host_order(), 200, &list) == MVCC_OK && list.nDeviceNum == 1)
            return true;
    }
    return false;
}

void FakeVisCamera::kill_hard() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void FakeVisCamera::pause() {
    if (pid_ > 0) kill(pid_, SIGSTOP);
}

void FakeVisCamera::resume() {
    if (pid_ > 0) kill(pid_, SIGCONT);
}

void FakeVisCamera::stop() {
    resume();
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    const int64_t deadline = now_ms() + 5000;
    while (now_ms() < deadline) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep_ms(10);
    }
    kill_hard();
}

}  // namespace mvcamtest
