#include "QelmOptions.h"

#include <cstdio>
#include <cstring>

#include "CAppConfig.h"

const char *QelmOptions::usageText() {
    return "usage: qelm [options]\n"
           "\n"
           "The dual-light tool: a thermal and a visible camera side by side, recorded together and replayed.\n"
           "\n"
           "  --ir ADDRESS            thermal camera address for this run (shown in the settings)\n"
           "  --vis ADDRESS           visible camera IPv4 address for this run\n"
           "  --vis-param NAME=VALUE  visible camera setting applied when it starts, for example Width=1280\n"
           "                          or AcquisitionFrameRate=30 (repeatable)\n"
           "  --quit-after-ms N       end N milliseconds after the window was first drawn\n"
           "  --screenshot FILE       save the first drawn window as an image\n"
           "  --help                  this text\n";
}

QelmOptions &QelmOptions::current() {
    static QelmOptions options;
    return options;
}

int QelmOptions::parse(int argc, char **argv) {
    *this = QelmOptions();
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(usageText(), stdout);
            std::fflush(stdout);
            return 1;
        }
        const bool takesValue = !std::strcmp(a, "--ir") || !std::strcmp(a, "--vis") ||
                                !std::strcmp(a, "--vis-param") || !std::strcmp(a, "--quit-after-ms") ||
                                !std::strcmp(a, "--screenshot");
        if (!takesValue) continue;
        if (i + 1 >= argc || !argv[i + 1][0]) {
            std::fprintf(stderr, "qelm: %s needs a value\n%s", a, usageText());
            return -8;
        }
        const QString value = QString::fromLocal8Bit(argv[++i]).trimmed();
        if (!std::strcmp(a, "--ir")) {
            if (value.toUtf8().size() > 127) {
                std::fprintf(stderr, "qelm: --ir address too long\n");
                return -8;
            }
            irAddress = value;
        } else if (!std::strcmp(a, "--vis")) {
            if (!CAppConfig::isIPv4(value)) {
                std::fprintf(stderr, "qelm: --vis needs an IPv4 address, not %s\n", argv[i]);
                return -8;
            }
            visAddress = value;
        } else if (!std::strcmp(a, "--vis-param")) {
            if (value.indexOf(QLatin1Char('=')) <= 0) {
                std::fprintf(stderr, "qelm: --vis-param needs NAME=VALUE, not %s\n", argv[i]);
                return -8;
            }
            visParams << value;
        }
    }
    return 0;
}
