#include "IniFile.h"

#include "RegularFile.h"
#include "StorageError.h"
#include "TextRules.h"
#include "WholeFile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

// How the file is encoded; a new file, and one of plain ASCII, is Windows-1252.
enum class Encoding { Windows1252, Utf8, Utf8WithMark };

struct IniText {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    Encoding encoding = Encoding::Windows1252;
    bool unreadable = false; // the file is there but could not be read
};

QByteArray encoded(const IniText &ini) {
    const QString content = ini.lines.join(ini.eol) + ini.eol;
    switch (ini.encoding) {
    case Encoding::Windows1252:
        break;
    case Encoding::Utf8:
        return content.toUtf8();
    case Encoding::Utf8WithMark:
        return "\xEF\xBB\xBF" + content.toUtf8();
    }
    return text::encode1252(content);
}

IniText load(const QString &path) {
    IniText ini;
    QFile file(path);
    const OpenResult opened = openRegularFile(file, QIODevice::ReadOnly);
    if (opened != OpenResult::Opened) {
        ini.unreadable = opened == OpenResult::Refused;
        return ini;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ini.unreadable = true;
        return ini;
    }
    QStringDecoder utf8(QStringDecoder::Utf8); // skips a byte order mark
    QString content = utf8.decode(bytes);
    if (utf8.hasError())
        content = text::decode1252(bytes);
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        ini.encoding = Encoding::Utf8WithMark;
    else if (std::any_of(bytes.begin(), bytes.end(), [](char b) { return b & 0x80; }))
        ini.encoding = Encoding::Utf8;
    if (!content.contains(u"\r\n") && content.contains(u'\n'))
        ini.eol = QStringLiteral("\n");
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ini.lines = content.split(u'\n');
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast(); // the final line break
    return ini;
}

// The section name of a header line "[name]", or a null string.
QString sectionOf(const QString &line) {
    const QString t = text::trimmed(line);
    if (!t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    return text::trimmed(QStringView(t).mid(1, close < 0 ? -1 : close - 1));
}

// The key of a "key=value" line, or a null string.
QString keyOf(const QString &line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || text::trimmed(line).startsWith(u';'))
        return {};
    return text::trimmed(QStringView(line).left(eq));
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the header line of `section`, or -1.
qsizetype findSection(const QStringList &lines, const QString &section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (!name.isNull() && sameName(name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at `header`.
qsizetype sectionEnd(const QStringList &lines, qsizetype header) {
    qsizetype i = header + 1;
    while (i < lines.size() && sectionOf(lines[i]).isNull())
        ++i;
    return i;
}

} // namespace

QString IniFile::read(const QString &section, const QString &key) const {
    const IniText ini = load(m_path);
    if (ini.unreadable && m_unreadable == Unreadable::Raises)
        throw StorageError::unableToRead(m_path);
    const qsizetype header = findSection(ini.lines, section);
    if (header < 0)
        return {};
    const qsizetype end = sectionEnd(ini.lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString name = keyOf(ini.lines[i]);
        if (!name.isNull() && sameName(name, key))
            return text::trimmed(QStringView(ini.lines[i]).mid(ini.lines[i].indexOf(u'=') + 1));
    }
    return {};
}

void IniFile::write(const QString &section, const QString &key, const QString &value) {
    IniText ini = load(m_path);
    // Never rewrite a file whose other lines could not be read.
    if (ini.unreadable)
        throw StorageError::unableToWrite(m_path);
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' '); // a value is one line
    clean = text::trimmed(clean);

    qsizetype header = findSection(ini.lines, section);
    if (header < 0) {
        ini.lines << u'[' + section + u']';
        header = ini.lines.size() - 1;
    }
    const qsizetype end = sectionEnd(ini.lines, header);
    bool done = false;
    for (qsizetype i = header + 1; i < end && !done; ++i) {
        const QString name = keyOf(ini.lines[i]);
        if (!name.isNull() && sameName(name, key)) {
            ini.lines[i] = name + u'=' + clean;
            done = true;
        }
    }
    if (!done) {
        // After the section's last non-blank line, so blank separators stay below it.
        qsizetype at = end;
        while (at > header + 1 && text::trimmed(ini.lines[at - 1]).isEmpty())
            --at;
        ini.lines.insert(at, key + u'=' + clean);
    }

    writeWholeFile(m_path, encoded(ini));
}
