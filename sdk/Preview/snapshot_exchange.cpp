#include "snapshot_exchange.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "../Common/sdk_global.h"
#include "../Common/sdk_log.h"
#include "../Common/sdk_sync.h"
#include "frame_file_format.h"
#include "camera_connection.h"
#include "zq_socket.h"
#include "zq_time.h"

namespace sarvik {

namespace {

pthread_mutex_t g_snapshotLocks[kSessionCount] = {};
pthread_once_t g_snapshotLocksOnce = PTHREAD_ONCE_INIT;

void init_snapshot_locks() {
    for (auto &m : g_snapshotLocks) pthread_mutex_init(&m, nullptr);
}

struct SnapshotTarget {
    uint32_t address;
    uint16_t port;
    uint8_t *buffer;
    size_t bufferSize;
    int width, height;
};

int resolve_target(int userId, SnapshotTarget *t) {
    SdkLock lock;
    const SessionEntry &s = sdk().sessions[userId];
    if (!(s.flags & kSessionInUse) || !s.frameBuffer) return SARVIK_ERR_BAD_ID;
    t->address = s.address;
    t->port = s.framePort ? s.framePort : static_cast<uint16_t>(SARVIK_PORT_SNAPSHOT);
    t->buffer = s.frameBuffer;
    t->bufferSize = s.frameBufferSize;
    t->width = s.basicInfo.dataWidth;
    t->height = s.basicInfo.dataHeight;
    return 0;
}

int check_user(int userId) {
    if (!sdk_initialised()) return SARVIK_ERR_NOT_INIT;
    if (userId < 0 || userId >= kSessionCount) return SARVIK_ERR_BAD_ID;
    return 0;
}

int write_snapshot_file(const char *path, const SnapshotReply &reply, int withTemp) {
    FILE *f = std::fopen(path, "wb");
    if (!f) {
        SDK_LOG("SaveFrame, create %s failed, %d", path, errno);
        return SARVIK_ERR_FILE_OPEN;
    }
    int rc = frame_file_write(f, reply.image, static_cast<size_t>(reply.imageLength));
    if (rc == 0 && withTemp) rc = frame_file_write(f, reply.tail, static_cast<size_t>(reply.tailLength));
    if (std::fclose(f) != 0 && rc == 0) rc = SARVIK_ERR_FILE_WRITE;
    if (rc != 0) {
        // A cut snapshot would still open as an image but carry no usable temperatures: do not keep it.
        SDK_LOG("SaveFrame, write %s failed, %d", path, rc);
        std::remove(path);
    }
    return rc;
}

}  // namespace

pthread_mutex_t *session_snapshot_lock(int userId) {
    pthread_once(&g_snapshotLocksOnce, init_snapshot_locks);
    return &g_snapshotLocks[userId];
}

int snapshot_header_check(const SnapshotHeader &header, size_t bufferSize, int dataWidth, int dataHeight,
                          int64_t *imageLength) {
    const int64_t tail = temp_tail_size(static_cast<int64_t>(dataWidth) * dataHeight);
    const int64_t total = header.totalLength;
    const int64_t head = sizeof(SnapshotHeader);
    if (header.width != dataWidth || header.height != dataHeight) return SARVIK_ERR_BAD_HEADER;
    if (total < head + tail || total > static_cast<int64_t>(bufferSize)) return SARVIK_ERR_BAD_HEADER;
    *imageLength = total - head - tail;
    return 0;
}

int snapshot_fetch(int userId, SnapshotReply *reply) {
    SnapshotTarget t;
    int rc = resolve_target(userId, &t);
    if (rc != 0) return rc;
    CameraSocket conn;
    rc = camera_connect(conn, t.address, t.port, sdk().recvTimeoutMs);
    if (rc == SARVIK_ERR_CONNECT) SDK_LOG("snapshot, connect port %u error %d", t.port, errno);
    // The snapshot exchange reports a missing socket as -1.
    if (rc == SARVIK_ERR_SOCKET) return SARVIK_ERR_FAIL;
    if (rc != 0) return rc;

    SnapshotHeader header;
    if (sock_recv_all(conn.fd(), &header, sizeof header, 0) != 0) return SARVIK_ERR_RECV;
    int64_t imageLength = 0;
    rc = snapshot_header_check(header, t.bufferSize, t.width, t.height, &imageLength);
    if (rc != 0) {
        SDK_LOG("snapshot, bad header, total %d, width %d, height %d", header.totalLength, header.width,
                header.height);
        return rc;
    }
    std::memcpy(t.buffer, &header, sizeof header);
    const size_t rest = static_cast<size_t>(header.totalLength) - sizeof header;
    if (sock_recv_all(conn.fd(), t.buffer + sizeof header, rest, 0) != 0) {
        SDK_LOG("snapshot, recv error %d", errno);
        return SARVIK_ERR_RECV;
    }
    reply->tail = t.buffer + sizeof header;
    reply->tailLength = temp_tail_size(static_cast<int64_t>(t.width) * t.height);
    reply->image = reply->tail + reply->tailLength;
    reply->imageLength = imageLength;
    auto *head = reinterpret_cast<TempTailHead *>(reply->tail);
    if (head->info.timestamp == 0) head->info.timestamp = xtime_getwin64();
    return 0;
}

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_SaveFrame(int userId, const char *path, int withTemp) {
    if (int rc = check_user(userId)) return rc;
    if (!path || !*path) return SARVIK_ERR_INVALID_ARG;
    MutexLock lock(session_snapshot_lock(userId));
    SnapshotReply reply;
    const int rc = snapshot_fetch(userId, &reply);
    if (rc != 0) return rc;
    return write_snapshot_file(path, reply, withTemp);
}

extern "C" SARVIK_API int Sarvik_SaveFrameToMem(int userId, FrameCover *cover) {
    if (int rc = check_user(userId)) return rc;
    if (!cover) return SARVIK_ERR_INVALID_ARG;
    MutexLock lock(session_snapshot_lock(userId));
    SnapshotReply reply;
    const int rc = snapshot_fetch(userId, &reply);
    if (rc != 0) return rc;
    auto *head = reinterpret_cast<TempTailHead *>(reply.tail);
    std::memset(cover, 0, sizeof *cover);
    cover->info = &head->info;
    cover->block = head->block;
    cover->header = &head->header;
    cover->data = reinterpret_cast<int16_t *>(reply.tail + sizeof(TempTailHead));
    cover->image = reply.image;
    cover->imageLength = static_cast<int32_t>(reply.imageLength);
    return 0;
}
