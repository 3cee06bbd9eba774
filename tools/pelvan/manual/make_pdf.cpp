// Build-time tool: turns a Markdown manual into a PDF with Qt's own text layout and PDF writer.
//
//   pelvan_make_pdf INPUT.md OUTPUT.pdf
//
// Chinese text needs a face with Chinese glyphs: one is chosen from the installed fonts, so the PDF never
// shows empty boxes.
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

// A family that can draw the text: one with Simplified Chinese when the text holds CJK characters.
QString familyFor(const QString &text) {
    bool cjk = false;
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x9FFF) {
            cjk = true;
            break;
        }
    QFontDatabase db;
    if (cjk) {
        const QStringList families = db.families(QFontDatabase::SimplifiedChinese);
        for (const char *want :
             {"Noto Sans CJK SC", "Noto Serif CJK SC", "Source Han Sans SC", "WenQuanYi Zen Hei"})
            if (families.contains(QLatin1String(want))) return QLatin1String(want);
        if (!families.isEmpty()) return families.first();
        std::fprintf(stderr, "pelvan_make_pdf: no font with Chinese glyphs is installed (fonts-noto-cjk)\n");
    }
    const QStringList families = db.families();
    for (const char *want : {"DejaVu Sans", "Noto Sans", "Liberation Sans"})
        if (families.contains(QLatin1String(want))) return QLatin1String(want);
    return QGuiApplication::font().family();
}

}  // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pelvan_make_pdf INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pelvan_make_pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    writer.setTitle(text.section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('#')).trimmed());
    writer.setCreator(QStringLiteral("pelvan_make_pdf"));

    QTextDocument doc;
    QFont font(familyFor(text));
    font.setPointSize(11);
    doc.setDefaultFont(font);
    doc.setMarkdown(text);
    // Without a page size of its own, print() paginates for the writer's page and resolution.
    doc.print(&writer);
    return 0;
}
