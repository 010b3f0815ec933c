// Writes the user guide Guida.pdf from the program's help pages: an A4 title page with the
// contents, then one section per screen, each starting on a new page.

#include "common/artwork.h"
#include "common/helptexts.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using HelpTexts::Topic;

namespace {

// Layout at screen resolution, so the sizes below read as on screen; text stays vector
// and the banner is embedded at three times the size it is shown at.
constexpr int kResolution = 96;
constexpr int kFooter = 28;

struct Section {
    QString heading;
    QString titleLine; // empty when the section has no help page of its own
    QStringList paragraphs;
};

QList<Section> sections()
{
    QList<Section> list;
    for (Topic topic : HelpTexts::topics()) {
        // The hub's page repeats the other pages; the guide shows each of them once.
        // Its own keys close its chapter, as every chapter ends with its screen's keys.
        const QStringList paragraphs = topic == Topic::Avvio ? HelpTexts::hubOpening() +
                                                                   QStringList{HelpTexts::hubKeys()}
                                                             : HelpTexts::paragraphs(topic);
        list.append({HelpTexts::screenName(topic), HelpTexts::title(topic), paragraphs});
    }
    list.append(
        {u"Accesso, copie di sicurezza e uso in rete"_s, QString(), HelpTexts::hubClosing()});
    return list;
}

// pages: the page on which each section starts, or empty while they are not known yet.
QString html(const QList<Section> &list, const QList<int> &pages)
{
    QString out;
    out += u"<html><body>"_s;
    // Title page.
    out += u"<p align=\"center\" style=\"margin-top: 90px;\"><img src=\"banner\" width=\"640\" "
           u"height=\"76\"></p>"_s;
    out += u"<p align=\"center\" style=\"margin-top: 70px; font-size: 30pt; font-weight: bold; "
           u"color: #1F4E8C;\">Guida all'utilizzo</p>"_s;
    out += u"<p align=\"center\" style=\"font-size: 16pt; color: #2D70BC;\">Magazzino "
           u"prodotti, inventario e listini prezzi</p>"_s;
    out += u"<p align=\"center\" style=\"margin-top: 16px; font-size: 12pt;\">Versione 1.0</p>"_s;
    out += u"<p style=\"margin-top: 110px; font-size: 15pt; font-weight: bold; color: "
           u"#1F4E8C;\">Indice</p>"_s;
    for (qsizetype i = 0; i < list.size(); ++i) {
        out += u"<p style=\"margin-left: 20px; margin-top: 4px; font-size: 12pt;\">"_s +
               QString::number(i + 1) + u". "_s + list.at(i).heading.toHtmlEscaped();
        if (i < pages.size())
            out += u" ... pagina "_s + QString::number(pages.at(i));
        out += u"</p>"_s;
    }
    // One section per screen.
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Section &s = list.at(i);
        out += u"<h1 style=\"page-break-before: always; font-size: 20pt; color: #1F4E8C; "
               u"margin-bottom: 4px;\">"_s +
               QString::number(i + 1) + u". "_s + s.heading.toHtmlEscaped() + u"</h1>"_s;
        if (!s.titleLine.isEmpty()) {
            out += u"<p style=\"font-size: 14pt; font-weight: bold; color: #DC143C; "
                   u"margin-bottom: 12px;\">"_s +
                   s.titleLine.toHtmlEscaped() + u"</p>"_s;
        }
        for (const QString &paragraph : s.paragraphs) {
            out += u"<p align=\"justify\" style=\"font-size: 11pt; margin-bottom: 10px; "
                   u"line-height: 130%;\">"_s +
                   paragraph.toHtmlEscaped() + u"</p>"_s;
        }
    }
    out += u"</body></html>"_s;
    return out;
}

QList<int> sectionPages(QTextDocument &doc, qreal pageHeight)
{
    QList<int> pages;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
            const qreal top = doc.documentLayout()->blockBoundingRect(b).top();
            pages.append(static_cast<int>(top / pageHeight) + 1);
        }
    }
    return pages;
}

// A laid-out line of the guide and the page it lies on. The document paginates itself (its
// page size is set), so each line lies wholly on one page.
struct PageLine {
    QTextLayout *layout;
    int index;
};

QList<QList<PageLine>> pageLines(QTextDocument &doc, qreal pageHeight, int pages)
{
    QList<QList<PageLine>> byPage(pages);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextLayout *layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const qreal top = layout->position().y() + layout->lineAt(i).y();
            // A line moved to the top of a page starts exactly on its break; the margin
            // keeps rounding from giving it to the page before.
            const int onPage = std::clamp(static_cast<int>((top + 0.5) / pageHeight), 0, pages - 1);
            byPage[onPage].append({layout, i});
        }
    }
    return byPage;
}

bool writeGuide(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setTitle(u"Scaffaria - Guida all'utilizzo"_s);
        writer.setCreator(u"Scaffaria"_s);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 20, 20, 16), QPageLayout::Millimeter));
        const QRectF paper = writer.pageLayout().paintRectPixels(kResolution);

        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&writer);
        doc.setDocumentMargin(0);
        doc.setDefaultFont(QFont(u"Verdana"_s, 11));
        doc.addResource(QTextDocument::ImageResource, QUrl(u"banner"_s),
                        Artwork::image(u"titolo"_s, QSize(2280, 270)));
        const QList<Section> list = sections();
        const QSizeF page(paper.width(), paper.height() - kFooter);
        doc.setPageSize(page);
        doc.setHtml(html(list, {}));
        // Each section starts a page; the contents list gets their numbers from a first
        // layout. The list fits on the title page, so the numbers do not move.
        doc.setHtml(html(list, sectionPages(doc, page.height())));

        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        QFont footerFont(u"Verdana"_s, 9);
        const int pages = doc.pageCount();
        const QList<QList<PageLine>> linesByPage = pageLines(doc, page.height(), pages);
        for (int i = 0; i < pages; ++i) {
            if (i > 0 && !writer.newPage())
                return false;
            painter.save();
            painter.translate(0, -i * page.height());
            // Line by line rather than the document clipped to the page: a clip only hides
            // the lines of a paragraph that runs on over the break, which would still reach
            // the file as invisible text, read twice by search and read-aloud.
            painter.setPen(Qt::black);
            for (const PageLine &line : linesByPage.at(i))
                line.layout->lineAt(line.index).draw(&painter, line.layout->position());
            painter.restore();
            if (i > 0) {
                painter.setFont(footerFont);
                painter.setPen(QColor(0x1F, 0x4E, 0x8C));
                const QRectF foot(0, paper.height() - kFooter + 8, paper.width(), kFooter - 8);
                const qreal rule = foot.top() - 4;
                painter.drawLine(QPointF(0, rule), QPointF(paper.width(), rule));
                painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                                 u"Scaffaria - Guida all'utilizzo"_s);
                painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                                 u"Pagina "_s + QString::number(i + 1));
            }
        }
        if (!painter.end())
            return false;
    }
    return file.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: guidapdf <output.pdf>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!writeGuide(path)) {
        std::fprintf(stderr, "guidapdf: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
