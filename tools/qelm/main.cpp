// qelm: the dual-light tool, one thermal and one visible camera side by side.
#include "AppStatic.h"
#include "CApp.h"
#include "QelmOptions.h"

int main(int argc, char **argv) {
    // Before anything opens a window or a log: "--help" must work without a display.
    const int options = QelmOptions::current().parse(argc, argv);
    if (options == 1) return 0;
    if (options < 0) return 2;
    AppStatic::init(argc, argv, QStringLiteral("Qelm"), &CApp::create);
    const int ret = AppStatic::run(QStringLiteral("qrc:/Views/Main.qml"));
    AppStatic::free();
    return ret;
}
