// The look shared by the login and the password change windows.
#pragma once

#include <QString>

inline QString passwordWindowStyle(const char *className) {
    return QStringLiteral("%1 { background: #f4f7fb; }"
                          "QLabel#lblRigo05, QLabel#lblRigo06, QLabel#lblRigo07"
                          " { color: #22313f; font-weight: bold; }"
                          "QLineEdit { background: white; border: 1px solid #9fb0c4;"
                          " border-radius: 3px; padding: 4px 6px; font-size: 11pt; }")
        .arg(QLatin1String(className));
}
