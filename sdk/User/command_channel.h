// One request/response exchange with a camera over a fresh TCP connection to its command port.
#pragma once

#include <cstdint>

namespace sarvik {

// Response length for a request type of the command table: > 0 answered, 0 one-way (the connection closes
// after sending), -1 not a command-channel request.
int svcmd_response_length(uint16_t requestType);

// Sends the request (its header's length field says how many bytes) and reads the whole answer into resp,
// which must hold respCap bytes. 0, or -1 (socket options), -2 (type not in the table), -8 (resp too small),
// -97 (answer missing, short or of the wrong type), -98 (request not sent whole), -99 (connect), -100 (socket).
int SVCMD_SendReqAndRecvResp(uint32_t address, uint16_t port, const void *req, void *resp, int respCap);

// Sends the request and closes the connection without reading an answer. 0 or -1/-8/-98/-99/-100.
int svcmd_send_oneway(uint32_t address, uint16_t port, const void *req);

}  // namespace sarvik
