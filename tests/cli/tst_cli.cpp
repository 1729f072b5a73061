#include "output/SpreadsheetExport.h"
#include "search/Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/Journal.h"
#include "support/Files.h"
#include "support/FullDisk.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestCli : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void neverCreatesTheArchive_data();
    void neverCreatesTheArchive();
    void countIgnoresPartialRecord();
    void freeSlotsOfDeletedCards();
    void showRecord();
    void showEscapesControlCharacters();
    void exportMatchesTheExportWindow();
    void exportFailureKeepsTheOldFile_data();
    void exportFailureKeepsTheOldFile();
    void exportNeverOverwritesTheArchive_data();
    void exportNeverOverwritesTheArchive();
    void search_data();
    void search();
    void check_data();
    void check();
    void checkFromStandardInput();
    void checkLongLine();
    void errors_data();
    void errors();
    void lostOutput_data();
    void lostOutput();
    void archiveThatIsNotAFile_data();
    void archiveThatIsNotAFile();
    void backupCommands_data();
    void backupCommands();
    void readsNoHalfChange();
    void prepareMakesTheFolder();

  private:
    struct Result {
        int code;
        QString out;
        QString err;
    };
    // `output`: a file the companion's standard output goes to instead of the pipe.
    // A run that outlasts `limit` is killed and reported with code -1. `memory`:
    // the most bytes of data the companion may hold, when not 0.
    Result run(QStringList args, const QByteArray &input = {}, const QString &output = {},
               int limit = 20000, rlim_t memory = 0) {
        QProcess p;
        if (memory)
            p.setChildProcessModifier([memory] {
                const rlimit cap{memory, memory};
                ::setrlimit(RLIMIT_DATA, &cap);
            });
        p.setWorkingDirectory(m_dir->path());
        if (!output.isEmpty())
            p.setStandardOutputFile(output);
        p.start(QStringLiteral(CARTAVERA_CLI), args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(limit)) {
            p.kill();
            p.waitForFinished();
            return {-1, {}, QStringLiteral("did not end in time")};
        }
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    Result runIn(const QStringList &args) {
        return run(QStringList{QStringLiteral("--cartella"), m_dir->path()} + args);
    }
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    void writeFile(const char *name, const QByteArray &bytes) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString &p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {
DatabaseRecord card(const QString &first, bool flagged) {
    DatabaseRecord r;
    r.setText(DatabaseField::Campo01, first);
    r.setText(DatabaseField::Cliente, QStringLiteral("Verdi Giuseppe"));
    r.setText(DatabaseField::ComuneRes, QStringLiteral("Forlì"));
    r.setText(DatabaseField::Desc03, QStringLiteral("ultimo"));
    r.setYesNo(DatabaseField::Segnala, flagged);
    return r;
}
} // namespace

void TestCli::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestCli::neverCreatesTheArchive_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("out");
    QTest::newRow("count") << QStringList{"conta", "clienti"} << "0\n";
    QTest::newRow("search clients") << QStringList{"cerca", "clienti", "--note", "x"} << "";
    QTest::newRow("search cards") << QStringList{"cerca", "database"} << "";
    QTest::newRow("flagged cards") << QStringList{"cerca", "segnalati"} << "";
    QTest::newRow("clients to recontact") << QStringList{"cerca", "ricontattare"} << "";
}

void TestCli::neverCreatesTheArchive() {
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    const Result r = runIn(args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, out);
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestCli::countIgnoresPartialRecord() {
    writeFile("Database.pro", card(QStringLiteral("a"), false).bytes() +
                                  card(QStringLiteral("b"), true).bytes() + QByteArray(10, 'x'));
    QCOMPARE(runIn({QStringLiteral("conta"), QStringLiteral("database")}).out,
             QStringLiteral("2\n"));
    QCOMPARE(QFileInfo(path("Database.pro")).size(), 2 * 3310 + 10); // untouched
}

// A deleted card's free slot: counted apart, and no card to show.
void TestCli::freeSlotsOfDeletedCards() {
    writeFile("Database.pro", card(QStringLiteral("a"), false).bytes() + QByteArray(3310, '\0') +
                                  card(QStringLiteral("c"), true).bytes());
    QCOMPARE(runIn({QStringLiteral("conta"), QStringLiteral("database")}).out,
             QStringLiteral("2\nposti liberi: 1\n"));
    const Result r =
        runIn({QStringLiteral("mostra"), QStringLiteral("database"), QStringLiteral("2")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(u"eliminata"), qPrintable(r.err));
}

void TestCli::showRecord() {
    writeFile("Database.pro", card(QStringLiteral("primo"), false).bytes() +
                                  card(QStringLiteral("  secondo  "), true).bytes());
    const Result r =
        runIn({QStringLiteral("mostra"), QStringLiteral("database"), QStringLiteral("2")});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 29);
    QCOMPARE(lines[0], QStringLiteral("Campo01=secondo"));
    QCOMPARE(lines[1], QStringLiteral("Campo02="));
    QCOMPARE(lines[14], QStringLiteral("Cliente=Verdi Giuseppe"));
    QCOMPARE(lines[16], QStringLiteral("ComuneRes=Forlì"));
    QCOMPARE(lines[22], QStringLiteral("Segnala=Sì"));
    QCOMPARE(lines[28], QStringLiteral("Desc03=ultimo"));
}

// A stored line break cannot forge a line of "mostra": every field stays on
// its own line, control characters and backslashes written as escapes.
void TestCli::showEscapesControlCharacters() {
    DatabaseRecord r = card(QStringLiteral("x"), true);
    const auto store = [&r](int field, QByteArrayView bytes) {
        char *p = r.data() + databaseLayout.fields[field].offset;
        p[0] = char(bytes.size());
        std::memcpy(p + 1, bytes.data(), size_t(bytes.size()));
    };
    store(DatabaseField::Campo01, "x\nCliente=FALSO");
    store(DatabaseField::Campo02, "a\r\nb\tc\\n");
    store(DatabaseField::Campo03, "<\x01\x1B[2J\x7F|\x9D|\xE0>");
    writeFile("Database.pro", r.bytes());
    const Result res =
        runIn({QStringLiteral("mostra"), QStringLiteral("database"), QStringLiteral("1")});
    QCOMPARE(res.code, 0);
    const QStringList lines = res.out.split(u'\n');
    QCOMPARE(lines.size(), 29 + 1); // 29 fields and the final line break
    QCOMPARE(lines[0], QStringLiteral("Campo01=x\\nCliente=FALSO"));
    QCOMPARE(lines[1], QStringLiteral("Campo02=a\\r\\nb\\tc\\\\n"));
    QCOMPARE(lines[2], QStringLiteral("Campo03=<\\x01\\x1B[2J\\x7F|\\x9D|à>"));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^Cliente="))),
             QStringList{QStringLiteral("Cliente=Verdi Giuseppe")});

    // The search lines the same way, the tab after the position the only one.
    const Result found = runIn({QStringLiteral("cerca"), QStringLiteral("database"),
                                QStringLiteral("--campo02"), QStringLiteral("B\tC")});
    QCOMPARE(found.code, 0);
    QCOMPARE(found.out.count(u'\n'), 1);
    QCOMPARE(found.out.count(u'\t'), 1);
    QVERIFY2(found.out.startsWith(QStringLiteral("1\tx\\nCliente=FALSO   ")) &&
                 found.out.contains(QStringLiteral("  a\\r\\nb\\tc\\\\n   ")) &&
                 found.out.contains(QStringLiteral("  <\\x01\\x1B[2J\\x7F|\\x9D|à>   ")),
             qPrintable(found.out));
}

void TestCli::exportMatchesTheExportWindow() {
    ClientRecord c;
    c.setText(ClientField::Cliente, QStringLiteral("Neri & Figli <srl>"));
    c.setText(ClientField::ProvNasc, QStringLiteral("NA"));
    writeFile("Clienti.pro", c.bytes());
    Result r = runIn({QStringLiteral("esporta"), QStringLiteral("clienti")});
    QCOMPARE(r.code, 0);

    // What the export window writes from its unedited grid.
    const QString expected = path("atteso.xls");
    spreadsheet::Writer w(expected, spreadsheet::clientSheet);
    w.addRow(spreadsheet::cellsOf(spreadsheet::clientSheet, c));
    w.commit();
    QCOMPARE(read(path("Clienti.xls")), read(expected));

    r = runIn({QStringLiteral("esporta"), QStringLiteral("clienti"), QStringLiteral("--file"),
               path("altro.xls")});
    QCOMPARE(r.code, 0);
    QCOMPARE(read(path("altro.xls")), read(expected));
}

void TestCli::exportFailureKeepsTheOldFile_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("full disk") << "full";
    QTest::newRow("read-only disk") << "read-only";
    QTest::newRow("target name taken by a folder") << "folder";
}

// An export that cannot reach the disk is a file error, and the earlier
// export (or the folder in its place) stays byte for byte.
void TestCli::exportFailureKeepsTheOldFile() {
    QFETCH(QString, fault);
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    QByteArray cards;
    for (int i = 0; i < 10; ++i)
        cards += card(QStringLiteral("scheda %1").arg(i), i % 2).bytes();
    writeFile("Database.pro", cards);
    const QString target = disk.filePath(QStringLiteral("Database.xls"));
    const QStringList args{QStringLiteral("esporta"), QStringLiteral("database"),
                           QStringLiteral("--file"), target};
    if (fault == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(target + QStringLiteral("/dentro")));
    } else {
        QCOMPARE(runIn(args).code, 0);
        QVERIFY(!read(target).isEmpty());
    }
    const QByteArray old = read(target);
    const QStringList files = QDir(disk.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (fault == QLatin1String("full"))
        QVERIFY(disk.fill());
    if (fault == QLatin1String("read-only"))
        QVERIFY(disk.makeReadOnly());
    const Result r = runIn(args);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("cartavera-cli: impossibile scrivere %1\n").arg(target));
    QCOMPARE(read(target), old);
    QVERIFY(QFileInfo(target).isDir() == (fault == QLatin1String("folder")));
    QStringList after = QDir(disk.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    after.removeAll(QString::fromLatin1(FullDisk::kFiller));
    QCOMPARE(after, files); // nothing half written left beside it
}

void TestCli::exportNeverOverwritesTheArchive_data() {
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("target"); // "" for the default Database.xls / Clienti.xls
    QTest::addColumn<QString>("link");   // what the target is made: "", "symlink" or "hardlink"
    QTest::addColumn<QString>("linked"); // the file it links to
    QTest::newRow("its own archive") << "database"
                                     << "@/Database.pro"
                                     << ""
                                     << "";
    QTest::newRow("the other archive") << "database"
                                       << "@/Clienti.pro"
                                       << ""
                                       << "";
    QTest::newRow("relative path") << "clienti"
                                   << "Clienti.pro"
                                   << ""
                                   << "";
    QTest::newRow("other spelling") << "clienti"
                                    << "@/.//Database.pro"
                                    << ""
                                    << "";
    QTest::newRow("symbolic link") << "database"
                                   << "@/riepilogo.xls"
                                   << "symlink"
                                   << "Database.pro";
    QTest::newRow("hard link") << "clienti"
                               << "@/riepilogo.xls"
                               << "hardlink"
                               << "Clienti.pro";
    QTest::newRow("default target is a link") << "database"
                                              << ""
                                              << "symlink"
                                              << "Database.pro";
    QTest::newRow("settings file") << "database"
                                   << "@/Archivio.ini"
                                   << ""
                                   << "";
}

void TestCli::exportNeverOverwritesTheArchive() {
    QFETCH(QString, archive);
    QFETCH(QString, target);
    QFETCH(QString, link);
    QFETCH(QString, linked);
    const QByteArray cards = card(QStringLiteral("a"), false).bytes();
    ClientRecord client;
    client.setText(ClientField::Cliente, QStringLiteral("Neri Anna"));
    writeFile("Database.pro", cards);
    writeFile("Clienti.pro", client.bytes());
    writeFile("Archivio.ini", "[Database]\r\nNome Archivio=Vini\r\n");
    target.replace(u'@', m_dir->path());
    const QString made = target.isEmpty() ? path("Database.xls") : target;
    if (link == u"symlink")
        QVERIFY(QFile::link(path(qPrintable(linked)), made));
    else if (link == u"hardlink")
        QCOMPARE(::link(QFile::encodeName(path(qPrintable(linked))).constData(),
                        QFile::encodeName(made).constData()),
                 0);

    QStringList args{QStringLiteral("esporta"), archive};
    if (!target.isEmpty())
        args << QStringLiteral("--file") << target;
    const Result r = runIn(args);
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("cartavera-cli: ")) &&
                 r.err.contains(QStringLiteral("l'esportazione non lo sovrascrive")),
             qPrintable(r.err));
    QCOMPARE(read(path("Database.pro")), cards);
    QCOMPARE(read(path("Clienti.pro")), client.bytes());
    QCOMPARE(read(path("Archivio.ini")), QByteArray("[Database]\r\nNome Archivio=Vini\r\n"));
}

namespace {
// The archives the search cases look in.
void writeSearchArchives(const QString &folder) {
    QList<DatabaseRecord> cards(3);
    const char16_t *first[] = {u"Vino rosso", u"Olio", u"Aceto"};
    const char16_t *names[] = {u"Rossi Mario", u"Bianchi Anna", u"rossi luca"};
    const char16_t *towns[] = {u"Forlì", u"Roma", u"Roma"};
    QByteArray bytes;
    for (int i = 0; i < 3; ++i) {
        cards[i].setText(DatabaseField::Campo01, QString::fromUtf16(first[i]));
        cards[i].setText(DatabaseField::Cliente, QString::fromUtf16(names[i]));
        cards[i].setText(DatabaseField::ComuneRes, QString::fromUtf16(towns[i]));
        cards[i].setYesNo(DatabaseField::Segnala, i != 1);
        bytes += cards[i].bytes();
    }
    QFile d(folder + QStringLiteral("/Database.pro"));
    QVERIFY(d.open(QIODevice::WriteOnly) && d.write(bytes) == bytes.size());
    QList<ClientRecord> clients(2);
    clients[0].setText(ClientField::Cliente, QStringLiteral("Neri Paolo"));
    clients[0].setText(ClientField::Note, QStringLiteral("paga -h in contanti"));
    clients[0].setText(ClientField::Questioni, QStringLiteral("preventivo"));
    clients[0].setYesNo(ClientField::Ricontatta, true);
    clients[1].setText(ClientField::Cliente, QStringLiteral("Verdi Anna"));
    clients[1].setText(ClientField::Zona, QStringLiteral("Romagna"));
    clients[1].setYesNo(ClientField::Ricontatta, false);
    QFile c(folder + QStringLiteral("/Clienti.pro"));
    QVERIFY(c.open(QIODevice::WriteOnly) &&
            c.write(clients[0].bytes() + clients[1].bytes()) == 2 * 3372);
}
} // namespace

void TestCli::search_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QList<int>>("positions"); // the records listed, in list order
    QTest::newRow("capitals find any case")
        << QStringList{"database", "--cliente", "ROSSI"} << QList<int>{3, 1};
    QTest::newRow("two boxes") << QStringList{"database", "--cliente", "rossi", "--comuneres",
                                              "rom"}
                               << QList<int>{3};
    QTest::newRow("no box lists all") << QStringList{"database"} << QList<int>{3, 2, 1};
    QTest::newRow("blank-only box")
        << QStringList{"database", "--campo01", "   "} << QList<int>{3, 2, 1};
    QTest::newRow("leading blank as typed")
        << QStringList{"database", "--campo01", " rosso"} << QList<int>{1};
    QTest::newRow("flagged") << QStringList{"segnalati"} << QList<int>{3, 1};
    QTest::newRow("box text like an option")
        << QStringList{"clienti", "--note", "-h"} << QList<int>{1};
    QTest::newRow("client zone") << QStringList{"clienti", "--zona", "ROMA"} << QList<int>{2};
    QTest::newRow("nothing found") << QStringList{"clienti", "--zona", "Lazio"} << QList<int>{};
    QTest::newRow("to recontact") << QStringList{"ricontattare"} << QList<int>{1};
}

// Each hit is its record position, a tab and the line the window shows.
void TestCli::search() {
    QFETCH(QStringList, args);
    QFETCH(QList<int>, positions);
    writeSearchArchives(m_dir->path());
    const Result r = runIn(QStringList{QStringLiteral("cerca")} + args);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.code, 0);
    const QString list = args.first();
    const bool cards = list == u"database" || list == u"segnalati";
    const QByteArray archive = read(cards ? path("Database.pro") : path("Clienti.pro"));
    QString expected;
    for (const int p : positions) {
        QString line;
        if (cards) {
            DatabaseRecord record;
            std::memcpy(record.data(), archive.constData() + (p - 1) * 3310, 3310);
            line = search::cardLine(record);
        } else {
            ClientRecord record;
            std::memcpy(record.data(), archive.constData() + (p - 1) * 3372, 3372);
            line = list == u"clienti" ? search::clientLine(record) : search::recontactLine(record);
        }
        expected += QString::number(p) + u'\t' + line + u'\n';
    }
    QCOMPARE(r.out, expected);
}

void TestCli::check_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("out");
    QTest::newRow("fiscal codes") << QStringList{"cf", "rssmra85t10a562s", "RSSMRA85T10A562X",
                                                 "RSS"}
                                  << "VALIDO\nERRATO\nLUNGHEZZA\n";
    QTest::newRow("vat numbers") << QStringList{"piva", "12345670637", "00000001032", "12345670636",
                                                "1"}
                                 << "VALIDO\tNapoli 1\nVALIDO\t\nERRATO\nLUNGHEZZA\n";
    QTest::newRow("cards") << QStringList{"carta", "4111 1111 1111 1111", "4111111111111112", "  "}
                           << "VALIDO\tVisa\nERRATO\nVUOTO\n";
    QTest::newRow("ibans") << QStringList{"iban", "IT60X0542811101000000123456",
                                          "IT61X0542811101000000123456"}
                           << "VALIDO\nERRATO\n";
}

void TestCli::check() {
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    const Result r = run(QStringList{QStringLiteral("controlla")} + args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, out);
}

void TestCli::checkFromStandardInput() {
    const Result r = run({QStringLiteral("controlla"), QStringLiteral("cf")},
                         "RSSMRA85T10A562S\r\n RSSMRA85T10A562\nRSSMRA85T10A562S \n");
    QCOMPARE(r.code, 0);
    // Each line as it stands: a blank in it counts.
    QCOMPARE(r.out, QStringLiteral("VALIDO\nERRATO\nLUNGHEZZA\n"));
}

// A line far longer than any code is judged by its length without being held
// whole: under a memory cap smaller than the line, its verdict and the next
// line's come out in order.
void TestCli::checkLongLine() {
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer maps its shadow memory as data, far beyond any cap: the
    // sanitized build checks the verdicts without one.
    constexpr rlim_t kCap = 0;
#else
    constexpr rlim_t kCap = 32 << 20;
#endif
    const QByteArray input = QByteArray(24 << 20, 'A') + "\nRSSMRA85T10A562S\r\n";
    Result r = run({QStringLiteral("controlla"), QStringLiteral("cf")}, input, {}, 20000, kCap);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("LUNGHEZZA\nVALIDO\n"));

    // The bound is 1024 bytes, line break aside: a card number padded to it is
    // still read, one byte more is too long.
    const QByteArray card = "4111 1111 1111 1111";
    r = run({QStringLiteral("controlla"), QStringLiteral("carta")},
            card.leftJustified(1024, ' ') + "\r\n" + card.leftJustified(1025, ' ') + "\n");
    QCOMPARE(r.out, QStringLiteral("VALIDO\tVisa\nLUNGHEZZA\n"));
}

void TestCli::errors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("no command") << QStringList{} << 1;
    QTest::newRow("unknown command") << QStringList{"cancella", "database"} << 1;
    QTest::newRow("unknown archive") << QStringList{"conta", "agenda"} << 1;
    QTest::newRow("record zero") << QStringList{"mostra", "database", "0"} << 1;
    QTest::newRow("record past the end") << QStringList{"mostra", "database", "3"} << 1;
    QTest::newRow("unknown check") << QStringList{"controlla", "cap", "47121"} << 1;
    QTest::newRow("archive is a folder") << QStringList{"conta", "clienti"} << 2;
    QTest::newRow("search without a list") << QStringList{"cerca"} << 1;
    QTest::newRow("search in an unknown list") << QStringList{"cerca", "agenda"} << 1;
    QTest::newRow("search box of the other archive")
        << QStringList{"cerca", "database", "--zona", "Romagna"} << 1;
    QTest::newRow("search box without a text")
        << QStringList{"cerca", "database", "--cliente"} << 1;
    QTest::newRow("search box given twice")
        << QStringList{"cerca", "database", "--cliente", "a", "--cliente", "b"} << 1;
    QTest::newRow("search box in capitals")
        << QStringList{"cerca", "database", "--CLIENTE", "a"} << 1;
    QTest::newRow("a list takes no box")
        << QStringList{"cerca", "segnalati", "--campo01", "a"} << 1;
    QTest::newRow("search in an archive that is a folder") << QStringList{"cerca", "clienti"} << 2;
    QTest::newRow("export target unwritable")
        << QStringList{"esporta", "database", "--file", "@/Database.pro/x.xls"} << 2;
    // Only an installed companion knows where its delivered files are.
    QTest::newRow("prepare without delivered files") << QStringList{"prepara"} << 1;
    QTest::newRow("prepare from a missing folder")
        << QStringList{"prepara", "--da", "@/manca"} << 2;
    QTest::newRow("prepare with an unknown option") << QStringList{"prepara", "--a", "@"} << 1;
}

void TestCli::errors() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    writeFile("Database.pro", card(QStringLiteral("a"), false).bytes());
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Clienti.pro")));
    for (QString &a : args)
        a.replace(u'@', m_dir->path());
    const Result r = runIn(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY(r.err.startsWith(QStringLiteral("cartavera-cli: ")));
    QCOMPARE(read(path("Database.pro")), card(QStringLiteral("a"), false).bytes());
    // A missing application folder is a file error too.
    if (code == 2)
        QCOMPARE(run({QStringLiteral("--cartella"), path("manca"), QStringLiteral("conta"),
                      QStringLiteral("database")})
                     .code,
                 2);
}

// Output that cannot be written (standard output on a full device) is a file
// error, whatever the command.
void TestCli::lostOutput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("help") << QStringList{"--help"} << QByteArray();
    QTest::newRow("count") << QStringList{"conta", "database"} << QByteArray();
    QTest::newRow("show") << QStringList{"mostra", "database", "1"} << QByteArray();
    QTest::newRow("export") << QStringList{"esporta", "database"} << QByteArray();
    QTest::newRow("search") << QStringList{"cerca", "database"} << QByteArray();
    QTest::newRow("check") << QStringList{"controlla", "cf", "RSSMRA85T10A562S"} << QByteArray();
    QByteArray lines;
    for (int i = 0; i < 20000; ++i)
        lines += "RSSMRA85T10A562S\n";
    QTest::newRow("check from standard input") << QStringList{"controlla", "cf"} << lines;
}

void TestCli::lostOutput() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    writeFile("Database.pro", card(QStringLiteral("a"), false).bytes());
    const Result r = run(QStringList{QStringLiteral("--cartella"), m_dir->path()} + args, input,
                         QStringLiteral("/dev/full"));
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("cartavera-cli: impossibile scrivere l'uscita\n"));
}

// An archive name that holds a FIFO or a link loop is a file error, at once:
// never a wait, never an empty archive.
void TestCli::archiveThatIsNotAFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    for (const char *kind : {"fifo", "link loop"}) {
        QTest::addRow("%s, count", kind) << kind << QStringList{"conta", "database"};
        QTest::addRow("%s, show", kind) << kind << QStringList{"mostra", "database", "1"};
        QTest::addRow("%s, export", kind) << kind << QStringList{"esporta", "database"};
        QTest::addRow("%s, search", kind) << kind << QStringList{"cerca", "database"};
        QTest::addRow("%s, flagged", kind) << kind << QStringList{"cerca", "segnalati"};
    }
}

void TestCli::archiveThatIsNotAFile() {
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    const QString archive = path("Database.pro");
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(archive).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("Database.pro"), archive));
    const Result r =
        run(QStringList{QStringLiteral("--cartella"), m_dir->path()} + args, {}, {}, 1000);
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(r.err,
             QStringLiteral("cartavera-cli: %1: impossibile aprire l'archivio\n").arg(archive));
    QVERIFY(!QFileInfo::exists(path("Database.xls")));
}

void TestCli::backupCommands_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("file"); // the archive that must exist afterwards, if any
    QTest::newRow("copy") << QStringList{"copia", "--file", "@/c.zip"} << 0 << "c.zip";
    QTest::newRow("copy into the remembered folder")
        << QStringList{"copia"} << 0 << "copie/Cartavera-*.zip";
    QTest::newRow("verify a good copy") << QStringList{"verifica", "@/buona.zip"} << 0 << "";
    QTest::newRow("verify a damaged copy") << QStringList{"verifica", "@/guasta.zip"} << 2 << "";
    QTest::newRow("verify a missing copy") << QStringList{"verifica", "@/niente.zip"} << 2 << "";
    QTest::newRow("verify without a file") << QStringList{"verifica"} << 1 << "";
    QTest::newRow("copy with an unknown option") << QStringList{"copia", "--dove", "x"} << 1 << "";
    QTest::newRow("copy over the card archive")
        << QStringList{"copia", "--file", "@/Database.pro"} << 2 << "";
    QTest::newRow("copy into a missing folder")
        << QStringList{"copia", "--file", "@/manca/c.zip"} << 2 << "";
}

// The backup commands; the record files stay as they were.
void TestCli::backupCommands() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, file);
    const QByteArray cards = card(QStringLiteral("a"), true).bytes();
    writeFile("Database.pro", cards);
    QDir(m_dir->path()).mkpath(QStringLiteral("Scheda_1"));
    QDir(m_dir->path()).mkpath(QStringLiteral("copie"));
    writeFile("Archivio.ini",
              "[Copie di sicurezza]\r\nCartella=" + QFile::encodeName(path("copie")) + "\r\n");
    const QString good = path("buona.zip");
    QCOMPARE(runIn({"copia", "--file", good}).code, 0);
    QByteArray damaged = read(good);
    damaged.chop(10); // the end of the central directory is lost
    writeFile("guasta.zip", damaged);
    for (QString &arg : args)
        arg.replace(QStringLiteral("@"), m_dir->path());
    const Result r = runIn(args);
    QVERIFY2(r.code == code, qPrintable(r.err));
    QCOMPARE(r.err.isEmpty(), code == 0);
    if (!file.isEmpty())
        QCOMPARE(QDir(m_dir->path()).entryList({file}).size() +
                     QDir(path("copie")).entryList({file.section(u'/', -1)}).size(),
                 1);
    QCOMPARE(read(path("Database.pro")), cards);
    QVERIFY(!QFile::exists(path("Clienti.pro")));
}

// The companion reads no change half made: it waits for one under way, and
// refuses a folder a killed program left half changed.
void TestCli::readsNoHalfChange() {
    constexpr int kSize = DatabaseRecord::kSize;
    writeFile("Database.pro", QByteArray(2 * kSize, 'a'));
    const AppFolder folder(m_dir->path());
    {
        auto change = std::make_unique<Change>(folder, Change::Kind::Save);
        QProcess reader;
        reader.start(QStringLiteral(CARTAVERA_CLI),
                     {QStringLiteral("--cartella"), m_dir->path(), QStringLiteral("conta"),
                      QStringLiteral("database")});
        QVERIFY(reader.waitForStarted());
        QVERIFY(!reader.waitForFinished(700)); // waiting for the change
        change.reset();
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(reader.exitCode(), 0);
        QCOMPARE(reader.readAllStandardOutput(), QByteArray("2\n"));
    }
    QByteArray journalBytes;
    {
        Change change(folder, Change::Kind::Save);
        change.keepRange(QStringLiteral("Database.pro"), kSize, kSize);
        change.begin();
        journalBytes = readFile(folder.file(Change::fileName()));
        change.commit();
    }
    writeFile(".cartavera.journal", journalBytes);
    const QByteArray before = readFile(path("Database.pro"));
    for (const char *command : {"conta", "esporta", "copia"}) {
        const Result r = runIn({QString::fromLatin1(command), QStringLiteral("database")});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(QStringLiteral("non è terminata")), qPrintable(r.err));
    }
    QCOMPARE(readFile(path("Database.pro")), before);
    QVERIFY(QFile::exists(path(".cartavera.journal")));
}

// ./run makes the application folder with `prepara`: the folder and its
// parents made, the guide and password given; run again over a folder in use,
// the user's password stays and only a changed guide is written.
void TestCli::prepareMakesTheFolder() {
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("consegna")));
    writeFile("consegna/Guida.pdf", "guida 1");
    writeFile("consegna/unins000.dll", "[Accesso]\r\nValore=x\r\n");
    const QStringList args{QStringLiteral("--cartella"), path("casa/Cartavera"),
                           QStringLiteral("prepara"), QStringLiteral("--da"), path("consegna")};
    Result r = run(args);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.split(u'\n')[0],
             QStringLiteral("cartella %1 creata").arg(path("casa/Cartavera")));
    QCOMPARE(read(path("casa/Cartavera/Guida.pdf")), QByteArray("guida 1"));
    QCOMPARE(read(path("casa/Cartavera/unins000.dll")), QByteArray("[Accesso]\r\nValore=x\r\n"));

    writeFile("casa/Cartavera/unins000.dll", "[Accesso]\r\nValore=mia\r\n");
    writeFile("casa/Cartavera/Database.pro", QByteArray(3310, 'd'));
    writeFile("consegna/Guida.pdf", "guida 2");
    r = run(args);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, QStringLiteral("cartella %1\nguida Guida.pdf aggiornata\npassword esistente in "
                                   "unins000.dll lasciata com'è\n")
                        .arg(path("casa/Cartavera")));
    QCOMPARE(read(path("casa/Cartavera/Guida.pdf")), QByteArray("guida 2"));
    QCOMPARE(read(path("casa/Cartavera/unins000.dll")), QByteArray("[Accesso]\r\nValore=mia\r\n"));
    QCOMPARE(read(path("casa/Cartavera/Database.pro")), QByteArray(3310, 'd'));
    QCOMPARE(QDir(path("casa/Cartavera")).entryList(QDir::Files).size(), 3);
}

QTEST_APPLESS_MAIN(TestCli)
#include "tst_cli.moc"
