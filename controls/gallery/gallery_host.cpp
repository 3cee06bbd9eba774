#include "gallery_host.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

GalleryHost::GalleryHost(QObject *parent) : QObject(parent) {
    // The system's sans font first, then the families the tools are also tried in, where installed.
    const QStringList installed = QFontDatabase().families();
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QStringList wanted{system, QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
                       QStringLiteral("DejaVu Sans Mono"), QStringLiteral("DejaVu Serif")};
    for (const QString &f : wanted)
        if (!f.isEmpty() && installed.contains(f) && !m_families.contains(f)) m_families.append(f);
    if (m_families.isEmpty()) m_families.append(QGuiApplication::font().family());
    // Start in the first family, so the combo box tells the truth about what is shown.
    QFont font = QGuiApplication::font();
    font.setFamily(m_families.first());
    QGuiApplication::setFont(font);
    m_family = m_families.first();
}

bool GalleryHost::setFontFamily(const QString &family) {
    if (!m_families.contains(family)) return false;
    if (family == m_family) return true;
    QFont font = QGuiApplication::font();
    font.setFamily(family);
    QGuiApplication::setFont(font);
    m_family = family;
    emit fontFamilyChanged();
    return true;
}
