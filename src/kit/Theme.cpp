#include "Theme.h"

// The colours more than one sheet shares.
#define BLUE "#1f4e8c"
#define DARK_BLUE_EDGE "#163a6a"
#define PALE_BACKGROUND "#f4f7fb"
#define INK "#22313f"
#define CAPTION_INK "#1f3b5c"
#define TITLE_INK "#1f3f66"
#define FOCUS_YELLOW "#ffd700"
#define GREY_TEXT "#5b6b7c"

namespace theme {

QColor blue() {
    return QColor(0x1f, 0x4e, 0x8c);
}

QFont verdana(int points, bool bold) {
    QFont font(QStringLiteral("Verdana"), points, bold ? QFont::Bold : QFont::Normal);
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    return font;
}

QFont boxFont() {
    return verdana(12, true);
}

QString commandButton() {
    return QStringLiteral(
        "QPushButton { color: white; font-weight: bold; padding: 6px 16px;"
        " border: 1px solid " DARK_BLUE_EDGE "; border-radius: 5px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a9de0, stop:1 " BLUE "); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #6cb0f0, stop:1 #2a5fa3); }"
        "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 " BLUE ", stop:1 #4a90d9); }"
        "QPushButton:disabled { color: #d8dde3; border-color: #8a97a6;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a9b6c4, stop:1 #7d8b9a); }"
        "QPushButton:focus { border: 2px solid #f2c500; }");
}

QString pictureButton() {
    return QStringLiteral("QToolButton { border: none; padding: 2px; }"
                          "QToolButton:hover { background: rgba(74,144,217,40);"
                          " border-radius: 6px; }"
                          "QToolButton:disabled { background: transparent; }"
                          "QToolButton:focus { border: 2px solid #f2c500; border-radius: 6px; }");
}

QString captionBar() {
    return QStringLiteral("QLabel { color: white; font-weight: bold; padding: 0 10px; margin: 0;"
                          " border: none; border-bottom: 1px solid " DARK_BLUE_EDGE ";"
                          " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3a7bc4,"
                          " stop:1 " BLUE "); }");
}

QString windowEdge() {
    return QStringLiteral("QFrame { background: " BLUE "; border: none; }");
}

QString focusFrame() {
    return QStringLiteral("QFrame { background: " FOCUS_YELLOW "; border: 1px solid #e0a800;"
                          " border-radius: 3px; }");
}

QString messageBox() {
    return QStringLiteral("QMessageBox { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #ffffff, stop:1 #e3ecf7); }"
                          "QMessageBox QLabel { color: " CAPTION_INK "; }");
}

QString progressWindow() {
    return QStringLiteral("QProgressDialog { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #ffffff, stop:1 #e3ecf7); }"
                          "QProgressDialog QLabel { color: " CAPTION_INK "; }");
}

QString program() {
    return QStringLiteral(
        // Check boxes: the box stays white (it shows on the blue bands too), the
        // tick is dark and thick, and the focus draws the kit's yellow outline.
        "QCheckBox { spacing: 8px; padding: 1px 4px; border: 2px solid transparent;"
        " border-radius: 4px; }"
        "QCheckBox:focus { border-color: " FOCUS_YELLOW "; }"
        "QCheckBox::indicator { width: 16px; height: 16px; background: white;"
        " border: 2px solid #0f2e57; border-radius: 3px; }"
        "QCheckBox::indicator:checked { image: url(:/icons/spunta.svg); }"
        "QCheckBox::indicator:disabled { background: #e3e8ee; border-color: #8a97a6; }"
        // Scroll bars: a blue thumb on a pale track, no arrow buttons.
        "QScrollBar:vertical { background: #e1e8f0; width: 14px; margin: 0; border: none; }"
        "QScrollBar:horizontal { background: #e1e8f0; height: 14px; margin: 0; border: none; }"
        "QScrollBar::handle { background: #4f86c6; border: 1px solid " BLUE "; border-radius: 5px;"
        " margin: 2px; }"
        "QScrollBar::handle:vertical { min-height: 32px; }"
        "QScrollBar::handle:horizontal { min-width: 32px; }"
        "QScrollBar::handle:hover { background: #2f6db3; }"
        "QScrollBar::handle:pressed { background: " BLUE "; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none;"
        " background: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
}

QString plainWindow(const char *className) {
    return QLatin1String(className) + QStringLiteral(" { background: " PALE_BACKGROUND "; }");
}

QString passwordWindow(const char *className) {
    return QStringLiteral("%1 { background: " PALE_BACKGROUND "; }"
                          "QLabel#lblRigo05, QLabel#lblRigo06, QLabel#lblRigo07"
                          " { color: " INK "; font-weight: bold; }"
                          "QLineEdit { background: white; border: 1px solid #9fb0c4;"
                          " border-radius: 3px; padding: 4px 6px; font-size: 11pt; }")
        .arg(QLatin1String(className));
}

QString settingsWindow(const char *className) {
    return QStringLiteral("%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #eef3f9, stop:1 #d9e3ef); }"
                          "QFrame#panContainer { background: white; border: 1px solid #c3cfdd;"
                          " border-radius: 10px; }"
                          "QLabel#titNomeArchivio { color: " BLUE "; }"
                          "QLabel#panInfo { background: #4a5f8c; color: white; padding: 0 12px;"
                          " border-radius: 4px; }"
                          "QLineEdit { background: white; border: 1px solid #9fb0c4;"
                          " border-radius: 3px; padding: 3px 5px; }")
        .arg(QLatin1String(className));
}

QString startSettingsWindow() {
    return settingsWindow("TfrmImpostaAvvio") +
           QStringLiteral("QLineEdit#txtNomeArchivio, QLineEdit#txtSottotitolo"
                          " { color: " BLUE "; }"
                          "QLabel#imgLogo { border: 1px dashed #9fb0c4; }");
}

QString fieldSettingsWindow() {
    return settingsWindow("TfrmImpostaCampi") +
           QStringLiteral("QLabel[title=\"true\"] { color: " BLUE "; font-weight: bold; }"
                          "QLabel#lblIntestazione { color: #c0392b; }"
                          "QLabel#imgFoto { border: 1px solid #b8c4d2; }");
}

QString settingsMenuWindow() {
    return settingsWindow("TfrmMenuImpostazioni") +
           QStringLiteral("QLabel#lblIstruzioni { color: " INK "; }"
                          "QLabel#lblTitolo { color: #c0392b; }");
}

QString notePanel(const QString &objectName) {
    return QStringLiteral("QFrame#%1 { background: #eef4fb; border: 1px solid "
                          "#c9d8ea; border-radius: 6px; }"
                          "QLabel { color: " INK "; background: transparent; "
                          "border: none; }")
        .arg(objectName);
}

QString databaseWorkspace() {
    return QStringLiteral(
        "TfrmDatabase { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #e9f0f8, stop:1 #b7cbe2); }"
        "QFrame#shpGruppo01, QFrame#shpGruppo02, QFrame#shpGruppo03, QFrame#shpGruppo04,"
        " QFrame#shpGruppo05 { background: rgba(255,255,255,170); border: 1px solid #9fb4cc;"
        " border-radius: 8px; }"
        "QFrame#shpTitolo { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #2f6db3, stop:1 " BLUE "); border-radius: 8px; }"
        "QLabel#titNomeArchivio { color: white; }"
        "QFrame#shpSegnala { background: rgba(255,255,255,40); border: 1px solid #9cc0ea;"
        " border-radius: 6px; }"
        "QCheckBox#chkSegnala { color: white; font-weight: bold; spacing: 8px; }"
        "QCheckBox#chkSegnala::indicator { width: 16px; height: 16px; }"
        "QFrame#shpScheda, QFrame#shpContatto { background: rgba(255,255,255,200);"
        " border: 1px solid #9fb4cc; border-radius: 8px; }"
        "QFrame#shpFoto { background: white; border: 1px solid #7f95ae; }"
        "QLabel#lblPosizione { color: " BLUE "; background: transparent; border: none; }"
        "QLabel#titContatto { color: " BLUE "; font-weight: bold; }"
        "QLabel#panInfo { background: " BLUE "; color: white; padding: 3px 10px;"
        " border-radius: 4px; }"
        "QLineEdit { background: white; border: 1px solid #8ea3bb; border-radius: 3px;"
        " padding: 2px 4px; min-height: 18px; }");
}

QString clientWorkspace() {
    return QStringLiteral(
        "TfrmClienti { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #8bb2d3, stop:1 #ffffff); }"
        "QFrame#shpContainer { background: #c3d0de; border: 1px solid #9fb1c6; border-radius: 6px; "
        "}"
        "QFrame#shpSezione01, QFrame#shpSezione02, QFrame#shpSezione03, QFrame#shpSezione04,"
        " QFrame#shpSezione05 { background: #e7eff7; border: 1px solid #aec2d8;"
        " border-radius: 5px; }"
        "QFrame#bkgSezione01, QFrame#bkgSezione02, QFrame#bkgSezione03, QFrame#bkgSezione04,"
        " QFrame#bkgSezione05, QFrame#shpEmail { background: white; border: 1px solid #c3d0de; }"
        "QFrame#panControlli, QFrame#shpFrecce { background: white; border: 1px solid #aec2d8; }"
        "QLabel#imgDecoro { border: 1px solid #aec2d8; }"
        "QFrame#shpInfo { background: #4b6a8f; border-radius: 3px; }"
        "QLabel#panInfo { color: white; background: transparent; padding: 0 10px; }"
        "QLabel#lblPosizione { color: " BLUE "; background: transparent; }"
        "QLabel[caption=\"true\"] { color: " CAPTION_INK "; background: transparent; }"
        "QLineEdit { background: white; border: 1px solid #8ea3bb; border-radius: 2px;"
        " padding: 0 3px; }"
        "QComboBox QLineEdit { border: none; padding: 0; background: transparent; }"
        "QCheckBox#chkRicontatta { color: " CAPTION_INK "; spacing: 8px; }"
        "QCheckBox#chkRicontatta::indicator { width: 16px; height: 16px; }");
}

QString listWindow() {
    return QStringLiteral(
        "ListWindow { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #e9f0f8, stop:1 #c4d5e8); }"
        "QFrame#shpIstruzioni, QFrame#shpAvvio, QFrame#shpFiltri { background: white; border: 1px "
        "solid #9fb4cc;"
        " border-radius: 8px; }"
        "QLabel#lblAttendere { color: #b22222; font-weight: bold; }"
        "QLabel#lblTrovate { color: " BLUE "; font-weight: bold; }"
        "QLineEdit { background: white; border: 1px solid #8ea3bb; border-radius: 3px;"
        " padding: 2px 4px; }"
        "QListView#lstRecords { background: white; color: black; border: 1px solid #7f95ae;"
        " selection-background-color: " BLUE "; selection-color: white; }");
}

QString exportWindow() {
    return QStringLiteral(
        "ExportWindow { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #e9f0f8, stop:1 #c4d5e8); }"
        "QFrame#shpTitolo { background: white; border: 1px solid #9fb4cc; border-radius: 8px; }"
        "QLabel#panInfo { background: #4a5f8c; color: white; padding: 0 12px; border-radius: 4px; }"
        "QTableView#grdRecords { background: white; alternate-background-color: #eef3f9;"
        " color: black; gridline-color: #c8d3e0; border: 1px solid #7f95ae;"
        " selection-background-color: " BLUE "; selection-color: white; }"
        "QHeaderView::section { background: #dfe7f1; color: " TITLE_INK "; border: none;"
        " border-right: 1px solid #b8c6d8; border-bottom: 1px solid #b8c6d8; padding: 0 4px;"
        " font-weight: bold; }");
}

QString importWindow() {
    return QStringLiteral(
        "TfrmImporta { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #e9f0f8, stop:1 #c4d5e8); }"
        "QLabel { color: " TITLE_INK "; }"
        "QLabel#lblFile { font-weight: bold; }"
        "QTableWidget { background: white; alternate-background-color: #eef3f9;"
        " color: black; gridline-color: #c8d3e0; border: 1px solid #7f95ae;"
        " selection-background-color: " BLUE "; selection-color: white; }"
        "QHeaderView::section { background: #dfe7f1; color: " TITLE_INK "; border: none;"
        " border-right: 1px solid #b8c6d8; border-bottom: 1px solid #b8c6d8; padding: 2px 6px;"
        " font-weight: bold; }");
}

QString zoomWindow() {
    return QStringLiteral("TfrmZoom { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #4682b4, stop:1 #ffffff); }");
}

QString startWindow() {
    return QStringLiteral("TfrmAvvio { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #eef3f9, stop:1 #d9e3ef); }"
                          "QFrame#panContainer { background: white; border: 1px solid #c3cfdd;"
                          " border-radius: 10px; }"
                          "QLabel#titNomeArchivio { color: " BLUE "; }"
                          "QLabel#titSottotitolo { color: #34495e; }"
                          "QLabel#imgLogo { border: 1px solid #d5dde7; }"
                          "QLabel#panInfo { background: #4a5f8c; color: white; padding: 0 12px; }");
}

QString infoWindow() {
    return QStringLiteral("TfrmInfo { background: " PALE_BACKGROUND "; }"
                          "QLabel#lblProgramma { color: " BLUE "; }"
                          "QLabel#lblVersione { color: " GREY_TEXT "; }"
                          "QLabel#lblDescrizione, QLabel#lblContatti { color: " INK "; }"
                          "QFrame#shpRiquadro { background: white; border: 1px solid #c3cfdd;"
                          " border-radius: 8px; }");
}

QString splashWindow() {
    return QStringLiteral("TfrmSplash { background: " PALE_BACKGROUND "; }"
                          "QLabel#imgLogo { border: 1px solid #c3cfdd; }");
}

QString cardPrintWindow() {
    return QStringLiteral(
        "CardPrintWindow { background: " PALE_BACKGROUND "; }"
        "QFrame#panScelta { background: white; border: 1px solid #9fb0c3; border-radius: 6px; }"
        "QRadioButton { color: " CAPTION_INK "; spacing: 8px; padding: 2px 4px;"
        " border: 2px solid transparent; border-radius: 4px; }"
        "QRadioButton:focus { border-color: " FOCUS_YELLOW "; }");
}

QString guideText() {
    return QStringLiteral("QPlainTextEdit { background: white; border: 1px solid #b8c4d2;"
                          " border-radius: 4px; padding: 6px; color: " INK "; }");
}

QString attachmentSlot(const QString &number) {
    return QStringLiteral("QFrame#panSlot%1 { background: white;"
                          " border: 1px solid #c9d4e1; border-radius: 6px; }")
        .arg(number);
}

QString readOnlyBox() {
    return QStringLiteral("QLineEdit { background: #eef2f7; }");
}

QString narrowButtonPadding() {
    return QStringLiteral("QPushButton { padding: 4px 4px; }");
}

QString instructionText() {
    return QStringLiteral("color: " INK ";");
}

QString boxTitleText() {
    return QStringLiteral("color: " TITLE_INK ";");
}

QString captionText() {
    return QStringLiteral("color: " CAPTION_INK ";");
}

QString hintText() {
    return QStringLiteral("color: " GREY_TEXT ";");
}

QString topicTitleText() {
    return QStringLiteral("color: #dc143c;");
}

} // namespace theme
