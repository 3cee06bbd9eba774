// pelvan: the desktop tool for the thermal cameras on the local network.
#include "AppStatic.h"

int main(int argc, char **argv) {
    AppStatic::init(argc, argv);
    const int ret = AppStatic::run(QStringLiteral("qrc:/Views/Main.qml"));
    AppStatic::free();
    return ret;
}
