// One frame on the wire: the 128-byte header and its samples (raw or delta-run encoded) in one buffer,
// rendered from the scene. Shared by the TCP and UDP streams and the snapshot port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SarvikSDK.h"
#include "thermal_scene.h"
#include "vcam_options.h"

namespace vcam {

SceneConfig scene_config(const Options &opt);

// The frames of --scene-loop: the scene at 0, 1, ... N - 1 frame periods, rendered once. Read-only once
// built, so every stream connection may share it.
class SceneLoop {
public:
    // Renders opt.stream.sceneLoop frames; empty when that is 0.
    explicit SceneLoop(const Options &opt);
    size_t size() const { return headers_.size(); }
    const _DataFrameHeader &header(size_t i) const { return headers_[i]; }
    const int16_t *samples(size_t i) const { return samples_.data() + i * pixels_; }

private:
    size_t pixels_;
    std::vector<_DataFrameHeader> headers_;
    std::vector<int16_t> samples_;  // size() frames back to back
};

class StreamFrame {
public:
    // All buffers for the options' frame size are allocated here; build allocates nothing.
    explicit StreamFrame(const Options &opt);
    StreamFrame(const StreamFrame &) = delete;
    StreamFrame &operator=(const StreamFrame &) = delete;

    // Renders the frame shown sinceStartMs after the camera started. encode: delta-run when it is shorter;
    // malformed: a delta-run payload every decoder refuses. Returns the bytes to send (header + payload).
    size_t build(int64_t sinceStartMs, bool shutterClosed, bool encode, bool malformed);
    // Frame number % loop.size() of the loop instead of a rendered one, carrying number in header bytes
    // 56 to 59 so a receiver can count what the camera sent. The loop must not be empty.
    size_t build_looped(const SceneLoop &loop, uint32_t number, bool encode, bool malformed);
    // Re-stamps the built frame with the wall-clock time, so a receiver measures latency from the send.
    void stamp_now();

    const uint8_t *bytes() const { return wire_.data(); }
    const _DataFrameHeader &header() const { return header_; }
    const int16_t *samples() const { return current_; }
    size_t sample_count() const { return samples_.size(); }

private:
    size_t pack(const int16_t *samples, bool encode, bool malformed);

    ThermalScene scene_;
    _DataFrameHeader header_{};
    std::vector<int16_t> samples_;
    std::vector<uint8_t> wire_;  // header + up to 2 x w x h payload bytes
    const int16_t *current_;     // samples of the last frame built: samples_ or a loop frame's
};

}  // namespace vcam
