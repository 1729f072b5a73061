#include "TextRules.h"

#include <algorithm>

#include <array>

namespace text {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isBlank(char16_t c) {
    return c <= 0x20;
}

} // namespace

QStringView trimmedView(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin].unicode()))
        ++begin;
    while (end > begin && isBlank(s[end - 1].unicode()))
        --end;
    return s.mid(begin, end - begin);
}

QString trimmed(QStringView s) {
    return trimmedView(s).toString();
}

QByteArrayView trimmed(QByteArrayView bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 0x20)
        --end;
    return bytes.sliced(begin, end - begin);
}

QString toUpperAscii(QStringView s) {
    QString out = s.toString();
    for (QChar &c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return out;
}

QString toLowerAscii(QStringView s) {
    QString out = s.toString();
    for (QChar &c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

void decode1252(QByteArrayView bytes, QString &into) {
    into.resize(bytes.size());
    QChar *dst = into.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
}

QString decode1252(QByteArrayView bytes) {
    QString out;
    decode1252(bytes, out);
    return out;
}

int byteFor1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < int(kHigh.size()); ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

QByteArray encode1252(QStringView s, qsizetype *unencodable) {
    // A character a byte at most: written in place, cut to length at the end.
    QByteArray out(s.size(), Qt::Uninitialized);
    out.truncate(encode1252(s, out.data(), unencodable));
    return out;
}

qsizetype encode1252(QStringView s, char *out, qsizetype *unencodable) {
    char *o = out;
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) { // the same code
            *o++ = char(c);
            continue;
        }
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
            cp = QChar::surrogateToUcs4(c, p[++i]);
        const int b = byteFor1252(cp);
        *o++ = b < 0 ? '?' : char(b);
        if (b < 0 && unencodable)
            ++*unencodable;
    }
    return o - out;
}

bool isAllDigits(QStringView s) {
    return !s.isEmpty() &&
           std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace text
