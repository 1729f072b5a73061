#include "import/VCard.h"
#include "output/SpreadsheetExport.h"
#include "search/Search.h"
#include "storage/CardBin.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QtTest>

class TestCardBin : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void deleteAndGiveBack_data();
    void deleteAndGiveBack();
    void refusedAndNothingChanged();
    void discardAndLeftovers();
    void freeSlotsAreNoCards();

  private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // Three cards in each archive; database cards with a photo and a folder.
    void makeArchives();
    QByteArray archive(const RecordLayout &layout) const {
        return readFile(path(QString::fromLatin1(layout.fileName)));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    AppFolder m_folder;
};

void TestCardBin::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = AppFolder(m_dir->path());
    makeArchives();
}

void TestCardBin::makeArchives() {
    QByteArray cards, clients;
    for (int i = 1; i <= 3; ++i) {
        DatabaseRecord card;
        card.setText(DatabaseField::Campo01, QStringLiteral("Scheda %1").arg(i));
        card.setYesNo(DatabaseField::Segnala, i == 2);
        cards += card.bytes();
        ClientRecord client;
        client.setText(ClientField::Cliente, QStringLiteral("Cliente %1").arg(i));
        client.setYesNo(ClientField::Ricontatta, false);
        clients += client.bytes();
        QVERIFY(writeFile(path(QStringLiteral("%1.jpg").arg(i)), "foto " + QByteArray::number(i)));
        QVERIFY(QDir().mkpath(path(QStringLiteral("Scheda_%1").arg(i))));
        QVERIFY(writeFile(path(QStringLiteral("Scheda_%1/nota.txt").arg(i)), "nota"));
    }
    QVERIFY(writeFile(m_folder.databaseFile(), cards));
    QVERIFY(writeFile(m_folder.clientFile(), clients));
}

void TestCardBin::deleteAndGiveBack_data() {
    QTest::addColumn<bool>("clients");
    QTest::addColumn<int>("position");
    for (bool clients : {false, true})
        for (int position : {1, 2, 3})
            QTest::addRow("%s %d", clients ? "client" : "card", position) << clients << position;
}

// The slot is zeroed and every other byte of the archive stays; the record,
// the photo and the folder go to the bin and come back as they were.
void TestCardBin::deleteAndGiveBack() {
    QFETCH(bool, clients);
    QFETCH(int, position);
    const RecordLayout &layout = clients ? clientLayout : databaseLayout;
    const auto before = folderSnapshot(m_dir->path());
    const QByteArray original = archive(layout);
    const QString p = QString::number(position);

    const QDateTime when(QDate(2026, 12, 11), QTime(10, 15, 30, 123));
    const cardbin::Entry entry = cardbin::remove(m_folder, layout, position, when);
    QCOMPARE(entry.name, QStringLiteral("%1_%2_20261211-101530-123")
                             .arg(clients ? "Clienti" : "Database", p));
    QByteArray expected = original;
    expected.replace((position - 1) * layout.size, layout.size, QByteArray(layout.size, '\0'));
    QCOMPARE(archive(layout), expected);
    const QString place = QStringLiteral("Cestino/") + entry.name + u'/';
    QCOMPARE(readFile(path(place + QStringLiteral("scheda.pro"))),
             original.mid((position - 1) * layout.size, layout.size));
    // Database cards take their photo and folder along; clients have none.
    QCOMPARE(QFile::exists(path(p + QStringLiteral(".jpg"))), clients);
    QCOMPARE(QFile::exists(path(place + p + QStringLiteral(".jpg"))), !clients);
    QCOMPARE(QFile::exists(path(place + QStringLiteral("Scheda_") + p + QStringLiteral("/nota.txt"))),
             !clients);
    // The other archive is untouched.
    QCOMPARE(archive(clients ? databaseLayout : clientLayout),
             before.value(QString::fromLatin1((clients ? databaseLayout : clientLayout).fileName)));

    const QList<cardbin::Entry> listed = cardbin::entries(m_folder);
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed[0].position, position);
    QCOMPARE(listed[0].layout, &layout);
    QCOMPARE(listed[0].deleted, when);
    QCOMPARE(listed[0].record, entry.record);

    cardbin::giveBack(m_folder, entry.name);
    auto after = folderSnapshot(m_dir->path());
    QCOMPARE(after.take(QStringLiteral("Cestino")), QByteArray("<folder>"));
    QCOMPARE(after, before);
    QVERIFY(cardbin::entries(m_folder).isEmpty());
}

void TestCardBin::refusedAndNothingChanged() {
    const auto refusal = [](const std::function<void()> &step) {
        try {
            step();
        } catch (const cardbin::Refused &e) {
            return e.message();
        }
        return QString();
    };
    // Nothing to delete at positions the archive lacks or at a free slot.
    QVERIFY(refusal([&] { cardbin::remove(m_folder, databaseLayout, 0); }).contains(u"non è"));
    QVERIFY(refusal([&] { cardbin::remove(m_folder, databaseLayout, 4); }).contains(u"non è"));
    const QString name = cardbin::remove(m_folder, databaseLayout, 2).name;
    QVERIFY(refusal([&] { cardbin::remove(m_folder, databaseLayout, 2); }).contains(u"già"));

    // Giving back refused while its place is taken: the bin keeps the card
    // and the folder stays as it is.
    const auto inBin = folderSnapshot(m_dir->path());
    QVERIFY(writeFile(path(QStringLiteral("2.jpg")), "un'altra foto"));
    QVERIFY(refusal([&] { cardbin::giveBack(m_folder, name); }).contains(u"c'è già \"2.jpg\""));
    QVERIFY(QFile::remove(path(QStringLiteral("2.jpg"))));
    QCOMPARE(folderSnapshot(m_dir->path()), inBin);

    // A restore of an older backup: the slot holds a card again, or the
    // archive is shorter than the position.
    QByteArray cards = archive(databaseLayout);
    DatabaseRecord other;
    other.setText(DatabaseField::Campo01, QStringLiteral("Altra"));
    other.setYesNo(DatabaseField::Segnala, false);
    QVERIFY(writeFile(m_folder.databaseFile(),
                      cards.left(DatabaseRecord::kSize) + other.bytes() + cards.mid(2 * DatabaseRecord::kSize)));
    QVERIFY(refusal([&] { cardbin::giveBack(m_folder, name); }).contains(u"di nuovo occupata"));
    QVERIFY(writeFile(m_folder.databaseFile(), cards.left(DatabaseRecord::kSize)));
    QVERIFY(refusal([&] { cardbin::giveBack(m_folder, name); }).contains(u"non esiste più"));
    QCOMPARE(cardbin::entries(m_folder).size(), 1);
    QVERIFY(refusal([&] { cardbin::giveBack(m_folder, QStringLiteral("qualcosa")); })
                .contains(u"non è una scheda del cestino"));
}

void TestCardBin::discardAndLeftovers() {
    const QString first = cardbin::remove(m_folder, clientLayout, 1).name;
    cardbin::remove(m_folder, databaseLayout, 3);
    QVERIFY(QDir().mkpath(path(QStringLiteral("Cestino/altro"))));
    // An entry whose record is a folder, not a file, is no entry.
    QVERIFY(QDir().mkpath(path(QStringLiteral("Cestino/Database_2_20261211-101530-123/scheda.pro"))));
    QCOMPARE(cardbin::entries(m_folder).size(), 2);
    cardbin::discard(m_folder, first);
    QVERIFY(!QFile::exists(path(QStringLiteral("Cestino/") + first)));
    QCOMPARE(cardbin::entries(m_folder).size(), 1);
    // What a kill left halfway out of the bin goes at the next start.
    QVERIFY(QDir().mkpath(path(QStringLiteral("Cestino/.eliminata-Database_1_x/Scheda_1"))));
    cardbin::removeLeftovers(m_folder);
    QVERIFY(!QFile::exists(path(QStringLiteral("Cestino/.eliminata-Database_1_x"))));
    QCOMPARE(QDir(path(QStringLiteral("Cestino"))).entryList(QDir::Dirs | QDir::Hidden |
                                                             QDir::NoDotAndDotDot)
                 .size(),
             3); // the remaining entry, "altro" and the entry without a record file
}

// Searches, lists, exports and the known cards of an import leave free
// slots out: the same bytes as an archive that never held those cards.
void TestCardBin::freeSlotsAreNoCards() {
    const QByteArray cards = archive(databaseLayout), clients = archive(clientLayout);
    for (int p : {1, 3}) {
        cardbin::remove(m_folder, databaseLayout, p);
        cardbin::remove(m_folder, clientLayout, p);
    }
    const auto positions = [](const QList<search::Hit> &hits) {
        QList<qint64> out;
        for (const search::Hit &h : hits)
            out << h.position;
        return out;
    };
    QList<search::Hit> hits;
    search::findCards(m_folder.databaseFile(), {}, search::Missing::Empty, hits);
    QCOMPARE(positions(hits), QList<qint64>{2});
    hits.clear();
    search::flaggedCards(m_folder.databaseFile(), search::Missing::Empty, hits);
    QCOMPARE(positions(hits), QList<qint64>{2});
    hits.clear();
    search::findClients(m_folder.clientFile(), {}, search::Missing::Empty, hits);
    QCOMPARE(positions(hits), QList<qint64>{2});

    // The middle cards alone, in an archive of their own: the reference.
    const AppFolder alone(path(QStringLiteral("sola")));
    QVERIFY(QDir().mkpath(alone.path()));
    QVERIFY(writeFile(alone.databaseFile(), cards.mid(DatabaseRecord::kSize, DatabaseRecord::kSize)));
    QVERIFY(writeFile(alone.clientFile(), clients.mid(ClientRecord::kSize, ClientRecord::kSize)));
    for (const spreadsheet::Sheet *sheet : {&spreadsheet::databaseSheet, &spreadsheet::clientSheet}) {
        const QString archiveName = QString::fromLatin1(sheet->layout->fileName);
        QCOMPARE(spreadsheet::exportArchive(*sheet, m_folder.file(archiveName), path("t.xls")), 1);
        spreadsheet::exportArchive(*sheet, alone.file(archiveName), path("r.xls"));
        QCOMPARE(readFile(path("t.xls")), readFile(path("r.xls")));
    }
    QCOMPARE(vcard::exportRegistry(m_folder, path("t.vcf")), 1);
    vcard::exportRegistry(alone, path("r.vcf"));
    QCOMPARE(readFile(path("t.vcf")), readFile(path("r.vcf")));
}

QTEST_MAIN(TestCardBin)
#include "tst_cardbin.moc"
