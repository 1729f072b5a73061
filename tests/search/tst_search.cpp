// The search engine: which records a search and the two lists select, the
// lines they show, the list order, the in-list find, the result list's model,
// and what a missing or odd archive file does.
#include "SyntheticArchive.h"
#include "search/HitListModel.h"
#include "search/Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "support/Deadline.h"
#include "support/Files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>

using namespace std::chrono_literals;
using search::Filter;
using search::Hit;
using search::Missing;

Q_DECLARE_METATYPE(search::Missing)

class TestSearch : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void filters_data();
    void filters();
    void storedBytes_data();
    void storedBytes();
    void matchesTheDecodedText();
    void clientFilters();
    void resultInListOrder();
    void linesAreStringsOfTheirOwn();
    void cardLine_data();
    void cardLine();
    void clientLines_data();
    void clientLines();
    void linesTrimStoredText();
    void listOrder_data();
    void listOrder();
    void longListsInListOrder();
    void inListFind_data();
    void inListFind();
    void flags_data();
    void flags();
    void missingArchive_data();
    void missingArchive();
    void archiveThatIsNotAFile_data();
    void archiveThatIsNotAFile();
    void model();

  private:
    QString databaseFile() const { return m_dir->filePath(QStringLiteral("Database.pro")); }
    QString clientFile() const { return m_dir->filePath(QStringLiteral("Clienti.pro")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QString u16(const char16_t *s) {
    return QString::fromUtf16(s);
}

QByteArray bytesOf(const QList<DatabaseRecord> &cards) {
    QByteArray all;
    for (const DatabaseRecord &c : cards)
        all += c.bytes();
    return all;
}

// Writes `bytes` over a record from the start of `field` on, length byte
// included: stored bytes the program itself would never write.
void putRaw(Record &record, int field, QByteArrayView bytes) {
    std::memcpy(record.data() + record.layout().fields[field].offset, bytes.data(),
                size_t(bytes.size()));
}

QList<qint64> positionsOf(const QList<Hit> &hits) {
    QList<qint64> positions;
    for (const Hit &h : hits)
        positions << h.position;
    return positions;
}

QList<Hit> cards(const QString &path, const QList<Filter> &filters) {
    QList<Hit> hits;
    search::findCards(path, filters, Missing::Empty, hits);
    return hits;
}

} // namespace

void TestSearch::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

// One card, searched with the name box and the town box (an empty text: the
// box left empty).
void TestSearch::filters_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("town");
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<QString>("townBox");
    QTest::addColumn<bool>("listed");
    auto row = [](const char *tag, const char16_t *name, const char16_t *town,
                  const char16_t *nameBox, const char16_t *townBox, bool listed) {
        QTest::newRow(tag) << u16(name) << u16(town) << u16(nameBox) << u16(townBox) << listed;
    };
    row("no filter lists all", u"Rossi Mario", u"Roma", u"", u"", true);
    row("capitals find mixed case", u"Rossi Mario", u"Roma", u"ROSSI", u"", true);
    row("lower case finds capitals", u"ROSSI MARIO", u"Roma", u"rossi m", u"", true);
    row("lower accented misses capital", u"NICCOLÒ BIANCHI", u"Roma", u"niccolò", u"", false);
    row("capital accented misses lower", u"Niccolò Bianchi", u"Roma", u"NICCOLÒ", u"", false);
    row("accented in the same case", u"Niccolò Bianchi", u"Forlì", u"NICCOLò", u"forlì", true);
    row("blank-only box is no filter", u"Rossi Mario", u"Roma", u"   ", u"", true);
    // The name holds a blank, yet the blank box does not make up for the town.
    row("blank-only box is no match", u"Rossi Mario", u"Roma", u" ", u"Milano", false);
    row("leading blank misses the first word", u"Rossi Mario", u"Roma", u" Rossi", u"", false);
    row("leading blank finds a later word", u"De Rossi Mario", u"Roma", u" rossi", u"", true);
    row("inner blanks as typed", u"Rossi  Mario", u"Roma", u"i  m", u"", true);
    row("inner blanks count", u"Rossi  Mario", u"Roma", u"Rossi Mario", u"", false);
    row("trailing blank counts", u"Rossi", u"Roma", u"Rossi ", u"", false);
    row("two filters, one fails", u"Rossi Mario", u"Roma", u"rossi", u"Milano", false);
    row("two filters, both occur", u"Rossi Mario", u"Roma", u"rossi", u"OM", true);
    row("each box in its own field", u"Rossi", u"Mario", u"Mario", u"", false);
    row("longer than the field", u"Rossi", u"Roma", u"Rossi Mario", u"", false);
    row("markup is plain text", u"<b>Neri & C.</b>", u"Roma", u"<B>NERI &", u"", true);
    row("entities are plain text", u"<b>Neri & C.</b>", u"Roma", u"&amp;", u"", false);
    row("euro sign, byte 80", u"Prezzo 10 €", u"Roma", u"10 €", u"", true);
    // A save stores "?" for what Windows-1252 cannot hold; the box text counts
    // the same way, one "?" per character.
    row("outside the code page as stored", u"Łukasiewicz Jan", u"Roma", u"łUKAS", u"", true);
    row("outside the code page is no letter", u"Łukasiewicz Jan", u"Roma", u"Lukas", u"", false);
    row("outside the BMP is one ?", u"Rossi 😀 Mario", u"Roma", u"i 😀 m", u"", true);
    // Places in a 34-byte name around the 16-byte blocks of the matcher.
    row("match from byte 15", u"Amministrazione condominiale Rossi", u"", u"E CONDO", u"", true);
    row("match from byte 16", u"Amministrazione condominiale Rossi", u"", u"condominiale", u"",
        true);
    row("match at the very end", u"Amministrazione condominiale Rossi", u"", u"e rossi", u"", true);
    row("one byte past the end", u"Amministrazione condominiale Rossi", u"", u"e rossi.", u"",
        false);
    row("one-letter filter", u"Amministrazione condominiale Rossi", u"", u"Z", u"", true);
}

void TestSearch::filters() {
    QFETCH(QString, name);
    QFETCH(QString, town);
    QFETCH(QString, nameBox);
    QFETCH(QString, townBox);
    QFETCH(bool, listed);
    DatabaseRecord card;
    card.setText(DatabaseField::Cliente, name);
    card.setText(DatabaseField::ComuneRes, town);
    QVERIFY(writeFile(databaseFile(), card.bytes()));
    QList<Filter> boxes = {{DatabaseField::Cliente, nameBox}, {DatabaseField::ComuneRes, townBox}};
    QCOMPARE(cards(databaseFile(), boxes).size(), listed ? 1 : 0);
}

// Bytes in the name field that only an old or damaged file holds: the search
// sees the text a card shows, no more.
void TestSearch::storedBytes_data() {
    QTest::addColumn<QByteArray>("bytes"); // from the name field's length byte on
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("listed");
    const QByteArray fifty(50, 'x');
    QTest::newRow("bytes after the text do not count")
        << QByteArray("\x05RossiMario") << "mario" << false;
    QTest::newRow("blanks stored around the text are left out")
        << QByteArray("\x07 Rossi ") << " Rossi" << false;
    QTest::newRow("control bytes stored around the text are left out")
        << QByteArray("\x07\tRossi\x01") << "Rossi" << true;
    // Length 200 in a 50-byte field: the text is the 50 bytes, the next field
    // (the address, "Via Roma") is not part of it.
    QTest::newRow("damaged length reads the whole field")
        << QByteArray("\xC8") + fifty.left(45) + "Rossi" + "\x08Via Roma"
        << "XROSSI" << true;
    QTest::newRow("damaged length stops at the field's end")
        << QByteArray("\xC8") + fifty + "\x08Via Roma"
        << "via" << false;
    QTest::newRow("Windows-1252 accented byte") << QByteArray("\x06"
                                                              "Forl\xEC!")
                                                << "FORLì" << true;
}

void TestSearch::storedBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, box);
    QFETCH(bool, listed);
    DatabaseRecord card;
    putRaw(card, DatabaseField::Cliente, bytes);
    QVERIFY(writeFile(databaseFile(), card.bytes()));
    QCOMPARE(cards(databaseFile(), {{DatabaseField::Cliente, box}}).size(), listed ? 1 : 0);
}

// On a synthetic archive the byte matcher agrees with the rule written out on
// decoded text: each filled box, A–Z folded, occurs in its folded field.
void TestSearch::matchesTheDecodedText() {
    constexpr int kCount = 9000; // enough for the boxes to be tried in a new order
    QVERIFY(synthetic::writeDatabase(databaseFile(), kCount));
    QList<DatabaseRecord> all;
    for (int i = 0; i < kCount; ++i)
        all << synthetic::databaseCard(uint64_t(i));
    const int searchable[] = {DatabaseField::Campo01, DatabaseField::Campo02,
                              DatabaseField::Campo03, DatabaseField::Campo04,
                              DatabaseField::Campo05, DatabaseField::Campo06,
                              DatabaseField::Cliente, DatabaseField::ComuneRes,
                              DatabaseField::CodFisc, DatabaseField::PartitaIva};

    // Box texts cut from the cards themselves, some in capitals, some with a
    // blank in front, and combinations of two and three boxes.
    QList<QList<Filter>> searches = {{}};
    for (int i = 0; i < 60; ++i) {
        const DatabaseRecord &source = all[(i * 337) % kCount];
        QList<Filter> boxes;
        for (int k = 0; k <= i % 3; ++k) {
            const int field = searchable[(i + 3 * k) % 10];
            const QString text = source.text(field);
            const qsizetype from = text.isEmpty() ? 0 : (i * 7 + k) % text.size();
            QString box = text.mid(from, 1 + (i + k) % 9);
            if (i % 4 == 1)
                box = box.toUpper(); // accented capitals too: they must then miss
            if (i % 5 == 2)
                box.prepend(u' ');
            boxes.append({field, box});
        }
        searches << boxes;
    }
    for (const QList<Filter> &boxes : std::as_const(searches)) {
        QList<qint64> expected;
        for (int i = 0; i < kCount; ++i) {
            bool every = true;
            for (const Filter &f : boxes)
                if (!text::trimmed(f.text).isEmpty() &&
                    !text::toLowerAscii(all[i].text(f.field)).contains(text::toLowerAscii(f.text)))
                    every = false;
            if (every)
                expected << i + 1;
        }
        QList<qint64> found = positionsOf(cards(databaseFile(), boxes));
        std::sort(found.begin(), found.end());
        QString what;
        for (const Filter &f : boxes)
            what += QStringLiteral("[%1: \"%2\"] ").arg(f.field).arg(f.text);
        QVERIFY2(found == expected, qPrintable(what));
    }
}

// The client search compares its ten boxes with their own fields; notes are
// searched wherever the text stands in them.
void TestSearch::clientFilters() {
    namespace F = ClientField;
    ClientRecord a;
    a.setText(F::Cliente, QStringLiteral("Neri Paolo"));
    a.setText(F::Note, QString(200, u'-') + QStringLiteral("Paga in contanti"));
    a.setText(F::Zona, QStringLiteral("Romagna"));
    ClientRecord b;
    b.setText(F::Cliente, QStringLiteral("Verdi Anna"));
    b.setText(F::Questioni, QStringLiteral("paga in contanti"));
    b.setText(F::Zona, QStringLiteral("Emilia"));
    QVERIFY(writeFile(clientFile(), a.bytes() + b.bytes()));
    const auto found = [this](const QList<Filter> &boxes) {
        QList<Hit> hits;
        search::findClients(clientFile(), boxes, Missing::Empty, hits);
        return positionsOf(hits);
    };
    QCOMPARE(found({{F::Note, QStringLiteral("IN CONTANTI")}}), QList<qint64>{1});
    QCOMPARE(found({{F::Questioni, QStringLiteral("contanti")}}), QList<qint64>{2});
    QCOMPARE(found({{F::Zona, QStringLiteral("a")}, {F::Note, QStringLiteral("paga")}}),
             QList<qint64>{1});
    QCOMPARE(found({}), (QList<qint64>{1, 2}));
}

// The hits come in list order with their record positions; a trailing partial
// record is no card; the hits are added after those already in the list.
void TestSearch::resultInListOrder() {
    QList<DatabaseRecord> list(4);
    const char16_t *first[] = {u"Zucca", u"aceto", u"Miele", u"aceto"};
    for (int i = 0; i < 4; ++i) {
        list[i].setText(DatabaseField::Campo01, u16(first[i]));
        list[i].setText(DatabaseField::Cliente, QStringLiteral("Rossi"));
    }
    QVERIFY(writeFile(databaseFile(), bytesOf(list) + QByteArray(3000, 'a')));
    QList<Hit> hits{{99, QStringLiteral("già in lista")}};
    search::findCards(databaseFile(), {}, Missing::Empty, hits);
    QCOMPARE(positionsOf(hits), (QList<qint64>{99, 2, 4, 3, 1}));
    QCOMPARE(hits[1].line, search::cardLine(list[1]));
}

// The lines of one search share their memory; each still acts as a string of
// its own: ended by '\0', changed without touching the others, alive after
// the list it came in.
void TestSearch::linesAreStringsOfTheirOwn() {
    QList<DatabaseRecord> list(3);
    for (int i = 0; i < 3; ++i)
        list[i].setText(DatabaseField::Campo01, QStringLiteral("scheda %1").arg(i + 1));
    QVERIFY(writeFile(databaseFile(), bytesOf(list)));
    QString kept;
    {
        QList<Hit> hits = cards(databaseFile(), {});
        QCOMPARE(hits.size(), 3);
        for (const Hit &h : std::as_const(hits)) {
            QCOMPARE(h.line.size(), 153);
            QCOMPARE(h.line.utf16()[153], u'\0');
        }
        hits[0].line.replace(0, 6, QStringLiteral("SCHEDA"));
        hits[0].line.append(QStringLiteral(" altro"));
        QVERIFY(hits[0].line.startsWith(QStringLiteral("SCHEDA 1 ")));
        QCOMPARE(hits[1].line, search::cardLine(list[1]));
        kept = hits[2].line;
        hits[1].line.clear();
    }
    QCOMPARE(kept, search::cardLine(list[2]));
    kept.append(u'!');
    QCOMPARE(kept.size(), 154);
}

void TestSearch::cardLine_data() {
    QTest::addColumn<QStringList>(
        "fields"); // Campo01, Campo02, Campo03, Cliente, Recapito, CodFisc
    QTest::addColumn<QString>("line");
    // Every column full: the same line whether a text fits exactly or runs over.
    const QString full = u16(u"Abcdefghijklmnopqrstuvwxyz"
                             u"  "
                             u"Barolo e Barbaresco DOCG 1"
                             u"  "
                             u"Langhe, Roero e Monferrato"
                             u"Rossi Mario Giuseppe Luigi"
                             u"  Tel. "
                             u"051 123 456 789"
                             u"  C.F. "
                             u"RSSMRA85T10A562S");
    QTest::newRow("at the widths") << QStringList{u16(u"Abcdefghijklmnopqrstuvwxyz"),
                                                  u16(u"Barolo e Barbaresco DOCG 1"),
                                                  u16(u"Langhe, Roero e Monferrato"),
                                                  u16(u"Rossi Mario Giuseppe Luigi"),
                                                  u16(u"051 123 456 789"),
                                                  u16(u"RSSMRA85T10A562S")}
                                   << full;
    QTest::newRow("one over the widths") << QStringList{u16(u"Abcdefghijklmnopqrstuvwxyz!"),
                                                        u16(u"Barolo e Barbaresco DOCG 12"),
                                                        u16(u"Langhe, Roero e Monferrato!"),
                                                        u16(u"Rossi Mario Giuseppe Luigi!"),
                                                        u16(u"051 123 456 7890"),
                                                        u16(u"RSSMRA85T10A562S")}
                                         << full;
    QTest::newRow("short and accented")
        << QStringList{u16(u"Città"), {}, u16(u"Prezzo 10 €"), u16(u"Niccolò Forlì"), {}, {}}
        << u16(u"Città                     "
               u"  "
               u"                          "
               u"  "
               u"Prezzo 10 €               "
               u"Niccolò Forlì             "
               u"  Tel. "
               u"               "
               u"  C.F. "
               u"                ");
    QTest::newRow("Campo03 runs into the name")
        << QStringList{u16(u"Vino"),
                       u16(u"Rosso"),
                       u16(u"Nebbiolo delle Langhe riserva speciale"),
                       u16(u"Rossi Mario"),
                       u16(u"0543 12345"),
                       {}}
        << u16(u"Vino                      "
               u"  "
               u"Rosso                     "
               u"  "
               u"Nebbiolo delle Langhe rise"
               u"Rossi Mario               "
               u"  Tel. "
               u"0543 12345     "
               u"  C.F. "
               u"                ");
}

void TestSearch::cardLine() {
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    namespace F = DatabaseField;
    DatabaseRecord card;
    const int order[] = {F::Campo01, F::Campo02, F::Campo03, F::Cliente, F::Recapito, F::CodFisc};
    for (int i = 0; i < 6; ++i)
        card.setText(order[i], fields[i]);
    card.setText(F::Campo04, QStringLiteral("not shown"));
    QCOMPARE(line.size(), 153);
    QCOMPARE(search::cardLine(card), line);
    // The flagged list shows the same line.
    card.setYesNo(F::Segnala, true);
    QVERIFY(writeFile(databaseFile(), card.bytes()));
    QList<Hit> hits;
    search::flaggedCards(databaseFile(), Missing::Empty, hits);
    QCOMPARE(hits, (QList<Hit>{{1, line}}));
}

void TestSearch::clientLines_data() {
    QTest::addColumn<QStringList>("fields"); // Cliente, Recapito, Occupazione, Prodotti
    QTest::addColumn<QString>("columns");    // the first 115 characters
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("questions");
    const QString columns = u16(u"Rossi Mario Giuseppe Luigi"
                                u"  Tel. "
                                u"051 123 456 789"
                                u"  "
                                u"Ingegnere civile e navale"
                                u"  Prod. "
                                u"Vini rossi, oli e aceti di Bra"
                                u"  ");
    // A long text is kept whole, past any column.
    const QString notes = QStringLiteral("Cliente storico: preferisce la mattina, mai dopo le 18. ")
                              .repeated(5)
                              .left(250);
    QTest::newRow("at the widths, long notes")
        << QStringList{u16(u"Rossi Mario Giuseppe Luigi"), u16(u"051 123 456 789"),
                       u16(u"Ingegnere civile e navale"), u16(u"Vini rossi, oli e aceti di Bra")}
        << columns << notes << u16(u"Richiamare a marzo");
    QTest::newRow("one over the widths, nothing after")
        << QStringList{u16(u"Rossi Mario Giuseppe Luigi!"), u16(u"051 123 456 7890"),
                       u16(u"Ingegnere civile e navale!"), u16(u"Vini rossi, oli e aceti di Bra!")}
        << columns << QString() << QString();
}

void TestSearch::clientLines() {
    QFETCH(QStringList, fields);
    QFETCH(QString, columns);
    QFETCH(QString, notes);
    QFETCH(QString, questions);
    namespace F = ClientField;
    ClientRecord client;
    const int order[] = {F::Cliente, F::Recapito, F::Occupazione, F::Prodotti};
    for (int i = 0; i < 4; ++i)
        client.setText(order[i], fields[i]);
    client.setText(F::Note, notes);
    client.setText(F::Questioni, questions);
    QCOMPARE(columns.size(), 115);
    QCOMPARE(search::clientLine(client), columns + notes.trimmed());
    QCOMPARE(search::recontactLine(client), columns + questions);
}

// Blanks and control characters stored around a text are left out of the
// line; one inside it stays (the companion escapes it, the list shows it).
void TestSearch::linesTrimStoredText() {
    DatabaseRecord card;
    putRaw(card, DatabaseField::Campo01, "\x0D \tVino\x01rosso ");
    putRaw(card, DatabaseField::Recapito, "\x13   0543 123456789012345");
    QCOMPARE(search::cardLine(card).left(28), u16(u"Vino\x01rosso").leftJustified(28));
    QCOMPARE(search::cardLine(card).mid(115, 15), u16(u"0543 1234567890"));
    ClientRecord client;
    putRaw(client, ClientField::Note, "\x08 Paga \x7F\t");
    QCOMPARE(search::clientLine(client).mid(115), u16(u"Paga \x7F"));
}

void TestSearch::listOrder_data() {
    QTest::addColumn<QStringList>("lines");       // record positions 1, 2, …
    QTest::addColumn<QList<qint64>>("positions"); // in list order
    QTest::newRow("a-z taken as A-Z, then by position")
        << QStringList{"b", "A", "a", "B"} << QList<qint64>{2, 3, 1, 4};
    QTest::newRow("a prefix first")
        << QStringList{"abc", "ab", "abcd", "AB"} << QList<qint64>{2, 4, 1, 3};
    QTest::newRow("other characters by their code")
        << QStringList{"_x", "[x", "zx", "Zx", "ax", " x", "0x"}
        << QList<qint64>{6, 7, 5, 3, 4, 2, 1};
    QTest::newRow("accented letters by their code")
        << QStringList{u16(u"è"), u16(u"É"), "e", "E", "z"} << QList<qint64>{3, 4, 5, 2, 1};
    QTest::newRow("equal lines by position")
        << QStringList{"uguale", "uguale", "uguale"} << QList<qint64>{1, 2, 3};
}

void TestSearch::listOrder() {
    QFETCH(QStringList, lines);
    QFETCH(QList<qint64>, positions);
    QList<Hit> hits;
    for (qsizetype i = lines.size(); i > 0; --i) // last record first
        hits.append({i, lines[i - 1]});
    std::sort(hits.begin(), hits.end(), search::listsBefore);
    QCOMPARE(positionsOf(hits), positions);
}

// Long lists come in the same order as the rule above gives, line for line:
// many equal beginnings, equal lines, lines that differ only in case or length,
// characters of every kind.
void TestSearch::longListsInListOrder() {
    const auto checkOrder = [](const QList<Hit> &hits, qsizetype count) {
        QCOMPARE(hits.size(), count);
        QVERIFY(std::is_sorted(hits.begin(), hits.end(), search::listsBefore));
        QList<qint64> positions = positionsOf(hits);
        std::sort(positions.begin(), positions.end());
        QCOMPARE(std::unique(positions.begin(), positions.end()), positions.end());
    };
    // Cards: a synthetic archive, then 200 copies of one card, then cards
    // that share their first 54 characters.
    QVERIFY(synthetic::writeDatabase(databaseFile(), 3000));
    QByteArray more;
    const DatabaseRecord copy = synthetic::databaseCard(7);
    for (int i = 0; i < 200; ++i)
        more += copy.bytes();
    const char16_t *pieces[] = {u"a", u"A", u"b", u"_", u"[", u"€", u"ÿ", u"Š", u"z", u" "};
    for (int i = 0; i < 300; ++i) {
        DatabaseRecord card;
        card.setText(DatabaseField::Campo01, QStringLiteral("Zeta"));
        QString third;
        for (int k = i; k > 0; k /= 10)
            third += u16(pieces[k % 10]);
        card.setText(DatabaseField::Campo03, third);
        more += card.bytes();
    }
    QFile f(databaseFile());
    QVERIFY(f.open(QIODevice::Append) && f.write(more) == more.size());
    f.close();
    checkOrder(cards(databaseFile(), {}), 3500);

    // Clients whose lines differ only in their notes, of every length.
    QByteArray clients;
    for (int i = 0; i < 400; ++i) {
        ClientRecord c;
        c.setText(ClientField::Cliente, QStringLiteral("Rossi"));
        QString notes;
        for (int k = i * 7; k > 0; k /= 10)
            notes += u16(pieces[k % 10]);
        c.setText(ClientField::Note, notes.repeated(i % 3 + 1));
        clients += c.bytes();
    }
    QVERIFY(writeFile(clientFile(), clients));
    QList<Hit> hits;
    search::findClients(clientFile(), {}, Missing::Empty, hits);
    checkOrder(hits, 400);
}

// Clicks on "Trova", each with the find box's text; every click starts from
// the row the one before selected.
void TestSearch::inListFind_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<int>>("selected");
    const QStringList lines{"Alfa Rossi", "Beta", "Gamma ROSSI", "Delta"};
    QTest::newRow("same text again: next, round the end")
        << lines << QStringList{"rossi", "rossi", "rossi"} << QList<int>{0, 2, 0};
    QTest::newRow("a new text starts from the top")
        << lines << QStringList{"rossi", "rossi", "delta", "ROSSI"} << QList<int>{0, 2, 3, 0};
    QTest::newRow("the only line holding it stays")
        << lines << QStringList{"beta", "BETA", "Beta"} << QList<int>{1, 1, 1};
    QTest::newRow("found nowhere keeps the selection")
        << lines << QStringList{"gamma", "omega", "omega"} << QList<int>{2, 2, 2};
    QTest::newRow("nothing selected, found nowhere: the first line")
        << lines << QStringList{"omega"} << QList<int>{0};
    QTest::newRow("an empty text never matches")
        << lines << QStringList{"delta", "", ""} << QList<int>{3, 3, 3};
    QTest::newRow("blanks are part of the text")
        << lines << QStringList{"a r", "a r", " rossi"} << QList<int>{0, 2, 0};
    QTest::newRow("only A-Z fold") << QStringList{u16(u"CITTÀ"), u16(u"città")}
                                   << QStringList{u16(u"città"), u16(u"CITTà")} << QList<int>{1, 1};
}

void TestSearch::inListFind() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, selected);
    QList<Hit> hits;
    for (const QString &l : lines)
        hits.append({hits.size() + 1, l});
    search::ListFind find;
    int row = -1;
    QList<int> rows;
    for (const QString &t : typed)
        rows << (row = find.next(hits, row, t));
    QCOMPARE(rows, selected);
    // Shown again, the window forgets the last text: the same text starts
    // from the top.
    find.reset();
    QCOMPARE(find.next(hits, 0, typed.first()), selected.first());
}

// The flagged and recontact lists take a record whose flag, without blanks
// and control bytes at its ends, is exactly "Sì" (bytes 53 EC).
void TestSearch::flags_data() {
    QTest::addColumn<QByteArray>("flag"); // length byte and two text bytes
    QTest::addColumn<bool>("listed");
    QTest::newRow("Sì") << QByteArray("\x02S\xEC") << true;
    QTest::newRow("Sì, damaged length byte") << QByteArray("\x09S\xEC") << true;
    QTest::newRow("sì") << QByteArray("\x02s\xEC") << false;
    QTest::newRow("SI") << QByteArray("\x02SI") << false;
    QTest::newRow("SÌ") << QByteArray("\x02S\xCC") << false;
    QTest::newRow("No") << QByteArray("\x02No") << false;
    QTest::newRow("empty") << QByteArray("\x00Sx", 3) << false;
    QTest::newRow("S alone") << QByteArray("\x01S\xEC") << false;
    QTest::newRow("Sì in UTF-8, cut") << QByteArray("\x03S\xC3") << false;
    QTest::newRow("blank before S") << QByteArray("\x02 S") << false;
}

void TestSearch::flags() {
    QFETCH(QByteArray, flag);
    QFETCH(bool, listed);
    // The record that follows each flagged one is a "Sì" card: the position
    // shows which record was taken.
    DatabaseRecord card;
    card.setText(DatabaseField::Campo01, QStringLiteral("Vino"));
    putRaw(card, DatabaseField::Segnala, flag);
    DatabaseRecord yes;
    yes.setYesNo(DatabaseField::Segnala, true);
    QVERIFY(writeFile(databaseFile(), card.bytes() + yes.bytes()));
    ClientRecord client;
    client.setText(ClientField::Cliente, QStringLiteral("Rossi"));
    putRaw(client, ClientField::Ricontatta, flag);
    ClientRecord again;
    again.setYesNo(ClientField::Ricontatta, true);
    QVERIFY(writeFile(clientFile(), client.bytes() + again.bytes()));

    const QList<qint64> expected = listed ? QList<qint64>{2, 1} : QList<qint64>{2};
    QList<Hit> hits;
    search::flaggedCards(databaseFile(), Missing::Empty, hits);
    QCOMPARE(positionsOf(hits), expected);
    hits.clear();
    search::clientsToRecontact(clientFile(), Missing::Empty, hits);
    QCOMPARE(positionsOf(hits), expected);
}

namespace {
// Runs one of the four searches on the archive of `folder`; "" when it ends
// without an error, else the error's message.
QString runSearch(const QString &which, const QString &folder, Missing missing,
                  QList<Hit> *hits = nullptr) {
    QList<Hit> found;
    const QString cardsFile = folder + QStringLiteral("/Database.pro");
    const QString clientsFile = folder + QStringLiteral("/Clienti.pro");
    try {
        if (which == u"findCards")
            search::findCards(cardsFile, {}, missing, found);
        else if (which == u"findClients")
            search::findClients(clientsFile, {}, missing, found);
        else if (which == u"flaggedCards")
            search::flaggedCards(cardsFile, missing, found);
        else
            search::clientsToRecontact(clientsFile, missing, found);
    } catch (const StorageError &e) {
        return e.message();
    }
    if (hits)
        *hits = found;
    return {};
}

QString archiveOf(const QString &which) {
    return which == u"findCards" || which == u"flaggedCards" ? QStringLiteral("Database.pro")
                                                             : QStringLiteral("Clienti.pro");
}

void eachSearchAndMode() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<Missing>("missing");
    for (const char *which : {"findCards", "findClients", "flaggedCards", "clientsToRecontact"}) {
        QTest::addRow("%s, create", which) << QString::fromLatin1(which) << Missing::Create;
        QTest::addRow("%s, empty", which) << QString::fromLatin1(which) << Missing::Empty;
    }
}
} // namespace

void TestSearch::missingArchive_data() {
    eachSearchAndMode();
}

// The windows create a missing archive empty; the companion lists nothing and
// leaves the folder as it was.
void TestSearch::missingArchive() {
    QFETCH(QString, which);
    QFETCH(Missing, missing);
    QList<Hit> hits;
    QCOMPARE(runSearch(which, m_dir->path(), missing, &hits), QString());
    QVERIFY(hits.isEmpty());
    const QFileInfo archive(m_dir->filePath(archiveOf(which)));
    QCOMPARE(archive.exists(), missing == Missing::Create);
    if (archive.exists())
        QCOMPARE(archive.size(), 0);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), archive.exists() ? 1 : 0);
}

void TestSearch::archiveThatIsNotAFile_data() {
    eachSearchAndMode();
}

// A FIFO under the archive's name is a file error at once, never a wait; a
// folder is an error too, and neither is replaced.
void TestSearch::archiveThatIsNotAFile() {
    QFETCH(QString, which);
    QFETCH(Missing, missing);
    const QString folder = m_dir->path();
    const QString archive = m_dir->filePath(archiveOf(which));
    QCOMPARE(::mkfifo(QFile::encodeName(archive).constData(), 0600), 0);
    const std::optional<QString> outcome = endsWithin(
        2s, [which, folder, missing] { return runSearch(which, folder, missing); },
        [archive] { wakeFifo(archive); });
    QVERIFY2(outcome, "the search waited on the FIFO");
    QVERIFY2(outcome->contains(QStringLiteral("impossibile aprire l'archivio")),
             qPrintable(*outcome));
    QVERIFY(QFileInfo(archive).isFile() == false && QFileInfo::exists(archive));

    QVERIFY(QFile::remove(archive));
    QVERIFY(QDir(folder).mkdir(archiveOf(which)));
    QVERIFY(!runSearch(which, folder, missing).isEmpty());
    QVERIFY(QFileInfo(archive).isDir());
}

void TestSearch::model() {
    HitListModel model;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const QList<Hit> hits{{3, QStringLiteral("alfa")}, {1, QStringLiteral("beta")}};
    model.setHits(hits);
    QCOMPARE(reset.size(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.rowCount(model.index(0)), 0); // a list: rows have no children
    QCOMPARE(model.data(model.index(1)), QVariant(QStringLiteral("beta")));
    QCOMPARE(model.data(model.index(1), Qt::DecorationRole), QVariant());
    QCOMPARE(model.data(model.index(2)), QVariant());
    QCOMPARE(model.hits(), hits);
    model.clear();
    QCOMPARE(reset.size(), 2);
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
