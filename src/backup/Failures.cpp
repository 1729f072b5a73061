#include "Failures.h"

#include <QDir>

namespace backup {

using Kind = BackupError::Kind;

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

void raise(Kind kind, const QString &message) {
    throw BackupError(kind, message);
}
void cannotRead(const QString &path) {
    raise(Kind::File, QStringLiteral("impossibile leggere %1").arg(native(path)));
}
void cannotWrite(const QString &path) {
    raise(Kind::File, QStringLiteral("impossibile scrivere %1").arg(native(path)));
}
void cancelled() {
    raise(Kind::Cancelled, QStringLiteral("operazione annullata"));
}
void damaged(const QString &path, const QString &why) {
    raise(Kind::Damaged, QStringLiteral("l'archivio %1 è danneggiato: %2").arg(native(path), why));
}
void unsafe(const QString &name, const QString &why) {
    raise(Kind::Unsafe, QStringLiteral("la voce \"%1\" non è accettata: %2").arg(name, why));
}

} // namespace backup
