// Diagnostic lines of the SDK: "function,line,file:\n<text>\n\n" at DEBUG through the module's default logger.
#pragma once

#include "zq_logger.h"

namespace sarvik {

// Prints through the default logger once start-up has configured it; nothing otherwise (before start-up,
// once it is gone, or when no log file is configured: the SDK never writes a log on its own). The logger
// is never destroyed while a line is being printed.
void sdk_log_printf(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

// Keeps the logger alive for a thread that may log after Sarvik_FreeSDK: alarm endpoints run across it, and
// it does not stop previews. Whoever lets go of the last hold (the library's own included) destroys the
// logger. A hold taken while no logger is configured holds nothing.
class SdkLogHold {
public:
    SdkLogHold();
    ~SdkLogHold();
    SdkLogHold(const SdkLogHold &) = delete;
    SdkLogHold &operator=(const SdkLogHold &) = delete;

private:
    bool held_;
};

}  // namespace sarvik

#define SDK_LOG(fmt, ...) \
    ::sarvik::sdk_log_printf("%s,%d,%s:\n" fmt "\n\n", __func__, __LINE__, __FILE__, ##__VA_ARGS__)
