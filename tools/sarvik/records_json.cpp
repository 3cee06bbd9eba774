#include "records_json.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <type_traits>

#include "SarvikSDK.h"

namespace cli {

namespace {

using json = nlohmann::ordered_json;

// Nested records get their own table; every other element type has none.
const FieldTable *subTable(const CustPointEntry *);
const FieldTable *subTable(const CloseRangeLensEntry *);
const FieldTable *subTable(const FixDistPair *);
template <typename T>
const FieldTable *subTable(const T *) {
    return nullptr;
}

// Everything about a field follows from its declared type: char arrays are text, other arrays keep their
// one or two dimensions, and a struct element brings its own table.
template <typename M>
FieldDesc makeField(const char *name, size_t offset) {
    using E = std::remove_all_extents_t<M>;
    FieldDesc f{name, FieldKind::Int, offset, sizeof(M), sizeof(E), false, 0, 0, nullptr};
    if constexpr (std::is_same_v<E, char>) {
        static_assert(std::rank_v<M> == 1, "text is a one-dimensional char array");
        f.kind = FieldKind::Text;
    } else {
        static_assert(std::rank_v<M> <= 2, "at most two array dimensions");
        if constexpr (std::rank_v<M> >= 1) f.dim0 = std::extent_v<M, 0>;
        if constexpr (std::rank_v<M> >= 2) f.dim1 = std::extent_v<M, 1>;
        if constexpr (std::is_floating_point_v<E>) {
            static_assert(sizeof(E) == 4, "records carry 32-bit floats only");
            f.kind = FieldKind::Float;
        } else if constexpr (std::is_integral_v<E>) {
            f.isSigned = std::is_signed_v<E>;
        } else {
            f.kind = FieldKind::Struct;
            f.sub = subTable(static_cast<const E *>(nullptr));
        }
    }
    return f;
}

FieldDesc ipField(const char *name, size_t offset) {
    return FieldDesc{name, FieldKind::Ipv4, offset, 4, 4, false, 0, 0, nullptr};
}

#define FLD(T, f) makeField<decltype(T::f)>(#f, offsetof(T, f))
#define IPV4(T, f) ipField(#f, offsetof(T, f))

const FieldTable kBasic = {
    FLD(_CameraBasicInfo, cameraId),      FLD(_CameraBasicInfo, cameraName),    FLD(_CameraBasicInfo, cameraType),
    FLD(_CameraBasicInfo, fpaId),         FLD(_CameraBasicInfo, hardwareId),    FLD(_CameraBasicInfo, softwareId),
    FLD(_CameraBasicInfo, dataWidth),     FLD(_CameraBasicInfo, dataHeight),    FLD(_CameraBasicInfo, dataFps),
    FLD(_CameraBasicInfo, dataRatio),     FLD(_CameraBasicInfo, sendRatio),     FLD(_CameraBasicInfo, dataTransform),
    FLD(_CameraBasicInfo, desmearLevel),  FLD(_CameraBasicInfo, videoWidth),    FLD(_CameraBasicInfo, videoHeight),
};
const FieldTable kNetwork = {
    FLD(_CameraNetworkInfo, useStaticIp), IPV4(_CameraNetworkInfo, staticIp), IPV4(_CameraNetworkInfo, subnetMask),
    IPV4(_CameraNetworkInfo, gateway),    FLD(_CameraNetworkInfo, macAddr),   FLD(_CameraNetworkInfo, mtu),
    IPV4(_CameraNetworkInfo, dns),        IPV4(_CameraNetworkInfo, dns2),
};
const FieldTable kFix = {
    FLD(_FixInfo, atmosphericTemperature), FLD(_FixInfo, relativeHumidity),   FLD(_FixInfo, visibility),
    FLD(_FixInfo, rainfallIntensity),      FLD(_FixInfo, snowfallIntensity),  FLD(_FixInfo, targetDistance),
    FLD(_FixInfo, globalEmissivity),       FLD(_FixInfo, infraredWindowTrans), FLD(_FixInfo, tempOffset),
    FLD(_FixInfo, enableAtmFix),           FLD(_FixInfo, infraredWindowTempOffset),
};
const FieldTable kFfc = {
    FLD(_FFCInfo, frames_skipped_after_close), FLD(_FFCInfo, frames_accumlated_when_closed),
    FLD(_FFCInfo, frames_skipped_after_open),  FLD(_FFCInfo, nst_enable),
    FLD(_FFCInfo, time_interval),              FLD(_FFCInfo, temp_interval),
    FLD(_FFCInfo, af_rebound),                 FLD(_FFCInfo, fpa_shutter),
    FLD(_FFCInfo, time_interval_sec),
};
const FieldTable kTvout = {
    FLD(_TvoutInfo, enableTvout), FLD(_TvoutInfo, paletteType),  FLD(_TvoutInfo, zoom),
    FLD(_TvoutInfo, xuiDisplayFlags), FLD(_TvoutInfo, gain),     FLD(_TvoutInfo, h264_bitrate),
    FLD(_TvoutInfo, h264_gopSize), FLD(_TvoutInfo, strechType),  FLD(_TvoutInfo, ddeLevel),
    FLD(_TvoutInfo, man_temp0),   FLD(_TvoutInfo, man_temp1),    FLD(_TvoutInfo, man_enable),
    FLD(_TvoutInfo, temp2gray),   FLD(_TvoutInfo, ct_type),      FLD(_TvoutInfo, ct_temp0),
    FLD(_TvoutInfo, ct_temp1),    FLD(_TvoutInfo, ct_color0),    FLD(_TvoutInfo, ct_color1),
};
const FieldTable kTime = {
    FLD(_CameraTimeInfo, ntpServer), FLD(_CameraTimeInfo, ntpServer2), FLD(_CameraTimeInfo, timeZone),
};
const FieldTable kOsd = {
    FLD(_CameraOSDInfo, loc_enable),  FLD(_CameraOSDInfo, loc_x),  FLD(_CameraOSDInfo, loc_y),
    FLD(_CameraOSDInfo, time_enable), FLD(_CameraOSDInfo, time_x), FLD(_CameraOSDInfo, time_y),
    FLD(_CameraOSDInfo, loc_name),    FLD(_CameraOSDInfo, color),
};
const FieldTable kGpio = {
    FLD(_GpioInfo, input0), FLD(_GpioInfo, input1), FLD(_GpioInfo, output0), FLD(_GpioInfo, output1),
};
const FieldTable kSerial = {
    FLD(_SerialPortInfo, usage),    FLD(_SerialPortInfo, portAddr), FLD(_SerialPortInfo, baudRate),
    FLD(_SerialPortInfo, dataBits), FLD(_SerialPortInfo, stopBits), FLD(_SerialPortInfo, parity),
};
const FieldTable kPlugin = {
    FLD(_CameraPluginInfo, version),        FLD(_CameraPluginInfo, onvif_version),
    FLD(_CameraPluginInfo, gb28181_version), FLD(_CameraPluginInfo, modbus_version),
    FLD(_CameraPluginInfo, username),       FLD(_CameraPluginInfo, password),
    FLD(_CameraPluginInfo, onvif_enable),   FLD(_CameraPluginInfo, gb28181_enable),
    FLD(_CameraPluginInfo, modbus_enable),  FLD(_CameraPluginInfo, svdatavm_enable),
    FLD(_CameraPluginInfo, h5_enable),
};
const FieldTable kDestrip = {
    FLD(_DestripInfo, type),       FLD(_DestripInfo, width),     FLD(_DestripInfo, height),
    FLD(_DestripInfo, s0_radius),  FLD(_DestripInfo, s0_regular), FLD(_DestripInfo, s1_radius),
    FLD(_DestripInfo, s1_regular), FLD(_DestripInfo, sub_y),     FLD(_DestripInfo, sub_t),
};
const FieldTable kDenoise = {
    FLD(_DenoiseInfo, type),      FLD(_DenoiseInfo, width),      FLD(_DenoiseInfo, height),
    FLD(_DenoiseInfo, gf_radius), FLD(_DenoiseInfo, gf_regular),
};
// Opaque records: their bytes as one array.
const FieldTable kOutput = {FLD(_CameraOutputInfo, data)};
const FieldTable kFpa = {FLD(_FPAInfo, data)};
const FieldTable kFpaAk = {FLD(_FPAInfoAK, data)};
const FieldTable kFpaGd = {FLD(_FPAInfoGD, data)};
const FieldTable kFpaFamily4 = {FLD(_FPAInfoFamily4, data)};
const FieldTable kFpaHk160 = {FLD(_FPAInfoHK160, data)};
const FieldTable kExt = {FLD(_CameraExtInfo, data)};
const FieldTable kBlock = {FLD(_CameraBlockInfo, data)};

const FieldTable kGb28181 = {
    FLD(GB28181Block, headVersion), FLD(GB28181Block, headEnable),    FLD(GB28181Block, serverId),
    FLD(GB28181Block, serverIp),    FLD(GB28181Block, serverPort),    FLD(GB28181Block, deviceId),
    FLD(GB28181Block, devicePort),  FLD(GB28181Block, devicePortRtp), FLD(GB28181Block, streamId),
    FLD(GB28181Block, username),    FLD(GB28181Block, password),      FLD(GB28181Block, keepAliveInterval),
};
const FieldTable kCustEntry = {FLD(CustPointEntry, bb), FLD(CustPointEntry, mea)};
const FieldTable kCust = {
    FLD(CustPointBlock, timestamp), FLD(CustPointBlock, note), FLD(CustPointBlock, itemCount),
    FLD(CustPointBlock, items),
};
const FieldTable kLensEntry = {FLD(CloseRangeLensEntry, bb), FLD(CloseRangeLensEntry, mea)};
const FieldTable kLens = {
    FLD(CloseRangeLensBlock, stamp),          FLD(CloseRangeLensBlock, cali_mode),
    FLD(CloseRangeLensBlock, len1_env_count), FLD(CloseRangeLensBlock, len1_bb_count),
    FLD(CloseRangeLensBlock, len2_bb_count),  FLD(CloseRangeLensBlock, len1_shell_array),
    FLD(CloseRangeLensBlock, len1_bb_array),  FLD(CloseRangeLensBlock, len2_bb_array),
};
const FieldTable kDistPair = {FLD(FixDistPair, bb), FLD(FixDistPair, mea)};
const FieldTable kFixDist = {
    FLD(FixDistBlock, distCount), FLD(FixDistBlock, bbCount), FLD(FixDistBlock, distances),
    FLD(FixDistBlock, pairs),
};

const FieldTable *subTable(const CustPointEntry *) { return &kCustEntry; }
const FieldTable *subTable(const CloseRangeLensEntry *) { return &kLensEntry; }
const FieldTable *subTable(const FixDistPair *) { return &kDistPair; }

#undef FLD
#undef IPV4

const RecordSource I = RecordSource::Info;
const RecordSource M = RecordSource::Mem;

const std::vector<RecordDesc> kRecords = {
    {"CameraBasicInfo", I, SARVIK_INFO_CAMERA_BASIC, sizeof(_CameraBasicInfo), &kBasic},
    {"CameraNetworkInfo", I, SARVIK_INFO_CAMERA_NETWORK, sizeof(_CameraNetworkInfo), &kNetwork},
    {"FixInfo", I, SARVIK_INFO_FIX, sizeof(_FixInfo), &kFix},
    {"FFCInfo", I, SARVIK_INFO_FFC, sizeof(_FFCInfo), &kFfc},
    {"TvoutInfo", I, SARVIK_INFO_TVOUT, sizeof(_TvoutInfo), &kTvout},
    {"CameraOutputInfo", I, SARVIK_INFO_CAMERA_OUTPUT, sizeof(_CameraOutputInfo), &kOutput},
    {"CameraTimeInfo", I, SARVIK_INFO_CAMERA_TIME, sizeof(_CameraTimeInfo), &kTime},
    {"CameraOSDInfo", I, SARVIK_INFO_CAMERA_OSD, sizeof(_CameraOSDInfo), &kOsd},
    {"GpioInfo", I, SARVIK_INFO_GPIO, sizeof(_GpioInfo), &kGpio},
    {"SerialPortInfo", I, SARVIK_INFO_SERIAL_PORT, sizeof(_SerialPortInfo), &kSerial},
    {"CameraPluginInfo", I, SARVIK_INFO_CAMERA_PLUGIN, sizeof(_CameraPluginInfo), &kPlugin},
    {"DestripInfo", I, SARVIK_INFO_DESTRIP, sizeof(_DestripInfo), &kDestrip},
    {"DenoiseInfo", I, SARVIK_INFO_DENOISE, sizeof(_DenoiseInfo), &kDenoise},
    {"FPAInfo0", I, SARVIK_INFO_FPA_0, sizeof(_FPAInfo), &kFpa},
    {"FPAInfo1", I, SARVIK_INFO_FPA_1, sizeof(_FPAInfo), &kFpa},
    {"FPAInfo2", I, SARVIK_INFO_FPA_2, sizeof(_FPAInfo), &kFpa},
    {"FPAInfoAK0", I, SARVIK_INFO_FPA_AK_0, sizeof(_FPAInfoAK), &kFpaAk},
    {"FPAInfoAK1", I, SARVIK_INFO_FPA_AK_1, sizeof(_FPAInfoAK), &kFpaAk},
    {"FPAInfoAK2", I, SARVIK_INFO_FPA_AK_2, sizeof(_FPAInfoAK), &kFpaAk},
    {"FPAInfoGD0", I, SARVIK_INFO_FPA_GD_0, sizeof(_FPAInfoGD), &kFpaGd},
    {"FPAInfoGD1", I, SARVIK_INFO_FPA_GD_1, sizeof(_FPAInfoGD), &kFpaGd},
    {"FPAInfoGD2", I, SARVIK_INFO_FPA_GD_2, sizeof(_FPAInfoGD), &kFpaGd},
    {"FPAInfoFamily4_0", I, SARVIK_INFO_FPA_FAMILY4_0, sizeof(_FPAInfoFamily4), &kFpaFamily4},
    {"FPAInfoFamily4_1", I, SARVIK_INFO_FPA_FAMILY4_1, sizeof(_FPAInfoFamily4), &kFpaFamily4},
    {"FPAInfoFamily4_2", I, SARVIK_INFO_FPA_FAMILY4_2, sizeof(_FPAInfoFamily4), &kFpaFamily4},
    {"CameraExtInfo", I, SARVIK_INFO_CAMERA_EXT, sizeof(_CameraExtInfo), &kExt},
    {"FPAInfoHK160", I, SARVIK_INFO_FPA_HK160, sizeof(_FPAInfoHK160), &kFpaHk160},
    {"CameraBlock0", I, SARVIK_INFO_CAMERA_BLOCK_0, sizeof(_CameraBlockInfo), &kBlock},
    {"CameraBlock1", I, SARVIK_INFO_CAMERA_BLOCK_1, sizeof(_CameraBlockInfo), &kBlock},
    {"CameraBlock2", I, SARVIK_INFO_CAMERA_BLOCK_2, sizeof(_CameraBlockInfo), &kBlock},
    {"GB28181Block", M, SARVIK_MEM_GB28181, sizeof(GB28181Block), &kGb28181},
    {"CustPointBlock1", M, SARVIK_MEM_CUST_1, sizeof(CustPointBlock), &kCust},
    {"CustPointBlock2", M, SARVIK_MEM_CUST_2, sizeof(CustPointBlock), &kCust},
    {"CloseRangeLensBlock", M, SARVIK_MEM_CLOSE_LENS, sizeof(CloseRangeLensBlock), &kLens},
    {"FixDistBlock", M, SARVIK_MEM_FIX_DIST, sizeof(FixDistBlock), &kFixDist},
};

// ---- reading ----

json intToJson(const uint8_t *p, size_t size, bool isSigned) {
    switch (size) {
        case 1: return isSigned ? json(static_cast<int8_t>(p[0])) : json(p[0]);
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return isSigned ? json(static_cast<int16_t>(v)) : json(v);
        }
        case 4: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return isSigned ? json(static_cast<int32_t>(v)) : json(v);
        }
        default: {
            uint64_t v;
            std::memcpy(&v, p, 8);
            return isSigned ? json(static_cast<int64_t>(v)) : json(v);
        }
    }
}

// The shortest decimal that reads back as the same float, so 0.95f shows as 0.95 and not 0.949999988.
json floatToJson(const uint8_t *p) {
    float f;
    std::memcpy(&f, p, 4);
    if (!std::isfinite(f)) return json(nullptr);
    char buf[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(f));
        if (std::strtof(buf, nullptr) == f) break;
    }
    return json(std::strtod(buf, nullptr));
}

json elementToJson(const FieldDesc &f, const uint8_t *p);

json tableToJson(const FieldTable &t, const uint8_t *base) {
    json o = json::object();
    for (const FieldDesc &f : t) {
        const uint8_t *p = base + f.offset;
        if (f.kind == FieldKind::Text) {
            const char *s = reinterpret_cast<const char *>(p);
            o[f.name] = std::string(s, strnlen(s, f.size));
        } else if (f.kind == FieldKind::Ipv4) {
            uint32_t v;
            std::memcpy(&v, p, 4);
            char buf[16];
            std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", v >> 24, (v >> 16) & 255, (v >> 8) & 255, v & 255);
            o[f.name] = buf;
        } else if (f.dim0 == 0) {
            o[f.name] = elementToJson(f, p);
        } else {
            json a = json::array();
            for (size_t i = 0; i < f.dim0; ++i) {
                if (f.dim1 == 0) {
                    a.push_back(elementToJson(f, p + i * f.elemSize));
                } else {
                    json row = json::array();
                    for (size_t j = 0; j < f.dim1; ++j) row.push_back(elementToJson(f, p + (i * f.dim1 + j) * f.elemSize));
                    a.push_back(std::move(row));
                }
            }
            o[f.name] = std::move(a);
        }
    }
    return o;
}

json elementToJson(const FieldDesc &f, const uint8_t *p) {
    if (f.kind == FieldKind::Float) return floatToJson(p);
    if (f.kind == FieldKind::Struct) return tableToJson(*f.sub, p);
    return intToJson(p, f.elemSize, f.isSigned);
}

// ---- writing ----

struct Applier {
    const RecordDesc &rec;
    std::string *error;

    bool fail(const std::string &path, const std::string &what) {
        if (error) *error = "field '" + path + "' in " + rec.name + ": " + what;
        return false;
    }

    static std::string typeName(const json &v) { return v.type_name(); }

    bool intElement(const FieldDesc &f, const json &v, uint8_t *p, const std::string &path) {
        if (!v.is_number_integer())
            return fail(path, std::string("expected an integer, got ") + (v.is_number() ? "a fraction" : typeName(v)));
        const unsigned bits = static_cast<unsigned>(f.elemSize * 8);
        int64_t lo, hi;
        uint64_t uhi;
        if (f.isSigned) {
            hi = bits == 64 ? INT64_MAX : (int64_t{1} << (bits - 1)) - 1;
            lo = -hi - 1;
            uhi = static_cast<uint64_t>(hi);
        } else {
            lo = 0;
            uhi = bits == 64 ? UINT64_MAX : (uint64_t{1} << bits) - 1;
            hi = bits == 64 ? INT64_MAX : static_cast<int64_t>(uhi);
        }
        uint64_t raw;
        if (v.is_number_unsigned()) {
            const uint64_t u = v.get<uint64_t>();
            if (u > uhi) return fail(path, std::to_string(u) + " is outside " + std::to_string(lo) + ".." + std::to_string(uhi));
            raw = u;
        } else {
            const int64_t s = v.get<int64_t>();
            if (s < lo || s > hi)
                return fail(path, std::to_string(s) + " is outside " + std::to_string(lo) + ".." + std::to_string(uhi));
            raw = static_cast<uint64_t>(s);
        }
        // Little-endian: the low bytes of the value are the field.
        std::memcpy(p, &raw, f.elemSize);
        return true;
    }

    bool floatElement(const json &v, uint8_t *p, const std::string &path) {
        // A value that was not a finite number reads out as null; null writes it back unchanged.
        if (v.is_null()) return true;
        if (!v.is_number()) return fail(path, "expected a number, got " + typeName(v));
        const double d = v.get<double>();
        if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) return fail(path, "number outside the float range");
        const float f = static_cast<float>(d);
        std::memcpy(p, &f, 4);
        return true;
    }

    bool element(const FieldDesc &f, const json &v, uint8_t *p, const std::string &path) {
        switch (f.kind) {
            case FieldKind::Float: return floatElement(v, p, path);
            case FieldKind::Struct: return table(*f.sub, v, p, path + ".");
            default: return intElement(f, v, p, path);
        }
    }

    bool array(const json &v, size_t n, const std::string &path) {
        if (!v.is_array()) return fail(path, "expected an array of " + std::to_string(n) + ", got " + typeName(v));
        if (v.size() != n)
            return fail(path, "expected an array of " + std::to_string(n) + ", got " + std::to_string(v.size()));
        return true;
    }

    bool field(const FieldDesc &f, const json &v, uint8_t *base, const std::string &path) {
        uint8_t *p = base + f.offset;
        if (f.kind == FieldKind::Text) {
            if (!v.is_string()) return fail(path, "expected a string, got " + typeName(v));
            const std::string &s = v.get_ref<const std::string &>();
            const char *cur = reinterpret_cast<const char *>(p);
            // A camera may fill a field to its last byte; handing its own text back is no change.
            if (s.size() == strnlen(cur, f.size) && std::memcmp(s.data(), cur, s.size()) == 0) return true;
            if (s.size() > f.size - 1)
                return fail(path, "text of " + std::to_string(s.size()) + " bytes, at most " + std::to_string(f.size - 1) +
                                      " fit");
            std::memset(p, 0, f.size);
            std::memcpy(p, s.data(), s.size());
            return true;
        }
        if (f.kind == FieldKind::Ipv4) {
            in_addr a{};
            if (!v.is_string() || inet_pton(AF_INET, v.get_ref<const std::string &>().c_str(), &a) != 1)
                return fail(path, "expected an IPv4 address as \"a.b.c.d\"");
            const uint32_t host = ntohl(a.s_addr);
            std::memcpy(p, &host, 4);
            return true;
        }
        if (f.dim0 == 0) return element(f, v, p, path);
        if (!array(v, f.dim0, path)) return false;
        for (size_t i = 0; i < f.dim0; ++i) {
            const std::string at = path + "[" + std::to_string(i) + "]";
            if (f.dim1 == 0) {
                if (!element(f, v[i], p + i * f.elemSize, at)) return false;
                continue;
            }
            if (!array(v[i], f.dim1, at)) return false;
            for (size_t j = 0; j < f.dim1; ++j)
                if (!element(f, v[i][j], p + (i * f.dim1 + j) * f.elemSize, at + "[" + std::to_string(j) + "]"))
                    return false;
        }
        return true;
    }

    bool table(const FieldTable &t, const json &obj, uint8_t *base, const std::string &prefix) {
        if (!obj.is_object()) {
            if (prefix.empty()) {
                if (error) *error = std::string("expected a JSON object for ") + rec.name + ", got " + typeName(obj);
                return false;
            }
            return fail(prefix.substr(0, prefix.size() - 1), "expected an object, got " + typeName(obj));
        }
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            const FieldDesc *f = nullptr;
            for (const FieldDesc &d : t)
                if (it.key() == d.name) f = &d;
            if (!f) {
                if (error) *error = "unknown field '" + prefix + it.key() + "' in " + rec.name;
                return false;
            }
            if (!field(*f, it.value(), base, prefix + it.key())) return false;
        }
        return true;
    }
};

}  // namespace

const std::vector<RecordDesc> &records() { return kRecords; }

const RecordDesc *findRecord(const std::string &name) {
    for (const RecordDesc &r : kRecords)
        if (name == r.name) return &r;
    for (const RecordDesc &r : kRecords)
        if (strcasecmp(name.c_str(), r.name) == 0) return &r;
    return nullptr;
}

std::string recordNames() {
    std::string s;
    for (const RecordDesc &r : kRecords) s += (s.empty() ? "" : ", ") + std::string(r.name);
    return s;
}

json recordToJson(const RecordDesc &rec, const void *bytes) {
    return tableToJson(*rec.fields, static_cast<const uint8_t *>(bytes));
}

bool applyJson(const RecordDesc &rec, const json &obj, void *bytes, std::string *error) {
    // Applied to a copy: a refusal half way leaves the caller's record as it was.
    std::vector<uint8_t> work(static_cast<const uint8_t *>(bytes), static_cast<const uint8_t *>(bytes) + rec.size);
    Applier a{rec, error};
    if (!a.table(*rec.fields, obj, work.data(), "")) return false;
    std::memcpy(bytes, work.data(), rec.size);
    return true;
}

bool applyJsonText(const RecordDesc &rec, const std::string &text, void *bytes, std::string *error) {
    json j;
    try {
        j = json::parse(text);
    } catch (const json::exception &e) {
        if (error) *error = std::string("bad JSON for ") + rec.name + ": " + e.what();
        return false;
    }
    return applyJson(rec, j, bytes, error);
}

namespace {

// Indented like dump(2), but an array of plain values stays on one line: a 512-byte block reads as a
// block, not as 512 lines.
void dumpTo(const json &j, int indent, std::string *out) {
    const auto plain = [](const json &v) { return !v.is_structured(); };
    if (j.is_array() && std::all_of(j.begin(), j.end(), plain)) {
        *out += '[';
        for (size_t i = 0; i < j.size(); ++i) {
            if (i) *out += ", ";
            *out += j[i].dump(-1, ' ', false, json::error_handler_t::replace);
        }
        *out += ']';
        return;
    }
    if (!j.is_structured() || j.empty()) {
        *out += j.dump(-1, ' ', false, json::error_handler_t::replace);
        return;
    }
    const std::string pad(static_cast<size_t>(indent + 2), ' ');
    *out += j.is_object() ? "{\n" : "[\n";
    bool firstItem = true;
    for (auto it = j.begin(); it != j.end(); ++it) {
        if (!firstItem) *out += ",\n";
        firstItem = false;
        *out += pad;
        if (j.is_object()) *out += json(it.key()).dump(-1, ' ', false, json::error_handler_t::replace) + ": ";
        dumpTo(*it, indent + 2, out);
    }
    *out += "\n" + std::string(static_cast<size_t>(indent), ' ') + (j.is_object() ? "}" : "]");
}

}  // namespace

std::string dumpJson(const json &j) {
    std::string out;
    dumpTo(j, 0, &out);
    return out;
}

}  // namespace cli
