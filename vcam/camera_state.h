// The camera's records, controls and clock, as a real camera keeps them.
//
// Every record of the info-type table lives here with factory content for the camera's size. A set keeps
// the fields a real camera does not let a client change (identity, versions, geometry, MAC address,
// plug-in versions). With a state file, records, clock and lens gear survive a restart of the program.
//
// Live state shown through the records: byte 4 of the GPIO record carries the output levels (bits light 1,
// ledy 2, ledb 4, alarm 8, buzz 16) and byte 5 the input levels; both are the camera's own and a GPIO
// write leaves them alone.
//
// With an event log, every control, serial write and record write appends one line, for example
// "control shutter close", "control ffc 3", "control restart 2", "control factory-reset",
// "ctlx clock-set 2031-06-15 08:30:00", "ctlx ntp-sync 0.pool.ntp.org", "ctlx gear 2", "ctlx gpio 0x05",
// "serial <64 hex digits>", "record 25".
//
// Thread-safe: the command server and the other services of the camera may call from their own threads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <vector>

#include "camera_defaults.h"
#include "vcam_options.h"

namespace vcam {

// What a one-way control asks of the command server besides the state change.
enum class ControlAction { None, Restart };

class CameraState {
public:
    // Factory settings for the options' size, then the state file when one is given and readable.
    explicit CameraState(const Options &opt);
    ~CameraState();
    CameraState(const CameraState &) = delete;
    CameraState &operator=(const CameraState &) = delete;

    // The record answered to a get request; false when the type is not a record get.
    bool get_record(uint16_t getType, std::vector<uint8_t> *out) const;
    // Stores a record for a set request, keeping read-only fields; false when the type is unknown or the
    // length wrong.
    bool set_record(uint16_t setType, const uint8_t *data, size_t len);
    bool is_set_type(uint16_t type) const;

    // Plug-in exchange (message 48): body is operation word plus record; the answer body is status word
    // plus the camera's record (status 0 after a read, 2 after a write, -1 for another operation).
    // False when the body is malformed (no answer).
    bool plugin_exchange(const std::vector<uint8_t> &body, std::vector<uint8_t> *answer);
    // One-way control (_Ctl). Restart and factory reset ask the server to take the camera down for a while.
    ControlAction control(const std::vector<uint8_t> &body);
    // Extended control (_CtlX); false when the camera has no answer (malformed, or lens gear commands on a
    // camera without a motorised lens).
    bool control_x(const std::vector<uint8_t> &body, std::vector<uint8_t> *answer);
    // Bytes for the serial port (_SerialPortData): kept, last kSerialKeep bytes.
    void serial_data(const std::vector<uint8_t> &body);
    // The camera came back from a restart: volatile state returns to its power-on values.
    void power_on();

    // Camera clock as UTC broken down into year, month, day, hour, minute, second.
    void clock_read(int32_t words[6]) const;
    void clock_set(const int32_t words[6]);
    // Camera time in seconds since 1970 UTC (the host clock plus the camera's offset).
    int64_t camera_time_s() const;

    bool has_lens() const { return hasLens_; }
    int gear() const;
    bool shutter_closed() const;
    uint32_t ffc_count() const;   // corrections since power-on
    uint32_t boot_count() const;  // restarts since the program started, 0 at first
    uint8_t gpio_levels() const;
    std::vector<uint8_t> serial_received() const;

    static constexpr size_t kSerialKeep = 4096;

private:
    RecordSlot *find_get(uint16_t type);
    const RecordSlot *find_get(uint16_t type) const;
    RecordSlot *find_set(uint16_t type);
    void merge_locked(RecordSlot &slot, const uint8_t *data);
    void clock_set_locked(const int32_t words[6]);
    void factory_reset_locked();
    void persist_locked();
    void event(const char *fmt, ...) __attribute__((format(printf, 2, 3)));

    const Options &opt_;
    const bool hasLens_;
    mutable std::mutex mutex_;
    std::vector<RecordSlot> records_;
    int64_t clockOffsetS_ = 0;  // camera time minus host time
    int gear_ = kDefaultGear;
    bool shutterClosed_ = false;
    uint32_t ffcCount_ = 0;
    uint32_t bootCount_ = 0;
    uint8_t gpioLevels_ = 0;
    std::deque<uint8_t> serial_;
    FILE *eventLog_ = nullptr;
};

}  // namespace vcam
