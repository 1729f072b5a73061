#pragma once

#include <QDir>
#include <QString>
#include <stdexcept>

// Raised by every failing file operation of the storage layer. The window that
// started the operation catches it and shows its own fixed message; `message()`
// carries the technical reason for tools such as the command-line companion.
class StorageError : public std::runtime_error {
  public:
    explicit StorageError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

    // The error of a file that could not be written: "Unable to write to <path>".
    static StorageError unableToWrite(const QString &path) {
        return StorageError(
            QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
    }
    // The error of a file that could not be read: "Unable to read <path>".
    static StorageError unableToRead(const QString &path) {
        return StorageError(
            QStringLiteral("Unable to read %1").arg(QDir::toNativeSeparators(path)));
    }

  private:
    QString m_message;
};
