// What the whole program shares from start-up: Qt's own dialogs and buttons
// in Italian.
#pragma once

// Loads Qt's Italian translations (file chooser, standard buttons, context
// menus) into the application. True when they were found; without them Qt's
// own texts stay English and nothing else changes. Calling it again changes
// nothing.
bool installQtTranslations();
