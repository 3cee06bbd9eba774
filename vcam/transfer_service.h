// The camera side of file and memory transfers on the command port (requests 35, 50, 78, 80): a short
// handshake answered through the command server, then the raw payload on the same connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "command_server.h"
#include "vcam_options.h"

namespace vcam {

class TransferService {
public:
    // Registers the four transfer handlers with the command server. stop ends a stalled transfer early.
    TransferService(const Options &opt, CommandServer &commands, const std::atomic<bool> &stop);
    ~TransferService();
    TransferService(const TransferService &) = delete;
    TransferService &operator=(const TransferService &) = delete;

private:
    enum class Store { File, Memory };

    void upload(int fd, Store store, const std::vector<uint8_t> &body);
    void download(int fd, Store store, const std::vector<uint8_t> &body);
    int32_t upload_status(Store store, int32_t type, int32_t size);
    // Sends the handshake answer; false when a fault of the command server spoiled it.
    bool send_answer(int fd, uint16_t type, int32_t status, const int32_t *size);
    // Moves the payload, applying the cut and stall faults; returns the bytes moved.
    int64_t recv_payload(int fd, std::vector<uint8_t> *data);
    int64_t send_payload(int fd, const std::vector<uint8_t> &data);
    // Holds a stalled connection open until the peer goes, the camera stops or a bounded time passes.
    void hold_stalled(int fd);
    void record_upload(int32_t type, std::vector<uint8_t> data);
    void log_transfer(const char *kind, int32_t type, int64_t size, int32_t status, int64_t moved);

    const Options &opt_;
    CommandServer &commands_;
    const std::atomic<bool> &stop_;
    FILE *log_ = nullptr;

    std::mutex mutex_;
    std::map<int32_t, std::vector<uint8_t>> files_;   // by file type
    std::map<int32_t, std::vector<uint8_t>> blocks_;  // by memory type
    size_t fileBytes_ = 0;                            // held in files_, bounded
};

}  // namespace vcam
