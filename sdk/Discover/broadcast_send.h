// Broadcast of one message from every IPv4 interface of the host (discovery pass 2, address change).
#pragma once

namespace sarvik {

// Sends msg to 255.255.255.255:55501 once from each IPv4 interface address other than 127.0.0.1, each
// time from a fresh socket bound to that address. Logs one line per interface tried. Returns the number
// of interfaces on which the whole message went out.
int broadcastSendAll(const void *msg, int size);

}  // namespace sarvik
