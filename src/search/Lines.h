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

// How a pass makes the line of a record it lists.
struct LineKind {
    qsizetype (*length)(const char *record);
    void (*write)(const char *record, char16_t *out);
};

// The card line's length, and the client line's before its last column.
constexpr int kCardLineLength = 153;
constexpr int kClientColumns = 115;

extern const LineKind kCardLine;
extern const LineKind kClientLine;    // Note last
extern const LineKind kRecontactLine; // Questioni last

// The line of `record` as `kind` writes it.
QString lineOf(const LineKind &kind, const char *record);

} // namespace search::detail
