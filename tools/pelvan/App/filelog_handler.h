// The Qt message handler of the desktop tool: every Qt message becomes one line of the tool's log.
#pragma once

#include <QtGlobal>

// Writes "[category] message\n\n" to the default logger at the level matching the message type.
void filelog_handler(QtMsgType type, const QMessageLogContext &context, const QString &message);
// The logger level for a Qt message type (debug DEBUG, info INFO, warning WARN, critical ERROR, fatal FATAL).
int filelog_level(QtMsgType type);
