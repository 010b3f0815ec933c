#pragma once

#include "common/navigation.h"
#include "common/workscreen.h"
#include "pricelist/paginalistino.h"

#include <QByteArray>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
namespace Store {
class Pages;
}
class HoverHints;
class PictureButton;
class SlotListino;
struct PriceSheetData;
namespace RecordSteps {
struct Texts;
}

// The pages of one price list, browsed, filled and saved one at a time. The page being
// edited lives only in the controls; lblPosizione says which page it is (empty for a new
// page not yet in the file). The open screen hands over lblFile and lblNome.
class TfrmListinoPrezzi final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmListinoPrezzi();

    static QString accessError();
    static QString emptyListMessage();
    static QString photoDialogTitle();
    static QString photoDialogFilter();

    // Empties every slot, gives each the placeholder, empties the position and puts the
    // focus on slot A's name.
    void PulisciPagina();
    // Shows a page read from position p: the fields, the position, the page photos. Its
    // version is not known here, so a save overwrites the page without asking.
    void MostraPagina(const TPaginaListino &page, qint64 position);
    // The page as the slots hold it, as it would be stored.
    TPaginaListino paginaFromScreen() const;

    // The list file's path and the list name as the file operations use them; the store
    // knows the list by the file's name inside the program folder.
    QString listPath() const;
    QString listFileName() const;
    QString listName() const;
    QImage placeholder() const;

    // Slot k (A = 0 ... H = 7) with its controls.
    SlotListino *voce(int slot) const { return m_slots[static_cast<std::size_t>(slot)]; }

    QLabel *lblFile;
    QLabel *lblNome;
    QLabel *lblPosizione;
    QLabel *lblRecord;
    QLabel *imgBianco;
    QLabel *panInfo;
    QFrame *shpComandi;

    PictureButton *cmdNuovo, *cmdSalva, *cmdAnteprima, *cmdStampa, *cmdPrimo, *cmdIndietro,
        *cmdAvanti, *cmdUltimo, *cmdGuida, *cmdEsci;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildCommands();
    void buildSlots();
    void wireHints();

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    // Opens the list file and shows the page the step leads to, or tells why there is none.
    void navigate(Navigation::Step step);
    static RecordSteps::Texts stepTexts();
    void imgFotoClick(int slot);
    void impProdottoClick(int slot);
    void cmdAnteprimaClick();
    void cmdStampaClick();
    // Writes the eight print thumbnails and shows them in the slots.
    void writeThumbnails();
    // The page as the slots show it, for the printed sheet.
    PriceSheetData printData() const;

    // Reads page p from the open list, ends the action and shows the page with its photos;
    // the access error, and nothing changed, when the read fails.
    void showPage(Store::Pages &file, qint64 position);
    void showRead(const TPaginaListino &page, qint64 position, std::optional<qint64> version);
    // Writes the eight page photos of a position, encoded beforehand; false when any of
    // them failed.
    bool storePhotos(qint64 position,
                     const std::array<QByteArray, TPaginaListino::SlotCount> &photos);

    std::array<SlotListino *, TPaginaListino::SlotCount> m_slots{};
    HoverHints *m_hints;
    // The version of the page on show as the list had it; none for a new page.
    std::optional<qint64> m_version;
};
