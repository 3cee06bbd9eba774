// The camera subcommands: registration, and the record commands info, get and set.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

#include "cam_session.h"
#include "cli_common.h"
#include "commands.h"

namespace cli {

namespace {

// Large enough for any record written out by hand with generous spacing, small enough to refuse a
// recording handed over by mistake without reading it.
constexpr size_t kMaxRecordFileBytes = 1 << 20;

const RecordDesc *recordOrUsage(const std::string &name) {
    const RecordDesc *rec = findRecord(name);
    if (!rec) message("unknown record '" + name + "'; records: " + recordNames());
    return rec;
}

int runInfo(const std::string &address) {
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    nlohmann::ordered_json all = nlohmann::ordered_json::object();
    std::vector<uint8_t> bytes;
    for (const RecordDesc &rec : records()) {
        const int r = readRecord(cam.user(), rec, &bytes);
        // A record this camera does not keep is part of the answer, not a failure of the command.
        all[rec.name] = r == 0 ? recordToJson(rec, bytes.data()) : nlohmann::ordered_json{{"error", r}};
    }
    std::printf("%s\n", dumpJson(all).c_str());
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAIL;
}

int runGet(const std::string &address, const std::string &name) {
    const RecordDesc *rec = recordOrUsage(name);
    if (!rec) return EXIT_USAGE;
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    std::vector<uint8_t> bytes;
    const int r = readRecord(cam.user(), *rec, &bytes);
    if (r != 0) {
        error(address, std::string("read ") + rec->name, r);
        return exitCodeOf(r);
    }
    std::printf("%s\n", dumpJson(recordToJson(*rec, bytes.data())).c_str());
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAIL;
}

int runSet(const std::string &address, const std::string &name, const std::string &path) {
    const RecordDesc *rec = recordOrUsage(name);
    if (!rec) return EXIT_USAGE;
    std::string text;
    if (const int e = readInputFile(path, kMaxRecordFileBytes, &text)) return e;
    nlohmann::ordered_json j = nlohmann::ordered_json::parse(text, nullptr, false);
    if (j.is_discarded()) {
        message(path + ": not JSON");
        return EXIT_INPUT;
    }
    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;
    // The camera's own record is the base: fields the file leaves out and reserved bytes stay as they are.
    std::vector<uint8_t> bytes;
    int r = readRecord(cam.user(), *rec, &bytes);
    if (r != 0) {
        error(address, std::string("read ") + rec->name, r);
        return exitCodeOf(r);
    }
    std::string why;
    if (!applyJson(*rec, j, bytes.data(), &why)) {
        message(why);
        return EXIT_INPUT;
    }
    r = writeRecord(cam.user(), *rec, bytes);
    if (r != 0) {
        error(address, std::string("write ") + rec->name, r);
        return exitCodeOf(r);
    }
    message(address + ": " + rec->name + " written");
    return EXIT_OK;
}

}  // namespace

void addRecordCommands(CLI::App &app, int &result) {
    auto address = std::make_shared<std::string>();
    auto record = std::make_shared<std::string>();
    auto file = std::make_shared<std::string>();

    CLI::App *info = app.add_subcommand("info", "Every record of the camera as one JSON object");
    info->footer("Output: {\"CameraBasicInfo\": {fields...}, ...}; a record the camera refuses shows as\n"
                 "{\"error\": status} and does not fail the command.");
    info->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    info->callback([&result, address] { result = runInfo(*address); });

    CLI::App *get = app.add_subcommand("get", "One record of the camera as JSON");
    get->footer("Records: " + recordNames());
    get->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    get->add_option("RECORD", *record, "record name, e.g. CameraTimeInfo")->required();
    get->callback([&result, address, record] { result = runGet(*address, *record); });

    CLI::App *set = app.add_subcommand("set", "Changes the fields a JSON file names in one record");
    set->footer("The record is read from the camera, the file's fields applied, and written back: fields the file\n"
                "leaves out keep their value. Unknown fields, wrong types, values out of range and text too long\n"
                "are refused, naming the field, before anything is written. The output of get is accepted as it is.\n"
                "Records: " + recordNames());
    set->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    set->add_option("RECORD", *record, "record name, e.g. CameraTimeInfo")->required();
    set->add_option("FILE", *file, "JSON object with the fields to change")->required();
    set->callback([&result, address, record, file] { result = runSet(*address, *record, *file); });
}

void addCameraCommands(CLI::App &app, int &result) {
    addDiscoverCommand(app, result);
    addRecordCommands(app, result);
    addControlCommand(app, result);
    addStreamCommands(app, result);
    addTransferCommands(app, result);
}

}  // namespace cli
