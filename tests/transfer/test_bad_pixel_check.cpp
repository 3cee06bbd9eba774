// caliVerifyBad: does a bad-pixel list belong to this camera and lie on its detector? No SDK start-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "temp_dir.h"

using testsupport::TempDir;

namespace {

BadPixelIdentity identity(const char *id, int w, int h) {
    BadPixelIdentity me;
    std::memset(&me, 0, sizeof me);
    std::strncpy(me.cameraId, id, sizeof me.cameraId);
    me.width = w;
    me.height = h;
    return me;
}

class BadPixelCheck : public ::testing::Test {
protected:
    // Writes a list: header from the identity text and size, the count, then the points; extra bytes may
    // cut or pad the file.
    std::string write_list(const char *id, int w, int h, int count, const std::vector<BadPixelPoint> &points,
                           long truncateTo = -1) {
        BadPixelFileHeader hdr;
        std::memset(&hdr, 0, sizeof hdr);
        std::strncpy(hdr.cameraId, id, sizeof hdr.cameraId);
        hdr.width = w;
        hdr.height = h;
        hdr.count = count;
        std::string bytes(reinterpret_cast<const char *>(&hdr), sizeof hdr);
        bytes.append(reinterpret_cast<const char *>(points.data()), points.size() * sizeof(BadPixelPoint));
        if (truncateTo >= 0) bytes.resize(static_cast<size_t>(truncateTo));
        const std::string path = dir.file("list" + std::to_string(serial++) + ".bad");
        testsupport::write_file(path, bytes);
        return path;
    }
    static std::vector<BadPixelPoint> points_along(int n, int w, int h) {
        std::vector<BadPixelPoint> v;
        for (int i = 0; i < n; ++i)
            v.push_back({static_cast<uint16_t>(i % w), static_cast<uint16_t>(i / w % h)});
        return v;
    }
    TempDir dir;
    int serial = 0;
    const BadPixelIdentity cam = identity("SVK0038400123", 384, 288);
};

}  // namespace

TEST_F(BadPixelCheck, AListOfThisCameraWithPixelsOnTheDetectorIsValid) {
    EXPECT_EQ(
        caliVerifyBad(write_list("SVK0038400123", 384, 288, 3, {{0, 0}, {383, 287}, {100, 7}}).c_str(), &cam),
        0);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 0, {}).c_str(), &cam), 0)
        << "an empty list";
}

TEST_F(BadPixelCheck, CountIsLimitedTo500AndMayNotBeNegative) {
    EXPECT_EQ(
        caliVerifyBad(write_list("SVK0038400123", 384, 288, 500, points_along(500, 384, 288)).c_str(), &cam),
        0);
    EXPECT_EQ(
        caliVerifyBad(write_list("SVK0038400123", 384, 288, 501, points_along(501, 384, 288)).c_str(), &cam),
        -3);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, -1, {}).c_str(), &cam), -3);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, INT32_MIN, {}).c_str(), &cam), -3);
}

TEST_F(BadPixelCheck, PixelsMustLieOnTheDetector) {
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 1, {{383, 0}}).c_str(), &cam), 0);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 1, {{384, 0}}).c_str(), &cam), -6);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 1, {{0, 288}}).c_str(), &cam), -6);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 2, {{1, 1}, {65535, 65535}}).c_str(), &cam),
              -6);
}

TEST_F(BadPixelCheck, IdentifierIsComparedFromItsSixthCharacterWithinItsField) {
    EXPECT_EQ(caliVerifyBad(write_list("ABCDE38400123", 384, 288, 0, {}).c_str(), &cam), 0)
        << "the first five characters take no part";
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400124", 384, 288, 0, {}).c_str(), &cam), -3);
    EXPECT_EQ(caliVerifyBad(write_list("SVK00384", 384, 288, 0, {}).c_str(), &cam), -3)
        << "a prefix is not the id";

    // Identifiers that fill all 32 bytes have no terminator: the comparison ends with the field.
    const char full[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
    BadPixelIdentity wide = identity(full, 384, 288);
    std::memcpy(wide.cameraId, full, 32);
    EXPECT_EQ(caliVerifyBad(write_list(full, 384, 288, 0, {}).c_str(), &wide), 0);
    std::string other = full;
    other[31] = 'W';
    EXPECT_EQ(caliVerifyBad(write_list(other.c_str(), 384, 288, 0, {}).c_str(), &wide), -3);

    // Text after the terminator is no part of the identifier.
    BadPixelIdentity padded = cam;
    std::memcpy(padded.cameraId + 20, "junk", 4);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 0, {}).c_str(), &padded), 0);
}

TEST_F(BadPixelCheck, DetectorSizeMustMatch) {
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 640, 288, 0, {}).c_str(), &cam), -3);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 512, 0, {}).c_str(), &cam), -3);
}

TEST_F(BadPixelCheck, UnreadableOrShortFilesAreTold) {
    EXPECT_EQ(caliVerifyBad(dir.file("none.bad").c_str(), &cam), -1);
    EXPECT_EQ(caliVerifyBad(nullptr, &cam), -1);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 0, {}, 43).c_str(), &cam), -2);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 0, {}, 0).c_str(), &cam), -2);
    EXPECT_EQ(caliVerifyBad(
                  write_list("SVK0038400123", 384, 288, 3, {{1, 1}, {2, 2}, {3, 3}}, 44 + 11).c_str(), &cam),
              -5);
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 0, {}).c_str(), nullptr), -3);
}

TEST_F(BadPixelCheck, BytesAfterTheEntriesAreIgnored) {
    EXPECT_EQ(caliVerifyBad(write_list("SVK0038400123", 384, 288, 1, {{5, 5}, {999, 999}}).c_str(), &cam), 0);
}
