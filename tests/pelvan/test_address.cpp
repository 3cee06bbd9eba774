// IPv4 and MAC address text conversions.
#include <gtest/gtest.h>

#include <cstring>

#include "AddressHelpers.h"

TEST(Address, Ipv4TextAndNumber) {
    const struct {
        const char *text;
        uint32_t number;
        const char *printed;  // the number printed back
    } cases[] = {
        {"10.0.0.1", 167772161u, "10.0.0.1"},
        {"10.0", 167772160u, "10.0.0.0"},
        {"192.168.1.200", 0xC0A801C8u, "192.168.1.200"},
        {"255.255.255.255", 0xFFFFFFFFu, "255.255.255.255"},
        {"0.0.0.0", 0u, "0.0.0.0"},
        {"127", 0x7F000000u, "127.0.0.0"},
        {"", 0u, "0.0.0.0"},
        {"1.2.3.4.5", 0x01020304u, "1.2.3.4"},
        {" 7.8.9.10", 0x0708090Au, "7.8.9.10"},
        // A field beyond one byte never spills into its neighbour.
        {"1.256.3.4", 0x01000304u, "1.0.3.4"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ip_string2uint(c.text), c.number);
        EXPECT_EQ(ip_qstring2uint(QString::fromUtf8(c.text)), c.number);
        EXPECT_EQ(ip_uint2qstring(c.number), QString::fromLatin1(c.printed));
    }
    EXPECT_EQ(ip_string2uint(nullptr), 0u);
}

TEST(Address, MacTextToBytes) {
    const uint8_t untouched[6] = {1, 2, 3, 4, 5, 6};
    const struct {
        const char *text;
        bool set;
        uint8_t bytes[6];
    } cases[] = {
        {"AA:BB:CC:DD:EE:FF", true, {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}},
        {"00:1a:2B:3c:4D:5e", true, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
        {"00-11-22-33-44-55", true, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55}},
        // A character outside 0-9 / a-f counts as 0.
        {"zz:1g:22:33:44:55", true, {0x00, 0x10, 0x22, 0x33, 0x44, 0x55}},
        // 16 characters or fewer: the output stays as it was.
        {"aa:bb:cc:dd:ee:f", false, {1, 2, 3, 4, 5, 6}},
        {"", false, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        uint8_t out[6];
        std::memcpy(out, untouched, 6);
        EXPECT_EQ(mac_qstring2ba(QString::fromUtf8(c.text), out), c.set);
        EXPECT_EQ(std::memcmp(out, c.bytes, 6), 0);
    }
}

TEST(Address, MacBytesToTextAndBack) {
    const uint8_t macs[][6] = {
        {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, {0, 0, 0, 0, 0, 0}, {1, 0x23, 0x45, 0x67, 0x89, 0xAB}};
    const char *const texts[] = {"aa:bb:cc:dd:ee:ff", "00:00:00:00:00:00", "01:23:45:67:89:ab"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(mac_ba2qstring(macs[i]), QString::fromLatin1(texts[i]));
        uint8_t back[6] = {};
        ASSERT_TRUE(mac_qstring2ba(mac_ba2qstring(macs[i]), back));
        EXPECT_EQ(std::memcmp(back, macs[i], 6), 0);
    }
}

TEST(Address, HexPairs) {
    const struct {
        const char *pair;
        int value;
    } cases[] = {{"00", 0}, {"0f", 15}, {"ff", 255}, {"a0", 160}, {"9z", 144}, {"g1", 1}, {"", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pair);
        EXPECT_EQ(hex_str2int(c.pair), c.value);
    }
}
