#include "warehouse/allegacartella.h"

#include "common/centring.h"
#include "common/dialogs.h"
#include "common/fieldtext.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "common/storedtext.h"
#include "common/tmisc.h"
#include "store/store.h"
#include "warehouse/magazzino.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int kGroupHeight = 118;
constexpr int kNameCapacity = 250;

// A name survives the card's save only when the record field can hold it as it is: at most
// its capacity, every character in Windows-1252, no blanks at either end.
bool storable(const QString &name)
{
    return name.size() <= kNameCapacity && StoredText::trimBlanks(name) == name &&
           StoredText::fromCp1252(StoredText::toCp1252(name)) == name;
}

QString folderPath() { return ProgramFolder::file(TfrmAllegaCartella::folderName()); }

} // namespace

QString TfrmAllegaCartella::overwriteQuestion()
{
    return u"Attenzione: nella cartella dei documenti allegati è presente un file con lo "
           u"stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"_s;
}

QString TfrmAllegaCartella::copyFailed()
{
    return u"Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
           u"allegati."_s;
}

QString TfrmAllegaCartella::refusedName()
{
    return u"Attenzione: il nome del file da allegare è troppo lungo o contiene caratteri non "
           u"ammessi."_s;
}

QString TfrmAllegaCartella::invalidStoredName()
{
    return u"Attenzione: il nome del file allegato non è valido."_s;
}

bool TfrmAllegaCartella::insideFolder(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s)
        return false;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)))
        return false;
    // What the name resolves to, by text alone: a file directly in the folder.
    const QString folder = QDir::cleanPath(QDir(folderPath()).absolutePath());
    const QString target = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
    return QFileInfo(target).absolutePath() == folder;
}

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmAllegaCartella"_s);
    setWindowTitle(u" Allega file"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(640, 420);

    buildGroup(0, lblCampo01, txtFile01, imgCancella01, btnSfoglia01, btnApri01, lblCampo02,
               txtDesc01);
    buildGroup(1, lblCampo03, txtFile02, imgCancella02, btnSfoglia02, btnApri02, lblCampo04,
               txtDesc02);
    buildGroup(2, lblCampo05, txtFile03, imgCancella03, btnSfoglia03, btnApri03, lblCampo06,
               txtDesc03);

    btnAnnulla = new QPushButton(u"Annulla"_s, this);
    btnAnnulla->setObjectName(u"btnAnnulla"_s);
    btnAnnulla->setGeometry(16, 374, 170, 32);
    btnApplica = new QPushButton(u"Applica e chiudi"_s, this);
    btnApplica->setObjectName(u"btnApplica"_s);
    btnApplica->setGeometry(454, 374, 170, 32);
    for (QPushButton *b : {btnAnnulla, btnApplica})
        b->setAutoDefault(false);
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(u"lblMemory"_s);
    lblMemory->hide();

    // The remove pictures follow their file names, so the keyboard reaches them too.
    const QList<QWidget *> tabs = {txtFile01,  imgCancella01, btnSfoglia01, btnApri01, txtDesc01,
                                   txtFile02,  imgCancella02, btnSfoglia02, btnApri02, txtDesc02,
                                   txtFile03,  imgCancella03, btnSfoglia03, btnApri03, txtDesc03,
                                   btnAnnulla, btnApplica};
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs[i], tabs[i + 1]);

    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnAnnulla, QKeySequence(Qt::Key_Escape));
    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
}

void TfrmAllegaCartella::buildGroup(int index, QLabel *&nameCaption, QLineEdit *&name,
                                    PictureButton *&remove, QPushButton *&browse,
                                    QPushButton *&open, QLabel *&descCaption, QLineEdit *&desc)
{
    const QString number = u"%1"_s.arg(index + 1, 2, 10, QChar(u'0'));
    const QString ordinal = u"%1°"_s.arg(index + 1);
    const int y = 12 + index * kGroupHeight;

    nameCaption = new QLabel(u"Nome %1 file allegato:"_s.arg(ordinal), this);
    nameCaption->setObjectName(u"lblCampo%1"_s.arg(index * 2 + 1, 2, 10, QChar(u'0')));
    nameCaption->setGeometry(16, y, 400, 18);

    name = new QLineEdit(this);
    name->setObjectName(u"txtFile"_s + number);
    name->setGeometry(16, y + 20, 418, 28);
    name->setReadOnly(true);
    QFont nameFont(u"Verdana"_s, 10);
    nameFont.setBold(true);
    name->setFont(nameFont);
    QPalette grey = name->palette();
    grey.setColor(QPalette::Base, QColor(0xE4, 0xE7, 0xEB));
    grey.setColor(QPalette::Text, QColor(0x55, 0x5B, 0x63));
    name->setPalette(grey);
    nameCaption->setBuddy(name);

    remove = new PictureButton(this, u"imgCancella"_s + number, u"allegati_cancella"_s,
                               QSize(22, 22), u"Rimuovi il %1 file allegato"_s.arg(ordinal));
    remove->move(440, y + 23);
    const QString removeHint = u"Toglie il nome del file; il file resta nella cartella."_s;
    remove->setToolTip(removeHint);
    remove->setAccessibleDescription(removeHint);
    remove->setFocusable(true);

    browse = new QPushButton(u"Sfoglia..."_s, this);
    browse->setObjectName(u"btnSfoglia"_s + number);
    browse->setGeometry(470, y + 19, 80, 30);
    browse->setAccessibleName(u"Sfoglia %1 file allegato"_s.arg(ordinal));
    open = new QPushButton(u"Apri"_s, this);
    open->setObjectName(u"btnApri"_s + number);
    open->setGeometry(556, y + 19, 68, 30);
    open->setAccessibleName(u"Apri %1 file allegato"_s.arg(ordinal));
    open->setEnabled(false);
    for (QPushButton *b : {browse, open})
        b->setAutoDefault(false);

    descCaption = new QLabel(u"Descrizione %1 file allegato:"_s.arg(ordinal), this);
    descCaption->setObjectName(u"lblCampo%1"_s.arg(index * 2 + 2, 2, 10, QChar(u'0')));
    descCaption->setGeometry(16, y + 56, 400, 18);

    desc = new QLineEdit(this);
    desc->setObjectName(u"txtDesc"_s + number);
    desc->setGeometry(16, y + 76, 608, 30);
    desc->setMaxLength(kNameCapacity);
    QFont descFont(u"Verdana"_s, 12);
    descFont.setBold(true);
    desc->setFont(descFont);
    descCaption->setBuddy(desc);

    QLineEdit *field = name;
    QPushButton *openButton = open;
    connect(name, &QLineEdit::textChanged, this,
            [this, field, openButton] { txtFileChange(field, openButton); });
    connect(remove, &QAbstractButton::clicked, this, [field] { field->clear(); });
    connect(browse, &QPushButton::clicked, this, [this, field] { btnSfogliaClick(field); });
    connect(open, &QPushButton::clicked, this, [this, field] { btnApriClick(field); });
}

void TfrmAllegaCartella::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the opener.
    if (!event->spontaneous())
        Centring::centre(this, Centring::On::Screen);
}

void TfrmAllegaCartella::txtFileChange(QLineEdit *name, QPushButton *open)
{
    open->setEnabled(!StoredText::trimBlanks(name->text()).isEmpty());
}

void TfrmAllegaCartella::btnSfogliaClick(QLineEdit *name)
{
    // "*" rather than "*.*": on systems whose file names need no extension, "*.*" would
    // hide every file without a dot, and this filter must show all files.
    const QString chosen = Dialogs::seam().openFileName(this, u"Selezionare il file da allegare:"_s,
                                                        QString(), u"Tutti i file (*)"_s);
    if (chosen.isEmpty())
        return;
    const QString fileName = QFileInfo(chosen).fileName();
    // The card keeps the bare name; one it could not keep as it is would point at nothing.
    if (!storable(fileName) || !insideFolder(fileName)) {
        Dialogs::warning(this, refusedName());
        return;
    }
    // A folder that cannot be made, or a symbolic link planted in it (or the folder itself
    // a link) that would have the copy land elsewhere: nothing is copied.
    Store::Documents &documents = Store::current().documents();
    const std::optional<bool> present = documents.exists(fileName);
    if (!present) {
        Dialogs::error(this, Store::failureText(copyFailed()));
        return;
    }
    if (*present && !Dialogs::destructiveQuestion(this, overwriteQuestion())) {
        // The name now refers to the file already in the folder.
        FieldText::fill(name, fileName);
        return;
    }
    if (!documents.copyIn(chosen, fileName)) {
        Dialogs::error(this, Store::failureText(copyFailed()));
        return;
    }
    FieldText::fill(name, fileName);
}

void TfrmAllegaCartella::btnApriClick(QLineEdit *name)
{
    const QString stored = StoredText::trimBlanks(name->text());
    // A name that would reach outside the folder, by its text or through a link planted
    // in the folder, opens nothing.
    if (!insideFolder(stored)) {
        Dialogs::warning(this, invalidStoredName());
        return;
    }
    const std::optional<QString> path = Store::current().documents().openablePath(stored);
    if (!path) {
        Dialogs::warning(this, Store::failureText(invalidStoredName()));
        return;
    }
    TMisc::Open(u'"' + QDir::toNativeSeparators(*path) + u'"');
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (StoredText::trimBlanks(lblMemory->text()) != u"magazzino"_s)
        return;
    if (TfrmMagazzino *card = screens().magazzino) {
        const std::pair<QLineEdit *, QLabel *> pairs[] = {
            {txtFile01, card->lblFile01}, {txtDesc01, card->lblDesc01},
            {txtFile02, card->lblFile02}, {txtDesc02, card->lblDesc02},
            {txtFile03, card->lblFile03}, {txtDesc03, card->lblDesc03},
        };
        for (const auto &[field, label] : pairs)
            label->setText(StoredText::trimBlanks(field->text()));
    }
    accept();
}
