#include "stream_frame.h"

#include <cstddef>
#include <cstring>

#include "delta_run_encoder.h"

namespace vcam {

SceneConfig scene_config(const Options &opt) {
    SceneConfig c;
    c.width = opt.width;
    c.height = opt.height;
    c.slope = opt.stream.slope;
    c.offset = opt.stream.offset;
    c.dataKind = data_kind(opt);
    c.seed = opt.stream.seed;
    return c;
}

SceneLoop::SceneLoop(const Options &opt) : pixels_(static_cast<size_t>(opt.width) * opt.height) {
    const int n = opt.stream.sceneLoop;
    if (n <= 0) return;
    ThermalScene scene(scene_config(opt));
    headers_.resize(static_cast<size_t>(n));
    samples_.resize(pixels_ * static_cast<size_t>(n));
    // An unpaced camera has no period of its own: its loop moves as at 25 Hz.
    const int64_t periodMs = 1000 / (opt.fps > 0 ? opt.fps : 25);
    for (int k = 0; k < n; ++k)
        scene.render(k * periodMs, false, &headers_[k], samples_.data() + static_cast<size_t>(k) * pixels_);
}

StreamFrame::StreamFrame(const Options &opt)
    : scene_(scene_config(opt)),
      samples_(static_cast<size_t>(opt.width) * opt.height),
      wire_(sizeof(_DataFrameHeader) + 2 * samples_.size()),
      current_(samples_.data()) {}

size_t StreamFrame::build(int64_t sinceStartMs, bool shutterClosed, bool encode, bool malformed) {
    scene_.render(sinceStartMs, shutterClosed, &header_, samples_.data());
    return pack(samples_.data(), encode, malformed);
}

size_t StreamFrame::build_looped(const SceneLoop &loop, uint32_t number, bool encode, bool malformed) {
    const size_t k = number % loop.size();
    header_ = loop.header(k);
    std::memcpy(header_.reserved_56, &number, sizeof number);
    return pack(loop.samples(k), encode, malformed);
}

size_t StreamFrame::pack(const int16_t *samples, bool encode, bool malformed) {
    current_ = samples;
    uint8_t *payload = wire_.data() + sizeof header_;
    const size_t rawBytes = 2 * samples_.size();
    size_t encoded = 0;
    if (malformed)
        encoded = delta_run_malformed(samples_.size(), payload);
    else if (encode)
        encoded = delta_run_encode(samples, samples_.size(), payload, rawBytes);
    _DataFrameHeader onWire = header_;
    onWire.encodedLength = static_cast<int32_t>(encoded);
    std::memcpy(wire_.data(), &onWire, sizeof onWire);
    if (encoded == 0) std::memcpy(payload, samples, rawBytes);
    return sizeof onWire + (encoded ? encoded : rawBytes);
}

void StreamFrame::stamp_now() {
    header_.timestamp = unix_ticks_now();
    std::memcpy(wire_.data() + offsetof(_DataFrameHeader, timestamp), &header_.timestamp,
                sizeof header_.timestamp);
}

}  // namespace vcam
