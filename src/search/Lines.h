// The lines of the result lists, written from the stored bytes of a record.
// Part of the search engine, not its interface.
#pragma once

#include <QString>
#include <array>

namespace search::detail {

// The characters of the 256 Windows-1252 bytes.
const std::array<char16_t, 256> &charsOf1252();

inline char16_t upperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - 32 : c;
}

// Decodes `length` Windows-1252 bytes to `out`; returns the end.
char16_t *decodeInto(char16_t *out, const char *bytes, qsizetype length);
// A line kept as its Windows-1252 bytes, as the text the list shows.
QString decodeLine(QByteArrayView bytes);

// How a pass makes the line of a record it lists: its Windows-1252 bytes, one
// a character, written straight from the record's stored bytes.
struct LineKind {
    qsizetype (*length)(const char *record);
    void (*write)(const char *record, char *out);
    // The length of every line when they all have one, otherwise 0.
    qsizetype fixedLength;
};

// The card line's length, and the client line's before its last column.
constexpr int kCardLineLength = 153;
constexpr int kClientColumns = 115;
// Longer than any line: the client line's columns and a whole 250-byte note.
constexpr int kMostLineBytes = 512;

extern const LineKind kCardLine;
extern const LineKind kClientLine;    // Note last
extern const LineKind kRecontactLine; // Questioni last

// The line of `record` as `kind` writes it.
QString lineOf(const LineKind &kind, const char *record);

} // namespace search::detail
