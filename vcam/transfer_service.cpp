#include "transfer_service.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "SarvikSDK.h"
#include "transfer_defaults.h"

namespace vcam {

namespace {

constexpr int32_t kRefused = -1;
constexpr int32_t kMaxFileBytes = 64 << 20;     // one file held in memory
constexpr size_t kMaxStoredBytes = 256u << 20;  // all files together
constexpr size_t kMaxLogBytes = 1u << 20;       // the camera log stops growing here
constexpr size_t kChunk = 65536;
constexpr int64_t kStallHoldMs = 30000;
constexpr size_t kStallWindowBytes = 256u << 10;
constexpr int64_t kDrainMs = 5000;
constexpr int32_t kLastFileType = SARVIK_FILE_GAOWEN;
// A PC busy writing a large file may pause for a while; the camera waits longer than the PC's own longest
// time-out, so that a stalled PC, not the camera, is the one to give up.
constexpr int kPayloadIoTimeoutMs = 10000;

void set_payload_timeouts(int fd) {
    const timeval tv{kPayloadIoTimeoutMs / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

int32_t word(const std::vector<uint8_t> &body, size_t index) {
    int32_t v = 0;
    std::memcpy(&v, body.data() + 4 * index, sizeof v);
    return v;
}

// Counts (and discards) whatever a client sends after it was refused; nothing should come.
int64_t drain_count(int fd) {
    const int64_t deadline = now_ms() + kDrainMs;
    uint8_t scrap[kChunk];
    int64_t total = 0;
    while (now_ms() < deadline && total < static_cast<int64_t>(kMaxStoredBytes)) {
        ssize_t n = recv(fd, scrap, sizeof scrap, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
    }
    return total;
}

}  // namespace

TransferService::TransferService(const Options &opt, CommandServer &commands, const std::atomic<bool> &stop)
    : opt_(opt), commands_(commands), stop_(stop) {
    files_[SARVIK_FILE_LOG] = default_log_file(opt);
    files_[SARVIK_FILE_BAD] = default_bad_pixel_list(opt);
    for (const auto &f : files_) fileBytes_ += f.second.size();
    blocks_ = default_memory_blocks();
    if (!opt.transferLog.empty()) log_ = std::fopen(opt.transferLog.c_str(), "a");

    commands.add_handler(SARVIK_MSG_UPLOAD_FILE, [this](int fd, uint16_t, const std::vector<uint8_t> &body) {
        upload(fd, Store::File, body);
    });
    commands.add_handler(
        SARVIK_MSG_DOWNLOAD_FILE,
        [this](int fd, uint16_t, const std::vector<uint8_t> &body) { download(fd, Store::File, body); });
    commands.add_handler(SARVIK_MSG_UPLOAD_MEM, [this](int fd, uint16_t, const std::vector<uint8_t> &body) {
        upload(fd, Store::Memory, body);
    });
    commands.add_handler(SARVIK_MSG_DOWNLOAD_MEM, [this](int fd, uint16_t, const std::vector<uint8_t> &body) {
        download(fd, Store::Memory, body);
    });
}

TransferService::~TransferService() {
    if (log_) std::fclose(log_);
}

int32_t TransferService::upload_status(Store store, int32_t type, int32_t size) {
    if (opt_.faults.refuseTransfer || size < 0) return kRefused;
    std::lock_guard<std::mutex> lock(mutex_);
    if (store == Store::Memory) {
        // Blocks have fixed layouts: only a block of the known size replaces one.
        auto it = blocks_.find(type);
        return it != blocks_.end() && it->second.size() == static_cast<size_t>(size) ? 0 : kRefused;
    }
    // The log is the camera's own; unknown types have nowhere to go.
    if (type < 0 || type > kLastFileType || type == SARVIK_FILE_LOG || size > kMaxFileBytes) return kRefused;
    if (type == SARVIK_FILE_BIN) return 0;  // flashed, not kept
    auto it = files_.find(type);
    const size_t replaced = it == files_.end() ? 0 : it->second.size();
    return fileBytes_ - replaced + static_cast<size_t>(size) <= kMaxStoredBytes ? 0 : kRefused;
}

bool TransferService::send_answer(int fd, uint16_t type, int32_t status, const int32_t *size) {
    int32_t body[2] = {status, size ? *size : 0};
    auto msg = make_answer(type, reinterpret_cast<const uint8_t *>(body), size ? 8 : 4);
    commands_.answer(fd, msg.data(), msg.size());
    // A lost, short or mistyped answer ends the exchange: the client gives up on it.
    const Faults &f = opt_.faults;
    return !(f.closeWithoutAnswer || f.silent || f.wrongAnswerType || f.shortAnswers);
}

void TransferService::upload(int fd, Store store, const std::vector<uint8_t> &body) {
    if (body.size() != 8) return;  // malformed request: the connection just closes
    const int32_t type = word(body, 0);
    const int32_t size = word(body, 1);
    const char *kind = store == Store::File ? "upload-file" : "upload-mem";
    const uint16_t answerType = store == Store::File ? SARVIK_MSG_UPLOAD_FILE + 1 : SARVIK_MSG_UPLOAD_MEM + 1;
    const int32_t status = upload_status(store, type, size);
    if (!send_answer(fd, answerType, status, nullptr)) {
        log_transfer(kind, type, size, status, 0);
        return;
    }
    if (status < 0) {
        log_transfer(kind, type, size, status, drain_count(fd));
        return;
    }
    std::vector<uint8_t> data(static_cast<size_t>(size));
    const int64_t moved = recv_payload(fd, &data);
    log_transfer(kind, type, size, status, moved);
    if (moved != size) return;  // a broken upload replaces nothing
    if (store == Store::Memory) {
        std::lock_guard<std::mutex> lock(mutex_);
        blocks_[type] = std::move(data);
        return;
    }
    record_upload(type, std::move(data));
}

void TransferService::record_upload(int32_t type, std::vector<uint8_t> data) {
    std::lock_guard<std::mutex> lock(mutex_);
    char line[128];
    const int n = std::snprintf(line, sizeof line, "[file] type %d received, %zu bytes%s\n", type,
                                data.size(), type == SARVIK_FILE_BIN ? ", application image flashed" : "");
    std::vector<uint8_t> &log = files_[SARVIK_FILE_LOG];
    if (n > 0 && log.size() + static_cast<size_t>(n) <= kMaxLogBytes) {
        log.insert(log.end(), line, line + n);
        fileBytes_ += static_cast<size_t>(n);
    }
    if (type == SARVIK_FILE_BIN) return;
    std::vector<uint8_t> &slot = files_[type];
    fileBytes_ = fileBytes_ - slot.size() + data.size();
    slot = std::move(data);
}

void TransferService::download(int fd, Store store, const std::vector<uint8_t> &body) {
    if (body.size() != 4) return;
    const int32_t type = word(body, 0);
    const char *kind = store == Store::File ? "download-file" : "download-mem";
    const uint16_t answerType =
        store == Store::File ? SARVIK_MSG_DOWNLOAD_FILE + 1 : SARVIK_MSG_DOWNLOAD_MEM + 1;
    std::vector<uint8_t> data;
    int32_t status = kRefused;
    if (!opt_.faults.refuseTransfer) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto &held = store == Store::File ? files_ : blocks_;
        auto it = held.find(type);
        if (it != held.end()) {
            data = it->second;
            status = 0;
        }
    }
    const int32_t size = static_cast<int32_t>(data.size());
    if (!send_answer(fd, answerType, status, &size) || status < 0) {
        log_transfer(kind, type, size, status, 0);
        return;
    }
    log_transfer(kind, type, size, status, send_payload(fd, data));
}

int64_t TransferService::recv_payload(int fd, std::vector<uint8_t> *data) {
    const Faults &f = opt_.faults;
    set_payload_timeouts(fd);
    const size_t size = data->size();
    size_t target = size;
    if (f.cutTransferBytes >= 0) target = std::min(target, static_cast<size_t>(f.cutTransferBytes));
    if (f.stallTransferBytes >= 0) target = std::min(target, static_cast<size_t>(f.stallTransferBytes));
    if (f.stallTransferBytes >= 0) {
        // A stalled camera takes little beyond what it read: a fixed small window, not one the kernel grows.
        const int window = static_cast<int>(kStallWindowBytes);
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    }
    size_t got = 0;
    while (got < target) {
        ssize_t n = recv(fd, data->data() + got, std::min(target - got, kChunk), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    if (got == target && target < size && f.stallTransferBytes >= 0 &&
        static_cast<size_t>(f.stallTransferBytes) == target)
        hold_stalled(fd);
    // Returning closes the connection; unread bytes make the client's next send fail.
    return static_cast<int64_t>(got);
}

int64_t TransferService::send_payload(int fd, const std::vector<uint8_t> &data) {
    const Faults &f = opt_.faults;
    set_payload_timeouts(fd);
    size_t target = data.size();
    if (f.cutTransferBytes >= 0) target = std::min(target, static_cast<size_t>(f.cutTransferBytes));
    if (f.stallTransferBytes >= 0) target = std::min(target, static_cast<size_t>(f.stallTransferBytes));
    size_t sent = 0;
    while (sent < target) {
        const size_t n = std::min(target - sent, kChunk);
        if (!send_exact(fd, data.data() + sent, n)) break;
        sent += n;
    }
    if (sent == target && target < data.size() && f.stallTransferBytes >= 0 &&
        static_cast<size_t>(f.stallTransferBytes) == target)
        hold_stalled(fd);
    return static_cast<int64_t>(sent);
}

void TransferService::hold_stalled(int fd) {
    const int64_t deadline = now_ms() + kStallHoldMs;
    while (!stop_ && now_ms() < deadline) {
        // Only the peer's close ends the stall early; pending payload is deliberately left unread.
        pollfd p{fd, POLLRDHUP, 0};
        if (poll(&p, 1, 100) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR))) return;
    }
}

void TransferService::log_transfer(const char *kind, int32_t type, int64_t size, int32_t status,
                                   int64_t moved) {
    if (!log_) return;
    std::fprintf(log_, "%s type %d size %lld status %d moved %lld\n", kind, type,
                 static_cast<long long>(size), status, static_cast<long long>(moved));
    std::fflush(log_);
}

}  // namespace vcam
