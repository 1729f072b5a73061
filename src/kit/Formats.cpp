#include "Formats.h"

#include <QLocale>

void applyProcessFormats() {
    // Italian conventions: decimal comma; dates are written with kShortDateFormat.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

QString formatDate(const QDate &date) {
    return date.toString(kShortDateFormat);
}
