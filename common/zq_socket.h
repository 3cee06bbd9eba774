// Socket helpers of the SDK (IPv4). All return 0 on success or a negative value; errno tells why.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Connects fd to addr:port (host byte order), waiting at most timeout_ms (negative counts as 0).
// The socket's blocking mode is as before on return. 0 when connected, -1 otherwise (errno ETIMEDOUT
// on time-out).
int sock_connect_timeout(int fd, uint32_t addr_host_order, uint16_t port, int timeout_ms);
// Sets the send and then the receive time-out in milliseconds (0 = wait for ever); -1 if either fails
// or is negative.
int sock_set_timeouts(int fd, int send_ms, int recv_ms);
// Discards whatever is already queued on the socket (stale datagrams), without waiting.
int sock_drain(int fd);
// Sends all len bytes; -1 as soon as a send fails or sends nothing. Never raises SIGPIPE.
int sock_send_all(int fd, const void *data, size_t len, int flags);
// Receives exactly len bytes; -1 as soon as a receive fails, times out or sees the peer close.
int sock_recv_all(int fd, void *buf, size_t len, int flags);
