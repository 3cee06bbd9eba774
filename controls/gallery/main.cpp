// tavo5-gallery: every control of the Tavo5 module in every style and state, in one window.
//
//   tavo5-gallery [--import-path DIR] [--screenshot FILE]
//
// The module is looked up in <executable dir>/../qml unless --import-path says otherwise. --screenshot
// renders the window once, writes it as PNG and exits (0 on success).
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QScreen>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "gallery_host.h"

int main(int argc, char **argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();

    // QApplication, as in the tools: the dialogs then fall back to Qt's widget dialogs.
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tavo5-gallery"));
    // Without OpenGL (offscreen, remote sessions) the scene graph draws in software rather than not at all.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);

    QCommandLineParser args;
    args.setApplicationDescription(
        QStringLiteral("Every control of the QML module Tavo5 1.0 in one window."));
    args.addHelpOption();
    const QCommandLineOption importPath(
        QStringLiteral("import-path"), QStringLiteral("Folder holding the Tavo5 module folder."),
        QStringLiteral("DIR"),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../qml")));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"), QStringLiteral("Render once, save the window as PNG to FILE and exit."),
        QStringLiteral("FILE"));
    args.addOption(importPath);
    args.addOption(screenshot);
    args.process(app);

    GalleryHost host;
    QQmlApplicationEngine engine;
    engine.addImportPath(QDir(args.value(importPath)).absolutePath());
    engine.rootContext()->setContextProperty(QStringLiteral("galleryHost"), &host);
    engine.load(QUrl(QStringLiteral("qrc:/Gallery/Gallery.qml")));
    if (engine.rootObjects().isEmpty()) {
        std::fprintf(stderr, "tavo5-gallery: the gallery did not load (is %s/Tavo5 built?)\n",
                     qPrintable(args.value(importPath)));
        return 1;
    }
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window) {
        std::fprintf(stderr, "tavo5-gallery: the gallery's root is not a window\n");
        return 1;
    }
    // The page comes through a loader, which only warns when a control fails to load.
    if (!window->property("xpage").value<QObject *>()) {
        std::fprintf(stderr, "tavo5-gallery: the gallery page did not load\n");
        return 1;
    }

    auto firstFrame = std::make_shared<QMetaObject::Connection>();
    *firstFrame = QObject::connect(window, &QQuickWindow::frameSwapped, &app, [firstFrame, &sinceStart]() {
        QObject::disconnect(*firstFrame);
        std::printf("gallery shown in %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        std::fflush(stdout);
    });
    window->show();

    if (args.isSet(screenshot)) {
        const QString file = args.value(screenshot);
        // Icons are tinted and pop-ups open over a few frames: grab once they have settled.
        QTimer::singleShot(800, &app, [window, file]() {
            QImage image = window->grabWindow();
            // The offscreen platform's software backing store cannot be read back through the scene
            // graph; its screen hands out the last frame instead.
            if (image.isNull() && window->screen())
                image = window->screen()->grabWindow(window->winId()).toImage();
            const bool saved = !image.isNull() && image.save(file, "PNG");
            if (!saved)
                std::fprintf(stderr, "tavo5-gallery: could not write %s (%dx%d image)\n", qPrintable(file),
                             image.width(), image.height());
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
