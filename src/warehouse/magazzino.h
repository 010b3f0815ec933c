#pragma once

#include "common/navigation.h"
#include "common/workscreen.h"
#include "warehouse/schedaprodotto.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QStringView>

#include <functional>
#include <optional>
#include <span>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class HoverHints;
class PhotoFrame;
class PictureButton;
namespace RecordSteps {
struct Texts;
}
namespace Store {
class Cards;
}

// The warehouse card screen: one product card at a time, paged through in file order.
// The card being edited lives only in the controls; lblPosizione says which card it is
// (empty for a new card not yet in the archive).
class TfrmMagazzino final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmMagazzino();

    // Shows a card of a list at position p: fields, paid box, attachments, position, and
    // the photo read from the archive with the card's version.
    void MostraScheda(const TSchedaProdotto &card, qint64 position);
    // Prepares an empty new card and puts the focus on txtCodice.
    void PulisciScheda();

    static QString accessError();
    static QString emptyArchiveMessage();
    static QString tooLargeAmount();
    static QString tooLargeQuantity();

    // The card as the controls hold it, as it would be stored.
    TSchedaProdotto cardFromScreen() const;
    // The card as the card sheet prints it, read when the user confirms the sheet: an
    // empty stock or cost prints as zero, and the screen shows that zero too.
    TSchedaProdotto sheetCard();

    // How an edit field takes what is typed.
    enum class Entry {
        Text,     // any text up to the record field's capacity
        Amount,   // money with the decimal comma, set to two decimals on leaving
        Quantity, // a whole number, set to digits on leaving
        Date,     // read-only: any key opens the calendar, Backspace and Delete empty it
    };
    // One edit field of the card: the record field it shows (its name gives the control's
    // name after "txt", its capacity the field's maximum length), where it sits, and what
    // a save requires of it. The table, in record order, makes the fields, shows, clears
    // and reads the card, and gives the Enter chain and the Tab order.
    struct CardField {
        QLineEdit *TfrmMagazzino::*edit;
        TSchedaProdotto::Index field;
        QStringView caption;
        QRect box;
        QPoint labelAt;
        Entry entry;
        QStringView missing; // the warning when a save finds it blank; empty when optional
    };
    static std::span<const CardField> cardFields();
    // The hidden labels that carry the card's attachments, with their record fields.
    struct AttachmentField {
        QLabel *TfrmMagazzino::*label;
        TSchedaProdotto::Index field;
    };
    static std::span<const AttachmentField> attachmentFields();

    // The dialogs this screen opens that belong to higher layers (the lists, the export,
    // the card sheet). Start-up installs them once for every card screen; each receives
    // the screen that asks, as the dialog's parent and the source of what it shows. A
    // command whose opener is missing does nothing.
    struct Openers {
        std::function<void(TfrmMagazzino &)> search;   // btnTrova
        std::function<void(TfrmMagazzino &)> unpaid;   // btnScaduti
        std::function<void(TfrmMagazzino &)> lowStock; // btnSottoscorta
        std::function<void(TfrmMagazzino &)> exporter; // btnEsporta
        std::function<void(TfrmMagazzino &)> preview;  // btnAnteprima
        std::function<void(TfrmMagazzino &)> print;    // btnStampa
    };
    static void setOpeners(Openers openers);

    // Edit fields, in record order.
    QLineEdit *txtCodice, *txtCosto, *txtNome, *txtGiacenza, *txtAvviso, *txtUM, *txtTipologia,
        *txtCaratteristiche, *txtCollocazione, *txtDitta, *txtAgente, *txtRecapito, *txtDocumento,
        *txtPagamento, *txtDataSca, *txtNote, *txtPrezzo;
    QCheckBox *chkPagato;
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;
    QLabel *lblPosizione;
    PhotoFrame *imgFoto;
    QLabel *imgBianco;
    QLabel *imgIntestazione;
    QLabel *panInfo;

    PictureButton *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo;
    PictureButton *btnNuovo, *btnDuplica, *btnSalva, *btnTrova, *btnAllegati, *btnAnteprima,
        *btnStampa, *btnScaduti, *btnSottoscorta, *btnEsporta, *btnGuida, *btnEsci;
    PictureButton *btnCaricaFoto, *btnAcquisisciFoto, *btnSalvaFoto, *btnZoomFoto, *btnCancFoto;
    PictureButton *delDataSca;
    QPushButton *btnAggiungi, *btnSottrai;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addField(const CardField &field);
    // The controls that follow an edit field in the Tab order before the next field.
    QList<QWidget *> tabCompanions(const QLineEdit *field) const;
    void buildLayout();
    void buildCommands();
    void wireHints();

    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    // Opens the archive and shows the card the step leads to, or tells why there is none.
    void navigate(Navigation::Step step);
    static RecordSteps::Texts stepTexts();
    void btnNuovoClick();
    void btnSalvaClick();
    void btnDuplicaClick();
    void btnAggiungiClick();
    void btnSottraiClick();
    void delDataScaClick();
    void btnTrovaClick();
    void btnScadutiClick();
    void btnSottoscortaClick();
    void btnEsportaClick();
    void btnGuidaClick();
    // Photo and attachment commands.
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnAcquisisciFotoClick();
    void btnAllegatiClick();
    void btnAnteprimaClick();
    void btnStampaClick();
    void txtDataScaKeyDown();
    // The amount rule on leaving txtCosto or txtPrezzo; an amount too large for its record
    // field is refused and the field keeps what was typed.
    void amountExit(QLineEdit *field);
    // The quantity rule on leaving txtGiacenza or txtAvviso; a number too long for its
    // record field is refused and the field keeps what was typed.
    void quantityExit(QLineEdit *field);
    void openStockDialog(const QString &operation);

    // Reads card k and its photo from the open archive, ends the action and shows them;
    // the access error, and nothing changed, when the archive fails.
    void showCard(Store::Cards &archive, qint64 position);
    void showRead(const TSchedaProdotto &card, qint64 position, std::optional<qint64> version,
                  const std::optional<QByteArray> &photo);
    QImage placeholder() const;
    void clearAttachments();

    HoverHints *m_hints;
    // The version of the card on show as the archive had it; none for a new card.
    std::optional<qint64> m_version;
};
