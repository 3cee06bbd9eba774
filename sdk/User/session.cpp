// Login and logout: the session entry that every per-camera call addresses by user id.
#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "SarvikSDK.h"
#include "command_channel.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "sdk_protocol.h"

namespace sarvik {

namespace {

// Parses dotted IPv4 text into host byte order; the all-ones broadcast address is not a camera address.
bool parse_camera_address(const char *text, size_t cap, uint32_t *out) {
    if (strnlen(text, cap) >= cap) return false;
    in_addr a{};
    if (inet_pton(AF_INET, text, &a) != 1) return false;
    uint32_t host = ntohl(a.s_addr);
    if (host == 0xFFFFFFFFu) return false;
    *out = host;
    return true;
}

template <typename Record>
int fetch_record(uint32_t address, uint16_t getType, Record *out) {
    uint8_t resp[kMsgHeaderSize + sizeof(Record)];
    MsgHeader req{getType, kMsgHeaderSize};
    int ret = SVCMD_SendReqAndRecvResp(address, kPortCommand, &req, resp, sizeof resp);
    if (ret == 0) std::memcpy(out, resp + kMsgHeaderSize, sizeof(Record));
    return ret;
}

// One-way time set with the PC's current UTC time: extended control 1, words year, month, day, h, m, s.
void send_time_set(uint32_t address) {
    uint8_t msg[kMsgHeaderSize + sizeof(_CtlX)] = {0};
    const MsgHeader h{kReqCtlX, static_cast<uint16_t>(sizeof msg)};
    std::memcpy(msg, &h, sizeof h);
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    const int32_t words[7] = {1, utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
    std::memcpy(msg + kMsgHeaderSize, words, sizeof words);
    svcmd_send_oneway(address, kPortCommand, msg);
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_Login(const _LoginInfo *login, _CameraBasicInfo *basicInfo) {
    if (!sdk_initialised()) return -4;
    if (!login || !basicInfo) return -8;
    uint32_t address = 0;
    if (!parse_camera_address(login->ip, sizeof login->ip, &address)) return -8;

    _CameraBasicInfo basic;
    int ret = fetch_record(address, kReqGetBasicInfo, &basic);
    if (ret != 0) return ret;
    *basicInfo = basic;

    _FixInfo fix;
    ret = fetch_record(address, kReqGetFixInfo, &fix);
    if (sdk().config.syncTime) send_time_set(address);
    if (ret != 0) return ret;

    if (basic.videoWidth == 0 || basic.videoHeight == 0) {
        basic.videoWidth = basic.dataWidth;
        basic.videoHeight = basic.dataHeight;
    }
    *basicInfo = basic;

    const size_t bufSize = sdk_frame_buffer_size(basic);
    SdkGlobal &g = sdk();
    pthread_mutex_lock(&g.sessionMutex);
    int id = -6;
    for (int i = 0; i < kSessionCount; ++i) {
        if (g.sessions[i].flags & kSessionInUse) continue;
        auto *buf = static_cast<uint8_t *>(std::calloc(1, bufSize));
        if (!buf) break;
        SessionEntry &s = g.sessions[i];
        s.address = address;
        s.commandPort = kPortCommand;
        s.previewPort = kPortPreview;
        s.framePort = kPortFrame;
        s.previewPortType3 = kPortVideo;
        s.previewPortType5 = kPortMixed;
        s.basicInfo = basic;
        s.fixInfo = fix;
        s.frameBuffer = buf;
        s.frameBufferSize = bufSize;
        s.flags = kSessionInUse;
        id = i;
        break;
    }
    pthread_mutex_unlock(&g.sessionMutex);
    if (id < 0) SDK_LOG("login %s, no session entry", login->ip);
    return id;
}

extern "C" SARVIK_API int Sarvik_Logout(int userId) {
    if (!sdk_initialised()) return -4;
    if (userId < 0 || userId >= kSessionCount) return -10;
    SdkGlobal &g = sdk();
    // A snapshot of this user may be writing into the buffer right now: wait for it.
    pthread_mutex_t *snapshot = session_snapshot_lock(userId);
    pthread_mutex_lock(snapshot);
    pthread_mutex_lock(&g.sessionMutex);
    SessionEntry &s = g.sessions[userId];
    if (s.flags & kSessionInUse) {
        std::free(s.frameBuffer);
        std::memset(&s, 0, sizeof s);
    }
    pthread_mutex_unlock(&g.sessionMutex);
    pthread_mutex_unlock(snapshot);
    return 0;
}
