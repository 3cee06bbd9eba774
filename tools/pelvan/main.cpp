// pelvan: the desktop tool for the thermal cameras on the local network.
#include "AppStatic.h"
#include "CApp.h"

int main(int argc, char **argv) {
    // Before anything opens a window or a log: "--help" must work without a display.
    const int options = AppStatic::parseOptions(argc, argv);
    if (options == 1) return 0;
    if (options < 0) return 2;
    AppStatic::init(argc, argv, QStringLiteral("Pelvan"), &CApp::create);
    const int ret = AppStatic::run(QStringLiteral("qrc:/Views/Main.qml"));
    AppStatic::free();
    return ret;
}
