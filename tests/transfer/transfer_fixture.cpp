#include "transfer_fixture.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

namespace transfertest {

namespace {

constexpr size_t kPiece = 1 << 20;

void fill_pattern(uint8_t *out, size_t n, int64_t offset, uint32_t seed) {
    for (size_t i = 0; i < n; ++i) {
        const uint64_t pos = static_cast<uint64_t>(offset) + i;
        out[i] = static_cast<uint8_t>(((pos * 2654435761u + seed) >> 7) ^ (pos >> 16));
    }
}

}  // namespace

void TransferTest::SetUp() {
    ASSERT_EQ(Sarvik_InitSDK(), 0);
}

void TransferTest::TearDown() {
    for (int id : users_) Sarvik_Logout(id);
    Sarvik_FreeSDK();
}

int TransferTest::login(const char *ip) {
    _LoginInfo l;
    std::memset(&l, 0, sizeof l);
    std::snprintf(l.ip, sizeof l.ip, "%s", ip);
    _CameraBasicInfo info{};
    const int id = Sarvik_Login(&l, &info);
    if (id >= 0) users_.push_back(id);
    return id;
}

int TransferTest::start_camera(const char *ip, const std::vector<std::string> &args) {
    cameras_.push_back(std::make_unique<testsupport::VcamProcess>(ip, args));
    return cameras_.back()->ready() ? login(ip) : -1;
}

void TransferTest::stop_cameras() {
    for (auto &cam : cameras_) cam->stop();
}

void write_pattern_file(const std::string &path, int64_t size, uint32_t seed) {
    std::unique_ptr<uint8_t[]> buf(new uint8_t[kPiece]);
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    for (int64_t off = 0; off < size; off += kPiece) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kPiece, size - off));
        fill_pattern(buf.get(), n, off, seed);
        ASSERT_EQ(std::fwrite(buf.get(), 1, n, f), n);
    }
    ASSERT_EQ(std::fclose(f), 0);
}

bool matches_pattern_file(const std::string &path, int64_t size, uint32_t seed) {
    if (file_size(path) != size) return false;
    std::unique_ptr<uint8_t[]> want(new uint8_t[kPiece]);
    std::unique_ptr<uint8_t[]> got(new uint8_t[kPiece]);
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool same = true;
    for (int64_t off = 0; same && off < size; off += kPiece) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kPiece, size - off));
        fill_pattern(want.get(), n, off, seed);
        same = std::fread(got.get(), 1, n, f) == n && std::memcmp(want.get(), got.get(), n) == 0;
    }
    std::fclose(f);
    return same;
}

bool file_exists(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

int64_t file_size(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

std::vector<std::string> dir_entries(const std::string &dir) {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

std::vector<std::string> read_lines(const std::string &path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace transfertest
