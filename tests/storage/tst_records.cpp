#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"

#include <QtTest>

Q_DECLARE_METATYPE(const RecordLayout *)

class TestRecords : public QObject {
    Q_OBJECT
  private slots:
    void layout_data();
    void layout();
    void recordSizes();
    void storedBytes();
    void yesNoBytes();
    void cutAndReplace();
    void damagedLengthByteIsClamped();
};

namespace {
void row(const RecordLayout &layout, int index, const char *name, int offset, int capacity) {
    QTest::addRow("%s %s", layout.fileName, name)
        << &layout << index << QString::fromLatin1(name) << offset << capacity;
}
} // namespace

// The offsets and capacities of the two archives, as existing files hold them.
void TestRecords::layout_data() {
    QTest::addColumn<const RecordLayout *>("layout");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    row(databaseLayout, 0, "Campo01", 0, 50);
    row(databaseLayout, 1, "Campo02", 51, 50);
    row(databaseLayout, 2, "Campo03", 102, 50);
    row(databaseLayout, 3, "Campo04", 153, 50);
    row(databaseLayout, 4, "Campo05", 204, 50);
    row(databaseLayout, 5, "Campo06", 255, 50);
    row(databaseLayout, 6, "Campo07", 306, 250);
    row(databaseLayout, 7, "Campo08", 557, 50);
    row(databaseLayout, 8, "Campo09", 608, 50);
    row(databaseLayout, 9, "Campo10", 659, 250);
    row(databaseLayout, 10, "Campo11", 910, 50);
    row(databaseLayout, 11, "Campo12", 961, 50);
    row(databaseLayout, 12, "Campo13", 1012, 250);
    row(databaseLayout, 13, "Campo14", 1263, 250);
    row(databaseLayout, 14, "Cliente", 1514, 50);
    row(databaseLayout, 15, "IndirizzoRes", 1565, 50);
    row(databaseLayout, 16, "ComuneRes", 1616, 50);
    row(databaseLayout, 17, "ProvRes", 1667, 2);
    row(databaseLayout, 18, "Email", 1670, 50);
    row(databaseLayout, 19, "Recapito", 1721, 50);
    row(databaseLayout, 20, "CodFisc", 1772, 16);
    row(databaseLayout, 21, "PartitaIva", 1789, 11);
    row(databaseLayout, 22, "Segnala", 1801, 2);
    row(databaseLayout, 23, "File01", 1804, 250);
    row(databaseLayout, 24, "File02", 2055, 250);
    row(databaseLayout, 25, "File03", 2306, 250);
    row(databaseLayout, 26, "Desc01", 2557, 250);
    row(databaseLayout, 27, "Desc02", 2808, 250);
    row(databaseLayout, 28, "Desc03", 3059, 250);
    row(clientLayout, 0, "Cliente", 0, 50);
    row(clientLayout, 1, "DataNasc", 51, 30);
    row(clientLayout, 2, "ComuneNasc", 82, 50);
    row(clientLayout, 3, "ProvNasc", 133, 2);
    row(clientLayout, 4, "Sesso", 136, 1);
    row(clientLayout, 5, "Recapito", 138, 50);
    row(clientLayout, 6, "IndirizzoRes", 189, 50);
    row(clientLayout, 7, "ProvRes", 240, 2);
    row(clientLayout, 8, "ComuneRes", 243, 50);
    row(clientLayout, 9, "CapRes", 294, 5);
    row(clientLayout, 10, "Estremi", 300, 250);
    row(clientLayout, 11, "TelCasa", 551, 30);
    row(clientLayout, 12, "TelUff", 582, 30);
    row(clientLayout, 13, "TelCel", 613, 30);
    row(clientLayout, 14, "Fax", 644, 30);
    row(clientLayout, 15, "Email", 675, 50);
    row(clientLayout, 16, "CodFisc", 726, 16);
    row(clientLayout, 17, "Carta", 743, 30);
    row(clientLayout, 18, "ScadeCarta", 774, 30);
    row(clientLayout, 19, "PartitaIva", 805, 11);
    row(clientLayout, 20, "Iban", 817, 27);
    row(clientLayout, 21, "Documento", 845, 120);
    row(clientLayout, 22, "Occupazione", 966, 50);
    row(clientLayout, 23, "Civile", 1017, 50);
    row(clientLayout, 24, "Titoli", 1068, 120);
    row(clientLayout, 25, "Prodotti", 1189, 120);
    row(clientLayout, 26, "Zona", 1310, 50);
    row(clientLayout, 27, "Questioni", 1361, 250);
    row(clientLayout, 28, "Note", 1612, 250);
    row(clientLayout, 29, "Ricontatta", 1863, 2);
    row(clientLayout, 30, "File01", 1866, 250);
    row(clientLayout, 31, "File02", 2117, 250);
    row(clientLayout, 32, "File03", 2368, 250);
    row(clientLayout, 33, "Desc01", 2619, 250);
    row(clientLayout, 34, "Desc02", 2870, 250);
    row(clientLayout, 35, "Desc03", 3121, 250);
}

void TestRecords::layout() {
    QFETCH(const RecordLayout *, layout);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    const FieldSlot &f = layout->fields[index];
    QCOMPARE(QString::fromLatin1(f.name), name);
    QCOMPARE(f.offset, offset);
    QCOMPARE(f.capacity, capacity);
    QCOMPARE(layout->indexOf(name.toUpper()), index);
}

void TestRecords::recordSizes() {
    QCOMPARE(databaseLayout.size, 3310);
    QCOMPARE(int(databaseLayout.fields.size()), 29);
    QCOMPARE(clientLayout.size, 3372);
    QCOMPARE(int(clientLayout.fields.size()), 36);
    QCOMPARE(DatabaseRecord().bytes().size(), 3310);
    QCOMPARE(ClientRecord().bytes().size(), 3372);
}

void TestRecords::storedBytes() {
    DatabaseRecord r;
    r.setText(DatabaseField::Campo01, u"  Caffè  ");
    r.setText(DatabaseField::Campo02, u"");
    const QByteArray &b = r.bytes();
    QCOMPARE(b.mid(0, 7), QByteArray("\x05"
                                     "Caff\xE8\0",
                                     7));
    QCOMPARE(b.at(51), '\0');
    QCOMPARE(r.text(DatabaseField::Campo01), QStringLiteral("Caffè"));
    // Writing a shorter text clears what the longer one left behind.
    r.setText(DatabaseField::Campo01, u"Tè");
    QCOMPARE(b.mid(0, 6), QByteArray("\x02T\xE8\0\0\0", 6));
}

void TestRecords::yesNoBytes() {
    DatabaseRecord d;
    d.setYesNo(DatabaseField::Segnala, true);
    QCOMPARE(d.bytes().mid(1801, 3), QByteArray("\x02\x53\xEC"));
    QCOMPARE(d.text(DatabaseField::Segnala), QStringLiteral("Sì"));
    d.setYesNo(DatabaseField::Segnala, false);
    QCOMPARE(d.bytes().mid(1801, 3), QByteArray("\x02\x4E\x6F"));
    QCOMPARE(d.yesNo(DatabaseField::Segnala), std::optional<bool>(false));

    ClientRecord c;
    c.setYesNo(ClientField::Ricontatta, true);
    QCOMPARE(c.bytes().mid(1863, 3), QByteArray("\x02\x53\xEC"));
    QCOMPARE(c.yesNo(ClientField::Ricontatta), std::optional<bool>(true));
    c.setText(ClientField::Ricontatta, u"si");
    QCOMPARE(c.yesNo(ClientField::Ricontatta), std::nullopt);
    // Stored through the text path, "Sì" gives the same bytes.
    c.setText(ClientField::Ricontatta, u"Sì");
    QCOMPARE(c.bytes().mid(1863, 3), QByteArray("\x02\x53\xEC"));
}

void TestRecords::cutAndReplace() {
    ClientRecord c;
    c.setText(ClientField::Desc01, QString(300, u'x'));
    QCOMPARE(uchar(c.bytes().at(2619)), uchar(250));
    QCOMPARE(c.text(ClientField::Desc01), QString(250, u'x'));
    QCOMPARE(uchar(c.bytes().at(2870)), uchar(0)); // the next field is untouched

    DatabaseRecord d;
    d.setText(DatabaseField::Cliente, u"Wałęsa Łukasz");
    QCOMPARE(d.text(DatabaseField::Cliente), QStringLiteral("Wa??sa ?ukasz"));
    d.setText(DatabaseField::ProvRes, u"rmx");
    QCOMPARE(d.raw(DatabaseField::ProvRes), QByteArrayView("rm"));
}

void TestRecords::damagedLengthByteIsClamped() {
    DatabaseRecord d;
    d.setText(DatabaseField::ProvRes, u"MI");
    d.setText(DatabaseField::Email, u"a@b.it");
    d.data()[1667] = char(200); // ProvRes holds at most 2
    QCOMPARE(d.text(DatabaseField::ProvRes), QStringLiteral("MI"));
    QCOMPARE(d.text(DatabaseField::Email), QStringLiteral("a@b.it"));
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
