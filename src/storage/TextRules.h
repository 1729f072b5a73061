// The program's text rules, in one place:
//  - trim: characters up to U+0020 removed at both ends (nothing else counts as blank);
//  - upper/lower casing of the ASCII letters only (accented letters keep their case);
//  - Windows-1252 encoding both ways; a character the code page cannot hold becomes "?".
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace text {

QString trimmed(QStringView s);
// The same, as a part of `s`.
QStringView trimmedView(QStringView s);
QByteArrayView trimmed(QByteArrayView bytes);
QString toUpperAscii(QStringView s);
QString toLowerAscii(QStringView s);
// True for a text of one or more ASCII digits and nothing else.
bool isAllDigits(QStringView s);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) decode to the control characters of the same value.
QString decode1252(QByteArrayView bytes);
// The same into `into`, whose memory is used again when it has room.
void decode1252(QByteArrayView bytes, QString &into);
// Encodes into Windows-1252; each character (code point) the code page cannot
// hold becomes one "?", and is counted in `unencodable` when given.
QByteArray encode1252(QStringView s, qsizetype *unencodable = nullptr);
// The same into `out`, which has room for s.size() bytes; the bytes written.
qsizetype encode1252(QStringView s, char *out, qsizetype *unencodable = nullptr);
// The Windows-1252 byte of one code point, or -1 when the code page has none.
int byteFor1252(char32_t codePoint);

} // namespace text
