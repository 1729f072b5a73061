// cartavera-synth FILE COUNT: writes a synthetic Database.pro or Clienti.pro
// (chosen by the file's name) of COUNT cards, for trying the program and the
// companion on large archives.
#include "SyntheticArchive.h"

#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fputs("uso: cartavera-synth Database.pro|Clienti.pro NUMERO\n", stderr);
        return 1;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    bool ok = false;
    const qint64 count = QByteArray(argv[2]).toLongLong(&ok);
    if (!ok || count < 0) {
        std::fputs("cartavera-synth: numero di schede non valido\n", stderr);
        return 1;
    }
    const bool clients =
        QFileInfo(path).fileName().compare(QStringLiteral("Clienti.pro"), Qt::CaseInsensitive) == 0;
    if (!(clients ? synthetic::writeClients(path, count) : synthetic::writeDatabase(path, count))) {
        std::fputs("cartavera-synth: impossibile scrivere il file\n", stderr);
        return 2;
    }
    return 0;
}
