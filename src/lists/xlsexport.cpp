#include "lists/xlsexport.h"

#include "common/durablefile.h"
#include "common/storedtext.h"

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

QByteArray cellText(const QString &text)
{
    QByteArray bytes = StoredText::toCp1252(StoredText::trimBlanks(text));
    if (bytes.contains('&'))
        bytes.replace("&", "&amp;");
    if (bytes.contains('<'))
        bytes.replace("<", "&lt;");
    if (bytes.contains('>'))
        bytes.replace(">", "&gt;");
    // A spreadsheet evaluates a cell beginning with "=" as a formula, even in a table
    // marked as text; a leading no-break space (0xA0 in Windows-1252) keeps it text.
    if (bytes.startsWith('='))
        bytes.prepend('\xA0');
    return bytes;
}

} // namespace

namespace XlsExport {

QString fileName() { return u"Magazzino.xls"_s; }

QByteArray document(const QList<QStringList> &rows)
{
    QByteArray out;
    out.reserve(4096 + rows.size() * 1024);
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
    for (const QStringList &row : rows) {
        out.append("<tr>");
        for (const QString &text : row) {
            out.append("<td style=\"text-align: left;\">");
            out.append(cellText(text));
            out.append("</td>");
        }
        out.append("</tr>");
    }
    out.append("</table></body></html>");
    return out;
}

bool write(const QString &path, const QList<QStringList> &rows)
{
    return DurableFile::writeWhole(path, document(rows));
}

} // namespace XlsExport
