#include "ClientCard.h"

#include "report/Templates.h"
#include "storage/TextRules.h"

namespace clientcard {

namespace {

constexpr int kNone = -1;

// How a row's value is made: `before`, the first box, `between`, the second
// box (if any). The joined value is not trimmed again, so an empty second box
// leaves `between` at the end.
struct RowRule {
    const char *title;
    int first;
    const char *before = "";
    const char *between = "";
    int second = kNone;
};

using namespace ClientField;

// The postal code, the marital status, the recontact flag and the
// attachments are not printed.
constexpr RowRule kRows[24] = {
    {"Cognome e nome:", Cliente},
    {"Data di nascita:", DataNasc},
    {"Comune di nascita:", ComuneNasc, "", " ", ProvNasc},
    {"Sesso:", Sesso},
    {"Recapito preferenziale:", Recapito},
    {"Indirizzo di residenza:", IndirizzoRes},
    {"Comune di residenza:", ComuneRes, "", " ", ProvRes},
    {"Modalità pagamento:", Estremi},
    {"Tel. casa:", TelCasa},
    {"Tel. ufficio:", TelUff},
    {"Tel. cellulare:", TelCel},
    {"Fax:", Fax},
    {"E-mail:", Email},
    {"Codice fiscale:", CodFisc},
    {"Partita IVA:", PartitaIva},
    {"Carta di credito:", Carta, "N. ", "  -  Scadenza: ", ScadeCarta},
    {"IBAN:", Iban},
    {"Estremi documento:", Documento},
    {"Occupazione:", Occupazione},
    {"Titoli e qualifiche:", Titoli},
    {"Prodotti e servizi:", Prodotti},
    {"Zona di appartenenza:", Zona},
    {"Questioni in sospeso:", Questioni},
    {"Note:", Note},
};

// Each box's text is trimmed by itself before it is joined.
QString valueOf(const RowRule &rule, const Boxes &boxes) {
    QString value = QString::fromUtf8(rule.before) + text::trimmed(boxes[rule.first]);
    if (rule.second != kNone)
        value += QString::fromUtf8(rule.between) + text::trimmed(boxes[rule.second]);
    return value;
}

} // namespace

void fill(report::Template &card, const Boxes &boxes, const QDateTime &at) {
    card.setPortrait();
    card.memo(QStringLiteral("txtTitolo")).setText(QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
    for (int n = 1; n <= int(std::size(kRows)); ++n) {
        const RowRule &rule = kRows[n - 1];
        card.memo(report::pairName("titCampo", n)).setText(QString::fromUtf8(rule.title));
        card.memo(report::pairName("txtCampo", n)).setText(valueOf(rule, boxes));
    }
    card.memo(QStringLiteral("txtCalce")).setText(report::printedAt(at));
}

} // namespace clientcard
