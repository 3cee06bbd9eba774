#include "filelog_handler.h"

#include <QString>

#include "zq_logger.h"

int filelog_level(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return LOG_LEVEL_DEBUG;
        case QtInfoMsg:
            return LOG_LEVEL_INFO;
        case QtWarningMsg:
            return LOG_LEVEL_WARN;
        case QtCriticalMsg:
            return LOG_LEVEL_ERROR;
        case QtFatalMsg:
            return LOG_LEVEL_FATAL;
    }
    return LOG_LEVEL_DEBUG;
}

void filelog_handler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    const char *category = context.category ? context.category : "default";
    logger_print(logger_create_default(), filelog_level(type), "[%s] %s\n\n", category,
                 message.toLocal8Bit().constData());
}
