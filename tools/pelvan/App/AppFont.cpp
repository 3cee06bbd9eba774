#include "AppFont.h"

#include <QFontDatabase>

#include <iterator>

namespace {

// Preferred replacements, best first: Song/Ming-style (serif) CJK faces for SimSun, common serif faces
// for Times New Roman.
const char *const kCjkFamilies[] = {"SimSun",
                                    "NSimSun",
                                    "Noto Serif CJK SC",
                                    "Source Han Serif SC",
                                    "AR PL UMing CN",
                                    "Noto Sans CJK SC",
                                    "Source Han Sans SC",
                                    "WenQuanYi Zen Hei",
                                    "WenQuanYi Micro Hei",
                                    "Droid Sans Fallback"};
const char *const kSerifFamilies[] = {"Times New Roman", "Liberation Serif", "Tinos",      "Nimbus Roman",
                                      "TeX Gyre Termes", "FreeSerif",        "Noto Serif", "DejaVu Serif"};

QString firstInstalled(const char *const *names, size_t count, const QStringList &installed) {
    for (size_t i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        for (const QString &f : installed)
            if (f.compare(name, Qt::CaseInsensitive) == 0) return f;
    }
    return QString();
}

}  // namespace

QString appFontFamily(const QString &wanted, AppFontKind kind, const QStringList &installed) {
    for (const QString &f : installed)
        if (f.compare(wanted, Qt::CaseInsensitive) == 0) return f;
    if (kind == AppFontKind::Cjk) {
        const QString f = firstInstalled(kCjkFamilies, std::size(kCjkFamilies), installed);
        if (!f.isEmpty()) return f;
        // Any other face with Chinese glyphs, serif ones first.
        for (const QString &f2 : installed)
            if (f2.contains(QLatin1String("CJK SC")) || f2.contains(QLatin1String("Song"))) return f2;
        return QString();
    }
    const QString f = firstInstalled(kSerifFamilies, std::size(kSerifFamilies), installed);
    if (!f.isEmpty()) return f;
    for (const QString &f2 : installed)
        if (f2.contains(QLatin1String("Serif")) && !f2.contains(QLatin1String("Sans"))) return f2;
    return QString();
}

QString appFontFamily(const QString &wanted, AppFontKind kind) {
    QFontDatabase db;
    QStringList installed = db.families();
    if (kind == AppFontKind::Cjk) {
        // Only faces that really carry Simplified Chinese count.
        QStringList withChinese = db.families(QFontDatabase::SimplifiedChinese);
        installed = withChinese;
    }
    return appFontFamily(wanted, kind, installed);
}
