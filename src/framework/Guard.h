#pragma once
// Exceptions never cross Qt's event loop: every handler that a window attaches to a button, key or
// selection runs through RunGuarded. The silent abort of the required-field check ends the
// handler quietly; every other exception goes to the program's error handling.

#include <QObject>
#include <exception>
#include <functional>
#include <stdexcept>
#include <type_traits>

// Thrown by the required-field check after its message: the rest of the handler does not run.
class SilentAbort : public std::exception {
public:
    const char *what() const noexcept override { return "silent abort"; }
};

// A failure the program reports in its own words (a file that cannot be read, an unusable value).
class KovraError : public std::runtime_error {
public:
    explicit KovraError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The error handling that receives unhandled exceptions (installed by the error capture). Without
// one the text goes to standard error and InfoBox.
using ExceptionHandler = std::function<void(std::exception_ptr)>;
ExceptionHandler SetExceptionHandler(ExceptionHandler handler);
void HandleException(std::exception_ptr error);
// The message text of an exception (DbError, KovraError, std::exception, or "unknown").
QString ExceptionText(std::exception_ptr error);

// Runs action; a SilentAbort ends it quietly, any other exception goes to HandleException.
// Returns false when the action did not run to its end.
bool RunGuarded(const std::function<void()> &action);

// connect() whose slot runs guarded; the functor may take the signal's arguments or none.
template <typename Sender, typename Signal, typename Functor>
QMetaObject::Connection ConnectGuarded(Sender *sender, Signal signal, QObject *context, Functor functor)
{
    return QObject::connect(sender, signal, context, [functor](auto &&...args) {
        RunGuarded([&] {
            if constexpr (std::is_invocable_v<const Functor &, decltype(args)...>)
                functor(std::forward<decltype(args)>(args)...);
            else
                functor();
        });
    });
}
