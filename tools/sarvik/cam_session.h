// What every camera subcommand needs: the SDK started for the length of the command, a logged-in
// session, records read and written by their descriptors, and input files read with one-line refusals.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "records_json.h"

namespace CLI {
class App;
}

namespace cli {

// Sarvik_InitSDK for the lifetime of the object, Sarvik_FreeSDK after.
class Sdk {
public:
    Sdk();
    ~Sdk();
    Sdk(const Sdk &) = delete;
    Sdk &operator=(const Sdk &) = delete;
    // 0 when started; else the message has been printed.
    int status() const { return status_; }

private:
    int status_;
};

class CameraSession {
public:
    explicit CameraSession(const std::string &address) : address_(address) {}
    ~CameraSession();
    CameraSession(const CameraSession &) = delete;
    CameraSession &operator=(const CameraSession &) = delete;

    // Logs in; on failure prints one line and returns the status (negative).
    int login();
    int user() const { return user_; }
    const _CameraBasicInfo &basic() const { return basic_; }
    const std::string &address() const { return address_; }

private:
    std::string address_;
    int user_ = -1;
    _CameraBasicInfo basic_{};
};

// Starts the SDK and logs in; returns 0 or the exit code, the message printed.
int openCamera(Sdk &sdk, CameraSession &cam);

// The record's bytes from the camera: 0 or the SDK status.
int readRecord(int user, const RecordDesc &rec, std::vector<uint8_t> *bytes);
int writeRecord(int user, const RecordDesc &rec, const std::vector<uint8_t> &bytes);

// An input file must exist and be a regular file; else prints one line and returns EXIT_INPUT.
int checkInputFile(const std::string &path, int64_t *size);
// Reads a whole regular input file (at most maxBytes); on failure prints one line and returns EXIT_INPUT.
int readInputFile(const std::string &path, size_t maxBytes, std::string *text);

// Lets writer fill a temporary file beside path (OutputFile) and renames it into place when the writer
// returns 0: the SDK status, or the file status of the rename.
int writeWhole(const std::string &path, const std::function<int(const std::string &temp)> &writer);

// Subcommand groups of the camera commands.
void addDiscoverCommand(CLI::App &app, int &result);
void addRecordCommands(CLI::App &app, int &result);   // info, get, set
void addControlCommand(CLI::App &app, int &result);
void addStreamCommands(CLI::App &app, int &result);   // snapshot, record
void addTransferCommands(CLI::App &app, int &result); // upload, download

}  // namespace cli
