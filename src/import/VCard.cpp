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

// Calls `take` with the bytes of each unfolded content line of `bytes`.
template <class F> void eachUnfoldedBytes(QByteArrayView bytes, F &&take) {
    QByteArray current;
    bool any = false;
    qsizetype at = 0;
    for (;;) {
        qsizetype end = bytes.indexOf('\n', at);
        const bool last = end < 0;
        if (last)
            end = bytes.size();
        QByteArrayView raw = bytes.sliced(at, end - at);
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (any && (raw.startsWith(' ') || raw.startsWith('\t'))) {
            current.append(raw.sliced(1));
        } else {
            if (any)
                take(current);
            current = raw.toByteArray();
            any = true;
        }
        if (last)
            break;
        at = end + 1;
    }
    if (any)
        take(current);
}

// Calls `take` with each unfolded content line of `bytes`, decoded: as UTF-8
// when every line is valid UTF-8, else as Windows-1252. Lines are joined
// before they are decoded, so a fold that splits a character does no harm;
// nothing but the line at hand is held.
template <class F> void eachUnfolded(QByteArrayView bytes, F &&take) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    bool utf8 = true;
    eachUnfoldedBytes(bytes, [&](const QByteArray &line) {
        utf8 = utf8 && QByteArrayView(line).isValidUtf8();
    });
    eachUnfoldedBytes(bytes, [&](const QByteArray &line) {
        take(utf8 ? QString::fromUtf8(line) : text::decode1252(line));
    });
}

class CardBuilder {
  public:
    CardBuilder(import::Counts &counts) : m_counts(counts) {}

    void begin() {
        m_card.clear();
        m_card.setYesNo(C::Ricontatta, false);
        m_name.clear();
        m_fromN.clear();
        m_title.clear();
        m_org.clear();
        m_dropped = 0;
        m_stored = {};
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

    ClientRecord end() {
        set(C::Cliente, text::trimmed(m_name).isEmpty() ? m_fromN : m_name);
        // The occupation: the ROLE, else the TITLE; the organisation after it.
        QString occupation = m_card.text(C::Occupazione);
        if (occupation.isEmpty())
            occupation = m_title;
        else if (!m_title.isEmpty())
            ++m_dropped;
        if (!m_org.isEmpty())
            occupation = occupation.isEmpty() ? m_org : occupation + QStringLiteral(", ") + m_org;
        if (occupation != m_card.text(C::Occupazione))
            set(C::Occupazione, occupation);
        ++m_counts.rows;
        m_counts.droppedValues += m_dropped;
        m_stored.countInto(m_counts);
        return m_card;
    }

  private:
    void set(int field, const QString &value) { import::storeValue(m_card, field, value, m_stored); }
    // The first value of a field wins.
    void setOnce(int field, const QString &value) {
        if (field == C::Ricontatta) {
            if (text::trimmed(value).compare(QStringLiteral("Sì"), Qt::CaseInsensitive) == 0)
                m_card.setYesNo(field, true);
            return;
        }
        if (text::trimmed(value).isEmpty())
            return;
        if (m_card.text(field).isEmpty())
            set(field, value);
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
        if (!m_card.text(field).isEmpty())
            for (int free : {C::TelCasa, C::TelUff, C::TelCel})
                if (m_card.text(free).isEmpty()) {
                    field = free;
                    break;
                }
        setOnce(field, number);
    }

    import::Counts &m_counts;
    ClientRecord m_card;
    QString m_name;
    QString m_fromN;
    QString m_title;
    QString m_org;
    qint64 m_dropped = 0;
    import::Stored m_stored;
};

} // namespace

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
    while (const char *bytes = scanner.next()) {
        std::memcpy(client.data(), bytes, size_t(ClientRecord::kSize));
        file.write(cardOf(client));
        ++count;
    }
    file.commit();
    return count;
}

namespace {
// True when no field holds a text (the recontact flag, always set, aside).
bool blankClient(const ClientRecord &client) {
    for (int f = 0; f < ClientField::Count; ++f)
        if (f != ClientField::Ricontatta && !client.text(f).isEmpty())
            return false;
    return true;
}
} // namespace

QList<ClientRecord> read(QByteArrayView bytes, import::Counts &counts) {
    QList<ClientRecord> out;
    CardBuilder card(counts);
    bool inside = false;
    eachUnfolded(bytes, [&](const QString &l) {
        const Property p = parse(l);
        if (p.name == "BEGIN" && p.value.trimmed().compare(u"VCARD", Qt::CaseInsensitive) == 0) {
            card.begin();
            inside = true;
        } else if (p.name == "END" && inside) {
            // A card with nothing in it is skipped, as a blank row of a table.
            const ClientRecord client = card.end();
            if (blankClient(client)) {
                --counts.rows; // counted by end() as a card to store
                ++counts.blankRows;
            } else if (client.text(ClientField::Cliente).isEmpty()) {
                // Without a name the workspace would not save it either.
                --counts.rows;
                ++counts.refusedRows;
            } else
                out << client;
            inside = false;
        } else if (inside) {
            card.take(p);
        }
    });
    return out;
}

QList<ClientRecord> readFile(const QString &path, import::Counts &counts) {
    QFile file(path);
    if (openRegularFile(file, QIODevice::ReadOnly) != OpenResult::Opened)
        throw StorageError::unableToRead(path);
    // Mapped, not read into memory: a large file costs address space only.
    if (file.size() == 0)
        return {};
    if (const uchar *mapped = file.map(0, file.size()))
        return read(QByteArrayView(mapped, file.size()), counts);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StorageError::unableToRead(path);
    return read(bytes, counts);
}

} // namespace vcard
