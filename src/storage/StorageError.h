#pragma once

#include "MessageError.h"

#include <QDir>
#include <QString>

// Raised by every failing file operation of the storage layer. The window that
// started the operation catches it and shows its own fixed message; `message()`
// carries the reason, in Italian, for tools such as the command-line companion.
class StorageError : public MessageError {
  public:
    // What failed, for a handler that tells reading from writing.
    enum class Failed { Read, Write, Other };

    explicit StorageError(const QString &message, Failed failed = Failed::Other)
        : MessageError(message), m_failed(failed) {}
    Failed failed() const { return m_failed; }

    // The error of a file that could not be written: "impossibile scrivere <path>".
    static StorageError unableToWrite(const QString &path) {
        return StorageError(
            QStringLiteral("impossibile scrivere %1").arg(QDir::toNativeSeparators(path)),
            Failed::Write);
    }
    // The error of a file that could not be read: "impossibile leggere <path>".
    static StorageError unableToRead(const QString &path) {
        return StorageError(
            QStringLiteral("impossibile leggere %1").arg(QDir::toNativeSeparators(path)),
            Failed::Read);
    }

  private:
    Failed m_failed;
};
