// Any bytes as a record file of the command-line tool's set, for every record: refused or applied, never
// a crash or a write outside the record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    // Parsed once for all records; the text path (with its parse errors) for the first one.
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(text, nullptr, false);
    bool first = true;
    for (const cli::RecordDesc &rec : cli::records()) {
        if (!first && j.is_discarded()) break;
        // Exactly the record's size on the heap, so a write past it is caught.
        std::vector<uint8_t> bytes(rec.size, 0xa5);
        std::string why;
        const bool ok = first ? cli::applyJsonText(rec, text, bytes.data(), &why)
                              : cli::applyJson(rec, j, bytes.data(), &why);
        first = false;
        if (ok) (void)cli::dumpJson(cli::recordToJson(rec, bytes.data()));
        else if (why.empty())
            __builtin_trap();  // a refusal always says why
    }
    return 0;
}
