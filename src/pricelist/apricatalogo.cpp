#include "pricelist/apricatalogo.h"
#include "pricelist/catalogheader.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/guida.h"
#include "common/listkeys.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "pricelist/elencolistini.h"
#include "pricelist/listinoprezzi.h"
#include "store/store.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QShowEvent>
#include <QStringListModel>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(620, 520);
constexpr QSize kButton(170, 40);

const QString kTagHub = u"avvio"_s;
const QString kTagList = u"listino"_s;

// The list files, each drawn in Courier New 14 black whatever the list box's own style.
class FilesModel final : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::FontRole) {
            QFont font(u"Courier New"_s);
            font.setPointSize(14);
            return font;
        }
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        return QStringListModel::data(index, role);
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QStringListModel::flags(index) & ~Qt::ItemIsEditable;
    }
};

QString noListsWarning() { return u"Attenzione: l'elenco non contiene nessun listino prezzi."_s; }

} // namespace

QString TfrmApriCatalogo::countLine(qsizetype lists)
{
    return u"Sono stati creati "_s + QString::number(lists) + u" listini prezzi."_s;
}

TfrmApriCatalogo::TfrmApriCatalogo()
    : WorkScreen(u"TfrmApriCatalogo"_s, u" Scaffaria - Apertura listino prezzi"_s, kPanel)
{
    useGradientBackground();
    QWidget *p = panel();

    const CatalogHeader header(
        p, u"intestazione_apricatalogo"_s, u"Apertura listino prezzi"_s,
        u"Selezionare il listino prezzi dall'elenco e premere il pulsante "
        u"Apri archivio.\nIl pulsante del cestino elimina il listino "
        u"selezionato.\nPremere Annulla per uscire senza aprire un listino."_s);
    imgIntestazione = header.imgIntestazione;
    imgGuida = header.imgGuida;
    icoIstruzioni = header.icoIstruzioni;

    btnElimina = new PictureButton(p, u"btnElimina"_s, u"listino_cestino"_s, QSize(32, 32),
                                   u"Elimina listino"_s);
    btnElimina->move(10, 150);
    btnElimina->setToolTip(u"Elimina il listino prezzi selezionato."_s);
    btnElimina->setAccessibleDescription(btnElimina->toolTip());

    m_files = new FilesModel(this);
    lstFiles = new QListView(p);
    lstFiles->setObjectName(u"lstFiles"_s);
    lstFiles->setAccessibleName(u"Elenco dei listini prezzi"_s);
    lstFiles->setModel(m_files);
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFiles->setUniformItemSizes(true);
    lstFiles->setGeometry(10, 186, 600, 220);
    // Enter or a double-click on a list opens it, as Apri archivio does.
    ListKeys::install(lstFiles, [this] { btnApriClick(); });
    connect(lstFiles, &QAbstractItemView::doubleClicked, this, [this] { btnApriClick(); });

    lblCreati = new QLabel(countLine(0), p);
    lblCreati->setObjectName(u"lblCreati"_s);
    lblCreati->setGeometry(10, 412, 600, 24);
    QFont verdana(u"Verdana"_s);
    verdana.setPointSize(12);
    lblCreati->setFont(verdana);
    QPalette green = lblCreati->palette();
    green.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
    lblCreati->setPalette(green);

    btnApri = new PictureButton(p, u"btnApri"_s, u"listino_apri"_s, kButton, u"Apri archivio"_s);
    btnAnnulla = new PictureButton(p, u"btnAnnulla"_s, u"listino_annulla"_s, kButton, u"Annulla"_s);
    btnApri->move(120, 456);
    btnAnnulla->move(330, 456);

    lblFile = new QLabel(p);
    lblFile->setObjectName(u"lblFile"_s);
    lblFile->hide();
    lblMemory = new QLabel(kTagHub, p);
    lblMemory->setObjectName(u"lblMemory"_s);
    lblMemory->hide();

    connect(btnApri, &QAbstractButton::clicked, this, &TfrmApriCatalogo::btnApriClick);
    connect(btnElimina, &QAbstractButton::clicked, this, &TfrmApriCatalogo::btnEliminaClick);
    connect(btnAnnulla, &QAbstractButton::clicked, this, &QWidget::close);
    btnAnnulla->setKey(QKeySequence(Qt::Key_Escape));
    btnElimina->setKey(QKeySequence(Qt::Key_Delete));
}

void TfrmApriCatalogo::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    if (!event->spontaneous())
        RiempiElenco();
}

void TfrmApriCatalogo::RiempiElenco()
{
    lblMemory->setText(kTagHub);
    lblFile->setText(ProgramFolder::path());
    showLists();
}

void TfrmApriCatalogo::showLists()
{
    const std::optional<QStringList> names = Store::current().priceLists().names();
    m_files->setStringList(names.value_or(QStringList()));
    lblCreati->setText(countLine(m_files->rowCount()));
    // The folder always gives its lists; a store that cannot says why.
    if (!names && !Store::failureText(QString()).isEmpty())
        Dialogs::error(this, Store::failureText(QString()));
}

QString TfrmApriCatalogo::selectedItem() const
{
    const QModelIndexList selected = lstFiles->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void TfrmApriCatalogo::btnApriClick()
{
    if (m_files->rowCount() == 0) {
        Dialogs::warning(this, noListsWarning());
        return;
    }
    const QString item = selectedItem();
    if (item.isEmpty()) {
        Dialogs::warning(this, u"Attenzione: selezionare il listino prezzi dall'elenco prima di "
                               u"premere il pulsante Apri archivio."_s);
        return;
    }
    lblFile->setText(ElencoListini::pathOf(item));
    lblMemory->setText(kTagList);
    close();
}

void TfrmApriCatalogo::btnEliminaClick()
{
    if (m_files->rowCount() == 0) {
        Dialogs::warning(this, noListsWarning());
        return;
    }
    const QString item = selectedItem();
    if (item.isEmpty()) {
        Dialogs::warning(this,
                         u"Attenzione: selezionare dall'elenco il listino prezzi da eliminare "
                         u"prima di premere il pulsante del cestino."_s);
        return;
    }
    if (!Dialogs::destructiveQuestion(
            this, u"Si sta per eliminare il listino prezzi selezionato. Si ricorda "
                  u"che il file eliminato non potrà essere recuperato.\r\n\r\nSi "
                  u"conferma l'eliminazione dell'archivio?"_s))
        return;
    lblFile->setText(ElencoListini::pathOf(item));
    if (Store::current().priceLists().remove(item))
        Dialogs::information(this, u"Il listino prezzi è stato eliminato con successo."_s);
    else
        Dialogs::error(this, u"Attenzione: non è stato possibile eliminare il listino prezzi "
                             u"selezionato."_s);
    lblMemory->setText(kTagHub);
    lblFile->clear();
    // The list shows what is really stored, a file that would not go away included.
    showLists();
}

void TfrmApriCatalogo::closeEvent(QCloseEvent *event)
{
    event->accept();
    TfrmListinoPrezzi *page = screens().listinoPrezzi;
    const QString item = selectedItem();
    if (lblMemory->text() != kTagList || !page || item.isEmpty()) {
        returnToHub(this);
        return;
    }
    page->lblFile->setText(ElencoListini::pathOf(item));
    page->lblNome->setText(ElencoListini::nameOf(item));
    page->showMaximized();
    hide();
}
