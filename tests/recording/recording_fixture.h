// Recording tests: a preview whose every delivered frame is remembered by time stamp, with a digest of its
// rendered image, so recorded files can be matched frame by frame against what the callback saw.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "../preview/preview_fixture.h"

namespace rectest {

struct Seen {
    uint64_t imageDigest;
    uint64_t sampleDigest;
};

inline uint64_t digest(const void *data, size_t bytes) {
    // FNV-1a: enough to tell frames apart.
    uint64_t h = 1469598103934665603ull;
    const auto *p = static_cast<const uint8_t *>(data);
    for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

class FrameLog {
public:
    static void callback(int status, _DataFrame *frame, void *user) {
        auto *self = static_cast<FrameLog *>(user);
        if (status != 0 || !frame) return;
        const size_t n = static_cast<size_t>(frame->header->width) * frame->header->height;
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->order_.push_back(frame->header->timestamp);
        self->seen_[frame->header->timestamp] = {digest(frame->image, 4 * n), digest(frame->data, 2 * n)};
    }
    size_t count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return order_.size();
    }
    std::vector<int64_t> order() {
        std::lock_guard<std::mutex> lock(mutex_);
        return order_;
    }
    bool find(int64_t stamp, Seen *out) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = seen_.find(stamp);
        if (it == seen_.end()) return false;
        *out = it->second;
        return true;
    }

private:
    std::mutex mutex_;
    std::vector<int64_t> order_;
    std::map<int64_t, Seen> seen_;
};

inline int64_t file_size(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

}  // namespace rectest
