// What the whole program shares from start-up: Qt's own dialogs and buttons
// in Italian, and the look of the controls that any window may hold.
#pragma once

// Loads Qt's Italian translations (file chooser, standard buttons, context
// menus) into the application. True when they were found; without them Qt's
// own texts stay English and nothing else changes. Calling it again changes
// nothing.
bool installQtTranslations();

// The program's look for check boxes and scroll bars, set on the whole
// application so that every window has it: a check box shows a white box with
// a strong tick when ticked and a yellow outline when it has the focus; a
// scroll bar's thumb stands out in blue from its pale track.
void applyProgramLook();
