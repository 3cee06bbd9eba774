// Process-wide state of the desktop tool and its start-up: directories, logging, the SDK, the Qt
// application, the QML engine and the application singleton come up in AppStatic::init, in that order.
//
// Everything here belongs to the GUI thread. The start-up frame is shared with the dual-light tool, which
// passes its own name: the name prefixes the configuration, data and log directories and the log file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <ctime>

class CApp;
class QApplication;
class QObject;
class QQmlApplicationEngine;
class QTranslator;

struct AppStatic {
    enum { PATH_SIZE = 1024 };

    // "Pelvan" for the desktop tool; set once by init.
    static QString app_name;

    // Executable directory (at most 1023 bytes, zero-terminated) and its Qt copy.
    static char path_exe_local[PATH_SIZE];
    static QString path_exe_qs;
    // "<exe dir>/<name>-Config", "<exe dir>/<name>-Data".
    static char path_config[PATH_SIZE];
    static QString path_config_qs;
    static QString path_data_qs;
    // Scratch text for file names during start-up and for getfn; GUI thread only.
    static char tmp_buffer[PATH_SIZE];

    // The tool's application singleton (each tool has its own CApp class) and the same object as a QObject.
    static CApp *app;
    static QObject *app_object;
    static QApplication *app_qt;
    static QQmlApplicationEngine *app_qml;
    static QTranslator *app_translator;

    // Diagnostics switches from "<config dir>/debug.json"; all 0 unless the file names all three.
    static int debug_netdEnable;
    static int debug_netdFrameCount;
    static int debug_netdCalcInterval;

    // Copies of the chart settings (samples kept; 100 ns units between samples), written by
    // CAppConfig::bin2cls and read on every frame.
    static int chart_fifoSize;
    static int64_t chart_updateInterval;

    // The desktop tool's program options, taken by parseOptions before init: addresses listed at start ("--camera ADDRESS",
    // repeatable) and whether the start-up search runs ("--no-discovery" turns it off).
    static QStringList opt_cameras;
    static bool opt_discovery;

    // Reads the program options. 1: "--help" was given and the usage text is printed on stdout (the
    // program ends with 0 without opening a window); -8: an option lacks its value (a message on stderr);
    // 0 otherwise. Options it does not know (Qt's own, the check options) are left alone.
    static int parseOptions(int argc, char **argv);
    static const char *usageText();

    // The tool's part of start-up, run last by init: creates the tool's application object as a child of
    // parent, sets AppStatic::app, registers it as the QML singleton CApp and brings it up. Returns it.
    using AppFactory = QObject *(*)(QObject *parent);
    // The configured save directory (UTF-8) for getfn; set by the tool's application object.
    static QByteArray (*save_dir)();

    // Brings the process up (a second call returns 0 at once). argc must outlive the application. The name
    // prefixes the directories, the log file, the translations and the manuals.
    static int init(int &argc, char **argv, const QString &name, AppFactory factory);
    // Loads the main view and runs the event loop; -7 when init has not created the application.
    static int run(const QString &url);
    // Deletes the application singleton and everything init created, then the default logger.
    static void free();

    // "<saveDir>/YYYYMMDD_hhmmss<suffix>" for the current local time and the configured save directory,
    // in tmp_buffer. A name already taken gets "_1", "_2", ... before the suffix, so two snapshots within
    // one second do not overwrite each other. Empty when the name does not fit the buffer.
    static const char *getfn(const char *suffix);
    // The same for a given directory and local time.
    static const char *getfn_at(const char *dir, const char *suffix, const std::tm &local);

    // Application font (12 points) and translation "<config dir>/<name>.<locale>.qm" for a language:
    // 1 English ("en_US", a serif family), anything else Chinese ("zh_CN", a CJK family). The translator is
    // installed only when the file loads. Gives back the locale name and the family taken.
    static void applyLanguage(int language, QString *locale, QString *family);
    // "<exe dir>/Doc/<name>_US.pdf" for English, else "<name>_CN.pdf".
    static QString manualPath(int language);

    // Writes a whole file beside the old one, pushes it to the disk and renames it over the old one, so a
    // crash never leaves half a file. 0, or the utility library's negative code (nothing left behind).
    static int writeFileReplacing(const QString &path, const void *data, size_t size);
    // Creates a save directory with its parents when missing, and says so in the log.
    static void initSaveDir(const QString &dir);

    // Reads the three diagnostics switches from a JSON file; true when all three were taken. Any parse or
    // key error leaves all three at 0.
    static bool loadDebugJson(const char *path);

    // Whether init created the Qt application (run refuses to start otherwise).
    static bool initialized();
};
