// cartavera-test-saver: stores cards in an archive exactly as a workspace's
// "Salva" does (open the archive, address the record, write it, close), in a
// process of its own, so a test can kill it in the middle of a save.
//
//   cartavera-test-saver DIR database|clienti append SEED COUNT
//       appends COUNT synthetic cards, seeds SEED, SEED + 1, …
//   cartavera-test-saver DIR database|clienti overwrite SEED INDEX COUNT
//       writes record INDEX (0-based) COUNT times, with seeds SEED and
//       SEED + 1 in turn
//
// After the last card, or at the first failure, it prints one line,
// "fatto N" or "errore N" (N: the cards written), and then waits for its
// standard input to close; the test kills it before that.
#include "SyntheticArchive.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

template <class R> R card(uint64_t seed);
template <> DatabaseRecord card(uint64_t seed) {
    return synthetic::databaseCard(seed);
}
template <> ClientRecord card(uint64_t seed) {
    return synthetic::clientCard(seed);
}

// One save: the steps the workspace takes, each time on a freshly opened file.
template <class R> void store(const AppFolder &folder, qint64 index, const R &record) {
    TypedRecordFile<R> file;
    file.openOrCreate(folder);
    file.seek(index < 0 ? file.size() : index);
    file.write(record);
    file.close();
}

template <class R> void run(const AppFolder &folder, const QStringList &args, qint64 &written) {
    const bool append = args[2] == QLatin1String("append");
    const uint64_t seed = args[3].toULongLong();
    const qint64 index = append ? -1 : args[4].toLongLong();
    const qint64 count = args[append ? 4 : 5].toLongLong();
    for (; written < count; ++written)
        store<R>(folder, index, card<R>(append ? seed + written : seed + written % 2));
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 5) {
        std::fputs("uso: cartavera-test-saver DIR database|clienti append|overwrite …\n", stderr);
        return 1;
    }
    const AppFolder folder(args[0]);
    const bool database = args[1] == QLatin1String("database");
    const char *outcome = "fatto";
    qint64 written = 0;
    try {
        if (database)
            run<DatabaseRecord>(folder, args, written);
        else
            run<ClientRecord>(folder, args, written);
    } catch (const StorageError &) {
        outcome = "errore";
    }
    std::printf("%s %lld\n", outcome, static_cast<long long>(written));
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
