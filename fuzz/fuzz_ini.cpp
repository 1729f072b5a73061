// The INI reader on arbitrary bytes as Archivio.ini: every key the program
// reads, then one write and the same key read back. The first byte picks
// whether the rest is taken as it is or behind a UTF-8 byte order mark, so
// both encodings are reached.
#include "FuzzSupport.h"

#include "storage/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    QByteArray bytes = fuzz::view(data + 1, size - 1).toByteArray();
    if (data[0] & 1)
        bytes.prepend("\xEF\xBB\xBF");
    const QString file = fuzz::put(QStringLiteral("Archivio.ini"), bytes);

    IniFile ini(file, IniFile::Unreadable::Raises);
    const QString name = ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio"));
    ini.read(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio"));
    for (int i = 1; i <= 14; ++i)
        ini.read(QStringLiteral("Nome Campi"), QStringLiteral("Campo %1").arg(i, 2, 10, QChar(u'0')));

    // A write keeps the other keys and reads back as written (trimmed, one line).
    const QString subtitle = QStringLiteral(" Sottotitolo\r\nè nuovo ");
    ini.write(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio"), subtitle);
    FUZZ_CHECK(ini.read(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio")) ==
               QStringLiteral("Sottotitolo  è nuovo"));
    FUZZ_CHECK(ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")) == name);
    return 0;
}
