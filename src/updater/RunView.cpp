#include "RunView.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace frissites {

void WaitProcessingEvents(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void EventLoopView::processEvents()
{
    QCoreApplication::processEvents();
}

void EventLoopView::wait(int ms)
{
    WaitProcessingEvents(ms);
}

} // namespace frissites
