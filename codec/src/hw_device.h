// Mapping of the SDK's hardware device numbers onto FFmpeg devices.
#pragma once

extern "C" {
#include <libavutil/buffer.h>
#include <libavutil/hwcontext.h>
}

namespace sff {

// FFmpeg device type for a device number; AV_HWDEVICE_TYPE_NONE for software and unknown numbers.
AVHWDeviceType hwDeviceType(int deviceType);

// Device name for log lines ("cuda", "qsv", "d3d11va").
const char *hwDeviceName(int deviceType);

// Opens the hardware device for deviceType. Null for software, and for a device that cannot be
// opened, in which case one line naming `caller` says that software takes over.
AVBufferRef *openHwDevice(int deviceType, const char *caller);

// The line for a device that opened but that the codec cannot use.
void logHwFallback(const char *caller, int deviceType, const char *why);

}  // namespace sff
