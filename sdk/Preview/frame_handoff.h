// FrameHandoff: the bounded queue of frame pointers between the receive thread and the process thread of a
// two-thread preview. Push waits while full, pop waits while empty; closing wakes both sides for good.
#pragma once

#include <pthread.h>

#include <cstddef>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int kHandoffCapacity = 16;

struct FrameHandoff {
    pthread_mutex_t mutex;
    pthread_cond_t notFull;
    pthread_cond_t notEmpty;
    _DataFrame *items[kHandoffCapacity];  // power of two: positions wrap with a mask
    unsigned head;                        // next to pop
    unsigned count;
    bool closed;
};

// 0, or -5 when the mutex or the condition variables cannot be made.
int frame_handoff_init(FrameHandoff *q);
void frame_handoff_destroy(FrameHandoff *q);
// Waits while 16 are queued. false when the queue was closed (the frame is not queued).
bool frame_handoff_push(FrameHandoff *q, _DataFrame *frame);
// Waits while empty: the oldest frame, or null once the queue is closed (or a null was pushed).
_DataFrame *frame_handoff_pop(FrameHandoff *q);
// Empties the queue and makes every later push and pop return at once.
void frame_handoff_close(FrameHandoff *q);

}  // namespace sarvik
