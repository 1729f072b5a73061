#include "ProgramLook.h"

#include "Theme.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

bool installQtTranslations() {
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_it", "qt_it"}) {
        if (translator->load(QLatin1String(name), folder)) {
            QCoreApplication::installTranslator(translator);
            installed = translator;
            return true;
        }
    }
    delete translator;
    return false;
}

void applyProgramLook() {
    qApp->setStyleSheet(theme::program());
}
