#include "warehouse/schedaprodotto.h"

#include "common/storedtext.h"

#include <algorithm>

namespace {

using S = TSchedaProdotto;

constexpr std::array<S::Field, S::FieldCount> kFields = {{
    {"Codice", 25, 0, &S::Codice},
    {"Costo", 12, 26, &S::Costo},
    {"Nome", 50, 39, &S::Nome},
    {"Giacenza", 4, 90, &S::Giacenza},
    {"Avviso", 3, 95, &S::Avviso},
    {"UM", 120, 99, &S::UM},
    {"Tipologia", 50, 220, &S::Tipologia},
    {"Caratteristiche", 250, 271, &S::Caratteristiche},
    {"Collocazione", 50, 522, &S::Collocazione},
    {"Ditta", 50, 573, &S::Ditta},
    {"Agente", 50, 624, &S::Agente},
    {"Recapito", 30, 675, &S::Recapito},
    {"Documento", 50, 706, &S::Documento},
    {"Pagamento", 50, 757, &S::Pagamento},
    {"DataSca", 10, 808, &S::DataSca},
    {"Note", 250, 819, &S::Note},
    {"Prezzo", 12, 1070, &S::Prezzo},
    {"Pagato", 2, 1083, &S::Pagato},
    {"File01", 250, 1086, &S::File01},
    {"File02", 250, 1337, &S::File02},
    {"File03", 250, 1588, &S::File03},
    {"Desc01", 250, 1839, &S::Desc01},
    {"Desc02", 250, 2090, &S::Desc02},
    {"Desc03", 250, 2341, &S::Desc03},
}};

// The table must tile the record exactly: each field starts where the previous one ends.
constexpr bool tiles()
{
    int offset = 0;
    for (const S::Field &f : kFields) {
        if (f.offset != offset)
            return false;
        offset += f.capacity + 1;
    }
    return offset == S::Size;
}
static_assert(tiles(), "card fields must tile the 2592-byte record");

} // namespace

const std::array<TSchedaProdotto::Field, TSchedaProdotto::FieldCount> &TSchedaProdotto::fields()
{
    return kFields;
}

void TSchedaProdotto::encodeInto(char *out) const
{
    for (const Field &f : kFields)
        StoredText::encode(this->*f.member, f.capacity, out + f.offset);
}

QByteArray TSchedaProdotto::encode() const
{
    QByteArray bytes(Size, '\0');
    encodeInto(bytes.data());
    return bytes;
}

TSchedaProdotto TSchedaProdotto::decode(const char *record)
{
    TSchedaProdotto card;
    for (const Field &f : kFields)
        card.*f.member = StoredText::decode(record + f.offset, f.capacity);
    return card;
}

QString TSchedaProdotto::field(const char *record, Index index)
{
    const Field &f = kFields[static_cast<std::size_t>(index)];
    return StoredText::decode(record + f.offset, f.capacity);
}

QByteArrayView TSchedaProdotto::trimmedBytes(const char *record, Index index)
{
    const Field &f = kFields[static_cast<std::size_t>(index)];
    const auto *in = reinterpret_cast<const unsigned char *>(record + f.offset);
    int used = std::min<int>(in[0], f.capacity);
    const unsigned char *begin = in + 1;
    while (used > 0 && *begin <= 0x20) {
        ++begin;
        --used;
    }
    while (used > 0 && begin[used - 1] <= 0x20)
        --used;
    return QByteArrayView(reinterpret_cast<const char *>(begin), used);
}
