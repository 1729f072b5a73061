#include "TableReader.h"

#include "VCard.h"
#include "storage/RegularFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace import {
namespace {

constexpr qint64 kChunk = 1 << 20;

const QString kBinarySheet = QStringLiteral(
    "Il file scelto è un foglio di calcolo salvato nel formato proprio del programma che lo ha "
    "creato, che non si può importare.\n\nAprirlo con quel programma, salvarlo come \"CSV\" "
    "(testo separato da virgole o da punti e virgola) e importare il file CSV.");

void openForReading(QFile &file, const QString &path) {
    file.setFileName(path);
    if (openRegularFile(file, QIODevice::ReadOnly) != OpenResult::Opened)
        throw StorageError::unableToRead(path);
}

FormatError rowTooLong() {
    return FormatError(QStringLiteral("Il file contiene una riga di più di %1 MB: non è un file "
                                      "che si possa importare.")
                           .arg(kMostRowBytes >> 20));
}

// True when the whole file from `start` is valid UTF-8; read in chunks, a
// sequence cut by a chunk's end carried into the next. Nothing when
// `progress` stopped it. A run of more than kMostRowBytes without a line end
// is a row too long, whatever its quotes: refused at once.
std::optional<bool> isUtf8Throughout(QFile &file, qint64 start, const QString &path,
                                     const Progress &progress) {
    if (!file.seek(start))
        throw StorageError::unableToRead(path);
    QByteArray carry;
    qint64 sinceLineEnd = 0;
    for (;;) {
        if (progress && !progress(file.pos(), file.size()))
            return std::nullopt;
        QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError)
            throw StorageError::unableToRead(path);
        if (chunk.isEmpty())
            return carry.isEmpty();
        qsizetype firstEnd = chunk.indexOf('\n');
        if (const qsizetype cr = chunk.indexOf('\r'); cr >= 0 && (firstEnd < 0 || cr < firstEnd))
            firstEnd = cr;
        if (sinceLineEnd + (firstEnd < 0 ? chunk.size() : firstEnd) > kMostRowBytes)
            throw rowTooLong();
        if (firstEnd >= 0)
            sinceLineEnd =
                chunk.size() - 1 - std::max(chunk.lastIndexOf('\n'), chunk.lastIndexOf('\r'));
        else
            sinceLineEnd += chunk.size();
        chunk.prepend(carry);
        // Keep back a possibly incomplete last sequence: up to 3 bytes after
        // the last lead byte.
        qsizetype cut = chunk.size();
        for (qsizetype back = 1; back <= 3 && back <= chunk.size(); ++back) {
            const auto c = static_cast<unsigned char>(chunk[chunk.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue;
            if (c >= 0xC0)
                cut = chunk.size() - back;
            break;
        }
        carry = chunk.mid(cut);
        if (!QByteArrayView(chunk.constData(), cut).isValidUtf8())
            return false;
    }
}

// The import opens one file several times (its first row, the preview, the
// count, the append): the whole-file scan runs once, and its verdict is kept
// while the file is the same file with the same size and the same change
// time (to the nanosecond), read the same way. Nothing when the scan was
// stopped.
template <class Scan>
std::optional<bool> utf8ThroughoutOnce(QFile &file, TableKind kind, Scan scan) {
    struct Verdict {
        bool known = false;
        TableKind kind = TableKind::Csv;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec changed{};
        bool utf8 = false;
    };
    static Verdict last;
    struct stat now {};
    if (::fstat(file.handle(), &now) != 0)
        return scan();
    if (!last.known || kind != last.kind || now.st_dev != last.device ||
        now.st_ino != last.inode || now.st_size != last.size ||
        now.st_ctim.tv_sec != last.changed.tv_sec ||
        now.st_ctim.tv_nsec != last.changed.tv_nsec) {
        const std::optional<bool> utf8 = scan();
        if (!utf8)
            return std::nullopt;
        last = {true, kind, now.st_dev, now.st_ino, now.st_size, now.st_ctim, *utf8};
    }
    return last.utf8;
}

class CsvReader final : public TableReader {
  public:
    CsvReader(const QString &path, qint64 start, TableEncoding encoding, char separator)
        : TableReader(path, start, TableKind::Csv, encoding) {
        m_separator = separator;
    }

    bool next(QStringList &cells) override {
        for (;;) {
            startCells();
            startRow();
            int c = peek();
            if (c < 0) {
                cells.clear();
                return false;
            }
            if (c == '\n' || c == '\r') { // an empty line
                get();
                if (c == '\r' && peek() == '\n')
                    get();
                continue;
            }
            readRow(cells);
            endCells(cells);
            return true;
        }
    }

  private:
    QByteArray m_field; // its memory kept from row to row

    void readRow(QStringList &cells) {
        QByteArray &field = m_field;
        field.resize(0); // keeps its memory
        for (;;) {
            int c = get();
            if (c == '"' && field.isEmpty()) {
                // A quoted cell: up to the lone closing quote; anything after
                // it up to the separator is kept as written.
                for (;;) {
                    c = get();
                    if (c < 0)
                        break;
                    if (c == '"') {
                        if (peek() != '"')
                            break;
                        get();
                    }
                    addByte(field, c);
                }
                if (c < 0) {
                    addCell(cells, field);
                    return;
                }
                continue;
            }
            if (c == m_separator) {
                addCell(cells, field);
                field.resize(0);
                continue;
            }
            if (c < 0 || c == '\n' || c == '\r') {
                if (c == '\r' && peek() == '\n')
                    get();
                addCell(cells, field);
                return;
            }
            addByte(field, c);
        }
    }
};

class HtmlReader final : public TableReader {
  public:
    HtmlReader(const QString &path, qint64 start, TableEncoding encoding)
        : TableReader(path, start, TableKind::Html, encoding) {}

    // End tags of rows and cells may be left out, as HTML allows: a new row
    // ends the open row, a new cell the open cell, the table's end both.
    bool next(QStringList &cells) override {
        startCells();
        const bool row = readRow(cells);
        endCells(cells);
        return row;
    }

  private:
    bool m_rowOpen = false;
    QByteArray m_cell;

    bool readRow(QStringList &cells) {
        startRow();
        bool inRow = m_rowOpen; // a row whose start tag ended the row before
        m_rowOpen = false;
        bool inCell = false;
        QByteArray &cell = m_cell; // its memory kept from row to row
        cell.resize(0); // keeps its memory
        for (;;) {
            if (inCell)
                appendUntil('<', cell);
            int c = get();
            if (c < 0) {
                if (inRow && inCell)
                    addUnescaped(cells, cell);
                return inRow && cellCount() > 0;
            }
            if (c != '<')
                continue;
            const TagName name = readTag();
            if (name.is("tr")) {
                if (inRow) {
                    if (inCell)
                        addUnescaped(cells, cell);
                    m_rowOpen = true;
                    return true;
                }
                inRow = true;
            } else if (name.is("/tr") || name.is("/table")) {
                if (inCell)
                    addUnescaped(cells, cell);
                inCell = false;
                if (inRow)
                    return true;
            } else if (inRow && (name.is("td") || name.is("th"))) {
                if (inCell)
                    addUnescaped(cells, cell);
                inCell = true;
                cell.resize(0);
            } else if (inCell && (name.is("/td") || name.is("/th"))) {
                addUnescaped(cells, cell);
                inCell = false;
            } else if (inCell && name.is("br")) {
                addByte(cell, '\r');
                addByte(cell, '\n');
            }
        }
    }

    // A tag's name, lower case; longer names than the few the reader knows are
    // cut, which tells them from those all the same.
    struct TagName {
        char text[8];
        int size = 0;
        void add(int c) {
            if (size < int(sizeof text))
                text[size++] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        template <int N> bool is(const char (&name)[N]) const {
            return size == N - 1 && std::memcmp(text, name, N - 1) == 0;
        }
    };

    // After "<": the tag's name ("/td" for an end tag), the rest of the tag
    // skipped; a comment is skipped whole and reads as "!".
    TagName readTag() {
        TagName name;
        int c = get();
        if (c == '!') {
            // A comment runs to "-->", a declaration to ">".
            const bool comment = peek() == '-';
            int dashes = 0;
            while ((c = get()) >= 0 && !(c == '>' && (!comment || dashes >= 2)))
                dashes = c == '-' ? dashes + 1 : 0;
            name.add('!');
            return name;
        }
        if (c == '/') {
            name.add('/');
            c = get();
        }
        while (c >= 0 && c != '>' && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/') {
            name.add(c);
            c = get();
        }
        // The rest of the tag, in the buffer when it holds the tag's end
        // (quoted values jumped whole), otherwise a byte at a time.
        if (c >= 0 && c != '>' && c != '"' && c != '\'') {
            const QByteArrayView rest = buffered();
            for (qsizetype i = 0; i < rest.size();) {
                const char b = rest[i];
                if (b == '>') {
                    take(i + 1);
                    return name;
                }
                if (b == '"' || b == '\'') {
                    i = rest.indexOf(b, i + 1);
                    if (i < 0)
                        break;
                }
                ++i;
            }
        }
        int quote = 0;
        while (c >= 0 && !(c == '>' && quote == 0)) {
            if (c == '"' || c == '\'')
                quote = quote == c ? 0 : (quote == 0 ? c : quote);
            c = get();
        }
        return name;
    }

    // Adds a cell of these bytes with its character references decoded.
    void addUnescaped(QStringList &cells, const QByteArray &bytes) {
        QString &cell = addCell(cells, bytes);
        if (cell.contains(u'&'))
            cell = unescaped(cell);
    }

    static QString unescaped(const QString &s) {
        QString out;
        out.reserve(s.size());
        for (qsizetype i = 0; i < s.size(); ++i) {
            // A reference is at most ten characters to its ";": looking
            // further would make a cell of many "&" quadratic.
            const qsizetype near =
                s[i] == u'&' ? QStringView(s).mid(i + 1, 10).indexOf(u';') : -1;
            const qsizetype semi = near < 0 ? -1 : i + 1 + near;
            if (semi < 0) {
                out.append(s[i]);
                continue;
            }
            const QStringView name = QStringView(s).mid(i + 1, semi - i - 1);
            char32_t code = 0;
            if (name == u"amp")
                code = '&';
            else if (name == u"lt")
                code = '<';
            else if (name == u"gt")
                code = '>';
            else if (name == u"quot")
                code = '"';
            else if (name == u"apos")
                code = '\'';
            else if (name == u"nbsp")
                code = 0xA0;
            else if (name.startsWith(u'#')) {
                bool ok = false;
                const uint n = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                                   ? name.mid(2).toUInt(&ok, 16)
                                   : name.mid(1).toUInt(&ok, 10);
                if (ok && n > 0 && n <= 0x10FFFF)
                    code = n;
            }
            if (code == 0) {
                out.append(s[i]);
                continue;
            }
            out.append(QString::fromUcs4(&code, 1));
            i = semi;
        }
        return out;
    }
};

// The separator of a CSV file: comma or semicolon, whichever its first line
// holds more of outside quotes (a semicolon on a tie).
char separatorOf(const QByteArray &head) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (char c : head) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > 0 && semicolons >= commas ? ';' : ',';
}

} // namespace

TableReader::TableReader(const QString &path, qint64 start, TableKind kind,
                         TableEncoding encoding)
    : m_kind(kind), m_encoding(encoding), m_path(path) {
    openForReading(m_file, path);
    m_size = m_file.size();
    if (!m_file.seek(start))
        throw StorageError::unableToRead(path);
    m_consumed = start;
}

bool TableReader::refill() {
    if (m_consumed + m_end - m_rowStart > kMostRowBytes)
        throw rowTooLong();
    m_consumed += m_end;
    m_pos = m_end = 0;
    // A megabyte at a time, less for what is left of a small file.
    const qint64 want = std::clamp<qint64>(m_size - m_consumed, 4096, kChunk);
    if (m_chunk.size() < want)
        m_chunk.resize(want);
    const qint64 n = m_file.read(m_chunk.data(), want);
    if (n < 0)
        throw StorageError::unableToRead(m_path);
    m_end = qsizetype(n);
    return n > 0;
}

void TableReader::appendUntil(char stop, QByteArray &into) {
    for (;;) {
        if (m_pos >= m_end && !refill())
            return;
        const char *from = m_chunk.constData() + m_pos;
        const void *hit = std::memchr(from, stop, size_t(m_end - m_pos));
        const qsizetype run = hit ? static_cast<const char *>(hit) - from : m_end - m_pos;
        into.append(from, std::min(run, std::max<qsizetype>(0, kMostCellBytes - into.size())));
        m_pos += run;
        if (hit)
            return;
    }
}

QString &TableReader::nextCell(QStringList &cells) {
    if (m_cellCount >= kMostColumns)
        throw FormatError(QStringLiteral("Il file contiene righe di più di %1 colonne: non è una "
                                         "tabella che si possa importare.")
                              .arg(kMostColumns));
    if (m_cellCount == cells.size())
        cells.emplace_back();
    return cells[m_cellCount++];
}

QString &TableReader::addCell(QStringList &cells, QByteArrayView bytes) {
    QString &cell = nextCell(cells);
    if (m_encoding == TableEncoding::Utf8)
        cell = QString::fromUtf8(bytes);
    else
        text::decode1252(bytes, cell);
    return cell;
}

QString TableReader::decode(const QByteArray &bytes) const {
    return m_encoding == TableEncoding::Utf8 ? QString::fromUtf8(bytes) : text::decode1252(bytes);
}

std::unique_ptr<TableReader> openTable(const QString &path, const Progress &progress) {
    QFile file;
    openForReading(file, path);
    const QByteArray head = file.read(64 * 1024);
    if (head.isEmpty() && file.error() != QFileDevice::NoError)
        throw StorageError::unableToRead(path);
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || head.startsWith("PK\x03\x04"))
        throw FormatError(kBinarySheet);
    const bool bom = head.startsWith("\xEF\xBB\xBF");
    const qint64 start = bom ? 3 : 0;
    const QByteArray body = head.mid(start);
    const QByteArray lower = body.toLower();
    if (text::trimmed(body).startsWith('<') && lower.contains("<table")) {
        const qsizetype charset = lower.indexOf("charset=");
        const bool utf8 = bom || (charset >= 0 && (lower.mid(charset + 8, 6) == "utf-8\"" ||
                                                   lower.mid(charset + 8, 5) == "utf-8" ||
                                                   lower.mid(charset + 9, 5) == "utf-8"));
        return std::make_unique<HtmlReader>(
            path, start, utf8 ? TableEncoding::Utf8 : TableEncoding::Windows1252);
    }
    if (vcard::looksLikeVCard(body)) {
        const std::optional<bool> utf8 =
            bom ? true : utf8ThroughoutOnce(file, TableKind::VCard, [&] {
                return vcard::isUtf8Unfolded(path, start, progress);
            });
        if (!utf8)
            return nullptr;
        return vcard::openReader(path, start,
                                 *utf8 ? TableEncoding::Utf8 : TableEncoding::Windows1252);
    }
    const std::optional<bool> utf8 =
        bom ? true : utf8ThroughoutOnce(file, TableKind::Csv, [&] {
            return isUtf8Throughout(file, 0, path, progress);
        });
    if (!utf8)
        return nullptr;
    return std::make_unique<CsvReader>(path, start,
                                       *utf8 ? TableEncoding::Utf8 : TableEncoding::Windows1252,
                                       separatorOf(body));
}

} // namespace import
