// Rules of the fix-distance block: blackbody pairs measured at up to five distances.
#include <cstring>

#include "correction_tables.h"

namespace sarvik {

namespace {

bool fail(TableFault *fault, TableFault::Rule rule, int group, int row) {
    if (fault) *fault = TableFault{rule, group, row};
    return false;
}

}  // namespace

bool fix_dist_block_check(const FixDistBlock &block, TableFault *fault) {
    if (fault) *fault = TableFault{};
    const int distCount = block.distCount, bbCount = block.bbCount;
    if (distCount < 0 || distCount > 5) return fail(fault, TableFault::DIST_COUNT, -1, -1);
    if (bbCount < 2 || bbCount > 10) return fail(fault, TableFault::BB_COUNT, -1, -1);
    for (int d = 1; d < distCount; ++d)
        if (!(block.distances[d - 1] < block.distances[d]))
            return fail(fault, TableFault::KEYS_NOT_RISING, -1, d);
    for (int d = 0; d < distCount; ++d) {
        bool bb = false;
        const int row = bb_mea_first_fault(block.pairs[d], bbCount, &bb);
        if (row >= 0) return fail(fault, bb ? TableFault::BB_NOT_RISING : TableFault::MEA_NOT_RISING, d, row);
    }
    return true;
}

bool fix_dist_block_valid(const FixDistBlock &block) {
    return fix_dist_block_check(block, nullptr);
}

bool fix_dist_block_valid(const void *data, size_t size) {
    if (!data || size != sizeof(FixDistBlock)) return false;
    FixDistBlock block;
    std::memcpy(&block, data, sizeof block);
    return fix_dist_block_valid(block);
}

}  // namespace sarvik
