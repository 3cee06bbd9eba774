// Fixed ports and message framing of the camera protocol.
#pragma once

#include <cstdint>

namespace sarvik {

constexpr uint16_t kPortDiscover = 55501;        // cameras listen for discovery requests
constexpr uint16_t kPortCommand = 55502;         // command channel
constexpr uint16_t kPortPreview = 55503;         // temperature stream
constexpr uint16_t kPortFrame = 55505;           // single-frame fetch
constexpr uint16_t kPortVideo = 55506;           // preview type 3
constexpr uint16_t kPortMixed = 55507;           // preview type 5
constexpr uint16_t kPortDiscoverAnswer = 55511;  // answers of discovery pass 2 and address changes

constexpr int kMsgHeaderSize = 4;

// Request types used by the SDK core (answers carry type + 1).
constexpr uint16_t kReqGetBasicInfo = 7;
constexpr uint16_t kReqGetFixInfo = 23;
constexpr uint16_t kReqCtlX = 56;

struct MsgHeader {
    uint16_t type;
    uint16_t length;  // whole message, header included
};
static_assert(sizeof(MsgHeader) == 4, "message header is 4 bytes");

}  // namespace sarvik
