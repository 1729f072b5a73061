// Every change of the application folder, stopped at each of its file-system
// calls in turn (and each of its writes torn at 512-byte steps), then the
// program started again: the folder must be exactly as before the change or
// exactly as after it.
//
// The change runs in cartavera-test-change, through the program's windows,
// with the crash-point library preloaded (support/crashpoint.cpp); recovery
// is the program's own start-up step.
#include "SyntheticArchive.h"
#include "app/FolderStart.h"
#include "storage/CardBin.h"
#include "storage/DatabaseRecord.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Call {
    QString name;
    qint64 bytes;
};

class Bench {
  public:
    Bench() {
        m_template = m_dir.filePath(QStringLiteral("modello"));
        m_work = m_dir.filePath(QStringLiteral("Schede Città"));
        m_picture = m_dir.filePath(QStringLiteral("foto.bmp"));
    }

    // The folder every run starts from: three cards in each archive (the
    // last database card with a photo), field titles, a password file, and
    // in the bin the second card, deleted with its photo and folder.
    bool makeTemplate() {
        const AppFolder folder(m_template);
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QImage chosen(60, 45, QImage::Format_RGB32);
        chosen.fill(Qt::blue);
        if (!(QDir().mkpath(m_template) && synthetic::writeDatabase(folder.databaseFile(), 3) &&
              synthetic::writeClients(folder.clientFile(), 3) &&
              photo.save(folder.file(QStringLiteral("3.jpg")), "JPG") &&
              photo.save(folder.file(QStringLiteral("2.jpg")), "JPG") &&
              QDir().mkpath(folder.file(QStringLiteral("Scheda_2"))) &&
              writeFile(folder.file(QStringLiteral("Scheda_2/nota.txt")), "nota") &&
              writeFile(folder.settingsFile(),
                        "[Database]\r\nNome Archivio=Biblioteca\r\nCampo 1=Titolo\r\n") &&
              QFile::copy(QString::fromLocal8Bit(qgetenv("CARTAVERA_SOURCE_DIR")) +
                              QStringLiteral("/resources/unins000.dll"),
                          folder.passwordFile()) &&
              chosen.save(m_picture, "BMP")))
            return false;
        cardbin::remove(folder, databaseLayout, 2);
        return true;
    }

    // A fresh copy of the template in the work folder.
    bool reset() {
        QDir(m_work).removeRecursively();
        return copyTree(m_template, m_work);
    }

    // Runs `change`, stopped before call `at` (0: never), the write there
    // torn after `torn` bytes (0: not at all). Returns the exit status.
    int run(const QString &change, qint64 at, qint64 torn, QList<Call> *calls = nullptr) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(CARTAVERA_CRASHPOINT));
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) +
                       QStringLiteral(":verify_asan_link_order=0"));
        env.insert(QStringLiteral("CARTAVERA_CRASH_DIR"), QFileInfo(m_work).canonicalFilePath());
        env.insert(QStringLiteral("CARTAVERA_CRASH_AT"), QString::number(at));
        env.insert(QStringLiteral("CARTAVERA_CRASH_TORN"), QString::number(torn));
        const QString log = m_dir.filePath(QStringLiteral("chiamate.txt"));
        QFile::remove(log);
        if (calls)
            env.insert(QStringLiteral("CARTAVERA_CRASH_LOG"), log);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CARTAVERA_TEST_CHANGE), {m_work, change, m_picture});
        if (!process.waitForFinished(60000))
            return -1;
        m_output = process.readAllStandardError();
        if (calls)
            for (const QByteArray &line : readFile(log).split('\n')) {
                const QList<QByteArray> parts = line.split(' ');
                if (parts.size() >= 4)
                    calls->append({QString::fromLatin1(parts[1]), parts[2].toLongLong()});
            }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }

    // The program started again on the work folder.
    bool restart() {
        FakeDesktop desktop;
        FolderLock lock{AppFolder(m_work)};
        return openFolder(AppFolder(m_work), lock);
    }

    // The folder's content; a bin entry's name is made of the moment of its
    // delete, which differs from run to run, and counts without it.
    QMap<QString, QByteArray> snapshot() const {
        static const QRegularExpression moment(QStringLiteral("_[0-9]{8}-[0-9]{6}-[0-9]{3}"));
        QMap<QString, QByteArray> out;
        const auto all = folderSnapshot(m_work);
        for (auto it = all.begin(); it != all.end(); ++it)
            out.insert(QString(it.key()).replace(moment, QStringLiteral("_<momento>")), it.value());
        return out;
    }
    const QByteArray &output() const { return m_output; }

  private:
    static bool copyTree(const QString &from, const QString &to) {
        if (!QDir().mkpath(to))
            return false;
        for (const QFileInfo &item :
             QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            if (item.isDir() ? !copyTree(item.filePath(), to + u'/' + item.fileName())
                             : !QFile::copy(item.filePath(), to + u'/' + item.fileName()))
                return false;
        return true;
    }

    QTemporaryDir m_dir;
    QString m_template, m_work, m_picture;
    QByteArray m_output;
};

} // namespace

// The names whose content differs from both the folder before and after.
QString differences(const QMap<QString, QByteArray> &now, const QMap<QString, QByteArray> &before,
                    const QMap<QString, QByteArray> &after) {
    QStringList names;
    for (const auto *side : {&now, &before, &after})
        for (auto it = side->begin(); it != side->end(); ++it)
            if ((now.value(it.key(), "<none>") != before.value(it.key(), "<none>")) &&
                (now.value(it.key(), "<none>") != after.value(it.key(), "<none>")))
                names << it.key();
    names.removeDuplicates();
    return names.join(QStringLiteral(", "));
}

class TestCrashPoints : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void everyCallOfEveryChange_data();
    void everyCallOfEveryChange();

  private:
    Bench m_bench;
};

void TestCrashPoints::initTestCase() {
    QVERIFY(m_bench.makeTemplate());
}

void TestCrashPoints::everyCallOfEveryChange_data() {
    QTest::addColumn<QString>("change");
    for (const char *change : {"scheda-nuova", "scheda-modificata", "scheda-duplicata",
                               "cliente-nuovo", "cliente-modificato", "importa", "password", "titoli", "ripristina",
                               "elimina", "ridai", "scarta", "avvio"})
        QTest::newRow(change) << QString::fromLatin1(change);
}

void TestCrashPoints::everyCallOfEveryChange() {
    QFETCH(QString, change);
    QVERIFY(m_bench.reset());
    const auto before = m_bench.snapshot();
    QList<Call> calls;
    QCOMPARE(m_bench.run(change, 0, 0, &calls), 0);
    QVERIFY2(!calls.isEmpty(), "the change touched nothing");
    QVERIFY(m_bench.restart());
    const auto after = m_bench.snapshot();
    QVERIFY(after != before);

    int points = 0, torn = 0;
    for (qint64 k = 1; k <= calls.size(); ++k) {
        QList<qint64> tears{0};
        if (calls[k - 1].name.startsWith(u"write") || calls[k - 1].name == u"pwrite")
            for (qint64 t = 512; t < calls[k - 1].bytes; t += 512)
                tears << t;
        for (qint64 t : tears) {
            QVERIFY(m_bench.reset());
            const int status = m_bench.run(change, k, t);
            QVERIFY2(status == 86, qPrintable(QStringLiteral("call %1 (%2): status %3, %4")
                                                  .arg(k)
                                                  .arg(calls[k - 1].name)
                                                  .arg(status)
                                                  .arg(QString::fromUtf8(m_bench.output()))));
            QVERIFY(m_bench.restart());
            const auto now = m_bench.snapshot();
            QVERIFY2(now == before || now == after,
                     qPrintable(QStringLiteral("stopped before call %1 (%2), torn at %3: the "
                                               "folder is neither as before nor as after (%4)")
                                    .arg(k)
                                    .arg(calls[k - 1].name)
                                    .arg(t)
                                    .arg(differences(now, before, after))));
            ++(t ? torn : points);
        }
    }
    qInfo("%s: %d crash points and %d torn writes, each ending as before or as after",
          qPrintable(change), points, torn);
}

QTEST_MAIN(TestCrashPoints)
#include "tst_crashpoints.moc"
