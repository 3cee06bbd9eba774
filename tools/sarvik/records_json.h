// The camera's records as JSON: one table per record struct maps the header's field names to their offset
// and type, so a record reads out as an object and a JSON object changes just the fields it names.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

enum class FieldKind { Int, Float, Text, Ipv4, Struct };

struct FieldDesc;
using FieldTable = std::vector<FieldDesc>;

// One field of a record: scalar, text (char array), IPv4 address, or an array of up to two dimensions of
// integers, floats or nested records.
struct FieldDesc {
    const char *name;
    FieldKind kind;
    size_t offset;
    size_t size;      // bytes of the whole field
    size_t elemSize;  // bytes of one element (a scalar: size)
    bool isSigned;    // Int
    size_t dim0;      // 0: scalar (or text); else the outer array length
    size_t dim1;      // 0: one-dimensional; else the inner array length
    const FieldTable *sub;  // Struct: the nested record's fields
};

// Where a record lives on the camera: behind an info type (Sarvik_GetInfo) or a memory type
// (Sarvik_DownloadMem).
enum class RecordSource { Info, Mem };

struct RecordDesc {
    const char *name;
    RecordSource source;
    int type;
    size_t size;
    const FieldTable *fields;
};

// Every record the tool knows, in the order info lists them.
const std::vector<RecordDesc> &records();
// By name, exactly or ignoring case; nullptr when unknown.
const RecordDesc *findRecord(const std::string &name);
// "CameraBasicInfo, CameraNetworkInfo, ..." for messages and help.
std::string recordNames();

// The record's bytes as a JSON object (reserved bytes are left out).
nlohmann::ordered_json recordToJson(const RecordDesc &rec, const void *bytes);

// Applies the fields named in obj to bytes (size rec.size); fields not named keep their value. On a
// refusal bytes are left unchanged and *error names the field: "unknown field 'foo' in CameraTimeInfo".
bool applyJson(const RecordDesc &rec, const nlohmann::ordered_json &obj, void *bytes, std::string *error);
// Parses text as JSON first ("bad JSON ..." on failure), then applyJson.
bool applyJsonText(const RecordDesc &rec, const std::string &text, void *bytes, std::string *error);

// Pretty JSON text that survives bytes that are not UTF-8 (they become U+FFFD).
std::string dumpJson(const nlohmann::ordered_json &j);

}  // namespace cli
