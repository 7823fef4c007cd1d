#include "KovraApplication.h"

#include "ErrorCapture.h"

#include <QThread>

TKovraApplication::TKovraApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TKovraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // Only the user-interface thread reports; a worker thread's failure is its own to handle.
        if (QThread::currentThread() != thread())
            throw;
        CaptureException(std::current_exception());
        return false;
    }
}
