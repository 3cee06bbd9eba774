// The camera's snapshot port (55505 by default): every connection gets one reply and is closed. The reply
// is a 32-byte header (total length, width, height), the temperature tail of the current frame ("teMp",
// information record, frame header, samples, closing width, height and mark) and a JPEG of that frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "camera_state.h"
#include "stream_frame.h"
#include "vcam_options.h"

namespace vcam {

class SnapshotService {
public:
    SnapshotService(const Options &opt, CameraState &state, int64_t startMs);
    ~SnapshotService();
    SnapshotService(const SnapshotService &) = delete;
    SnapshotService &operator=(const SnapshotService &) = delete;

    // Binds ip:port and listens; false (with a message on stderr) when that fails.
    bool open();
    // Answers connections one after the other until stop is set or the deadline passes.
    void run(const std::atomic<bool> &stop, int64_t deadlineMs);

    // Builds the reply for the frame shown sinceStartMs after the start; empty when encoding failed.
    const std::vector<uint8_t> &build_reply(int64_t sinceStartMs);

private:
    // The frame as an 8-bit gray picture stretched over its own range, JPEG encoded into jpeg_.
    bool encode_jpeg();

    const Options &opt_;
    CameraState &state_;
    const int64_t startMs_;
    int listenFd_ = -1;
    void *jpegHandle_ = nullptr;
    StreamFrame frame_;
    std::vector<uint8_t> gray_;
    std::vector<uint8_t> jpeg_;
    unsigned long jpegSize_ = 0;
    std::vector<uint8_t> reply_;
};

}  // namespace vcam
