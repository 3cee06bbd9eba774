// The dual-light tool's tests run inside one QApplication, offscreen with the software scene graph unless
// the environment says otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions() {
    return "leak:libQt5Gui.so\nleak:libQt5Core.so\nleak:libqoffscreen.so\n";
}

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::temp().filePath(QStringLiteral("qelm-tests-runtime"));
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
