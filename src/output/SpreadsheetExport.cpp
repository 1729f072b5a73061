#include "SpreadsheetExport.h"

#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"

#include <cstring>

namespace spreadsheet {
namespace {

namespace D = DatabaseField;
namespace C = ClientField;

constexpr Column kDatabaseColumns[] = {
    {"Campo 1", 250, "Campo 1", 250, false, D::Campo01},
    {"Campo 2", 250, "Campo 2", 250, false, D::Campo02},
    {"Campo 3", 250, "Campo 3", 250, false, D::Campo03},
    {"Campo 4", 250, "Campo 4", 250, false, D::Campo04},
    {"Campo 5", 250, "Campo 5", 250, false, D::Campo05},
    {"Campo 6", 250, "Campo 6", 250, false, D::Campo06},
    {"Campo 7", 250, "Campo 7", 250, false, D::Campo07},
    {"Campo 8", 250, "Campo 8", 250, false, D::Campo08},
    {"Campo 9", 250, "Campo 9", 250, false, D::Campo09},
    {"Campo 10", 250, "Campo 10", 250, false, D::Campo10},
    {"Campo 11", 250, "Campo 11", 250, false, D::Campo11},
    {"Campo 12", 250, "Campo 12", 250, false, D::Campo12},
    {"Campo 13", 250, "Campo 13", 250, false, D::Campo13},
    {"Campo 14", 250, "Campo 14", 250, false, D::Campo14},
    {"Cognome e nome", 250, "Cognome e nome", 250, true, D::Cliente},
    {"Via e numero civico", 250, "Via e numero civico", 250, true, D::IndirizzoRes},
    {"Comune di residenza", 250, "Comune di residenza", 250, false, D::ComuneRes},
    {"Prov", 150, "Prov.", 120, false, D::ProvRes},
    {"Recapito preferenziale", 250, "Recapito preferenziale", 200, true, D::Recapito},
    {"E-mail", 250, "E-mail", 250, true, D::Email},
    {"Codice fiscale", 250, "Codice fiscale", 150, true, D::CodFisc},
    {"Partita IVA", 250, "Partita IVA", 150, false, D::PartitaIva},
    {"Segnalato", 150, "Segnalato", 120, false, D::Segnala},
};

// Titles with accented letters are written in Windows-1252 by the writer.
constexpr Column kClientColumns[] = {
    {"Cognome e nome Cliente", 250, "Cognome e nome Cliente", 250, true, C::Cliente},
    {"Data di nascita", 200, "Data di nascita", 120, true, C::DataNasc},
    {"Comune di nascita", 250, "Comune / Stato estero di nascita", 250, true, C::ComuneNasc,
     C::ProvNasc},
    {"Recapito preferenziale", 250, "Recapito preferenziale", 200, true, C::Recapito},
    {"Indirizzo di residenza", 300, "Indirizzo di residenza", 250, true, C::IndirizzoRes},
    {"Comune di residenza", 250, "Comune di residenza", 250, false, C::ComuneRes, C::ProvRes},
    {"Modalit\xC3\xA0 di pagamento", 250, "Modalit\xC3\xA0 di pagamento", 250, true, C::Estremi},
    {"Tel. casa", 250, "Tel. casa", 200, true, C::TelCasa},
    {"Tel. ufficio", 250, "Tel. ufficio", 200, true, C::TelUff},
    {"Tel. cellulare", 250, "Tel. cellulare", 200, true, C::TelCel},
    {"Fax", 250, "Fax", 200, true, C::Fax},
    {"E-mail", 250, "E-mail", 250, true, C::Email},
    {"Codice fiscale", 250, "Codice fiscale", 150, true, C::CodFisc},
    {"Partita IVA", 250, "Partita IVA", 150, false, C::PartitaIva},
    {"Carta di credito n.", 300, "Carta di credito n.", 250, true, C::Carta},
    {"Scadenza", 150, "Scadenza", 160, false, C::ScadeCarta},
    {"IBAN", 300, "IBAN", 250, false, C::Iban},
    {"Estremi documento", 280, "Estremi documento", 280, false, C::Documento},
    {"Occupazione", 250, "Occupazione", 250, false, C::Occupazione},
    {"Stato civile", 250, "Stato civile", 250, true, C::Civile},
    {"Titoli e qualifiche", 280, "Titoli e qualifiche", 280, false, C::Titoli},
    {"Prodotti e servizi di interesse", 300, "Prodotti e servizi di interesse", 300, true,
     C::Prodotti},
    {"Zona di appartenenza", 250, "Zona di appartenenza", 250, true, C::Zona},
    {"Questioni in sospeso", 300, "Questioni in sospeso", 300, false, C::Questioni},
    {"Note", 300, "Note", 350, false, C::Note},
};

constexpr const char kPrologue[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
    " xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook>"
    "<x:ExcelWorksheets>"
    "<x:ExcelWorksheet>"
    "<x:Name>";
constexpr const char kAfterName[] = "</x:Name>"
                                    "<x:WorksheetOptions>"
                                    "<x:Selected/>"
                                    "<x:Panes>"
                                    "<x:Pane>"
                                    "<x:Number>1</x:Number>"
                                    "<x:ActiveRow>3</x:ActiveRow>"
                                    "</x:Pane>"
                                    "</x:Panes>"
                                    "<x:ProtectContents>False</x:ProtectContents>"
                                    "<x:ProtectObjects>False</x:ProtectObjects>"
                                    "<x:ProtectScenarios>False</x:ProtectScenarios>"
                                    "</x:WorksheetOptions>"
                                    "</x:ExcelWorksheet>"
                                    "</x:ExcelWorksheets>"
                                    "</x:ExcelWorkbook>"
                                    "</xml><![endif]-->"
                                    "</head>"
                                    "<body>"
                                    "<table x:str>"
                                    "<tr>";
constexpr const char kEpilogue[] = "</table></body></html>";
// Every data cell is text: Calc reads its own text format from sdnum (1040 is
// Italian, "@" the text format), Excel the table's x:str. Without it codes lose
// their leading zeros, "=…" becomes a formula and "1e5" or a card number a number.
constexpr const char kCellStart[] = "<td style=\"text-align: left;\" sdnum=\"1040;0;@\">";
constexpr const char kCellEnd[] = "</td>";
constexpr qsizetype kBufferSize = 1 << 20;

QByteArray utf8To1252(const char *s) {
    return text::encode1252(QString::fromUtf8(s));
}

// Appends the trimmed field bytes; a second field is joined with one blank.
QByteArrayView cellBytes(const Column &c, const RecordLayout &layout, const char *record,
                         QByteArray &scratch) {
    const auto &fields = layout.fields;
    auto rawOf = [&](int f) {
        return text::trimmed(shorttext::raw(record + fields[f].offset, fields[f].capacity));
    };
    if (c.secondField < 0)
        return rawOf(c.field);
    scratch.clear();
    scratch.append(rawOf(c.field)).append(' ').append(rawOf(c.secondField));
    return text::trimmed(scratch);
}

} // namespace

const Sheet databaseSheet{&databaseLayout, "Database.xls", "Riepilogo Schede Database",
                          kDatabaseColumns};
const Sheet clientSheet{&clientLayout, "Clienti.xls", "Riepilogo Clienti", kClientColumns};

QStringList cellsOf(const Sheet &sheet, const Record &record) {
    QStringList cells;
    cells.reserve(qsizetype(sheet.columns.size()));
    QByteArray scratch;
    for (const Column &c : sheet.columns)
        cells << text::decode1252(cellBytes(c, record.layout(), record.data(), scratch));
    return cells;
}

Writer::Writer(const QString &path, const Sheet &sheet)
    : m_sheet(sheet), m_file(path), m_buffer(kBufferSize, Qt::Uninitialized) {
    put(kPrologue);
    put(utf8To1252(sheet.sheetName));
    put(kAfterName);
    for (const Column &c : sheet.columns) {
        put("<td style=\"text-align: left; font-weight: bold;\" width=");
        put(QByteArray::number(c.fileWidth));
        put(">");
        put(utf8To1252(c.fileTitle));
        put(kCellEnd);
    }
    put("</tr>");
}

void Writer::put(QByteArrayView bytes) {
    if (m_used + bytes.size() > m_buffer.size())
        flush();
    if (bytes.size() > m_buffer.size())
        m_buffer.resize(bytes.size());
    std::memcpy(m_buffer.data() + m_used, bytes.data(), size_t(bytes.size()));
    m_used += bytes.size();
}

void Writer::flush() {
    const qsizetype used = m_used;
    m_used = 0;
    m_file.write(QByteArrayView(m_buffer.constData(), used));
}

// The first "&", "<" or ">" in [p, end), or end.
static const char *firstSpecial(const char *p, const char *end) {
    for (char c : {'&', '<', '>'})
        if (const void *hit = std::memchr(p, c, size_t(end - p)))
            end = static_cast<const char *>(hit);
    return end;
}

void Writer::cell(QByteArrayView bytes) {
    put(kCellStart);
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        const char *special = firstSpecial(p, end);
        put(QByteArrayView(p, special - p));
        if (special == end)
            break;
        put(*special == '&' ? "&amp;" : *special == '<' ? "&lt;" : "&gt;");
        p = special + 1;
    }
    put(kCellEnd);
}

void Writer::addRow(const QStringList &cells) {
    put("<tr>");
    for (qsizetype i = 0; i < qsizetype(m_sheet.columns.size()); ++i)
        cell(i < cells.size() ? text::encode1252(text::trimmed(cells[i])) : QByteArray());
    put("</tr>");
}

void Writer::addRecord(const char *recordBytes) {
    put("<tr>");
    for (const Column &c : m_sheet.columns)
        cell(cellBytes(c, *m_sheet.layout, recordBytes, m_scratch));
    put("</tr>");
}

void Writer::commit() {
    put(kEpilogue);
    flush();
    m_file.commit();
}

qint64 exportArchive(const Sheet &sheet, const QString &recordPath, const QString &target) {
    RecordScanner scanner(*sheet.layout, recordPath);
    Writer writer(target, sheet);
    qint64 rows = 0;
    while (const char *record = scanner.nextCard()) {
        writer.addRecord(record);
        ++rows;
    }
    writer.commit();
    return rows;
}

} // namespace spreadsheet
