// The pictures behind the camera's compressed video: the synthetic thermal scene rendered in the camera's
// own palette (video port), or that picture blended with a synthetic visible scene (mixed port).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "thermal_scene.h"
#include "vcam_options.h"
#include "visible_scene.h"

namespace vcam {

enum class VideoKind { Thermal, Mixed };

// The encoder works on even sizes: an odd side is cropped by one, and the stream announces the result.
inline int even_side(int side) {
    return side & ~1;
}
// Sizes the video outputs serve; anything else is refused before a picture is allocated.
inline bool video_size_ok(int width, int height) {
    return width >= 16 && height >= 16 && width <= 8192 && height <= 8192;
}

class VideoPicture {
public:
    // width x height: the picture size; the scene is rendered at the temperature size and scaled to it.
    // Every buffer is allocated here, render allocates nothing.
    VideoPicture(const Options &opt, VideoKind kind, int width, int height);

    // The picture shown sinceStartMs after the camera started; with --still always the first one.
    // Valid until the next call.
    const uint32_t *render(int64_t sinceStartMs, bool shutterClosed);

    int width() const { return width_; }
    int height() const { return height_; }

private:
    const Options &opt_;
    const VideoKind kind_;
    const int width_;
    const int height_;
    ThermalScene scene_;
    _DataFrameHeader header_{};
    std::vector<int16_t> samples_;
    std::vector<uint32_t> thermal_;
    std::vector<uint32_t> mixed_;
    std::unique_ptr<VisibleScene> visible_;
    bool rendered_ = false;
};

// Writes the still pictures asked for by --dump-video / --dump-mixed at the video size; false (with a
// message on stderr) when a file cannot be written.
bool dump_video_pictures(const Options &opt);

}  // namespace vcam
