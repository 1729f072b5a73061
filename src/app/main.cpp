// Cartavera: start-up. Creates the windows in their order and runs the event
// loop; the login window is the only one shown at start.
#include "FolderStart.h"
#include "Forms.h"
#include "ScreenFit.h"
#include "kit/LargeWindow.h"
#include "kit/ProgramLook.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char **argv) {
    ItalianSystemLocale italian;
    QApplication app(argc, argv);
    italian.settle();
    // No application display name: the toolkit would append it to every
    // window's caption, and each window's caption is given exactly.
    QApplication::setApplicationName(QStringLiteral("Cartavera"));
    // The desktop entry the windows belong to (cartavera.desktop): the window
    // class "Cartavera" on X11 and the app id on Wayland group them under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("cartavera"));
    // Hiding one large window to show another must never end the program:
    // it ends only through the registry's endProgram().
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own dialogs and buttons speak Italian; check boxes and scroll bars
    // have the program's look in every window.
    installQtTranslations();
    applyProgramLook();

    // The data lie beside the program, or, for the installed program, in
    // $CARTAVERA_HOME or ~/Cartavera (storage/AppHome.h).
    const apphome::Place place = apphome::locate(QCoreApplication::applicationDirPath());
    const AppFolder folder(place.folder);
    // Building the windows reads no file. A screen too small for them starts
    // the program again at a scale that fits, before it takes the folder.
    Forms windows{folder};
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        restartScaled(argv, screenShrink(windows.created(), screen->availableGeometry().size()));
    if (!prepareFolder(place))
        return 1;

    // One program per folder; a change a killed program left half done is
    // put back before anything else reads the folder.
    FolderLock lock(folder);
    if (!openFolder(folder, lock))
        return 1;
    windows.startUp();
    return QApplication::exec();
}
