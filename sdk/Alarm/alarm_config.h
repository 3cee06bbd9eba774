// Reading an alarm endpoint's configuration record.
#pragma once

#include <arpa/inet.h>

#include <cstdint>
#include <cstring>

#include "SarvikSDK.h"

namespace sarvik {

constexpr int kAlarmDefaultTimeoutMs = 2000;

// The configured time-out, or 2000 ms for 0: a zero socket time-out would mean waiting for ever.
inline int alarm_timeout_ms(const AlarmConfig &cfg) {
    return cfg.timeout_ms ? cfg.timeout_ms : kAlarmDefaultTimeoutMs;
}

// The address text of the record in host byte order. An empty text gives 0.0.0.0 when allowEmpty is set;
// otherwise it must be dotted IPv4 terminated inside its field.
inline bool alarm_parse_ip(const AlarmConfig &cfg, bool allowEmpty, uint32_t *out) {
    const size_t len = strnlen(cfg.serverIp, sizeof cfg.serverIp);
    if (len == sizeof cfg.serverIp) return false;
    if (len == 0) {
        *out = 0;
        return allowEmpty;
    }
    in_addr a{};
    if (inet_pton(AF_INET, cfg.serverIp, &a) != 1) return false;
    *out = ntohl(a.s_addr);
    return true;
}

}  // namespace sarvik
