// Export window benchmarks: the windows over a synthetic archive, on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. Each case runs a
// few times, one iteration each; the console shows mean, median and spread.
//   cartavera-bench-ui [--benchmark_filter=…]
// openWindow: the window opened as its workspace opens it, until the grid has
// painted and the first 40 rows' cells are read; reported time: that opening.
// Counters: open_ms, the opening; end_ms, scrolling to the end and reading the
// last 40 rows; cat_ms, `cat ARCHIVE > /dev/null`; x_cat, open_ms / cat_ms.
// writeFromWindow: the Excel button answered Yes to exporting and No to
// opening the file, timed against the companion's export of the same archive
// in the same iterations; reported time: the window's. Counters: window_ms,
// companion_ms, x_companion (window over companion), x_companion_cpu (the
// same for processor time, which the disk does not blur), MB (the file).
#include "BenchArchive.h"
#include "output/ExportGridModel.h"
#include "output/TfrmExpClienti.h"
#include "output/TfrmExpDatabase.h"
#include "storage/AppFolder.h"
#include "support/FakeDesktop.h"
#include "support/FolderShell.h"

#include <QApplication>
#include <QFileInfo>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

enum class Archive { Database, Clients };

const spreadsheet::Sheet &sheetOf(Archive archive) {
    return archive == Archive::Database ? spreadsheet::databaseSheet : spreadsheet::clientSheet;
}

// The shell of the windows: an application folder of its own per archive
// size, whose record file is the synthetic archive (a hard link, not a copy).
class BenchShell : public FolderShell {
  public:
    BenchShell(Archive archive, qint64 count) : FolderShell(folderOf(count)) {
        const QString source = archive == Archive::Database ? databaseOf(count) : clientsOf(count);
        archivePath =
            appFolder().file(QString::fromLatin1(sheetOf(archive).layout->fileName));
        if (!QFileInfo::exists(archivePath))
            std::filesystem::create_hard_link(source.toStdString(), archivePath.toStdString());
    }

    QString archivePath;

  private:
    static QString folderOf(qint64 count) {
        const QString path = benchFolder().filePath(QStringLiteral("Cartella_%1").arg(count));
        std::filesystem::create_directories(path.toStdString());
        return path;
    }
};

// Opens the export window of `archive` as its workspace's button does, runs
// `during` while it is shown, and closes it.
template <class During> void runWindow(Archive archive, FakeDesktop &desktop, During during) {
    desktop.onModal = [&](QDialog &dialog) {
        during(static_cast<ExportWindow &>(dialog));
        dialog.close();
    };
    if (archive == Archive::Database)
        TfrmExpDatabase::open(nullptr);
    else
        TfrmExpClienti::open(nullptr);
}

// Reads every cell of `rows` rows from `first` on, as the grid shows them.
void readRows(const QAbstractItemModel &model, int first, int rows) {
    for (int r = first; r < first + rows; ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            benchmark::DoNotOptimize(model.data(model.index(r, c)));
}

constexpr int kScreenRows = 40;

void openWindow(benchmark::State &state, Archive archive) {
    const BenchShell app(archive, state.range(0));
    FakeDesktop desktop;
    readOnce(app.archivePath); // in the page cache, as for any opening after the first
    double open = 0, end = 0, cat = 0;
    for (auto _ : state) {
        Clock::time_point t = Clock::now();
        catOnce(app.archivePath);
        cat += secondsSince(t);
        double opened = 0;
        runWindow(archive, desktop, [&](ExportWindow &w) {
            QCoreApplication::processEvents(); // the grid paints its first screen
            const int rows = w.model()->rowCount();
            readRows(*w.model(), 0, std::min(rows, kScreenRows));
            opened = secondsSince(t);
            w.grdRecords->scrollToBottom();
            QCoreApplication::processEvents();
            readRows(*w.model(), std::max(rows - kScreenRows, 0), std::min(rows, kScreenRows));
            end += secondsSince(t);
            if (rows != state.range(0))
                state.SkipWithError("the grid does not show every card");
        });
        open += opened;
        state.SetIterationTime(opened);
    }
    const double n = double(state.iterations());
    state.counters["open_ms"] = open / n * 1e3;
    state.counters["end_ms"] = end / n * 1e3;
    state.counters["cat_ms"] = cat / n * 1e3;
    state.counters["x_cat"] = open / cat;
}

// The wall and processor seconds `work` takes, started with nothing of an
// earlier write still going to disk.
struct Spent {
    double wall = 0, cpu = 0;
};
template <class Work> Spent spentOn(Work work) {
    ::sync();
    auto cpuNow = [] {
        timespec ts;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    };
    const double cpu = cpuNow();
    Clock::time_point t = Clock::now();
    work();
    const double wall = secondsSince(t);
    return {wall, cpuNow() - cpu};
}

void writeFromWindow(benchmark::State &state, Archive archive) {
    const BenchShell app(archive, state.range(0));
    FakeDesktop desktop;
    const QString companion = app.appFolder().file(QStringLiteral("Companion.xls"));
    readOnce(app.archivePath);
    // The second of two back-to-back writes of this size is the slower on a
    // virtual disk, so the two take turns at going first.
    static bool windowFirst = true;
    Spent window, alone;
    runWindow(archive, desktop, [&](ExportWindow &w) {
        for (auto _ : state) {
            desktop.answers.clear();
            desktop.answers << Desktop::Answer::Yes << Desktop::Answer::No;
            desktop.messages.clear();
            const auto fromWindow = [&] { return spentOn([&] { w.cmdEsportaClick(); }); };
            const auto fromCompanion = [&] {
                return spentOn([&] {
                    spreadsheet::exportArchive(sheetOf(archive), app.archivePath, companion);
                });
            };
            Spent a, b;
            if (windowFirst) {
                a = fromWindow();
                b = fromCompanion();
            } else {
                b = fromCompanion();
                a = fromWindow();
            }
            windowFirst = !windowFirst;
            window.wall += a.wall;
            window.cpu += a.cpu;
            alone.wall += b.wall;
            alone.cpu += b.cpu;
            state.SetIterationTime(a.wall);
            // A failure shows a plain message where success asks about opening.
            if (desktop.messages.size() != 2 ||
                desktop.messages[1].kind != Desktop::Kind::Confirmation)
                state.SkipWithError("the window did not write the file");
        }
        if (QFileInfo(w.targetPath()).size() != QFileInfo(companion).size())
            state.SkipWithError("the window's file differs from the companion's");
        state.counters["MB"] = double(QFileInfo(companion).size()) / 1e6;
        QFile::remove(w.targetPath());
    });
    QFile::remove(companion);
    const double n = double(state.iterations());
    state.counters["window_ms"] = window.wall / n * 1e3;
    state.counters["companion_ms"] = alone.wall / n * 1e3;
    state.counters["x_companion"] = window.wall / alone.wall;
    state.counters["x_companion_cpu"] = window.cpu / alone.cpu;
}

// One iteration per repetition, so that the aggregates give medians.
void repeated(benchmark::internal::Benchmark *b, int repetitions) {
    b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->DisplayAggregatesOnly(true);
}

void opening(benchmark::internal::Benchmark *b) {
    repeated(b, 5);
}

void writing(benchmark::internal::Benchmark *b) {
    repeated(b, 4);
}

} // namespace

BENCHMARK_CAPTURE(openWindow, database, Archive::Database)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Apply(opening);
BENCHMARK_CAPTURE(writeFromWindow, database, Archive::Database)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Apply(writing);
BENCHMARK_CAPTURE(openWindow, clients, Archive::Clients)->Arg(100'000)->Apply(opening);
BENCHMARK_CAPTURE(writeFromWindow, clients, Archive::Clients)->Arg(100'000)->Apply(writing);

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
