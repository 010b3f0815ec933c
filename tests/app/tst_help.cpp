#include "app/avvio.h"
#include "app/copie.h"
#include "app/info.h"
#include "app/splash.h"
#include "app/startup.h"
#include "common/guida.h"
#include "common/helptexts.h"
#include "common/linkbutton.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "lists/expmagazzino.h"
#include "lists/menuriepilogo.h"
#include "lists/riepilogo.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/creacatalogo.h"
#include "pricelist/listinoprezzi.h"
#include "support/pdf.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/allegacartella.h"
#include "warehouse/magazzino.h"
#include "warehouse/webcam.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using HelpTexts::Topic;

Q_DECLARE_METATYPE(HelpTexts::Topic)

namespace {

// What a help window showed while it was open.
struct Shown {
    QString caption;
    QString title;
    QString text;
    QSize size;
    QString opener;
    bool readOnly = false;
    bool modal = false;
};

// Records the next help window, then closes it with its button.
void recordNextHelp(Shown &shown)
{
    onNextModal([&shown](QWidget *window) {
        auto *guide = qobject_cast<TfrmGuida *>(window);
        if (!guide)
            return;
        shown = {guide->windowTitle(),
                 guide->lblTitolo->text(),
                 guide->txtGuida->toPlainText(),
                 guide->size(),
                 guide->parentWidget() ? guide->parentWidget()->objectName() : QString(),
                 guide->txtGuida->isReadOnly(),
                 guide->isModal()};
        QTest::mouseClick(guide->btnChiudi, Qt::LeftButton);
    });
}

// What a user reads on a control: a button's or label's text, or the accessible name of a
// picture (picture buttons carry their drawn caption as accessible name). Trailing colons
// and full stops go, so that the field caption "Giacenza:" is named «Giacenza».
void addCaptions(QWidget *screen, QSet<QString> &captions)
{
    const auto add = [&captions](QString text) {
        text.remove(u'&');
        for (QString line : text.split(u'\n')) {
            line = line.trimmed();
            while (line.endsWith(u':') || line.endsWith(u'.'))
                line.chop(1);
            if (!line.isEmpty())
                captions.insert(line);
        }
    };
    for (QWidget *control : screen->findChildren<QWidget *>()) {
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            add(button->text());
        if (auto *label = qobject_cast<QLabel *>(control))
            add(label->text());
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control))
            add(iface->text(QAccessible::Name));
    }
}

// The names a help page quotes in «...».
QStringList quotedNames(Topic topic)
{
    QStringList names;
    static const QRegularExpression quoted(u"«([^»]*)»"_s);
    // Compared as the captions are, without a closing colon or dots.
    for (const auto &match : quoted.globalMatch(HelpTexts::text(topic))) {
        QString name = match.captured(1);
        while (name.endsWith(u':') || name.endsWith(u'.'))
            name.chop(1);
        names.append(name);
    }
    return names;
}

} // namespace

// The help pages, the help window from every screen that has one, the information and
// credits windows and their links.
class Help final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void pageText_data();
    void pageText();
    void hubPageRepeatsTheOtherPages();
    void quotedNamesAreCaptions_data();
    void quotedNamesAreCaptions();
    void guideButtons_data();
    void guideButtons();
    void helpTextReadOnlyScrollableSelectable();
    void pdfLinkInFolderWithBlanks_data();
    void pdfLinkInFolderWithBlanks();
    void cornerWindowLinks_data();
    void cornerWindowLinks();
    void guideTextReadsEachLineOnce();

private:
    TfrmAvvio *hub() const { return screens().avvio; }
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void Help::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    createScreens();
    hub()->showMaximized();
}

void Help::cleanup()
{
    destroyScreens();
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

void Help::pageText_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");
    QTest::newRow("hub") << Topic::Avvio << u"Uno sguardo a Scaffaria."_s << 36;
    QTest::newRow("cards") << Topic::Magazzino << u"App Magazzino Prodotti."_s << 13;
    QTest::newRow("price-list page") << Topic::Listino << u"App Gestione Listino Prezzi."_s << 5;
    QTest::newRow("create and open lists")
        << Topic::Cataloghi << u"Creazione e apertura dei listini prezzi."_s << 7;
    QTest::newRow("inventory") << Topic::Inventario << u"App Inventario Merce."_s << 5;
    QTest::newRow("export") << Topic::Esportazione
                            << u"Esportazione magazzino prodotti in Microsoft Excel."_s << 4;
    QTest::newRow("backup copies") << Topic::Copie << u"Copie di sicurezza dei dati."_s << 6;
}

void Help::pageText()
{
    QFETCH(Topic, topic);
    QFETCH(QString, title);
    QFETCH(int, paragraphs);

    QCOMPARE(HelpTexts::title(topic), title);
    const QStringList list = HelpTexts::paragraphs(topic);
    QCOMPARE(list.size(), paragraphs);
    for (const QString &p : list) {
        QVERIFY2(!p.isEmpty() && p.trimmed() == p, qPrintable(p));
        QVERIFY2(!p.contains(u'\r') && !p.contains(u'\n'), qPrintable(p));
    }
    // The first paragraph on the first line, exactly one empty line between two paragraphs,
    // nothing after the last.
    const QString text = HelpTexts::text(topic);
    QVERIFY(text.startsWith(list.first()));
    QVERIFY(text.endsWith(list.last()));
    QCOMPARE(text.split(u"\r\n\r\n"_s), list);
    QVERIFY(!text.contains(u"\r\n\r\n\r\n"_s));
    QCOMPARE(text.count(u"\r\n"_s), 2 * (paragraphs - 1));
    QVERIFY(HelpTexts::topics().contains(topic));
}

void Help::hubPageRepeatsTheOtherPages()
{
    const QStringList hubPage = HelpTexts::paragraphs(Topic::Avvio);
    // Each page without its keys paragraph, which closes the page; the hub gathers the keys
    // of every page after its own, at its end.
    QCOMPARE(hubPage.mid(3, 12), HelpTexts::paragraphs(Topic::Magazzino).first(12));
    QCOMPARE(hubPage.mid(15, 4), HelpTexts::paragraphs(Topic::Inventario).first(4));
    QCOMPARE(hubPage.mid(19, 4), HelpTexts::paragraphs(Topic::Cataloghi).mid(2, 4));
    QCOMPARE(hubPage.mid(23, 4), HelpTexts::paragraphs(Topic::Listino).first(4));
    QCOMPARE(hubPage.mid(0, 3), HelpTexts::hubOpening());
    QCOMPARE(hubPage.mid(27, 4), HelpTexts::hubClosing());
    QStringList keys;
    for (Topic topic : {Topic::Magazzino, Topic::Inventario, Topic::Cataloghi, Topic::Listino})
        keys << HelpTexts::paragraphs(topic).last();
    QCOMPARE(hubPage.mid(32), keys);
    for (const QString &p : hubPage.mid(31))
        QVERIFY2(p.startsWith(u"Tasti rapidi"_s), qPrintable(p));
    QVERIFY(hubPage.at(27).contains(u"chiaveiniziale"_s));
    QVERIFY(hubPage.at(19).contains(u"Crea nuovo listino"_s));
    QVERIFY(hubPage.at(21).contains(u"Applica e chiudi"_s));
    QVERIFY(hubPage.at(21).contains(u"Apri archivio"_s));
}

void Help::quotedNamesAreCaptions_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<QStringList>("screens");
    const QStringList cards = {u"TfrmMagazzino"_s, u"TfrmWebCam"_s, u"TfrmAllegaCartella"_s};
    const QStringList inventory = {u"TfrmAvvio"_s, u"TfrmMenuRiepilogo"_s, u"TfrmRiepilogo"_s,
                                   u"TfrmMagazzino"_s};
    const QStringList lists = {u"TfrmAvvio"_s, u"TfrmCreaCatalogo"_s, u"TfrmApriCatalogo"_s};
    const QStringList page = {u"TfrmListinoPrezzi"_s};
    const QStringList exporter = {u"TfrmMagazzino"_s, u"TfrmExpMagazzino"_s};
    QTest::newRow("cards") << Topic::Magazzino << cards;
    QTest::newRow("inventory") << Topic::Inventario << inventory;
    QTest::newRow("create and open lists") << Topic::Cataloghi << lists;
    QTest::newRow("price-list page") << Topic::Listino << page;
    QTest::newRow("export") << Topic::Esportazione << exporter;
    QTest::newRow("backup copies") << Topic::Copie << QStringList{u"TfrmAvvio"_s, u"TfrmCopie"_s};
    QTest::newRow("hub") << Topic::Avvio << cards + inventory + lists + page + exporter;
}

// Every button, field or screen a help page names in «...» is named as the screens the
// page is about show it, so a user following the steps finds each one.
void Help::quotedNamesAreCaptions()
{
    QFETCH(Topic, topic);
    QFETCH(QStringList, screens);

    TfrmWebCam webcam(::screens().magazzino, nullptr);
    TfrmAllegaCartella attachments(::screens().magazzino);
    TfrmRiepilogo inventory(::screens().menuRiepilogo, QString());
    TfrmExpMagazzino exporter(::screens().magazzino);
    TfrmCopie copies(::screens().avvio);
    const QList<QWidget *> all = {::screens().avvio,
                                  &copies,
                                  ::screens().magazzino,
                                  ::screens().menuRiepilogo,
                                  ::screens().creaCatalogo,
                                  ::screens().apriCatalogo,
                                  ::screens().listinoPrezzi,
                                  &webcam,
                                  &attachments,
                                  &inventory,
                                  &exporter};
    QSet<QString> captions;
    for (QWidget *screen : all) {
        if (screens.contains(screen->objectName()))
            addCaptions(screen, captions);
    }
    QVERIFY(!captions.isEmpty());
    // The answers of the program's questions.
    captions << u"Sì"_s << u"No"_s;
    // Quoted words that name no control: examples of list names and the first password.
    const QStringList notControls = {u"Dolci"_s, u"Ricambi primavera"_s, u"chiaveiniziale"_s};

    const QStringList names = quotedNames(topic);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        if (!notControls.contains(name))
            QVERIFY2(captions.contains(name), qPrintable(u"«%1»"_s.arg(name)));
    }
}

void Help::guideButtons_data()
{
    QTest::addColumn<std::function<void()>>("click");
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<QString>("opener");

    QTest::newRow("hub imgGuida") << std::function<void()>([] {
        QTest::mouseClick(screens().avvio->imgGuida, Qt::LeftButton);
    }) << Topic::Avvio << u"TfrmAvvio"_s;
    QTest::newRow("cards btnGuida") << std::function<void()>([] {
        screens().magazzino->show();
        QTest::mouseClick(screens().magazzino->btnGuida, Qt::LeftButton);
    }) << Topic::Magazzino << u"TfrmMagazzino"_s;
    QTest::newRow("export cmdGuida") << std::function<void()>([] {
        TfrmExpMagazzino exporter(screens().magazzino);
        exporter.show();
        QTest::mouseClick(exporter.cmdGuida, Qt::LeftButton);
    }) << Topic::Esportazione << u"TfrmExpMagazzino"_s;
    // The create and open screens share one page.
    QTest::newRow("create list imgGuida") << std::function<void()>([] {
        screens().creaCatalogo->show();
        QTest::mouseClick(screens().creaCatalogo->imgGuida, Qt::LeftButton);
    }) << Topic::Cataloghi << u"TfrmCreaCatalogo"_s;
    QTest::newRow("open list imgGuida") << std::function<void()>([] {
        screens().apriCatalogo->show();
        QTest::mouseClick(screens().apriCatalogo->imgGuida, Qt::LeftButton);
    }) << Topic::Cataloghi << u"TfrmApriCatalogo"_s;
    QTest::newRow("price-list page cmdGuida") << std::function<void()>([] {
        screens().listinoPrezzi->show();
        QTest::mouseClick(screens().listinoPrezzi->cmdGuida, Qt::LeftButton);
    }) << Topic::Listino << u"TfrmListinoPrezzi"_s;
    QTest::newRow("backup copies imgGuida") << std::function<void()>([] {
        TfrmCopie copies(screens().avvio);
        copies.show();
        QTest::mouseClick(copies.imgGuida, Qt::LeftButton);
    }) << Topic::Copie << u"TfrmCopie"_s;
}

void Help::guideButtons()
{
    QFETCH(std::function<void()>, click);
    QFETCH(Topic, topic);
    QFETCH(QString, opener);

    Shown s;
    recordNextHelp(s);
    click();

    QCOMPARE(s.opener, opener);
    QCOMPARE(s.caption, u" Guida all'utilizzo del software"_s);
    QCOMPARE(s.size, QSize(670, 572));
    QVERIFY(s.modal);
    QVERIFY(s.readOnly);
    QCOMPARE(s.title, HelpTexts::title(topic));
    // The box shows the paragraphs with one empty line between them.
    QCOMPARE(s.text, HelpTexts::paragraphs(topic).join(u"\n\n"_s));
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(m_rec->opened.isEmpty());
}

void Help::helpTextReadOnlyScrollableSelectable()
{
    TfrmGuida guide(hub());
    guide.setTopic(Topic::Avvio);
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    QPlainTextEdit *box = guide.txtGuida;
    const QString before = box->toPlainText();

    box->setFocus();
    QTest::keyClicks(box, u"xyz"_s);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->toPlainText(), before);

    QVERIFY(box->verticalScrollBar()->maximum() > 0);
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(box->verticalScrollBar()->value() > 0);

    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(box->textCursor().selectedText().size(), before.size());
    QCOMPARE(guide.lblTitolo->buddy(), box);
}

void Help::pdfLinkInFolderWithBlanks_data()
{
    QTest::addColumn<bool>("byPicture");
    QTest::newRow("lnkWeb") << false;
    QTest::newRow("imgPDF") << true;
}

void Help::pdfLinkInFolderWithBlanks()
{
    QFETCH(bool, byPicture);
    const QString folder = QDir(m_folder->path()).filePath(u"Programmi con spazi"_s);
    QVERIFY(QDir().mkpath(folder));
    ProgramFolder::setForTests(folder);

    TfrmGuida guide(hub());
    guide.show();
    QAbstractButton *target = byPicture ? static_cast<QAbstractButton *>(guide.imgPDF)
                                        : static_cast<QAbstractButton *>(guide.lnkWeb);
    QCOMPARE(guide.lnkWeb->text(), u"Visualizza guida in formato PDF"_s);
    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(guide.lnkWeb->colour(), QColor(0xFF, 0xA5, 0x00));
    QTest::mouseRelease(target, Qt::LeftButton);
    QCOMPARE(guide.lnkWeb->colour(), QColor(0x00, 0x00, 0x8B));
    QCOMPARE(m_rec->opened, QStringList{u'"' + folder + u"/Guida.pdf\""_s});
    QVERIFY(guide.isVisible());
}

void Help::cornerWindowLinks_data()
{
    QTest::addColumn<QString>("corner");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("linkText");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("target");

    const QString mail = u"\"mailto:assistenza@example.com?subject=Software Scaffaria&body=Salve, "
                         u"desidererei avere le seguenti informazioni sul software in oggetto:\""_s;
    for (const char *picture : {"lnkWeb", "imgEmail"}) {
        QTest::addRow("information, %s", picture)
            << u"imgInfo"_s << u" Informazioni su Scaffaria"_s << QSize(473, 579)
            << u"assistenza@example.com"_s << QString::fromLatin1(picture) << mail;
    }
    for (const char *picture : {"lnkWeb", "imgWeb"}) {
        QTest::addRow("credits, %s", picture)
            << u"imgCopyright"_s << u" Scaffaria - Crediti"_s << QSize(661, 467)
            << u"http://www.example.com"_s << QString::fromLatin1(picture)
            << u"http://www.example.com"_s;
    }
}

void Help::cornerWindowLinks()
{
    QFETCH(QString, corner);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QString, linkText);
    QFETCH(QString, picture);
    QFETCH(QString, target);

    QString shownCaption, shownLink;
    QSize shownSize;
    QList<QColor> colours;
    bool modalOverHub = false;
    onNextModal([&](QWidget *window) {
        shownCaption = window->windowTitle();
        shownSize = window->size();
        modalOverHub = window->isModal() && window->parentWidget() == hub();
        auto *link = window->findChild<LinkButton *>(u"lnkWeb"_s);
        auto *clicked = window->findChild<QAbstractButton *>(picture);
        if (!link || !clicked)
            return;
        shownLink = link->text();
        QTest::mousePress(clicked, Qt::LeftButton);
        colours << link->colour();
        QTest::mouseRelease(clicked, Qt::LeftButton);
        colours << link->colour();
        QTest::mouseClick(window->findChild<QPushButton *>(u"btnChiudi"_s), Qt::LeftButton);
    });
    QTest::mouseClick(hub()->findChild<PictureButton *>(corner), Qt::LeftButton);

    QCOMPARE(shownCaption, caption);
    QCOMPARE(shownSize, size);
    QVERIFY(modalOverHub);
    QCOMPARE(shownLink, linkText);
    QCOMPARE(colours, (QList<QColor>{QColor(0xFF, 0xA5, 0x00), QColor(0x00, 0x00, 0x8B)}));
    QCOMPARE(m_rec->opened, QStringList{target});
    QVERIFY(hub()->isVisible());
    QVERIFY(hub()->findChildren<QDialog *>().isEmpty());
}

// The guide's text layer, as search and read-aloud get it, reads every chapter once and in
// order after the title page: a line at a page break is neither lost nor given twice (a
// line drawn clipped away still reaches the text layer).
void Help::guideTextReadsEachLineOnce()
{
    const QList<Pdf::Word> words = Pdf::words(QStringLiteral(SCAFFARIA_PROGRAM_DIR "/Guida.pdf"));
    QVERIFY(!words.isEmpty());
    QStringList read;
    for (const Pdf::Word &word : words) {
        // Ligatures (the "ff" of the program's name) read as their letters.
        if (word.page > 0)
            read << word.text.normalized(QString::NormalizationForm_KC);
    }
    QString shown = read.join(u' ');
    static const QRegularExpression footer(u" ?Scaffaria - Guida all'utilizzo Pagina \\d+"_s);
    const qsizetype pages = words.last().page + 1;
    qsizetype footers = 0;
    for (auto it = footer.globalMatch(shown); it.hasNext(); it.next())
        ++footers;
    QCOMPARE(footers, pages - 1);
    shown.remove(footer);

    QStringList chapters;
    const QList<Topic> topics = HelpTexts::topics();
    for (qsizetype i = 0; i < topics.size(); ++i) {
        const Topic topic = topics.at(i);
        chapters << QString::number(i + 1) + u". "_s + HelpTexts::screenName(topic)
                 << HelpTexts::title(topic);
        chapters << (topic == Topic::Avvio ? HelpTexts::hubOpening() << HelpTexts::hubKeys()
                                           : HelpTexts::paragraphs(topic));
    }
    chapters << QString::number(topics.size() + 1) +
                    u". Accesso, copie di sicurezza e uso in rete"_s
             << HelpTexts::hubClosing();
    const QString expected = chapters.join(u' ').simplified();
    shown = shown.simplified();
    // Where the two part, with some words around, rather than two texts of pages.
    qsizetype at = 0;
    while (at < shown.size() && at < expected.size() && shown.at(at) == expected.at(at))
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 60);
    QVERIFY2(shown == expected, qPrintable(u"read \""_s + shown.mid(from, 160) + u"\"\nguide \""_s +
                                           expected.mid(from, 160) + u'"'));
}

SCAFFARIA_TEST(Help)
#include "tst_help.moc"
