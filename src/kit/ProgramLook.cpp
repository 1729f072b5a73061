#include "ProgramLook.h"

#include "Theme.h"

#include <QApplication>
#include <QHash>
#include <QLocale>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <clocale>

namespace {

// The texts of Qt's own dialogs that its Italian catalogue lacks: the print
// dialog's output options, the printer properties' tab and the file chooser's
// types. Looked up by text alone, whatever the dialog's context.
class ItalianGaps : public QTranslator {
  public:
    explicit ItalianGaps(QObject *parent) : QTranslator(parent) {}
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *sourceText, const char *, int) const override {
        static const QHash<QByteArray, QString> italian = {
            // Print dialog.
            {"Pages", QStringLiteral("Pagine")},
            {"Double Sided Printing", QStringLiteral("Stampa fronte e retro")},
            {"Off", QStringLiteral("No")},
            {"Long side binding", QStringLiteral("Rilegatura sul lato lungo")},
            {"Short side binding", QStringLiteral("Rilegatura sul lato corto")},
            {"Advanced", QStringLiteral("Avanzate")},
            {"Specify pages or ranges separated by commas. Ranges are specified by two numbers "
             "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
             QStringLiteral("Indicare le pagine o gli intervalli separati da virgole; un "
                            "intervallo è dato da due numeri separati da un trattino. Ad "
                            "esempio 3,5-7,9 stampa le pagine 3, 5, 6, 7 e 9.")},
            // File chooser: the types of what it lists.
            {"Folder", QStringLiteral("Cartella")},
            {"File Folder", QStringLiteral("Cartella")},
            {"Drive", QStringLiteral("Unità")},
            {"Alias", QStringLiteral("Alias")},
            {"Shortcut", QStringLiteral("Collegamento")},
            {"Unknown", QStringLiteral("Sconosciuto")},
            {"%1 File", QStringLiteral("File %1")},
        };
        return sourceText ? italian.value(QByteArray(sourceText)) : QString();
    }
};

} // namespace

bool installQtTranslations() {
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_it", "qt_it"}) {
        if (translator->load(QLatin1String(name), folder)) {
            QCoreApplication::installTranslator(translator);
            // Installed last, so looked up first: it knows only what Qt's lacks.
            QCoreApplication::installTranslator(new ItalianGaps(translator));
            installed = translator;
            return true;
        }
    }
    delete translator;
    return false;
}

ItalianSystemLocale::ItalianSystemLocale()
    : m_old(qgetenv("LC_ALL")), m_had(qEnvironmentVariableIsSet("LC_ALL")) {
    qputenv("LC_ALL", "it_IT.UTF-8");
}

void ItalianSystemLocale::settle() {
    // Read now, while the variable says Italian; Qt keeps what it read.
    (void)QLocale::system().name();
    if (m_had)
        qputenv("LC_ALL", m_old);
    else
        qunsetenv("LC_ALL");
    // The C library's locale as the user's environment gives it, as the
    // toolkit would have set it; programs started from here inherit the
    // environment unchanged.
    std::setlocale(LC_ALL, "");
}

void applyProgramLook() {
    qApp->setStyleSheet(theme::program());
}
