// Storage and export benchmarks on synthetic archives.
//   cartavera-bench [--benchmark_filter=…]
// Archives are generated once per size into a temporary folder.
#include "BenchArchive.h"
#include "output/SpreadsheetExport.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

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

} // namespace

BENCHMARK(readCard)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(overwriteCard)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(exportDatabase)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(copyExportSizedFile)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(copyArchive)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
