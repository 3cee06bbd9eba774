// Rules of the close-range lens block: blackbody pairs at up to four shell temperatures, and a second
// single table; and which correction a block actually asks for.
#include <cstring>

#include "correction_tables.h"

namespace sarvik {

namespace {

constexpr int kMaxShells = 4;
constexpr int kMaxEntries = 16;

bool fail(TableFault *fault, TableFault::Rule rule, int group, int row) {
    if (fault) *fault = TableFault{rule, group, row};
    return false;
}

bool pairs_fail(TableFault *fault, const CloseRangeLensEntry *entries, int count, int group) {
    bool bb = false;
    const int row = bb_mea_first_fault(entries, count, &bb);
    return row >= 0 && !fail(fault, bb ? TableFault::BB_NOT_RISING : TableFault::MEA_NOT_RISING, group, row);
}

}  // namespace

bool close_lens_block_check(const CloseRangeLensBlock &block, TableFault *fault) {
    if (fault) *fault = TableFault{};
    const int shells = block.len1_env_count, len1 = block.len1_bb_count, len2 = block.len2_bb_count;
    if (shells > kMaxShells) return fail(fault, TableFault::SHELL_COUNT, -1, -1);
    if (len1 > kMaxEntries) return fail(fault, TableFault::LEN1_COUNT, -1, -1);
    if (len2 > kMaxEntries) return fail(fault, TableFault::LEN2_COUNT, -1, -1);
    for (int s = 1; s < shells; ++s)
        if (!(block.len1_shell_array[s - 1] < block.len1_shell_array[s]))
            return fail(fault, TableFault::KEYS_NOT_RISING, -1, s);
    for (int s = 0; s < shells; ++s)
        if (pairs_fail(fault, block.len1_bb_array[s], len1, s)) return false;
    return !pairs_fail(fault, block.len2_bb_array, len2, -1);
}

bool close_lens_block_valid(const CloseRangeLensBlock &block) {
    return close_lens_block_check(block, nullptr);
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
