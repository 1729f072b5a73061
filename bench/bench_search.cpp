// Search benchmarks: each search is timed side by side with reading the same
// file once, in the same iterations, so the ratio holds on a busy machine.
//   cartavera-bench --benchmark_filter=search
// Counters: x_read, the search's time over a read of the whole file with 1 MiB
// reads into one buffer; x_cat, over `cat FILE > /dev/null`; read_ms and
// cat_ms, those two times; hits, the lines listed. Reported time: the search.
#include "BenchArchive.h"
#include "search/Search.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

namespace F = DatabaseField;
using search::Filter;
using search::Hit;
using Clock = std::chrono::steady_clock;

// Times `find` on `path` against a read and a cat of the same file, all three
// in every iteration. The list is emptied outside the timing (the window
// does that when it closes).
template <class Find> void againstRead(benchmark::State &state, const QString &path, Find find) {
    readOnce(path); // in the page cache, as for any search after the first
    double read = 0, cat = 0, searched = 0;
    qint64 hits = 0;
    QList<Hit> found;
    for (auto _ : state) {
        Clock::time_point t = Clock::now();
        readOnce(path);
        read += secondsSince(t);
        catOnce(path);
        cat += secondsSince(t);
        find(path, found);
        const double s = secondsSince(t);
        searched += s;
        state.SetIterationTime(s);
        hits = found.size();
        found = {};
    }
    const double n = double(state.iterations());
    state.counters["x_read"] = searched / read;
    state.counters["x_cat"] = searched / cat;
    state.counters["read_ms"] = read / n * 1e3;
    state.counters["cat_ms"] = cat / n * 1e3;
    state.counters["hits"] = double(hits);
}

void findCards(benchmark::State &state, const QList<Filter> &filters) {
    againstRead(state, databaseOf(state.range(0)), [&filters](const QString &p, QList<Hit> &h) {
        search::findCards(p, filters, search::Missing::Empty, h);
    });
}

// One filled box that no card holds.
void oneBoxNothingFound(benchmark::State &state) {
    findCards(state, {{F::Cliente, QStringLiteral("Zorzetto")}});
}

const int kBoxes[] = {F::Campo01, F::Campo02, F::Campo03,   F::Campo04, F::Campo05,
                      F::Campo06, F::Cliente, F::ComuneRes, F::CodFisc, F::PartitaIva};

// Ten filled boxes, none of them held by any card: the first rules each card out.
void tenBoxesNothingFound(benchmark::State &state) {
    QList<Filter> filters;
    for (const int field : kBoxes)
        filters.append({field, QStringLiteral("zq")});
    findCards(state, filters);
}

// Ten filled boxes in a heavy case for the matcher: every box field is full
// (its whole capacity) and holds its box's text only at its end, but for one
// field a card, a different one from card to card, which holds it nowhere.
// None is listed, and whatever order the boxes are tried in, a card costs
// five and a half whole-field searches on average.
QString denseDatabaseOf(qint64 count) {
    static std::map<qint64, QString> made;
    if (auto it = made.find(count); it != made.end())
        return it->second;
    const QString path = benchFolder().filePath(QStringLiteral("Denso_%1.pro").arg(count));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    for (qint64 i = 0; i < count; ++i) {
        DatabaseRecord card = synthetic::databaseCard(uint64_t(i));
        for (int k = 0; k < 10; ++k) {
            const int field = kBoxes[k];
            const int capacity = databaseLayout.fields[field].capacity;
            QString text = card.text(field);
            text = (text.isEmpty() ? QStringLiteral("campo") : text) + u' ';
            while (text.size() < capacity)
                text += text;
            text.truncate(capacity - 2);
            card.setText(field, text + (k == i % 10 ? QStringLiteral("yy") : QStringLiteral("zq")));
        }
        chunk += card.bytes();
        if (chunk.size() >= (1 << 20) || i + 1 == count) {
            if (file.write(chunk) != chunk.size())
                qFatal("cannot write %s", qPrintable(path));
            chunk.clear();
        }
    }
    return made[count] = path;
}

void tenFullBoxesNothingFound(benchmark::State &state) {
    QList<Filter> filters;
    for (const int field : kBoxes)
        filters.append({field, QStringLiteral("ZQ")});
    againstRead(state, denseDatabaseOf(state.range(0)),
                [&filters](const QString &p, QList<Hit> &h) {
                    search::findCards(p, filters, search::Missing::Empty, h);
                });
}

// No box filled: every card listed, lines built and sorted.
void everyCardListed(benchmark::State &state) {
    findCards(state, {});
}

// The flagged list (a card in five is flagged).
void flaggedListed(benchmark::State &state) {
    againstRead(state, databaseOf(state.range(0)), [](const QString &p, QList<Hit> &h) {
        search::flaggedCards(p, search::Missing::Empty, h);
    });
}

// "Trova" in the list of every card, for a text no line holds: the worst
// case, one turn round the whole list.
void findInList(benchmark::State &state) {
    QList<Hit> hits;
    search::findCards(databaseOf(state.range(0)), {}, search::Missing::Empty, hits);
    for (auto _ : state) {
        search::ListFind find;
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(find.next(hits, 0, u"zqzqzq"));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["lines"] = double(hits.size());
}

// `cartavera-cli cerca database` listing every card, lines built, sorted and
// written (to /dev/null), against `cat Database.pro > /dev/null`, both run as
// processes in every iteration. Counters: x_cat, cli_ms, cat_ms.
void companionListsEveryCard(benchmark::State &state) {
    const QString archive = databaseOf(state.range(0));
    const QString folder = folderWith(QStringLiteral("elenco_%1").arg(state.range(0)),
                                      {{QStringLiteral("Database.pro"), archive}});
    const QStringList companion{besideMe(QStringLiteral("cartavera-cli")),
                                QStringLiteral("--cartella"), folder,
                                QStringLiteral("cerca"), QStringLiteral("database")};
    readOnce(archive);
    double cli = 0, cat = 0;
    for (auto _ : state) {
        Clock::time_point t = Clock::now();
        catOnce(archive);
        cat += secondsSince(t);
        if (runQuiet(companion) != 0)
            state.SkipWithError("cartavera-cli failed");
        const double s = secondsSince(t);
        cli += s;
        state.SetIterationTime(s);
    }
    const double n = double(state.iterations());
    state.counters["x_cat"] = cli / cat;
    state.counters["cli_ms"] = cli / n * 1e3;
    state.counters["cat_ms"] = cat / n * 1e3;
}

void sizes(benchmark::internal::Benchmark *b) {
    b->Arg(100'000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
}

} // namespace

BENCHMARK(oneBoxNothingFound)->Apply(sizes);
BENCHMARK(tenBoxesNothingFound)->Apply(sizes);
BENCHMARK(tenFullBoxesNothingFound)->Apply(sizes);
BENCHMARK(everyCardListed)->Apply(sizes);
BENCHMARK(flaggedListed)->Apply(sizes);
BENCHMARK(findInList)->Apply(sizes);
BENCHMARK(companionListsEveryCard)
    ->Arg(100'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
