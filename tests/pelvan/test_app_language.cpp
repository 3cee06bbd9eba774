// Language, application font and manual of the application singleton.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstring>

#include "AppFont.h"
#include "AppStatic.h"
#include "CApp.h"
#include "CDeviceManager.h"
#include "CAppConfig.h"
#include "CConfigManager.h"

namespace {

QStringList g_messages;

void collect(QtMsgType, const QMessageLogContext &, const QString &msg) {
    g_messages << msg;
}

}  // namespace

TEST(AppFont, MissingFamiliesFallBackToTheSameKind) {
    const QStringList withCjk = {"DejaVu Sans", "DejaVu Serif", "Noto Sans CJK SC", "Noto Serif CJK SC"};
    const QStringList sansOnly = {"DejaVu Sans", "Noto Sans CJK JP"};
    const struct {
        const char *name;
        const char *wanted;
        AppFontKind kind;
        QStringList installed;
        const char *expected;
    } cases[] = {
        {"SimSun installed", "SimSun", AppFontKind::Cjk, {"SimSun", "Noto Serif CJK SC"}, "SimSun"},
        {"SimSun in other case", "SimSun", AppFontKind::Cjk, {"simsun"}, "simsun"},
        {"serif CJK preferred", "SimSun", AppFontKind::Cjk, withCjk, "Noto Serif CJK SC"},
        {"sans CJK when no serif one", "SimSun", AppFontKind::Cjk, {"Noto Sans CJK SC"}, "Noto Sans CJK SC"},
        {"no Chinese face", "SimSun", AppFontKind::Cjk, sansOnly, ""},
        {"Times installed",
         "Times New Roman",
         AppFontKind::Serif,
         {"Times New Roman", "DejaVu Serif"},
         "Times New Roman"},
        {"metric twin of Times",
         "Times New Roman",
         AppFontKind::Serif,
         {"DejaVu Serif", "Liberation Serif"},
         "Liberation Serif"},
        {"any serif", "Times New Roman", AppFontKind::Serif, withCjk, "DejaVu Serif"},
        {"no serif face", "Times New Roman", AppFontKind::Serif, {"DejaVu Sans"}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(appFontFamily(QString::fromLatin1(c.wanted), c.kind, c.installed),
                  QString::fromLatin1(c.expected));
    }
}

TEST(AppLanguage, LocaleFontAndManualFollowTheLanguage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString savedExe = AppStatic::path_exe_qs;
    const QString savedName = AppStatic::app_name;
    AppStatic::path_exe_qs = dir.path();
    AppStatic::app_name = QStringLiteral("Pelvan");

    const struct {
        int language;
        const char *locale;
        QFontDatabase::WritingSystem script;
        const char *manual;
    } cases[] = {
        {0, "zh_CN", QFontDatabase::SimplifiedChinese, "/Doc/Pelvan_CN.pdf"},
        {1, "en_US", QFontDatabase::Latin, "/Doc/Pelvan_US.pdf"},
    };
    const QFont before = QGuiApplication::font();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        CApp app;
        CAppConfig cfg;
        cfg.cls2cls(app.configManager()->config());
        cfg.setLanguage(c.language);
        app.configManager()->config()->cls2cls(&cfg);

        g_messages.clear();
        const QtMessageHandler old = qInstallMessageHandler(collect);
        EXPECT_EQ(app.setLanguage(), 0);
        qInstallMessageHandler(old);
        EXPECT_EQ(app.localeName(), QLatin1String(c.locale));
        // No warning about a missing family at every start.
        for (const QString &m : g_messages)
            EXPECT_FALSE(m.contains(QLatin1String("font"), Qt::CaseInsensitive)) << m.toStdString();
        // The chosen face exists and can write the language.
        const QString family = app.fontFamily();
        ASSERT_FALSE(family.isEmpty());
        EXPECT_EQ(QGuiApplication::font().family(), family);
        EXPECT_EQ(QGuiApplication::font().pointSize(), 12);
        QFontDatabase db;
        EXPECT_TRUE(db.families().contains(family)) << family.toStdString();
        EXPECT_TRUE(db.writingSystems(family).contains(c.script)) << family.toStdString();

        EXPECT_EQ(app.manualPath(), dir.path() + QLatin1String(c.manual));
        // No manual there: nothing is opened.
        EXPECT_EQ(app.openManual(), -7);
    }
    QGuiApplication::setFont(before);
    AppStatic::path_exe_qs = savedExe;
    AppStatic::app_name = savedName;
}

TEST(AppLanguage, SingletonShowsItsParts) {
    CApp app;
    EXPECT_EQ(app.appVersion(), QLatin1String("1.5.0.0627"));
    EXPECT_NE(app.commonManager(), nullptr);
    EXPECT_NE(app.configManager(), nullptr);
    EXPECT_NE(app.tempCanvasManager(), nullptr);
    EXPECT_NE(app.deviceManager(), nullptr);
    EXPECT_NE(app.deviceManager()->device(), nullptr);
    const int saved = AppStatic::debug_netdEnable;
    for (int v : {0, 1, 7}) {
        AppStatic::debug_netdEnable = v;
        EXPECT_EQ(app.debug_netdEnable(), v != 0);
    }
    AppStatic::debug_netdEnable = saved;
}
