// Opening a temperature file for export: its kind (stream, snapshot, single-frame bitmap) from its bytes,
// its whole frames through the SDK's playback, and whether a recording was cut short.
#pragma once

#include <cstdint>
#include <string>

#include "SarvikSDK.h"

namespace cli {

enum class InputKind { Stream, Snapshot, Bitmap };

const char *inputKindName(InputKind kind);

struct InputInfo {
    InputKind kind = InputKind::Stream;
    int width = 0;
    int height = 0;
    int64_t frames = 0;        // whole frames
    int64_t partialBytes = 0;  // bytes of a frame cut short at the end of a stream (0: none)
    FrameFileInfo info{};
};

// Finds the kind of a file from its content: a snapshot ends with the temperature tail's mark; a stream
// or bitmap file starts with "BM" (".bmp" names a single-frame bitmap file, anything else a stream).
// Returns 0, -200 (cannot be opened) or -194 (neither).
int detectInputKind(const std::string &path, InputKind *kind);

// One playback object over one file. The SDK must be started.
class ExportInput {
public:
    ExportInput();
    ~ExportInput();
    ExportInput(const ExportInput &) = delete;
    ExportInput &operator=(const ExportInput &) = delete;

    // 0 or an SDK status (-5 no playback object; -194, -198, -200, -2 from the open).
    int open(const std::string &path);
    const InputInfo &info() const { return info_; }
    // Selects the palette and renders every frame on its own (no smoothing across frames) when
    // independent is set, so a frame's picture does not depend on which frames were read before it.
    int setRendering(int palette, bool independent);
    // Reads a whole frame: 0 or the playback's status.
    int read(int64_t index, _DataFrame *frame);
    // The camera's stamp of a frame, read from its header alone (nothing rendered): 0 or -198.
    int stamp(int64_t index, int64_t *ticks1970) const;

private:
    void *playback_ = nullptr;
    std::string path_;
    int64_t singleStamp_ = 0;
    InputInfo info_;
};

// The palette index of a name of the SDK's palette table (case-insensitive), -1 when unknown; names lists
// them all, comma-separated.
int paletteIndex(const std::string &name, std::string *names = nullptr);

}  // namespace cli
