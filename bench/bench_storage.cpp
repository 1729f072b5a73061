// Storage and export benchmarks on synthetic archives.
//   cartavera-bench [--benchmark_filter=…]
// Archives are generated once per size into a temporary folder.
#include "BenchArchive.h"
#include "backup/Backup.h"
#include "import/ImportPlan.h"
#include "output/SpreadsheetExport.h"
#include "storage/CardBin.h"
#include "storage/Journal.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {

void readCard(benchmark::State &state) {
    const qint64 count = state.range(0);
    const QString path = databaseOf(count);
    DatabaseRecord record;
    for (auto _ : state) {
        RecordFile file;
        file.openOrCreate(databaseLayout, path);
        file.seek(count / 2);
        file.read(record);
        file.close();
        benchmark::DoNotOptimize(record.data());
    }
}

void overwriteCard(benchmark::State &state) {
    const qint64 count = state.range(0);
    const QString path = databaseOf(count);
    const DatabaseRecord record = synthetic::databaseCard(42);
    for (auto _ : state) {
        RecordFile file;
        file.openOrCreate(databaseLayout, path);
        file.seek(count / 2);
        file.write(record);
        file.close();
    }
}

// The same overwrite as one change under the journal, as a workspace's save
// makes it: the old record kept and synced, the record written, synced, the
// journal removed.
void overwriteCardJournaled(benchmark::State &state) {
    const qint64 count = state.range(0);
    const QFileInfo path(databaseOf(count));
    const AppFolder folder(path.absolutePath());
    const DatabaseRecord record = synthetic::databaseCard(42);
    for (auto _ : state) {
        Change change(folder, Change::Kind::Save);
        change.keepRange(path.fileName(), count / 2 * DatabaseRecord::kSize, DatabaseRecord::kSize);
        change.begin();
        RecordFile file;
        file.openOrCreate(databaseLayout, path.filePath());
        file.seek(count / 2);
        file.write(record);
        file.close();
        change.commit();
    }
}

// Deleting the first card into the bin and giving it back, each one change
// under the journal, as the workspace and the bin window make them: the
// pair per iteration, so the archive is the same at every round.
void deleteAndGiveBackFirstCard(benchmark::State &state) {
    const qint64 count = state.range(0);
    // A folder of its own whose Database.pro is the shared archive, linked:
    // every round leaves it as it was.
    const AppFolder folder(benchFolder().filePath(QStringLiteral("cestino_%1").arg(count)));
    QDir().mkpath(folder.path());
    if (!QFileInfo::exists(folder.databaseFile()) &&
        ::link(QFile::encodeName(databaseOf(count)).constData(),
               QFile::encodeName(folder.databaseFile()).constData()) != 0)
        qFatal("cannot link the archive");
    const QDateTime when = QDateTime::currentDateTime();
    qint64 deleting = 0, givingBack = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QString name = cardbin::remove(folder, databaseLayout, 1, when).name;
        const auto removed = std::chrono::steady_clock::now();
        cardbin::giveBack(folder, name);
        const auto back = std::chrono::steady_clock::now();
        deleting += std::chrono::duration_cast<std::chrono::microseconds>(removed - start).count();
        givingBack += std::chrono::duration_cast<std::chrono::microseconds>(back - removed).count();
    }
    state.counters["delete_us"] = double(deleting) / double(state.iterations());
    state.counters["giveback_us"] = double(givingBack) / double(state.iterations());
}

void exportDatabase(benchmark::State &state) {
    const QString source = databaseOf(state.range(0));
    const QString target = benchFolder().filePath(QStringLiteral("Database.xls"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            spreadsheet::exportArchive(spreadsheet::databaseSheet, source, target));
    state.counters["MB"] = double(QFileInfo(target).size()) / 1e6;
}

// Copies a file as large as the export of the same archive.
void copyExportSizedFile(benchmark::State &state) {
    const QString source = databaseOf(state.range(0));
    const QString exported = benchFolder().filePath(QStringLiteral("Copia_sorgente.xls"));
    spreadsheet::exportArchive(spreadsheet::databaseSheet, source, exported);
    const std::filesystem::path from = exported.toStdString();
    const std::filesystem::path to =
        benchFolder().filePath(QStringLiteral("Copia.xls")).toStdString();
    for (auto _ : state)
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    state.counters["MB"] = double(std::filesystem::file_size(from)) / 1e6;
}

// Copies the archive file itself (the export's input).
void copyArchive(benchmark::State &state) {
    const std::filesystem::path from = databaseOf(state.range(0)).toStdString();
    const std::filesystem::path to =
        benchFolder().filePath(QStringLiteral("Copia.pro")).toStdString();
    for (auto _ : state)
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    state.counters["MB"] = double(std::filesystem::file_size(from)) / 1e6;
}

// Imports the companion's export of the archive into an empty folder, timed
// against that export in the same iterations. Counters: import_ms, export_ms,
// x_export (import over export).
void importDatabase(benchmark::State &state) {
    using Clock = std::chrono::steady_clock;
    const QString source = databaseOf(state.range(0));
    const QString exported = benchFolder().filePath(QStringLiteral("Importa.xls"));
    const AppFolder folder(benchFolder().filePath(QStringLiteral("importa")));
    QDir().mkpath(folder.path());
    double importMs = 0;
    double exportMs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        spreadsheet::exportArchive(spreadsheet::databaseSheet, source, exported);
        const auto t1 = Clock::now();
        QFile::remove(folder.databaseFile());
        import::Plan plan(spreadsheet::databaseSheet, folder);
        plan.setFirstRow(import::firstRowOf(exported));
        import::Counts counts;
        if (!import::append(exported, plan, folder, counts) || counts.rows != state.range(0))
            state.SkipWithError("import incomplete");
        const auto t2 = Clock::now();
        exportMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        importMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    state.counters["import_ms"] = importMs / double(state.iterations());
    state.counters["export_ms"] = exportMs / double(state.iterations());
    state.counters["x_export"] = importMs / exportMs;
}

// The application folder of `count` cards the backup benchmarks save: the
// two archives (a client for ten cards) and a password file.
QString dataFolder(qint64 count) {
    const QString folder = folderWith(QStringLiteral("dati_%1").arg(count),
                                      {{QStringLiteral("Database.pro"), databaseOf(count)},
                                       {QStringLiteral("Clienti.pro"), clientsOf(count / 10)}});
    QFile password(folder + QStringLiteral("/unins000.dll"));
    if (!password.exists() && (!password.open(QIODevice::WriteOnly) ||
                               password.write(QByteArray(48, 'x')) != 48))
        qFatal("cannot write %s", qPrintable(password.fileName()));
    return folder;
}

// `cartavera-cli copia` as the program makes a backup (written, read back and
// checked), against `zip -q -r` of the same folder (deflate level 6, no
// check), both in every iteration, from nothing at the target. Counters:
// x_zip, backup_ms, zip_ms, MB (the backup) and zip_MB.
void backupFolder(benchmark::State &state) {
    using Clock = std::chrono::steady_clock;
    const QString folder = dataFolder(state.range(0));
    const QString ours = benchFolder().filePath(QStringLiteral("copia.zip"));
    const QString theirs = benchFolder().filePath(QStringLiteral("zip.zip"));
    double backupMs = 0, zipMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(ours);
        QFile::remove(theirs);
        ::sync();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        backup::makeBackup(AppFolder(folder), ours);
        const auto t1 = Clock::now();
        if (runQuiet({QStringLiteral("zip"), QStringLiteral("-q"), QStringLiteral("-r"), theirs,
                      folder}) != 0)
            state.SkipWithError("zip failed (is it installed?)");
        const auto t2 = Clock::now();
        backupMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        zipMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["x_zip"] = backupMs / zipMs;
    state.counters["backup_ms"] = backupMs / n;
    state.counters["zip_ms"] = zipMs / n;
    state.counters["MB"] = double(QFileInfo(ours).size()) / 1e6;
    state.counters["zip_MB"] = double(QFileInfo(theirs).size()) / 1e6;
}

// Restores a backup of the folder into a folder that holds the same data, as
// a user restoring yesterday's copy does: the full check the window runs
// before its question, then the safety copy of the data there, the
// extraction and the moves into place. Against `unzip -q` of the same archive
// into an empty folder, in every iteration. Counters: x_unzip, restore_ms,
// unzip_ms, MB (the data).
void restoreBackup(benchmark::State &state) {
    using Clock = std::chrono::steady_clock;
    const QString from = dataFolder(state.range(0));
    const QString zip = benchFolder().filePath(QStringLiteral("ripristino.zip"));
    QFile::remove(zip);
    backup::makeBackup(AppFolder(from), zip);
    const AppFolder into(benchFolder().filePath(QStringLiteral("ripristino")));
    const QString copies = benchFolder().filePath(QStringLiteral("ripristino-copie"));
    const QString unzipped = benchFolder().filePath(QStringLiteral("unzip"));
    double restoreMs = 0, unzipMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(into.path()).removeRecursively();
        QDir(copies).removeRecursively();
        QDir(unzipped).removeRecursively();
        QDir().mkpath(into.path());
        QDir().mkpath(copies);
        QDir().mkpath(unzipped);
        for (const QString &name : QDir(from).entryList(QDir::Files))
            QFile::copy(from + u'/' + name, into.file(name));
        ::sync();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        backup::checkRestore(into, zip, true);
        backup::restore(into, zip, copies);
        const auto t1 = Clock::now();
        if (runQuiet({QStringLiteral("unzip"), QStringLiteral("-q"), zip, QStringLiteral("-d"),
                      unzipped}) != 0)
            state.SkipWithError("unzip failed (is it installed?)");
        const auto t2 = Clock::now();
        restoreMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        unzipMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["x_unzip"] = restoreMs / unzipMs;
    state.counters["restore_ms"] = restoreMs / n;
    state.counters["unzip_ms"] = unzipMs / n;
    double bytes = 0;
    for (const backup::Entry &e : backup::checkArchive(zip, false))
        bytes += double(e.size);
    state.counters["MB"] = bytes / 1e6;
}

} // namespace

BENCHMARK(readCard)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(overwriteCard)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(overwriteCardJournaled)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(deleteAndGiveBackFirstCard)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(exportDatabase)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(copyExportSizedFile)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(copyArchive)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(importDatabase)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(backupFolder)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(restoreBackup)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
