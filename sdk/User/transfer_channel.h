// The handshake that opens every file and memory transfer on the command port: a fresh connection set up
// like a command exchange, the request, and the camera's whole answer. The raw payload follows on the same
// connection and is moved by the caller.
#pragma once

#include <netinet/in.h>

#include <cstdint>

#include "camera_connection.h"
#include "sdk_log.h"

namespace sarvik {

// Every file moves through one buffer of this size, never loaded whole.
constexpr int kTransferChunkBytes = 1048576;

enum class TransferFailure { None, Connect, SendRequest, ReceiveAnswer };

struct TransferLink {
    CameraSocket socket;
    char address[INET_ADDRSTRLEN] = {0};  // the camera, as dotted text for the log
    TransferFailure failure = TransferFailure::None;
};

// Opens an upload (request 35 or 80 with the type and the size to come): connects to the camera (address and
// port as resolved from the session), sends the request whole and reads the whole answer within the receive
// time-out. 0 when the payload may follow; -100, -99, -1 (connection); -98 (request not sent); -97 (answer
// short or of the wrong type); -2 (negative status: the camera refused). link.failure tells the caller
// which of its log lines applies.
int transfer_begin_upload(uint32_t address, uint16_t port, TransferLink &link, uint16_t requestType,
                          int32_t type, int32_t size);

// Opens a download (request 50 or 78 with the type) like an upload; *size receives the size the camera
// announced. A negative size is a malformed answer (-97).
int transfer_begin_download(uint32_t address, uint16_t port, TransferLink &link, uint16_t requestType,
                            int32_t type, int32_t *size);

// One receive of at most len bytes, bounded by the connection's receive time-out: the count received, or 0
// when the peer closed, stalled past the time-out or the receive failed.
int transfer_recv_some(int fd, uint8_t *buf, int len);

}  // namespace sarvik

// Logs the handshake step that failed, in the calling function's name, with the request and answer names
// the camera protocol gives that transfer.
#define TRANSFER_LOG_FAILURE(link, reqName, respName)           \
    do {                                                        \
        switch ((link).failure) {                               \
            case ::sarvik::TransferFailure::Connect:            \
                SDK_LOG("connect to %s error", (link).address); \
                break;                                          \
            case ::sarvik::TransferFailure::SendRequest:        \
                SDK_LOG("send req " reqName " error");          \
                break;                                          \
            case ::sarvik::TransferFailure::ReceiveAnswer:      \
                SDK_LOG("recv resp " respName " error");        \
                break;                                          \
            case ::sarvik::TransferFailure::None:               \
                break;                                          \
        }                                                       \
    } while (0)
