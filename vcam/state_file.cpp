#include "state_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vcam {

namespace {

constexpr char kMagic[] = "sarvik-vcam-state 1";

std::string to_hex(const std::vector<uint8_t> &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        s.push_back(digits[b >> 4]);
        s.push_back(digits[b & 15]);
    }
    return s;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool from_hex(const std::string &s, std::vector<uint8_t> *out) {
    if (s.size() % 2) return false;
    out->resize(s.size() / 2);
    for (size_t i = 0; i < out->size(); ++i) {
        const int hi = hex_value(s[2 * i]), lo = hex_value(s[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        (*out)[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

}  // namespace

bool load_state_file(const std::string &path, StoredState *out) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    if (!std::getline(in, line) || line != kMagic) {
        std::fprintf(stderr, "sarvik-vcam: %s is not a state file, starting from factory settings\n",
                     path.c_str());
        return false;
    }
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "record") {
            unsigned type = 0;
            std::string hex;
            std::vector<uint8_t> bytes;
            if (fields >> type >> hex && type <= 0xFFFF && from_hex(hex, &bytes))
                out->records[static_cast<uint16_t>(type)] = bytes;
        } else if (key == "clock-offset-s") {
            long long v = 0;
            if (fields >> v) out->clockOffsetS = v;
        } else if (key == "gear") {
            int v = -1;
            if (fields >> v) out->gear = v;
        }
    }
    return true;
}

bool save_state_file(const std::string &path, const StoredState &state) {
    std::ostringstream text;
    text << kMagic << "\n";
    text << "clock-offset-s " << state.clockOffsetS << "\n";
    if (state.gear >= 0) text << "gear " << state.gear << "\n";
    for (const auto &r : state.records) text << "record " << r.first << " " << to_hex(r.second) << "\n";
    const std::string data = text.str();

    const std::string tmp = path + ".tmp." + std::to_string(getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    if (ok) ok = ::fsync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) ok = false;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::fprintf(stderr, "sarvik-vcam: cannot write state file %s: %s\n", path.c_str(),
                     std::strerror(errno));
        ::unlink(tmp.c_str());
    }
    return ok;
}

}  // namespace vcam
