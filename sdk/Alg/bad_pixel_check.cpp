// Checks a bad-pixel list before it is uploaded: it must belong to this camera and list only pixels that lie
// on its detector. A plain computation over a file: it needs no library start-up and logs nothing.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "SarvikSDK.h"

namespace {

// The first bytes of an identifier name the product line, not the camera; lists are shared across them.
constexpr size_t kIdSkip = 5;
constexpr size_t kIdField = sizeof(BadPixelFileHeader::cameraId);

struct FileCloser {
    void operator()(FILE *f) const { std::fclose(f); }
};

bool same_camera(const BadPixelFileHeader &h, const BadPixelIdentity &id) {
    // Compared as text, but never past the 32-byte field: an identifier may fill it without a terminator.
    return std::strncmp(h.cameraId + kIdSkip, id.cameraId + kIdSkip, kIdField - kIdSkip) == 0 &&
           h.width == id.width && h.height == id.height;
}

}  // namespace

extern "C" SARVIK_API int caliVerifyBad(const char *path, const BadPixelIdentity *identity) {
    if (!path) return SARVIK_BAD_ERR_OPEN;
    std::unique_ptr<FILE, FileCloser> f(std::fopen(path, "rb"));
    if (!f) return SARVIK_BAD_ERR_OPEN;

    BadPixelFileHeader h;
    if (std::fread(&h, 1, sizeof h, f.get()) != sizeof h) return SARVIK_BAD_ERR_HEADER;
    // A negative count is no list at all; it is refused like an oversized one, before any allocation.
    if (!identity || !same_camera(h, *identity) || h.count < 0 || h.count > SARVIK_BAD_MAX_COUNT)
        return SARVIK_BAD_ERR_IDENTITY;
    if (h.count == 0) return SARVIK_BAD_OK;

    const size_t count = static_cast<size_t>(h.count);
    std::unique_ptr<BadPixelPoint[]> points(new (std::nothrow) BadPixelPoint[count]);
    if (!points) return SARVIK_BAD_ERR_MEMORY;
    if (std::fread(points.get(), sizeof(BadPixelPoint), count, f.get()) != count)
        return SARVIK_BAD_ERR_ENTRIES;
    for (size_t i = 0; i < count; ++i)
        if (points[i].x >= h.width || points[i].y >= h.height) return SARVIK_BAD_ERR_OUTSIDE;
    return SARVIK_BAD_OK;
}
