#include "VCard.h"

#include "storage/RecordFile.h"
#include "storage/RegularFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "storage/WholeFile.h"

#include <QDate>
#include <QFile>

namespace vcard {
namespace {

namespace C = ClientField;

// Fields kept in a property of their own, one value each.
struct Plain {
    const char *property;
    int field;
    const char *params = "";
};
constexpr Plain kPlain[] = {
    {"EMAIL", C::Email, ";TYPE=INTERNET"},
    {"ROLE", C::Occupazione},
    {"NOTE", C::Note},
    {"X-CARTAVERA-COMUNE-NASCITA", C::ComuneNasc},
    {"X-CARTAVERA-PROV-NASCITA", C::ProvNasc},
    {"X-CARTAVERA-SESSO", C::Sesso},
    {"X-CARTAVERA-RECAPITO", C::Recapito},
    {"X-CARTAVERA-PAGAMENTO", C::Estremi},
    {"X-CARTAVERA-CODICE-FISCALE", C::CodFisc},
    {"X-CARTAVERA-CARTA", C::Carta},
    {"X-CARTAVERA-SCADENZA-CARTA", C::ScadeCarta},
    {"X-CARTAVERA-PARTITA-IVA", C::PartitaIva},
    {"X-CARTAVERA-IBAN", C::Iban},
    {"X-CARTAVERA-DOCUMENTO", C::Documento},
    {"X-CARTAVERA-STATO-CIVILE", C::Civile},
    {"X-CARTAVERA-TITOLI", C::Titoli},
    {"X-CARTAVERA-PRODOTTI", C::Prodotti},
    {"X-CARTAVERA-ZONA", C::Zona},
    {"X-CARTAVERA-QUESTIONI", C::Questioni},
    {"X-CARTAVERA-RICONTATTARE", C::Ricontatta},
    {"X-CARTAVERA-ALLEGATO-1", C::File01},
    {"X-CARTAVERA-ALLEGATO-2", C::File02},
    {"X-CARTAVERA-ALLEGATO-3", C::File03},
    {"X-CARTAVERA-DESCRIZIONE-ALLEGATO-1", C::Desc01},
    {"X-CARTAVERA-DESCRIZIONE-ALLEGATO-2", C::Desc02},
    {"X-CARTAVERA-DESCRIZIONE-ALLEGATO-3", C::Desc03},
    {"X-CARTAVERA-DATA-NASCITA", C::DataNasc},
};

// The telephone fields and the TYPE that marks each.
struct Phone {
    const char *type;
    int field;
};
constexpr Phone kPhones[] = {
    {"HOME,VOICE", C::TelCasa}, {"WORK,VOICE", C::TelUff}, {"CELL", C::TelCel}, {"FAX", C::Fax}};

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

QString escaped(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u',' || c == u';')
            out.append(u'\\').append(c);
        else if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            continue; // the \n that follows writes the break
        else if (c == u'\n' && i > 0 && value[i - 1] == u'\r')
            out.append(QStringLiteral("\\n"));
        // A CR or an LF alone, which the standard cannot tell from a line
        // break, in escapes of this program's own: read back as they were.
        else if (c == u'\r')
            out.append(QStringLiteral("\\r"));
        else if (c == u'\n')
            out.append(QStringLiteral("\\l"));
        else
            out.append(c);
    }
    return out;
}

// One content line, folded so that no line passes 75 bytes and no UTF-8
// sequence is split.
void line(QByteArray &out, const QByteArray &name, const QString &value) {
    const QByteArray whole = name + ':' + value.toUtf8();
    qsizetype start = 0;
    int room = 75;
    while (whole.size() - start > room) {
        qsizetype cut = start + room;
        while ((static_cast<unsigned char>(whole[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(whole.constData() + start, cut - start).append("\r\n ");
        start = cut;
        room = 74; // after the leading blank
    }
    out.append(whole.constData() + start, whole.size() - start).append("\r\n");
}

struct Property {
    QByteArray name; // upper case, group removed
    QByteArrayList types; // upper case
    QString value;   // still escaped
};

// The text an escape stands for: "\n" a line break (CR LF), "\r" and "\l" a
// CR and an LF alone, any other character itself.
QString escapedChar(QChar n) {
    if (n == u'n' || n == u'N')
        return QStringLiteral("\r\n");
    if (n == u'r')
        return QStringLiteral("\r");
    if (n == u'l')
        return QStringLiteral("\n");
    return QString(n);
}

// The unescaped components of a structured value, split at unescaped ";".
QStringList components(const QString &value) {
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            parts.last().append(escapedChar(value[++i]));
        } else if (c == u';') {
            parts << QString();
        } else {
            parts.last().append(c);
        }
    }
    return parts;
}

QString unescaped(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            out.append(escapedChar(value[++i]));
        } else {
            out.append(value[i]);
        }
    }
    return out;
}

Property parse(const QString &text) {
    Property p;
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'"')
            quoted = !quoted;
        else if (text[i] == u':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return p;
    p.value = text.mid(colon + 1);
    const QStringList head = text.left(colon).split(u';');
    QString name = head.first().toUpper();
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot >= 0)
        name = name.mid(dot + 1);
    p.name = name.toLatin1();
    for (qsizetype i = 1; i < head.size(); ++i) {
        QString param = head[i].toUpper();
        if (param.startsWith(u"TYPE="))
            param = param.mid(5);
        else if (param.contains(u'='))
            continue;
        for (const QString &t : param.remove(u'"').split(u','))
            p.types << t.trimmed().toLatin1();
    }
    return p;
}

// The column titles of a vCard read as a table, one per field of the client
// card in field order: the field, and the property it comes from.
const char *const kTitles[C::Count] = {
    "Nome (FN, N)",
    "Data di nascita (BDAY)",
    "Comune di nascita",
    "Provincia di nascita",
    "Sesso",
    "Recapito preferenziale",
    "Indirizzo (ADR)",
    "Provincia (ADR)",
    "Comune (ADR)",
    "CAP (ADR)",
    "Modalit\xC3\xA0 di pagamento",
    "Telefono casa (TEL)",
    "Telefono ufficio (TEL)",
    "Cellulare (TEL CELL)",
    "Fax (TEL FAX)",
    "E-mail (EMAIL)",
    "Codice fiscale",
    "Carta di credito n.",
    "Scadenza della carta",
    "Partita IVA",
    "IBAN",
    "Estremi documento",
    "Occupazione (ROLE, TITLE, ORG)",
    "Stato civile",
    "Titoli e qualifiche",
    "Prodotti e servizi di interesse",
    "Zona di appartenenza",
    "Questioni in sospeso",
    "Note (NOTE)",
    "Da ricontattare",
    "Allegato 1",
    "Allegato 2",
    "Allegato 3",
    "Descrizione allegato 1",
    "Descrizione allegato 2",
    "Descrizione allegato 3",
};

// The cells of one card, a text per field of the client card, as the
// properties give them: the import's plan trims and cuts them.
class CardBuilder {
  public:
    void begin() {
        m_cells = QStringList(C::Count, QString());
        m_name.clear();
        m_fromN.clear();
        m_title.clear();
        m_org.clear();
        m_dropped = 0;
    }

    void take(const Property &p) {
        if (p.name == "FN") {
            m_name = unescaped(p.value);
        } else if (p.name == "N") {
            const QStringList parts = components(p.value);
            QStringList words;
            for (int i : {0, 1, 2})
                if (i < parts.size() && !text::trimmed(parts[i]).isEmpty())
                    words << text::trimmed(parts[i]);
            m_fromN = words.join(u' ');
        } else if (p.name == "ADR") {
            const QStringList parts = components(p.value);
            auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
            QString street = part(2);
            if (!text::trimmed(part(1)).isEmpty())
                street = text::trimmed(street + u' ' + part(1));
            setOnce(C::IndirizzoRes, street);
            setOnce(C::ComuneRes, part(3));
            setOnce(C::ProvRes, part(4));
            setOnce(C::CapRes, part(5));
        } else if (p.name == "TEL") {
            takePhone(p);
        } else if (p.name == "TITLE") {
            // A job title is an occupation; a ROLE, when there is one, wins.
            if (m_title.isEmpty())
                m_title = text::trimmed(unescaped(p.value));
            else
                ++m_dropped;
        } else if (p.name == "ORG") {
            QStringList parts;
            for (const QString &part : components(p.value))
                if (!text::trimmed(part).isEmpty())
                    parts << text::trimmed(part);
            if (m_org.isEmpty())
                m_org = parts.join(u' ');
            else
                ++m_dropped;
        } else if (p.name == "BDAY") {
            const QString v = text::trimmed(unescaped(p.value));
            QDate day = QDate::fromString(v.left(10), Qt::ISODate);
            if (!day.isValid())
                day = QDate::fromString(v.left(8), QStringLiteral("yyyyMMdd"));
            setOnce(C::DataNasc, day.isValid() ? day.toString(kDateFormat) : v);
        } else {
            for (const Plain &plain : kPlain) {
                if (p.name == plain.property) {
                    setOnce(plain.field, unescaped(p.value));
                    break;
                }
            }
        }
    }

    // The card's cells; dropped() then tells the values no field took.
    const QStringList &end() {
        m_cells[C::Cliente] = text::trimmed(m_name).isEmpty() ? m_fromN : m_name;
        // The occupation: the ROLE, else the TITLE; the organisation after it.
        QString &occupation = m_cells[C::Occupazione];
        if (text::trimmed(occupation).isEmpty())
            occupation = m_title;
        else if (!m_title.isEmpty())
            ++m_dropped;
        if (!m_org.isEmpty())
            occupation = text::trimmed(occupation).isEmpty()
                             ? m_org
                             : text::trimmed(occupation) + QStringLiteral(", ") + m_org;
        return m_cells;
    }
    int dropped() const { return m_dropped; }

  private:
    bool filled(int field) const { return !text::trimmed(m_cells[field]).isEmpty(); }
    // The first value of a field wins.
    void setOnce(int field, const QString &value) {
        if (field == C::Ricontatta) {
            if (text::trimmed(value).compare(QStringLiteral("Sì"), Qt::CaseInsensitive) == 0)
                m_cells[field] = QStringLiteral("Sì");
            return;
        }
        if (text::trimmed(value).isEmpty())
            return;
        if (!filled(field))
            m_cells[field] = value;
        else
            ++m_dropped; // a second e-mail, a fourth telephone: no field holds it
    }
    void takePhone(const Property &p) {
        const QString number = unescaped(p.value);
        int field = C::TelCasa;
        if (p.types.contains("FAX"))
            field = C::Fax;
        else if (p.types.contains("CELL"))
            field = C::TelCel;
        else if (p.types.contains("WORK"))
            field = C::TelUff;
        if (filled(field))
            for (int free : {C::TelCasa, C::TelUff, C::TelCel})
                if (!filled(free)) {
                    field = free;
                    break;
                }
        setOnce(field, number);
    }

    QStringList m_cells;
    QString m_name;
    QString m_fromN;
    QString m_title;
    QString m_org;
    int m_dropped = 0;
};

// A vCard file read as a table: first the column titles, then a row per
// card. The file is read a megabyte at a time and unfolded one content line
// at a time, no line kept beyond a cell's limit.
class Reader final : public import::TableReader {
  public:
    Reader(const QString &path, qint64 start, import::TableEncoding encoding)
        : TableReader(path, start, import::TableKind::VCard, encoding) {}

    bool next(QStringList &cells) override {
        m_dropped = 0;
        if (!m_titlesGiven) {
            m_titlesGiven = true;
            cells = columnTitles();
            return true;
        }
        QByteArray raw;
        bool inside = false;
        while (nextLine(raw)) {
            const Property p = parse(decode(raw));
            if (p.name == "BEGIN" &&
                p.value.trimmed().compare(u"VCARD", Qt::CaseInsensitive) == 0) {
                m_card.begin();
                inside = true;
            } else if (p.name == "END" && inside) {
                cells = m_card.end();
                m_dropped = m_card.dropped();
                return true;
            } else if (inside) {
                m_card.take(p);
            }
        }
        return false; // a card the file never ends is left out
    }

    int droppedInRow() const override { return m_dropped; }

    // The next content line, its folds joined and its line end left out;
    // false at the end of the file. A line longer than a cell's limit keeps
    // its first bytes, and no UTF-8 sequence broken at the cut.
    bool nextLine(QByteArray &line) {
        line.clear();
        startRow(); // the limit of a row is a line's
        if (peek() < 0)
            return false;
        for (;;) {
            appendUntil('\n', line);
            get(); // the line feed, if any
            if (line.endsWith('\r'))
                line.chop(1);
            const int c = peek();
            if (c != ' ' && c != '\t')
                break;
            get();
        }
        if (line.size() >= import::kMostCellBytes)
            dropBrokenTail(line);
        return true;
    }

  private:
    static void dropBrokenTail(QByteArray &line) {
        for (qsizetype back = 1; back <= 3 && back <= line.size(); ++back) {
            const auto c = static_cast<unsigned char>(line[line.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue;
            if (c >= 0xC0)
                line.chop(back);
            return;
        }
    }

    bool m_titlesGiven = false;
    CardBuilder m_card;
    int m_dropped = 0;
};

} // namespace

const QStringList &columnTitles() {
    static const QStringList titles = [] {
        QStringList out;
        for (const char *t : kTitles)
            out << QString::fromUtf8(t);
        return out;
    }();
    return titles;
}

bool looksLikeVCard(QByteArrayView head) {
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.sliced(3);
    qsizetype i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' ||
                               head[i] == '\n'))
        ++i;
    return head.sliced(i).first(std::min<qsizetype>(11, head.size() - i)).toByteArray().toUpper() ==
           "BEGIN:VCARD";
}

std::optional<bool> isUtf8Unfolded(const QString &path, qint64 start,
                                   const import::Progress &progress) {
    Reader reader(path, start, import::TableEncoding::Utf8);
    QByteArray line;
    for (qint64 lines = 0; reader.nextLine(line); ++lines) {
        if (!QByteArrayView(line).isValidUtf8())
            return false;
        if (progress && lines % 4096 == 0 && !progress(reader.position(), reader.size()))
            return std::nullopt;
    }
    return true;
}

std::unique_ptr<import::TableReader> openReader(const QString &path, qint64 start,
                                                import::TableEncoding encoding) {
    return std::make_unique<Reader>(path, start, encoding);
}

QByteArray cardOf(const ClientRecord &client) {
    QByteArray out = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const QString name = client.text(C::Cliente);
    line(out, "FN", escaped(name));
    const qsizetype blank = name.lastIndexOf(u' ');
    line(out, "N",
         blank > 0 ? escaped(name.left(blank)) + u';' + escaped(name.mid(blank + 1)) +
                         QStringLiteral(";;;")
                   : escaped(name) + QStringLiteral(";;;;"));
    const QString street = client.text(C::IndirizzoRes), town = client.text(C::ComuneRes),
                  province = client.text(C::ProvRes), cap = client.text(C::CapRes);
    if (!(street + town + province + cap).isEmpty())
        line(out, "ADR;TYPE=HOME",
             QStringLiteral(";;") + escaped(street) + u';' + escaped(town) + u';' + escaped(province) + u';' +
                 escaped(cap) + u';');
    for (const Phone &phone : kPhones)
        if (const QString number = client.text(phone.field); !number.isEmpty())
            line(out, QByteArray("TEL;TYPE=") + phone.type, escaped(number));
    const QString born = client.text(C::DataNasc);
    const QDate day = QDate::fromString(born, kDateFormat);
    const bool bday = day.isValid() && day.toString(kDateFormat) == born;
    if (bday)
        line(out, "BDAY", day.toString(Qt::ISODate));
    for (const Plain &plain : kPlain) {
        if (plain.field == C::DataNasc && bday)
            continue;
        if (const QString value = client.text(plain.field); !value.isEmpty())
            line(out, QByteArray(plain.property) + plain.params, escaped(value));
    }
    out += "END:VCARD\r\n";
    return out;
}

void writeFile(const QString &path, const QList<ClientRecord> &clients) {
    WholeFile file(path);
    for (const ClientRecord &c : clients)
        file.write(cardOf(c));
    file.commit();
}

qint64 exportRegistry(const AppFolder &folder, const QString &path) {
    RecordScanner scanner(clientLayout, folder.clientFile());
    WholeFile file(path);
    ClientRecord client;
    qint64 count = 0;
    while (const char *bytes = scanner.nextCard()) {
        std::memcpy(client.data(), bytes, size_t(ClientRecord::kSize));
        file.write(cardOf(client));
        ++count;
    }
    file.commit();
    return count;
}

QList<ClientRecord> readFile(const QString &path, import::Counts &counts) {
    import::Plan plan(spreadsheet::clientSheet, AppFolder());
    plan.setFirstRow(columnTitles(), import::TableKind::VCard);
    const auto reader = import::openTable(path);
    QList<ClientRecord> out;
    ClientRecord client;
    QStringList cells;
    counts = {};
    if (reader->kind() != import::TableKind::VCard || !reader->next(cells)) // the titles
        return out;
    while (reader->next(cells))
        if (plan.fill(cells, client, counts)) {
            counts.droppedValues += reader->droppedInRow();
            out << client;
        }
    return out;
}

} // namespace vcard
