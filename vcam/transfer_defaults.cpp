#include "transfer_defaults.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "SarvikSDK.h"

namespace vcam {

namespace {

// 2024-01-01T00:00:00Z in 100-ns ticks since 1601: when the factory points were recorded.
constexpr int64_t kFactoryTicks = 133485408000000000LL;

template <typename Block>
std::vector<uint8_t> bytes_of(const Block &b) {
    const auto *p = reinterpret_cast<const uint8_t *>(&b);
    return std::vector<uint8_t>(p, p + sizeof b);
}

void copy_text(char *field, size_t size, const char *text) {
    std::strncpy(field, text, size - 1);
    field[size - 1] = '\0';
}

std::vector<uint8_t> gb28181_block() {
    GB28181Block b{};
    b.headVersion = 20230222;
    b.headEnable = 0;
    copy_text(b.serverId, sizeof b.serverId, "34020000002000000001");
    copy_text(b.serverIp, sizeof b.serverIp, "192.168.1.100");
    b.serverPort = 15060;
    copy_text(b.deviceId, sizeof b.deviceId, "34020000001320000001");
    b.devicePort = 5060;
    b.devicePortRtp = 5070;
    copy_text(b.streamId, sizeof b.streamId, "34020000001310000001");
    copy_text(b.username, sizeof b.username, "34020000001320000001");
    copy_text(b.password, sizeof b.password, "12345678");
    b.keepAliveInterval = 60;
    return bytes_of(b);
}

// Custom points: blackbody and measured temperatures, both ascending over the item count.
std::vector<uint8_t> cust_block(const char *note, const float (*points)[2], int count) {
    CustPointBlock b{};
    b.timestamp = kFactoryTicks;
    copy_text(b.note, sizeof b.note, note);
    b.itemCount = count;
    for (int i = 0; i < count; ++i) {
        b.items[i].bb = points[i][0];
        b.items[i].mea = points[i][1];
    }
    return bytes_of(b);
}

// No lens correction in force (mode 1), but both table sets hold valid tables a technician can switch to.
std::vector<uint8_t> close_range_lens_block() {
    CloseRangeLensBlock b{};
    b.stamp = SARVIK_CLOSE_LENS_STAMP;
    b.cali_mode = SARVIK_CLOSE_LENS_NONE;
    b.len1_env_count = 2;
    b.len1_bb_count = 3;
    b.len2_bb_count = 3;
    b.len1_shell_array[0] = 20.0f;
    b.len1_shell_array[1] = 40.0f;
    const float bb[3] = {30.0f, 60.0f, 90.0f};
    const float mea1[2][3] = {{30.5f, 60.8f, 91.2f}, {29.6f, 59.7f, 89.9f}};
    const float mea2[3] = {31.0f, 61.5f, 92.0f};
    for (int i = 0; i < 3; ++i) {
        // The editor writes one blackbody temperature into entry i of every group.
        for (int g = 0; g < 4; ++g) b.len1_bb_array[g][i].bb = bb[i];
        for (int g = 0; g < 2; ++g) b.len1_bb_array[g][i].mea = mea1[g][i];
        b.len2_bb_array[i].bb = bb[i];
        b.len2_bb_array[i].mea = mea2[i];
    }
    return bytes_of(b);
}

std::vector<uint8_t> fix_distance_block() {
    FixDistBlock b{};
    b.distCount = 2;
    b.bbCount = 3;
    b.distances[0] = 1;
    b.distances[1] = 10;
    const float bb[3] = {50.0f, 100.0f, 200.0f};
    const float mea[2][3] = {{49.8f, 99.5f, 198.9f}, {48.7f, 97.1f, 194.0f}};
    for (int i = 0; i < 3; ++i) {
        for (int d = 0; d < 5; ++d) b.pairs[d][i].bb = bb[i];
        for (int d = 0; d < 2; ++d) b.pairs[d][i].mea = mea[d][i];
    }
    return bytes_of(b);
}

}  // namespace

std::vector<uint8_t> default_log_file(const Options &opt) {
    char stamp[32] = "1970-01-01 00:00:00";
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    if (gmtime_r(&now, &utc)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &utc);
    char text[1024];
    const int n = std::snprintf(text, sizeof text,
                                "%s [boot] %s camera %s, software %s, hardware %s\n"
                                "%s [boot] detector %s, %ux%u at %u Hz\n"
                                "%s [net] command port %u on %s\n",
                                stamp, opt.model.c_str(), opt.cameraId.c_str(), opt.softwareId.c_str(),
                                opt.hardwareId.c_str(), stamp, opt.fpaId.c_str(), opt.width, opt.height,
                                opt.fps, stamp, opt.commandPort, opt.ip.c_str());
    const size_t len =
        n < 0 ? 0 : (static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n) : sizeof text - 1);
    return std::vector<uint8_t>(text, text + len);
}

std::vector<uint8_t> default_bad_pixel_list(const Options &opt) {
    BadPixelFileHeader h{};
    copy_text(h.cameraId, sizeof h.cameraId, opt.cameraId.c_str());
    h.width = opt.width;
    h.height = opt.height;
    std::vector<BadPixelPoint> points;
    if (opt.width > 0 && opt.height > 0) {
        const uint16_t w = opt.width, hgt = opt.height;
        points = {{static_cast<uint16_t>(17 % w), static_cast<uint16_t>(23 % hgt)},
                  {static_cast<uint16_t>(w / 2), static_cast<uint16_t>(hgt / 3)},
                  {static_cast<uint16_t>(w - 1), static_cast<uint16_t>(hgt - 1)}};
    }
    h.count = static_cast<int32_t>(points.size());
    std::vector<uint8_t> out = bytes_of(h);
    for (const BadPixelPoint &p : points) {
        const auto bytes = bytes_of(p);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::map<int32_t, std::vector<uint8_t>> default_memory_blocks() {
    const float range1[4][2] = {{20.0f, 20.3f}, {50.0f, 49.6f}, {100.0f, 100.8f}, {150.0f, 149.1f}};
    const float range2[3][2] = {{200.0f, 201.5f}, {400.0f, 398.2f}, {600.0f, 603.0f}};
    return {
        {SARVIK_MEM_GB28181, gb28181_block()},
        {SARVIK_MEM_CUST_1, cust_block("factory points, range 1", range1, 4)},
        {SARVIK_MEM_CUST_2, cust_block("factory points, range 2", range2, 3)},
        {SARVIK_MEM_CLOSE_LENS, close_range_lens_block()},
        {SARVIK_MEM_FIX_DIST, fix_distance_block()},
    };
}

}  // namespace vcam
