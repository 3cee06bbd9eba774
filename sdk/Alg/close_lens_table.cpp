// Rules of the close-range lens block: blackbody pairs at up to four shell temperatures, and a second
// single table; and which correction a block actually asks for.
#include <cstring>

#include "correction_tables.h"

namespace sarvik {

namespace {

constexpr int kMaxShells = 4;
constexpr int kMaxEntries = 16;

}  // namespace

bool close_lens_block_valid(const CloseRangeLensBlock &block) {
    const int shells = block.len1_env_count, len1 = block.len1_bb_count, len2 = block.len2_bb_count;
    if (shells > kMaxShells || len1 > kMaxEntries || len2 > kMaxEntries) return false;
    for (int s = 1; s < shells; ++s)
        if (!(block.len1_shell_array[s - 1] < block.len1_shell_array[s])) return false;
    for (int s = 0; s < shells; ++s)
        if (!bb_mea_ascending(block.len1_bb_array[s], len1)) return false;
    return bb_mea_ascending(block.len2_bb_array, len2);
}

bool close_lens_block_valid(const void *data, size_t size) {
    if (!data || size != sizeof(CloseRangeLensBlock)) return false;
    CloseRangeLensBlock block;
    std::memcpy(&block, data, sizeof block);
    return close_lens_block_valid(block);
}

int close_lens_effective_mode(const CloseRangeLensBlock &block) {
    if (!close_lens_block_valid(block)) return SARVIK_CLOSE_LENS_NONE;
    if (block.cali_mode == SARVIK_CLOSE_LENS_TABLE1 && block.len1_env_count > 0 && block.len1_bb_count > 0)
        return SARVIK_CLOSE_LENS_TABLE1;
    if (block.cali_mode == SARVIK_CLOSE_LENS_TABLE2 && block.len2_bb_count > 0)
        return SARVIK_CLOSE_LENS_TABLE2;
    return SARVIK_CLOSE_LENS_NONE;
}

}  // namespace sarvik
