#include "AddressHelpers.h"

#include <cstdio>
#include <cstdlib>

QString ip_uint2qstring(uint32_t ip) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d.%d.%d.%d", static_cast<int>((ip >> 24) & 0xFF),
                  static_cast<int>((ip >> 16) & 0xFF), static_cast<int>((ip >> 8) & 0xFF),
                  static_cast<int>(ip & 0xFF));
    return QString::fromLatin1(text);
}

uint32_t ip_string2uint(const char *text) {
    if (!text) return 0;
    uint32_t ip = 0;
    const char *p = text;
    for (int field = 0; field < 4; ++field) {
        uint32_t byte = 0;
        if (p) {
            char *end = nullptr;
            byte = static_cast<uint32_t>(std::strtol(p, &end, 10)) & 0xFF;
            // The next field follows the next "."; without one the rest are 0.
            p = (*end == '.') ? end + 1 : nullptr;
        }
        ip |= byte << (8 * (3 - field));
    }
    return ip;
}

uint32_t ip_qstring2uint(const QString &text) {
    return ip_string2uint(text.toUtf8().constData());
}

QString mac_ba2qstring(const uint8_t mac[6]) {
    char text[18];
    std::snprintf(text, sizeof(text), "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return QString::fromLatin1(text);
}

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

int hex_str2int(const char *pair) {
    if (!pair || !pair[0]) return 0;
    return hexDigit(pair[0]) * 16 + hexDigit(pair[1]);
}

bool mac_qstring2ba(const QString &text, uint8_t mac[6]) {
    const QString lower = text.toLower();
    if (lower.toUtf8().size() <= 16) return false;
    // Positions count characters: take each character on its own so a wide one cannot shift the pairs.
    for (int i = 0; i < 6; ++i) {
        const int at = i * 3;
        char pair[3] = {0, 0, 0};
        for (int k = 0; k < 2; ++k) {
            const QChar c = at + k < lower.size() ? lower.at(at + k) : QChar();
            pair[k] = c.unicode() < 128 ? static_cast<char>(c.unicode()) : 'x';
        }
        mac[i] = static_cast<uint8_t>(hex_str2int(pair));
    }
    return true;
}
