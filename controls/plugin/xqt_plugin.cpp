#include "xqt_plugin.h"

#include <QUrl>
#include <QtQml>

const char *const XQTPlugin::kDocuments[] = {
    "FGBGBO",
    "XButton",
    "XButtonSvg",
    "XButtonImage",
    "XButtonText",
    "XColorPicker",
    "XComboBox",
    "XCheckBox",
    "XFileDialog",
    "XFolderDialog",
    "XGrid",
    "XHead",
    "XImage",
    "XInputBase",
    "XInputBool",
    "XInputColor",
    "XInputEnum",
    "XInputFloat",
    "XInputFloatSlider",
    "XInputInt",
    "XInputString",
    "XListCellEdit",
    "XListCellSelect",
    "XListCellText",
    "XListRow",
    "XListView",
    "XPopup",
    "XPopupNotify",
    "XSeperator",
    "XSlider",
    "XSliderRange",
    "XSwitch",
    "XTab",
    "XTableCellBase",
    "XTableCellEdit",
    "XTableCellSelect",
    "XTableCellText",
    "XTableView",
    "XText",
    "XTextBox",
};
const int XQTPlugin::kDocumentCount = sizeof(kDocuments) / sizeof(kDocuments[0]);

static_assert(sizeof(XQTPlugin::kDocuments) / sizeof(XQTPlugin::kDocuments[0]) == 40, "40 control documents");

// The colour mixer is a child as well as a member, so it can be found (and its invokables called) through
// the plug-in object that QPluginLoader hands out. As a member it goes before the base destructor runs.
XQTPlugin::XQTPlugin(QObject *parent) : QQmlExtensionPlugin(parent), m_util(this) {
    m_util.setObjectName(QStringLiteral("XUtil"));
}

void XQTPlugin::registerTypes(const char *uri) {
    for (const char *name : kDocuments) {
        const QUrl url(QStringLiteral("qrc:/Controls/%1.qml").arg(QLatin1String(name)));
        // A relative URL would resolve against whatever imports the module: never registered.
        if (url.isRelative()) continue;
        qmlRegisterType(url, uri, 1, 0, name);
    }
    // The engine warns "qmlRegisterSingletonType requires absolute URLs." for a relative one.
    qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/Controls/XTheme.qml")), uri, 1, 0, "XTheme");
}
