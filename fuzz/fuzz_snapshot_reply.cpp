// A camera's snapshot reply decides how much is read into the user's buffer: the header check must keep
// every accepted reply inside that buffer, whatever the header claims. Accepted replies are then written
// the way a snapshot file is (image, then tail) and handed to the snapshot file parser.
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "SarvikSDK.h"
#include "frame_file_format.h"
#include "snapshot_exchange.h"

namespace {

int64_t mem_read(void *ctx, int64_t offset, void *buf, size_t length) {
    const auto *in = static_cast<const std::vector<uint8_t> *>(ctx);
    if (offset < 0 || static_cast<size_t>(offset) >= in->size()) return 0;
    const size_t n = std::min(length, in->size() - static_cast<size_t>(offset));
    std::memcpy(buf, in->data() + offset, n);
    return static_cast<int64_t>(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < sizeof(SnapshotHeader) + 1) return 0;
    // The first byte picks the camera: data size and whether it reports a video size.
    const int width = 80 + (data[0] & 7) * 8, height = 60 + ((data[0] >> 3) & 3) * 4;
    const size_t video = (data[0] & 0x20) ? 160 * 120 : static_cast<size_t>(width) * height;
    const size_t bufferSize = 4 * video + 2 * static_cast<size_t>(width) * height + 16716;
    ++data;
    --size;
    SnapshotHeader header;
    std::memcpy(&header, data, sizeof header);
    int64_t imageLength = -1;
    if (sarvik::snapshot_header_check(header, bufferSize, width, height, &imageLength) != 0) return 0;
    const int64_t tail = sarvik::temp_tail_size(static_cast<int64_t>(width) * height);
    if (header.totalLength < 0 || static_cast<size_t>(header.totalLength) > bufferSize) std::abort();
    if (imageLength < 0 || imageLength + tail + 32 != header.totalLength) std::abort();
    if (static_cast<size_t>(header.totalLength) > size) return 0;  // the reply broke off

    std::vector<uint8_t> buffer(bufferSize);
    std::memcpy(buffer.data(), data, static_cast<size_t>(header.totalLength));
    const uint8_t *tailAt = buffer.data() + sizeof header;
    std::vector<uint8_t> file(tailAt + tail, tailAt + tail + imageLength);
    file.insert(file.end(), tailAt, tailAt + tail);
    const sarvik::FrameFileSource src{static_cast<int64_t>(file.size()), &file, mem_read};
    sarvik::FrameFileLayout l;
    if (sarvik::frame_file_parse_snapshot(src, &l) == 0 && l.imageLength != imageLength) std::abort();
    return 0;
}
