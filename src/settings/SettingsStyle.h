// The look shared by the settings windows: a soft background, a white panel
// centred in the window and the slate-blue status line.
#pragma once

#include <QString>

inline QString settingsWindowStyle(const char *className) {
    return QStringLiteral(
               "%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
               " stop:0 #eef3f9, stop:1 #d9e3ef); }"
               "QFrame#panContainer { background: white; border: 1px solid #c3cfdd;"
               " border-radius: 10px; }"
               "QLabel#titNomeArchivio { color: #1f4e8c; }"
               "QLabel#panInfo { background: #4a5f8c; color: white; padding: 0 12px;"
               " border-radius: 4px; }"
               "QLineEdit { background: white; border: 1px solid #9fb0c4; border-radius: 3px;"
               " padding: 3px 5px; }")
        .arg(QLatin1String(className));
}
