#include "printing/designs.h"

#include "common/artwork.h"

using namespace Qt::StringLiterals;
using ReportUnits::mm;

namespace {

const QColor kDarkOrange(0xFF, 0x8C, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kSlateGrey(0x70, 0x80, 0x90);
const QColor kBrown(0xA5, 0x2A, 0x2A);
const QColor kNavy(0x00, 0x00, 0x80);

// A box given in millimetres.
QRectF mmBox(double left, double top, double width, double height)
{
    return QRectF(mm(left), mm(top), mm(width), mm(height));
}

// A font size in points as the character height in px.
constexpr double points(double pt) { return pt * 96.0 / 72.0; }

struct Look {
    QString family = u"Arial"_s;
    double pt = 10;
    bool bold = false;
    QColor color = Qt::black;
    QColor fill;
    Qt::Alignment hAlign = Qt::AlignLeft;
    Qt::Alignment vAlign = Qt::AlignTop;
};

void style(TMemoView &memo, const Look &look, const QString &text)
{
    memo.Font = QFont(look.family);
    memo.Font.setStyleHint(look.family == u"Courier New"_s ? QFont::TypeWriter : QFont::SansSerif);
    memo.Font.setBold(look.bold);
    memo.FontHeight = points(look.pt);
    memo.FontColor = look.color;
    memo.Fill = look.fill;
    memo.HAlign = look.hAlign;
    memo.VAlign = look.vAlign;
    memo.setText(text);
}

// A text box of the card and price-list sheets: printed literally, on one line, cut at
// the box's edge.
TMemoView *sheetMemo(TReportPage &page, const QString &name, const QRectF &box, const Look &look,
                     const QString &text)
{
    auto *memo = page.add<TMemoView>(name, box);
    style(*memo, look, text);
    memo->WordWrap = false;
    memo->Expressions = false;
    return memo;
}

std::unique_ptr<TReport> portraitSheet(const QString &name, const QString &documentName)
{
    auto report = std::make_unique<TReport>(name, documentName);
    TReportPage &page = *report->Pages(1);
    page.Orientation = poPortrait;
    page.PaperUprightMm = QSizeF(210, 297);
    page.MarginMm = 10;
    return report;
}

// The objects both card sheets share; rows start at `firstRowMm` and follow each other
// every `rowStepMm`.
std::unique_ptr<TReport> cardSheet(const QString &name, double firstRowMm, double rowStepMm)
{
    auto report = portraitSheet(name, u"Scheda informativa"_s);
    TReportPage &page = *report->Pages(1);

    auto *folder = page.add<TPictureView>(u"PictureView1"_s, mmBox(3, 3, 17, 13));
    folder->Picture = Artwork::image(u"printing_cartella"_s, QSize(64, 49));

    Look title;
    title.pt = 16;
    title.color = Qt::white;
    title.fill = kDarkOrange;
    title.hAlign = Qt::AlignHCenter;
    title.vAlign = Qt::AlignVCenter;
    sheetMemo(page, u"txtTitolo"_s, mmBox(23, 3, 165, 9), title, u"Titolo Scheda"_s);
    page.add<TLineView>(u"linSepara01"_s, mmBox(23, 16, 165, 0));

    Look caption;
    caption.pt = 9;
    caption.color = Qt::white;
    caption.fill = kTeal;
    caption.vAlign = Qt::AlignVCenter;
    Look value;
    value.pt = 10;
    value.vAlign = Qt::AlignVCenter;
    for (int n = 1; n <= 18; ++n) {
        const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
        const double top = firstRowMm + rowStepMm * (n - 1);
        const QString text = u"Campo %1"_s.arg(n);
        sheetMemo(page, u"titCampo"_s + number, mmBox(3, top, 52, 6), caption, text);
        sheetMemo(page, u"txtCampo"_s + number, mmBox(60, top, 128, 6), value, text);
    }

    page.add<TLineView>(u"linSepara02"_s, mmBox(3, 265, 185, 0));
    Look footer = title;
    footer.pt = 10;
    sheetMemo(page, u"txtCalce"_s, mmBox(3, 269, 185, 6), footer, u"Termine scheda"_s);
    return report;
}

} // namespace

namespace ReportDesigns {

QString slotLetter(int slot) { return QString(QChar(u'A' + slot)); }

std::unique_ptr<TReport> repScheda()
{
    auto report = cardSheet(u"repScheda"_s, 24, 10);
    TReportPage &page = *report->Pages(1);
    page.add<TShapeView>(u"Shape1"_s, mmBox(3, 204, 185, 57));
    Look note;
    note.pt = 6;
    note.vAlign = Qt::AlignVCenter;
    sheetMemo(page, u"Memo1"_s, mmBox(4, 205, 34, 4), note, u"SPAZIO PER APPUNTI:"_s);
    return report;
}

std::unique_ptr<TReport> repFoto()
{
    auto report = cardSheet(u"repFoto"_s, 104, 9);
    auto *photo = report->Pages(1)->add<TPictureView>(u"imgFoto"_s, mmBox(4, 21, 183, 79));
    photo->Center = true;
    return report;
}

std::unique_ptr<TReport> repDocumento()
{
    auto report = portraitSheet(u"repDocumento"_s, u"Listino Prezzi"_s);
    TReportPage &page = *report->Pages(1);

    Look small;
    small.pt = 8;
    sheetMemo(page, u"txtNome"_s, mmBox(1, 0.6, 188, 4), small, u"NOME LISTINO PREZZI"_s);

    Look name;
    name.pt = 16;
    name.bold = true;
    name.color = kBrown;
    name.vAlign = Qt::AlignVCenter;
    Look text;
    text.pt = 10;
    text.vAlign = Qt::AlignVCenter;
    Look code = name;
    code.color = kNavy;
    Look price = name;
    price.color = Qt::black;
    price.hAlign = Qt::AlignRight;

    for (int slot = 0; slot < 8; ++slot) {
        const QString letter = u"_"_s + slotLetter(slot);
        const double dy = 33.0 * slot;
        const QString frame = slot == 0 ? u"Shape19"_s : u"Shape%1"_s.arg(slot);
        page.add<TShapeView>(frame, mmBox(1, 6 + dy, 188, 30));
        auto *photo = page.add<TPictureView>(u"imgFoto"_s + letter, mmBox(2, 7 + dy, 38, 28));
        photo->Center = true;
        sheetMemo(page, u"txtNome"_s + letter, mmBox(42.4, 7 + dy, 145, 7), name,
                  u"NOME PRODOTTO"_s);
        sheetMemo(page, u"txtUM"_s + letter, mmBox(42.4, 16 + dy, 145, 4), text,
                  u"ASPETTO ESTERIORE DEL BENE"_s);
        sheetMemo(page, u"txtCaratteristiche"_s + letter, mmBox(42.4, 22 + dy, 145, 4), text,
                  u"CARATTERISTICHE DEL PRODOTTO"_s);
        sheetMemo(page, u"txtCodice"_s + letter, mmBox(42.4, 28 + dy, 93.6, 7), code,
                  u"CODICE XYZ"_s);
        sheetMemo(page, u"txtPrezzo"_s + letter, mmBox(146, 27.8 + dy, 40.4, 7), price, u"0,00"_s);
    }

    Look pageNumber = small;
    pageNumber.hAlign = Qt::AlignHCenter;
    pageNumber.vAlign = Qt::AlignVCenter;
    sheetMemo(page, u"txtPagina"_s, mmBox(0, 273, 190, 4), pageNumber, u"Pagina"_s);
    return report;
}

std::unique_ptr<TReport> repRiepilogo()
{
    auto report = std::make_unique<TReport>(u"repRiepilogo"_s, u"Riepilogo dati"_s);
    TReportPage &page = *report->Pages(1);
    page.Orientation = poLandscape;
    page.PaperUprightMm = QSizeF(210, 297);
    page.MarginMm = 10;
    const double width = page.printableSize().width();

    Look bar;
    bar.family = u"Verdana"_s;
    bar.bold = true;
    bar.color = Qt::white;
    bar.fill = kSlateGrey;
    bar.hAlign = Qt::AlignHCenter;

    auto *title = page.add<TBand>(TBand::Role::Title, u"ReportTitle"_s, width, mm(8));
    bar.pt = 9;
    style(*title->add<TMemoView>(u"txtTitolo"_s, mmBox(2, 1, 273, 5)), bar, u"Riepilogo"_s);

    auto *data = page.add<TBand>(TBand::Role::MasterData, u"MasterData"_s, width, mm(28));
    auto *lines = data->add<TMemoView>(u"txtRiepilogo"_s, mmBox(3, 0, 273, 27));
    Look fixed;
    fixed.family = u"Courier New"_s;
    fixed.pt = 8;
    style(*lines, fixed, QString());
    lines->Lines.clear();
    lines->WordWrap = false;
    // List lines are printed as they stand, brackets included.
    lines->Expressions = false;
    lines->FixedPitch = kListLinePitch;

    auto *footer = page.add<TBand>(TBand::Role::Footer, u"Footer"_s, width, mm(8));
    bar.pt = 8;
    style(*footer->add<TMemoView>(u"txtPagina"_s, mmBox(3, 2, 272, 5)), bar,
          u"Stampa eseguita in data [DATE]"_s);
    return report;
}

} // namespace ReportDesigns
