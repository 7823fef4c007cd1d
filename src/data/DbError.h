#pragma once
// Every database failure: connection, translation, constraint, conversion. The message is the
// server's (or the embedded engine's) text; the process keeps running.

#include <QString>
#include <stdexcept>

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, int nativeCode = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(nativeCode) {}
    const QString &message() const { return m_message; }
    int nativeCode() const { return m_code; }

private:
    QString m_message;
    int m_code;
};
