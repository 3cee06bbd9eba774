// Whatever a client sends the alarm server: the incremental block reader fed in pieces of any size, the
// validity check, and the names a stored block would get.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "alarm_conn_reader.h"
#include "alarm_data.h"

namespace {

// Every name a split or whole store would use, and the walk over the parts, must stay inside the block.
void check_names(const AlarmDataHeader *block) {
    const std::string base = sarvik::alarm_base_name(block, "/dir");
    if (base.compare(0, 5, "/dir/") != 0 || base.find('/', 5) != std::string::npos) __builtin_trap();
    size_t offset = sarvik::kAlarmHeaderSize;
    for (int i = 0; i < SARVIK_ALARM_PARTS; ++i) {
        if (block->partLength[i] <= 0) continue;
        const std::string part = sarvik::alarm_part_name(block, base, i);
        if (part.compare(0, base.size(), base) != 0) __builtin_trap();
        offset += static_cast<size_t>(block->partLength[i]);
    }
    if (offset != block->totalSize) __builtin_trap();
}

// Reads the stream the way the server does, piece bytes at a time; 0 with the block, or the status the
// server would log (-97 when the stream ends first).
int read_stream(const uint8_t *data, size_t size, size_t piece, AlarmDataHeader **out) {
    sarvik::AlarmConnReader r;
    size_t used = 0;
    for (;;) {
        if (r.state() == sarvik::AlarmConnReader::kAdmit) r.allocate();
        if (used == size || r.want() == 0) break;
        used += r.feed(data + used, std::min(piece, size - used));
    }
    if (r.state() == sarvik::AlarmConnReader::kAdmit) r.allocate();
    *out = r.take();
    if (*out) return 0;
    return r.state() == sarvik::AlarmConnReader::kFailed ? r.error() : SARVIK_ERR_RECV;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks the size of the pieces; the way the bytes arrive must not change the outcome.
    const size_t piece = data[0] + 1u;
    ++data;
    --size;
    if (size >= sizeof(AlarmDataHeader)) {
        AlarmDataHeader h;
        std::memcpy(&h, data, sizeof h);
        if (sarvik::alarm_header_valid(&h)) {
            const std::string base = sarvik::alarm_base_name(&h, "/dir");
            if (base.find('/', 5) != std::string::npos) __builtin_trap();
        }
    }

    AlarmDataHeader *whole = nullptr, *pieces = nullptr;
    const int ret = read_stream(data, size, size + 1, &whole);
    const int retPieces = read_stream(data, size, piece, &pieces);
    if (ret != retPieces || (ret == 0) != (whole != nullptr) || (whole != nullptr) != (pieces != nullptr))
        __builtin_trap();
    if (ret != 0 && ret != SARVIK_ERR_RECV && ret != SARVIK_ERR_BAD_HEADER && ret != SARVIK_ERR_NO_MEMORY)
        __builtin_trap();
    if (whole) {
        if (!sarvik::alarm_header_valid(whole) || size < whole->totalSize) __builtin_trap();
        // Everything but the stamped event time is the sender's bytes.
        pieces->eventTime = whole->eventTime;
        if (std::memcmp(whole, pieces, whole->totalSize) != 0) __builtin_trap();
        AlarmDataHeader sent;
        std::memcpy(&sent, data, sizeof sent);
        sent.eventTime = whole->eventTime;
        if (std::memcmp(&sent, whole, sizeof sent) != 0 ||
            std::memcmp(reinterpret_cast<const uint8_t *>(whole) + sizeof sent, data + sizeof sent,
                        whole->totalSize - sizeof sent) != 0)
            __builtin_trap();
        check_names(whole);
    }
    std::free(whole);
    std::free(pieces);
    return 0;
}
