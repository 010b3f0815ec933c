#include "lists/expmagazzino.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/guida.h"
#include "common/memoryreturn.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/progresswindow.h"
#include "common/statusline.h"
#include "common/tmisc.h"
#include "lists/expgrid.h"
#include "lists/xlsexport.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {
constexpr QSize kWindow(1020, 660);
constexpr int kTopHeight = 100;
constexpr int kRowHeight = 21;
} // namespace

ExportGridView::ExportGridView(QWidget *parent) : QTableView(parent) {}

void ExportGridView::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The delegate's editors are children of the viewport; committing anything else is
    // ignored by the view.
    for (QWidget *child : viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            commitData(child);
    }
}

QString TfrmExpMagazzino::firstQuestion()
{
    return u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
           u"numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
}

QString TfrmExpMagazzino::doneQuestion()
{
    return u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il "
           u"file di Excel?"_s;
}

QString TfrmExpMagazzino::exportError()
{
    return u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il "
           u"file di Excel non sia già aperto."_s;
}

QString TfrmExpMagazzino::filePath() { return ProgramFolder::file(XlsExport::fileName()); }

TfrmExpMagazzino::TfrmExpMagazzino(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmExpMagazzino"_s);
    setWindowTitle(u" Esporta magazzino prodotti in Microsoft Excel"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kWindow);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    setPalette(pal);

    // The white box across the top: banner on the left, commands on the right.
    panTop = new QFrame(this);
    panTop->setObjectName(u"panTop"_s);
    panTop->setGeometry(10, 8, kWindow.width() - 20, kTopHeight - 8);
    panTop->setAutoFillBackground(true);
    QPalette white = panTop->palette();
    white.setColor(QPalette::Window, Qt::white);
    panTop->setPalette(white);
    panTop->setFrameShape(QFrame::StyledPanel);

    imgLogo = new QLabel(panTop);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"export_logo"_s, QSize(520, 80)));
    imgLogo->setGeometry(6, 6, 520, 80);

    const int right = panTop->width();
    icoHand = new QLabel(panTop);
    icoHand->setObjectName(u"icoHand"_s);
    icoHand->setPixmap(Artwork::pixmap(u"export_mano"_s, QSize(56, 40)));
    icoHand->setGeometry(right - 290, 26, 56, 40);
    cmdEsporta = new PictureButton(panTop, u"cmdEsporta"_s, u"export_excel"_s, QSize(64, 64),
                                   u"Esporta"_s);
    cmdEsporta->move(right - 228, 14);
    cmdGuida = new PictureButton(panTop, u"cmdGuida"_s, u"guida"_s, QSize(48, 48), u"Guida"_s);
    cmdGuida->move(right - 136, 22);
    cmdEsci = new PictureButton(panTop, u"cmdEsci"_s, u"esci"_s, QSize(48, 48), u"Esci"_s);
    cmdEsci->move(right - 70, 22);

    model = new ExportGridModel(this);
    grdRecords = new ExportGridView(this);
    grdRecords->setObjectName(u"grdRecords"_s);
    grdRecords->setModel(model);
    grdRecords->setAccessibleName(u"Schede del magazzino"_s);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->verticalHeader()->hide();
    grdRecords->verticalHeader()->setMinimumSectionSize(kRowHeight);
    grdRecords->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdRecords->setWordWrap(false);
    for (int c = 0; c < ExportGridModel::ColumnCount; ++c)
        grdRecords->setColumnWidth(c, ExportGridModel::column(c).width);
    grdRecords->setGeometry(10, kTopHeight + 6, kWindow.width() - 20,
                            kWindow.height() - kTopHeight - 6 - 34);

    panInfo = new StatusLine(this, u"Esportazione archivio in Microsoft Excel."_s);
    QFont statusFont(u"Tahoma"_s, 12);
    panInfo->setFont(statusFont);
    QPalette slate = panInfo->palette();
    slate.setColor(QPalette::Window, QColor(0x6A, 0x5A, 0xCD));
    panInfo->setPalette(slate);
    panInfo->setGeometry(0, kWindow.height() - 26, kWindow.width(), 26);

    m_hints = new HoverHints(panInfo);
    m_hints->add(cmdEsporta, u"Esporta l'archivio in formato Microsoft Excel."_s);
    m_hints->add(cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_s);
    m_hints->add(cmdEsci, u"Esci da questo ambiente di lavoro."_s);
    for (QWidget *area : {static_cast<QWidget *>(this), static_cast<QWidget *>(panTop),
                          static_cast<QWidget *>(imgLogo), static_cast<QWidget *>(icoHand),
                          grdRecords->viewport(), static_cast<QWidget *>(panInfo)})
        m_hints->blank(area);

    connect(cmdEsporta, &QAbstractButton::clicked, this, &TfrmExpMagazzino::cmdEsportaClick);
    cmdEsporta->setKey(QKeySequence(Qt::CTRL | Qt::Key_E));
    cmdGuida->setKey(QKeySequence(Qt::Key_F1));
    connect(cmdGuida, &QAbstractButton::clicked, this, &TfrmExpMagazzino::cmdGuidaClick);
    connect(cmdEsci, &QAbstractButton::clicked, this, &QDialog::accept);
}

TfrmExpMagazzino::~TfrmExpMagazzino() = default;

void TfrmExpMagazzino::done(int result)
{
    // The grid's rows go when the screen closes, and their memory back to the system.
    model->clear();
    MemoryReturn::giveBack();
    QDialog::done(result);
}

void TfrmExpMagazzino::showEvent(QShowEvent *event)
{
    if (!m_filled) {
        m_filled = true;
        ProgressWindow progress(this, u"Lettura dell'archivio in corso..."_s);
        model->load([&progress](qint64 done, qint64 total) {
            progress.setTotal(total);
            progress.tick(done);
        });
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    QDialog::showEvent(event);
}

void TfrmExpMagazzino::cmdEsportaClick()
{
    // A cell still being typed in counts as the grid stands.
    grdRecords->commitOpenEditor();
    if (!Dialogs::question(this, firstQuestion()))
        return;
    // The file is written on a worker thread while the screens keep repainting; the grid
    // takes no input until it is done, so the rows stay as they were when it began.
    const QString path = filePath();
    const ExportGridModel *grid = model;
    const bool written = ProgressWindow::run(
        this, u"Esportazione in corso..."_s, [path, grid](ProgressCount &count) {
            return XlsExport::write(path, *grid, [&count](qint64 done, qint64 total) {
                count.setTotal(total);
                count.setDone(done);
            });
        });
    if (!written) {
        Dialogs::plain(this, exportError());
        return;
    }
    if (Dialogs::question(this, doneQuestion()))
        TMisc::Open(u'"' + filePath() + u'"');
}

void TfrmExpMagazzino::cmdGuidaClick()
{
    TfrmGuida::showTopic(this, HelpTexts::Topic::Esportazione);
}
