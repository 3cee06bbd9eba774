// The optional configuration file "SarvikSDK.json" next to the host executable.
#pragma once

#include <cstddef>

namespace sarvik {

constexpr int kConfigTextSize = 1024;
// Only files of 1 to kConfigMaxFileBytes bytes are parsed; anything longer is ignored whole.
constexpr int kConfigMaxFileBytes = 1023;

struct SdkConfig {
    char exeDir[kConfigTextSize];
    int encoder;  // hardware device number for the H.264 encoder (0 software)
    int decoder;  // hardware device number for the H.264 decoder (0 software)
    char logPath[kConfigTextSize];
    int syncTime;
    int previewEnableInterProcess;
    int previewEnableThread2;
};

// Defaults for every field except exeDir.
void sdkconfig_defaults(SdkConfig *cfg);

// Maps an "encoder"/"decoder" text to the codec layer's device number: "cuda" 2, "qsv" 5, "d3d11va" 7, else 0.
int sdkconfig_device_number(const char *name);

// Parses the file text into cfg (which must hold exeDir already). Returns 0 when the text was taken,
// -1 when it was rejected whole (bad JSON, not an object, a key of the wrong type); cfg then keeps its defaults.
int sdkconfig_parse(const char *text, size_t len, SdkConfig *cfg);

// Fills cfg from "<exeDir>/SarvikSDK.json": defaults first, then the file when it is usable.
void sdkconfig_load(SdkConfig *cfg, const char *exeDir);

}  // namespace sarvik
