// The Tavo5 plug-in as the engine sees it: the colour mixer it carries, the types it registers and their
// order, and that every registered document loads.
#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <QJsonObject>
#include <QPluginLoader>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExtensionPlugin>
#include <QScopedPointer>
#include <QStringList>
#include <QtQml>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The registration order of the module's documents; the theme singleton comes last.
const QStringList kDocuments =
    QStringLiteral(
        "FGBGBO XButton XButtonSvg XButtonImage XButtonText XColorPicker XComboBox XCheckBox XFileDialog "
        "XFolderDialog XGrid XHead XImage XInputBase XInputBool XInputColor XInputEnum XInputFloat "
        "XInputFloatSlider XInputInt XInputString XListCellEdit XListCellSelect XListCellText XListRow "
        "XListView XPopup XPopupNotify XSeperator XSlider XSliderRange XSwitch XTab XTableCellBase "
        "XTableCellEdit XTableCellSelect XTableCellText XTableView XText XTextBox")
        .split(QLatin1Char(' '));

QObject *pluginInstance() {
    static QPluginLoader loader(QStringLiteral(TAVO5_PLUGIN_FILE));
    QObject *plugin = loader.instance();
    EXPECT_NE(plugin, nullptr) << loader.errorString().toStdString();
    return plugin;
}

QObject *util() {
    QObject *plugin = pluginInstance();
    return plugin ? plugin->findChild<QObject *>(QStringLiteral("XUtil")) : nullptr;
}

QColor invoke(const char *method, const QColor &a, const QColor &b, double x) {
    QColor out;
    EXPECT_TRUE(QMetaObject::invokeMethod(util(), method, Q_RETURN_ARG(QColor, out), Q_ARG(QColor, a),
                                          Q_ARG(QColor, b), Q_ARG(double, x)));
    return out;
}

QColor invoke(const char *method, const QColor &c, double x) {
    QColor out;
    EXPECT_TRUE(QMetaObject::invokeMethod(util(), method, Q_RETURN_ARG(QColor, out), Q_ARG(QColor, c),
                                          Q_ARG(double, x)));
    return out;
}

// Channels carry 16 bits inside QColor: compare at that precision.
void expectRgbF(const QColor &got, double r, double g, double b, const std::string &what) {
    const double eps = 1.0 / 65535.0;
    EXPECT_NEAR(got.redF(), r, eps) << what;
    EXPECT_NEAR(got.greenF(), g, eps) << what;
    EXPECT_NEAR(got.blueF(), b, eps) << what;
    EXPECT_EQ(got.alpha(), 255) << what << ": always opaque";
}

std::string engineErrors(const QQmlComponent &c) {
    std::string out;
    for (const QQmlError &e : c.errors()) out += e.toString().toStdString() + "\n";
    return out;
}

}  // namespace

TEST(ControlsPlugin, IsTheQmlExtensionPluginWithItsColourMixer) {
    QPluginLoader loader(QStringLiteral(TAVO5_PLUGIN_FILE));
    EXPECT_EQ(loader.metaData().value(QStringLiteral("IID")).toString(),
              QStringLiteral("org.qt-project.Qt.QQmlExtensionInterface/1.0"));
    QObject *plugin = pluginInstance();
    ASSERT_NE(plugin, nullptr);
    EXPECT_NE(qobject_cast<QQmlExtensionPlugin *>(plugin), nullptr);
    EXPECT_STREQ(plugin->metaObject()->className(), "XQTPlugin");
    EXPECT_EQ(loader.instance(), plugin) << "one plug-in object per process";
    ASSERT_NE(util(), nullptr);
}

TEST(ControlsPlugin, MixesColours) {
    ASSERT_NE(util(), nullptr);
    struct Case {
        const char *name;
        const char *method;
        QColor a, b;
        double x;
        double r, g, bl;
    };
    const QColor primary("#409EFF");
    const Case cases[] = {
        {"mix halfway", "mix", Qt::white, Qt::black, 0.5, 0.5, 0.5, 0.5},
        {"mix x=0 is b", "mix", QColor("#409EFF"), QColor("#141414"), 0.0, 20 / 255.0, 20 / 255.0,
         20 / 255.0},
        {"mix x=1 is a", "mix", QColor("#409EFF"), QColor("#141414"), 1.0, 64 / 255.0, 158 / 255.0, 1.0},
        {"mix per channel", "mix", QColor(255, 0, 100), QColor(0, 255, 100), 0.25, 0.25, 0.75, 100 / 255.0},
        {"mix drops alpha", "mix", QColor(0, 0, 0, 0), QColor(255, 255, 255, 0), 0.5, 0.5, 0.5, 0.5},
    };
    for (const Case &c : cases) expectRgbF(invoke(c.method, c.a, c.b, c.x), c.r, c.g, c.bl, c.name);

    struct ToneCase {
        const char *method;
        double x;
        const char *name;  // as QColor::name() rounds it
    };
    const ToneCase tones[] = {
        {"mix_white", 0.1, "#53a8ff"}, {"mix_dark", 0.1, "#3c90e8"}, {"mix_white", 1.0, "#ffffff"},
        {"mix_dark", 1.0, "#141414"},  {"mix_dark", 0.0, "#409eff"}, {"mix_white", 0.5, "#a0cfff"},
    };
    for (const ToneCase &t : tones)
        EXPECT_EQ(invoke(t.method, primary, t.x).name().toStdString(), t.name) << t.method << " " << t.x;

    // Towards the dark base (20, 20, 20) and white (255, 255, 255) per channel.
    expectRgbF(invoke("mix_dark", QColor(220, 120, 20), 0.5), 120 / 255.0, 70 / 255.0, 20 / 255.0,
               "mix_dark");
    expectRgbF(invoke("mix_white", QColor(55, 155, 255), 0.5), 155 / 255.0, 205 / 255.0, 1.0, "mix_white");
}

TEST(ControlsPlugin, RegistersTheDocumentsThenTheThemeInOrder) {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(TAVO5_IMPORT_PATH));
    QQmlComponent probe(&engine);
    probe.setData("import QtQml 2.15\nimport Tavo5 1.0\nQtObject {}", QUrl());
    QScopedPointer<QObject> obj(probe.create());
    ASSERT_TRUE(obj) << engineErrors(probe);

    // Type ids are handed out in registration order: consecutive ids mean nothing else was registered
    // in between and nothing was skipped.
    std::vector<int> ids;
    for (const QString &name : kDocuments) ids.push_back(qmlTypeId("Tavo5", 1, 0, name.toUtf8().constData()));
    ids.push_back(qmlTypeId("Tavo5", 1, 0, "XTheme"));
    ASSERT_EQ(ids.size(), 41u);
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string name = i < size_t(kDocuments.size()) ? kDocuments[int(i)].toStdString() : "XTheme";
        ASSERT_GE(ids[i], 0) << name << " is not registered";
        if (i > 0) {
            EXPECT_EQ(ids[i], ids[i - 1] + 1) << name << " is out of order";
        }
    }
    EXPECT_EQ(qmlTypeId("Tavo5", 1, 0, "XUtil"), -1) << "the mixer stays inside the plug-in object";
    EXPECT_EQ(qmlTypeId("Tavo5", 2, 0, "XButton"), -1) << "only version 1.0";
}

TEST(ControlsPlugin, EveryDocumentLoadsAndTheThemeIsOneObject) {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(TAVO5_IMPORT_PATH));
    for (const QString &name : kDocuments) {
        QQmlComponent c(&engine);
        c.setData(QByteArray("import QtQuick 2.15\nimport Tavo5 1.0\n") + name.toUtf8() + " {}\n", QUrl());
        QScopedPointer<QObject> obj(c.create());
        EXPECT_TRUE(obj) << name.toStdString() << ":\n" << engineErrors(c);
    }
    QQmlComponent twice(&engine);
    twice.setData(
        "import QtQml 2.15\nimport Tavo5 1.0\n"
        "QtObject { property QtObject a: XTheme; property QtObject b: XTheme; }",
        QUrl());
    QScopedPointer<QObject> obj(twice.create());
    ASSERT_TRUE(obj) << engineErrors(twice);
    EXPECT_NE(obj->property("a").value<QObject *>(), nullptr);
    EXPECT_EQ(obj->property("a").value<QObject *>(), obj->property("b").value<QObject *>());
}

int main(int argc, char **argv) {
    // Run by hand outside the test environment: still never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
