#include "app/startup.h"

#include "app/archiviocondiviso.h"
#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/password.h"
#include "app/sharedsettingsfile.h"
#include "common/dialogs.h"
#include "common/photoframe.h"
#include "common/screens.h"
#include "lists/dasaldare.h"
#include "lists/expmagazzino.h"
#include "lists/menuriepilogo.h"
#include "lists/sottoscorta.h"
#include "lists/trovamagazzino.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/creacatalogo.h"
#include "pricelist/listinoprezzi.h"
#include "printing/anteprimamag.h"
#include "printing/cardsheet.h"
#include "printing/stampamag.h"
#include "store/folderstore.h"
#include "store/sharedstore.h"
#include "warehouse/magazzino.h"

#include <QLabel>
#include <QPixmap>

#include <memory>

namespace {

// Runs a modal dialog of type T over the card screen.
template<typename T> void runOver(TfrmMagazzino &cards)
{
    T dialog(&cards);
    dialog.exec();
}

// The card sheet screens get a copy of the photo on show and the card's data when the
// user confirms.
template<typename T> void runSheetOver(TfrmMagazzino &cards)
{
    T dialog(&cards, cards.imgFoto->picture(),
             [&cards] { return CardSheet::dataFrom(cards.sheetCard()); });
    dialog.exec();
}

} // namespace

void installOpeners()
{
    TfrmMagazzino::setOpeners({
        .search =
            [](TfrmMagazzino &cards) {
                TfrmTrovaMagazzino search(&cards);
                search.lblMemory->setText(TfrmTrovaMagazzino::tagMagazzino());
                search.exec();
            },
        .unpaid = runOver<TfrmDaSaldare>,
        .lowStock = runOver<TfrmSottoscorta>,
        .exporter = runOver<TfrmExpMagazzino>,
        .preview = runSheetOver<TfrmAnteprimaMag>,
        .print = runSheetOver<TfrmStampaMag>,
    });
}

void createScreens()
{
    installOpeners();
    ScreenRegistry &s = screens();
    s.password = new TfrmPassword;
    s.apriCatalogo = new TfrmApriCatalogo;
    s.avvio = new TfrmAvvio;
    s.hub = s.avvio;
    s.cambiaPassword = new TfrmCambiaPassword;
    s.creaCatalogo = new TfrmCreaCatalogo;
    s.listinoPrezzi = new TfrmListinoPrezzi;
    s.magazzino = new TfrmMagazzino;
    s.menuRiepilogo = new TfrmMenuRiepilogo;
}

void destroyScreens()
{
    ScreenRegistry &s = screens();
    delete s.menuRiepilogo;
    delete s.magazzino;
    delete s.listinoPrezzi;
    delete s.creaCatalogo;
    delete s.cambiaPassword;
    delete s.avvio;
    delete s.apriCatalogo;
    delete s.password;
    s = ScreenRegistry();
}

void chooseStore(QWidget *parent)
{
    const SharedSettingsFile::Content kept = SharedSettingsFile::read();
    switch (kept.state) {
    case SharedSettingsFile::State::Present:
        Store::setCurrent(std::make_unique<Store::SharedBackend>(kept.settings));
        return;
    case SharedSettingsFile::State::Damaged:
        Store::setCurrent(std::make_unique<Store::FolderBackend>());
        Dialogs::warning(parent, TfrmArchivioCondiviso::damagedFile());
        return;
    case SharedSettingsFile::State::Absent:
        Store::setCurrent(std::make_unique<Store::FolderBackend>());
        return;
    }
}

void startProgram()
{
    createScreens();
    screens().password->show();
}
