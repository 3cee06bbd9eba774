// The gallery program end to end: it renders every control offscreen, saves the picture a person can look
// at, and says how long the first frame took. Without the module it fails instead of saving a blank window.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <map>

namespace {

struct GalleryRun {
    int exitCode;
    QString out;
    QString err;
};

GalleryRun runGallery(const QStringList &args, bool withImportPath = true) {
    QProcess p;
    if (!withImportPath) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QML2_IMPORT_PATH"));
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(TAVO5_GALLERY), args);
    const bool finished = p.waitForFinished(60000);
    if (!finished) p.kill();
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

TEST(GalleryScreenshot, ShowsEveryKindOfControl) {
    const QString file = QStringLiteral(TAVO5_SCREENSHOT);
    QFile::remove(file);
    const GalleryRun run = runGallery({QStringLiteral("--screenshot"), file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // The start-up time is reported, not judged.
    const QRegularExpressionMatch shown =
        QRegularExpression(QStringLiteral("gallery shown in (\\d+) ms")).match(run.out);
    ASSERT_TRUE(shown.hasMatch()) << run.out.toStdString();
    std::printf("gallery shown in %s ms\n", qPrintable(shown.captured(1)));

    QImage image(file);
    ASSERT_FALSE(image.isNull()) << "no PNG at " << file.toStdString();
    EXPECT_EQ(image.size(), QSize(1600, 1100));
    image = image.convertToFormat(QImage::Format_RGB32);

    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) ++counts[line[x] & 0xFFFFFF];
    }
    const int total = image.width() * image.height();
    EXPECT_GT(counts.size(), 200u) << "a blank or nearly blank picture";
    EXPECT_LT(counts[QColor("#141414").rgb() & 0xFFFFFF], total * 3 / 4) << "mostly background";

    // Colours only the controls paint: filled buttons, the invalid input's frame, the danger tones.
    struct Mark {
        const char *what;
        const char *colour;
        int pixels;
    };
    const Mark marks[] = {
        {"filled primary buttons", "#409EFF", 2000}, {"filled success buttons", "#67C23A", 2000},
        {"filled danger buttons", "#F56C6C", 2000},  {"the frame of an invalid input", "#FF0000", 300},
        {"selected-button bar", "#18AAE2", 300},
    };
    for (const Mark &m : marks)
        EXPECT_GE((counts[QColor(m.colour).rgb() & 0xFFFFFF]), m.pixels) << m.what << " (" << m.colour << ")";
}

TEST(GalleryScreenshot, FailsWithoutTheModule) {
    const QString file = QStringLiteral(TAVO5_SCREENSHOT) + QStringLiteral(".missing.png");
    QFile::remove(file);
    const GalleryRun run = runGallery({QStringLiteral("--import-path"), QStringLiteral("/nonexistent"),
                                       QStringLiteral("--screenshot"), file},
                                      false);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("did not load"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
