#include "ImportPlan.h"

#include "TableReader.h"
#include "VCard.h"
#include "storage/ArchiveSettings.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"

#include <algorithm>
#include <optional>
#include <cstring>

namespace import {
namespace {

// A title for matching: letter case and blanks do not count.
QString key(QStringView title) {
    QString out;
    out.reserve(title.size());
    for (QChar c : title)
        if (!c.isSpace() && c.unicode() > 0x20)
            out.append(c);
    return out.toCaseFolded();
}

// The second of two joined fields is a province code: `room` ASCII letters.
bool isProvince(QStringView word, int room) {
    if (word.size() != room)
        return false;
    for (QChar c : word)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')))
            return false;
    return true;
}

bool isYes(QStringView value) {
    const QString v = key(value);
    return v == u"sì" || v == u"si" || v == u"1" || v == u"true" || v == u"x";
}

// A whole pass over the data rows of `path`.
template <class Each>
bool eachRow(const QString &path, const Plan &plan, const Progress &progress, Each each) {
    const std::unique_ptr<TableReader> reader = openTable(path);
    QStringList cells;
    if (plan.hasHeader() && !reader->next(cells))
        return true;
    qint64 row = 0;
    while (reader->next(cells)) {
        if (!each(cells, *reader))
            return true;
        if (progress && ++row % 256 == 0 && !progress(reader->position(), reader->size()))
            return false;
    }
    if (progress)
        progress(reader->size(), reader->size());
    return true;
}

} // namespace

// Titles other programs commonly give the contact fields, matched besides the
// export's own: a name column called "Cognome e nome" or "Nominativo", a
// "Cellulare", an "Email". Only fields whose meaning the title leaves in no
// doubt; the town of birth and of residence, for one, keep their own titles.
QStringList commonTitles(const spreadsheet::Sheet &sheet, int field) {
    const auto list = [](std::initializer_list<const char *> titles) {
        QStringList out;
        for (const char *t : titles)
            out << QString::fromUtf8(t);
        return out;
    };
    const bool clients = sheet.layout == &clientLayout;
    const int cliente = clients ? int(ClientField::Cliente) : int(DatabaseField::Cliente);
    const int email = clients ? int(ClientField::Email) : int(DatabaseField::Email);
    const int codFisc = clients ? int(ClientField::CodFisc) : int(DatabaseField::CodFisc);
    const int partitaIva = clients ? int(ClientField::PartitaIva) : int(DatabaseField::PartitaIva);
    const int indirizzo =
        clients ? int(ClientField::IndirizzoRes) : int(DatabaseField::IndirizzoRes);
    if (field == cliente)
        return list({"Cognome e nome", "Cognome e nome Cliente", "Nome e cognome", "Nominativo",
                     "Cliente", "Ragione sociale"});
    if (field == email)
        return list({"Email", "Mail", "Posta elettronica", "Indirizzo e-mail"});
    if (field == codFisc)
        return list({"CF", "C.F.", "Cod. fiscale", "Cod. fisc."});
    if (field == partitaIva)
        return list({"P. IVA", "P.IVA", "PIVA", "Partita I.V.A."});
    if (field == indirizzo)
        return list({"Indirizzo", "Via", "Via e numero civico", "Indirizzo di residenza"});
    if (!clients)
        return {};
    namespace C = ClientField;
    switch (field) {
    case C::DataNasc:
        return list({"Data nascita", "Nato il", "Nata il"});
    case C::TelCasa:
        return list({"Telefono", "Tel.", "Telefono casa", "Telefono abitazione"});
    case C::TelUff:
        return list({"Telefono ufficio", "Tel. lavoro", "Telefono lavoro"});
    case C::TelCel:
        return list({"Cellulare", "Cell.", "Telefono cellulare", "Mobile"});
    case C::Note:
        return list({"Annotazioni", "Osservazioni"});
    default:
        return {};
    }
}

void storeValue(Record &record, int field, QStringView value, Stored &stored) {
    const QStringView trimmed = text::trimmedView(value);
    // Encoded into memory kept from value to value: an import stores
    // millions of them.
    thread_local QByteArray buffer;
    if (buffer.size() < trimmed.size())
        buffer.resize(trimmed.size());
    qsizetype unencodable = 0;
    const qsizetype length = text::encode1252(trimmed, buffer.data(), &unencodable);
    const FieldSlot &slot = record.layout().fields[field];
    if (length > slot.capacity)
        ++stored.cut;
    if (unencodable > 0)
        ++stored.replaced;
    shorttext::storeBytes(record.data() + slot.offset, slot.capacity,
                          QByteArrayView(buffer.constData(), length));
}

void Stored::countInto(Counts &counts) const {
    counts.cutValues += cut;
    counts.replacedValues += replaced;
}

Plan::Plan(const spreadsheet::Sheet &sheet, const AppFolder &folder) : m_sheet(sheet) {
    const bool database = sheet.layout == &databaseLayout;
    const std::optional<ArchiveSettings> settings =
        database ? std::optional<ArchiveSettings>(folder) : std::nullopt;
    for (const spreadsheet::Column &c : sheet.columns) {
        Target t{QString::fromUtf8(c.fileTitle),
                 {QString::fromUtf8(c.fileTitle), QString::fromUtf8(c.gridTitle)},
                 c.field,
                 c.secondField};
        if (database && c.field <= DatabaseField::Campo14) {
            const QString own = text::trimmed(settings->fieldTitle(c.field));
            if (!own.isEmpty()) {
                t.title = QStringLiteral("%1 (%2)").arg(t.title, own);
                t.aliases << own;
            }
        }
        t.flag = (sheet.layout == &databaseLayout && c.field == DatabaseField::Segnala);
        t.aliases << commonTitles(sheet, c.field);
        m_targets.push_back(t);
    }
    if (sheet.layout == &clientLayout) {
        namespace C = ClientField;
        auto extra = [&](const char *title, QStringList aliases, int field, bool flag = false) {
            aliases.prepend(QString::fromUtf8(title));
            m_targets.push_back(Target{QString::fromUtf8(title), aliases, field, -1, flag});
        };
        extra("Provincia di nascita", {QStringLiteral("Prov. di nascita")}, C::ProvNasc);
        extra("Provincia di residenza",
              {QStringLiteral("Prov. di residenza"), QStringLiteral("Provincia"),
               QStringLiteral("Prov.")},
              C::ProvRes);
        extra("CAP", {QStringLiteral("CAP di residenza"), QStringLiteral("C.A.P.")}, C::CapRes);
        extra("Sesso", {}, C::Sesso);
        extra("Da ricontattare", {QStringLiteral("Ricontattare")}, C::Ricontatta, true);
        extra("Allegato 1", {}, C::File01);
        extra("Allegato 2", {}, C::File02);
        extra("Allegato 3", {}, C::File03);
        extra("Descrizione allegato 1", {}, C::Desc01);
        extra("Descrizione allegato 2", {}, C::Desc02);
        extra("Descrizione allegato 3", {}, C::Desc03);
        // A vCard's columns (vcard::openReader) name their field and the
        // property they come from.
        for (int f = 0; f < C::Count; ++f)
            for (Target &t : m_targets)
                if (t.field == f) {
                    t.aliases << vcard::columnTitles()[f];
                    break;
                }
    }
    // Every alias by its matching key; the first target it belongs to wins.
    for (size_t i = 0; i < m_targets.size(); ++i)
        for (const QString &alias : m_targets[i].aliases)
            if (const QString k = key(alias); !m_keys.contains(k))
                m_keys.insert(k, int(i));
}

int Plan::match(const QString &title) const {
    const QString k = key(title);
    return k.isEmpty() ? -1 : m_keys.value(k, -1);
}

void Plan::setFirstRow(const QStringList &firstRow, TableKind kind) {
    m_firstRow = firstRow;
    m_cards = kind == TableKind::VCard;
    bool header = m_cards;
    for (const QString &cell : firstRow)
        header = header || match(cell) >= 0;
    setHasHeader(header);
}

void Plan::setHasHeader(bool header) {
    m_hasHeader = header;
    m_mapping.assign(size_t(m_firstRow.size()), -1);
    m_titles.clear();
    for (qsizetype i = 0; i < m_firstRow.size(); ++i)
        m_titles << (header ? text::trimmed(m_firstRow[i])
                            : QStringLiteral("Colonna %1").arg(i + 1));
    if (!header) {
        mapByPosition();
    } else {
        std::vector<bool> taken(m_targets.size(), false);
        for (qsizetype i = 0; i < m_firstRow.size(); ++i) {
            const int t = match(m_firstRow[i]);
            if (t >= 0 && !taken[size_t(t)]) {
                taken[size_t(t)] = true;
                m_mapping[size_t(i)] = t;
            }
        }
    }
    mappingChanged();
}

// A column of two joined fields is split only when no other column fills
// the second one: a file with a province column of its own keeps the town
// column whole.
void Plan::mappingChanged() {
    std::vector<bool> filled(size_t(m_sheet.layout->fields.size()), false);
    for (int t : m_mapping)
        if (t >= 0 && m_targets[size_t(t)].secondField < 0)
            filled[size_t(m_targets[size_t(t)].field)] = true;
    m_split.assign(m_mapping.size(), false);
    for (size_t c = 0; c < m_mapping.size(); ++c) {
        const int t = m_mapping[c];
        m_split[c] = t >= 0 && m_targets[size_t(t)].secondField >= 0 &&
                     !filled[size_t(m_targets[size_t(t)].secondField)];
    }
}

void Plan::mapByPosition() {
    for (size_t i = 0; i < m_mapping.size() && i < m_sheet.columns.size(); ++i)
        m_mapping[i] = int(i);
}

int Plan::targetOf(int column) const {
    return column >= 0 && size_t(column) < m_mapping.size() ? m_mapping[size_t(column)] : -1;
}

void Plan::setTarget(int column, int target) {
    if (column >= 0 && size_t(column) < m_mapping.size())
        m_mapping[size_t(column)] = target >= 0 && size_t(target) < m_targets.size() ? target : -1;
    mappingChanged();
}

bool Plan::fill(const QStringList &cells, Record &record, Counts &counts) const {
    record.clear();
    bool any = false;
    Stored stored;
    for (const Target &t : m_targets)
        if (t.flag)
            record.setYesNo(t.field, false);
    for (size_t column = 0; column < m_mapping.size(); ++column) {
        const int index = m_mapping[column];
        if (index < 0 || qsizetype(column) >= cells.size())
            continue;
        const Target &t = m_targets[size_t(index)];
        const QStringView value = text::trimmedView(cells[qsizetype(column)]);
        any = any || !value.isEmpty();
        if (t.flag) {
            record.setYesNo(t.field, isYes(value));
            continue;
        }
        QStringView first = value;
        QStringView second;
        if (m_split[column]) {
            const qsizetype blank = value.lastIndexOf(u' ');
            const int room = record.layout().fields[t.secondField].capacity;
            if (blank > 0 && isProvince(value.mid(blank + 1), room)) {
                first = text::trimmedView(value.left(blank));
                second = value.mid(blank + 1);
            }
        }
        storeValue(record, t.field, first, stored);
        if (m_split[column])
            storeValue(record, t.secondField, second, stored);
    }
    if (!any) {
        ++counts.blankRows;
        return false;
    }
    // A card the workspace's "Salva" would refuse is not stored either.
    if (record.text(requiredField(m_sheet)).isEmpty()) {
        // Numbered as the table's rows are, the header row included; a
        // vCard's cards from 1.
        const qint64 row = counts.rows + counts.blankRows + counts.refusedRows + 1 +
                           (hasHeader() && !m_cards ? 1 : 0);
        ++counts.refusedRows;
        if (counts.refusedLines.size() < Counts::kListedRefusals)
            counts.refusedLines << row;
        return false;
    }
    ++counts.rows;
    stored.countInto(counts);
    return true;
}

int requiredField(const spreadsheet::Sheet &sheet) {
    return sheet.layout == &clientLayout ? int(ClientField::Cliente) : int(DatabaseField::Campo01);
}

QStringList firstRowOf(const QString &path, TableKind *kind) {
    const std::unique_ptr<TableReader> reader = openTable(path);
    QStringList cells;
    reader->next(cells);
    if (kind)
        *kind = reader->kind();
    return cells;
}

std::vector<int> previewTargets(const Plan &plan) {
    std::vector<bool> used(plan.targets().size(), false);
    for (int c = 0; c < plan.columnCount(); ++c)
        if (plan.targetOf(c) >= 0)
            used[size_t(plan.targetOf(c))] = true;
    std::vector<int> out;
    for (size_t t = 0; t < used.size(); ++t)
        if (used[t])
            out.push_back(int(t));
    return out;
}

QList<QStringList> preview(const QString &path, const Plan &plan, int count) {
    const std::vector<int> shown = previewTargets(plan);
    std::vector<bool> joined(plan.targets().size(), false);
    for (int c = 0; c < plan.columnCount(); ++c)
        if (plan.targetOf(c) >= 0 && plan.splits(c))
            joined[size_t(plan.targetOf(c))] = true;
    Record record(*plan.sheet().layout);
    Counts counts;
    QList<QStringList> rows;
    eachRow(path, plan, {}, [&](const QStringList &cells, const TableReader &) {
        if (!plan.fill(cells, record, counts))
            return true;
        QStringList row;
        for (int t : shown) {
            const Target &target = plan.targets()[size_t(t)];
            QString value = record.text(target.field);
            if (joined[size_t(t)])
                value = text::trimmed(QString(value + u' ' + record.text(target.secondField)));
            row << value;
        }
        rows << row;
        return rows.size() < count;
    });
    return rows;
}

KnownCards::KnownCards(const Plan &plan, const AppFolder &folder, const Progress &progress)
    : m_layout(plan.sheet().layout) {
    for (int c = 0; c < plan.columnCount(); ++c) {
        const int t = plan.targetOf(c);
        if (t < 0)
            continue;
        const Target &target = plan.targets()[size_t(t)];
        m_fields.push_back(target.field);
        if (target.secondField >= 0)
            m_fields.push_back(target.secondField);
    }
    std::sort(m_fields.begin(), m_fields.end());
    m_fields.erase(std::unique(m_fields.begin(), m_fields.end()), m_fields.end());
    if (m_fields.empty())
        return;
    RecordScanner archive(*m_layout, folder.file(QString::fromLatin1(m_layout->fileName)));
    m_keys.reserve(archive.count());
    qint64 read = 0;
    while (const char *record = archive.nextCard()) {
        m_keys.insert(key(record));
        if (progress && ++read % 4096 == 0 && !progress(archive.position(), archive.count())) {
            m_complete = false;
            return;
        }
    }
}

bool KnownCards::contains(const Record &row) const {
    return !m_keys.isEmpty() && m_keys.contains(key(row.data()));
}

// Two hashes, with different seeds, of the mapped fields' texts as stored
// (bytes past a field's text say nothing and are left out).
std::pair<size_t, size_t> KnownCards::key(const char *record) const {
    QByteArray bytes;
    for (int f : m_fields) {
        const FieldSlot &slot = m_layout->fields[f];
        const QByteArrayView text = shorttext::raw(record + slot.offset, slot.capacity);
        bytes.append(char(text.size())).append(text);
    }
    return {qHashBits(bytes.constData(), size_t(bytes.size()), 0x9e3779b9),
            qHashBits(bytes.constData(), size_t(bytes.size()), 0x85ebca6b)};
}

bool survey(const QString &path, const Plan &plan, Counts &counts, const Progress &progress,
            const KnownCards &known) {
    counts = {};
    Record record(*plan.sheet().layout);
    return eachRow(path, plan, progress, [&](const QStringList &cells, const TableReader &reader) {
        if (!plan.fill(cells, record, counts))
            return true;
        counts.droppedValues += reader.droppedInRow();
        if (known.contains(record))
            ++counts.duplicateRows;
        return true;
    });
}

bool append(const QString &path, const Plan &plan, const AppFolder &folder, Counts &counts,
            const Progress &progress, const KnownCards &skip) {
    counts = {};
    const RecordLayout &layout = *plan.sheet().layout;
    RecordAppend target(layout, folder.file(QString::fromLatin1(layout.fileName)));
    Record record(layout);
    const bool finished = eachRow(path, plan, progress, [&](const QStringList &cells,
                                                            const TableReader &reader) {
        if (!plan.fill(cells, record, counts))
            return true;
        counts.droppedValues += reader.droppedInRow();
        if (skip.contains(record)) {
            --counts.rows; // counted by fill() as a card to store
            ++counts.duplicateRows;
        } else {
            target.add(record);
        }
        return true;
    });
    if (!finished) {
        target.rollback();
        counts = {};
        return false;
    }
    target.commit();
    return true;
}

} // namespace import
