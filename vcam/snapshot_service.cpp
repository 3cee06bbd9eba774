#include "snapshot_service.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "SarvikSDK.h"
#include "command_server.h"
#include "stream_service.h"
#include "thermal_scene.h"

namespace vcam {

namespace {

constexpr int kIoTimeoutMs = 2000;
constexpr int kPollMs = 100;
constexpr int kJpegQuality = 90;
// Ticks between 1601-01-01 and 1970-01-01: the information record counts from 1601.
constexpr int64_t kEpoch1601Ticks = 116444736000000000LL;

}  // namespace

SnapshotService::SnapshotService(const Options &opt, CameraState &state, int64_t startMs)
    : opt_(opt), state_(state), startMs_(startMs), frame_(opt) {
    const size_t n = static_cast<size_t>(opt.width) * opt.height;
    gray_.resize(n);
    jpeg_.resize(tjBufSize(opt.width, opt.height, TJSAMP_GRAY));
    reply_.reserve(sizeof(SnapshotHeader) + sizeof(TempTailHead) + 2 * n + sizeof(TempTailEnd) +
                   jpeg_.size());
    jpegHandle_ = tjInitCompress();
}

SnapshotService::~SnapshotService() {
    if (jpegHandle_) tjDestroy(static_cast<tjhandle>(jpegHandle_));
    if (listenFd_ >= 0) close(listenFd_);
}

bool SnapshotService::open() {
    if (!jpegHandle_) {
        std::fprintf(stderr, "sarvik-vcam: no JPEG encoder for snapshots\n");
        return false;
    }
    listenFd_ = listen_tcp(opt_.ip, opt_.stream.snapshotPort);
    return listenFd_ >= 0;
}

bool SnapshotService::encode_jpeg() {
    const int16_t *s = frame_.samples();
    const size_t n = frame_.sample_count();
    const auto mm = std::minmax_element(s, s + n);
    const int lo = *mm.first;
    const int range = std::max(1, *mm.second - lo);
    for (size_t i = 0; i < n; ++i) gray_[i] = static_cast<uint8_t>((s[i] - lo) * 255 / range);
    unsigned char *out = jpeg_.data();
    jpegSize_ = jpeg_.size();
    return tjCompress2(static_cast<tjhandle>(jpegHandle_), gray_.data(), opt_.width, 0, opt_.height,
                       TJPF_GRAY, &out, &jpegSize_, TJSAMP_GRAY, kJpegQuality, TJFLAG_NOREALLOC) == 0;
}

const std::vector<uint8_t> &SnapshotService::build_reply(int64_t sinceStartMs) {
    reply_.clear();
    frame_.build(sinceStartMs, state_.shutter_closed(), false, false);
    if (!encode_jpeg()) return reply_;
    const size_t n = frame_.sample_count();

    TempTailHead head{};
    head.length = static_cast<int32_t>(2 * n + SARVIK_TEMP_TAIL_FIXED - 12);
    std::memcpy(head.magic, "teMp", 4);
    // Zero-padded, not necessarily terminated: the record holds exactly 32 bytes.
    std::memcpy(head.info.cameraId, opt_.cameraId.data(),
                std::min(opt_.cameraId.size(), sizeof head.info.cameraId));
    head.info.timestamp = unix_ticks_now() + kEpoch1601Ticks;
    head.info.width = opt_.width;
    head.info.height = opt_.height;
    std::vector<uint8_t> fix;
    if (state_.get_record(SARVIK_MSG_GET_FIX_INFO, &fix) && fix.size() >= sizeof head.info.fixInfo)
        std::memcpy(&head.info.fixInfo, fix.data(), sizeof head.info.fixInfo);
    head.info.dataFps = static_cast<int16_t>(opt_.fps);
    head.info.dataRatio = 1;
    head.header = frame_.header();
    TempTailEnd end{};
    end.width = opt_.width;
    end.height = opt_.height;
    end.mark = SARVIK_TEMP_TAIL_MARK;

    SnapshotHeader top{};
    top.totalLength = static_cast<int32_t>(sizeof top + sizeof head + 2 * n + sizeof end + jpegSize_);
    top.width = opt_.width;
    top.height = opt_.height;

    auto append = [this](const void *p, size_t len) {
        const auto *b = static_cast<const uint8_t *>(p);
        reply_.insert(reply_.end(), b, b + len);
    };
    append(&top, sizeof top);
    append(&head, sizeof head);
    append(frame_.samples(), 2 * n);
    append(&end, sizeof end);
    append(jpeg_.data(), jpegSize_);
    return reply_;
}

void SnapshotService::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    while (!stop && now_ms() < deadlineMs) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        const int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        timeval tv{kIoTimeoutMs / 1000, 0};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        const std::vector<uint8_t> &reply = build_reply(now_ms() - startMs_);
        if (!reply.empty()) send_exact(fd, reply.data(), reply.size());
        close(fd);
    }
}

}  // namespace vcam
