// The two shared discovery sockets, opened at SDK start-up and closed at release.
#pragma once

#include <mutex>

namespace sarvik {

// Opens the broadcast socket (pass 1) and the answer socket bound to 0.0.0.0:55511.
// Returns 0, or -1 when the broadcast socket cannot be made; an answer-socket failure is logged and
// leaves *answerFd at -1 (pass 2 and address changes are then unavailable).
int discover_sockets_open(int *broadcastFd, int *answerFd);

void discover_sockets_close(int *broadcastFd, int *answerFd);

// Held for a whole discovery or address change: both use the shared sockets, and one of them draining
// the answer socket while another collects there would lose answers.
std::mutex &discover_sockets_lock();

}  // namespace sarvik
