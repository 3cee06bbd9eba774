// Shared pieces of the receiver tests: the SDK started with its log lines captured, and frame slots.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "data_frame.h"
#include "sdk_global.h"
#include "zq_logger.h"

namespace frametest {

inline std::mutex &log_mutex() {
    static std::mutex m;
    return m;
}
inline std::string &log_text() {
    static std::string s;
    return s;
}
inline void capture_line(int, const char *line, int len) {
    std::lock_guard<std::mutex> lock(log_mutex());
    log_text().append(line, static_cast<size_t>(len));
}

class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        logger_set_handler(logger_create_default(), capture_line);
        std::lock_guard<std::mutex> lock(log_mutex());
        log_text().clear();
    }
    void TearDown() override { Sarvik_FreeSDK(); }
    static std::string log() {
        std::lock_guard<std::mutex> lock(log_mutex());
        return log_text();
    }
    static bool logged(const std::string &text) { return log().find(text) != std::string::npos; }
    // Short waits for the time-out cases (the public setter allows 2000 ms at least).
    static void short_recv_timeout() { sarvik::sdk().recvTimeoutMs = 300; }
};

// A frame slot of its own block, freed with the test.
struct Slot {
    Slot(uint16_t w, uint16_t h) { ok = sarvik::data_frame_alloc(&frame, w, h) == 0; }
    ~Slot() { sarvik::data_frame_free(&frame); }
    Slot(const Slot &) = delete;
    Slot &operator=(const Slot &) = delete;
    std::vector<int16_t> samples() const {
        return {frame.data, frame.data + static_cast<size_t>(frame.header->width) * frame.header->height};
    }
    _DataFrame frame{};
    bool ok = false;
};

}  // namespace frametest
