#include "ShellOpen.h"

#include "Desktop.h"

QUrl shellTarget(const QString &sCommand) {
    QString target = sCommand.trimmed();
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"'))
        target = target.mid(1, target.size() - 2);

    if (target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)) {
        // "mailto:address?subject=…&body=…" with subject and body as written:
        // percent-encode each part so blanks, "&", "#" and accents arrive intact.
        const QString rest = target.mid(7);
        const qsizetype q = rest.indexOf(u'?');
        QByteArray encoded = "mailto:" + QUrl::toPercentEncoding(q < 0 ? rest : rest.left(q), "@+");
        if (q >= 0) {
            const QString params = rest.mid(q + 1);
            const qsizetype body = params.indexOf(QStringLiteral("&body="), 0, Qt::CaseInsensitive);
            const QString head = body < 0 ? params : params.left(body);
            QByteArrayList parts;
            if (head.startsWith(QStringLiteral("subject="), Qt::CaseInsensitive))
                parts << "subject=" + QUrl::toPercentEncoding(head.mid(8));
            if (body >= 0)
                parts << "body=" + QUrl::toPercentEncoding(params.mid(body + 6));
            if (!parts.isEmpty())
                encoded += '?' + parts.join('&');
        }
        return QUrl::fromEncoded(encoded, QUrl::StrictMode);
    }
    if (target.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
        target.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive) ||
        target.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl::fromUserInput(target);
    return QUrl::fromLocalFile(target);
}

void openInShell(const QString &sCommand) {
    Desktop::current().openUrl(shellTarget(sCommand));
}

QString mailLink(const QString &address, const QString &subject, const QString &body) {
    QString link = QStringLiteral("mailto:") + address;
    if (!subject.isEmpty() || !body.isEmpty())
        link += QStringLiteral("?subject=") + subject + QStringLiteral("&body=") + body;
    return link;
}
