// mvcam-probe ADDRESS [FRAMES]: lists the GigE and USB3 cameras (the GigE list broadcasts a discovery), opens
// the camera at ADDRESS (by unicast), prints its 28 features and grabs FRAMES frames (default 50), reporting
// their rate. Exit status 0 when the frames came, 1 otherwise.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "mvs.h"

#if defined(__SANITIZE_THREAD__)
// Aravis hands buffers between its threads through GLib's futex-based queues, which ThreadSanitizer cannot
// see (as GLib's own); the same goes for Aravis's own memory.
extern "C" __attribute__((visibility("default"))) const char *__tsan_default_suppressions() {
    return "called_from_lib:libaravis-0.8.so\nrace:libaravis-0.8.so\ndeadlock:libaravis-0.8.so\nmutex:"
           "libaravis-0.8.so\nmutex:libglib-2.0.so\n";
}
#endif

namespace {

std::atomic<int> gFrames{0};
std::atomic<int> gConverted{0};

void on_frame(unsigned char *, MV_FRAME_OUT_INFO_EX *, void *bgra, void *) {
    ++gFrames;
    if (bgra) ++gConverted;
}

void on_status(unsigned int status, void *) {
    std::printf("status %d\n", static_cast<int>(status));
}

void print_param(const MVSParam &p) {
    const int32_t *v = reinterpret_cast<const int32_t *>(&p);
    for (int i = 0; i < MVS_PARAM_COUNT; ++i) {
        const MVSRegDef &d = ConstRegDefArray[i];
        if (d.kind == MVS_KIND_FLOAT) {
            float f;
            std::memcpy(&f, &v[i], sizeof f);
            std::printf("  %-28s %g\n", d.name, static_cast<double>(f));
        } else if (d.kind == MVS_KIND_ENUMERATION) {
            std::printf("  %-28s 0x%08x\n", d.name, static_cast<unsigned>(v[i]));
        } else {
            std::printf("  %-28s %d\n", d.name, v[i]);
        }
    }
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: %s ADDRESS [FRAMES]\n", argv[0]);
        return 2;
    }
    const int wanted = argc > 2 ? std::atoi(argv[2]) : 50;

    _MV_CC_DEVICE_INFO_LIST_ *list = nullptr;
    if (mvsStaticEnumDevices(MVS_TRANSPORT_GIGE | MVS_TRANSPORT_USB3, &list) == 0) {
        std::printf("devices: %u\n", list->nDeviceNum);
        for (uint32_t i = 0; i < list->nDeviceNum; ++i) {
            MVSDeviceInfo info;
            mvsStaticMakeInfo(&list->stDevice[i], &info);
            std::printf("  %s %.16s %.16s %.16s %.16s\n",
                        info.transport == MVS_TRANSPORT_GIGE ? "GigE" : "USB3", info.ip, info.mask,
                        info.gateway, reinterpret_cast<const char *>(info.identifier));
        }
    } else {
        std::printf("devices: enumeration failed\n");
    }

    _MVSContext *ctx = mvsCreate();
    MVSConfig cfg{};
    cfg.transport = MVS_TRANSPORT_GIGE;
    cfg.accessMode = MVCC_ACCESS_EXCLUSIVE;
    std::snprintf(cfg.address, sizeof cfg.address, "%s", argv[1]);
    int r = mvsSetConfig(ctx, &cfg);
    if (r == 0) r = mvsOpenDevice(ctx);
    if (r != 0) {
        std::printf("open %s: %d\n", argv[1], r);
        mvsFree(&ctx);
        return 1;
    }
    MVSParam param;
    r = mvsGetParam(ctx, &param);
    std::printf("features (%d):\n", r);
    if (r == 0) print_param(param);

    mvsSetCallback(ctx, nullptr, on_frame, on_status);
    MVSOutput out{};
    r = mvsStartWork(ctx, 1, &out);
    if (r != 0) {
        std::printf("start: %d\n", r);
        mvsFree(&ctx);
        return 1;
    }
    std::printf("grabbing %ux%u format 0x%08x at %u fps\n", out.width, out.height, out.pixelFormat,
                out.frameRate);
    const auto t0 = std::chrono::steady_clock::now();
    // Bounded: twice the time the frames should take at the camera's rate, and at least five seconds.
    const double limit = std::max(5.0, 2.0 * wanted / std::max<int>(1, out.frameRate));
    double elapsed = 0;
    while (gFrames.load() < wanted && elapsed < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    mvsFree(&ctx);
    // The callbacks have ended: the counts are final.
    const int frames = gFrames.load();
    std::printf("frames %d (%d converted) in %.2f s: %.1f fps\n", frames, gConverted.load(), elapsed,
                elapsed > 0 ? frames / elapsed : 0.0);
    return frames >= wanted ? 0 : 1;
}
