// Small pthread helpers shared by the SDK's worker threads and the calls that reach them.
#pragma once

#include <pthread.h>

#include <ctime>

namespace sarvik {

// Holds a pthread mutex for a scope.
class MutexLock {
public:
    explicit MutexLock(pthread_mutex_t *m) : m_(m) { pthread_mutex_lock(m_); }
    ~MutexLock() { pthread_mutex_unlock(m_); }
    MutexLock(const MutexLock &) = delete;
    MutexLock &operator=(const MutexLock &) = delete;

private:
    pthread_mutex_t *m_;
};

// Waits up to ms on cond, or less once keepWaiting() turns false: a stop clears its flag and broadcasts
// cond under mutex, so a worker resting between tries gives way at once.
template <class Pred>
void wait_ms_while(pthread_mutex_t *mutex, pthread_cond_t *cond, int ms, Pred keepWaiting) {
    timespec until;
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += ms / 1000;
    until.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    pthread_mutex_lock(mutex);
    while (keepWaiting()) {
        if (pthread_cond_timedwait(cond, mutex, &until) != 0) break;
    }
    pthread_mutex_unlock(mutex);
}

}  // namespace sarvik
