// Which senders the camera's discovery port may answer. A virtual camera must never answer (and so never
// send) beyond the machine it runs on, unless it runs inside a private network namespace.
#pragma once

#include <cstdint>

namespace vcam {

// True when this process lives in a network namespace of its own (not the one of process 1).
bool in_private_netns();

// addr in host byte order. Allowed: 127.0.0.0/8 and this machine's own interface addresses; inside a
// private namespace also any address on the subnet of one of its interfaces.
bool discovery_peer_allowed(uint32_t addr, bool privateNetns);

}  // namespace vcam
