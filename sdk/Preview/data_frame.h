// The frame slot: one block per slot holding header, samples, scratch samples, BGRA image and extra block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

constexpr size_t kFrameHeaderSize = sizeof(_DataFrameHeader);  // 128
constexpr size_t kFrameExtraSize = SARVIK_FRAME_EXTRA_SIZE;     // 16384

// Bytes of one slot's block: 8 x width x height + 16512.
size_t data_frame_block_size(uint16_t width, uint16_t height);

// Points header, data, scratch, image and extra into block (data_frame_block_size bytes), in that order;
// previous is cleared. The block must be at least 4-byte aligned.
void data_frame_layout(_DataFrame *frame, void *block, uint16_t width, uint16_t height);

// Allocates one zero-filled block for the slot and lays it out: 0, -8 for a zero width or height, -5 when
// out of memory (the slot is then cleared).
int data_frame_alloc(_DataFrame *frame, uint16_t width, uint16_t height);

// Releases a block from data_frame_alloc (held through the header pointer) and clears the slot.
void data_frame_free(_DataFrame *frame);

// Commits slots[*next] of a ring of count slots as its newest frame (linked to the one before) and moves
// *next on. The slot written next is the oldest: nothing is left pointing back at it.
void data_frame_ring_commit(_DataFrame *slots, int count, int *next, _DataFrame **newest);

// The header's camera time stamp (100-ns ticks since 1970) as ticks since 1601, the SDK's own epoch.
int64_t data_frame_time_win64(const _DataFrameHeader *header);

}  // namespace sarvik
