// Control commands: the one-way _Ctl, the answered _CtlX, and bytes for the camera's serial port.
#include <cstring>

#include "SarvikSDK.h"
#include "record_exchange.h"
#include "sdk_global.h"
#include "sdk_protocol.h"

namespace sarvik {

namespace {

// A message of the given type with the record behind the 4-byte header.
template <typename Record>
struct Message {
    MsgHeader header;
    Record body;
};

template <typename Record>
Message<Record> make_message(uint16_t type, const Record &body) {
    Message<Record> m;
    m.header = MsgHeader{type, static_cast<uint16_t>(sizeof m)};
    m.body = body;
    return m;
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_SendControl(int userId, const _Ctl *ctl) {
    if (!sdk_initialised()) return -4;
    if (!ctl) return -8;
    const auto msg = make_message(SARVIK_MSG_CONTROL, *ctl);
    static_assert(sizeof msg == 14, "control message is 14 bytes");
    // One-way: done as soon as the 14 bytes are out.
    return session_exchange(userId, &msg, nullptr, 0);
}

extern "C" SARVIK_API int Sarvik_SendControlX(int userId, _CtlX *ctl) {
    if (!sdk_initialised()) return -4;
    if (!ctl) return -8;
    const auto msg = make_message(SARVIK_MSG_CONTROL_X, *ctl);
    static_assert(sizeof msg == 72, "extended control message is 72 bytes");
    Message<_CtlX> answer;
    const int ret = session_exchange(userId, &msg, &answer, sizeof answer);
    if (ret != 0) return ret;
    const int32_t sent = ctl->command;
    *ctl = answer.body;
    return answer.body.command == sent ? 0 : -1;
}

extern "C" SARVIK_API int Sarvik_WriteSerialPortData(int userId, const _SerialPortData *data) {
    if (!sdk_initialised()) return -4;
    if (!data) return -8;
    const auto msg = make_message(SARVIK_MSG_WRITE_SERIAL_PORT_DATA, *data);
    static_assert(sizeof msg == 36, "serial data message is 36 bytes");
    return session_exchange(userId, &msg, nullptr, 0);
}
