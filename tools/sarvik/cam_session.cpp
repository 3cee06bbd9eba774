#include "cam_session.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "cli_common.h"

namespace cli {

Sdk::Sdk() : status_(Sarvik_InitSDK()) {
    if (status_ != 0) error("", "cannot start the SDK", status_);
}

Sdk::~Sdk() {
    if (status_ == 0) Sarvik_FreeSDK();
}

CameraSession::~CameraSession() {
    if (user_ >= 0) Sarvik_Logout(user_);
}

int CameraSession::login() {
    _LoginInfo li{};
    if (address_.empty() || address_.size() >= sizeof li.ip) {
        message("not a camera address: '" + address_ + "'");
        return SARVIK_ERR_INVALID_ARG;
    }
    std::memcpy(li.ip, address_.data(), address_.size());
    const int r = Sarvik_Login(&li, &basic_);
    if (r < 0) {
        error(address_, "login", r);
        return r;
    }
    user_ = r;
    return 0;
}

int openCamera(Sdk &sdk, CameraSession &cam) {
    if (sdk.status() != 0) return exitCodeOf(sdk.status());
    const int r = cam.login();
    return r < 0 ? exitCodeOf(r) : EXIT_OK;
}

int readRecord(int user, const RecordDesc &rec, std::vector<uint8_t> *bytes) {
    bytes->assign(rec.size, 0);
    if (rec.source == RecordSource::Info)
        return Sarvik_GetInfo(user, rec.type, bytes->data(), static_cast<int>(bytes->size()));
    int size = static_cast<int>(bytes->size());
    const int r = Sarvik_DownloadMem(user, rec.type, bytes->data(), &size);
    // A block shorter than the record would leave the rest meaningless.
    if (r == 0 && size != static_cast<int>(rec.size)) return SARVIK_ERR_RECV;
    return r;
}

int writeRecord(int user, const RecordDesc &rec, const std::vector<uint8_t> &bytes) {
    if (rec.source == RecordSource::Info)
        return Sarvik_SetInfo(user, rec.type, bytes.data(), static_cast<int>(bytes.size()));
    return Sarvik_UploadMem(user, rec.type, bytes.data(), static_cast<int>(bytes.size()));
}

int checkInputFile(const std::string &path, int64_t *size) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) {
        message(path + ": " + std::strerror(errno));
        return EXIT_INPUT;
    }
    if (!S_ISREG(st.st_mode)) {
        message(path + ": not a regular file");
        return EXIT_INPUT;
    }
    *size = static_cast<int64_t>(st.st_size);
    return EXIT_OK;
}

int readInputFile(const std::string &path, size_t maxBytes, std::string *text) {
    int64_t size = 0;
    if (const int e = checkInputFile(path, &size)) return e;
    if (static_cast<uint64_t>(size) > maxBytes) {
        message(path + ": too large (" + std::to_string(size) + " bytes, at most " + std::to_string(maxBytes) + ")");
        return EXIT_INPUT;
    }
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        message(path + ": " + std::strerror(errno));
        return EXIT_INPUT;
    }
    text->clear();
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text->size() <= maxBytes) text->append(buf, n);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) {
        message(path + ": read error");
        return EXIT_INPUT;
    }
    return EXIT_OK;
}

int writeWhole(const std::string &path, const std::function<int(const std::string &temp)> &writer) {
    OutputFile file(path);
    int r = file.open();
    if (r != 0) return r;
    // The SDK opens the file by name itself.
    file.closeForExternalWriter();
    r = writer(file.tempPath());
    return r == 0 ? file.commit() : r;
}

}  // namespace cli
