#include "transfer_channel.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "SarvikSDK.h"
#include "sdk_global.h"
#include "sdk_protocol.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

// A signal storm must not keep a transfer alive for ever.
constexpr int kMaxInterrupts = 1000;

// Connects, sends the request whole and reads the whole answer (type = request type + 1); every answer
// carries a 32-bit status at offset 4.
int transfer_open(uint32_t address, uint16_t port, TransferLink &link, const void *req, int reqLen,
                  void *answer, int answerLen) {
    const in_addr a{htonl(address)};
    inet_ntop(AF_INET, &a, link.address, sizeof link.address);

    const int recvTimeoutMs = sdk().recvTimeoutMs;
    if (int ret = camera_connect(link.socket, address, port, recvTimeoutMs)) {
        if (ret == -99) link.failure = TransferFailure::Connect;
        return ret;
    }
    if (sock_send_all(link.socket.fd(), req, static_cast<size_t>(reqLen), 0) != 0) {
        link.failure = TransferFailure::SendRequest;
        return -98;
    }

    // The answer may come in pieces; the payload that follows it is left on the connection.
    auto *out = static_cast<uint8_t *>(answer);
    const int got = recv_until(link.socket.fd(), out, answerLen, recvTimeoutMs);
    MsgHeader rh{};
    MsgHeader qh{};
    std::memcpy(&qh, req, sizeof qh);
    if (got >= kMsgHeaderSize) std::memcpy(&rh, out, sizeof rh);
    if (got != answerLen || rh.type != qh.type + 1) {
        link.failure = TransferFailure::ReceiveAnswer;
        return -97;
    }
    int32_t status = 0;
    std::memcpy(&status, out + kMsgHeaderSize, sizeof status);
    return status < 0 ? -2 : 0;
}

// Requests and answers of both transfer kinds share one shape: header, then 32-bit words.
template <int Words>
struct TransferMessage {
    MsgHeader header;
    int32_t words[Words];
};
static_assert(sizeof(TransferMessage<2>) == sizeof(File_UploadFile) &&
                  sizeof(File_UploadFile) == sizeof(Mem_UploadMem),
              "upload requests are header, type, size");
static_assert(sizeof(TransferMessage<2>) == sizeof(RespFile_DownloadFile) &&
                  sizeof(RespFile_DownloadFile) == sizeof(RespMem_DownloadMem),
              "download answers are header, status, size");

}  // namespace

int transfer_begin_upload(uint32_t address, uint16_t port, TransferLink &link, uint16_t requestType,
                          int32_t type, int32_t size) {
    const TransferMessage<2> req{{requestType, sizeof req}, {type, size}};
    TransferMessage<1> answer{};
    return transfer_open(address, port, link, &req, sizeof req, &answer, sizeof answer);
}

int transfer_begin_download(uint32_t address, uint16_t port, TransferLink &link, uint16_t requestType,
                            int32_t type, int32_t *size) {
    const TransferMessage<1> req{{requestType, sizeof req}, {type}};
    TransferMessage<2> answer{};
    const int ret = transfer_open(address, port, link, &req, sizeof req, &answer, sizeof answer);
    if (ret != 0) return ret;
    if (answer.words[1] < 0) {
        link.failure = TransferFailure::ReceiveAnswer;
        return -97;
    }
    *size = answer.words[1];
    return 0;
}

int transfer_recv_some(int fd, uint8_t *buf, int len) {
    for (int interrupts = 0;;) {
        ssize_t n = recv(fd, buf, static_cast<size_t>(len), 0);
        if (n < 0 && errno == EINTR && ++interrupts <= kMaxInterrupts) continue;
        return n > 0 ? static_cast<int>(n) : 0;
    }
}

}  // namespace sarvik
