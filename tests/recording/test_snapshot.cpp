// Radiometric snapshots fetched from the camera: files with and without the temperature tail, the
// in-memory description, and replies a camera must not be trusted with.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <thread>

#include "recording_fixture.h"
#include "temp_dir.h"
#include "vcam_process.h"

using namespace previewtest;
using namespace rectest;

namespace {

std::vector<uint8_t> read_bytes(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

int64_t tail_size(int64_t n) { return 2 * n + 16684; }

// Serves one scripted reply on ip:55505 to each connection (at most a few, for a few seconds), pushing it
// without waiting for a request, as the camera does.
class SnapshotPeer {
public:
    SnapshotPeer(const std::string &ip, std::vector<uint8_t> reply) : reply_(std::move(reply)) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(SARVIK_PORT_SNAPSHOT);
        inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
        if (bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd_, 4) != 0) {
            close(fd_);
            fd_ = -1;
            return;
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~SnapshotPeer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    bool listening() const { return fd_ >= 0; }

private:
    void serve() {
        for (int i = 0; i < 200 && !stop_; ++i) {  // at most 10 s
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const int c = accept(fd_, nullptr, nullptr);
            if (c < 0) continue;
            send(c, reply_.data(), reply_.size(), MSG_NOSIGNAL);
            close(c);
        }
    }
    int fd_ = -1;
    std::vector<uint8_t> reply_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::vector<uint8_t> reply_of(int32_t total, uint16_t w, uint16_t h, size_t bytes) {
    std::vector<uint8_t> r(std::max(bytes, sizeof(SnapshotHeader)), 0x5a);
    SnapshotHeader head{};
    head.totalLength = total;
    head.width = w;
    head.height = h;
    std::memcpy(r.data(), &head, sizeof head);
    r.resize(bytes);
    return r;
}

class SnapshotTest : public PreviewTest {
protected:
    testsupport::TempDir dir_;
};

}  // namespace

TEST_F(SnapshotTest, FilesCarryTheJpegAndOnRequestTheTemperatureTail) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.20", {"--size", "384x288", "--fps", "25"}));
    const int64_t n = 384 * 288;
    const std::string bare = dir_.file("bare.jpg"), full = dir_.file("full.jpg");
    ASSERT_EQ(Sarvik_SaveFrame(user_, bare.c_str(), 0), 0);
    ASSERT_EQ(Sarvik_SaveFrame(user_, full.c_str(), 1), 0);
    const std::vector<uint8_t> a = read_bytes(bare), b = read_bytes(full);
    ASSERT_GT(a.size(), 2u);
    EXPECT_EQ(a[0], 0xFF);
    EXPECT_EQ(a[1], 0xD8) << "a JPEG";
    ASSERT_GT(b.size(), static_cast<size_t>(tail_size(n)));
    const size_t image = b.size() - static_cast<size_t>(tail_size(n));
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[image + 4]), 4), "teMp");
    int32_t length;
    std::memcpy(&length, &b[image], 4);
    EXPECT_EQ(length, 2 * n + 16672);
    uint16_t wh[2];
    uint32_t mark;
    std::memcpy(wh, &b[b.size() - 36], 4);
    std::memcpy(&mark, &b[b.size() - 32], 4);
    EXPECT_EQ(wh[0], 384);
    EXPECT_EQ(wh[1], 288);
    EXPECT_EQ(mark, 20160901u);

    // The file opens as a snapshot, and its temperatures are the scene's.
    void *pb = SarvikPlayback_Create();
    ASSERT_EQ(SarvikPlayback_OpenFile(pb, full.c_str(), 1), 0);
    FrameCover cover;
    ASSERT_EQ(SarvikPlayback_ReadCover(pb, &cover), 0);
    EXPECT_EQ(cover.imageLength, static_cast<int32_t>(image));
    EXPECT_NE(cover.info->timestamp, 0);
    _DataFrame f;
    ASSERT_EQ(SarvikPlayback_ReadFrame(pb, 0, &f), 0);
    const float t = temp_of(*f.header, f.data[10]);
    EXPECT_GT(t, 15.0f);
    EXPECT_LT(t, 30.0f);
    SarvikPlayback_Free(&pb);
}

TEST_F(SnapshotTest, InMemorySnapshotPointsIntoTheUsersBuffer) {
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.21", {"--size", "80x60", "--fps", "25"}));
    FrameCover c;
    std::memset(&c, 0xee, sizeof c);
    ASSERT_EQ(Sarvik_SaveFrameToMem(user_, &c), 0);
    ASSERT_NE(c.info, nullptr);
    EXPECT_EQ(c.info->width, 80);
    EXPECT_EQ(c.info->height, 60);
    EXPECT_NE(c.info->timestamp, 0);
    EXPECT_EQ(reinterpret_cast<uint8_t *>(c.block), reinterpret_cast<uint8_t *>(c.info) + 128);
    EXPECT_EQ(reinterpret_cast<uint8_t *>(c.header), c.block + 16384);
    EXPECT_EQ(reinterpret_cast<uint8_t *>(c.data), reinterpret_cast<uint8_t *>(c.header) + 128);
    EXPECT_EQ(c.header->width, 80);
    EXPECT_EQ(c.reserved_32, nullptr);
    EXPECT_EQ(c.reserved_48, 0);
    EXPECT_EQ(c.image, reinterpret_cast<uint8_t *>(c.data) + 2 * 4800 + 36);
    ASSERT_GT(c.imageLength, 2);
    EXPECT_EQ(c.image[0], 0xFF);
    EXPECT_EQ(c.image[1], 0xD8);
    const float t = temp_of(*c.header, c.data[100]);
    EXPECT_GT(t, 15.0f);
    EXPECT_LT(t, 30.0f);
    EXPECT_EQ(Sarvik_SaveFrameToMem(user_, nullptr), SARVIK_ERR_INVALID_ARG);
}

TEST_F(SnapshotTest, CallsRefuseUsersThatAreNotLoggedIn) {
    EXPECT_EQ(Sarvik_SaveFrame(0, "/tmp/x", 1), SARVIK_ERR_NOT_INIT);
    ASSERT_NO_FATAL_FAILURE(start_camera("127.0.11.22", {"--size", "80x60", "--fps", "25"}));
    const std::string path = dir_.file("x.jpg");
    FrameCover c;
    EXPECT_EQ(Sarvik_SaveFrame(user_ + 1, path.c_str(), 1), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_SaveFrameToMem(user_ + 1, &c), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_SaveFrame(256, path.c_str(), 1), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(Sarvik_SaveFrame(-1, path.c_str(), 1), SARVIK_ERR_BAD_ID);
    EXPECT_EQ(rectest::file_size(path), -1);
    EXPECT_EQ(Sarvik_SaveFrame(user_, dir_.file("none/x.jpg").c_str(), 1), SARVIK_ERR_FILE_OPEN);
}

// The camera's snapshot port is served by a scripted peer; the virtual camera answers commands only.
TEST_F(SnapshotTest, BadRepliesWriteNothing) {
    const std::string ip = "127.0.11.23";
    ASSERT_NO_FATAL_FAILURE(start_camera(ip, {"--size", "80x60", "--fps", "25", "--snapshot-port", "55599"}));
    const int64_t n = 4800;
    const int32_t whole = static_cast<int32_t>(32 + tail_size(n) + 1000);
    // Login sized the buffer for a 80x60 camera without video size: 4N + 2N + 16716.
    const int32_t buffer = static_cast<int32_t>(6 * n + 16716);
    struct Case {
        const char *what;
        std::vector<uint8_t> reply;
        int expect;
    } cases[] = {
        {"another width", reply_of(whole, 81, 60, whole), SARVIK_ERR_BAD_HEADER},
        {"another height", reply_of(whole, 80, 59, whole), SARVIK_ERR_BAD_HEADER},
        {"shorter than header and tail", reply_of(static_cast<int32_t>(32 + tail_size(n) - 1), 80, 60, whole),
         SARVIK_ERR_BAD_HEADER},
        {"negative total", reply_of(-5, 80, 60, 64), SARVIK_ERR_BAD_HEADER},
        {"larger than the buffer", reply_of(buffer + 1, 80, 60, whole), SARVIK_ERR_BAD_HEADER},
        {"cut short", reply_of(whole, 80, 60, whole - 10), SARVIK_ERR_RECV},
        {"header cut short", reply_of(whole, 80, 60, 20), SARVIK_ERR_RECV},
    };
    for (const Case &c : cases) {
        SnapshotPeer peer(ip, c.reply);
        ASSERT_TRUE(peer.listening());
        const std::string path = dir_.file("bad.jpg");
        EXPECT_EQ(Sarvik_SaveFrame(user_, path.c_str(), 1), c.expect) << c.what;
        EXPECT_EQ(rectest::file_size(path), -1) << c.what;
    }
    // At the buffer's size exactly the reply is accepted, and an empty image part is allowed.
    for (int32_t total : {buffer, static_cast<int32_t>(32 + tail_size(n))}) {
        SnapshotPeer peer(ip, reply_of(total, 80, 60, static_cast<size_t>(total)));
        const std::string path = dir_.file("ok.jpg");
        EXPECT_EQ(Sarvik_SaveFrame(user_, path.c_str(), 0), 0) << total;
        EXPECT_EQ(rectest::file_size(path), total - 32 - tail_size(n)) << total;
        std::remove(path.c_str());
    }
}

TEST_F(SnapshotTest, NoCameraOnTheSnapshotPortIsAConnectFailure) {
    ASSERT_NO_FATAL_FAILURE(
        start_camera("127.0.11.24", {"--size", "80x60", "--fps", "25", "--snapshot-port", "55599"}));
    FrameCover c;
    EXPECT_EQ(Sarvik_SaveFrameToMem(user_, &c), SARVIK_ERR_CONNECT);
}
