// Picks the application font family: the wanted family when installed, else an installed family of the
// same kind, so that a missing Windows font neither falls back to boxes for Chinese nor makes Qt warn
// about an unknown family at every start. Needs the Qt application.
#pragma once

#include <QString>
#include <QStringList>

// Kind of face the wanted family stands for.
enum class AppFontKind { Serif, Cjk };

// From the given installed families; an empty result means "keep the application's default font".
QString appFontFamily(const QString &wanted, AppFontKind kind, const QStringList &installed);
// From the families Qt's font database knows.
QString appFontFamily(const QString &wanted, AppFontKind kind);
