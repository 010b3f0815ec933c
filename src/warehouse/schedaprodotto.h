#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

// One product card of the warehouse archive: 24 fixed-capacity text fields, 2592 bytes on
// disk, each field a length byte followed by its capacity in Windows-1252 bytes.
struct TSchedaProdotto {
    static constexpr int Size = 2592;
    static constexpr int FieldCount = 24;

    QString Codice;
    QString Costo;
    QString Nome;
    QString Giacenza;
    QString Avviso;
    QString UM;
    QString Tipologia;
    QString Caratteristiche;
    QString Collocazione;
    QString Ditta;
    QString Agente;
    QString Recapito;
    QString Documento;
    QString Pagamento;
    QString DataSca;
    QString Note;
    QString Prezzo;
    QString Pagato;
    QString File01;
    QString File02;
    QString File03;
    QString Desc01;
    QString Desc02;
    QString Desc03;

    // The stored form of the paid flag.
    static QString paidYes() { return QStringLiteral("Sì"); }
    static QString paidNo() { return QStringLiteral("No"); }

    struct Field {
        const char *name;
        int capacity;
        int offset;
        QString TSchedaProdotto::*member;
    };
    static const std::array<Field, FieldCount> &fields();

    // Field numbers, in record order, for reading single fields from raw records.
    enum Index {
        iCodice,
        iCosto,
        iNome,
        iGiacenza,
        iAvviso,
        iUM,
        iTipologia,
        iCaratteristiche,
        iCollocazione,
        iDitta,
        iAgente,
        iRecapito,
        iDocumento,
        iPagamento,
        iDataSca,
        iNote,
        iPrezzo,
        iPagato,
        iFile01,
        iFile02,
        iFile03,
        iDesc01,
        iDesc02,
        iDesc03
    };

    QByteArray encode() const;
    void encodeInto(char *out) const;
    // Reads a whole record from Size bytes.
    static TSchedaProdotto decode(const char *record);
    // Reads one field of a raw record without decoding the others.
    static QString field(const char *record, Index index);
    // The stored bytes of one field of a raw record, trimmed of blanks and control
    // characters. Each Windows-1252 byte is one character and the bytes up to 0x20 are
    // exactly the characters up to U+0020, so these bytes are the loaded text's.
    static QByteArrayView trimmedBytes(const char *record, Index index);
};
