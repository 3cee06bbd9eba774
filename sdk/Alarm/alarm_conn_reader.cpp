#include "alarm_conn_reader.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "alarm_data.h"
#include "zq_time.h"

namespace sarvik {

namespace {

// A signal storm must not keep one visit going for ever.
constexpr int kMaxInterrupts = 100;

}  // namespace

void AlarmConnReader::reset() {
    std::free(block_);
    block_ = nullptr;
    state_ = kHeader;
    error_ = 0;
    total_ = 0;
    got_ = 0;
}

uint8_t *AlarmConnReader::next() {
    if (state_ == kHeader) return reinterpret_cast<uint8_t *>(&header_) + got_;
    if (state_ == kBody) return reinterpret_cast<uint8_t *>(block_) + got_;
    return nullptr;
}

size_t AlarmConnReader::want() const {
    if (state_ == kHeader) return sizeof header_ - got_;
    if (state_ == kBody) return total_ - got_;
    return 0;
}

void AlarmConnReader::advance(size_t n) {
    got_ += std::min(n, want());
    if (state_ == kHeader && got_ == sizeof header_) {
        if (!alarm_header_valid(&header_)) {
            fail(SARVIK_ERR_BAD_HEADER);
            return;
        }
        total_ = header_.totalSize;
        state_ = kAdmit;
    } else if (state_ == kBody && got_ == total_) {
        state_ = kComplete;
    }
}

size_t AlarmConnReader::feed(const void *data, size_t len) {
    const size_t n = std::min(len, want());
    if (n > 0) {
        std::memcpy(next(), data, n);
        advance(n);
    }
    return n;
}

int AlarmConnReader::allocate() {
    if (state_ != kAdmit) return SARVIK_ERR_STATE;
    block_ = static_cast<AlarmDataHeader *>(std::malloc(total_));
    if (!block_) {
        fail(SARVIK_ERR_NO_MEMORY);
        return SARVIK_ERR_NO_MEMORY;
    }
    std::memcpy(block_, &header_, sizeof header_);
    block_->eventTime = xtime_getwin64();
    state_ = got_ == total_ ? kComplete : kBody;
    return 0;
}

void AlarmConnReader::fail(int status) {
    std::free(block_);
    block_ = nullptr;
    state_ = kFailed;
    error_ = status;
}

AlarmDataHeader *AlarmConnReader::take() {
    if (state_ != kComplete) return nullptr;
    AlarmDataHeader *b = block_;
    block_ = nullptr;
    return b;
}

size_t alarm_conn_read(int fd, AlarmConnReader *r, size_t maxBytes) {
    size_t total = 0;
    for (int interrupts = 0; total < maxBytes && r->want() > 0;) {
        const ssize_t n = recv(fd, r->next(), std::min(r->want(), maxBytes - total), 0);
        if (n > 0) {
            r->advance(static_cast<size_t>(n));
            total += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        // Closed before the whole block came, reset, or failed.
        r->fail(SARVIK_ERR_RECV);
        break;
    }
    return total;
}

}  // namespace sarvik
