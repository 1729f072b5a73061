#include "PasswordFile.h"

#include "AppFolder.h"
#include "IniFile.h"
#include "StorageError.h"
#include "TextRules.h"

#include <cstdint>

namespace Crypt {
namespace {

constexpr uint16_t kStart = 0x5C27;
constexpr uint16_t kMultiplier = 0xA3B1;
constexpr uint16_t kAddend = 0x7E4D;

uint16_t nextKey(uint16_t key, uint8_t scrambled) {
    return uint16_t((uint32_t(scrambled) + key) * kMultiplier + kAddend);
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

QString scramble(QStringView plain) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(plain.size() * 2);
    uint16_t key = kStart;
    for (QChar c : plain) {
        const auto s = uint8_t((c.unicode() & 0xFF) ^ (key >> 8));
        out += QChar(kDigits[s >> 4]);
        out += QChar(kDigits[s & 0xF]);
        key = nextKey(key, s);
    }
    return out;
}

std::optional<QString> unscramble(QStringView hex) {
    const qsizetype n = hex.size() / 2;
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = hexValue(hex[2 * i]);
        const int lo = hexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes[i] = char(hi * 16 + lo);
    }
    QString out(n, Qt::Uninitialized);
    uint16_t key = kStart;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = uint8_t(bytes[i]);
        out[i] = QChar(char16_t(b ^ (key >> 8)));
        key = nextKey(key, b);
    }
    return out;
}

} // namespace Crypt

namespace password {
namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
} // namespace

QString read(const AppFolder &folder) {
    const QString stored =
        IniFile(folder.passwordFile(), IniFile::Unreadable::Raises).read(kSection, kKey);
    const std::optional<QString> plain = Crypt::unscramble(stored);
    if (!plain)
        throw StorageError(QStringLiteral("%1: password danneggiata").arg(folder.passwordFile()));
    return text::trimmed(*plain);
}

void write(const AppFolder &folder, const QString &plain) {
    IniFile(folder.passwordFile()).write(kSection, kKey, Crypt::scramble(plain));
}

QString normalized(QStringView typed) {
    return text::trimmed(text::toUpperAscii(typed));
}

} // namespace password
