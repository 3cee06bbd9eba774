#include "frame_handoff.h"

namespace sarvik {

static_assert((kHandoffCapacity & (kHandoffCapacity - 1)) == 0, "handoff capacity must be a power of two");

int frame_handoff_init(FrameHandoff *q) {
    q->head = 0;
    q->count = 0;
    q->closed = false;
    if (pthread_mutex_init(&q->mutex, nullptr) != 0) return SARVIK_ERR_NO_MEMORY;
    if (pthread_cond_init(&q->notFull, nullptr) != 0) {
        pthread_mutex_destroy(&q->mutex);
        return SARVIK_ERR_NO_MEMORY;
    }
    if (pthread_cond_init(&q->notEmpty, nullptr) != 0) {
        pthread_cond_destroy(&q->notFull);
        pthread_mutex_destroy(&q->mutex);
        return SARVIK_ERR_NO_MEMORY;
    }
    return 0;
}

void frame_handoff_destroy(FrameHandoff *q) {
    pthread_cond_destroy(&q->notEmpty);
    pthread_cond_destroy(&q->notFull);
    pthread_mutex_destroy(&q->mutex);
}

bool frame_handoff_push(FrameHandoff *q, _DataFrame *frame) {
    pthread_mutex_lock(&q->mutex);
    while (!q->closed && q->count == kHandoffCapacity) pthread_cond_wait(&q->notFull, &q->mutex);
    const bool ok = !q->closed;
    if (ok) {
        q->items[(q->head + q->count) & (kHandoffCapacity - 1)] = frame;
        ++q->count;
        pthread_cond_signal(&q->notEmpty);
    }
    pthread_mutex_unlock(&q->mutex);
    return ok;
}

_DataFrame *frame_handoff_pop(FrameHandoff *q) {
    pthread_mutex_lock(&q->mutex);
    while (!q->closed && q->count == 0) pthread_cond_wait(&q->notEmpty, &q->mutex);
    _DataFrame *frame = nullptr;
    if (!q->closed) {
        frame = q->items[q->head];
        q->head = (q->head + 1) & (kHandoffCapacity - 1);
        --q->count;
        pthread_cond_signal(&q->notFull);
    }
    pthread_mutex_unlock(&q->mutex);
    return frame;
}

void frame_handoff_close(FrameHandoff *q) {
    pthread_mutex_lock(&q->mutex);
    q->closed = true;
    q->head = 0;
    q->count = 0;
    pthread_cond_broadcast(&q->notFull);
    pthread_cond_broadcast(&q->notEmpty);
    pthread_mutex_unlock(&q->mutex);
}

}  // namespace sarvik
