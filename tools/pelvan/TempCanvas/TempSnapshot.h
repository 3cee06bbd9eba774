// Radiometric snapshots and the frame-rate window, shared by every live device of the tools.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

#include "SarvikSDK.h"
#include "TempData.h"

namespace TempSnapshot {

// The snapshot file as bytes: JPEG of the BGRA image (whole, however long) followed by the temperature tail
// of 2 x (W x H + 8342) bytes. 0 on success, -5 out of memory, -8 no header or samples. A JPEG quality of
// 0..100, or -1 for the encoder's default.
int build(const TempData &frame, int width, int height, const _CameraBasicInfo &basic, const _FixInfo &fix,
          QByteArray *out, int jpegQuality = -1);

// Writes the bytes to path: 0, -200 when the file cannot be created (or the path is empty), -197 on a short
// write, which removes the cut file.
int write(const QByteArray &path, const QByteArray &bytes);

}  // namespace TempSnapshot

// One step of the 50-frame rate window: the first stamp opens the window (windowTime 0 = none); the 50th
// frame after it sets *fps = 500 000 000 / (stamp - windowTime) (100 ns stamps) and reopens the window
// there. A window whose stamps are equal (or run backwards) keeps *fps. True when *fps was set.
bool tempFrameRateStep(int64_t *windowTime, int *windowCount, int64_t stamp, float *fps);

// "YYYY-MM-DD hh:mm:ss.zzz" in local time for a frame time stamp (100-ns ticks since 1970-01-01 UTC); empty
// when the time cannot be shown.
QString tempStampText(qint64 stamp1970);
