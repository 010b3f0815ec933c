#include "lists/xlsexport.h"

#include "common/durablefile.h"
#include "common/storedtext.h"
#include "lists/expgrid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

struct HeaderCell {
    const char *title; // UTF-8
    int width;
};

const std::array<HeaderCell, 17> kHeader = {{
    {"Codice articolo", 250},
    {"Costo unitario", 200},
    {"Nome prodotto", 250},
    {"Giacenza", 180},
    {"Aspetto esteriore del bene", 250},
    {"Categoria merceologica", 250},
    {"Caratteristiche", 350},
    {"Collocazione in magazzino", 250},
    {"Ditta fornitrice", 250},
    {"Agente", 250},
    {"Recapito telefonico", 200},
    {"Documento di acquisto", 250},
    {"Modalità di pagamento", 250},
    {"Data scadenza", 200},
    {"Note", 350},
    {"Prezzo di vendita", 200},
    {"Pagato", 150},
}};

// Everything before the header cells: the root element with the spreadsheet namespaces,
// the worksheet settings, and the opening of the table and of its header row.
constexpr const char *kOpening[] = {
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\">",
    "<head>",
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
    "<!--[if gte mso 9]><xml>",
    "<x:ExcelWorkbook>",
    "<x:ExcelWorksheets>",
    "<x:ExcelWorksheet>",
    "<x:Name>Magazzino Prodotti</x:Name>",
    "<x:WorksheetOptions>",
    "<x:Selected/>",
    "<x:Panes>",
    "<x:Pane>",
    "<x:Number>1</x:Number>",
    "<x:ActiveRow>3</x:ActiveRow>",
    "</x:Pane>",
    "</x:Panes>",
    "<x:ProtectContents>False</x:ProtectContents>",
    "<x:ProtectObjects>False</x:ProtectObjects>",
    "<x:ProtectScenarios>False</x:ProtectScenarios>",
    "</x:WorksheetOptions>",
    "</x:ExcelWorksheet>",
    "</x:ExcelWorksheets>",
    "</x:ExcelWorkbook>",
    "</xml><![endif]-->",
    "</head>",
    "<body>",
    "<table x:str>",
    "<tr>",
};

constexpr char kCellOpen[] = "<td style=\"text-align: left;\">";
constexpr char kCellClose[] = "</td>";

// The bytes written as entities, and what they become.
struct Entities {
    std::array<const char *, 256> text{};
    std::array<std::uint8_t, 256> size{};
    constexpr Entities()
    {
        text['&'] = "&amp;";
        size['&'] = 5;
        text['<'] = "&lt;";
        size['<'] = 4;
        text['>'] = "&gt;";
        size['>'] = 4;
    }
};
constexpr Entities kEntities;

// The most a cell of n bytes can take in the file.
constexpr qsizetype cellRoom(qsizetype n)
{
    return sizeof kCellOpen + sizeof kCellClose + 1 + 5 * n;
}

// Writes one cell from its trimmed Windows-1252 bytes at dst, which has room for it:
// "&", "<" and ">" as entities. Returns the end of what was written.
char *writeCell(char *dst, QByteArrayView bytes)
{
    std::memcpy(dst, kCellOpen, sizeof kCellOpen - 1);
    dst += sizeof kCellOpen - 1;
    // A spreadsheet evaluates a cell beginning with "=" as a formula, even in a table
    // marked as text; a leading no-break space (0xA0 in Windows-1252) keeps it text.
    if (!bytes.isEmpty() && bytes.front() == '=')
        *dst++ = '\xA0';
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
        const unsigned char c = in[i];
        if (kEntities.size[c] == 0) {
            *dst++ = static_cast<char>(c);
        } else {
            std::memcpy(dst, kEntities.text[c], kEntities.size[c]);
            dst += kEntities.size[c];
        }
    }
    std::memcpy(dst, kCellClose, sizeof kCellClose - 1);
    return dst + sizeof kCellClose - 1;
}

// Appends one cell to a growing text.
void appendCell(QByteArray &out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + cellRoom(bytes.size()));
    char *end = writeCell(out.data() + at, bytes);
    out.resize(end - out.constData());
}

// A cell of display text: trimmed of blanks and control characters, in the code page.
void appendTextCell(QByteArray &out, const QString &text)
{
    appendCell(out, StoredText::toCp1252(StoredText::trimBlanks(text)));
}

void appendOpening(QByteArray &out)
{
    for (const char *piece : kOpening)
        out.append(piece);
    for (const HeaderCell &cell : kHeader) {
        out.append("<td style=\"text-align: left; font-weight: bold;\" width=");
        out.append(QByteArray::number(cell.width));
        out.append('>');
        out.append(StoredText::toCp1252(QString::fromUtf8(cell.title)));
        out.append("</td>");
    }
    out.append("</tr>");
}

constexpr char kClosing[] = "</table></body></html>";

// The file is written in pieces of this size.
constexpr qsizetype kPiece = 4 << 20;

} // namespace

namespace XlsExport {

QString fileName() { return u"Magazzino.xls"_s; }

QByteArray document(const QList<QStringList> &rows)
{
    QByteArray out;
    out.reserve(4096 + rows.size() * 1024);
    appendOpening(out);
    for (const QStringList &row : rows) {
        out.append("<tr>");
        for (const QString &text : row)
            appendTextCell(out, text);
        out.append("</tr>");
    }
    out.append(kClosing);
    return out;
}

bool write(const QString &path, const ExportGridModel &grid,
           const std::function<void(qint64 done, qint64 total)> &progress)
{
    DurableFile::Writer file(path);
    if (!file.open())
        return false;
    // One piece is filled in place and written whenever it holds a few MiB; it has room for
    // one more row of the longest cells beyond that.
    qsizetype longestRow = 0;
    for (int c = 0; c < ExportGridModel::CardColumns; ++c)
        longestRow += cellRoom(255);
    QByteArray piece;
    appendOpening(piece);
    const qsizetype opening = piece.size();
    piece.resize(std::max(opening, kPiece) + longestRow + 64);
    char *const begin = piece.data();
    char *dst = begin + opening;
    const qint64 rows = grid.rows();
    QByteArray edited;
    for (qint64 row = 0; row < rows; ++row) {
        std::memcpy(dst, "<tr>", 4);
        dst += 4;
        for (int c = 0; c < ExportGridModel::CardColumns; ++c) {
            if (const QString *text = grid.editedCell(row, c)) {
                // A typed text may be longer than any stored field: it goes on its own.
                edited.resize(0);
                appendTextCell(edited, *text);
                if (!file.write(QByteArrayView(begin, dst - begin)) || !file.write(edited))
                    return false;
                dst = begin;
            } else {
                dst = writeCell(dst, grid.storedCell(row, c));
            }
        }
        std::memcpy(dst, "</tr>", 5);
        dst += 5;
        if (dst - begin >= kPiece) {
            if (!file.write(QByteArrayView(begin, dst - begin)))
                return false;
            dst = begin;
            if (progress)
                progress(row + 1, rows);
        }
    }
    std::memcpy(dst, kClosing, sizeof kClosing - 1);
    dst += sizeof kClosing - 1;
    if (!file.write(QByteArrayView(begin, dst - begin)))
        return false;
    if (progress)
        progress(rows, rows);
    return file.commit();
}

} // namespace XlsExport
