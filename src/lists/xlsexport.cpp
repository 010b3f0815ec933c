#include "lists/xlsexport.h"

#include "common/durablefile.h"
#include "common/storedtext.h"
#include "lists/expgrid.h"

#include <array>

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

// Appends one cell from its trimmed Windows-1252 bytes: "&", "<" and ">" as entities.
void appendCell(QByteArray &out, QByteArrayView bytes)
{
    out.append(kCellOpen, sizeof kCellOpen - 1);
    // A spreadsheet evaluates a cell beginning with "=" as a formula, even in a table
    // marked as text; a leading no-break space (0xA0 in Windows-1252) keeps it text.
    if (!bytes.isEmpty() && bytes.front() == '=')
        out.append('\xA0');
    qsizetype plain = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '&' && c != '<' && c != '>')
            continue;
        out.append(bytes.data() + plain, i - plain);
        out.append(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
        plain = i + 1;
    }
    out.append(bytes.data() + plain, bytes.size() - plain);
    out.append(kCellClose, sizeof kCellClose - 1);
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
    QByteArray piece;
    piece.reserve(kPiece + (64 << 10));
    appendOpening(piece);
    const qint64 rows = grid.rows();
    for (qint64 row = 0; row < rows; ++row) {
        piece.append("<tr>");
        for (int c = 0; c < ExportGridModel::CardColumns; ++c) {
            if (const QString *edited = grid.editedCell(row, c))
                appendTextCell(piece, *edited);
            else
                appendCell(piece, grid.storedCell(row, c));
        }
        piece.append("</tr>");
        if (piece.size() >= kPiece) {
            if (!file.write(piece))
                return false;
            piece.resize(0);
            if (progress)
                progress(row + 1, rows);
        }
    }
    piece.append(kClosing);
    if (!file.write(piece))
        return false;
    if (progress)
        progress(rows, rows);
    return file.commit();
}

} // namespace XlsExport
