// Reading PDF files back with poppler's tools, as an independent reader.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What `tool` (pdftotext, pdfinfo) prints for `arguments`; `errors` gets what
// it complains about.
inline QString runPdfTool(const QString &tool, const QStringList &arguments,
                          QString *errors = nullptr) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the PDF file, laid out as on the page.
inline QString pdfText(const QString &path) {
    return runPdfTool(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// One field of the document information ("Title", "Author" …) as pdfinfo
// reads it; `errors` gets pdfinfo's complaints about the file.
inline QString pdfInfoField(const QString &path, const QString &field, QString *errors = nullptr) {
    const QString info = runPdfTool(QStringLiteral("pdfinfo"), {path}, errors);
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    return {};
}
