// Writes a BGRA picture as a PNG or JPEG file (FFmpeg's image encoders), chosen by the path's extension.
#pragma once

#include <cstdint>

namespace sarvik {

// JPEG for ".jpg" and ".jpeg" (any case), PNG for anything else. 0; -8 bad arguments; -5 out of memory;
// -194 the encoder failed; -200 the file cannot be created; -197 short write.
int picture_file_write(const char *path, const uint32_t *bgra, int width, int height);

}  // namespace sarvik
