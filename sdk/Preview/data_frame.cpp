#include "data_frame.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zq_time.h"

namespace sarvik {

namespace {
// Cache-line alignment keeps every sub-buffer (all sizes are multiples of 2 x w x h) on good boundaries.
constexpr size_t kBlockAlign = 64;
}  // namespace

size_t data_frame_block_size(uint16_t width, uint16_t height) {
    const size_t n = static_cast<size_t>(width) * height;
    return 8 * n + kFrameHeaderSize + kFrameExtraSize;
}

void data_frame_layout(_DataFrame *frame, void *block, uint16_t width, uint16_t height) {
    const size_t n = static_cast<size_t>(width) * height;
    uint8_t *p = static_cast<uint8_t *>(block);
    frame->header = reinterpret_cast<_DataFrameHeader *>(p);
    p += kFrameHeaderSize;
    frame->data = reinterpret_cast<int16_t *>(p);
    p += 2 * n;
    frame->scratch = reinterpret_cast<int16_t *>(p);
    p += 2 * n;
    frame->image = reinterpret_cast<uint32_t *>(p);
    p += 4 * n;
    frame->extra = p;
    frame->previous = nullptr;
}

int data_frame_alloc(_DataFrame *frame, uint16_t width, uint16_t height) {
    std::memset(frame, 0, sizeof *frame);
    if (width == 0 || height == 0) return -8;
    const size_t size = data_frame_block_size(width, height);
    const size_t rounded = (size + kBlockAlign - 1) / kBlockAlign * kBlockAlign;
    void *block = std::aligned_alloc(kBlockAlign, rounded);
    if (!block) return -5;
    data_frame_layout(frame, block, width, height);
    // The scratch area is always written before it is read (turned or encoded samples), and only some
    // previews use it at all: left untouched, its pages cost no memory until then. The rest starts zeroed.
    auto *base = static_cast<uint8_t *>(block);
    auto *scratch = reinterpret_cast<uint8_t *>(frame->scratch);
    auto *image = reinterpret_cast<uint8_t *>(frame->image);
    std::memset(base, 0, static_cast<size_t>(scratch - base));
    std::memset(image, 0, rounded - static_cast<size_t>(image - base));
    return 0;
}

void data_frame_free(_DataFrame *frame) {
    if (!frame) return;
    std::free(frame->header);
    std::memset(frame, 0, sizeof *frame);
}

int64_t data_frame_time_win64(const _DataFrameHeader *header) {
    return header->timestamp + ZQ_WIN64_EPOCH_DIFF;
}

void data_frame_ring_commit(_DataFrame *slots, int count, int *next, _DataFrame **newest) {
    _DataFrame *slot = &slots[*next];
    slot->previous = *newest;
    *newest = slot;
    *next = (*next + 1) % count;
    slots[*next].previous = nullptr;
}

}  // namespace sarvik
