#include "Guard.h"

#include "DbError.h"
#include "Messages.h"

#include <QTextStream>

namespace {
ExceptionHandler &handler()
{
    static ExceptionHandler h;
    return h;
}
} // namespace

ExceptionHandler SetExceptionHandler(ExceptionHandler h)
{
    ExceptionHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

QString ExceptionText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const DbError &e) {
        return e.message();
    } catch (const KovraError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Ismeretlen hiba");
    }
}

void HandleException(std::exception_ptr error)
{
    if (handler()) {
        handler()(error);
        return;
    }
    const QString text = ExceptionText(error);
    QTextStream(stderr) << "KOVRA: " << text << '\n';
    InfoBox(text);
}

bool RunGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const SilentAbort &) {
        return false;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}
