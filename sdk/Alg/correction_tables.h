// Correction data prepared on the PC: the radiance scale behind the window transmission, and the rules of
// the fix-distance and close-range lens blocks that the editors and the virtual camera share. Internal to
// the library (C++ names, not exported); FixTrans_CalcTrans is the exported face of the radiance scale.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Both blocks hold (bb, mea) pairs that must rise strictly in both columns over the first count entries.
// A NaN compares false and so fails.
template <typename Pair>
bool bb_mea_ascending(const Pair *pairs, int count) {
    for (int i = 1; i < count; ++i)
        if (!(pairs[i - 1].bb < pairs[i].bb) || !(pairs[i - 1].mea < pairs[i].mea)) return false;
    return true;
}

// The first rule a fix-distance or close-range lens block breaks, so an editor can name it and its row.
struct TableFault {
    enum Rule {
        NONE,
        DIST_COUNT,       // distance count outside 0..5
        BB_COUNT,         // bbCount outside 2..10
        SHELL_COUNT,      // len1_env_count above 4
        LEN1_COUNT,       // len1_bb_count above 16
        LEN2_COUNT,       // len2_bb_count above 16
        KEYS_NOT_RISING,  // distance or shell temperature `row` not above the one before
        BB_NOT_RISING,    // bb of entry `row` in `group` not above the one before
        MEA_NOT_RISING    // mea of entry `row` in `group` not above the one before
    };
    Rule rule = NONE;
    int group = -1;  // distance block or shell group; -1 for the second lens table and the header rules
    int row = -1;    // index from 0 of the entry (or distance, shell temperature) that breaks the rule
};

// Index of the first pair whose bb or mea does not rise above the one before (-1 when all rise) and which
// of the two failed (bb first).
template <typename Pair>
int bb_mea_first_fault(const Pair *pairs, int count, bool *bbFails) {
    for (int i = 1; i < count; ++i) {
        const bool bb = !(pairs[i - 1].bb < pairs[i].bb);
        if (bb || !(pairs[i - 1].mea < pairs[i].mea)) {
            if (bbFails) *bbFails = bb;
            return i;
        }
    }
    return -1;
}

// In-band radiance (1000 at -50 C) at a temperature in thousandths of a degree, interpolated linearly
// between the rows of the radiance table and extrapolated on the first or last two rows. Computed in 64
// bits, so every int32 temperature converts without overflow.
int64_t radiance_at(int32_t milli_c);

// Fix-distance block (memory type 7): distance count 0-5, bbCount 2-10, distances strictly ascending over
// the count, and in each of the first count distance blocks bb and mea strictly ascending over the first
// bbCount pairs.
bool fix_dist_block_valid(const FixDistBlock &block);
// The same rules in the same order, with the first one broken in fault (left NONE when valid).
bool fix_dist_block_check(const FixDistBlock &block, TableFault *fault);
// The same for bytes as fetched or read from a file: exactly 696 of them.
bool fix_dist_block_valid(const void *data, size_t size);

// Close-range lens block (memory type 5): counts within 4, 16, 16; shell temperatures strictly ascending
// over len1_env_count; bb and mea strictly ascending over len1_bb_count in each of the first
// len1_env_count groups and over len2_bb_count in the second table. The mode is not part of validity.
bool close_lens_block_valid(const CloseRangeLensBlock &block);
// The same rules in the same order, with the first one broken in fault (left NONE when valid).
bool close_lens_block_check(const CloseRangeLensBlock &block, TableFault *fault);
// The same for bytes: exactly 1088 of them.
bool close_lens_block_valid(const void *data, size_t size);
// The correction the block asks for (SarvikCloseLensMode): mode 2 only with a valid block whose first set
// is non-empty, mode 3 only with a valid block whose second table is non-empty, otherwise no correction.
int close_lens_effective_mode(const CloseRangeLensBlock &block);

}  // namespace sarvik
