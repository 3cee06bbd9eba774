// Rules of the fix-distance block: blackbody pairs measured at up to five distances.
#include <cstring>

#include "correction_tables.h"

namespace sarvik {

bool fix_dist_block_valid(const FixDistBlock &block) {
    const int distCount = block.distCount, bbCount = block.bbCount;
    if (distCount < 0 || distCount > 5 || bbCount < 2 || bbCount > 10) return false;
    for (int d = 1; d < distCount; ++d)
        if (!(block.distances[d - 1] < block.distances[d])) return false;
    for (int d = 0; d < distCount; ++d)
        if (!bb_mea_ascending(block.pairs[d], bbCount)) return false;
    return true;
}

bool fix_dist_block_valid(const void *data, size_t size) {
    if (!data || size != sizeof(FixDistBlock)) return false;
    FixDistBlock block;
    std::memcpy(&block, data, sizeof block);
    return fix_dist_block_valid(block);
}

}  // namespace sarvik
