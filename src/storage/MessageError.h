#pragma once

#include <QString>
#include <stdexcept>

// The base of the program's errors: an exception that carries its text as
// a QString. What the text is for (the user, or a tool such as the
// command-line companion) each derived error says.
class MessageError : public std::runtime_error {
  public:
    explicit MessageError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

  private:
    QString m_message;
};
