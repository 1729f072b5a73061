// Guide topics: the help every window opens from its guide button, and the
// chapters of the user guide Guida.pdf, from the same texts.
#pragma once

#include <QString>
#include <QStringList>

struct GuideTopic {
    QString title;
    QStringList paragraphs;

    // The paragraphs as the guide window shows them: one empty line between two.
    QString text() const { return paragraphs.join(QStringLiteral("\r\n\r\n")); }
};
