// upload and download: the camera's files (firmware, calibration, bad-pixel list, log ...).
#include <CLI/CLI.hpp>

#include <dirent.h>
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "cam_session.h"
#include "cli_common.h"

namespace cli {

namespace {

struct FileTypeName {
    const char *name;
    int type;
};
// The names are the files' usual suffixes.
const FileTypeName kFileTypes[] = {
    {"bin", SARVIK_FILE_BIN},     {"cali", SARVIK_FILE_CALI},   {"com", SARVIK_FILE_COM},
    {"log", SARVIK_FILE_LOG},     {"cali2", SARVIK_FILE_CALI2}, {"cali3", SARVIK_FILE_CALI3},
    {"bad", SARVIK_FILE_BAD},     {"c2m", SARVIK_FILE_C2M},     {"c2m2", SARVIK_FILE_C2M2},
    {"cust", SARVIK_FILE_CUST},   {"cust2", SARVIK_FILE_CUST2}, {"gaowen", SARVIK_FILE_GAOWEN},
};

std::string typeNames() {
    std::string s;
    for (const FileTypeName &t : kFileTypes) s += (s.empty() ? "" : ", ") + std::string(t.name);
    return s;
}

// A type by name or number; -1 when neither.
int parseType(const std::string &s) {
    for (const FileTypeName &t : kFileTypes)
        if (s == t.name) return t.type;
    char *end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (!s.empty() && !*end && v >= 0 && v <= 0x7fffffff) return static_cast<int>(v);
    return -1;
}

const char *nameOf(int type) {
    for (const FileTypeName &t : kFileTypes)
        if (t.type == type) return t.name;
    return nullptr;
}

std::string suffixOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string s = path.substr(dot + 1);
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int64_t sizeOf(const std::string &path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

// Bytes of the SDK's own partial file beside target ("<target>.part-<pid>-<n>"), for the spinner.
int64_t partialBytes(const std::string &target) {
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + ".part-";
    int64_t bytes = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (std::strncmp(e->d_name, prefix.c_str(), prefix.size()) == 0)
                bytes = std::max<int64_t>(bytes, sizeOf(dir + "/" + e->d_name));
        closedir(d);
    }
    return bytes;
}

// Runs a blocking transfer on a worker while a spinner turns; the SDK reports no progress.
int withSpinner(const std::string &label, const std::function<int()> &work, const std::function<int64_t()> &done,
                const std::function<int64_t()> &total) {
    std::atomic<bool> finished{false};
    int r = 0;
    std::thread t([&] {
        r = work();
        finished = true;
    });
    Progress progress(label, 0);
    static const char kSpin[] = "|/-\\";
    for (int i = 0; !finished; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        progress.update(done(), std::string("bytes ") + kSpin[i % 4]);
    }
    t.join();
    if (r == 0) {
        progress.update(total(), "");
        progress.finish("bytes");
    }
    return r;
}

int runUpload(const std::string &address, const std::string &typeText, const std::string &path) {
    const int type = parseType(typeText);
    if (type < 0) {
        message("unknown file type '" + typeText + "'; types: " + typeNames() + " or a number");
        return EXIT_USAGE;
    }
    int64_t total = 0;
    if (const int e = checkInputFile(path, &total)) return e;
    // A file whose suffix names another known type is most likely the wrong file for this slot.
    const std::string suffix = suffixOf(path);
    const char *want = nameOf(type);
    if (want && !suffix.empty() && suffix != want && parseType(suffix) >= 0 && nameOf(parseType(suffix))) {
        message(path + ": a ." + suffix + " file, not a " + want + " file");
        return EXIT_INPUT;
    }
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    if (type == SARVIK_FILE_BAD) {
        // A bad-pixel list only fits the camera it was made for.
        BadPixelIdentity id{};
        std::memcpy(id.cameraId, cam.basic().cameraId, sizeof id.cameraId);
        id.width = cam.basic().dataWidth;
        id.height = cam.basic().dataHeight;
        const int v = caliVerifyBad(path.c_str(), &id);
        if (v != SARVIK_BAD_OK) {
            const char *why = v == SARVIK_BAD_ERR_IDENTITY ? "camera id or image size differ, or over 500 entries"
                              : v == SARVIK_BAD_ERR_HEADER  ? "shorter than its header"
                              : v == SARVIK_BAD_ERR_OUTSIDE ? "an entry lies outside the image"
                                                            : "entries unreadable";
            message(path + ": not a bad-pixel list of this camera (" + why + ")");
            return EXIT_INPUT;
        }
    }
    const int r = withSpinner(
        "upload " + path, [&] { return Sarvik_UploadFile(cam.user(), path.c_str(), type); },
        // Sent from the SDK's own buffer: nothing to watch until it is over.
        [] { return int64_t{0}; }, [total] { return total; });
    if (r != 0) {
        error(address, "upload " + path, r);
        return exitCodeOf(r);
    }
    message(address + ": " + path + " sent as type " + typeText + " (" + std::to_string(total) + " bytes)");
    return EXIT_OK;
}

int runDownload(const std::string &address, const std::string &typeText, const std::string &path) {
    const int type = parseType(typeText);
    if (type < 0) {
        message("unknown file type '" + typeText + "'; types: " + typeNames() + " or a number");
        return EXIT_USAGE;
    }
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    const int r = writeWhole(path, [&](const std::string &temp) {
        return withSpinner(
            "download " + path, [&] { return Sarvik_DownloadFile(cam.user(), temp.c_str(), type); },
            [&] { return partialBytes(temp); }, [&] { return sizeOf(temp); });
    });
    if (r != 0) {
        error(address, "download " + path, r);
        return exitCodeOf(r);
    }
    message(address + ": " + path + " written (" + std::to_string(sizeOf(path)) + " bytes)");
    return EXIT_OK;
}

}  // namespace

void addTransferCommands(CLI::App &app, int &result) {
    auto address = std::make_shared<std::string>();
    auto type = std::make_shared<std::string>();
    auto path = std::make_shared<std::string>();
    const std::string types = "file type: " + typeNames() + ", or a number";

    CLI::App *up = app.add_subcommand("upload", "Sends a file to the camera");
    up->footer("A file named with another type's suffix is refused; a bad-pixel list must match the camera's id\n"
               "and image size.");
    up->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    up->add_option("TYPE", *type, types)->required();
    up->add_option("FILE", *path, "file to send")->required();
    up->callback([&result, address, type, path] { result = runUpload(*address, *type, *path); });

    CLI::App *down = app.add_subcommand("download", "Fetches a file from the camera");
    down->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    down->add_option("TYPE", *type, types)->required();
    down->add_option("FILE", *path, "where to write it (appears only when whole)")->required();
    down->callback([&result, address, type, path] { result = runDownload(*address, *type, *path); });
}

}  // namespace cli
