// The plug-in object of module Tavo5: registers the control documents compiled into its resources and the
// theme singleton. Qt keeps one instance per process (made on first request, held by a guarded pointer).
#pragma once

#include <QQmlExtensionPlugin>

#include "xutil.h"

class XQTPlugin : public QQmlExtensionPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QQmlExtensionInterface/1.0")

public:
    explicit XQTPlugin(QObject *parent = nullptr);
    void registerTypes(const char *uri) override;

    XUtil *util() { return &m_util; }

    // The documents registered as types, in registration order (the theme singleton comes after them).
    static const char *const kDocuments[];
    static const int kDocumentCount;

private:
    XUtil m_util;
};
