// The password file on arbitrary bytes: unscramble of the bytes as text, and
// of the bytes as the file unins000.dll read by password::read. What
// unscramble accepts scrambles back to the same digits.
#include "FuzzSupport.h"

#include "storage/AppFolder.h"
#include "storage/PasswordFile.h"
#include "storage/StorageError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes = fuzz::view(data, size);
    const QString hex = QString::fromLatin1(bytes);
    if (const std::optional<QString> plain = Crypt::unscramble(hex)) {
        FUZZ_CHECK(plain->size() == hex.size() / 2);
        FUZZ_CHECK(Crypt::scramble(*plain) == hex.left(plain->size() * 2).toUpper());
    }

    const QByteArray file = "[Accesso]\r\nValore=" + bytes.toByteArray() + "\r\n";
    fuzz::put(QStringLiteral("unins000.dll"), file);
    try {
        const QString stored = password::read(AppFolder(fuzz::scratch()));
        FUZZ_CHECK(stored.size() <= int(size) / 2);
    } catch (const StorageError &) {
        // a damaged value: the login window says so
    }
    return 0;
}
