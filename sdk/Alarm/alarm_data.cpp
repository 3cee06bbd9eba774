// Alarm blocks: building, checking, naming and storing them. These helpers touch no global state and work
// without Sarvik_InitSDK.
#include "alarm_data.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zq_base.h"
#include "zq_time.h"

namespace sarvik {

namespace {

constexpr int kMinNameSize = 128;
// 9999-12-31 23:59:59 in ticks since 1601: beyond it a year no longer fits the four digits of a name.
constexpr int64_t kLastNamedTick = INT64_C(2650467743999999999);

const char *const kTypeNames[] = {"None", "SmokeFirePerson"};
const char *const kKindNames[] = {"none", "alg", "txt", "jpg", "mp4"};

}  // namespace

bool alarm_header_valid(const AlarmDataHeader *header) {
    if (!header) return false;
    const uint32_t total = header->totalSize;
    if (total < kAlarmHeaderSize || total > kAlarmMaxSize) return false;
    int64_t sum = kAlarmHeaderSize;
    for (int32_t len : header->partLength) {
        if (len < 0) return false;
        sum += len;
    }
    return sum == total;
}

const char *alarm_type_name(uint32_t type) {
    return type < sizeof kTypeNames / sizeof kTypeNames[0] ? kTypeNames[type] : "unknown";
}

const char *alarm_kind_name(uint8_t kind) {
    return kind < sizeof kKindNames / sizeof kKindNames[0] ? kKindNames[kind] : "unknown";
}

std::string alarm_base_name(const AlarmDataHeader *header, const char *dir) {
    // The sender of a received block need not be terminated inside its field.
    std::string sender(header->sender, strnlen(header->sender, sizeof header->sender));
    for (char &c : sender)
        if (c == '/') c = '_';

    zq_datetime_t t;
    std::memset(&t, 0, sizeof t);
    const int64_t ticks = header->eventTime;
    if (ticks < 0 || ticks > kLastNamedTick || datetime_fromwin64(&t, ticks) != 0)
        std::memset(&t, 0, sizeof t);

    const char *type = alarm_type_name(header->alarmType);
    const char *fmt = "%s/%s_%s_%04d%02d%02d_%02d%02d%02d";
    const int len = std::snprintf(nullptr, 0, fmt, dir, type, sender.c_str(), t.year, t.month, t.day, t.hour,
                                  t.minute, t.second);
    std::string name(static_cast<size_t>(len > 0 ? len : 0), '\0');
    std::snprintf(&name[0], name.size() + 1, fmt, dir, type, sender.c_str(), t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return name;
}

std::string alarm_part_name(const AlarmDataHeader *header, const std::string &base, int index) {
    const uint8_t kind = header->partKind[index];
    bool repeated = false;
    for (int i = 0; i < index; ++i)
        if (header->partLength[i] > 0 && header->partKind[i] == kind) repeated = true;
    std::string name = base;
    if (repeated) name += "_" + std::to_string(index + 1);
    return name + "." + alarm_kind_name(kind);
}

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API AlarmDataHeader *AlarmData_Create(const void *header512, const void *const parts[4],
                                                        int lengths[4], unsigned char kinds[4]) {
    if (!header512 || !lengths || !kinds) return nullptr;
    int64_t total = kAlarmHeaderSize;
    for (int i = 0; i < SARVIK_ALARM_PARTS; ++i) {
        if (lengths[i] <= 0) continue;
        if (!parts || !parts[i]) return nullptr;
        total += lengths[i];
    }
    if (total > kAlarmMaxSize) return nullptr;

    auto *block = static_cast<AlarmDataHeader *>(std::malloc(static_cast<size_t>(total)));
    if (!block) return nullptr;
    std::memcpy(block, header512, kAlarmHeaderSize);
    block->totalSize = static_cast<uint32_t>(total);
    std::memset(block->partLength, 0, sizeof block->partLength);
    std::memset(block->partKind, 0, sizeof block->partKind);

    uint8_t *out = reinterpret_cast<uint8_t *>(block) + kAlarmHeaderSize;
    int packed = 0;
    for (int i = 0; i < SARVIK_ALARM_PARTS; ++i) {
        if (lengths[i] <= 0) {
            // The caller sees which parts were left out.
            lengths[i] = 0;
            kinds[i] = 0;
            continue;
        }
        std::memcpy(out, parts[i], static_cast<size_t>(lengths[i]));
        out += lengths[i];
        block->partLength[packed] = lengths[i];
        block->partKind[packed] = kinds[i];
        ++packed;
    }
    return block;
}

extern "C" SARVIK_API void AlarmData_Free(AlarmDataHeader **block) {
    if (!block) return;
    std::free(*block);
    *block = nullptr;
}

extern "C" SARVIK_API int AlarmData_Save(const AlarmDataHeader *block, const char *dir, int split, char *name,
                                         int nameSize) {
    if (!alarm_header_valid(block)) return SARVIK_ERR_MALFORMED;
    if (!name || nameSize < kMinNameSize || !dir || !dir[0]) return SARVIK_ERR_INVALID_ARG;

    const std::string base = alarm_base_name(block, dir);
    std::snprintf(name, static_cast<size_t>(nameSize), "%s", base.c_str());

    if (!split) {
        const int ret = fileutil_write((base + ".alarm").c_str(), block, block->totalSize);
        return ret == 0 ? 1 : ret;
    }

    // Every part with bytes is stored: a zero-length entry carries nothing, so it does not end the table.
    const uint8_t *part = reinterpret_cast<const uint8_t *>(block) + kAlarmHeaderSize;
    int written = 0, firstError = 0;
    for (int i = 0; i < SARVIK_ALARM_PARTS; ++i) {
        const int32_t len = block->partLength[i];
        if (len <= 0) continue;
        const int ret =
            fileutil_write(alarm_part_name(block, base, i).c_str(), part, static_cast<size_t>(len));
        if (ret == 0)
            ++written;
        else if (firstError == 0)
            firstError = ret;
        part += len;
    }
    // Nothing stored at all is a failure, not "0 files".
    return written == 0 && firstError != 0 ? firstError : written;
}

extern "C" SARVIK_API const char *AlarmDataType_num2str(unsigned int type) {
    return alarm_type_name(type);
}
