#include "camera_state.h"

#include <cstring>
#include <ctime>

#include "SarvikSDK.h"

namespace vcam {

namespace {

void put_text(char *dst, size_t cap, const std::string &s) {
    std::memset(dst, 0, cap);
    std::memcpy(dst, s.data(), s.size() < cap - 1 ? s.size() : cap - 1);
}

template <typename T>
std::vector<uint8_t> bytes_of(const T &rec) {
    const auto *p = reinterpret_cast<const uint8_t *>(&rec);
    return std::vector<uint8_t>(p, p + sizeof rec);
}

_CameraBasicInfo default_basic_info(const Options &o) {
    _CameraBasicInfo b;
    std::memset(&b, 0, sizeof b);
    put_text(b.cameraId, sizeof b.cameraId, o.cameraId);
    put_text(b.cameraName, sizeof b.cameraName, o.cameraName);
    put_text(b.cameraType, sizeof b.cameraType, o.model);
    put_text(b.fpaId, sizeof b.fpaId, o.fpaId);
    put_text(b.hardwareId, sizeof b.hardwareId, o.hardwareId);
    put_text(b.softwareId, sizeof b.softwareId, o.softwareId);
    b.dataWidth = o.width;
    b.dataHeight = o.height;
    b.dataFps = o.fps;
    b.dataRatio = 1;
    b.sendRatio = 1;
    b.videoWidth = o.secondWidth;
    b.videoHeight = o.secondHeight;
    return b;
}

_FixInfo default_fix_info() {
    _FixInfo f;
    std::memset(&f, 0, sizeof f);
    f.atmosphericTemperature = 25.0f;
    f.relativeHumidity = 50.0f;
    f.visibility = 10.0f;
    f.targetDistance = 5.0f;
    f.globalEmissivity = 0.95f;
    f.infraredWindowTrans = 1.0f;
    return f;
}

}  // namespace

CameraState::CameraState(const Options &opt) {
    records_.push_back({7, 9, bytes_of(default_basic_info(opt))});
    records_.push_back({23, 25, bytes_of(default_fix_info())});
}

RecordSlot *CameraState::find_get(uint16_t type) {
    for (RecordSlot &r : records_)
        if (r.getType == type) return &r;
    return nullptr;
}

const RecordSlot *CameraState::find_get(uint16_t type) const {
    for (const RecordSlot &r : records_)
        if (r.getType == type) return &r;
    return nullptr;
}

RecordSlot *CameraState::find_set(uint16_t type) {
    for (RecordSlot &r : records_)
        if (r.setType && r.setType == type) return &r;
    return nullptr;
}

bool CameraState::get_record(uint16_t getType, std::vector<uint8_t> *out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const RecordSlot *r = find_get(getType);
    if (!r) return false;
    *out = r->bytes;
    return true;
}

bool CameraState::is_set_type(uint16_t type) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return const_cast<CameraState *>(this)->find_set(type) != nullptr;
}

bool CameraState::set_record(uint16_t setType, const uint8_t *data, size_t len) {
    std::lock_guard<std::mutex> lock(mutex_);
    RecordSlot *r = find_set(setType);
    if (!r || len != r->bytes.size()) return false;
    if (setType == 9) {
        // Identity, detector, versions and geometry are the camera's own; only the writable fields change.
        _CameraBasicInfo cur, in;
        std::memcpy(&cur, r->bytes.data(), sizeof cur);
        std::memcpy(&in, data, sizeof in);
        std::memcpy(cur.cameraName, in.cameraName, sizeof cur.cameraName);
        cur.dataRatio = in.dataRatio;
        cur.sendRatio = in.sendRatio;
        cur.dataTransform = in.dataTransform;
        cur.desmearLevel = in.desmearLevel;
        std::memcpy(r->bytes.data(), &cur, sizeof cur);
        return true;
    }
    std::memcpy(r->bytes.data(), data, len);
    return true;
}

void CameraState::clock_read(int32_t words[6]) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::time_t t = std::time(nullptr) + clockOffsetS_;
    std::tm utc{};
    gmtime_r(&t, &utc);
    const int32_t w[6] = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
    std::memcpy(words, w, sizeof w);
}

void CameraState::clock_set(const int32_t words[6]) {
    std::tm utc{};
    utc.tm_year = words[0] - 1900;
    utc.tm_mon = words[1] - 1;
    utc.tm_mday = words[2];
    utc.tm_hour = words[3];
    utc.tm_min = words[4];
    utc.tm_sec = words[5];
    std::time_t t = timegm(&utc);
    if (t == static_cast<std::time_t>(-1)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    clockOffsetS_ = static_cast<int64_t>(t) - static_cast<int64_t>(std::time(nullptr));
}

}  // namespace vcam
