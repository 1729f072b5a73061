// The seam between the windows and the program that owns them: the
// application folder, the start screen every workspace hands back to, the
// guide window, and the program's end. The window registry (app/Forms) is the
// one implementation and installs itself here for its lifetime; nothing else
// reaches the registry. A window reaches the windows it opens only through
// typed values the registry hands it (its Destinations), never by name.
#pragma once

class AppFolder;
class LargeWindow;
class QWidget;
struct GuideTopic;

class Shell {
  public:
    virtual ~Shell() = default;

    virtual const AppFolder &appFolder() const = 0;
    // True once the program has been told to end: windows then close
    // without handing over to another.
    virtual bool terminating() const = 0;
    // The window closing a workspace leads back to.
    virtual LargeWindow *startScreen() const = 0;
    // Opens the guide window on `topic`, modally over `owner`.
    virtual void showGuide(QWidget *owner, const GuideTopic &topic) = 0;
    // Ends the program: the login's "Esci", the start screen's exit or
    // closing either of them. Every window hides; nothing hands over.
    virtual void endProgram() = 0;

    // The shell of the running program (installed by the window registry).
    static Shell &current();
    // True while a shell is installed.
    static bool isRunning();
    // Installs `shell` (not owned); nullptr removes it.
    static void install(Shell *shell);
};

inline Shell &shell() {
    return Shell::current();
}
