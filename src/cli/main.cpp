// cartavera-cli: the command-line companion, for scripting and backups.
// It reads the archives with the program's own code and never writes into a
// record file.
#include "backup/Backup.h"
#include "output/SpreadsheetExport.h"
#include "search/Search.h"
#include "storage/AppFolder.h"
#include "storage/AppHome.h"
#include "storage/ArchiveSettings.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/FolderLock.h"
#include "storage/Journal.h"
#include "storage/RecordFile.h"
#include "storage/RegularFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "validators/CreditCard.h"
#include "validators/FiscalCode.h"
#include "validators/Iban.h"
#include "validators/VatNumber.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <unistd.h>

namespace {

constexpr int kOk = 0;
constexpr int kUsage = 1;
constexpr int kFileError = 2;

const char kHelp[] = R"(Uso: cartavera-cli [--cartella CARTELLA] COMANDO ...

Compagno a riga di comando di Cartavera: legge gli archivi della cartella
dell'applicazione con lo stesso codice del programma e non scrive mai nei file
delle schede (un archivio mancante vale come vuoto e non viene creato).

Comandi:
  conta database|clienti
      Stampa il numero di schede intere dell'archivio. Se delle schede sono
      state eliminate (i loro posti restano liberi, perché le altre non
      cambino numero), una seconda riga dice "posti liberi: N".
  mostra database|clienti N
      Stampa la scheda N (da 1) come righe Nome=valore, un campo per riga
      nell'ordine del file; il posto libero di una scheda eliminata è un
      errore d'uso. Nei valori i caratteri di controllo escono come
      sequenze, perché ogni campo resti su una riga: \n (a capo), \r, \t,
      \xHH (esadecimale) per gli altri, e \\ per la barra rovesciata.
  esporta database|clienti [--file PERCORSO]
      Scrive Database.xls o Clienti.xls nella cartella (o in PERCORSO), con
      gli stessi byte dell'esportazione in Excel del programma (le schede
      eliminate restano fuori, come da cerca). Non scrive
      mai sopra un file dell'archivio (Database.pro, Clienti.pro, Archivio.ini,
      unins000.dll), con qualunque nome o collegamento vi si arrivi.
  cerca database [--campo01 TESTO] ... [--campo06 TESTO] [--cliente TESTO]
                 [--comuneres TESTO] [--codfisc TESTO] [--partitaiva TESTO]
  cerca clienti [--cliente TESTO] [--comuneres TESTO] [--partitaiva TESTO]
                [--codfisc TESTO] [--documento TESTO] [--occupazione TESTO]
                [--prodotti TESTO] [--zona TESTO] [--questioni TESTO] [--note TESTO]
      Cerca come le finestre di ricerca del programma. Ogni opzione è una
      casella di ricerca, con il nome del suo campo, e il TESTO è preso com'è
      scritto: gli spazi all'inizio e in mezzo contano, una casella di soli
      spazi non conta, un carattere che l'archivio non può contenere vale "?"
      come nel salvataggio. Una scheda è elencata quando ogni testo compare
      nel suo campo; le lettere A-Z valgono come a-z, le lettere accentate no.
      Senza opzioni elenca tutte le schede.
  cerca segnalati
  cerca ricontattare
      Le schede segnalate (Segnala = Sì) e i clienti da ricontattare (Da
      ricontattare = Sì), come negli elenchi del programma.
      Ogni cerca stampa una riga per scheda, nell'ordine dell'elenco della
      finestra: la posizione della scheda (da 1), un tab e la riga come la
      mostra la finestra. Nella riga i caratteri di controllo escono come
      sequenze, come in mostra (\n, \r, \t, \xHH, e \\ per la barra
      rovesciata), così che ogni scheda stia su una riga e il tab dopo la
      posizione sia l'unico.
  controlla cf|piva|carta|iban [TESTO...]
      Controlla codici fiscali, partite IVA, carte di credito o IBAN: uno per
      argomento o, senza argomenti, uno per riga dallo standard input. Per
      ciascuno stampa VALIDO, ERRATO o LUNGHEZZA (lunghezza errata); piva
      aggiunge un tab e l'ufficio che l'ha rilasciata, carta un tab e il tipo
      di carta; carta stampa VUOTO per un testo vuoto. Una riga più lunga di
      1024 byte vale LUNGHEZZA, per qualunque controllo.
  copia [--file PERCORSO]
      Scrive una copia di sicurezza dei dati della cartella (Database.pro,
      Clienti.pro, Archivio.ini, unins000.dll, Logo.bmp, le foto N.jpg,
      Documenti_Allegati e le cartelle Scheda_N) in un archivio ZIP
      Cartavera-AAAA-MM-GG-hhmm.zip nella cartella delle copie scelta nel
      programma (o nella cartella corrente, se non ne è stata scelta una),
      oppure in PERCORSO. L'archivio è riletto e confrontato con i file prima
      di dire che la copia è riuscita; non scrive mai sopra un file dei dati.
  verifica FILE.zip
      Controlla una copia di sicurezza come farebbe il ripristino: archivio
      integro (CRC-32 e lunghezze di ogni voce), solo nomi dei dati di
      Cartavera, nessun percorso assoluto, nessun "..", nessun collegamento,
      dimensioni ragionevoli. Esce con 0 se la copia è buona, 2 se non lo è.
  prepara [--da CARTELLA]
      Crea la cartella dell'applicazione, se manca (leggibile solo dal suo
      proprietario), e le dà i file consegnati con il programma, presi da
      CARTELLA (per il programma installato, predefinita: la sua cartella
      share/cartavera, come /usr/share/cartavera): la guida Guida.pdf,
      riscritta quando è diversa da quella consegnata, e il file della
      password unins000.dll solo se la cartella non ne ha uno, così che una
      password cambiata non sia mai sostituita. Nient'altro nella cartella
      viene toccato. Il programma installato lo fa da sé a ogni avvio.

Opzioni:
  --cartella CARTELLA  la cartella dell'applicazione (predefinita: quella
                       corrente; per il programma installato, come
                       /usr/bin/cartavera-cli, la cartella indicata dalla
                       variabile CARTAVERA_HOME o, se questa non c'è, ~/Cartavera)
  --help               mostra questo aiuto

Codici di uscita: 0 riuscito, 1 uso errato, 2 errore di file (anche quando
l'uscita non si può scrivere).
)";

// How long a reader waits for a change of the program to end.
constexpr int kChangeWaitMs = 30000;

void out(const QString &line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int fail(int code, const QString &message) {
    std::fflush(stdout);
    const QByteArray bytes = (QStringLiteral("cartavera-cli: ") + message).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return code;
}

int usage(const QString &message) {
    return fail(kUsage, message + QStringLiteral(" (cartavera-cli --help per l'aiuto)"));
}

const RecordLayout *archiveNamed(const QString &name) {
    if (name == u"database")
        return &databaseLayout;
    if (name == u"clienti")
        return &clientLayout;
    return nullptr;
}

QString archiveFile(const AppFolder &folder, const RecordLayout &layout) {
    return folder.file(QString::fromLatin1(layout.fileName));
}

int count(const AppFolder &folder, const RecordLayout &layout) {
    RecordScanner scanner(layout, archiveFile(folder, layout));
    qint64 cards = 0;
    while (scanner.nextCard())
        ++cards;
    out(QString::number(cards));
    if (cards < scanner.count())
        out(QStringLiteral("posti liberi: %1").arg(scanner.count() - cards));
    return kOk;
}

// A field value on one line: a backslash and the control characters (C0,
// DEL and C1) written as escapes, everything else as it is.
QString escaped(const QString &value) {
    QString line;
    line.reserve(value.size());
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            line += QStringLiteral("\\\\");
        else if (u == u'\n')
            line += QStringLiteral("\\n");
        else if (u == u'\r')
            line += QStringLiteral("\\r");
        else if (u == u'\t')
            line += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            line += QStringLiteral("\\x") +
                    QString::number(int(u), 16).toUpper().rightJustified(2, u'0');
        else
            line += c;
    }
    return line;
}

int show(const AppFolder &folder, const RecordLayout &layout, const QString &number) {
    bool ok = false;
    const qint64 n = number.toLongLong(&ok);
    if (!ok || n < 1)
        return usage(QStringLiteral("numero di scheda non valido: %1").arg(number));
    RecordFile file;
    file.openForReading(layout, archiveFile(folder, layout));
    if (n > file.size())
        return usage(QStringLiteral("la scheda %1 non esiste: l'archivio ne contiene %2")
                         .arg(n)
                         .arg(file.size()));
    Record record(layout);
    file.seek(n - 1);
    file.read(record);
    if (isFreeSlot(record.data(), layout.size))
        return usage(QStringLiteral("la scheda %1 è stata eliminata: il suo posto è libero").arg(n));
    for (int i = 0; i < int(layout.fields.size()); ++i)
        out(QString::fromLatin1(layout.fields[i].name) + u'=' + escaped(record.text(i)));
    return kOk;
}

int exportTo(const AppFolder &folder, const RecordLayout &layout, const QString &target) {
    const spreadsheet::Sheet &sheet =
        &layout == &clientLayout ? spreadsheet::clientSheet : spreadsheet::databaseSheet;
    const QString path =
        target.isEmpty() ? folder.file(QString::fromLatin1(sheet.fileName)) : target;
    // The same file under any name, link or spelling of the path.
    for (const QString &data :
         {folder.databaseFile(), folder.clientFile(), folder.settingsFile(), folder.passwordFile()})
        if (isSameFile(path, data))
            return fail(kUsage,
                        QStringLiteral("%1 è il file %2 dell'archivio: l'esportazione "
                                       "non lo sovrascrive")
                            .arg(QDir::toNativeSeparators(path), QFileInfo(data).fileName()));
    const qint64 rows = spreadsheet::exportArchive(sheet, archiveFile(folder, layout), path);
    out(QStringLiteral("%1 schede esportate in %2").arg(rows).arg(QDir::toNativeSeparators(path)));
    return kOk;
}

QString word(validators::Verdict v) {
    switch (v) {
    case validators::Verdict::Valid:
        return QStringLiteral("VALIDO");
    case validators::Verdict::Wrong:
        return QStringLiteral("ERRATO");
    case validators::Verdict::WrongLength:
        return QStringLiteral("LUNGHEZZA");
    case validators::Verdict::Blank:
        return QStringLiteral("VUOTO");
    }
    return {};
}

// The search box compared with `field` of `layout`: the field's name in
// lower case, as an option.
QString optionFor(const RecordLayout &layout, int field) {
    return QStringLiteral("--") + QString::fromLatin1(layout.fields[field].name).toLower();
}

// The search and list windows' results, one line per hit: the record
// position, a tab and the line as the window shows it.
int find(const AppFolder &folder, const QString &list, QStringList args) {
    const bool cards = list == u"database" || list == u"segnalati";
    if (!cards && list != u"clienti" && list != u"ricontattare")
        return usage(
            QStringLiteral("cerca vuole database, clienti, segnalati o ricontattare, non %1")
                .arg(list));
    const bool searching = list == u"database" || list == u"clienti";
    const RecordLayout &layout = cards ? databaseLayout : clientLayout;
    const std::span<const int> boxes = list == u"database"  ? search::cardFilterFields()
                                       : list == u"clienti" ? search::clientFilterFields()
                                                            : std::span<const int>();
    QList<search::Filter> filters;
    QStringList given;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        const auto box = std::find_if(boxes.begin(), boxes.end(), [&](int field) {
            return option == optionFor(layout, field);
        });
        if (box == boxes.end())
            return usage(
                searching ? QStringLiteral("opzione sconosciuta per cerca %1: %2").arg(list, option)
                          : QStringLiteral("cerca %1 non vuole argomenti").arg(list));
        if (args.isEmpty())
            return usage(QStringLiteral("%1 vuole un testo").arg(option));
        if (given.contains(option))
            return usage(QStringLiteral("opzione ripetuta: %1").arg(option));
        given << option;
        filters.append({*box, args.takeFirst()});
    }
    const QString archive = cards ? folder.databaseFile() : folder.clientFile();
    search::HitList hits;
    const auto missing = search::Missing::Empty;
    if (list == u"database")
        search::findCards(archive, filters, missing, hits);
    else if (list == u"clienti")
        search::findClients(archive, filters, missing, hits);
    else if (list == u"segnalati")
        search::flaggedCards(archive, missing, hits);
    else
        search::clientsToRecontact(archive, missing, hits);
    // Each byte of a line written as its character, escaped as escaped()
    // does, in UTF-8: the lines go out without being decoded one by one.
    static const std::array<QByteArray, 256> kOut = [] {
        std::array<QByteArray, 256> t;
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = escaped(text::decode1252(QByteArray(1, char(b)))).toUtf8();
        return t;
    }();
    std::string buffer;
    constexpr size_t kFlushAt = 1 << 20;
    buffer.reserve(kFlushAt + 4096);
    char number[24];
    for (qsizetype row = 0; row < hits.size() && !std::ferror(stdout); ++row) {
        hits.prefetch(row + 8);
        const auto [end, ec] = std::to_chars(number, number + sizeof number, hits.position(row));
        buffer.append(number, end);
        buffer += '\t';
        const QByteArrayView line = hits.bytes(row);
        for (qsizetype i = 0; i < line.size();) {
            // Printable ASCII but the backslash goes out as it is, a run at a time.
            qsizetype plain = i;
            while (plain < line.size() && line[plain] >= 0x20 && line[plain] < 0x7F &&
                   line[plain] != '\\')
                ++plain;
            buffer.append(line.data() + i, size_t(plain - i));
            if (plain == line.size())
                break;
            const QByteArray &bytes = kOut[static_cast<unsigned char>(line[plain])];
            buffer.append(bytes.constData(), size_t(bytes.size()));
            i = plain + 1;
        }
        buffer += '\n';
        if (buffer.size() >= kFlushAt) {
            std::fwrite(buffer.data(), 1, buffer.size(), stdout);
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    return kOk;
}

// Standard input, one line at a time, holding at most kMaxLine bytes of a
// line: a code is a few dozen characters, so a longer line is only measured
// and the rest of it read and dropped. Reads what is there (a pipe or a
// terminal), without waiting for a full buffer.
class LineReader {
  public:
    static constexpr size_t kMaxLine = 1024;

    // The next line without its line break ("\n" or "\r\n"), or false at
    // the end of the input. A line longer than kMaxLine bytes comes back
    // empty, with `tooLong` set.
    bool next(std::string &line, bool &tooLong) {
        line.clear();
        tooLong = false;
        bool any = false;
        for (;;) {
            if (m_pos == m_end && !fill())
                break;
            any = true;
            const char *start = m_buffer + m_pos;
            const auto *lineEnd =
                static_cast<const char *>(std::memchr(start, '\n', m_end - m_pos));
            const size_t n = lineEnd ? size_t(lineEnd - start) : m_end - m_pos;
            // One byte more than the most kept, for a "\r" before the "\n".
            if (!tooLong && line.size() + n > kMaxLine + 1) {
                tooLong = true;
                line.clear();
            }
            if (!tooLong)
                line.append(start, n);
            m_pos += n;
            if (lineEnd) {
                ++m_pos;
                break;
            }
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kMaxLine) {
            tooLong = true;
            line.clear();
        }
        return any;
    }
    bool failed() const { return m_failed; }

  private:
    bool fill() {
        ssize_t got;
        do {
            got = ::read(STDIN_FILENO, m_buffer, sizeof m_buffer);
        } while (got < 0 && errno == EINTR);
        m_failed = got < 0;
        m_pos = 0;
        m_end = got > 0 ? size_t(got) : 0;
        return m_end > 0;
    }

    char m_buffer[1 << 16];
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_failed = false;
};

// One verdict line per text.
QString verdict(const QString &kind, const QString &text) {
    using namespace validators;
    if (kind == u"cf")
        return word(checkFiscalCode(text));
    if (kind == u"piva") {
        const VatCheck r = checkVatNumber(text);
        return r.verdict == Verdict::Valid ? word(r.verdict) + u'\t' + r.officeName
                                           : word(r.verdict);
    }
    if (kind == u"carta") {
        const CardCheck r = checkCreditCard(text);
        return r.verdict == Verdict::Valid ? word(r.verdict) + u'\t' + r.typeName : word(r.verdict);
    }
    return word(checkIban(text));
}

int check(const QString &kind, const QStringList &texts) {
    static const QStringList kinds = {QStringLiteral("cf"), QStringLiteral("piva"),
                                      QStringLiteral("carta"), QStringLiteral("iban")};
    if (!kinds.contains(kind))
        return usage(
            QStringLiteral("tipo di controllo sconosciuto: %1 (cf, piva, carta o iban)").arg(kind));
    if (!texts.isEmpty()) {
        for (const QString &t : texts)
            out(verdict(kind, t));
        return kOk;
    }
    LineReader lines;
    std::string line;
    bool tooLong = false;
    while (!std::ferror(stdout) && lines.next(line, tooLong))
        out(tooLong ? word(validators::Verdict::WrongLength)
                    : verdict(kind, QString::fromUtf8(line.data(), qsizetype(line.size()))));
    if (lines.failed())
        return fail(kFileError, QStringLiteral("impossibile leggere lo standard input"));
    return kOk;
}

int backupTo(const AppFolder &folder, const QString &file) {
    QString target = file;
    if (target.isEmpty()) {
        QString copies = ArchiveSettings(folder).backupFolder();
        if (copies.isEmpty() || !QFileInfo(copies).isDir())
            copies = QDir::currentPath();
        target = backup::freeArchivePath(copies, QDateTime::currentDateTime());
    }
    const backup::Made made = backup::makeBackup(folder, target);
    out(QStringLiteral("%1 file salvati e verificati in %2")
            .arg(made.files)
            .arg(QDir::toNativeSeparators(made.path)));
    return kOk;
}

int verify(const QString &file) {
    const QList<backup::Entry> entries = backup::checkArchive(file, true);
    int files = 0;
    for (const backup::Entry &e : entries)
        files += e.folder ? 0 : 1;
    out(QStringLiteral("%1: copia integra, %2 file")
            .arg(QDir::toNativeSeparators(file))
            .arg(files));
    return kOk;
}

// The application folder made when missing and given the delivered files.
int prepare(const AppFolder &folder, const QString &delivered) {
    if (!QFileInfo(delivered).isDir())
        return fail(kFileError, QStringLiteral("la cartella dei file consegnati %1 non esiste")
                                    .arg(QDir::toNativeSeparators(delivered)));
    const apphome::Furnished done = apphome::furnish(folder.path(), delivered);
    const QString shown = QDir::toNativeSeparators(folder.path());
    out(done.created ? QStringLiteral("cartella %1 creata").arg(shown)
                     : QStringLiteral("cartella %1").arg(shown));
    out(done.guide ? QStringLiteral("guida Guida.pdf aggiornata")
                   : QStringLiteral("guida Guida.pdf già aggiornata"));
    out(done.password ? QStringLiteral("password di primo accesso in unins000.dll")
                      : QStringLiteral("password esistente in unins000.dll lasciata com'è"));
    return kOk;
}

// Where the executable lies, for telling an installed companion from one in
// its application folder.
QString executableFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

// The commands. Each takes the arguments after its name; one on an archive
// gets the archive its first argument names (database or clienti).
struct Command {
    QLatin1StringView name;
    bool onArchive;
    int (*run)(const AppFolder &folder, const RecordLayout *archive, QStringList &args);
};

// The commands that read or write the application folder's data: they wait
// for a change under way and want the folder to exist.
bool usesTheData(const QString &command) {
    return command != u"controlla" && command != u"verifica" && command != u"prepara";
}

const Command kCommands[] = {
    {QLatin1StringView("controlla"), false,
     [](const AppFolder &, const RecordLayout *, QStringList &args) {
         if (args.isEmpty())
             return usage(QStringLiteral("controlla vuole cf, piva, carta o iban"));
         const QString kind = args.takeFirst();
         return check(kind, args);
     }},
    {QLatin1StringView("cerca"), false,
     [](const AppFolder &folder, const RecordLayout *, QStringList &args) {
         if (args.isEmpty())
             return usage(
                 QStringLiteral("cerca vuole database, clienti, segnalati o ricontattare"));
         const QString list = args.takeFirst();
         return find(folder, list, args);
     }},
    {QLatin1StringView("copia"), false,
     [](const AppFolder &folder, const RecordLayout *, QStringList &args) {
         if (args.isEmpty())
             return backupTo(folder, {});
         if (args.size() != 2 || args.first() != u"--file")
             return usage(QStringLiteral("copia accetta solo --file PERCORSO"));
         return backupTo(folder, QFileInfo(args[1]).absoluteFilePath());
     }},
    {QLatin1StringView("verifica"), false,
     [](const AppFolder &, const RecordLayout *, QStringList &args) {
         if (args.size() != 1)
             return usage(QStringLiteral("verifica vuole il nome di un file .zip"));
         return verify(QFileInfo(args.first()).absoluteFilePath());
     }},
    {QLatin1StringView("conta"), true,
     [](const AppFolder &folder, const RecordLayout *layout, QStringList &args) {
         if (!args.isEmpty())
             return usage(QStringLiteral("argomento in più: %1").arg(args.first()));
         return count(folder, *layout);
     }},
    {QLatin1StringView("mostra"), true,
     [](const AppFolder &folder, const RecordLayout *layout, QStringList &args) {
         if (args.size() != 1)
             return usage(QStringLiteral("mostra vuole il numero della scheda"));
         return show(folder, *layout, args.first());
     }},
    {QLatin1StringView("esporta"), true,
     [](const AppFolder &folder, const RecordLayout *layout, QStringList &args) {
         QString target;
         if (!args.isEmpty()) {
             if (args.size() != 2 || args.first() != u"--file")
                 return usage(QStringLiteral("esporta accetta solo --file PERCORSO"));
             target = QFileInfo(args[1]).absoluteFilePath();
         }
         return exportTo(folder, *layout, target);
     }},
    {QLatin1StringView("prepara"), false,
     [](const AppFolder &folder, const RecordLayout *, QStringList &args) {
         if (args.isEmpty()) {
             const apphome::Place place = apphome::locate(executableFolder());
             if (!place.installed())
                 return usage(QStringLiteral("prepara vuole --da CARTELLA, la cartella dei file "
                                             "consegnati"));
             return prepare(folder, place.delivered);
         }
         if (args.size() != 2 || args.first() != u"--da")
             return usage(QStringLiteral("prepara accetta solo --da CARTELLA"));
         return prepare(folder, QFileInfo(args[1]).absoluteFilePath());
     }},
};

// "--help" or "-h" anywhere asks for the help, except as the text of a search
// box: `cerca clienti --note -h` looks for "-h" in the notes.
bool asksForHelp(const QStringList &args) {
    const qsizetype command = args.size() > 2 && args[0] == u"--cartella" ? 2 : 0;
    const bool searching = args.size() > command && args[command] == u"cerca";
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool boxText = searching && i > command + 2 && (i - command) % 2 == 1;
        if (!boxText && (args[i] == u"--help" || args[i] == u"-h"))
            return true;
    }
    return false;
}

int run(int argc, char **argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (asksForHelp(args)) {
        std::fputs(kHelp, stdout);
        return kOk;
    }
    // The folder given, else the installed program's application folder, else
    // the current one (./run starts the program in its application folder).
    QString folderPath;
    bool given = false;
    if (!args.isEmpty() && args.first() == u"--cartella") {
        if (args.size() < 2)
            return usage(QStringLiteral("--cartella vuole il nome di una cartella"));
        folderPath = args[1];
        args = args.mid(2);
        given = true;
    } else if (const apphome::Place place = apphome::locate(executableFolder());
               place.installed()) {
        folderPath = place.folder;
    } else {
        folderPath = QDir::currentPath();
    }
    if (args.isEmpty())
        return usage(QStringLiteral("manca il comando"));
    const AppFolder folder(folderPath);
    const QString command = args.takeFirst();
    const auto known = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&command](const Command &c) { return command == c.name; });
    if (known == std::end(kCommands))
        return usage(QStringLiteral("comando sconosciuto: %1").arg(command));
    // A folder named on the command line must exist, except for prepara,
    // which makes it; the installed program's own one only for the commands
    // that read it.
    if ((given ? command != u"prepara" : usesTheData(command)) && !QFileInfo(folderPath).isDir())
        return fail(kFileError,
                    given ? QStringLiteral("la cartella %1 non esiste").arg(folderPath)
                          : QStringLiteral("la cartella dell'applicazione %1 non esiste ancora: "
                                           "avviare Cartavera una volta, oppure "
                                           "cartavera-cli prepara, per crearla")
                                .arg(QDir::toNativeSeparators(folderPath)));

    // A reader of the folder never sees half a change: it waits for a change
    // under way (a save lasts milliseconds, an import or a restore longer),
    // and refuses a folder that a killed program left half changed until the
    // program has started there and put it back.
    FolderLock reading(folder);
    if (usesTheData(command)) {
        if (reading.holdReading(kChangeWaitMs) == FolderLock::Result::Busy)
            return fail(kFileError, QStringLiteral("l'archivio della cartella %1 è in uso: il "
                                                   "programma lo sta modificando, riprovare più "
                                                   "tardi")
                                        .arg(QDir::toNativeSeparators(folder.path())));
        if (journal::unfinished(folder))
            return fail(kFileError,
                        QStringLiteral("l'ultima modifica all'archivio della cartella %1 non è "
                                       "terminata: avviare Cartavera in quella cartella perché la "
                                       "annulli, poi riprovare")
                            .arg(QDir::toNativeSeparators(folder.path())));
    }

    try {
        const RecordLayout *layout = nullptr;
        if (known->onArchive) {
            layout = args.isEmpty() ? nullptr : archiveNamed(args.takeFirst());
            if (!layout)
                return usage(QStringLiteral("%1 vuole database o clienti").arg(command));
        }
        return known->run(folder, layout, args);
    } catch (const StorageError &e) {
        return fail(kFileError, e.message());
    }
}

} // namespace

// Output that never reached its file or pipe is a failure, not a success.
int main(int argc, char **argv) {
    const int code = run(argc, argv);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return fail(kFileError, QStringLiteral("impossibile scrivere l'uscita"));
    return code;
}
