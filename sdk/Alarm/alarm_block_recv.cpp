#include "alarm_block_recv.h"

#include <cstdlib>
#include <cstring>

#include "alarm_data.h"
#include "alarm_socket.h"
#include "zq_time.h"

namespace sarvik {

int alarm_block_recv(int fd, int64_t deadlineMs, int wakeFd, AlarmDataHeader **out) {
    *out = nullptr;
    AlarmDataHeader header;
    if (alarm_recv_all(fd, &header, sizeof header, deadlineMs, wakeFd) != 0) return SARVIK_ERR_RECV;
    if (!alarm_header_valid(&header)) return SARVIK_ERR_BAD_HEADER;

    auto *block = static_cast<AlarmDataHeader *>(std::malloc(header.totalSize));
    if (!block) return SARVIK_ERR_NO_MEMORY;
    std::memcpy(block, &header, sizeof header);
    block->eventTime = xtime_getwin64();
    const size_t rest = header.totalSize - kAlarmHeaderSize;
    if (rest > 0 && alarm_recv_all(fd, reinterpret_cast<uint8_t *>(block) + kAlarmHeaderSize, rest,
                                   deadlineMs, wakeFd) != 0) {
        std::free(block);
        return SARVIK_ERR_RECV;
    }
    *out = block;
    return 0;
}

}  // namespace sarvik
