#include "frame_recver.h"

#include "sdk_global.h"

namespace sarvik {

namespace {
// Before start-up the global state is still zero: fall back to the library's default.
int or_default(int ms) { return ms > 0 ? ms : kDefaultTimeoutMs; }
}  // namespace

const FrameRecverOps *frame_recver_ops(int transport) {
    return transport == 1 ? &FrameRecverUdpOps : &FrameRecverTcpOps;
}

int frame_recver_connect_timeout_ms() { return or_default(sdk().connectTimeoutMs); }
int frame_recver_send_timeout_ms() { return or_default(sdk().sendTimeoutMs); }
int frame_recver_recv_timeout_ms() { return or_default(sdk().recvTimeoutMs); }

}  // namespace sarvik
