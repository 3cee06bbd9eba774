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

StreamFrame::StreamFrame(const Options &opt)
    : scene_(scene_config(opt)),
      samples_(static_cast<size_t>(opt.width) * opt.height),
      wire_(sizeof(_DataFrameHeader) + 2 * samples_.size()) {}

size_t StreamFrame::build(int64_t sinceStartMs, bool shutterClosed, bool encode, bool malformed) {
    scene_.render(sinceStartMs, shutterClosed, &header_, samples_.data());
    uint8_t *payload = wire_.data() + sizeof header_;
    const size_t rawBytes = 2 * samples_.size();
    size_t encoded = 0;
    if (malformed)
        encoded = delta_run_malformed(samples_.size(), payload);
    else if (encode)
        encoded = delta_run_encode(samples_.data(), samples_.size(), payload, rawBytes);
    _DataFrameHeader onWire = header_;
    onWire.encodedLength = static_cast<int32_t>(encoded);
    std::memcpy(wire_.data(), &onWire, sizeof onWire);
    if (encoded == 0) std::memcpy(payload, samples_.data(), rawBytes);
    return sizeof onWire + (encoded ? encoded : rawBytes);
}

void StreamFrame::stamp_now() {
    header_.timestamp = unix_ticks_now();
    std::memcpy(wire_.data() + offsetof(_DataFrameHeader, timestamp), &header_.timestamp,
                sizeof header_.timestamp);
}

}  // namespace vcam
