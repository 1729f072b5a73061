// The access password: scrambled into hexadecimal text and kept in the INI
// file unins000.dll, section "Accesso", key "Valore".
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace Crypt {

// Two upper-case hexadecimal digits per character; each character counts as
// its code modulo 256.
QString scramble(QStringView plain);
// The text back, or nothing when a pair of digits is not hexadecimal (a last
// odd digit is ignored; lower-case digits are accepted).
std::optional<QString> unscramble(QStringView hex);

} // namespace Crypt

class AppFolder;

namespace password {

inline constexpr int kMaxLength = 255;

// The stored password, unscrambled and trimmed; empty when the file, section
// or key is missing. Raises StorageError when the stored value is damaged or
// the file is there but cannot be read (not a regular file, a link loop).
QString read(const AppFolder &folder);
// Stores `plain` (already in its stored form) scrambled; raises StorageError
// when the file cannot be written.
void write(const AppFolder &folder, const QString &plain);
// The form a typed password is compared and stored in: a–z upper-cased, trimmed.
QString normalized(QStringView typed);

} // namespace password
