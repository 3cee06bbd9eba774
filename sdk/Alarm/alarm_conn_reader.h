// Server side of the alarm channel: one block read from one connection piece by piece, as its bytes arrive,
// so that one worker can read many connections at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

class AlarmConnReader {
public:
    enum State {
        kHeader,    // the 512 header bytes are still coming
        kAdmit,     // a valid header is in; the caller grants its memory (allocate) or refuses it (fail)
        kBody,      // the block is allocated and the rest is coming
        kComplete,  // the whole block is in; take() hands it out
        kFailed,    // error() tells why; no memory is held
    };

    AlarmConnReader() = default;
    ~AlarmConnReader() { reset(); }
    AlarmConnReader(const AlarmConnReader &) = delete;
    AlarmConnReader &operator=(const AlarmConnReader &) = delete;

    // Back to an empty header, freeing a half-received block.
    void reset();

    State state() const { return state_; }
    // -95 (header not valid), -5 (no memory), or whatever fail() recorded; 0 unless failed.
    int error() const { return error_; }
    // The size the header announces, once it is valid.
    uint32_t total() const { return total_; }
    // Bytes allocated for the block so far: total() from allocate() until take() or a failure, else 0.
    size_t allocated() const { return block_ ? total_ : 0; }

    // Where the next bytes of the connection go and how many are still wanted: the rest of the header,
    // then the rest of the block. Nothing (0) in any other state, so the header alone is judged before
    // anything is allocated and nothing beyond the block is ever read.
    uint8_t *next();
    size_t want() const;
    // Records n (at most want()) bytes stored at next().
    void advance(size_t n);
    // Copies as much of data as is wanted; the number of bytes taken.
    size_t feed(const void *data, size_t len);

    // Allocates the announced size, copies the header and stamps the time of receipt as the event time.
    // 0, or -5 (the reader has then failed).
    int allocate();
    // Gives up: the block is freed and error() becomes status.
    void fail(int status);
    // The complete block (free() it), or null before it is complete.
    AlarmDataHeader *take();

private:
    State state_ = kHeader;
    int error_ = 0;
    uint32_t total_ = 0;
    size_t got_ = 0;  // bytes of the header, then of the whole block
    AlarmDataHeader header_{};
    AlarmDataHeader *block_ = nullptr;
};

// Receives what fd (non-blocking) already holds for r, at most maxBytes, without waiting; the number of
// bytes received. It stops early when r leaves kHeader or kBody; the peer closing or the receive failing
// makes r fail with -97.
size_t alarm_conn_read(int fd, AlarmConnReader *r, size_t maxBytes);

}  // namespace sarvik
