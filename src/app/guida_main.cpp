// cartavera-guida: writes the user guide Guida.pdf from the guide topics of
// the program's windows.
//   cartavera-guida <path of Guida.pdf>
#include "GuideBook.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "uso: cartavera-guida <file Guida.pdf>\n");
        return 2;
    }
    if (!writeGuideBook(args[1], guideBookTopics())) {
        std::fprintf(stderr, "cartavera-guida: impossibile scrivere %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
