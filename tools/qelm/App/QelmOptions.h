// The dual-light tool's program options.
#pragma once

#include <QString>
#include <QStringList>

struct QelmOptions {
    QString irAddress;        // "--ir ADDRESS": the thermal camera for this run
    QString visAddress;       // "--vis ADDRESS": the visible camera for this run
    QStringList visParams;    // "--vis-param NAME=VALUE" (repeatable): camera settings applied at start

    // 1: "--help" (usage printed on stdout); -8: an option lacks its value or a value is malformed
    // (message on stderr); 0 otherwise. Options it does not know (Qt's own) are left alone.
    int parse(int argc, char **argv);
    static const char *usageText();

    // The options of this process, read by the application object at start-up.
    static QelmOptions &current();
};
