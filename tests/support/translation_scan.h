// The translation ids a tool's sources use: ids in qsTrId/qtTrId/QT_TRID_NOOP calls with a literal, and the
// pop-up texts the controls translate (xtitle, xokText, xcancelText given as literals). Header-only (Qt).
#pragma once

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

namespace testsupport {

inline QSet<QString> translationIdsIn(const QString &text) {
    static const QRegularExpression call(QStringLiteral(R"((?:qsTrId|qtTrId|QT_TRID_NOOP)\(\s*"([^"]+)\")"));
    static const QRegularExpression popup(QStringLiteral(R"(\b(?:xtitle|xokText|xcancelText)\s*:\s*"([^"]+)\")"));
    QSet<QString> ids;
    for (const QRegularExpression *re : {&call, &popup}) {
        auto it = re->globalMatch(text);
        while (it.hasNext()) ids.insert(it.next().captured(1));
    }
    return ids;
}

// Every file under dir (or the file itself) matching the patterns.
inline QSet<QString> translationIdsUnder(const QString &dir, const QStringList &patterns) {
    QSet<QString> ids;
    QFile single(dir);
    if (!QFileInfo(dir).isDir()) {
        if (single.open(QIODevice::ReadOnly)) ids.unite(translationIdsIn(QString::fromUtf8(single.readAll())));
        return ids;
    }
    QDirIterator it(dir, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) ids.unite(translationIdsIn(QString::fromUtf8(f.readAll())));
    }
    return ids;
}

}  // namespace testsupport
