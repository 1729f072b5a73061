// The program's look in one place: its colours, fonts and style sheets. Every
// window takes its look from here; a window keeps only where things go.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace theme {

// The program's blue: caption bars, command buttons, selections, headings.
QColor blue();

// Verdana at `points` (DejaVu Sans where Verdana is missing).
QFont verdana(int points, bool bold);
// The text boxes of the search and list windows: Verdana 12, bold.
QFont boxFont();

// The kit's own pieces.
QString commandButton();
QString pictureButton();
QString captionBar();
QString windowEdge();
QString focusFrame();
QString messageBox();
// The progress window of a long run: the message boxes' background.
QString progressWindow();
// Set on the whole application: check boxes and scroll bars.
QString program();

// The pale background of a plain fixed window of class `className`.
QString plainWindow(const char *className);
// The login and the password change windows.
QString passwordWindow(const char *className);
// The settings windows: a soft background, a white panel centred in the
// window and the slate-blue status line.
QString settingsWindow(const char *className);
QString startSettingsWindow();
QString fieldSettingsWindow();
QString settingsMenuWindow();
// A note panel of the field settings window, named `objectName`.
QString notePanel(const QString &objectName);

// The windows' own sheets.
QString databaseWorkspace();
QString clientWorkspace();
QString listWindow();
QString exportWindow();
QString importWindow();
QString zoomWindow();
QString startWindow();
QString infoWindow();
QString splashWindow();
QString cardPrintWindow();
QString guideText();
// The panel of attachment slot `number` ("01"…).
QString attachmentSlot(const QString &number);
// A box that shows a value the user does not type.
QString readOnlyBox();
// Appended to a command button's sheet where the button is narrow.
QString narrowButtonPadding();

// Text colours of single labels.
QString instructionText(); // the windows' instructions
QString boxTitleText();    // the titles over search and user-field boxes
QString captionText();     // captions and titles of the small windows
QString hintText();        // a hint under a form
QString topicTitleText();  // the guide's topic

} // namespace theme
