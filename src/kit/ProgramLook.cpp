#include "ProgramLook.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

const char kProgramStyle[] =
    // Check boxes: the box stays white (it shows on the blue bands too), the
    // tick is dark and thick, and the focus draws the kit's yellow outline.
    "QCheckBox { spacing: 8px; padding: 1px 4px; border: 2px solid transparent;"
    " border-radius: 4px; }"
    "QCheckBox:focus { border-color: #ffd700; }"
    "QCheckBox::indicator { width: 16px; height: 16px; background: white;"
    " border: 2px solid #0f2e57; border-radius: 3px; }"
    "QCheckBox::indicator:checked { image: url(:/icons/spunta.svg); }"
    "QCheckBox::indicator:disabled { background: #e3e8ee; border-color: #8a97a6; }"
    // Scroll bars: a blue thumb on a pale track, no arrow buttons.
    "QScrollBar:vertical { background: #e1e8f0; width: 14px; margin: 0; border: none; }"
    "QScrollBar:horizontal { background: #e1e8f0; height: 14px; margin: 0; border: none; }"
    "QScrollBar::handle { background: #4f86c6; border: 1px solid #1f4e8c; border-radius: 5px;"
    " margin: 2px; }"
    "QScrollBar::handle:vertical { min-height: 32px; }"
    "QScrollBar::handle:horizontal { min-width: 32px; }"
    "QScrollBar::handle:hover { background: #2f6db3; }"
    "QScrollBar::handle:pressed { background: #1f4e8c; }"
    "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none;"
    " background: none; }"
    "QScrollBar::add-page, QScrollBar::sub-page { background: none; }";

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
            installed = translator;
            return true;
        }
    }
    delete translator;
    return false;
}

void applyProgramLook() {
    qApp->setStyleSheet(QString::fromLatin1(kProgramStyle));
}
