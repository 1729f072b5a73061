#include "SyntheticArchive.h"

#include <QFile>
#include <array>

namespace synthetic {
namespace {

// A small deterministic generator (splitmix64).
class Dice {
  public:
    explicit Dice(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    template <typename T, size_t N> const T &pick(const std::array<T, N> &a) { return a[below(N)]; }
    bool chance(int percent) { return below(100) < percent; }

  private:
    uint64_t m_state;
};

using Words = std::array<const char16_t *, 20>;

constexpr Words kSurnames = {u"Rossi",  u"Russo",    u"Ferrari", u"Esposito", u"Bianchi",
                             u"Romano", u"Colombo",  u"Ricci",   u"Marino",   u"Greco",
                             u"Bruno",  u"Gallo",    u"Conti",   u"De Luca",  u"Mancini",
                             u"Costa",  u"Giordano", u"Rizzo",   u"Lombardi", u"Moretti"};
constexpr Words kNames = {u"Giuseppe", u"Maria",   u"Giovanni",  u"Anna",     u"Antonio",
                          u"Giulia",   u"Luca",    u"Francesca", u"Marco",    u"Chiara",
                          u"Niccolò",  u"Sara",    u"Andrea",    u"Elena",    u"Matteo",
                          u"Federica", u"Lorenzo", u"Martina",   u"Gabriele", u"Alessia"};
constexpr Words kTowns = {u"Roma",    u"Milano",  u"Napoli",  u"Torino", u"Palermo",
                          u"Genova",  u"Bologna", u"Firenze", u"Bari",   u"Catania",
                          u"Venezia", u"Verona",  u"Messina", u"Padova", u"Trieste",
                          u"Forlì",   u"Cantù",   u"Brescia", u"Parma",  u"Modena"};
constexpr Words kProvinces = {u"RM", u"MI", u"NA", u"TO", u"PA", u"GE", u"BO", u"FI", u"BA", u"CT",
                              u"VE", u"VR", u"ME", u"PD", u"TS", u"FC", u"CO", u"BS", u"PR", u"MO"};
constexpr Words kStreets = {
    u"Via Roma",       u"Via Garibaldi", u"Corso Italia",   u"Via Mazzini",  u"Piazza Duomo",
    u"Via Dante",      u"Via Verdi",     u"Via Cavour",     u"Viale Europa", u"Via Manzoni",
    u"Via Marconi",    u"Via Leopardi",  u"Piazza Libertà", u"Via Gramsci",  u"Via Matteotti",
    u"Corso Vittorio", u"Via dei Mille", u"Via Carducci",   u"Via Pascoli",  u"Via Petrarca"};
constexpr Words kWords = {u"qualità", u"prodotto",  u"consegna", u"garanzia",    u"ordine",
                          u"fattura", u"città",     u"attività", u"perché",      u"servizio",
                          u"cliente", u"magazzino", u"però",     u"disponibile", u"prezzo",
                          u"sconto",  u"più",       u"caffè",    u"novità",      u"verifica"};
constexpr Words kJobs = {u"Impiegato",  u"Insegnante",   u"Medico",     u"Avvocato", u"Ingegnere",
                         u"Artigiano",  u"Commerciante", u"Pensionato", u"Studente", u"Architetto",
                         u"Infermiere", u"Agricoltore",  u"Farmacista", u"Geometra", u"Cuoco",
                         u"Autista",    u"Operaio",      u"Notaio",     u"Barista",  u"Fotografo"};

QString s(const char16_t *w) {
    return QString::fromUtf16(w);
}

QString sentence(Dice &d, int words) {
    QString out;
    for (int i = 0; i < words; ++i) {
        if (i)
            out += u' ';
        out += s(d.pick(kWords));
    }
    return out;
}

QString digits(Dice &d, int n) {
    QString out;
    for (int i = 0; i < n; ++i)
        out += QChar(u'0' + d.below(10));
    return out;
}

QString person(Dice &d) {
    return s(d.pick(kSurnames)) + u' ' + s(d.pick(kNames));
}

QString email(Dice &d, const QString &name) {
    QString local = name.toLower();
    local.replace(u' ', u'.');
    local.replace(QStringLiteral("ò"), QStringLiteral("o"));
    return local + QString::number(d.below(100)) + QStringLiteral("@esempio.it");
}

bool writeAll(const QString &path, qint64 count, int size, auto make) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    chunk.reserve(256 * size);
    for (qint64 i = 0; i < count; ++i) {
        chunk.append(make(uint64_t(i)).bytes());
        if (chunk.size() >= 256 * size || i + 1 == count) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return true;
}

} // namespace

DatabaseRecord databaseCard(uint64_t seed) {
    namespace F = DatabaseField;
    Dice d(seed);
    DatabaseRecord r;
    for (int f = F::Campo01; f <= F::Campo14; ++f) {
        const bool longField = databaseLayout.fields[f].capacity > 50;
        if (f == F::Campo01 || d.chance(70))
            r.setText(f, sentence(d, longField ? 4 + d.below(20) : 1 + d.below(4)));
    }
    const QString name = person(d);
    r.setText(F::Cliente, name);
    r.setText(F::IndirizzoRes, s(d.pick(kStreets)) + u' ' + QString::number(1 + d.below(200)));
    r.setText(F::ComuneRes, s(d.pick(kTowns)));
    r.setText(F::ProvRes, s(d.pick(kProvinces)));
    r.setText(F::Email, email(d, name));
    r.setText(F::Recapito, QStringLiteral("3") + digits(d, 9));
    if (d.chance(60))
        r.setText(F::CodFisc, name.left(3).toUpper() + digits(d, 2) + QStringLiteral("A01H501X"));
    if (d.chance(30))
        r.setText(F::PartitaIva, digits(d, 11));
    r.setYesNo(F::Segnala, d.chance(20));
    if (d.chance(20)) {
        r.setText(F::File01, QStringLiteral("preventivo_%1.pdf").arg(seed));
        r.setText(F::Desc01, sentence(d, 3));
    }
    return r;
}

ClientRecord clientCard(uint64_t seed) {
    namespace F = ClientField;
    Dice d(seed);
    ClientRecord r;
    const QString name = person(d);
    r.setText(F::Cliente, name);
    r.setText(F::DataNasc, QStringLiteral("%1/%2/%3")
                               .arg(1 + d.below(28), 2, 10, QChar(u'0'))
                               .arg(1 + d.below(12), 2, 10, QChar(u'0'))
                               .arg(1940 + d.below(65)));
    r.setText(F::ComuneNasc, s(d.pick(kTowns)));
    r.setText(F::ProvNasc, s(d.pick(kProvinces)));
    r.setText(F::Sesso, d.chance(50) ? QStringLiteral("M") : QStringLiteral("F"));
    r.setText(F::Recapito, QStringLiteral("3") + digits(d, 9));
    r.setText(F::IndirizzoRes, s(d.pick(kStreets)) + u' ' + QString::number(1 + d.below(200)));
    r.setText(F::ProvRes, s(d.pick(kProvinces)));
    r.setText(F::ComuneRes, s(d.pick(kTowns)));
    r.setText(F::CapRes, digits(d, 5));
    r.setText(F::Estremi, d.chance(50) ? QStringLiteral("Bonifico bancario a 30 giorni")
                                       : QStringLiteral("Contanti alla consegna"));
    r.setText(F::TelCasa, QStringLiteral("0") + digits(d, 9));
    r.setText(F::TelCel, QStringLiteral("3") + digits(d, 9));
    r.setText(F::Email, email(d, name));
    r.setText(F::CodFisc, name.left(3).toUpper() + digits(d, 2) + QStringLiteral("A01H501X"));
    if (d.chance(40))
        r.setText(F::Carta, QStringLiteral("4") + digits(d, 15));
    r.setText(F::Iban, QStringLiteral("IT60X0542811101") + digits(d, 12));
    r.setText(F::Occupazione, s(d.pick(kJobs)));
    r.setText(F::Civile, d.chance(50) ? QStringLiteral("Coniugato") : QStringLiteral("Celibe"));
    r.setText(F::Prodotti, sentence(d, 5));
    r.setText(F::Zona, s(d.pick(kTowns)));
    if (d.chance(30))
        r.setText(F::Questioni, sentence(d, 12));
    r.setText(F::Note, sentence(d, 8));
    r.setYesNo(F::Ricontatta, d.chance(25));
    return r;
}

bool writeDatabase(const QString &path, qint64 count) {
    return writeAll(path, count, DatabaseRecord::kSize, databaseCard);
}

bool writeClients(const QString &path, qint64 count) {
    return writeAll(path, count, ClientRecord::kSize, clientCard);
}

} // namespace synthetic
