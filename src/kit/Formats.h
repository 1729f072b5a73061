// Dates and numbers, whatever the system's regional settings.
#pragma once

#include <QDate>
#include <QString>

inline const QString kShortDateFormat = QStringLiteral("dd/MM/yyyy");
void applyProcessFormats();
QString formatDate(const QDate &date);
