// Whole files to and from a camera (firmware, calibration tables, logs, bad-pixel lists), streamed through
// one 1 MiB buffer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "SarvikSDK.h"
#include "sdk_global.h"
#include "sdk_log.h"
#include "transfer_channel.h"
#include "zq_socket.h"

namespace sarvik {

namespace {

struct FileCloser {
    void operator()(FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A download lands under a temporary name beside the requested one and takes that name only once it is
// complete: a broken transfer never leaves a file that looks whole, and an older file of that name
// survives it.
class PartialFile {
public:
    explicit PartialFile(const char *path) : path_(path) {
        static std::atomic<unsigned> serial{0};
        temp_ = path_ + ".part-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        // O_EXCL: never write into somebody else's file; 0666 lets the umask decide, as "wb" would.
        int fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return;
        file_ = fdopen(fd, "wb");
        if (!file_) close(fd);
    }
    ~PartialFile() {
        if (file_) std::fclose(file_);
        if (!committed_) unlink(temp_.c_str());
    }
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    FILE *file() const { return file_; }

    // Flushes and closes the data, then moves it to the requested name. 0, -197 (the data could not be
    // flushed) or -200 (the name could not be taken).
    int commit() {
        FILE *f = file_;
        file_ = nullptr;
        if (std::fclose(f) != 0) return -197;
        if (std::rename(temp_.c_str(), path_.c_str()) != 0) return -200;
        committed_ = true;
        return 0;
    }

private:
    std::string path_;
    std::string temp_;
    FILE *file_ = nullptr;
    bool committed_ = false;
};

// Opens a regular file for reading and measures it; other kinds (directories, devices) have no size the
// camera could be told. 0, -200, or -8 when the file is too large for the protocol's 32-bit size.
int open_upload_source(const char *path, FilePtr *out, int32_t *size) {
    FilePtr f(std::fopen(path, "rb"));
    if (!f) return -200;
    struct stat st {};
    if (fstat(fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) return -200;
    if (st.st_size > INT32_MAX) return -8;
    *size = static_cast<int32_t>(st.st_size);
    *out = std::move(f);
    return 0;
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_UploadFile(int userId, const char *path, int fileType) {
    if (!sdk_initialised()) return -4;
    if (!path) return -8;
    uint32_t address = 0;
    uint16_t port = 0;
    if (int ret = sdk_session_resolve(userId, &address, &port)) return ret;
    FilePtr file;
    int32_t fileSize = 0;
    if (int ret = open_upload_source(path, &file, &fileSize)) {
        if (ret == -200) SDK_LOG("open file %s error", path);
        if (ret == -8) SDK_LOG("file %s too large", path);
        return ret;
    }

    TransferLink link;
    const int ret = transfer_begin_upload(address, port, link, SARVIK_MSG_UPLOAD_FILE, fileType, fileSize);
    TRANSFER_LOG_FAILURE(link, "File_UploadFile", "File_UploadFile");
    if (ret != 0) return ret;

    std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[kTransferChunkBytes]);
    if (!buf) return -5;
    int32_t toSend = fileSize;
    while (toSend > 0) {
        const size_t want = toSend < kTransferChunkBytes ? static_cast<size_t>(toSend) : kTransferChunkBytes;
        const size_t got = std::fread(buf.get(), 1, want, file.get());
        if (got == 0) {
            // The file shrank after it was measured: the camera was promised more than there is.
            SDK_LOG("read file error, toSend %d", toSend);
            return -198;
        }
        if (sock_send_all(link.socket.fd(), buf.get(), got, 0) != 0) {
            SDK_LOG("send file error, toSend %d", toSend);
            return -98;
        }
        toSend -= static_cast<int32_t>(got);
    }
    return 0;
}

extern "C" SARVIK_API int Sarvik_DownloadFile(int userId, const char *path, int fileType) {
    if (!sdk_initialised()) return -4;
    if (!path) return -8;
    uint32_t address = 0;
    uint16_t port = 0;
    if (int ret = sdk_session_resolve(userId, &address, &port)) return ret;

    TransferLink link;
    int32_t toRecv = 0;
    int ret = transfer_begin_download(address, port, link, SARVIK_MSG_DOWNLOAD_FILE, fileType, &toRecv);
    TRANSFER_LOG_FAILURE(link, "File_DownloadFile", "RespFile_DownloadFile");
    if (ret != 0) return ret;

    std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[kTransferChunkBytes]);
    if (!buf) return -5;
    PartialFile out(path);
    if (!out.file()) {
        SDK_LOG("create file %s error", path);
        return -200;
    }
    while (toRecv > 0) {
        const int want = toRecv < kTransferChunkBytes ? toRecv : kTransferChunkBytes;
        const int got = transfer_recv_some(link.socket.fd(), buf.get(), want);
        if (got == 0) {
            SDK_LOG("recv file error, toRecv %d", toRecv);
            return -97;
        }
        if (std::fwrite(buf.get(), 1, static_cast<size_t>(got), out.file()) != static_cast<size_t>(got)) {
            SDK_LOG("write file error, toWrite %d", toRecv);
            return -197;
        }
        toRecv -= got;
    }
    ret = out.commit();
    if (ret == -197) SDK_LOG("flush file %s error", path);
    if (ret == -200) SDK_LOG("rename file %s error", path);
    return ret;
}
