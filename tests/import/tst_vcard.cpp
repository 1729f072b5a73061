#include "import/VCard.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "support/Files.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace C = ClientField;

class TestVCard : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void roundTripsEveryField();
    void independentReaderSeesTheProperties();
    void readsAddressBookCards();
    void foldsMaySplitACharacter();
    void registryToOneFile();
};

namespace {

// A client with every field in use: accents, the escaped characters, a line
// break, values long enough to be folded.
ClientRecord fullClient(int n) {
    ClientRecord c;
    for (int f = 0; f < C::Count; ++f) {
        const int cap = clientLayout.fields[f].capacity;
        c.setText(f, QStringLiteral("%1è;,\\ %2 à").arg(clientLayout.fields[f].name).arg(n)
                         .repeated(10)
                         .left(cap));
    }
    c.setText(C::Cliente, QStringLiteral("Dell'Acqua Nicolò %1").arg(n));
    c.setText(C::DataNasc, n == 0 ? QStringLiteral("31/01/1980") : QStringLiteral("circa 1970"));
    c.setText(C::Note, QStringLiteral("prima riga\r\nseconda; riga, con \\ e città"));
    c.setYesNo(C::Ricontatta, n == 0);
    c.setText(C::ProvRes, QStringLiteral("TP"));
    if (n == 2) { // a lone CR and a lone LF come back as they were, in a full field too
        c.setText(C::CodFisc, QStringLiteral("RSSMRA80\rA01H50U"));
        c.setText(C::Questioni, QStringLiteral("a\nb\r\nc\rd\\r\\n"));
    }
    return c;
}

// The clients the import stores from a file of these bytes.
QList<ClientRecord> readBytes(const QByteArray &bytes, import::Counts &counts) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c.vcf"));
    if (!writeFile(file, bytes))
        return {};
    return vcard::readFile(file, counts);
}

} // namespace

void TestVCard::init() {}

void TestVCard::roundTripsEveryField() {
    QTemporaryDir dir;
    const QList<ClientRecord> clients = {fullClient(0), fullClient(1), fullClient(2)};
    QCOMPARE(clients[2].text(C::CodFisc).size(), 16);
    vcard::writeFile(dir.filePath("c.vcf"), clients);
    const QByteArray bytes = readFile(dir.filePath("c.vcf"));
    for (const QByteArray &l : bytes.split('\n'))
        QVERIFY2(l.size() <= 76, l.constData()); // 75 and the CR
    QVERIFY(bytes.contains("\r\nBDAY:1980-01-31\r\n"));
    QVERIFY(bytes.contains("X-CARTAVERA-DATA-NASCITA:circa 1970"));
    import::Counts counts;
    const QList<ClientRecord> back = vcard::readFile(dir.filePath("c.vcf"), counts);
    QCOMPARE(back.size(), 3);
    QCOMPARE(counts.rows, 3);
    QCOMPARE(counts.cutValues, 0);
    for (int i = 0; i < 3; ++i) {
        for (int f = 0; f < C::Count; ++f)
            QCOMPARE(back[i].text(f), clients[i].text(f));
        QCOMPARE(back[i].bytes(), clients[i].bytes());
    }
}

// Python's standard library, knowing nothing of our reader, unfolds the lines
// and finds the name, the address, the numbers and our own properties.
void TestVCard::independentReaderSeesTheProperties() {
    QTemporaryDir dir;
    ClientRecord c;
    c.setText(C::Cliente, QStringLiteral("Çelik Zoë Müller-Lüdenscheidt Ñuñez"));
    c.setText(C::IndirizzoRes, QStringLiteral("Via dei Mille, 3; scala B"));
    c.setText(C::ComuneRes, QStringLiteral("Forlì"));
    c.setText(C::TelCel, QStringLiteral("333 1234567"));
    c.setText(C::Fax, QStringLiteral("06 999"));
    c.setText(C::CodFisc, QStringLiteral("CLKZOE80A41D704X"));
    c.setText(C::Questioni, QStringLiteral("àèìòù ").repeated(40));
    vcard::writeFile(dir.filePath("c.vcf"), {c});
    const char *script = R"PY(
import sys, json, re
raw = open(sys.argv[1], 'rb').read().decode('utf-8')
text = re.sub(r'\r\n[ \t]', '', raw)
def unescape(v):
    return re.sub(r'\\(.)', lambda m: '\n' if m.group(1) in 'nN' else m.group(1), v)
def split(v):
    return [unescape(p) for p in re.split(r'(?<!\\);', v)]
out = {}
for line in text.split('\r\n'):
    if ':' not in line:
        continue
    head, value = line.split(':', 1)
    name, *params = head.split(';')
    if name == 'FN': out['fn'] = unescape(value)
    if name == 'ADR': out['adr'] = split(value)
    if name == 'TEL': out['tel ' + ','.join(params)] = unescape(value)
    if name == 'X-CARTAVERA-CODICE-FISCALE': out['cf'] = unescape(value)
    if name == 'X-CARTAVERA-QUESTIONI': out['q'] = unescape(value)
print(json.dumps(out))
)PY";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script),
                                             dir.filePath("c.vcf")});
    if (!python.waitForStarted())
        QSKIP("python3 is not available");
    QVERIFY(python.waitForFinished(20000));
    QCOMPARE(python.exitCode(), 0);
    const QJsonObject got = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    QCOMPARE(got[u"fn"].toString(), c.text(C::Cliente));
    QCOMPARE(got[u"adr"].toVariant().toStringList(),
             (QStringList{"", "", "Via dei Mille, 3; scala B", u"Forlì"_qs, "", "", ""}));
    QCOMPARE(got[u"tel TYPE=CELL"].toString(), QStringLiteral("333 1234567"));
    QCOMPARE(got[u"tel TYPE=FAX"].toString(), QStringLiteral("06 999"));
    QCOMPARE(got[u"cf"].toString(), QStringLiteral("CLKZOE80A41D704X"));
    QCOMPARE(got[u"q"].toString(), c.text(C::Questioni));

    import::Counts counts;
    const QList<ClientRecord> back = vcard::readFile(dir.filePath("c.vcf"), counts);
    QCOMPARE(back.size(), 1);
    QCOMPARE(back[0].bytes(), [&] {
        ClientRecord expected = c;
        expected.setYesNo(C::Ricontatta, false);
        return expected;
    }().bytes());
}

// Cards as address books write them: groups, TYPE in every spelling, LF line
// ends, folding with a tab, N without FN, a compact BDAY, a value too long.
// A writer that folds inside a UTF-8 sequence: the line is joined before it
// is decoded.
void TestVCard::foldsMaySplitACharacter() {
    import::Counts counts;
    const QList<ClientRecord> cards =
        readBytes("BEGIN:VCARD\r\nFN:Nicol\xC3\r\n \xB2 Ca\r\n\tff\xC3\xA8\r\nEND:VCARD", counts);
    QCOMPARE(cards.size(), 1);
    QCOMPARE(cards[0].text(C::Cliente), QStringLiteral("Nicolò Caffè"));
}

void TestVCard::readsAddressBookCards() {
    const QByteArray bytes =
        "BEGIN:VCARD\nVERSION:3.0\nN:Rossi;Maria;Luisa;;\n"
        "item1.EMAIL;type=INTERNET;type=pref:maria@example.it\n"
        "TEL;type=WORK;type=VOICE:02 1111\nTEL;TYPE=\"cell\":347 2222\nTEL:06 3333\n"
        "TEL;TYPE=CELL:348 4444\n"
        "ADR;TYPE=home:;Int. 4;Via Roma 1;Bologna;BO;40100;Italia\nBDAY:19800131\n"
        "NOTE:" + QByteArray(300, 'n') + "\nX-UNKNOWN:zzz\n"
        "X-CARTAVERA-CODICE-FISCALE:RSSMRA80A71A944\n\tK\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nEND:VCARD\nBEGIN:VCARD\nEND:VCARD\n" // empty: skipped
        "BEGIN:VCARD\nTEL:06 1\nEND:VCARD\n" // no name: refused
        "BEGIN:VCARD\nFN:Ditta Srl\nTITLE:Responsabile acquisti\nORG:Ditta Srl;Ufficio acquisti\n"
        "EMAIL:a@d.it\nEMAIL:b@d.it\nTEL:1\nTEL:2\nTEL:3\nTEL:4\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Solo Nome\nEND:VCARD\n";
    import::Counts counts;
    const QList<ClientRecord> cards = readBytes(bytes, counts);
    QCOMPARE(cards.size(), 3);
    const ClientRecord &a = cards[0];
    QCOMPARE(a.text(C::Cliente), QStringLiteral("Rossi Maria Luisa"));
    QCOMPARE(a.text(C::Email), QStringLiteral("maria@example.it"));
    QCOMPARE(a.text(C::TelUff), QStringLiteral("02 1111"));
    QCOMPARE(a.text(C::TelCel), QStringLiteral("347 2222"));
    QCOMPARE(a.text(C::TelCasa), QStringLiteral("06 3333"));
    QCOMPARE(a.text(C::IndirizzoRes), QStringLiteral("Via Roma 1 Int. 4"));
    QCOMPARE(a.text(C::ComuneRes), QStringLiteral("Bologna"));
    QCOMPARE(a.text(C::ProvRes), QStringLiteral("BO"));
    QCOMPARE(a.text(C::CapRes), QStringLiteral("40100"));
    QCOMPARE(a.text(C::DataNasc), QStringLiteral("31/01/1980"));
    QCOMPARE(a.text(C::Note), QString(250, u'n'));
    QCOMPARE(a.text(C::CodFisc), QStringLiteral("RSSMRA80A71A944K"));
    QCOMPARE(a.yesNo(C::Ricontatta), false);
    // TITLE and ORG make the occupation; what no field takes is counted: a
    // fourth telephone (of either card) and a second e-mail.
    const ClientRecord &d = cards[1];
    QCOMPARE(d.text(C::Occupazione), QStringLiteral("Responsabile acquisti, Ditta Srl Ufficio acquisti"));
    QCOMPARE(d.text(C::Email), QStringLiteral("a@d.it"));
    QCOMPARE(QStringList({d.text(C::TelCasa), d.text(C::TelUff), d.text(C::TelCel)}),
             (QStringList{"1", "2", "3"}));
    QCOMPARE(cards[2].text(C::Cliente), QStringLiteral("Solo Nome"));
    QCOMPARE(counts.rows, 3);
    QCOMPARE(counts.cutValues, 1);
    QCOMPARE(counts.blankRows, 2);
    QCOMPARE(counts.refusedRows, 1);
    QCOMPARE(counts.droppedValues, 3);
}

void TestVCard::registryToOneFile() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QByteArray archive;
    for (int i = 0; i < 3; ++i)
        archive += fullClient(i).bytes();
    QVERIFY(writeFile(folder.clientFile(), archive));
    QCOMPARE(vcard::exportRegistry(folder, dir.filePath("Clienti.vcf")), 3);
    import::Counts counts;
    QByteArray back;
    for (const ClientRecord &c : vcard::readFile(dir.filePath("Clienti.vcf"), counts))
        back += c.bytes();
    QCOMPARE(back, archive);
    QVERIFY_THROWS_EXCEPTION(StorageError,
                             vcard::exportRegistry(folder, dir.filePath("no/such/folder.vcf")));
}

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
