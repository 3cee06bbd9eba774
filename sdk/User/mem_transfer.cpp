// Typed memory blocks to and from a camera (GB/T 28181 settings, correction tables), moved directly between
// the caller's buffer and the connection.
#include <cstdint>

#include "SarvikSDK.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "transfer_channel.h"
#include "zq_socket.h"

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_UploadMem(int userId, int memType, const void *data, int size) {
    if (!sdk_initialised()) return -4;
    if (size < 0 || (size > 0 && !data)) return -8;
    uint32_t address = 0;
    uint16_t port = 0;
    if (int ret = sdk_session_resolve(userId, &address, &port)) return ret;

    TransferLink link;
    const int ret = transfer_begin_upload(address, port, link, SARVIK_MSG_UPLOAD_MEM, memType, size);
    TRANSFER_LOG_FAILURE(link, "Mem_UploadMem", "Mem_UploadMem");
    if (ret != 0) return ret;

    if (size > 0 && sock_send_all(link.socket.fd(), data, static_cast<size_t>(size), 0) != 0) {
        SDK_LOG("send mem error, toSend %d", size);
        return -98;
    }
    return 0;
}

extern "C" SARVIK_API int Sarvik_DownloadMem(int userId, int memType, void *buffer, int *size) {
    if (!sdk_initialised()) return -4;
    if (!size || *size < 0 || (*size > 0 && !buffer)) return -8;
    uint32_t address = 0;
    uint16_t port = 0;
    if (int ret = sdk_session_resolve(userId, &address, &port)) return ret;
    const int capacity = *size;

    TransferLink link;
    int32_t announced = 0;
    const int ret =
        transfer_begin_download(address, port, link, SARVIK_MSG_DOWNLOAD_MEM, memType, &announced);
    TRANSFER_LOG_FAILURE(link, "Mem_DownloadMem", "RespMem_DownloadMem");
    if (ret != 0) return ret;

    // Too large for the caller: nothing is read, and the caller's capacity stays as it was.
    if (announced > capacity) {
        SDK_LOG("mem size %d larger than buffer %d", announced, capacity);
        return -5;
    }
    auto *out = static_cast<uint8_t *>(buffer);
    int got = 0;
    while (got < announced) {
        const int n = transfer_recv_some(link.socket.fd(), out + got, announced - got);
        if (n == 0) {
            SDK_LOG("recv mem error, toRecv %d", announced - got);
            return -97;
        }
        got += n;
    }
    *size = announced;
    return 0;
}
