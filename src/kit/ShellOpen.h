// Handing a file, folder, web address or mail link to the desktop shell, and
// the mail links built for it.
#pragma once

#include <QString>
#include <QUrl>

// Hands a file, folder, web address or mail link to the desktop shell, like
// the "OPEN" verb. Double quotes around the whole text are dropped; nothing
// is reported when the shell cannot open the target.
void openInShell(const QString &sCommand);

// The URL the shell receives for `sCommand`: mail links and web addresses as
// they are (subject and body of a mail link percent-encoded, so they reach
// the mail program as written), anything else as a local file or folder.
QUrl shellTarget(const QString &sCommand);

// "mailto:" + address, with the subject and body given.
QString mailLink(const QString &address, const QString &subject = {}, const QString &body = {});
