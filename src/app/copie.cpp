#include "app/copie.h"

#include "common/dialogs.h"
#include "common/focushighlight.h"
#include "common/guida.h"
#include "common/listkeys.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/progresswindow.h"
#include "common/statusline.h"
#include "store/sharedstore.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QStyle>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kWindow(720, 470);

QString dataFolder() { return ProgramFolder::path(); }

// The progress window shows once a copy has taken about half a second.
constexpr int kWindowDelayMs = 500;

// The copies report their bytes through the count the progress window follows.
BackupCopy::Progress reportTo(ProgressCount &count)
{
    return [&count](qint64 done, qint64 total) {
        count.setTotal(total);
        count.setDone(done);
    };
}

QString sizeInMB(qint64 bytes)
{
    const qint64 tenths = (bytes * 10 + (1 << 19)) / (1 << 20);
    return QString::number(tenths / 10) + u',' + QString::number(tenths % 10) + u" MB"_s;
}

// Writes a copy of the shared archive: the database written out as the folder's files into
// a private temporary folder, the workstation's own password store beside them, and that
// folder zipped as a folder's copy. Runs on the worker thread.
BackupCopy::Outcome writeShared(Store::SharedBackend &shared, const QString &folder,
                                const QString &target, const QDateTime &when, ProgressCount &count)
{
    const QTemporaryDir staging;
    if (!staging.isValid())
        return {false, {}};
    // Two halves of one bar: writing the archive out, then the copy.
    const Store::SharedBackend::Outcome out = shared.writeOut(staging.path(),
                                                              [&count](qint64 done, qint64 total) {
                                                                  count.setTotal(2 * total);
                                                                  count.setDone(done);
                                                              });
    if (!out.ok)
        return {false, out.error};
    const QString store = u"unins000.dll"_s;
    if (QFileInfo::exists(QDir(folder).filePath(store)) &&
        !QFile::copy(QDir(folder).filePath(store), QDir(staging.path()).filePath(store)))
        return {false, {}};
    return BackupCopy::write(staging.path(), target, BackupCopy::Kind::Kept, when,
                             [&count](qint64 done, qint64 total) {
                                 count.setTotal(2 * total);
                                 count.setDone(total + done);
                             });
}

Store::SharedBackend *sharedInUse()
{
    return dynamic_cast<Store::SharedBackend *>(&Store::current());
}

QString withReason(const QString &message, const QString &reason)
{
    return reason.isEmpty() ? message : message + u"\r\n\r\n"_s + reason;
}

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    QFont font(u"Verdana"_s, 10);
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(true);
    return button;
}

} // namespace

QString TfrmCopie::automaticFailure()
{
    return u"Attenzione: non è stato possibile salvare la copia di sicurezza automatica dei "
           u"dati."_s;
}

QString TfrmCopie::saveFailure()
{
    return u"Attenzione: non è stato possibile salvare la copia di sicurezza dei dati."_s;
}

QString TfrmCopie::invalidCopy()
{
    return u"Attenzione: il file scelto non è una copia di sicurezza valida."_s;
}

QString TfrmCopie::noRoom()
{
    return u"Attenzione: lo spazio libero sul disco non è sufficiente per ripristinare la copia "
           u"scelta. I dati non sono stati modificati."_s;
}

QString TfrmCopie::safetyCopyFailure()
{
    return u"Attenzione: non è stato possibile salvare la copia di sicurezza dei dati attuali, "
           u"per cui il ripristino non è stato eseguito."_s;
}

QString TfrmCopie::restoreFailure()
{
    return u"Attenzione: il ripristino dei dati non è stato completato. I dati attuali sono "
           u"conservati nella copia di sicurezza appena salvata."_s;
}

QString TfrmCopie::restoreFolderOnly()
{
    return u"Attenzione: una copia di sicurezza si ripristina solo nell'archivio nella cartella "
           u"del programma, mentre ora è in uso l'archivio condiviso. Per ripristinarla, "
           u"scegliere prima «Torna all'archivio nella cartella» con il comando «Archivio "
           u"condiviso»."_s;
}

QString TfrmCopie::restored() { return u"I dati sono stati ripristinati."_s; }

QString TfrmCopie::restoreQuestion(const BackupCopy::Summary &copy)
{
    return u"Ripristinare i dati della copia del "_s + copy.when.toString(u"dd/MM/yyyy"_s) +
           u" alle "_s + copy.when.toString(u"HH:mm"_s) + u" ("_s + QString::number(copy.cards) +
           u" schede, "_s + QString::number(copy.priceLists) +
           u" listini)?\r\n\r\nI dati attuali vengono prima salvati in una nuova copia di "
           u"sicurezza."_s;
}

QString TfrmCopie::lineFor(const BackupCopy::Listed &copy)
{
    const QString when = copy.when.toString(u"dd/MM/yyyy HH:mm"_s);
    if (!copy.summary)
        return when + u"   copia non leggibile"_s;
    const BackupCopy::Summary &s = *copy.summary;
    return when + u"   "_s + QString::number(s.cards) + u" schede, "_s +
           QString::number(s.priceLists) + u" listini   "_s + sizeInMB(s.fileSize);
}

QString TfrmCopie::lastCopyText()
{
    const QDateTime newest = BackupCopy::newestDate(dataFolder());
    if (!newest.isValid())
        return u"Nessuna copia di sicurezza"_s;
    return u"Ultima copia di sicurezza: "_s + newest.toString(u"dd/MM/yyyy HH:mm"_s);
}

void TfrmCopie::automaticCopy(QWidget *parent)
{
    // With the shared archive every workstation would write the whole database at every
    // start: its copies are made on request only.
    if (Store::current().shared())
        return;
    const QString folder = dataFolder();
    const QDateTime now = QDateTime::currentDateTime();
    const BackupCopy::AutomaticOutcome outcome = ProgressWindow::run(
        parent, u"Copia di sicurezza dei dati in corso..."_s,
        [&folder, &now](ProgressCount &count) {
            return BackupCopy::automatic(folder, now, reportTo(count));
        },
        kWindowDelayMs);
    if (outcome.result == BackupCopy::AutomaticResult::Failed)
        Dialogs::warning(parent, withReason(automaticFailure(), outcome.error));
}

TfrmCopie::TfrmCopie(QWidget *parent) : QDialog(parent), m_model(new QStringListModel(this))
{
    setObjectName(u"TfrmCopie"_s);
    setWindowTitle(u" Scaffaria - Copie di sicurezza"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kWindow);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    setPalette(pal);

    lblTitolo = new QLabel(u"Copie di sicurezza dei dati"_s, this);
    lblTitolo->setObjectName(u"lblTitolo"_s);
    QFont titleFont(u"Arial"_s, 16);
    titleFont.setBold(true);
    lblTitolo->setFont(titleFont);
    QPalette blue = lblTitolo->palette();
    blue.setColor(QPalette::WindowText, QColor(0x1F, 0x4E, 0x8C));
    lblTitolo->setPalette(blue);
    lblTitolo->setGeometry(20, 14, 600, 30);

    imgGuida = new PictureButton(this, u"imgGuida"_s, u"guida"_s, QSize(40, 40), u"Guida"_s);
    imgGuida->move(kWindow.width() - 60, 10);

    lblCartella = new QLabel(this);
    lblCartella->setObjectName(u"lblCartella"_s);
    lblCartella->setWordWrap(true);
    if (Store::current().shared())
        lblCartella->setText(u"L'archivio condiviso è in uso: le sue copie non vengono salvate "
                             u"a ogni avvio, ma solo con «Salva copia ora» e «Salva copia "
                             u"in...», nella cartella "_s +
                             QDir::toNativeSeparators(BackupCopy::folderIn(dataFolder())) +
                             u" o dove si sceglie."_s);
    else
        lblCartella->setText(
            u"Una copia di tutti i dati viene salvata a ogni avvio nella cartella "_s +
            QDir::toNativeSeparators(BackupCopy::folderIn(dataFolder())) +
            u". Solo una copia su una chiavetta USB o su un altro disco protegge "
            u"i dati da un guasto del disco."_s);
    lblCartella->setGeometry(20, 50, kWindow.width() - 40, 40);

    lstCopie = new QListView(this);
    lstCopie->setObjectName(u"lstCopie"_s);
    lstCopie->setAccessibleName(u"Copie di sicurezza"_s);
    lstCopie->setModel(m_model);
    lstCopie->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstCopie->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCopie->setUniformItemSizes(true);
    QFont listFont(u"Courier New"_s, 10);
    listFont.setBold(true);
    lstCopie->setFont(listFont);
    lstCopie->setGeometry(20, 104, 470, 310);
    FocusHighlight::attach(lstCopie, u"effCopie"_s);

    const int x = 510, w = kWindow.width() - x - 20;
    btnSalvaCopia = commandButton(this, u"btnSalvaCopia"_s, u"Salva copia ora"_s);
    btnSalvaCopia->setGeometry(x, 104, w, 40);
    btnCopiaIn = commandButton(this, u"btnCopiaIn"_s, u"Salva copia in..."_s);
    btnCopiaIn->setGeometry(x, 154, w, 40);
    btnRipristina = commandButton(this, u"btnRipristina"_s, u"Ripristina"_s);
    btnRipristina->setGeometry(x, 224, w, 40);
    btnRipristinaDa = commandButton(this, u"btnRipristinaDa"_s, u"Ripristina da file..."_s);
    btnRipristinaDa->setGeometry(x, 274, w, 40);
    btnChiudi = commandButton(this, u"btnChiudi"_s, u"Chiudi"_s);
    btnChiudi->setGeometry(x, 374, w, 40);

    panInfo = new StatusLine(this, QString());
    panInfo->setObjectName(u"panInfo"_s);
    panInfo->setGeometry(0, kWindow.height() - 26, kWindow.width(), 26);

    m_hints = new HoverHints(panInfo);
    m_hints->add(lstCopie, u"Le copie di sicurezza salvate, dalla più recente."_s);
    m_hints->add(btnSalvaCopia, u"Salva subito una copia di sicurezza di tutti i dati."_s);
    m_hints->add(btnCopiaIn,
                 u"Salva una copia di sicurezza dei dati su una chiavetta USB, su un altro "
                 u"disco o in rete."_s);
    m_hints->add(btnRipristina, u"Ripristina i dati della copia scelta nell'elenco."_s);
    m_hints->add(btnRipristinaDa, u"Ripristina i dati di una copia scelta da un file."_s);
    m_hints->add(btnChiudi, u"Chiude questa finestra."_s);
    m_hints->add(imgGuida, u"Visualizza la pagina della guida sensibile al contesto."_s);
    for (QWidget *area : {static_cast<QWidget *>(this), static_cast<QWidget *>(lblTitolo),
                          static_cast<QWidget *>(lblCartella), static_cast<QWidget *>(panInfo)})
        m_hints->blank(area);

    CommandKeys::assign(btnSalvaCopia, QKeySequence(Qt::CTRL | Qt::Key_S));
    CommandKeys::assign(btnCopiaIn, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    CommandKeys::assign(btnRipristina, QKeySequence(Qt::CTRL | Qt::Key_R));
    CommandKeys::assign(btnRipristinaDa, QKeySequence(Qt::CTRL | Qt::Key_O));
    imgGuida->setKey(QKeySequence(Qt::Key_F1));

    connect(btnSalvaCopia, &QPushButton::clicked, this, &TfrmCopie::btnSalvaCopiaClick);
    connect(btnCopiaIn, &QPushButton::clicked, this, &TfrmCopie::btnCopiaInClick);
    connect(btnRipristina, &QPushButton::clicked, this, &TfrmCopie::btnRipristinaClick);
    connect(btnRipristinaDa, &QPushButton::clicked, this, &TfrmCopie::btnRipristinaDaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(imgGuida, &PictureButton::clicked, this, &TfrmCopie::imgGuidaClick);
    connect(lstCopie, &QListView::doubleClicked, this, &TfrmCopie::btnRipristinaClick);
    ListKeys::install(lstCopie, [this] { btnRipristinaClick(); });

    setTabOrder(lstCopie, btnSalvaCopia);
    setTabOrder(btnSalvaCopia, btnCopiaIn);
    setTabOrder(btnCopiaIn, btnRipristina);
    setTabOrder(btnRipristina, btnRipristinaDa);
    setTabOrder(btnRipristinaDa, btnChiudi);

    refresh();
}

void TfrmCopie::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    QDialog::showEvent(event);
    lstCopie->setFocus(Qt::OtherFocusReason);
}

void TfrmCopie::refresh()
{
    m_copies = BackupCopy::list(dataFolder());
    QStringList lines;
    for (const BackupCopy::Listed &copy : m_copies)
        lines.append(lineFor(copy));
    m_model->setStringList(lines);
    if (!m_copies.isEmpty())
        lstCopie->setCurrentIndex(m_model->index(0));
    connect(lstCopie->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfrmCopie::selectionChange, Qt::UniqueConnection);
    selectionChange();
}

void TfrmCopie::selectionChange()
{
    btnRipristina->setEnabled(lstCopie->selectionModel()->hasSelection());
}

bool TfrmCopie::saveTo(const QString &target)
{
    const QString folder = dataFolder();
    const QDateTime now = QDateTime::currentDateTime();
    Store::SharedBackend *shared = sharedInUse();
    const BackupCopy::Outcome outcome = ProgressWindow::run(
        this, u"Copia di sicurezza dei dati in corso..."_s,
        [&](ProgressCount &count) {
            if (shared)
                return writeShared(*shared, folder, target, now, count);
            return BackupCopy::write(folder, target, BackupCopy::Kind::Kept, now, reportTo(count));
        },
        kWindowDelayMs);
    if (!outcome.ok)
        Dialogs::warning(this, withReason(saveFailure(), outcome.error));
    return outcome.ok;
}

void TfrmCopie::btnSalvaCopiaClick()
{
    const QString target = BackupCopy::newCopyPath(BackupCopy::folderIn(dataFolder()),
                                                   QDateTime::currentDateTime());
    if (!saveTo(target))
        return;
    refresh();
    for (qsizetype i = 0; i < m_copies.size(); ++i) {
        if (m_copies.at(i).path == target)
            lstCopie->setCurrentIndex(m_model->index(int(i)));
    }
}

void TfrmCopie::btnCopiaInClick()
{
    const QString proposed =
        QDir::home().filePath(BackupCopy::fileNameFor(QDateTime::currentDateTime()));
    QString target = Dialogs::seam().saveFileName(this, u"Salva la copia di sicurezza in:"_s,
                                                  proposed, u"Copie di sicurezza (*.zip)"_s);
    if (target.isEmpty())
        return;
    if (!target.endsWith(u".zip"_s, Qt::CaseInsensitive))
        target += u".zip"_s;
    if (saveTo(target))
        refresh();
}

void TfrmCopie::btnRipristinaClick()
{
    const QModelIndex current = lstCopie->currentIndex();
    if (!current.isValid() || !lstCopie->selectionModel()->isSelected(current) ||
        current.row() >= m_copies.size())
        return;
    restoreFrom(m_copies.at(current.row()).path);
}

void TfrmCopie::btnRipristinaDaClick()
{
    const QString chosen =
        Dialogs::seam().openFileName(this, u"Scegliere la copia di sicurezza da ripristinare:"_s,
                                     BackupCopy::folderIn(dataFolder()),
                                     u"Copie di sicurezza (*.zip);;Tutti i file (*)"_s);
    if (!chosen.isEmpty())
        restoreFrom(chosen);
}

void TfrmCopie::restoreFrom(const QString &path)
{
    if (Store::current().shared()) {
        Dialogs::warning(this, restoreFolderOnly());
        return;
    }
    const QString folder = dataFolder();
    BackupCopy::Summary found;
    const BackupCopy::Outcome checked = ProgressWindow::run(
        this, u"Controllo della copia di sicurezza in corso..."_s,
        [&](ProgressCount &count) {
            return BackupCopy::check(path, folder, &found, reportTo(count));
        },
        kWindowDelayMs);
    if (!checked.ok) {
        Dialogs::warning(this,
                         checked.error == BackupCopy::noRoomReason() ? noRoom() : invalidCopy());
        return;
    }
    if (!Dialogs::question(this, restoreQuestion(found)))
        return;

    // The data as they are now go into a copy of their own first: without it nothing is
    // restored.
    const QDateTime now = QDateTime::currentDateTime();
    const QString safety = BackupCopy::newCopyPath(BackupCopy::folderIn(folder), now);
    struct Steps {
        BackupCopy::Outcome safety, restore;
    };
    const Steps steps = ProgressWindow::run(
        this, u"Ripristino dei dati in corso..."_s,
        [&](ProgressCount &count) {
            // Two halves of one bar: the copy of the current data, then the restore.
            Steps s;
            s.safety = BackupCopy::write(folder, safety, BackupCopy::Kind::Kept, now,
                                         [&count](qint64 done, qint64 total) {
                                             count.setTotal(2 * total);
                                             count.setDone(done);
                                         });
            if (s.safety.ok)
                s.restore = BackupCopy::restore(path, folder, [&count](qint64 done, qint64 total) {
                    count.setTotal(2 * total);
                    count.setDone(total + done);
                });
            return s;
        },
        kWindowDelayMs);
    refresh();
    if (!steps.safety.ok) {
        Dialogs::warning(this, withReason(safetyCopyFailure(), steps.safety.error));
        return;
    }
    if (!steps.restore.ok) {
        Dialogs::warning(this, withReason(restoreFailure(), steps.restore.error));
        return;
    }
    Dialogs::information(this, restored());
}

void TfrmCopie::imgGuidaClick() { TfrmGuida::showTopic(this, HelpTexts::Topic::Copie); }
