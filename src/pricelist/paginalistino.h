#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <array>

// One product slot of a price-list page: five fixed-capacity text fields, 462 bytes on disk,
// each field a length byte followed by its capacity in Windows-1252 bytes.
struct TVoceListino {
    static constexpr int Size = 462;
    static constexpr int FieldCount = 5;

    QString Codice;
    QString Nome;
    QString UM;
    QString Caratteristiche;
    QString Prezzo;

    struct Field {
        const char *name;
        int capacity;
        int offset;
        QString TVoceListino::*member;
    };
    // In file order: code, name, appearance, features, price.
    static const std::array<Field, FieldCount> &fields();

    // What a slot without a product holds: four empty texts and the price "0,00".
    static TVoceListino empty();

    void encodeInto(char *out) const;
    static TVoceListino decode(const char *slot);

    bool operator==(const TVoceListino &) const = default;
};

// One page of a price list: the slots A to H one after another, 3696 bytes.
struct TPaginaListino {
    static constexpr int SlotCount = 8;
    static constexpr int Size = SlotCount * TVoceListino::Size;

    std::array<TVoceListino, SlotCount> Voci;

    // The letter of slot k (A for 0 ... H for 7).
    static QChar letter(int slot) { return QChar(u'A' + slot); }

    QByteArray encode() const;
    // Reads a whole page from Size bytes.
    static TPaginaListino decode(const char *record);

    bool operator==(const TPaginaListino &) const = default;
};
