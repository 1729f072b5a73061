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
QByteArrayView trimmed(QByteArrayView bytes);
QString toUpperAscii(QStringView s);
QString toLowerAscii(QStringView s);
// True for a text of one or more ASCII digits and nothing else.
bool isAllDigits(QStringView s);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) decode to the control characters of the same value.
QString decode1252(QByteArrayView bytes);
// Encodes into Windows-1252; each character (code point) the code page cannot
// hold becomes one "?".
QByteArray encode1252(QStringView s);
// The Windows-1252 byte of one code point, or -1 when the code page has none.
int byteFor1252(char32_t codePoint);

} // namespace text
