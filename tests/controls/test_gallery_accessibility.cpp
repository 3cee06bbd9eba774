// The gallery through the eyes of assistive technology: every control is reachable in the accessible tree
// with its role and name, everything that can be acted on has a name, and pressing does what a click does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gallery_host.h"

namespace {

struct Node {
    QAccessibleInterface *iface;
    QAccessible::Role role;
    std::string name;
    QStringList actions;
};

const char *roleName(QAccessible::Role r) {
    switch (r) {
        case QAccessible::Button:
            return "Button";
        case QAccessible::CheckBox:
            return "CheckBox";
        case QAccessible::ComboBox:
            return "ComboBox";
        case QAccessible::EditableText:
            return "EditableText";
        case QAccessible::StaticText:
            return "StaticText";
        case QAccessible::List:
            return "List";
        case QAccessible::ListItem:
            return "ListItem";
        case QAccessible::Table:
            return "Table";
        case QAccessible::Row:
            return "Row";
        case QAccessible::Cell:
            return "Cell";
        case QAccessible::PageTab:
            return "PageTab";
        case QAccessible::Graphic:
            return "Graphic";
        case QAccessible::Slider:
            return "Slider";
        case QAccessible::ColorChooser:
            return "ColorChooser";
        case QAccessible::Dialog:
            return "Dialog";
        case QAccessible::ColumnHeader:
            return "ColumnHeader";
        default:
            return "other";
    }
}

void walk(QAccessibleInterface *iface, std::vector<Node> &out, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 64) return;
    QAccessibleActionInterface *actions = iface->actionInterface();
    out.push_back({iface, iface->role(), iface->text(QAccessible::Name).toStdString(),
                   actions ? actions->actionNames() : QStringList()});
    for (int i = 0; i < iface->childCount(); ++i) walk(iface->child(i), out, depth + 1);
}

class GalleryAccessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new GalleryHost;
        engine = new QQmlApplicationEngine;
        engine->addImportPath(QStringLiteral(TAVO5_IMPORT_PATH));
        engine->rootContext()->setContextProperty(QStringLiteral("galleryHost"), host);
        engine->load(QUrl(QStringLiteral("qrc:/Gallery/Gallery.qml")));
        if (!engine->rootObjects().isEmpty())
            window = qobject_cast<QQuickWindow *>(engine->rootObjects().first());
        if (window) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window)) window = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete engine;
        delete host;
        engine = nullptr;
        host = nullptr;
        window = nullptr;
    }
    void SetUp() override { ASSERT_NE(window, nullptr) << "the gallery did not load"; }

    static std::vector<Node> tree() {
        std::vector<Node> nodes;
        walk(QAccessible::queryAccessibleInterface(window), nodes);
        return nodes;
    }
    static QAccessibleInterface *find(QAccessible::Role role, const std::string &name) {
        for (const Node &n : tree())
            if (n.role == role && n.name == name) return n.iface;
        return nullptr;
    }
    static QObject *page() { return window->property("xpage").value<QObject *>(); }
    // The nearest object up from `o` that has the property `name` (the control a child item belongs to).
    static QObject *owner(QObject *o, const char *name) {
        while (o && !o->property(name).isValid()) {
            // Delegates made by repeaters and views hang below their visual parent, not their QObject one.
            auto *item = qobject_cast<QQuickItem *>(o);
            o = item ? static_cast<QObject *>(item->parentItem()) : o->parent();
        }
        return o;
    }
    static void press(QAccessibleInterface *iface) {
        ASSERT_NE(iface, nullptr);
        ASSERT_NE(iface->actionInterface(), nullptr);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
    }

    static GalleryHost *host;
    static QQmlApplicationEngine *engine;
    static QQuickWindow *window;
};

GalleryHost *GalleryAccessibility::host = nullptr;
QQmlApplicationEngine *GalleryAccessibility::engine = nullptr;
QQuickWindow *GalleryAccessibility::window = nullptr;

TEST_F(GalleryAccessibility, EveryControlIsFoundByRoleAndName) {
    struct Expected {
        QAccessible::Role role;
        const char *name;
        int count;  // at least this many
    };
    const Expected expected[] = {
        // Buttons of all 13 styles, each normal, disabled and selected, and the other button kinds.
        {QAccessible::Button, "Default", 3},
        {QAccessible::Button, "Primary", 3},
        {QAccessible::Button, "Success", 3},
        {QAccessible::Button, "Warning", 3},
        {QAccessible::Button, "Danger", 3},
        {QAccessible::Button, "Info", 3},
        {QAccessible::Button, "Plain", 3},
        {QAccessible::Button, "LightPrimary", 3},
        {QAccessible::Button, "LightSuccess", 3},
        {QAccessible::Button, "LightWarning", 3},
        {QAccessible::Button, "LightDanger", 3},
        {QAccessible::Button, "LightInfo", 3},
        {QAccessible::Button, "Link", 3},
        {QAccessible::Button, "Add", 1},
        {QAccessible::Button, "Edit", 1},
        {QAccessible::Button, "Delete", 1},
        {QAccessible::Button, "AppConfig", 1},
        {QAccessible::Button, "RecordBegin", 1},
        {QAccessible::Button, "More", 1},
        {QAccessible::Button, "Count", 1},
        {QAccessible::Button, "OpenFile", 1},
        {QAccessible::Button, "SelectFolder", 1},
        {QAccessible::Button, "OpenPopup", 1},
        // Inputs by their names.
        {QAccessible::EditableText, "ChartFifoSize", 1},
        {QAccessible::EditableText, "ChartUpdateInterval", 1},
        {QAccessible::EditableText, "FixEmi", 1},
        {QAccessible::EditableText, "FixReflectTemp", 1},
        {QAccessible::EditableText, "MeaName", 1},
        {QAccessible::EditableText, "SaveDir", 1},
        {QAccessible::EditableText, "DeviceIp", 2},
        {QAccessible::Slider, "IRImage_Gain", 1},
        {QAccessible::CheckBox, "FixEnable", 1},
        {QAccessible::ComboBox, "IRImage_PaletteType", 1},
        {QAccessible::ComboBox, "IRImage_CTType", 1},
        // Plain controls.
        {QAccessible::CheckBox, "TrackHigh", 1},
        {QAccessible::CheckBox, "TrackLow", 1},
        {QAccessible::CheckBox, "Disabled", 1},
        {QAccessible::CheckBox, "Light", 1},
        {QAccessible::CheckBox, "Buzz", 1},
        {QAccessible::CheckBox, "Alarm", 1},
        {QAccessible::Slider, "IRImage_Temp2Gray", 1},
        {QAccessible::Slider, "IRImage_DDELevel", 1},
        {QAccessible::Slider, "IRImage_MTTemp0", 1},
        {QAccessible::ComboBox, "Language", 1},
        {QAccessible::ComboBox, "DeviceCali", 1},
        {QAccessible::ComboBox, "Font", 1},
        {QAccessible::EditableText, "Search", 1},
        {QAccessible::PageTab, "Preview", 1},
        {QAccessible::PageTab, "Config", 1},
        {QAccessible::PageTab, "Firmware", 1},
        {QAccessible::PageTab, "Network", 1},
        {QAccessible::StaticText, "Buttons", 1},
        {QAccessible::StaticText, "Information", 1},
        {QAccessible::StaticText, "Clicks 0", 1},
        // Icons, colour picker and its swatches.
        {QAccessible::Graphic, "check", 1},
        {QAccessible::Graphic, "palette", 1},
        {QAccessible::Graphic, "point1x1", 1},
        {QAccessible::Graphic, "hexagon-outline", 1},
        {QAccessible::ColorChooser, "SelectColor", 1},
        {QAccessible::ColorChooser, "MeaColor", 1},
        {QAccessible::Button, "SelectColor", 1},
        {QAccessible::Button, "#00FF00", 1},
        // List and table with their rows (named by their cells) and selection boxes.
        {QAccessible::List, "DeviceList", 1},
        {QAccessible::ListItem, "IR-0001, 192.168.1.11", 1},
        {QAccessible::ListItem, "IR-0004, 192.168.1.14", 1},
        {QAccessible::CheckBox, "SelectAll", 2},
        {QAccessible::Table, "MainConfig", 1},
        {QAccessible::Row, "IR-0102, 10.0.0.22, Fail -1002", 1},
        {QAccessible::Cell, "Fail -1002", 1},
        {QAccessible::ColumnHeader, "Message", 1},
        // The open notifications.
        {QAccessible::Dialog, "Success", 1},
        {QAccessible::Dialog, "Information", 1},
        {QAccessible::Dialog, "Warning", 1},
        {QAccessible::Dialog, "Fail", 1},
    };
    std::map<std::pair<int, std::string>, int> seen;
    for (const Node &n : tree()) ++seen[{n.role, n.name}];
    for (const Expected &e : expected)
        EXPECT_GE((seen[{e.role, e.name}]), e.count) << roleName(e.role) << " \"" << e.name << "\"";
}

TEST_F(GalleryAccessibility, EverythingThatCanBeActedOnHasAName) {
    const QStringList acting = {
        QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::toggleAction(),
        QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction()};
    const QAccessible::Role interactive[] = {
        QAccessible::Button,       QAccessible::CheckBox, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::Slider,   QAccessible::PageTab,
        QAccessible::ListItem,     QAccessible::Row,      QAccessible::ColorChooser};
    int checked = 0;
    for (const Node &n : tree()) {
        bool acts = false;
        for (const QString &a : n.actions) acts = acts || acting.contains(a);
        for (QAccessible::Role r : interactive) acts = acts || n.role == r;
        if (!acts) continue;
        ++checked;
        EXPECT_FALSE(n.name.empty()) << roleName(n.role) << " with actions "
                                     << n.actions.join(",").toStdString() << " has no name";
    }
    EXPECT_GT(checked, 100) << "the walk reached the controls";
}

TEST_F(GalleryAccessibility, PressingDoesWhatAClickDoes) {
    // A button: its handler runs exactly once per press.
    const int before = page()->property("xclicks").toInt();
    press(find(QAccessible::Button, "Count"));
    EXPECT_EQ(page()->property("xclicks").toInt(), before + 1);
    EXPECT_NE(find(QAccessible::StaticText, "Clicks " + std::to_string(before + 1)), nullptr);

    // A check box flips.
    QAccessibleInterface *box = find(QAccessible::CheckBox, "TrackLow");
    ASSERT_NE(box, nullptr);
    const bool wasChecked = box->state().checked;
    press(box);
    EXPECT_NE(find(QAccessible::CheckBox, "TrackLow")->state().checked, wasChecked);

    // Presses whose effect shows in a property of the control the pressed node belongs to.
    struct Effect {
        const char *what;
        QAccessible::Role role;
        const char *name;
        const char *ownerProperty;  // identifies the control
        const char *property;
        QVariant expected;
    };
    const Effect effects[] = {
        {"a tab becomes current", QAccessible::PageTab, "Firmware", "xnames", "xcurrentIndex", 2},
        {"a swatch chooses its colour", QAccessible::Button, "#00FF00", "cfg_colors", "xcolor",
         QColor(0, 255, 0)},
        {"a list row becomes current", QAccessible::ListItem, "IR-0004, 192.168.1.14", "xcurrentRow",
         "xcurrentRow", 3},
    };
    for (const Effect &e : effects) {
        QAccessibleInterface *node = find(e.role, e.name);
        ASSERT_NE(node, nullptr) << e.what;
        QObject *control = owner(node->object(), e.ownerProperty);
        ASSERT_NE(control, nullptr) << e.what;
        press(node);
        EXPECT_EQ(control->property(e.property), e.expected) << e.what;
    }

    // A row's selection box selects it, and the table counts it.
    QAccessibleInterface *table = find(QAccessible::Table, "MainConfig");
    ASSERT_NE(table, nullptr);
    QObject *tableView = table->object();
    const int selected = tableView->property("xselectRows").toInt();
    press(find(QAccessible::CheckBox, "IR-0103, 10.0.0.23"));
    EXPECT_EQ(tableView->property("xselectRows").toInt(), selected + 1);

    // A button that opens a pop-up: the pop-up appears in the tree.
    EXPECT_EQ(find(QAccessible::Dialog, "DeviceChart"), nullptr);
    press(find(QAccessible::Button, "OpenPopup"));
    EXPECT_TRUE(QTest::qWaitFor([] { return find(QAccessible::Dialog, "DeviceChart") != nullptr; }, 2000));
}

TEST_F(GalleryAccessibility, FontSwitchReloadsThePageInTheNewFamily) {
    const QStringList families = host->fontFamilies();
    if (families.size() < 2) GTEST_SKIP() << "only one font family installed";
    const QString next = families.at(families.indexOf(host->fontFamily()) == 0 ? 1 : 0);
    QObject *oldPage = page();
    ASSERT_TRUE(host->setFontFamily(next));
    QCoreApplication::processEvents();
    ASSERT_NE(page(), nullptr);
    EXPECT_NE(page(), oldPage) << "the page was rebuilt";
    QAccessibleInterface *heading = find(QAccessible::StaticText, "Clicks 0");
    ASSERT_NE(heading, nullptr) << "the new page is in the tree, counting from 0 again";
    EXPECT_EQ(heading->object()->property("font").value<QFont>().family(), next);
    EXPECT_FALSE(host->setFontFamily(QStringLiteral("No Such Family")));
    EXPECT_EQ(host->fontFamily(), next);
}

}  // namespace

int main(int argc, char **argv) {
    // Run by hand outside the test environment: still never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
