// Diagnostic lines of the SDK: "function,line,file:\n<text>\n\n" at DEBUG through the module's default logger.
#pragma once

#include "zq_logger.h"

namespace sarvik {
// The default logger once start-up has configured it, else null: the SDK never writes a log on its own
// (before start-up, after release, or when no log file is configured).
logger_t *sdk_logger();
}  // namespace sarvik

#define SDK_LOG(fmt, ...)                                                                              \
    do {                                                                                               \
        logger_t *sdk_log_ = ::sarvik::sdk_logger();                                                   \
        if (sdk_log_)                                                                                  \
            logger_print(sdk_log_, LOG_LEVEL_DEBUG, "%s,%d,%s:\n" fmt "\n\n", __func__, __LINE__, __FILE__, \
                         ##__VA_ARGS__);                                                               \
    } while (0)
