// End to end: the real program starts from a folder of its own, in Chinese and in English, shows its main
// window offscreen and ends cleanly, by its check option or by SIGTERM.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstring>

#include "CAppConfig.h"

namespace {

const QString kBuildBin = QStringLiteral(PELVAN_BUILD_DIR "/bin");

// A copy of the program in <tmp>/bin with its translations, and <tmp>/qml reaching the built controls.
struct ProgramCopy {
    QTemporaryDir root;
    QString bin;

    bool make(int language) {
        if (!root.isValid()) return false;
        bin = root.filePath(QStringLiteral("bin"));
        const QString config = bin + QStringLiteral("/Pelvan-Config");
        if (!QDir().mkpath(config)) return false;
        if (!QFile::copy(kBuildBin + QStringLiteral("/pelvan"), bin + QStringLiteral("/pelvan")))
            return false;
        for (const char *qm : {"Pelvan.en_US.qm", "Pelvan.zh_CN.qm"})
            if (!QFile::copy(kBuildBin + QStringLiteral("/Pelvan-Config/") + QLatin1String(qm),
                             config + QLatin1Char('/') + QLatin1String(qm)))
                return false;
        if (!QFile::link(QStringLiteral(PELVAN_BUILD_DIR "/qml"), root.filePath(QStringLiteral("qml"))))
            return false;

        AppConfigBin bin0;
        std::memset(&bin0, 0, sizeof(bin0));
        bin0.magic = CAppConfig::kMagic;
        bin0.language = language;
        std::snprintf(bin0.saveDir, sizeof(bin0.saveDir), "%s/shots", root.path().toUtf8().constData());
        bin0.chartFifoSize = 500;
        bin0.chartUpdateInterval = 1;
        QFile f(config + QStringLiteral("/AppConfig.bin"));
        return f.open(QIODevice::WriteOnly) &&
               f.write(reinterpret_cast<const char *>(&bin0), sizeof(bin0)) == 1044;
    }

    QString log() const {
        const QStringList files = QDir(bin + QStringLiteral("/Pelvan-Log"))
                                      .entryList({QStringLiteral("Pelvan_*.log")}, QDir::Files);
        if (files.isEmpty()) return QString();
        QFile f(bin + QStringLiteral("/Pelvan-Log/") + files.first());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

void startProgram(QProcess &p, const ProgramCopy &copy, const QStringList &args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(copy.root.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(copy.bin + QStringLiteral("/pelvan"), args);
}

}  // namespace

TEST(Startup, StartsShowsTheWindowAndEndsCleanly) {
    ASSERT_TRUE(QFile::exists(kBuildBin + QStringLiteral("/pelvan"))) << "build the pelvan program first";
    const struct {
        const char *name;
        int language;
        bool bySignal;
    } cases[] = {
        {"Chinese, check option", 0, false},
        {"English, check option", 1, false},
        {"English, SIGTERM", 1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ProgramCopy copy;
        ASSERT_TRUE(copy.make(c.language));
        const QString shot = copy.root.filePath(QStringLiteral("window.png"));
        // No start-up search: a broadcast from a test could reach a real network.
        QStringList args = {QStringLiteral("--no-discovery"), QStringLiteral("--screenshot"), shot};
        if (!c.bySignal) args << QStringLiteral("--quit-after-ms") << QStringLiteral("300");

        QProcess p;
        startProgram(p, copy, args);
        ASSERT_TRUE(p.waitForStarted(10000));
        if (c.bySignal) {
            // Wait for the window and its picture, then ask the program to end as a service manager would.
            QElapsedTimer waited;
            waited.start();
            while (!copy.log().contains(QLatin1String("screenshot")) && waited.elapsed() < 60000)
                QThread::msleep(50);
            p.terminate();
        }
        ASSERT_TRUE(p.waitForFinished(60000)) << "still running";
        const QString output = QString::fromLocal8Bit(p.readAll());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << output.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << output.toStdString();

        for (const char *d : {"Pelvan-Config", "Pelvan-Data", "Pelvan-Log"})
            EXPECT_TRUE(QDir(copy.bin + QLatin1Char('/') + QLatin1String(d)).exists()) << d;
        // The configured save directory is made at start.
        EXPECT_TRUE(QDir(copy.root.filePath(QStringLiteral("shots"))).exists());

        // The daily log holds the Qt messages and no QML error.
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        EXPECT_TRUE(
            QFile::exists(copy.bin + QStringLiteral("/Pelvan-Log/Pelvan_") + today + QStringLiteral(".log")));
        const QString log = copy.log();
        EXPECT_TRUE(log.contains(QLatin1String("] main window drawn"))) << log.toStdString();
        EXPECT_FALSE(log.contains(QRegularExpression(QStringLiteral(R"(qrc:/\S+\.qml:\d+)"))))
            << log.toStdString();
        EXPECT_FALSE(log.contains(QLatin1String(" ERROR "))) << log.toStdString();
        EXPECT_FALSE(log.contains(QLatin1String(" FATAL "))) << log.toStdString();
        EXPECT_FALSE(log.contains(QLatin1String("font family"), Qt::CaseInsensitive)) << log.toStdString();
        if (c.bySignal) {
            EXPECT_TRUE(log.contains(QLatin1String("quit requested by signal")));
        }

        // The picture of the window (the offscreen screen may clip it to its own size).
        const QImage image(shot);
        EXPECT_FALSE(image.isNull());
        EXPECT_GE(image.width(), 640);
        EXPECT_GE(image.height(), 480);

        // Start-up time, for the record (not a limit).
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral(R"(main window drawn (\d+) ms)")).match(log);
        if (m.hasMatch())
            std::printf("[ %s ] main window drawn %s ms after start\n", c.name, qPrintable(m.captured(1)));
    }
}

TEST(Startup, ManualsAreBuiltAsPdf) {
    const struct {
        const char *file;
        bool chinese;
    } cases[] = {{"Pelvan_US.pdf", false}, {"Pelvan_CN.pdf", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        QFile f(kBuildBin + QStringLiteral("/Doc/") + QLatin1String(c.file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_GT(pdf.size(), 4000);
        // The Chinese manual embeds a face with Chinese glyphs.
        if (c.chinese) {
            EXPECT_TRUE(pdf.contains("CJK")) << "no CJK font embedded";
        }
    }
}
