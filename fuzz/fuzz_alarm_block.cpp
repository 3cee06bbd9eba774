// Whatever a client sends the alarm server: the block reader, the validity check, and the names a stored
// block would get.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "alarm_block_recv.h"
#include "alarm_data.h"
#include "alarm_socket.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size >= sizeof(AlarmDataHeader)) {
        AlarmDataHeader h;
        std::memcpy(&h, data, sizeof h);
        if (sarvik::alarm_header_valid(&h)) {
            const std::string base = sarvik::alarm_base_name(&h, "/dir");
            if (base.find('/', 5) != std::string::npos) __builtin_trap();
        }
    }

    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) != 0) return 0;
    // What does not fit the socket buffer is simply not sent: the reader then sees a short stream.
    if (size > 0 && write(fds[1], data, size) < 0) {
    }
    close(fds[1]);
    AlarmDataHeader *block = nullptr;
    const int ret = sarvik::alarm_block_recv(fds[0], sarvik::alarm_now_ms() + 1000, -1, &block);
    close(fds[0]);
    if ((ret == 0) != (block != nullptr)) __builtin_trap();
    if (block) {
        if (!sarvik::alarm_header_valid(block)) __builtin_trap();
        check_names(block);
        std::free(block);
    }
    return 0;
}
