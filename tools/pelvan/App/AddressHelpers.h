// IPv4 and MAC address text conversions used by the device pages.
#pragma once

#include <QString>

#include <cstdint>

// "%d.%d.%d.%d", most significant byte first.
QString ip_uint2qstring(uint32_t ip);
// Up to four decimal fields separated by "." (each read with strtol), the first becoming the most
// significant byte; missing fields are 0. "10.0" gives 167772160.
uint32_t ip_qstring2uint(const QString &text);
uint32_t ip_string2uint(const char *text);

// "%02x:%02x:%02x:%02x:%02x:%02x".
QString mac_ba2qstring(const uint8_t mac[6]);
// Lower-cases the text and, only when its UTF-8 form is longer than 16 bytes, reads the pairs at character
// positions 0, 3, 6, 9, 12, 15 into mac; a shorter text leaves mac untouched. Returns whether mac was set.
bool mac_qstring2ba(const QString &text, uint8_t mac[6]);
// One two-digit hexadecimal pair (lower case); a character outside 0-9, a-f counts as 0.
int hex_str2int(const char *pair);
