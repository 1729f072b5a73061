// Saves killed part-way. cartavera-test-saver stores synthetic cards in an
// archive the way a workspace's "Salva" does, in a process of its own; these
// helpers start it on an application folder, kill it with SIGKILL at a chosen
// point, and check what it left behind.
//
//   const QByteArray before = readFile(archive);
//   QCOMPARE(killedSave::appendStoppedAfter(folder, "database", 7, 1000), "errore 0");
//   QCOMPARE(killedSave::damage(before, readFile(archive), kSize, expected), QString());
#pragma once

#include "storage/RecordFile.h"
#include "support/Files.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace killedSave {

// Starts the saver with `args` (see saver_main.cpp). A file-size limit of
// `sizeLimit` bytes, when not negative, stops its writes there: the write
// that crosses it is cut short and the next one fails, as a process that
// dies in the middle of a write leaves the file.
inline void start(QProcess &saver, const QStringList &args, qint64 sizeLimit = -1) {
    if (sizeLimit >= 0)
        saver.setChildProcessModifier([sizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN); // a plain failing write instead of the signal
            const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    saver.start(QStringLiteral(CARTAVERA_TEST_SAVER), args);
}

// Kills the saver with SIGKILL; true when it died of it.
inline bool kill(QProcess &saver) {
    saver.kill(); // SIGKILL
    return saver.waitForFinished(10000) && saver.exitStatus() == QProcess::CrashExit;
}

// Appends the card of `seed` to the archive `kind` ("database", "clienti") of
// `folder`, stopped `bytes` into the new record, and kills the saver there.
// Returns the line the saver printed ("errore 0": its write failed), or a
// description of what went wrong.
inline QString appendStoppedAfter(const QString &folder, const QString &kind,
                                  const QString &archive, uint64_t seed, qint64 bytes) {
    QProcess saver;
    start(saver,
          {folder, kind, QStringLiteral("append"), QString::number(seed), QStringLiteral("1")},
          QFileInfo(archive).size() + bytes);
    if (!saver.waitForReadyRead(10000))
        return QStringLiteral("the saver said nothing: %1").arg(saver.errorString());
    const QString said = QString::fromLatin1(saver.readLine()).trimmed();
    return kill(saver) ? said : QStringLiteral("the saver did not die of SIGKILL");
}

// Runs the saver with `args` (a long loop of saves) and kills it once the
// archive has grown to `grownTo` bytes, or after `afterMs` milliseconds.
// Returns false when the saver was not running at that moment.
inline bool killDuringLoop(const QStringList &args, const QString &archive, qint64 grownTo,
                           int afterMs) {
    QProcess saver;
    start(saver, args);
    if (!saver.waitForStarted(10000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(archive).size() < grownTo && clock.elapsed() < afterMs &&
           saver.state() == QProcess::Running)
        saver.waitForFinished(1);
    return saver.state() == QProcess::Running && kill(saver);
}

// What a killed save may have done wrong to an archive of `recordSize`-byte
// records that held `before`: empty when nothing. Each byte of `before` must
// be as it was, except in record `rewritten` (0-based; -1: none), where each
// byte may also be that byte of one of `versions`; every record added is
// added(index), whole, or — the last one only — a torn start of it, which the
// archive's reader does not count.
inline QString damage(const QByteArray &before, const QByteArray &after, int recordSize,
                      const std::function<QByteArray(qint64)> &added, qint64 rewritten = -1,
                      const QList<QByteArray> &versions = {}) {
    if (after.size() < before.size())
        return QStringLiteral("the archive shrank from %1 to %2 bytes")
            .arg(before.size())
            .arg(after.size());
    const qint64 kept = before.size() / recordSize;
    for (qint64 r = 0; r < kept; ++r) {
        const QByteArray old = before.mid(r * recordSize, recordSize);
        const QByteArray now = after.mid(r * recordSize, recordSize);
        if (now == old)
            continue;
        if (r != rewritten)
            return QStringLiteral("record %1 changed").arg(r + 1);
        for (int i = 0; i < recordSize; ++i)
            if (now[i] != old[i] &&
                std::none_of(versions.begin(), versions.end(),
                             [&](const QByteArray &v) { return v[i] == now[i]; }))
                return QStringLiteral("record %1, byte %2 was never written there")
                    .arg(r + 1)
                    .arg(i);
    }
    for (qint64 r = kept; r * recordSize < after.size(); ++r) {
        const QByteArray now = after.mid(r * recordSize, recordSize);
        if (now != added(r).left(now.size()))
            return QStringLiteral("added record %1 is not the card saved").arg(r + 1);
    }
    return {};
}

// The kinds of killed save a test table names, for an archive of three cards
// (seeds 0 … 2): "stopped" (an append stopped `bytes` into its record),
// "append loop" (cards of seeds 3, 4, … appended until killed), "overwrite
// loop" (card 2 written with seeds 100 and 101 in turn until killed). Empty
// when the saver was killed as asked, else what went wrong.
inline QString provoke(const QString &how, qint64 bytes, const QString &folder, const QString &kind,
                       const QString &archive) {
    if (how == QLatin1String("stopped")) {
        const QString said = appendStoppedAfter(folder, kind, archive, 3, bytes);
        return said == QLatin1String("errore 0") ? QString() : said;
    }
    const bool append = how == QLatin1String("append loop");
    const QStringList args = append ? QStringList{folder, kind, QStringLiteral("append"),
                                                  QStringLiteral("3"), QStringLiteral("100000000")}
                                    : QStringList{folder,
                                                  kind,
                                                  QStringLiteral("overwrite"),
                                                  QStringLiteral("100"),
                                                  QStringLiteral("1"),
                                                  QStringLiteral("100000000")};
    // Appends run until the archive has grown by about two hundred cards,
    // overwrites for a third of a second.
    const qint64 grownTo = append ? QFileInfo(archive).size() * 70 : 0;
    return killDuringLoop(args, archive, grownTo, append ? 10000 : 300)
               ? QString()
               : QStringLiteral("the saver was not running when killed");
}

// The record count the archive's reader gives for `path`.
inline qint64 countedRecords(const RecordLayout &layout, const QString &path) {
    return RecordScanner(layout, path).count();
}

// The table of killed saves a workspace suite runs through check().
inline void addRows(qint64 recordSize) {
    QTest::addColumn<QString>("how");
    QTest::addColumn<qint64>("bytes"); // how far the stopped append got
    for (qint64 bytes : {qint64(0), qint64(1), recordSize / 2, recordSize - 1})
        QTest::addRow("append stopped after %lld bytes", bytes) << "stopped" << bytes;
    QTest::newRow("killed in a loop of appends") << "append loop" << qint64(0);
    QTest::newRow("killed in a loop of overwrites") << "overwrite loop" << qint64(0);
}

// One row of that table on the archive `archive` of the folder `folder`,
// which holds the synthetic cards of seeds 0 … 2 (card(i): their bytes): the
// save is killed, the archive checked, and then the workspace `show()` gives
// reads it and stores its next card after the last whole one (the caller
// checks the message it showed). `name` is the
// contact name of card i; `type` fills the mandatory boxes of a new card.
// The outcome is told by QTest (QTest::currentTestFailed()).
template <class Window>
void check(const QString &folder, const QString &kind, const QString &archive,
           const RecordLayout &layout, const std::function<QByteArray(qint64)> &card,
           const std::function<QString(qint64)> &name, const std::function<Window *()> &show,
           const std::function<void(Window *)> &type) {
    QFETCH(QString, how);
    QFETCH(qint64, bytes);
    const qint64 size = layout.size;
    const QByteArray before = readFile(archive);
    QCOMPARE(provoke(how, bytes, folder, kind, archive), QString());
    if (how == QLatin1String("stopped"))
        QCOMPARE(QFileInfo(archive).size(), 3 * size + bytes);
    const QByteArray killed = readFile(archive);
    QCOMPARE(damage(before, killed, int(size), card, 1, {card(100), card(101)}), QString());
    const qint64 whole = killed.size() / size;
    QCOMPARE(countedRecords(layout, archive), whole);
    if (how != QLatin1String("append loop"))
        QCOMPARE(whole, 3);

    Window *w = show();
    QVERIFY(w);
    QTest::mouseClick(w->cmdUltimo, Qt::LeftButton);
    QCOMPARE(w->lblPosizione->text(), QString::number(whole));
    QCOMPARE(w->txtCliente->text(), name(whole - 1));
    QTest::mouseClick(w->cmdNuovo, Qt::LeftButton);
    type(w);
    QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
    QCOMPARE(w->lblPosizione->text(), QString::number(whole + 1));
    const QByteArray after = readFile(archive);
    QCOMPARE(after.size(), (whole + 1) * size); // the torn start is written over
    QCOMPARE(after.left(whole * size), killed.left(whole * size));
}

} // namespace killedSave
