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

class StreamFrame {
public:
    // All buffers for the options' frame size are allocated here; build allocates nothing.
    explicit StreamFrame(const Options &opt);

    // Renders the frame shown sinceStartMs after the camera started. encode: delta-run when it is shorter;
    // malformed: a delta-run payload every decoder refuses. Returns the bytes to send (header + payload).
    size_t build(int64_t sinceStartMs, bool shutterClosed, bool encode, bool malformed);
    // Re-stamps the built frame with the wall-clock time, so a receiver measures latency from the send.
    void stamp_now();

    const uint8_t *bytes() const { return wire_.data(); }
    const _DataFrameHeader &header() const { return header_; }
    const int16_t *samples() const { return samples_.data(); }
    size_t sample_count() const { return samples_.size(); }

private:
    ThermalScene scene_;
    _DataFrameHeader header_{};
    std::vector<int16_t> samples_;
    std::vector<uint8_t> wire_;  // header + up to 2 x w x h payload bytes
};

}  // namespace vcam
