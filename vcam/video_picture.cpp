#include "video_picture.h"

#include <cstdio>

#include "stream_frame.h"
#include "video_palette.h"

namespace vcam {

VideoPicture::VideoPicture(const Options &opt, VideoKind kind, int width, int height)
    : opt_(opt),
      kind_(kind),
      width_(width),
      height_(height),
      scene_(scene_config(opt)),
      samples_(static_cast<size_t>(opt.width) * opt.height),
      thermal_(static_cast<size_t>(width) * height) {
    if (kind_ == VideoKind::Mixed) {
        mixed_.resize(thermal_.size());
        visible_ = std::make_unique<VisibleScene>(width, height);
    }
}

const uint32_t *VideoPicture::render(int64_t sinceStartMs, bool shutterClosed) {
    const uint32_t *out = kind_ == VideoKind::Mixed ? mixed_.data() : thermal_.data();
    // A frozen scene is the first picture of a fresh scene: the same for every connection and every dump.
    if (opt_.video.still && rendered_) return out;
    if (opt_.video.still) {
        sinceStartMs = 0;
        shutterClosed = false;
    }
    scene_.render(sinceStartMs, shutterClosed, &header_, samples_.data());
    render_iron(samples_.data(), opt_.width, opt_.height, header_.slope, header_.offset, thermal_.data(),
                width_, height_);
    if (kind_ == VideoKind::Mixed)
        blend_half(thermal_.data(), visible_->bgra(), mixed_.data(), mixed_.size());
    rendered_ = true;
    return out;
}

namespace {

bool dump_one(const Options &opt, VideoKind kind, const std::string &path) {
    Options still = opt;
    still.video.still = true;
    const int width = even_side(video_width(opt));
    const int height = even_side(video_height(opt));
    if (!video_size_ok(width, height)) {
        std::fprintf(stderr, "sarvik-vcam: video size %dx%d out of range\n", width, height);
        return false;
    }
    VideoPicture picture(still, kind, width, height);
    const uint32_t *bgra = picture.render(0, false);
    const size_t bytes = static_cast<size_t>(picture.width()) * picture.height() * 4;
    FILE *f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(bgra, 1, bytes, f) == bytes;
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) std::fprintf(stderr, "sarvik-vcam: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

bool dump_video_pictures(const Options &opt) {
    if (!opt.video.dumpVideo.empty() && !dump_one(opt, VideoKind::Thermal, opt.video.dumpVideo)) return false;
    if (!opt.video.dumpMixed.empty() && !dump_one(opt, VideoKind::Mixed, opt.video.dumpMixed)) return false;
    return true;
}

}  // namespace vcam
