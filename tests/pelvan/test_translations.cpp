// Every text id the desktop tool and its controls use has a real translation in both languages.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>

#include "translation_scan.h"

namespace {

const QString kSourceRoot = QStringLiteral(PELVAN_DOCS_DIR "/..");
const QString kConfigDir = QStringLiteral(PELVAN_BUILD_DIR "/bin/Pelvan-Config");

using testsupport::translationIdsIn;
using testsupport::translationIdsUnder;

}  // namespace

TEST(Translations, TheScanFindsEveryKindOfUse) {
    const QSet<QString> ids = translationIdsIn(QStringLiteral(
        R"(text: qsTrId("A") + qsTrId( "B"); qtTrId("C"); {QT_TRID_NOOP("D"), 1}; xtitle: "E"; xokText: "F"; x: qsTrId(name))"));
    EXPECT_EQ(ids, (QSet<QString>{"A", "B", "C", "D", "E", "F"}));
}

TEST(Translations, EveryUsedIdIsTranslatedInBothLanguages) {
    QSet<QString> ids =
        translationIdsUnder(kSourceRoot + QStringLiteral("/tools/pelvan"), {"*.cpp", "*.h", "*.qml", "*.js"});
    ids.unite(translationIdsUnder(kSourceRoot + QStringLiteral("/controls/Controls"), {"*.qml", "*.js"}));
    // The pop-up's default buttons are ids too.
    ids.unite({QStringLiteral("OK"), QStringLiteral("Cancel")});
    // Enough of the tool's own ids were found for the scan to mean something.
    ASSERT_GT(ids.size(), 60);
    for (const char *known :
         {"Success", "Fail", "ValueRange", "SelectColor", "zh_CN", "MeaTool_HideDesc", "SaveDir"})
        EXPECT_TRUE(ids.contains(QLatin1String(known))) << known;

    for (const char *locale : {"en_US", "zh_CN"}) {
        SCOPED_TRACE(locale);
        const QString file = QStringLiteral("%1/Pelvan.%2.qm").arg(kConfigDir, QLatin1String(locale));
        QTranslator tr;
        ASSERT_TRUE(tr.load(file)) << file.toStdString() << " (built with the pelvan program)";
        QStringList missing;
        for (const QString &id : ids) {
            const QString text = tr.translate(nullptr, id.toUtf8().constData());
            if (text.trimmed().isEmpty()) missing << id;
        }
        missing.sort();
        EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(Translations, ChineseTextsAreChinese) {
    // A few samples, so a file with the languages swapped or left in English does not pass.
    const struct {
        const char *id;
        const char *en;
        const char *zh;
    } cases[] = {{"Success", "Success", "成功"},
                 {"Fail", "Fail", "失败"},
                 {"Cancel", "Cancel", "取消"},
                 {"en_US", "English", "English (英文)"},
                 {"AppConfig", "Settings", "设置"}};
    QTranslator en, zh;
    ASSERT_TRUE(en.load(kConfigDir + QStringLiteral("/Pelvan.en_US.qm")));
    ASSERT_TRUE(zh.load(kConfigDir + QStringLiteral("/Pelvan.zh_CN.qm")));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(en.translate(nullptr, c.id), QString::fromUtf8(c.en));
        EXPECT_EQ(zh.translate(nullptr, c.id), QString::fromUtf8(c.zh));
    }
}
