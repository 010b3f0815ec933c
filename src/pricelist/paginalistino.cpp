#include "pricelist/paginalistino.h"

#include "common/storedtext.h"

namespace {

using V = TVoceListino;

constexpr std::array<V::Field, V::FieldCount> kFields = {{
    {"Codice", 25, 0, &V::Codice},
    {"Nome", 50, 26, &V::Nome},
    {"UM", 120, 77, &V::UM},
    {"Caratteristiche", 250, 198, &V::Caratteristiche},
    {"Prezzo", 12, 449, &V::Prezzo},
}};

// The table must tile the slot exactly: each field starts where the previous one ends.
constexpr bool tiles()
{
    int offset = 0;
    for (const V::Field &f : kFields) {
        if (f.offset != offset)
            return false;
        offset += f.capacity + 1;
    }
    return offset == V::Size;
}
static_assert(tiles(), "slot fields must tile the 462-byte slot");
static_assert(TPaginaListino::Size == 3696);

} // namespace

const std::array<TVoceListino::Field, TVoceListino::FieldCount> &TVoceListino::fields()
{
    return kFields;
}

TVoceListino TVoceListino::empty()
{
    TVoceListino slot;
    slot.Prezzo = QStringLiteral("0,00");
    return slot;
}

void TVoceListino::encodeInto(char *out) const
{
    for (const Field &f : kFields)
        StoredText::encode(this->*f.member, f.capacity, out + f.offset);
}

TVoceListino TVoceListino::decode(const char *slot)
{
    TVoceListino voce;
    for (const Field &f : kFields)
        voce.*f.member = StoredText::decode(slot + f.offset, f.capacity);
    return voce;
}

QByteArray TPaginaListino::encode() const
{
    QByteArray bytes(Size, '\0');
    for (int k = 0; k < SlotCount; ++k)
        Voci[static_cast<std::size_t>(k)].encodeInto(bytes.data() + k * TVoceListino::Size);
    return bytes;
}

TPaginaListino TPaginaListino::decode(const char *record)
{
    TPaginaListino page;
    for (int k = 0; k < SlotCount; ++k)
        page.Voci[static_cast<std::size_t>(k)] =
            TVoceListino::decode(record + k * TVoceListino::Size);
    return page;
}
