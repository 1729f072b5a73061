// What the whole program shares from start-up: Qt's own dialogs and buttons
// in Italian, and the look of the controls that any window may hold.
#pragma once

#include <QByteArray>

// Loads Qt's Italian translations (file chooser, standard buttons, context
// menus, print dialog) into the application, and after them our own for the
// few texts they lack. True when Qt's were found; without them Qt's own texts
// stay English and nothing else changes. Calling it again changes nothing.
bool installQtTranslations();

// Qt's own dialogs show dates and sizes (the file chooser's columns) in the
// system's locale, not the program's: for this process the system's locale
// is Italian, whatever the user's language. Made before the QApplication;
// settle() once it exists puts the environment back as it was, so that the
// programs this one starts see the user's own.
class ItalianSystemLocale {
  public:
    ItalianSystemLocale();
    void settle();

  private:
    QByteArray m_old;
    bool m_had;
};

// The program's look for check boxes and scroll bars, set on the whole
// application so that every window has it: a check box shows a white box with
// a strong tick when ticked and a yellow outline when it has the focus; a
// scroll bar's thumb stands out in blue from its pale track.
void applyProgramLook();
