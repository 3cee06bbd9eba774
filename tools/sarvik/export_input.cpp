#include "export_input.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace cli {

const char *inputKindName(InputKind kind) {
    switch (kind) {
    case InputKind::Stream: return "stream";
    case InputKind::Snapshot: return "snapshot";
    case InputKind::Bitmap: return "bitmap";
    }
    return "?";
}

namespace {

bool endsWithNoCase(const std::string &s, const char *suffix) {
    const size_t n = std::strlen(suffix);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, suffix) == 0;
}

}  // namespace

int detectInputKind(const std::string &path, InputKind *kind) {
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return SARVIK_ERR_FILE_OPEN;
    char magic[2] = {0, 0};
    const bool head = std::fread(magic, 1, 2, f) == 2;
    TempTailEnd end{};
    bool tail = false;
    if (std::fseek(f, -static_cast<long>(sizeof end), SEEK_END) == 0)
        tail = std::fread(&end, sizeof end, 1, f) == 1 && end.mark == SARVIK_TEMP_TAIL_MARK;
    std::fclose(f);
    // The tail is checked first: a snapshot's image may itself be a bitmap.
    if (tail) {
        *kind = InputKind::Snapshot;
        return 0;
    }
    if (head && magic[0] == 'B' && magic[1] == 'M') {
        *kind = endsWithNoCase(path, ".bmp") ? InputKind::Bitmap : InputKind::Stream;
        return 0;
    }
    return SARVIK_ERR_BAD_FORMAT;
}

ExportInput::ExportInput() : playback_(SarvikPlayback_Create()) {}

ExportInput::~ExportInput() {
    SarvikPlayback_Free(&playback_);
}

int ExportInput::open(const std::string &path) {
    if (!playback_) return SARVIK_ERR_NO_MEMORY;
    InputKind kind;
    int rc = detectInputKind(path, &kind);
    if (rc) return rc;
    const int type = kind == InputKind::Stream     ? SARVIK_PLAYBACK_STREAM
                     : kind == InputKind::Snapshot ? SARVIK_PLAYBACK_SNAPSHOT
                                                   : SARVIK_PLAYBACK_BITMAP;
    rc = SarvikPlayback_OpenFile(playback_, path.c_str(), type);
    if (rc) return rc;
    FrameCover cover{};
    rc = SarvikPlayback_ReadCover(playback_, &cover);
    if (rc) return rc;
    info_ = InputInfo{};
    info_.kind = kind;
    info_.info = *cover.info;
    info_.width = cover.info->width;
    info_.height = cover.info->height;
    info_.frames = kind == InputKind::Stream ? cover.info->frameCount : 1;
    path_ = path;
    singleStamp_ = cover.header ? cover.header->timestamp : 0;
    if (kind == InputKind::Stream) {
        // Bytes past the last whole frame are a frame the recorder did not finish.
        struct stat st;
        const int64_t n = static_cast<int64_t>(info_.width) * info_.height;
        const int64_t prefix = 4 * n + static_cast<int64_t>(sizeof(FrameFileBmpHeader)) +
                               SARVIK_STREAM_ZERO_GAP + static_cast<int64_t>(sizeof(FrameFileInfo));
        const int64_t frameSize = 2 * n + static_cast<int64_t>(sizeof(_DataFrameHeader));
        if (::stat(path.c_str(), &st) == 0)
            info_.partialBytes = static_cast<int64_t>(st.st_size) - prefix - info_.frames * frameSize;
        if (info_.partialBytes < 0) info_.partialBytes = 0;
    }
    return 0;
}

int ExportInput::setRendering(int palette, bool independent) {
    _strech_control ctl{};
    int current = 0;
    SarvikPlayback_GetImage(playback_, &ctl, &current);
    ctl.flags = SARVIK_STRECH_SMOOTHING;
    ctl.smoothing = independent ? 0 : 1;
    return SarvikPlayback_SetImage(playback_, &ctl, &palette);
}

int ExportInput::read(int64_t index, _DataFrame *frame) {
    if (index < 0 || index >= info_.frames) return SARVIK_ERR_INVALID_ARG;
    return SarvikPlayback_ReadFrame(playback_, static_cast<int>(index), frame);
}

int ExportInput::stamp(int64_t index, int64_t *ticks1970) const {
    if (info_.kind != InputKind::Stream) {
        *ticks1970 = singleStamp_;
        return 0;
    }
    const int64_t n = static_cast<int64_t>(info_.width) * info_.height;
    const int64_t offset = 4 * n + static_cast<int64_t>(sizeof(FrameFileBmpHeader)) + SARVIK_STREAM_ZERO_GAP +
                           static_cast<int64_t>(sizeof(FrameFileInfo)) +
                           index * (2 * n + static_cast<int64_t>(sizeof(_DataFrameHeader)));
    FILE *f = std::fopen(path_.c_str(), "rb");
    if (!f) return SARVIK_ERR_FILE_READ;
    _DataFrameHeader h{};
    const bool ok = fseeko(f, offset, SEEK_SET) == 0 && std::fread(&h, sizeof h, 1, f) == 1;
    std::fclose(f);
    if (!ok) return SARVIK_ERR_FILE_READ;
    *ticks1970 = h.timestamp;
    return 0;
}

int paletteIndex(const std::string &name, std::string *names) {
    int count = 0;
    char *table = Sarvik_AllocPaletteData(&count);
    if (!table) return -1;
    const auto *entries = reinterpret_cast<const PaletteEntry *>(table);
    int found = -1;
    std::string all;
    for (int i = 0; i < count; ++i) {
        const std::string entry(entries[i].name, strnlen(entries[i].name, sizeof entries[i].name));
        if (!all.empty()) all += ", ";
        all += entry;
        if (found < 0 && strcasecmp(entry.c_str(), name.c_str()) == 0) found = i;
    }
    Sarvik_FreePaletteData(&table);
    if (names) *names = all;
    return found;
}

}  // namespace cli
