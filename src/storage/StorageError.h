#pragma once

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

  private:
    QString m_message;
};
