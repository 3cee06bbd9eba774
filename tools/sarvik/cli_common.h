// What every subcommand of the command-line tool shares: exit codes, messages, progress lines and output
// files that only appear whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace cli {

// Exit codes. 0 success; 1 failure without a status code; 2 usage error (also CLI11's parse errors);
// 3 an input file that is missing, foreign or cut short; 4 some cameras of a batch failed; 101..200 the SDK's
// status -1..-100 (exit = 100 - status); 201..207 the SDK's file statuses -194..-200 (exit = 7 - (status + 200)
// + 200, so -194 -> 207 ... -200 -> 201).
enum : int {
    EXIT_OK = 0,
    EXIT_FAIL = 1,
    EXIT_USAGE = 2,
    EXIT_INPUT = 3,
    EXIT_BATCH = 4,
};

// The exit code of an SDK status (0 or positive: 0).
int exitCodeOf(int status);

// Words for an SDK status code ("connection refused or no route", "file cannot be opened", ...).
const char *statusText(int status);

// One line on standard error: "sarvik: <camera>: <what>: <status text> (<status>)"; camera may be empty.
void error(const std::string &camera, const std::string &what, int status);
// "sarvik: <message>" on standard error.
void message(const std::string &text);

// A progress line on standard error, redrawn in place on a terminal (every 0.1 s at most) and printed
// once at the end otherwise. done and total in units (bytes, frames); total 0: unknown.
class Progress {
public:
    Progress(const std::string &label, int64_t total);
    ~Progress();
    void update(int64_t done, const std::string &extra = std::string());
    void finish(const std::string &extra = std::string());

private:
    std::string label_;
    int64_t total_;
    int64_t lastDone_ = 0;
    double lastDraw_ = 0;
    bool tty_;
    bool finished_ = false;
};

// An output file written under a temporary name beside its final one ("<path>.part-<pid>") and renamed
// into place by commit(); destroyed without commit (an error, Ctrl-C) the partial file is removed.
class OutputFile {
public:
    explicit OutputFile(const std::string &path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Opens the temporary file for writing: 0 or -200.
    int open();
    FILE *file() const { return f_; }
    const std::string &tempPath() const { return temp_; }
    const std::string &path() const { return path_; }
    // Writes the whole buffer: 0 or -197.
    int write(const void *data, size_t size);
    // Flushes, syncs and renames: 0, -197 or -200.
    int commit();
    // For writers that fill the temporary file themselves (libtiff, the codec layer): the file is closed
    // here and only the name is handed out; commit() then renames.
    void closeForExternalWriter();

private:
    std::string path_, temp_;
    FILE *f_ = nullptr;
    bool committed_ = false;
};

// Monotonic seconds.
double now();

}  // namespace cli
