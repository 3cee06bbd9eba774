// The configuration file parser takes whatever bytes sit in SarvikSDK.json.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sdk_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    sarvik::SdkConfig cfg;
    std::memset(&cfg, 0, sizeof cfg);
    std::memset(cfg.exeDir, 'd', sizeof cfg.exeDir - 1);  // longest directory: joins must still fit
    sarvik::sdkconfig_defaults(&cfg);
    sarvik::sdkconfig_parse(reinterpret_cast<const char *>(data), size, &cfg);
    if (cfg.logPath[sizeof cfg.logPath - 1] != '\0') __builtin_trap();
    return 0;
}
