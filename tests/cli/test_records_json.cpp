// The record tables and the JSON they read and write, in-process.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

#include "SarvikSDK.h"
#include "records_json.h"

using cli::FieldDesc;
using cli::FieldKind;
using cli::FieldTable;
using cli::RecordDesc;

namespace {

size_t elements(const FieldDesc &f) { return (f.dim0 ? f.dim0 : 1) * (f.dim1 ? f.dim1 : 1); }

// Marks the bytes every field covers; false when two fields overlap or one sticks out of its record.
bool cover(const FieldTable &t, size_t base, size_t limit, std::vector<int> *owner, std::string *why) {
    for (const FieldDesc &f : t) {
        if (f.offset + f.size > limit || (f.kind != FieldKind::Text && f.elemSize * elements(f) != f.size)) {
            *why = std::string(f.name) + " does not fit";
            return false;
        }
        if (f.kind == FieldKind::Struct) {
            for (size_t i = 0; i < elements(f); ++i)
                if (!cover(*f.sub, base + f.offset + i * f.elemSize, f.elemSize, owner, why)) return false;
            continue;
        }
        for (size_t b = base + f.offset; b < base + f.offset + f.size; ++b) {
            if ((*owner)[b]) {
                *why = std::string(f.name) + " overlaps another field";
                return false;
            }
            (*owner)[b] = 1;
        }
    }
    return true;
}

// Valid content for every field: finite floats, zero-padded text, any integers.
void fill(const FieldTable &t, uint8_t *base, std::mt19937 &rng) {
    for (const FieldDesc &f : t) {
        uint8_t *p = base + f.offset;
        if (f.kind == FieldKind::Text) {
            std::memset(p, 0, f.size);
            const size_t n = rng() % f.size;
            for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>('a' + rng() % 26);
        } else if (f.kind == FieldKind::Struct) {
            for (size_t i = 0; i < elements(f); ++i) fill(*f.sub, p + i * f.elemSize, rng);
        } else if (f.kind == FieldKind::Float) {
            for (size_t i = 0; i < elements(f); ++i) {
                const float v = std::ldexp(static_cast<float>(rng()) / 4294967296.0f - 0.5f, static_cast<int>(rng() % 40) - 20);
                std::memcpy(p + 4 * i, &v, 4);
            }
        } else {
            for (size_t i = 0; i < f.size; ++i) p[i] = static_cast<uint8_t>(rng());
        }
    }
}

}  // namespace

// Every field lies inside its record, none overlaps another, names are unique within a table.
TEST(RecordTables, FieldsFitTheirRecordsWithoutOverlap) {
    for (const RecordDesc &rec : cli::records()) {
        std::vector<int> owner(rec.size, 0);
        std::string why;
        EXPECT_TRUE(cover(*rec.fields, 0, rec.size, &owner, &why)) << rec.name << ": " << why;
        for (size_t i = 0; i < rec.fields->size(); ++i)
            for (size_t j = i + 1; j < rec.fields->size(); ++j)
                EXPECT_STRNE((*rec.fields)[i].name, (*rec.fields)[j].name) << rec.name;
        EXPECT_EQ(cli::findRecord(rec.name), &rec);
    }
    EXPECT_EQ(cli::findRecord("cameratimeinfo"), cli::findRecord("CameraTimeInfo"));
    EXPECT_EQ(cli::findRecord("NoSuchInfo"), nullptr);
}

// A record's JSON written onto other bytes gives exactly its field bytes back and leaves every byte no
// field covers (the reserved ones) as it was.
TEST(RecordTables, JsonCarriesEveryFieldExactlyAndNoReservedByte) {
    std::mt19937 rng(7);
    for (const RecordDesc &rec : cli::records()) {
        std::vector<uint8_t> src(rec.size), dst(rec.size);
        for (auto &b : src) b = static_cast<uint8_t>(rng());
        for (auto &b : dst) b = static_cast<uint8_t>(rng());
        fill(*rec.fields, src.data(), rng);
        fill(*rec.fields, dst.data(), rng);
        const std::vector<uint8_t> before = dst;
        std::vector<int> owner(rec.size, 0);
        std::string why;
        ASSERT_TRUE(cover(*rec.fields, 0, rec.size, &owner, &why));

        const auto j = cli::recordToJson(rec, src.data());
        ASSERT_TRUE(cli::applyJsonText(rec, cli::dumpJson(j), dst.data(), &why)) << rec.name << ": " << why;
        for (size_t b = 0; b < rec.size; ++b)
            ASSERT_EQ(dst[b], owner[b] ? src[b] : before[b]) << rec.name << " byte " << b;
    }
}

struct Refusal {
    const char *record;
    std::string json;
    const char *message;
};

TEST(RecordJson, RefusalsNameTheFieldAndChangeNothing) {
    const Refusal cases[] = {
        {"CameraTimeInfo", R"({"foo": 1})", "unknown field 'foo' in CameraTimeInfo"},
        {"CameraTimeInfo", R"({"timeZone": "UTC", "foo": 1})", "unknown field 'foo' in CameraTimeInfo"},
        {"CameraOSDInfo", R"({"loc_x": "12"})", "field 'loc_x' in CameraOSDInfo: expected an integer, got string"},
        {"CameraOSDInfo", R"({"loc_x": 65536})", "field 'loc_x' in CameraOSDInfo: 65536 is outside 0..65535"},
        {"CameraOSDInfo", R"({"loc_x": -1})", "is outside 0..65535"},
        {"TvoutInfo", R"({"man_temp0": -32769})", "field 'man_temp0' in TvoutInfo: -32769 is outside -32768..32767"},
        {"FixInfo", R"({"enableAtmFix": true})", "field 'enableAtmFix' in FixInfo: expected an integer, got boolean"},
        {"FixInfo", R"({"enableAtmFix": 1.5})", "expected an integer, got a fraction"},
        {"FixInfo", R"({"globalEmissivity": "high"})", "field 'globalEmissivity' in FixInfo: expected a number"},
        {"FixInfo", R"({"globalEmissivity": 1e300})", "outside the float range"},
        {"CameraOSDInfo", "{\"loc_name\": \"" + std::string(128, 'x') + "\"}",
         "field 'loc_name' in CameraOSDInfo: text of 128 bytes, at most 127 fit"},
        {"CameraNetworkInfo", R"({"macAddr": [1, 2, 3]})", "field 'macAddr' in CameraNetworkInfo: expected an array of 6, got 3"},
        {"CameraNetworkInfo", R"({"staticIp": "300.1.1.1"})", "field 'staticIp' in CameraNetworkInfo: expected an IPv4"},
        {"CustPointBlock1", R"({"items": [{"bb": 1, "x": 2}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}]})",
         "unknown field 'items[0].x' in CustPointBlock1"},
        {"FixDistBlock", R"({"pairs": [[], [], [], [], []]})", "field 'pairs[0]' in FixDistBlock: expected an array of 10"},
        {"CameraTimeInfo", "[1, 2]", "expected a JSON object for CameraTimeInfo, got array"},
        {"CameraTimeInfo", "{\"timeZone\": ", "bad JSON for CameraTimeInfo"},
    };
    for (const Refusal &c : cases) {
        const RecordDesc *rec = cli::findRecord(c.record);
        ASSERT_NE(rec, nullptr) << c.record;
        std::vector<uint8_t> bytes(rec->size, 0x5a);
        const std::vector<uint8_t> before = bytes;
        std::string why;
        EXPECT_FALSE(cli::applyJsonText(*rec, c.json, bytes.data(), &why)) << c.json;
        EXPECT_NE(why.find(c.message), std::string::npos) << c.json << " -> " << why;
        EXPECT_EQ(bytes, before) << c.json;
    }
}

struct Change {
    const char *record;
    const char *json;
    std::function<void(uint8_t *)> expect;  // the same change made in C on the record
};

TEST(RecordJson, NamedFieldsChangeAndOthersKeepTheirValue) {
    const Change cases[] = {
        {"CameraOSDInfo", R"({"loc_name": "Gate 3", "loc_x": 12})",
         [](uint8_t *b) {
             auto *r = reinterpret_cast<_CameraOSDInfo *>(b);
             std::memset(r->loc_name, 0, sizeof r->loc_name);
             std::strcpy(r->loc_name, "Gate 3");
             r->loc_x = 12;
         }},
        {"CameraNetworkInfo", R"({"staticIp": "192.168.1.20", "macAddr": [2, 0, 0, 0, 0, 255]})",
         [](uint8_t *b) {
             auto *r = reinterpret_cast<_CameraNetworkInfo *>(b);
             r->staticIp = 0xC0A80114u;
             const uint8_t mac[6] = {2, 0, 0, 0, 0, 255};
             std::memcpy(r->macAddr, mac, 6);
         }},
        {"TvoutInfo", R"({"man_temp0": -123, "gain": 0.95, "ct_color0": 4294901760})",
         [](uint8_t *b) {
             auto *r = reinterpret_cast<_TvoutInfo *>(b);
             r->man_temp0 = -123;
             r->gain = 0.95f;
             r->ct_color0 = 0xFFFF0000u;
         }},
        {"FixDistBlock", R"({"distances": [1, 2, 3, 4, -5]})",
         [](uint8_t *b) {
             auto *r = reinterpret_cast<FixDistBlock *>(b);
             const int32_t d[5] = {1, 2, 3, 4, -5};
             std::memcpy(r->distances, d, sizeof d);
         }},
        {"CustPointBlock2", R"({"timestamp": -9000000000000000000})",
         [](uint8_t *b) { reinterpret_cast<CustPointBlock *>(b)->timestamp = -9000000000000000000LL; }},
        {"FixInfo", R"({"tempOffset": null})", [](uint8_t *) {}},
    };
    for (const Change &c : cases) {
        const RecordDesc *rec = cli::findRecord(c.record);
        ASSERT_NE(rec, nullptr);
        std::vector<uint8_t> bytes(rec->size), want;
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
        want = bytes;
        c.expect(want.data());
        std::string why;
        EXPECT_TRUE(cli::applyJsonText(*rec, c.json, bytes.data(), &why)) << c.json << ": " << why;
        EXPECT_EQ(bytes, want) << c.json;
    }
}

// A camera may fill a text field to its last byte: handing that text back unchanged is accepted, any
// other text of that length is not.
TEST(RecordJson, FullLengthTextOnlyAsTheCameraHasIt) {
    const RecordDesc *rec = cli::findRecord("CameraBasicInfo");
    ASSERT_NE(rec, nullptr);
    _CameraBasicInfo b{};
    std::memset(b.cameraId, 'C', sizeof b.cameraId);
    const std::string text = cli::dumpJson(cli::recordToJson(*rec, &b));
    std::string why;
    EXPECT_TRUE(cli::applyJsonText(*rec, text, &b, &why)) << why;
    EXPECT_FALSE(cli::applyJsonText(*rec, "{\"cameraId\": \"" + std::string(32, 'D') + "\"}", &b, &why));
    EXPECT_NE(why.find("at most 31 fit"), std::string::npos) << why;
}
