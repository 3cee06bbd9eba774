#include "camera_state.h"

#include <cstdarg>
#include <cstring>
#include <ctime>
#include <string>

#include "SarvikSDK.h"
#include "state_file.h"

namespace vcam {

namespace {

constexpr uint8_t kGpioOutputBits = SARVIK_GPIO_OUT_LIGHT | SARVIK_GPIO_OUT_LEDY | SARVIK_GPIO_OUT_LEDB |
                                    SARVIK_GPIO_OUT_ALARM | SARVIK_GPIO_OUT_BUZZ;
constexpr size_t kGpioLevelsAt = 4;
constexpr size_t kGpioInputsAt = 5;

bool lens_from_software_id(const std::string &id) {
    return id.find("GS") != std::string::npos || id.find("GW") != std::string::npos;
}

// Text fields end inside their area, whatever a client sent.
void terminate(char *text, size_t cap) {
    text[cap - 1] = 0;
}

template <typename T>
T as(const std::vector<uint8_t> &bytes) {
    T r;
    std::memcpy(&r, bytes.data(), sizeof r);
    return r;
}

template <typename T>
void store(std::vector<uint8_t> *bytes, const T &r) {
    std::memcpy(bytes->data(), &r, sizeof r);
}

void break_down(int64_t t_s, int32_t words[6]) {
    const std::time_t t = static_cast<std::time_t>(t_s);
    std::tm utc{};
    gmtime_r(&t, &utc);
    const int32_t w[6] = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                          utc.tm_hour,        utc.tm_min,     utc.tm_sec};
    std::memcpy(words, w, sizeof w);
}

bool valid_clock(const int32_t w[6]) {
    return w[0] >= 1970 && w[0] <= 2099 && w[1] >= 1 && w[1] <= 12 && w[2] >= 1 && w[2] <= 31 && w[3] >= 0 &&
           w[3] < 24 && w[4] >= 0 && w[4] < 60 && w[5] >= 0 && w[5] < 60;
}

}  // namespace

CameraState::CameraState(const Options &opt)
    : opt_(opt), hasLens_(lens_from_software_id(opt.softwareId)), records_(factory_records(opt)) {
    if (!opt.eventLog.empty()) eventLog_ = std::fopen(opt.eventLog.c_str(), "a");
    if (opt.stateFile.empty()) return;
    StoredState stored;
    if (!load_state_file(opt.stateFile, &stored)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto &r : stored.records) {
        RecordSlot *slot = find_get(r.first);
        // The command line's identity wins over the file: stored records go through the write rules.
        if (slot && r.second.size() == slot->bytes.size()) merge_locked(*slot, r.second.data());
    }
    clockOffsetS_ = stored.clockOffsetS;
    if (stored.gear >= 0 && stored.gear < kGearLevels) gear_ = stored.gear;
}

CameraState::~CameraState() {
    if (eventLog_) std::fclose(eventLog_);
}

void CameraState::event(const char *fmt, ...) {
    if (!eventLog_) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(eventLog_, fmt, ap);
    va_end(ap);
    std::fputc('\n', eventLog_);
    std::fflush(eventLog_);
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
        if (r.setType == type) return &r;
    return nullptr;
}

bool CameraState::get_record(uint16_t getType, std::vector<uint8_t> *out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const RecordSlot *r = find_get(getType);
    if (!r) return false;
    *out = r->bytes;
    if (getType == SARVIK_MSG_GET_GPIO_INFO) {
        (*out)[kGpioLevelsAt] = gpioLevels_;
        (*out)[kGpioInputsAt] = 0;  // nothing is wired to the inputs
    }
    return true;
}

bool CameraState::is_set_type(uint16_t type) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return const_cast<CameraState *>(this)->find_set(type) != nullptr;
}

// Applies a client's record to a slot the way the firmware does: read-only fields stay as they are.
void CameraState::merge_locked(RecordSlot &slot, const uint8_t *data) {
    std::vector<uint8_t> in(data, data + slot.bytes.size());
    switch (slot.getType) {
        case SARVIK_MSG_GET_CAMERA_BASIC_INFO: {
            // Identity, detector, versions and geometry are the camera's own.
            auto cur = as<_CameraBasicInfo>(slot.bytes);
            const auto w = as<_CameraBasicInfo>(in);
            std::memcpy(cur.cameraName, w.cameraName, sizeof cur.cameraName);
            terminate(cur.cameraName, sizeof cur.cameraName);
            cur.dataRatio = w.dataRatio;
            cur.sendRatio = w.sendRatio;
            cur.dataTransform = w.dataTransform;
            cur.desmearLevel = w.desmearLevel;
            store(&slot.bytes, cur);
            return;
        }
        case SARVIK_MSG_GET_CAMERA_NETWORK_INFO: {
            auto w = as<_CameraNetworkInfo>(in);
            const auto cur = as<_CameraNetworkInfo>(slot.bytes);
            std::memcpy(w.macAddr, cur.macAddr, sizeof w.macAddr);  // burnt into the hardware
            store(&in, w);
            break;
        }
        case SARVIK_MSG_GET_GPIO_INFO:
            in[kGpioLevelsAt] = slot.bytes[kGpioLevelsAt];
            in[kGpioInputsAt] = slot.bytes[kGpioInputsAt];
            break;
        case SARVIK_MSG_CAMERA_PLUGIN_INFO: {
            auto w = as<_CameraPluginInfo>(in);
            const auto cur = as<_CameraPluginInfo>(slot.bytes);
            w.version = cur.version;
            w.onvif_version = cur.onvif_version;
            w.gb28181_version = cur.gb28181_version;
            w.modbus_version = cur.modbus_version;
            terminate(w.username, sizeof w.username);
            terminate(w.password, sizeof w.password);
            store(&in, w);
            break;
        }
        case SARVIK_MSG_GET_CAMERA_TIME_INFO: {
            auto w = as<_CameraTimeInfo>(in);
            terminate(w.ntpServer, sizeof w.ntpServer);
            terminate(w.ntpServer2, sizeof w.ntpServer2);
            terminate(w.timeZone, sizeof w.timeZone);
            store(&in, w);
            break;
        }
        case SARVIK_MSG_GET_CAMERA_OSD_INFO: {
            auto w = as<_CameraOSDInfo>(in);
            terminate(w.loc_name, sizeof w.loc_name);
            store(&in, w);
            break;
        }
        default:
            break;  // everything else is stored as written, reserved bytes included
    }
    slot.bytes = in;
}

bool CameraState::set_record(uint16_t setType, const uint8_t *data, size_t len) {
    std::lock_guard<std::mutex> lock(mutex_);
    RecordSlot *r = find_set(setType);
    if (!r || r->getType == SARVIK_MSG_CAMERA_PLUGIN_INFO || len != r->bytes.size()) return false;
    merge_locked(*r, data);
    persist_locked();
    event("record %u", setType);
    return true;
}

bool CameraState::plugin_exchange(const std::vector<uint8_t> &body, std::vector<uint8_t> *answer) {
    if (body.size() != sizeof(_CameraPluginExchange)) return false;
    int32_t op;
    std::memcpy(&op, body.data(), sizeof op);
    std::lock_guard<std::mutex> lock(mutex_);
    RecordSlot *slot = find_get(SARVIK_MSG_CAMERA_PLUGIN_INFO);
    int32_t status = -1;
    if (op == SARVIK_PLUGIN_OP_READ) {
        status = SARVIK_PLUGIN_OP_READ;
    } else if (op == SARVIK_PLUGIN_OP_WRITE) {
        merge_locked(*slot, body.data() + sizeof op);
        persist_locked();
        event("record %u", SARVIK_MSG_CAMERA_PLUGIN_INFO);
        status = SARVIK_PLUGIN_OP_WRITE;
    }
    answer->resize(sizeof(_CameraPluginExchange));
    std::memcpy(answer->data(), &status, sizeof status);
    std::memcpy(answer->data() + sizeof status, slot->bytes.data(), slot->bytes.size());
    return true;
}

ControlAction CameraState::control(const std::vector<uint8_t> &body) {
    if (body.size() != sizeof(_Ctl)) return ControlAction::None;
    _Ctl c;
    std::memcpy(&c, body.data(), sizeof c);
    std::lock_guard<std::mutex> lock(mutex_);
    switch (c.command) {
        case SARVIK_CTL_SHUTTER:
            shutterClosed_ = c.param[0] == SARVIK_SHUTTER_CLOSE;
            event("control shutter %s", shutterClosed_ ? "close" : "open");
            return ControlAction::None;
        case SARVIK_CTL_FFC:
            ++ffcCount_;
            event("control ffc %u", ffcCount_);
            return ControlAction::None;
        case SARVIK_CTL_RESTART:
            event("control restart %u", bootCount_ + 1);
            return ControlAction::Restart;
        case SARVIK_CTL_FACTORY_RESET:
            factory_reset_locked();
            event("control factory-reset");
            return ControlAction::Restart;
        default:
            event("control %u ignored", c.command);
            return ControlAction::None;
    }
}

void CameraState::factory_reset_locked() {
    records_ = factory_records(opt_);
    gear_ = kDefaultGear;
    // The real-time clock is not a setting: it keeps running through a reset.
    persist_locked();
}

void CameraState::power_on() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++bootCount_;
    shutterClosed_ = false;
    ffcCount_ = 0;
    gpioLevels_ = 0;
    serial_.clear();
}

bool CameraState::control_x(const std::vector<uint8_t> &body, std::vector<uint8_t> *answer) {
    if (body.size() != sizeof(_CtlX)) return false;
    _CtlX x;
    std::memcpy(&x, body.data(), sizeof x);
    std::lock_guard<std::mutex> lock(mutex_);
    switch (x.command) {
        case SARVIK_CTLX_GET_TIME:
            std::memset(x.data, 0, sizeof x.data);
            break_down(static_cast<int64_t>(std::time(nullptr)) + clockOffsetS_, x.data);
            break;
        case SARVIK_CTLX_SET_TIME:
            if (valid_clock(x.data)) {
                clock_set_locked(x.data);
                event("ctlx clock-set %04d-%02d-%02d %02d:%02d:%02d", x.data[0], x.data[1], x.data[2],
                      x.data[3], x.data[4], x.data[5]);
            }
            break;
        case SARVIK_CTLX_GET_GEAR:
            if (!hasLens_) return false;
            std::memset(x.data, 0, sizeof x.data);
            x.data[0] = gear_;
            break;
        case SARVIK_CTLX_SET_GEAR:
            if (!hasLens_) return false;
            if (x.data[0] >= 0 && x.data[0] < kGearLevels) {
                gear_ = x.data[0];
                persist_locked();
                event("ctlx gear %d", gear_);
            } else {
                x.data[0] = gear_;  // not a gear of this lens: the answer tells where the lens stays
            }
            break;
        case SARVIK_CTLX_SYNC_NTP: {
            // The host clock stands in for the NTP servers: a camera with a server configured is set right.
            const auto t = as<_CameraTimeInfo>(find_get(SARVIK_MSG_GET_CAMERA_TIME_INFO)->bytes);
            const char *server = t.ntpServer[0] ? t.ntpServer : t.ntpServer2;
            if (server[0]) {
                clockOffsetS_ = 0;
                persist_locked();
                event("ctlx ntp-sync %.32s", server);
            }
            break;
        }
        case SARVIK_CTLX_SET_GPIO: {
            const uint8_t mask = static_cast<uint8_t>(x.data[0]) & kGpioOutputBits;
            gpioLevels_ =
                static_cast<uint8_t>((gpioLevels_ & ~mask) | (static_cast<uint8_t>(x.data[1]) & mask));
            event("ctlx gpio 0x%02x", gpioLevels_);
            break;
        }
        default:
            break;  // acknowledged without effect
    }
    answer->resize(sizeof x);
    std::memcpy(answer->data(), &x, sizeof x);
    return true;
}

void CameraState::serial_data(const std::vector<uint8_t> &body) {
    if (body.size() != sizeof(_SerialPortData)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    for (uint8_t b : body) serial_.push_back(b);
    while (serial_.size() > kSerialKeep) serial_.pop_front();
    char hex[2 * sizeof(_SerialPortData) + 1];
    for (size_t i = 0; i < body.size(); ++i) std::snprintf(hex + 2 * i, 3, "%02x", body[i]);
    event("serial %s", hex);
}

void CameraState::clock_read(int32_t words[6]) const {
    break_down(camera_time_s(), words);
}

int64_t CameraState::camera_time_s() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int64_t>(std::time(nullptr)) + clockOffsetS_;
}

void CameraState::clock_set(const int32_t words[6]) {
    std::lock_guard<std::mutex> lock(mutex_);
    clock_set_locked(words);
}

void CameraState::clock_set_locked(const int32_t words[6]) {
    std::tm utc{};
    utc.tm_year = words[0] - 1900;
    utc.tm_mon = words[1] - 1;
    utc.tm_mday = words[2];
    utc.tm_hour = words[3];
    utc.tm_min = words[4];
    utc.tm_sec = words[5];
    std::time_t t = timegm(&utc);
    if (t == static_cast<std::time_t>(-1)) return;
    clockOffsetS_ = static_cast<int64_t>(t) - static_cast<int64_t>(std::time(nullptr));
    persist_locked();
}

void CameraState::persist_locked() {
    if (opt_.stateFile.empty()) return;
    StoredState s;
    for (const RecordSlot &r : records_) s.records[r.getType] = r.bytes;
    s.clockOffsetS = clockOffsetS_;
    s.gear = gear_;
    save_state_file(opt_.stateFile, s);
}

int CameraState::gear() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return gear_;
}

bool CameraState::shutter_closed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shutterClosed_;
}

uint32_t CameraState::ffc_count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ffcCount_;
}

uint32_t CameraState::boot_count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bootCount_;
}

uint8_t CameraState::gpio_levels() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return gpioLevels_;
}

std::vector<uint8_t> CameraState::serial_received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::vector<uint8_t>(serial_.begin(), serial_.end());
}

}  // namespace vcam
