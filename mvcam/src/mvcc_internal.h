// Internals of libMvCameraControl: one Core per handle, shared with the threads that call back.
#pragma once

#include <arv.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "MvCameraControl.h"
#include "pixel_convert.h"

namespace mvcc {

struct Recorder;

struct Core : std::enable_shared_from_this<Core> {
    MV_CC_DEVICE_INFO info{};

    // Serialises open, close, start and stop. Held while the grab thread is joined, so nothing the grab
    // thread or a callback needs may wait for it.
    std::mutex lifecycle;
    // Guards the device and stream pointers and the exception callback for short reads.
    std::mutex stateLock;
    ArvDevice *device = nullptr;
    ArvStream *stream = nullptr;
    gulong lostSignal = 0;
    unsigned accessMode = 0;
    bool grabbing = false;

    MvImageCallback imageCb = nullptr;
    void *imageUser = nullptr;
    MvExceptionCallback exceptionCb = nullptr;
    void *exceptionUser = nullptr;

    // Grab thread: pops buffers, calls back, watches for a stalled stream.
    std::thread grabThread;
    std::atomic<bool> grabStop{false};
    std::atomic<std::thread::id> grabThreadId{};
    int64_t stallMs = MVCC_STREAM_STALL_MS;  // 0: not watched (triggered cameras)

    // One exception per connection; cleared by open.
    std::atomic<bool> lost{false};
    // An exception callback in flight, and the thread it runs on.
    std::atomic<int> dispatching{0};
    std::atomic<std::thread::id> dispatchThread{};

    std::mutex convertLock;
    Converter converter;

    std::mutex recordLock;
    Recorder *recorder = nullptr;

    ~Core();
};

struct Handle {
    uint32_t magic;
    std::shared_ptr<Core> core;
};

// The handle's core, or null when the pointer is not a live handle of this library.
std::shared_ptr<Core> core_of(void *handle);

// Maps an Aravis error to a library code (MVCC_E_INTERNAL for anything unknown); frees it.
int take_error(GError **error);

// Recorder operations (recorder.cpp); all under core.recordLock.
int recorder_start(Core &core, const MVCC_RECORD_PARAM &param);
int recorder_input(Core &core, const uint8_t *data, uint32_t length);
int recorder_stop(Core &core);

// GigE Vision discovery (gige_discovery.cpp). With unicastIp 0 it broadcasts on every interface.
int gige_discover(uint32_t unicastIp, int timeoutMs, MV_CC_DEVICE_INFO_LIST *list);

// Milliseconds since 1970-01-01 UTC.
int64_t host_time_ms();

}  // namespace mvcc
